#include "gui/QtProgress.h"

#include <QApplication>
#include <QGuiApplication>

namespace zelmar {

QtProgress::QtProgress(QProgressBar* whole, QProgressBar* part, QWidget* panel)
    : m_meters{whole, part}
    , m_panel(panel) {
    for (const auto& meter : m_meters) {
        if (meter)
            meter->setRange(0, 100);
    }
}

void QtProgress::started() {
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    if (m_panel)
        m_panel->setVisible(true);
}

void QtProgress::show(int meter, int percent) {
    if (QProgressBar* bar = m_meters.at(static_cast<size_t>(meter)))
        bar->setValue(percent);
    // Only painting: the user's clicks and keys wait until the work is over.
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void QtProgress::finished() {
    if (m_panel)
        m_panel->setVisible(false);
    for (const auto& meter : m_meters) {
        if (meter)
            meter->setValue(0);
    }
    QGuiApplication::restoreOverrideCursor();
}

} // namespace zelmar
