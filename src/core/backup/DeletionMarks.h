#pragma once

namespace zelmar {

struct AppState;
struct TAnketa;

// The deletion mark: a card whose two-character mark is exactly "уд" (small letters) waits
// for the compaction of its card file; any other mark is a mark of the user's own.
bool markedForDeletion(const TAnketa& card);

// The main window's button OtmDel (the officials editor has a button of that name as well).
namespace marks {
// "Отметить запись для удаления": toggles the deletion mark of the card at the selected row of
// the main grid and writes the card back in its place.
void OtmDelClick(AppState& s);
} // namespace marks

} // namespace zelmar
