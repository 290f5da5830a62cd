#pragma once

#include "core/search/SearchWindow.h"

#include <QDialog>

#include <memory>

namespace Ui {
class TPoisk;
}

namespace zelmar {

struct AppState;
class TForm1;

// The search window: conditions joined by AND, steps forward and backward, all at once; the
// found cards go to the working card file and show in the main window. Opened modally from the
// main window's "Поиск"; its commands run through the main window, which shows their effect.
class TPoisk : public QDialog {
    Q_OBJECT

public:
    TPoisk(AppState& state, TForm1* main, QWidget* parent = nullptr);
    ~TPoisk() override;

    Ui::TPoisk& ui() { return *m_ui; }
    SearchForm& form() { return m_form; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void run(void (*command)(AppState&, SearchForm&));
    void readControls();
    void writeControls();

    AppState& m_state;
    TForm1* m_main;
    SearchForm m_form;
    std::unique_ptr<Ui::TPoisk> m_ui;
};

} // namespace zelmar
