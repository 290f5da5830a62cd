// The statistics of a period: every cell against counts made here from the cards themselves,
// the window's commands, the data file and its template, the spreadsheet's reading.
#include "core/reports/Statistics.h"
#include "core/documents/DocumentError.h"
#include "core/documents/Office.h"
#include "core/platform/Progress.h"
#include "core/reports/ReportMerge.h"
#include "core/reports/SpreadsheetText.h"
#include "core/reports/StatisticsReport.h"
#include "core/reports/StatisticsWindow.h"
#include "core/store/Cp1251.h"
#include "core/store/InstallFolder.h"
#include "core/texts/DayNumber.h"
#include "support/Failures.h"
#include "support/TestSupport.h"

#include <QBuffer>
#include <QFile>
#include <QLocale>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <cmath>
#include <map>
#include <random>

using namespace zelmar;
using namespace zelmar::test;

namespace {

const double kFrom = 46054.0; // 01.02.2026
const double kTo = 46142.0;   // 30.04.2026
const double kLastSecond = 86399.0 / 86400.0;

// The counts of a group as the test makes them, from the card's texts.
struct Expected {
    QString label;
    qint64 counts[StatTable::ColumnCount] = {};
};

QString folded(const QString& text) {
    return trimmedText(text).toLower();
}

QString groupText(const TAnketa& c, StatGrouping grouping) {
    switch (grouping) {
    case StatGrouping::Official:
        return c.KemWines.text();
    case StatGrouping::Signer:
        return c.PodpUtw.text();
    case StatGrouping::Motive:
        return c.Motiv.text();
    case StatGrouping::Article:
        return c.Statia.text();
    default:
        return c.LicoUN.text();
    }
}

QString monthLabel(const QDate& month, StatGrouping grouping) {
    if (grouping == StatGrouping::Quarter)
        return QStringList{QStringLiteral("I"), QStringLiteral("II"), QStringLiteral("III"),
                           QStringLiteral("IV")}
                   .at((month.month() - 1) / 3) +
               QStringLiteral(" квартал ") + QString::number(month.year());
    return QLocale(QLocale::Russian).standaloneMonthName(month.month()).toLower() +
           QLatin1Char(' ') + QString::number(month.year());
}

// The table the statistics must show, counted card by card.
std::vector<Expected> expectedRows(const std::vector<TAnketa>& cards, StatGrouping grouping) {
    std::map<QString, Expected> texts; // by folded text
    std::map<QDate, Expected> months;  // by the first day of the month or quarter
    for (const TAnketa& c : cards) {
        const QDate day = dateOf(c.DateOtkaza);
        if (!day.isValid() || day < dateOf(kFrom) || day > dateOf(kTo))
            continue;
        Expected* e = nullptr;
        if (groupsByTime(grouping)) {
            const int month =
                grouping == StatGrouping::Quarter ? (day.month() - 1) / 3 * 3 + 1 : day.month();
            e = &months[QDate(day.year(), month, 1)];
        } else {
            const QString text = groupText(c, grouping);
            e = &texts[folded(text)];
            if (e->label.isEmpty())
                e->label = folded(text).isEmpty() ? QStringLiteral("(не указано)") : text.trimmed();
        }
        const QString mark = folded(c.ProkOtmetka.text());
        e->counts[StatTable::Materials] += 1;
        e->counts[StatTable::Checked] += mark == QStringLiteral("проверено");
        e->counts[StatTable::Cancelled] += mark == QStringLiteral("отменено");
        e->counts[StatTable::Unchecked] += mark.isEmpty();
        e->counts[StatTable::Cases] += !folded(c.DeloNom.text()).isEmpty();
        e->counts[StatTable::Extended] += c.Srok > 0;
        e->counts[StatTable::NotInBook] += c.PrintNet == 0;
    }
    std::vector<Expected> rows;
    if (groupsByTime(grouping)) {
        if (months.empty())
            return rows;
        const int step = grouping == StatGrouping::Quarter ? 3 : 1;
        for (QDate m = months.begin()->first; m <= months.rbegin()->first; m = m.addMonths(step)) {
            Expected e = months[m];
            e.label = monthLabel(m, grouping);
            rows.push_back(e);
        }
        return rows;
    }
    std::vector<std::pair<QString, Expected>> ordered(texts.begin(), texts.end());
    std::stable_sort(ordered.begin(), ordered.end(), [](const auto& a, const auto& b) {
        if (a.second.counts[StatTable::Materials] != b.second.counts[StatTable::Materials])
            return a.second.counts[StatTable::Materials] > b.second.counts[StatTable::Materials];
        return toCp1251(a.first) < toCp1251(b.first);
    });
    for (const auto& [key, e] : ordered)
        rows.push_back(e);
    return rows;
}

QString expectedCell(const Expected& e, int column) {
    if (column == StatTable::Group)
        return e.label;
    if (column == StatTable::Share) {
        const qint64 materials = e.counts[StatTable::Materials];
        return materials == 0
                   ? QString()
                   : QString::asprintf("%.1f", 100.0 * double(e.counts[StatTable::Cancelled]) /
                                                   double(materials))
                         .replace(QLatin1Char('.'), QLatin1Char(','));
    }
    return QString::number(e.counts[column]);
}

template <class T>
const T& any(std::mt19937& random, const std::vector<T>& list) {
    return list[random() % list.size()];
}

// Cards around the period, with texts in every letter case and blanks around them, empty and
// unknown marks, terms below and above 0.
std::vector<TAnketa> randomCards(std::mt19937& random, int count) {
    const std::vector<QString> officials = {QStringLiteral("Иванов И.И."),
                                            QStringLiteral(" иванов и.и."),
                                            QStringLiteral("ИВАНОВ И.И.  "),
                                            QStringLiteral("Петров П.П."),
                                            QString(),
                                            QStringLiteral("   "),
                                            QStringLiteral("Ёлкин Ё.Ё."),
                                            QStringLiteral("ёлкин ё.ё.")};
    const std::vector<QString> signers = {QStringLiteral("Орлов Д.Н."),
                                          QStringLiteral("орлов д.н."), QString(),
                                          QStringLiteral("Сидоров С.С.")};
    const std::vector<QString> motives = {QStringLiteral("п.2 ч.1 ст.24 УПК РФ"),
                                          QStringLiteral("П.2 Ч.1 СТ.24 УПК РФ"),
                                          QStringLiteral("ст.25 УПК РФ; примирение"), QString()};
    const std::vector<QString> articles = {QStringLiteral("ст. 158 ч.1"),
                                           QStringLiteral("СТ. 158 Ч.1"), QStringLiteral("ст. 159"),
                                           QString()};
    const std::vector<QString> persons = {QStringLiteral("Нет"), QStringLiteral("нет"),
                                          QStringLiteral("Установлено"),
                                          QStringLiteral(" установлено "), QString()};
    const std::vector<QString> marks = {QStringLiteral("Проверено"),   QStringLiteral("проверено"),
                                        QStringLiteral(" ПРОВЕРЕНО "), QStringLiteral("Отменено"),
                                        QStringLiteral("отменено"),    QString(),
                                        QStringLiteral("  "),          QStringLiteral("Отмена")};
    const std::vector<QString> cases = {QString(), QStringLiteral("  "), QStringLiteral("123"),
                                        QStringLiteral(" 45 ")};
    const std::vector<double> times = {0.0, 0.4845, kLastSecond};
    std::vector<TAnketa> cards;
    for (int i = 0; i < count; ++i) {
        TAnketa c = makeCard(i + 1, 0, 1000 + i, static_cast<int>(random() % 3));
        c.DateOtkaza = kFrom - 40 + static_cast<double>(random() % 180) + any(random, times);
        c.KemWines = any(random, officials);
        c.PodpUtw = any(random, signers);
        c.Motiv = any(random, motives);
        c.Statia = any(random, articles);
        c.LicoUN = any(random, persons);
        c.ProkOtmetka = any(random, marks);
        c.DeloNom = any(random, cases);
        c.Srok = std::vector<int>{0, 10, -5, 30}[random() % 4];
        cards.push_back(c);
    }
    // The ends of the period at midnight and with a time of day, the days just outside it, a
    // date outside the calendar and the empty date.
    for (const double day : {kFrom, kFrom + 0.385, kTo, kTo + kLastSecond, kFrom - 1 + kLastSecond,
                             kTo + 1, std::nan(""), EmptyDate}) {
        TAnketa c = cards[random() % cards.size()];
        c.DateOtkaza = day;
        cards.push_back(c);
    }
    return cards;
}

class MeterLog : public Progress {
public:
    std::vector<int> shown;

protected:
    void show(int meter, int percent) override {
        if (meter == 0)
            shown.push_back(percent);
    }
};

class StatisticsTest : public RegisterTest {
protected:
    // Writes the card files and opens them as the window's state has them.
    AppState& startWith(const std::vector<TAnketa>& main, const std::vector<TAnketa>& archive) {
        prepareFolder();
        writeCards(QStringLiteral("Baza/Anketi.dat"), main);
        writeCards(QStringLiteral("Baza/ArhAnket.dat"), archive);
        return start();
    }
    QString text(const QString& relative) const { return fromCp1251(readBytes(relative)); }
};

} // namespace

