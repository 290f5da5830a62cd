#include "core/editor/WorkingFile.h"

#include "core/editor/AppState.h"
#include "core/editor/EditorRoutines.h"

namespace zelmar {

void RaTSShow(AppState& s) {
    if (s.working.size() == 0)
        return;
    s.RabSpis.refresh();
    s.RabSpisRow = 1;
}

void nGlRabClick(AppState& s) {
    s.working.seek(s.working.size());
    s.working.write(s.card);
    s.form.WRab = QString::number(s.working.size());
    s.RabSpis.refresh();
}

void RabZeroClick(AppState& s) {
    s.working.create(s.working.path());
    s.form.WRab = QStringLiteral("0");
    s.RabSpis.refresh();
    s.RabSpisRow = 1;
}

void RabSpisMouseDown(AppState& s, qint64 row) {
    const qint64 cards = s.main.size();
    if (cards < 2 || s.working.size() == 0) {
        s.main.seek(0);
        return;
    }
    if (row < 1 || row > s.working.size())
        return;
    s.RabSpisRow = row;
    const int key = s.working.readAt(row - 1).Klu4Form1;
    // A key no longer in the main card file opens its last card.
    s.main.seek(s.main.findKey(key).value_or(cards - 1));
    Scatter(s);
    Kakay(s);
}

} // namespace zelmar
