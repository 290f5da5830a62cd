#pragma once

#include "core/store/ShortString.h"

#include <cstddef>
#include <cstdint>

namespace zelmar {

// A record of the list of document templates REPORT\Shablon.dat.
struct TShablonRec {
    std::uint8_t reserved0[9];    // zero in records the register writes
    ShortString<50> name;         // "Название шаблона"
    ShortString<200> comment;     // "Пояснение к шаблону"
    ShortString<128> path;        // the template's file, c:\Zelmar\... inside the installation
    std::uint8_t reserved390[58]; //

    static constexpr int Size = 448;
};

static_assert(sizeof(TShablonRec) == TShablonRec::Size);
static_assert(offsetof(TShablonRec, name) == 9);
static_assert(offsetof(TShablonRec, comment) == 60);
static_assert(offsetof(TShablonRec, path) == 261);
static_assert(offsetof(TShablonRec, reserved390) == 390);

} // namespace zelmar
