#include "core/backup/Restore.h"

#include "core/access/Settings.h"
#include "core/backup/BaseSwitch.h"
#include "core/backup/Compaction.h"
#include "core/backup/EntryNames.h"
#include "core/backup/RegisterFiles.h"
#include "core/backup/RestoreCheck.h"
#include "core/backup/ZipArchive.h"
#include "core/editor/AppState.h"
#include "core/editor/MainWindowEvents.h"
#include "core/platform/Prompts.h"
#include "core/store/FileRights.h"
#include "core/store/SafeFile.h"
#include "core/store/TAnketa.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>

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

// A file name longer than this no file system of the office keeps.
constexpr int kMaxNameBytes = 255;
// What an archive may unpack to: its own size this many times over, and some room besides;
// files that are no part of a register at most kMaxOther in all.
constexpr qint64 kExpansion = 200;
constexpr qint64 kRoom = 64 << 20;
constexpr qint64 kMaxOther = 64 << 20;

qint64 freeBytes(const QString& folder) {
    struct statvfs st {};
    if (::statvfs(QFile::encodeName(folder).constData(), &st) != 0)
        IoError::throwErrno(errno, folder);
    return static_cast<qint64>(st.f_bavail) * static_cast<qint64>(st.f_frsize);
}

QString megabytes(qint64 bytes) {
    return QString::number((bytes + (1 << 20) - 1) >> 20);
}

// The entries of the archive and where each goes; refuses the archive if one may not go there.
std::vector<Planned> plan(const ZipReader& reader, const QString& base, const QString& shownName) {
    std::vector<Planned> planned;
    QStringList refused;
    QSet<QString> names;
    for (const ZipReader::Entry& entry : reader.entries()) {
        const QString name = decodeEntryName(entry.rawName, entry.utf8);
        QString reason = entry.link        ? QStringLiteral("ссылка")
                         : entry.folder    ? QStringLiteral("папка")
                         : entry.encrypted ? QStringLiteral("зашифрован")
                                           : unsafeNameReason(name);
        if (reason.isEmpty() && name.toUtf8().size() > kMaxNameBytes)
            reason = QStringLiteral("слишком длинное имя");
        // Two files of one name (in any letter case) would land on one file of the folder.
        if (reason.isEmpty() && names.contains(name.toLower()))
            reason = QStringLiteral("такое имя в архиве уже есть");
        const QString target = reason.isEmpty() ? resolveCaseInsensitive(base, name) : QString();
        if (reason.isEmpty() && QFileInfo(target).isDir())
            reason = QStringLiteral("в папке Baza это папка");
        if (!reason.isEmpty()) {
            refused.append(name.left(80) + QStringLiteral(" — ") + reason);
            continue;
        }
        names.insert(name.toLower());
        planned.push_back({&entry, target});
    }
    if (!refused.isEmpty()) {
        QStringList listed = refused.mid(0, kListedRefusals);
        if (refused.size() > kListedRefusals)
            listed.append(QStringLiteral("… и ещё %1").arg(refused.size() - kListedRefusals));
        throw ZelmarError(QStringLiteral("В архиве %1 есть файлы, которые нельзя восстановить в "
                                         "папку Baza:\n")
                              .arg(shownName) +
                          listed.join(QLatin1Char('\n')));
    }
    const QString main = files::MainCards.toString().section(u'\\', -1);
    if (!names.contains(main.toLower()))
        throw ZelmarError(QStringLiteral("В архиве %1 нет главной картотеки %2: это не резервная "
                                         "копия базы.")
                              .arg(shownName, main));
    return planned;
}

// What the archive unpacks to, refused before anything is written when it is more than the
// disk holds, more than such an archive can honestly hold, or mostly files of no register.
qint64 checkSizes(const std::vector<Planned>& planned, const QString& archive,
                  const QString& base) {
    qint64 total = 0;
    qint64 other = 0;
    for (const Planned& p : planned) {
        total += p.entry->size;
        if (!isBaseFolderFile(QFileInfo(p.target).fileName()))
            other += p.entry->size;
    }
    const QString shownName = QFileInfo(archive).fileName();
    const qint64 bound = kRoom + kExpansion * QFileInfo(archive).size();
    if (total > bound)
        throw ZelmarError(
            QStringLiteral("Архив %1 размером %2 МБ распаковался бы в %3 МБ: так "
                           "резервные копии не сжимаются, архив повреждён или "
                           "подделан.")
                .arg(shownName, megabytes(QFileInfo(archive).size()), megabytes(total)));
    if (other > kMaxOther)
        throw ZelmarError(QStringLiteral("В архиве %1 файлы, которых нет в базе Zelmar, занимают "
                                         "%2 МБ: это не резервная копия базы.")
                              .arg(shownName, megabytes(other)));
    const qint64 free = freeBytes(base);
    if (total > free)
        throw ZelmarError(QStringLiteral("Распакованные файлы архива %1 заняли бы %2 МБ, а на "
                                         "диске свободно %3 МБ.")
                              .arg(shownName, megabytes(total), megabytes(free)));
    return total;
}

} // namespace

void restoreBaseFolder(AppState& s, const QString& archive) {
    const QString shownName = QFileInfo(archive).fileName();
    std::unique_ptr<ZipReader> opened;
    try {
        opened = std::make_unique<ZipReader>(archive);
    } catch (const ZipError& error) {
        throw ZipError(
            QStringLiteral("Файл %1 не читается как архив ZIP: %2.").arg(shownName, error.text()));
    }
    ZipReader& reader = *opened;
    if (std::ssize(reader.entries()) > kMaxEntries)
        throw ZelmarError(QStringLiteral("В архиве %1 слишком много файлов (%2): это не резервная "
                                         "копия базы.")
                              .arg(shownName)
                              .arg(reader.entries().size()));
    const QString base = s.local(u"Baza");
    if (!QFileInfo(base).isDir())
        makeOwnFolder(base);
    const std::vector<Planned> planned = plan(reader, base, shownName);
    const qint64 total = checkSizes(planned, archive, base);
    const qint64 cardsNow = QFileInfo(s.local(files::MainCards)).size() / TAnketa::Size;

    // The restored folder is made whole beside the base folder, checked, and only then put in
    // its place: a failure or a crash on the way leaves the base folder as it was.
    BaseSwitch restored(base);
    QStringList names;
    qint64 unpacked = 0;
    for (const Planned& p : planned) {
        const ZipReader::Entry& entry = *p.entry;
        const QString name = QFileInfo(p.target).fileName();
        try {
            reader.extract(entry, restored.folder() + QLatin1Char('/') + name, [&](qint64 done) {
                s.progress->report(done, entry.size, 1);
                s.progress->report(unpacked + done, total, 0);
            });
        } catch (const ZipError& error) {
            throw ZipError(
                QStringLiteral("Файл %1 в архиве %2 повреждён: %3.")
                    .arg(decodeEntryName(entry.rawName, entry.utf8), shownName, error.text()));
        }
        names.append(name);
        unpacked += entry.size;
    }
    restored.keepOtherFiles();
    checkRestoredBase(restored.folder(), names, cardsNow, s.prompts);
    restored.commit();
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
