#pragma once

#include <QList>
#include <QString>

#include <utility>

namespace zelmar {

struct AppState;

// The tags of a letter and their values for the card being edited, in the order the letter
// takes them: the applicant's position and organisation and the sender's outgoing number and
// date as the editor shows them now, the rest from the card buffer.
QList<std::pair<QString, QString>> letterFields(const AppState& s);

// Makes the document `target` from a blank with its tags filled. The blank may be RTF (whatever
// its name), DOCX, or a Word 97 document, which LibreOffice converts to RTF first in
// `tempFolder`. The target is written whole and never replaces a file. Throws DocumentError or
// IoError with a message for the user.
void makeFilledDocument(const QString& blank, const QString& target, const QString& tempFolder,
                        const QList<std::pair<QString, QString>>& fields);

} // namespace zelmar
