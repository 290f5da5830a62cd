#pragma once

#include "core/store/ShortString.h"

#include <QString>

#include <cstddef>

namespace zelmar {

// A record of the officials table Baza\Wines.dat: name and position of an official who
// issues, signs or extends decisions.
struct TWinesRec {
    ShortString<30> name;
    ShortString<20> position;

    static constexpr int Size = 52;
};

static_assert(sizeof(TWinesRec) == TWinesRec::Size);
static_assert(offsetof(TWinesRec, position) == 31);

TWinesRec officialRecord(const QString& name, const QString& position);

} // namespace zelmar
