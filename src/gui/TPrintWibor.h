#pragma once

#include "core/reports/PrintSelection.h"
#include "gui/QtProgress.h"

#include <QDialog>

#include <functional>
#include <memory>

class QTableView;

namespace Ui {
class TPrintWibor;
}

namespace zelmar {

struct AppState;
class TFiltrOkno;
class TShabloniDok;

// The print selection window: the main card file, the working card file and the archive as
// tables; picking a card, marking it as printed in the book, gathering cards into the working
// card file, the filter. Opened modally from the main window's "Таблица".
class TPrintWibor : public QDialog {
    Q_OBJECT

public:
    TPrintWibor(AppState& state, QWidget* parent = nullptr);
    ~TPrintWibor() override;

    Ui::TPrintWibor& ui() { return *m_ui; }
    PrintSelection& selection() { return m_selection; }
    void setFilterWindow(TFiltrOkno* filter) { m_filter = filter; }
    void setTemplatesWindow(TShabloniDok* templates) { m_templates = templates; }

    // Runs a command of this window, or of the filter opened from it, with the gauge PB1 as
    // its progress; the window shows what the command changed.
    void run(const std::function<void()>& command);

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QTableView* gridView(int table) const;
    void connectCommands();
    // Opens a window of the register from this one; the tables follow what it did.
    void openOwnWindow(QDialog* window);
    void readControls();
    void writeControls();

    AppState& m_state;
    std::unique_ptr<Ui::TPrintWibor> m_ui;
    PrintSelection m_selection;
    std::unique_ptr<QtProgress> m_progress;
    TFiltrOkno* m_filter = nullptr;
    TShabloniDok* m_templates = nullptr;
    bool m_updating = false;
};

} // namespace zelmar
