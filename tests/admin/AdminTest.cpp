// zelmar-admin through its executable, on generated installation folders.

#include "core/access/Users.h"
#include "core/documents/Office.h"
#include "core/editor/AppState.h"
#include "core/platform/InstanceLock.h"
#include "core/reports/CardReports.h"
#include "core/reports/PrintSelection.h"
#include "core/reports/RegisterBook.h"
#include "core/store/FileRights.h"
#include "core/store/Paths.h"
#include "core/texts/DayNumber.h"
#include "gen/Generator.h"
#include "support/Failures.h"
#include "support/TestSupport.h"

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <cmath>
#include <csignal>
#include <functional>
#include <limits>
#include <random>
#include <sys/resource.h>
#include <sys/stat.h>

using namespace zelmar;
using namespace zelmar::test;

namespace {

struct Outcome {
    int status = -1;
    QString out;
    QString err;
};

// fileLimit > 0: the command runs under that file size limit (ulimit -f), with the signal of
// the limit at its default action, which ends a program that does not ignore it.
Outcome admin(const QStringList& arguments, const QProcessEnvironment& env = {},
              long fileLimit = 0) {
    QProcess process;
    if (!env.isEmpty())
        process.setProcessEnvironment(env);
    if (fileLimit > 0)
        process.setChildProcessModifier([fileLimit] {
            std::signal(SIGXFSZ, SIG_DFL);
            struct rlimit limit {};
            getrlimit(RLIMIT_FSIZE, &limit);
            limit.rlim_cur = static_cast<rlim_t>(fileLimit);
            setrlimit(RLIMIT_FSIZE, &limit);
        });
    process.start(QStringLiteral(ZELMAR_ADMIN), arguments);
    if (!process.waitForFinished(120000) || process.exitStatus() != QProcess::NormalExit)
        return {};
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

// Every file below a folder, with its size and a hash of its bytes; the lock file says who
// works with the folder and is no part of the register.
QStringList snapshot(const QString& root) {
    QStringList files;
    QDirIterator it(root, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        QFile file(it.next());
        if (file.fileName() == installationLockPath(root) || !file.open(QIODevice::ReadOnly))
            continue;
        files.append(
            QDir(root).relativeFilePath(file.fileName()) + QLatin1Char(' ') +
            QString::fromLatin1(
                QCryptographicHash::hash(file.readAll(), QCryptographicHash::Md5).toHex()));
    }
    files.sort();
    return files;
}

class AdminTest : public ::testing::Test {
protected:
    AdminTest() {
        // Folders made as the programs make them: for their owner only.
        useRightsOfFolder(m_dir.path());
        gen::Options options;
        options.cards = 30;
        options.years = 2;
        options.unprintedShare = 0.3;
        gen::makeInstallation(root(), options);
    }

    QString root() const { return m_dir.filePath(QStringLiteral("Zelmar")); }
    QString file(const QString& relative) const { return root() + QLatin1Char('/') + relative; }
    Outcome run(QStringList arguments, long fileLimit = 0) {
        arguments << QStringLiteral("-d") << root();
        return admin(arguments, {}, fileLimit);
    }
    // Changes one card of a card file.
    void editCard(const QString& relative, qint64 record,
                  const std::function<void(TAnketa&)>& edit) {
        TypedFile<TAnketa> cards;
        cards.openForUpdate(file(relative));
        TAnketa card = cards.readAt(record);
        edit(card);
        cards.seek(record);
        cards.write(card);
    }
    TAnketa cardAt(const QString& relative, qint64 record) {
        TypedFile<TAnketa> cards;
        cards.openForReading(file(relative));
        return cards.readAt(record);
    }
    QByteArray bytes(const QString& relative) const {
        QFile f(file(relative));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    void write(const QString& relative, const QByteArray& data, bool append = false) {
        QFile f(file(relative));
        ASSERT_TRUE(
            f.open(append ? QIODevice::Append : QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(data);
    }

    QTemporaryDir m_dir;
};

} // namespace

TEST(AdminCommandLine, UsageHelpAndVersion) {
    const struct {
        QStringList arguments;
        int status;
        const char16_t* says; // on standard output for 0, on standard error otherwise
    } cases[] = {
        {{QStringLiteral("--version")}, 0, u"zelmar-admin 13."},
        {{QStringLiteral("check"), QStringLiteral("--help")}, 0, u"restore АРХИВ"},
        {{}, 2, u"Не указана команда."},
        {{QStringLiteral("frob")}, 2, u"Неизвестная команда «frob»."},
        {{QStringLiteral("check"), QStringLiteral("--frob")}, 2, u"Неизвестный параметр «--frob»."},
        {{QStringLiteral("export"), QStringLiteral("--pdf=x")},
         2,
         u"--pdf не относится к команде export"},
        {{QStringLiteral("report"), QStringLiteral("Otkaz"), QStringLiteral("--source=all")},
         2,
         u"Неизвестная картотека «all»"},
        {{QStringLiteral("report"), QStringLiteral("--source")},
         2,
         u"У параметра --source нет значения."},
        {{QStringLiteral("restore")}, 2, u"Не указан архив"},
        {{QStringLiteral("backup"), QStringLiteral("now")}, 2, u"Лишний аргумент «now»."},
        {{QStringLiteral("report"), QStringLiteral("Book"), QStringLiteral("-d/nonexistent")},
         1,
         u"Нет папки установки /nonexistent."},
    };
    for (const auto& c : cases) {
        const Outcome r = admin(c.arguments);
        SCOPED_TRACE(c.arguments.join(QLatin1Char(' ')).toStdString());
        EXPECT_EQ(r.status, c.status);
        EXPECT_TRUE((c.status == 0 ? r.out : r.err).contains(QString::fromUtf16(c.says)))
            << r.out.toStdString() << r.err.toStdString();
    }
}

// Each fault alone, in a folder the check must leave as it was.
TEST_F(AdminTest, CheckFindsEachFaultAndChangesNothing) {
    const TAnketa first = cardAt(QStringLiteral("Baza/Anketi.dat"), 0);
    // Files of cards that exist are no finding.
    write(QStringLiteral("WhodGIF/%1.gif").arg(first.Klu4Form1), "GIF89a");
    Outcome clean = run({QStringLiteral("check")});
    EXPECT_EQ(clean.status, 0) << clean.out.toStdString();
    EXPECT_TRUE(clean.out.contains(QStringLiteral("Baza/Anketi.dat: карточек: 30")));
    EXPECT_TRUE(clean.out.contains(QStringLiteral("ошибок не найдено")));

    const double notADay = std::numeric_limits<double>::quiet_NaN();
    const struct {
        const char* name;
        std::function<void()> fault;
        QString found;
    } cases[] = {
        {"torn card file",
         [&] { write(QStringLiteral("Baza/Anketi.dat"), QByteArray(100, 'x'), true); },
         QStringLiteral("ошибка: Baza/Anketi.dat: размер 36340 байт не кратен 1208: целых "
                        "карточек 30, после них обрывок записи в 100 байт")},
        {"doubled key",
         [&] {
             editCard(QStringLiteral("Baza/Anketi.dat"), 9,
                      [&](TAnketa& c) { c.Klu4Form1 = first.Klu4Form1; });
         },
         QStringLiteral("ключ %1 у 2 карточек: Baza/Anketi.dat карточка 1 (№ %2 от ")
             .arg(first.Klu4Form1)
             .arg(first.GurN)},
        {"doubled key in the archive",
         [&] {
             write(QStringLiteral("Baza/ArhAnket.dat"),
                   bytes(QStringLiteral("Baza/Anketi.dat")).first(TAnketa::Size));
         },
         QStringLiteral("и в главной картотеке, и в архиве: Baza/Anketi.dat карточка 1 (№ %1 от "
                        "%2), Baza/ArhAnket.dat карточка 1")
             .arg(first.GurN)
             .arg(dateOf(first.DateOtkaza).toString(QStringLiteral("dd.MM.yyyy")))},
        {"interrupted restore", [&] { QDir().mkpath(file(QStringLiteral("Baza.ready-a1b2c3"))); },
         QStringLiteral("ошибка: Baza.ready-a1b2c3: прерванное восстановление базы")},
        {"doubled number in a year",
         [&] {
             editCard(QStringLiteral("Baza/Anketi.dat"), 4, [&](TAnketa& c) {
                 c.GurN = first.GurN;
                 c.DateOtkaza = first.DateOtkaza + 1;
             });
         },
         QStringLiteral("№ %1 за %2 год у 2 карточек: 1, 5")
             .arg(first.GurN)
             .arg(dateOf(first.DateOtkaza).year())},
        {"date outside the calendar",
         [&] {
             editCard(QStringLiteral("Baza/Anketi.dat"), 6,
                      [&](TAnketa& c) { c.DeloDat = notADay; });
         },
         QStringLiteral("карточка 7 (№ %1): дата вне календаря в DeloDat")
             .arg(cardAt(QStringLiteral("Baza/Anketi.dat"), 6).GurN)},
        {"letter of no card", [&] { write(QStringLiteral("Otveti/123.doc"), "{\\rtf1}"); },
         QStringLiteral("ошибка: Otveti: ответ 123.doc: нет карточки с ключом 123")},
        {"damaged users file",
         [&] {
             TDostupRec user{};
             user.name.length = 200;
             write(QStringLiteral("Baza/Dostup.dat"),
                   QByteArray(reinterpret_cast<const char*>(&user), sizeof user));
         },
         QStringLiteral("ошибка: Baza/Dostup.dat: запись 1 повреждена")},
        {"unreadable list",
         [&] {
             QFile::remove(file(QStringLiteral("Baza/WidDoc.txt")));
             QDir().mkpath(file(QStringLiteral("Baza/WidDoc.txt")));
         },
         QStringLiteral("ошибка: Baza/WidDoc.txt: не читается")},
        {"register every account can read",
         [&] { ::chmod(QFile::encodeName(file(QStringLiteral("Baza"))).constData(), 0755); },
         QStringLiteral("ошибка: Baza: доступен другим пользователям компьютера (права 0755)")},
    };
    const QString pristine = m_dir.filePath(QStringLiteral("pristine"));
    QDir().rename(root(), pristine);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QDir(root()).removeRecursively();
        ASSERT_EQ(QProcess::execute(QStringLiteral("cp"), {QStringLiteral("-a"), pristine, root()}),
                  0);
        c.fault();
        const QStringList before = snapshot(root());
        const Outcome r = run({QStringLiteral("check")});
        EXPECT_EQ(r.status, 1);
        EXPECT_TRUE(r.out.contains(c.found)) << r.out.toStdString();
        EXPECT_TRUE(r.out.contains(QStringLiteral("найдено ошибок: 1."))) << r.out.toStdString();
        EXPECT_EQ(snapshot(root()), before);
    }
}

TEST_F(AdminTest, BackupAndRestoreAsTheProgramDoes) {
    // The backup folder of the settings file, named as the program names it.
    write(QStringLiteral("NoKor.krv"), "2003\r\nc:\\Zelmar\\Copies\r\n");
    QDir().mkpath(file(QStringLiteral("Copies")));
    write(QStringLiteral("Copies/b0000041.zip"), "old");
    // The installation folder from the environment, as the program takes it.
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("ZELMAR_HOME"), root());
    const Outcome made = admin({QStringLiteral("backup")}, env);
    EXPECT_EQ(made.status, 0) << made.err.toStdString();
    EXPECT_EQ(made.out, file(QStringLiteral("Copies/b0000042.zip\n")));

    const QByteArray cards = bytes(QStringLiteral("Baza/Anketi.dat"));
    write(QStringLiteral("Baza/Anketi.dat"), QByteArray());
    // Not an archive: refused, nothing changed.
    const Outcome refused = run({QStringLiteral("restore"), QStringLiteral("b0000041.zip")});
    EXPECT_EQ(refused.status, 1);
    EXPECT_TRUE(refused.err.contains(QStringLiteral("База не восстановлена")));
    EXPECT_TRUE(refused.err.contains(QStringLiteral("Файлы папки Baza не изменены.")));
    EXPECT_TRUE(bytes(QStringLiteral("Baza/Anketi.dat")).isEmpty());
    // A bare name is found among the copies.
    const Outcome restored = run({QStringLiteral("restore"), QStringLiteral("b0000042.zip")});
    EXPECT_EQ(restored.status, 0) << restored.err.toStdString();
    EXPECT_EQ(bytes(QStringLiteral("Baza/Anketi.dat")), cards);
    EXPECT_EQ(run({QStringLiteral("restore"), QStringLiteral("b0000099.zip")}).status, 1);
}

// A full disk (or a file size limit) halfway leaves no archive, no half-written file and the
// base folder as it was.
TEST_F(AdminTest, FailuresLeaveNothingHalfWritten) {
    const Outcome made = run({QStringLiteral("backup")});
    ASSERT_EQ(made.status, 0);
    // Bytes that do not compress, so the archive outgrows the limit.
    QByteArray noise(200000, '\0');
    std::mt19937 random(7);
    for (char& b : noise)
        b = static_cast<char>(random());
    write(QStringLiteral("Baza/Big.dat"), noise);
    const QStringList before = snapshot(root());
    const struct {
        QStringList arguments;
        const char16_t* says;
    } cases[] = {
        {{QStringLiteral("backup")}, u"Резервная копия не сделана"},
        {{QStringLiteral("restore"), made.out.trimmed()}, u"База не восстановлена"},
        {{QStringLiteral("export"), QStringLiteral("--csv"),
          m_dir.filePath(QStringLiteral("cards.csv"))},
         u"диск переполнен"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments.first().toStdString());
        // Beyond the limit a write fails as on a full disk; the signal of the limit ends
        // nothing.
        const Outcome r = run(c.arguments, 8000);
        EXPECT_EQ(r.status, 1);
        EXPECT_TRUE(r.err.contains(QString::fromUtf16(c.says))) << r.err.toStdString();
        EXPECT_EQ(snapshot(root()), before);
        EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::Files), QStringList());
    }
    EXPECT_EQ(run({QStringLiteral("backup")}).status, 0);
}

