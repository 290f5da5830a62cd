#include "BenchSupport.h"

#include "core/store/InstallFolder.h"
#include "core/store/TAnketa.h"
#include "gen/Generator.h"

#include <QFile>

#include <cstdio>
#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>
#include <vector>

namespace zelmar::bench {

double timeIt(const std::function<void()>& body, int runs) {
    double best = 1e30;
    for (int i = 0; i < runs; ++i) {
        const auto start = std::chrono::steady_clock::now();
        body();
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        best = std::min(best, took.count());
    }
    return best;
}

void plainRead(const QString& path) {
    const int fd = ::open(path.toLocal8Bit().constData(), O_RDONLY);
    std::vector<char> buffer(1 << 20);
    volatile char sink = 0;
    for (;;) {
        const ssize_t n = ::read(fd, buffer.data(), buffer.size());
        if (n <= 0)
            break;
        sink = sink + buffer[0];
    }
    ::close(fd);
}

void plainCopy(const QString& from, const QString& to) {
    const int in = ::open(from.toLocal8Bit().constData(), O_RDONLY);
    const int out = ::open(to.toLocal8Bit().constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    std::vector<char> buffer(1 << 20);
    for (;;) {
        const ssize_t n = ::read(in, buffer.data(), buffer.size());
        if (n <= 0)
            break;
        if (::write(out, buffer.data(), static_cast<size_t>(n)) != n)
            break;
    }
    ::fdatasync(out);
    ::close(in);
    ::close(out);
}

void dropCache(const QString& path) {
    const int fd = ::open(path.toLocal8Bit().constData(), O_RDONLY);
    if (fd >= 0) {
        ::fdatasync(fd);
        ::posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED);
        ::close(fd);
    }
}

double peakMemoryMiB() {
    struct rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

void printRow(const QString& what, double seconds, double yardstick) {
    std::printf("  %-52s %9.3f s   %5.2fx\n", qPrintable(what), seconds,
                yardstick > 0 ? seconds / yardstick : 0.0);
}

std::vector<TAnketa> generateCards(qint64 count) {
    gen::Options options;
    options.cards = count;
    options.years = 1;
    gen::CardGenerator generator(options);
    std::vector<TAnketa> cards;
    cards.reserve(static_cast<size_t>(count));
    for (qint64 i = 0; i < count; ++i)
        cards.push_back(generator.next());
    return cards;
}

QString shippedTemplate(const ReportKind& kind) {
    return builtInInstallFiles() + QStringLiteral("/REPORT/") + kind.templateFile();
}

QString generatedCardFile(const QString& folder, qint64 cards) {
    const QString path = folder + QStringLiteral("/Anketi%1.dat").arg(cards);
    gen::Options options;
    options.cards = cards;
    gen::writeCardFile(path, options);
    std::printf("%lld cards (%.0f MiB):\n", static_cast<long long>(cards),
                static_cast<double>(cards) * TAnketa::Size / (1 << 20));
    return path;
}

double plainReadRow(const QString& path) {
    const double plain = timeIt([&] { plainRead(path); });
    printRow(QStringLiteral("plain sequential read"), plain, plain);
    return plain;
}

} // namespace zelmar::bench
