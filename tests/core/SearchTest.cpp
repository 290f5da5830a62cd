#include "core/platform/CommandBoundary.h"
#include "core/search/CardConditions.h"
#include "core/search/SearchWindow.h"
#include "core/search/TextFold.h"
#include "core/store/Cp1251.h"
#include "core/texts/DayNumber.h"
#include "support/Failures.h"
#include "support/TestSupport.h"

using namespace zelmar;
using namespace zelmar::test;

namespace {

double day(int y, int m, int d, int msecs = 0) {
    return dayNumber(QDate(y, m, d), msecs);
}

} // namespace

TEST(TextFold, LowerCaseTableOfWindows1251) {
    // Upper -> lower byte, written out from the code page chart.
    const std::vector<std::pair<int, int>> pairs = {
        {0x41, 0x61}, {0x4D, 0x6D}, {0x5A, 0x7A},                             // A M Z
        {0xC0, 0xE0}, {0xC1, 0xE1}, {0xC5, 0xE5}, {0xC9, 0xE9}, {0xCF, 0xEF}, // А Б Е Й П
        {0xD0, 0xF0}, {0xD8, 0xF8}, {0xDA, 0xFA}, {0xDF, 0xFF},               // Р Ш Ъ Я
        {0xA8, 0xB8},                                                         // Ё
        {0x80, 0x90}, {0x81, 0x83}, {0x8A, 0x9A}, {0x8C, 0x9C}, {0x8D, 0x9D}, // Ђ Ѓ Љ Њ Ќ
        {0x8E, 0x9E}, {0x8F, 0x9F}, {0xA1, 0xA2}, {0xA3, 0xBC}, {0xA5, 0xB4}, // Ћ Џ Ў Ј Ґ
        {0xAA, 0xBA}, {0xAF, 0xBF}, {0xB2, 0xB3}, {0xBD, 0xBE},               // Є Ї І Ѕ
    };
    std::array<int, 256> expected{};
    for (int byte = 0; byte < 256; ++byte)
        expected[static_cast<size_t>(byte)] = byte;
    for (int byte = 0x41; byte <= 0x5A; ++byte)
        expected[static_cast<size_t>(byte)] = byte + 0x20;
    for (int byte = 0xC0; byte <= 0xDF; ++byte)
        expected[static_cast<size_t>(byte)] = byte + 0x20;
    for (const auto& [upper, lower] : pairs)
        expected[static_cast<size_t>(upper)] = lower;
    for (int byte = 0; byte < 256; ++byte)
        EXPECT_EQ(kCp1251Lower[static_cast<size_t>(byte)], expected[static_cast<size_t>(byte)])
            << "byte " << std::hex << byte;
    // The same as Unicode's lower case of the character each byte stands for.
    for (int byte = 0; byte < 256; ++byte) {
        const char in = static_cast<char>(byte);
        const char out = static_cast<char>(kCp1251Lower[static_cast<size_t>(byte)]);
        EXPECT_EQ(fromCp1251(&out, 1), fromCp1251(&in, 1).toLower()) << "byte " << std::hex << byte;
    }
}

TEST(TextFold, ConditionsAreTrimmedAndFolded) {
    EXPECT_EQ(foldedCondition(QStringLiteral("\t Иванов ЁЖ Ab\r\n")),
              QByteArray("\xE8\xE2\xE0\xED\xEE\xE2 \xB8\xE6 ab"));
    EXPECT_TRUE(foldedCondition(QStringLiteral(" \x01 ")).isEmpty());
}

