#pragma once

#include "admin/CommandLine.h"

namespace zelmar::admin {

// Runs one command on its installation folder; returns the exit status: 0 done, 1 a fault
// found or the command not done.
int runAdminCommand(const Options& options);

} // namespace zelmar::admin
