#include "core/editor/Navigation.h"
#include "core/editor/CardCommands.h"
#include "core/texts/DayNumber.h"
#include "support/TestSupport.h"

using namespace zelmar;
using namespace zelmar::test;

namespace {

class NavigationTest : public RegisterTest {
protected:
    AppState& startWith(int cards) {
        std::vector<TAnketa> list;
        for (int i = 1; i <= cards; ++i)
            list.push_back(makeCard(i, dayNumber(QDate(2026, 1, i)), 1000 + i));
        writeCards(QStringLiteral("Baza/Anketi.dat"), list);
        return start();
    }
    static QString shown(const AppState& s) { return s.form.GurN; }
};

} // namespace

TEST_F(NavigationTest, EmptyRegisterGoesNowhere) {
    AppState& s = startWith(0);
    SpeedButBegClick(s);
    SpeedButPredClick(s);
    SpeedButNextClick(s);
    SpeedButEndClick(s);
    EXPECT_EQ(s.EditState, CardEditState::New);
    EXPECT_EQ(shown(s), QStringLiteral("0"));
    SpisokMouseDown(s, 1);
    EXPECT_EQ(s.main.pos(), 0);
    EXPECT_EQ(s.CurNo, 0);
}

TEST_F(NavigationTest, OneCard) {
    AppState& s = startWith(1);
    SpeedButEndClick(s);
    EXPECT_EQ(s.NavIndex, 1);
    SpeedButNextClick(s);
    EXPECT_TRUE(s.main.eof());
    SpeedButBegClick(s);
    EXPECT_EQ(shown(s), QStringLiteral("1"));
    EXPECT_EQ(s.main.pos(), 0);
}

TEST_F(NavigationTest, RightAfterStart) {
    AppState& s = startWith(5);
    SpeedButNextClick(s);
    EXPECT_TRUE(s.main.eof());
    SpeedButPredClick(s);
    EXPECT_EQ(shown(s), QStringLiteral("5"));

    AppState& two = startWith(2);
    SpeedButPredClick(two);
    EXPECT_EQ(shown(two), QStringLiteral("1"));
}

TEST_F(NavigationTest, NextAndPreviousFollowTheGrid) {
    AppState& s = startWith(5);
    SpeedButBegClick(s);
    SpeedButNextClick(s);
    SpeedButNextClick(s);
    EXPECT_EQ(shown(s), QStringLiteral("3"));
    SpeedButNextClick(s);
    EXPECT_EQ(shown(s), QStringLiteral("4"));
    EXPECT_EQ(s.SpisokRow, 4);
    SpeedButPredClick(s);
    EXPECT_EQ(shown(s), QStringLiteral("3"));
    EXPECT_EQ(s.SpisokRow, 3);
    EXPECT_EQ(s.form.NNaidena, QStringLiteral("3"));
    SpeedButEndClick(s);
    EXPECT_EQ(shown(s), QStringLiteral("5"));
    EXPECT_EQ(s.SpisokRow, 5);
    EXPECT_EQ(s.NavIndex, 4);
}

TEST_F(NavigationTest, APressOnTheGridLeavesNavIndexAlone) {
    AppState& s = startWith(5);
    SpeedButBegClick(s);
    SpisokMouseDown(s, 3);
    EXPECT_EQ(shown(s), QStringLiteral("3"));
    EXPECT_EQ(s.form.NNaidena, QStringLiteral("3"));
    EXPECT_EQ(s.form.WsegoZ, QStringLiteral("5"));
    SpeedButPredClick(s);
    EXPECT_EQ(shown(s), QStringLiteral("1"));

    SpeedButBegClick(s);
    SpisokMouseDown(s, 5);
    SpeedButPredClick(s);
    EXPECT_EQ(shown(s), QStringLiteral("4"));

    // The heading and below the last row do nothing.
    SpisokMouseDown(s, 0);
    SpisokMouseDown(s, 6);
    EXPECT_EQ(shown(s), QStringLiteral("4"));
}

TEST_F(NavigationTest, SelectingACellMovesNoCard) {
    AppState& s = startWith(5);
    SpeedButBegClick(s);
    s.form.NNaidena.clear();
    SpisokSelectCell(s, 4);
    EXPECT_EQ(shown(s), QStringLiteral("1"));
    EXPECT_EQ(s.form.NNaidena, QStringLiteral("1"));
    EXPECT_EQ(s.form.WsegoZ, QStringLiteral("5"));
}

TEST_F(NavigationTest, NavigationDropsABlankCardInProgress) {
    AppState& s = startWith(3);
    nNewClick(s);
    SpeedButBegClick(s);
    EXPECT_EQ(s.EditState, CardEditState::Korr);
    EXPECT_EQ(shown(s), QStringLiteral("1"));
}
