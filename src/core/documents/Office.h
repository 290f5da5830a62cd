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

// LibreOffice Calc when it is installed (localc, or soffice beside Calc's library), else empty.
QString spreadsheetProgram();

// The text import filter of LibreOffice Calc with its options ("59,34,34,1,1/2"): what
// --infilter takes.
QString textImportFilter(const QString& importOptions);

// Opens a file in LibreOffice Calc, a text file through the text import with these options
// (none for a workbook); false when there is no Calc or it could not be started.
bool openInSpreadsheet(const QString& path, const QString& importOptions);

// Converts files with LibreOffice to the given format ("pdf", "rtf", "txt:Text (encoded):UTF8")
// into a folder, reading them with inputFilter when one is given. Each run has a profile of its
// own, so runs never wait for one another or for an office the user has open. Throws
// DocumentError when there is no LibreOffice or it fails, or does not end within timeoutMs (it
// is then stopped).
void convertWithOffice(const QStringList& files, const QString& format, const QString& folder,
                       const QString& inputFilter = QString(), int timeoutMs = 300000);

} // namespace zelmar
