#include "gui/TForm1.h"
#include "support/TestSupport.h"

#include <QAction>

using namespace zelmar;
using namespace zelmar::test;

namespace {
class ReportMenuTest : public RegisterTest {};
} // namespace

TEST_F(ReportMenuTest, CardReportsOfThePrintMenuStartTheRunner) {
    prepareFolder();
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
