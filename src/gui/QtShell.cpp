#include "gui/QtShell.h"

#include <QDesktopServices>
#include <QProcess>
#include <QUrl>

namespace zelmar {

bool QtShell::openDocument(const QString& path) {
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

bool QtShell::openUrl(const QString& url) {
    return QDesktopServices::openUrl(QUrl(url));
}

bool QtShell::startProgram(const QString& program, const QStringList& arguments,
                           const QString& workingFolder) {
    return QProcess::startDetached(program, arguments, workingFolder);
}

} // namespace zelmar
