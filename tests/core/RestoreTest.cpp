#include "core/backup/Restore.h"
#include "core/backup/Backup.h"
#include "core/backup/EntryNames.h"
#include "core/backup/Leftovers.h"
#include "core/editor/MainWindowEvents.h"
#include "core/store/Cp1251.h"
#include "support/Failures.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QMap>
#include <QProcess>

#include <iconv.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <zip.h>

using namespace zelmar;
using namespace zelmar::test;

namespace {

struct Crafted {
    QByteArray name;
    QByteArray data;
    bool link = false;
    zip_flags_t encoding = ZIP_FL_ENC_CP437; // the name's bytes as they are, no UTF-8 mark
};

// An archive written by libzip as it is told: any name, raw bytes without the UTF-8 mark.
void craft(const QString& path, const std::vector<Crafted>& entries) {
    zip_t* archive = zip_open(path.toLocal8Bit().constData(), ZIP_CREATE | ZIP_TRUNCATE, nullptr);
    ASSERT_TRUE(archive);
    for (const Crafted& entry : entries) {
        zip_source_t* data = zip_source_buffer(archive, entry.data.constData(),
                                               static_cast<zip_uint64_t>(entry.data.size()), 0);
        const zip_int64_t index =
            zip_file_add(archive, entry.name.constData(), data, entry.encoding);
        ASSERT_GE(index, 0) << zip_strerror(archive);
        zip_set_file_compression(archive, static_cast<zip_uint64_t>(index), ZIP_CM_STORE, 0);
        if (entry.link)
            zip_file_set_external_attributes(archive, static_cast<zip_uint64_t>(index), 0,
                                             ZIP_OPSYS_UNIX, (S_IFLNK | 0777u) << 16);
    }
    ASSERT_EQ(zip_close(archive), 0);
}

// Every header of an archive of stored entries made to declare `size` unpacked bytes.
QByteArray declaringSize(QByteArray zip, quint32 size) {
    const auto patch = [&](const char* signature, int offset) {
        for (qsizetype at = zip.indexOf(signature); at >= 0; at = zip.indexOf(signature, at + 4))
            for (int i = 0; i < 4; ++i)
                zip[at + offset + i] = static_cast<char>(size >> (8 * i));
    };
    patch("PK\x03\x04", 22);
    patch("PK\x01\x02", 24);
    return zip;
}

// Text converted by glibc's iconv.
QByteArray converted(const char* to, const char* from, QByteArray in) {
    iconv_t cd = iconv_open(to, from);
    QByteArray out(in.size() * 4, '\0');
    char* inPtr = in.data();
    char* outPtr = out.data();
    size_t inLeft = static_cast<size_t>(in.size());
    size_t outLeft = static_cast<size_t>(out.size());
    iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
    iconv_close(cd);
    return out.left(outPtr - out.data());
}

class RestoreTest : public RegisterTest {
protected:
    AppState& startWithBackup() {
        prepareFolder();
        writeCards(QStringLiteral("Baza/Anketi.dat"), {makeCard(1, 46000, 101)});
        AppState& s = start();
        m_backup = file(QStringLiteral("Backup/") + makeBackup(s));
        m_before = baza();
        return s;
    }
    QMap<QString, QByteArray> baza() const {
        QMap<QString, QByteArray> files;
        for (const QString& name : QDir(file(QStringLiteral("Baza"))).entryList(QDir::Files))
            files.insert(name, readBytes(QStringLiteral("Baza/") + name));
        return files;
    }
    // Restores from path; true when the program is to start again.
    bool restore(AppState& s, const QString& path) {
        m_prompts.pickFile(path).ok();
        Bacup1Click(s);
        EXPECT_TRUE(QDir(file(QStringLiteral("Temp")))
                        .entryList({QStringLiteral("restore-*")}, QDir::AllEntries)
                        .isEmpty());
        EXPECT_TRUE(QDir(root()).entryList({QStringLiteral("Baza.*")}, QDir::AllEntries).isEmpty());
        return s.exitCode.has_value();
    }
    // The archive was refused and nothing changed: the program goes on with its files.
    void expectRefused(AppState& s, const QString& path, const QString& said) {
        EXPECT_FALSE(restore(s, path)) << said.toStdString();
        EXPECT_EQ(m_prompts.last().caption, QStringLiteral("База не восстановлена"));
        EXPECT_TRUE(m_prompts.last().text.contains(said)) << m_prompts.last().text.toStdString();
        EXPECT_EQ(baza(), m_before);
        EXPECT_TRUE(s.main.isOpen() && s.usersFile.isOpen());
    }
    QString m_backup;
    QMap<QString, QByteArray> m_before;
};

} // namespace

