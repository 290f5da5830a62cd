#pragma once

#include "admin/CommandLine.h"

namespace zelmar {
struct AppState;
struct TAnketa;
template <class T>
class TypedFile;
} // namespace zelmar

namespace zelmar::admin {

// Runs one command on its installation folder; returns the exit status: 0 done, 1 a fault
// found or the command not done.
int runAdminCommand(const Options& options);

// Opens a card file of the folder for reading; a card cut off at its end is left out, which
// is said on standard error. Throws when there is no such file.
void openSource(AppState& s, TypedFile<TAnketa>& file, Source source);

} // namespace zelmar::admin
