// Start-up of the register (the main window's create event: files opened, index built, grid
// ready, unprinted cards gathered into the working card file) at 10k, 100k and 1M cards, beside
// a plain read of the main card file plus a plain write of the working card file; then Save of a
// changed card and of a new card at 1k and 100k cards.
#include "BenchSupport.h"
#include "core/editor/AppState.h"
#include "core/editor/CardCommands.h"
#include "core/editor/MainWindowEvents.h"
#include "core/editor/Navigation.h"
#include "core/platform/Clock.h"
#include "core/platform/ScriptedPrompts.h"
#include "core/platform/Shell.h"
#include "gen/Generator.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>
#include <fcntl.h>
#include <unistd.h>
#include <vector>

using namespace zelmar;

namespace {

void plainWrite(const QString& path, qint64 bytes) {
    const int fd = ::open(path.toLocal8Bit().constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    std::vector<char> block(1 << 20, 'x');
    for (qint64 done = 0; done < bytes; done += static_cast<qint64>(block.size())) {
        const auto n = static_cast<size_t>(std::min<qint64>(bytes - done, block.size()));
        if (::write(fd, block.data(), n) < 0)
            break;
    }
    ::close(fd);
}

struct Started {
    FixedClock clock{46363.5};
    ScriptedPrompts prompts;
    RecordingShell shell;
    std::unique_ptr<AppState> state;
};

void startIn(Started& run, const QString& root) {
    run.state = std::make_unique<AppState>(Paths(root), run.clock, run.prompts, run.shell);
    FormCreate(*run.state);
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;

    std::printf("Start-up (create event to a filled grid and working card file):\n");
    for (const qint64 cards : {10000LL, 100000LL, 1000000LL}) {
        const QString root = dir.path() + QStringLiteral("/r%1").arg(cards);
        gen::Options options;
        options.cards = cards;
        gen::makeInstallation(root, options);
        const QString main = root + QStringLiteral("/Baza/Anketi.dat");
        const qint64 workingBytes =
            static_cast<qint64>(static_cast<double>(cards) * options.unprintedShare) *
            TAnketa::Size;
        std::printf(" %lld cards:\n", static_cast<long long>(cards));
        const double plain = bench::timeIt([&] {
            bench::plainRead(main);
            plainWrite(root + QStringLiteral("/plain.dat"), workingBytes);
        });
        bench::printRow(QStringLiteral("plain read + working-file write"), plain, plain);
        Started run;
        const double start = bench::timeIt([&] { startIn(run, root); });
        bench::printRow(QStringLiteral("start-up"), start, plain);
        std::printf("   grid rows %d, working cards %lld, peak memory %.1f MiB\n",
                    run.state->Spisok.rowCount(), static_cast<long long>(run.state->working.size()),
                    bench::peakMemoryMiB());
        run.state.reset();
        QFile::remove(main);
    }

    std::printf("Save (each store synced to disk; mean of 30):\n");
    for (const qint64 cards : {1000LL, 100000LL}) {
        const QString root = dir.path() + QStringLiteral("/s%1").arg(cards);
        gen::Options options;
        options.cards = cards;
        gen::makeInstallation(root, options);
        Started run;
        startIn(run, root);
        AppState& s = *run.state;
        constexpr int kRuns = 30;
        SpisokMouseDown(s, cards / 2);
        const double changed = bench::timeIt(
            [&] {
                for (int i = 0; i < kRuns; ++i) {
                    s.form.FIOAvtor = QStringLiteral("Изменено %1").arg(i);
                    nSaveClick(s);
                }
            },
            1);
        const double added = bench::timeIt(
            [&] {
                for (int i = 0; i < kRuns; ++i) {
                    nNewClick(s);
                    run.clock.advance(0.0001);
                    nSaveClick(s);
                }
            },
            1);
        std::printf(" %7lld cards: changed card %.3f ms, new card %.3f ms\n",
                    static_cast<long long>(cards), changed * 1000 / kRuns, added * 1000 / kRuns);
    }
    return 0;
}
