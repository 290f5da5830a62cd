// ZIP archives handed to restore: any bytes as the archive, opened, its entries' names read
// and checked, and its entries unpacked (a few megabytes at most), their CRC checked.

#include "FuzzSupport.h"

#include "core/backup/EntryNames.h"
#include "core/backup/ZipArchive.h"

#include <QFile>

#include <cstdlib>

using namespace zelmar;

namespace {

// What one input may unpack, by the sizes its archive declares.
constexpr qint64 kUnpackLimit = 4 << 20;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const fuzz::Workspace& workspace = fuzz::Workspace::instance();
    const QString folder = workspace.scratchFolder();
    const QString archive = folder + QStringLiteral("/b0000001.zip");
    {
        QFile file(archive);
        if (!file.open(QIODevice::WriteOnly) ||
            file.write(fuzz::bytesOf(data, size)) != qint64(size))
            std::abort();
    }
    try {
        ZipReader reader(archive);
        qint64 unpacked = 0;
        for (const ZipReader::Entry& entry : reader.entries()) {
            const QString name = decodeEntryName(entry.rawName, entry.utf8);
            (void)unsafeNameReason(name);
            if (entry.size < 0)
                std::abort();
            unpacked += entry.size;
            if (unpacked > kUnpackLimit || entry.link || entry.folder || entry.encrypted)
                continue;
            try {
                reader.extract(entry, folder + QStringLiteral("/%1").arg(entry.index));
            } catch (const ZelmarError&) {
                // Damaged data: the restore is refused.
            }
        }
    } catch (const ZelmarError&) {
        // Not an archive, or a damaged one: refused.
    }
    return 0;
}
