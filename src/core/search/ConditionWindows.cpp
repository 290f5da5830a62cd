#include "core/search/ConditionWindows.h"

#include "core/editor/AppState.h"

namespace zelmar {

namespace {

QStringList sorted(QStringList items) {
    sortItems(items);
    return items;
}

} // namespace

ConditionLists conditionLists(const AppState& s) {
    return {
        // The prosecutor's marks the card editor offers.
        sorted({QStringLiteral("Проверено"), QStringLiteral("Отменено")}),
        sorted(s.lists.items(ListId::KemWines)),
        sorted(s.lists.items(ListId::PodpUtw)),
        s.lists.items(ListId::FIOAvtor),
    };
}

void settleWorkingFile(AppState& s) noexcept {
    try {
        s.working.openForUpdate(s.working.path());
        s.working.seek(s.working.size());
        if (s.working.tailBytes() > 0)
            s.working.truncate();
    } catch (...) {
    }
}

} // namespace zelmar
