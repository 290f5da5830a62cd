#include "core/documents/RtfTemplate.h"
#include "core/documents/DocumentError.h"

#include <QBuffer>

#include <gtest/gtest.h>

using namespace zelmar;

namespace {

// Fields "gn", "D_w" and "count"; one record per entry of `records`.
class Values : public MergeValues {
public:
    explicit Values(QList<QStringList> records)
        : m_records(std::move(records)) {}
    qsizetype records() const override { return m_records.size(); }
    void write(qsizetype record, int field, RtfWriter& out) const override {
        if (field == 2)
            return out.text(QString::number(m_records.size()));
        out.text(m_records.value(record < 0 ? 0 : record).value(field));
    }

private:
    QList<QStringList> m_records;
};

int fieldOf(QStringView name) {
    const QStringList names = {QStringLiteral("gn"), QStringLiteral("D_w"),
                               QStringLiteral("count")};
    for (int i = 0; i < names.size(); ++i) {
        if (name.compare(names[i], Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

QByteArray merged(const QByteArray& rtf, const QList<QStringList>& records) {
    const RtfTemplate document(rtf, QStringLiteral("t.rtf"), fieldOf);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    RtfWriter out(buffer, QStringLiteral("r.rtf"));
    document.write(out, Values(records));
    return bytes;
}

QString failure(const QByteArray& rtf) {
    try {
        merged(rtf, {});
    } catch (const DocumentError& error) {
        return error.text();
    }
    return {};
}

} // namespace

TEST(RtfTemplate, PlaceholdersSplitByAnEditor) {
    struct Case {
        const char* rtf;
        const char* expected;
    };
    const Case cases[] = {
        // Plain, across a group, across an escape of the code page and \u with its fallback.
        {"{\\rtf1 N #gn#.}", "{\\rtf1 N 17.}"},
        {"{\\rtf1 #g{\\b n}#}", "{\\rtf1 17{\\b }}"},
        {"{\\rtf1 {\\i #}g\\'6e\\u35?}", "{\\rtf1 {\\i 17}}"},
        {"{\\rtf1 #g\r\nn#}", "{\\rtf1 17\r\n}"},
        // The line end of the source is no text; a paragraph break is.
        {"{\\rtf1 #g\\par n#}", "{\\rtf1 #g\\par n#}"},
        // An unknown name stays; its closing # may open a known one.
        {"{\\rtf1 #zz#gn# #x y#}", "{\\rtf1 #zz17 #x y#}"},
        // Hidden destinations are not text.
        {"{\\rtf1 {\\*\\bkmkstart #gn#}{\\fonttbl{\\f0 #gn#;}}#D_w#}",
         "{\\rtf1 {\\*\\bkmkstart #gn#}{\\fonttbl{\\f0 #gn#;}}10.03.12}"},
        // A control word left without its blank does not run into the text after it.
        {"{\\rtf1 \\b#gn#\\b0#D_w#x}", "{\\rtf1 \\b 17\\b0 10.03.12x}"},
        {"{\\rtf1 \\b#g\\i n#abc}", "{\\rtf1 \\b 17\\i abc}"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(merged(c.rtf, {{QStringLiteral("17"), QStringLiteral("10.03.12")}}),
                  QByteArray(c.expected))
            << c.rtf;
    EXPECT_EQ(merged("{\\rtf1 \\b#gn#abc}", {{QString()}}), QByteArray("{\\rtf1 \\b abc}"));
}

TEST(RtfTemplate, ValuesAreEscaped) {
    const QString value = QStringLiteral("a\\b{c} #gn# Жё\r\nx\ty");
    EXPECT_EQ(merged("{\\rtf1 #gn#}", {{value}}),
              QByteArray("{\\rtf1 a\\\\b\\{c\\} #gn# \\u1046?\\u1105?\\par x\\tab y}"));
    EXPECT_EQ(merged("{\\rtf1 {\\uc0 #gn#}{\\uc2 #gn#}}", {{QStringLiteral("Ж")}}),
              QByteArray("{\\rtf1 {\\uc0 \\u1046 }{\\uc2 \\u1046??}}"));
    // Outside the basic plane: two halves.
    EXPECT_EQ(merged("{\\rtf1 #gn#}", {{QString::fromUcs4(U"\U0001F600")}}),
              QByteArray("{\\rtf1 \\u-10179?\\u-8704?}"));
}

TEST(RtfTemplate, BandOfTableRowsIsRepeatedPerRecord) {
    const QByteArray rtf = "{\\rtf1 Всего #count#\\par\n"
                           "\\trowd\\cellx1000\\cellx2000\\pard\\intbl H1\\cell H2\\cell"
                           "{\\trowd\\cellx1000\\cellx2000\\row}\n"
                           "\\trowd\\cellx1000\\cellx2000\\pard\\intbl #BAND##gn#\\cell "
                           "#D_w##ENDBAND#\\cell{\\trowd\\cellx1000\\cellx2000\\row}\n"
                           "\\pard end\\par}";
    const QByteArray row = "\\trowd\\cellx1000\\cellx2000\\pard\\intbl %1\\cell "
                           "%2\\cell{\\trowd\\cellx1000\\cellx2000\\row}";
    // The row above the band is its heading: on the first page in the table, on the others in
    // the page header.
    const QByteArray heading = "\\trowd\\cellx1000\\cellx2000\\pard\\intbl H1\\cell H2\\cell"
                               "{\\trowd\\cellx1000\\cellx2000\\row}";
    const QByteArray head = "{\\rtf1 Всего 2\\par\n\\titlepg{\\header " + heading +
                            "{\\pard\\plain\\sl-1\\slmult0\\sb0\\sa0\\fs2\\v\\par}}\r\n" + heading +
                            "\n";
    EXPECT_EQ(merged(rtf, {{QStringLiteral("1"), QStringLiteral("01.02.12")},
                           {QStringLiteral("2"), QStringLiteral("03.04.12")}}),
              head + QByteArray(row).replace("%1", "1").replace("%2", "01.02.12") +
                  QByteArray(row).replace("%1", "2").replace("%2", "03.04.12") +
                  "\n\\pard end\\par}");
    // No records: the band goes, the rest stays.
    EXPECT_EQ(merged(rtf, {}), QByteArray(head).replace("2\\par", "0\\par") + "\n\\pard end\\par}");

    // Outside a table the band is whole paragraphs.
    EXPECT_EQ(merged("{\\rtf1 a\\par\\pard #BAND#n #gn##ENDBAND#\\par b}",
                     {{QStringLiteral("1")}, {QStringLiteral("2")}}),
              QByteArray("{\\rtf1 a\\par\\pard n 1\\par \\pard n 2\\par b}"));
}

TEST(RtfTemplate, LongBandsGoIntoTablesAndHeadingsIntoThePageHeader) {
    const QByteArray rtf =
        "{\\rtf1\\sectd\\margt851 #count#\\par\n"
        "\\trowd\\trhdr\\trbrdrb\\brdrs\\brdrw10 \\clbrdrb\\brdrs\\brdrw10\\cellx1000"
        "\\pard\\intbl H #count#\\cell\\row\n"
        "\\trowd\\trkeep\\clbrdrt\\brdrs\\brdrw20\\clbrdrb\\brdrs\\brdrw20\\cellx1000"
        "\\pard\\intbl #BAND##gn##ENDBAND#\\cell\\row\n"
        "\\pard end\\par}";
    QList<QStringList> records;
    for (int i = 1; i <= 26; ++i)
        records.append({QString::number(i)});
    const QByteArray made = merged(rtf, records);
    // The first page has a page header of its own (none); the others repeat the heading row,
    // without its bottom border: the rows under it draw that line.
    EXPECT_TRUE(
        made.startsWith("{\\rtf1\\sectd\\titlepg\\margt851 26\\par\n"
                        "{\\header \\trowd\\cellx1000\\pard\\intbl H 26\\cell\\row"
                        "{\\pard\\plain\\sl-1\\slmult0\\sb0\\sa0\\fs2\\v\\par}}\r\n"
                        "\\trowd\\trbrdrb\\brdrs\\brdrw10 \\clbrdrb\\brdrs\\brdrw10\\cellx1000"
                        "\\pard\\intbl H 26\\cell\\row\n"))
        << made.constData();
    // 25 records to a table; where two tables meet their borders are half as wide, and the
    // first row of the next one may split.
    const QByteArray row = "\\trowd\\trkeep\\clbrdrt\\brdrs\\brdrw20\\clbrdrb\\brdrs\\brdrw20"
                           "\\cellx1000\\pard\\intbl %1\\cell\\row";
    EXPECT_TRUE(made.contains(QByteArray(row).replace("%1", "24") +
                              "\\trowd\\trkeep\\clbrdrt\\brdrs\\brdrw20\\clbrdrb\\brdrs"
                              "\\brdrw10\\cellx1000\\pard\\intbl 25\\cell\\row"
                              "{\\pard\\plain\\sl-1\\slmult0\\sb0\\sa0\\fs2\\v\\par}\r\n"
                              "\\trowd\\clbrdrt\\brdrs\\brdrw10\\clbrdrb\\brdrs\\brdrw20"
                              "\\cellx1000\\pard\\intbl 26\\cell\\row\n\\pard end\\par}"))
        << made.constData();
    EXPECT_EQ(made.count("\\sl-1"), 2);

    // A template with a page header of its own keeps it, and its heading rows as they are.
    QByteArray own = rtf;
    own.replace("#count#\\par", "{\\header x\\par}#count#\\par");
    const QByteArray kept = merged(own, records);
    EXPECT_EQ(kept.count("\\header"), 1);
    EXPECT_TRUE(kept.contains("\\trowd\\trhdr"));
    EXPECT_FALSE(kept.contains("\\titlepg"));
}

TEST(RtfTemplate, BrokenTemplatesAreRefused) {
    EXPECT_TRUE(failure("PK\x03\x04").contains(QStringLiteral("не является документом RTF")));
    EXPECT_TRUE(failure("{\\rtf1 {\\b x}").contains(QStringLiteral("не хватает закрывающей")));
    EXPECT_TRUE(failure("{\\rtf1 x}}").contains(QStringLiteral("текст после конца")));
    EXPECT_TRUE(failure("{\\rtf1 #ENDBAND#}").contains(QStringLiteral("без #BAND#")));
    EXPECT_TRUE(failure("{\\rtf1 #BAND#\\par}").contains(QStringLiteral("нет метки #ENDBAND#")));
    EXPECT_TRUE(failure("{\\rtf1 {#BAND#}\\par #ENDBAND#\\par}")
                    .contains(QStringLiteral("не является целыми абзацами")));
    // Blanks and a zero byte after the last brace are what editors leave.
    EXPECT_EQ(merged(QByteArray("{\\rtf1 x}\r\n\0", 12), {}), QByteArray("{\\rtf1 x}\r\n\0", 12));
}

TEST(RtfTemplate, FillForLetters) {
    EXPECT_EQ(fillRtf("{\\rtf1 #Firma#, #FIRMA# #dolgnost#}", QStringLiteral("x"),
                      {{QStringLiteral("firma"), QStringLiteral("ООО «Ромашка»")}}),
              QByteArray("{\\rtf1 \\u1054?\\u1054?\\u1054? \\u171?\\u1056?\\u1086?\\u1084?\\u1072?"
                         "\\u1096?\\u1082?\\u1072?\\u187?, \\u1054?\\u1054?\\u1054? "
                         "\\u171?\\u1056?\\u1086?\\u1084?\\u1072?\\u1096?\\u1082?\\u1072?\\u187? "
                         "#dolgnost#}"));
}
