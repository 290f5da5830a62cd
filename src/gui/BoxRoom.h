#pragma once

class QComboBox;
class QLineEdit;
class QString;

namespace zelmar {

// Room in a box for the widest usual value of its kind (a phone number, a register number, an
// official's name): the box is never narrower than that text needs to show whole.
void roomFor(QLineEdit* edit, const QString& widest);
void roomFor(QComboBox* box, const QString& widest);

} // namespace zelmar
