// The register book's marking and the spreadsheet export at 1M main cards and 100k working
// cards (the unprinted ones the start gathers): the marking beside one plain read of the main
// card file plus a plain write of the marked records; the export beside a plain read of the
// working card file.
//   bench_register_book [MAIN-CARDS] [UNPRINTED-SHARE]
#include "BenchSupport.h"
#include "core/editor/AppState.h"
#include "core/editor/MainWindowEvents.h"
#include "core/platform/Clock.h"
#include "core/platform/ScriptedPrompts.h"
#include "core/platform/Shell.h"
#include "core/reports/RegisterBook.h"
#include "core/reports/SpreadsheetExport.h"
#include "gen/Generator.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cstdio>
#include <fcntl.h>
#include <unistd.h>
#include <vector>

using namespace zelmar;

namespace {

// Writes `bytes` in 1 MiB blocks and syncs: what writing the marked records costs at least.
void plainWrite(const QString& path, qint64 bytes) {
    const int fd = ::open(path.toLocal8Bit().constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    std::vector<char> block(1 << 20, 'x');
    for (qint64 done = 0; done < bytes; done += static_cast<qint64>(block.size())) {
        const auto n = static_cast<size_t>(std::min<qint64>(bytes - done, block.size()));
        if (::write(fd, block.data(), n) < 0)
            break;
    }
    ::fdatasync(fd);
    ::close(fd);
}

// Puts the cards of the working card file back to "not in the book" in the main card file.
void unmark(AppState& s) {
    for (qint64 i = 0; i < s.working.size(); ++i) {
        const TAnketa card = s.working.readAt(i);
        const auto found = s.main.findNumberAndDay(MainCardFile::numberAndDay(card));
        const std::vector<std::int32_t> records(found.begin(), found.end());
        for (const std::int32_t record : records) {
            TAnketa c = s.main.readAt(record);
            c.PrintNet = 0;
            s.main.put(record, &c);
        }
    }
    s.main.sync();
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    gen::Options options;
    options.cards = arguments.size() > 1 ? arguments[1].toLongLong() : 1000000;
    options.unprintedShare = arguments.size() > 2 ? arguments[2].toDouble() : 0.1;
    QTemporaryDir dir;
    gen::makeInstallation(dir.path(), options);
    const QString mainPath = dir.path() + QStringLiteral("/Baza/Anketi.dat");
    const QString workingPath = dir.path() + QStringLiteral("/Temp/RabAnket.dat");

    FixedClock clock(options.lastDay + 0.5);
    ScriptedPrompts prompts;
    prompts.onUnscripted = [](const QString&) {};
    RecordingShell shell;
    AppState s(Paths(dir.path()), clock, prompts, shell);
    FormCreate(s); // the unprinted cards go into the working card file
    const qint64 working = s.working.size();
    std::printf("%lld main cards (%.0f MiB), %lld working cards (%.0f MiB):\n",
                static_cast<long long>(s.main.size()),
                static_cast<double>(s.main.size()) * TAnketa::Size / (1 << 20),
                static_cast<long long>(working),
                static_cast<double>(working) * TAnketa::Size / (1 << 20));

    // The marking: every working card stands for one unmarked main card.
    const double read = bench::timeIt([&] { bench::plainRead(mainPath); });
    const QString scratch = dir.path() + QStringLiteral("/scratch");
    const double write =
        bench::timeIt([&] { plainWrite(scratch, working * qint64(TAnketa::Size)); });
    const double yardstick = read + write;
    bench::printRow(QStringLiteral("plain read of the main file + write of the marked"), yardstick,
                    yardstick);
    double marking = 1e30;
    qint64 marked = 0;
    for (int run = 0; run < 3; ++run) {
        unmark(s);
        marking = std::min(marking, bench::timeIt([&] { marked = markRegisterBookPrinted(s); }, 1));
    }
    bench::printRow(QStringLiteral("marking after the register book (%1 cards)").arg(marked),
                    marking, yardstick);
    // The same right after the main card file was opened anew: the index is built first.
    unmark(s);
    s.main.close();
    s.main.openForUpdate(mainPath);
    const double fresh = bench::timeIt([&] { markRegisterBookPrinted(s); }, 1);
    bench::printRow(QStringLiteral("the same, the index built first"), fresh, yardstick);

    // The export of the working card file, every column.
    const double plain = bench::timeIt([&] { bench::plainRead(workingPath); });
    bench::printRow(QStringLiteral("plain read of the working file"), plain, plain);
    ExportColumns all;
    all.fill(true);
    TAnketa last;
    const QString exportPath = dir.path() + QStringLiteral("/L_Excel.txt");
    const double exported =
        bench::timeIt([&] { writeWorkingFileExport(s, all, exportPath, last); });
    bench::printRow(
        QStringLiteral("export to L_Excel.txt (%1 MiB)")
            .arg(static_cast<double>(QFileInfo(exportPath).size()) / (1 << 20), 0, 'f', 1),
        exported, plain);
    std::printf("peak memory: %.1f MiB\n", bench::peakMemoryMiB());
    return 0;
}
