#include "core/access/Users.h"
#include "gui/QtPrompts.h"
#include "gui/TForm1.h"
#include "gui/TForm5.h"
#include "gui/TFormNastr.h"
#include "gui/TZapusk.h"
#include "support/Failures.h"
#include "support/TestSupport.h"

#include "ui_TForm1.h"
#include "ui_TForm5.h"
#include "ui_TFormNastr.h"
#include "ui_TZapusk.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <QToolButton>

using namespace zelmar;
using namespace zelmar::test;

namespace {

class AccessWindowsTest : public RegisterTest {};

} // namespace

TEST_F(AccessWindowsTest, StartUpWindowControls) {
    prepareFolder();
    AppState& s = newState();
    TZapusk zapusk(s);
    EXPECT_EQ(zapusk.windowTitle(), QStringLiteral("Zelmar 13.2.19."));
    for (const char* name :
         {"Komentar", "NomZamka", "Dalee", "dxfColorButton1", "OpisProgr", "dxfColorButton2"})
        EXPECT_NE(zapusk.findChild<QWidget*>(QString::fromLatin1(name)), nullptr) << name;
    EXPECT_EQ(zapusk.ui().NomZamka->maxLength(), 12);
    EXPECT_EQ(zapusk.ui().NomZamka->echoMode(), QLineEdit::Password);
    EXPECT_EQ(zapusk.ui().NomZamka->text().size(), 6);
    EXPECT_EQ(zapusk.ui().Dalee->text(), QStringLiteral("Дальше"));
    EXPECT_EQ(zapusk.ui().Komentar->text().trimmed(), QStringLiteral("Стой! Кто идёт?"));
}

TEST_F(AccessWindowsTest, FourWrongPasswordsHideNext) {
    prepareFolder();
    AppState& s = newState();
    TZapusk zapusk(s);
    TForm1 form1(s);
    zapusk.setMainWindow(&form1);
    zapusk.show();
    for (int press = 0; press < 4; ++press) {
        zapusk.ui().NomZamka->setText(QStringLiteral("999999"));
        QTest::keyClick(zapusk.ui().NomZamka, Qt::Key_Return);
    }
    EXPECT_TRUE(zapusk.ui().Dalee->isHidden());
    EXPECT_EQ(zapusk.ui().Komentar->text(), QStringLiteral("Ознакомтесь с инструкцией"));
    EXPECT_FALSE(form1.isVisible());
}

