#pragma once

#include <QString>
#include <QStringList>

namespace zelmar {

// The installation folder: the first argument, else $ZELMAR_HOME, else ~/Zelmar.
QString chooseInstallFolder(const QStringList& arguments, const QString& zelmarHome,
                            const QString& homeDir);

// The folders every installation has, in the spelling a new one gets.
const QStringList& installSubfolders();

// Makes a missing installation tree and copies in the files an installation supplies (from
// the folder source, by default the files built into the program) without overwriting any
// file the user has. Throws IoError when a folder cannot be made.
void prepareInstallFolder(const QString& root, const QString& source = QString());

// The files built into the program.
QString builtInInstallFiles();

} // namespace zelmar
