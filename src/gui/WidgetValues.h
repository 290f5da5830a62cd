#pragma once

#include <QComboBox>
#include <QLineEdit>
#include <QStringList>

namespace zelmar {

// Values from a window's struct into its widgets. A widget is touched only when its value
// changes, so the caret, the selection and the change signals stay quiet otherwise.

inline void setText(QLineEdit* edit, const QString& text) {
    if (edit->text() != text)
        edit->setText(text);
}

inline void setText(QComboBox* box, const QString& text) {
    if (box->currentText() != text)
        box->setEditText(text);
}

// The items of a drop-down list; the typed text stays.
inline void setItems(QComboBox* box, const QStringList& items) {
    QStringList shown;
    for (int i = 0; i < box->count(); ++i)
        shown.append(box->itemText(i));
    if (shown == items)
        return;
    const QString text = box->currentText();
    box->clear();
    box->addItems(items);
    box->setEditText(text);
}

} // namespace zelmar
