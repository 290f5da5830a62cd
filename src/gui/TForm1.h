#pragma once

#include <QMainWindow>

namespace zelmar {

struct AppState;

class TForm1 : public QMainWindow {
    Q_OBJECT

public:
    explicit TForm1(AppState& state, QWidget* parent = nullptr);

private:
    AppState& m_state;
};

} // namespace zelmar
