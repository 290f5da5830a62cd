#include "core/reports/ReportData.h"
#include "core/platform/Errors.h"
#include "core/reports/ReportDataWriter.h"
#include "core/texts/DayNumber.h"
#include "support/ByteVector.h"
#include "support/Failures.h"

#include <QBuffer>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace zelmar;
using namespace zelmar::test;

namespace {

// The card of the worked example: KUSP number 17, register number 5, refused on 10.03.2012,
// no term, every other text empty and every other date the empty date.
TAnketa example() {
    TAnketa c = zeroCard();
    c.KUPN = QStringLiteral("17");
    c.GurN = 5;
    c.DateOtkaza = dayNumber(QDate(2012, 3, 10));
    for (double* d : {&c.KUPData, &c.NashaWxodDat, &c.DataProvProkur, &c.DeloDat, &c.NasheIshData,
                      &c.NeNashaIshDat})
        *d = EmptyDate;
    return c;
}

QByteArray written(ReportLayout layout, const std::vector<TAnketa>& cards) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    ReportDataWriter writer(buffer, layout, QStringLiteral("test"));
    for (const TAnketa& card : cards)
        writer.add(card);
    writer.finish();
    return bytes;
}

// The 23 pieces of the example, as a multi-card line has them.
const char* const kExamplePieces =
    "|1:N_KP:17|1:D_KP:|1:gn:5|1:D_w:10.03.12|1:N_whod:|1:D_whod:|1:Zaywitel:|1:Motiw_otk:"
    "|1:Statia:|1:un:|1:Fabula:|1:Adres:|1:Kem_w_Post:|1:Dol_Kem:|1:Podpisal:|1:Dol_Podp:"
    "|1:Kem_Prod:|1:Dol_Prod:|1:D_Prokur:|1:N_UD:|1:D_UD:|1:N_Tom:|1:RPowR:";

} // namespace

TEST(ReportDataFile, SingleCardWorkedExample) {
    const QByteArray expected = "|0:N_KP:17\r\n"
                                "|0:D_KP:\r\n"
                                "|0:gn:5\r\n"
                                "|0:D_w:10.03.12\r\n"
                                "|0:N_whod:\r\n"
                                "|0:D_whod:\r\n"
                                "|0:Zaywitel:\r\n"
                                "|0:Motiw_otk:\r\n"
                                "|0:Statia:\r\n"
                                "|0:un:\r\n"
                                "|0:Fabula:\r\n"
                                "|0:Adres:\r\n"
                                "|0:Kem_w_Post:\r\n"
                                "|0:Dol_Kem:\r\n"
                                "|0:Podpisal:\r\n"
                                "|0:Dol_Podp:\r\n"
                                "|0:Kem_Prod:\r\n"
                                "|0:Dol_Prod:\r\n"
                                "|0:D_Prokur:\r\n"
                                "|0:N_UD:\r\n"
                                "|0:D_UD:\r\n"
                                "|0:N_Tom:\r\n"
                                "|0:RPowR:\r\n"
                                "\r\n"
                                "\r\n";
    EXPECT_EQ(written(ReportLayout::SingleCard, {example()}), expected);
}

TEST(ReportDataFile, MultiCardWorkedExampleAndEmptyFile) {
    EXPECT_EQ(written(ReportLayout::MultiCard, {example()}),
              QByteArray(kExamplePieces) + "\r\n\r\n");
    EXPECT_EQ(written(ReportLayout::MultiCard, {}), QByteArray("\r\n"));
    EXPECT_EQ(written(ReportLayout::Numbered, {}), QByteArray("\r\n"));
}

TEST(ReportDataFile, NumberedLinesCountFromOne) {
    TAnketa second = example();
    second.NashIshNom = QStringLiteral("12/3");
    second.NasheIshData = dayNumber(QDate(2012, 4, 2));
    const QByteArray line = QByteArray(kExamplePieces);
    EXPECT_EQ(written(ReportLayout::Numbered, {example(), second}),
              "|1:nn:1" + line + "|1:n_is_n:|1:n_is_d:\r\n" + "|1:nn:2" + line +
                  "|1:n_is_n:12/3|1:n_is_d:02.04.12\r\n\r\n");
}

TEST(ReportDataFile, ValueRules) {
    TAnketa c = example();
    c.Srok = 10;
    c.DateOtkaza = EmptyDate;                        // still written as 01.01.01
    c.KUPData = dayNumber(QDate(2001, 1, 1)) + 0.75; // blank at any time of day
    c.NashaWxodDat = dayNumber(QDate(2001, 1, 2));
    c.FIOAvtor = QStringLiteral(" Иванов ");            // kept as stored
    c.Fabula = QStringLiteral("  кража\r\nсумки \r\n"); // trimmed, runs over two lines
    c.MestoNah = QStringLiteral("\tт.1 ");
    c.GurN = -4;
    const QByteArray bytes = written(ReportLayout::SingleCard, {c});
    const QByteArray expected =
        handWritten(173, 0,
                    {{0, "7c303a4e5f4b503a31370d0a"},            // |0:N_KP:17
                     {12, "7c303a445f4b503a0d0a"},               // |0:D_KP:
                     {22, "7c303a676e3a2d340d0a"},               // |0:gn:-4
                     {32, "7c303a445f773a30312e30312e30310d0a"}, // |0:D_w:01.01.01
                     {49, "7c303a4e5f77686f643a0d0a"},
                     {61, "7c303a445f77686f643a30322e30312e30310d0a"},     // |0:D_whod:02.01.01
                     {81, "7c303a5a6179776974656c3a20c8e2e0edeee2200d0a"}, // |0:Zaywitel: Иванов
                     {103, "7c303a4d6f7469775f6f746b3a0d0a"},
                     {118, "7c303a5374617469613a0d0a"},
                     {130, "7c303a756e3a0d0a"},
                     {138, "7c303a466162756c613a eaf0e0e6e0 0d0a f1f3eceae8 0d0a"}, // кража, сумки
                     {162, "7c303a41647265733a0d0a"}});
    EXPECT_EQ(bytes.left(expected.size()), expected);
    EXPECT_TRUE(bytes.contains("|0:Dol_Podp:\r\n|0:Srok_R:10\r\n|0:Kem_Prod:\r\n"));
    EXPECT_TRUE(bytes.contains("|0:N_Tom:\xf2.1\r\n|0:RPowR:\r\n\r\n\r\n"));
}

