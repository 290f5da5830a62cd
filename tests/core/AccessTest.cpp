#include "core/access/Login.h"
#include "core/access/Settings.h"
#include "core/access/Users.h"
#include "core/access/UsersEditor.h"
#include "core/editor/CardCommands.h"
#include "core/editor/MainWindowEvents.h"
#include "core/editor/OfficialsEditor.h"
#include "core/platform/Errors.h"
#include "core/store/RecordFile.h"
#include "core/texts/DayNumber.h"
#include "support/ByteVector.h"
#include "support/Failures.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFile>

using namespace zelmar;
using namespace zelmar::test;

namespace {

TDostupRec user(const QString& code, const QString& name, const QString& password,
                const QString& access) {
    TDostupRec r{};
    r.code = code;
    r.date = 46000;
    r.name = name;
    r.password = password;
    r.access = access;
    return r;
}

class AccessTest : public RegisterTest {
protected:
    void writeUsers(const std::vector<TDostupRec>& users) {
        QByteArray bytes;
        for (const TDostupRec& r : users)
            bytes.append(reinterpret_cast<const char*>(&r), sizeof r);
        writeBytes(QStringLiteral("Baza/Dostup.dat"), bytes);
    }
    // The users of a register whose administrator has changed his password.
    void writeGuardedUsers() {
        writeUsers({user(QStringLiteral("01"), QStringLiteral("Админ"), QStringLiteral("111111"),
                         QStringLiteral("Z")),
                    user(QStringLiteral("02"), QStringLiteral("Петрова"), QStringLiteral("222222"),
                         QStringLiteral("W")),
                    user(QStringLiteral("03"), QStringLiteral("Сидоров"), QStringLiteral("222222"),
                         QStringLiteral("Z")),
                    user(QStringLiteral("04"), QStringLiteral("Уволен"), QStringLiteral("444444"),
                         QStringLiteral("X"))});
    }
};

} // namespace

TEST_F(AccessTest, UsersRecordLayout) {
    const QByteArray stored = handWritten(48, '\x11',
                                          {{0, "02 30 31"},
                                           {8, "00 00 00 00 00 f0 76 40"},
                                           {16, "0d c0 e4 ec e8 ed e8 f1 f2 f0 e0 f2 ee f0"},
                                           {37, "06 32 37 30 33 30 31"},
                                           {44, "01 5a"}});
    TDostupRec r;
    std::memcpy(&r, stored.constData(), sizeof r);
    EXPECT_EQ(r.code.text(), QStringLiteral("01"));
    EXPECT_EQ(r.date, EmptyDate);
    EXPECT_EQ(r.name.text(), QStringLiteral("Администратор"));
    EXPECT_EQ(r.password.text(), QStringLiteral("270301"));
    EXPECT_EQ(r.access.text(), QStringLiteral("Z"));
}

TEST_F(AccessTest, FirstStartMakesTheDefaultUsersAndAsksNothing) {
    AppState& s = start();
    const QByteArray bytes = readBytes(QStringLiteral("Baza/Dostup.dat"));
    ASSERT_EQ(bytes.size(), 4 * 48);
    TDostupRec first;
    std::memcpy(&first, bytes.constData(), sizeof first);
    EXPECT_EQ(first.date, std::floor(kTestNow));
    EXPECT_EQ(first.password.text(), defaultAdminPassword());
    EXPECT_EQ(s.access.UserCount, 4);
    EXPECT_EQ(s.access.CurUserName, QStringLiteral("Администратор"));
    EXPECT_EQ(s.access.CurUserAccess, QStringLiteral("Z"));
    QStringList passwords;
    for (int i = 0; i < 4; ++i) {
        const QString p = s.access.AccessTable[static_cast<size_t>(i)].password;
        EXPECT_EQ(p.size(), 6);
        EXPECT_FALSE(passwords.contains(p));
        passwords << p;
        EXPECT_EQ(s.access.AccessTable[static_cast<size_t>(i)].access,
                  i == 0 ? QStringLiteral("Z") : QStringLiteral("W"));
    }
    EXPECT_FALSE(passwords.contains(initialPasswordText()));
    EXPECT_TRUE(m_prompts.log().isEmpty());
}

