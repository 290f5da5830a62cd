#pragma once

#include "core/search/CardConditions.h"
#include "core/search/ConditionWindows.h"

#include <QString>

namespace zelmar {

struct AppState;

// The search window: its controls and the state of the search, kept for the whole run (the
// window is made once at start). The window copies its widgets into this before a command and
// back after it.
struct SearchForm {
    SearchForm();

    // The conditions (group UslFiltr); the pickers' values carry their times of day.
    CardConditions conditions;
    ConditionLists lists;

    QString nKRab;                        // cards in the working card file after the last step
    QString PosNai = QStringLiteral("0"); // 1-based number of the last found card

    // Cards passed to the working card file since the search last emptied it.
    int SearchCount = 0;
    // The record the next backward step looks at first: -2 = the last card, -1 = passed the
    // first card. 0 at start; only "С последней начать" sets -2.
    qint64 SearchBackPos = 0;

    // What the window does after the command: bring the working tab of the main window to the
    // front; close itself.
    bool showWorkingTab = false;
    bool close = false;
};

// The pickers' times of day.
namespace pickerTime {
inline constexpr int kStartOfDay = 0;
inline constexpr int kEndOfDay = (23 * 3600 + 59 * 60 + 59) * 1000;
inline constexpr int kEditor =
    (11 * 3600 + 38 * 60 + 3) * 1000; // the card editor's register-entry date
inline constexpr int kOneSecond = 1000;
} // namespace pickerTime

// Each opening of the window, and "Установить исходные условия поиска".
void PoiskFormActivate(AppState& s, SearchForm& f);
// "С первой начать", "Следующая", "Предыдущая", "С последней начать".
void sBeginClick(AppState& s, SearchForm& f);
void sNextClick(AppState& s, SearchForm& f);
void sPredClick(AppState& s, SearchForm& f);
void sEndClick(AppState& s, SearchForm& f);
// "Найти": every card of the main card file that passes goes to the working card file.
void WsehSrazuClick(AppState& s, SearchForm& f);
// "Показать эту карточку": the card numbered in PosNai is shown; the window closes.
void PoslPokClick(AppState& s, SearchForm& f);
// "Очистить Рабочую картотеку".
void RabZeroClick(AppState& s, SearchForm& f);

} // namespace zelmar
