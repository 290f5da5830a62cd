#pragma once

#include "core/reports/ReportKinds.h"
#include "core/store/TAnketa.h"

#include <QString>

namespace zelmar {

struct AppState;

// The report runner: beside the register's program, else found through PATH.
QString reportRunnerProgram();

// Starts the runner twice on a report, without waiting: "/m" makes the result, "/p" opens it.
// A start that fails is not reported.
void startReportRunner(AppState& s, const ReportKind& kind);

// A single-card report of one card, then the runner.
void writeCardReport(AppState& s, const ReportKind& kind, const TAnketa& card);
// "Полная карточка" and "Карточка отказного материала": the card in the card buffer as a
// single-card data file, then the runner.
void WriteFullCard(AppState& s);
void WriteStandardCard(AppState& s);

// A report of every card of the working card file, in file order, then the runner. The card
// buffer of the window that asked (`buffer`) holds the last card of the file afterwards (it is
// left as it was for an empty file).
void writeWorkingFileReport(AppState& s, const ReportKind& kind, TAnketa& buffer);

} // namespace zelmar
