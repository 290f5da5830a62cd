#pragma once

#include <QByteArray>
#include <QString>

#include <array>
#include <cstdint>

namespace zelmar {

// Card texts are compared in the card file's own Windows-1251 bytes, lower case on both sides,
// so a pass over the register never turns a field into a QString.

// The lower case of every Windows-1251 byte: Latin A..Z, Cyrillic А..Я, Ё and the other
// Cyrillic capitals of the code page; every other byte stands for itself.
extern const std::array<std::uint8_t, 256> kCp1251Lower;

// A typed condition as fields are compared with it: without the leading and trailing
// characters of code 0..32, in Windows-1251, lower case.
QByteArray foldedCondition(const QString& text);

// The field, lower-cased on the way, holds needle (already lower case) anywhere.
bool containsFolded(const char* field, int size, const QByteArray& needle);
// The field, without leading and trailing bytes 0..32 and lower-cased, is needle.
bool equalsFoldedTrimmed(const char* field, int size, const QByteArray& needle);

} // namespace zelmar
