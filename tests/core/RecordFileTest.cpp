#include "core/store/RecordFile.h"
#include "core/platform/Errors.h"
#include "core/store/SafeFile.h"
#include "support/Failures.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace zelmar;
using namespace zelmar::test;

namespace {

struct Rec {
    char bytes[52];
};

Rec rec(char c) {
    Rec r;
    std::memset(r.bytes, c, sizeof r.bytes);
    return r;
}

QString errorText(const std::function<void()>& operation) {
    try {
        operation();
    } catch (const ZelmarError& e) {
        return e.text();
    }
    return QStringLiteral("(no error)");
}

class RecordFileTest : public ::testing::Test {
protected:
    QString path(const QString& name) const { return m_dir.path() + QLatin1Char('/') + name; }
    QTemporaryDir m_dir;
};

} // namespace

TEST_F(RecordFileTest, ReadsAndWritesByRecordNumber) {
    TypedFile<Rec> f;
    f.create(path(QStringLiteral("a.dat")));
    EXPECT_EQ(f.size(), 0);
    EXPECT_TRUE(f.eof());
    f.write(rec('a'));
    f.write(rec('b'));
    f.write(rec('c'));
    EXPECT_EQ(f.size(), 3);
    EXPECT_EQ(f.pos(), 3);
    f.seek(1);
    f.write(rec('B'));
    EXPECT_EQ(f.pos(), 2);
    EXPECT_EQ(f.size(), 3);
    f.seek(0);
    EXPECT_EQ(f.read().bytes[0], 'a');
    EXPECT_EQ(f.read().bytes[0], 'B');
    EXPECT_EQ(f.read().bytes[0], 'c');
    EXPECT_TRUE(f.eof());
    f.close();

    QFile raw(path(QStringLiteral("a.dat")));
    ASSERT_TRUE(raw.open(QIODevice::ReadOnly));
    EXPECT_EQ(raw.size(), 3 * 52);

    TypedFile<Rec> g;
    g.openForUpdate(path(QStringLiteral("a.dat")));
    EXPECT_EQ(g.size(), 3);
    EXPECT_EQ(g.pos(), 0);
    std::vector<char> seen;
    g.forEach([&](qint64, const char* bytes) { seen.push_back(bytes[0]); });
    EXPECT_EQ(seen, (std::vector<char>{'a', 'B', 'c'}));
    EXPECT_TRUE(g.eof());
    g.seek(1);
    g.truncate();
    EXPECT_EQ(g.size(), 1);
}

TEST_F(RecordFileTest, TornTailYieldsWholeRecordsAndAClearError) {
    QFile raw(path(QStringLiteral("torn.dat")));
    ASSERT_TRUE(raw.open(QIODevice::WriteOnly));
    raw.write(QByteArray(52, 'x') + QByteArray(52, 'y') + QByteArray(20, 'z'));
    raw.close();

    TypedFile<Rec> f;
    f.openForUpdate(path(QStringLiteral("torn.dat")));
    EXPECT_EQ(f.size(), 2);
    EXPECT_EQ(f.tailBytes(), 20);
    int visited = 0;
    f.forEach([&](qint64, const char*) { ++visited; });
    EXPECT_EQ(visited, 2);
    EXPECT_EQ(errorText([&] { f.readRecords(2, 1, nullptr); }),
              QStringLiteral("Read beyond end of file"));
    EXPECT_EQ(errorText([&] { f.seek(3); }), QStringLiteral("Read beyond end of file"));
    // Appending at the count overwrites the torn record.
    f.seek(2);
    f.write(rec('n'));
    EXPECT_EQ(f.size(), 3);
    EXPECT_EQ(f.tailBytes(), 0);
}

TEST_F(RecordFileTest, FailuresCarryTheStandardTexts) {
    TypedFile<Rec> f;
    EXPECT_EQ(errorText([&] { f.openForUpdate(path(QStringLiteral("missing.dat"))); }),
              QStringLiteral("File not found"));
    EXPECT_EQ(errorText([&] { (void)f.size(); }), QStringLiteral("File not open"));
    EXPECT_EQ(errorText([&] { f.openForUpdate(m_dir.path()); }),
              QStringLiteral("File access denied"));
    const QString longName = path(QString(300, QLatin1Char('n')));
    EXPECT_EQ(errorText([&] { f.create(longName); }), QStringLiteral("I/O error 36"));
}

