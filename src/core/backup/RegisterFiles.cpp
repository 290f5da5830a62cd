#include "core/backup/RegisterFiles.h"

#include "core/editor/AppState.h"
#include "core/platform/Errors.h"

#include <algorithm>

namespace zelmar {

namespace {

void openOrCreate(RecordFile& file, const QString& path) {
    if (file.isOpen())
        return;
    if (fileExists(path))
        file.openForUpdate(path);
    else
        file.create(path);
}

} // namespace

void reopenAllFiles(AppState& s) {
    openOrCreate(s.officialsFile, s.local(files::Officials));
    if (!s.main.isOpen()) {
        openOrCreate(s.main, s.local(files::MainCards));
        s.main.reindex();
        // CurNo counts the shown card from 1.
        s.main.seek(std::clamp<qint64>(s.CurNo - 1, 0, s.main.size()));
    }
    openOrCreate(s.usersFile, s.local(files::Users));
    openOrCreate(s.archive, s.local(files::ArchiveCards));
    openOrCreate(s.working, s.local(files::WorkingCards));
    openOrCreate(s.templates, s.local(files::Templates));
    s.Spisok.refresh();
    s.RabSpis.refresh();
}

QString failureText(const std::exception& error) {
    if (const auto* io = dynamic_cast<const IoError*>(&error)) {
        if (!io->path().isEmpty())
            return io->text() + QStringLiteral(" (") + io->path() + QLatin1Char(')');
        return io->text();
    }
    if (const auto* own = dynamic_cast<const ZelmarError*>(&error))
        return own->text();
    return QString::fromLocal8Bit(error.what());
}

} // namespace zelmar
