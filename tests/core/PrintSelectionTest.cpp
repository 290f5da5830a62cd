#include "core/reports/PrintSelection.h"
#include "core/platform/CommandBoundary.h"
#include "core/search/FilterWindow.h"
#include "core/texts/DayNumber.h"
#include "support/Failures.h"
#include "support/TestSupport.h"

#include <limits>

using namespace zelmar;
using namespace zelmar::test;

namespace {

double day(int d, int msecs = 0) {
    return dayNumber(QDate(2026, 3, d), msecs);
}

class PrintSelectionTest : public RegisterTest {
protected:
    // Cards numbered by `numbers`, decided on March 1, 2, 3 ... of 2026, keys 100, 101 ...
    AppState& startWith(const std::vector<int>& numbers) {
        std::vector<TAnketa> cards;
        for (size_t i = 0; i < numbers.size(); ++i)
            cards.push_back(makeCard(numbers[i], day(static_cast<int>(i) + 1), 100 + int(i)));
        writeCards(QStringLiteral("Baza/Anketi.dat"), cards);
        AppState& s = start();
        m_print = std::make_unique<PrintSelection>(s);
        PrintFormActivate(s, *m_print, true);
        return s;
    }
    PrintSelection& p() { return *m_print; }
    QString cell(PrintGridModel& grid, int row, int column) {
        return grid.data(grid.index(row, column)).toString();
    }
    std::vector<int> numbers(const QString& file) {
        std::vector<int> list;
        for (const TAnketa& card : readCards(file))
            list.push_back(card.GurN);
        return list;
    }
    std::unique_ptr<PrintSelection> m_print;
};

const QString kMain = QStringLiteral("Baza/Anketi.dat");
const QString kWorking = QStringLiteral("Temp/RabAnket.dat");
const QString kArchive = QStringLiteral("Baza/ArhAnket.dat");

} // namespace

TEST_F(PrintSelectionTest, OpeningShowsTheMainTableAndNothingWhenEmpty) {
    AppState& s = startWith({5, 6, 7});
    EXPECT_EQ(p().KGlav, QStringLiteral("3"));
    EXPECT_EQ(p().KRab, QStringLiteral("0"));
    EXPECT_EQ(p().Tabl.rowCount(), 3);
    EXPECT_EQ(cell(p().Tabl, 1, PrintGridModel::GurN), QStringLiteral("6"));
    EXPECT_EQ(cell(p().Tabl, 1, PrintGridModel::Date), QStringLiteral("02.03.26"));
    EXPECT_EQ(cell(p().Tabl, 1, PrintGridModel::Kniga), QStringLiteral("Есть"));
    EXPECT_EQ(cell(p().Tabl, 1, PrintGridModel::DeloDat), QString()); // the empty date
    EXPECT_EQ(p().card.GurN, 7);
    EXPECT_EQ(s.main.pos(), 0);
    EXPECT_TRUE(N17Click(s));

    m_print.reset();
    writeCards(kMain, {});
    AppState& empty = start();
    m_prompts.ok();
    EXPECT_FALSE(N17Click(empty));
    EXPECT_EQ(m_prompts.last().text, QStringLiteral("Заполните хоть 1 карточку"));
    EXPECT_EQ(m_prompts.last().caption, QStringLiteral("Картотека пуста"));
}

TEST_F(PrintSelectionTest, OneNumberAndDayTwiceBothMarkedTheFirstPicked) {
    std::vector<TAnketa> cards = {makeCard(1, day(1), 100), makeCard(4, day(2, 3600000), 101, 0),
                                  makeCard(4, day(2), 102, 0), makeCard(4, day(3), 103, 0)};
    cards[2].FIOAvtor = QStringLiteral("Второй");
    writeCards(kMain, cards);
    AppState& s = start();
    PrintSelection print(s);
    PrintFormActivate(s, print, true);
    TablMouseDown(s, print, PrintSelection::Main, 3, PrintGridModel::Zayavitel);
    EXPECT_EQ(print.card.Klu4Form1, 101); // the first card of number 4 on March 2
    EXPECT_EQ(print.GlavN, QStringLiteral("4"));
    EXPECT_EQ(print.Sortir, QStringLiteral("Заявитель"));
    EXPECT_EQ(s.printSelectedGurN, 4);
    EXPECT_EQ(print.EsNo, QStringLiteral("Нет"));
    EstNet(s, print, 1);
    const std::vector<TAnketa> after = readCards(kMain);
    EXPECT_EQ(after[1].PrintNet, 1);
    EXPECT_EQ(after[2].PrintNet, 1);
    EXPECT_EQ(after[3].PrintNet, 0); // another day
    EXPECT_EQ(cell(print.Tabl, 1, PrintGridModel::Kniga), QStringLiteral("Есть"));
    EXPECT_EQ(print.EsNo, QStringLiteral("Есть"));

    // The heading and below the last row pick nothing.
    TablMouseDown(s, print, PrintSelection::Main, 0, 2);
    TablMouseDown(s, print, PrintSelection::Main, 5, 2);
    EXPECT_EQ(print.card.Klu4Form1, 101);
    // "Показать эту карточку": the card with the panel's number and stored date.
    KartMatClick(s, print);
    EXPECT_TRUE(print.close);
    EXPECT_EQ(s.form.Klu4Form1, QStringLiteral("101"));
    EXPECT_EQ(s.SpisokRow, 2);
    EXPECT_EQ(s.form.NNaidena, QStringLiteral("2"));
}

