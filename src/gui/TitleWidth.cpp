#include "gui/TitleWidth.h"

#include <QFontMetrics>
#include <QWidget>

namespace zelmar {

namespace {
// The window menu, minimise, maximise and close buttons and the title's margins.
constexpr int kTitleBarExtra = 150;
} // namespace

int titleWidth(const QWidget& window, const QString& title) {
    // Title bars mostly draw their text bold.
    QFont font = window.font();
    font.setBold(true);
    return QFontMetrics(font).horizontalAdvance(title) + kTitleBarExtra;
}

} // namespace zelmar
