#include "core/access/Settings.h"

#include "core/platform/Errors.h"

#include "core/editor/AppState.h"
#include "core/platform/Prompts.h"
#include "core/store/SafeFile.h"

#include <QDir>
#include <QFileInfo>

namespace zelmar {

namespace {

QStringList readSettingsFile(const AppState& s) {
    return readTextLines(s.local(files::Settings));
}

} // namespace

QString defaultBackupFolder() {
    return QStringLiteral("c:\\Zelmar\\Backup");
}

void loadSettings(AppState& s) {
    s.settings.OfficeVersion = QStringLiteral("2003");
    s.settings.BackupFolder = defaultBackupFolder();
    const QString path = s.local(files::Settings);
    if (!fileExists(path))
        writeTextLines(path, {s.settings.OfficeVersion, s.settings.BackupFolder});
    const QStringList lines = readSettingsFile(s);
    s.settings.OfficeVersion = lines.value(0).left(4);
    s.settings.BackupFolder = lines.value(1);
}

void TFormNastrFormCreate(AppState& s) {
    const QStringList lines = readSettingsFile(s);
    s.settings.VerOff = lines.value(0);
    s.settings.BackUpPut = lines.value(1);
}

QString backupFolderRefusal(const AppState& s, const QString& folder) {
    // The folder as it stands on disk: its nearest existing part resolved (links, "..").
    QString path = QDir::cleanPath(QDir(s.paths.root()).absoluteFilePath(folder));
    QString existing = path;
    while (!existing.isEmpty() && !QFileInfo::exists(existing) && existing != u"/")
        existing = QFileInfo(existing).absolutePath();
    const QString canonical = QFileInfo(existing).canonicalFilePath();
    if (!canonical.isEmpty())
        path = canonical + path.mid(existing.size());
    const QString base = QFileInfo(s.local(u"Baza")).canonicalFilePath();
    if (base.isEmpty())
        return {};
    if (path.compare(base, Qt::CaseInsensitive) == 0 ||
        path.startsWith(base + QLatin1Char('/'), Qt::CaseInsensitive))
        return QStringLiteral("Резервные копии нельзя хранить в папке Baza (%1): каждая новая "
                              "копия упаковывала бы в себя все прежние. Выберите другую папку.")
            .arg(QDir::toNativeSeparators(folder));
    return {};
}

void ZapNastrClick(AppState& s) {
    if (const QString refusal =
            backupFolderRefusal(s, s.paths.fromStored(s.settings.BackUpPut.trimmed()));
        !s.settings.BackUpPut.trimmed().isEmpty() && !refusal.isEmpty())
        throw ZelmarError(refusal);
    s.prompts.message(QStringLiteral("Только после перезапуска программу Zelmar!"),
                      QStringLiteral("Изменения вступят в силу"));
    writeTextLines(s.local(files::Settings), {s.settings.VerOff, s.settings.BackUpPut});
}

void BitBtn3Click(AppState& s) {
    const std::optional<QString> folder = s.prompts.chooseFolder(
        QStringLiteral("Папка для хранения резервных копий"), QDir::currentPath());
    if (folder) {
        if (const QString refusal = backupFolderRefusal(s, folder->trimmed()); !refusal.isEmpty()) {
            s.prompts.message(refusal, QStringLiteral("Папка не подходит"));
        } else {
            s.settings.BackUpPut = s.paths.toStored(folder->trimmed());
            s.settings.BackupFolder = s.settings.BackUpPut;
        }
    }
    // Every data path is taken from the installation folder.
    QDir::setCurrent(s.paths.root());
}

QString backupFolderPath(const AppState& s) {
    return s.paths.fromStored(s.settings.BackupFolder);
}

} // namespace zelmar
