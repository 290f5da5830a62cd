#pragma once

#include "core/store/ShortString.h"

#include <QString>

#include <array>
#include <cstddef>
#include <cstdint>

namespace zelmar {

struct AppState;

// A record of the users file Baza\Dostup.dat.
struct TDostupRec {
    ShortString<2> code;     // the administrator's is "01"
    std::uint8_t pad3[5];    //
    double date;             // day the record was made or typed
    ShortString<20> name;    // stamped into the cards the user stores
    ShortString<6> password; // six digits
    ShortString<1> access;   // "Z" chief administrator, "W" user, else locked out
    std::uint8_t pad46[2];   //

    static constexpr int Size = 48;
};

static_assert(sizeof(TDostupRec) == TDostupRec::Size);
static_assert(offsetof(TDostupRec, code) == 0);
static_assert(offsetof(TDostupRec, date) == 8);
static_assert(offsetof(TDostupRec, name) == 16);
static_assert(offsetof(TDostupRec, password) == 37);
static_assert(offsetof(TDostupRec, access) == 44);

// A record the program wrote: no string longer than its field.
bool readableUserRecord(const TDostupRec& record);

// One row of the in-memory access table; every cell holds at most 20 characters.
struct AccessRow {
    QString code;
    QString name;
    QString password;
    QString access;
};

// The users as loaded at start, and who is working.
struct Access {
    static constexpr int Rows = 10;
    std::array<AccessRow, Rows> AccessTable;
    int UserCount = 0;
    QString CurUserCode;   // 2 characters
    QString CurUserName;   // 20 characters
    QString CurUserAccess; // 1 character
};

// The default users of a new installation, in file order.
struct DefaultUser {
    const char16_t* code;
    const char16_t* name;
    const char16_t* access;
    const char16_t* password;
};
extern const std::array<DefaultUser, 4> kDefaultUsers;
// The administrator's default password: while the first user still has it, no password is
// asked while the main window is created.
QString defaultAdminPassword();
// What the password boxes start with (no user's password).
QString initialPasswordText();

// Loads the access table (the users file opened, or made with the default users) and makes
// the first row the current user; runs the password prompt when the first user's password is
// not the default one. A failed prompt asks the program to end with exit code 1.
void loadAccessTable(AppState& s);
// The password prompt of the main window's creation.
void passwordPrompt(AppState& s);
// The first row whose password, trimmed of blanks and control characters, is the typed text;
// -1 when there is none.
int userWithPassword(const Access& access, const QString& typed);
// Row i becomes the current user.
void logInAs(AppState& s, int row);
// The one check of the commands reserved to the chief administrator: false (after telling
// the user) for anybody else.
bool chiefAdministratorOnly(AppState& s);

// The two menus closed to everybody but the chief administrator: "Сервис" (N3) and "Печать"
// (N7). Both follow the current user's access letter alone, whichever login made him the
// current user, so no later command, Save or window can open them for him again.
bool serviceMenuEnabled(const AppState& s);
bool printMenuEnabled(const AppState& s);

} // namespace zelmar
