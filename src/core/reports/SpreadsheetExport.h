#pragma once

#include "core/reports/PrintSelectionGrid.h"
#include "core/reports/SpreadsheetText.h"
#include "core/store/TAnketa.h"

#include <QByteArray>
#include <QString>

#include <array>

namespace zelmar {

struct AppState;
struct PrintSelection;

using ExportColumns = std::array<bool, PrintGridModel::ColumnCount>;

// The export file, in the installation folder.
inline constexpr QStringView ExportFile = u"L_Excel.txt";

// "в Excel": the working card file as L_Excel.txt, one line per card with the columns checked
// in "Столбцы для Excel", opened as a workbook in the spreadsheet. The window's card buffer
// holds the last card of the file afterwards.
void ExcelTClick(AppState& s, PrintSelection& p);

// The line of a card, without its line end: every checked column's value and its ";". Dates
// are dd.mm.yy also when empty (01.01.01).
QByteArray StrTextFil(const TAnketa& card, const ExportColumns& columns);

// How the spreadsheet reads the checked columns, in list order: "№ жур" as a number, the dates
// as dates, every other column as text.
QList<ImportColumn> exportColumnKinds(const ExportColumns& columns);

// Writes the export file of the working card file to path (whole or not at all); the last card
// goes to buffer. Returns the number of checked columns.
int writeWorkingFileExport(AppState& s, const ExportColumns& columns, const QString& path,
                           TAnketa& buffer);

} // namespace zelmar
