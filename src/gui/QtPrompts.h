#pragma once

#include "core/platform/Prompts.h"

class QWidget;

namespace zelmar {

// The prompts as real dialogs, parented to the window the command runs in.
class QtPrompts : public Prompts {
public:
    explicit QtPrompts(QWidget* parent = nullptr);
    void setParent(QWidget* parent) { m_parent = parent; }

    void message(const QString& text, const QString& caption, Icon icon) override;
    bool question(const QString& text, const QString& caption) override;
    int choice(const QString& caption, const QString& button1, const QString& button2,
               const QString& button3) override;
    QString input(const QString& caption, const QString& prompt, const QString& initial) override;
    QString openFile(const QString& caption, const QString& folder, const QString& filter) override;
    std::optional<QString> chooseFolder(const QString& caption, const QString& start) override;
    std::optional<std::uint32_t> chooseColour(std::uint32_t initial) override;
    QString editText(const QString& caption, const QString& text) override;

private:
    QWidget* parentWidget() const;
    QWidget* m_parent;
};

} // namespace zelmar
