#include "core/editor/MainWindowEvents.h"

#include "core/access/Settings.h"
#include "core/access/Users.h"
#include "core/backup/Backup.h"
#include "core/editor/AppState.h"
#include "core/editor/EditorRoutines.h"
#include "core/editor/ReferenceLists.h"
#include "core/platform/CommandBoundary.h"
#include "core/platform/Errors.h"
#include "core/platform/Prompts.h"

#include <algorithm>

namespace zelmar {

namespace {

// Opens a record file for update, or creates it empty when it is missing.
void openOrCreate(RecordFile& file, const QString& path) {
    if (fileExists(path))
        file.openForUpdate(path);
    else
        file.create(path);
}

// A file cut short (a crash, a copy cut off) keeps its whole records; the user is told.
void reportTornTail(AppState& s, const RecordFile& file) {
    if (file.tailBytes() == 0)
        return;
    s.prompts.message(QStringLiteral("Файл %1 повреждён: в его конце %2 байт неполной записи.\n"
                                     "Читаются %3 целых записей; неполная запись будет заменена "
                                     "при следующем сохранении.")
                          .arg(file.path())
                          .arg(file.tailBytes())
                          .arg(file.size()),
                      QStringLiteral("Повреждённый файл"));
}

void openMainCardFile(AppState& s) {
    s.EditState = CardEditState::Korr;
    openOrCreate(s.main, s.local(files::MainCards));
    reportTornTail(s, s.main);
    const qint64 count = s.main.size();
    if (count > 0) {
        s.main.seek(count - 1);
        Scatter(s);
    } else {
        s.EditState = CardEditState::New;
        ClearOkna(s);
        hideAllCardButtons(s);
    }
    Kakay(s);
    // Should a later step of the start fail, the grid and the navigation still know the file.
    s.NavIndex = std::max<qint64>(count - 1, 0);
    s.SpisokRow = count;
    s.Spisok.refresh();
}

// One pass over the main card file: the index of keys and numbers, the count, and every card
// not yet printed appended to the (new, empty) working card file.
void fillGrids(AppState& s) {
    BlockWriter unprinted(s.working);
    s.main.reindex([&](qint64, const TAnketa& card) {
        if (card.PrintNet == 0)
            unprinted.add(&card);
    });
    unprinted.flush();
    s.CardCount = s.main.size();
    s.NavIndex = s.CardCount - 1;
    s.SpisokRow = s.CardCount;
    s.Spisok.refresh();
    s.RabSpis.refresh();
    s.RabSpisRow = s.working.size() > 0 ? 1 : 0;
}

} // namespace

void FormCreate(AppState& s) {
    try {
        // The archive first: the blank card of an empty main card file takes a key neither
        // file holds.
        openOrCreate(s.archive, s.local(files::ArchiveCards));
        reportTornTail(s, s.archive);
        openMainCardFile(s);
        s.working.create(s.local(files::WorkingCards));
        openOrCreate(s.templates, s.local(files::Templates));
        openOfficialsTable(s);
        loadAccessTable(s);
        if (s.exitCode)
            return;
        loadSettings(s);
        fillGrids(s);
        loadReferenceLists(s);
        s.printSelectedGurN = 0;
        loadColours(s);
    } catch (const std::exception& error) {
        // As the register always did: the error is shown, the rest of the start is skipped,
        // and the window opens with what was done.
        reportError(s.prompts, error);
    }
}

void FormShow(AppState& s) {
    loadOfficials(s);
}

void FormActivate(AppState& s) {
    if (s.working.isOpen() && s.working.size() > 0) {
        s.form.WRab = QString::number(s.working.size());
        s.prompts.message(QString::number(s.working.size()) +
                              QStringLiteral(" шт. Они в Рабочей картотеке"),
                          QStringLiteral("Есть карточки с отметкой Не напечатано"));
    }
    const qint64 rows = s.main.isOpen() ? s.main.size() + 1 : 1;
    if (rows > 5)
        s.SpisokRow = rows - 1;
}

void closeAllFiles(AppState& s) {
    s.officialsFile.close();
    s.main.close();
    s.usersFile.close();
    s.archive.close();
    s.working.close();
    s.templates.close();
}

void N4Click(AppState& s) {
    saveReferenceLists(s);
    closeAllFiles(s);
    offerBackup(s);
}

} // namespace zelmar
