#pragma once

#include <QString>

namespace zelmar {

struct AppState;

// The start-up window's state: the message line, the result of the last check and the number
// of presses of "Дальше".
struct LoginState {
    QString Komentar = QString(27, QLatin1Char(' ')) + QStringLiteral("Стой! Кто идёт?");
    QString NomZamka;
    bool LoginOk = false;
    int LoginAttempts = 0;
    bool DaleeVisible = true;
};

// The check of the password typed in the start-up window.
void ProveritDostup(AppState& s, LoginState& login);
// "Дальше": true when the main window is to be shown.
bool DaleeClick(AppState& s, LoginState& login);
// "Описание программы": the user guide opened with its associated program.
void OpisProgrClick(AppState& s);
// The maker's web site.
void dxfColorButton2Click(AppState& s);

QString makerSite();

} // namespace zelmar
