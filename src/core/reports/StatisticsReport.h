#pragma once

#include "core/reports/ReportKinds.h"

#include <QByteArray>
#include <QDate>
#include <QIODevice>
#include <QString>

namespace zelmar {

struct AppState;
struct StatTable;

namespace reports {
// The statistics: REPORT\StatDat.txt, StatPic.rtf, StatRep.rtf. Its data file has a layout of
// its own (below); the layout named here is not used for it.
inline constexpr ReportKind Statistics{u"Stat", ReportLayout::MultiCard};
} // namespace reports

// The statistics data file: Windows-1251, CR LF. The heading as "|0:" lines (StatS, StatPo,
// StatGrup, StatArhiv), one line of "|1:" pieces per group (Gruppa, Materialow, Prowereno,
// Otmeneno, Dolya, NeProwereno, WozbDel, Prodleno, NeWKnige), the totals as "|0:" lines
// (It_Materialow ... It_NeWKnige), then one empty line.
void writeStatisticsData(QIODevice& device, const StatTable& table, const QString& path);

// "Печать": the data file REPORT\StatDat.txt (whole or not at all), then the report runner,
// as every report.
void printStatistics(AppState& s, const StatTable& table);

// Whether the bytes of a data file are the statistics'.
bool isStatisticsData(const QByteArray& data);

// Merges a statistics data file into its RTF template; `what` names the template, `dataName`
// the data file in messages. Besides the data file's tags the template may hold #count# (the
// groups) and #today#. Writes the result whole or not at all; throws DocumentError or IoError.
void mergeStatistics(const QByteArray& data, const QString& dataName, const QByteArray& rtf,
                     const QString& what, const QString& resultPath, const QDate& today);

// The names of the data file's tags in order: heading, group, totals.
const QStringList& statisticsTags();

} // namespace zelmar
