#pragma once

#include <QStringList>

namespace zelmar {

struct AppState;

// What the search and filter windows share.

// The items their drop-down conditions offer: the main window's lists, copied at every opening.
struct ConditionLists {
    QStringList ProkOtmetka; // sorted
    QStringList KemWines;    // sorted
    QStringList PodpUtw;     // sorted
    QStringList Zayavitel;   // in the order of the applicants' list
};
ConditionLists conditionLists(const AppState& s);

// After a failed write the working card file is opened again to learn how many whole cards
// reached it; a torn last card is cut off. Never throws.
void settleWorkingFile(AppState& s) noexcept;

} // namespace zelmar
