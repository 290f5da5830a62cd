#include "core/texts/DayNumber.h"

#include <cmath>

namespace zelmar {

namespace {
constexpr qint64 kJulianDayOfZero = 2415019; // 30.12.1899
constexpr qint64 kMsecsPerDay = 86400000;
} // namespace

bool isRepresentable(double day) {
    return std::isfinite(day) && day >= MinDayNumber && day < MaxDayNumber;
}

double dayNumber(const QDate& date) {
    // A date that is no date (an unreadable text) stands for the empty date.
    if (!date.isValid())
        return EmptyDate;
    return static_cast<double>(date.toJulianDay() - kJulianDayOfZero);
}

double dayNumber(const QDate& date, int msecsOfDay) {
    return dayNumber(date) + static_cast<double>(msecsOfDay) / kMsecsPerDay;
}

double dayNumber(const QDateTime& moment) {
    return dayNumber(moment.date(), moment.time().msecsSinceStartOfDay());
}

DayParts splitDayNumber(double day) {
    if (!isRepresentable(day))
        return {};
    // Before 30.12.1899 the whole part counts back and the fraction is still the time of day.
    const double whole = std::trunc(day);
    qint64 msecs = std::llround(std::fabs(day - whole) * kMsecsPerDay);
    qint64 days = static_cast<qint64>(whole);
    if (msecs >= kMsecsPerDay) {
        msecs -= kMsecsPerDay;
        ++days;
    }
    return {QDate::fromJulianDay(days + kJulianDayOfZero), static_cast<int>(msecs)};
}

QDate dateOf(double day) {
    return splitDayNumber(day).date;
}

int yearOfDay(double day) {
    if (!isRepresentable(day))
        return 0;
    // Cards come mostly in date order: remember the bounds of the last year met.
    thread_local qint64 firstDay = 1;
    thread_local qint64 lastDay = 0;
    thread_local int year = 0;
    const auto whole = static_cast<qint64>(std::trunc(day));
    if (whole < firstDay || whole > lastDay) {
        year = dateOf(static_cast<double>(whole)).year();
        firstDay = static_cast<qint64>(dayNumber(QDate(year, 1, 1)));
        lastDay = static_cast<qint64>(dayNumber(QDate(year, 12, 31)));
    }
    return year;
}

QDateTime momentOf(double day) {
    const DayParts parts = splitDayNumber(day);
    if (!parts.valid())
        return {};
    return QDateTime(parts.date, QTime::fromMSecsSinceStartOfDay(parts.msecs));
}

} // namespace zelmar