TEST_F(AccessTest, PasswordPromptComparesTheFirstSixCharacters) {
    prepareFolder();
    writeGuardedUsers();
    m_prompts.type(QStringLiteral("11111199"));
    AppState& s = newState();
    FormCreate(s);
    EXPECT_EQ(m_prompts.last().caption, QStringLiteral("Введите ровно 6 цифр"));
    EXPECT_EQ(m_prompts.last().text, QStringLiteral("Пароль?"));
    EXPECT_FALSE(s.exitCode);
    EXPECT_EQ(s.access.CurUserName, QStringLiteral("Админ"));
    EXPECT_TRUE(serviceMenuEnabled(s));
    // The start went on after the prompt.
    EXPECT_TRUE(QFile::exists(file(QStringLiteral("NoKor.krv"))));

    m_prompts.type(QStringLiteral("111111   "));
    passwordPrompt(s);
    EXPECT_FALSE(s.exitCode);
}

TEST_F(AccessTest, ALeadingBlankFailsAndEndsTheProgram) {
    prepareFolder();
    writeGuardedUsers();
    m_prompts.type(QStringLiteral(" 111111")).ok();
    AppState& s = newState();
    FormCreate(s);
    EXPECT_EQ(m_prompts.last().text, QStringLiteral("Повторите запуск программы"));
    EXPECT_EQ(m_prompts.last().caption, QStringLiteral("Что-то я Вас не припоминаю"));
    EXPECT_EQ(s.exitCode, 1);
    // Nothing after the prompt ran.
    EXPECT_FALSE(QFile::exists(file(QStringLiteral("NoKor.krv"))));
}

TEST_F(AccessTest, SharedPasswordLogsInTheFirstRowAndUsersLoseService) {
    prepareFolder();
    writeGuardedUsers();
    m_prompts.type(QStringLiteral("222222"));
    AppState& s = newState();
    FormCreate(s);
    EXPECT_EQ(s.access.CurUserName, QStringLiteral("Петрова"));
    EXPECT_EQ(s.access.CurUserCode, QStringLiteral("02"));
    EXPECT_FALSE(serviceMenuEnabled(s));
    EXPECT_FALSE(s.exitCode);

    m_prompts.ok();
    EXPECT_FALSE(chiefAdministratorOnly(s));
    EXPECT_EQ(m_prompts.last().text,
              QStringLiteral("Это может сделать только главный администратор"));
    EXPECT_EQ(m_prompts.last().caption, QStringLiteral("Операция не выполнена"));
}

TEST_F(AccessTest, ALockedOutUserIsTurnedAway) {
    prepareFolder();
    writeGuardedUsers();
    m_prompts.type(QStringLiteral("444444")).ok();
    AppState& s = newState();
    FormCreate(s);
    EXPECT_EQ(m_prompts.last().text, QStringLiteral("Увы!!!"));
    EXPECT_EQ(m_prompts.last().caption, QStringLiteral("Вам доступ закрыт"));
    EXPECT_EQ(s.exitCode, 1);
}

TEST_F(AccessTest, MoreThanTenUsersAndATornFileLoadWhatFits) {
    prepareFolder();
    std::vector<TDostupRec> users;
    for (int i = 0; i < 12; ++i)
        users.push_back(user(QStringLiteral("%1").arg(i + 1, 2, 10, QLatin1Char('0')),
                             QStringLiteral("Сотрудник %1").arg(i + 1),
                             i == 0 ? defaultAdminPassword()
                                    : QStringLiteral("5555%1").arg(i, 2, 10, QLatin1Char('0')),
                             QStringLiteral("W")));
    writeUsers(users);
    QByteArray bytes = readBytes(QStringLiteral("Baza/Dostup.dat"));
    writeBytes(QStringLiteral("Baza/Dostup.dat"), bytes + QByteArray(20, '\0'));
    m_prompts.ok();
    AppState& s = newState();
    FormCreate(s);
    EXPECT_TRUE(m_prompts.log().first().text.contains(QStringLiteral("Загружены первые 10")));
    EXPECT_EQ(s.access.UserCount, 10);
    EXPECT_EQ(s.access.AccessTable[9].name, QStringLiteral("Сотрудник 10"));
}

