#pragma once

#include "core/platform/Errors.h"

#include <QString>

namespace zelmar {

struct AppState;

// "Восстановить базу из архива Backup": the files of a chosen archive replace the same-named
// files of the base folder (others stay), and the program asks to be started again. A failed
// restore is reported; the files are opened again and the program goes on.
void Bacup1Click(AppState& s);

// A restore that stopped after some files of the base folder were replaced, and could not put
// the old ones back.
class PartlyRestored : public ZelmarError {
public:
    using ZelmarError::ZelmarError;
};

// Restores the base folder from an archive, with the register's files closed. The whole
// archive is checked first: an entry that is no plain file of the base folder (a path, "..",
// a drive letter, a folder, a link) or sizes beyond the free space refuse it. Every entry is
// unpacked into a fresh folder under Temp, its CRC checked; only then is each file renamed
// into the base folder. A failure on the way leaves the base folder as it was.
void restoreBaseFolder(AppState& s, const QString& archive);

} // namespace zelmar
