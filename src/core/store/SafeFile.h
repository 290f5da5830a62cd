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

// A file written beside target to replace it gets target's rights (a folder an administrator
// shares with a group stays shared); nothing when target does not exist yet.
void keepRights(const QString& target, const QString& fresh);

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

// The new contents of the record file at path, which the register keeps open in kept, written
// beside it. commit() renames them over the file and kept goes on with them, without opening
// anything anew; dropped without commit(), kept and the file stay as they were.
class RecordReplacement {
public:
    RecordReplacement(RecordFile& kept, const QString& path);
    RecordReplacement(const RecordReplacement&) = delete;
    RecordReplacement& operator=(const RecordReplacement&) = delete;

    void add(const void* record) { m_writer.add(record); }
    // Everything added reaches the disk; then the new contents take the kept file's place.
    void commit();

private:
    RecordFile& m_kept;
    Replacement m_replacement;
    RecordFile m_fresh;
    BlockWriter m_writer;
};

// Replaces the whole contents of a record file kept open by the register. On a failure the
// old contents stay, and the file stays open on them.
template <class T>
void replaceRecords(TypedFile<T>& file, const QString& path, const std::vector<T>& records) {
    RecordReplacement replacement(file, path);
    for (const T& record : records)
        replacement.add(&record);
    replacement.commit();
}

} // namespace zelmar
