#include "core/texts/DateTexts.h"

#include "core/platform/Clock.h"
#include "core/platform/Errors.h"
#include "core/texts/DayNumber.h"

#include <cmath>

namespace zelmar {

QString ShortDate(double day) {
    const QDate date = dateOf(day);
    if (!date.isValid())
        return {};
    QString text = QStringLiteral("%1.%2.%3")
                       .arg(date.day(), 2, 10, QLatin1Char('0'))
                       .arg(date.month(), 2, 10, QLatin1Char('0'))
                       .arg(date.year(), 4, 10, QLatin1Char('0'));
    // The century digits are dropped: dd.mm.yyyy -> dd.mm.yy.
    if (text.size() > 8)
        text.remove(6, 2);
    return text;
}

QString ShortDateOrBlank(double day) {
    if (!isRepresentable(day))
        return {};
    const double whole = std::trunc(day);
    if (whole == EmptyDate || whole == Millennium)
        return {};
    return ShortDate(day);
}

QString ShortTime(double moment) {
    const DayParts parts = splitDayNumber(moment);
    if (!parts.valid())
        return {};
    const int minutes = parts.msecs / 60000;
    return QStringLiteral("%1:%2")
        .arg(minutes / 60, 2, 10, QLatin1Char('0'))
        .arg(minutes % 60, 2, 10, QLatin1Char('0'));
}

QString DateTimeText(double moment) {
    if (!isRepresentable(moment))
        return {};
    return ShortDate(moment) + QLatin1Char(' ') + ShortTime(moment);
}

bool DateInRange(double x, double from, double to) {
    return from <= x && x <= to;
}

bool dayInRange(double x, double from, double to) {
    if (!std::isfinite(x))
        return false;
    // The day of a date is its integer part; before 30.12.1899 the fraction counts away from
    // zero, so the integer part is the day there too.
    const double day = std::trunc(x);
    return std::trunc(from) <= day && day <= std::trunc(to);
}

int stampOfMoment(double moment) {
    // The moment in 1/100000 days as general decimal text with 15 significant digits; its
    // characters 2 to 10 are the key.
    const QString text = QString::number(moment * 100000.0, 'g', 15);
    const QString digits = text.mid(1, 9);
    bool ok = false;
    const int key = digits.toInt(&ok);
    if (!ok)
        throw ConvertError::notInteger(digits);
    return key;
}

int NewStamp(const Clock& clock) {
    return stampOfMoment(clock.now());
}

double momentOfStamp(int key) {
    const double base = (key >= 800000001 && key <= 999999998) ? 30000.0 : 40000.0;
    return key / 100000.0 + base;
}

QString StampText(int key) {
    return DateTimeText(momentOfStamp(key));
}

} // namespace zelmar
