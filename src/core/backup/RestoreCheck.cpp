#include "core/backup/RestoreCheck.h"

#include "core/access/Users.h"
#include "core/platform/Errors.h"
#include "core/platform/Prompts.h"
#include "core/store/FileSync.h"
#include "core/store/Paths.h"
#include "core/store/RecordFile.h"
#include "core/store/TAnketa.h"
#include "core/texts/DayNumber.h"

#include <QFileInfo>

#include <memory>
#include <unistd.h>

namespace zelmar {

namespace {

const QString kCaption = QStringLiteral("Восстановление базы");

bool fromTheArchive(const QStringList& names, const QString& name) {
    return names.contains(name, Qt::CaseInsensitive);
}

// Every date of a card is a day of the calendar: random bytes almost never are.
bool looksLikeACard(const TAnketa& c) {
    for (const double date : {c.DateOtkaza, c.KUPData, c.DataProvProkur, c.DeloDat, c.NeNashaIshDat,
                              c.NasheIshData, c.NashaWxodDat, c.DaWrSozd, c.DWKorr}) {
        if (!isRepresentable(date))
            return false;
    }
    return true;
}

// A card file from the archive: a torn tail is cut with the clerk's consent; a file whose
// cards are not cards is refused. Returns the number of whole cards.
qint64 checkCardFile(const QString& path, Prompts& prompts) {
    const QString name = QFileInfo(path).fileName();
    RecordFile file(TAnketa::Size);
    file.openForUpdate(path);
    if (const qint64 tail = file.tailBytes(); tail > 0) {
        if (!prompts.question(
                QStringLiteral("Файл %1 в архиве обрывается: после %2 целых карточек идут ещё %3 "
                               "байт оборванной карточки.\n\nВосстановить базу без этих %3 "
                               "байт?")
                    .arg(name)
                    .arg(file.size())
                    .arg(tail),
                kCaption))
            throw ZelmarError(
                QStringLiteral("Файл %1 в архиве обрывается на середине карточки; восстановление "
                               "отменено.")
                    .arg(name));
        file.seek(file.size());
        file.truncate();
        file.sync();
    }
    constexpr qint64 kBlock = 512;
    const auto cards = std::make_unique<TAnketa[]>(kBlock);
    qint64 strange = 0;
    const qint64 total = file.size();
    for (qint64 first = 0; first < total; first += kBlock) {
        const qint64 count = std::min(kBlock, total - first);
        file.readRecords(first, count, cards.get());
        for (qint64 i = 0; i < count; ++i)
            strange += looksLikeACard(cards[static_cast<size_t>(i)]) ? 0 : 1;
    }
    // A few damaged cards a register may carry; a file of mostly such cards is no register.
    if (strange > total / 100)
        throw ZelmarError(QStringLiteral("Файл %1 в архиве не похож на картотеку: у %2 из %3 "
                                         "карточек даты вне календаря. Восстановление "
                                         "отменено.")
                              .arg(name)
                              .arg(strange)
                              .arg(total));
    return total;
}

void checkUsers(const QString& path) {
    const QString name = QFileInfo(path).fileName();
    TypedFile<TDostupRec> users;
    users.openForReading(path);
    qint64 readable = 0;
    for (qint64 i = 0; i < users.size(); ++i)
        readable += readableUserRecord(users.readAt(i)) ? 1 : 0;
    if (readable == 0)
        throw ZelmarError(QStringLiteral("В файле пользователей %1 в архиве нет ни одного "
                                         "пользователя: после восстановления никто не смог бы "
                                         "войти в программу. Восстановление отменено.")
                              .arg(name));
}

} // namespace

void checkRestoredBase(const QString& folder, const QStringList& fromArchive, qint64 cardsNow,
                       Prompts& prompts) {
    const QString main = files::MainCards.toString().section(u'\\', -1);
    for (const QStringView registerPath : {files::MainCards, files::ArchiveCards}) {
        const QString name = registerPath.toString().section(u'\\', -1);
        if (!fromTheArchive(fromArchive, name))
            continue;
        const QString path = resolveCaseInsensitive(folder, name);
        const qint64 cards = checkCardFile(path, prompts);
        if (name == main && cards == 0 && cardsNow > 0 &&
            !prompts.question(QStringLiteral("Главная картотека в архиве пуста, а сейчас в ней "
                                             "%1 карточек.\n\nВосстановить пустую картотеку?")
                                  .arg(cardsNow),
                              kCaption))
            throw ZelmarError(
                QStringLiteral("Главная картотека в архиве пуста; восстановление отменено."));
    }
    const QString users = files::Users.toString().section(u'\\', -1);
    if (fromTheArchive(fromArchive, users))
        checkUsers(resolveCaseInsensitive(folder, users));
}

} // namespace zelmar
