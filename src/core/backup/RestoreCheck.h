#pragma once

#include <QString>
#include <QStringList>

namespace zelmar {

class Prompts;

// A restored base folder is checked before it takes the place of the base folder, as the
// folder check reads a folder: the card files from the archive hold whole cards that look like
// cards (a torn tail is cut only when the clerk agrees, with the bytes lost named), the users
// file holds at least one readable user, and an empty main card file does not replace a full
// one without a question. Files taken over from the base folder are not judged. A refusal
// throws ZelmarError with the reason in Russian; nothing of the base folder has changed then.
void checkRestoredBase(const QString& folder, const QStringList& fromArchive, qint64 cardsNow,
                       Prompts& prompts);

} // namespace zelmar
