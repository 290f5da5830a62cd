#pragma once

#include <QDate>
#include <QDateTime>

namespace zelmar {

// Dates are day numbers: days since 30.12.1899, the fraction being the time of day.

// The empty date 01.01.1901, put into every date field of a blank card but the refusal date.
inline constexpr double EmptyDate = 367.0;
// 01.01.2001, which the date-or-empty texts treat as empty as well.
inline constexpr double Millennium = 36892.0;

// The range a day number can stand for: 01.01.0001 to 31.12.9999.
inline constexpr double MinDayNumber = -693593.0;
inline constexpr double MaxDayNumber = 2958466.0;

bool isRepresentable(double day);

double dayNumber(const QDate& date);
double dayNumber(const QDateTime& moment);
// A whole day plus a time of day in milliseconds.
double dayNumber(const QDate& date, int msecsOfDay);

// A day number split into calendar date and time of day, the time rounded to the millisecond.
// Invalid when the day number is outside the representable range.
struct DayParts {
    QDate date;
    int msecs = 0;
    bool valid() const { return date.isValid(); }
};
DayParts splitDayNumber(double day);

QDate dateOf(double day);
// The calendar year of a day number (0 outside the calendar); fast, for passes over all cards.
int yearOfDay(double day);
QDateTime momentOf(double day);

} // namespace zelmar
