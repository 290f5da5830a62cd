#pragma once

#include "core/platform/Prompts.h"

#include <exception>
#include <utility>

namespace zelmar {

// The register's default error handler: the error's text in a message box; for a file error,
// the file's path below it.
void reportError(Prompts& prompts, const std::exception& error);

// Runs one command. An error it throws is reported and the command stops there; nothing is
// thrown further (never through the event loop). True when the command ran to its end.
template <class Command>
bool runCommand(Prompts& prompts, Command&& command) noexcept {
    try {
        std::forward<Command>(command)();
        return true;
    } catch (const std::exception& error) {
        try {
            reportError(prompts, error);
        } catch (...) {
        }
    } catch (...) {
    }
    return false;
}

} // namespace zelmar