TEST_F(RecordFileTest, ReadOnlyFolderIsAccessDenied) {
    const QString folder = path(QStringLiteral("ro"));
    ASSERT_TRUE(QDir().mkpath(folder));
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner);
    const QString target = folder + QStringLiteral("/x.dat");
    const int rc = asUnprivilegedUser([&] {
        TypedFile<Rec> f;
        return errorText([&] { f.create(target); }) == QStringLiteral("File access denied") ? 0 : 1;
    });
    EXPECT_EQ(rc, 0);
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

TEST_F(RecordFileTest, FullDiskIsDiskFullAndKeepsWholeRecords) {
    TypedFile<Rec> f;
    f.create(path(QStringLiteral("full.dat")));
    withFileSizeLimit(52 * 2 + 10, [&] {
        f.write(rec('a'));
        f.write(rec('b'));
        EXPECT_EQ(errorText([&] { f.write(rec('c')); }), QStringLiteral("Disk full"));
    });
    EXPECT_EQ(f.size(), 2);
    // A record written over that stops halfway (the limit cuts the write inside the file)
    // keeps its old bytes, as do the records of a block behind it.
    withFileSizeLimit(30, [&] {
        f.seek(0);
        EXPECT_EQ(errorText([&] { f.write(rec('c')); }), QStringLiteral("Disk full"));
    });
    QFile again(path(QStringLiteral("full.dat")));
    ASSERT_TRUE(again.open(QIODevice::ReadOnly));
    EXPECT_EQ(again.readAll(), QByteArray(52, 'a') + QByteArray(52, 'b'));
}

TEST_F(RecordFileTest, TooManyOpenFiles) {
    TypedFile<Rec> f;
    f.create(path(QStringLiteral("a.dat")));
    f.close();
    withFewDescriptors([&] {
        EXPECT_EQ(errorText([&] { f.openForUpdate(path(QStringLiteral("a.dat"))); }),
                  QStringLiteral("Too many open files"));
    });
}

TEST_F(RecordFileTest, ReplacementLeavesTheOldFileUntilCommitted) {
    const QString target = path(QStringLiteral("list.txt"));
    writeTextLines(target, {QStringLiteral("старое")});
    withFileSizeLimit(4, [&] {
        EXPECT_EQ(
            errorText([&] { writeTextLines(target, {QStringLiteral("новое содержимое списка")}); }),
            QStringLiteral("Disk full"));
    });
    EXPECT_EQ(readTextLines(target), QStringList{QStringLiteral("старое")});
    EXPECT_FALSE(QFile::exists(target + QStringLiteral(".new")));

    writeTextLines(target, {QStringLiteral("а"), QString(), QStringLiteral("б")});
    QFile raw(target);
    ASSERT_TRUE(raw.open(QIODevice::ReadOnly));
    EXPECT_EQ(raw.readAll(), QByteArray("\xE0\r\n\r\n\xE1\r\n"));
}

TEST(TextLines, ReadsWhatOtherEditorsWrite) {
    EXPECT_EQ(decodeLines("a\r\nb\r\n"), (QStringList{QStringLiteral("a"), QStringLiteral("b")}));
    EXPECT_EQ(decodeLines("a\nb"), (QStringList{QStringLiteral("a"), QStringLiteral("b")}));
    EXPECT_EQ(decodeLines("a\r\n\r\nb\r\n"),
              (QStringList{QStringLiteral("a"), QString(), QStringLiteral("b")}));
    EXPECT_EQ(decodeLines(""), QStringList());
    EXPECT_EQ(decodeLines("\r\n"), QStringList{QString()});
    EXPECT_EQ(decodeLines("\xCA\xF0\xE0\xE6\xE0"), QStringList{QStringLiteral("Кража")});
}
