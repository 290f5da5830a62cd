#pragma once

#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>

namespace zelmar {

// A colour as the register stores it: 0x00BBGGRR.
using TColor = std::uint32_t;

inline constexpr TColor clSilver = 0xC0C0C0;

// A colour as text: one of the standard names (clSilver ...), else "$" and eight hex digits.
QString colorToText(TColor colour);
// Reads a standard name, "$" and hex digits, or a decimal number.
std::optional<TColor> textToColor(const QString& text);

// The colour file's lines after storing one area's colour: at most nine entries, the first
// entry whose name begins with the area's name is replaced, else a new one follows the last.
QStringList storeColourLine(const QStringList& lines, const QString& name, const QString& colour);

} // namespace zelmar
