#include "core/reports/Statistics.h"

#include "core/platform/Progress.h"
#include "core/search/TextFold.h"
#include "core/store/RecordFile.h"
#include "core/store/TAnketa.h"
#include "core/texts/DateTexts.h"
#include "core/texts/DayNumber.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>

namespace zelmar {

namespace {

constexpr qint64 kBlockCards = (1 << 20) / TAnketa::Size;
// 30.12.1899 is day 0; 01.01.1970 is day 25569.
constexpr long long kUnixEpochDay = 25569;

// The month of a whole day number as year * 12 + month - 1, by the civil calendar's
// arithmetic: no date object per card.
int monthIndexOf(double wholeDay) {
    const long long z = static_cast<long long>(wholeDay) - kUnixEpochDay + 719468;
    const long long era = (z >= 0 ? z : z - 146096) / 146097;
    const auto doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    const unsigned month = mp < 10 ? mp + 3 : mp - 9;
    const long long year = static_cast<long long>(yoe) + era * 400 + (month <= 2 ? 1 : 0);
    return static_cast<int>(year * 12 + month - 1);
}

const QStringList& monthNames() {
    static const QStringList names = {
        QStringLiteral("январь"),  QStringLiteral("февраль"), QStringLiteral("март"),
        QStringLiteral("апрель"),  QStringLiteral("май"),     QStringLiteral("июнь"),
        QStringLiteral("июль"),    QStringLiteral("август"),  QStringLiteral("сентябрь"),
        QStringLiteral("октябрь"), QStringLiteral("ноябрь"),  QStringLiteral("декабрь")};
    return names;
}

// "март 2026" or "I квартал 2026"; brief: "03.2026" or "I кв. 2026".
QString timeLabel(StatGrouping grouping, int index, bool brief) {
    if (grouping == StatGrouping::Quarter) {
        static const char* const roman[] = {"I", "II", "III", "IV"};
        return (brief ? QStringLiteral("%1 кв. %2") : QStringLiteral("%1 квартал %2"))
            .arg(QLatin1String(roman[index % 4]))
            .arg(index / 4);
    }
    if (brief)
        return QStringLiteral("%1.%2").arg(index % 12 + 1, 2, 10, QLatin1Char('0')).arg(index / 12);
    return monthNames().at(index % 12) + QLatin1Char(' ') + QString::number(index / 12);
}

// The text a card is grouped by.
std::string_view groupText(const TAnketa& c, StatGrouping grouping) {
    const auto view = [](const auto& text) {
        return std::string_view(text.chars, static_cast<size_t>(text.size()));
    };
    switch (grouping) {
    case StatGrouping::Official:
        return view(c.KemWines);
    case StatGrouping::Signer:
        return view(c.PodpUtw);
    case StatGrouping::Motive:
        return view(c.Motiv);
    case StatGrouping::Article:
        return view(c.Statia);
    case StatGrouping::Person:
        return view(c.LicoUN);
    case StatGrouping::Month:
    case StatGrouping::Quarter:
        break;
    }
    return {};
}

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && static_cast<unsigned char>(text.front()) <= 32)
        text.remove_prefix(1);
    while (!text.empty() && static_cast<unsigned char>(text.back()) <= 32)
        text.remove_suffix(1);
    return text;
}

// A hash of a short text from its length and three words of it (its start, middle and end):
// a few multiplications per card, whatever the text's length. Texts that share those words
// only share a bucket.
struct TextHash {
    using is_transparent = void;
    size_t operator()(std::string_view text) const {
        const auto word = [&text](size_t at) {
            std::uint64_t w = 0;
            std::memcpy(&w, text.data() + at, std::min<size_t>(8, text.size() - at));
            return w;
        };
        std::uint64_t h = text.size() * 0x9E3779B97F4A7C15ull;
        if (!text.empty()) {
            const size_t last = text.size() > 8 ? text.size() - 8 : 0;
            for (const size_t at : {size_t(0), last / 2, last})
                h = (h ^ word(at)) * 0xFF51AFD7ED558CCDull;
        }
        return static_cast<size_t>(h ^ (h >> 29));
    }
};

