#include "core/search/FilterWindow.h"

#include "core/editor/AppState.h"
#include "core/platform/Clock.h"
#include "core/platform/Progress.h"
#include "core/platform/Prompts.h"
#include "core/reports/PrintSelection.h"
#include "core/search/SearchWindow.h"
#include "core/texts/DayNumber.h"

#include <memory>

namespace zelmar {

namespace {

constexpr qint64 kBlock = (1 << 20) / TAnketa::Size;

// Writes the changed cards of a block back over their own records, one write per run of
// neighbours; the main card file through its index.
void writeBack(AppState& s, bool archive, qint64 first, const TAnketa* cards,
               const std::vector<bool>& changed) {
    const qint64 count = static_cast<qint64>(changed.size());
    for (qint64 i = 0; i < count;) {
        if (!changed[static_cast<size_t>(i)]) {
            ++i;
            continue;
        }
        qint64 end = i;
        while (end < count && changed[static_cast<size_t>(end)])
            ++end;
        if (archive) {
            s.archive.seek(first + i);
            s.archive.writeRecords(cards + i, end - i);
        } else {
            s.main.put(first + i, cards + i, end - i);
        }
        i = end;
    }
}

// The actions of the window on a selected card; true when it changed.
bool act(const FilterForm& f, TAnketa& card) {
    bool changed = false;
    if (f.udRG == FilterForm::Set || f.udRG == FilterForm::Remove) {
        card.Otmetka = f.udRG == FilterForm::Set ? DeletionMark : QString();
        changed = true;
    }
    if (f.PRNPost == FilterForm::Set || f.PRNPost == FilterForm::Remove) {
        card.PrintNet = f.PRNPost == FilterForm::Set ? 1 : 0;
        changed = true;
    }
    return changed;
}

// The selection shows in the print selection window's working table.
void showSelection(AppState& s, PrintSelection& p) {
    s.RabSpis.refresh();
    p.Tabl.reload();
    p.ArhTab.reload();
    s.Spisok.refresh();
    p.RabTab.refill();
    if (s.working.size() > 0) {
        RabStrShow(s, p);
        p.showTab = PrintSelection::Working;
        return;
    }
    if (p.activeTable == PrintSelection::Working) {
        p.activeTable = PrintSelection::Main;
        p.showTab = PrintSelection::Main;
    }
    s.prompts.message(QStringLiteral("Измените условия выбора"),
                      QStringLiteral("Нет таких карточек"));
}

void select(AppState& s, FilterForm& f, PrintSelection& p, bool archive) {
    const RecordFile& source = archive ? static_cast<RecordFile&>(s.archive) : s.main;
    s.working.create(s.working.path());
    const CardTest test(f.conditions);
    const qint64 total = source.size();
    try {
        ProgressScope scope(*s.progress);
        BlockWriter selected(s.working);
        const auto cards = std::make_unique<TAnketa[]>(kBlock);
        std::vector<bool> changed;
        bool written = false;
        for (qint64 first = 0; first < total; first += kBlock) {
            const qint64 count = std::min(kBlock, total - first);
            source.readRecords(first, count, cards.get());
            changed.assign(static_cast<size_t>(count), false);
            for (qint64 i = 0; i < count; ++i) {
                if ((i & 1023) == 0)
                    s.progress->report(first + i, total);
                TAnketa& card = cards[static_cast<size_t>(i)];
                if (!test(card))
                    continue;
                changed[static_cast<size_t>(i)] = act(f, card);
                written = written || changed[static_cast<size_t>(i)];
                selected.add(&card);
            }
            writeBack(s, archive, first, cards.get(), changed);
        }
        selected.flush();
        if (written)
            archive ? s.archive.sync() : s.main.sync();
        s.progress->report(total, total);
    } catch (...) {
        // What reached the files stays as written; the tables show it.
        settleWorkingFile(s);
        s.RabSpis.refresh();
        p.RabTab.refill();
        p.Tabl.reload();
        p.ArhTab.reload();
        s.Spisok.refresh();
        p.KRab = QString::number(s.working.isOpen() ? s.working.size() : 0);
        throw;
    }
    s.main.seek(s.main.size());
    showSelection(s, p);
}

} // namespace

FilterForm::FilterForm() {
    conditions.NaDat = dayNumber(QDate(2005, 11, 1), pickerTime::kStartOfDay);
    conditions.KUPDataN = dayNumber(QDate(2005, 11, 1), pickerTime::kOneSecond);
}

void FiltrFormActivate(AppState& s, FilterForm& f) {
    CardConditions& c = f.conditions;
    const QDate today = dateOf(s.clock.today());
    c.KoDat = dayNumber(today.addDays(31), pickerTime::kEndOfDay);
    c.KUPDataPo = dayNumber(today, pickerTime::kEditor);
    f.lists = conditionLists(s);
    for (QString* text :
         {&c.ProkOtmetka, &c.KemWines, &c.PodpUtw, &c.Zayavitel, &c.KUPN, &c.KlSlovo, &c.MotivP})
        text->clear();
    c.PrintNet = 2;
    c.KoSE = 9999;
    c.NaSE = 1;
}

void GlWibClick(AppState& s, FilterForm& f, PrintSelection& p) {
    select(s, f, p, false);
}

void ArhWibClick(AppState& s, FilterForm& f, PrintSelection& p) {
    select(s, f, p, true);
}

void UdDelClick(AppState& s, FilterForm& f, PrintSelection& p) {
    const int from = f.conditions.NaSE;
    const int to = f.conditions.KoSE;
    if (from > to) {
        s.prompts.message(QStringLiteral("Начальный номер больше конечного: примечания не очищены"),
                          QStringLiteral("Неверный диапазон"));
        return;
    }
    // Positions in the main card file (the rows of its grid), not register numbers.
    const qint64 total = s.main.size();
    const qint64 first = std::max<qint64>(from, 1) - 1;
    const qint64 last = std::min<qint64>(to, total);
    {
        ProgressScope scope(*s.progress);
        const auto cards = std::make_unique<TAnketa[]>(kBlock);
        for (qint64 block = first; block < last; block += kBlock) {
            const qint64 count = std::min(kBlock, last - block);
            s.main.readRecords(block, count, cards.get());
            for (qint64 i = 0; i < count; ++i)
                cards[static_cast<size_t>(i)].Otmetka = QString();
            s.main.put(block, cards.get(), count);
            s.progress->report(block + count, total);
        }
        if (first < last)
            s.main.sync();
    }
    s.main.seek(total);
    s.Spisok.refresh();
    p.Tabl.reload();
}

} // namespace zelmar
