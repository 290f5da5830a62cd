#pragma once

#include "core/platform/Errors.h"

#include <QByteArray>
#include <QString>

#include <functional>
#include <vector>

struct zip;

namespace zelmar {

// A failure the ZIP library reports, in the library's own words.
class ZipError : public ZelmarError {
public:
    using ZelmarError::ZelmarError;
};

// How far packing or unpacking has got: bytes of the current file and of all files.
using ZipProgress =
    std::function<void(qint64 fileDone, qint64 fileSize, qint64 allDone, qint64 allSize)>;

// A file to pack, and the name of its entry.
struct ZipInput {
    QString path;
    QString name;
};

// Writes a new archive at path (replacing any file there) with one entry per file, each
// deflated at the normal level, or stored when that is smaller. The archive is complete on
// return, not yet synced; on a failure nothing is left at path.
void writeZip(const QString& path, const std::vector<ZipInput>& files,
              const ZipProgress& progress = {});

// An archive opened for reading. Opening checks that the archive is whole (its directory
// agrees with its entries); unpacking an entry checks its data against its CRC.
class ZipReader {
public:
    struct Entry {
        qint64 index = 0;
        QByteArray rawName; // the name's bytes as stored
        bool utf8 = false;  // the name is marked as UTF-8
        qint64 size = 0;    // unpacked size, as the archive declares it
        bool link = false;  // a symbolic link
        bool folder = false;
        bool encrypted = false;
    };

    explicit ZipReader(const QString& path);
    ~ZipReader();
    ZipReader(const ZipReader&) = delete;
    ZipReader& operator=(const ZipReader&) = delete;

    const std::vector<Entry>& entries() const { return m_entries; }
    // Unpacks the entry into a new file at `to` and syncs it. Data that fails its CRC, or runs
    // beyond the declared size, throws (what was written is left for the caller to remove).
    void extract(const Entry& entry, const QString& to,
                 const std::function<void(qint64 done)>& progress = {});

private:
    zip* m_zip = nullptr;
    QString m_path;
    std::vector<Entry> m_entries;
};

} // namespace zelmar
