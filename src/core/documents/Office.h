#pragma once

#include <QString>
#include <QStringList>

namespace zelmar {

// LibreOffice, run without a window for conversions.

// The office program found on PATH (soffice, libreoffice), or empty text.
QString officeProgram();

// Opens a document (.doc, .rtf, .docx, .odt) in LibreOffice Writer, for desktops that have no
// association for it; false when there is no LibreOffice or it is not a word processor's file.
bool openInOffice(const QString& path);

// Converts files with LibreOffice to the given format ("pdf", "rtf", "txt:Text (encoded):UTF8")
// into a folder. Each run has a profile of its own, so runs never wait for one another or for
// an office the user has open. Throws DocumentError when there is no LibreOffice or it fails.
void convertWithOffice(const QStringList& files, const QString& format, const QString& folder);

} // namespace zelmar
