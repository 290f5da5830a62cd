#pragma once

#include <QFileDevice>
#include <QString>

namespace zelmar {

// The register holds applicants' names, addresses and every password: what the programs make in
// an installation folder is the owner's only (folders 0700, files 0600), unless the folder is
// shared with a group (the group may write in it, as a setgid folder 2770 does): then the group
// gets the same rights as the owner. Other accounts never get any.

// Sets the process's file creation mask from the installation folder's own rights.
void useRightsOfFolder(const QString& root);
// The rights a file made now gets (0666 less the creation mask).
QFileDevice::Permissions newFilePermissions();
// Makes a missing installation folder for its owner only; an existing one keeps its rights.
void makeOwnFolder(const QString& root);

} // namespace zelmar
