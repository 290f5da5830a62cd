// Faults that live between commands: each test presses the commands in the order a clerk
// presses them and then reads the card files byte for byte.

#include "core/backup/DeletionMarks.h"
#include "core/editor/CardCommands.h"
#include "core/editor/EditorRoutines.h"
#include "core/editor/InsertDelete.h"
#include "core/editor/Navigation.h"
#include "core/editor/WorkingFile.h"
#include "core/reports/PrintSelection.h"
#include "core/search/FilterWindow.h"
#include "core/search/SearchWindow.h"
#include "core/texts/DateTexts.h"
#include "core/texts/DayNumber.h"
#include "support/TestSupport.h"

using namespace zelmar;
using namespace zelmar::test;

namespace {

const QString kMain = QStringLiteral("Baza/Anketi.dat");
const QString kWorking = QStringLiteral("Temp/RabAnket.dat");
const QString kArchive = QStringLiteral("Baza/ArhAnket.dat");

double day(int d, int msecs = 0) {
    return dayNumber(QDate(2026, 3, d), msecs);
}

class ClerkSequencesTest : public RegisterTest {
protected:
    // Cards 1..n decided on March 1.., keys 101.., applicants in reverse alphabetical order.
    AppState& startWith(int n) {
        std::vector<TAnketa> cards;
        for (int i = 1; i <= n; ++i)
            cards.push_back(makeCard(i, day(i), 100 + i, 1,
                                     QStringLiteral("Заявитель %1").arg(QChar(u'Я' - i))));
        writeCards(kMain, cards);
        return start();
    }
    TAnketa mainCard(int key) {
        for (const TAnketa& card : readCards(kMain)) {
            if (card.Klu4Form1 == key)
                return card;
        }
        ADD_FAILURE() << "no card " << key;
        return zeroCard();
    }
};

} // namespace

// "уд" after Delete or after Insert after marks the selected card in its place; a card is never
// written a second time at the end of the main card file.
TEST_F(ClerkSequencesTest, TheMarkAfterDeleteOrInsertMarksTheSelectedCard) {
    AppState& s = startWith(5);
    SpisokMouseDown(s, 2);
    m_prompts.choose(1);
    nDeleteClick(s);
    s.SpisokRow = 3; // the keyboard selects the row of card 104
    marks::OtmDelClick(s);
    EXPECT_EQ(keys(kMain), (std::vector<int>{101, 103, 104, 105}));
    EXPECT_EQ(mainCard(104).Otmetka.text(), QStringLiteral("уд"));
    EXPECT_EQ(mainCard(103).Otmetka.text(), QString());

    SpisokMouseDown(s, 1);
    m_prompts.yes();
    nWstavitClick(s);
    const int blank = readCards(kMain)[1].Klu4Form1;
    s.SpisokRow = 3;
    marks::OtmDelClick(s);
    EXPECT_EQ(keys(kMain), (std::vector<int>{101, blank, 103, 104, 105}));
    EXPECT_EQ(mainCard(103).Otmetka.text(), QStringLiteral("уд"));
}

// The mark given to the card the editor shows is what the editor's box then holds: Save keeps
// it, and the card copied into the working card file carries it.
TEST_F(ClerkSequencesTest, SaveAfterTheMarkKeepsIt) {
    AppState& s = startWith(3);
    ASSERT_EQ(s.form.Klu4Form1, QStringLiteral("103"));
    ASSERT_EQ(s.SpisokRow, 3);
    marks::OtmDelClick(s);
    EXPECT_EQ(s.form.Otmetka, QStringLiteral("уд"));
    nSaveClick(s);
    EXPECT_EQ(mainCard(103).Otmetka.text(), QStringLiteral("уд"));
    nGlRabClick(s);
    EXPECT_EQ(readCards(kWorking).back().Otmetka.text(), QStringLiteral("уд"));

    // Unmarking, then saving, keeps the card unmarked; another row's mark leaves the box alone.
    marks::OtmDelClick(s);
    nSaveClick(s);
    EXPECT_EQ(mainCard(103).Otmetka.text(), QString());
    s.SpisokRow = 1;
    marks::OtmDelClick(s);
    EXPECT_EQ(s.form.Otmetka, QString());
    nSaveClick(s);
    EXPECT_EQ(mainCard(101).Otmetka.text(), QStringLiteral("уд"));
    EXPECT_EQ(mainCard(103).Otmetka.text(), QString());
}