// The spellings of group texts met in a pass and their groups: an open table of a power-of-two
// size, so a card's text is found by one hash and mostly one comparison. It remembers the
// first 4096 spellings; a register of free texts beyond them still counts right, only more
// slowly.
class Spellings {
public:
    static constexpr size_t kNone = SIZE_MAX;

    size_t find(std::string_view text, std::uint64_t hash) const {
        for (size_t at = hash & kMask;; at = (at + 1) & kMask) {
            const Slot& slot = m_slots[at];
            if (slot.spelling == kEmpty)
                return kNone;
            if (slot.hash == hash && m_texts[slot.spelling] == text)
                return m_groups[slot.spelling];
        }
    }

    void add(std::string_view text, std::uint64_t hash, size_t group) {
        if (m_texts.size() >= kMost)
            return;
        size_t at = hash & kMask;
        while (m_slots[at].spelling != kEmpty)
            at = (at + 1) & kMask;
        m_slots[at] = {hash, static_cast<std::uint32_t>(m_texts.size())};
        m_texts.emplace_back(text);
        m_groups.push_back(group);
    }

private:
    static constexpr size_t kMost = 4096;
    static constexpr size_t kMask = 2 * kMost - 1; // at most half the slots are used
    static constexpr std::uint32_t kEmpty = UINT32_MAX;
    struct Slot {
        std::uint64_t hash = 0;
        std::uint32_t spelling = kEmpty;
    };
    std::vector<Slot> m_slots = std::vector<Slot>(kMask + 1);
    std::vector<std::string> m_texts;
    std::vector<size_t> m_groups;
};

// The groups of a pass: by the month or quarter index for time, by the folded text otherwise.
class Groups {
public:
    Groups(const StatQuery& query)
        : m_grouping(query.grouping)
        , m_byTime(groupsByTime(query.grouping)) {
        if (m_byTime) {
            m_first = timeIndex(query.from);
            m_times.resize(static_cast<size_t>(timeIndex(query.to) - m_first + 1));
        }
    }

    StatCounts& of(const TAnketa& card, double wholeDay) {
        if (m_byTime) {
            // Cards lie in the order of their days: the day of the card before is the usual one.
            if (wholeDay != m_lastDay) {
                m_lastDay = wholeDay;
                m_lastTime = static_cast<size_t>(timeIndex(wholeDay) - m_first);
            }
            return m_times[m_lastTime];
        }
        // A spelling met before goes to its group at the cost of one look-up.
        const std::string_view raw = groupText(card, m_grouping);
        const std::uint64_t hash = TextHash()(raw);
        size_t group = m_spellings.find(raw, hash);
        if (group == Spellings::kNone) {
            group = textGroup(raw);
            m_spellings.add(raw, hash, group);
        }
        return m_texts[group].counts;
    }

    // The rows in the grouping's order: time from the first group with cards to the last
    // (the months between them too), or by count, largest first.
    std::vector<StatRow> rows() const {
        std::vector<StatRow> rows;
        if (m_byTime) {
            const auto used = [](const StatCounts& c) { return c.materials > 0; };
            const auto first = std::find_if(m_times.begin(), m_times.end(), used);
            const auto last = std::find_if(m_times.rbegin(), m_times.rend(), used).base();
            for (auto it = first; it < last; ++it) {
                const int index = m_first + static_cast<int>(it - m_times.begin());
                rows.push_back(
                    {timeLabel(m_grouping, index, false), *it, timeLabel(m_grouping, index, true)});
            }
            return rows;
        }
        std::vector<const Text*> order;
        for (const Text& text : m_texts)
            order.push_back(&text);
        std::sort(order.begin(), order.end(), [](const Text* a, const Text* b) {
            if (a->counts.materials != b->counts.materials)
                return a->counts.materials > b->counts.materials;
            return a->key < b->key;
        });
        for (const Text* text : order) {
            const QString group = text->key.empty() ? StatNoValue.toString() : text->label;
            rows.push_back({group, text->counts, group});
        }
        return rows;
    }

private:
    // The group of a spelling not met before: its text trimmed and folded.
    size_t textGroup(std::string_view raw) {
        const std::string_view text = trimmed(raw);
        char folded[256];
        for (size_t i = 0; i < text.size(); ++i)
            folded[i] = static_cast<char>(kCp1251Lower[static_cast<unsigned char>(text[i])]);
        const std::string_view key(folded, text.size());
        const auto found = m_byText.find(key);
        if (found != m_byText.end())
            return found->second;
        m_byText.emplace(std::string(key), m_texts.size());
        m_texts.push_back(
            {fromCp1251(text.data(), static_cast<qsizetype>(text.size())), std::string(key), {}});
        return m_texts.size() - 1;
    }

