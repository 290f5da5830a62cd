#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>

namespace zelmar {

struct AppState;

// The text files the register opens in the spreadsheet (the export of the working card file,
// the list of templates): Windows-1251, every cell followed by ";", lines ended by CR LF.

// Appends a cell and its ";". A cell holding ";", '"' or a line break is put in quotes (a '"'
// inside doubled), so it stays one cell and the cells after it stay in their columns.
void appendCell(QByteArray& line, QByteArrayView cell);

// The spreadsheet's text import options for such a file of `columns` columns: separator ";",
// text delimiter '"', Windows-1251, from the first line, every column as text, so "001" and
// "12.03.12" stay as typed.
QString semicolonTextOptions(int columns);

// Opens a written file of `columns` columns in the spreadsheet. When nothing can open it, says
// so (throws); the file stays.
void openSemicolonText(AppState& s, const QString& path, int columns);

// How the text import reads a column: as the spreadsheet sees fit (a number as a number), as
// text (leading zeros and all), or as a date written day.month.year.
enum class ImportColumn { Standard = 1, Text = 2, DayMonthYear = 4 };

// The import options for columns of these kinds; a number is read as Russian writes it
// ("16,7").
QString semicolonTextOptions(const QList<ImportColumn>& columns);
void openSemicolonText(AppState& s, const QString& path, const QList<ImportColumn>& columns);

} // namespace zelmar
