#include "core/platform/InstanceLock.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include <unistd.h>

namespace zelmar {

namespace {

// The user's runtime folder. A scheduled job may run without XDG_RUNTIME_DIR; it still finds
// the folder of the user's desktop session, and so the lock of a program running there.
QString runtimeFolder() {
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
        const QString session = QStringLiteral("/run/user/%1").arg(::getuid());
        const QFileInfo info(session);
        if (info.isDir() && info.ownerId() == ::getuid())
            return session;
    }
    return QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
}

// In the runtime folder, keyed by the installation folder's path.
QString lockPath(const QString& root) {
    QString folder = runtimeFolder();
    if (folder.isEmpty())
        folder = QDir::tempPath();
    const QByteArray hash =
        QCryptographicHash::hash(root.toUtf8(), QCryptographicHash::Sha1).toHex().left(16);
    return folder + QStringLiteral("/zelmar-") + QString::fromLatin1(hash) +
           QStringLiteral(".lock");
}

} // namespace

std::unique_ptr<QLockFile> lockInstallation(const QString& root) {
    auto lock = std::make_unique<QLockFile>(lockPath(root));
    lock->setStaleLockTime(0);
    if (!lock->tryLock(0))
        return nullptr;
    return lock;
}

std::optional<LockHolder> installationLockHolder(const QString& root) {
    QLockFile lock(lockPath(root));
    LockHolder holder;
    QString host;
    if (!lock.getLockInfo(&holder.pid, &host, &holder.program))
        return std::nullopt;
    return holder;
}

} // namespace zelmar
