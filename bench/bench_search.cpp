// The search window at 100k and 1M cards: "Найти" with a realistic query beside a plain
// sequential read of the same main card file, and the time of each forward and backward step
// when matches are sparse.
#include "BenchSupport.h"
#include "core/editor/AppState.h"
#include "core/editor/MainWindowEvents.h"
#include "core/platform/Clock.h"
#include "core/platform/ScriptedPrompts.h"
#include "core/platform/Shell.h"
#include "core/search/SearchWindow.h"
#include "core/texts/DayNumber.h"
#include "gen/Generator.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <chrono>
#include <cstdio>

using namespace zelmar;

namespace {

struct Steps {
    int presses = 0;
    double slowest = 0;
    double total = 0;
};

// Presses a step button until the search is over, timing each press.
template <class Step, class Over>
Steps pressUntilOver(Step step, Over over) {
    Steps steps;
    do {
        const auto start = std::chrono::steady_clock::now();
        step();
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        ++steps.presses;
        steps.slowest = std::max(steps.slowest, took.count());
        steps.total += took.count();
    } while (!over());
    return steps;
}

void printSteps(const char* what, const Steps& steps) {
    std::printf("  %-40s %4d presses, slowest %7.1f ms, mean %7.1f ms\n", what, steps.presses,
                steps.slowest * 1000, steps.total * 1000 / steps.presses);
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    for (const qint64 cards : {100000LL, 1000000LL}) {
        QTemporaryDir dir;
        gen::Options options;
        options.cards = cards;
        gen::makeInstallation(dir.path(), options);
        const QString mainPath = dir.path() + QStringLiteral("/Baza/Anketi.dat");

        FixedClock clock(options.lastDay + 0.5);
        ScriptedPrompts prompts;
        prompts.onUnscripted = [](const QString&) {};
        RecordingShell shell;
        AppState s(Paths(dir.path()), clock, prompts, shell);
        FormCreate(s);
        SearchForm f;
        PoiskFormActivate(s, f);

        std::printf("%lld cards (%.0f MiB):\n", static_cast<long long>(cards),
                    static_cast<double>(cards) * TAnketa::Size / (1 << 20));
        const double plain = bench::timeIt([&] { bench::plainRead(mainPath); });
        const double peakBefore = bench::peakMemoryMiB();
        bench::printRow(QStringLiteral("plain sequential read"), plain, plain);

        // Numbers 1..9999 of each year, decisions since 2012, an applicant Иванов.
        f.conditions.NaDat = dayNumber(QDate(2012, 1, 1));
        f.conditions.Zayavitel = QStringLiteral("иванов");
        const double all = bench::timeIt([&] { WsehSrazuClick(s, f); });
        bench::printRow(QStringLiteral("find all (numbers, dates, applicant)"), all, plain);
        std::printf("  found %d cards (%.2f%%)\n", f.SearchCount,
                    100.0 * f.SearchCount / static_cast<double>(cards));

        // One register number of each year since 2012: a find every ~5% of the file.
        f.conditions.Zayavitel.clear();
        f.conditions.NaSE = f.conditions.KoSE = 777;
        sBeginClick(s, f);
        printSteps("next (number 777)",
                   pressUntilOver([&] { sNextClick(s, f); }, [&] { return s.main.eof(); }));
        sEndClick(s, f);
        printSteps("previous (number 777)", pressUntilOver([&] { sPredClick(s, f); },
                                                           [&] { return f.SearchBackPos == -1; }));
        // Nothing matches: one press reads the whole file.
        f.conditions.NaSE = f.conditions.KoSE = 999999;
        sBeginClick(s, f);
        printSteps("next (no match)",
                   pressUntilOver([&] { sNextClick(s, f); }, [&] { return s.main.eof(); }));
        std::printf("  peak memory %.1f MiB, of which the searches added %.1f MiB\n",
                    bench::peakMemoryMiB(), bench::peakMemoryMiB() - peakBefore);
    }
    return 0;
}
