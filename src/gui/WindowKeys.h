#pragma once

class QWidget;

namespace zelmar {

// The keys of a window as a clerk expects them. Enter presses the button that has the focus and
// no other: no button stands in as the window's default, so Enter in a text box or a table never
// runs a command the clerk did not ask for. Esc closes a secondary window as its "Выход" or
// "Отмена" does (a dialog's own rule). A window that names a button for Enter makes it its
// default afterwards.
void plainKeys(QWidget& window);

} // namespace zelmar
