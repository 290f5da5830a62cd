#pragma once

#include <QDate>
#include <QString>

namespace zelmar {

// Merges a report data file into its RTF template and writes the result whole or not at all.
// Besides the data file's tags (#gn#, #D_w#, ...), the template may hold #count# (the number of
// cards) and #today# (the date of printing). Throws DocumentError or IoError with the reason.
void mergeReport(const QString& dataPath, const QString& templatePath, const QString& resultPath,
                 const QDate& today);

} // namespace zelmar
