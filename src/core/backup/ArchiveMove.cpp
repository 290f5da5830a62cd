#include "core/backup/ArchiveMove.h"

#include "core/editor/AppState.h"
#include "core/platform/Errors.h"
#include "core/store/FileSync.h"
#include "core/store/Paths.h"
#include "core/store/RecordFile.h"
#include "core/store/SafeFile.h"
#include "core/store/TAnketa.h"

#include <QFile>

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

namespace zelmar {

namespace {

std::optional<ino_t> inodeOf(const QString& path) {
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return std::nullopt;
    return st.st_ino;
}

} // namespace

QString archiveMoveRecord(const Paths& paths) {
    return paths.local(u"Temp\\ArhMove.txt");
}

ArchiveMove::ArchiveMove(AppState& s)
    : m_record(archiveMoveRecord(s.paths)) {
    const auto inode = inodeOf(s.local(files::MainCards));
    if (!inode)
        IoError::throwErrno(errno, s.local(files::MainCards));
    const QByteArray record = "archive=" + QByteArray::number(s.archive.size()) +
                              "\nmain-inode=" + QByteArray::number(quint64(*inode)) + '\n';
    writeFileAtomically(m_record, record);
}

void ArchiveMove::finished() {
    if (::unlink(QFile::encodeName(m_record).constData()) == 0)
        syncFolderOf(m_record);
}

QString settleInterruptedMove(const Paths& paths) {
    const QString recordPath = archiveMoveRecord(paths);
    QFile record(recordPath);
    if (!record.open(QIODevice::ReadOnly))
        return {};
    qint64 archived = -1;
    std::optional<quint64> mainInode;
    for (const QByteArray& line : record.readAll().split('\n')) {
        const QList<QByteArray> pair = line.trimmed().split('=');
        if (pair.size() != 2)
            continue;
        bool number = false;
        const quint64 value = pair.at(1).toULongLong(&number);
        if (number && pair.at(0) == "archive")
            archived = static_cast<qint64>(value);
        else if (number && pair.at(0) == "main-inode")
            mainInode = value;
    }
    record.close();

    QString said;
    const QString archivePath = paths.local(files::ArchiveCards);
    const auto inode = inodeOf(paths.local(files::MainCards));
    if (archived >= 0 && mainInode && inode == mainInode) {
        // The cards never left the main card file: the archive gives them back.
        RecordFile archive(TAnketa::Size);
        archive.openForUpdate(archivePath);
        if (archive.size() > archived) {
            const qint64 moved = archive.size() - archived;
            archive.seek(archived);
            archive.truncate();
            archive.sync();
            said = QStringLiteral("Перенос карточек в Архив был прерван: %1 карточек остались в "
                                  "Главной картотеке и убраны из Архива.")
                       .arg(moved);
        }
    }
    // Otherwise the new main card file is in place: the move is done, the cards are in the
    // archive only.
    QFile::remove(recordPath);
    syncFolderOf(recordPath);
    return said;
}

} // namespace zelmar