// The real program on the folder: the commands that write refuse, the check reads; once the
// program is gone its lock is taken over.
TEST_F(AdminTest, WritingCommandsRefuseWhileTheProgramRuns) {
    QProcess program;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    program.setProcessEnvironment(env);
    program.start(QStringLiteral(ZELMAR_PROGRAM), {root()});
    ASSERT_TRUE(program.waitForStarted());
    // The program has the lock before it touches the folder; the working card file shows that
    // it got through its start.
    for (int i = 0; i < 600 && !QFile::exists(file(QStringLiteral("Temp/RabAnket.dat"))); ++i)
        QThread::msleep(100);
    QThread::msleep(500);
    ASSERT_EQ(program.state(), QProcess::Running);
    const std::optional<LockHolder> holder = installationLockHolder(root());
    ASSERT_TRUE(holder);
    EXPECT_EQ(holder->pid, program.processId());
    EXPECT_EQ(holder->program, QStringLiteral("zelmar"));

    const QStringList before = snapshot(root());
    for (const QStringList& arguments :
         {QStringList{QStringLiteral("backup")},
          QStringList{QStringLiteral("restore"), file(QStringLiteral("x.zip"))},
          QStringList{QStringLiteral("report"), QStringLiteral("Otkaz")}}) {
        const Outcome r = run(arguments);
        EXPECT_EQ(r.status, 1);
        EXPECT_TRUE(r.err.contains(QStringLiteral("уже работает пользователь")))
            << r.err.toStdString();
    }
    const Outcome checked = run({QStringLiteral("check")});
    EXPECT_EQ(checked.status, 0) << checked.out.toStdString();
    // The program put the 30% unprinted cards into its working card file at start.
    EXPECT_TRUE(checked.out.contains(QStringLiteral("Temp/RabAnket.dat: карточек: 9")));
    EXPECT_EQ(snapshot(root()), before);

    program.kill();
    program.waitForFinished();
    EXPECT_EQ(run({QStringLiteral("backup")}).status, 0);
}

