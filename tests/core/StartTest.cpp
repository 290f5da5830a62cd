#include "core/editor/CardCommands.h"
#include "core/editor/InsertDelete.h"
#include "core/editor/MainWindowEvents.h"
#include "core/editor/Navigation.h"
#include "core/platform/Errors.h"
#include "core/texts/DayNumber.h"
#include "gen/Generator.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFile>

using namespace zelmar;
using namespace zelmar::test;

namespace {

class StartTest : public RegisterTest {};

double day(int y, int m, int d) {
    return dayNumber(QDate(y, m, d));
}

} // namespace

TEST_F(StartTest, EmptyFolderStartsWithABlankNewCard) {
    AppState& s = start();
    for (const char* name :
         {"Baza/Anketi.dat", "Baza/ArhAnket.dat", "Temp/RabAnket.dat", "REPORT/Shablon.dat"}) {
        EXPECT_TRUE(QFile::exists(file(QString::fromLatin1(name)))) << name;
        EXPECT_EQ(QFile(file(QString::fromLatin1(name))).size(), 0) << name;
    }
    EXPECT_EQ(s.EditState, CardEditState::New);
    EXPECT_FALSE(s.buttons.nNew);
    EXPECT_FALSE(s.buttons.nCopiy);
    EXPECT_FALSE(s.buttons.nPoisk);
    EXPECT_FALSE(s.buttons.nDelete);
    EXPECT_FALSE(s.buttons.nWstavit);
    EXPECT_FALSE(s.buttons.nOtmena);
    EXPECT_FALSE(s.buttons.N7);
    EXPECT_TRUE(s.form.GurN == QStringLiteral("0") && s.form.Srok == QStringLiteral("0"));
    EXPECT_EQ(s.form.Listov, 1);
    EXPECT_EQ(s.form.Ekzem, 1);
    EXPECT_EQ(s.form.DateOtkaza, std::floor(kTestNow));
    for (double date : {s.form.NeNashaIshDat, s.form.NashaWxodDat, s.form.DataProvProkur,
                        s.form.KUPData, s.form.NasheIshData, s.form.DeloDat})
        EXPECT_EQ(date, EmptyDate);
    EXPECT_EQ(s.form.NNaidena, QStringLiteral("0"));
    EXPECT_EQ(s.form.WsegoZ, QStringLiteral("0"));
    EXPECT_EQ(s.form.FabOstZn, QStringLiteral("200"));
    EXPECT_EQ(s.Spisok.rowCount(), 0);
    // No unprinted cards: no warning on activation.
    FormActivate(s);
    EXPECT_TRUE(m_prompts.log().isEmpty());
}

TEST_F(StartTest, UnprintedCardsGoToTheWorkingCardFile) {
    writeCards(QStringLiteral("Baza/Anketi.dat"),
               {makeCard(1, day(2026, 1, 5), 100, 0), makeCard(2, day(2026, 1, 6), 200, 1),
                makeCard(3, day(2026, 1, 7), 300, 0)});
    AppState& s = start();

    const std::vector<TAnketa> working = readCards(QStringLiteral("Temp/RabAnket.dat"));
    ASSERT_EQ(working.size(), 2u);
    EXPECT_EQ(working[0].Klu4Form1, 100);
    EXPECT_EQ(working[1].Klu4Form1, 300);
    EXPECT_EQ(s.RabSpis.rowCount(), 2);
    EXPECT_EQ(s.RabSpis.data(s.RabSpis.index(1, CardGridModel::Key)).toString(),
              QStringLiteral("300"));

    // The last card is shown, the file position at the end.
    EXPECT_EQ(s.EditState, CardEditState::Korr);
    EXPECT_EQ(s.form.GurN, QStringLiteral("3"));
    EXPECT_EQ(s.form.Klu4Form1, QStringLiteral("300"));
    EXPECT_EQ(s.CurNo, 3);
    EXPECT_EQ(s.CardCount, 3);
    EXPECT_EQ(s.NavIndex, 2);
    EXPECT_EQ(s.SpisokRow, 3);
    EXPECT_TRUE(s.main.eof());
    EXPECT_EQ(s.card.Klu4Form1, 300);
    EXPECT_EQ(s.Spisok.rowCount(), 3);
    EXPECT_EQ(s.Spisok.data(s.Spisok.index(0, CardGridModel::Kniga)).toString(),
              QStringLiteral("Нет"));
    EXPECT_EQ(s.Spisok.data(s.Spisok.index(1, CardGridModel::Kniga)).toString(),
              QStringLiteral("Да"));
    EXPECT_EQ(s.Spisok.data(s.Spisok.index(2, CardGridModel::Date)).toString(),
              QStringLiteral("07.01.26"));

    m_prompts.ok().ok();
    FormActivate(s);
    ASSERT_EQ(m_prompts.log().size(), 1);
    EXPECT_EQ(m_prompts.last().text, QStringLiteral("2 шт. Они в Рабочей картотеке"));
    EXPECT_EQ(m_prompts.last().caption, QStringLiteral("Есть карточки с отметкой Не напечатано"));
    EXPECT_EQ(s.form.WRab, QStringLiteral("2"));
    // Every activation warns again while the working card file is not empty.
    FormActivate(s);
    EXPECT_EQ(m_prompts.log().size(), 2);
}

