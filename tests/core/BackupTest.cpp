#include "core/backup/Backup.h"
#include "core/backup/BackupCopies.h"
#include "core/editor/MainWindowEvents.h"
#include "support/Failures.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QThread>

#include <random>

using namespace zelmar;
using namespace zelmar::test;

namespace {

QString copy(int number) {
    return QStringLiteral("b%1.zip").arg(number, 7, 10, QLatin1Char('0'));
}

QStringList copies(std::initializer_list<int> numbers) {
    QStringList names;
    for (int number : numbers)
        names.append(copy(number));
    return names;
}

QByteArray randomBytes(int size) {
    std::mt19937 random(7);
    QByteArray bytes(size, Qt::Uninitialized);
    for (char& byte : bytes)
        byte = static_cast<char>(random());
    return bytes;
}

// Runs an Info-ZIP tool; its output, or a failure of the test.
QByteArray run(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    EXPECT_TRUE(process.waitForFinished(60000)) << program.toStdString();
    EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
    return process.readAllStandardOutput();
}

// The meters as the main window's panel would show them.
class RecordingProgress : public Progress {
public:
    std::vector<std::pair<int, int>> shown; // meter, percent
protected:
    void show(int meter, int percent) override { shown.emplace_back(meter, percent); }
};

class BackupTest : public RegisterTest {
protected:
    QString backup(const QString& name = QString()) const {
        return file(QStringLiteral("Backup/") + name);
    }
    QStringList backupFolder() const {
        return QDir(backup()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot, QDir::Name);
    }
};

} // namespace

TEST_F(BackupTest, CopiesAreNumberedFromTheNewestAndTheOldestGo) {
    AppState& s = start();
    struct Case {
        QStringList before;
        QString made;
        QStringList dropped;
    };
    const std::vector<Case> cases = {
        {{}, copy(1), {}},
        {copies({1, 2, 3, 4, 5, 6, 7, 8, 9, 10}), copy(11), copies({1})},
        {copies({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}), copy(13), copies({1, 2, 3})},
        {copies({5}), copy(6), {}},
        // Names that are no copies are neither counted, numbered from nor deleted.
        {copies({3, 4, 5, 6, 7, 8, 9, 10, 11, 12}) +
             QStringList{QStringLiteral("notes.txt"), QStringLiteral("b123.zip"),
                         QStringLiteral("b0000099.zip.part"), QStringLiteral("z0000099.zip")},
         copy(13),
         // An unfinished backup goes too.
         copies({3}) + QStringList{QStringLiteral("b0000099.zip.part")}},
        {copies({1, 2}) + QStringList{QStringLiteral("B0000007.ZIP")}, copy(8), {}},
    };
    for (const Case& c : cases) {
        QDir(backup()).removeRecursively();
        QDir().mkpath(backup());
        for (const QString& name : c.before)
            writeBytes(QStringLiteral("Backup/") + name, "old");
        QDir().mkpath(backup(QStringLiteral("b9999999.zip"))); // a folder
        EXPECT_EQ(makeBackup(s), c.made);
        QStringList expected = c.before;
        for (const QString& name : c.dropped)
            expected.removeAll(name);
        expected << c.made << QStringLiteral("b9999999.zip");
        expected.sort();
        EXPECT_EQ(backupFolder(), expected) << c.made.toStdString();
    }
}

