#include "gui/ScreenFit.h"

#include <QApplication>
#include <QScreen>
#include <QWidget>
#include <QWindow>

#include <algorithm>

namespace zelmar {

namespace {

class ScreenFit : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        // Shown by the program (not given back by the window manager), before it is on the
        // screen.
        if (event->type() != QEvent::Show || event->spontaneous() || !watched->isWidgetType())
            return false;
        auto* window = static_cast<QWidget*>(watched);
        const Qt::WindowType type = window->windowType();
        if (!window->isWindow() || (type != Qt::Window && type != Qt::Dialog) || !window->screen())
            return false;
        // The window's frame, where the platform knows it before the window is on the screen.
        QMargins frame;
        if (const QWindow* handle = window->windowHandle())
            frame = handle->frameMargins();
        const QRect free = window->screen()->availableGeometry();
        if (window->isMaximized()) {
            window->setGeometry(free.marginsRemoved(frame));
            return false;
        }
        const QSize room = free.marginsRemoved(frame).size();
        const QSize size = window->size().boundedTo(room).expandedTo(window->minimumSize());
        if (size != window->size())
            window->resize(size);
        // The position of a window is that of its frame.
        const QSize outer = size.grownBy(frame);
        const QPoint at = window->pos();
        const QPoint inside(std::clamp(at.x(), free.left(),
                                       std::max(free.left(), free.right() + 1 - outer.width())),
                            std::clamp(at.y(), free.top(),
                                       std::max(free.top(), free.bottom() + 1 - outer.height())));
        if (inside != at)
            window->move(inside);
        return false;
    }
};

} // namespace

void keepWindowsOnScreen(QApplication& app) {
    const QString name = QStringLiteral("ScreenFit");
    if (app.findChild<QObject*>(name, Qt::FindDirectChildrenOnly))
        return;
    auto* fit = new ScreenFit(&app);
    fit->setObjectName(name);
    app.installEventFilter(fit);
}

} // namespace zelmar
