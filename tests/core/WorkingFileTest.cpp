#include "core/editor/WorkingFile.h"
#include "core/editor/MainWindowEvents.h"
#include "core/editor/Navigation.h"
#include "core/texts/DayNumber.h"
#include "support/TestSupport.h"

using namespace zelmar;
using namespace zelmar::test;

namespace {

class WorkingFileTest : public RegisterTest {
protected:
    AppState& startWith(int cards, int unprintedEvery = 0) {
        std::vector<TAnketa> list;
        for (int i = 1; i <= cards; ++i) {
            const int printNet = unprintedEvery && i % unprintedEvery == 0 ? 0 : 1;
            list.push_back(makeCard(i, dayNumber(QDate(2026, 1, i)), 200 + i, printNet));
        }
        writeCards(QStringLiteral("Baza/Anketi.dat"), list);
        return start();
    }
    QString cell(const AppState& s, int row, int column) {
        return s.RabSpis.data(s.RabSpis.index(row, column)).toString();
    }
};

} // namespace

TEST_F(WorkingFileTest, UnprintedCardsAtStartInMainFileOrder) {
    AppState& s = startWith(10, 3);
    EXPECT_EQ(s.working.size(), 3);
    EXPECT_EQ(cell(s, 0, CardGridModel::Key), QStringLiteral("203"));
    EXPECT_EQ(cell(s, 2, CardGridModel::Key), QStringLiteral("209"));
    EXPECT_EQ(cell(s, 2, CardGridModel::Pp), QStringLiteral("3"));
    m_prompts.ok();
    FormActivate(s);
    EXPECT_EQ(m_prompts.last().text, QStringLiteral("3 шт. Они в Рабочей картотеке"));
}

TEST_F(WorkingFileTest, AllPrintedMeansNoWarningAndAnUnchangedTab) {
    AppState& s = startWith(4);
    EXPECT_EQ(s.working.size(), 0);
    FormActivate(s);
    EXPECT_TRUE(m_prompts.log().isEmpty());
    s.RabSpisRow = 0;
    RaTSShow(s);
    EXPECT_EQ(s.RabSpisRow, 0);
    EXPECT_EQ(s.RabSpis.rowCount(), 1);
    EXPECT_EQ(cell(s, 0, CardGridModel::Key), QString());
}

TEST_F(WorkingFileTest, AddingTheSameCardTwiceAndClearing) {
    AppState& s = startWith(4);
    SpisokMouseDown(s, 2);
    nGlRabClick(s);
    nGlRabClick(s);
    EXPECT_EQ(s.form.WRab, QStringLiteral("2"));
    RaTSShow(s);
    EXPECT_EQ(s.RabSpisRow, 1);
    EXPECT_EQ(s.RabSpis.rowCount(), 2);
    EXPECT_EQ(cell(s, 0, CardGridModel::Key), QStringLiteral("202"));
    EXPECT_EQ(cell(s, 1, CardGridModel::Key), QStringLiteral("202"));
    EXPECT_EQ(cell(s, 1, CardGridModel::Pp), QStringLiteral("2"));

    RabZeroClick(s);
    EXPECT_EQ(s.form.WRab, QStringLiteral("0"));
    EXPECT_EQ(s.working.size(), 0);
    EXPECT_EQ(s.RabSpis.rowCount(), 1);
    EXPECT_EQ(cell(s, 0, CardGridModel::GurN), QString());
}

TEST_F(WorkingFileTest, ARowOpensItsCardOfTheMainCardFile) {
    AppState& s = startWith(5, 2);
    RabSpisMouseDown(s, 2); // the card with key 204
    EXPECT_EQ(s.form.Klu4Form1, QStringLiteral("204"));
    EXPECT_EQ(s.form.NNaidena, QStringLiteral("4"));
    EXPECT_EQ(s.form.WsegoZ, QStringLiteral("5"));
    EXPECT_EQ(s.EditState, CardEditState::Korr);
    // The heading and below the last row open nothing.
    RabSpisMouseDown(s, 0);
    RabSpisMouseDown(s, 3);
    EXPECT_EQ(s.form.Klu4Form1, QStringLiteral("204"));

    // A working card whose key left the main card file opens the last card.
    TAnketa gone = makeCard(99, 46000, 999);
    s.working.seek(s.working.size());
    s.working.write(gone);
    RabSpisMouseDown(s, 3);
    EXPECT_EQ(s.form.Klu4Form1, QStringLiteral("205"));
}

TEST_F(WorkingFileTest, OneCardInTheMainCardFileOpensNothing) {
    AppState& s = startWith(1, 1);
    SpeedButBegClick(s);
    s.main.seek(1);
    RabSpisMouseDown(s, 1);
    EXPECT_EQ(s.main.pos(), 0);
    EXPECT_EQ(s.form.GurN, QStringLiteral("1"));
}