TEST_F(RestoreTest, OurBackupReplacesItsFilesAndKeepsTheOthers) {
    AppState& s = startWithBackup();
    m_prompts.pickFile(QString()); // cancelled
    Bacup1Click(s);
    EXPECT_FALSE(s.exitCode);
    EXPECT_TRUE(s.main.isOpen());
    m_prompts.clearLog();
    writeCards(QStringLiteral("Baza/Anketi.dat"), {makeCard(2, 46000, 202)});
    QFile::remove(file(QStringLiteral("Baza/WidDoc.txt")));
    writeBytes(QStringLiteral("Baza/extra.txt"), "stays");
    EXPECT_TRUE(restore(s, m_backup));
    EXPECT_EQ(m_prompts.log()[0].caption,
              QStringLiteral("Укажите файл резерва для восстановления"));
    EXPECT_EQ(m_prompts.last().text, QStringLiteral("Включите программу снова"));
    EXPECT_EQ(m_prompts.last().caption, QStringLiteral("Программа сейчас выключится"));
    QMap<QString, QByteArray> expected = m_before;
    expected.insert(QStringLiteral("extra.txt"), "stays");
    EXPECT_EQ(baza(), expected);
}

TEST_F(RestoreTest, AnInfoZipArchiveOfTheMainCardFileOnly) {
    AppState& s = startWithBackup();
    const QString folder = file(QStringLiteral("made"));
    QDir().mkpath(folder);
    writeCards(QStringLiteral("made/ANKETI.DAT"), {makeCard(3, 46000, 303)});
    QProcess zip;
    zip.setWorkingDirectory(folder);
    zip.start(QStringLiteral("zip"),
              {QStringLiteral("-q"), QStringLiteral("only.zip"), QStringLiteral("ANKETI.DAT")});
    ASSERT_TRUE(zip.waitForFinished() && zip.exitCode() == 0);
    EXPECT_TRUE(restore(s, folder + QStringLiteral("/only.zip")));
    // The name matches the file of the base folder whatever its letter case.
    QMap<QString, QByteArray> expected = m_before;
    expected.insert(QStringLiteral("Anketi.dat"), readBytes(QStringLiteral("made/ANKETI.DAT")));
    EXPECT_EQ(baza(), expected);
}

TEST_F(RestoreTest, EntriesThatWouldLeaveTheBaseFolderRefuseTheArchive) {
    AppState& s = startWithBackup();
    ASSERT_FALSE(QFile::exists(QStringLiteral("/etc/x")));
    const std::vector<std::pair<Crafted, QString>> cases = {
        {{"../evil", "evil"}, QStringLiteral("../evil")},
        {{"/etc/x", "evil"}, QStringLiteral("/etc/x")},
        {{"C:evil.txt", "evil"}, QStringLiteral("C:evil.txt")},
        {{"..\\evil", "evil"}, QStringLiteral("..\\evil")},
        {{"sub/Anketi.dat", "evil"}, QStringLiteral("sub/Anketi.dat")},
        {{"sub/", ""}, QStringLiteral("папка")},
        {{"WidDoc.txt", "/etc/passwd", true}, QStringLiteral("ссылка")},
    };
    const QString path = file(QStringLiteral("crafted.zip"));
    for (const auto& [entry, said] : cases) {
        craft(path, {{"Anketi.dat", readBytes(QStringLiteral("Baza/Anketi.dat"))}, entry});
        expectRefused(s, path, said);
    }
    EXPECT_FALSE(QFile::exists(QStringLiteral("/etc/x")));
    EXPECT_FALSE(QFile::exists(file(QStringLiteral("evil"))));
    EXPECT_FALSE(QFile::exists(file(QStringLiteral("Baza/sub"))));
}

