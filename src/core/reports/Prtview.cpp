#include "core/reports/Prtview.h"

#include "core/documents/DocumentError.h"
#include "core/platform/Errors.h"
#include "core/platform/Prompts.h"
#include "core/platform/Shell.h"
#include "core/reports/ReportMerge.h"
#include "core/store/Paths.h"

#include <QDir>
#include <QFileInfo>
#include <QLockFile>

namespace zelmar {

namespace {

const QString kCaption = QStringLiteral("Печать отчёта");

// A file of the report folder, found whatever the letter case of its name.
QString inFolder(const QString& name) {
    return resolveCaseInsensitive(QDir::currentPath(), name);
}

bool needsMerge(const QString& data, const QString& pattern, const QString& result) {
    const QFileInfo made(result);
    if (!made.exists())
        return true;
    const QDateTime at = made.lastModified();
    return QFileInfo(data).lastModified() >= at || QFileInfo(pattern).lastModified() >= at;
}

// Runs the merge; a failure is a message and false.
template <class Merge>
bool merged(Prompts& prompts, const QString& result, Merge&& merge) {
    QString text;
    try {
        merge();
        return true;
    } catch (const IoError& error) {
        text = QStringLiteral("Отчёт «%1» не сделан: %2.\nФайл: %3")
                   .arg(result, ioReason(error), error.path());
    } catch (const ZelmarError& error) {
        text = QStringLiteral("Отчёт «%1» не сделан.\n%2").arg(result, error.text());
    } catch (const std::bad_alloc&) {
        text = QStringLiteral("Отчёт «%1» не сделан: не хватает памяти.").arg(result);
    }
    prompts.message(text, kCaption, Prompts::Icon::Error);
    return false;
}

} // namespace

int runPrtview(const QStringList& arguments, const QDate& today, Shell& shell, Prompts& prompts) {
    QStringList names;
    QString mode;
    for (const QString& argument : arguments) {
        if (argument == u"-")
            continue;
        if (argument.startsWith(QLatin1Char('/')))
            mode = argument.mid(1).toLower();
        else
            names.append(argument);
    }

    if (names.size() == 2 && mode.isEmpty()) {
        const QString pattern = inFolder(names[1]);
        if (!QFileInfo::exists(pattern)) {
            prompts.message(QStringLiteral("Нет шаблона отчёта «%1».").arg(names[1]), kCaption);
            return 1;
        }
        if (!shell.openDocument(pattern)) {
            prompts.message(QStringLiteral("Не удалось открыть шаблон «%1»: не найдена программа "
                                           "для документов RTF.")
                                .arg(names[1]),
                            kCaption);
            return 1;
        }
        return 0;
    }
    if (names.size() != 3 || (mode != u"m" && mode != u"p")) {
        prompts.message(QStringLiteral("Неверная командная строка: «%1».\nОжидается: ДАННЫЕ "
                                       "ШАБЛОН РЕЗУЛЬТАТ - /m (или /p), либо ДАННЫЕ ШАБЛОН.")
                            .arg(arguments.join(QLatin1Char(' '))),
                        kCaption);
        return 2;
    }

    const QString data = inFolder(names[0]);
    const QString pattern = inFolder(names[1]);
    const QString result = inFolder(names[2]);
    {
        QLockFile lock(result + QStringLiteral(".lock"));
        lock.setStaleLockTime(10 * 60 * 1000);
        if (!lock.tryLock(5 * 60 * 1000)) {
            prompts.message(QStringLiteral("Отчёт «%1» не сделан: не удалось занять папку "
                                           "отчётов (%2).")
                                .arg(names[2], QDir::currentPath()),
                            kCaption);
            return 1;
        }
        const bool done = merged(prompts, names[2], [&] {
            if (mode == u"m" || needsMerge(data, pattern, result))
                mergeReport(data, pattern, result, today);
        });
        if (!done)
            return 1;
    }
    if (mode == u"p" && !shell.openDocument(result)) {
        prompts.message(QStringLiteral("Отчёт «%1» готов, но открыть его не удалось: не найдена "
                                       "программа для документов RTF.")
                            .arg(names[2]),
                        kCaption);
        return 1;
    }
    return 0;
}

} // namespace zelmar
