#pragma once

#include "core/reports/Templates.h"

#include <QDialog>

#include <functional>
#include <memory>

namespace Ui {
class TShabloniDok;
}

namespace zelmar {

struct AppState;

// The template window "Шаблоны печатных документов": the list of document templates, opened
// modally from the main window's and the print selection window's "Шаблоны".
class TShabloniDok : public QDialog {
    Q_OBJECT

public:
    explicit TShabloniDok(AppState& state, QWidget* parent = nullptr);
    ~TShabloniDok() override;

    Ui::TShabloniDok& ui() { return *m_ui; }
    TemplatesWindow& templates() { return m_templates; }

    // Runs a command of this window through the command boundary; the window shows what it
    // changed.
    void run(const std::function<void()>& command);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void readControls();
    void writeControls();
    // Disables the buttons that have nothing to act on.
    void writeButtons();

    AppState& m_state;
    std::unique_ptr<Ui::TShabloniDok> m_ui;
    TemplatesWindow m_templates;
};

} // namespace zelmar
