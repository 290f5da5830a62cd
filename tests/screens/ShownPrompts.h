#pragma once

#include "core/platform/ScriptedPrompts.h"
#include "gui/QtPrompts.h"

#include <QApplication>
#include <QDialog>
#include <QTimer>

#include <functional>
#include <utility>

namespace zelmar::test {

// The prompts of a screenshot run. Every prompt is answered as cancelled without a window,
// except the one a picture is asked of: that one the program's own dialog shows, and once it
// is on the screen it is handed to `grab` and closed as Esc closes it.
class ShownPrompts : public Prompts {
public:
    explicit ShownPrompts(std::function<void(QWidget&, const QString&)> grab)
        : m_grab(std::move(grab)) {
        m_poll.setInterval(20);
        QObject::connect(&m_poll, &QTimer::timeout, &m_poll, [this] { grabShown(); });
    }

    // The next prompt is shown, and grabbed under this name.
    void showNext(const QString& name) { m_next = name; }

    void message(const QString& text, const QString& caption, Icon icon) override {
        next().message(text, caption, icon);
    }
    bool question(const QString& text, const QString& caption) override {
        return next().question(text, caption);
    }
    int choice(const QString& caption, const QString& button1, const QString& button2,
               const QString& button3) override {
        return next().choice(caption, button1, button2, button3);
    }
    QString input(const QString& caption, const QString& prompt, const QString& initial) override {
        return next().input(caption, prompt, initial);
    }
    QString openFile(const QString& caption, const QString& folder,
                     const QString& filter) override {
        return next().openFile(caption, folder, filter);
    }
    std::optional<QString> chooseFolder(const QString& caption, const QString& start) override {
        return next().chooseFolder(caption, start);
    }
    std::optional<std::uint32_t> chooseColour(std::uint32_t initial) override {
        return next().chooseColour(initial);
    }
    QString editText(const QString& caption, const QString& text) override {
        return next().editText(caption, text);
    }

private:
    Prompts& next() {
        if (m_next.isEmpty())
            return m_scripted;
        m_shown = std::exchange(m_next, QString());
        m_poll.start();
        return m_dialogs;
    }

    void grabShown() {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!dialog || !dialog->isVisible())
            return;
        m_poll.stop();
        m_grab(*dialog, m_shown);
        dialog->reject();
    }

    std::function<void(QWidget&, const QString&)> m_grab;
    ScriptedPrompts m_scripted;
    QtPrompts m_dialogs;
    QTimer m_poll;
    QString m_next;
    QString m_shown;
};

} // namespace zelmar::test
