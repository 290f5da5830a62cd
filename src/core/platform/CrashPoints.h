#pragma once

#include <functional>

namespace zelmar {

// The steps of a command that spans several files (a restore, a move of cards to the archive)
// call crashPoint with the name of the step they are about to take. Nothing happens, unless a
// test that kills the program at that very step (in a child process) has set a handler.
void crashPoint(const char* step);
void setCrashPointHandler(std::function<void(const char* step)> handler);

} // namespace zelmar
