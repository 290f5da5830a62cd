#pragma once

#include "core/platform/Errors.h"

#include <QString>

namespace zelmar {

struct AppState;

// "Восстановить базу из архива Backup": the files of a chosen archive replace the same-named
// files of the base folder (others stay), and the program asks to be started again. A failed
// restore is reported; the files are opened again and the program goes on.
void Bacup1Click(AppState& s);

// Restores the base folder from an archive, with the register's files closed. The whole
// archive is checked first: an entry that is no plain file of the base folder (a path, "..",
// a drive letter, a folder, a link, a name given twice), an archive without the main card
// file, or sizes beyond the free space or beyond what a backup can hold refuse it. The base
// folder as restored is made beside it, every entry's CRC checked, its card and users files
// checked; only then does it take the base folder's place, at once. A failure on the way, or a
// crash, leaves the base folder as it was.
void restoreBaseFolder(AppState& s, const QString& archive);

} // namespace zelmar
