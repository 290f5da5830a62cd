#pragma once

#include <QtGlobal>

namespace zelmar {

struct AppState;

// The navigation group and the main grid.
void SpeedButBegClick(AppState& s);  // First
void SpeedButPredClick(AppState& s); // Previous
void SpeedButNextClick(AppState& s); // Next
void SpeedButEndClick(AppState& s);  // Last
// A mouse press on grid row `row` of Spisok (0 = heading).
void SpisokMouseDown(AppState& s, qint64 row);
// The selection moved to `row` of Spisok or RabSpis: only the counters are refreshed.
void SpisokSelectCell(AppState& s, qint64 row);

} // namespace zelmar
