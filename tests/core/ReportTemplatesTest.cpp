// The shipped report templates merged with real cards and read back through LibreOffice.
#include "core/documents/DocumentError.h"
#include "core/documents/Office.h"
#include "core/reports/ReportDataWriter.h"
#include "core/reports/ReportMerge.h"
#include "core/store/InstallFolder.h"
#include "core/texts/DateTexts.h"
#include "core/texts/DayNumber.h"
#include "gen/Generator.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

using namespace zelmar;
using namespace zelmar::test;

namespace {

TAnketa card(int gurN, const QString& applicant, const QString& summary) {
    TAnketa c = makeCard(gurN, dayNumber(QDate(2024, 5, gurN)), 900 + gurN, 0, applicant);
    c.KUPN = QStringLiteral("КУСП-%1").arg(gurN);
    c.KUPData = dayNumber(QDate(2024, 4, gurN));
    c.Fabula = summary;
    c.Motiv = QStringLiteral("п.2 ч.1 ст.24 УПК РФ");
    c.Statia = QStringLiteral("ст. 158 ч.1");
    c.KemWines = QStringLiteral("Орлов Д.Н.");
    c.Srok = gurN == 1 ? 10 : 0;
    c.MestoNah = QStringLiteral("Том %1").arg(gurN);
    c.NashIshNom = QStringLiteral("исх-%1").arg(gurN);
    c.NasheIshData = dayNumber(QDate(2024, 6, gurN));
    c.DeloDat = EmptyDate;
    return c;
}

QString readText(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

} // namespace

TEST(ReportTemplates, EveryShippedTemplateShowsItsCards) {
    if (officeProgram().isEmpty())
        GTEST_SKIP() << "LibreOffice (soffice) is not installed";
    QTemporaryDir dir;
    const std::vector<TAnketa> cards = {
        card(1, QStringLiteral("Иванов И.И."), QStringLiteral("Кража {сумки}\r\nу входа")),
        card(2, QStringLiteral("Петрова А.\\Б."), QStringLiteral("Утеря #gn# паспорта"))};
    QStringList results;
    for (const ReportKind& kind :
         {reports::FullCard, reports::StandardCard, reports::Receipts, reports::RegisterBook,
          reports::Cancelled, reports::Prosecutor}) {
        const QString data = dir.filePath(kind.dataFile());
        writeReportData(data, kind.layout,
                        std::span(cards).first(kind.layout == ReportLayout::SingleCard ? 1 : 2));
        results.append(dir.filePath(kind.resultFile()));
        mergeReport(data, builtInInstallFiles() + QStringLiteral("/REPORT/") + kind.templateFile(),
                    results.last(), QDate(2026, 12, 7));
    }
    // A template whose placeholders an editor split over groups and escapes.
    QFile split(dir.filePath(QStringLiteral("SplitPic.rtf")));
    ASSERT_TRUE(split.open(QIODevice::WriteOnly));
    split.write("{\\rtf1\\ansi\\ansicpg1251{\\fonttbl{\\f0 Times New Roman;}}\\f0\\fs24 "
                "\\'d1\\'ef\\'e8\\'f1\\'ee\\'ea #co{\\b unt}#\\par\n"
                "\\trowd\\cellx3000\\cellx7000\\pard\\intbl #BA{\\i ND}#\\'23g{\\b n}#\\cell "
                "#Zay\\'77{\\rtlch itel}##END\\u66?AND#\\cell\\row\n\\pard\\par}");
    split.close();
    results.append(dir.filePath(QStringLiteral("SplitRep.rtf")));
    mergeReport(dir.filePath(reports::RegisterBook.dataFile()), split.fileName(), results.last(),
                QDate(2026, 12, 7));

    convertWithOffice(results, QStringLiteral("txt:Text (encoded):UTF8"), dir.path());
    const auto text = [&](const char* name) {
        return readText(dir.filePath(QLatin1String(name) + QStringLiteral(".txt")));
    };
    const QRegularExpression placeholder(QStringLiteral("#[A-Za-z_]+#"));
    for (const QString& result : results) {
        const QString name = QFileInfo(result).completeBaseName();
        const QString shown = readText(dir.filePath(name + QStringLiteral(".txt")));
        EXPECT_FALSE(shown.isEmpty()) << name.toStdString();
        // The only #…# left is the one a card's summary holds.
        EXPECT_EQ(shown.count(placeholder), shown.count(QStringLiteral("#gn#")))
            << name.toStdString() << "\n"
            << shown.toStdString();
    }

    // The full card: each value beside its label.
    const QStringList full = text("PolnRep").split(QLatin1Char('\n'));
    const auto after = [&](const QString& label) {
        const qsizetype at = full.indexOf(label);
        return at >= 0 && at + 1 < full.size() ? full[at + 1].trimmed() : QString();
    };
    EXPECT_EQ(after(QStringLiteral("Заявитель")), QStringLiteral("Иванов И.И."));
    EXPECT_EQ(after(QStringLiteral("Номер записи в КУСП")), QStringLiteral("КУСП-1"));
    EXPECT_EQ(after(QStringLiteral("Дата постановления об отказе")), QStringLiteral("01.05.24"));
    EXPECT_EQ(after(QStringLiteral("Срок продлён, сут.")), QStringLiteral("10"));
    EXPECT_EQ(after(QStringLiteral("Краткое содержание")), QStringLiteral("Кража {сумки}"));
    EXPECT_TRUE(text("PolnRep").contains(QStringLiteral("Кража {сумки}\nу входа")));
    EXPECT_TRUE(text("KUGiZRep").contains(QStringLiteral("Заявитель: Иванов И.И.")));
    EXPECT_TRUE(text("KUGiZRep").contains(QStringLiteral("учёта отказного материала № 1")));

    // The multi-card reports: every card, in file order.
    for (const char* name : {"KartSRep", "OtkazRep", "DelaRep", "ProkRep", "SplitRep"}) {
        const QString shown = text(name);
        const qsizetype first = shown.indexOf(QStringLiteral("Иванов И.И."));
        const qsizetype second = shown.indexOf(QStringLiteral("Петрова А.\\Б."));
        EXPECT_GE(first, 0) << name;
        EXPECT_GT(second, first) << name;
    }
    EXPECT_TRUE(text("OtkazRep").contains(QStringLiteral("Записей в выборке: 2")));
    EXPECT_TRUE(text("OtkazRep").contains(QStringLiteral("Утеря #gn# паспорта")));
    EXPECT_TRUE(text("ProkRep").contains(QStringLiteral("исх-2")));
    EXPECT_TRUE(text("DelaRep").contains(QStringLiteral("01.06.24")));
    EXPECT_TRUE(text("SplitRep").contains(QStringLiteral("Список 2")));
    EXPECT_TRUE(text("SplitRep").contains(QStringLiteral("1\nИванов И.И.\n2\nПетрова А.\\Б.")))
        << text("SplitRep").toStdString();
}

namespace {

QString pdfText(const QString& pdf, const QStringList& options = {}) {
    QProcess process;
    process.start(QStringLiteral("pdftotext"), options + QStringList{pdf, QStringLiteral("-")});
    process.waitForFinished(60000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

} // namespace

// The register book as LibreOffice prints it: tables of 25 records, the headings repeated on
// every page, every card there, a summary holding "|1:" in its place.
TEST(ReportTemplates, ABookOfTwoHundredCardsAsLibreOfficePrintsIt) {
    if (officeProgram().isEmpty() ||
        QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
        GTEST_SKIP() << "LibreOffice (soffice) or pdftotext is not installed";
    QTemporaryDir dir;
    gen::Options options;
    options.cards = 200;
    options.years = 1;
    gen::CardGenerator generator(options);
    std::vector<TAnketa> cards;
    QStringList expected;
    for (int i = 0; i < 200; ++i) {
        cards.push_back(generator.next());
        expected.append(QString::number(cards.back().GurN) + QLatin1Char(' ') +
                        ShortDate(cards.back().DateOtkaza));
    }
    cards[0].Fabula = QStringLiteral("Текст с |1:gn:999 внутри");
    const QString data = dir.filePath(reports::RegisterBook.dataFile());
    writeReportData(data, ReportLayout::MultiCard, cards);
    const QString result = dir.filePath(reports::RegisterBook.resultFile());
    mergeReport(data, builtInInstallFiles() + QStringLiteral("/REPORT/OtkazPic.rtf"), result,
                QDate(2026, 12, 7));
    convertWithOffice({result}, QStringLiteral("pdf"), dir.path());
    const QString pdf = dir.filePath(QStringLiteral("OtkazRep.pdf"));

    const QString second = pdfText(pdf, {QStringLiteral("-f"), QStringLiteral("2"),
                                         QStringLiteral("-l"), QStringLiteral("2")})
                               .simplified();
    for (const char* heading : {"Заявитель, адрес", "Кем вынесено", "Кем утверждено", "Том, лист"})
        EXPECT_TRUE(second.contains(QString::fromUtf8(heading))) << heading << second.toStdString();
    // Every card once, in order: its register number and decision date begin its row.
    static const QRegularExpression rowStart(
        QStringLiteral("^ *(\\d+) +(\\d\\d\\.\\d\\d\\.\\d\\d)"),
        QRegularExpression::MultilineOption);
    QStringList shown;
    for (const QRegularExpressionMatch& m :
         rowStart.globalMatch(pdfText(pdf, {QStringLiteral("-layout")})))
        shown.append(m.captured(1) + QLatin1Char(' ') + m.captured(2));
    EXPECT_EQ(shown, expected);
    EXPECT_TRUE(pdfText(pdf).simplified().contains(QStringLiteral("Текст с |1:gn:999 внутри")));
}

// A conversion that does not end in its time is stopped whole, the office program too.
TEST(ReportTemplates, AConversionThatTakesTooLongIsStopped) {
    if (officeProgram().isEmpty())
        GTEST_SKIP() << "LibreOffice (soffice) is not installed";
    QTemporaryDir dir;
    QFile rtf(dir.filePath(QStringLiteral("a.rtf")));
    ASSERT_TRUE(rtf.open(QIODevice::WriteOnly));
    rtf.write("{\\rtf1 a\\par}");
    rtf.close();
    EXPECT_THROW(
        convertWithOffice({rtf.fileName()}, QStringLiteral("pdf"), dir.path(), QString(), 1),
        DocumentError);
    QThread::msleep(500);
    const QStringList processes = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs);
    for (const QString& process : processes) {
        QFile commandLine(QStringLiteral("/proc/%1/cmdline").arg(process));
        if (!commandLine.open(QIODevice::ReadOnly))
            continue;
        EXPECT_FALSE(commandLine.readAll().contains(dir.path().toLocal8Bit()))
            << process.toStdString();
    }
}