TEST_F(PrintSelectionTest, NumberSearchWithinTheDateRange) {
    AppState& s = startWith({12, 3, 120, 1234, 12});
    // The range a window opens with reaches this year's cards.
    p().NomOtk = QStringLiteral("3");
    NomOtkChange(s, p());
    EXPECT_EQ(p().TablRow, 2);
    p().NaDat = day(3);
    p().KoDat = day(31);
    p().TablRow = 2;
    for (const auto& [typed, row] : std::vector<std::pair<const char*, qint64>>{
             {"12", 3}, {"123", 4}, {" 12", 5}, {"", 5}, {"  ", 5}, {"xy", 5}, {"9", 5}}) {
        p().NomOtk = QString::fromLatin1(typed);
        NomOtkChange(s, p());
        EXPECT_EQ(p().TablRow, row) << typed;
    }
}

TEST_F(PrintSelectionTest, SortingIsByTextAndKeepsEachRowsCard) {
    AppState& s = startWith({2, 10, 1, 10});
    p().sortColumn = PrintGridModel::GurN;
    SortirClick(s, p());
    EXPECT_EQ(cell(p().Tabl, 0, PrintGridModel::GurN), QStringLiteral("1"));
    EXPECT_EQ(cell(p().Tabl, 1, PrintGridModel::GurN), QStringLiteral("10"));
    EXPECT_EQ(cell(p().Tabl, 2, PrintGridModel::GurN), QStringLiteral("10"));
    EXPECT_EQ(cell(p().Tabl, 3, PrintGridModel::GurN), QStringLiteral("2"));
    // Equal texts keep file order.
    EXPECT_EQ(p().Tabl.recordAt(1), 1);
    EXPECT_EQ(p().Tabl.recordAt(2), 3);
    EXPECT_EQ(numbers(kMain), (std::vector<int>{2, 10, 1, 10}));
    GlTabl(s, p());
    EXPECT_EQ(cell(p().Tabl, 0, PrintGridModel::GurN), QStringLiteral("2"));
}

TEST_F(PrintSelectionTest, WorkingTable) {
    AppState& s = startWith({1, 2, 3, 4});
    // An empty working card file: the message, and the main table stays.
    m_prompts.ok();
    RabStrShow(s, p());
    EXPECT_EQ(m_prompts.last().text, QStringLiteral("Измените условия выбора"));
    EXPECT_EQ(m_prompts.last().caption, QStringLiteral("Нет таких карточек"));
    EXPECT_EQ(p().showTab, PrintSelection::Main);

    // One card twice, then three others.
    for (qint64 row : {2, 2, 4, 1, 3}) {
        TablMouseDown(s, p(), PrintSelection::Main, row, 0);
        PlusRabClick(s, p());
    }
    EXPECT_EQ(numbers(kWorking), (std::vector<int>{2, 2, 4, 1, 3}));
    EXPECT_EQ(p().KRab, QStringLiteral("5"));
    RabStrShow(s, p());
    EXPECT_EQ(p().activeTable, PrintSelection::Working);
    PlusRabClick(s, p()); // only from the main table
    EXPECT_EQ(s.working.size(), 5);

    // Sorted by number, the third row shows the card 2 of record 1; deleting removes it.
    p().sortColumn = PrintGridModel::GurN;
    SortirClick(s, p());
    p().RabTabRow = 3;
    EXPECT_EQ(cell(p().RabTab, 2, PrintGridModel::GurN), QStringLiteral("2"));
    DelRabClick(s, p());
    EXPECT_EQ(numbers(kWorking), (std::vector<int>{2, 4, 1, 3}));
    EXPECT_EQ(cell(p().RabTab, 2, PrintGridModel::GurN), QStringLiteral("3"));
    EXPECT_EQ(p().KRab, QStringLiteral("4"));

    // "Нет" on a working row: both files.
    TablMouseDown(s, p(), PrintSelection::Working, 1, 0); // card 1
    RabEstNet(s, p(), 0);
    EXPECT_EQ(readCards(kMain)[0].PrintNet, 0);
    EXPECT_EQ(readCards(kWorking)[2].PrintNet, 0);
    EXPECT_EQ(readCards(kMain)[1].PrintNet, 1);

    // Deleting the last row, then down to the only one.
    GlTabl(s, p());
    RabStrShow(s, p());
    p().RabTabRow = 4;
    DelRabClick(s, p());
    EXPECT_EQ(numbers(kWorking), (std::vector<int>{2, 4, 1}));
    for (int left = 3; left > 0; --left)
        DelRabClick(s, p());
    EXPECT_EQ(s.working.size(), 0);
    EXPECT_EQ(p().activeTable, PrintSelection::Main);
    DelRabClick(s, p());

    PlusRabClick(s, p());
    RabClearClick(s, p());
    EXPECT_EQ(s.working.size(), 0);
    EXPECT_EQ(p().KRab, QStringLiteral("0"));
}