TEST(ReportDataFile, ReadBackWithContinuationsAndTornLines) {
    TAnketa c = example();
    c.Fabula = QStringLiteral("первая\r\n\r\nтретья");
    c.NashIshNom = QStringLiteral("7");
    const QByteArray multi = written(ReportLayout::Numbered, {c, example()});
    const ReportData whole = ReportData::parse(multi);
    ASSERT_EQ(whole.cards(), 2);
    EXPECT_TRUE(whole.multiCard());
    EXPECT_EQ(whole.value(0, reportTagIndex(u"Fabula")), toCp1251(c.Fabula.text()));
    EXPECT_EQ(whole.value(0, reportTagIndex(u"n_is_n")), QByteArray("7"));
    EXPECT_EQ(whole.value(1, tags::Nn), QByteArray("2"));
    EXPECT_EQ(whole.value(1, reportTagIndex(u"D_w")), QByteArray("10.03.12"));

    // Cut anywhere inside the second card, or right after it before its line end: one card.
    const qsizetype secondStart = multi.indexOf("|1:nn:2");
    for (qsizetype cut : {secondStart + 3, multi.size() - 40, multi.size() - 4})
        EXPECT_EQ(ReportData::parse(multi.left(cut)).cards(), 1) << cut;
    EXPECT_EQ(ReportData::parse(multi.left(multi.size() - 2)).cards(), 2);

    const QByteArray single = written(ReportLayout::SingleCard, {c});
    const ReportData one = ReportData::parse(single);
    ASSERT_EQ(one.cards(), 1);
    EXPECT_FALSE(one.multiCard());
    EXPECT_EQ(one.value(0, reportTagIndex(u"Fabula")), toCp1251(c.Fabula.text()));
    EXPECT_EQ(one.value(0, reportTagIndex(u"RPowR")), QByteArray());
    EXPECT_EQ(ReportData::parse(single.left(single.indexOf("|0:RPowR"))).cards(), 0);
    EXPECT_EQ(ReportData::parse("\r\n").cards(), 0);
}

TEST(ReportDataFile, AFailedWriteKeepsThePreviousFile) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("OtkazDat.txt"));
    {
        QFile old(path);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("old\r\n");
    }
    std::vector<TAnketa> cards(5000, example());
    withFileSizeLimit(100000, [&] {
        try {
            writeReportData(path, ReportLayout::MultiCard, cards);
            ADD_FAILURE() << "the write should have failed";
        } catch (const IoError& error) {
            EXPECT_EQ(error.code(), IoError::DiskFull);
        }
    });
    QFile kept(path);
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), QByteArray("old\r\n"));
    EXPECT_FALSE(QFile::exists(path + QStringLiteral(".new")));
}

TEST(ReportDataFile, AMarkerInsideAValueStaysInIt) {
    // The pieces of a card come in a fixed order: "|1:" or "|0:" followed by anything but the
    // tag expected next (or, in a single-card file, not at a line start) is text of the value.
    TAnketa c = example();
    c.Fabula = QStringLiteral("Текст с |1:gn:999 внутри |0:N_KP:1");
    c.FIOAvtor = QStringLiteral("|1:Zaywitel:|0:Motiw_otk:|1:D_w:");
    c.RezPovtRasm = QStringLiteral("итог |1:N_KP:2|1:D_KP:");
    c.Srok = 10;
    c.KemProdlen = QStringLiteral("Петров |1:Srok_R:5");
    TAnketa second = example();
    second.MestoNah = QStringLiteral("Том 1\r\n|1:gn:7");
    for (const ReportLayout layout :
         {ReportLayout::SingleCard, ReportLayout::MultiCard, ReportLayout::Numbered}) {
        const bool single = layout == ReportLayout::SingleCard;
        const ReportData data =
            ReportData::parse(written(layout, single ? std::vector{c} : std::vector{c, second}));
        ASSERT_EQ(data.cards(), single ? 1 : 2) << int(layout);
        const auto value = [&](qsizetype card, const char16_t* tag) {
            return fromCp1251(data.value(card, reportTagIndex(tag)).toByteArray());
        };
        EXPECT_EQ(value(0, u"gn"), QStringLiteral("5"));
        EXPECT_EQ(value(0, u"Fabula"), c.Fabula.text());
        EXPECT_EQ(value(0, u"Zaywitel"), c.FIOAvtor.text());
        EXPECT_EQ(value(0, u"Srok_R"), QStringLiteral("10"));
        EXPECT_EQ(value(0, u"Kem_Prod"), c.KemProdlen.text());
        EXPECT_EQ(value(0, u"RPowR"), c.RezPovtRasm.text());
        if (!single) {
            EXPECT_EQ(value(1, u"N_Tom"), second.MestoNah.text());
            EXPECT_EQ(value(1, u"gn"), QStringLiteral("5"));
        }
    }
}
