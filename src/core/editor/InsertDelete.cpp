#include "core/editor/InsertDelete.h"

#include "core/access/Users.h"
#include "core/backup/ArchiveMove.h"
#include "core/editor/AppState.h"
#include "core/editor/EditorRoutines.h"
#include "core/platform/Clock.h"
#include "core/platform/CommandBoundary.h"
#include "core/platform/CrashPoints.h"
#include "core/platform/Errors.h"
#include "core/platform/Prompts.h"
#include "core/store/SafeFile.h"

#include <new>
#include <optional>
#include <vector>

namespace zelmar {

namespace {

// Every card of the main card file in order, the progress panel following: meter 1 the pass,
// meter 0 the whole rebuild (the pass, then making the new file durable).
void eachMainCard(AppState& s, const std::function<void(qint64, const TAnketa&)>& visit) {
    const qint64 total = s.main.size();
    s.main.forEach([&](qint64 record, const char* bytes) {
        visit(record, *std::launder(reinterpret_cast<const TAnketa*>(bytes)));
        s.progress->report(record + 1, total, 1);
        s.progress->report((record + 1) * 9, total * 10, 0);
    });
}

// Once the new main card file is in place the command is done: a failure of what follows does
// not undo it, and the message says what was done and what was not.
void tellPartlyDone(AppState& s, const QString& done, const QString& notDone,
                    const QString& error) {
    s.prompts.message(done + QStringLiteral("\n\n") + notDone + QLatin1Char('\n') + error,
                      QStringLiteral("Zelmar"), Prompts::Icon::Error);
}

} // namespace

void rebuildMainCardFile(
    AppState& s, const std::function<void(const std::function<void(const TAnketa&)>&)>& produce) {
    const qint64 position = s.main.isOpen() ? s.main.pos() : 0;
    try {
        RecordReplacement rebuilt(s.main, s.local(files::MainCards));
        produce([&rebuilt](const TAnketa& card) { rebuilt.add(&card); });
        rebuilt.commit();
    } catch (...) {
        // The old main card file is still in place, and open: the editor goes on with it.
        if (s.main.isOpen())
            s.main.seek(std::min(position, s.main.size()));
        throw;
    }
    s.progress->report(1, 1, 0);
}

void nDeleteClick(AppState& s) {
    if (!chiefAdministratorOnly(s))
        return;
    const int answer = s.prompts.choice(QStringLiteral("Удаление Анкеты из Главной картотеки"),
                                        QStringLiteral("Удалить"), QStringLiteral("В Архив"),
                                        QStringLiteral("Ничего не делать"));
    if (answer != 1 && answer != 2)
        return;
    const bool toArchive = answer == 2;
    const int key = toInteger(s.form.Klu4Form1);
    s.NavIndex = s.main.pos();
    ProgressScope progress(*s.progress);

    // Every card with the key is taken out. The archive gets them before the new main card
    // file takes the old one's place, and gives them back only while the old one is in place:
    // the card is always in one of the two files.
    const qint64 archived = s.archive.size();
    std::vector<TAnketa> removed;
    std::optional<ArchiveMove> move;
    if (toArchive)
        move.emplace(s);
    try {
        rebuildMainCardFile(s, [&](const auto& keep) {
            eachMainCard(s, [&](qint64, const TAnketa& card) {
                if (card.Klu4Form1 != key) {
                    keep(card);
                } else if (toArchive) {
                    removed.push_back(card);
                }
            });
            if (!removed.empty()) {
                s.archive.seek(archived);
                for (const TAnketa& card : removed)
                    s.archive.write(card);
                s.archive.sync();
                crashPoint("move:archived");
            }
        });
    } catch (...) {
        if (!removed.empty()) {
            s.archive.seek(archived);
            s.archive.truncate();
        }
        // Undone here; should cutting the archive fail, the record stays for the next start.
        if (move)
            move->finished();
        throw;
    }
    crashPoint("move:replaced");
    if (move)
        move->finished();

    s.main.seek(std::clamp<qint64>(s.NavIndex, 0, s.main.size()));
    Scatter(s);
    Kakay(s);
    s.Spisok.refresh();
    s.SpisokRow = s.main.size() > 0 ? s.CurNo : 0;
    // The working card file served as scratch: it is left empty.
    try {
        s.working.seek(0);
        s.working.truncate();
        s.form.WRab = QStringLiteral("0");
    } catch (const std::exception& error) {
        tellPartlyDone(s,
                       toArchive ? QStringLiteral("Карточка перенесена в Архив.")
                                 : QStringLiteral("Карточка удалена из Главной картотеки."),
                       QStringLiteral("Рабочую картотеку очистить не удалось:"), errorText(error));
    }
    s.RabSpis.refresh();
}

void nWstavitClick(AppState& s) {
    const qint64 count = s.main.size();
    const qint64 shown = s.CurNo; // 1-based number of the shown card
    if (shown < 1 || shown >= count) {
        s.prompts.message(QStringLiteral("Воспользуйтесь кнопками Дабавить и Запомнить"),
                          QStringLiteral("Вы находитесь в конце таблицы"));
        return;
    }
    if (!s.prompts.question(QStringLiteral("Вставить карточку ?"),
                            QStringLiteral("После карточки ") + QString::number(shown)))
        return;
    CardButtons& b = s.buttons;
    b.nOtmena = b.nNew = b.nCopiy = b.nPoisk = b.nDelete = true;
    b.N7 = true;

    const int gurN = toInteger(s.form.GurN);
    const TAnketa cardBefore = s.card;
    const CardForm formBefore = s.form;
    const CardEditState stateBefore = s.EditState;
    ProgressScope progress(*s.progress);

    // The working card file's copy of the new main card file is written in the same pass,
    // beside it, and takes its place only after the main card file took its own: a failure of
    // the copy leaves the working card file as it was and the insert done.
    std::optional<RecordReplacement> copy;
    QString copyFailed;
    const auto dropCopy = [&](const std::exception& error) {
        copyFailed = errorText(error);
        copy.reset();
    };
    try {
        copy.emplace(s.working, s.local(files::WorkingCards));
    } catch (const std::exception& error) {
        dropCopy(error);
    }
    try {
        // The blank card and its key are made before the pass: finding a free key may read
        // the main card file.
        ClearOkna(s);
        rebuildMainCardFile(s, [&](const auto& output) {
            const auto add = [&](const TAnketa& card) {
                output(card);
                try {
                    if (copy)
                        copy->add(&card);
                } catch (const std::exception& error) {
                    dropCopy(error);
                }
            };
            eachMainCard(s, [&](qint64 record, const TAnketa& stored) {
                if (record == shown) {
                    // Behind the shown card (still in the card buffer): a blank card with its
                    // register number and the new key, gathered as Save gathers.
                    s.card.GurN = gurN;
                    const double now = s.clock.now();
                    gatherCard(s, s.card.GurN, toInteger(s.form.Srok), toInteger(s.form.Klu4Form1));
                    s.card.AdminFIO = s.currentUserName();
                    s.card.DWKorr = now;
                    s.card.DaWrSozd = now;
                    s.EditState = CardEditState::Korr;
                    add(s.card);
                }
                s.card = stored;
                add(s.card);
            });
        });
    } catch (...) {
        // Nothing was inserted: the editor shows what it showed.
        s.card = cardBefore;
        s.form = formBefore;
        s.EditState = stateBefore;
        throw;
    }
    try {
        if (copy)
            copy->commit();
    } catch (const std::exception& error) {
        dropCopy(error);
    }
    s.RabSpis.refresh();
    if (s.working.isOpen())
        s.form.WRab = QString::number(s.working.size());

    s.CardCount = s.main.size();
    s.NavIndex = s.CardCount - 1;
    s.Spisok.refresh();
    // The new card is the current one: the editor shows it, and the next Insert after goes
    // below it.
    s.SpisokRow = shown + 1;
    s.main.seek(shown);
    Kakay(s);
    if (!copyFailed.isEmpty()) {
        tellPartlyDone(
            s, QStringLiteral("Карточка вставлена после карточки %1.").arg(shown),
            QStringLiteral("Рабочую картотеку записать не удалось, она осталась прежней:"),
            copyFailed);
    }
}

} // namespace zelmar