TEST(CardTest, EachConditionAgainstACard) {
    TAnketa card =
        makeCard(12, day(2026, 3, 10, 15 * 3600000), 1, 0, QStringLiteral("Иванов И.И."));
    card.KUPN = QStringLiteral(" 12 ");
    card.KemWines = QStringLiteral("Ёлкин П.П.");
    card.Fabula = QStringLiteral("По факту кражи Bicycle");
    card.KUPData = EmptyDate;

    CardConditions base;
    base.NaDat = day(2005, 11, 1);
    base.KoDat = day(2027, 1, 7, pickerTime::kEndOfDay);
    base.KUPDataN = day(1900, 1, 1, pickerTime::kEditor);
    base.KUPDataPo = day(2027, 1, 7, pickerTime::kEditor);
    struct Case {
        const char* what;
        std::function<void(CardConditions&)> set;
        bool passes;
    };
    const std::vector<Case> cases = {
        {"defaults", [](CardConditions&) {}, true},
        {"applicant with blanks",
         [](CardConditions& c) { c.Zayavitel = QStringLiteral(" иванов "); }, true},
        {"applicant substring", [](CardConditions& c) { c.Zayavitel = QStringLiteral("ВАНОВ"); },
         true},
        {"other applicant", [](CardConditions& c) { c.Zayavitel = QStringLiteral("петров"); },
         false},
        {"only blanks", [](CardConditions& c) { c.Zayavitel = QStringLiteral("   "); }, true},
        {"longer than the field",
         [](CardConditions& c) { c.KlSlovo = QString(300, QLatin1Char('a')); }, false},
        {"Ё folds to ё", [](CardConditions& c) { c.KemWines = QStringLiteral("ёлкин"); }, true},
        {"е is not ё", [](CardConditions& c) { c.KemWines = QStringLiteral("елкин"); }, false},
        {"Latin", [](CardConditions& c) { c.KlSlovo = QStringLiteral("BICYCLE"); }, true},
        {"KUPN equal when trimmed", [](CardConditions& c) { c.KUPN = QStringLiteral("12"); }, true},
        {"KUPN prefix", [](CardConditions& c) { c.KUPN = QStringLiteral("1"); }, false},
        {"number below range", [](CardConditions& c) { c.NaSE = 13; }, false},
        {"number at the upper bound", [](CardConditions& c) { c.KoSE = 12; }, true},
        {"printed wanted", [](CardConditions& c) { c.PrintNet = 1; }, false},
        {"unprinted wanted", [](CardConditions& c) { c.PrintNet = 0; }, true},
        // Ranges a clerk picks name whole days, whatever time of day card and pickers carry.
        {"decision later in the day of the upper bound",
         [](CardConditions& c) { c.KoDat = day(2026, 3, 10); }, true},
        {"decision earlier in the day of the lower bound",
         [](CardConditions& c) { c.NaDat = day(2026, 3, 10, pickerTime::kEndOfDay); }, true},
        {"decision the day after the upper bound",
         [](CardConditions& c) { c.KoDat = day(2026, 3, 9, pickerTime::kEndOfDay); }, false},
        {"register entry on the lower bound's day",
         [](CardConditions& c) { c.KUPDataN = day(1901, 1, 1, pickerTime::kOneSecond); }, true},
        {"letter no card can hold", [](CardConditions& c) { c.Zayavitel = QStringLiteral("ā"); },
         false},
        {"register entry from 01.01.1902", [](CardConditions& c) { c.KUPDataN = day(1902, 1, 1); },
         false},
    };
    for (const Case& test : cases) {
        CardConditions c = base;
        test.set(c);
        EXPECT_EQ(CardTest(c)(card), test.passes) << test.what;
    }

    // A letter the code page lacks does not stand for the '?' a card may hold.
    CardConditions c = base;
    card.FIOAvtor = QStringLiteral("Кто? Иванов");
    c.Zayavitel = QStringLiteral("?");
    EXPECT_TRUE(CardTest(c)(card));
    c.Zayavitel = QStringLiteral("ā");
    EXPECT_FALSE(CardTest(c)(card));
    c = base;

    // KUPN 12 finds neither 123 nor 12a.
    c.KUPN = QStringLiteral("12");
    for (const char* other : {"123", "12a", "112"}) {
        card.KUPN = QString::fromLatin1(other);
        EXPECT_FALSE(CardTest(c)(card)) << other;
    }
    // The default dates: 31.10.2005 is out, 01.11.2005 in; a register number 0 is out.
    card.KUPN = QStringLiteral("12");
    card.DateOtkaza = day(2005, 10, 31);
    EXPECT_FALSE(CardTest(base)(card));
    card.DateOtkaza = day(2005, 11, 1);
    EXPECT_TRUE(CardTest(base)(card));
    card.GurN = 0;
    EXPECT_FALSE(CardTest(base)(card));
}

