#include "core/reports/CardReports.h"

#include "core/documents/AtomicFile.h"
#include "core/editor/AppState.h"
#include "core/platform/Shell.h"
#include "core/reports/ReportDataWriter.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QStandardPaths>

#include <vector>

namespace zelmar {

namespace {

// The data file is written whole beside the old one and renamed over it, so a runner still
// reading the previous report never meets a half-written file, and a failure leaves the
// previous data file as it was.
template <class Fill>
void writeDataFile(AppState& s, const ReportKind& kind, Fill&& fill) {
    const QString path = s.local(kind.dataPath());
    AtomicFile file(path);
    ReportDataWriter writer(file, kind.layout, path);
    fill(writer);
    writer.finish();
    file.commit();
}

} // namespace

QString reportRunnerProgram() {
    if (QCoreApplication::instance()) {
        const QString beside = QCoreApplication::applicationDirPath() + QStringLiteral("/prtview");
        if (QFileInfo(beside).isExecutable())
            return beside;
    }
    const QString found = QStandardPaths::findExecutable(QStringLiteral("prtview"));
    return found.isEmpty() ? QStringLiteral("prtview") : found;
}

void startReportRunner(AppState& s, const ReportKind& kind) {
    const QString program = reportRunnerProgram();
    const QString folder = s.local(ReportFolder);
    for (const char* mode : {"/m", "/p"}) {
        s.shell.startProgram(program,
                             {kind.dataFile(), kind.templateFile(), kind.resultFile(),
                              QStringLiteral("-"), QString::fromLatin1(mode)},
                             folder);
    }
}

void writeCardReport(AppState& s, const ReportKind& kind, const TAnketa& card) {
    writeDataFile(s, kind, [&](ReportDataWriter& writer) { writer.add(card); });
    startReportRunner(s, kind);
}

void WriteFullCard(AppState& s) {
    writeCardReport(s, reports::FullCard, s.card);
}

void WriteStandardCard(AppState& s) {
    writeCardReport(s, reports::StandardCard, s.card);
}

void writeWorkingFileReport(AppState& s, const ReportKind& kind, TAnketa& buffer) {
    ProgressScope scope(*s.progress);
    writeDataFile(s, kind, [&](ReportDataWriter& writer) {
        const qint64 total = s.working.size();
        std::vector<TAnketa> block(512);
        for (qint64 done = 0; done < total;) {
            const qint64 count = std::min<qint64>(static_cast<qint64>(block.size()), total - done);
            s.working.readRecords(done, count, block.data());
            for (qint64 i = 0; i < count; ++i)
                writer.add(block[static_cast<size_t>(i)]);
            done += count;
            buffer = block[static_cast<size_t>(count - 1)];
            s.progress->report(done, total);
        }
        s.working.seek(total);
    });
    startReportRunner(s, kind);
}

} // namespace zelmar
