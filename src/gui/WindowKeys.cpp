#include "gui/WindowKeys.h"

#include <QKeyEvent>
#include <QPushButton>

namespace zelmar {

namespace {

// Enter on a button presses it, as Space does.
class EnterPresses : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress)
            return false;
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
        const Qt::KeyboardModifiers modifiers = key->modifiers() & ~Qt::KeypadModifier;
        auto* button = qobject_cast<QPushButton*>(watched);
        if (!enter || modifiers != Qt::NoModifier || !button || button->isDefault())
            return false;
        if (button->isEnabled())
            button->click();
        return true;
    }
};

} // namespace

void plainKeys(QWidget& window) {
    auto* presses = new EnterPresses(&window);
    for (QPushButton* button : window.findChildren<QPushButton*>()) {
        // A button that takes the focus would otherwise become the dialog's default and stay
        // so, pressed by every later Enter in a text box.
        button->setAutoDefault(false);
        button->setDefault(false);
        button->installEventFilter(presses);
    }
}

} // namespace zelmar
