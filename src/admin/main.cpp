// zelmar-admin: the administration of an installation folder from the command line (checks,
// backups, reports, exports), for the office's administrator and scheduled jobs.

#include "admin/CommandLine.h"
#include "admin/Commands.h"
#include "admin/Console.h"
#include "core/store/FileSync.h"

#include <QCoreApplication>

using namespace zelmar::admin;

int main(int argc, char** argv) {
    zelmar::failWritesBeyondFileSizeLimit();
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("zelmar-admin"));
    QCoreApplication::setApplicationVersion(QStringLiteral(ZELMAR_VERSION));

    const CommandLine line = parseCommandLine(argc, argv);
    switch (line.what) {
    case CommandLine::What::Help:
        say(helpText());
        return 0;
    case CommandLine::What::Version:
        say(QStringLiteral("zelmar-admin ") + QCoreApplication::applicationVersion());
        return 0;
    case CommandLine::What::BadUsage:
        complain(line.error);
        complain(QStringLiteral("Справка: zelmar-admin --help"));
        return 2;
    case CommandLine::What::Run:
        break;
    }
    return runAdminCommand(line.options);
}
