#include "core/reports/RegisterBook.h"

#include "core/editor/AppState.h"
#include "core/platform/CommandBoundary.h"
#include "core/platform/Errors.h"
#include "core/platform/Progress.h"
#include "core/platform/Prompts.h"
#include "core/reports/CardReports.h"
#include "core/reports/PrintSelection.h"

#include <algorithm>
#include <vector>

namespace zelmar {

namespace {

constexpr qint64 kBlock = 512;

// The records of the main card file that the cards of the working card file stand for, each
// once, in file order.
std::vector<std::int32_t> mainRecordsOfWorkingCards(AppState& s, std::vector<TAnketa>& block) {
    const qint64 total = s.working.size();
    std::vector<std::int32_t> records;
    for (qint64 done = 0; done < total;) {
        const qint64 count = std::min(kBlock, total - done);
        s.working.readRecords(done, count, block.data());
        for (qint64 i = 0; i < count; ++i) {
            const auto found =
                s.main.findNumberAndDay(MainCardFile::numberAndDay(block[size_t(i)]));
            records.insert(records.end(), found.begin(), found.end());
        }
        done += count;
        s.progress->report(done, 2 * total);
    }
    std::sort(records.begin(), records.end());
    records.erase(std::unique(records.begin(), records.end()), records.end());
    return records;
}

} // namespace

qint64 markRegisterBookPrinted(AppState& s) {
    ProgressScope scope(*s.progress);
    const qint64 total = s.working.size();
    std::vector<TAnketa> block(static_cast<size_t>(kBlock));
    const std::vector<std::int32_t> records = mainRecordsOfWorkingCards(s, block);

    // Written in place, run by run of neighbouring records; a run whose cards are all marked
    // already is left alone.
    const auto count = static_cast<qint64>(records.size());
    qint64 done = 0;
    bool written = false;
    try {
        while (done < count) {
            qint64 run = 1;
            while (done + run < count && run < kBlock &&
                   records[size_t(done + run)] == records[size_t(done + run - 1)] + 1)
                ++run;
            const qint64 first = records[size_t(done)];
            s.main.readRecords(first, run, block.data());
            bool changed = false;
            for (qint64 i = 0; i < run; ++i) {
                changed = changed || block[size_t(i)].PrintNet != 1;
                block[size_t(i)].PrintNet = 1;
            }
            if (changed) {
                s.main.put(first, block.data(), run);
                written = true;
            }
            done += run;
            s.progress->report(total + total * done / count, 2 * total);
        }
        if (written)
            s.main.sync();
    } catch (const std::exception& error) {
        throw ZelmarError(
            errorText(error) +
            QStringLiteral("\n\nКнига напечатана, но отметка «Есть» поставлена не во всех "
                           "карточках: в %1 из %2 карточек Главной картотеки; остальные "
                           "остались как были.")
                .arg(done)
                .arg(count));
    }
    // As after reading the main card file through.
    s.main.seek(s.main.size());
    return count;
}

void KwitkiClick(AppState& s, PrintSelection& p) {
    writeWorkingFileReport(s, reports::Receipts, p.card);
}

void BitBtn2Click(AppState& s, PrintSelection& p) {
    writeWorkingFileReport(s, reports::Cancelled, p.card);
}

void BitBtn3Click(AppState& s, PrintSelection& p) {
    writeWorkingFileReport(s, reports::Prosecutor, p.card);
}

void BitBtn1Click(AppState& s, PrintSelection& p) {
    writeCardReport(s, reports::FullCard, p.card);
}

void BitBtn4Click(AppState& s, PrintSelection& p) {
    writeCardReport(s, reports::StandardCard, p.card);
}

void KnigaClick(AppState& s, PrintSelection& p) {
    writeWorkingFileReport(s, reports::RegisterBook, p.card);
    if (!s.prompts.question(QStringLiteral("Поставить отметки Есть ?"),
                            QStringLiteral("Во всех напечатанных карточках")))
        return;
    markRegisterBookPrinted(s);
    // The tables show the cards as the file now holds them.
    p.Tabl.reload();
    s.Spisok.refresh();
}

} // namespace zelmar
