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

QDateTime momentOf(double day) {
    const DayParts parts = splitDayNumber(day);
    if (!parts.valid())
        return {};
    return QDateTime(parts.date, QTime::fromMSecsSinceStartOfDay(parts.msecs));
}

} // namespace zelmar
