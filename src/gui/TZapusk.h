#pragma once

#include "core/access/Login.h"

#include <QDialog>

#include <memory>

namespace Ui {
class TZapusk;
}

namespace zelmar {

struct AppState;
class TForm1;

// The start-up window: the password check, then the main window shown modally on top of it.
// Closing it ends the program.
class TZapusk : public QDialog {
    Q_OBJECT

public:
    explicit TZapusk(AppState& state, QWidget* parent = nullptr);
    ~TZapusk() override;

    Ui::TZapusk& ui() { return *m_ui; }
    const LoginState& login() const { return m_login; }
    // The main window shown after a passed check.
    void setMainWindow(TForm1* form1) { m_form1 = form1; }

signals:
    // The program is to end with this exit code.
    void finishedWith(int exitCode);

protected:
    void paintEvent(QPaintEvent* event) override;
    void reject() override;

private:
    void daleeClick();
    void writeControls();
    void run(const std::function<void()>& command);

    AppState& m_state;
    std::unique_ptr<Ui::TZapusk> m_ui;
    LoginState m_login;
    TForm1* m_form1 = nullptr;
};

} // namespace zelmar
