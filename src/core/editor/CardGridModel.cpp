#include "core/editor/CardGridModel.h"

#include "core/platform/Errors.h"
#include "core/texts/DateTexts.h"

namespace zelmar {

CardGridModel::CardGridModel(const RecordFile& file, QObject* parent)
    : QAbstractTableModel(parent)
    , m_file(file) {}

const QStringList& CardGridModel::headings() {
    static const QStringList texts = {
        QStringLiteral("Книга"),     QStringLiteral("п/п"),        QStringLiteral("№ жур"),
        QStringLiteral("дата"),      QStringLiteral("КУС"),        QStringLiteral("дата"),
        QStringLiteral("Заявитель"), QStringLiteral("Примечание"), QStringLiteral("Уник. №"),
    };
    return texts;
}

QString CardGridModel::cellText(const TAnketa& card, int column, qint64 row) {
    switch (column) {
    case Kniga:
        // The text of the printed flag's radio item.
        return card.PrintNet == 0   ? QStringLiteral("Нет")
               : card.PrintNet == 1 ? QStringLiteral("Да")
                                    : QString();
    case Pp:
        return QString::number(row);
    case GurN:
        return QString::number(card.GurN);
    case Date:
        return ShortDate(card.DateOtkaza);
    case Kus:
        return card.KUPN.text();
    case KusDate:
        return ShortDate(card.KUPData);
    case Zayavitel:
        return card.FIOAvtor.text();
    case Primechanie:
        return card.Otmetka.text();
    case Key:
        return QString::number(card.Klu4Form1);
    default:
        return {};
    }
}

void CardGridModel::refresh() {
    beginResetModel();
    for (Block& block : m_blocks)
        block.first = -1;
    endResetModel();
}

int CardGridModel::cards() const {
    if (!m_file.isOpen())
        return 0;
    return static_cast<int>(std::min<qint64>(m_file.size(), INT_MAX - 1));
}

int CardGridModel::rowCount(const QModelIndex& parent) const {
    if (parent.isValid())
        return 0;
    const int n = cards();
    return (n == 0 && m_blankRowWhenEmpty) ? 1 : n;
}

int CardGridModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

const TAnketa* CardGridModel::card(qint64 record) const {
    const qint64 first = record - record % kBlock;
    for (const Block& block : m_blocks) {
        if (block.first == first && record - first < static_cast<qint64>(block.cards.size()))
            return &block.cards[static_cast<size_t>(record - first)];
    }
    Block& block = m_blocks[static_cast<size_t>(m_nextBlock)];
    m_nextBlock = (m_nextBlock + 1) % kBlocks;
    block.first = -1;
    // Painting must never fail: a file that cannot be read shows empty cells.
    try {
        const qint64 count = std::min<qint64>(kBlock, m_file.size() - first);
        if (count <= 0)
            return nullptr;
        block.cards.resize(static_cast<size_t>(count));
        m_file.readRecords(first, count, block.cards.data());
        block.first = first;
    } catch (const ZelmarError&) {
        return nullptr;
    }
    return &block.cards[static_cast<size_t>(record - first)];
}

QVariant CardGridModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || role != Qt::DisplayRole)
        return {};
    if (index.row() >= cards())
        return QString();
    const TAnketa* c = card(index.row());
    if (!c)
        return QString();
    return cellText(*c, index.column(), index.row() + 1);
}

QVariant CardGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Horizontal)
        return section >= 0 && section < ColumnCount ? headings().at(section) : QString();
    return QString::number(section + 1);
}

} // namespace zelmar
