#include "core/reports/Prtview.h"
#include "core/documents/AtomicFile.h"
#include "core/platform/ScriptedPrompts.h"
#include "core/platform/Shell.h"
#include "core/reports/ReportDataWriter.h"
#include "core/store/InstallFolder.h"
#include "core/texts/DayNumber.h"
#include "support/Failures.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace zelmar;
using namespace zelmar::test;

namespace {

// The runner in a report folder of its own, with the shipped templates.
class PrtviewTest : public ::testing::Test {
protected:
    PrtviewTest() {
        m_previous = QDir::currentPath();
        QDir::setCurrent(m_dir.path());
        m_prompts.onUnscripted = [](const QString& what) { ADD_FAILURE() << what.toStdString(); };
        for (const char* name : {"OtkazPic.rtf", "PolnPic.rtf"})
            QFile::copy(builtInInstallFiles() + QStringLiteral("/REPORT/") + QLatin1String(name),
                        path(QLatin1String(name)));
    }
    ~PrtviewTest() override { QDir::setCurrent(m_previous); }

    QString path(const QString& name) const { return m_dir.filePath(name); }
    void writeData(const QString& name, ReportLayout layout, int cards) {
        AtomicFile file(path(name));
        ReportDataWriter writer(file, layout, name);
        for (int i = 1; i <= cards; ++i)
            writer.add(makeCard(i, dayNumber(QDate(2012, 3, 1).addDays(i)), 100 + i, 0,
                                QStringLiteral("Заявитель %1").arg(i)));
        writer.finish();
        file.commit();
    }
    int run(const QString& line) {
        return runPrtview(line.split(QLatin1Char(' ')), QDate(2026, 12, 7), m_shell, m_prompts);
    }
    QByteArray result(const QString& name) const {
        QFile f(path(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    QTemporaryDir m_dir;
    QString m_previous;
    ScriptedPrompts m_prompts;
    RecordingShell m_shell;
};

} // namespace

TEST_F(PrtviewTest, MakeThenOpen) {
    writeData(QStringLiteral("OtkazDat.txt"), ReportLayout::MultiCard, 3);
    EXPECT_EQ(run(QStringLiteral("OtkazDat.txt OtkazPic.rtf OtkazRep.rtf - /m")), 0);
    const QByteArray made = result(QStringLiteral("OtkazRep.rtf"));
    // Three band rows; "Заявитель 3" as RTF text; no placeholder left.
    EXPECT_EQ(made.count("\\trkeep"), 3);
    EXPECT_TRUE(made.contains("\\u1047?\\u1072?\\u1103?\\u1074?\\u1080?\\u1090?\\u1077?\\u1083?"
                              "\\u1100? 3"));
    EXPECT_FALSE(made.contains("#gn#"));
    EXPECT_FALSE(made.contains("#BAND#"));
    EXPECT_TRUE(m_shell.calls.isEmpty());
    EXPECT_FALSE(QFileInfo::exists(path(QStringLiteral("OtkazRep.rtf.lock"))));

    // /p on a result newer than data and template opens it as it is.
    const QDateTime madeAt = QFileInfo(path(QStringLiteral("OtkazRep.rtf"))).lastModified();
    {
        QFile shortened(path(QStringLiteral("OtkazRep.rtf")));
        ASSERT_TRUE(shortened.open(QIODevice::ReadWrite));
        shortened.resize(10);
        shortened.setFileTime(madeAt.addSecs(5), QFileDevice::FileModificationTime);
    }
    EXPECT_EQ(run(QStringLiteral("OtkazDat.txt OtkazPic.rtf OtkazRep.rtf - /p")), 0);
    EXPECT_EQ(result(QStringLiteral("OtkazRep.rtf")).size(), 10);
    ASSERT_EQ(m_shell.calls.size(), 1);
    EXPECT_EQ(m_shell.calls[0].what, QStringLiteral("document"));
    EXPECT_EQ(m_shell.calls[0].target, path(QStringLiteral("OtkazRep.rtf")));

    // /p without a result makes it first.
    QFile::remove(path(QStringLiteral("OtkazRep.rtf")));
    EXPECT_EQ(run(QStringLiteral("OtkazDat.txt OtkazPic.rtf OtkazRep.rtf - /p")), 0);
    EXPECT_EQ(result(QStringLiteral("OtkazRep.rtf")), made);
}

TEST_F(PrtviewTest, TwoNamesOpenTheTemplate) {
    EXPECT_EQ(run(QStringLiteral("PolnDat.txt PolnPic.rtf")), 0);
    ASSERT_EQ(m_shell.calls.size(), 1);
    EXPECT_EQ(m_shell.calls[0].target, path(QStringLiteral("PolnPic.rtf")));

    m_prompts.ok();
    EXPECT_EQ(run(QStringLiteral("KartSDat.txt KartSPic.rtf")), 1);
    EXPECT_EQ(m_prompts.last().text, QStringLiteral("Нет шаблона отчёта «KartSPic.rtf»."));
    m_shell.answer = false;
    m_prompts.ok();
    EXPECT_EQ(run(QStringLiteral("PolnDat.txt PolnPic.rtf")), 1);
    EXPECT_TRUE(m_prompts.last().text.contains(QStringLiteral("не найдена программа")));
}

TEST_F(PrtviewTest, FailuresAreMessagesAndLeaveTheResultAsItWas) {
    writeData(QStringLiteral("PolnDat.txt"), ReportLayout::SingleCard, 1);
    QFile old(path(QStringLiteral("PolnRep.rtf")));
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("{\\rtf1 old}");
    old.close();
    QFile broken(path(QStringLiteral("BadPic.rtf")));
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
    broken.write("{\\rtf1 {\\b #gn#}");
    broken.close();

    struct Case {
        QString line;
        int status;
        QString message;
    };
    const Case cases[] = {
        {QStringLiteral("NoDat.txt PolnPic.rtf PolnRep.rtf - /m"), 1,
         QStringLiteral("Нет файла данных отчёта «NoDat.txt».")},
        {QStringLiteral("PolnDat.txt NoPic.rtf PolnRep.rtf - /m"), 1,
         QStringLiteral("Нет шаблона отчёта «NoPic.rtf».")},
        {QStringLiteral("PolnDat.txt BadPic.rtf PolnRep.rtf - /p"), 1,
         QStringLiteral("не хватает закрывающей скобки")},
        {QStringLiteral("PolnDat.txt PolnPic.rtf - /m"), 2, QStringLiteral("Неверная командная")},
        {QStringLiteral("PolnDat.txt PolnPic.rtf PolnRep.rtf - /x"), 2,
         QStringLiteral("Неверная командная")},
    };
    for (const Case& c : cases) {
        m_prompts.ok();
        EXPECT_EQ(run(c.line), c.status) << c.line.toStdString();
        EXPECT_TRUE(m_prompts.last().text.contains(c.message))
            << m_prompts.last().text.toStdString();
        EXPECT_EQ(result(QStringLiteral("PolnRep.rtf")), QByteArray("{\\rtf1 old}"));
    }
    EXPECT_TRUE(m_shell.calls.isEmpty());

    // A torn single-card file has no whole card.
    QFile data(path(QStringLiteral("PolnDat.txt")));
    ASSERT_TRUE(data.open(QIODevice::ReadWrite));
    data.resize(data.size() / 2);
    data.close();
    m_prompts.ok();
    EXPECT_EQ(run(QStringLiteral("PolnDat.txt PolnPic.rtf PolnRep.rtf - /m")), 1);
    EXPECT_TRUE(m_prompts.last().text.contains(QStringLiteral("нет целой карточки")));
}

TEST_F(PrtviewTest, AReadOnlyFolderIsAMessage) {
    writeData(QStringLiteral("OtkazDat.txt"), ReportLayout::MultiCard, 1);
    QFile::setPermissions(m_dir.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner |
                                            QFileDevice::ReadOther | QFileDevice::ExeOther);
    const int status = asUnprivilegedUser([&] {
        ScriptedPrompts prompts;
        prompts.ok();
        const int code =
            runPrtview({QStringLiteral("OtkazDat.txt"), QStringLiteral("OtkazPic.rtf"),
                        QStringLiteral("OtkazRep.rtf"), QStringLiteral("-"), QStringLiteral("/m")},
                       QDate(2026, 12, 7), m_shell, prompts);
        const bool said = prompts.last().text.contains(QStringLiteral("не сделан"));
        return code == 1 && said && !QFileInfo::exists(path(QStringLiteral("OtkazRep.rtf"))) ? 0
                                                                                             : 1;
    });
    QFile::setPermissions(m_dir.path(),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    EXPECT_EQ(status, 0);
}

TEST_F(PrtviewTest, TheProgramMergesAndReportsFailuresByItsExitStatus) {
    writeData(QStringLiteral("PolnDat.txt"), ReportLayout::SingleCard, 1);
    const auto runProgram = [&](const QStringList& arguments, QString* errors) {
        QProcess program;
        program.setWorkingDirectory(m_dir.path());
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        program.setProcessEnvironment(environment);
        program.start(QStringLiteral(ZELMAR_PRTVIEW), arguments);
        EXPECT_TRUE(program.waitForFinished(60000));
        *errors = QString::fromLocal8Bit(program.readAllStandardError());
        return program.exitCode();
    };
    QString errors;
    EXPECT_EQ(runProgram({QStringLiteral("PolnDat.txt"), QStringLiteral("PolnPic.rtf"),
                          QStringLiteral("PolnRep.rtf"), QStringLiteral("-"), QStringLiteral("/m")},
                         &errors),
              0)
        << errors.toStdString();
    EXPECT_TRUE(result(QStringLiteral("PolnRep.rtf")).startsWith("{\\rtf1"));
    EXPECT_EQ(
        runProgram({QStringLiteral("KartSDat.txt"), QStringLiteral("KartSPic.rtf"),
                    QStringLiteral("KartSRep.rtf"), QStringLiteral("-"), QStringLiteral("/m")},
                   &errors),
        1);
    EXPECT_TRUE(errors.contains(QStringLiteral("Нет файла данных отчёта «KartSDat.txt»")))
        << errors.toStdString();
}

TEST_F(PrtviewTest, TwoStartsAtOnceGiveOneWholeResult) {
    writeData(QStringLiteral("OtkazDat.txt"), ReportLayout::MultiCard, 3000);
    QList<QProcess*> runs;
    for (int i = 0; i < 2; ++i) {
        auto* program = new QProcess;
        program->setWorkingDirectory(m_dir.path());
        program->start(QStringLiteral(ZELMAR_PRTVIEW),
                       {QStringLiteral("OtkazDat.txt"), QStringLiteral("OtkazPic.rtf"),
                        QStringLiteral("OtkazRep.rtf"), QStringLiteral("-"), QStringLiteral("/m")});
        runs.append(program);
    }
    for (QProcess* program : runs) {
        EXPECT_TRUE(program->waitForFinished(120000));
        EXPECT_EQ(program->exitCode(), 0) << program->readAllStandardError().constData();
        delete program;
    }
    const QByteArray made = result(QStringLiteral("OtkazRep.rtf"));
    EXPECT_EQ(
        made.count("\\u1047?\\u1072?\\u1103?\\u1074?\\u1080?\\u1090?\\u1077?\\u1083?\\u1100? "),
        3000); // "Заявитель N" of every card
    EXPECT_TRUE(made.endsWith("}\r\n"));
    // Neither a lock nor a half-written result is left.
    EXPECT_EQ(QDir(m_dir.path())
                  .entryList({QStringLiteral("*.lock"), QStringLiteral("*.new")},
                             QDir::Files | QDir::Hidden),
              QStringList());
}
