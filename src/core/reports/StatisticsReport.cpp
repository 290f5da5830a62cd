#include "core/reports/StatisticsReport.h"

#include "core/documents/AtomicFile.h"
#include "core/documents/DocumentError.h"
#include "core/documents/RtfTemplate.h"
#include "core/editor/AppState.h"
#include "core/reports/CardReports.h"
#include "core/reports/Statistics.h"
#include "core/store/Cp1251.h"
#include "core/texts/DayNumber.h"

#include <algorithm>
#include <array>

namespace zelmar {

namespace {

// The tags in order: the heading, a group's pieces (in the table's column order), the totals
// (the columns after the group's).
constexpr int kHeading = 4;
constexpr int kGroup = StatTable::ColumnCount;
constexpr int kTotals = StatTable::ColumnCount - 1;
constexpr int kFirstGroupTag = kHeading;
constexpr int kFirstTotalTag = kHeading + kGroup;
constexpr int kTagCount = kHeading + kGroup + kTotals;
constexpr int kCount = kTagCount;
constexpr int kToday = kTagCount + 1;
constexpr qsizetype kPieceLimit = 250;

const QByteArray kSingle = QByteArrayLiteral("|0:");
const QByteArray kMulti = QByteArrayLiteral("|1:");

// A value as one piece of one line: control characters (a line break in a card's text)
// become blanks.
QByteArray pieceValue(const QString& text) {
    QByteArray bytes = toCp1251(text);
    for (char& c : bytes) {
        if (static_cast<unsigned char>(c) < 32)
            c = ' ';
    }
    return bytes;
}

void appendPiece(QByteArray& out, const QByteArray& marker, int tag, const QString& value) {
    const qsizetype start = out.size();
    out += marker;
    out += statisticsTags().at(tag).toLatin1();
    out += ':';
    out += pieceValue(value);
    if (out.size() - start > kPieceLimit)
        out.truncate(start + kPieceLimit);
}

// The data file as the runner reads it.
struct StatisticsData {
    std::array<QByteArray, kHeading + kTotals> fixed; // heading, then totals
    std::array<bool, kHeading + kTotals> present{};
    std::vector<std::array<QByteArray, kGroup>> groups;

    static StatisticsData parse(const QByteArray& bytes, const QString& name);
};

int fixedSlot(QByteArrayView tag) {
    const QStringList& tags = statisticsTags();
    for (int i = 0; i < kHeading; ++i) {
        if (tag == tags.at(i).toLatin1())
            return i;
    }
    for (int i = 0; i < kTotals; ++i) {
        if (tag == tags.at(kFirstTotalTag + i).toLatin1())
            return kHeading + i;
    }
    return -1;
}

StatisticsData StatisticsData::parse(const QByteArray& bytes, const QString& name) {
    const auto broken = [&name](int line) {
        return DocumentError(QStringLiteral("Файл данных «%1» повреждён: строка %2 не такая, "
                                            "какой её пишет программа.")
                                 .arg(name)
                                 .arg(line));
    };
    const QStringList& tags = statisticsTags();
    StatisticsData data;
    int number = 0;
    const QByteArrayView all(bytes);
    for (qsizetype from = 0; from < all.size();) {
        qsizetype end = all.indexOf('\n', from);
        if (end < 0)
            end = all.size();
        QByteArrayView line = all.sliced(from, end - from);
        from = end + 1;
        ++number;
        if (line.endsWith('\r'))
            line.chop(1);
        if (line.isEmpty())
            continue;
        if (line.startsWith(kSingle)) {
            const QByteArrayView piece = line.sliced(kSingle.size());
            const qsizetype colon = piece.indexOf(':');
            const int slot = colon < 0 ? -1 : fixedSlot(piece.first(colon));
            if (slot < 0)
                throw broken(number);
            data.fixed[static_cast<size_t>(slot)] = piece.sliced(colon + 1).toByteArray();
            data.present[static_cast<size_t>(slot)] = true;
            continue;
        }
        // A group's line: its text runs to the last count's tag (the counts hold only digits
        // and commas, so the group's text may hold anything).
        const QByteArray first = kMulti + tags.at(kFirstGroupTag).toLatin1() + ':';
        const QByteArray second = kMulti + tags.at(kFirstGroupTag + 1).toLatin1() + ':';
        const qsizetype counts = line.lastIndexOf(second);
        if (!line.startsWith(first) || counts < first.size())
            throw broken(number);
        std::array<QByteArray, kGroup> group;
        group[0] = line.sliced(first.size(), counts - first.size()).toByteArray();
        QByteArrayView rest = line.sliced(counts);
        for (int column = 1; column < kGroup; ++column) {
            const QByteArray tag = kMulti + tags.at(kFirstGroupTag + column).toLatin1() + ':';
            if (!rest.startsWith(tag))
                throw broken(number);
            rest = rest.sliced(tag.size());
            const qsizetype end = rest.indexOf(kMulti);
            group[static_cast<size_t>(column)] =
                rest.first(end < 0 ? rest.size() : end).toByteArray();
            rest = rest.sliced(end < 0 ? rest.size() : end);
        }
        if (!rest.isEmpty())
            throw broken(number);
        data.groups.push_back(group);
    }
    if (std::find(data.present.begin(), data.present.end(), false) != data.present.end())
        throw DocumentError(
            QStringLiteral("Файл данных «%1» неполон: в нём нет итогов.").arg(name));
    return data;
}

class StatisticsValues : public MergeValues {
public:
    StatisticsValues(const StatisticsData& data, const QDate& today)
        : m_data(data)
        , m_today(today.toString(QStringLiteral("dd.MM.yyyy")).toLatin1())
        , m_count(QByteArray::number(static_cast<qsizetype>(data.groups.size()))) {}

