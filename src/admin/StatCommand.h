#pragma once

#include "admin/CommandLine.h"

#include <QByteArray>
#include <QString>

namespace zelmar {
struct AppState;
struct StatTable;
} // namespace zelmar

namespace zelmar::admin {

// stat: the statistics of a period from the main card file (and the archive), printed as the
// window's table; with --csv also written as CSV.
int statistics(AppState& s, const Options& o);

// The table as aligned text for the console: a title line, the headings, the groups, "Итого".
QString statisticsConsoleText(const StatTable& table);
// The table as CSV for other programs (RFC 4180): UTF-8, CR LF, the headings first; the share
// with a decimal point.
QByteArray statisticsCsv(const StatTable& table);

} // namespace zelmar::admin
