#include "core/texts/DateTexts.h"
#include "core/platform/Clock.h"
#include "core/texts/DayNumber.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace zelmar;

namespace {
double day(int y, int m, int d, int hh = 0, int mm = 0, int ss = 0) {
    return dayNumber(QDate(y, m, d), ((hh * 60 + mm) * 60 + ss) * 1000);
}
} // namespace

TEST(DayNumber, CountsFromTheRegistersEpoch) {
    EXPECT_EQ(dayNumber(QDate(1899, 12, 30)), 0.0);
    EXPECT_EQ(
        dayNumber(QDate::fromString(QStringLiteral("01.01.1901"), QStringLiteral("dd.MM.yyyy"))),
        EmptyDate);
    EXPECT_EQ(day(2001, 1, 1), Millennium);
    EXPECT_EQ(day(2012, 3, 1, 12), 40969.5);
    EXPECT_EQ(dateOf(-1.25), QDate(1899, 12, 29));
    EXPECT_EQ(splitDayNumber(-1.25).msecs, 6 * 3600 * 1000);
    // A text that is no date gives the empty date, not a number out of range.
    EXPECT_EQ(
        dayNumber(QDate::fromString(QStringLiteral("31.02.2012"), QStringLiteral("dd.MM.yyyy"))),
        EmptyDate);
}

TEST(DateTexts, ShortDateDropsTheCentury) {
    EXPECT_EQ(ShortDate(EmptyDate), QStringLiteral("01.01.01"));
    EXPECT_EQ(ShortDate(day(2024, 3, 10, 23, 59)), QStringLiteral("10.03.24"));
    EXPECT_EQ(ShortDate(day(1999, 12, 31)), QStringLiteral("31.12.99"));
}

TEST(DateTexts, DateOrBlank) {
    EXPECT_EQ(ShortDateOrBlank(EmptyDate), QString());
    EXPECT_EQ(ShortDateOrBlank(EmptyDate + 0.7), QString());
    EXPECT_EQ(ShortDateOrBlank(day(2001, 1, 1, 15, 20)), QString());
    EXPECT_EQ(ShortDateOrBlank(day(2001, 1, 2)), QStringLiteral("02.01.01"));
}

TEST(DateTexts, ShortTimeKeepsHoursAndMinutes) {
    EXPECT_EQ(ShortTime(day(2020, 1, 1, 9, 5, 30)), QStringLiteral("09:05"));
    EXPECT_EQ(ShortTime(day(2020, 1, 1, 23, 59, 59)), QStringLiteral("23:59"));
    EXPECT_EQ(DateTimeText(day(2012, 3, 5, 9, 7)), QStringLiteral("05.03.12 09:07"));
}

TEST(DateTexts, UnrepresentableDatesGiveEmptyText) {
    for (double bad : {std::numeric_limits<double>::quiet_NaN(),
                       std::numeric_limits<double>::infinity(), 1e300, -1e7}) {
        EXPECT_EQ(ShortDate(bad), QString());
        EXPECT_EQ(ShortDateOrBlank(bad), QString());
        EXPECT_EQ(ShortTime(bad), QString());
        EXPECT_EQ(DateTimeText(bad), QString());
    }
}

TEST(DateTexts, RangeIncludesBothEnds) {
    EXPECT_TRUE(DateInRange(10.0, 10.0, 20.0));
    EXPECT_TRUE(DateInRange(20.0, 10.0, 20.0));
    EXPECT_FALSE(DateInRange(20.000001, 10.0, 20.0));
}

TEST(Stamps, KeyFromTheClock) {
    FixedClock clock(40969.5);
    EXPECT_EQ(NewStamp(clock), 96950000);
    EXPECT_EQ(StampText(96950000), QStringLiteral("01.03.12 12:00"));
    clock.set(46000.5);
    EXPECT_EQ(NewStamp(clock), 600050000);
    // 0.864-second ticks: the fraction of a tick is dropped.
    clock.set(46000.5 + 0.5 / 100000);
    EXPECT_EQ(NewStamp(clock), 600050000);
    clock.set(46000.5 + 1.0 / 100000);
    EXPECT_EQ(NewStamp(clock), 600050001);
}

TEST(Stamps, DecodingBases) {
    EXPECT_EQ(momentOfStamp(850000000), 38500.0);
    EXPECT_EQ(ShortDate(momentOfStamp(850000000)), QStringLiteral("28.05.05"));
    EXPECT_EQ(momentOfStamp(600050000), 46000.5);
    EXPECT_EQ(StampText(600050000), QStringLiteral("09.12.25 12:00"));
    EXPECT_EQ(StampText(800000000), QStringLiteral("01.06.31 00:00"));
    EXPECT_EQ(StampText(800000001), QStringLiteral("14.01.04 00:00"));
    EXPECT_TRUE(StampText(999999999).contains(QStringLiteral(".36 ")));
}
