#include "core/access/Users.h"

#include "core/editor/AppState.h"
#include "core/editor/EditorRoutines.h"
#include "core/platform/Clock.h"
#include "core/platform/Prompts.h"

namespace zelmar {

const std::array<DefaultUser, 4> kDefaultUsers = {{
    {u"01", u"Администратор", u"Z", u"270301"},
    {u"02", u"Пользователь 1", u"W", u"100101"},
    {u"03", u"Пользователь 2", u"W", u"200202"},
    {u"04", u"Пользователь 3", u"W", u"300303"},
}};

QString defaultAdminPassword() {
    return QString::fromUtf16(kDefaultUsers[0].password);
}

QString initialPasswordText() {
    return QStringLiteral("000000");
}

namespace {

TDostupRec defaultRecord(const DefaultUser& user, double today) {
    TDostupRec record{};
    record.code = QString::fromUtf16(user.code);
    record.date = today;
    record.name = QString::fromUtf16(user.name);
    record.password = QString::fromUtf16(user.password);
    record.access = QString::fromUtf16(user.access);
    return record;
}

bool isChief(const QString& access) {
    return access == QLatin1String("Z");
}

bool mayEnter(const QString& access) {
    return access == QLatin1String("Z") || access == QLatin1String("W");
}

} // namespace

bool readableUserRecord(const TDostupRec& record) {
    return record.code.length <= 2 && record.name.length <= 20 && record.password.length <= 6 &&
           record.access.length <= 1;
}

int userWithPassword(const Access& access, const QString& typed) {
    for (int i = 0; i < access.UserCount; ++i) {
        if (typed == trimControl(access.AccessTable[static_cast<size_t>(i)].password))
            return i;
    }
    return -1;
}

void logInAs(AppState& s, int row) {
    const AccessRow& r = s.access.AccessTable.at(static_cast<size_t>(row));
    s.access.CurUserCode = r.code.left(2);
    s.access.CurUserName = r.name.left(20);
    s.access.CurUserAccess = r.access.left(1);
}

void loadAccessTable(AppState& s) {
    const QString path = s.local(files::Users);
    if (fileExists(path)) {
        s.usersFile.openForUpdate(path);
    } else {
        s.usersFile.create(path);
        for (const DefaultUser& user : kDefaultUsers)
            s.usersFile.write(defaultRecord(user, s.clock.today()));
        s.usersFile.sync();
    }
    const qint64 records = s.usersFile.size();
    s.access.AccessTable = {};
    s.access.UserCount = static_cast<int>(std::min<qint64>(records, Access::Rows));
    s.usersFile.seek(0);
    int damaged = 0; // the first record that cannot be a user's, from 1
    for (int i = 0; i < s.access.UserCount; ++i) {
        const TDostupRec record = s.usersFile.read();
        s.access.AccessTable[static_cast<size_t>(i)] = {
            record.code.text(), record.name.text(), record.password.text(), record.access.text()};
        if (damaged == 0 && !readableUserRecord(record))
            damaged = i + 1;
    }
    if (records == 0 || damaged > 0) {
        // Nobody could log in: the administrator is told which file to restore.
        s.prompts.message(
            QStringLiteral("Файл пользователей %1 %2, ни один пароль к нему не подойдёт.\n"
                           "Восстановите этот файл из резервной копии.")
                .arg(path, records == 0
                               ? QStringLiteral("пуст: в нём нет ни одной записи")
                               : QStringLiteral("повреждён: запись %1 не читается").arg(damaged)),
            QStringLiteral("Пользователи"));
    } else if (records > Access::Rows || s.usersFile.tailBytes() > 0) {
        s.prompts.message(
            QStringLiteral("Файл пользователей %1 содержит %2 записей%3. Загружены первые %4.")
                .arg(path)
                .arg(records)
                .arg(s.usersFile.tailBytes() > 0 ? QStringLiteral(" и неполную запись в конце")
                                                 : QString())
                .arg(std::min<qint64>(records, Access::Rows)),
            QStringLiteral("Пользователи"));
    }
    logInAs(s, 0);
    if (s.access.AccessTable[0].password != defaultAdminPassword())
        passwordPrompt(s);
}

void passwordPrompt(AppState& s) {
    const QString answer = s.prompts
                               .input(QStringLiteral("Введите ровно 6 цифр"),
                                      QStringLiteral("Пароль?"), initialPasswordText())
                               .left(6);
    const QString typed = trimControl(answer);
    const int found = userWithPassword(s.access, typed);
    if (found < 0) {
        s.prompts.message(QStringLiteral("Повторите запуск программы"),
                          QStringLiteral("Что-то я Вас не припоминаю"));
        s.exitCode = 1;
        return;
    }
    logInAs(s, found);
    // "Сервис" closes for anybody but the chief administrator: serviceMenuEnabled.
    if (!mayEnter(s.access.CurUserAccess)) {
        s.prompts.message(QStringLiteral("Увы!!!"), QStringLiteral("Вам доступ закрыт"));
        s.exitCode = 1;
    }
}

bool chiefAdministratorOnly(AppState& s) {
    if (isChief(s.access.CurUserAccess))
        return true;
    s.prompts.message(QStringLiteral("Это может сделать только главный администратор"),
                      QStringLiteral("Операция не выполнена"));
    return false;
}

bool serviceMenuEnabled(const AppState& s) {
    return isChief(s.access.CurUserAccess);
}

bool printMenuEnabled(const AppState& s) {
    return s.buttons.N7 && isChief(s.access.CurUserAccess);
}

} // namespace zelmar
