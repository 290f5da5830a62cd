#include "core/backup/Leftovers.h"

#include "core/access/Settings.h"
#include "core/backup/ArchiveMove.h"
#include "core/backup/BaseSwitch.h"
#include "core/backup/RegisterFiles.h"
#include "core/store/FileSync.h"
#include "core/store/Paths.h"
#include "core/store/SafeFile.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

namespace zelmar {

namespace {

// An unfinished backup, and the temporary files the ZIP library writes beside it.
const QString kUnfinishedBackup = QStringLiteral("b[0-9]{7}\\.zip\\.part(\\.[A-Za-z0-9]{6})?");

struct Leftover {
    QString path;
    QString what;
};

bool matches(const QString& pattern, const QString& name) {
    return QRegularExpression(QRegularExpression::anchoredPattern(pattern)).match(name).hasMatch();
}

QString backupFolderOf(const Paths& paths) {
    QString stored = defaultBackupFolder();
    try {
        const QStringList settings = readTextLines(paths.local(files::Settings));
        if (settings.size() > 1 && !settings.at(1).trimmed().isEmpty())
            stored = settings.at(1).trimmed();
    } catch (const std::exception&) {
        // No settings file yet: the default folder.
    }
    return paths.fromStored(stored);
}

// Every leftover of the folder, by the names the programs give them.
std::vector<Leftover> findLeftovers(const QString& root) {
    const Paths paths(root);
    std::vector<Leftover> found;
    const auto look = [&](const QString& folder, const QString& pattern, const QString& what,
                          QDir::Filters filters = QDir::Files) {
        if (!QFileInfo(folder).isDir())
            return;
        for (const QString& name :
             QDir(folder).entryList(filters | QDir::Hidden | QDir::NoDotAndDotDot | QDir::System))
            if (matches(pattern, name))
                found.push_back({folder + QLatin1Char('/') + name, what});
    };
    const QString written = QStringLiteral("незаконченная запись файла");
    const QString base = paths.local(u"Baza");
    if (QFileInfo(base).isDir()) {
        for (const QString& name : QDir(base).entryList(QDir::Files | QDir::Hidden)) {
            if (isLeftoverName(name))
                found.push_back({base + QLatin1Char('/') + name, written});
        }
    }
    look(root, QStringLiteral("NoKor\\.krv\\.new"), written);
    look(paths.local(u"Temp"), QStringLiteral(".*\\.new"), written);
    look(paths.local(u"REPORT"), QStringLiteral(".*\\.new"), written);
    for (const QStringView folder :
         {files::ReplyFolder, files::PictureFolder, files::DocumentFolder})
        look(paths.local(folder), QStringLiteral("[0-9]+\\.(doc|gif|DOC|GIF)\\.new"), written);
    look(paths.local(u"Temp"), QStringLiteral("restore-[A-Za-z0-9]{6}"),
         QStringLiteral("папка распаковки прерванного восстановления"), QDir::Dirs);
    look(backupFolderOf(paths), kUnfinishedBackup, QStringLiteral("незаконченная резервная копия"));
    return found;
}

void removeLeftover(const Leftover& leftover) {
    if (QFileInfo(leftover.path).isDir())
        QDir(leftover.path).removeRecursively();
    else
        QFile::remove(leftover.path);
}

} // namespace

void removeUnfinishedBackups(const QString& folder) {
    for (const QString& name : QDir(folder).entryList(QDir::Files | QDir::Hidden)) {
        if (matches(kUnfinishedBackup, name))
            QFile::remove(folder + QLatin1Char('/') + name);
    }
}

bool isLeftoverName(const QString& fileName) {
    return fileName.endsWith(QStringLiteral(".new"), Qt::CaseInsensitive) &&
           isBaseFolderFile(fileName.chopped(4));
}

QStringList settleInterruptedWork(const QString& root) {
    QStringList said;
    for (const QString& text : {settleInterruptedRestore(root), settleInterruptedMove(Paths(root))})
        if (!text.isEmpty())
            said.append(text);
    QStringList folders;
    for (const Leftover& leftover : findLeftovers(root)) {
        removeLeftover(leftover);
        const QString folder = QFileInfo(leftover.path).absolutePath();
        if (!folders.contains(folder))
            folders.append(folder);
    }
    for (const QString& folder : folders)
        syncFolder(folder);
    return said;
}

QStringList interruptedWork(const QString& root) {
    QStringList lines;
    const QDir rootDir(root);
    for (const QString& name :
         rootDir.entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name))
        if (isRestoreFolderName(name))
            lines.append(name + QStringLiteral(": прерванное восстановление базы, его завершит "
                                               "или отменит следующий запуск"));
    const QString move = archiveMoveRecord(Paths(root));
    if (QFileInfo::exists(move))
        lines.append(rootDir.relativeFilePath(move) +
                     QStringLiteral(": прерванный перенос карточек в Архив, его завершит или "
                                    "отменит следующий запуск"));
    for (const Leftover& leftover : findLeftovers(root))
        lines.append(rootDir.relativeFilePath(leftover.path) + QStringLiteral(": ") +
                     leftover.what + QStringLiteral(", её уберёт следующий запуск"));
    return lines;
}

} // namespace zelmar
