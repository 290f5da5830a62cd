#include "core/store/Colours.h"
#include "core/editor/ColourCommands.h"
#include "core/editor/MainWindowEvents.h"
#include "support/TestSupport.h"

#include <QFile>

using namespace zelmar;
using namespace zelmar::test;

namespace {
class ColoursTest : public RegisterTest {};
} // namespace

TEST(ColourText, NamesAndNumbers) {
    EXPECT_EQ(colorToText(0xC0C0C0), QStringLiteral("clSilver"));
    EXPECT_EQ(colorToText(0xFF0000), QStringLiteral("clBlue"));
    EXPECT_EQ(colorToText(0xF0CAA6), QStringLiteral("clSkyBlue"));
    EXPECT_EQ(colorToText(0x00E4E8E9), QStringLiteral("$00E4E8E9"));
    EXPECT_EQ(textToColor(QStringLiteral("clMoneyGreen")), 0xC0DCC0u);
    EXPECT_EQ(textToColor(QStringLiteral("$00E4E4E9")), 0x00E4E4E9u);
    EXPECT_EQ(textToColor(QStringLiteral("255")), 0xFFu);
    EXPECT_EQ(textToColor(QStringLiteral("clNoSuchColour")), std::nullopt);
    EXPECT_EQ(textToColor(QStringLiteral("$zz")), std::nullopt);
}

TEST(ColourText, StoringLines) {
    const QStringList lines{QStringLiteral("Form1 clRed"), QStringLiteral("NashiOtm clBlue")};
    EXPECT_EQ(storeColourLine(lines, QStringLiteral("Form1"), QStringLiteral("clLime")),
              (QStringList{QStringLiteral("Form1 clLime"), QStringLiteral("NashiOtm clBlue")}));
    EXPECT_EQ(storeColourLine({}, QStringLiteral("WhodInfo"), QStringLiteral("$00FFFF79")),
              QStringList{QStringLiteral("WhodInfo $00FFFF79")});
    // A line without a blank keeps its place and its text.
    EXPECT_EQ(storeColourLine({QStringLiteral("garbage")}, QStringLiteral("Form1"),
                              QStringLiteral("clRed")),
              (QStringList{QStringLiteral("garbage"), QStringLiteral("Form1 clRed")}));
    // Nine lines at most: a full file gives up a line it cannot read, else its last.
    QStringList full;
    for (int i = 0; i < 12; ++i)
        full << QStringLiteral("Area%1 clRed").arg(i);
    QStringList stored = storeColourLine(full, QStringLiteral("Form1"), QStringLiteral("clLime"));
    EXPECT_EQ(stored.size(), 9);
    EXPECT_EQ(stored.last(), QStringLiteral("Form1 clLime"));
    full[3] = QStringLiteral("broken");
    stored = storeColourLine(full, QStringLiteral("Form1"), QStringLiteral("clLime"));
    EXPECT_EQ(stored[3], QStringLiteral("Form1 clLime"));
    EXPECT_EQ(stored[8], QStringLiteral("Area8 clRed"));
}

TEST_F(ColoursTest, FreshInstallationGetsAnEmptyColourFile) {
    AppState& s = start();
    EXPECT_TRUE(QFile::exists(file(QStringLiteral("Baza/CwetFona.krv"))));
    EXPECT_EQ(readBytes(QStringLiteral("Baza/CwetFona.krv")), QByteArray());
    EXPECT_FALSE(s.colours.pages);
    EXPECT_EQ(s.colours.Form1, clSilver);

    m_prompts.pickColour(0x00E4E4E9);
    N26Click(s);
    EXPECT_EQ(readBytes(QStringLiteral("Baza/CwetFona.krv")), QByteArray("NashiOtm $00E4E4E9\r\n"));
    EXPECT_EQ(s.colours.NashiOtm, 0x00E4E4E9u);

    m_prompts.pickColour(std::nullopt);
    N25Click(s);
    EXPECT_EQ(s.colours.Form1, clSilver);
    EXPECT_EQ(readBytes(QStringLiteral("Baza/CwetFona.krv")), QByteArray("NashiOtm $00E4E4E9\r\n"));

    m_prompts.pickColour(0xFF0000).pickColour(0xC0C0C0);
    N25Click(s);
    N25Click(s);
    EXPECT_EQ(readBytes(QStringLiteral("Baza/CwetFona.krv")),
              QByteArray("NashiOtm $00E4E4E9\r\nForm1 clSilver\r\n"));
}

TEST_F(ColoursTest, ColourFileIsAppliedAtStart) {
    prepareFolder();
    writeBytes(QStringLiteral("Baza/CwetFona.krv"),
               "Form1 clSilver\r\nNashiOtm $00E4E4E9\r\nWhodInfo clNoSuchColour\r\nnonsense\r\n");
    // A colour that cannot be read is told once, as the conversion tells it; the area keeps
    // its default colour and the start goes on.
    m_prompts.ok();
    AppState& s = start();
    EXPECT_EQ(m_prompts.last().text,
              QStringLiteral("'clNoSuchColour' is not a valid integer value"));
    EXPECT_EQ(m_prompts.last().caption, QStringLiteral("Zelmar"));
    EXPECT_EQ(s.colours.Form1, 0xC0C0C0u);
    EXPECT_EQ(s.colours.NashiOtm, 0x00E4E4E9u);
    EXPECT_EQ(s.colours.WhodInfo, 0x00FFFF79u);
    EXPECT_TRUE(s.colours.pages);
}
