#pragma once

#include <QString>

#include <exception>

namespace zelmar {

struct AppState;

// After a backup or restore that failed with the register's files closed: the files are opened
// again, the main card file at the card the editor shows, and the grids show them anew.
void reopenAllFiles(AppState& s);

// The files the register keeps in its base folder (card files, officials, users, colours, the
// reference lists), by their bare names in any letter case.
bool isBaseFolderFile(const QString& name);

// The text of an error for a message that says what was and was not done.
QString failureText(const std::exception& error);

} // namespace zelmar
