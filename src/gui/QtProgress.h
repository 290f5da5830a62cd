#pragma once

#include "core/platform/Progress.h"

#include <QPointer>
#include <QProgressBar>

#include <array>

namespace zelmar {

// The meters of a window: up to two progress bars, and a panel shown only while the work
// runs (the main window's progress panel; none for a gauge that is always there). A wait
// cursor is shown meanwhile, and the window is repainted at each shown step.
class QtProgress : public Progress {
public:
    QtProgress(QProgressBar* whole, QProgressBar* part = nullptr, QWidget* panel = nullptr);

protected:
    void started() override;
    void show(int meter, int percent) override;
    void finished() override;

private:
    std::array<QPointer<QProgressBar>, kMeters> m_meters;
    QPointer<QWidget> m_panel;
};

} // namespace zelmar
