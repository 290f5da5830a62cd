#pragma once

namespace zelmar {

// The moment as the register counts it: days since 30.12.1899, the fraction being the time of
// day. Injected everywhere a command needs "now", so tests fix the moment.
class Clock {
public:
    virtual ~Clock() = default;
    virtual double now() const = 0;
    double today() const;
};

// The machine's local time.
class SystemClock : public Clock {
public:
    double now() const override;
};

// A clock that stands still until moved; for tests and benchmarks.
class FixedClock : public Clock {
public:
    explicit FixedClock(double moment)
        : m_moment(moment) {}
    double now() const override { return m_moment; }
    void set(double moment) { m_moment = moment; }
    void advance(double days) { m_moment += days; }

private:
    double m_moment;
};

} // namespace zelmar
