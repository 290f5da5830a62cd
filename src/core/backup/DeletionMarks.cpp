#include "core/backup/DeletionMarks.h"

#include "core/editor/AppState.h"

#include <algorithm>
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
    try {
        s.main.store(record, card);
    } catch (...) {
        s.main.seek(std::min(shown, s.main.size()));
        throw;
    }
    s.main.seek(std::min(shown, s.main.size()));
    // When the editor shows this very card, its box and buffers take the new mark, so that
    // the next Save keeps it and "Из Главной добавить в Рабочую" copies the card as it stands.
    bool isKey = false;
    const int shownKey = s.form.Klu4Form1.trimmed().toInt(&isKey);
    if (isKey && shownKey == card.Klu4Form1) {
        s.form.Otmetka = mark;
        for (TAnketa* buffer : {&s.card, &s.SavedCard}) {
            if (buffer->Klu4Form1 == card.Klu4Form1)
                buffer->Otmetka = mark;
        }
    }
    s.Spisok.refresh();
}

} // namespace zelmar
