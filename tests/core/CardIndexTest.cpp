#include "core/editor/MainCardFile.h"
#include "core/texts/DayNumber.h"
#include "support/TestSupport.h"

using namespace zelmar;
using namespace zelmar::test;

namespace {

class CardIndexTest : public RegisterTest {
protected:
    double day(int y, int m, int d) { return dayNumber(QDate(y, m, d)); }
};

} // namespace

TEST_F(CardIndexTest, FindsTheFirstHolderAndFollowsEveryStore) {
    writeCards(QStringLiteral("cards.dat"),
               {makeCard(5, day(2024, 1, 1), 900), makeCard(5, day(2025, 1, 1), 100),
                makeCard(7, day(2024, 2, 1), 900), makeCard(5, day(2024, 3, 1), 300)});
    MainCardFile f;
    f.openForUpdate(file(QStringLiteral("cards.dat")));
    f.reindex();
    EXPECT_EQ(f.findKey(900), 0);
    EXPECT_EQ(f.findKey(100), 1);
    EXPECT_EQ(f.findKey(42), std::nullopt);
    EXPECT_EQ(f.findNumberInYear(5, 2024), 0);
    EXPECT_EQ(f.findNumberInYear(5, 2025), 1);
    EXPECT_EQ(f.findNumberInYear(7, 2025), std::nullopt);

    // Record 0 leaves key 900 and number 5/2024: the next holders take over.
    f.store(0, makeCard(8, day(2023, 6, 1), 555));
    EXPECT_EQ(f.findKey(900), 2);
    EXPECT_EQ(f.findKey(555), 0);
    EXPECT_EQ(f.findNumberInYear(5, 2024), 3);
    EXPECT_EQ(f.findNumberInYear(8, 2023), 0);

    // Appending; then record 3 moves to another year.
    f.store(f.size(), makeCard(5, day(2024, 9, 9), 777));
    EXPECT_EQ(f.findKey(777), 4);
    f.store(3, makeCard(5, day(2026, 3, 1), 300));
    EXPECT_EQ(f.findNumberInYear(5, 2024), 4);
    EXPECT_EQ(f.findNumberInYear(5, 2026), 3);

    // What the index says is what a fresh pass over the file says.
    MainCardFile again;
    again.openForUpdate(file(QStringLiteral("cards.dat")));
    again.reindex();
    for (int key : {900, 555, 100, 300, 777, 1})
        EXPECT_EQ(again.findKey(key), f.findKey(key)) << key;
    for (auto [n, y] : {std::pair{5, 2024}, {5, 2025}, {5, 2026}, {8, 2023}, {7, 2024}})
        EXPECT_EQ(again.findNumberInYear(n, y), f.findNumberInYear(n, y)) << n << "/" << y;
}
