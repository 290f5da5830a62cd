#pragma once

#include <QList>
#include <QString>

#include <utility>

namespace zelmar {

// True for bytes that begin like a zip archive (a DOCX document).
bool looksLikeZip(const QByteArray& bytes);

// Fills a DOCX document: in the body, the headers and the footers every known #name# becomes
// its value (names compared without regard to letter case), also where Word split the tag over
// several runs; the tag's first run gives the value its formatting. Each line of a value of
// several lines is a paragraph with the formatting of the tag's paragraph. Writes the filled
// archive to `output`, a new file. Throws DocumentError when the template is not a readable DOCX;
// `what` names it.
void fillDocx(const QString& templatePath, const QString& output, const QString& what,
              const QList<std::pair<QString, QString>>& fields);

} // namespace zelmar
