#pragma once

#include <QString>
#include <QStringList>

namespace zelmar {

// The copies the backup folder keeps.
inline constexpr int kKeptCopies = 10;

// The backup copies in a folder, oldest first: the files named "b", seven digits and ".zip"
// (in any letter case). Other files and subfolders are no copies: they are neither counted
// nor numbered from, nor ever deleted.
QStringList backupCopies(const QString& folder);

// The file name of the next copy: the newest copy's number plus one, "b0000001.zip" first.
QString nextCopyName(const QStringList& copies);

// The oldest copies to delete once a new copy is in place, so that `kept` copies remain.
QStringList copiesToDrop(const QStringList& copies, int kept = kKeptCopies);

} // namespace zelmar