TEST_F(PrintSelectionTest, AWorkingPickFindsItsCardWhateverTheTimeOfDay) {
    AppState& s = startWith({1, 2, 3});
    writeCards(kWorking, {makeCard(7, day(5, 3600000), 1), makeCard(8, day(6), 2)});
    s.working.openForUpdate(file(kWorking));
    RabStrShow(s, p());
    TablMouseDown(s, p(), PrintSelection::Working, 2, 0);
    EXPECT_EQ(p().GurN, QStringLiteral("8"));
    TablMouseDown(s, p(), PrintSelection::Working, 1, 0);
    EXPECT_EQ(p().RabN, QStringLiteral("7"));
    // The card of the row, though stored at 01:00 of its day (not the file's last card).
    EXPECT_EQ(p().GurN, QStringLiteral("7"));
}

TEST_F(PrintSelectionTest, FilterFromTheMainFileAndTheArchive) {
    m_clock.set(day(10, 15 * 3600000));
    std::vector<TAnketa> cards = {makeCard(1, day(10, 3600000), 1, 1), makeCard(2, day(10), 2, 1),
                                  makeCard(3, day(9), 3, 1)};
    cards[0].KUPData = day(8, (11 * 3600 + 38 * 60 + 3) * 1000);
    cards[1].KUPData = EmptyDate; // not selected with the default dates
    cards[2].KUPData = day(10, (11 * 3600 + 38 * 60 + 3) * 1000);
    writeCards(kMain, cards);
    writeCards(kArchive, {makeCard(5, day(1), 5, 1), makeCard(6, day(2), 6, 1)});
    AppState& s = start();
    PrintSelection print(s);
    PrintFormActivate(s, print, true);
    FilterForm f;
    FiltrFormActivate(s, f);
    EXPECT_EQ(momentOf(f.conditions.KUPDataPo), QDateTime(QDate(2026, 3, 10), QTime(11, 38, 3)));
    EXPECT_EQ(momentOf(f.conditions.KUPDataN), QDateTime(QDate(2005, 11, 1), QTime(0, 0, 1)));

    // "Убрать" the printed flag: in the main card file and in the working card file.
    f.PRNPost = FilterForm::Remove;
    GlWibClick(s, f, print);
    EXPECT_EQ(numbers(kWorking), (std::vector<int>{1, 3}));
    EXPECT_EQ(readCards(kMain)[0].PrintNet, 0);
    EXPECT_EQ(readCards(kMain)[1].PrintNet, 1);
    EXPECT_EQ(readCards(kWorking)[1].PrintNet, 0);
    EXPECT_EQ(print.KRab, QStringLiteral("2"));
    EXPECT_EQ(print.activeTable, PrintSelection::Working);
    EXPECT_EQ(print.showTab, PrintSelection::Working);

    // "Поставить" the deletion mark on archive cards: the archive only.
    const QByteArray mainBefore = readBytes(kMain);
    f.PRNPost = FilterForm::Leave;
    f.udRG = FilterForm::Set;
    f.conditions.KUPDataN = 0;
    f.conditions.NaSE = 6;
    ArhWibClick(s, f, print);
    EXPECT_EQ(numbers(kWorking), (std::vector<int>{6}));
    EXPECT_EQ(readCards(kWorking)[0].Otmetka.text(), QStringLiteral("уд"));
    EXPECT_EQ(readCards(kArchive)[1].Otmetka.text(), QStringLiteral("уд"));
    EXPECT_EQ(readCards(kArchive)[0].Otmetka.text(), QString());
    EXPECT_EQ(readBytes(kMain), mainBefore);

    // Nothing found: the message, an empty working card file.
    f.conditions.NaSE = 100;
    m_prompts.ok();
    ArhWibClick(s, f, print);
    EXPECT_EQ(m_prompts.last().text, QStringLiteral("Измените условия выбора"));
    EXPECT_EQ(s.working.size(), 0);
    EXPECT_EQ(print.activeTable, PrintSelection::Main);
}

