#include "core/store/FileRights.h"

#include "core/platform/Errors.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <sys/stat.h>

namespace zelmar {

namespace {

mode_t creationMask() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return mask;
}

} // namespace

void useRightsOfFolder(const QString& root) {
    struct stat st {};
    const bool shared =
        ::stat(QFile::encodeName(root).constData(), &st) == 0 && (st.st_mode & S_IWGRP) != 0;
    ::umask(shared ? 007 : 077);
}

QFileDevice::Permissions newFilePermissions() {
    const mode_t mode = 0666 & ~creationMask();
    QFileDevice::Permissions permissions;
    if (mode & S_IRUSR)
        permissions |= QFileDevice::ReadOwner | QFileDevice::ReadUser;
    if (mode & S_IWUSR)
        permissions |= QFileDevice::WriteOwner | QFileDevice::WriteUser;
    if (mode & S_IRGRP)
        permissions |= QFileDevice::ReadGroup;
    if (mode & S_IWGRP)
        permissions |= QFileDevice::WriteGroup;
    if (mode & S_IROTH)
        permissions |= QFileDevice::ReadOther;
    if (mode & S_IWOTH)
        permissions |= QFileDevice::WriteOther;
    return permissions;
}

void makeOwnFolder(const QString& root) {
    if (QFileInfo(root).isDir())
        return;
    const QString parent = QFileInfo(root).absolutePath();
    if (!QDir().mkpath(parent))
        throw IoError(IoError::AccessDenied, parent);
    if (::mkdir(QFile::encodeName(root).constData(), 0700) != 0 && errno != EEXIST)
        IoError::throwErrno(errno, root);
}

} // namespace zelmar
