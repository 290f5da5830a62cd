#pragma once

#include "core/access/UsersEditor.h"

#include <QDialog>

#include <memory>

namespace Ui {
class TForm5;
}

namespace zelmar {

struct AppState;

// The users table editor ("Пароли").
class TForm5 : public QDialog {
    Q_OBJECT

public:
    explicit TForm5(AppState& state, QWidget* parent = nullptr);
    ~TForm5() override;

    Ui::TForm5& ui() { return *m_ui; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void readGrid();
    void writeGrid();

    AppState& m_state;
    std::unique_ptr<Ui::TForm5> m_ui;
    UsersGrid m_grid;
};

} // namespace zelmar
