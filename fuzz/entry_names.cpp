// Entry names of archives handed to restore, in any bytes: as DOS (CP866), Windows (CP1251) or
// Linux (UTF-8) programs write them, with or without the UTF-8 mark. Each name is put in a real
// archive, read back as restore reads it, decoded and checked; a name found safe must land in
// the base folder itself, and its entry unpacks to what was packed.

#include "FuzzSupport.h"

#include "core/backup/EntryNames.h"
#include "core/backup/ZipArchive.h"
#include "core/store/Paths.h"

#include <QFile>

#include <zip.h>

#include <cstdlib>
#include <vector>

using namespace zelmar;

namespace {

constexpr int kMaxNames = 8;

// Writes an archive of the names (each entry holding its name); false when the library
// refuses a name (a duplicate, an empty one).
bool writeArchive(const QString& path, const std::vector<QByteArray>& names, bool markUtf8) {
    int code = 0;
    zip_t* archive = zip_open(path.toLocal8Bit().constData(), ZIP_CREATE | ZIP_TRUNCATE, &code);
    if (!archive)
        std::abort();
    for (const QByteArray& name : names) {
        zip_source_t* source =
            zip_source_buffer(archive, name.constData(), static_cast<zip_uint64_t>(name.size()), 0);
        const zip_flags_t flags = markUtf8 ? ZIP_FL_ENC_UTF_8 : ZIP_FL_ENC_CP437;
        if (!source || zip_file_add(archive, name.constData(), source, flags) < 0) {
            if (source)
                zip_source_free(source);
            zip_discard(archive);
            return false;
        }
    }
    if (zip_close(archive) != 0) {
        zip_discard(archive);
        return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const fuzz::Workspace& workspace = fuzz::Workspace::instance();
    fuzz::Input input(data, size);
    const bool markUtf8 = input.byte() & 1;
    std::vector<QByteArray> names;
    for (const QByteArray& name : input.rest().split('\0')) {
        if (!name.isEmpty() && std::ssize(names) < kMaxNames)
            names.push_back(name);
    }
    if (names.empty())
        return 0;

    // The name as restore reads it, with and without the mark.
    const QString base = workspace.local(u"Baza");
    for (const QByteArray& raw : names) {
        for (const bool marked : {false, true}) {
            const QString name = decodeEntryName(raw, marked);
            if (!unsafeNameReason(name).isEmpty())
                continue;
            const QString target = resolveCaseInsensitive(base, name);
            if (!target.startsWith(base + u'/') || target.indexOf(u'/', base.size() + 1) >= 0)
                std::abort();
        }
    }

    const QString folder = workspace.scratchFolder();
    const QString archive = folder + QStringLiteral("/b0000001.zip");
    if (!writeArchive(archive, names, markUtf8))
        return 0;
    try {
        ZipReader reader(archive);
        if (reader.entries().size() != names.size())
            std::abort();
        for (const ZipReader::Entry& entry : reader.entries()) {
            const QByteArray& packed = names[static_cast<size_t>(entry.index)];
            if (entry.rawName != packed)
                std::abort();
            (void)unsafeNameReason(decodeEntryName(entry.rawName, entry.utf8));
            if (entry.folder)
                continue;
            const QString unpacked = folder + QStringLiteral("/%1").arg(entry.index);
            reader.extract(entry, unpacked);
            QFile file(unpacked);
            if (!file.open(QIODevice::ReadOnly) || file.readAll() != packed)
                std::abort();
        }
    } catch (const ZelmarError&) {
        std::abort();
    }
    return 0;
}