TEST_F(StatisticsTest, EveryCellMatchesCountsMadeFromTheCards) {
    for (const unsigned seed : {1u, 2u, 3u}) {
        std::mt19937 random(seed);
        const std::vector<TAnketa> main = randomCards(random, 400);
        std::vector<TAnketa> archive = randomCards(random, 60);
        archive[0].DateOtkaza = kTo; // at least one card of the archive in the period
        AppState& s = startWith(main, archive);
        for (int grouping = 0; grouping < statGroupingNames().size(); ++grouping) {
            for (const bool withArchive : {false, true}) {
                const StatQuery query{kFrom, kTo, static_cast<StatGrouping>(grouping), withArchive};
                MeterLog meters;
                const StatTable table =
                    countStatistics(query, s.main, withArchive ? &s.archive : nullptr, meters);
                std::vector<TAnketa> cards = main;
                if (withArchive)
                    cards.insert(cards.end(), archive.begin(), archive.end());
                const std::vector<Expected> rows = expectedRows(cards, query.grouping);
                Expected total;
                total.label = QStringLiteral("Итого");
                for (const Expected& row : rows) {
                    for (int column = 1; column < StatTable::ColumnCount; ++column)
                        total.counts[column] += row.counts[column];
                }

                const std::string where = "seed " + std::to_string(seed) + ", " +
                                          statGroupingKeys().at(grouping).toStdString() +
                                          (withArchive ? ", with the archive" : "");
                ASSERT_EQ(table.shownRows(), static_cast<qsizetype>(rows.size()) + 1) << where;
                for (qsizetype row = 0; row < table.shownRows(); ++row) {
                    const Expected& e = row < static_cast<qsizetype>(rows.size())
                                            ? rows[static_cast<size_t>(row)]
                                            : total;
                    for (int column = 0; column < StatTable::ColumnCount; ++column)
                        EXPECT_EQ(table.cell(row, column), expectedCell(e, column))
                            << where << ", row " << row << ", column " << column;
                }
                EXPECT_EQ(table.query, query);
                ASSERT_FALSE(meters.shown.empty());
                EXPECT_EQ(meters.shown.back(), 100);
            }
        }
    }
}