    qsizetype records() const override { return static_cast<qsizetype>(m_data.groups.size()); }

    void write(qsizetype record, int field, RtfWriter& out) const override {
        if (field == kCount)
            return out.cp1251(m_count);
        if (field == kToday)
            return out.cp1251(m_today);
        if (field < kFirstGroupTag)
            return out.cp1251(m_data.fixed[static_cast<size_t>(field)]);
        if (field >= kFirstTotalTag)
            return out.cp1251(m_data.fixed[static_cast<size_t>(kHeading + field - kFirstTotalTag)]);
        // A group's values belong to its row; outside the repeated row they are empty.
        if (record >= 0 && record < records())
            out.cp1251(m_data.groups[static_cast<size_t>(record)]
                                    [static_cast<size_t>(field - kFirstGroupTag)]);
    }

private:
    const StatisticsData& m_data;
    QByteArray m_today;
    QByteArray m_count;
};

} // namespace

const QStringList& statisticsTags() {
    static const QStringList tags = {
        QStringLiteral("StatS"),        QStringLiteral("StatPo"),
        QStringLiteral("StatGrup"),     QStringLiteral("StatArhiv"),
        QStringLiteral("Gruppa"),       QStringLiteral("Materialow"),
        QStringLiteral("Prowereno"),    QStringLiteral("Otmeneno"),
        QStringLiteral("Dolya"),        QStringLiteral("NeProwereno"),
        QStringLiteral("WozbDel"),      QStringLiteral("Prodleno"),
        QStringLiteral("NeWKnige"),     QStringLiteral("It_Materialow"),
        QStringLiteral("It_Prowereno"), QStringLiteral("It_Otmeneno"),
        QStringLiteral("It_Dolya"),     QStringLiteral("It_NeProwereno"),
        QStringLiteral("It_WozbDel"),   QStringLiteral("It_Prodleno"),
        QStringLiteral("It_NeWKnige")};
    return tags;
}

void writeStatisticsData(QIODevice& device, const StatTable& table, const QString& path) {
    const StatQuery& q = table.query;
    const QString format = QStringLiteral("dd.MM.yyyy");
    const QString heading[kHeading] = {dateOf(q.from).toString(format),
                                       dateOf(q.to).toString(format),
                                       statGroupingNames().value(static_cast<int>(q.grouping)),
                                       q.archive ? QStringLiteral("Главная картотека и Архив")
                                                 : QStringLiteral("Главная картотека")};
    QByteArray out;
    for (int tag = 0; tag < kHeading; ++tag) {
        appendPiece(out, kSingle, tag, heading[tag]);
        out += "\r\n";
    }
    const auto rows = static_cast<qsizetype>(table.rows.size());
    for (qsizetype row = 0; row < rows; ++row) {
        for (int column = 0; column < kGroup; ++column)
            appendPiece(out, kMulti, kFirstGroupTag + column, table.cell(row, column));
        out += "\r\n";
    }
    for (int column = 1; column < kGroup; ++column) {
        appendPiece(out, kSingle, kFirstTotalTag + column - 1, table.cell(rows, column));
        out += "\r\n";
    }
    out += "\r\n";
    writeOrThrow(device, out, path);
}

void printStatistics(AppState& s, const StatTable& table) {
    const QString path = s.local(reports::Statistics.dataPath());
    AtomicFile file(path);
    writeStatisticsData(file, table, path);
    file.commit();
    startReportRunner(s, reports::Statistics);
}

bool isStatisticsData(const QByteArray& data) {
    return data.startsWith(kSingle + statisticsTags().at(0).toLatin1() + ':');
}

void mergeStatistics(const QByteArray& data, const QString& dataName, const QByteArray& rtf,
                     const QString& what, const QString& resultPath, const QDate& today) {
    const StatisticsData parsed = StatisticsData::parse(data, dataName);
    const RtfTemplate document(rtf, what, [](QStringView name) {
        if (name.compare(u"count", Qt::CaseInsensitive) == 0)
            return kCount;
        if (name.compare(u"today", Qt::CaseInsensitive) == 0)
            return kToday;
        const QStringList& tags = statisticsTags();
        for (int i = 0; i < tags.size(); ++i) {
            if (name.compare(tags.at(i), Qt::CaseInsensitive) == 0)
                return i;
        }
        return -1;
    });
    AtomicFile result(resultPath);
    RtfWriter out(result, resultPath);
    document.write(out, StatisticsValues(parsed, today));
    result.commit();
}

} // namespace zelmar
