#include "core/editor/Navigation.h"

#include "core/editor/AppState.h"
#include "core/editor/EditorRoutines.h"

namespace zelmar {

namespace {

void showAt(AppState& s, qint64 record) {
    s.main.seek(record);
    Scatter(s);
    Kakay(s);
}

} // namespace

void SpeedButBegClick(AppState& s) {
    if (s.main.size() == 0)
        return;
    s.SpisokRow = 1;
    s.NavIndex = 0;
    showAt(s, 0);
}

void SpeedButEndClick(AppState& s) {
    const qint64 n = s.main.size();
    s.NavIndex = n;
    if (n < 2)
        return;
    s.SpisokRow = n;
    s.NavIndex = n - 1;
    showAt(s, n - 1);
}

void SpeedButPredClick(AppState& s) {
    const qint64 n = s.main.size();
    s.CardCount = n;
    const qint64 p = s.main.pos();
    if (s.main.eof() || p == n - 1)
        s.NavIndex = n - 1;
    s.NavIndex = s.NavIndex > 1 ? p - 1 : 0;
    if (s.NavIndex < 0)
        s.NavIndex = 0;
    if (n > 0) {
        showAt(s, std::min(s.NavIndex, n));
        s.SpisokRow = s.NavIndex + 1;
    }
}

void SpeedButNextClick(AppState& s) {
    const qint64 n = s.main.size();
    s.CardCount = n;
    const qint64 p = s.main.pos();
    if (n == 0 || n == 1 || p > n - 2)
        return;
    s.NavIndex = p + 1;
    showAt(s, s.NavIndex);
    if (s.SpisokRow < n)
        ++s.SpisokRow;
}

void SpisokMouseDown(AppState& s, qint64 row) {
    const qint64 n = s.main.size();
    if (n == 0) {
        s.main.seek(0);
        s.CurNo = 0;
        return;
    }
    if (row > 0 && row < n + 1) {
        s.SpisokRow = row;
        showAt(s, row - 1);
    }
}

void SpisokSelectCell(AppState& s, qint64 row) {
    if (row > 0) {
        s.form.NNaidena = QString::number(s.CurNo);
        s.form.WsegoZ = QString::number(s.CardCount);
    }
}

} // namespace zelmar