namespace {

class SearchTest : public RegisterTest {
protected:
    // Ten cards; those numbered in `ivanov` have the applicant Иванов.
    AppState& startWith(std::initializer_list<int> ivanov, int cards = 10) {
        std::vector<TAnketa> list;
        for (int i = 1; i <= cards; ++i) {
            const bool match = std::find(ivanov.begin(), ivanov.end(), i) != ivanov.end();
            list.push_back(
                makeCard(i, day(2026, 1, i), 500 + i, 1,
                         match ? QStringLiteral("Иванов И.И.") : QStringLiteral("Петров")));
        }
        writeCards(QStringLiteral("Baza/Anketi.dat"), list);
        AppState& s = start();
        PoiskFormActivate(s, m_form);
        m_form.conditions.Zayavitel = QStringLiteral("иванов");
        return s;
    }
    std::vector<int> workingNumbers() {
        std::vector<int> numbers;
        for (const TAnketa& card : readCards(QStringLiteral("Temp/RabAnket.dat")))
            numbers.push_back(card.GurN);
        return numbers;
    }
    QString cell(AppState& s, int row, int column) {
        return s.RabSpis.data(s.RabSpis.index(row, column)).toString();
    }
    void expectSearchOver(const QString& count) {
        EXPECT_EQ(m_prompts.last().caption, QStringLiteral("Поиск окончен"));
        EXPECT_EQ(m_prompts.last().text, count + QStringLiteral(" шт. в Рабочей картотеке"));
    }
    SearchForm m_form;
};

} // namespace

TEST_F(SearchTest, OpeningEmptiesTheWorkingFileAndSetsTheDefaults) {
    std::vector<TAnketa> cards = {makeCard(1, day(2026, 1, 1), 1, 0)};
    writeCards(QStringLiteral("Baza/Anketi.dat"), cards);
    AppState& s = start();
    ASSERT_EQ(s.working.size(), 1);
    m_form.conditions.NaSE = 5;
    m_form.conditions.KlSlovo = QStringLiteral("x");
    PoiskFormActivate(s, m_form);
    EXPECT_EQ(s.working.size(), 0);
    EXPECT_EQ(s.main.pos(), 0);
    const CardConditions& c = m_form.conditions;
    EXPECT_EQ(c.NaSE, 5);
    EXPECT_EQ(c.KoSE, 9999);
    EXPECT_EQ(c.PrintNet, 2);
    EXPECT_TRUE(c.KlSlovo.isEmpty());
    EXPECT_EQ(momentOf(c.NaDat), QDateTime(QDate(2005, 11, 1), QTime(0, 0)));
    EXPECT_EQ(momentOf(c.KoDat), QDateTime(QDate(2027, 1, 7), QTime(23, 59, 59)));
    EXPECT_EQ(momentOf(c.KUPDataN), QDateTime(QDate(1900, 1, 1), QTime(11, 38, 3)));
    EXPECT_EQ(momentOf(c.KUPDataPo), QDateTime(QDate(2027, 1, 7), QTime(11, 38, 3)));
    EXPECT_EQ(m_form.lists.ProkOtmetka,
              QStringList({QStringLiteral("Отменено"), QStringLiteral("Проверено")}));
    EXPECT_EQ(m_form.PosNai, QStringLiteral("0"));
}

