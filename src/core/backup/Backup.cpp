#include "core/backup/Backup.h"

#include "core/access/Settings.h"
#include "core/backup/BackupCopies.h"
#include "core/backup/Leftovers.h"
#include "core/backup/RegisterFiles.h"
#include "core/backup/ZipArchive.h"
#include "core/editor/AppState.h"
#include "core/platform/Prompts.h"
#include "core/store/FileSync.h"
#include "core/store/SafeFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zelmar {

namespace {

// The ordinary files directly in the base folder, under their bare names.
std::vector<ZipInput> baseFolderFiles(const AppState& s) {
    const QString folder = s.local(u"Baza");
    std::vector<ZipInput> files;
    const QFileInfoList entries =
        QDir(folder).entryInfoList(QDir::Files | QDir::Hidden | QDir::NoSymLinks, QDir::Name);
    for (const QFileInfo& entry : entries) {
        // What an interrupted command left is no part of the register.
        if (!isLeftoverName(entry.fileName()))
            files.push_back({entry.absoluteFilePath(), entry.fileName()});
    }
    return files;
}

} // namespace

QString backupFolder(const AppState& s) {
    if (s.settings.BackupFolder.trimmed().isEmpty())
        return s.paths.fromStored(defaultBackupFolder());
    return backupFolderPath(s);
}

QString makeBackup(AppState& s) {
    const QString folder = backupFolder(s);
    if (const QString refusal = backupFolderRefusal(s, folder); !refusal.isEmpty())
        throw ZelmarError(refusal);
    if (!QFileInfo(folder).isDir() && ::mkdir(folder.toLocal8Bit().constData(), 0777) != 0)
        IoError::throwErrno(errno, folder);
    removeUnfinishedBackups(folder);
    const QStringList copies = backupCopies(folder);
    const QString name = nextCopyName(copies);
    const QString target = folder + QLatin1Char('/') + name;
    // An interrupted backup leaves at most this one unfinished file, which the next backup
    // (of the same number) writes over.
    const QString part = target + QStringLiteral(".part");
    try {
        writeZip(part, baseFolderFiles(s),
                 [&s](qint64 fileDone, qint64 fileSize, qint64 allDone, qint64 allSize) {
                     s.progress->report(fileDone, fileSize, 1);
                     s.progress->report(allDone, allSize, 0);
                 });
        syncFile(part);
        renameOver(part, target);
    } catch (...) {
        ::unlink(part.toLocal8Bit().constData());
        throw;
    }
    // A copy that cannot be deleted stays; the backup is made all the same.
    for (const QString& old : copiesToDrop(copies))
        QFile::remove(folder + QLatin1Char('/') + old);
    return name;
}

void offerBackup(AppState& s) {
    if (!s.prompts.question(QStringLiteral("Получить резервную копию папки C:\\Zelmar\\Baza ?"),
                            QStringLiteral("При аварии - нет!.Последние 10 копий в ") +
                                backupFolder(s))) {
        s.exitCode = 0;
        return;
    }
    try {
        ProgressScope scope(*s.progress);
        makeBackup(s);
    } catch (const std::exception& error) {
        s.prompts.message(failureText(error) +
                              QStringLiteral("\n\nПрежние резервные копии не тронуты. Программа "
                                             "продолжает работу."),
                          QStringLiteral("Резервная копия не сделана"));
        reopenAllFiles(s);
        return;
    }
    s.exitCode = 0;
}

} // namespace zelmar
