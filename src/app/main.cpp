#include "core/backup/Leftovers.h"
#include "core/editor/AppState.h"
#include "core/platform/Clock.h"
#include "core/platform/CommandBoundary.h"
#include "core/platform/InstanceLock.h"
#include "core/store/FileRights.h"
#include "core/store/FileSync.h"
#include "core/store/InstallFolder.h"
#include "gui/Application.h"
#include "gui/QtPrompts.h"
#include "gui/QtShell.h"
#include "gui/TFIO_Dolgn.h"
#include "gui/TFiltrOkno.h"
#include "gui/TForm1.h"
#include "gui/TForm5.h"
#include "gui/TFormNastr.h"
#include "gui/TPoisk.h"
#include "gui/TPrintWibor.h"
#include "gui/TShabloniDok.h"
#include "gui/TStatistika.h"
#include "gui/TZapusk.h"

#include <QApplication>
#include <QDir>
#include <QGuiApplication>

#include <cstdio>
#include <memory>

using namespace zelmar;

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    setUpApplication(app);

    QStringList arguments = QApplication::arguments();
    arguments.removeFirst();
    const QString root =
        chooseInstallFolder(arguments, qEnvironmentVariable("ZELMAR_HOME"), QDir::homePath());

    failWritesBeyondFileSizeLimit();
    QtPrompts prompts;
    // What the program makes in the folder is the owner's (or the sharing group's) only.
    if (!runCommand(prompts, [&] { makeOwnFolder(root); }))
        return 1;
    useRightsOfFolder(root);
    // One program per folder, from any account or computer: a second one says who works with
    // the folder and ends without touching any file.
    const LockAttempt attempt = lockInstallation(root, QStringLiteral("zelmar"));
    if (!attempt.lock) {
        std::fprintf(stderr, "zelmar: %s\n", attempt.refusal.toLocal8Bit().constData());
        const QString platform = QGuiApplication::platformName();
        if (platform != u"offscreen" && platform != u"minimal")
            prompts.message(attempt.refusal, QStringLiteral("Zelmar"), Prompts::Icon::Exclamation);
        return 1;
    }
    // What a crash interrupted is finished or undone before anything opens the base folder.
    QStringList settled;
    if (!runCommand(prompts, [&] {
            settled = settleInterruptedWork(root);
            prepareInstallFolder(root);
        }))
        return 1;
    for (const QString& text : settled)
        prompts.message(text, QStringLiteral("Zelmar"), Prompts::Icon::Exclamation);
    QDir::setCurrent(root);

    SystemClock clock;
    QtShell shell;
    AppState state(Paths(root), clock, prompts, shell);
    // The windows, created in the register's order; the start-up window comes first and is
    // the one the user sees.
    TZapusk zapusk(state);
    TForm1 form1(state);
    if (state.exitCode)
        return *state.exitCode;
    prompts.setParent(&form1);
    TForm5 form5(state, &form1);
    TFormNastr formNastr(state, &form1);
    TPrintWibor printWibor(state, &form1);
    TPoisk poisk(state, &form1, &form1);
    TFiltrOkno filtrOkno(state, &printWibor, &printWibor);
    printWibor.setFilterWindow(&filtrOkno);
    TShabloniDok shabloniDok(state, &form1);
    printWibor.setTemplatesWindow(&shabloniDok);
    TFIO_Dolgn fioDolgn(state, &form1);
    TStatistika statistika(state, &form1);
    form1.setOwnWindows(
        {&form5, &formNastr, &fioDolgn, &poisk, &printWibor, &shabloniDok, &statistika});

    zapusk.setMainWindow(&form1);
    QObject::connect(&zapusk, &TZapusk::finishedWith, &app,
                     [](int code) { QApplication::exit(code); });
    zapusk.show();
    return QApplication::exec();
}
