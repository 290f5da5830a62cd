#include "gui/TForm1.h"
#include "gui/TPrintWibor.h"
#include "gui/TShabloniDok.h"
#include "support/TestSupport.h"

#include "ui_TForm1.h"
#include "ui_TPrintWibor.h"
#include "ui_TShabloniDok.h"

#include <QHeaderView>
#include <QTest>
#include <QTimer>

using namespace zelmar;
using namespace zelmar::test;

namespace {

class TemplatesWindowTest : public RegisterTest {
protected:
    AppState& startWithCards() {
        prepareFolder();
        writeCards(QStringLiteral("Baza/Anketi.dat"),
                   {makeCard(1, 46000, 901, 0), makeCard(2, 46001, 902, 1)});
        return start();
    }
};

} // namespace

TEST_F(TemplatesWindowTest, EveryControlIsThereUnderItsName) {
    AppState& s = startWithCards();
    TShabloniDok window(s);
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Шаблоны печатных документов"));
    for (const char* name : {"SpPrDok", "ImaDok", "PutFil", "SodFil", "Plus", "Saves", "Minus",
                             "dxfColorButton1", "Print", "pRezKop"})
        EXPECT_NE(window.findChild<QWidget*>(QString::fromLatin1(name)), nullptr) << name;
    Ui::TShabloniDok& ui = window.ui();
    EXPECT_EQ(ui.SpPrDok->columnCount(), 3);
    EXPECT_EQ(ui.SpPrDok->horizontalHeaderItem(1)->text(),
              QStringLiteral("Имя файла - Путь к шаблону"));
    EXPECT_EQ(ui.Saves->toolTip(), QStringLiteral("Запомнить (строчку в списке)"));
    EXPECT_EQ(ui.Minus->toolTip(), QStringLiteral("Удалить шаблон (строчку из списка)"));
    EXPECT_EQ(ui.Print->text(), QStringLiteral("Печать таблицы"));
    EXPECT_EQ(ui.Print->toolTip(), QStringLiteral("через Excel"));
}

TEST_F(TemplatesWindowTest, OpenedFromBothMenusItRemembersAndOpensATemplate) {
    AppState& s = startWithCards();
    TForm1 main(s);
    TPrintWibor print(s, &main);
    TShabloniDok templates(s, &main);
    print.setTemplatesWindow(&templates);
    main.setOwnWindows({nullptr, nullptr, nullptr, nullptr, &print, &templates});
    // The main window tells of the card in the working card file when it opens and when it
    // is active again.
    m_prompts.ok().ok();
    main.show();

    bool shown = false;
    QTimer::singleShot(0, [&] {
        Ui::TShabloniDok& ui = templates.ui();
        shown = templates.isVisible();
        EXPECT_EQ(ui.SpPrDok->rowCount(), 1); // the blank row of an empty list
        ui.ImaDok->setText(QStringLiteral("Книга"));
        ui.PutFil->setText(QStringLiteral("c:\\Zelmar\\REPORT\\OtkazPic.rtf"));
        QTest::mouseClick(ui.Saves, Qt::LeftButton);
        EXPECT_EQ(ui.SpPrDok->item(0, 0)->text(), QStringLiteral("Книга"));
        ui.PutFil->clear();
        QTest::mouseClick(ui.SpPrDok->viewport(), Qt::LeftButton, {},
                          ui.SpPrDok->visualItemRect(ui.SpPrDok->item(0, 1)).center());
        EXPECT_EQ(ui.PutFil->text(), QStringLiteral("c:\\Zelmar\\REPORT\\OtkazPic.rtf"));
        QTest::mouseClick(ui.dxfColorButton1, Qt::LeftButton);
        templates.reject();
    });
    main.ui().N11->trigger();
    EXPECT_TRUE(shown);
    ASSERT_EQ(m_shell.calls.size(), 1);
    EXPECT_EQ(m_shell.calls[0].arguments,
              (QStringList{QStringLiteral("OtkazDat.txt"), QStringLiteral("OtkazPic.rtf")}));
    EXPECT_EQ(readBytes(QStringLiteral("REPORT/Shablon.dat")).size(), 448);

    // From the print selection window, the list read afresh.
    int rows = 0;
    QTimer::singleShot(0, [&] {
        QTimer::singleShot(0, [&] {
            rows = templates.ui().SpPrDok->rowCount();
            templates.reject();
        });
        print.ui().N2->trigger();
        print.reject();
    });
    print.exec();
    EXPECT_EQ(rows, 1);
}

TEST_F(TemplatesWindowTest, ReportButtonsOfTheWorkingTab) {
    AppState& s = startWithCards();
    TPrintWibor print(s);
    print.show();
    Ui::TPrintWibor& ui = print.ui();
    QTest::mouseClick(ui.Kwitki, Qt::LeftButton);
    EXPECT_EQ(m_shell.calls.size(), 2);
    EXPECT_TRUE(readBytes(QStringLiteral("REPORT/KartSDat.txt")).startsWith("|1:N_KP:"));
    m_prompts.yes();
    QTest::mouseClick(ui.Kniga, Qt::LeftButton);
    EXPECT_EQ(m_prompts.last().caption, QStringLiteral("Во всех напечатанных карточках"));
    EXPECT_EQ(readCards(QStringLiteral("Baza/Anketi.dat"))[0].PrintNet, 1);
    ui.StolbExcel->item(0)->setCheckState(Qt::Unchecked);
    QTest::mouseClick(ui.ExcelT, Qt::LeftButton);
    EXPECT_EQ(m_shell.calls.last().what, QStringLiteral("spreadsheet"));
    EXPECT_TRUE(readBytes(QStringLiteral("L_Excel.txt")).startsWith("\xca\xed\xe8\xe3\xe0;"));
    for (QPushButton* button : {ui.BitBtn1, ui.BitBtn4, ui.BitBtn2, ui.BitBtn3})
        QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_EQ(m_shell.calls.size(), 13);
}

TEST_F(TemplatesWindowTest, ButtonsWithNothingToActOnAreDisabled) {
    AppState& s = startWithCards();
    TShabloniDok window(s);
    window.show();
    Ui::TShabloniDok& ui = window.ui();
    EXPECT_FALSE(ui.Minus->isEnabled());
    EXPECT_FALSE(ui.dxfColorButton1->isEnabled());
    // A file of a kind the window opens; once it is listed it can be removed.
    ui.PutFil->setText(QStringLiteral("c:\\Zelmar\\REPORT\\OtkazPic.rtf"));
    EXPECT_TRUE(ui.dxfColorButton1->isEnabled());
    EXPECT_FALSE(ui.Minus->isEnabled());
    QTest::mouseClick(ui.Saves, Qt::LeftButton);
    EXPECT_TRUE(ui.Minus->isEnabled());
    QTest::mouseClick(ui.Minus, Qt::LeftButton);
    EXPECT_FALSE(ui.Minus->isEnabled());
    ui.PutFil->setText(QStringLiteral("c:\\Zelmar\\REPORT\\notes.txt"));
    EXPECT_FALSE(ui.dxfColorButton1->isEnabled());
}
