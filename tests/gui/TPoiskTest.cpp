#include "gui/TPoisk.h"
#include "core/texts/DayNumber.h"
#include "gui/TForm1.h"
#include "support/TestSupport.h"

#include "ui_TForm1.h"
#include "ui_TPoisk.h"

#include <QTest>
#include <QTimer>

using namespace zelmar;
using namespace zelmar::test;

namespace {

class TPoiskTest : public RegisterTest {
protected:
    AppState& startWithCards() {
        std::vector<TAnketa> cards;
        for (int i = 1; i <= 6; ++i)
            cards.push_back(makeCard(i, 46000 + i, 800 + i, 1,
                                     i % 2 ? QStringLiteral("Петров") : QStringLiteral("Иванов")));
        writeCards(QStringLiteral("Baza/Anketi.dat"), cards);
        return start();
    }
};

} // namespace

TEST_F(TPoiskTest, EveryControlIsThereUnderItsName) {
    AppState& s = startWithCards();
    TForm1 main(s);
    TPoisk poisk(s, &main, &main);
    EXPECT_EQ(poisk.windowTitle(), QStringLiteral("Поиск. Результат - в рабочей Картотеке"));
    for (const char* name :
         {"UslFiltr", "DiapNom",  "NaSE",        "KoSE",      "DiapDat",    "NaDat",
          "KoDat",    "Rez",      "ProkOtmetka", "PrintNet",  "Komu",       "KemWines",
          "PodpUtw",  "Zayv",     "Zayavitel",   "IshZayv",   "IshNomZayv", "SlovaKl",
          "KlSlovo",  "MotivP",   "NashWhIsh",   "WhNash",    "IshNash",    "NDKUS",
          "KUPN",     "KUPDataN", "KUPDataPo",   "KakayPlay", "sBegin",     "sNext",
          "sPred",    "sEnd",     "WsehSrazu",   "nKRab",     "RabZero",    "PosNai",
          "PoslPok",  "Obnovit"})
        EXPECT_NE(poisk.findChild<QWidget*>(QString::fromLatin1(name)), nullptr) << name;
    Ui::TPoisk& ui = poisk.ui();
    EXPECT_EQ(ui.UslFiltr->title(), QStringLiteral(" Условия поиска через логическое \"И\" "));
    EXPECT_EQ(ui.WsehSrazu->text(), QStringLiteral("Найти"));
    EXPECT_EQ(ui.WsehSrazu->toolTip(), QStringLiteral("сразу"));
    EXPECT_EQ(ui.sEnd->toolTip(), QStringLiteral("С последней начать"));
    EXPECT_EQ(ui.KakayPlay->toolTip(), QStringLiteral("Поиск с Начала или с Конца"));
    EXPECT_EQ(ui.PrintNet->title(), QStringLiteral("Напечатано"));
    EXPECT_EQ(ui.PrintNetAny->text(), QStringLiteral("Любое"));
}

TEST_F(TPoiskTest, OpenedFromTheMainWindowItFindsAndShowsACard) {
    AppState& s = startWithCards();
    TForm1 main(s);
    TPoisk poisk(s, &main, &main);
    main.setOwnWindows({nullptr, nullptr, nullptr, &poisk});
    main.show();
    bool shown = false;
    QTimer::singleShot(0, [&] {
        Ui::TPoisk& ui = poisk.ui();
        shown = poisk.isVisible();
        EXPECT_EQ(ui.KoSE->value(), 9999);
        EXPECT_EQ(ui.KoDat->date(), QDate(2027, 1, 7));
        EXPECT_TRUE(ui.PrintNetAny->isChecked());
        ui.Zayavitel->setEditText(QStringLiteral(" ИВАНОВ "));
        QTest::mouseClick(ui.WsehSrazu, Qt::LeftButton);
        EXPECT_EQ(ui.nKRab->text(), QStringLiteral("3"));
        EXPECT_EQ(main.ui().WRab->text(), QStringLiteral("3"));
        EXPECT_EQ(main.ui().Zakl1->currentWidget(), main.ui().RaTS);
        EXPECT_EQ(main.ui().RabSpis->model()->rowCount(), 3);

        QTest::mouseClick(ui.sBegin, Qt::LeftButton);
        QTest::mouseClick(ui.sNext, Qt::LeftButton);
        EXPECT_EQ(ui.PosNai->text(), QStringLiteral("2"));
        EXPECT_EQ(main.ui().GurN->text(), QStringLiteral("2"));

        ui.PosNai->setText(QStringLiteral("5"));
        QTest::mouseClick(ui.PoslPok, Qt::LeftButton);
    });
    m_prompts.ok(); // back in the main window: the working card file is not empty
    QTest::mouseClick(main.ui().nPoisk, Qt::LeftButton);
    EXPECT_TRUE(shown);
    EXPECT_FALSE(poisk.isVisible());
    EXPECT_EQ(main.ui().GurN->text(), QStringLiteral("5"));
    EXPECT_EQ(m_prompts.last().text, QStringLiteral("1 шт. Они в Рабочей картотеке"));
}
