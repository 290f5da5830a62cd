#include "core/search/SearchWindow.h"

#include "core/editor/AppState.h"
#include "core/editor/EditorRoutines.h"
#include "core/editor/WorkingFile.h"
#include "core/platform/Clock.h"
#include "core/platform/Errors.h"
#include "core/platform/Prompts.h"
#include "core/search/CardScan.h"
#include "core/search/ConditionWindows.h"
#include "core/texts/DayNumber.h"

#include <new>

namespace zelmar {

namespace {

// A search starts over: the working card file emptied, the count back to 0.
void emptyWorkingFile(AppState& s, SearchForm& f) {
    s.working.create(s.working.path());
    s.RabSpis.refresh();
    f.SearchCount = 0;
}

// A found card goes to the end of the working card file and shows in its grid.
void passFound(AppState& s, SearchForm& f, const TAnketa& card) {
    s.working.seek(s.working.size());
    s.working.write(card);
    ++f.SearchCount;
    s.form.WRab = QString::number(f.SearchCount);
    s.RabSpis.refresh();
}

// After every step the working tab shows the working card file.
void endStep(AppState& s, SearchForm& f) {
    RaTSShow(s);
    f.showWorkingTab = true;
    f.nKRab = QString::number(s.working.size());
}

void searchOver(AppState& s) {
    s.prompts.message(QString::number(s.working.size()) +
                          QStringLiteral(" шт. в Рабочей картотеке"),
                      QStringLiteral("Поиск окончен"));
}

} // namespace

SearchForm::SearchForm() {
    conditions.NaDat = dayNumber(QDate(2005, 11, 1), pickerTime::kStartOfDay);
    conditions.KUPDataN = dayNumber(QDate(1900, 1, 1), pickerTime::kEditor);
}

void PoiskFormActivate(AppState& s, SearchForm& f) {
    CardConditions& c = f.conditions;
    const double lastDay = s.clock.today() + 31;
    c.KoDat = dayNumber(dateOf(lastDay), pickerTime::kEndOfDay);
    c.KUPDataPo = dayNumber(dateOf(lastDay), pickerTime::kEditor);
    // The card buffer keeps the card the editor shows (the register read the last card into
    // it here, unseen, so that a later Save took that card's stamps).
    c.KoSE = 9999;
    f.lists = conditionLists(s);
    c.ProkOtmetka.clear();
    c.KemWines.clear();
    c.PodpUtw.clear();
    c.Zayavitel.clear();
    c.PrintNet = 2;
    for (QString* text :
         {&c.IshNomZayv, &c.KlSlovo, &c.WhNash, &c.IshNash, &f.nKRab, &c.KUPN, &c.MotivP})
        text->clear();
    f.PosNai = QStringLiteral("0");
    emptyWorkingFile(s, f);
    s.main.seek(0);
}

void sBeginClick(AppState& s, SearchForm& f) {
    s.working.create(s.working.path());
    s.RabSpis.refresh();
    s.main.seek(0);
    f.PosNai = QStringLiteral("0");
    f.nKRab.clear();
    Scatter(s);
    Kakay(s);
    s.main.seek(0);
    f.SearchCount = 0;
}

void sEndClick(AppState& s, SearchForm& f) {
    s.working.create(s.working.path());
    s.RabSpis.refresh();
    const qint64 last = std::max<qint64>(s.main.size() - 1, 0);
    s.main.seek(last);
    Scatter(s);
    Kakay(s);
    s.main.seek(last);
    f.SearchBackPos = -2;
    f.PosNai = QStringLiteral("0");
    f.nKRab.clear();
    f.SearchCount = 0;
}

void sNextClick(AppState& s, SearchForm& f) {
    const CardTest test(f.conditions);
    TAnketa found;
    std::optional<qint64> record;
    {
        ProgressScope scope(*s.progress);
        record = findForward(s.main, s.main.pos(), test, found, s.progress);
    }
    if (record) {
        passFound(s, f, found);
        const qint64 n = *record + 1;
        f.PosNai = QString::number(n);
        s.main.seek(n - 1);
        Scatter(s);
        Kakay(s);
        s.main.seek(n);
    } else {
        s.main.seek(s.main.size());
    }
    endStep(s, f);
    if (s.main.eof())
        searchOver(s);
}

void sPredClick(AppState& s, SearchForm& f) {
    const qint64 cards = s.main.size();
    // -2 starts at the last card; so does a position the file no longer reaches (cards
    // deleted since the window was last open).
    if (f.SearchBackPos == -2 || f.SearchBackPos >= cards)
        f.SearchBackPos = cards - 1;
    if (f.SearchBackPos >= 0) {
        const CardTest test(f.conditions);
        TAnketa found;
        std::optional<qint64> record;
        {
            ProgressScope scope(*s.progress);
            record = findBackward(s.main, f.SearchBackPos, test, found, s.progress);
        }
        f.SearchBackPos = record ? *record - 1 : -1;
        if (record) {
            passFound(s, f, found);
            f.PosNai = QString::number(*record + 1);
            s.card = found;
            ShowRecord(s);
        }
    }
    endStep(s, f);
    if (f.SearchBackPos == -1)
        searchOver(s);
}

void WsehSrazuClick(AppState& s, SearchForm& f) {
    s.main.seek(0);
    emptyWorkingFile(s, f);
    const CardTest test(f.conditions);
    const qint64 total = s.main.size();
    try {
        ProgressScope scope(*s.progress);
        BlockWriter passed(s.working);
        s.main.forEach([&](qint64 record, const char* bytes) {
            if ((record & 1023) == 0)
                s.progress->report(record, total);
            if (test(*std::launder(reinterpret_cast<const TAnketa*>(bytes)))) {
                passed.add(bytes);
                ++f.SearchCount;
            }
        });
        passed.flush();
    } catch (...) {
        // The cards that reached the working card file stay, and are what the counters show.
        settleWorkingFile(s);
        f.SearchCount = s.working.isOpen() ? static_cast<int>(s.working.size()) : 0;
        s.form.WRab = QString::number(f.SearchCount);
        s.RabSpis.refresh();
        f.nKRab = QString::number(f.SearchCount);
        throw;
    }
    s.form.WRab = QString::number(f.SearchCount);
    s.RabSpis.refresh();
    endStep(s, f);
}

void PoslPokClick(AppState& s, SearchForm& f) {
    const int n = toInteger(f.PosNai);
    const qint64 cards = s.main.size();
    if (n > 0 && cards > 0) {
        // A number past the last card shows the last card.
        const qint64 row = std::min<qint64>(n, cards);
        s.main.seek(row - 1);
        s.SpisokRow = row;
    }
    Scatter(s);
    Kakay(s);
    f.close = true;
}

void RabZeroClick(AppState& s, SearchForm& f) {
    f.nKRab.clear();
    s.form.WRab.clear();
    emptyWorkingFile(s, f);
    s.main.seek(0);
    f.PosNai = QStringLiteral("0");
}

} // namespace zelmar
