#pragma once

class QApplication;

namespace zelmar {

// The application as the register shows it: named "Zelmar", and the standard texts of the
// toolkit (context menus of the edit boxes, the colour and file dialogs, the calendar) in
// Russian. Window titles stay exactly the register's own. Every window within the free area of
// its screen.
void setUpApplication(QApplication& app);

} // namespace zelmar
