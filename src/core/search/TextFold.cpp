#include "core/search/TextFold.h"

#include "core/editor/EditorRoutines.h"
#include "core/store/Cp1251.h"

namespace zelmar {

namespace {

constexpr std::array<std::uint8_t, 256> makeLowerTable() {
    std::array<std::uint8_t, 256> table{};
    for (int byte = 0; byte < 256; ++byte)
        table[static_cast<size_t>(byte)] = static_cast<std::uint8_t>(byte);
    const auto lower = [&table](int upper, int lowerCase) {
        table[static_cast<size_t>(upper)] = static_cast<std::uint8_t>(lowerCase);
    };
    for (int byte = 'A'; byte <= 'Z'; ++byte)
        lower(byte, byte + 32);
    for (int byte = 0xC0; byte <= 0xDF; ++byte) // А..Я
        lower(byte, byte + 32);
    // Ђ Ѓ Љ Њ Ќ Ћ Џ Ў Ј Ґ Ё Є Ї І Ѕ
    lower(0x80, 0x90);
    lower(0x81, 0x83);
    lower(0x8A, 0x9A);
    lower(0x8C, 0x9C);
    lower(0x8D, 0x9D);
    lower(0x8E, 0x9E);
    lower(0x8F, 0x9F);
    lower(0xA1, 0xA2);
    lower(0xA3, 0xBC);
    lower(0xA5, 0xB4);
    lower(0xA8, 0xB8);
    lower(0xAA, 0xBA);
    lower(0xAF, 0xBF);
    lower(0xB2, 0xB3);
    lower(0xBD, 0xBE);
    return table;
}

inline std::uint8_t lowerByte(char byte) {
    return kCp1251Lower[static_cast<std::uint8_t>(byte)];
}

} // namespace

const std::array<std::uint8_t, 256> kCp1251Lower = makeLowerTable();

QByteArray foldedCondition(const QString& text) {
    QByteArray bytes = toCp1251(trimControl(text));
    for (char& byte : bytes)
        byte = static_cast<char>(lowerByte(byte));
    return bytes;
}

bool containsFolded(const char* field, int size, const QByteArray& needle) {
    const int n = static_cast<int>(needle.size());
    if (n == 0)
        return true;
    const auto* wanted = reinterpret_cast<const std::uint8_t*>(needle.constData());
    const std::uint8_t first = wanted[0];
    for (int at = 0; at + n <= size; ++at) {
        if (lowerByte(field[at]) != first)
            continue;
        int matched = 1;
        while (matched < n && lowerByte(field[at + matched]) == wanted[matched])
            ++matched;
        if (matched == n)
            return true;
    }
    return false;
}

bool equalsFoldedTrimmed(const char* field, int size, const QByteArray& needle) {
    int begin = 0;
    int end = size;
    while (begin < end && static_cast<std::uint8_t>(field[begin]) <= 32)
        ++begin;
    while (end > begin && static_cast<std::uint8_t>(field[end - 1]) <= 32)
        --end;
    if (end - begin != needle.size())
        return false;
    for (int i = begin; i < end; ++i) {
        if (lowerByte(field[i]) != static_cast<std::uint8_t>(needle[i - begin]))
            return false;
    }
    return true;
}

} // namespace zelmar
