#include "core/platform/CrashPoints.h"

#include <utility>

namespace zelmar {

namespace {

std::function<void(const char*)>& handler() {
    static std::function<void(const char*)> h;
    return h;
}

} // namespace

void crashPoint(const char* step) {
    if (handler())
        handler()(step);
}

void setCrashPointHandler(std::function<void(const char* step)> h) {
    handler() = std::move(h);
}

} // namespace zelmar
