#pragma once

#include <functional>

namespace zelmar::test {

// Runs body with writes limited to maxBytes per file (writes beyond fail with EFBIG, as on a
// full disk) and restores the limit afterwards.
void withFileSizeLimit(long maxBytes, const std::function<void()>& body);

// Runs body in a child process without the rights of root (or as this user when not root);
// returns body's result, 251 when it threw, or -1 when the child failed.
int asUnprivilegedUser(const std::function<int()>& body);

// Runs body with at most this many more file descriptors available.
void withFewDescriptors(const std::function<void()>& body);

// Runs body in a child process that dies (as by SIGKILL: no handler, no destructor runs) when
// the command reaches the named step (core/platform/CrashPoints.h). Returns true when it died
// there; false when body ran to its end.
bool killedAt(const char* step, const std::function<void()>& body);

} // namespace zelmar::test
