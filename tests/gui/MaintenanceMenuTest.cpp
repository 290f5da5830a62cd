#include "gui/TForm1.h"
#include "support/TestSupport.h"

#include "ui_TForm1.h"

#include <QAction>
#include <QApplication>
#include <QPushButton>
#include <QTest>

using namespace zelmar;
using namespace zelmar::test;

namespace {
class MaintenanceMenuTest : public RegisterTest {};
} // namespace

TEST_F(MaintenanceMenuTest, MarkingAndCompactingThroughTheWindow) {
    writeCards(QStringLiteral("Baza/Anketi.dat"),
               {makeCard(1, 46001, 301), makeCard(2, 46002, 302), makeCard(3, 46003, 303)});
    TForm1 window(start());
    Ui::TForm1& ui = window.ui();
    for (QAction* entry : {ui.N20, ui.N2, ui.N18, ui.N19, ui.Bacup1})
        EXPECT_TRUE(entry->isEnabled()) << entry->objectName().toStdString();
    int code = -1;
    QObject::connect(&window, &TForm1::leaving, [&code](int c) { code = c; });

    QTest::mouseClick(ui.Spisok->viewport(), Qt::LeftButton, {},
                      ui.Spisok->visualRect(ui.Spisok->model()->index(1, 2)).center());
    QTest::mouseClick(ui.OtmDel, Qt::LeftButton);
    EXPECT_EQ(ui.Otmetka->text(), QStringLiteral("уд"));
    EXPECT_EQ(ui.Spisok->model()->index(1, 7).data().toString(), QStringLiteral("уд"));

    m_prompts.choose(1).no().ok();
    ui.N20->trigger();
    EXPECT_EQ(readCards(QStringLiteral("Baza/Anketi.dat")).size(), 2u);
    EXPECT_EQ(code, 0);
}
