#include "core/documents/Office.h"

#include "core/documents/DocumentError.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QUrl>

#include <csignal>
#include <unistd.h>

namespace zelmar {

QString officeProgram() {
    for (const char* name : {"soffice", "libreoffice"}) {
        const QString found = QStandardPaths::findExecutable(QString::fromLatin1(name));
        if (!found.isEmpty())
            return found;
    }
    return {};
}

bool openInOffice(const QString& path) {
    static const QStringList documents = {QStringLiteral("doc"), QStringLiteral("rtf"),
                                          QStringLiteral("docx"), QStringLiteral("odt")};
    const QString program = officeProgram();
    if (program.isEmpty() || !documents.contains(QFileInfo(path).suffix().toLower()))
        return false;
    return QProcess::startDetached(program, {QStringLiteral("--writer"), path});
}

QString spreadsheetProgram() {
    const QString calc = QStandardPaths::findExecutable(QStringLiteral("localc"));
    if (!calc.isEmpty())
        return calc;
    // An office installed without the launcher scripts: Calc is there when its library is.
    const QString office = officeProgram();
    if (office.isEmpty())
        return {};
    const QString folder = QFileInfo(QFileInfo(office).canonicalFilePath()).absolutePath();
    return QFileInfo::exists(folder + QStringLiteral("/libsclo.so")) ? office : QString();
}

QString textImportFilter(const QString& importOptions) {
    return QStringLiteral("Text - txt - csv (StarCalc):") + importOptions;
}

bool openInSpreadsheet(const QString& path, const QString& importOptions) {
    const QString program = spreadsheetProgram();
    if (program.isEmpty())
        return false;
    QStringList arguments;
    if (QFileInfo(program).fileName() != u"localc")
        arguments.append(QStringLiteral("--calc"));
    if (!importOptions.isEmpty())
        arguments.append(QStringLiteral("--infilter=") + textImportFilter(importOptions));
    arguments.append(path);
    return QProcess::startDetached(program, arguments);
}

void convertWithOffice(const QStringList& files, const QString& format, const QString& folder,
                       const QString& inputFilter, int timeoutMs) {
    const QString program = officeProgram();
    if (program.isEmpty())
        throw DocumentError(QStringLiteral("Не найден LibreOffice (программа soffice): "
                                           "установите пакет libreoffice-writer."));
    QTemporaryDir profile(QDir::tempPath() + QStringLiteral("/zelmar-office-XXXXXX"));
    if (!profile.isValid())
        throw DocumentError(QStringLiteral("Нет места для временной папки LibreOffice."));
    QStringList arguments = {QStringLiteral("-env:UserInstallation=") +
                                 QUrl::fromLocalFile(profile.path()).toString(),
                             QStringLiteral("--headless"),
                             QStringLiteral("--norestore"),
                             QStringLiteral("--convert-to"),
                             format,
                             QStringLiteral("--outdir"),
                             folder};
    if (!inputFilter.isEmpty())
        arguments.append(QStringLiteral("--infilter=") + inputFilter);
    arguments += files;
    QProcess office;
    office.setProcessChannelMode(QProcess::MergedChannels);
    // The launcher starts the office program as a process of its own: a process group of their
    // own lets a conversion that does not end be stopped whole, not leave the office running.
    office.setChildProcessModifier([] { ::setpgid(0, 0); });
    office.start(program, arguments);
    const bool finished = office.waitForStarted(30000) && office.waitForFinished(timeoutMs);
    if (!finished || office.exitStatus() != QProcess::NormalExit || office.exitCode() != 0) {
        if (office.processId() > 0)
            ::kill(-static_cast<pid_t>(office.processId()), SIGKILL);
        office.kill();
        office.waitForFinished(5000);
        throw DocumentError(QStringLiteral("LibreOffice не смог преобразовать документ: %1")
                                .arg(QString::fromLocal8Bit(office.readAll()).trimmed()));
    }
    // LibreOffice ends well also when a file could not be loaded: the result tells.
    const QString extension = format.section(QLatin1Char(':'), 0, 0);
    for (const QString& file : files) {
        const QString made = folder + QLatin1Char('/') + QFileInfo(file).completeBaseName() +
                             QLatin1Char('.') + extension;
        if (!QFileInfo::exists(made))
            throw DocumentError(QStringLiteral("LibreOffice не смог преобразовать «%1»: %2")
                                    .arg(QFileInfo(file).fileName(),
                                         QString::fromLocal8Bit(office.readAll()).trimmed()));
    }
}

} // namespace zelmar
