#pragma once

#include <QByteArray>

#include <initializer_list>

namespace zelmar::test {

// A byte vector written by hand: size bytes of filler, then the given hex bytes placed at
// their offsets.
struct Patch {
    int offset;
    const char* hex;
};
QByteArray handWritten(int size, char filler, std::initializer_list<Patch> patches);

} // namespace zelmar::test