// Each report's data file is byte for byte what the windows' code writes from the same card
// file; the register book also becomes a PDF.
TEST_F(AdminTest, ReportsWriteWhatTheWindowsWrite) {
    // The unprinted cards in the working card file, as the program leaves it at start.
    QByteArray working;
    const QByteArray main = bytes(QStringLiteral("Baza/Anketi.dat"));
    for (qsizetype at = 0; at < main.size(); at += TAnketa::Size) {
        TAnketa card;
        std::memcpy(&card, main.constData() + at, sizeof card);
        if (card.PrintNet == 0)
            working.append(main.sliced(at, TAnketa::Size));
    }
    write(QStringLiteral("Temp/RabAnket.dat"), working);
    write(QStringLiteral("Baza/ArhAnket.dat"), main.first(5 * TAnketa::Size));
    const bool office = !officeProgram().isEmpty();

    const struct {
        ReportKind kind;
        const char* source;
        const char* path;
    } cases[] = {
        {reports::RegisterBook, "working", "Temp/RabAnket.dat"},
        {reports::Receipts, "main", "Baza/Anketi.dat"},
        {reports::Cancelled, "archive", "Baza/ArhAnket.dat"},
        {reports::Prosecutor, "working", "Temp/RabAnket.dat"},
        {reports::FullCard, "main", "Baza/Anketi.dat"},
        {reports::StandardCard, "archive", "Baza/ArhAnket.dat"},
    };
    for (const auto& c : cases) {
        const QString prefix = c.kind.prefix.toString();
        SCOPED_TRACE(prefix.toStdString());
        QStringList arguments = {QStringLiteral("report"), prefix,
                                 QStringLiteral("--source=") + QLatin1String(c.source)};
        const bool pdf = office && c.kind.prefix == reports::RegisterBook.prefix;
        if (pdf)
            arguments << QStringLiteral("--pdf") << m_dir.filePath(QStringLiteral("book.pdf"));
        const Outcome r = run(arguments);
        EXPECT_EQ(r.status, 0) << r.err.toStdString();
        EXPECT_TRUE(r.out.startsWith(file(QStringLiteral("REPORT/") + c.kind.resultFile())));
        const QByteArray written = bytes(QStringLiteral("REPORT/") + c.kind.dataFile());
        EXPECT_TRUE(bytes(QStringLiteral("REPORT/") + c.kind.resultFile()).startsWith("{\\rtf1"));
        if (pdf) {
            EXPECT_TRUE(bytes(QStringLiteral("../book.pdf")).startsWith("%PDF"));
        }

        // The same card file through the windows' code.
        QFile::remove(file(QStringLiteral("REPORT/") + c.kind.dataFile()));
        FixedClock clock(kTestNow);
        ScriptedPrompts prompts;
        RecordingShell shell;
        AppState s(Paths(root()), clock, prompts, shell);
        s.working.openForReading(file(QLatin1String(c.path)));
        if (c.kind.prefix == reports::RegisterBook.prefix) {
            // The "Книга" button of the print selection window, answered "no" to the marks.
            s.main.openForReading(file(QStringLiteral("Baza/Anketi.dat")));
            PrintSelection selection(s);
            prompts.no();
            KnigaClick(s, selection);
        } else if (c.kind.layout != ReportLayout::SingleCard) {
            writeWorkingFileReport(s, c.kind, s.card);
        } else {
            s.card = s.working.readAt(s.working.size() - 1);
            c.kind.prefix == reports::FullCard.prefix ? WriteFullCard(s) : WriteStandardCard(s);
        }
        EXPECT_EQ(written, bytes(QStringLiteral("REPORT/") + c.kind.dataFile()));
        EXPECT_EQ(shell.calls.size(), 2);
    }
    if (!office)
        GTEST_SKIP() << "soffice is not installed: the register book was not made into a PDF";
}