TEST_F(RestoreTest, DamagedArchivesChangeNothing) {
    AppState& s = startWithBackup();
    const QByteArray whole = readBytes(QStringLiteral("Backup/b0000001.zip"));
    const QString path = file(QStringLiteral("damaged.zip"));
    writeBytes(QStringLiteral("damaged.zip"), "not an archive at all");
    expectRefused(s, path, QStringLiteral("не читается как архив ZIP"));
    writeBytes(QStringLiteral("damaged.zip"), whole.left(whole.size() / 2));
    expectRefused(s, path, QStringLiteral("не читается как архив ZIP"));

    // Stored data with one byte changed fails its CRC.
    const QByteArray cards = readBytes(QStringLiteral("Baza/Anketi.dat"));
    craft(path, {{"Anketi.dat", cards}, {"Dostup.dat", QByteArray(4000, 'x')}});
    QByteArray bytes = readBytes(QStringLiteral("damaged.zip"));
    bytes[bytes.indexOf(QByteArray(100, 'x')) + 50] = 'y';
    writeBytes(QStringLiteral("damaged.zip"), bytes);
    expectRefused(s, path,
                  QStringLiteral("Файл Dostup.dat в архиве damaged.zip повреждён: контрольная "
                                 "сумма не сходится"));

    // Sizes beyond what a backup can hold: refused before anything is unpacked.
    std::vector<Crafted> bomb = {{"Anketi.dat", cards}};
    for (qint64 i = 0; i < 3; ++i)
        bomb.push_back({QByteArray("f") + QByteArray::number(i), "x"});
    craft(path, bomb);
    writeBytes(QStringLiteral("damaged.zip"),
               declaringSize(readBytes(QStringLiteral("damaged.zip")), 0xFFFFFFF0u));
    expectRefused(s, path, QStringLiteral("распаковался бы"));
}

TEST_F(RestoreTest, NamesWrittenByWindowsProgramsAreDecoded) {
    AppState& s = startWithBackup();
    craft(file(QStringLiteral("names.zip")),
          {{"Anketi.dat", readBytes(QStringLiteral("Baza/Anketi.dat"))},
           {converted("CP866", "UTF-8", QStringLiteral("Справка.txt").toUtf8()), "866"},
           {toCp1251(QStringLiteral("Отчёт.txt")), "1251"},
           {QStringLiteral("Ёлка.txt").toUtf8(), "utf8", false, ZIP_FL_ENC_UTF_8}});
    EXPECT_TRUE(restore(s, file(QStringLiteral("names.zip"))));
    EXPECT_EQ(readBytes(QStringLiteral("Baza/Справка.txt")), "866");
    EXPECT_EQ(readBytes(QStringLiteral("Baza/Отчёт.txt")), "1251");
    EXPECT_EQ(readBytes(QStringLiteral("Baza/Ёлка.txt")), "utf8");

    // The DOS code page agrees with iconv; bytes that read alike in both go to it.
    for (int byte = 0x80; byte <= 0xFF; ++byte) {
        const QByteArray one(1, static_cast<char>(byte));
        EXPECT_EQ(fromCp866(one).toUtf8(), converted("UTF-8", "CP866", one)) << byte;
    }
    EXPECT_EQ(decodeEntryName(toCp1251(QStringLiteral("абв")), false), QStringLiteral("рст"));
}

