#pragma once

#include <QDateEdit>

namespace zelmar {

// A date picker of the card editor that types as a clerk types a date: a click or Tab into it
// selects the day, so "05032012" or "05.03.2012" fills the whole date (a separator right after
// a part filled itself is skipped); Home selects the day again, End the year, Ctrl+A the day;
// Tab and Shift+Tab leave the field instead of walking its parts.
class CardDateEdit : public QDateEdit {
    Q_OBJECT

public:
    explicit CardDateEdit(QWidget* parent = nullptr);

protected:
    void focusInEvent(QFocusEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool focusNextPrevChild(bool next) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The last digit typed filled its part and moved on to the next one.
    bool m_movedOn = false;
    // The focus came with a press of the mouse, which the text field has yet to receive.
    bool m_clicked = false;
};

} // namespace zelmar