TEST_F(AccessTest, UsersTableEditorSavesCutsAndRemoves) {
    AppState& s = start();
    UsersGrid grid;
    grid.cells[9] = {QStringLiteral("zz"), QStringLiteral("x"), QStringLiteral("kept"), QString(),
                     QString()};
    TForm5FormShow(s, grid);
    EXPECT_EQ(grid.cells[0][UsersGrid::Name], QStringLiteral("Администратор"));
    EXPECT_EQ(grid.cells[0][UsersGrid::Date],
              dateOf(kTestNow).toString(QStringLiteral("dd.MM.yyyy")));
    EXPECT_EQ(grid.cells[9][UsersGrid::Name], QStringLiteral("kept"));

    grid.cells[9] = {};
    grid.cells[1][UsersGrid::Name] = QStringLiteral("Очень длинное имя сотрудника");
    grid.cells[1][UsersGrid::AccessLetter] = QStringLiteral("ZW");
    grid.cells[1][UsersGrid::Date] = QStringLiteral("5.3.24");
    grid.cells[2][UsersGrid::Code] = QStringLiteral("  ");
    m_prompts.ok();
    ZapDostupClick(s, grid);
    EXPECT_EQ(m_prompts.last().text, QStringLiteral("Перезапустите программу!!!"));
    EXPECT_EQ(m_prompts.last().caption, QStringLiteral("Изменения вступят после этого"));

    const QByteArray bytes = readBytes(QStringLiteral("Baza/Dostup.dat"));
    ASSERT_EQ(bytes.size(), 3 * 48);
    TDostupRec second;
    std::memcpy(&second, bytes.constData() + 48, sizeof second);
    EXPECT_EQ(second.name.text(), QStringLiteral("Очень длинное имя со"));
    EXPECT_EQ(second.access.text(), QStringLiteral("Z"));
    EXPECT_EQ(dateOf(second.date), QDate(2024, 3, 5));
    // The access table keeps its values until the next start.
    EXPECT_EQ(s.access.AccessTable[1].name, QStringLiteral("Пользователь 1"));
}

TEST_F(AccessTest, ABadDateStopsTheSaveAndWritesNothing) {
    AppState& s = start();
    const QByteArray before = readBytes(QStringLiteral("Baza/Dostup.dat"));
    UsersGrid grid;
    TForm5FormShow(s, grid);
    grid.cells[0][UsersGrid::Name] = QStringLiteral("Новое имя");
    grid.cells[2][UsersGrid::Date] = QStringLiteral("31.02.2024");
    try {
        ZapDostupClick(s, grid);
        FAIL() << "no error";
    } catch (const ConvertError& e) {
        EXPECT_EQ(e.text(), QStringLiteral("'31.02.2024' is not a valid date"));
    }
    EXPECT_EQ(readBytes(QStringLiteral("Baza/Dostup.dat")), before);
}

TEST_F(AccessTest, StartUpWindowCheck) {
    AppState& s = start();
    LoginState login;
    EXPECT_EQ(login.Komentar, QString(27, QLatin1Char(' ')) + QStringLiteral("Стой! Кто идёт?"));

    login.NomZamka = QStringLiteral("  100101  ");
    EXPECT_TRUE(DaleeClick(s, login));
    EXPECT_EQ(s.access.CurUserName, QStringLiteral("Пользователь 1"));
    EXPECT_FALSE(printMenuEnabled(s));

    LoginState twelve;
    twelve.NomZamka = QStringLiteral("270301xxxxxx");
    EXPECT_TRUE(DaleeClick(s, twelve));
    EXPECT_EQ(s.access.CurUserName, QStringLiteral("Администратор"));

    LoginState wrong;
    wrong.NomZamka = QStringLiteral("27030 1");
    for (int press = 1; press <= 3; ++press) {
        EXPECT_FALSE(DaleeClick(s, wrong));
        EXPECT_EQ(wrong.Komentar, QStringLiteral("Что-то я Вас не припоминаю %1").arg(press));
        EXPECT_TRUE(wrong.DaleeVisible);
    }
    EXPECT_FALSE(DaleeClick(s, wrong));
    EXPECT_EQ(wrong.Komentar, QStringLiteral("Ознакомтесь с инструкцией"));
    EXPECT_FALSE(wrong.DaleeVisible);
}

TEST_F(AccessTest, StartUpWindowTurnsALockedOutUserAway) {
    prepareFolder();
    writeUsers({user(QStringLiteral("01"), QStringLiteral("Админ"), defaultAdminPassword(),
                     QStringLiteral("Z")),
                user(QStringLiteral("02"), QStringLiteral("Уволен"), QStringLiteral("444444"),
                     QString())});
    AppState& s = newState();
    FormCreate(s);
    LoginState login;
    login.NomZamka = QStringLiteral("444444");
    EXPECT_FALSE(DaleeClick(s, login));
    EXPECT_EQ(login.Komentar, QStringLiteral("Вам доступ закрыт 1"));
}

TEST_F(AccessTest, UserGuideAndSite) {
    AppState& s = start();
    OpisProgrClick(s);
    ASSERT_EQ(m_shell.calls.size(), 1);
    EXPECT_EQ(m_shell.calls[0].target, file(QStringLiteral("Help/ReadMe.doc")));
    EXPECT_TRUE(readBytes(QStringLiteral("Help/ReadMe.doc")).startsWith("{\\rtf1"));
    dxfColorButton2Click(s);
    EXPECT_EQ(m_shell.calls[1].target, makerSite());

    QFile::remove(file(QStringLiteral("Help/ReadMe.doc")));
    EXPECT_THROW(OpisProgrClick(s), IoError);
}

