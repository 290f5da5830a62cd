#pragma once

#include <QString>

namespace zelmar {

class Clock;

// The short texts of dates, times and card stamps that the editor, the grids and the reports
// show. A day number outside the calendar gives empty text.

// dd.mm.yy
QString ShortDate(double day);
// Empty for the empty date 01.01.1901 and for 01.01.2001 (any time of day), else ShortDate.
QString ShortDateOrBlank(double day);
// hh:mm, 24-hour clock.
QString ShortTime(double moment);
// dd.mm.yy hh:mm
QString DateTimeText(double moment);
// From <= X <= To, full date-time values.
bool DateInRange(double x, double from, double to);
// The whole day of x lies between the whole days of from and to, both included: what a range
// a clerk picks means, whatever time of day the card or the pickers carry. A value that is no
// number is outside every range.
bool dayInRange(double x, double from, double to);

// The card key of the present moment: 1/100000-day ticks, the leading digit of the day count
// dropped.
int NewStamp(const Clock& clock);
// The key of a moment.
int stampOfMoment(double moment);
// The moment a key encodes.
double momentOfStamp(int key);
// DateTimeText of the moment a key encodes.
QString StampText(int key);

} // namespace zelmar
