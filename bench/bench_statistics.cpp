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

#include <cstdio>

using namespace zelmar;

namespace {

// Meters that count what they are shown, as a window's would be asked to.
class CountingProgress : public Progress {
public:
    int shown = 0;

protected:
    void show(int, int) override { ++shown; }
};

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    for (const qint64 cards : {100000LL, 1000000LL}) {
        const QString path = dir.path() + QStringLiteral("/Anketi%1.dat").arg(cards);
        gen::Options options;
        options.cards = cards;
        gen::writeCardFile(path, options);
        std::printf("%lld cards (%.0f MiB):\n", static_cast<long long>(cards),
                    static_cast<double>(cards) * TAnketa::Size / (1 << 20));

        const double plain = bench::timeIt([&] { bench::plainRead(path); });
        bench::printRow(QStringLiteral("plain sequential read"), plain, plain);

        TypedFile<TAnketa> file;
        file.openForReading(path);
        const double whole = dateOf(options.lastDay).year() - options.years;
        const struct {
            const char* what;
            StatQuery query;
        } runs[] = {
            {"all years by month",
             {dayNumber(QDate(int(whole), 1, 1)), options.lastDay, StatGrouping::Month, false}},
            {"all years by who issued",
             {dayNumber(QDate(int(whole), 1, 1)), options.lastDay, StatGrouping::Official, false}},
            {"all years by motive",
             {dayNumber(QDate(int(whole), 1, 1)), options.lastDay, StatGrouping::Motive, false}},
            {"one month by quarter",
             {options.lastDay - 30, options.lastDay, StatGrouping::Quarter, false}},
        };
        for (const auto& run : runs) {
            CountingProgress progress;
            qint64 counted = 0;
            const double took = bench::timeIt([&] {
                counted = countStatistics(run.query, file, nullptr, progress).total.materials;
            });
            bench::printRow(QStringLiteral("statistics, %1 (%2 cards)")
                                .arg(QLatin1String(run.what))
                                .arg(counted),
                            took, plain);
        }
    }
    std::printf("peak memory: %.1f MiB\n", bench::peakMemoryMiB());
    return 0;
}
