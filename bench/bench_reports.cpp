// The register book of a large working card file: writing its data file, and the runner's
// merge of it into the shipped template. With "--samples DIR [CARDS]", writes every report of
// a few cards (or of CARDS cards) into DIR instead, to look at.
#include "BenchSupport.h"
#include "core/reports/ReportDataWriter.h"
#include "core/reports/ReportKinds.h"
#include "core/reports/ReportMerge.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cstdio>
#include <vector>

using namespace zelmar;

namespace {

void samples(const QString& folder, qint64 count) {
    QDir().mkpath(folder);
    const std::vector<TAnketa> cards = bench::generateCards(std::max<qint64>(count, 4));
    for (const ReportKind& kind :
         {reports::FullCard, reports::StandardCard, reports::Receipts, reports::RegisterBook,
          reports::Cancelled, reports::Prosecutor}) {
        const QString data = folder + QLatin1Char('/') + kind.dataFile();
        writeReportData(data, kind.layout,
                        kind.layout == ReportLayout::SingleCard ? std::vector<TAnketa>{cards[3]}
                                                                : cards);
        mergeReport(data, bench::shippedTemplate(kind),
                    folder + QLatin1Char('/') + kind.resultFile(), QDate::currentDate());
    }
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() >= 3 && arguments[1] == u"--samples") {
        samples(arguments[2], arguments.size() > 3 ? arguments[3].toLongLong() : 12);
        return 0;
    }
    QTemporaryDir dir;
    for (const qint64 count : {10000LL, 100000LL}) {
        const std::vector<TAnketa> cards = bench::generateCards(count);
        const QString data = dir.filePath(QStringLiteral("OtkazDat.txt"));
        const QString result = dir.filePath(QStringLiteral("OtkazRep.rtf"));
        std::printf("register book of %lld cards:\n", static_cast<long long>(count));
        const double written =
            bench::timeIt([&] { writeReportData(data, ReportLayout::MultiCard, cards); });
        std::printf("  %-44s %8.3f s  (%.1f MiB)\n", "write the data file", written,
                    static_cast<double>(QFileInfo(data).size()) / (1 << 20));
        const double merged = bench::timeIt([&] {
            mergeReport(data, bench::shippedTemplate(reports::RegisterBook), result,
                        QDate::currentDate());
        });
        std::printf("  %-44s %8.3f s  (%.1f MiB)\n", "merge into the template (prtview /m)", merged,
                    static_cast<double>(QFileInfo(result).size()) / (1 << 20));
    }
    std::printf("peak memory: %.1f MiB\n", bench::peakMemoryMiB());
    return 0;
}
