#include "core/store/InstallFolder.h"

#include "core/platform/Errors.h"
#include "core/store/FileRights.h"
#include "core/store/Paths.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

namespace zelmar {

QString chooseInstallFolder(const QStringList& arguments, const QString& zelmarHome,
                            const QString& homeDir) {
    QString folder;
    if (!arguments.isEmpty() && !arguments.first().isEmpty())
        folder = arguments.first();
    else if (!zelmarHome.isEmpty())
        folder = zelmarHome;
    else
        folder = homeDir + QStringLiteral("/Zelmar");
    return QDir::cleanPath(QDir(folder).absolutePath());
}

const QStringList& installSubfolders() {
    static const QStringList folders = {
        QStringLiteral("Baza"),    QStringLiteral("Temp"),     QStringLiteral("REPORT"),
        QStringLiteral("WhodGIF"), QStringLiteral("WhodWord"), QStringLiteral("Otveti"),
        QStringLiteral("Help"),    QStringLiteral("Backup"),
    };
    return folders;
}

QString builtInInstallFiles() {
    return QStringLiteral(":/install");
}

void prepareInstallFolder(const QString& root, const QString& source) {
    makeOwnFolder(root);
    for (const QString& folder : installSubfolders()) {
        const QString path = resolveCaseInsensitive(root, folder);
        if (!QFileInfo(path).isDir() && !QDir().mkpath(path))
            throw IoError(IoError::AccessDenied, path);
    }
    const QString from = source.isEmpty() ? builtInInstallFiles() : source;
    QDirIterator it(from, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString file = it.next();
        const QString relative = QDir(from).relativeFilePath(file);
        const QString target = resolveCaseInsensitive(root, relative);
        if (QFileInfo::exists(target))
            continue;
        QDir().mkpath(QFileInfo(target).absolutePath());
        const QString temp = target + QStringLiteral(".new");
        QFile::remove(temp);
        if (!QFile::copy(file, temp))
            throw IoError(IoError::AccessDenied, target);
        // Files built into the program are read-only; the copy is the user's to change.
        QFile::setPermissions(temp, newFilePermissions());
        // QFile::rename never replaces an existing file, so a file the user has stays.
        if (!QFile::rename(temp, target))
            QFile::remove(temp);
    }
}

} // namespace zelmar
