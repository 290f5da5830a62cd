#include "core/backup/Restore.h"

#include "core/access/Settings.h"
#include "core/backup/Compaction.h"
#include "core/backup/EntryNames.h"
#include "core/backup/RegisterFiles.h"
#include "core/backup/ZipArchive.h"
#include "core/editor/AppState.h"
#include "core/editor/MainWindowEvents.h"
#include "core/platform/Prompts.h"
#include "core/store/SafeFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>

#include <cerrno>
#include <cstdlib>
#include <memory>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

namespace zelmar {

namespace {

// More entries than any base folder holds: an archive of other things.
constexpr qsizetype kMaxEntries = 10000;
constexpr qsizetype kListedRefusals = 10;

// A file of the archive and the file of the base folder it replaces.
struct Planned {
    const ZipReader::Entry* entry;
    QString target;
};

bool exists(const QString& path) {
    struct stat st {};
    return ::lstat(path.toLocal8Bit().constData(), &st) == 0;
}

qint64 freeBytes(const QString& folder) {
    struct statvfs st {};
    if (::statvfs(folder.toLocal8Bit().constData(), &st) != 0)
        IoError::throwErrno(errno, folder);
    return static_cast<qint64>(st.f_bavail) * static_cast<qint64>(st.f_frsize);
}

QString megabytes(qint64 bytes) {
    return QString::number((bytes + (1 << 20) - 1) >> 20);
}

// The entries of the archive and where each goes; refuses the archive if one may not go there.
std::vector<Planned> plan(const ZipReader& reader, const QString& base) {
    std::vector<Planned> planned;
    QStringList refused;
    // A later entry of the same name (in any letter case) replaces an earlier one.
    QHash<QString, size_t> byName;
    for (const ZipReader::Entry& entry : reader.entries()) {
        const QString name = decodeEntryName(entry.rawName, entry.utf8);
        QString reason = entry.link        ? QStringLiteral("ссылка")
                         : entry.folder    ? QStringLiteral("папка")
                         : entry.encrypted ? QStringLiteral("зашифрован")
                                           : unsafeNameReason(name);
        const QString target = reason.isEmpty() ? resolveCaseInsensitive(base, name) : QString();
        if (reason.isEmpty() && QFileInfo(target).isDir())
            reason = QStringLiteral("в папке Baza это папка");
        if (!reason.isEmpty()) {
            refused.append(name + QStringLiteral(" — ") + reason);
            continue;
        }
        const QString key = name.toLower();
        if (const auto found = byName.constFind(key); found != byName.cend()) {
            planned[*found] = {&entry, planned[*found].target};
            continue;
        }
        byName.insert(key, planned.size());
        planned.push_back({&entry, target});
    }
    if (!refused.isEmpty()) {
        QStringList listed = refused.mid(0, kListedRefusals);
        if (refused.size() > kListedRefusals)
            listed.append(QStringLiteral("… и ещё %1").arg(refused.size() - kListedRefusals));
        throw ZelmarError(
            QStringLiteral("В архиве есть файлы, которые нельзя восстановить в папку Baza:\n") +
            listed.join(QLatin1Char('\n')));
    }
    if (planned.empty())
        throw ZelmarError(QStringLiteral("В архиве нет файлов."));
    return planned;
}

// A fresh folder under Temp for the unpacked files, removed with all it holds at the end.
class WorkFolder {
public:
    explicit WorkFolder(const QString& temp) {
        QDir().mkpath(temp);
        QByteArray pattern = (temp + QStringLiteral("/restore-XXXXXX")).toLocal8Bit();
        if (!::mkdtemp(pattern.data()))
            IoError::throwErrno(errno, temp);
        m_path = QString::fromLocal8Bit(pattern);
    }
    ~WorkFolder() { QDir(m_path).removeRecursively(); }
    WorkFolder(const WorkFolder&) = delete;
    WorkFolder& operator=(const WorkFolder&) = delete;
    QString file(const QString& name) const { return m_path + QLatin1Char('/') + name; }

private:
    QString m_path;
};

// Puts an unpacked file in the place of target; across file systems through a copy beside it.
void moveInto(const QString& from, const QString& target) {
    if (::rename(from.toLocal8Bit().constData(), target.toLocal8Bit().constData()) == 0)
        return;
    if (errno != EXDEV)
        IoError::throwErrno(errno, target);
    Replacement replacement(target);
    if (!QFile::copy(from, replacement.tempPath()))
        throw IoError(IoError::DiskFull, target);
    QFile copy(replacement.tempPath());
    if (!copy.open(QIODevice::ReadOnly) || ::fsync(copy.handle()) != 0)
        throw IoError(IoError::DiskFull, target);
    copy.close();
    replacement.commit();
}

// Renames every unpacked file into the base folder. The file each replaces is kept (as a
// second link) until all are in place; should one fail, the ones done are put back.
void install(const std::vector<Planned>& planned, const WorkFolder& work) {
    struct Done {
        QString target;
        QString kept; // empty when there was no file before
    };
    std::vector<Done> done;
    try {
        for (size_t i = 0; i < planned.size(); ++i) {
            const QString& target = planned[i].target;
            Done step{target, QString()};
            if (exists(target)) {
                step.kept = work.file(QStringLiteral("old-%1").arg(i));
                if (::link(target.toLocal8Bit().constData(), step.kept.toLocal8Bit().constData()) !=
                        0 &&
                    !QFile::copy(target, step.kept))
                    IoError::throwErrno(errno, target);
            }
            moveInto(work.file(QString::number(i)), target);
            done.push_back(step);
        }
    } catch (const std::exception& error) {
        QStringList lost;
        for (auto step = done.rbegin(); step != done.rend(); ++step) {
            const bool back = step->kept.isEmpty()
                                  ? ::unlink(step->target.toLocal8Bit().constData()) == 0
                                  : ::rename(step->kept.toLocal8Bit().constData(),
                                             step->target.toLocal8Bit().constData()) == 0;
            if (!back)
                lost.append(QFileInfo(step->target).fileName());
        }
        if (!lost.isEmpty())
            throw PartlyRestored(failureText(error) +
                                 QStringLiteral("\n\nИз архива остались файлы: ") +
                                 lost.join(QStringLiteral(", ")));
        throw;
    }
}

} // namespace

void restoreBaseFolder(AppState& s, const QString& archive) {
    std::unique_ptr<ZipReader> opened;
    try {
        opened = std::make_unique<ZipReader>(archive);
    } catch (const ZipError& error) {
        throw ZipError(QStringLiteral("Файл %1 не читается как архив ZIP: %2")
                           .arg(QFileInfo(archive).fileName(), error.text()));
    }
    ZipReader& reader = *opened;
    if (std::ssize(reader.entries()) > kMaxEntries)
        throw ZelmarError(
            QStringLiteral("В архиве слишком много файлов (%1).").arg(reader.entries().size()));
    const QString base = s.local(u"Baza");
    const std::vector<Planned> planned = plan(reader, base);

    const QString temp = s.local(u"Temp");
    WorkFolder work(temp);
    qint64 total = 0;
    for (const Planned& p : planned)
        total += p.entry->size;
    // Sizes far beyond the free space (a crafted archive) are refused before anything is
    // written.
    const qint64 free = freeBytes(work.file(QString()));
    if (total > free)
        throw ZelmarError(QStringLiteral("Распакованные файлы архива заняли бы %1 МБ, а на диске "
                                         "свободно %2 МБ.")
                              .arg(megabytes(total), megabytes(free)));

    qint64 unpacked = 0;
    for (size_t i = 0; i < planned.size(); ++i) {
        const ZipReader::Entry& entry = *planned[i].entry;
        try {
            reader.extract(entry, work.file(QString::number(i)), [&](qint64 done) {
                s.progress->report(done, entry.size, 1);
                s.progress->report(unpacked + done, total, 0);
            });
        } catch (const ZipError& error) {
            throw ZipError(QStringLiteral("Файл %1 в архиве повреждён: %2")
                               .arg(decodeEntryName(entry.rawName, entry.utf8), error.text()));
        }
        unpacked += entry.size;
    }
    QDir().mkpath(base);
    install(planned, work);
}

void Bacup1Click(AppState& s) {
    const QString chosen =
        s.prompts.openFile(QStringLiteral("Укажите файл резерва для восстановления"),
                           backupFolderPath(s), QStringLiteral("Резерв Архив или zip (*.zip)"));
    if (chosen.isEmpty() || !fileExists(chosen))
        return;
    QDir::setCurrent(s.paths.root());
    closeAllFiles(s);
    try {
        ProgressScope scope(*s.progress);
        restoreBaseFolder(s, chosen);
    } catch (const PartlyRestored& error) {
        s.prompts.message(error.text() + QStringLiteral("\n\nВосстановите базу из архива ещё раз."),
                          QStringLiteral("База восстановлена не полностью"));
        reopenAllFiles(s);
        return;
    } catch (const std::exception& error) {
        s.prompts.message(failureText(error) +
                              QStringLiteral("\n\nФайлы папки Baza не изменены. Программа "
                                             "продолжает работу."),
                          QStringLiteral("База не восстановлена"));
        reopenAllFiles(s);
        return;
    }
    endForRestart(s, QStringLiteral("Программа сейчас выключится"));
}

} // namespace zelmar
