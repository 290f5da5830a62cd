#include "core/platform/Clock.h"

#include "core/texts/DayNumber.h"

#include <QDateTime>

#include <cmath>

namespace zelmar {

double Clock::today() const {
    return std::floor(now());
}

double SystemClock::now() const {
    return dayNumber(QDateTime::currentDateTime());
}

} // namespace zelmar
