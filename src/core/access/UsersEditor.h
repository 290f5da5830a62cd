#pragma once

#include <QString>

#include <array>

namespace zelmar {

struct AppState;

// The users table editor's grid TabDost: ten rows of code, date, name, password, access.
struct UsersGrid {
    enum Column { Code, Date, Name, Password, AccessLetter, Columns };
    static constexpr int Rows = 10;
    std::array<std::array<QString, Columns>, Rows> cells;
};

// Fills the grid from the users file; rows below the records keep what they held.
void TForm5FormShow(AppState& s, UsersGrid& grid);
// Saves the grid as the new users file (rows with an empty code are skipped). A date that
// cannot be read stops the save before anything is written.
void ZapDostupClick(AppState& s, const UsersGrid& grid);

// A date typed as the platform writes short dates: dd.mm.yyyy (d.m.yy is taken too).
double readShortDate(const QString& text);
QString shortDateText(double day);

} // namespace zelmar
