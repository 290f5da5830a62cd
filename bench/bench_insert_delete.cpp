// Delete and Insert after at 100k cards (each one pass over the main card file, the new file
// synced and renamed over the old one), beside a plain copy of the main card file.
#include "BenchSupport.h"
#include "core/editor/AppState.h"
#include "core/editor/InsertDelete.h"
#include "core/editor/MainWindowEvents.h"
#include "core/editor/Navigation.h"
#include "core/platform/Clock.h"
#include "core/platform/ScriptedPrompts.h"
#include "core/platform/Shell.h"
#include "gen/Generator.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <cstdio>

using namespace zelmar;

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    constexpr qint64 kCards = 100000;
    gen::Options options;
    options.cards = kCards;
    gen::makeInstallation(dir.path(), options);
    const QString main = dir.path() + QStringLiteral("/Baza/Anketi.dat");

    FixedClock clock(46363.5);
    ScriptedPrompts prompts;
    RecordingShell shell;
    AppState s(Paths(dir.path()), clock, prompts, shell);
    FormCreate(s);

    std::printf("%lld cards:\n", static_cast<long long>(kCards));
    const double copy =
        bench::timeIt([&] { bench::plainCopy(main, dir.path() + QStringLiteral("/copy.dat")); });
    bench::printRow(QStringLiteral("plain copy of the main card file (synced)"), copy, copy);

    const double insert = bench::timeIt([&] {
        SpisokMouseDown(s, kCards / 2);
        prompts.yes();
        nWstavitClick(s);
        clock.advance(0.001);
    });
    bench::printRow(QStringLiteral("Insert after (new main + working copy)"), insert, copy);

    const double erase = bench::timeIt([&] {
        SpisokMouseDown(s, kCards / 2);
        prompts.choose(1);
        nDeleteClick(s);
    });
    bench::printRow(QStringLiteral("Delete (erase)"), erase, copy);
    std::printf("  cards now: %lld\n", static_cast<long long>(s.main.size()));
    return 0;
}