// Keys renumbered into the clock's future: a new card takes the next free key, so its Save
// appends instead of overwriting the card that holds the clock's key.
TEST_F(ClerkSequencesTest, ANewCardNeverTakesAKeyOfTheMainFileOrTheArchive) {
    const int clockKey = NewStamp(m_clock);
    writeCards(kMain, {makeCard(1, day(1), clockKey), makeCard(2, day(2), clockKey + 2)});
    writeCards(kArchive, {makeCard(3, day(3), clockKey + 1)});
    AppState& s = start();
    nNewClick(s);
    EXPECT_EQ(s.form.Klu4Form1, QString::number(clockKey + 3));
    s.form.FIOAvtor = QStringLiteral("Новая");
    nSaveClick(s);
    s.form.FIOAvtor = QStringLiteral("Новая, исправленная");
    nSaveClick(s);
    EXPECT_EQ(keys(kMain), (std::vector<int>{clockKey, clockKey + 2, clockKey + 3}));
    EXPECT_EQ(mainCard(clockKey).FIOAvtor.text(), readCards(kMain)[0].FIOAvtor.text());
    EXPECT_EQ(mainCard(clockKey + 3).FIOAvtor.text(), QStringLiteral("Новая, исправленная"));

    // Copy and Paste draw free keys too; a card moved to the archive keeps its key taken.
    nCopiyClick(s);
    EXPECT_EQ(s.form.Klu4Form1, QString::number(clockKey + 4));
    nVstavkaClick(s);
    EXPECT_EQ(s.form.Klu4Form1, QString::number(clockKey + 4));
}

// Ins twice: the second blank goes below the first, which the editor shows and the question
// names.
TEST_F(ClerkSequencesTest, InsertTwicePutsTheSecondBlankBelowTheFirst) {
    AppState& s = startWith(3);
    SpisokMouseDown(s, 1);
    m_prompts.yes().yes();
    nWstavitClick(s);
    const int first = readCards(kMain)[1].Klu4Form1;
    EXPECT_EQ(s.form.Klu4Form1, QString::number(first));
    EXPECT_EQ(s.form.NNaidena, QStringLiteral("2"));
    nWstavitClick(s);
    EXPECT_EQ(m_prompts.last().caption, QStringLiteral("После карточки 2"));
    const std::vector<int> order = keys(kMain);
    ASSERT_EQ(order.size(), 5u);
    EXPECT_EQ(order[0], 101);
    EXPECT_EQ(order[1], first);
    EXPECT_EQ(order[2], s.form.Klu4Form1.toInt());
    EXPECT_EQ(order[3], 102);
    EXPECT_EQ(s.SpisokRow, 3);

    // Save of the shown blank stores it in its own place.
    s.form.FIOAvtor = QStringLiteral("Вторая вставка");
    nSaveClick(s);
    EXPECT_EQ(readCards(kMain)[2].FIOAvtor.text(), QStringLiteral("Вторая вставка"));
    EXPECT_EQ(keys(kMain).size(), 5u);
}

