#pragma once

#include "core/reports/ReportKinds.h"
#include "core/store/TAnketa.h"

#include <QString>

#include <chrono>
#include <functional>
#include <vector>

namespace zelmar::bench {

// Seconds one run of body takes (best of `runs`).
double timeIt(const std::function<void()>& body, int runs = 3);

// A plain sequential read of a whole file in 1 MiB blocks, the yardstick of the benchmarks.
void plainRead(const QString& path);
// A plain copy of a file, block by block, synced at the end.
void plainCopy(const QString& from, const QString& to);

// Drops the file's pages from the cache where the system allows, so runs start alike.
void dropCache(const QString& path);

// Peak resident memory of the process so far, in MiB.
double peakMemoryMiB();

void printRow(const QString& what, double seconds, double yardstick);

// `count` generated cards of one year, in register order.
std::vector<TAnketa> generateCards(qint64 count);
// The shipped template of a report.
QString shippedTemplate(const ReportKind& kind);
// Writes a main card file of generated cards into folder, says how large it is, and returns
// its path.
QString generatedCardFile(const QString& folder, qint64 cards);
// Times a plain sequential read of the file and prints it as the yardstick row; returns it.
double plainReadRow(const QString& path);

} // namespace zelmar::bench
