// One program per installation folder, whatever path or account reaches it; what the programs
// make in the folder is for its owner (or the group that shares it) only.

#include "core/platform/InstanceLock.h"
#include "core/store/FileRights.h"
#include "core/store/InstallFolder.h"
#include "core/store/RecordFile.h"
#include "core/store/SafeFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace zelmar;

namespace {

mode_t modeOf(const QString& path) {
    struct stat st {};
    EXPECT_EQ(::stat(QFile::encodeName(path).constData(), &st), 0) << path.toStdString();
    return st.st_mode & 07777;
}

// The creation mask of the process is put back after each test.
class FolderRightsTest : public ::testing::Test {
protected:
    FolderRightsTest()
        : m_mask(::umask(022)) {}
    ~FolderRightsTest() override { ::umask(m_mask); }
    QTemporaryDir m_dir;
    mode_t m_mask;
};

} // namespace

TEST(FolderLockTest, OneHolderByAnyPathUntilItEnds) {
    QTemporaryDir dir;
    const QString root = dir.filePath(QStringLiteral("Zelmar"));
    QDir().mkpath(root);
    EXPECT_FALSE(installationLockHolder(root));
    EXPECT_FALSE(QFile::exists(installationLockPath(root))) << "asking made a file";

    LockAttempt first = lockInstallation(root, QStringLiteral("zelmar"));
    ASSERT_TRUE(first.lock) << first.refusal.toStdString();

    // Another opening of the same file, by the folder's name and through a link to it.
    const QString link = dir.filePath(QStringLiteral("link"));
    ASSERT_TRUE(QFile::link(root, link));
    for (const QString& path : {root, link}) {
        const LockAttempt second = lockInstallation(path, QStringLiteral("zelmar-admin"));
        EXPECT_FALSE(second.lock);
        ASSERT_TRUE(second.holder);
        EXPECT_EQ(second.holder->program, QStringLiteral("zelmar"));
        EXPECT_EQ(second.holder->pid, ::getpid());
        EXPECT_FALSE(second.holder->user.isEmpty());
        EXPECT_TRUE(second.holder->since.isValid());
        EXPECT_TRUE(second.refusal.contains(QStringLiteral("уже работает пользователь ") +
                                            second.holder->user))
            << second.refusal.toStdString();
    }
    ASSERT_TRUE(installationLockHolder(link));

    first.lock.reset();
    EXPECT_FALSE(installationLockHolder(root));
    EXPECT_TRUE(lockInstallation(link, QStringLiteral("zelmar")).lock);
}

TEST(FolderLockTest, AKilledHolderLetsTheNextOneIn) {
    QTemporaryDir dir;
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        const LockAttempt held = lockInstallation(dir.path(), QStringLiteral("zelmar"));
        const char said = held.lock ? 'y' : 'n';
        (void)!::write(ready[1], &said, 1);
        ::pause();
        ::_exit(0);
    }
    char said = 0;
    ASSERT_EQ(::read(ready[0], &said, 1), 1);
    ASSERT_EQ(said, 'y');
    const LockAttempt refused = lockInstallation(dir.path(), QStringLiteral("zelmar"));
    EXPECT_FALSE(refused.lock);
    ASSERT_TRUE(refused.holder);
    EXPECT_EQ(refused.holder->pid, child);

    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
    EXPECT_TRUE(lockInstallation(dir.path(), QStringLiteral("zelmar")).lock);
    ::close(ready[0]);
    ::close(ready[1]);
}

TEST(FolderLockTest, AFileSystemWithoutLocksIsRefused) {
    QTemporaryDir dir;
    failInstallationLocksWith(ENOLCK);
    const LockAttempt attempt = lockInstallation(dir.path(), QStringLiteral("zelmar"));
    failInstallationLocksWith(0);
    EXPECT_FALSE(attempt.lock);
    EXPECT_FALSE(attempt.holder);
    EXPECT_TRUE(attempt.refusal.contains(QStringLiteral("не поддерживает блокировку файлов")))
        << attempt.refusal.toStdString();
}

TEST_F(FolderRightsTest, ANewFolderIsTheOwnersOnly) {
    const QString root = m_dir.filePath(QStringLiteral("new/Zelmar"));
    makeOwnFolder(root);
    useRightsOfFolder(root);
    prepareInstallFolder(root);
    EXPECT_EQ(modeOf(root), 0700u);
    EXPECT_EQ(modeOf(root + QStringLiteral("/Baza")), 0700u);
    EXPECT_EQ(modeOf(root + QStringLiteral("/Baza/WidDoc.txt")), 0600u);
    RecordFile cards(1208);
    cards.create(root + QStringLiteral("/Baza/Anketi.dat"));
    EXPECT_EQ(modeOf(root + QStringLiteral("/Baza/Anketi.dat")), 0600u);
    EXPECT_EQ(newFilePermissions(),
              QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser);
}

TEST_F(FolderRightsTest, AGroupSharedFolderStaysShared) {
    const QString root = m_dir.filePath(QStringLiteral("Zelmar"));
    QDir().mkpath(root + QStringLiteral("/Baza"));
    ::chmod(QFile::encodeName(root).constData(), 02770);
    useRightsOfFolder(root);
    const QString list = root + QStringLiteral("/Baza/WidDoc.txt");
    writeFileAtomically(list, "a\r\n");
    EXPECT_EQ(modeOf(list), 0660u);

    // A file rewritten beside and renamed keeps the rights it had.
    ::chmod(QFile::encodeName(list).constData(), 0640);
    writeFileAtomically(list, "b\r\n");
    EXPECT_EQ(modeOf(list), 0640u);
    RecordFile cards(1208);
    cards.create(root + QStringLiteral("/Baza/Anketi.dat"));
    EXPECT_EQ(modeOf(root + QStringLiteral("/Baza/Anketi.dat")), 0660u);
}
