#include "core/backup/DeletionMarks.h"

#include "core/editor/AppState.h"

#include <cstring>

namespace zelmar {

namespace {
// "уд" in Windows-1251.
constexpr char kMark[] = "\xF3\xE4";
} // namespace

bool markedForDeletion(const TAnketa& card) {
    return card.Otmetka.size() == 2 && std::memcmp(card.Otmetka.chars, kMark, 2) == 0;
}

void marks::OtmDelClick(AppState& s) {
    const qint64 count = s.main.size();
    if (count == 0)
        return;
    const qint64 record = count == 1 ? 0 : s.SpisokRow - 1;
    if (record < 0 || record >= count)
        return;
    // A card with any mark of its own loses it; a card without one gets the deletion mark.
    TAnketa card = s.main.readAt(record);
    const QString mark = card.Otmetka.size() > 0 ? QString() : QStringLiteral("уд");
    card.Otmetka = mark;

    // The editor stays on the card it shows.
    const qint64 shown = s.main.pos();
    s.main.seek(record);
    try {
        s.main.store(card);
    } catch (...) {
        s.main.seek(shown);
        throw;
    }
    s.main.seek(shown);
    if (s.EditState == CardEditState::Korr && shown == record) {
        s.form.Otmetka = mark;
        s.card.Otmetka = mark;
        s.SavedCard.Otmetka = mark;
    }
    s.Spisok.refresh();
}

} // namespace zelmar