TEST_F(StartTest, GeneratedRegisterOpens) {
    gen::Options options;
    options.cards = 1000;
    options.unprintedShare = 0.05;
    gen::makeInstallation(root(), options);
    AppState& s = start();
    EXPECT_EQ(s.CardCount, 1000);
    EXPECT_EQ(s.Spisok.rowCount(), 1000);
    EXPECT_EQ(s.working.size(), 50);
    EXPECT_EQ(s.form.NNaidena, QStringLiteral("1000"));
    // Activation selects the last row of a long grid.
    s.SpisokRow = 1;
    m_prompts.ok();
    FormActivate(s);
    EXPECT_EQ(s.SpisokRow, 1000);
}

TEST_F(StartTest, TornMainCardFileOpensWithItsWholeCards) {
    writeCards(QStringLiteral("Baza/Anketi.dat"),
               {makeCard(1, day(2026, 1, 5), 100), makeCard(2, day(2026, 1, 6), 200)});
    QByteArray bytes = readBytes(QStringLiteral("Baza/Anketi.dat"));
    writeBytes(QStringLiteral("Baza/Anketi.dat"), bytes.left(TAnketa::Size * 2 - 500));
    m_prompts.ok();
    AppState& s = start();
    EXPECT_EQ(m_prompts.last().caption, QStringLiteral("Повреждённый файл"));
    EXPECT_EQ(s.CardCount, 1);
    EXPECT_EQ(s.form.GurN, QStringLiteral("1"));

    // The next new card replaces the torn record.
    nNewClick(s);
    s.form.GurN = QStringLiteral("2");
    nSaveClick(s);
    EXPECT_EQ(QFile(file(QStringLiteral("Baza/Anketi.dat"))).size(), 2 * TAnketa::Size);
}

TEST_F(StartTest, UnopenableMainCardFileIsReportedAndTheWindowStillOpens) {
    prepareFolder();
    QFile::remove(file(QStringLiteral("Baza")) + QStringLiteral("/Anketi.dat"));
    ASSERT_TRUE(QDir(root()).mkpath(QStringLiteral("Baza/Anketi.dat")));
    m_prompts.ok();
    AppState& s = newState();
    FormCreate(s);
    EXPECT_EQ(m_prompts.last().text.section(QLatin1Char('\n'), 0, 0),
              QStringLiteral("File access denied"));
    EXPECT_FALSE(s.main.isOpen());
}

TEST_F(StartTest, EveryCardCommandWorksAfterAStartThatFailedHalfway) {
    writeCards(QStringLiteral("Baza/Anketi.dat"),
               {makeCard(1, day(2026, 1, 5), 100), makeCard(2, day(2026, 1, 6), 200),
                makeCard(3, day(2026, 1, 7), 300)});
    prepareFolder();
    // A folder stands where the settings file should be: the start stops there.
    ASSERT_TRUE(QDir(root()).mkpath(QStringLiteral("NoKor.krv")));
    m_prompts.ok();
    AppState& s = newState();
    FormCreate(s);
    EXPECT_EQ(m_prompts.last().text.section(QLatin1Char('\n'), 0, 0),
              QStringLiteral("File access denied"));
    EXPECT_EQ(s.Spisok.rowCount(), 3);
    const auto keys = [this] {
        std::vector<int> result;
        for (const TAnketa& card : readCards(QStringLiteral("Baza/Anketi.dat")))
            result.push_back(card.Klu4Form1);
        return result;
    };

    // Save of the shown card overwrites it.
    s.form.FIOAvtor = QStringLiteral("Исправлено");
    nSaveClick(s);
    EXPECT_EQ(keys(), (std::vector<int>{100, 200, 300}));
    EXPECT_EQ(readCards(QStringLiteral("Baza/Anketi.dat"))[2].FIOAvtor.text(),
              QStringLiteral("Исправлено"));
    // New: a number of the same year is refused, another one stored.
    nNewClick(s);
    s.form.GurN = QStringLiteral("2");
    s.form.DateOtkaza = day(2026, 3, 1);
    m_prompts.ok();
    nSaveClick(s);
    EXPECT_EQ(m_prompts.last().caption, QStringLiteral("В этом году такой номер уже есть"));
    nNewClick(s);
    const int key = toInteger(s.form.Klu4Form1);
    nSaveClick(s);
    EXPECT_EQ(keys(), (std::vector<int>{100, 200, 300, key}));
    // Delete and Insert after.
    SpisokMouseDown(s, 2);
    m_prompts.choose(1);
    nDeleteClick(s);
    EXPECT_EQ(keys(), (std::vector<int>{100, 300, key}));
    SpeedButBegClick(s);
    m_prompts.yes();
    nWstavitClick(s);
    EXPECT_EQ(keys().size(), 4u);
    EXPECT_EQ(keys()[0], 100);
    EXPECT_EQ(keys()[2], 300);
}
