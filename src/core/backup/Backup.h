#pragma once

#include <QString>

namespace zelmar {

struct AppState;

// Leaving through "Выход", once the lists are written and the files closed: the question, the
// backup of the base folder if the user wants it, and the end of the program. A backup that
// fails is reported; the files are opened again and the program goes on.
void offerBackup(AppState& s);

// The folder the copies go to: the setting, else the default one.
QString backupFolder(const AppState& s);

// A new copy of every ordinary file of the base folder in the backup folder (made if missing,
// its parent must exist), named after the newest copy there. The archive is written as
// "<name>.part", synced and renamed; only then are the oldest copies beyond the last ten
// deleted. Returns the file name of the new copy.
QString makeBackup(AppState& s);

} // namespace zelmar
