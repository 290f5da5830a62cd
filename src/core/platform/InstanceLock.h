#pragma once

#include <QLockFile>
#include <QString>

#include <memory>
#include <optional>

namespace zelmar {

// One program at a time per installation folder: the register and the administration
// commands that write take the same lock. It lives outside the folder, so a refused second
// copy touches nothing in it. The lock of a program that died is taken over.
std::unique_ptr<QLockFile> lockInstallation(const QString& root);

// Who holds the lock of an installation folder.
struct LockHolder {
    qint64 pid = 0;
    QString program; // the executable's name: "zelmar", "zelmar-admin"
};
// Nothing when nobody holds it (or it cannot be read).
std::optional<LockHolder> installationLockHolder(const QString& root);

} // namespace zelmar
