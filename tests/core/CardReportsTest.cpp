#include "core/reports/CardReports.h"
#include "core/platform/CommandBoundary.h"
#include "core/texts/DayNumber.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFileInfo>

using namespace zelmar;
using namespace zelmar::test;

namespace {

class CardReportsTest : public RegisterTest {
protected:
    QStringList runnerCall(int i) const {
        const RecordingShell::Call& call = m_shell.calls.at(i);
        EXPECT_EQ(call.what, QStringLiteral("program"));
        EXPECT_EQ(QFileInfo(call.target).fileName(), QStringLiteral("prtview"));
        EXPECT_EQ(call.workingFolder, file(QStringLiteral("REPORT")));
        return call.arguments;
    }
    static QStringList line(const char* prefix, const char* mode) {
        const QString p = QString::fromLatin1(prefix);
        return {p + QStringLiteral("Dat.txt"), p + QStringLiteral("Pic.rtf"),
                p + QStringLiteral("Rep.rtf"), QStringLiteral("-"), QString::fromLatin1(mode)};
    }
};

} // namespace

TEST_F(CardReportsTest, CardBufferReportsStartTheRunnerTwice) {
    AppState& s = start();
    s.card = makeCard(5, dayNumber(QDate(2012, 3, 10)), 777, 1, QStringLiteral("Петров"));
    for (auto [command, prefix] :
         {std::pair{&WriteFullCard, "Poln"}, std::pair{&WriteStandardCard, "KUGiZ"}}) {
        m_shell.calls.clear();
        command(s);
        ASSERT_EQ(m_shell.calls.size(), 2);
        EXPECT_EQ(runnerCall(0), line(prefix, "/m"));
        EXPECT_EQ(runnerCall(1), line(prefix, "/p"));
        const QByteArray data =
            readBytes(QStringLiteral("REPORT/%1Dat.txt").arg(QLatin1String(prefix)));
        EXPECT_TRUE(data.startsWith("|0:N_KP:"));
        EXPECT_TRUE(data.contains("|0:gn:5\r\n|0:D_w:10.03.12\r\n"));
        EXPECT_TRUE(data.contains("|0:Zaywitel:\xcf\xe5\xf2\xf0\xee\xe2\r\n"));
        EXPECT_TRUE(data.endsWith("\r\n\r\n\r\n"));
    }
}

TEST_F(CardReportsTest, WorkingFileReportsWriteEveryCardInFileOrder) {
    AppState& s = start();
    const TAnketa first = makeCard(1, dayNumber(QDate(2012, 1, 2)), 101);
    const TAnketa second = makeCard(2, dayNumber(QDate(2012, 1, 3)), 102);
    for (const TAnketa& card : {first, second, second})
        s.working.write(card);
    writeWorkingFileReport(s, reports::Cancelled, s.card);
    const QByteArray data = readBytes(QStringLiteral("REPORT/DelaDat.txt"));
    EXPECT_EQ(data.count("\r\n"), 4);
    EXPECT_TRUE(data.startsWith("|1:nn:1|1:N_KP:"));
    EXPECT_TRUE(data.contains("\r\n|1:nn:2|1:N_KP:"));
    EXPECT_TRUE(data.contains("\r\n|1:nn:3|1:N_KP:"));
    EXPECT_EQ(s.card.Klu4Form1, 102);
    EXPECT_EQ(runnerCall(0), line("Dela", "/m"));
    EXPECT_EQ(runnerCall(1), line("Dela", "/p"));

    // An empty working card file: one empty line, and the runner all the same.
    s.working.seek(0);
    s.working.truncate();
    m_shell.calls.clear();
    writeWorkingFileReport(s, reports::RegisterBook, s.card);
    EXPECT_EQ(readBytes(QStringLiteral("REPORT/OtkazDat.txt")), QByteArray("\r\n"));
    EXPECT_EQ(m_shell.calls.size(), 2);
}

TEST_F(CardReportsTest, WithoutTheReportFolderTheRunnerIsNotStarted) {
    AppState& s = start();
    ASSERT_TRUE(QDir(file(QStringLiteral("REPORT"))).removeRecursively());
    m_prompts.ok();
    EXPECT_FALSE(runCommand(m_prompts, [&] { WriteFullCard(s); }));
    EXPECT_TRUE(m_prompts.last().text.startsWith(QStringLiteral("File not found")));
    EXPECT_TRUE(m_shell.calls.isEmpty());
}

TEST_F(CardReportsTest, AReportFolderCopiedFromWindowsIsFound) {
    AppState& s = start();
    ASSERT_TRUE(QDir(root()).rename(QStringLiteral("REPORT"), QStringLiteral("report")));
    WriteStandardCard(s);
    EXPECT_TRUE(QFileInfo::exists(file(QStringLiteral("report/KUGiZDat.txt"))));
    EXPECT_EQ(m_shell.calls.at(0).workingFolder, file(QStringLiteral("report")));
}
