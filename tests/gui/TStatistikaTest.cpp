#include "gui/TStatistika.h"
#include "core/access/Users.h"
#include "core/texts/DayNumber.h"
#include "gui/TForm1.h"
#include "support/TestSupport.h"

#include "ui_TForm1.h"
#include "ui_TStatistika.h"

#include <QChart>
#include <QChartView>
#include <QTest>
#include <QTimer>

using namespace zelmar;
using namespace zelmar::test;

namespace {

class TStatistikaTest : public RegisterTest {
protected:
    AppState& startWithCards() {
        prepareFolder();
        std::vector<TAnketa> cards;
        for (int i = 0; i < 8; ++i) {
            TAnketa c = makeCard(i + 1, dayNumber(QDate(2026, 10, 1).addDays(i * 9)), 800 + i);
            c.KemWines = i % 3 == 0 ? QStringLiteral("Орлов Д.Н.") : QStringLiteral("Петров П.П.");
            c.ProkOtmetka = i % 4 == 0 ? QStringLiteral("Отменено") : QStringLiteral("Проверено");
            cards.push_back(c);
        }
        writeCards(QStringLiteral("Baza/Anketi.dat"), cards);
        return start();
    }
};

} // namespace

TEST_F(TStatistikaTest, EveryControlIsThereAndTheTableAndChartFollowShow) {
    AppState& s = startWithCards();
    TStatistika window(s);
    Ui::TStatistika& ui = window.ui();
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Статистика отказных материалов"));
    for (const char* name : {"StatS", "StatPo", "StatGrup", "StatArhiv", "StatPokaz", "StatTabl",
                             "StatGrafik", "StatExcel", "StatPechat", "StatWyhod"})
        EXPECT_NE(window.findChild<QWidget*>(QLatin1String(name)), nullptr) << name;
    EXPECT_EQ(ui.StatGrup->count(), 7);
    EXPECT_EQ(ui.StatGrup->itemText(3), QStringLiteral("подписал / утвердил"));
    EXPECT_EQ(ui.StatArhiv->text(), QStringLiteral("включая Архив"));
    EXPECT_EQ(ui.StatPokaz->text(), QStringLiteral("Показать"));
    EXPECT_EQ(ui.StatExcel->text(), QStringLiteral("в Excel"));
    EXPECT_EQ(ui.StatPechat->text(), QStringLiteral("Печать"));
    EXPECT_EQ(ui.StatWyhod->text(), QStringLiteral("Выход"));
    EXPECT_TRUE(ui.StatPokaz->isDefault());

    // Opened at 07.12.2026: the current month.
    window.resize(1280, 720);
    window.show();
    QApplication::processEvents();
    EXPECT_EQ(ui.StatS->date(), QDate(2026, 12, 1));
    EXPECT_EQ(ui.StatPo->date(), QDate(2026, 12, 7));
    EXPECT_EQ(ui.StatTabl->model()->rowCount(), 0);

    ui.StatS->setDate(QDate(2026, 10, 1));
    ui.StatGrup->setCurrentIndex(2);
    QTest::keyClick(ui.StatGrup, Qt::Key_Return); // Enter presses "Показать"
    ASSERT_EQ(ui.StatTabl->model()->rowCount(), 3);
    EXPECT_EQ(ui.StatTabl->model()->index(0, 0).data().toString(), QStringLiteral("Петров П.П."));
    EXPECT_EQ(ui.StatTabl->model()->index(2, 0).data().toString(), QStringLiteral("Итого"));
    EXPECT_EQ(ui.StatTabl->model()->index(2, 1).data().toString(), QStringLiteral("8"));
    QChart* chart = ui.StatGrafik->chart();
    ASSERT_NE(chart, nullptr);
    EXPECT_EQ(chart->series().size(), 2); // the bars and the share's line
    EXPECT_EQ(chart->axes().size(), 3);   // groups, materials, percent

    // The window fits 1280×720 with its controls on screen.
    for (QWidget* control :
         std::initializer_list<QWidget*>{ui.StatPokaz, ui.StatWyhod, ui.StatTabl})
        EXPECT_TRUE(window.rect().contains(
            control->geometry().translated(control->parentWidget()->mapTo(&window, QPoint(0, 0)))))
            << control->objectName().toStdString();

    ui.StatPechat->click();
    EXPECT_EQ(m_shell.calls.size(), 2);
    QTest::keyClick(&window, Qt::Key_Escape);
    EXPECT_FALSE(window.isVisible());
}

TEST_F(TStatistikaTest, TheMenuEntryOpensTheWindowUnderThePrintMenusRule) {
    AppState& s = startWithCards();
    TForm1 main(s);
    TStatistika window(s, &main);
    OwnWindows windows;
    windows.statistika = &window;
    main.setOwnWindows(windows);
    Ui::TForm1& ui = main.ui();
    const QList<QAction*> entries = ui.N7->actions();
    ASSERT_FALSE(entries.isEmpty());
    EXPECT_EQ(entries.last(), ui.NStatistika);
    EXPECT_EQ(ui.NStatistika->text(), QStringLiteral("Статистика"));
    EXPECT_TRUE(ui.N7->menuAction()->isEnabled());

    bool opened = false;
    QTimer::singleShot(0, &window, [&] {
        opened = window.isVisible();
        window.ui().StatWyhod->click();
    });
    ui.NStatistika->trigger();
    EXPECT_TRUE(opened);

    // A user without the chief administrator's access has no "Печать": nothing opens.
    s.access.CurUserAccess = QStringLiteral("W");
    main.run([] {});
    EXPECT_FALSE(ui.N7->menuAction()->isEnabled());
    opened = false;
    QTimer::singleShot(0, &window, [&] { opened = window.isVisible(); });
    ui.NStatistika->trigger();
    QApplication::processEvents();
    EXPECT_FALSE(opened);
}