// After a sort the buttons of the print selection window act on the card the panel shows, and
// copy it as the file holds it now.
TEST_F(ClerkSequencesTest, PrintSelectionButtonsActOnThePickedCardAfterASort) {
    AppState& s = startWith(5);
    PrintSelection p(s);
    PrintFormActivate(s, p, true);
    TablMouseDown(s, p, PrintSelection::Main, 1, PrintGridModel::Zayavitel);
    ASSERT_EQ(p.GurN, QStringLiteral("1"));
    SortirClick(s, p);
    EXPECT_EQ(p.TablRow, 5); // the first card's applicant sorts last
    EstNet(s, p, 0);
    for (const TAnketa& card : readCards(kMain))
        EXPECT_EQ(card.PrintNet, card.GurN == 1 ? 0 : 1) << card.GurN;
    PlusRabClick(s, p);
    ASSERT_EQ(readCards(kWorking).size(), 1u);
    EXPECT_EQ(readCards(kWorking)[0].GurN, 1);
    EXPECT_EQ(readCards(kWorking)[0].PrintNet, 0);

    // The keyboard moves the current row and picks its card.
    TablRowPicked(s, p, PrintSelection::Main, 1);
    EXPECT_EQ(p.GurN, QStringLiteral("5"));
    EstNet(s, p, 0);
    EXPECT_EQ(mainCard(105).PrintNet, 0);
    EXPECT_EQ(mainCard(104).PrintNet, 1);

    // The working table: sorted, its marks and its deletion act on the picked card.
    s.working.seek(s.working.size());
    for (int key : {103, 102})
        s.working.write(mainCard(key));
    RabStrShow(s, p);
    TablMouseDown(s, p, PrintSelection::Working, 1, PrintGridModel::GurN);
    SortirClick(s, p);
    EXPECT_EQ(p.RabTabRow, 1);
    TablMouseDown(s, p, PrintSelection::Working, 3, PrintGridModel::GurN);
    ASSERT_EQ(p.GurN, QStringLiteral("3"));
    SortirClick(s, p);
    RabEstNet(s, p, 0);
    EXPECT_EQ(mainCard(103).PrintNet, 0);
    EXPECT_EQ(mainCard(102).PrintNet, 1);
    DelRabClick(s, p);
    std::vector<int> left;
    for (const TAnketa& card : readCards(kWorking))
        left.push_back(card.GurN);
    EXPECT_EQ(left, (std::vector<int>{1, 2}));
}

// Enter in "Поиск №" picks the found card; the window's card is the one the panel shows.
TEST_F(ClerkSequencesTest, TheSearchByNumberPicksTheFoundCard) {
    AppState& s = startWith(5);
    PrintSelection p(s);
    PrintFormActivate(s, p, true);
    p.NomOtk = QStringLiteral("3");
    NomOtkChange(s, p);
    EXPECT_EQ(p.TablRow, 3);
    EXPECT_EQ(p.GurN, QStringLiteral("3"));
    PlusRabClick(s, p);
    EXPECT_EQ(readCards(kWorking).back().GurN, 3);
}

// A date picked in the editor is the whole day; every range a clerk picks that names that day
// finds the card, whatever time of day the pickers carry.
TEST_F(ClerkSequencesTest, ADatePickedInTheEditorIsFoundByARangeStartingThatDay) {
    AppState& s = startWith(2);
    nNewClick(s);
    s.form.KUPData = pickedDate(s.form.KUPData, QDate(2026, 3, 5));
    s.form.DateOtkaza = pickedDate(s.form.DateOtkaza, QDate(2026, 3, 6));
    s.form.FIOAvtor = QStringLiteral("Найденный");
    nSaveClick(s);
    ASSERT_EQ(readCards(kMain).back().KUPData, dayNumber(QDate(2026, 3, 5)));

    SearchForm search;
    PoiskFormActivate(s, search);
    search.conditions.KUPDataN = pickerValue(search.conditions.KUPDataN, QDate(2026, 3, 5));
    search.conditions.KUPDataPo = pickerValue(search.conditions.KUPDataPo, QDate(2026, 3, 5));
    search.conditions.NaDat = pickerValue(search.conditions.NaDat, QDate(2026, 3, 6));
    search.conditions.KoDat = pickerValue(search.conditions.KoDat, QDate(2026, 3, 6));
    WsehSrazuClick(s, search);
    ASSERT_EQ(readCards(kWorking).size(), 1u);
    EXPECT_EQ(readCards(kWorking)[0].FIOAvtor.text(), QStringLiteral("Найденный"));

    PrintSelection p(s);
    PrintFormActivate(s, p, true);
    FilterForm filter;
    FiltrFormActivate(s, filter);
    filter.conditions.KUPDataN = pickerValue(filter.conditions.KUPDataN, QDate(2026, 3, 5));
    filter.conditions.KUPDataPo = pickerValue(filter.conditions.KUPDataPo, QDate(2026, 3, 5));
    GlWibClick(s, filter, p);
    ASSERT_EQ(readCards(kWorking).size(), 1u);
    EXPECT_EQ(readCards(kWorking)[0].FIOAvtor.text(), QStringLiteral("Найденный"));

    // The print selection window's search by number, from the card's own day.
    PrintFormActivate(s, p, true);
    p.NaDat = pickerValue(p.NaDat, QDate(2026, 3, 6));
    p.NaDat += 0.5;
    p.NomOtk = QStringLiteral("3");
    NomOtkChange(s, p);
    EXPECT_EQ(p.TablRow, 3);
}
