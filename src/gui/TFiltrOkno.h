#pragma once

#include "core/search/FilterWindow.h"

#include <QDialog>

#include <functional>
#include <memory>

namespace Ui {
class TFiltrOkno;
}

namespace zelmar {

struct AppState;
class TPrintWibor;

// The filter window: conditions joined by AND select the cards of the main card file or of the
// archive into the working card file, which the print selection window then shows. Opened
// modally from the print selection window; its commands run there, with its gauge.
class TFiltrOkno : public QDialog {
    Q_OBJECT

public:
    TFiltrOkno(AppState& state, TPrintWibor* print, QWidget* parent = nullptr);
    ~TFiltrOkno() override;

    Ui::TFiltrOkno& ui() { return *m_ui; }
    FilterForm& form() { return m_form; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void run(const std::function<void()>& command);
    void readControls();
    void writeControls();

    AppState& m_state;
    TPrintWibor* m_print;
    FilterForm m_form;
    std::unique_ptr<Ui::TFiltrOkno> m_ui;
};

} // namespace zelmar
