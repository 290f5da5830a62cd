#pragma once

#include <QString>

class QAbstractItemView;
class QLineEdit;
class QWidget;

namespace zelmar {

// What may be typed into the register's boxes, checked as it is typed.

// A box whose text a card or list file stores: a character the files' code page (Windows-1251)
// lacks is refused with a short hint, so what the box shows is what is stored.
void storedTextOnly(QLineEdit* edit);
// The same for the cells of a table typed into.
void storedTextOnly(QAbstractItemView* table);
// The same for a memo: text without the characters the code page lacks, the hint shown at
// the memo when some were taken out.
QString storableText(const QString& text, QWidget* hintAt);
// An integer box: digits, and a minus in front; what still gets through (a lone minus) meets
// the conversion message on Save.
void integerOnly(QLineEdit* edit);

} // namespace zelmar
