#pragma once

#include <QString>

namespace zelmar {

struct AppState;

// The maintenance commands of the menu "Сервис" that rewrite a card file as a whole. Each
// writes the new file beside the old one, syncs it and renames it over, so the old file stays
// whole until the new one is in place; then the program asks to be started again.

// "Сжать Главную Картотеку": the marked cards leave the main card file, dropped or appended to
// the archive, the keys optionally renumbered (chief administrator only).
void N20Click(AppState& s);
// "Сжать Архивную Картотеку": the marked cards are dropped from the archive.
void N2Click(AppState& s);
// "Удалить из Главной всё": the main card file emptied.
void N18Click(AppState& s);
// "Удалить из Архива всё": the archive emptied.
void N19Click(AppState& s);

// Tells the user the program ends now and asks the application to end.
void endForRestart(AppState& s, const QString& caption);

} // namespace zelmar
