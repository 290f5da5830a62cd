#include "gui/TForm1.h"
#include "core/texts/DayNumber.h"
#include "gen/Generator.h"
#include "support/TestSupport.h"

#include "ui_TForm1.h"

#include "core/platform/Progress.h"

#include <QAbstractSpinBox>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <QToolTip>

#include <limits>

using namespace zelmar;
using namespace zelmar::test;

namespace {

class TForm1Test : public RegisterTest {};

// Types text as key presses, letters outside ASCII too.
void type(QWidget* widget, const QString& text) {
    for (const char32_t ch : text.toUcs4()) {
        if (ch < 0x80) {
            QTest::keyClick(widget, static_cast<char>(ch));
        } else {
            QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString::fromUcs4(&ch, 1),
                                Qt::NoModifier);
        }
    }
}

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
    EXPECT_EQ(cards[0].KUPData, dayNumber(QDate(2026, 11, 30)));
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

TEST_F(TForm1Test, LongCommandsShowTheProgressPanelAndAWaitCursor) {
    prepareFolder();
    AppState& s = newState();
    TForm1 window(s);
    window.show();
    QApplication::processEvents();
    Ui::TForm1& ui = window.ui();
    EXPECT_FALSE(ui.Progress->isVisible());
    bool panel = false;
    bool waiting = false;
    int whole = -1;
    int part = -1;
    window.run([&] {
        ProgressScope scope(*s.progress);
        // The end of a meter is always shown.
        s.progress->report(4, 4, 0);
        s.progress->report(2, 2, 1);
        panel = ui.Progress->isVisible();
        waiting = QApplication::overrideCursor() &&
                  QApplication::overrideCursor()->shape() == Qt::WaitCursor;
        whole = ui.AbMeter2->value();
        part = ui.AbMeter1->value();
    });
    EXPECT_TRUE(panel);
    EXPECT_TRUE(waiting);
    EXPECT_EQ(whole, 100);
    EXPECT_EQ(part, 100);
    EXPECT_FALSE(ui.Progress->isVisible());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(TForm1Test, DatesAreTypedWholeAndANewCardStoresNoTimeOfAnother) {
    // The card shown before New carries a time of day in every date.
    const double time = (11 * 3600 + 38 * 60 + 3) / 86400.0;
    TAnketa old = makeCard(1, dayNumber(QDate(2026, 1, 5)) + time, 500);
    for (double* date : {&old.KUPData, &old.NashaWxodDat, &old.NeNashaIshDat, &old.DeloDat,
                         &old.DataProvProkur, &old.NasheIshData})
        *date = dayNumber(QDate(2025, 6, 1)) + time;
    writeCards(QStringLiteral("Baza/Anketi.dat"), {old});
    AppState& s = start();
    TForm1 window(s);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    Ui::TForm1& ui = window.ui();
    // Presses go where the mouse is, as the user's do.
    const auto click = [&window](QWidget* widget, int x) {
        QTest::mouseClick(window.windowHandle(), Qt::LeftButton, {},
                          widget->mapTo(&window, QPoint(x, widget->height() / 2)));
    };
    click(ui.nNew, 10);

    // A click or Tab into a date selects the day: typed whole, with or without separators,
    // after Home or Ctrl+A, or moved a day up.
    enum How { ClickUp, ClickType, TabType, HomeType, SelectAllType };
    const struct {
        QDateEdit* edit;
        double TAnketa::*field;
        How how;
        QString typed;
        QDate stored;
    } dates[] = {
        {ui.DateOtkaza, &TAnketa::DateOtkaza, ClickUp, {}, dateOf(kTestNow).addDays(1)},
        {ui.KUPData, &TAnketa::KUPData, ClickUp, {}, QDate(1901, 1, 2)},
        {ui.NeNashaIshDat, &TAnketa::NeNashaIshDat, TabType, QStringLiteral("05.03.2012"),
         QDate(2012, 3, 5)},
        {ui.NashaWxodDat, &TAnketa::NashaWxodDat, ClickType, QStringLiteral("06032012"),
         QDate(2012, 3, 6)},
        {ui.DeloDat, &TAnketa::DeloDat, HomeType, QStringLiteral("7.4.2013"), QDate(2013, 4, 7)},
        {ui.DataProvProkur, &TAnketa::DataProvProkur, ClickUp, {}, QDate(1901, 1, 2)},
        {ui.NasheIshData, &TAnketa::NasheIshData, SelectAllType, QStringLiteral("31122024"),
         QDate(2024, 12, 31)},
    };
    for (const auto& date : dates) {
        SCOPED_TRACE(date.edit->objectName().toStdString());
        if (date.how == TabType) {
            click(ui.NeNashIshNom, 5);
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            ASSERT_EQ(QApplication::focusWidget(), date.edit);
        } else {
            // Anywhere in the text, even on the year.
            click(date.edit, date.edit->width() / 2);
        }
        if (date.how == HomeType)
            QTest::keyClick(date.edit, Qt::Key_Home);
        if (date.how == SelectAllType)
            QTest::keyClick(date.edit, Qt::Key_A, Qt::ControlModifier);
        if (date.how == ClickUp)
            QTest::keyClick(date.edit, Qt::Key_Up);
        else
            QTest::keyClicks(date.edit, date.typed);
        EXPECT_EQ(date.edit->date(), date.stored);
        // Tab leaves the date at once.
        QTest::keyClick(date.edit, Qt::Key_Tab);
        EXPECT_NE(QApplication::focusWidget(), date.edit);
    }
    click(ui.nSave, 10);
    const std::vector<TAnketa> cards = readCards(QStringLiteral("Baza/Anketi.dat"));
    ASSERT_EQ(cards.size(), 2u);
    for (const auto& date : dates) {
        EXPECT_EQ(cards[1].*date.field, dayNumber(date.stored))
            << date.edit->objectName().toStdString();
    }
}

TEST_F(TForm1Test, BoxesTakeOnlyWhatTheCardStores) {
    AppState& s = start();
    TForm1 window(s);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    Ui::TForm1& ui = window.ui();
    // Characters the card file's code page lacks are refused as they are typed, with a hint;
    // numbers take digits and a minus in front.
    const struct {
        QWidget* box;
        QString typed;
        QString kept;
    } boxes[] = {
        {ui.FIOAvtor->lineEdit(), QStringLiteral("Иваß😀нов"), QStringLiteral("Иванов")},
        {ui.Adres, QStringLiteral("Łódź, ул. Мира"), QStringLiteral("d, ул. Мира")},
        {ui.Fabula, QStringLiteral("По факту ł кражи"), QStringLiteral("По факту  кражи")},
        {ui.GurN, QStringLiteral("12a3"), QStringLiteral("123")},
        {ui.Srok, QStringLiteral("-5x"), QStringLiteral("-5")},
        {ui.Listov, QStringLiteral("7b"), QStringLiteral("7")},
    };
    for (const auto& box : boxes) {
        SCOPED_TRACE(box.box->objectName().toStdString());
        box.box->setFocus();
        if (auto* edit = qobject_cast<QLineEdit*>(box.box))
            edit->clear();
        if (auto* memo = qobject_cast<QPlainTextEdit*>(box.box))
            memo->clear();
        if (auto* spin = qobject_cast<QSpinBox*>(box.box))
            spin->selectAll();
        type(box.box, box.typed);
        QString shown;
        if (auto* edit = qobject_cast<QLineEdit*>(box.box))
            shown = edit->text();
        else if (auto* memo = qobject_cast<QPlainTextEdit*>(box.box))
            shown = memo->toPlainText();
        else
            shown = qobject_cast<QSpinBox*>(box.box)->text();
        EXPECT_EQ(shown, box.kept);
    }
    EXPECT_TRUE(QToolTip::text().contains(QStringLiteral("ł")));
    // Save stores what was shown.
    ui.GurN->setText(QStringLiteral("5"));
    QTest::mouseClick(ui.nSave, Qt::LeftButton);
    const TAnketa stored = readCards(QStringLiteral("Baza/Anketi.dat")).at(0);
    EXPECT_EQ(stored.FIOAvtor.text(), QStringLiteral("Иванов"));
    EXPECT_EQ(stored.Adres.text(), QStringLiteral("d, ул. Мира"));
}

TEST_F(TForm1Test, TheWindowIsUsableFrom1280x720) {
    gen::Options options;
    options.cards = 300;
    options.unprintedShare = 0;
    gen::makeInstallation(root(), options);
    AppState& s = start();
    TForm1 window(s);
    window.show();
    QApplication::processEvents();
    // Maximised on a 1280x720 screen it has the screen less a panel and a title bar; the form
    // fits there whole, without scrolling.
    const QSize smallest =
        window.ui().centralwidget->minimumSizeHint() + QSize(0, window.menuBar()->height());
    EXPECT_LE(smallest.width(), 1280);
    EXPECT_LE(smallest.height(), 720 - 64);
    for (const QSize size : {smallest, QSize(1280, 656), QSize(1920, 1040)}) {
        window.resize(size);
        QApplication::processEvents();
        const QString at = QStringLiteral(" at %1x%2").arg(size.width()).arg(size.height());
        // The boxes give way down to their smallest size, never below it.
        for (QWidget* box : window.ui().EditorPanel->findChildren<QWidget*>()) {
            const bool part = qobject_cast<QAbstractSpinBox*>(box->parentWidget()) ||
                              qobject_cast<QComboBox*>(box->parentWidget());
            if (!box->isVisible() || part ||
                !(qobject_cast<QLineEdit*>(box) || qobject_cast<QComboBox*>(box) ||
                  qobject_cast<QAbstractSpinBox*>(box)))
                continue;
            EXPECT_GE(box->height(), box->minimumSizeHint().height())
                << box->objectName().toStdString() << at.toStdString();
        }
        // Every button shows its whole caption.
        for (QPushButton* button : window.findChildren<QPushButton*>()) {
            if (button->isVisible()) {
                EXPECT_GE(button->width(),
                          button->fontMetrics().horizontalAdvance(button->text()) + 8)
                    << button->objectName().toStdString() << at.toStdString();
            }
        }
    }
}

TEST_F(TForm1Test, HiddenCardButtonsKeepTheirPlacesAndUnbuiltOnesStayDisabled) {
    writeCards(QStringLiteral("Baza/Anketi.dat"),
               {makeCard(1, 46000, 100), makeCard(2, 46001, 200)});
    AppState& s = start();
    TForm1 window(s);
    window.resize(1280, 656);
    window.show();
    QApplication::processEvents();
    Ui::TForm1& ui = window.ui();
    const QList<QWidget*> stay = {ui.nVstavka, ui.nSave,    ui.nOtmena, ui.ZapGurN,
                                  ui.NomerGr,  ui.WhodNash, ui.KUSGr,   ui.Knopki};
    const auto places = [&] {
        QList<QRect> result;
        for (QWidget* widget : stay)
            result.append(QRect(widget->mapTo(&window, QPoint()), widget->size()));
        return result;
    };
    const QList<QRect> before = places();
    QTest::mouseClick(ui.nNew, Qt::LeftButton);
    QApplication::processEvents();
    EXPECT_TRUE(ui.nNew->isHidden() && ui.nWstavit->isHidden());
    EXPECT_EQ(places(), before);

    // The entry without a command stays disabled through the commands.
    QTest::mouseClick(ui.nOtmena, Qt::LeftButton);
    QTest::mouseClick(ui.nSave, Qt::LeftButton);
    EXPECT_FALSE(ui.N8->isEnabled());
}
