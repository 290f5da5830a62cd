#include "core/access/Login.h"

#include "core/access/Users.h"
#include "core/editor/AppState.h"
#include "core/editor/EditorRoutines.h"
#include "core/platform/Errors.h"
#include "core/platform/Prompts.h"
#include "core/platform/Shell.h"

namespace zelmar {

QString makerSite() {
    return QStringLiteral("https://zelmar.example.org/");
}

void ProveritDostup(AppState& s, LoginState& login) {
    login.LoginOk = true;
    const QString typed = trimControl(login.NomZamka).left(6);
    const int found = userWithPassword(s.access, typed);
    if (found >= 0) {
        logInAs(s, found);
    } else {
        login.Komentar = QStringLiteral("Что-то я Вас не припоминаю");
        login.LoginOk = false;
    }
    // This looks at the current user whether or not a row matched. "Печать" closes for
    // anybody but the chief administrator: printMenuEnabled.
    const QString& access = s.access.CurUserAccess;
    if (access != QLatin1String("Z") && access != QLatin1String("W")) {
        login.Komentar = QStringLiteral("Вам доступ закрыт");
        login.LoginOk = false;
    }
}

bool DaleeClick(AppState& s, LoginState& login) {
    ProveritDostup(s, login);
    if (login.LoginOk)
        return true;
    ++login.LoginAttempts;
    login.Komentar += QLatin1Char(' ') + QString::number(login.LoginAttempts);
    if (login.LoginAttempts > 3) {
        login.DaleeVisible = false;
        login.Komentar = QStringLiteral("Ознакомтесь с инструкцией");
    }
    return false;
}

void OpisProgrClick(AppState& s) {
    const QString guide = s.local(files::Help);
    if (!fileExists(guide))
        throw IoError(IoError::FileNotFound, guide);
    if (!s.shell.openDocument(guide))
        s.prompts.message(QStringLiteral("Не удалось открыть описание программы:\n%1\n"
                                         "Нет программы для просмотра документов.")
                              .arg(guide),
                          QStringLiteral("Zelmar"));
}

void dxfColorButton2Click(AppState& s) {
    s.shell.openUrl(makerSite());
}

} // namespace zelmar