TEST_F(AccessWindowsTest, OneEnterIsOneAttempt) {
    AppState& s = start();
    TZapusk zapusk(s);
    zapusk.show();
    zapusk.ui().NomZamka->clear();
    QTest::keyClicks(zapusk.ui().NomZamka, QStringLiteral("999999"));
    QTest::keyClick(zapusk.ui().NomZamka, Qt::Key_Return);
    EXPECT_EQ(zapusk.ui().Komentar->text(), QStringLiteral("Что-то я Вас не припоминаю 1"));
    QTest::keyClick(zapusk.ui().NomZamka, Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(zapusk.ui().Komentar->text(), QStringLiteral("Что-то я Вас не припоминаю 2"));
}

TEST_F(AccessWindowsTest, TheRightPasswordAndEnterOpenTheMainWindow) {
    prepareFolder();
    AppState& s = newState();
    TZapusk zapusk(s);
    TForm1 form1(s);
    zapusk.setMainWindow(&form1);
    int exitCode = -1;
    QObject::connect(&zapusk, &TZapusk::finishedWith, [&exitCode](int code) { exitCode = code; });
    zapusk.show();
    bool mainShown = false;
    // While the main window is up, leave it through "Выход".
    QTimer::singleShot(0, [&] {
        mainShown = form1.isVisible();
        m_prompts.no(); // no backup
        form1.ui().N4->trigger();
    });
    zapusk.ui().NomZamka->setText(defaultAdminPassword());
    QTest::keyClick(zapusk.ui().NomZamka, Qt::Key_Return);
    EXPECT_TRUE(mainShown);
    EXPECT_EQ(exitCode, 0);
    EXPECT_FALSE(zapusk.isVisible());
}

TEST_F(AccessWindowsTest, UsersTableShowsTheUsersFile) {
    AppState& s = start();
    TForm5 form5(s);
    form5.show();
    QTableWidget* grid = form5.ui().TabDost;
    EXPECT_EQ(grid->columnCount(), 5);
    EXPECT_EQ(grid->rowCount(), 10);
    EXPECT_EQ(grid->horizontalHeaderItem(0)->text(), QStringLiteral("Код"));
    EXPECT_EQ(grid->toolTip(), QStringLiteral("Первый код и доступ не менять!!!"));
    EXPECT_EQ(grid->item(0, 2)->text(), QStringLiteral("Администратор"));
    EXPECT_EQ(grid->item(3, 0)->text(), QStringLiteral("04"));
    EXPECT_TRUE(grid->item(4, 0)->text().isEmpty());

    grid->item(3, 0)->setText(QString());
    m_prompts.ok();
    QTest::mouseClick(form5.ui().ZapDostup, Qt::LeftButton);
    EXPECT_EQ(readBytes(QStringLiteral("Baza/Dostup.dat")).size(), 3 * 48);
}

TEST_F(AccessWindowsTest, SettingsWindow) {
    AppState& s = start();
    TFormNastr nastr(s);
    for (const char* name : {"VerOff", "BackUpPut", "BitBtn3", "ZapNastr", "BitBtn1"})
        EXPECT_NE(nastr.findChild<QWidget*>(QString::fromLatin1(name)), nullptr) << name;
    EXPECT_EQ(nastr.ui().VerOff->text(), QStringLiteral("2003"));
    // The folder as a path of this computer; the file keeps the form Windows reads.
    EXPECT_EQ(nastr.ui().BackUpPut->text(), file(QStringLiteral("Backup")));
    EXPECT_EQ(nastr.ui().BitBtn1->text(), QStringLiteral("Печать"));
    nastr.show();
    nastr.ui().VerOff->setText(QStringLiteral("2016"));

    // A save that failed leaves the window open with what was typed, after the message.
    const QByteArray before = readBytes(QStringLiteral("NoKor.krv"));
    m_prompts.clearLog();
    m_prompts.ok();
    withFileSizeLimit(4, [&] { QTest::mouseClick(nastr.ui().ZapNastr, Qt::LeftButton); });
    EXPECT_EQ(m_prompts.log().size(), 1);
    EXPECT_NE(m_prompts.last().caption, QStringLiteral("Изменения вступят в силу"));
    EXPECT_TRUE(nastr.isVisible());
    EXPECT_EQ(nastr.ui().VerOff->text(), QStringLiteral("2016"));
    EXPECT_EQ(readBytes(QStringLiteral("NoKor.krv")), before);

    m_prompts.ok();
    QTest::mouseClick(nastr.ui().ZapNastr, Qt::LeftButton);
    EXPECT_EQ(m_prompts.last().caption, QStringLiteral("Изменения вступят в силу"));
    EXPECT_FALSE(nastr.isVisible());
    EXPECT_EQ(readBytes(QStringLiteral("NoKor.krv")), QByteArray("2016\r\nc:\\Zelmar\\Backup\r\n"));
}

TEST_F(AccessWindowsTest, AUserLoggedInAtTheStartUpWindowCannotOpenThePasswords) {
    prepareFolder();
    AppState& s = newState();
    TZapusk zapusk(s);
    TForm1 form1(s);
    TForm5 form5(s, &form1);
    form1.setOwnWindows({&form5, nullptr, nullptr});
    zapusk.setMainWindow(&form1);
    zapusk.show();
    bool serviceOpen = true;
    bool passwordsShown = false;
    QTimer::singleShot(0, &form1, [&] {
        serviceOpen = form1.ui().N3->menuAction()->isEnabled();
        // Should the window open after all, it is closed again so the test goes on.
        QTimer::singleShot(0, &form5, [&] {
            passwordsShown = form5.isVisible();
            form5.reject();
        });
        form1.ui().N5->trigger();
        m_prompts.no(); // no backup
        form1.ui().N4->trigger();
    });
    zapusk.ui().NomZamka->setText(QStringLiteral("100101"));
    QTest::mouseClick(zapusk.ui().Dalee, Qt::LeftButton);
    EXPECT_EQ(s.access.CurUserName, QStringLiteral("Пользователь 1"));
    EXPECT_FALSE(serviceOpen);
    EXPECT_FALSE(passwordsShown);
}

TEST_F(AccessWindowsTest, TheFolderChooserMakesANewFolder) {
    prepareFolder();
    QtPrompts prompts;
    const QString made = file(QStringLiteral("Копии/2026"));
    const auto answer = [](const QString& button) {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        for (QAbstractButton* shown : box->buttons()) {
            if (shown->text() == button)
                shown->click();
        }
    };
    // "Создать папку" is at hand; a folder typed that does not exist is made once the clerk
    // agrees, and a refusal leaves the chooser open.
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        auto* create = dialog->findChild<QToolButton*>(QStringLiteral("newFolderButton"));
        ASSERT_NE(create, nullptr);
        EXPECT_TRUE(create->isVisible() && create->isEnabled());
        dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(made);
        QTimer::singleShot(0, [&] { answer(QStringLiteral("Нет")); });
        QMetaObject::invokeMethod(dialog, "accept", Qt::DirectConnection);
        EXPECT_TRUE(dialog->isVisible());
        EXPECT_FALSE(QFileInfo::exists(made));
        QTimer::singleShot(0, [&] { answer(QStringLiteral("Да")); });
        QMetaObject::invokeMethod(dialog, "accept", Qt::DirectConnection);
    });
    const std::optional<QString> chosen =
        prompts.chooseFolder(QStringLiteral("Папка для хранения резервных копий"), root());
    ASSERT_TRUE(chosen.has_value());
    EXPECT_EQ(QDir::cleanPath(*chosen), made);
    EXPECT_TRUE(QFileInfo(made).isDir());
}
