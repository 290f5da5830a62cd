#pragma once

#include <QElapsedTimer>
#include <QtGlobal>

#include <array>

namespace zelmar {

// How far a long command has got (a rebuild of the main card file, a selection, a backup), for
// the meters of the window that runs it: the gauge of the print selection window, the progress
// panel of the main window. Commands report as often as they like; a report reaches the meters
// at most every 50 ms (and always at the end of a meter), so reporting never slows the work.
class Progress {
public:
    // Meter 0 is the whole work; meter 1, where a window has one, the current part of it (the
    // file being packed).
    static constexpr int kMeters = 2;

    virtual ~Progress() = default;

    // The work starts: the window shows its meters and a wait cursor.
    void begin();
    // Meter `meter` stands at done of total.
    void report(qint64 done, qint64 total, int meter = 0);
    // The work is over, also after a failure: the meters and the cursor are put back.
    void end();
    bool running() const { return m_depth > 0; }

protected:
    virtual void started() {}
    virtual void show(int meter, int percent) = 0;
    virtual void finished() {}

private:
    int m_depth = 0;
    // Each meter keeps its own pace, so reports of the part and of the whole made one after
    // the other both reach their meters.
    std::array<QElapsedTimer, kMeters> m_timers;
    std::array<int, kMeters> m_shown{};
};

// Begins the work on construction and ends it on leaving the scope, however it is left.
class ProgressScope {
public:
    explicit ProgressScope(Progress& progress)
        : m_progress(progress) {
        m_progress.begin();
    }
    ~ProgressScope() { m_progress.end(); }
    ProgressScope(const ProgressScope&) = delete;
    ProgressScope& operator=(const ProgressScope&) = delete;

private:
    Progress& m_progress;
};

// Meters nobody looks at: for commands run without a window (tests, the command line).
class NoProgress : public Progress {
protected:
    void show(int, int) override {}
};

} // namespace zelmar
