#include "admin/CommandLine.h"

#include <QFileInfo>
#include <QStringList>

#include <getopt.h>

namespace zelmar::admin {

namespace {

enum LongOnly { SourceOption = 256, PdfOption, CsvOption, VersionOption };

const option kOptions[] = {
    {"dir", required_argument, nullptr, 'd'},
    {"source", required_argument, nullptr, SourceOption},
    {"pdf", required_argument, nullptr, PdfOption},
    {"csv", required_argument, nullptr, CsvOption},
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
    } commands[] = {{"check", Command::Check},
                    {"backup", Command::Backup},
                    {"restore", Command::Restore},
                    {"report", Command::Report},
                    {"export", Command::Export}};
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

} // namespace

CommandLine parseCommandLine(int argc, char** argv) {
    CommandLine line;
    line.what = CommandLine::What::Run;
    Options& o = line.options;
    QStringList used; // options given, for the check against the command
    QString sourceText;

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
        "\n"
        "Параметры:\n"
        "  -d, --dir=ПАПКА        папка установки; по умолчанию $ZELMAR_HOME, иначе ~/Zelmar\n"
        "      --source=КАРТОТЕКА для report и export: working (рабочая, Temp/RabAnket.dat),\n"
        "                         main (главная) или archive (архив); по умолчанию\n"
        "                         для report — working, для export — main\n"
        "      --pdf=ФАЙЛ         для report: ещё и сохранить документ в PDF (LibreOffice)\n"
        "      --csv=ФАЙЛ         для export: записать в файл, а не в стандартный вывод\n"
        "  -h, --help             показать эту справку\n"
        "      --version          показать версию\n"
        "\n"
        "Команды backup, restore и report не выполняются, пока с папкой работает\n"
        "программа Zelmar. Код завершения: 0 — выполнено, 1 — найдены ошибки или\n"
        "команда не выполнена, 2 — неверная командная строка.\n");
}

} // namespace zelmar::admin
