#include "gui/TFiltrOkno.h"
#include "gui/TForm1.h"
#include "gui/TPrintWibor.h"
#include "support/TestSupport.h"

#include "ui_TFiltrOkno.h"
#include "ui_TForm1.h"
#include "ui_TPrintWibor.h"

#include <QTest>
#include <QTimer>

using namespace zelmar;
using namespace zelmar::test;

namespace {

class PrintWindowsTest : public RegisterTest {
protected:
    AppState& startWithCards() {
        std::vector<TAnketa> cards;
        for (int i = 1; i <= 5; ++i)
            cards.push_back(makeCard(i, 46000 + i, 900 + i, 1,
                                     i == 4 ? QStringLiteral("Иванов") : QStringLiteral("Петров")));
        for (TAnketa& card : cards)
            card.KUPData = card.DateOtkaza;
        writeCards(QStringLiteral("Baza/Anketi.dat"), cards);
        return start();
    }
    static void clickRow(QTableView* grid, int row, int column = 2) {
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                          grid->visualRect(grid->model()->index(row, column)).center());
    }
};

} // namespace

TEST_F(PrintWindowsTest, EveryControlIsThereUnderItsName) {
    AppState& s = startWithCards();
    TPrintWibor print(s);
    TFiltrOkno filtr(s, &print, &print);
    EXPECT_EQ(print.windowTitle(), QStringLiteral("Выборка и печать отчетов"));
    for (const char* name :
         {"Tabl",     "RabTab",  "ArhTab",     "GlavStr",  "RabStr",  "ArhStr",  "KGlav",
          "KRab",     "KArh",    "GlavN",      "RabN",     "ArhN",    "GurN",    "DateOtkaza",
          "KtoWines", "PodpUtw", "ProkOtm",    "Motiv",    "EsNo",    "Fabul",   "NomOtk",
          "NaDat",    "KoDat",   "StolbExcel", "Sortir",   "PB1",     "PlusRab", "KartMat",
          "EstPost",  "NetPost", "DelRab",     "RabClear", "RabEs",   "RabNet",  "Kwitki",
          "Kniga",    "BitBtn1", "BitBtn2",    "BitBtn3",  "BitBtn4", "ExcelT",  "dxfColorButton1"})
        EXPECT_NE(print.findChild<QWidget*>(QString::fromLatin1(name)), nullptr) << name;
    Ui::TPrintWibor& ui = print.ui();
    for (QPushButton* report :
         {ui.Kwitki, ui.Kniga, ui.BitBtn1, ui.BitBtn2, ui.BitBtn3, ui.BitBtn4, ui.ExcelT})
        EXPECT_TRUE(report->isEnabled()) << report->objectName().toStdString();
    EXPECT_TRUE(ui.N2->isEnabled());
    EXPECT_EQ(ui.N2->text(), QStringLiteral("Шаблоны"));
    EXPECT_EQ(ui.N4->text(), QStringLiteral("Выход"));
    EXPECT_EQ(ui.StolbExcel->count(), 18);
    EXPECT_EQ(ui.StolbExcel->item(17)->checkState(), Qt::Checked);
    EXPECT_EQ(ui.Tabl->model()->headerData(9, Qt::Horizontal).toString(),
              QStringLiteral("Название документа"));
    EXPECT_EQ(ui.dxfColorButton1->toolTip(), QStringLiteral("из Главной или Архива в Рабочую"));

    EXPECT_EQ(filtr.windowTitle(), QStringLiteral("Укажите реквизиты и нажмите Выбрать"));
    for (const char* name :
         {"UslFiltr",  "DiapNom", "NaSE",      "KoSE",        "UdDel",     "DiapDat",
          "NaDat",     "KoDat",   "Rez",       "ProkOtmetka", "PrintNet",  "Komu",
          "KemWines",  "PodpUtw", "SlovaKl",   "KlSlovo",     "MotivP",    "Zayv",
          "Zayavitel", "NDKUS",   "KUPN",      "KUPDataN",    "KUPDataPo", "GroupBox2",
          "udRG",      "PRNPost", "GroupBox1", "GlWib",       "ArhWib",    "Obnovit"})
        EXPECT_NE(filtr.findChild<QWidget*>(QString::fromLatin1(name)), nullptr) << name;
    EXPECT_EQ(filtr.ui().PrintNetAny->text(), QStringLiteral("Любой"));
    EXPECT_EQ(filtr.ui().udRG->title(), QStringLiteral("уд Метку"));
    EXPECT_TRUE(filtr.ui().PRNPostLeave->isChecked());
}

TEST_F(PrintWindowsTest, PickAddFilterAndShowACard) {
    AppState& s = startWithCards();
    TForm1 main(s);
    TPrintWibor print(s, &main);
    TFiltrOkno filtr(s, &print, &print);
    print.setFilterWindow(&filtr);
    main.setOwnWindows({nullptr, nullptr, nullptr, nullptr, &print});
    main.show();
    bool filtered = false;
    QTimer::singleShot(0, [&] {
        Ui::TPrintWibor& ui = print.ui();
        EXPECT_EQ(ui.KGlav->text(), QStringLiteral("5"));
        EXPECT_EQ(ui.Tabl->model()->rowCount(), 5);
        clickRow(ui.Tabl, 1);
        EXPECT_EQ(ui.GlavN->text(), QStringLiteral("2"));
        EXPECT_EQ(ui.Sortir->text(), QStringLiteral("№ жур"));
        QTest::mouseClick(ui.PlusRab, Qt::LeftButton);
        EXPECT_EQ(ui.KRab->text(), QStringLiteral("1"));

        QTimer::singleShot(0, [&] {
            filtr.ui().Zayavitel->setEditText(QStringLiteral("иванов"));
            QTest::mouseClick(filtr.ui().GlWib, Qt::LeftButton);
            filtered = print.ui().Stranici->currentWidget() == print.ui().RabStr;
            filtr.reject();
        });
        QTest::mouseClick(ui.dxfColorButton1, Qt::LeftButton);
        EXPECT_EQ(ui.KRab->text(), QStringLiteral("1"));
        EXPECT_EQ(ui.RabTab->model()->rowCount(), 1);
        EXPECT_EQ(ui.Stranici->currentWidget(), ui.RabStr);
        clickRow(ui.RabTab, 0);
        EXPECT_EQ(ui.GurN->text(), QStringLiteral("4"));
        QTest::mouseClick(ui.KartMat, Qt::LeftButton);
    });
    m_prompts.ok(); // back in the main window: the working card file holds the card
    main.ui().N17->trigger();
    EXPECT_TRUE(filtered);
    EXPECT_FALSE(print.isVisible());
    EXPECT_EQ(main.ui().GurN->text(), QStringLiteral("4"));
}