TEST_F(StatisticsTest, ManySpellingsStillMeetInTheirGroups) {
    // More spellings than the pass remembers: the later ones are folded card by card.
    std::vector<TAnketa> cards;
    for (int i = 0; i < 5000; ++i) {
        TAnketa c = makeCard(i + 1, kFrom, 2000 + i);
        const QString name = QStringLiteral("Лицо %1").arg(i % 4500);
        c.KemWines = i < 4500 ? name : QStringLiteral(" ") + name.toUpper();
        cards.push_back(c);
    }
    AppState& s = startWith(cards, {});
    NoProgress none;
    const StatTable table =
        countStatistics({kFrom, kTo, StatGrouping::Official, false}, s.main, nullptr, none);
    ASSERT_EQ(table.rows.size(), 4500u);
    EXPECT_EQ(table.rows[0].counts.materials, 2);
    EXPECT_EQ(table.rows[0].group, QStringLiteral("Лицо 0"));
    EXPECT_EQ(table.rows[499].counts.materials, 2);
    EXPECT_EQ(table.rows[500].counts.materials, 1);
    EXPECT_EQ(table.total.materials, 5000);
}

TEST_F(StatisticsTest, TheChartShowsTheLargestGroupsAndTheRestAsOne) {
    StatTable byOfficial;
    byOfficial.query.grouping = StatGrouping::Official;
    for (int i = 0; i < 20; ++i) {
        StatRow row;
        row.group = row.brief = QStringLiteral("Лицо %1").arg(i);
        row.counts.materials = 40 - i;
        row.counts.cancelled = i % 4;
        byOfficial.rows.push_back(row);
    }
    const StatChart chart = chartOf(byOfficial);
    ASSERT_EQ(chart.labels.size(), StatChartBars + 1);
    EXPECT_EQ(chart.labels.first(), QStringLiteral("Лицо 0"));
    EXPECT_EQ(chart.labels.last(), QStringLiteral("прочие"));
    EXPECT_EQ(chart.materials.back(), 25 + 24 + 23 + 22 + 21);
    EXPECT_EQ(chart.cancelled.back(), 3 + 0 + 1 + 2 + 3);
    EXPECT_DOUBLE_EQ(chart.shares.back(), 100.0 * 9 / 115);

    // Months follow time and are never folded into one bar.
    std::vector<TAnketa> cards;
    for (int month = 0; month < 20; ++month)
        cards.push_back(
            makeCard(month + 1, dayNumber(QDate(2025, 1, 15).addMonths(month)), 100 + month));
    AppState& s = startWith(cards, {});
    NoProgress none;
    const StatTable byMonth = countStatistics(
        {dayNumber(QDate(2025, 1, 1)), dayNumber(QDate(2026, 12, 31)), StatGrouping::Month, false},
        s.main, nullptr, none);
    const StatChart months = chartOf(byMonth);
    ASSERT_EQ(months.labels.size(), 20);
    EXPECT_EQ(months.labels.first(), QStringLiteral("01.2025"));
    EXPECT_EQ(months.labels.last(), QStringLiteral("08.2026"));
    EXPECT_EQ(byMonth.rows.back().group, QStringLiteral("август 2026"));
}

