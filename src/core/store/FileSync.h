#pragma once

#include <QString>
#include <QtGlobal>

namespace zelmar {

// The few system calls every writer of whole files needs, each checked.

// Makes a rename or a new file in the folder of path durable; a folder that cannot be opened is
// left as it is (the file itself is synced already).
void syncFolderOf(const QString& path);
// Makes the entries of the folder itself durable (names renamed into it, made or removed).
void syncFolder(const QString& folder);
// Makes the file's contents durable; throws IoError when it cannot.
void syncFile(const QString& path);
// A write beyond the file size limit (ulimit -f) fails with EFBIG, which the commands report as
// a full disk, instead of the signal ending the program with the card unsaved. Called at the
// start of every program.
void failWritesBeyondFileSizeLimit();
// Writes all size bytes to fd, going on after interrupted calls; throws IoError ("Disk full"
// when the device takes nothing more).
void writeAll(int fd, const char* bytes, qint64 size, const QString& path);

} // namespace zelmar
