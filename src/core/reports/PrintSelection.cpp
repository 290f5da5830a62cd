#include "core/reports/PrintSelection.h"

#include "core/editor/AppState.h"
#include "core/editor/EditorRoutines.h"
#include "core/platform/Clock.h"
#include "core/platform/Errors.h"
#include "core/platform/Progress.h"
#include "core/platform/Prompts.h"
#include "core/store/SafeFile.h"
#include "core/texts/DateTexts.h"
#include "core/texts/DayNumber.h"

#include <charconv>
#include <memory>

namespace zelmar {

namespace {

void fitRow(qint64& row, qint64 rows) {
    row = rows == 0 ? 0 : std::clamp<qint64>(row, 1, rows);
}

QString& counterOf(PrintSelection& p, int table) {
    return table == PrintSelection::Main      ? p.GlavN
           : table == PrintSelection::Working ? p.RabN
                                              : p.ArhN;
}

// The card panel shows a card.
void showInPanel(PrintSelection& p, const TAnketa& c) {
    p.card = c;
    p.EsNo = c.PrintNet != 0 ? QStringLiteral("Есть") : QStringLiteral("Нет");
    p.Fabul = c.Fabula.text();
    p.ProkOtm = c.ProkOtmetka.text();
    p.GurN = QString::number(c.GurN);
    p.DateOtkaza = c.DateOtkaza;
    p.KtoWines = c.KemWines.text();
    p.PodpUtw = c.PodpUtw.text();
    p.Motiv = c.Motiv.text();
}

// A table filled from its file; as the fill read every card, the last one is the window's card.
void fill(PrintSelection& p, int table, const RecordFile& file, QString& counter) {
    PrintGridModel& grid = p.grid(table);
    grid.refill();
    counter = QString::number(grid.rows());
    fitRow(p.currentRow(table), grid.rows());
    if (grid.rows() > 0) {
        file.readRecords(grid.rows() - 1, 1, &p.card);
        p.cardTable = table;
        p.cardRecord = grid.rows() - 1;
    }
}

const RecordFile& fileOf(AppState& s, int table) {
    return table == PrintSelection::Working   ? static_cast<const RecordFile&>(s.working)
           : table == PrintSelection::Archive ? static_cast<const RecordFile&>(s.archive)
                                              : s.main;
}

// The window's card as its file holds it now (marks and printed flags change under it); a
// card that left its file stays as it was last read.
const TAnketa& cardAsStored(AppState& s, PrintSelection& p) {
    const RecordFile& file = fileOf(s, p.cardTable);
    if (p.cardRecord >= 0 && file.isOpen() && p.cardRecord < file.size())
        file.readRecords(p.cardRecord, 1, &p.card);
    return p.card;
}

// Every card of the main card file with the register number and day gets the printed flag;
// the file is left at its end, as after reading it through.
void markMain(AppState& s, std::int64_t numberAndDay, int value) {
    const auto found = s.main.findNumberAndDay(numberAndDay);
    const std::vector<std::int32_t> records(found.begin(), found.end());
    for (const std::int32_t record : records) {
        TAnketa c = s.main.readAt(record);
        c.PrintNet = value;
        s.main.put(record, &c);
    }
    if (!records.empty())
        s.main.sync();
    s.main.seek(s.main.size());
}

// The working card file without one record: written beside, synced and renamed over it, so a
// failure leaves it as it was.
void removeWorkingRecord(AppState& s, qint64 record) {
    CardFile& working = s.working;
    const QString path = working.path();
    const qint64 total = working.size();
    try {
        Replacement replacement(path);
        CardFile fresh;
        fresh.create(replacement.tempPath());
        constexpr qint64 kBlock = (1 << 20) / TAnketa::Size;
        const auto cards = std::make_unique<TAnketa[]>(kBlock);
        const auto copy = [&](qint64 from, qint64 to) {
            for (qint64 first = from; first < to; first += kBlock) {
                const qint64 count = std::min(kBlock, to - first);
                working.readRecords(first, count, cards.get());
                fresh.writeRecords(cards.get(), count);
            }
        };
        copy(0, record);
        copy(record + 1, total);
        fresh.sync();
        fresh.close();
        working.close();
        replacement.commit();
    } catch (...) {
        if (!working.isOpen() && fileExists(path))
            working.openForUpdate(path);
        throw;
    }
    working.openForUpdate(path);
}

} // namespace

PrintSelection::PrintSelection(AppState& s)
    : Tabl(s.main)
    , RabTab(s.working)
    , ArhTab(s.archive)
    , NaDat(dayNumber(QDate(2005, 11, 1)))
    // Up to a month ahead, as in the search: a fixed upper date would hide every newer card
    // from the search by number.
    , KoDat(dayNumber(dateOf(s.clock.today() + 31), (23 * 3600 + 59 * 60 + 59) * 1000))
    , card(zeroCard()) {
    Tabl.useNumbersAndDays(&s.main.numbersAndDays());
    StolbExcel.fill(true);
}

PrintGridModel& PrintSelection::grid(int table) {
    return table == Working ? RabTab : table == Archive ? ArhTab : Tabl;
}

qint64& PrintSelection::currentRow(int table) {
    return table == Working ? RabTabRow : table == Archive ? ArhTabRow : TablRow;
}

bool N17Click(AppState& s) {
    if (s.main.size() > 0)
        return true;
    s.prompts.message(QStringLiteral("Заполните хоть 1 карточку"),
                      QStringLiteral("Картотека пуста"));
    return false;
}

void PrintFormActivate(AppState& s, PrintSelection& p, bool opening) {
    p.KRab = QString::number(s.working.size());
    p.KArh = QString::number(s.archive.size());
    p.sortColumn = 0;
    p.Fabul.clear();
    p.NomOtk.clear();
    if (opening) {
        p.activeTable = PrintSelection::Main;
        p.showTab = PrintSelection::Main;
    }
    GlTabl(s, p);
}

void GlTabl(AppState& s, PrintSelection& p) {
    fill(p, PrintSelection::Main, s.main, p.KGlav);
    s.main.seek(0);
}

void GlavStrShow(AppState& s, PrintSelection& p) {
    if (s.main.size() == 0)
        return;
    p.activeTable = PrintSelection::Main;
    GlTabl(s, p);
}

void RabStrShow(AppState& s, PrintSelection& p) {
    if (s.working.size() == 0) {
        p.activeTable = PrintSelection::Main;
        p.RabTab.refill();
        s.prompts.message(QStringLiteral("Измените условия выбора"),
                          QStringLiteral("Нет таких карточек"));
        p.showTab = PrintSelection::Main;
        return;
    }
    p.activeTable = PrintSelection::Working;
    fill(p, PrintSelection::Working, s.working, p.KRab);
}

void ArhStrShow(AppState& s, PrintSelection& p) {
    if (s.archive.size() == 0) {
        p.activeTable = PrintSelection::Main;
        s.prompts.message(QStringLiteral("Вернитесь в Главную"),
                          QStringLiteral("В Архиве нет карточек"));
        return;
    }
    p.activeTable = PrintSelection::Archive;
    fill(p, PrintSelection::Archive, s.archive, p.KArh);
}

namespace {

// The card of a row is picked: the panel shows the first card of the table's file with the
// row's number and day (none: the file's last card).
void pickRow(AppState& s, PrintSelection& p, int table, qint64 row) {
    PrintGridModel& grid = p.grid(table);
    p.currentRow(table) = row;
    const TAnketa shown = grid.cardAt(row - 1);
    const std::int64_t key = MainCardFile::numberAndDay(shown);
    s.printSelectedGurN = shown.GurN;
    counterOf(p, table) = QString::number(shown.GurN);
    p.cardTable = table;

    if (table == PrintSelection::Main) {
        const auto found = s.main.findNumberAndDay(key);
        const qint64 record = found.empty() ? s.main.size() - 1 : found.front();
        showInPanel(p, s.main.readAt(record));
        p.cardRecord = record;
        s.main.seek(record + 1);
        return;
    }
    // In the working card file and the archive too the day is compared as a whole day: a card
    // stored with a time of day is the card of its row, not the file's last one.
    const RecordFile& file = fileOf(s, table);
    const std::vector<std::int64_t>& keys = grid.numbersAndDays();
    TAnketa c;
    if (MainCardFile::dayOf(key) != MainCardFile::kNoDay) {
        for (size_t record = 0; record < keys.size(); ++record) {
            if (keys[record] != key)
                continue;
            file.readRecords(static_cast<qint64>(record), 1, &c);
            showInPanel(p, c);
            p.cardRecord = static_cast<qint64>(record);
            return;
        }
    }
    p.cardRecord = file.size() - 1;
    file.readRecords(p.cardRecord, 1, &c);
    showInPanel(p, c);
}

} // namespace

void TablMouseDown(AppState& s, PrintSelection& p, int table, qint64 row, int column) {
    if (s.main.size() == 0) {
        s.main.seek(0);
        return;
    }
    if (row < 1 || row > p.grid(table).rows() || column < 0 ||
        column >= PrintGridModel::ColumnCount)
        return;
    p.Sortir = PrintGridModel::headings().at(column);
    p.sortColumn = column;
    pickRow(s, p, table, row);
}

void TablRowPicked(AppState& s, PrintSelection& p, int table, qint64 row) {
    if (s.main.size() == 0 || row < 1 || row > p.grid(table).rows())
        return;
    pickRow(s, p, table, row);
}

void NomOtkChange(AppState& s, PrintSelection& p) {
    const QByteArray wanted = toCp1251(trimControl(p.NomOtk));
    if (wanted.isEmpty())
        return;
    const qsizetype typed = p.NomOtk.size();
    PrintGridModel& grid = p.grid(p.activeTable);
    const std::vector<std::int64_t>& keys = grid.numbersAndDays();
    for (qint64 row = 0; row < grid.rows(); ++row) {
        const qint64 record = grid.recordAt(row);
        if (record < 0 || record >= static_cast<qint64>(keys.size()))
            continue;
        const std::int64_t key = keys[static_cast<size_t>(record)];
        // The number's text cut to as many characters as were typed, blanks included.
        char text[16];
        const auto end = std::to_chars(text, text + sizeof text, MainCardFile::numberOf(key)).ptr;
        const qsizetype length = std::min<qsizetype>(end - text, typed);
        if (QByteArrayView(text, length) != wanted)
            continue;
        const std::int32_t day = MainCardFile::dayOf(key);
        if (day != MainCardFile::kNoDay && dayInRange(day, p.NaDat, p.KoDat)) {
            // The found row is picked, so the panel and the buttons act on what is shown.
            pickRow(s, p, p.activeTable, row + 1);
            return;
        }
    }
}

void SortirClick(AppState& s, PrintSelection& p) {
    PrintGridModel& grid = p.grid(p.activeTable);
    if (grid.rows() == 0)
        return;
    ProgressScope scope(*s.progress);
    // The current row keeps its card: the buttons go on acting on the card the panel shows.
    qint64& row = p.currentRow(p.activeTable);
    const qint64 record = row >= 1 && row <= grid.rows() ? grid.recordAt(row - 1) : -1;
    grid.sortBy(p.sortColumn, *s.progress);
    if (record >= 0)
        row = grid.rowOf(record) + 1;
}

void PlusRabClick(AppState& s, PrintSelection& p) {
    if (p.activeTable != PrintSelection::Main || p.Tabl.rows() == 0)
        return;
    const TAnketa card = cardAsStored(s, p);
    s.working.seek(s.working.size());
    s.working.write(card);
    p.KRab = QString::number(s.working.size());
    s.RabSpis.refresh();
}

void DelRabClick(AppState& s, PrintSelection& p) {
    if (p.activeTable != PrintSelection::Working || p.RabTab.rows() == 0)
        return;
    fitRow(p.RabTabRow, p.RabTab.rows());
    // The record of the card the row shows, also when the table is sorted.
    const qint64 record = p.RabTab.recordAt(p.RabTabRow - 1);
    removeWorkingRecord(s, record);
    p.RabTab.removeRecord(record);
    if (p.cardTable == PrintSelection::Working) {
        if (p.cardRecord == record)
            p.cardRecord = -1;
        else if (p.cardRecord > record)
            --p.cardRecord;
    }
    fitRow(p.RabTabRow, p.RabTab.rows());
    p.KRab = QString::number(s.working.size());
    s.RabSpis.refresh();
    if (s.working.size() == 0)
        p.activeTable = PrintSelection::Main;
}

void RabClearClick(AppState& s, PrintSelection& p) {
    s.working.create(s.working.path());
    p.RabTab.refill();
    p.RabTabRow = 0;
    if (p.cardTable == PrintSelection::Working)
        p.cardRecord = -1;
    s.RabSpis.refresh();
    p.KRab = QStringLiteral("0");
    p.activeTable = PrintSelection::Main;
    p.showTab = PrintSelection::Main;
}

void EstNet(AppState& s, PrintSelection& p, int value) {
    if (p.TablRow < 1 || p.TablRow > p.Tabl.rows())
        return;
    p.EsNo = value ? QStringLiteral("Есть") : QStringLiteral("Нет");
    markMain(s, MainCardFile::numberAndDay(p.Tabl.cardAt(p.TablRow - 1)), value);
    p.Tabl.reload();
    s.Spisok.refresh();
}

void RabEstNet(AppState& s, PrintSelection& p, int value) {
    if (p.RabTabRow < 1 || p.RabTabRow > p.RabTab.rows())
        return;
    p.EsNo = value ? QStringLiteral("Есть") : QStringLiteral("Нет");
    const std::int64_t key = MainCardFile::numberAndDay(p.RabTab.cardAt(p.RabTabRow - 1));
    markMain(s, key, value);
    if (MainCardFile::dayOf(key) != MainCardFile::kNoDay) {
        const std::vector<std::int64_t>& keys = p.RabTab.numbersAndDays();
        bool written = false;
        for (size_t record = 0; record < keys.size(); ++record) {
            if (keys[record] != key)
                continue;
            TAnketa c = s.working.readAt(static_cast<qint64>(record));
            c.PrintNet = value;
            s.working.seek(static_cast<qint64>(record));
            s.working.write(c);
            written = true;
        }
        if (written)
            s.working.sync();
    }
    p.RabTab.reload();
    p.Tabl.reload();
    s.Spisok.refresh();
    s.RabSpis.refresh();
}

void KartMatClick(AppState& s, PrintSelection& p) {
    if (p.GurN.isEmpty())
        return;
    const int number = toInteger(p.GurN);
    const auto found = s.main.findNumberAndDay(MainCardFile::numberAndDay(number, p.DateOtkaza));
    for (const std::int32_t record : found) {
        if (s.main.readAt(record).DateOtkaza == p.DateOtkaza) {
            s.main.seek(record);
            Scatter(s);
            Kakay(s);
            s.SpisokRow = record + 1;
            p.close = true;
            return;
        }
    }
    s.main.seek(s.main.size());
    p.close = true;
}

} // namespace zelmar