TEST_F(AdminTest, ExportGivesEveryFieldAsCsv) {
    TAnketa card =
        makeCard(7, dayNumber(QDate(2024, 3, 5)), 612345678, 0, QStringLiteral("Петров, \"Пётр\""));
    card.Fabula = QStringLiteral("строка 1\r\nстрока 2");
    card.Srok = 10;
    card.DaWrSozd = dayNumber(QDate(2024, 3, 5), (10 * 3600 + 5 * 60 + 7) * 1000);
    card.DeloDat = std::numeric_limits<double>::infinity();
    card.Otmetka = QStringLiteral("уд");
    write(QStringLiteral("Baza/ArhAnket.dat"),
          QByteArray(reinterpret_cast<const char*>(&card), sizeof card));

    const QString csv = m_dir.filePath(QStringLiteral("cards.csv"));
    const Outcome r = run({QStringLiteral("export"), QStringLiteral("--source=archive"),
                           QStringLiteral("--csv=") + csv});
    EXPECT_EQ(r.status, 0) << r.err.toStdString();
    QFile f(csv);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(
        QString::fromUtf8(f.readAll()),
        QStringLiteral(
            "GurN,DateOtkaza,KUPData,KUPN,KemWines,DolgWines,PodpUtw,DolgnPodp,Motiv,LicoUN,"
            "ProkOtmetka,DataProvProkur,DeloNom,DeloDat,Statia,MestoNah,RezPovtRasm,KemProdlen,"
            "Srok,DolgProdlen,NeNashIshNom,NeNashaIshDat,WidDok,DolgnAvt,FIOAvtor,Adres,NazwDok,"
            "Fabula,Nositel,Otpravitel,Listov,Ekzem,NashIshNom,NasheIshData,Telefon,EMail,"
            "NashWxodNom,NashaWxodDat,Klu4Form1,AdminFIO,DaWrSozd,DWKorr,Otmetka,PrintNet\r\n"
            "7,05.03.2024,,КУСП-7,,,,,,,,,,,,,,,10,,,,,,\"Петров, \"\"Пётр\"\"\",,,"
            "\"строка 1\r\nстрока 2\",,,1,1,,,,,,,612345678,,05.03.2024 10:05:07,"
            "05.03.2024 00:00:00,уд,0\r\n"));
    // To standard output without --csv; the main card file by default.
    const Outcome all = run({QStringLiteral("export")});
    EXPECT_EQ(all.status, 0);
    EXPECT_EQ(all.out.count(QStringLiteral("\r\n")), 31);
}

