#pragma once

#include "core/store/TAnketa.h"

#include <QString>

#include <cstdint>
#include <span>
#include <variant>

namespace zelmar {

// A field of the card record by its name, and how to read it: a number, a date (a day
// number), or a text.
struct CardField {
    const char* name;
    std::variant<std::int32_t TAnketa::*, double TAnketa::*, QString (*)(const TAnketa&)> field;
    bool stamp = false; // a date that carries its time of day
};

// Every field of the card record, in record order: what the export writes and the folder
// check looks through.
std::span<const CardField> cardFields();

} // namespace zelmar
