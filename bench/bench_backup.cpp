// Leaving with a backup of a base folder of 1M cards (about 1.2 GB), beside Info-ZIP's
// `zip -6 -q` on the same files; restoring that archive; compacting the main card file beside a
// synced plain copy of it.   zelmar bench_backup [CARDS]
#include "BenchSupport.h"
#include "core/backup/Backup.h"
#include "core/backup/Compaction.h"
#include "core/backup/DeletionMarks.h"
#include "core/backup/Restore.h"
#include "core/editor/AppState.h"
#include "core/editor/MainWindowEvents.h"
#include "core/platform/Clock.h"
#include "core/platform/ScriptedPrompts.h"
#include "core/platform/Shell.h"
#include "gen/Generator.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <cstdio>

using namespace zelmar;

namespace {

double mib(qint64 bytes) {
    return static_cast<double>(bytes) / (1 << 20);
}

qint64 folderBytes(const QString& folder) {
    qint64 total = 0;
    for (const QFileInfo& entry : QDir(folder).entryInfoList(QDir::Files))
        total += entry.size();
    return total;
}

// Meters that only count what they are shown, as a window's panel would be repainted.
class CountingProgress : public Progress {
public:
    int shown = 0;

protected:
    void show(int, int) override { ++shown; }
};

// Every hundredth card marked for deletion.
void markEveryHundredth(const QString& path) {
    CardFile file;
    file.openForUpdate(path);
    for (qint64 record = 0; record < file.size(); record += 100) {
        TAnketa card = file.readAt(record);
        card.Otmetka = QStringLiteral("уд");
        file.seek(record);
        file.write(card);
    }
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const qint64 cards = argc > 1 ? QByteArray(argv[1]).toLongLong() : 1000000;
    QTemporaryDir dir;
    gen::Options options;
    options.cards = cards;
    gen::makeInstallation(dir.path(), options);
    const QString base = dir.path() + QStringLiteral("/Baza");
    const QString main = base + QStringLiteral("/Anketi.dat");
    markEveryHundredth(main);

    FixedClock clock(46363.5);
    ScriptedPrompts prompts;
    RecordingShell shell;
    AppState s(Paths(dir.path()), clock, prompts, shell);
    FormCreate(s);
    std::printf("%lld cards, base folder %.1f MiB:\n", static_cast<long long>(cards),
                mib(folderBytes(base)));

    // Info-ZIP on the same files.
    QStringList files = QDir(base).entryList(QDir::Files, QDir::Name);
    const QString zipped = dir.path() + QStringLiteral("/infozip.zip");
    const double infoZip = bench::timeIt([&] {
        QFile::remove(zipped);
        QProcess zip;
        zip.setWorkingDirectory(base);
        zip.start(QStringLiteral("zip"),
                  QStringList{QStringLiteral("-6"), QStringLiteral("-q"), zipped} + files);
        zip.waitForFinished(-1);
    });
    bench::printRow(QStringLiteral("zip -6 -q (Info-ZIP, not synced)"), infoZip, infoZip);

    QString made;
    CountingProgress meters;
    s.progress = &meters;
    const double backup = bench::timeIt([&] {
        ProgressScope scope(meters);
        made = makeBackup(s);
    });
    const QString archive = dir.path() + QStringLiteral("/Backup/") + made;
    bench::printRow(QStringLiteral("backup at exit (libzip, .part synced and renamed)"), backup,
                    infoZip);
    std::printf("  meter updates shown: %d over three backups\n", meters.shown);
    std::printf("  archive sizes: ours %.1f MiB, zip's %.1f MiB (%.3fx)\n",
                mib(QFileInfo(archive).size()), mib(QFileInfo(zipped).size()),
                static_cast<double>(QFileInfo(archive).size()) / QFileInfo(zipped).size());

    closeAllFiles(s);
    const double restore = bench::timeIt([&] { restoreBaseFolder(s, archive); }, 1);
    bench::printRow(QStringLiteral("restore of that archive (checked, synced)"), restore, infoZip);
    FormCreate(s);

    std::printf("Compaction (every hundredth card marked):\n");
    const double copy =
        bench::timeIt([&] { bench::plainCopy(main, dir.path() + QStringLiteral("/copy.dat")); });
    QFile::remove(dir.path() + QStringLiteral("/copy.dat"));
    bench::printRow(QStringLiteral("plain copy of the main card file (synced)"), copy, copy);
    const double toArchive = bench::timeIt(
        [&] {
            prompts.choose(2).yes().ok();
            N20Click(s);
        },
        1);
    bench::printRow(QStringLiteral("compaction, marked cards to the archive, renumbered"),
                    toArchive, copy);
    const double drop = bench::timeIt([&] {
        prompts.choose(1).no().ok();
        N20Click(s);
    });
    bench::printRow(QStringLiteral("compaction, nothing marked any more"), drop, copy);
    std::printf("  cards now: %lld, in the archive: %lld; peak memory %.0f MiB\n",
                static_cast<long long>(s.main.size()), static_cast<long long>(s.archive.size()),
                bench::peakMemoryMiB());
    return 0;
}
