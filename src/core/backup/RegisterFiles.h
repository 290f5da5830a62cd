#pragma once

#include <QString>

#include <exception>

namespace zelmar {

struct AppState;

// After a backup or restore that failed with the register's files closed: the files are opened
// again, the main card file at the card the editor shows, and the grids show them anew.
void reopenAllFiles(AppState& s);

// The text of an error for a message that says what was and was not done.
QString failureText(const std::exception& error);

} // namespace zelmar