TEST_F(AccessTest, SettingsFile) {
    AppState& s = start();
    // The backup folder is kept in the form a folder moved or copied back to Windows reads.
    EXPECT_EQ(readBytes(QStringLiteral("NoKor.krv")), QByteArray("2003\r\nc:\\Zelmar\\Backup\r\n"));
    EXPECT_EQ(s.settings.OfficeVersion, QStringLiteral("2003"));
    EXPECT_EQ(backupFolderPath(s), file(QStringLiteral("Backup")));

    TFormNastrFormCreate(s);
    EXPECT_EQ(s.settings.VerOff, QStringLiteral("2003"));
    s.settings.VerOff = QStringLiteral("2007 Professional");
    m_prompts.ok();
    ZapNastrClick(s);
    EXPECT_EQ(m_prompts.last().text, QStringLiteral("Только после перезапуска программу Zelmar!"));
    EXPECT_EQ(m_prompts.last().caption, QStringLiteral("Изменения вступят в силу"));
    // This run keeps the old version; the next start reads the first four characters.
    EXPECT_EQ(s.settings.OfficeVersion, QStringLiteral("2003"));
    loadSettings(s);
    EXPECT_EQ(s.settings.OfficeVersion, QStringLiteral("2007"));

    // A folder chosen is used at once; cancelling changes nothing; the current folder is
    // the installation folder afterwards.
    const QString before = s.settings.BackupFolder;
    m_prompts.pickFolder(std::nullopt);
    BitBtn3Click(s);
    EXPECT_EQ(s.settings.BackupFolder, before);
    EXPECT_EQ(QDir::currentPath(), QDir(root()).canonicalPath());
    m_prompts.pickFolder(QStringLiteral(" /srv/copies "));
    BitBtn3Click(s);
    EXPECT_EQ(s.settings.BackUpPut, QStringLiteral("/srv/copies"));
    EXPECT_EQ(s.settings.BackupFolder, QStringLiteral("/srv/copies"));
    // A folder in the installation folder shows as a path of this computer and is kept in
    // the c:\Zelmar\... form.
    m_prompts.pickFolder(file(QStringLiteral("Temp/copies")));
    BitBtn3Click(s);
    EXPECT_EQ(s.settings.BackUpPut, file(QStringLiteral("Temp/copies")));
    EXPECT_EQ(s.settings.BackupFolder, QStringLiteral("c:\\Zelmar\\Temp\\copies"));
    EXPECT_EQ(backupFolderPath(s), file(QStringLiteral("Temp/copies")));
    m_prompts.ok();
    ZapNastrClick(s);
    EXPECT_EQ(readBytes(QStringLiteral("NoKor.krv")),
              QByteArray("2007 Professional\r\nc:\\Zelmar\\Temp\\copies\r\n"));
}

TEST_F(AccessTest, TheSettingsWindowShowsFoldersAsPathsOfThisComputer) {
    // The folder in the settings file, in the window ("@" the installation folder), and in the
    // file again after a save of the window as it was shown.
    const struct {
        const char* stored;
        const char* shown;
        const char* saved;
    } cases[] = {
        {"c:\\Zelmar\\Backup", "@/Backup", "c:\\Zelmar\\Backup"},
        {"C:\\ZELMAR\\TEMP", "@/Temp", "c:\\Zelmar\\Temp"},
        {"c:/Zelmar/Backup", "@/Backup", "c:\\Zelmar\\Backup"},
        {"c:\\Zelmar", "@", "c:\\Zelmar"},
        {"/srv/copies", "/srv/copies", "/srv/copies"},
        {"D:\\Backup", "D:\\Backup", "D:\\Backup"},
        {"c:\\Zelmar2\\Backup", "c:\\Zelmar2\\Backup", "c:\\Zelmar2\\Backup"},
    };
    AppState& s = start();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stored);
        writeBytes(QStringLiteral("NoKor.krv"), QByteArray("2003\r\n") + c.stored + "\r\n");
        TFormNastrFormCreate(s);
        EXPECT_EQ(s.settings.BackUpPut, QString::fromUtf8(c.shown).replace(u'@', root()));
        m_prompts.ok();
        ZapNastrClick(s);
        EXPECT_EQ(readBytes(QStringLiteral("NoKor.krv")),
                  QByteArray("2003\r\n") + c.saved + "\r\n");
    }
}

