#include "core/platform/Shell.h"

namespace zelmar {

bool RecordingShell::openDocument(const QString& path) {
    calls.append({QStringLiteral("document"), path, {}, {}});
    return answer;
}

bool RecordingShell::openUrl(const QString& url) {
    calls.append({QStringLiteral("url"), url, {}, {}});
    return answer;
}

bool RecordingShell::startProgram(const QString& program, const QStringList& arguments,
                                  const QString& workingFolder) {
    calls.append({QStringLiteral("program"), program, arguments, workingFolder});
    return answer;
}

bool RecordingShell::openSpreadsheet(const QString& path, const QString& importOptions) {
    calls.append({QStringLiteral("spreadsheet"), path, {importOptions}, {}});
    return answer;
}

} // namespace zelmar
