#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace zelmar {

// A whole-file rewrite that never leaves the old file gone and the new one not in place: the
// new contents are written to a file beside the target, synced, and renamed over the target;
// then the folder is synced. Until commit() the target is untouched; a replacement dropped
// without commit() removes its temporary file.
class Replacement {
public:
    explicit Replacement(const QString& target);
    ~Replacement();
    Replacement(const Replacement&) = delete;
    Replacement& operator=(const Replacement&) = delete;

    const QString& tempPath() const { return m_temp; }
    const QString& target() const { return m_target; }
    // Renames the (closed, synced) temporary file over the target.
    void commit();

private:
    QString m_target;
    QString m_temp;
    bool m_committed = false;
};

// Writes bytes as the whole new contents of a file, through a Replacement.
void writeFileAtomically(const QString& path, const QByteArray& bytes);

// Renames a file over another one (atomically) and syncs the folder.
void renameOver(const QString& from, const QString& to);

// Text files of the register: Windows-1251, every line ended by CR LF.
QByteArray encodeLines(const QStringList& lines);
// Lines ended by CR LF or by LF alone; a last line without an ending counts too.
QStringList decodeLines(const QByteArray& bytes);
void writeTextLines(const QString& path, const QStringList& lines);
// Throws IoError("File not found") when the file is missing.
QStringList readTextLines(const QString& path);

} // namespace zelmar

#include "core/store/RecordFile.h"

#include <vector>

namespace zelmar {

// Replaces the whole contents of a record file kept open by the register: the new file is
// written beside it, synced and renamed over it, and the file is open on it afterwards. On a
// failure the old contents stay and the file is open on them again.
template <class T>
void replaceRecords(TypedFile<T>& file, const QString& path, const std::vector<T>& records) {
    file.close();
    try {
        Replacement replacement(path);
        TypedFile<T> fresh;
        fresh.create(replacement.tempPath());
        for (const T& record : records)
            fresh.write(record);
        fresh.sync();
        fresh.close();
        replacement.commit();
    } catch (...) {
        if (fileExists(path))
            file.openForUpdate(path);
        throw;
    }
    file.openForUpdate(path);
}

} // namespace zelmar
