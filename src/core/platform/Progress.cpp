#include "core/platform/Progress.h"

#include <algorithm>

namespace zelmar {

namespace {
constexpr qint64 kShowEveryMs = 50;
}

void Progress::begin() {
    if (m_depth++ > 0)
        return;
    m_shown.fill(-1);
    for (QElapsedTimer& timer : m_timers)
        timer.start();
    started();
    for (int meter = 0; meter < kMeters; ++meter)
        report(0, 1, meter);
}

void Progress::report(qint64 done, qint64 total, int meter) {
    if (meter < 0 || meter >= kMeters || m_depth == 0)
        return;
    const int percent =
        total > 0 ? static_cast<int>(std::clamp<qint64>(done * 100 / total, 0, 100)) : 100;
    auto& shown = m_shown[static_cast<size_t>(meter)];
    QElapsedTimer& timer = m_timers[static_cast<size_t>(meter)];
    if (percent == shown)
        return;
    // The last step of a meter is always shown; the steps between at most every 50 ms.
    if (percent != 100 && shown >= 0 && timer.elapsed() < kShowEveryMs)
        return;
    shown = percent;
    timer.restart();
    show(meter, percent);
}

void Progress::end() {
    if (m_depth == 0 || --m_depth > 0)
        return;
    finished();
}

} // namespace zelmar
