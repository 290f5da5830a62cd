#include "core/reports/RegisterBook.h"
#include "core/reports/PrintSelection.h"
#include "core/texts/DayNumber.h"
#include "support/TestSupport.h"

#include <QFileInfo>

using namespace zelmar;
using namespace zelmar::test;

namespace {

double day(int d, int msecs = 0) {
    return dayNumber(QDate(2026, 3, d), msecs);
}

const QString kMain = QStringLiteral("Baza/Anketi.dat");
const QString kWorking = QStringLiteral("Temp/RabAnket.dat");

class RegisterBookTest : public RegisterTest {
protected:
    // The main card file of `main`; the working card file holding `working` (not the unprinted
    // cards the start gathers).
    AppState& startWith(const std::vector<TAnketa>& main, const std::vector<TAnketa>& working) {
        writeCards(kMain, main);
        AppState& s = start();
        s.working.seek(0);
        s.working.truncate();
        for (const TAnketa& card : working)
            s.working.write(card);
        m_print = std::make_unique<PrintSelection>(s);
        PrintFormActivate(s, *m_print, true);
        m_shell.calls.clear();
        return s;
    }
    std::vector<int> printed(const QString& file) const {
        std::vector<int> marks;
        for (const TAnketa& card : readCards(file))
            marks.push_back(card.PrintNet);
        return marks;
    }
    QStringList runnerArguments(int call) const { return m_shell.calls.at(call).arguments; }
    std::unique_ptr<PrintSelection> m_print;
};

} // namespace

TEST_F(RegisterBookTest, EveryReportButtonWritesItsFileAndStartsTheRunnerTwice) {
    const TAnketa a = makeCard(1, day(1), 101, 0);
    const TAnketa b = makeCard(2, day(2), 102, 0);
    AppState& s = startWith({a, b}, {a, b, b});
    const TAnketa editorCard = s.card;
    struct Case {
        void (*command)(AppState&, PrintSelection&);
        const char* prefix;
        int lines; // line ends in the data file
        const char* begins;
    };
    for (const Case& c : {Case{&KwitkiClick, "KartS", 4, "|1:N_KP:"},
                          Case{&BitBtn2Click, "Dela", 4, "|1:nn:1|1:N_KP:"},
                          Case{&BitBtn3Click, "Prok", 4, "|1:nn:1|1:N_KP:"},
                          Case{&BitBtn1Click, "Poln", 25, "|0:N_KP:"},
                          Case{&BitBtn4Click, "KUGiZ", 25, "|0:N_KP:"}}) {
        SCOPED_TRACE(c.prefix);
        // The single-card reports print the card last picked.
        TablMouseDown(s, *m_print, PrintSelection::Main, 1, 2);
        m_shell.calls.clear();
        c.command(s, *m_print);
        const QString prefix = QString::fromLatin1(c.prefix);
        const QByteArray data = readBytes(QStringLiteral("REPORT/%1Dat.txt").arg(prefix));
        EXPECT_EQ(data.count("\r\n"), c.lines);
        EXPECT_TRUE(data.startsWith(c.begins));
        EXPECT_TRUE(data.contains("gn:1")); // the first card, in every report
        ASSERT_EQ(m_shell.calls.size(), 2);
        EXPECT_EQ(runnerArguments(0).first(), prefix + QStringLiteral("Dat.txt"));
        EXPECT_EQ(runnerArguments(0).last(), QStringLiteral("/m"));
        EXPECT_EQ(runnerArguments(1).last(), QStringLiteral("/p"));
        // Two copies of a card: two identical lines.
        if (c.lines == 4) {
            const QList<QByteArray> lines = data.split('\n');
            EXPECT_EQ(lines[1].mid(lines[1].indexOf("|1:N_KP:")),
                      lines[2].mid(lines[2].indexOf("|1:N_KP:")));
            EXPECT_EQ(m_print->card.Klu4Form1, 102); // the last card of the working file
        }
    }
    EXPECT_EQ(s.card.Klu4Form1, editorCard.Klu4Form1); // the editor's card is its own
    EXPECT_EQ(printed(kMain), (std::vector<int>{0, 0}));
}

TEST_F(RegisterBookTest, TheBookMarksEveryMainCardOfAWorkingCardOnYesOnly) {
    // Number 4 on March 2 twice (once with a time of day), number 4 on another day, a card
    // that is not in the working file, and a working card taken from the archive.
    const std::vector<TAnketa> main = {makeCard(4, day(2, 3600000), 100, 0),
                                       makeCard(4, day(3), 101, 0), makeCard(5, day(5), 102, 0),
                                       makeCard(4, day(2), 103, 0), makeCard(7, day(7), 104, 1)};
    const TAnketa archived = makeCard(9, day(9), 900, 0);
    AppState& s = startWith(main, {main[3], main[2], main[3], archived});
    const QByteArray working = readBytes(kWorking);

    m_prompts.no();
    KnigaClick(s, *m_print);
    EXPECT_EQ(m_prompts.last().text, QStringLiteral("Поставить отметки Есть ?"));
    EXPECT_EQ(m_prompts.last().caption, QStringLiteral("Во всех напечатанных карточках"));
    EXPECT_EQ(m_shell.calls.size(), 2);
    EXPECT_EQ(readBytes(QStringLiteral("REPORT/OtkazDat.txt")).count("\r\n"), 5);
    EXPECT_EQ(printed(kMain), (std::vector<int>{0, 0, 0, 0, 1}));

    m_prompts.yes();
    KnigaClick(s, *m_print);
    EXPECT_EQ(printed(kMain), (std::vector<int>{1, 0, 1, 1, 1}));
    EXPECT_EQ(readBytes(kWorking), working); // the working file keeps its marks
    EXPECT_EQ(m_print->Tabl.data(m_print->Tabl.index(0, PrintGridModel::Kniga)).toString(),
              QStringLiteral("Есть"));
    EXPECT_EQ(s.main.pos(), s.main.size());
    // The index follows: a pick finds the marked card as it is now.
    EXPECT_EQ(s.main.findNumberAndDay(MainCardFile::numberAndDay(4, day(2))).size(), 2u);
    EXPECT_EQ(markRegisterBookPrinted(s), 3);
}

TEST_F(RegisterBookTest, AnEmptyWorkingFileStillStartsTheRunnerAndAsks) {
    AppState& s = startWith({makeCard(1, day(1), 100, 0)}, {});
    m_prompts.yes();
    KnigaClick(s, *m_print);
    EXPECT_EQ(readBytes(QStringLiteral("REPORT/OtkazDat.txt")), QByteArray("\r\n"));
    EXPECT_EQ(m_shell.calls.size(), 2);
    EXPECT_EQ(printed(kMain), (std::vector<int>{0}));
}