TEST_F(BackupTest, LeavingWithABackupOfTheBaseFolder) {
    prepareFolder();
    writeBytes(QStringLiteral("Baza/packed.bin"), randomBytes(100000));
    QDir().mkpath(file(QStringLiteral("Baza/sub")));
    writeBytes(QStringLiteral("Baza/sub/inner.txt"), "not in the copy");
    AppState& s = start();
    RecordingProgress meters;
    s.progress = &meters;
    QDir(backup()).removeRecursively();
    m_prompts.no();
    N4Click(s);
    EXPECT_EQ(s.exitCode, 0);
    EXPECT_FALSE(QFile::exists(backup()));
    s.exitCode.reset();
    m_prompts.yes();
    N4Click(s);
    EXPECT_EQ(m_prompts.last().text,
              QStringLiteral("Получить резервную копию папки C:\\Zelmar\\Baza ?"));
    EXPECT_EQ(m_prompts.last().caption, QStringLiteral("При аварии - нет!.Последние 10 копий в ") +
                                            root() + QStringLiteral("/Backup"));
    EXPECT_EQ(s.exitCode, 0);
    EXPECT_EQ(backupFolder(), QStringList{copy(1)});
    // The whole archive (meter 0) and the file being packed (meter 1) both reach their end.
    EXPECT_EQ(meters.shown.back(), std::make_pair(0, 100));
    EXPECT_NE(std::find(meters.shown.begin(), meters.shown.end(), std::make_pair(1, 100)),
              meters.shown.end());
    EXPECT_FALSE(meters.running());

    // Reports of the part and of the whole, one right after the other, both get through.
    meters.shown.clear();
    ProgressScope scope(meters);
    QThread::msleep(60);
    meters.report(1, 2, 1);
    meters.report(1, 4, 0);
    EXPECT_EQ(meters.shown.size(), 4u); // the zeros at the start, then both reports

    // Info-ZIP reads it: every ordinary file of Baza under its bare name, deflated, or stored
    // where deflate would not make it smaller.
    const QString archive = backup(copy(1));
    run(QStringLiteral("unzip"), {QStringLiteral("-tq"), archive});
    QStringList names =
        QString::fromUtf8(run(QStringLiteral("unzip"), {QStringLiteral("-Z1"), archive}))
            .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    names.sort();
    EXPECT_EQ(names, QDir(file(QStringLiteral("Baza"))).entryList(QDir::Files, QDir::Name));
    const QString listing =
        QString::fromUtf8(run(QStringLiteral("unzip"), {QStringLiteral("-v"), archive}));
    for (const QString& line : listing.split(QLatin1Char('\n'))) {
        if (line.endsWith(QStringLiteral("packed.bin"))) {
            EXPECT_TRUE(line.contains(QStringLiteral("Stored"))) << line.toStdString();
        } else if (line.endsWith(QStringLiteral("Dostup.dat"))) {
            EXPECT_TRUE(line.contains(QStringLiteral("Defl:N"))) << line.toStdString();
        }
    }
    EXPECT_EQ(
        run(QStringLiteral("unzip"), {QStringLiteral("-p"), archive, QStringLiteral("Dostup.dat")}),
        readBytes(QStringLiteral("Baza/Dostup.dat")));
}

TEST_F(BackupTest, AFailedBackupLeavesTheCopiesAndGoesOn) {
    prepareFolder();
    writeBytes(QStringLiteral("Baza/packed.bin"), randomBytes(200000));
    AppState& s = start();
    QDir().mkpath(backup());
    for (int number = 1; number <= 10; ++number)
        writeBytes(QStringLiteral("Backup/") + copy(number), randomBytes(number));
    const QStringList before = backupFolder();

    // A full disk halfway through the archive.
    withFileSizeLimit(100000, [&] {
        m_prompts.yes().ok();
        N4Click(s);
    });
    EXPECT_EQ(m_prompts.last().caption, QStringLiteral("Резервная копия не сделана"));
    EXPECT_EQ(backupFolder(), before);
    for (int number = 1; number <= 10; ++number)
        EXPECT_EQ(readBytes(QStringLiteral("Backup/") + copy(number)), randomBytes(number));
    // The files are open again and the program goes on.
    EXPECT_FALSE(s.exitCode);
    EXPECT_TRUE(s.main.isOpen() && s.archive.isOpen() && s.working.isOpen() &&
                s.usersFile.isOpen() && s.officialsFile.isOpen() && s.templates.isOpen());

    // A backup folder whose parent is missing cannot be made.
    s.settings.BackupFolder = root() + QStringLiteral("/missing/Backup");
    m_prompts.yes().ok();
    N4Click(s);
    EXPECT_TRUE(m_prompts.last().text.contains(QStringLiteral("файл или папка не найдены")))
        << m_prompts.last().text.toStdString();
    EXPECT_FALSE(s.exitCode);
}
