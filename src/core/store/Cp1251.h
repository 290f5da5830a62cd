#pragma once

#include <QByteArray>
#include <QString>

#include <array>

namespace zelmar {

// Windows-1251, the code page of every stored text. Bytes 0..127 are ASCII; the table gives the
// character of each byte 128..255. The byte 0x98, which the code page leaves undefined, stands
// for U+0098 so that any stored byte survives a round trip.
extern const std::array<char16_t, 128> kCp1251High;

// A character that has no byte in the code page is written as '?'.
char toCp1251(char32_t ch);
// Whether the code page has the character, so that it is stored as it is.
bool inCp1251(char32_t ch);
// The characters of text the code page lacks, each once, in order.
QString outsideCp1251(const QString& text);
QString fromCp1251(const char* bytes, qsizetype size);
QString fromCp1251(const QByteArray& bytes);
QByteArray toCp1251(const QString& text);

} // namespace zelmar
