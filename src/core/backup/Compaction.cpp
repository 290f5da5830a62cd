#include "core/backup/Compaction.h"

#include "core/access/Users.h"
#include "core/backup/ArchiveMove.h"
#include "core/backup/DeletionMarks.h"
#include "core/editor/AppState.h"
#include "core/platform/CrashPoints.h"
#include "core/platform/Errors.h"
#include "core/platform/Prompts.h"
#include "core/store/SafeFile.h"
#include "core/texts/DateTexts.h"

#include <cstdint>
#include <cstring>
#include <functional>
#include <optional>

namespace zelmar {

namespace {

// Renumbered cards take keys this far apart, from a key drawn from the clock on.
constexpr std::int64_t kKeyStep = 10;

// Writes the cards of `file` that `keep` lets through (perhaps changed by it) into a new file
// beside it, syncs that, runs beforeCommit and renames the new file over. Until the rename the
// old file is untouched; a failure throws with the old file in place and the new one removed.
void rewriteCards(AppState& s, CardFile& file, const std::function<bool(TAnketa&)>& keep,
                  const std::function<void()>& beforeCommit = {}) {
    const qint64 total = file.size();
    Replacement replacement(file.path());
    CardFile fresh;
    fresh.create(replacement.tempPath());
    BlockWriter writer(fresh);
    TAnketa card;
    file.forEach([&](qint64 record, const char* bytes) {
        std::memcpy(&card, bytes, sizeof card);
        if (keep(card))
            writer.add(&card);
        s.progress->report(record + 1, total);
    });
    writer.flush();
    fresh.sync();
    fresh.close();
    if (beforeCommit)
        beforeCommit();
    replacement.commit();
}

// The file under path holds the rewritten cards now; the program goes on with them until it
// ends. Should the opening fail, the cards are safe all the same: the next start opens them.
void reopen(RecordFile& file, const QString& path) {
    try {
        file.openForUpdate(path);
    } catch (const IoError&) {
    }
}

void empty(AppState& s, CardFile& file, QStringView registerPath, const QString& question,
           const QString& caption) {
    if (!s.prompts.question(question, caption))
        return;
    const QString path = s.local(registerPath);
    writeFileAtomically(path, QByteArray());
    reopen(file, path);
    s.Spisok.refresh();
    endForRestart(s, QStringLiteral("Программа сейчас выключится"));
}

} // namespace

void endForRestart(AppState& s, const QString& caption) {
    s.prompts.message(QStringLiteral("Включите программу снова"), caption);
    s.exitCode = 0;
}

void N20Click(AppState& s) {
    if (!chiefAdministratorOnly(s))
        return;
    const int answer = s.prompts.choice(
        QStringLiteral("Удаление отмеченных Анкет из Главной картотеки"), QStringLiteral("Удалить"),
        QStringLiteral("В Архив"), QStringLiteral("Ничего не делать"));
    if (answer != 1 && answer != 2)
        return;
    const bool toArchive = answer == 2;
    const QString archivePath = s.local(files::ArchiveCards);
    if (!fileExists(archivePath))
        s.archive.create(archivePath);
    else if (!s.archive.isOpen())
        s.archive.openForUpdate(archivePath);
    std::int64_t key = NewStamp(s.clock);
    const bool renumber = s.prompts.question(QStringLiteral("Перенумеровать ?"),
                                             QStringLiteral("Перенумерация картотеки"));

    ProgressScope scope(*s.progress);
    const QString mainPath = s.local(files::MainCards);
    const qint64 shown = s.main.pos();
    // Marked cards are appended to the archive as the new main card file is written; if the
    // main card file is not replaced in the end, the archive is cut back to what it held.
    const qint64 archived = s.archive.size();
    std::optional<ArchiveMove> move;
    if (toArchive)
        move.emplace(s);
    try {
        s.archive.seek(archived);
        BlockWriter moved(s.archive);
        rewriteCards(
            s, s.main,
            [&](TAnketa& card) {
                if (renumber) {
                    card.Klu4Form1 = static_cast<std::int32_t>(key);
                    key += kKeyStep;
                }
                if (!markedForDeletion(card))
                    return true;
                if (toArchive)
                    moved.add(&card);
                return false;
            },
            [&] {
                // The moved cards reach the disk before the main card file is replaced.
                moved.flush();
                if (toArchive) {
                    s.archive.sync();
                    crashPoint("move:archived");
                }
            });
    } catch (...) {
        try {
            s.archive.seek(archived);
            s.archive.truncate();
            if (move)
                move->finished();
        } catch (const IoError&) {
            // The record stays: the next start cuts the archive back.
        }
        s.main.seek(std::min(shown, s.main.size()));
        throw;
    }
    crashPoint("move:replaced");
    if (move)
        move->finished();
    reopen(s.main, mainPath);
    s.Spisok.refresh();
    endForRestart(s, QStringLiteral("Программа сейчас выключится!!!"));
}

void N2Click(AppState& s) {
    if (!s.prompts.question(QStringLiteral("Удалить из Архива карточки, с меткой уд?"),
                            QStringLiteral("Сжатие Архива")))
        return;
    ProgressScope scope(*s.progress);
    const QString path = s.local(files::ArchiveCards);
    rewriteCards(s, s.archive, [](TAnketa& card) { return !markedForDeletion(card); });
    reopen(s.archive, path);
    endForRestart(s, QStringLiteral("Программа сейчас выключится!!!"));
}

void N18Click(AppState& s) {
    empty(s, s.main, files::MainCards, QStringLiteral("Удалить из картотеки все Карточки?"),
          QStringLiteral("Чистка картотеки"));
}

void N19Click(AppState& s) {
    empty(s, s.archive, files::ArchiveCards, QStringLiteral("Удалить все Карточки из архива?"),
          QStringLiteral("Очистка архивной картотеки"));
}

} // namespace zelmar
