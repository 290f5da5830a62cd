#include "core/backup/BaseSwitch.h"

#include "core/platform/CrashPoints.h"
#include "core/platform/Errors.h"
#include "core/store/FileSync.h"
#include "core/store/Paths.h"
#include "core/store/SafeFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <optional>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zelmar {

namespace {

const QString kNew = QStringLiteral("Baza.new-");
const QString kReady = QStringLiteral("Baza.ready-");
const QString kOld = QStringLiteral("Baza.old-");
// Written while the switch is under way: the inode of the restored folder, so that the next
// start knows whether the folder named Baza is the restored one.
const QString kSwitch = QStringLiteral("Baza.switch-");

QByteArray native(const QString& path) {
    return QFile::encodeName(path);
}

std::optional<ino_t> inodeOf(const QString& path) {
    struct stat st {};
    if (::lstat(native(path).constData(), &st) != 0)
        return std::nullopt;
    return st.st_ino;
}

void renameOrThrow(const QString& from, const QString& to) {
    if (::rename(native(from).constData(), native(to).constData()) != 0)
        IoError::throwErrno(errno, to);
}

// Exchanges two folders in one step; false when the file system cannot.
bool exchange(const QString& a, const QString& b) {
    if (::renameat2(AT_FDCWD, native(a).constData(), AT_FDCWD, native(b).constData(),
                    RENAME_EXCHANGE) == 0)
        return true;
    if (errno == EINVAL || errno == ENOSYS || errno == ENOTSUP)
        return false;
    IoError::throwErrno(errno, b);
}

QStringList subfolders(const QString& folder) {
    return QDir(folder).entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden);
}

// The subfolders of a leftover that the base folder lacks go back into it (a restore moves the
// base folder's subfolders into the restored one before the switch).
void returnSubfolders(const QString& leftover, const QString& base) {
    for (const QString& name : subfolders(leftover)) {
        const QString target = resolveCaseInsensitive(base, name);
        if (!QFileInfo::exists(target))
            ::rename(native(leftover + QLatin1Char('/') + name).constData(),
                     native(target).constData());
    }
}

QString suffixOf(const QString& name) {
    return name.mid(name.lastIndexOf(QLatin1Char('-')) + 1);
}

} // namespace

bool isRestoreFolderName(const QString& name) {
    return name.startsWith(kNew) || name.startsWith(kReady) || name.startsWith(kOld) ||
           name.startsWith(kSwitch);
}

BaseSwitch::BaseSwitch(const QString& base)
    : m_base(base) {
    QByteArray pattern =
        native(QFileInfo(base).absolutePath() + QLatin1Char('/') + kNew + QStringLiteral("XXXXXX"));
    if (!::mkdtemp(pattern.data()))
        IoError::throwErrno(errno, QFileInfo(base).absolutePath());
    m_new = QFile::decodeName(pattern);
}

BaseSwitch::~BaseSwitch() {
    if (!m_committed)
        QDir(m_new).removeRecursively();
}

void BaseSwitch::keepOtherFiles() {
    QSet<QString> present;
    for (const QString& name : QDir(m_new).entryList(QDir::Files | QDir::Hidden | QDir::System))
        present.insert(name.toLower());
    const QStringList names =
        QDir(m_base).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
    for (const QString& name : names) {
        if (present.contains(name.toLower()))
            continue;
        const QString from = m_base + QLatin1Char('/') + name;
        const QString to = m_new + QLatin1Char('/') + name;
        if (::linkat(AT_FDCWD, native(from).constData(), AT_FDCWD, native(to).constData(), 0) == 0)
            continue;
        // A file system without second links: a copy, made durable.
        if (!QFile::copy(from, to))
            throw IoError(IoError::DiskFull, to);
        syncFile(to);
    }
}