TEST_F(StatisticsTest, TheWindowCountsShowsExportsAndPrints) {
    std::vector<TAnketa> cards;
    for (int i = 0; i < 6; ++i) {
        TAnketa c = makeCard(i + 1, dayNumber(QDate(2026, 11, 28).addDays(i)), 500 + i, i % 2);
        c.KemWines = i < 4 ? QStringLiteral("Орлов; Д.Н.") : QStringLiteral("Петров П.П.");
        c.ProkOtmetka = i == 0 ? QStringLiteral("Отменено") : QString();
        cards.push_back(c);
    }
    AppState& s = startWith(cards, {});
    StatisticsForm f;

    // The current month to today (07.12.2026), nothing counted yet.
    StatistikaFormShow(s, f);
    EXPECT_EQ(f.StatS, dayNumber(QDate(2026, 12, 1)));
    EXPECT_EQ(f.StatPo, dayNumber(QDate(2026, 12, 7)));
    EXPECT_EQ(f.StatTabl.rowCount(), 0);

    // A period that ends before it begins is refused.
    f.StatS = dayNumber(QDate(2026, 12, 8));
    m_prompts.ok();
    StatPokazClick(s, f);
    EXPECT_EQ(m_prompts.last().caption, QStringLiteral("Неверный период"));
    EXPECT_TRUE(m_prompts.last().text.contains(QStringLiteral("08.12.2026")));
    EXPECT_FALSE(f.shown);

    f.StatS = dayNumber(QDate(2026, 11, 1));
    f.StatGrup = static_cast<int>(StatGrouping::Official);
    StatPokazClick(s, f);
    ASSERT_EQ(f.StatTabl.rowCount(), 3);
    EXPECT_EQ(f.StatTabl.data(f.StatTabl.index(0, 0), Qt::DisplayRole).toString(),
              QStringLiteral("Орлов; Д.Н."));
    EXPECT_EQ(f.StatTabl.data(f.StatTabl.index(2, 1), Qt::DisplayRole).toString(),
              QStringLiteral("6"));
    EXPECT_EQ(f.StatTabl.headerData(2, Qt::Horizontal, Qt::DisplayRole).toString(),
              QStringLiteral("Проверено\nпрокурором"));
    EXPECT_EQ(f.StatGrafik.labels.size(), 2);

    // "в Excel": the table, quoted where a cell holds ";", the counts read as numbers.
    StatExcelClick(s, f);
    EXPECT_EQ(text(QStringLiteral("Temp/Statistika.txt")),
              QStringLiteral("Группа;Материалов;Проверено прокурором;Отменено прокурором;"
                             "Доля отменённых, %;Не проверено;Возбуждено дел;Продлено;"
                             "Не в Книге;\r\n"
                             "\"Орлов; Д.Н.\";4;0;1;25,0;3;0;0;2;\r\n"
                             "Петров П.П.;2;0;0;0,0;2;0;0;1;\r\n"
                             "Итого;6;0;1;16,7;5;0;0;3;\r\n"));
    ASSERT_EQ(m_shell.calls.size(), 1);
    EXPECT_EQ(m_shell.calls[0].what, QStringLiteral("spreadsheet"));
    EXPECT_EQ(m_shell.calls[0].arguments,
              QStringList{QStringLiteral("59,34,34,1,1/2/2/1/3/1/4/1/5/1/6/1/7/1/8/1/9/1,1049")});

    // A full disk: the previous file stays whole and nothing is opened.
    const QByteArray exported = readBytes(QStringLiteral("Temp/Statistika.txt"));
    m_shell.calls.clear();
    f.StatArhiv = true; // counted anew
    withFileSizeLimit(64, [&] { EXPECT_THROW(StatExcelClick(s, f), IoError); });
    EXPECT_EQ(readBytes(QStringLiteral("Temp/Statistika.txt")), exported);
    EXPECT_TRUE(m_shell.calls.isEmpty());

    // "Печать": the data file, then the runner twice, as every report.
    StatPechatClick(s, f);
    EXPECT_TRUE(text(QStringLiteral("REPORT/StatDat.txt"))
                    .startsWith(QStringLiteral("|0:StatS:01.11.2026\r\n|0:StatPo:07.12.2026\r\n"
                                               "|0:StatGrup:кем вынесено\r\n"
                                               "|0:StatArhiv:Главная картотека и Архив\r\n")));
    ASSERT_EQ(m_shell.calls.size(), 2);
    EXPECT_EQ(
        m_shell.calls[0].arguments,
        (QStringList{QStringLiteral("StatDat.txt"), QStringLiteral("StatPic.rtf"),
                     QStringLiteral("StatRep.rtf"), QStringLiteral("-"), QStringLiteral("/m")}));
    EXPECT_EQ(m_shell.calls[1].arguments.last(), QStringLiteral("/p"));

    // A full disk: the previous data file stays whole and the runner is not started.
    const QByteArray printed = readBytes(QStringLiteral("REPORT/StatDat.txt"));
    m_shell.calls.clear();
    f.StatGrup = static_cast<int>(StatGrouping::Month);
    withFileSizeLimit(64, [&] { EXPECT_THROW(StatPechatClick(s, f), IoError); });
    EXPECT_EQ(readBytes(QStringLiteral("REPORT/StatDat.txt")), printed);
    EXPECT_TRUE(m_shell.calls.isEmpty());
}

