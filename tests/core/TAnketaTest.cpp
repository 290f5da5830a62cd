#include "core/store/TAnketa.h"
#include "support/ByteVector.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace zelmar;
using zelmar::test::handWritten;

namespace {

TAnketa fromBytes(const QByteArray& bytes) {
    TAnketa card;
    EXPECT_EQ(bytes.size(), TAnketa::Size);
    std::memcpy(&card, bytes.constData(), sizeof card);
    return card;
}

QByteArray toBytes(const TAnketa& card) {
    return QByteArray(reinterpret_cast<const char*>(&card), sizeof card);
}

// A card as another program would have written it: filler 0xCC everywhere a field does not
// reach, so a field read at a wrong offset shows.
QByteArray storedCard() {
    return handWritten(TAnketa::Size, '\xCC',
                       {
                           {0, "39 30 00 00"},                          // GurN 12345
                           {8, "00 00 00 00 50 c2 e5 40"},              // DateOtkaza 44562.5
                           {16, "00 00 00 00 00 f0 76 40"},             // KUPData 367.0
                           {24, "03 31 32 33"},                         // KUPN "123"
                           {45, "0b c8 e2 e0 ed ee e2 20 c8 2e c8 2e"}, // KemWines
                           {149, "05 ca f0 e0 e6 e0"},                  // Motiv "Кража"
                           {256, "00 00 00 00 08 f9 e5 40"},            // DataProvProkur 45000.25
                           {296, "0d f1 f2 2e 20 31 35 38 20 d3 ca 20 d0 d4"}, // Statia
                           {472, "f9 ff ff ff"},                               // Srok -7
                           {580, "05 ca f0 e0 e6 e0"},        // FIOAvtor "Кража"
                           {723, "00"},                       // Fabula ""
                           {996, "02 00 00 00"},              // Listov 2
                           {1000, "03 00 00 00"},             // Ekzem 3
                           {1104, "00 00 00 00 30 01 e4 40"}, // NashaWxodDat 40969.5
                           {1112, "50 09 c4 23"},             // Klu4Form1 600050000
                           {1144, "00 00 00 00 80 cc e2 40"}, // DaWrSozd 38500.0
                           {1160, "02 f3 e4"},                // Otmetka "уд"
                           {1164, "01 00 00 00"},             // PrintNet 1
                       });
}

} // namespace

TEST(TAnketa, DecodesAStoredCardFieldByField) {
    const TAnketa c = fromBytes(storedCard());
    EXPECT_EQ(c.GurN, 12345);
    EXPECT_EQ(c.DateOtkaza, 44562.5);
    EXPECT_EQ(c.KUPData, 367.0);
    EXPECT_EQ(c.KUPN.text(), QStringLiteral("123"));
    EXPECT_EQ(c.KemWines.text(), QStringLiteral("Иванов И.И."));
    EXPECT_EQ(c.Motiv.text(), QStringLiteral("Кража"));
    EXPECT_EQ(c.DataProvProkur, 45000.25);
    EXPECT_EQ(c.Statia.text(), QStringLiteral("ст. 158 УК РФ"));
    EXPECT_EQ(c.Srok, -7);
    EXPECT_EQ(c.FIOAvtor.text(), QStringLiteral("Кража"));
    EXPECT_EQ(c.Fabula.text(), QString());
    EXPECT_EQ(c.Listov, 2);
    EXPECT_EQ(c.Ekzem, 3);
    EXPECT_EQ(c.NashaWxodDat, 40969.5);
    EXPECT_EQ(c.Klu4Form1, 600050000);
    EXPECT_EQ(c.DaWrSozd, 38500.0);
    EXPECT_EQ(c.Otmetka.text(), QStringLiteral("уд"));
    EXPECT_EQ(c.PrintNet, 1);
    // A filler length byte (0xCC = 204) in a 20-character field reads as 20 characters.
    EXPECT_EQ(c.DolgWines.text().size(), 20);
}

TEST(TAnketa, EncodesExactlyAsHandWritten) {
    TAnketa c = zeroCard();
    c.GurN = 12345;
    c.DateOtkaza = 44562.5;
    c.KUPN = QStringLiteral("123");
    c.KemWines = QStringLiteral("Иванов И.И.");
    c.Srok = -7;
    c.Klu4Form1 = 600050000;
    c.Otmetka = QStringLiteral("уд");
    c.PrintNet = 1;
    const QByteArray expected = handWritten(TAnketa::Size, '\0',
                                            {
                                                {0, "39 30 00 00"},
                                                {8, "00 00 00 00 50 c2 e5 40"},
                                                {24, "03 31 32 33"},
                                                {45, "0b c8 e2 e0 ed ee e2 20 c8 2e c8 2e"},
                                                {472, "f9 ff ff ff"},
                                                {1112, "50 09 c4 23"},
                                                {1160, "02 f3 e4"},
                                                {1164, "01 00 00 00"},
                                            });
    EXPECT_EQ(toBytes(c), expected);
}

TEST(TAnketa, StringsAreCutToTheirFields) {
    TAnketa c = zeroCard();
    c.Fabula = QString(250, QChar(u'ф'));
    c.Otmetka = QStringLiteral("абв");
    EXPECT_EQ(c.Fabula.text(), QString(200, QChar(u'ф')));
    EXPECT_EQ(c.Otmetka.text(), QStringLiteral("аб"));
}

TEST(TAnketa, ReservedTailAndHiddenBytesTravelWithTheCard) {
    TAnketa c = fromBytes(storedCard());
    // Assigning a field never touches the reserved tail or the pads.
    c.KUPN = QStringLiteral("9");
    c.GurN = 1;
    const QByteArray bytes = toBytes(c);
    EXPECT_EQ(bytes.mid(1168, 40), QByteArray(40, '\xCC'));
    EXPECT_EQ(bytes.mid(4, 4), QByteArray(4, '\xCC'));
    // Behind the new length of KUPN the old characters stay.
    EXPECT_EQ(bytes.mid(24, 4), QByteArray::fromHex("01393233"));

    const TAnketa copy = c;
    EXPECT_EQ(toBytes(copy), bytes);
}

TEST(TAnketa, ComparesFieldsNotBytes) {
    TAnketa a = zeroCard();
    TAnketa b = zeroCard();
    std::memset(b.reserved, 7, sizeof b.reserved);
    a.KUPN = QStringLiteral("12345");
    a.KUPN = QStringLiteral("1");
    b.KUPN = QStringLiteral("1");
    EXPECT_NE(toBytes(a), toBytes(b));
    EXPECT_TRUE(a.sameFields(b));
    b.Otmetka = QStringLiteral("уд");
    EXPECT_FALSE(a.sameFields(b));
}