// stat: the window's table on standard output, and as CSV; the period's mistakes refused.
TEST_F(AdminTest, StatPrintsTheTableOfAPeriodAndWritesItsCsv) {
    TypedFile<TAnketa> main;
    main.openForReading(file(QStringLiteral("Baza/Anketi.dat")));
    qint64 inPeriod = 0;
    for (qint64 i = 0; i < main.size(); ++i)
        inPeriod += dateOf(main.readAt(i).DateOtkaza).year() == 2026;
    ASSERT_GT(inPeriod, 0);
    TAnketa archived = main.readAt(0);
    archived.DateOtkaza = dayNumber(QDate(2026, 12, 31)) + 0.75;
    archived.KemWines = QStringLiteral("Архивов, А.А.");
    write(QStringLiteral("Baza/ArhAnket.dat"),
          QByteArray(reinterpret_cast<const char*>(&archived), sizeof archived));

    const QString csv = m_dir.filePath(QStringLiteral("stat.csv"));
    const Outcome r =
        run({QStringLiteral("stat"), QStringLiteral("--from=01.01.2026"), QStringLiteral("--to"),
             QStringLiteral("2026-12-31"), QStringLiteral("--by=official"),
             QStringLiteral("--archive"), QStringLiteral("--csv"), csv});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    const QStringList lines = r.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_GE(lines.size(), 4) << r.out.toStdString();
    EXPECT_EQ(lines[0], QStringLiteral("Статистика отказных материалов с 01.01.2026 по "
                                       "31.12.2026, кем вынесено, Главная картотека и Архив"));
    EXPECT_TRUE(lines[1].startsWith(QStringLiteral("Группа"))) << lines[1].toStdString();
    const QStringList total = lines[lines.size() - 2].split(QLatin1Char(' '), Qt::SkipEmptyParts);
    ASSERT_EQ(total.size(), 9) << lines[lines.size() - 2].toStdString();
    EXPECT_EQ(total[0], QStringLiteral("Итого"));
    EXPECT_EQ(total[1].toLongLong(), inPeriod + 1);
    EXPECT_EQ(lines.last(), csv);
    EXPECT_TRUE(r.out.contains(QStringLiteral("Архивов, А.А.")));

    const QString written = QString::fromUtf8(bytes(QStringLiteral("../stat.csv")));
    EXPECT_TRUE(written.startsWith(QStringLiteral(
        "Группа,Материалов,Проверено прокурором,Отменено прокурором,\"Доля отменённых, %\",")))
        << written.toStdString();
    EXPECT_TRUE(written.contains(QStringLiteral("\r\n\"Архивов, А.А.\",1,0,0,0.0,1,0,")))
        << written.toStdString();
    EXPECT_TRUE(written.endsWith(QStringLiteral("\r\n")));
    EXPECT_TRUE(written.contains(QStringLiteral("\r\nИтого,%1,").arg(inPeriod + 1)));

    const struct {
        QStringList arguments;
        const char16_t* says;
    } refused[] = {
        {{QStringLiteral("--from=01.01.2026"), QStringLiteral("--to=31.12.2026")},
         u"нужны параметры --from, --to и --by"},
        {{QStringLiteral("--from=31.02.2026"), QStringLiteral("--to=31.12.2026"),
          QStringLiteral("--by=month")},
         u"Неверная дата «31.02.2026»"},
        {{QStringLiteral("--from=02.01.2026"), QStringLiteral("--to=01.01.2026"),
          QStringLiteral("--by=month")},
         u"Начало периода (02.01.2026) позже его конца (01.01.2026)."},
        {{QStringLiteral("--from=01.01.2026"), QStringLiteral("--to=01.01.2026"),
          QStringLiteral("--by=week")},
         u"Неизвестная группировка «week»: возможны month, quarter, official"},
        {{QStringLiteral("--source=main"), QStringLiteral("--from=01.01.2026"),
          QStringLiteral("--to=01.01.2026"), QStringLiteral("--by=month")},
         u"Параметр --source не относится к команде stat."},
    };
    for (const auto& c : refused) {
        const Outcome bad = run(QStringList{QStringLiteral("stat")} + c.arguments);
        EXPECT_EQ(bad.status, 2) << c.arguments.join(QLatin1Char(' ')).toStdString();
        EXPECT_TRUE(bad.err.contains(QString::fromUtf16(c.says))) << bad.err.toStdString();
    }
    const Outcome archiveElsewhere = run({QStringLiteral("export"), QStringLiteral("--archive")});
    EXPECT_EQ(archiveElsewhere.status, 2);
}
