#pragma once

#include <QDateTime>
#include <QString>

#include <memory>
#include <optional>

namespace zelmar {

// Who holds an installation folder, as the holder wrote it into the lock file.
struct LockHolder {
    QString program; // "zelmar", "zelmar-admin"
    QString user;
    QString host;
    qint64 pid = 0;
    QDateTime since;
};

// The lock of an installation folder: one program (the register, or an administration command
// that writes) at a time per folder, from any account and any computer that reaches the folder,
// by whatever path. It is an open file description lock on a file in the folder itself, so the
// system releases it when the program ends, however it ends.
class InstallationLock {
public:
    ~InstallationLock();
    InstallationLock(const InstallationLock&) = delete;
    InstallationLock& operator=(const InstallationLock&) = delete;

    // Taken by lockInstallation only.
    explicit InstallationLock(int fd)
        : m_fd(fd) {}

private:
    int m_fd;
};

struct LockAttempt {
    std::unique_ptr<InstallationLock> lock;
    // Without the lock: who holds the folder (when someone does and said so).
    std::optional<LockHolder> holder;
    // Without the lock: why, in a Russian sentence for the clerk or the administrator.
    QString refusal;
};

// The lock file's name in the installation folder.
QString installationLockPath(const QString& root);

// Takes the lock of the folder for program, or says who holds it. A folder whose file system
// keeps no locks is refused rather than opened unguarded. The folder must exist.
LockAttempt lockInstallation(const QString& root, const QString& program);

// Who holds the lock of the folder; nothing when nobody does. Changes nothing in the folder.
std::optional<LockHolder> installationLockHolder(const QString& root);

// "пользователь ivanova на компьютере kanc-2 с 08.12.2026 09:15 (zelmar, процесс 4711)"
QString describeHolder(const LockHolder& holder);

// For tests: the next attempts fail with this error, as on a file system without locks (0
// to stop).
void failInstallationLocksWith(int error);

} // namespace zelmar
