#include "core/store/Cp1251.h"
#include "core/store/ShortString.h"

#include <gtest/gtest.h>

#include <iconv.h>

using namespace zelmar;

namespace {

// The character glibc's iconv gives for one CP1251 byte, or -1 when it has none.
int iconvChar(unsigned char byte) {
    iconv_t cd = iconv_open("UTF-16LE", "CP1251");
    if (cd == reinterpret_cast<iconv_t>(-1))
        return -2;
    char in[1] = {static_cast<char>(byte)};
    char out[8] = {};
    char* inPtr = in;
    char* outPtr = out;
    size_t inLeft = 1;
    size_t outLeft = sizeof out;
    const size_t rc = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
    iconv_close(cd);
    if (rc == static_cast<size_t>(-1) || outPtr - out != 2)
        return -1;
    return static_cast<unsigned char>(out[0]) | (static_cast<unsigned char>(out[1]) << 8);
}

} // namespace

TEST(Cp1251, TableAgreesWithIconv) {
    ASSERT_NE(iconvChar('A'), -2) << "iconv has no CP1251";
    for (int byte = 0x80; byte <= 0xFF; ++byte) {
        const int expected = iconvChar(static_cast<unsigned char>(byte));
        if (byte == 0x98) {
            // Undefined in the code page; kept as U+0098 so the byte survives.
            EXPECT_EQ(expected, -1);
            EXPECT_EQ(kCp1251High[byte - 0x80], 0x0098);
            continue;
        }
        EXPECT_EQ(kCp1251High[byte - 0x80], expected) << "byte " << std::hex << byte;
    }
}

TEST(Cp1251, EveryByteSurvivesARoundTrip) {
    QByteArray all;
    for (int byte = 0; byte < 256; ++byte)
        all.append(static_cast<char>(byte));
    EXPECT_EQ(toCp1251(fromCp1251(all)), all);
}

TEST(Cp1251, RussianTextAndUnknownCharacters) {
    EXPECT_EQ(toCp1251(QStringLiteral("Ёж №5")), QByteArray::fromHex("a8e620b935"));
    // Characters outside the code page become '?', one byte per character (a surrogate pair
    // is one character).
    EXPECT_EQ(toCp1251(QStringLiteral("a\u4e2db\U0001F600c")), QByteArray("a?b?c"));
}

TEST(ShortString, KeepsFirstCharactersAndTheBytesBehindThem) {
    ShortString<5> s;
    std::memset(&s, 'x', sizeof s);
    s.assign(QStringLiteral("Кража со взломом"));
    EXPECT_EQ(s.length, 5);
    EXPECT_EQ(s.text(), QStringLiteral("Кража"));

    s.assign(QStringLiteral("ab"));
    EXPECT_EQ(s.text(), QStringLiteral("ab"));
    // What stood behind the new length is left as it was.
    EXPECT_EQ(QByteArray(s.chars + 2, 3), QByteArray::fromHex("e0e6e0"));
}

TEST(ShortString, DamagedLengthReadsAsCapacity) {
    ShortString<3> s;
    s.length = 200;
    std::memcpy(s.chars, "abc", 3);
    EXPECT_EQ(s.text(), QStringLiteral("abc"));
}

TEST(Cp1251, CharactersTheCodePageLacks) {
    EXPECT_EQ(outsideCp1251(QStringLiteral("Иванов И.И., № 5 — «ok»? ёЁ€")), QString());
    EXPECT_EQ(outsideCp1251(QStringLiteral("Straße, Łódź ß 😀")), QStringLiteral("ßŁóź😀"));
    EXPECT_TRUE(inCp1251(U'?'));
    EXPECT_FALSE(inCp1251(U'ł'));
}
