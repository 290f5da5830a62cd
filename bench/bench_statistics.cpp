// The statistics of a period: one pass over the main card file, beside a plain sequential read
// of the same file. The target: at 1,000,000 cards at most 1.5 times the plain read.
#include "BenchSupport.h"
#include "core/platform/Progress.h"
#include "core/reports/Statistics.h"
#include "core/store/RecordFile.h"
#include "core/texts/DayNumber.h"
#include "gen/Generator.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <functional>

using namespace zelmar;

namespace {

// The wall time and the processor time of one run of body, in seconds.
std::pair<double, double> timed(const std::function<void()>& body) {
    const auto cpu = [] {
        timespec t{};
        clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
        return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
    };
    const double cpuStart = cpu();
    const auto start = std::chrono::steady_clock::now();
    body();
    const std::chrono::duration<double> wall = std::chrono::steady_clock::now() - start;
    return {wall.count(), cpu() - cpuStart};
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    for (const qint64 cards : {100000LL, 1000000LL}) {
        const QString path = bench::generatedCardFile(dir.path(), cards);
        const double plain = bench::plainReadRow(path);
        const gen::Options options; // the generator's years, as generatedCardFile made them

        TypedFile<TAnketa> file;
        file.openForReading(path);
        // From the first day of the first generated year.
        const double first = dayNumber(QDate(dateOf(options.lastDay).year() - options.years, 1, 1));
        const struct {
            const char* what;
            StatQuery query;
        } runs[] = {
            {"all years by month", {first, options.lastDay, StatGrouping::Month, false}},
            {"all years by who issued", {first, options.lastDay, StatGrouping::Official, false}},
            {"all years by motive", {first, options.lastDay, StatGrouping::Motive, false}},
            {"one month by quarter",
             {options.lastDay - 30, options.lastDay, StatGrouping::Quarter, false}},
        };
        for (const auto& run : runs) {
            NoProgress progress;
            qint64 counted = 0;
            // The pass and the plain read take turns, so both meet the machine as it is (other
            // work on it changes a read's time by half); each at its best.
            const auto pass = [&] {
                counted = countStatistics(run.query, file, nullptr, progress).total.materials;
            };
            // Wall time of the best run, and the processor time the process spent (the
            // kernel's copying included), which other work on the machine disturbs less.
            double took = 1e30, tookCpu = 1e30;
            double yardstick = plain, yardstickCpu = 1e30;
            for (int round = 0; round < 5; ++round) {
                const auto [wall, cpu] = timed([&] { bench::plainRead(path); });
                yardstick = std::min(yardstick, wall);
                yardstickCpu = std::min(yardstickCpu, cpu);
                const auto [passWall, passCpu] = timed(pass);
                took = std::min(took, passWall);
                tookCpu = std::min(tookCpu, passCpu);
            }
            const QString what = QStringLiteral("statistics, %1 (%2 cards)")
                                     .arg(QLatin1String(run.what))
                                     .arg(counted);
            bench::printRow(what, took, yardstick);
            bench::printRow(
                QStringLiteral("  processor time (read: %1 s)").arg(yardstickCpu, 0, 'f', 3),
                tookCpu, yardstickCpu);
        }
    }
    std::printf("peak memory: %.1f MiB\n", bench::peakMemoryMiB());
    return 0;
}
