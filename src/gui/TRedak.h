#pragma once

#include <QDialog>

#include <memory>

namespace Ui {
class TRedak;
}

namespace zelmar {

// The list editor: one text box whose lines become the list. It has no buttons; whatever the
// box holds when the window is closed is the new list.
class TRedak : public QDialog {
    Q_OBJECT

public:
    explicit TRedak(QWidget* parent = nullptr);
    ~TRedak() override;

    // Shows the text modally under the caption and returns what the box holds at closing.
    QString edit(const QString& caption, const QString& text);

private:
    std::unique_ptr<Ui::TRedak> m_ui;
};

} // namespace zelmar