TEST_F(PrintSelectionTest, ClearingMarksByPosition) {
    std::vector<TAnketa> cards;
    for (int i = 1; i <= 10; ++i) {
        cards.push_back(makeCard(100 - i, day(i), i));
        cards.back().Otmetka = QStringLiteral("уд");
    }
    writeCards(kMain, cards);
    AppState& s = start();
    PrintSelection print(s);
    FilterForm f;
    FiltrFormActivate(s, f);
    f.conditions.NaSE = 3;
    f.conditions.KoSE = 5;
    UdDelClick(s, f, print);
    const std::vector<TAnketa> after = readCards(kMain);
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(after[static_cast<size_t>(i)].Otmetka.text().isEmpty(), i >= 2 && i <= 4) << i;
    EXPECT_EQ(s.Spisok.data(s.Spisok.index(3, CardGridModel::Primechanie)).toString(), QString());

    f.conditions.NaSE = 6;
    f.conditions.KoSE = 2;
    m_prompts.ok();
    UdDelClick(s, f, print);
    EXPECT_EQ(readCards(kMain)[5].Otmetka.text(), QStringLiteral("уд"));
}

TEST_F(PrintSelectionTest, ATornArchiveShowsItsWholeCards) {
    writeCards(kMain, {makeCard(1, day(1), 1)});
    writeCards(kArchive, {makeCard(5, day(1), 5), makeCard(6, day(2), 6)});
    writeBytes(kArchive, readBytes(kArchive) + QByteArray(100, 'x'));
    m_prompts.ok(); // the start tells of the torn card
    AppState& s = start();
    PrintSelection print(s);
    ArhStrShow(s, print);
    EXPECT_EQ(print.KArh, QStringLiteral("2"));
    EXPECT_EQ(print.ArhTab.rowCount(), 2);
    FilterForm f;
    FiltrFormActivate(s, f);
    f.conditions.KUPDataN = 0;
    ArhWibClick(s, f, print);
    EXPECT_EQ(numbers(kWorking), (std::vector<int>{5, 6}));
}

TEST_F(PrintSelectionTest, TheIndexOfNumbersAndDaysFollowsEveryWrite) {
    writeCards(QStringLiteral("cards.dat"),
               {makeCard(4, day(2, 3600000), 1), makeCard(4, day(2), 2), makeCard(4, day(3), 3)});
    MainCardFile f;
    f.openForUpdate(file(QStringLiteral("cards.dat")));
    f.reindex();
    const auto records = [&f](int number, double d) {
        const auto found = f.findNumberAndDay(MainCardFile::numberAndDay(number, d));
        return std::vector<std::int32_t>(found.begin(), found.end());
    };
    EXPECT_EQ(records(4, day(2, 7200000)), (std::vector<std::int32_t>{0, 1}));
    TAnketa moved = makeCard(4, day(3), 1);
    f.put(0, &moved);
    f.store(3, makeCard(4, day(2), 4));
    EXPECT_EQ(records(4, day(2)), (std::vector<std::int32_t>{1, 3}));
    EXPECT_EQ(records(4, day(3)), (std::vector<std::int32_t>{0, 2}));
    EXPECT_TRUE(records(4, std::numeric_limits<double>::quiet_NaN()).empty());
    MainCardFile again;
    again.openForUpdate(file(QStringLiteral("cards.dat")));
    again.reindex();
    EXPECT_EQ(again.numbersAndDays(), f.numbersAndDays());
}

TEST_F(PrintSelectionTest, AFailedDeletionLeavesTheWorkingFileAsItWas) {
    AppState& s = startWith({1, 2, 3});
    for (qint64 row : {1, 2, 3}) {
        TablMouseDown(s, p(), PrintSelection::Main, row, 0);
        PlusRabClick(s, p());
    }
    RabStrShow(s, p());
    const QByteArray before = readBytes(kWorking);
    p().RabTabRow = 1;
    m_prompts.ok();
    withFileSizeLimit(TAnketa::Size,
                      [&] { EXPECT_FALSE(runCommand(m_prompts, [&] { DelRabClick(s, p()); })); });
    EXPECT_EQ(readBytes(kWorking), before);
    EXPECT_EQ(p().RabTab.rowCount(), 3);
    DelRabClick(s, p());
    EXPECT_EQ(numbers(kWorking), (std::vector<int>{2, 3}));
}
