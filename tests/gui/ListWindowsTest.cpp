#include "core/editor/MainWindowEvents.h"
#include "core/store/DropDownLists.h"
#include "gui/TFIO_Dolgn.h"
#include "gui/TForm1.h"
#include "gui/TRedak.h"
#include "gui/TWibor.h"
#include "support/TestSupport.h"

#include "ui_TFIO_Dolgn.h"
#include "ui_TForm1.h"

#include <QApplication>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using namespace zelmar;
using namespace zelmar::test;

namespace {
class ListWindowsTest : public RegisterTest {};
} // namespace

TEST_F(ListWindowsTest, ChoiceDialogAnswersByButton) {
    TWibor wibor;
    QTimer::singleShot(0,
                       [&] { wibor.findChild<QPushButton*>(QStringLiteral("Udalit"))->click(); });
    EXPECT_EQ(wibor.ask(QStringLiteral("Удаление"), QStringLiteral("Удалить"),
                        QStringLiteral("В Архив"), QStringLiteral("Ничего не делать")),
              2);
    EXPECT_EQ(wibor.windowTitle(), QStringLiteral("Удаление"));
    EXPECT_EQ(wibor.findChild<QPushButton*>(QStringLiteral("Redak"))->text(),
              QStringLiteral("Удалить"));
    QTimer::singleShot(0, [&] { wibor.reject(); });
    EXPECT_EQ(wibor.ask(QStringLiteral("x"), QStringLiteral("1"), QStringLiteral("2"),
                        QStringLiteral("3")),
              0);
}

TEST_F(ListWindowsTest, ListEditorReturnsWhatTheBoxHolds) {
    TRedak redak;
    QTimer::singleShot(0, [&] {
        auto* box = redak.findChild<QPlainTextEdit*>(QStringLiteral("Spisok"));
        box->appendPlainText(QStringLiteral("Новая строка"));
        redak.close();
    });
    const QString text = redak.edit(QStringLiteral("Вид документа"), QStringLiteral("Рапорт\n"));
    EXPECT_EQ(redak.windowTitle(), QStringLiteral("Вид документа"));
    EXPECT_TRUE(text.contains(QStringLiteral("Рапорт")));
    EXPECT_TRUE(text.contains(QStringLiteral("Новая строка")));
}

TEST_F(ListWindowsTest, OfficialsEditorShowsAndSavesTheTable) {
    AppState& s = start();
    TFIO_Dolgn editor(s);
    editor.show();
    Ui::TFIO_Dolgn& ui = editor.ui();
    EXPECT_EQ(editor.windowTitle(), QStringLiteral("ФИО Должность Справочник"));
    for (const char* name : {"Tab_F_D", "Nomer", "FIO", "Dolgnost1", "BitBtn2", "PlusRab", "OtmDel",
                             "Save", "BitBtn1", "DolgWin", "Tabl_Box"})
        EXPECT_NE(editor.findChild<QWidget*>(QString::fromLatin1(name)), nullptr) << name;
    EXPECT_EQ(ui.Tab_F_D->rowCount(), 3);
    EXPECT_EQ(ui.Tab_F_D->horizontalHeaderItem(1)->text(), QStringLiteral("ФИО"));
    EXPECT_EQ(ui.PlusRab->toolTip(), QStringLiteral("Добавить строку ниже выбранной строки"));
    // A whole name and a whole position fit their boxes.
    const QFontMetrics metrics = ui.FIO->fontMetrics();
    EXPECT_GE(ui.FIO->width(),
              metrics.horizontalAdvance(QStringLiteral("Римский-Корсаков Константин В.")) + 8);
    EXPECT_GE(ui.Dolgnost1->lineEdit()->width(),
              metrics.horizontalAdvance(QStringLiteral("Оперуполномоченный У")) + 4);

    editor.run([&] {}); // the table as shown
    // Replace and Delete wait for a row to act on.
    EXPECT_FALSE(ui.BitBtn2->isEnabled());
    EXPECT_FALSE(ui.OtmDel->isEnabled());
    QTest::mouseClick(ui.Tab_F_D->viewport(), Qt::LeftButton, {},
                      ui.Tab_F_D->visualRect(ui.Tab_F_D->model()->index(1, 1)).center());
    EXPECT_EQ(ui.FIO->text(), QStringLiteral("Петров П.П."));
    EXPECT_TRUE(ui.BitBtn2->isEnabled());
    EXPECT_TRUE(ui.OtmDel->isEnabled());
    ui.FIO->setText(QStringLiteral("Орлов О.О."));
    QTest::mouseClick(ui.PlusRab, Qt::LeftButton);
    EXPECT_EQ(ui.Tab_F_D->rowCount(), 4);
    EXPECT_EQ(ui.Tab_F_D->item(2, 1)->text(), QStringLiteral("Орлов О.О."));
    EXPECT_EQ(ui.Tab_F_D->item(3, 0)->text(), QStringLiteral("4"));
    QTest::mouseClick(ui.Save, Qt::LeftButton);
    EXPECT_EQ(readBytes(QStringLiteral("Baza/Wines.dat")).size(), 4 * 52);
    EXPECT_TRUE(s.lists.items(ListId::KemWines).contains(QStringLiteral("Орлов О.О.")));
}

TEST_F(ListWindowsTest, MainWindowListsAndPickers) {
    prepareFolder();
    TForm1 window(newState());
    window.show();
    QApplication::processEvents();
    Ui::TForm1& ui = window.ui();
    EXPECT_GT(ui.WidDok->count(), 0);
    EXPECT_EQ(ui.KemWines->count(), 3);
    EXPECT_EQ(ui.PodpUtw->count(), 3);
    EXPECT_GT(ui.DolgnPodp->count(), 0);

    ui.PodpUtw->setCurrentIndex(ui.PodpUtw->findText(QStringLiteral("Петров П.П.")));
    EXPECT_EQ(ui.DolgnPodp->currentText(), QStringLiteral("Зам.начальника ОМВД"));

    const int before = ui.Motiv->count();
    ui.Motiv->setEditText(QStringLiteral("Новый мотив"));
    QTest::keyClick(ui.Motiv->lineEdit(), Qt::Key_Return);
    EXPECT_EQ(ui.Motiv->count(), before + 1);
    EXPECT_EQ(ui.Motiv->currentText(), QStringLiteral("Новый мотив"));
}
