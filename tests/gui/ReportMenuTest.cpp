#include "gui/TForm1.h"
#include "support/TestSupport.h"

#include <QAction>
#include <QPushButton>

using namespace zelmar;
using namespace zelmar::test;

namespace {
// The menu "Печать" is open only while the register holds a card.
class ReportMenuTest : public RegisterTest {
protected:
    void SetUp() override {
        prepareFolder();
        writeCards(QStringLiteral("Baza/Anketi.dat"), {makeCard(5, 40978.0, 96950000)});
    }
};
} // namespace

TEST_F(ReportMenuTest, CardReportsOfThePrintMenuStartTheRunner) {
    TForm1 window(newState());
    for (const char* name : {"N35", "N16"}) {
        auto* entry = window.findChild<QAction*>(QLatin1String(name));
        ASSERT_NE(entry, nullptr) << name;
        EXPECT_TRUE(entry->isEnabled()) << name;
        m_shell.calls.clear();
        entry->trigger();
        ASSERT_EQ(m_shell.calls.size(), 2) << name;
        EXPECT_EQ(m_shell.calls[1].arguments.last(), QStringLiteral("/p"));
    }
    EXPECT_TRUE(readBytes(QStringLiteral("REPORT/PolnDat.txt")).endsWith("\r\n\r\n\r\n"));
    EXPECT_TRUE(readBytes(QStringLiteral("REPORT/KUGiZDat.txt")).startsWith("|0:N_KP:"));
}

TEST_F(ReportMenuTest, AttachmentButtonsAndDocumentEntries) {
    TForm1 window(newState());
    for (const char* name : {"N10", "N9851", "N9581"}) {
        auto* entry = window.findChild<QAction*>(QLatin1String(name));
        ASSERT_NE(entry, nullptr) << name;
        EXPECT_TRUE(entry->isEnabled()) << name;
        entry->trigger();
    }
    EXPECT_EQ(m_shell.calls.size(), 3);
    auto* mail = window.findChild<QPushButton*>(QStringLiteral("PoslatEMail"));
    ASSERT_NE(mail, nullptr);
    mail->click();
    ASSERT_EQ(m_shell.calls.size(), 4);
    EXPECT_TRUE(m_shell.calls.last().target.startsWith(QStringLiteral("mailto:")));
    for (const char* name : {"Otvet", "GifEst", "WordEst"})
        EXPECT_NE(window.findChild<QPushButton*>(QLatin1String(name)), nullptr) << name;
}
