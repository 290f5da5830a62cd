#pragma once

namespace zelmar {

struct AppState;

// The main window's life: its create event (the start of the register: files opened or made,
// grids filled, the unprinted cards gathered into the working card file), its show and
// activate events, and leaving through "Выход".
void FormCreate(AppState& s);
void FormShow(AppState& s);
void FormActivate(AppState& s);
void N4Click(AppState& s);

// Closes the open files in the order the register closes them.
void closeAllFiles(AppState& s);

} // namespace zelmar