void BaseSwitch::commit() {
    const QString root = QFileInfo(m_base).absolutePath();
    const QString suffix = suffixOf(m_new);
    const QString ready = root + QLatin1Char('/') + kReady + suffix;
    QString old = root + QLatin1Char('/') + kOld + suffix;
    const QString marker = root + QLatin1Char('/') + kSwitch + suffix;

    // The restored folder gets the base folder's rights (a folder shared with a group stays
    // shared) and its subfolders, which no backup holds.
    struct stat st {};
    if (::stat(native(m_base).constData(), &st) == 0)
        ::chmod(native(m_new).constData(), st.st_mode & 07777);
    QStringList moved;
    try {
        for (const QString& name : subfolders(m_base)) {
            if (QFileInfo::exists(m_new + QLatin1Char('/') + name))
                continue;
            renameOrThrow(m_base + QLatin1Char('/') + name, m_new + QLatin1Char('/') + name);
            moved.append(name);
        }
        syncFolder(m_new);
        syncFolder(m_base);

        crashPoint("restore:ready");
        renameOrThrow(m_new, ready);
        m_new = ready;
        writeFileAtomically(marker, QByteArray::number(quint64(inodeOf(ready).value_or(0))));

        crashPoint("restore:switch");
        if (exchange(ready, m_base)) {
            m_committed = true;
            crashPoint("restore:switched");
            // The old folder now stands under the name the restored one had; removed below
            // (or by the next start) under either name.
            if (::rename(native(ready).constData(), native(old).constData()) != 0)
                old = ready;
        } else {
            renameOrThrow(m_base, old);
            crashPoint("restore:between");
            try {
                renameOrThrow(ready, m_base);
            } catch (...) {
                ::rename(native(old).constData(), native(m_base).constData());
                throw;
            }
            m_committed = true;
        }
    } catch (...) {
        if (!m_committed) {
            for (const QString& name : moved)
                ::rename(native(m_new + QLatin1Char('/') + name).constData(),
                         native(m_base + QLatin1Char('/') + name).constData());
            ::unlink(native(marker).constData());
        }
        throw;
    }
    syncFolder(root);

    crashPoint("restore:remove-old");
    QDir(old).removeRecursively();
    ::unlink(native(marker).constData());
    syncFolder(root);
}

QString settleInterruptedRestore(const QString& root) {
    const QStringList names =
        QDir(root).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                             QDir::Time | QDir::Reversed);
    QStringList leftovers;
    std::optional<quint64> restoredInode;
    for (const QString& name : names) {
        if (!isRestoreFolderName(name))
            continue;
        leftovers.append(name);
        if (name.startsWith(kSwitch)) {
            QFile marker(root + QLatin1Char('/') + name);
            if (marker.open(QIODevice::ReadOnly)) {
                bool number = false;
                const quint64 inode = marker.readAll().trimmed().toULongLong(&number);
                if (number)
                    restoredInode = inode;
            }
        }
    }
    if (leftovers.isEmpty())
        return {};

    QString said;
    QString base = resolveCaseInsensitive(root, QStringLiteral("Baza"));
    if (!QFileInfo(base).isDir()) {
        // Killed between the two renames of a switch: the folder that waits takes the name.
        base = root + QStringLiteral("/Baza");
        const auto waiting = [&](const QString& prefix) -> QString {
            for (const QString& name : leftovers) {
                if (name.startsWith(prefix) && QFileInfo(root + QLatin1Char('/') + name).isDir())
                    return name;
            }
            return {};
        };
        if (const QString ready = waiting(kReady); !ready.isEmpty()) {
            renameOrThrow(root + QLatin1Char('/') + ready, base);
            leftovers.removeAll(ready);
            said = QStringLiteral("Восстановление базы из резервной копии было прервано и теперь "
                                  "завершено: папка Baza восстановлена из копии.");
        } else if (const QString old = waiting(kOld); !old.isEmpty()) {
            renameOrThrow(root + QLatin1Char('/') + old, base);
            leftovers.removeAll(old);
            said = QStringLiteral("Восстановление базы из резервной копии было прервано; папка "
                                  "Baza осталась прежней.");
        }
    } else if (restoredInode) {
        said = inodeOf(base) == restoredInode
                   ? QStringLiteral("Восстановление базы из резервной копии было прервано в "
                                    "самом конце; теперь оно завершено: папка Baza "
                                    "восстановлена из копии.")
                   : QStringLiteral("Восстановление базы из резервной копии было прервано; "
                                    "папка Baza осталась прежней.");
    } else if (std::any_of(leftovers.cbegin(), leftovers.cend(), [](const QString& name) {
                   return name.startsWith(kNew) || name.startsWith(kReady);
               })) {
        said = QStringLiteral("Восстановление базы из резервной копии было прервано; папка Baza "
                              "осталась прежней.");
    }

    // The marker goes last: until then the next start can still tell what happened.
    std::stable_partition(leftovers.begin(), leftovers.end(),
                          [](const QString& name) { return !name.startsWith(kSwitch); });
    for (const QString& name : leftovers) {
        const QString path = root + QLatin1Char('/') + name;
        if (QFileInfo(path).isDir()) {
            returnSubfolders(path, base);
            QDir(path).removeRecursively();
        } else {
            QFile::remove(path);
        }
    }
    syncFolder(root);
    return said;
}

} // namespace zelmar
