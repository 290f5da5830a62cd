#include "admin/Commands.h"

#include "admin/Console.h"
#include "admin/StatCommand.h"
#include "core/access/Settings.h"
#include "core/admin/CardCsv.h"
#include "core/admin/FolderCheck.h"
#include "core/backup/Backup.h"
#include "core/backup/Leftovers.h"
#include "core/backup/Restore.h"
#include "core/documents/AtomicFile.h"
#include "core/documents/Office.h"
#include "core/editor/AppState.h"
#include "core/platform/Clock.h"
#include "core/platform/InstanceLock.h"
#include "core/reports/CardReports.h"
#include "core/reports/Prtview.h"
#include "core/store/FileRights.h"
#include "core/store/InstallFolder.h"
#include "core/store/SafeFile.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cstdio>

namespace zelmar::admin {

namespace {

// A command that could not be done; the text says why.
class Refusal : public ZelmarError {
public:
    using ZelmarError::ZelmarError;
};

const ReportKind* reportNamed(const QString& prefix) {
    static const ReportKind* const kinds[] = {&reports::FullCard,  &reports::StandardCard,
                                              &reports::Receipts,  &reports::RegisterBook,
                                              &reports::Cancelled, &reports::Prosecutor};
    for (const ReportKind* kind : kinds) {
        if (prefix.compare(kind->prefix, Qt::CaseInsensitive) == 0)
            return kind;
    }
    return nullptr;
}

QStringView cardFileOf(Source source) {
    switch (source) {
    case Source::Main:
        return files::MainCards;
    case Source::Archive:
        return files::ArchiveCards;
    case Source::Working:
        break;
    }
    return files::WorkingCards;
}

int check(AppState& s) {
    int faults = 0;
    for (const CheckLine& line : checkInstallFolder(s.paths)) {
        const QString where = line.file.isEmpty() ? QString() : line.file + QStringLiteral(": ");
        say((line.fault ? QStringLiteral("ошибка: ") : QString()) + where + line.text);
        faults += line.fault ? 1 : 0;
    }
    say(faults == 0
            ? QStringLiteral("Папка %1: ошибок не найдено.").arg(s.paths.root())
            : QStringLiteral("Папка %1: найдено ошибок: %2.").arg(s.paths.root()).arg(faults));
    return faults == 0 ? 0 : 1;
}

int backup(AppState& s) {
    if (fileExists(s.local(files::Settings)))
        loadSettings(s);
    QString name;
    try {
        name = makeBackup(s);
    } catch (const std::exception& error) {
        throw Refusal(QStringLiteral("Резервная копия не сделана: %1\nПрежние копии не тронуты.")
                          .arg(failureMessage(error)));
    }
    say(backupFolder(s) + QLatin1Char('/') + name);
    return 0;
}

int restore(AppState& s, const QString& given) {
    QString archive = QFileInfo(given).absoluteFilePath();
    if (fileExists(s.local(files::Settings)))
        loadSettings(s);
    // A bare name is also looked for among the backup copies.
    if (!fileExists(archive) && !given.contains(QLatin1Char('/')))
        archive = backupFolder(s) + QLatin1Char('/') + given;
    if (!fileExists(archive))
        throw Refusal(QStringLiteral("Нет файла архива %1.").arg(given));
    try {
        restoreBaseFolder(s, archive);
    } catch (const std::exception& error) {
        throw Refusal(QStringLiteral("База не восстановлена: %1\nФайлы папки Baza не изменены.")
                          .arg(failureMessage(error)));
    }
    say(QStringLiteral("Папка Baza восстановлена из архива %1.").arg(archive));
    return 0;
}

int report(AppState& s, const Options& o, ConsolePrompts& prompts, Shell& shell) {
    const ReportKind* kind = reportNamed(o.argument);
    if (!kind)
        throw Refusal(QStringLiteral("Неизвестный отчёт «%1»: возможны Poln, KUGiZ, KartS, Otkaz, "
                                     "Dela, Prok.")
                          .arg(o.argument));
    openSource(s, s.working, o.source.value_or(Source::Working));
    // The data file, written by the code of the windows' report buttons.
    if (kind->layout == ReportLayout::SingleCard) {
        if (s.working.size() == 0)
            throw Refusal(QStringLiteral("В картотеке %1 нет карточек.").arg(s.working.path()));
        writeCardReport(s, *kind, s.working.readAt(s.working.size() - 1));
    } else {
        writeWorkingFileReport(s, *kind, s.card);
    }
    // The merge of the report runner, in its report folder, waiting for its end.
    const QString folder = s.local(ReportFolder);
    const QString previous = QDir::currentPath();
    QDir::setCurrent(folder);
    const int merged = runPrtview({kind->dataFile(), kind->templateFile(), kind->resultFile(),
                                   QStringLiteral("-"), QStringLiteral("/m")},
                                  QDate::currentDate(), shell, prompts);
    QDir::setCurrent(previous);
    if (merged != 0)
        return 1;
    const QString result = resolveCaseInsensitive(folder, kind->resultFile());
    say(result);
    if (o.pdf.isEmpty())
        return 0;

    QTemporaryDir converted(QDir::tempPath() + QStringLiteral("/zelmar-admin-XXXXXX"));
    if (!converted.isValid())
        throw Refusal(QStringLiteral("Нет места для временной папки."));
    try {
        convertWithOffice({result}, QStringLiteral("pdf"), converted.path());
    } catch (const std::exception& error) {
        throw Refusal(QStringLiteral("PDF не сделан: %1").arg(failureMessage(error)));
    }
    QFile pdf(converted.filePath(QFileInfo(result).completeBaseName() + QStringLiteral(".pdf")));
    if (!pdf.open(QIODevice::ReadOnly))
        throw Refusal(QStringLiteral("PDF не сделан: LibreOffice не записал его."));
    writeFileAtomically(o.pdf, pdf.readAll());
    say(o.pdf);
    return 0;
}

int exportCards(AppState& s, const Options& o) {
    CardFile cards;
    openSource(s, cards, o.source.value_or(Source::Main));
    if (o.csv.isEmpty()) {
        QFile out;
        if (!out.open(stdout, QIODevice::WriteOnly))
            throw Refusal(QStringLiteral("Стандартный вывод закрыт."));
        writeCardsCsv(cards, out, QStringLiteral("стандартный вывод"));
        return 0;
    }
    AtomicFile out(o.csv);
    writeCardsCsv(cards, out, o.csv);
    out.commit();
    say(QStringLiteral("Карточек выгружено: %1 в %2").arg(cards.size()).arg(o.csv));
    return 0;
}

} // namespace

void openSource(AppState& s, CardFile& file, Source source) {
    const QString path = s.local(cardFileOf(source));
    if (!fileExists(path))
        throw Refusal(QStringLiteral("Нет картотеки %1.").arg(path));
    file.openForReading(path);
    if (file.tailBytes() > 0)
        complain(QStringLiteral("В конце файла %1 обрывок карточки (%2 байт): он пропущен.")
                     .arg(path)
                     .arg(file.tailBytes()));
}

int runAdminCommand(const Options& o) {
    const QString root =
        chooseInstallFolder(o.folder.isEmpty() ? QStringList() : QStringList{o.folder},
                            qEnvironmentVariable("ZELMAR_HOME"), QDir::homePath());
    if (!QFileInfo(root).isDir()) {
        complain(QStringLiteral("Нет папки установки %1.").arg(root));
        return 1;
    }
    const bool writes = o.command == Command::Backup || o.command == Command::Restore ||
                        o.command == Command::Report;
    // What the command makes in the folder gets the rights the folder gives.
    useRightsOfFolder(root);
    // A writing command holds the folder to its end, so the program does not start on a
    // folder half done; a reading one only says when someone changes the files under it.
    LockAttempt attempt;
    if (writes) {
        attempt = lockInstallation(root, QStringLiteral("zelmar-admin"));
        if (!attempt.lock) {
            complain(attempt.refusal +
                     QStringLiteral(" Команда не выполнена: закройте программу и повторите."));
            return 1;
        }
    } else if (const std::optional<LockHolder> holder = installationLockHolder(root)) {
        complain(QStringLiteral("С папкой %1 работает %2. Файлы читаются, пока их меняют.")
                     .arg(root, describeHolder(*holder)));
    }
    // What a crash interrupted is settled before the base folder is looked at.
    if (writes) {
        try {
            for (const QString& text : settleInterruptedWork(root))
                complain(text);
        } catch (const std::exception& error) {
            complain(failureMessage(error));
            return 1;
        }
    }
    if (o.command != Command::Restore &&
        !QFileInfo(resolveCaseInsensitive(root, QStringLiteral("Baza"))).isDir()) {
        complain(
            QStringLiteral("В папке %1 нет папки Baza: это не папка установки Zelmar.").arg(root));
        return 1;
    }
    SystemClock clock;
    ConsolePrompts prompts;
    NoShell shell;
    AppState s(Paths(root), clock, prompts, shell);
    try {
        // A folder gets its missing built-in files whichever program opens it first.
        if (writes)
            prepareInstallFolder(root);
        switch (o.command) {
        case Command::Check:
            return check(s);
        case Command::Backup:
            return backup(s);
        case Command::Restore:
            return restore(s, o.argument);
        case Command::Report:
            return report(s, o, prompts, shell);
        case Command::Export:
            return exportCards(s, o);
        case Command::Stat:
            return statistics(s, o);
        }
    } catch (const std::exception& error) {
        complain(failureMessage(error));
    }
    return 1;
}

} // namespace zelmar::admin
