#pragma once

#include "core/platform/Prompts.h"

#include <exception>
#include <utility>

namespace zelmar {

// The text the user is shown for an error; for a file error, the file's path below it.
QString errorText(const std::exception& error);
// The register's default error handler: errorText in a message box.
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