TEST(StatisticsReport, TheDataFileAndItsMerge) {
    StatTable table;
    table.query = {dayNumber(QDate(2026, 3, 1)), dayNumber(QDate(2026, 3, 31)),
                   StatGrouping::Motive, false};
    StatRow odd;
    // A text that breaks its line and holds the tag of the next piece.
    odd.group = QStringLiteral("A\r\nB|1:Materialow:9");
    odd.counts = {3, 1, 1, 1, 0, 2, 0};
    StatRow empty{QStringLiteral("(не указано)"), {1, 0, 0, 1, 1, 0, 1}, {}};
    table.rows = {odd, empty};
    table.total = odd.counts;
    table.total.add(empty.counts);

    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    writeStatisticsData(buffer, table, QStringLiteral("StatDat.txt"));
    const QByteArray data = buffer.data();
    EXPECT_EQ(data,
              toCp1251(QStringLiteral(
                  "|0:StatS:01.03.2026\r\n|0:StatPo:31.03.2026\r\n|0:StatGrup:мотив отказа\r\n"
                  "|0:StatArhiv:Главная картотека\r\n"
                  "|1:Gruppa:A  B|1:Materialow:9|1:Materialow:3|1:Prowereno:1|1:Otmeneno:1"
                  "|1:Dolya:33,3|1:NeProwereno:1|1:WozbDel:0|1:Prodleno:2|1:NeWKnige:0\r\n"
                  "|1:Gruppa:(не указано)|1:Materialow:1|1:Prowereno:0|1:Otmeneno:0"
                  "|1:Dolya:0,0|1:NeProwereno:1|1:WozbDel:1|1:Prodleno:0|1:NeWKnige:1\r\n"
                  "|0:It_Materialow:4\r\n|0:It_Prowereno:1\r\n|0:It_Otmeneno:1\r\n"
                  "|0:It_Dolya:25,0\r\n|0:It_NeProwereno:2\r\n|0:It_WozbDel:1\r\n"
                  "|0:It_Prodleno:2\r\n|0:It_NeWKnige:1\r\n\r\n")));
    EXPECT_TRUE(isStatisticsData(data));

    QTemporaryDir dir;
    const QString result = dir.filePath(QStringLiteral("StatRep.rtf"));
    const QByteArray rtf = "{\\rtf1\\ansi #StatS#-#STATPO# #count# #today#\\par\n"
                           "\\trowd\\cellx1000\\cellx2000\\pard\\intbl #BAND##Gruppa#\\cell "
                           "#Materialow# #Dolya##ENDBAND#\\cell\\row\n"
                           "\\pard [#Gruppa#] #It_Materialow# #It_Dolya#\\par}";
    mergeStatistics(data, QStringLiteral("StatDat.txt"), rtf, QStringLiteral("StatPic.rtf"), result,
                    QDate(2026, 12, 7));
    QFile made(result);
    ASSERT_TRUE(made.open(QIODevice::ReadOnly));
    const QByteArray merged = made.readAll();
    EXPECT_TRUE(merged.contains("01.03.2026-31.03.2026 2 07.12.2026")) << merged.constData();
    EXPECT_TRUE(merged.contains("A  B|1:Materialow:9\\cell 3 33,3")) << merged.constData();
    EXPECT_TRUE(merged.contains("[] 4 25,0")) << merged.constData();

    // A torn or foreign file is refused with its name; the result stays as it was.
    for (const QByteArray& broken : {data.left(data.indexOf("|0:It_Prodleno")),
                                     data + "|1:Gruppa:x|1:Dolya:1\r\n", data + "text\r\n"}) {
        try {
            mergeStatistics(broken, QStringLiteral("StatDat.txt"), rtf,
                            QStringLiteral("StatPic.rtf"), result, QDate(2026, 12, 7));
            ADD_FAILURE() << "merged: " << broken.constData();
        } catch (const DocumentError& error) {
            EXPECT_TRUE(error.text().contains(QStringLiteral("«StatDat.txt»")));
        }
        QFile again(result);
        ASSERT_TRUE(again.open(QIODevice::ReadOnly));
        EXPECT_EQ(again.readAll(), merged);
    }
}

