#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <vector>

namespace zelmar {

struct AppState;

// The text files the register opens in the spreadsheet (the export of the working card file,
// the list of templates): Windows-1251, every cell followed by ";", lines ended by CR LF.

// Appends a cell and its ";". A cell holding ";", '"' or a line break is put in quotes (a '"'
// inside doubled), so it stays one cell and the cells after it stay in their columns.
void appendCell(QByteArray& line, QByteArrayView cell);

// How the spreadsheet reads a column: as text (leading zeros and all, "001" stays "001"), as a
// number, or as a date written day.month.year.
enum class ColumnKind { Text, Number, Date };

// The spreadsheet's text import options for such a file with these columns: separator ";",
// text delimiter '"', Windows-1251, from the first line, each column as its kind says.
QString semicolonTextOptions(const std::vector<ColumnKind>& columns);

// Opens a written file with these columns in the spreadsheet. When nothing can open it, says so
// (throws); the file stays.
void openSemicolonText(AppState& s, const QString& path, const std::vector<ColumnKind>& columns);

} // namespace zelmar