TEST_F(SearchTest, ForwardStepsThenTheEndMessage) {
    AppState& s = startWith({2, 5, 9});
    for (const char* expected : {"2", "5", "9"}) {
        sNextClick(s, m_form);
        EXPECT_EQ(m_form.PosNai, QString::fromLatin1(expected));
        EXPECT_EQ(s.form.GurN, QString::fromLatin1(expected));
        EXPECT_EQ(s.form.NNaidena, QString::fromLatin1(expected));
        EXPECT_TRUE(m_form.showWorkingTab);
    }
    EXPECT_EQ(workingNumbers(), (std::vector<int>{2, 5, 9}));
    EXPECT_EQ(cell(s, 2, CardGridModel::Pp), QStringLiteral("3"));
    EXPECT_EQ(cell(s, 2, CardGridModel::GurN), QStringLiteral("9"));
    EXPECT_EQ(s.form.WRab, QStringLiteral("3"));
    EXPECT_EQ(m_form.nKRab, QStringLiteral("3"));
    EXPECT_TRUE(m_prompts.log().isEmpty());
    m_prompts.ok().ok();
    sNextClick(s, m_form);
    expectSearchOver(QStringLiteral("3"));
    sNextClick(s, m_form); // again: nothing read, the same message
    expectSearchOver(QStringLiteral("3"));
    EXPECT_EQ(m_form.PosNai, QStringLiteral("9"));
}

TEST_F(SearchTest, FindAllAfterStepsStartsTheWorkingFileAfresh) {
    AppState& s = startWith({3, 7});
    sNextClick(s, m_form);
    sNextClick(s, m_form);
    const QString shown = s.form.GurN;
    WsehSrazuClick(s, m_form);
    EXPECT_EQ(workingNumbers(), (std::vector<int>{3, 7}));
    EXPECT_EQ(cell(s, 1, CardGridModel::Pp), QStringLiteral("2"));
    EXPECT_EQ(s.form.WRab, QStringLiteral("2"));
    EXPECT_EQ(m_form.nKRab, QStringLiteral("2"));
    EXPECT_EQ(s.form.GurN, shown); // the editor is not redrawn
    EXPECT_EQ(s.card.GurN, 7);     // and the card buffer still holds the card it shows
    EXPECT_TRUE(s.main.eof());

    m_form.conditions.Zayavitel = QStringLiteral("сидоров");
    WsehSrazuClick(s, m_form);
    EXPECT_EQ(s.working.size(), 0);
    EXPECT_EQ(m_form.nKRab, QStringLiteral("0"));
}

TEST_F(SearchTest, BackwardSteps) {
    AppState& s = startWith({4, 10});
    // Before any "С последней начать" the backward step looks at the first card only.
    m_prompts.ok();
    sPredClick(s, m_form);
    expectSearchOver(QStringLiteral("0"));

    m_form.conditions.Zayavitel.clear();
    m_form.conditions.NaSE = 4;
    m_form.conditions.KoSE = 4;
    sEndClick(s, m_form);
    EXPECT_EQ(s.form.GurN, QStringLiteral("10"));
    sPredClick(s, m_form);
    EXPECT_EQ(m_form.PosNai, QStringLiteral("4"));
    EXPECT_EQ(s.form.GurN, QStringLiteral("4"));
    EXPECT_EQ(s.form.NNaidena, QStringLiteral("10")); // the position box is not moved
    m_prompts.ok();
    sPredClick(s, m_form);
    expectSearchOver(QStringLiteral("1"));
    EXPECT_EQ(m_form.SearchBackPos, -1);

    // After "С последней начать" the forward step looks at the last card only.
    m_form.conditions.NaSE = 1;
    m_form.conditions.KoSE = 9999;
    m_form.conditions.Zayavitel = QStringLiteral("иванов");
    sEndClick(s, m_form);
    m_prompts.ok();
    sNextClick(s, m_form);
    EXPECT_EQ(m_form.PosNai, QStringLiteral("10"));
    expectSearchOver(QStringLiteral("1"));
}

TEST_F(SearchTest, FromTheFirstCardAndClearing) {
    AppState& s = startWith({6});
    sNextClick(s, m_form);
    sBeginClick(s, m_form);
    EXPECT_EQ(s.working.size(), 0);
    EXPECT_EQ(s.form.GurN, QStringLiteral("1"));
    EXPECT_EQ(s.main.pos(), 0);
    EXPECT_EQ(m_form.PosNai, QStringLiteral("0"));
    sNextClick(s, m_form);
    EXPECT_EQ(m_form.PosNai, QStringLiteral("6"));
    RabZeroClick(s, m_form);
    EXPECT_EQ(s.working.size(), 0);
    EXPECT_TRUE(s.form.WRab.isEmpty());
    EXPECT_TRUE(m_form.nKRab.isEmpty());
    EXPECT_EQ(m_form.SearchCount, 0);
    EXPECT_EQ(s.main.pos(), 0);
}

