// What spans several files or outlives a crash: a move of cards to the archive killed at each
// step, the leftovers of interrupted commands, a file size limit, the backup folder.

#include "core/access/Settings.h"
#include "core/backup/Backup.h"
#include "core/backup/Compaction.h"
#include "core/backup/Leftovers.h"
#include "core/editor/InsertDelete.h"
#include "core/editor/Navigation.h"
#include "core/platform/Errors.h"
#include "core/store/TAnketa.h"
#include "support/Failures.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFile>

#include <zip.h>

using namespace zelmar;
using namespace zelmar::test;

namespace {

const QString kMain = QStringLiteral("Baza/Anketi.dat");
const QString kArchive = QStringLiteral("Baza/ArhAnket.dat");

class CrashSafetyTest : public RegisterTest {
protected:
    // Cards 101, 102, 103 in the main card file, 102 marked for deletion; 900 in the archive.
    AppState& startWithThree() {
        std::vector<TAnketa> cards;
        for (int i = 1; i <= 3; ++i)
            cards.push_back(makeCard(i, 46000 + i, 100 + i));
        cards[1].Otmetka = DeletionMark;
        writeCards(kMain, cards);
        writeCards(kArchive, {makeCard(9, 45000, 900)});
        return start();
    }
};

} // namespace

// Delete -> "В Архив" and compaction -> "В Архив", killed between the archive's sync and the
// main card file's rename, and after the rename: after the next start every card is in exactly
// one of the two files, and no leftover stays.
TEST_F(CrashSafetyTest, AKilledMoveToTheArchiveLeavesEachCardInOneFile) {
    const std::function<void(AppState&)> commands[] = {
        [this](AppState& s) {
            SpisokMouseDown(s, 2);
            m_prompts.choose(2);
            nDeleteClick(s);
        },
        [this](AppState& s) {
            m_prompts.choose(2).no().ok();
            N20Click(s);
        },
    };
    for (const auto& command : commands) {
        for (const auto& [step, moved] :
             {std::pair{"move:archived", false}, std::pair{"move:replaced", true}}) {
            SCOPED_TRACE(step);
            AppState& s = startWithThree();
            ASSERT_TRUE(killedAt(step, [&] { command(s); }));
            m_state.reset();
            const QStringList said = settleInterruptedWork(root());
            EXPECT_EQ(keys(kMain),
                      moved ? (std::vector<int>{101, 103}) : (std::vector<int>{101, 102, 103}));
            EXPECT_EQ(keys(kArchive),
                      moved ? (std::vector<int>{900, 102}) : (std::vector<int>{900}));
            EXPECT_EQ(said.size(), moved ? 0 : 1);
            EXPECT_EQ(interruptedWork(root()), QStringList());
            EXPECT_FALSE(QFile::exists(file(QStringLiteral("Baza/Anketi.dat.new"))));
        }
    }
}

// What interrupted commands leave is found by its names and removed at the next start; files
// the register did not make stay; a backup never packs a leftover.
TEST_F(CrashSafetyTest, LeftoversGoAtTheNextStartAndNeverIntoABackup) {
    prepareFolder();
    writeCards(kMain, {makeCard(1, 46000, 101)});
    const QStringList ours = {QStringLiteral("Baza/Anketi.dat.new"),
                              QStringLiteral("Baza/WidDoc.txt.new"),
                              QStringLiteral("NoKor.krv.new"),
                              QStringLiteral("Temp/RabAnket.dat.new"),
                              QStringLiteral("REPORT/OtkazDat.txt.new"),
                              QStringLiteral("Otveti/101.doc.new"),
                              QStringLiteral("Backup/b0000003.zip.part"),
                              QStringLiteral("Backup/b0000003.zip.part.Ab12Cd")};
    const QStringList theirs = {QStringLiteral("Baza/notes.new"), QStringLiteral("Baza/x.part"),
                                QStringLiteral("Backup/b0000002.zip"),
                                QStringLiteral("Otveti/letter.doc.new")};
    for (const QString& name : ours + theirs)
        writeBytes(name, "left");
    QDir().mkpath(file(QStringLiteral("Temp/restore-a1B2c3")));

    EXPECT_EQ(interruptedWork(root()).size(), ours.size() + 1);
    AppState& s = start();
    EXPECT_TRUE(settleInterruptedWork(root()).isEmpty());
    for (const QString& name : ours)
        EXPECT_FALSE(QFile::exists(file(name))) << name.toStdString();
    for (const QString& name : theirs)
        EXPECT_TRUE(QFile::exists(file(name))) << name.toStdString();
    EXPECT_FALSE(QFile::exists(file(QStringLiteral("Temp/restore-a1B2c3"))));

    writeBytes(QStringLiteral("Baza/Anketi.dat.new"), "left again");
    writeBytes(QStringLiteral("Backup/b0000004.zip.part.Zz99Yy"), "left");
    const QString made = makeBackup(s);
    EXPECT_FALSE(QFile::exists(file(QStringLiteral("Backup/b0000004.zip.part.Zz99Yy"))));
    zip_t* archive = zip_open(file(QStringLiteral("Backup/") + made).toLocal8Bit().constData(),
                              ZIP_RDONLY, nullptr);
    ASSERT_TRUE(archive);
    EXPECT_LT(zip_name_locate(archive, "Anketi.dat.new", 0), 0);
    EXPECT_GE(zip_name_locate(archive, "Anketi.dat", 0), 0);
    EXPECT_GE(zip_name_locate(archive, "notes.new", 0), 0); // the clerk's own file
    zip_discard(archive);
}

// A file size limit (ulimit -f) fails the write as a full disk does: the command says so and
// leaves nothing half written; the backup folder can never be the base folder.
TEST_F(CrashSafetyTest, AFileSizeLimitAndABackupFolderInsideTheBase) {
    prepareFolder();
    writeCards(kMain, {makeCard(1, 46000, 101)});
    // Bytes that do not compress, so the archive outgrows the limit.
    QByteArray noise(300000, '\0');
    quint32 seed = 11;
    for (char& b : noise)
        b = static_cast<char>((seed = seed * 1103515245u + 12345u) >> 24);
    writeBytes(QStringLiteral("Baza/Big.dat"), noise);
    AppState& s = start();
    m_prompts.yes().ok();
    withFileSizeLimit(4000, [&] { offerBackup(s); });
    EXPECT_EQ(m_prompts.last().caption, QStringLiteral("Резервная копия не сделана"));
    EXPECT_TRUE(m_prompts.last().text.contains(QStringLiteral("диск переполнен")))
        << m_prompts.last().text.toStdString();
    EXPECT_TRUE(QDir(file(QStringLiteral("Backup"))).entryList(QDir::Files).isEmpty());

    for (const QString& folder :
         {QStringLiteral("c:\\Zelmar\\Baza"), QStringLiteral("c:\\Zelmar\\BAZA\\Copies"),
          QStringLiteral("c:\\Zelmar\\Backup\\..\\Baza\\x")}) {
        SCOPED_TRACE(folder.toStdString());
        s.settings.BackupFolder = folder;
        EXPECT_THROW(makeBackup(s), ZelmarError);
        s.settings.BackUpPut = folder;
        EXPECT_THROW(ZapNastrClick(s), ZelmarError);
        m_prompts.pickFolder(s.paths.fromStored(folder)).ok();
        BitBtn3Click(s);
        EXPECT_EQ(m_prompts.last().caption, QStringLiteral("Папка не подходит"));
        EXPECT_EQ(s.settings.BackUpPut, folder);
    }
    EXPECT_FALSE(QFile::exists(file(QStringLiteral("Baza/b0000001.zip"))));
}
