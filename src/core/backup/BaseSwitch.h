#pragma once

#include <QString>
#include <QStringList>

namespace zelmar {

// A restore never changes the base folder file by file: the restored folder is made complete
// beside it ("Baza.new-XXXXXX": the archive's files and the base folder's other files), checked
// and synced, renamed "Baza.ready-XXXXXX", and then takes the base folder's place at once. The
// old folder, renamed "Baza.old-XXXXXX", is removed last. Whatever moment the program is killed
// at, one whole base folder stands under its name (or, between the two renames of a file
// system that cannot exchange folders, one whole folder waits under a name the next start
// knows).
class BaseSwitch {
public:
    // Makes the new folder beside base (the base folder's path, as spelled on disk).
    explicit BaseSwitch(const QString& base);
    // A switch dropped before commit() removes the new folder; the base folder is untouched.
    ~BaseSwitch();
    BaseSwitch(const BaseSwitch&) = delete;
    BaseSwitch& operator=(const BaseSwitch&) = delete;

    // The new folder, to be filled.
    const QString& folder() const { return m_new; }
    // The files of the base folder that the new folder does not hold yet are added to it (as
    // second links, else as copies), so the new folder is the base folder as restored.
    void keepOtherFiles();
    // The new folder, synced, takes the base folder's place; the old one is removed.
    void commit();

private:
    QString m_base;
    QString m_new;
    bool m_committed = false;
};

// At the start of the program or of an administration command, before the base folder is used:
// a restore that a crash interrupted is settled (the waiting restored folder takes its place, or
// the old one comes back when no restored folder was ready), and the folders a restore leaves
// beside the base folder are removed. Returns what was done, for the clerk; empty when nothing
// was interrupted.
QString settleInterruptedRestore(const QString& root);

// The names a restore gives to the folders it leaves beside the base folder while it works.
bool isRestoreFolderName(const QString& name);

} // namespace zelmar
