// Report data files as the report runner reads them: any bytes, parsed, every value of every
// card taken, and merged into the installed templates of a one-card and a many-card report.

#include "FuzzSupport.h"

#include "core/documents/DocumentError.h"
#include "core/reports/ReportData.h"
#include "core/reports/ReportKinds.h"
#include "core/reports/ReportMerge.h"

#include <cstdlib>

using namespace zelmar;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const fuzz::Workspace& workspace = fuzz::Workspace::instance();
    const QByteArray bytes = fuzz::bytesOf(data, size);
    const ReportData parsed = ReportData::parse(bytes);
    // Every value lies inside the file's bytes (the sanitizer watches the reads).
    unsigned sum = 0;
    for (qsizetype card = 0; card < parsed.cards(); ++card) {
        for (int tag = 0; tag < tags::Count; ++tag) {
            for (const char c : parsed.value(card, tag))
                sum += static_cast<unsigned char>(c);
        }
    }
    // (A card takes at least one byte; the sum keeps the reads.)
    if (parsed.cards() > bytes.size() + (sum & 1))
        std::abort();

    const ReportKind kind = parsed.multiCard() ? reports::RegisterBook : reports::FullCard;
    const QString folder = workspace.local(u"REPORT");
    workspace.write(u"REPORT\\FuzzDat.txt", bytes);
    try {
        mergeReport(folder + QStringLiteral("/FuzzDat.txt"), folder + u'/' + kind.templateFile(),
                    folder + QStringLiteral("/FuzzRep.rtf"), QDate(2026, 12, 7));
    } catch (const DocumentError&) {
        // A data file without a whole card: refused with a message.
    }
    return 0;
}
