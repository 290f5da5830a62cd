#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

#include <optional>
#include <vector>

namespace zelmar {

class Progress;
class RecordFile;

// How the cards of a period are grouped: the items of "Группировка", in their order.
enum class StatGrouping { Month, Quarter, Official, Signer, Motive, Article, Person };

// The texts of the groupings as the window lists them ("по месяцам", ...).
const QStringList& statGroupingNames();
// The words of the command line (month, quarter, official, signer, motive, article, person).
const QStringList& statGroupingKeys();
std::optional<StatGrouping> statGroupingOfKey(QStringView key);
// Months and quarters follow time; the other groupings go by count.
bool groupsByTime(StatGrouping grouping);

// What the statistics count: the decision days from `from` to `to` (whole days, both included),
// over the main card file and, with `archive`, the archive too.
struct StatQuery {
    double from = 0;
    double to = 0;
    StatGrouping grouping = StatGrouping::Month;
    bool archive = false;

    bool operator==(const StatQuery&) const = default;
};

// The counts of a group of cards, one per column of the table.
struct StatCounts {
    qint64 materials = 0; // "Материалов": cards
    qint64 checked = 0; // "Проверено прокурором": the prosecutor's mark "Проверено"
    qint64 cancelled = 0; // "Отменено прокурором": the mark "Отменено"
    qint64 unchecked = 0; // "Не проверено": no mark
    qint64 cases = 0;     // "Возбуждено дел": a criminal case number
    qint64 extended = 0;  // "Продлено": a term above 0
    qint64 notInBook = 0; // "Не в Книге": not yet printed in the register book

    void add(const StatCounts& other);
    // The share of cancelled decisions among the materials, in percent; none for no materials.
    std::optional<double> cancelledShare() const;
    bool operator==(const StatCounts&) const = default;
};

struct StatRow {
    QString group;
    StatCounts counts;
    // The group under its bar of the chart: "03.2026", "I кв. 2026", else the group.
    QString brief;
};

// The statistics of a period: one row per group in the grouping's order (by time, or by count
// largest first), and the totals.
struct StatTable {
    enum Column {
        Group,
        Materials,
        Checked,
        Cancelled,
        Share,
        Unchecked,
        Cases,
        Extended,
        NotInBook,
        ColumnCount
    };

    StatQuery query;
    std::vector<StatRow> rows;
    StatCounts total;

    // "Группа", "Материалов", ... as the table heads its columns.
    static const QStringList& headings();
    // The rows shown: the groups and the last row "Итого".
    qsizetype shownRows() const { return static_cast<qsizetype>(rows.size()) + 1; }
    // The text of a cell of a shown row: counts in decimal, the share with one decimal
    // (comma) and empty for no materials.
    QString cell(qsizetype row, int column) const;
    // The count of a column (not the group nor the share) of a shown row.
    qint64 count(qsizetype row, int column) const;
    const StatCounts& countsOf(qsizetype row) const;
};

// The texts of a group that has none: a card without the field's value.
inline constexpr QStringView StatNoValue = u"(не указано)";
inline constexpr QStringView StatTotal = u"Итого";
inline constexpr QStringView StatOthers = u"прочие";

// Counts the cards of the query's period in one pass over each card file, read in blocks;
// progress follows the pass. Texts are grouped trimmed and without regard to letter case, as
// the search compares them; a group shows the spelling of its first card.
StatTable countStatistics(const StatQuery& query, const RecordFile& main, const RecordFile* archive,
                          Progress& progress);

// The share as the table shows it: one decimal, a comma ("16,7").
QString shareText(std::optional<double> share);

// The period in words: "с 01.03.2026 по 31.03.2026".
QString periodText(const StatQuery& query);

// What the chart shows: bars of materials and of cancelled decisions per group, the share as
// a line. Groups by count beyond the 15 largest are one bar "прочие".
struct StatChart {
    QStringList labels;
    std::vector<qint64> materials;
    std::vector<qint64> cancelled;
    std::vector<double> shares;
};
inline constexpr int StatChartBars = 15;
StatChart chartOf(const StatTable& table);

} // namespace zelmar
