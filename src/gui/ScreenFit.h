#pragma once

class QApplication;

namespace zelmar {

// Every window of the program within the free area of its screen (the screen less its panels):
// a window that would be larger is made to fit and moved inside when it is shown, and a
// maximised one fills that area, also where no window manager maximises it.
void keepWindowsOnScreen(QApplication& app);

} // namespace zelmar
