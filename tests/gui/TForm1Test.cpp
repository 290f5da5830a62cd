#include "gui/TForm1.h"
#include "core/texts/DayNumber.h"
#include "support/TestSupport.h"

#include "ui_TForm1.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>

#include <limits>

using namespace zelmar;
using namespace zelmar::test;

namespace {

class TForm1Test : public RegisterTest {};

} // namespace

TEST_F(TForm1Test, EveryControlIsThereUnderItsName) {
    prepareFolder();
    TForm1 window(newState());
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Zelmar Журнал учета отказных материалов"));
    const QStringList controls = {
        QStringLiteral("GurN"),           QStringLiteral("DateOtkaza"),
        QStringLiteral("NashWxodNom"),    QStringLiteral("NashaWxodDat"),
        QStringLiteral("KemWines"),       QStringLiteral("DolgWines"),
        QStringLiteral("PodpUtw"),        QStringLiteral("DolgnPodp"),
        QStringLiteral("LicoUN"),         QStringLiteral("KUPN"),
        QStringLiteral("KUPData"),        QStringLiteral("Motiv"),
        QStringLiteral("KemProdlen"),     QStringLiteral("Srok"),
        QStringLiteral("DolgProdlen"),    QStringLiteral("DeloNom"),
        QStringLiteral("DeloDat"),        QStringLiteral("Statia"),
        QStringLiteral("MestoNah"),       QStringLiteral("RezPovtRasm"),
        QStringLiteral("DataProvProkur"), QStringLiteral("ProkOtmetka"),
        QStringLiteral("PrintNet"),       QStringLiteral("NeNashIshNom"),
        QStringLiteral("NeNashaIshDat"),  QStringLiteral("WidDok"),
        QStringLiteral("DolgnAvt"),       QStringLiteral("FIOAvtor"),
        QStringLiteral("Telefon"),        QStringLiteral("EMail"),
        QStringLiteral("Adres"),          QStringLiteral("NazwDok"),
        QStringLiteral("Fabula"),         QStringLiteral("FabOstZn"),
        QStringLiteral("Nositel"),        QStringLiteral("Listov"),
        QStringLiteral("Ekzem"),          QStringLiteral("Otpravitel"),
        QStringLiteral("NashIshNom"),     QStringLiteral("NasheIshData"),
        QStringLiteral("Klu4Form1"),      QStringLiteral("AdminFIO"),
        QStringLiteral("DaWrSozd"),       QStringLiteral("DWKorr"),
        QStringLiteral("Otmetka"),        QStringLiteral("Otvet"),
        QStringLiteral("GifEst"),         QStringLiteral("WordEst"),
        QStringLiteral("nNew"),           QStringLiteral("nCopiy"),
        QStringLiteral("nVstavka"),       QStringLiteral("nOtmena"),
        QStringLiteral("nSave"),          QStringLiteral("nPoisk"),
        QStringLiteral("nDelete"),        QStringLiteral("nWstavit"),
        QStringLiteral("ZapGurN"),        QStringLiteral("SpeedButBeg"),
        QStringLiteral("SpeedButPred"),   QStringLiteral("SpeedButNext"),
        QStringLiteral("SpeedButEnd"),    QStringLiteral("NNaidena"),
        QStringLiteral("WsegoZ"),         QStringLiteral("WRab"),
        QStringLiteral("Zakl1"),          QStringLiteral("GlTS"),
        QStringLiteral("RaTS"),           QStringLiteral("Spisok"),
        QStringLiteral("RabSpis"),        QStringLiteral("nGlRab"),
        QStringLiteral("RabZero"),        QStringLiteral("NashiOtm"),
        QStringLiteral("WhodInfo"),       QStringLiteral("PoslatEMail"),
        QStringLiteral("OtmDel"),         QStringLiteral("Progress"),
        QStringLiteral("AbMeter1"),       QStringLiteral("AbMeter2"),
    };
    for (const QString& name : controls)
        EXPECT_NE(window.findChild<QWidget*>(name), nullptr) << name.toStdString();
    for (const QString& name :
         {QStringLiteral("N1"), QStringLiteral("N3"), QStringLiteral("N7"), QStringLiteral("N24")})
        EXPECT_NE(window.findChild<QMenu*>(name), nullptr) << name.toStdString();
    for (const QString& name :
         {QStringLiteral("N4"), QStringLiteral("N5"), QStringLiteral("N6"), QStringLiteral("N9"),
          QStringLiteral("N10"), QStringLiteral("N11"), QStringLiteral("N17"),
          QStringLiteral("N20"), QStringLiteral("Bacup1"), QStringLiteral("N25")})
        EXPECT_NE(window.findChild<QAction*>(name), nullptr) << name.toStdString();
    // Hints are the controls' tooltips.
    EXPECT_EQ(window.ui().Klu4Form1->toolTip(), QStringLiteral("Уникальный номер анкеты"));
    EXPECT_EQ(window.ui().nSave->toolTip(),
              QStringLiteral("Запомнить Новую, Копию или исправления"));
    EXPECT_EQ(window.ui().Zakl1->tabText(0), QStringLiteral("Главная картотека"));
    EXPECT_EQ(window.ui().Zakl1->tabText(1), QStringLiteral("Рабочая"));
}

