#include "gui/CardDateEdit.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>

namespace zelmar {

namespace {

bool isSeparator(const QString& text) {
    return text == QLatin1String(".") || text == QLatin1String(",") || text == QLatin1String("/") ||
           text == QLatin1String("-");
}

} // namespace

CardDateEdit::CardDateEdit(QWidget* parent)
    : QDateEdit(parent) {
    lineEdit()->installEventFilter(this);
}

void CardDateEdit::focusInEvent(QFocusEvent* event) {
    QDateEdit::focusInEvent(event);
    m_movedOn = false;
    m_clicked = event->reason() == Qt::MouseFocusReason;
    setSelectedSection(DaySection);
}

bool CardDateEdit::eventFilter(QObject* watched, QEvent* event) {
    // The press that brought the focus places the text cursor; the day is selected after it.
    if (watched == lineEdit() && event->type() == QEvent::MouseButtonPress && m_clicked) {
        m_clicked = false;
        static_cast<QObject*>(lineEdit())->event(event);
        setSelectedSection(DaySection);
        return true;
    }
    return QDateEdit::eventFilter(watched, event);
}

void CardDateEdit::mousePressEvent(QMouseEvent* event) {
    // Beside the text only the calendar's arrow answers a press: the toolkit would take a
    // press on the frame of a calendar picker for a step down of the date.
    if (calendarPopup() && event->position().x() < lineEdit()->geometry().right()) {
        event->accept();
        setSelectedSection(DaySection);
        return;
    }
    QDateEdit::mousePressEvent(event);
}

void CardDateEdit::keyPressEvent(QKeyEvent* event) {
    if (event->matches(QKeySequence::SelectAll) || event->key() == Qt::Key_Home) {
        setSelectedSection(DaySection);
        m_movedOn = false;
        event->accept();
        return;
    }
    if (event->key() == Qt::Key_End) {
        setSelectedSection(YearSection);
        m_movedOn = false;
        event->accept();
        return;
    }
    const QString text = event->text();
    if (m_movedOn && isSeparator(text)) {
        // "05." after "05" already moved on to the month: the separator is already there.
        m_movedOn = false;
        event->accept();
        return;
    }
    const Section before = currentSection();
    QDateEdit::keyPressEvent(event);
    m_movedOn = text.size() == 1 && text.at(0).isDigit() && currentSection() != before;
}

bool CardDateEdit::focusNextPrevChild(bool next) {
    // Tab leaves the date; its parts are reached by typing, arrows and separators.
    return QWidget::focusNextPrevChild(next);
}

} // namespace zelmar
