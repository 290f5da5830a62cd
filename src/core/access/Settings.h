#pragma once

#include <QString>

#include <optional>

namespace zelmar {

struct AppState;

// The two settings and the settings window's fields.
struct Settings {
    QString OfficeVersion = QStringLiteral("2003"); // at most 4 characters
    QString BackupFolder;                           // as the settings file holds it
    // The settings window's boxes.
    QString VerOff;
    QString BackUpPut;
};

// The backup folder a new installation writes into its settings file, in the stored form
// (backupFolderPath gives the local folder).
QString defaultBackupFolder();
// Loads the settings at start, making the settings file when it is missing.
void loadSettings(AppState& s);
// The settings window's creation: its boxes from the settings file.
void TFormNastrFormCreate(AppState& s);
// Saves the boxes into the settings file.
void ZapNastrClick(AppState& s);
// Chooses the backup folder; it is used at once.
void BitBtn3Click(AppState& s);
// Why a backup folder (a local path) cannot serve, for the clerk; empty when it can. The base
// folder and any folder in it are refused: every backup would pack the earlier ones.
QString backupFolderRefusal(const AppState& s, const QString& folder);
// The backup folder as a local path.
QString backupFolderPath(const AppState& s);

} // namespace zelmar
