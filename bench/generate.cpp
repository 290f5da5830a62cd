// Makes an installation folder with a generated register:
//   zelmar_generate FOLDER [CARDS] [UNPRINTED-SHARE]
#include "gen/Generator.h"

#include <QCoreApplication>
#include <QStringList>

#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() < 2) {
        std::fprintf(stderr, "usage: zelmar_generate FOLDER [CARDS] [UNPRINTED-SHARE]\n");
        return 2;
    }
    zelmar::gen::Options options;
    if (args.size() > 2)
        options.cards = args.at(2).toLongLong();
    if (args.size() > 3)
        options.unprintedShare = args.at(3).toDouble();
    zelmar::gen::makeInstallation(args.at(1), options);
    std::printf("%lld cards in %s\n", static_cast<long long>(options.cards),
                qPrintable(args.at(1)));
    return 0;
}
