// The multi-card reports as LibreOffice opens them: the register book (Otkaz), the receipts
// (KartS), the lists for the prosecutor (Prok) and of cancelled decisions (Dela) of generated
// cards, merged into the shipped templates by the report runner and converted headless to PDF,
// every conversion with a LibreOffice profile of its own: the import and layout Writer does
// before it shows or prints a result. The template with no cards is LibreOffice's own start.
//   bench_office_reports [--keep FOLDER] [CARDS...]     (1000 3000 10000 by default)
#include "BenchSupport.h"
#include "core/documents/DocumentError.h"
#include "core/documents/Office.h"
#include "core/reports/ReportDataWriter.h"
#include "core/reports/ReportMerge.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <chrono>
#include <cstdio>
#include <map>
#include <sys/resource.h>

using namespace zelmar;

namespace {

// A conversion that takes longer is stopped.
constexpr int kLimitSeconds = 900;

double seconds(const std::function<void()>& body) {
    const auto start = std::chrono::steady_clock::now();
    body();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Processor seconds of the finished child processes so far (LibreOffice's, once it ended):
// steadier than the clock on a machine that others share.
double childrenCpu() {
    struct rusage usage {};
    getrusage(RUSAGE_CHILDREN, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

qsizetype pagesOf(const QString& pdf) {
    QFile file(pdf);
    if (!file.open(QIODevice::ReadOnly))
        return 0;
    static const QRegularExpression page(QStringLiteral("/Type\\s*/Page[^s]"));
    return QString::fromLatin1(file.readAll()).count(page);
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QStringList arguments = QCoreApplication::arguments();
    arguments.removeFirst();
    QString keep;
    if (arguments.size() >= 2 && arguments[0] == u"--keep") {
        keep = arguments[1];
        arguments = arguments.mid(2);
        QDir().mkpath(keep);
    }
    std::vector<qint64> counts;
    for (const QString& argument : arguments)
        counts.push_back(argument.toLongLong());
    if (counts.empty())
        counts = {1000, 3000, 10000};
    if (officeProgram().isEmpty()) {
        std::printf("LibreOffice (soffice) is not installed\n");
        return 1;
    }

    QTemporaryDir dir;
    std::printf("%-6s %7s %9s %10s %8s %6s %9s\n", "report", "cards", "merge, s", "convert, s",
                "cpu, s", "pages", "x empty");
    for (const ReportKind& kind :
         {reports::RegisterBook, reports::Receipts, reports::Prosecutor, reports::Cancelled}) {
        std::map<qint64, double> took;
        std::map<qint64, double> cpu;
        std::vector<qint64> runs = {0};
        runs.insert(runs.end(), counts.begin(), counts.end());
        for (const qint64 count : runs) {
            const QString folder =
                dir.filePath(QStringLiteral("%1-%2").arg(kind.prefix).arg(count));
            QDir().mkpath(folder);
            const QString data = folder + QLatin1Char('/') + kind.dataFile();
            const QString result = folder + QLatin1Char('/') + kind.resultFile();
            writeReportData(data, kind.layout, bench::generateCards(count));
            const double merged = seconds([&] {
                mergeReport(data, bench::shippedTemplate(kind), result, QDate(2026, 12, 7));
            });
            QString failure;
            const double cpuBefore = childrenCpu();
            const double converted = seconds([&] {
                try {
                    convertWithOffice({result}, QStringLiteral("pdf"), folder, QString(),
                                      kLimitSeconds * 1000);
                } catch (const DocumentError& error) {
                    failure = error.text().section(QLatin1Char('\n'), 0, 0).left(60);
                }
            });
            const QString pdf =
                folder + QLatin1Char('/') + kind.prefix.toString() + QStringLiteral("Rep.pdf");
            if (!failure.isEmpty()) {
                std::printf("%-6s %7lld %9.2f  failed after %.0f s: %s\n",
                            qPrintable(kind.prefix.toString()), static_cast<long long>(count),
                            merged, converted, qPrintable(failure));
                continue;
            }
            took[count] = converted;
            cpu[count] = childrenCpu() - cpuBefore;
            std::printf("%-6s %7lld %9.2f %10.1f %8.1f %6lld %9.2f\n",
                        qPrintable(kind.prefix.toString()), static_cast<long long>(count), merged,
                        converted, cpu[count], static_cast<long long>(pagesOf(pdf)),
                        cpu[count] / cpu[0]);
            std::fflush(stdout);
            if (!keep.isEmpty())
                QFile::copy(pdf, QStringLiteral("%1/%2-%3.pdf").arg(keep, kind.prefix).arg(count));
        }
        // The ratios by processor time, by the clock in brackets.
        if (took.count(1000) && took.count(10000))
            std::printf("%-6s 10,000 cards / 1,000 cards: %.1fx (%.1fx); target at most 12x\n",
                        qPrintable(kind.prefix.toString()), cpu[10000] / cpu[1000],
                        took[10000] / took[1000]);
        if (took.count(1000))
            std::printf("%-6s 1,000 cards / no cards: %.1fx (%.1fx); target at most 3x\n",
                        qPrintable(kind.prefix.toString()), cpu[1000] / cpu[0],
                        took[1000] / took[0]);
    }
    return 0;
}