TEST_F(StatisticsTest, TheShippedTemplatePrintsTheTable) {
    if (officeProgram().isEmpty())
        GTEST_SKIP() << "LibreOffice (soffice) is not installed";
    std::vector<TAnketa> cards;
    for (int i = 0; i < 5; ++i) {
        TAnketa c = makeCard(i + 1, dayNumber(QDate(2026, 1 + i, 10)), 700 + i, 0);
        c.ProkOtmetka = i == 1 ? QStringLiteral("Отменено") : QStringLiteral("Проверено");
        cards.push_back(c);
    }
    AppState& s = startWith(cards, {});
    StatisticsForm f;
    StatistikaFormShow(s, f);
    f.StatS = dayNumber(QDate(2026, 1, 1));
    f.StatGrup = static_cast<int>(StatGrouping::Quarter);
    StatPechatClick(s, f);
    const QString result = file(QStringLiteral("REPORT/StatRep.rtf"));
    mergeReport(file(QStringLiteral("REPORT/StatDat.txt")),
                file(QStringLiteral("REPORT/StatPic.rtf")), result, QDate(2026, 12, 7));
    QTemporaryDir dir;
    convertWithOffice({result}, QStringLiteral("txt:Text (encoded):UTF8"), dir.path());
    QFile shown(dir.filePath(QStringLiteral("StatRep.txt")));
    ASSERT_TRUE(shown.open(QIODevice::ReadOnly));
    const QString page = QString::fromUtf8(shown.readAll());
    EXPECT_FALSE(page.contains(QRegularExpression(QStringLiteral("#[A-Za-z_]+#"))))
        << qPrintable(page);
    for (const QString& expected :
         {QStringLiteral("за период с 01.01.2026 по 07.12.2026"),
          QStringLiteral("Группировка: по кварталам"), QStringLiteral("I квартал 2026"),
          QStringLiteral("II квартал 2026"), QStringLiteral("Итого"), QStringLiteral("20,0"),
          QStringLiteral("Дата печати: 07.12.2026")})
        EXPECT_TRUE(page.contains(expected)) << expected.toStdString() << "\n" << qPrintable(page);
}

