#include "core/store/Paths.h"
#include "core/store/InstallFolder.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace zelmar;

TEST(InstallFolder, ArgumentThenEnvironmentThenHome) {
    EXPECT_EQ(chooseInstallFolder({QStringLiteral("/data/z")}, QStringLiteral("/env/z"),
                                  QStringLiteral("/home/u")),
              QStringLiteral("/data/z"));
    EXPECT_EQ(chooseInstallFolder({}, QStringLiteral("/env/z"), QStringLiteral("/home/u")),
              QStringLiteral("/env/z"));
    EXPECT_EQ(chooseInstallFolder({}, QString(), QStringLiteral("/home/u")),
              QStringLiteral("/home/u/Zelmar"));
}

TEST(Paths, FindsFoldersWhateverTheirCase) {
    QTemporaryDir dir;
    QDir(dir.path()).mkpath(QStringLiteral("BAZA"));
    QDir(dir.path()).mkpath(QStringLiteral("report"));
    QFile f(dir.path() + QStringLiteral("/BAZA/anketi.DAT"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.close();

    const Paths paths(dir.path());
    EXPECT_EQ(paths.local(u"Baza\\Anketi.dat"), dir.path() + QStringLiteral("/BAZA/anketi.DAT"));
    EXPECT_EQ(paths.local(u"baza\\CwetFona.krv"),
              dir.path() + QStringLiteral("/BAZA/CwetFona.krv"));
    EXPECT_EQ(paths.local(u"REPORT\\Shablon.dat"),
              dir.path() + QStringLiteral("/report/Shablon.dat"));
    EXPECT_EQ(paths.local(u"Temp\\RabAnket.dat"),
              dir.path() + QStringLiteral("/Temp/RabAnket.dat"));
}

TEST(Paths, WindowsInstallationPathsMapIntoTheFolder) {
    QTemporaryDir dir;
    QDir(dir.path()).mkpath(QStringLiteral("Backup"));
    const Paths paths(dir.path());
    EXPECT_EQ(paths.fromStored(QStringLiteral("c:\\Zelmar\\Backup")),
              dir.path() + QStringLiteral("/Backup"));
    EXPECT_EQ(paths.fromStored(QStringLiteral("C:\\ZELMAR\\backup\\")),
              dir.path() + QStringLiteral("/Backup"));
    EXPECT_EQ(paths.fromStored(QStringLiteral("c:\\Zelmar")), dir.path());
    EXPECT_EQ(paths.fromStored(QStringLiteral("/srv/backup/")), QStringLiteral("/srv/backup"));
    EXPECT_EQ(paths.local(u"c:\\Zelmar\\Otveti\\123456789.doc"),
              dir.path() + QStringLiteral("/Otveti/123456789.doc"));

    // Back to the stored form: only paths inside the installation folder change.
    EXPECT_EQ(paths.toStored(dir.path() + QStringLiteral("/Backup/")),
              QStringLiteral("c:\\Zelmar\\Backup"));
    EXPECT_EQ(paths.toStored(dir.path()), QStringLiteral("c:\\Zelmar"));
    EXPECT_EQ(paths.toStored(dir.path() + QStringLiteral("x/Backup")),
              dir.path() + QStringLiteral("x/Backup"));
    EXPECT_EQ(paths.toStored(QStringLiteral("/srv/backup")), QStringLiteral("/srv/backup"));
}

TEST(InstallFolder, NewFolderGetsTheTreeAndNeverLosesUserFiles) {
    QTemporaryDir dir;
    const QString root = dir.path() + QStringLiteral("/Zelmar");
    QDir().mkpath(root + QStringLiteral("/baza"));
    QFile mine(root + QStringLiteral("/baza/widdoc.txt"));
    ASSERT_TRUE(mine.open(QIODevice::WriteOnly));
    mine.write("mine\r\n");
    mine.close();

    prepareInstallFolder(root);

    for (const QString& folder :
         {QStringLiteral("Temp"), QStringLiteral("REPORT"), QStringLiteral("WhodGIF"),
          QStringLiteral("WhodWord"), QStringLiteral("Otveti"), QStringLiteral("Help"),
          QStringLiteral("Backup")})
        EXPECT_TRUE(QDir(root + QLatin1Char('/') + folder).exists()) << folder.toStdString();
    // The existing "baza" is the base folder: no second "Baza" next to it.
    EXPECT_FALSE(QDir(root + QStringLiteral("/Baza")).exists());
    EXPECT_TRUE(QFile::exists(root + QStringLiteral("/baza/MotivOt.txt")));
    EXPECT_FALSE(QFile::exists(root + QStringLiteral("/baza/WidDoc.txt")));
    ASSERT_TRUE(mine.open(QIODevice::ReadOnly));
    EXPECT_EQ(mine.readAll(), QByteArray("mine\r\n"));
    // Copies are the user's to change.
    EXPECT_TRUE(QFile::permissions(root + QStringLiteral("/baza/MotivOt.txt")) & QFile::WriteOwner);
}
