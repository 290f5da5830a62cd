#include "core/reports/StatisticsWindow.h"

#include "core/documents/AtomicFile.h"
#include "core/editor/AppState.h"
#include "core/platform/Clock.h"
#include "core/platform/Prompts.h"
#include "core/reports/SpreadsheetText.h"
#include "core/reports/StatisticsReport.h"
#include "core/store/Cp1251.h"
#include "core/texts/DayNumber.h"

#include <algorithm>
#include <cmath>

namespace zelmar {

namespace {

// A heading broken at the blank nearest its middle.
QString twoLines(const QString& heading) {
    qsizetype best = -1;
    for (qsizetype at = heading.indexOf(QLatin1Char(' ')); at >= 0;
         at = heading.indexOf(QLatin1Char(' '), at + 1)) {
        if (best < 0 || std::abs(heading.size() / 2 - at) < std::abs(heading.size() / 2 - best))
            best = at;
    }
    QString text = heading;
    if (best >= 0)
        text[best] = QLatin1Char('\n');
    return text;
}

// Counts anew unless the table already shows the controls' statistics. False, after telling
// why, for a period that ends before it begins.
bool counted(AppState& s, StatisticsForm& f) {
    if (f.StatPo < f.StatS) {
        s.prompts.message(QStringLiteral("Начало периода (%1) позже его конца (%2).\nУкажите "
                                         "период снова.")
                              .arg(dateOf(f.StatS).toString(QStringLiteral("dd.MM.yyyy")),
                                   dateOf(f.StatPo).toString(QStringLiteral("dd.MM.yyyy"))),
                          QStringLiteral("Неверный период"));
        return false;
    }
    if (f.shown && f.StatTabl.table().query == f.query())
        return true;
    StatTable table =
        countStatistics(f.query(), s.main, f.StatArhiv ? &s.archive : nullptr, *s.progress);
    f.StatGrafik = chartOf(table);
    f.StatTabl.setTable(std::move(table));
    f.shown = true;
    return true;
}

} // namespace

void StatisticsModel::setTable(StatTable table) {
    beginResetModel();
    m_table = std::move(table);
    m_filled = true;
    endResetModel();
}

void StatisticsModel::clear() {
    beginResetModel();
    m_table = {};
    m_filled = false;
    endResetModel();
}

int StatisticsModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() || !m_filled ? 0 : static_cast<int>(m_table.shownRows());
}

int StatisticsModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : StatTable::ColumnCount;
}

QVariant StatisticsModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    if (role == Qt::DisplayRole || (role == Qt::ToolTipRole && index.column() == 0))
        return m_table.cell(index.row(), index.column());
    if (role == Qt::TextAlignmentRole && index.column() != StatTable::Group)
        return QVariant::fromValue(Qt::Alignment(Qt::AlignRight | Qt::AlignVCenter));
    return {};
}

QVariant StatisticsModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= StatTable::ColumnCount)
        return QAbstractTableModel::headerData(section, orientation, role);
    if (role == Qt::DisplayRole)
        return twoLines(StatTable::headings().at(section));
    if (role == Qt::ToolTipRole)
        return StatTable::headings().at(section);
    return {};
}

StatQuery StatisticsForm::query() const {
    StatQuery q;
    q.from = std::trunc(StatS);
    q.to = std::trunc(StatPo);
    q.grouping = static_cast<StatGrouping>(
        std::clamp(StatGrup, 0, static_cast<int>(statGroupingNames().size()) - 1));
    q.archive = StatArhiv;
    return q;
}

void StatistikaFormShow(AppState& s, StatisticsForm& f) {
    const QDate today = dateOf(s.clock.today());
    f.StatS = dayNumber(QDate(today.year(), today.month(), 1));
    f.StatPo = dayNumber(today);
    f.StatTabl.clear();
    f.StatGrafik = {};
    f.shown = false;
}

void StatPokazClick(AppState& s, StatisticsForm& f) {
    f.shown = false;
    counted(s, f);
}

void StatExcelClick(AppState& s, StatisticsForm& f) {
    if (!counted(s, f))
        return;
    const QString path = s.local(StatisticsExportFile);
    AtomicFile file(path);
    writeOrThrow(file, statisticsText(f.StatTabl.table()), path);
    file.commit();
    QList<ImportColumn> columns(StatTable::ColumnCount, ImportColumn::Standard);
    columns[StatTable::Group] = ImportColumn::Text;
    openSemicolonText(s, path, columns);
}

void StatPechatClick(AppState& s, StatisticsForm& f) {
    if (counted(s, f))
        printStatistics(s, f.StatTabl.table());
}

QByteArray statisticsText(const StatTable& table) {
    QByteArray text;
    for (const QString& heading : StatTable::headings())
        appendCell(text, toCp1251(heading));
    text += "\r\n";
    for (qsizetype row = 0; row < table.shownRows(); ++row) {
        for (int column = 0; column < StatTable::ColumnCount; ++column)
            appendCell(text, toCp1251(table.cell(row, column)));
        text += "\r\n";
    }
    return text;
}

} // namespace zelmar