    int timeIndex(double wholeDay) const {
        const int month = monthIndexOf(wholeDay);
        return m_grouping == StatGrouping::Quarter ? month / 3 : month;
    }

    struct Text {
        QString label;   // the first card's spelling
        std::string key; // folded
        StatCounts counts;
    };

    StatGrouping m_grouping;
    bool m_byTime;
    int m_first = 0;
    std::vector<StatCounts> m_times;
    double m_lastDay = std::nan("");
    size_t m_lastTime = 0;
    std::vector<Text> m_texts;
    // Groups by their folded text, and by the spellings met.
    std::unordered_map<std::string, size_t, TextHash, std::equal_to<>> m_byText;
    Spellings m_spellings;
};

bool hasText(std::string_view text) {
    return !trimmed(text).empty();
}

} // namespace

const QStringList& statGroupingNames() {
    static const QStringList names = {QStringLiteral("по месяцам"),
                                      QStringLiteral("по кварталам"),
                                      QStringLiteral("кем вынесено"),
                                      QStringLiteral("подписал / утвердил"),
                                      QStringLiteral("мотив отказа"),
                                      QStringLiteral("статья УК"),
                                      QStringLiteral("лицо установлено / нет")};
    return names;
}

const QStringList& statGroupingKeys() {
    static const QStringList keys = {QStringLiteral("month"),    QStringLiteral("quarter"),
                                     QStringLiteral("official"), QStringLiteral("signer"),
                                     QStringLiteral("motive"),   QStringLiteral("article"),
                                     QStringLiteral("person")};
    return keys;
}

std::optional<StatGrouping> statGroupingOfKey(QStringView key) {
    const qsizetype at = statGroupingKeys().indexOf(key.toString());
    if (at < 0)
        return std::nullopt;
    return static_cast<StatGrouping>(at);
}

bool groupsByTime(StatGrouping grouping) {
    return grouping == StatGrouping::Month || grouping == StatGrouping::Quarter;
}

void StatCounts::add(const StatCounts& o) {
    materials += o.materials;
    checked += o.checked;
    cancelled += o.cancelled;
    unchecked += o.unchecked;
    cases += o.cases;
    extended += o.extended;
    notInBook += o.notInBook;
}

std::optional<double> StatCounts::cancelledShare() const {
    if (materials <= 0)
        return std::nullopt;
    return 100.0 * static_cast<double>(cancelled) / static_cast<double>(materials);
}

const QStringList& StatTable::headings() {
    static const QStringList list = {QStringLiteral("Группа"),
                                     QStringLiteral("Материалов"),
                                     QStringLiteral("Проверено прокурором"),
                                     QStringLiteral("Отменено прокурором"),
                                     QStringLiteral("Доля отменённых, %"),
                                     QStringLiteral("Не проверено"),
                                     QStringLiteral("Возбуждено дел"),
                                     QStringLiteral("Продлено"),
                                     QStringLiteral("Не в Книге")};
    return list;
}

const StatCounts& StatTable::countsOf(qsizetype row) const {
    return row < static_cast<qsizetype>(rows.size()) ? rows[static_cast<size_t>(row)].counts
                                                     : total;
}

qint64 StatTable::count(qsizetype row, int column) const {
    const StatCounts& c = countsOf(row);
    switch (column) {
    case Materials:
        return c.materials;
    case Checked:
        return c.checked;
    case Cancelled:
        return c.cancelled;
    case Unchecked:
        return c.unchecked;
    case Cases:
        return c.cases;
    case Extended:
        return c.extended;
    case NotInBook:
        return c.notInBook;
    default:
        return 0;
    }
}

