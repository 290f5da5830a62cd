#pragma once

#include <QByteArray>
#include <QIODevice>
#include <QString>

namespace zelmar {

class RecordFile;

// The cards of a card file as CSV for other programs (RFC 4180): UTF-8, lines ended by CR LF,
// a heading of the field names, then one line per card with every field of the record in
// record order. A field holding a comma, a quote or a line break is quoted. Dates are
// dd.mm.yyyy (the two stamps with the time, hh:mm:ss); the empty date 01.01.1901 and a date
// outside the calendar are empty. path names the output in error messages.
void writeCardsCsv(RecordFile& cards, QIODevice& out, const QString& path);

// Appends a field of such a CSV, quoted when it holds a comma, a quote or a line break.
void appendCsvField(QByteArray& line, const QByteArray& value);

} // namespace zelmar
