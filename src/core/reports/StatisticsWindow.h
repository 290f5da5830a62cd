#pragma once

#include "core/reports/Statistics.h"

#include <QAbstractTableModel>
#include <QByteArray>
#include <QString>

namespace zelmar {

struct AppState;

// The table of the statistics window: the groups and the row "Итого".
class StatisticsModel : public QAbstractTableModel {
public:
    const StatTable& table() const { return m_table; }
    void setTable(StatTable table);
    // Nothing counted: no rows.
    void clear();

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    // The headings, broken into two lines so the columns stay narrow.
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    StatTable m_table;
    bool m_filled = false;
};

// The statistics window "Статистика отказных материалов": its controls and what it shows.
struct StatisticsForm {
    // The period by the decision date: whole days, both included.
    double StatS = 0;
    double StatPo = 0;
    // The item of "Группировка".
    int StatGrup = 0;
    // "включая Архив".
    bool StatArhiv = false;

    StatisticsModel StatTabl;
    StatChart StatGrafik;
    // The table shows the statistics of the controls' period and grouping.
    bool shown = false;

    StatQuery query() const;
};

// The export file of the table, in the installation folder.
inline constexpr QStringView StatisticsExportFile = u"Temp\\Statistika.txt";

// Each opening: the first day of the current month to today, nothing counted yet.
void StatistikaFormShow(AppState& s, StatisticsForm& f);
// "Показать": the table and the chart of the period.
void StatPokazClick(AppState& s, StatisticsForm& f);
// "в Excel": the table (counted anew when the controls changed since) as Temp\Statistika.txt,
// opened in the spreadsheet with the counts as numbers.
void StatExcelClick(AppState& s, StatisticsForm& f);
// "Печать": the table through the report runner.
void StatPechatClick(AppState& s, StatisticsForm& f);

// The table as the spreadsheet text: Windows-1251, cells followed by ";", CR LF.
QByteArray statisticsText(const StatTable& table);

} // namespace zelmar