// Archives whose names pass but whose contents are no register's: refused with the reason, or
// for a torn tail and an empty register asked about; the base folder stays byte for byte.
TEST_F(RestoreTest, ArchivesWhoseContentsAreNoRegisterAreRefused) {
    AppState& s = startWithBackup();
    const QByteArray cards = readBytes(QStringLiteral("Baza/Anketi.dat"));
    QByteArray junk(TAnketa::Size * 50, '\0');
    quint32 seed = 7;
    for (char& b : junk)
        b = static_cast<char>((seed = seed * 1103515245u + 12345u) >> 24);
    const QString path = file(QStringLiteral("hostile.zip"));
    const struct {
        const char* what;
        std::vector<Crafted> entries;
        QString said;
    } cases[] = {
        {"no main card file", {{"WidDoc.txt", "x"}}, QStringLiteral("нет главной картотеки")},
        {"junk cards", {{"Anketi.dat", junk}}, QStringLiteral("не похож на картотеку")},
        {"users file of 7 bytes",
         {{"Anketi.dat", cards}, {"Dostup.dat", "1234567"}},
         QStringLiteral("нет ни одного пользователя")},
        {"names differing in letter case",
         {{"Anketi.dat", cards}, {"ANKETI.DAT", cards}},
         QStringLiteral("ANKETI.DAT — такое имя в архиве уже есть")},
        {"a 300-character name",
         {{"Anketi.dat", cards}, {QByteArray(300, 'a'), "x"}},
         QStringLiteral("слишком длинное имя")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        craft(path, c.entries);
        expectRefused(s, path, c.said);
    }

    // A torn tail: refused unless the clerk agrees to lose the bytes, which the question names.
    craft(path, {{"Anketi.dat", cards + QByteArray(100, 't')}});
    m_prompts.pickFile(path).no().ok();
    Bacup1Click(s);
    EXPECT_TRUE(m_prompts.log()[m_prompts.log().size() - 2].text.contains(
        QStringLiteral("после 1 целых карточек идут ещё 100 байт")));
    EXPECT_EQ(m_prompts.last().caption, QStringLiteral("База не восстановлена"));
    EXPECT_EQ(baza(), m_before);
    // An empty register over a full one only when the clerk says so.
    craft(path, {{"Anketi.dat", ""}});
    m_prompts.pickFile(path).no().ok();
    Bacup1Click(s);
    EXPECT_EQ(m_prompts.last().caption, QStringLiteral("База не восстановлена"));
    EXPECT_EQ(baza(), m_before);

    craft(path, {{"Anketi.dat", cards + QByteArray(100, 't')}});
    m_prompts.pickFile(path).yes().ok();
    Bacup1Click(s);
    EXPECT_TRUE(s.exitCode);
    EXPECT_EQ(readBytes(QStringLiteral("Baza/Anketi.dat")), cards);
}

// Killed at each step of the switch: after the next start the base folder is wholly the old one
// or wholly the restored one, nothing is left beside it, and the clerk is told which.
TEST_F(RestoreTest, AKillAtAnyStepLeavesOneWholeBaseFolder) {
    AppState& s = startWithBackup();
    const QMap<QString, QByteArray> restored = [&] {
        QMap<QString, QByteArray> files = m_before;
        files.insert(QStringLiteral("extra.txt"), "stays");
        return files;
    }();
    writeBytes(QStringLiteral("Baza/extra.txt"), "stays");
    closeAllFiles(s);
    const struct {
        const char* step;
        bool done;
    } steps[] = {{"restore:ready", false},
                 {"restore:switch", false},
                 {"restore:switched", true},
                 {"restore:remove-old", true}};
    for (const auto& step : steps) {
        SCOPED_TRACE(step.step);
        // The folder as it stands before the restore: one card more, a new archive.
        writeCards(QStringLiteral("Baza/Anketi.dat"),
                   {makeCard(1, 46000, 101), makeCard(2, 46001, 202)});
        writeCards(QStringLiteral("Baza/ArhAnket.dat"), {makeCard(3, 46000, 303)});
        const QMap<QString, QByteArray> old = baza();
        ASSERT_TRUE(killedAt(step.step, [&] { restoreBaseFolder(s, m_backup); }));
        const QStringList said = settleInterruptedWork(root());
        EXPECT_EQ(baza(), step.done ? restored : old);
        EXPECT_TRUE(QDir(root()).entryList({QStringLiteral("Baza.*")}, QDir::AllEntries).isEmpty());
        ASSERT_EQ(said.size(), 1);
        EXPECT_TRUE(said[0].contains(step.done ? QStringLiteral("восстановлена из копии")
                                               : QStringLiteral("осталась прежней")))
            << said[0].toStdString();
        EXPECT_TRUE(settleInterruptedWork(root()).isEmpty());
    }
}
