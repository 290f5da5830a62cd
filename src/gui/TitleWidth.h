#pragma once

class QString;
class QWidget;

namespace zelmar {

// The width a window needs for the window manager to show its whole title, with the title
// bar's buttons beside it: a box is never narrower than that, so its title is never cut.
int titleWidth(const QWidget& window, const QString& title);

} // namespace zelmar
