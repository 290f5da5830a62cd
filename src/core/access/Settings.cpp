#include "core/access/Settings.h"

#include "core/editor/AppState.h"
#include "core/platform/Prompts.h"
#include "core/store/SafeFile.h"

#include <QDir>

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

void ZapNastrClick(AppState& s) {
    s.prompts.message(QStringLiteral("Только после перезапуска программу Zelmar!"),
                      QStringLiteral("Изменения вступят в силу"));
    writeTextLines(s.local(files::Settings), {s.settings.VerOff, s.settings.BackUpPut});
}

void BitBtn3Click(AppState& s) {
    const std::optional<QString> folder = s.prompts.chooseFolder(
        QStringLiteral("Папка для хранения резервных копий"), QDir::currentPath());
    if (folder) {
        s.settings.BackUpPut = s.paths.toStored(folder->trimmed());
        s.settings.BackupFolder = s.settings.BackUpPut;
    }
    // Every data path is taken from the installation folder.
    QDir::setCurrent(s.paths.root());
}

QString backupFolderPath(const AppState& s) {
    return s.paths.fromStored(s.settings.BackupFolder);
}

} // namespace zelmar
