#include "core/backup/RegisterFiles.h"

#include "core/editor/AppState.h"
#include "core/platform/Errors.h"
#include "core/store/DropDownLists.h"

#include <QDir>
#include <QSet>

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

bool isBaseFolderFile(const QString& name) {
    static const QSet<QString> names = [] {
        QSet<QString> set;
        for (const QStringView path : {files::MainCards, files::ArchiveCards, files::Officials,
                                       files::Users, files::Colours})
            set.insert(path.toString().section(u'\\', -1).toLower());
        for (int id = 0; id < kListCount; ++id) {
            if (const auto file = listFile(static_cast<ListId>(id)))
                set.insert(file->toString().section(u'\\', -1).toLower());
        }
        return set;
    }();
    return names.contains(name.toLower());
}

QString failureText(const std::exception& error) {
    if (const auto* io = dynamic_cast<const IoError*>(&error)) {
        const QString reason = ioReason(*io);
        if (io->path().isEmpty())
            return reason.left(1).toUpper() + reason.mid(1) + QLatin1Char('.');
        return QStringLiteral("Файл %1: %2.").arg(QDir::toNativeSeparators(io->path()), reason);
    }
    if (const auto* own = dynamic_cast<const ZelmarError*>(&error))
        return own->text();
    return QString::fromLocal8Bit(error.what());
}

} // namespace zelmar
