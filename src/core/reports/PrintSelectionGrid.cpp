#include "core/reports/PrintSelectionGrid.h"

#include "core/editor/MainCardFile.h"
#include "core/platform/Errors.h"
#include "core/platform/Progress.h"
#include "core/texts/DateTexts.h"
#include "core/texts/DayNumber.h"

#include <QtEndian>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <memory>
#include <numeric>

namespace zelmar {

namespace {

// "Нет" and "Есть" in Windows-1251.
constexpr char kNo[] = "\xCD\xE5\xF2";
constexpr char kYes[] = "\xC5\xF1\xF2\xFC";

int copyText(const char* chars, int size, char* out) {
    std::memcpy(out, chars, static_cast<size_t>(size));
    return size;
}

template <int N>
int copyText(const ShortString<N>& text, char* out) {
    return copyText(text.chars, text.size(), out);
}

// dd.mm.yy, empty outside the calendar.
int shortDate(double day, char* out) {
    const QDate date = dateOf(day);
    if (!date.isValid())
        return 0;
    int y = 0, m = 0, d = 0;
    date.getDate(&y, &m, &d);
    const int yy = ((y % 100) + 100) % 100;
    const char text[8] = {char('0' + d / 10),  char('0' + d % 10), '.',
                          char('0' + m / 10),  char('0' + m % 10), '.',
                          char('0' + yy / 10), char('0' + yy % 10)};
    std::memcpy(out, text, 8);
    return 8;
}

int shortDateOrBlank(double day, char* out) {
    if (!isRepresentable(day))
        return 0;
    const double whole = std::trunc(day);
    if (whole == EmptyDate || whole == Millennium)
        return 0;
    return shortDate(day, out);
}

constexpr qint64 kReadBlock = (1 << 20) / TAnketa::Size;

// Calls visit(record, card) for every card of the file, reading in large blocks.
template <class Visit>
void readAll(const RecordFile& file, qint64 total, Visit visit) {
    const auto cards = std::make_unique<TAnketa[]>(static_cast<size_t>(kReadBlock));
    for (qint64 first = 0; first < total; first += kReadBlock) {
        const qint64 count = std::min(kReadBlock, total - first);
        file.readRecords(first, count, cards.get());
        for (qint64 i = 0; i < count; ++i)
            visit(first + i, cards[static_cast<size_t>(i)]);
    }
}

} // namespace

PrintGridModel::PrintGridModel(const RecordFile& file, QObject* parent)
    : QAbstractTableModel(parent)
    , m_file(file) {}

const QStringList& PrintGridModel::headings() {
    static const QStringList texts = {
        QStringLiteral("уд"),
        QStringLiteral("Книга"),
        QStringLiteral("№ жур"),
        QStringLiteral("дата"),
        QStringLiteral("КУС"),
        QStringLiteral("дата"),
        QStringLiteral("УД №"),
        QStringLiteral("дата "),
        QStringLiteral("Заявитель"),
        QStringLiteral("Название документа"),
        QStringLiteral("Адрес заявителя"),
        QStringLiteral("Исх.№ заявителя"),
        QStringLiteral("Исх. дата заявителя"),
        QStringLiteral("Тел. заявителя"),
        QStringLiteral("№ вход наш"),
        QStringLiteral("дата"),
        QStringLiteral("№ исх наш"),
        QStringLiteral("дата"),
    };
    return texts;
}

int PrintGridModel::cellBytes(const TAnketa& c, int column, char* out) {
    switch (column) {
    case Ud:
        return copyText(c.Otmetka, out);
    case Kniga:
        return c.PrintNet == 0 ? copyText(kNo, 3, out) : copyText(kYes, 4, out);
    case GurN:
        return static_cast<int>(std::to_chars(out, out + kCellBytes, c.GurN).ptr - out);
    case Date:
        return shortDate(c.DateOtkaza, out);
    case Kus:
        return copyText(c.KUPN, out);
    case KusDate:
        return shortDate(c.KUPData, out);
    case DeloNom:
        return copyText(c.DeloNom, out);
    case DeloDat:
        return shortDateOrBlank(c.DeloDat, out);
    case Zayavitel:
        return copyText(c.FIOAvtor, out);
    case NazwDok:
        return copyText(c.NazwDok, out);
    case Adres:
        return copyText(c.Adres, out);
    case IshNom:
        return copyText(c.NeNashIshNom, out);
    case IshDat:
        return shortDateOrBlank(c.NeNashaIshDat, out);
    case Telefon:
        return copyText(c.Telefon, out);
    case WhodNom:
        return copyText(c.NashWxodNom, out);
    case WhodDat:
        return shortDateOrBlank(c.NashaWxodDat, out);
    case IshNash:
        return copyText(c.NashIshNom, out);
    case IshNashDat:
        return shortDateOrBlank(c.NasheIshData, out);
    default:
        return 0;
    }
}

QString PrintGridModel::cellText(const TAnketa& card, int column) {
    char bytes[kCellBytes];
    return fromCp1251(bytes, cellBytes(card, column, bytes));
}

qint64 PrintGridModel::fileRecords() const {
    return m_file.isOpen() ? std::min<qint64>(m_file.size(), INT_MAX - 1) : 0;
}

void PrintGridModel::dropCache() const {
    for (Block& block : m_blocks)
        block.first = -1;
    m_scattered.clear();
}

void PrintGridModel::refill() {
    beginResetModel();
    m_order.clear();
    m_order.shrink_to_fit();
    m_rows = fileRecords();
    m_numbersAndDays.clear();
    m_numbersRead = false;
    dropCache();
    endResetModel();
}

void PrintGridModel::reload() {
    beginResetModel();
    if (!sorted())
        m_rows = fileRecords();
    dropCache();
    endResetModel();
}

void PrintGridModel::removeRecord(qint64 record) {
    beginResetModel();
    if (sorted()) {
        std::erase(m_order, static_cast<std::int32_t>(record));
        for (std::int32_t& r : m_order) {
            if (r > record)
                --r;
        }
        m_rows = static_cast<qint64>(m_order.size());
    } else {
        m_rows = std::max<qint64>(m_rows - 1, 0);
    }
    if (m_numbersRead && record < static_cast<qint64>(m_numbersAndDays.size()))
        m_numbersAndDays.erase(m_numbersAndDays.begin() + record);
    dropCache();
    endResetModel();
}

void PrintGridModel::sortBy(int column, Progress& progress) {
    const qint64 total = fileRecords();
    // Each card's cell text once, in a flat table of fixed-size slots; the first eight bytes
    // again as one number, which settles most comparisons.
    constexpr int kSlot = kCellBytes + 1;
    std::vector<char> texts(static_cast<size_t>(total) * kSlot);
    std::vector<std::uint64_t> heads(static_cast<size_t>(total));
    readAll(m_file, total, [&](qint64 record, const TAnketa& card) {
        char* slot = texts.data() + record * kSlot;
        const int size = cellBytes(card, column, slot + 1);
        slot[0] = static_cast<char>(size);
        char head[8] = {};
        std::memcpy(head, slot + 1, static_cast<size_t>(std::min(size, 8)));
        heads[static_cast<size_t>(record)] = qFromBigEndian<std::uint64_t>(head);
        if ((record & 4095) == 0)
            progress.report(record, 2 * total);
    });
    std::vector<std::int32_t> order(static_cast<size_t>(total));
    std::iota(order.begin(), order.end(), 0);
    progress.report(total, 2 * total);
    std::stable_sort(order.begin(), order.end(), [&](std::int32_t a, std::int32_t b) {
        const auto ha = heads[static_cast<size_t>(a)];
        const auto hb = heads[static_cast<size_t>(b)];
        if (ha != hb)
            return ha < hb;
        const char* sa = texts.data() + static_cast<qint64>(a) * kSlot;
        const char* sb = texts.data() + static_cast<qint64>(b) * kSlot;
        const auto na = static_cast<std::uint8_t>(sa[0]);
        const auto nb = static_cast<std::uint8_t>(sb[0]);
        const int common = std::memcmp(sa + 1, sb + 1, std::min(na, nb));
        return common != 0 ? common < 0 : na < nb;
    });
    progress.report(2 * total, 2 * total);
    beginResetModel();
    m_order = std::move(order);
    m_rows = total;
    dropCache();
    endResetModel();
}

qint64 PrintGridModel::recordAt(qint64 row) const {
    if (row < 0 || row >= m_rows)
        return -1;
    return sorted() ? m_order[static_cast<size_t>(row)] : row;
}

qint64 PrintGridModel::rowOf(qint64 record) const {
    if (!sorted())
        return record >= 0 && record < m_rows ? record : -1;
    const auto it = std::find(m_order.begin(), m_order.end(), record);
    return it == m_order.end() ? -1 : it - m_order.begin();
}

TAnketa PrintGridModel::cardAt(qint64 row) const {
    TAnketa c;
    m_file.readRecords(recordAt(row), 1, &c);
    return c;
}

const std::vector<std::int64_t>& PrintGridModel::numbersAndDays() const {
    if (m_external)
        return *m_external;
    if (!m_numbersRead) {
        const qint64 total = fileRecords();
        m_numbersAndDays.clear();
        m_numbersAndDays.reserve(static_cast<size_t>(total));
        readAll(m_file, total, [this](qint64, const TAnketa& card) {
            m_numbersAndDays.push_back(MainCardFile::numberAndDay(card));
        });
        m_numbersRead = true;
    }
    return m_numbersAndDays;
}

const TAnketa* PrintGridModel::card(qint64 record) const {
    // Painting must never fail: a file that cannot be read shows empty cells.
    try {
        if (record < 0 || record >= m_file.size())
            return nullptr;
        if (sorted()) {
            if (const auto it = m_scattered.find(record); it != m_scattered.end())
                return &it->second;
            if (m_scattered.size() > 1024)
                m_scattered.clear();
            TAnketa c;
            m_file.readRecords(record, 1, &c);
            return &m_scattered.emplace(record, c).first->second;
        }
        const qint64 first = record - record % kBlock;
        for (const Block& block : m_blocks) {
            if (block.first == first && record - first < static_cast<qint64>(block.cards.size()))
                return &block.cards[static_cast<size_t>(record - first)];
        }
        Block& block = m_blocks[static_cast<size_t>(m_nextBlock)];
        m_nextBlock = (m_nextBlock + 1) % kBlocks;
        block.first = -1;
        const qint64 count = std::min<qint64>(kBlock, m_file.size() - first);
        block.cards.resize(static_cast<size_t>(count));
        m_file.readRecords(first, count, block.cards.data());
        block.first = first;
        return &block.cards[static_cast<size_t>(record - first)];
    } catch (const ZelmarError&) {
        return nullptr;
    }
}

int PrintGridModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_rows);
}

int PrintGridModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant PrintGridModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || role != Qt::DisplayRole)
        return {};
    const TAnketa* c = card(recordAt(index.row()));
    return c ? cellText(*c, index.column()) : QString();
}

QVariant PrintGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Horizontal)
        return section >= 0 && section < ColumnCount ? headings().at(section) : QString();
    return QString::number(section + 1);
}

} // namespace zelmar
