#pragma once

#include "core/reports/StatisticsWindow.h"
#include "gui/QtProgress.h"

#include <QDialog>

#include <functional>
#include <memory>

namespace Ui {
class TStatistika;
}

namespace zelmar {

struct AppState;

// The statistics of refusal materials for a period: a table by the chosen grouping and its
// chart, handed to the spreadsheet or the report runner. Opened modally from the main window's
// "Печать" → "Статистика".
class TStatistika : public QDialog {
    Q_OBJECT

public:
    TStatistika(AppState& state, QWidget* parent = nullptr);
    ~TStatistika() override;

    Ui::TStatistika& ui() { return *m_ui; }
    StatisticsForm& form() { return m_form; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void run(void (*command)(AppState&, StatisticsForm&));
    void readControls();
    void writeControls();
    void drawChart();

    AppState& m_state;
    StatisticsForm m_form;
    std::unique_ptr<Ui::TStatistika> m_ui;
    std::unique_ptr<QtProgress> m_progress;
    // What the chart shows now.
    StatChart m_drawn;
    bool m_drawnOnce = false;
    bool m_drawnShown = false;
};

} // namespace zelmar