TEST_F(TForm1Test, ACardIsTypedAndSavedThroughTheWindow) {
    prepareFolder();
    TForm1 window(newState());
    Ui::TForm1& ui = window.ui();
    // An empty register: a blank card whose only way forward is Save.
    EXPECT_TRUE(ui.nNew->isHidden());
    EXPECT_FALSE(ui.N7->menuAction()->isEnabled());
    EXPECT_EQ(ui.GurN->text(), QStringLiteral("0"));

    ui.GurN->setText(QStringLiteral("17"));
    ui.FIOAvtor->setEditText(QStringLiteral("Сидоров С.С."));
    ui.KUPData->setDate(QDate(2026, 11, 30));
    ui.Fabula->setPlainText(QStringLiteral("строка 1\nстрока 2"));
    EXPECT_EQ(ui.FabOstZn->text(), QString::number(200 - 18));
    QTest::mouseClick(ui.nSave, Qt::LeftButton);

    const std::vector<TAnketa> cards = readCards(QStringLiteral("Baza/Anketi.dat"));
    ASSERT_EQ(cards.size(), 1u);
    EXPECT_EQ(cards[0].GurN, 17);
    EXPECT_EQ(cards[0].FIOAvtor.text(), QStringLiteral("Сидоров С.С."));
    EXPECT_EQ(cards[0].Fabula.text(), QStringLiteral("строка 1\r\nстрока 2"));
    EXPECT_EQ(momentOf(cards[0].KUPData), QDateTime(QDate(2026, 11, 30), QTime(11, 38, 3)));
    EXPECT_FALSE(ui.nNew->isHidden());
    EXPECT_EQ(ui.Spisok->model()->rowCount(), 1);
    EXPECT_EQ(ui.Spisok->currentIndex().row(), 0);

    QTest::mouseClick(ui.nNew, Qt::LeftButton);
    EXPECT_EQ(ui.GurN->text(), QStringLiteral("18"));
    EXPECT_EQ(QApplication::focusWidget(), window.isActiveWindow() ? ui.GurN : nullptr);
}

TEST_F(TForm1Test, TheWindowIsLeftOnlyThroughExit) {
    prepareFolder();
    TForm1 window(newState());
    int code = -1;
    QObject::connect(&window, &TForm1::leaving, [&code](int c) { code = c; });
    window.show();
    QApplication::processEvents();
    EXPECT_FALSE(window.close());
    EXPECT_TRUE(window.isVisible());
    m_prompts.no(); // no backup
    window.ui().N4->trigger();
    EXPECT_EQ(code, 0);
    EXPECT_FALSE(window.isVisible());
}

TEST_F(TForm1Test, AUserIsRefusedDeletionAndTheWorkingTabFollowsItsFile) {
    std::vector<TAnketa> cards;
    for (int i = 1; i <= 3; ++i)
        cards.push_back(makeCard(i, 46000 + i, 300 + i, i == 2 ? 0 : 1));
    writeCards(QStringLiteral("Baza/Anketi.dat"), cards);
    AppState& s = start();
    TForm1 window(s);
    Ui::TForm1& ui = window.ui();
    EXPECT_EQ(ui.RabSpis->model()->rowCount(), 1);

    s.access.CurUserAccess = QStringLiteral("W");
    m_prompts.ok();
    QTest::mouseClick(ui.nDelete, Qt::LeftButton);
    EXPECT_EQ(m_prompts.last().text,
              QStringLiteral("Это может сделать только главный администратор"));
    EXPECT_EQ(readCards(QStringLiteral("Baza/Anketi.dat")).size(), 3u);

    QTest::mouseClick(ui.nGlRab, Qt::LeftButton);
    EXPECT_EQ(ui.WRab->text(), QStringLiteral("2"));
    ui.Zakl1->setCurrentWidget(ui.RaTS);
    EXPECT_EQ(ui.RabSpis->model()->rowCount(), 2);
    EXPECT_EQ(ui.RabSpis->currentIndex().row(), 0);
    QTest::mouseClick(ui.RabSpis->viewport(), Qt::LeftButton, {},
                      ui.RabSpis->visualRect(ui.RabSpis->model()->index(0, 2)).center());
    EXPECT_EQ(ui.Klu4Form1->text(), QStringLiteral("302"));
    ui.Zakl1->setCurrentWidget(ui.GlTS);
    QTest::mouseClick(ui.RabZero, Qt::LeftButton);
    EXPECT_EQ(ui.WRab->text(), QStringLiteral("0"));
    EXPECT_EQ(ui.RabSpis->model()->rowCount(), 1);
}

TEST_F(TForm1Test, ADateOutsideTheCalendarIsShownAndStoredAsTheEmptyDate) {
    TAnketa broken = makeCard(1, 46000, 700);
    broken.DeloDat = std::numeric_limits<double>::quiet_NaN();
    writeCards(QStringLiteral("Baza/Anketi.dat"), {makeCard(2, 46001, 701), broken});
    AppState& s = start();
    TForm1 window(s);
    EXPECT_EQ(window.ui().DeloDat->date(), QDate(1901, 1, 1));
    QTest::mouseClick(window.ui().nSave, Qt::LeftButton);
    EXPECT_EQ(readCards(QStringLiteral("Baza/Anketi.dat"))[1].DeloDat, EmptyDate);
}
