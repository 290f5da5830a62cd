#pragma once

#include "core/store/Colours.h"

#include <QColor>

namespace zelmar {

// The register's colours (0x00BBGGRR) as Qt colours and back.
inline QColor toQColor(TColor colour) {
    return QColor(static_cast<int>(colour & 0xFF), static_cast<int>((colour >> 8) & 0xFF),
                  static_cast<int>((colour >> 16) & 0xFF));
}

inline TColor fromQColor(const QColor& colour) {
    return static_cast<TColor>(colour.red()) | (static_cast<TColor>(colour.green()) << 8) |
           (static_cast<TColor>(colour.blue()) << 16);
}

} // namespace zelmar
