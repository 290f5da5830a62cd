// Reading all cards of the main card file, beside a plain sequential read of the same file.
#include "BenchSupport.h"
#include "core/editor/MainCardFile.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <cstdio>

using namespace zelmar;

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    for (const qint64 cards : {100000LL, 1000000LL}) {
        const QString path = bench::generatedCardFile(dir.path(), cards);
        const double plain = bench::plainReadRow(path);

        qint64 unprinted = 0;
        const double indexed = bench::timeIt([&] {
            MainCardFile file;
            file.openForUpdate(path);
            unprinted = 0;
            file.reindex([&](qint64, const TAnketa& card) { unprinted += card.PrintNet == 0; });
        });
        bench::printRow(QStringLiteral("read all cards (index + visit)"), indexed, plain);

        TypedFile<TAnketa> file;
        file.openForUpdate(path);
        qint64 seen = 0;
        const double oneByOne = bench::timeIt([&] {
            file.seek(0);
            TAnketa card;
            seen = 0;
            while (!file.eof()) {
                file.read(card);
                ++seen;
            }
        });
        bench::printRow(QStringLiteral("read all cards one record at a time"), oneByOne, plain);
        std::printf("  (%lld unprinted cards)\n", static_cast<long long>(unprinted));
    }
    std::printf("peak memory: %.1f MiB\n", bench::peakMemoryMiB());
    return 0;
}