TEST_F(AccessTest, ASaveThatFailedTellsNothingOfARestart) {
    AppState& s = start();
    const QByteArray before = readBytes(QStringLiteral("NoKor.krv"));
    TFormNastrFormCreate(s);
    s.settings.VerOff = QStringLiteral("2010");
    withFileSizeLimit(4, [&] { EXPECT_THROW(ZapNastrClick(s), IoError); });
    EXPECT_EQ(readBytes(QStringLiteral("NoKor.krv")), before);
    EXPECT_EQ(s.settings.VerOff, QStringLiteral("2010"));
}

TEST_F(AccessTest, SettingsFromAWindowsInstallation) {
    prepareFolder();
    writeBytes(QStringLiteral("NoKor.krv"), "2003\r\nc:\\Zelmar\\Backup\r\n");
    AppState& s = start();
    EXPECT_EQ(backupFolderPath(s), file(QStringLiteral("Backup")));

    writeBytes(QStringLiteral("NoKor.krv"), "2010");
    loadSettings(s);
    EXPECT_EQ(s.settings.OfficeVersion, QStringLiteral("2010"));
    EXPECT_EQ(s.settings.BackupFolder, QString());
}

TEST_F(AccessTest, OnlyTheChiefAdministratorEverHasServiceAndPrint) {
    struct Case {
        const char* how;
        bool guarded;   // the administrator changed his password: the prompt runs at start
        QString prompt; // answer to it
        QString typed;  // in the start-up window
        bool chief;
    };
    const Case cases[] = {
        {"start-up window, user", false, {}, QStringLiteral("100101"), false},
        {"prompt and start-up window, user", true, QStringLiteral("222222"),
         QStringLiteral("222222"), false},
        {"prompt user, start-up window fails", true, QStringLiteral("222222"),
         QStringLiteral("999999"), false},
        {"start-up window, chief", false, {}, QStringLiteral("270301"), true},
        {"prompt and start-up window, chief", true, QStringLiteral("111111"),
         QStringLiteral("111111"), true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.how);
        QDir(root()).removeRecursively();
        prepareFolder();
        if (c.guarded) {
            writeGuardedUsers();
            m_prompts.type(c.prompt);
        }
        AppState& s = newState();
        FormCreate(s);
        LoginState login;
        login.NomZamka = c.typed;
        DaleeClick(s, login);

        const auto expectMenus = [&](const char* after, bool print) {
            EXPECT_EQ(serviceMenuEnabled(s), c.chief) << after;
            EXPECT_EQ(printMenuEnabled(s), print && c.chief) << after;
        };
        nNewClick(s);
        expectMenus("New", false);
        s.form.GurN = QStringLiteral("1");
        nSaveClick(s);
        expectMenus("Save", true);
        nNewClick(s);
        nOtmenaClick(s);
        expectMenus("Cancel", true);
        // The program's own windows opening and closing.
        UsersGrid grid;
        TForm5FormShow(s, grid);
        TFormNastrFormCreate(s);
        TFIO_DolgnFormShow(s);
        FormShow(s);
        FormActivate(s);
        expectMenus("windows", true);
    }
}

TEST_F(AccessTest, AnEmptyOrDamagedUsersFileNamesItselfForTheAdministrator) {
    const struct {
        const char* how;
        QByteArray bytes;
        QString reason;
    } cases[] = {
        {"empty", QByteArray(), QStringLiteral("пуст: в нём нет ни одной записи")},
        {"torn", QByteArray(20, 'x'), QStringLiteral("пуст: в нём нет ни одной записи")},
        {"garbage", QByteArray(96, '\xA5'), QStringLiteral("повреждён: запись 1 не читается")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.how);
        prepareFolder();
        writeBytes(QStringLiteral("Baza/Dostup.dat"), c.bytes);
        m_prompts.clearLog();
        m_prompts.ok().type(defaultAdminPassword()).ok();
        AppState& s = newState();
        FormCreate(s);
        ASSERT_EQ(m_prompts.log().size(), 3);
        EXPECT_EQ(m_prompts.log().first().text,
                  QStringLiteral("Файл пользователей %1 %2, ни один пароль к нему не подойдёт.\n"
                                 "Восстановите этот файл из резервной копии.")
                      .arg(file(QStringLiteral("Baza/Dostup.dat")), c.reason));
        EXPECT_EQ(m_prompts.last().caption, QStringLiteral("Что-то я Вас не припоминаю"));
        EXPECT_EQ(s.exitCode, 1);
    }
}
