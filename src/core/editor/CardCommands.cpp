#include "core/editor/CardCommands.h"

#include "core/editor/AppState.h"
#include "core/editor/CardKeys.h"
#include "core/editor/EditorRoutines.h"
#include "core/platform/Clock.h"
#include "core/platform/Errors.h"
#include "core/platform/Prompts.h"
#include "core/texts/DateTexts.h"
#include "core/texts/DayNumber.h"

#include <cmath>
#include <cstdint>

namespace zelmar {

void nNewClick(AppState& s) {
    hideCardButtonsForNew(s);
    s.EditState = CardEditState::New;
    ClearOkna(s);
    s.form.Fabula = QStringLiteral("По факту ");
    FabulaChange(s);
    s.CardCount = s.main.size();
    if (s.CardCount > 0) {
        s.main.seek(s.CardCount - 1);
        s.main.read(s.card);
    }
    // The stored number is a 32-bit integer: after the greatest one it wraps, as it always has.
    s.form.GurN =
        QString::number(static_cast<std::int32_t>(static_cast<std::uint32_t>(s.card.GurN) + 1u));
    s.form.AdminFIO = s.currentUserName();
    s.form.DaWrSozd = StampText(toInteger(s.form.Klu4Form1));
    s.focus = QStringLiteral("GurN");
}

void nCopiyClick(AppState& s) {
    s.ClipCard = s.card;
    s.form.ZapGurN = QString::number(s.ClipCard.GurN);
    s.buttons.nVstavka = true;
    s.form.AdminFIO = s.currentUserName();
    const int key = newCardKey(s);
    s.form.Klu4Form1 = QString::number(key);
    s.form.DaWrSozd = StampText(key);
    s.focus = QStringLiteral("GurN");
}

void nVstavkaClick(AppState& s) {
    s.card = s.ClipCard;
    ShowRecord(s);
    s.EditState = CardEditState::New;
    s.form.AdminFIO = s.currentUserName();
    const int key = newCardKey(s);
    s.form.Klu4Form1 = QString::number(key);
    s.form.DaWrSozd = StampText(key);
    s.form.DWKorr = StampText(key);
}

void nOtmenaClick(AppState& s) {
    showCardButtonsForCancel(s);
    s.EditState = CardEditState::Korr;
    // The card navigation last went to is shown again, the first card included.
    const qint64 count = s.main.size();
    if (count > 0) {
        s.main.seek(std::clamp<qint64>(s.NavIndex, 0, count));
        Scatter(s);
        Kakay(s);
        s.SpisokRow = s.CurNo;
    }
}

void nSaveClick(AppState& s) {
    // Numbers first: a box that does not hold an integer stops Save before anything changes.
    const int gurN = toInteger(s.form.GurN);
    const int srok = toInteger(s.form.Srok);
    const int key = toInteger(s.form.Klu4Form1);

    if (s.EditState == CardEditState::New) {
        const QDate date = dateOf(s.form.DateOtkaza);
        const auto duplicate = s.main.findNumberInYear(gurN, date.isValid() ? date.year() : 0);
        if (duplicate) {
            s.main.seek(*duplicate);
            Scatter(s);
            Kakay(s);
            s.prompts.message(QStringLiteral("Разберитесь с эти делом!"),
                              QStringLiteral("В этом году такой номер уже есть"));
            showAllCardButtons(s);
            s.SpisokRow = s.CurNo;
            return;
        }
    }

    if (std::floor(s.form.NashaWxodDat) < std::floor(s.form.NeNashaIshDat)) {
        s.prompts.message(QStringLiteral("Запоминать не буду, пока не исправите"),
                          QStringLiteral("Наша входящая < ихней исходящей!"));
        return;
    }

    showAllCardButtons(s);
    const double now = s.clock.now();
    gatherCard(s, gurN, srok, key);
    s.card.AdminFIO = s.currentUserName();
    s.card.DWKorr = now;
    if (s.EditState == CardEditState::New)
        s.card.DaWrSozd = now;
    s.SavedCard = s.card;
    s.CurNo = s.main.pos();

    const bool appending = s.EditState == CardEditState::New;
    qint64 record;
    if (appending) {
        s.CardCount = s.main.size();
        record = s.CardCount;
        s.CurNo = s.CardCount;
    } else if (const auto found = s.main.findKey(key)) {
        // The card buffer keeps the stored version from before this Save, as read while
        // looking for the key.
        s.card = s.main.readAt(*found);
        record = *found;
        s.CurNo = *found;
    } else {
        // The key is gone from the main card file: the card is appended; the buffer holds
        // the last card read on the way to the end.
        record = s.main.size();
        if (record > 0)
            s.card = s.main.readAt(record - 1);
    }

    s.main.store(record, s.SavedCard);
    // Stored: a new card is now one of the main card file (a failed store leaves it new).
    if (appending) {
        s.EditState = CardEditState::Korr;
        s.SpisokRow = s.CardCount + 1;
    }
    s.main.seek(std::min(s.CurNo, s.main.size()));
    Kakay(s);
    s.Spisok.refresh();
    s.form.DaWrSozd = DateTimeText(s.SavedCard.DaWrSozd);
    s.form.DWKorr = DateTimeText(s.SavedCard.DWKorr);
    s.form.AdminFIO = s.SavedCard.AdminFIO.text();
}

} // namespace zelmar
