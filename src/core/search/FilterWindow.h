#pragma once

#include "core/search/CardConditions.h"
#include "core/search/ConditionWindows.h"

namespace zelmar {

struct AppState;
struct PrintSelection;

// The filter window: its conditions and the actions on the selected cards. Made once at start;
// the window copies its widgets into this before a command and back after it.
struct FilterForm {
    FilterForm();

    // The items of the radio groups of the actions.
    enum Action { Set = 0, Remove = 1, Leave = 2 };

    // The decision date is compared by its whole day.
    CardConditions conditions;
    ConditionLists lists;
    int udRG = Leave;    // the deletion mark "уд"
    int PRNPost = Leave; // the printed-in-the-book flag
};

// Each opening, and "Установить исходные условия поиска".
void FiltrFormActivate(AppState& s, FilterForm& f);
// "Главная", "Архив": the cards of the file that pass replace the working card file; the
// actions are applied to them in the file itself; the print selection window shows them.
void GlWibClick(AppState& s, FilterForm& f, PrintSelection& p);
void ArhWibClick(AppState& s, FilterForm& f, PrintSelection& p);
// The marks of the cards at positions NaSE..KoSE of the main card file cleared.
void UdDelClick(AppState& s, FilterForm& f, PrintSelection& p);

} // namespace zelmar
