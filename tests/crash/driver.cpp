// The commands that span several files, run from the command line on an installation folder,
// so that a script can kill them at random moments (scripts/kill-test):
//   zelmar_crash_driver FOLDER delete-to-archive RECORD   Delete -> "В Архив" of a card
//   zelmar_crash_driver FOLDER compact-to-archive         compaction -> "В Архив", renumbered
//   zelmar_crash_driver FOLDER restore ARCHIVE            restore of the base folder
//   zelmar_crash_driver FOLDER backup                     a backup, printing its file name
//   zelmar_crash_driver FOLDER settle                     what the next start does first
//   zelmar_crash_driver FOLDER verify KEYS                every card (one a line in the file
//                                                         KEYS) in exactly one card file,
//                                                         nothing left over
// Exit status 0 when the command (or the check) went through.

#include "core/backup/Backup.h"
#include "core/backup/Compaction.h"
#include "core/backup/DeletionMarks.h"
#include "core/backup/Leftovers.h"
#include "core/backup/Restore.h"
#include "core/editor/AppState.h"
#include "core/editor/InsertDelete.h"
#include "core/editor/MainWindowEvents.h"
#include "core/editor/Navigation.h"
#include "core/platform/Clock.h"
#include "core/platform/Errors.h"
#include "core/platform/ScriptedPrompts.h"
#include "core/platform/Shell.h"
#include "core/store/Paths.h"
#include "core/store/RecordFile.h"

#include <QCoreApplication>
#include <QFile>
#include <QHash>

#include <cstdio>

using namespace zelmar;

namespace {

int fail(const QString& text) {
    std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
    return 1;
}

QHash<int, int> keysOf(const QString& path) {
    QHash<int, int> keys;
    if (!QFile::exists(path))
        return keys; // a card file not made yet holds no card
    TypedFile<TAnketa> file;
    file.openForReading(path);
    for (qint64 i = 0; i < file.size(); ++i)
        ++keys[file.readAt(i).Klu4Form1];
    return keys;
}

// Every card of the folder is in exactly one card file: as many cards as keys in the list
// (renumbering may change the keys), no key twice, nothing left over.
int verify(const QString& root, const QString& keysFile) {
    const Paths paths(root);
    QHash<int, int> keys = keysOf(paths.local(files::MainCards));
    for (auto [key, count] : keysOf(paths.local(files::ArchiveCards)).asKeyValueRange())
        keys[key] += count;
    QFile list(keysFile);
    if (!list.open(QIODevice::ReadOnly))
        return fail(QStringLiteral("no keys file"));
    const qsizetype expected = list.readAll().trimmed().split('\n').size();
    qint64 cards = 0;
    for (auto [key, count] : keys.asKeyValueRange()) {
        if (count != 1)
            return fail(QStringLiteral("key %1 on %2 cards").arg(key).arg(count));
        cards += count;
    }
    if (cards != expected)
        return fail(QStringLiteral("%1 cards instead of %2").arg(cards).arg(expected));
    if (const QStringList left = interruptedWork(root); !left.isEmpty())
        return fail(QStringLiteral("left over: ") + left.join(QStringLiteral("; ")));
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() < 3)
        return fail(QStringLiteral("usage: FOLDER COMMAND [ARGUMENT]"));
    const QString root = args.at(1);
    const QString command = args.at(2);
    const QString argument = args.value(3);
    try {
        if (command == u"settle") {
            settleInterruptedWork(root);
            return 0;
        }
        if (command == u"verify")
            return verify(root, argument);
    } catch (const std::exception& error) {
        return fail(command + QStringLiteral(": ") + QString::fromLocal8Bit(error.what()) +
                    QStringLiteral(" ") +
                    (dynamic_cast<const IoError*>(&error)
                         ? dynamic_cast<const IoError*>(&error)->path()
                         : QString()));
    }

    SystemClock clock;
    ScriptedPrompts prompts;
    RecordingShell shell;
    AppState s(Paths(root), clock, prompts, shell);
    try {
        FormCreate(s);
        if (command == u"delete-to-archive") {
            s.access.CurUserAccess = QStringLiteral("Z");
            SpisokMouseDown(s, argument.toLongLong() + 1);
            prompts.choose(2);
            nDeleteClick(s);
        } else if (command == u"compact-to-archive") {
            s.access.CurUserAccess = QStringLiteral("Z");
            prompts.choose(2).yes().ok();
            N20Click(s);
        } else if (command == u"restore") {
            closeAllFiles(s);
            restoreBaseFolder(s, argument);
        } else if (command == u"backup") {
            closeAllFiles(s);
            std::printf("%s\n", makeBackup(s).toLocal8Bit().constData());
        } else {
            return fail(QStringLiteral("unknown command"));
        }
    } catch (const std::exception& error) {
        return fail(QString::fromLocal8Bit(error.what()));
    }
    return 0;
}