QString StatTable::cell(qsizetype row, int column) const {
    if (column == Group)
        return row < static_cast<qsizetype>(rows.size()) ? rows[static_cast<size_t>(row)].group
                                                         : StatTotal.toString();
    if (column == Share)
        return shareText(countsOf(row).cancelledShare());
    return QString::number(count(row, column));
}

QString shareText(std::optional<double> share) {
    if (!share)
        return {};
    return QString::number(*share, 'f', 1).replace(QLatin1Char('.'), QLatin1Char(','));
}

QString periodText(const StatQuery& query) {
    const QString format = QStringLiteral("dd.MM.yyyy");
    return QStringLiteral("с %1 по %2")
        .arg(dateOf(query.from).toString(format), dateOf(query.to).toString(format));
}

StatTable countStatistics(const StatQuery& query, const RecordFile& main, const RecordFile* archive,
                          Progress& progress) {
    ProgressScope scope(progress);
    StatTable table;
    table.query = query;
    const double from = std::trunc(query.from);
    const double to = std::trunc(query.to);
    if (!(from <= to) || !isRepresentable(from) || !isRepresentable(to))
        return table;
    table.query.from = from;
    table.query.to = to;

    const QByteArray checked = foldedCondition(QStringLiteral("Проверено"));
    const QByteArray cancelled = foldedCondition(QStringLiteral("Отменено"));
    Groups groups(table.query);
    const auto countCard = [&](const TAnketa& card) {
        if (!dayInRange(card.DateOtkaza, from, to))
            return;
        const double day = std::trunc(card.DateOtkaza);
        StatCounts& c = groups.of(card, day);
        ++c.materials;
        const int mark = card.ProkOtmetka.size();
        if (equalsFoldedTrimmed(card.ProkOtmetka.chars, mark, checked))
            ++c.checked;
        else if (equalsFoldedTrimmed(card.ProkOtmetka.chars, mark, cancelled))
            ++c.cancelled;
        else if (!hasText({card.ProkOtmetka.chars, static_cast<size_t>(mark)}))
            ++c.unchecked;
        if (hasText({card.DeloNom.chars, static_cast<size_t>(card.DeloNom.size())}))
            ++c.cases;
        if (card.Srok > 0)
            ++c.extended;
        if (card.PrintNet == 0)
            ++c.notInBook;
    };

    std::vector<const RecordFile*> files = {&main};
    if (archive)
        files.push_back(archive);
    qint64 total = 0;
    for (const RecordFile* file : files)
        total += file->size();
    const std::unique_ptr<TAnketa[]> block(new TAnketa[kBlockCards]);
    qint64 done = 0;
    for (const RecordFile* file : files) {
        const qint64 size = file->size();
        for (qint64 first = 0; first < size; first += kBlockCards) {
            const qint64 count = std::min(kBlockCards, size - first);
            file->readRecords(first, count, block.get());
            for (qint64 i = 0; i < count; ++i)
                countCard(block[static_cast<size_t>(i)]);
            done += count;
            progress.report(done, total);
        }
    }

    table.rows = groups.rows();
    for (const StatRow& row : table.rows)
        table.total.add(row.counts);
    return table;
}

StatChart chartOf(const StatTable& table) {
    StatChart chart;
    const auto add = [&chart](const QString& label, const StatCounts& counts) {
        chart.labels.append(label);
        chart.materials.push_back(counts.materials);
        chart.cancelled.push_back(counts.cancelled);
        chart.shares.push_back(counts.cancelledShare().value_or(0.0));
    };
    const size_t shown = groupsByTime(table.query.grouping) || table.rows.size() <= StatChartBars
                             ? table.rows.size()
                             : StatChartBars;
    for (size_t i = 0; i < shown; ++i)
        add(table.rows[i].brief, table.rows[i].counts);
    if (shown < table.rows.size()) {
        StatCounts others;
        for (size_t i = shown; i < table.rows.size(); ++i)
            others.add(table.rows[i].counts);
        add(StatOthers.toString(), others);
    }
    return chart;
}

} // namespace zelmar
