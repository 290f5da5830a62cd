#include "admin/CommandLine.h"

#include "core/texts/DayNumber.h"

#include <QDate>
#include <QFileInfo>
#include <QStringList>

#include <getopt.h>

namespace zelmar::admin {

namespace {

enum LongOnly {
    SourceOption = 256,
    PdfOption,
    CsvOption,
    VersionOption,
    FromOption,
    ToOption,
    ByOption,
    ArchiveOption
};

const option kOptions[] = {
    {"dir", required_argument, nullptr, 'd'},
    {"source", required_argument, nullptr, SourceOption},
    {"pdf", required_argument, nullptr, PdfOption},
    {"csv", required_argument, nullptr, CsvOption},
    {"from", required_argument, nullptr, FromOption},
    {"to", required_argument, nullptr, ToOption},
    {"by", required_argument, nullptr, ByOption},
    {"archive", no_argument, nullptr, ArchiveOption},
    {"help", no_argument, nullptr, 'h'},
    {"version", no_argument, nullptr, VersionOption},
    {nullptr, 0, nullptr, 0},
};

QString optionName(int code) {
    for (const option& o : kOptions) {
        if (o.name && o.val == code)
            return QStringLiteral("--") + QString::fromLatin1(o.name);
    }
    return QStringLiteral("-") + QChar(char16_t(code));
}

CommandLine badUsage(const QString& error) {
    CommandLine line;
    line.what = CommandLine::What::BadUsage;
    line.error = error;
    return line;
}

std::optional<Command> commandNamed(const QString& name) {
    const struct {
        const char* name;
        Command command;
    } commands[] = {{"check", Command::Check},     {"backup", Command::Backup},
                    {"restore", Command::Restore}, {"report", Command::Report},
                    {"export", Command::Export},   {"stat", Command::Stat}};
    for (const auto& c : commands) {
        if (name == QLatin1String(c.name))
            return c.command;
    }
    return std::nullopt;
}

std::optional<Source> sourceNamed(const QString& name) {
    if (name == u"working")
        return Source::Working;
    if (name == u"main")
        return Source::Main;
    if (name == u"archive")
        return Source::Archive;
    return std::nullopt;
}

QString absolute(const QString& path) {
    return QFileInfo(path).absoluteFilePath();
}

// A day as an administrator types it: 31.03.2026 or 2026-03-31.
std::optional<double> dayNamed(const QString& text) {
    for (const char* format : {"d.M.yyyy", "yyyy-M-d"}) {
        const QDate date = QDate::fromString(text.trimmed(), QLatin1String(format));
        if (date.isValid())
            return dayNumber(date);
    }
    return std::nullopt;
}

// The period and grouping of stat, checked; empty text when they are right.
QString readStatistics(StatQuery& q, const QString& from, const QString& to, const QString& by) {
    if (from.isNull() || to.isNull() || by.isNull())
        return QStringLiteral("Команде stat нужны параметры --from, --to и --by.");
    const std::optional<double> first = dayNamed(from);
    const std::optional<double> last = dayNamed(to);
    for (const auto& [day, text] : {std::pair{first, from}, std::pair{last, to}}) {
        if (!day)
            return QStringLiteral("Неверная дата «%1»: пишите ДД.ММ.ГГГГ или ГГГГ-ММ-ДД.")
                .arg(text);
    }
    if (*last < *first)
        return QStringLiteral("Начало периода (%1) позже его конца (%2).").arg(from, to);
    const std::optional<StatGrouping> grouping = statGroupingOfKey(by);
    if (!grouping)
        return QStringLiteral("Неизвестная группировка «%1»: возможны %2.")
            .arg(by, statGroupingKeys().join(QStringLiteral(", ")));
    q.from = *first;
    q.to = *last;
    q.grouping = *grouping;
    return {};
}

} // namespace

CommandLine parseCommandLine(int argc, char** argv) {
    CommandLine line;
    line.what = CommandLine::What::Run;
    Options& o = line.options;
    QStringList used; // options given, for the check against the command
    QString sourceText;
    QString fromText, toText, byText;

    opterr = 0;
    optind = 0; // a fresh scan
    for (;;) {
        const int code = getopt_long(argc, argv, ":d:h", kOptions, nullptr);
        if (code == -1)
            break;
        const QString value = optarg ? QString::fromLocal8Bit(optarg) : QString();
        switch (code) {
        case 'd':
            o.folder = value;
            break;
        case SourceOption:
            sourceText = value;
            used.append(optionName(code));
            break;
        case PdfOption:
            o.pdf = absolute(value);
            used.append(optionName(code));
            break;
        case CsvOption:
            o.csv = absolute(value);
            used.append(optionName(code));
            break;
        case FromOption:
            fromText = value;
            used.append(optionName(code));
            break;
        case ToOption:
            toText = value;
            used.append(optionName(code));
            break;
        case ByOption:
            byText = value;
            used.append(optionName(code));
            break;
        case ArchiveOption:
            o.stat.archive = true;
            used.append(optionName(code));
            break;
        case 'h':
            line.what = CommandLine::What::Help;
            return line;
        case VersionOption:
            line.what = CommandLine::What::Version;
            return line;
        case ':':
            return badUsage(QStringLiteral("У параметра %1 нет значения.").arg(optionName(optopt)));
        default:
            return badUsage(QStringLiteral("Неизвестный параметр «%1».")
                                .arg(optopt
                                         ? QStringLiteral("-") + QChar(char16_t(optopt))
                                         : QString::fromLocal8Bit(argv[std::max(1, optind - 1)])));
        }
    }

    QStringList words;
    for (int i = optind; i < argc; ++i)
        words.append(QString::fromLocal8Bit(argv[i]));
    if (words.isEmpty())
        return badUsage(QStringLiteral("Не указана команда."));
    const std::optional<Command> command = commandNamed(words.takeFirst());
    if (!command)
        return badUsage(
            QStringLiteral("Неизвестная команда «%1».").arg(QString::fromLocal8Bit(argv[optind])));
    o.command = *command;

    const bool takesArgument = o.command == Command::Restore || o.command == Command::Report;
    if (takesArgument && words.isEmpty())
        return badUsage(o.command == Command::Restore
                            ? QStringLiteral("Не указан архив для восстановления.")
                            : QStringLiteral("Не указан отчёт (Poln, KUGiZ, KartS, Otkaz, Dela "
                                             "или Prok)."));
    if (takesArgument)
        o.argument = words.takeFirst();
    if (!words.isEmpty())
        return badUsage(QStringLiteral("Лишний аргумент «%1».").arg(words.first()));

    QStringList allowed;
    if (o.command == Command::Report)
        allowed = {QStringLiteral("--source"), QStringLiteral("--pdf")};
    else if (o.command == Command::Export)
        allowed = {QStringLiteral("--source"), QStringLiteral("--csv")};
    else if (o.command == Command::Stat)
        allowed = {QStringLiteral("--from"), QStringLiteral("--to"), QStringLiteral("--by"),
                   QStringLiteral("--archive"), QStringLiteral("--csv")};
    for (const QString& option : used) {
        if (!allowed.contains(option))
            return badUsage(QStringLiteral("Параметр %1 не относится к команде %2.")
                                .arg(option, QString::fromLocal8Bit(argv[optind])));
    }
    if (!sourceText.isNull()) {
        o.source = sourceNamed(sourceText);
        if (!o.source)
            return badUsage(QStringLiteral("Неизвестная картотека «%1»: возможны working, main, "
                                           "archive.")
                                .arg(sourceText));
    }
    if (o.command == Command::Stat) {
        const QString error = readStatistics(o.stat, fromText, toText, byText);
        if (!error.isEmpty())
            return badUsage(error);
    }
    return line;
}

QString helpText() {
    return QStringLiteral(
        "Использование: zelmar-admin КОМАНДА [ПАРАМЕТРЫ]\n"
        "Обслуживание папки установки Zelmar, журнала учета отказных материалов.\n"
        "\n"
        "Команды:\n"
        "  check                  проверить файлы папки, ничего в ней не меняя\n"
        "  backup                 сделать резервную копию папки Baza, как при выходе из\n"
        "                         программы (хранятся последние 10 копий)\n"
        "  restore АРХИВ          восстановить папку Baza из резервной копии (файл .zip;\n"
        "                         имя без пути ищется и в папке резервных копий)\n"
        "  report ОТЧЁТ           записать файл данных отчёта и сделать из него документ\n"
        "                         REPORT/<ОТЧЁТ>Rep.rtf; ОТЧЁТ: Poln, KUGiZ (последняя\n"
        "                         карточка), KartS, Otkaz, Dela, Prok (все карточки)\n"
        "  export                 выгрузить карточки в CSV (UTF-8, с заголовком)\n"
        "  stat                   статистика отказных материалов за период по дате\n"
        "                         постановления: таблица, как в окне «Статистика»\n"
        "\n"
        "Параметры:\n"
        "  -d, --dir=ПАПКА        папка установки; по умолчанию $ZELMAR_HOME, иначе ~/Zelmar\n"
        "      --source=КАРТОТЕКА для report и export: working (рабочая, Temp/RabAnket.dat),\n"
        "                         main (главная) или archive (архив); по умолчанию\n"
        "                         для report — working, для export — main\n"
        "      --pdf=ФАЙЛ         для report: ещё и сохранить документ в PDF (LibreOffice)\n"
        "      --csv=ФАЙЛ         для export: записать в файл, а не в стандартный вывод;\n"
        "                         для stat: ещё и записать таблицу в файл CSV (UTF-8)\n"
        "      --from=ДАТА        для stat: первый день периода (ДД.ММ.ГГГГ)\n"
        "      --to=ДАТА          для stat: последний день периода (включительно)\n"
        "      --by=ГРУППИРОВКА   для stat: month (по месяцам), quarter (по кварталам),\n"
        "                         official (кем вынесено), signer (подписал / утвердил),\n"
        "                         motive (мотив отказа), article (статья УК),\n"
        "                         person (лицо установлено / нет)\n"
        "      --archive          для stat: считать и карточки Архива\n"
        "  -h, --help             показать эту справку\n"
        "      --version          показать версию\n"
        "\n"
        "Команды backup, restore и report не выполняются, пока с папкой работает\n"
        "программа Zelmar. Код завершения: 0 — выполнено, 1 — найдены ошибки или\n"
        "команда не выполнена, 2 — неверная командная строка.\n");
}

} // namespace zelmar::admin
