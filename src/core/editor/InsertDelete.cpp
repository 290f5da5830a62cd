#include "core/editor/InsertDelete.h"

#include "core/access/Users.h"
#include "core/editor/AppState.h"
#include "core/editor/EditorRoutines.h"
#include "core/platform/Clock.h"
#include "core/platform/Errors.h"
#include "core/platform/Prompts.h"
#include "core/store/SafeFile.h"

#include <new>
#include <vector>

namespace zelmar {

void rebuildMainCardFile(
    AppState& s, const std::function<void(const std::function<void(const TAnketa&)>&)>& produce) {
    const QString path = s.main.path();
    const qint64 position = s.main.pos();
    try {
        Replacement replacement(path);
        CardFile rebuilt;
        rebuilt.create(replacement.tempPath());
        BlockWriter writer(rebuilt);
        produce([&writer](const TAnketa& card) { writer.add(&card); });
        writer.flush();
        rebuilt.sync();
        rebuilt.close();
        s.main.close();
        replacement.commit();
    } catch (...) {
        // The old main card file is still in place: the editor goes on with it.
        if (!s.main.isOpen()) {
            s.main.openForUpdate(path);
            s.main.reindex();
        }
        s.main.seek(std::min(position, s.main.size()));
        throw;
    }
    s.main.openForUpdate(path);
    s.main.reindex();
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

    // Every card with the key is taken out; the archive gets them only together with the
    // new main card file, so a failure leaves both files as they were.
    const qint64 archived = s.archive.size();
    std::vector<TAnketa> removed;
    try {
        rebuildMainCardFile(s, [&](const auto& keep) {
            s.main.forEach([&](qint64, const char* bytes) {
                const auto& card = *std::launder(reinterpret_cast<const TAnketa*>(bytes));
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
            }
        });
    } catch (...) {
        s.archive.seek(archived);
        s.archive.truncate();
        throw;
    }
    s.working.create(s.working.path());
    s.RabSpis.refresh();
    s.form.WRab = QStringLiteral("0");

    s.main.seek(std::clamp<qint64>(s.NavIndex, 0, s.main.size()));
    Scatter(s);
    Kakay(s);
    s.Spisok.refresh();
    s.SpisokRow = s.main.size() > 0 ? s.CurNo : 0;
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
    // The new card and the working card file's copy of the new main card file are made in
    // the same pass as the new main card file.
    s.working.create(s.working.path());
    BlockWriter copy(s.working);
    try {
        rebuildMainCardFile(s, [&](const auto& output) {
            const auto add = [&](const TAnketa& card) {
                output(card);
                copy.add(&card);
            };
            s.main.forEach([&](qint64 record, const char* bytes) {
                if (record == shown) {
                    // Behind the shown card (still in the card buffer): a blank card with its
                    // register number and a new key, gathered as Save gathers.
                    s.card.GurN = gurN;
                    ClearOkna(s);
                    const double now = s.clock.now();
                    gatherCard(s, s.card.GurN, toInteger(s.form.Srok), toInteger(s.form.Klu4Form1));
                    s.card.AdminFIO = s.currentUserName();
                    s.card.DWKorr = now;
                    s.card.DaWrSozd = now;
                    s.EditState = CardEditState::Korr;
                    add(s.card);
                }
                std::memcpy(&s.card, bytes, sizeof s.card);
                add(s.card);
            });
        });
        copy.flush();
    } catch (...) {
        // Nothing was inserted: the editor shows what it showed, the working card file is
        // left empty.
        s.card = cardBefore;
        s.form = formBefore;
        s.EditState = stateBefore;
        s.working.seek(0);
        s.working.truncate();
        s.RabSpis.refresh();
        throw;
    }
    s.RabSpis.refresh();
    s.form.WRab = QString::number(s.working.size());

    s.CardCount = s.main.size();
    s.NavIndex = s.CardCount - 1;
    s.Spisok.refresh();
    s.SpisokRow = shown + 1;
    s.main.seek(shown - 1);
    Kakay(s);
}

} // namespace zelmar
