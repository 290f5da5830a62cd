#pragma once

#include "core/store/Cp1251.h"

#include <QString>

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace zelmar {

// A stored short string: one length byte (0..N), then N bytes of Windows-1251 text. Only the
// bytes the length gives are meaningful; assignment writes the length and the characters and
// leaves the bytes behind them as they were, so a whole-record copy carries them along.
template <int N>
struct ShortString {
    static_assert(N > 0 && N < 256);
    static constexpr int capacity = N;

    std::uint8_t length;
    char chars[N];

    // A stored length above N (a damaged record) reads as N.
    int size() const { return std::min<int>(length, N); }

    QString text() const { return fromCp1251(chars, size()); }

    // Keeps the first N characters of the text.
    void assign(const QString& text) {
        const QByteArray bytes = toCp1251(text);
        const int n = static_cast<int>(std::min<qsizetype>(bytes.size(), N));
        std::memcpy(chars, bytes.constData(), static_cast<size_t>(n));
        length = static_cast<std::uint8_t>(n);
    }

    ShortString& operator=(const QString& text) {
        assign(text);
        return *this;
    }

    // Equal texts, whatever lies behind them.
    bool sameText(const ShortString& other) const {
        return size() == other.size() && std::memcmp(chars, other.chars, size()) == 0;
    }
};

static_assert(sizeof(ShortString<20>) == 21);

} // namespace zelmar