TEST(StatisticsSpreadsheet, CalcReadsTheCountsAsNumbers) {
    if (spreadsheetProgram().isEmpty())
        GTEST_SKIP() << "LibreOffice Calc (soffice with Calc) is not installed";
    StatTable table;
    table.query.grouping = StatGrouping::Article;
    table.rows = {{QStringLiteral("001"), {3, 1, 1, 1, 0, 2, 0}, {}}};
    table.total = table.rows[0].counts;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Statistika.txt"));
    QFile out(path);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write(statisticsText(table));
    out.close();
    QList<ImportColumn> columns(StatTable::ColumnCount, ImportColumn::Standard);
    columns[0] = ImportColumn::Text;
    convertWithOffice({path}, QStringLiteral("csv:Text - txt - csv (StarCalc):59,34,76,1"),
                      dir.path(), textImportFilter(semicolonTextOptions(columns)));
    QFile csv(dir.filePath(QStringLiteral("Statistika.csv")));
    ASSERT_TRUE(csv.open(QIODevice::ReadOnly));
    const QStringList rows = QString::fromUtf8(csv.readAll()).split(QLatin1Char('\n'));
    ASSERT_GE(rows.size(), 3);
    // Text comes back quoted ("001" kept), numbers bare, the share a number too.
    EXPECT_EQ(rows[1], QStringLiteral("\"001\";3;1;1;33.3;1;0;2;0")) << qPrintable(rows[1]);
}
