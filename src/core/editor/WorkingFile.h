#pragma once

#include <QtGlobal>

namespace zelmar {

struct AppState;

// The tab "Рабочая" became visible.
void RaTSShow(AppState& s);
// "Из Главной добавить в Рабочую": the card buffer appended to the working card file.
void nGlRabClick(AppState& s);
// "Очистить Рабочую картотеку".
void RabZeroClick(AppState& s);
// A press on row `row` of RabSpis (0 = heading) opens that card of the main card file.
void RabSpisMouseDown(AppState& s, qint64 row);

} // namespace zelmar
