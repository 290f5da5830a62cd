// The print selection and filter windows at 1M cards: opening (the main table), sorting by a
// column, typing a number, marking a card as printed, a filter selection beside a plain read.
#include "BenchSupport.h"
#include "core/editor/AppState.h"
#include "core/editor/MainWindowEvents.h"
#include "core/platform/Clock.h"
#include "core/platform/ScriptedPrompts.h"
#include "core/platform/Shell.h"
#include "core/reports/PrintSelection.h"
#include "core/search/FilterWindow.h"
#include "core/texts/DayNumber.h"
#include "gen/Generator.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <cstdio>

using namespace zelmar;

namespace {

// A gauge that counts how often it is drawn.
class CountingProgress : public Progress {
public:
    int shown = 0;

protected:
    void show(int, int) override { ++shown; }
};

double millis(double seconds) {
    return seconds * 1000;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const qint64 cards = argc > 1 ? QString::fromLocal8Bit(argv[1]).toLongLong() : 1000000;
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
    CountingProgress gauge;
    s.progress = &gauge;
    FormCreate(s);
    PrintSelection p(s);

    std::printf("%lld cards (%.0f MiB):\n", static_cast<long long>(cards),
                static_cast<double>(cards) * TAnketa::Size / (1 << 20));
    const double plain = bench::timeIt([&] { bench::plainRead(mainPath); });
    bench::printRow(QStringLiteral("plain sequential read"), plain, plain);

    const double open = bench::timeIt([&] {
        PrintFormActivate(s, p, true);
        // The first screen of rows is painted.
        for (int row = 0; row < 40; ++row)
            for (int column = 0; column < PrintGridModel::ColumnCount; ++column)
                p.Tabl.data(p.Tabl.index(row, column));
    });
    bench::printRow(QStringLiteral("opening the window (main table, first screen)"), open, plain);

    for (const int column : {int(PrintGridModel::GurN), int(PrintGridModel::Date),
                             int(PrintGridModel::Zayavitel), int(PrintGridModel::Adres)}) {
        p.sortColumn = column;
        const double sort = bench::timeIt([&] { SortirClick(s, p); }, 1);
        bench::printRow(QStringLiteral("sort by column %1").arg(column), sort, plain);
    }
    std::printf("  first rows by address: %s | %s\n",
                qPrintable(p.Tabl.data(p.Tabl.index(0, PrintGridModel::Adres)).toString()),
                qPrintable(p.Tabl.data(p.Tabl.index(1, PrintGridModel::Adres)).toString()));

    // Typing a number in the sorted table; the last keystroke matches nothing.
    p.KoDat = clock.today();
    double slowest = 0;
    for (const char* typed : {"7", "77", "777", "7777", "77777", "777777"}) {
        p.NomOtk = QString::fromLatin1(typed);
        slowest = std::max(slowest, bench::timeIt([&] { NomOtkChange(s, p); }, 1));
    }
    std::printf("  %-52s %9.1f ms\n", "typing a number, slowest keystroke", millis(slowest));

    p.TablRow = cards / 2;
    const double mark = bench::timeIt([&] { EstNet(s, p, 1); });
    std::printf("  %-52s %9.1f ms\n", "mark a row printed (EstNet)", millis(mark));
    p.activeTable = PrintSelection::Main;
    TablMouseDown(s, p, PrintSelection::Main, cards / 3, PrintGridModel::Zayavitel);
    const double pick =
        bench::timeIt([&] { TablMouseDown(s, p, PrintSelection::Main, cards / 3, 2); });
    std::printf("  %-52s %9.1f ms\n", "picking a row", millis(pick));

    FilterForm f;
    FiltrFormActivate(s, f);
    f.conditions.NaSE = 1;
    f.conditions.KoSE = 999999;
    f.conditions.KUPDataN = 0;
    f.conditions.Zayavitel = QStringLiteral("иванов");
    gauge.shown = 0;
    const double filter = bench::timeIt([&] {
        ProgressScope scope(gauge);
        GlWibClick(s, f, p);
    });
    bench::printRow(
        QStringLiteral("filter from the main file (applicant): %1 cards").arg(s.working.size()),
        filter, plain);
    std::printf("  (the gauge was drawn %d times in 3 runs)\n", gauge.shown);
    f.PRNPost = FilterForm::Set;
    const double marking = bench::timeIt([&] { GlWibClick(s, f, p); });
    bench::printRow(QStringLiteral("the same, marking them printed"), marking, plain);
    f.PRNPost = FilterForm::Leave;
    f.conditions.Zayavitel.clear();
    const double everything = bench::timeIt([&] { GlWibClick(s, f, p); }, 1);
    bench::printRow(QStringLiteral("filter selecting every card (%1)").arg(s.working.size()),
                    everything, plain);
    std::printf("peak memory: %.1f MiB\n", bench::peakMemoryMiB());
    return 0;
}
