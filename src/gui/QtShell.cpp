#include "gui/QtShell.h"

#include "core/documents/Office.h"

#include <QDesktopServices>
#include <QProcess>
#include <QUrl>

namespace zelmar {

bool QtShell::openDocument(const QString& path) {
    // A desktop without an association for letters and reports still has LibreOffice.
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path)) || openInOffice(path);
}

bool QtShell::openUrl(const QString& url) {
    return QDesktopServices::openUrl(QUrl(url));
}

bool QtShell::startProgram(const QString& program, const QStringList& arguments,
                           const QString& workingFolder) {
    return QProcess::startDetached(program, arguments, workingFolder);
}

bool QtShell::openSpreadsheet(const QString& path, const QString& importOptions) {
    return openInSpreadsheet(path, importOptions) ||
           QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

} // namespace zelmar
