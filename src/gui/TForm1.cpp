#include "gui/TForm1.h"

#include "core/editor/AppState.h"
#include "core/editor/MainWindowEvents.h"

namespace zelmar {

TForm1::TForm1(AppState& state, QWidget* parent)
    : QMainWindow(parent)
    , m_state(state) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Zelmar Журнал учета отказных материалов"));
    FormCreate(m_state);
}

} // namespace zelmar