TEST_F(SearchTest, ShowingTheNumberedCard) {
    AppState& s = startWith({});
    const struct {
        const char* typed;
        int shown;
        qint64 row;
    } cases[] = {{"3", 3, 3}, {"99", 10, 10}, {" 7", 7, 7}};
    for (const auto& c : cases) {
        m_form.close = false;
        m_form.PosNai = QString::fromLatin1(c.typed);
        PoslPokClick(s, m_form);
        EXPECT_EQ(s.form.GurN, QString::number(c.shown)) << c.typed;
        EXPECT_EQ(s.SpisokRow, c.row) << c.typed;
        EXPECT_TRUE(m_form.close);
    }
    // 0 shows the card at the position.
    s.main.seek(4);
    m_form.PosNai = QStringLiteral("0");
    PoslPokClick(s, m_form);
    EXPECT_EQ(s.form.GurN, QStringLiteral("5"));
    // Not a number: the conversion message and the window stays.
    m_form.close = false;
    m_form.PosNai = QStringLiteral("пять");
    m_prompts.ok();
    EXPECT_FALSE(runCommand(m_prompts, [&] { PoslPokClick(s, m_form); }));
    EXPECT_EQ(m_prompts.last().text, QStringLiteral("'пять' is not a valid integer value"));
    EXPECT_FALSE(m_form.close);
}

TEST_F(SearchTest, ATornMainCardFileIsSearchedUpToItsLastWholeCard) {
    std::vector<TAnketa> list;
    for (int i = 1; i <= 3; ++i)
        list.push_back(makeCard(i, day(2026, 1, i), 600 + i, 1, QStringLiteral("Иванов")));
    writeCards(QStringLiteral("Baza/Anketi.dat"), list);
    writeBytes(QStringLiteral("Baza/Anketi.dat"),
               readBytes(QStringLiteral("Baza/Anketi.dat")) + QByteArray(500, 'x'));
    m_prompts.ok(); // the start tells of the torn card, once
    AppState& s = start();
    PoiskFormActivate(s, m_form);
    WsehSrazuClick(s, m_form);
    EXPECT_EQ(workingNumbers(), (std::vector<int>{1, 2, 3}));
    sBeginClick(s, m_form);
    sNextClick(s, m_form);
    sNextClick(s, m_form);
    m_prompts.ok();
    sNextClick(s, m_form);
    EXPECT_EQ(m_form.PosNai, QStringLiteral("3"));
    expectSearchOver(QStringLiteral("3"));
    EXPECT_EQ(m_prompts.log().size(), 2);
}

TEST_F(SearchTest, AFullDiskKeepsWholeCardsAndCountsWhatWasKept) {
    AppState& s = startWith({1, 2, 3, 4, 5, 6, 7, 8, 9, 10});
    m_prompts.ok();
    withFileSizeLimit(5 * TAnketa::Size + 600, [&] {
        EXPECT_FALSE(runCommand(m_prompts, [&] { WsehSrazuClick(s, m_form); }));
    });
    EXPECT_EQ(m_prompts.last().text.left(9), QStringLiteral("Disk full"));
    // A failed write takes back the cards it added: the file holds whole cards only, and the
    // counters say how many.
    const qsizetype bytes = readBytes(QStringLiteral("Temp/RabAnket.dat")).size();
    EXPECT_EQ(bytes % TAnketa::Size, 0);
    const QString kept = QString::number(bytes / TAnketa::Size);
    EXPECT_EQ(m_form.nKRab, kept);
    EXPECT_EQ(s.form.WRab, kept);
    // The next search works.
    m_form.conditions.KoSE = 2;
    WsehSrazuClick(s, m_form);
    EXPECT_EQ(workingNumbers(), (std::vector<int>{1, 2}));
}
