#pragma once

#include <QString>
#include <QStringList>

namespace zelmar {

// What interrupted commands leave behind, found by the names they give it (never another file):
// a restore's folders beside the base folder, the record of a move of cards to the archive,
// files written beside a register file to replace it ("Anketi.dat.new"), scratch files of
// Temp and REPORT, an unfinished backup ("b0000007.zip.part" and the ZIP library's temporary
// files beside it), and the unpacking folders of earlier versions ("Temp/restore-XXXXXX").

// At the start of the program, or of an administration command that writes, with the folder's
// lock held and before the base folder is used: finishes or undoes what a crash interrupted and
// removes the leftovers. Returns what the clerk should be told (empty when nothing was
// interrupted; leftovers alone are removed silently).
QStringList settleInterruptedWork(const QString& root);

// The same, changing nothing: what the next start would settle or remove, one line each, with
// the path relative to the installation folder.
QStringList interruptedWork(const QString& root);

// Removes what unfinished backups left in a backup folder.
void removeUnfinishedBackups(const QString& folder);

// Whether a file of the base folder is a leftover ("Anketi.dat.new") no backup should pack.
bool isLeftoverName(const QString& fileName);

} // namespace zelmar
