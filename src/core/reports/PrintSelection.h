#pragma once

#include "core/reports/PrintSelectionGrid.h"
#include "core/store/TAnketa.h"

#include <QString>

#include <array>

namespace zelmar {

struct AppState;

// The print selection window: its three tables, counters, card panel and search by number.
// Made once at start; the window copies its widgets into this before a command and back after.
struct PrintSelection {
    enum Table { Main = 0, Working = 1, Archive = 2 };

    explicit PrintSelection(AppState& s);

    PrintGridModel& grid(int table);
    qint64& currentRow(int table);

    int activeTable = Main;
    // The column of the cell last picked, which "Сортировать" sorts by.
    int sortColumn = 0;
    QString Sortir = QStringLiteral("Сортировать");

    // The tables and their current rows, numbered as the grid rows: 1 is the first card, 0 none.
    PrintGridModel Tabl;
    PrintGridModel RabTab;
    PrintGridModel ArhTab;
    qint64 TablRow = 0;
    qint64 RabTabRow = 0;
    qint64 ArhTabRow = 0;

    // Cards in each file; the register number last picked in each table.
    QString KGlav, KRab, KArh;
    QString GlavN, RabN, ArhN;

    // The card panel.
    QString GurN;
    double DateOtkaza = 0;
    QString KtoWines, PodpUtw, ProkOtm, Motiv, EsNo, Fabul;

    // Search by number within a range of decision dates.
    QString NomOtk;
    double NaDat = 0;
    double KoDat = 0;

    // The columns the spreadsheet export writes.
    std::array<bool, PrintGridModel::ColumnCount> StolbExcel;

    // The card last picked in a table, or the last card read by the latest fill: what
    // "Скопировать в Рабочую" adds and the card reports print. The card editor's buffer is
    // left to the card the editor shows.
    TAnketa card;
    // Where that card stands: its table and record (-1 once it left the file).
    int cardTable = Main;
    qint64 cardRecord = -1;

    // What the window does after a command: bring a tab to the front (-1: none); close.
    int showTab = -1;
    bool close = false;
};

// "Таблица" in the main window: false, after telling why, when there is nothing to show.
bool N17Click(AppState& s);
// Each opening (opening = true: the main table in front), and the return from a window opened
// from this one (the table in front stays active).
void PrintFormActivate(AppState& s, PrintSelection& p, bool opening);
// The main table filled from the main card file.
void GlTabl(AppState& s, PrintSelection& p);
// A tab was brought to the front.
void GlavStrShow(AppState& s, PrintSelection& p);
void RabStrShow(AppState& s, PrintSelection& p);
void ArhStrShow(AppState& s, PrintSelection& p);
// A press on a cell of a table: row 1.. (0 the heading), column 0..17.
void TablMouseDown(AppState& s, PrintSelection& p, int table, qint64 row, int column);
// The keyboard made row 1.. the current row of a table: its card is picked as a press picks
// it (the column to sort by stays), so the panel always shows the card of the current row.
void TablRowPicked(AppState& s, PrintSelection& p, int table, qint64 row);
// The typed number changed: the first row that fits becomes the current row.
void NomOtkChange(AppState& s, PrintSelection& p);
void SortirClick(AppState& s, PrintSelection& p);
void PlusRabClick(AppState& s, PrintSelection& p);
void DelRabClick(AppState& s, PrintSelection& p);
void RabClearClick(AppState& s, PrintSelection& p);
// "В книге поставить" Есть (1) / Нет (0), on the main table's current row; on the working
// table's current row, in the main and the working card files.
void EstNet(AppState& s, PrintSelection& p, int value);
void RabEstNet(AppState& s, PrintSelection& p, int value);
// "Показать эту карточку" in the card editor; the window closes.
void KartMatClick(AppState& s, PrintSelection& p);

} // namespace zelmar
