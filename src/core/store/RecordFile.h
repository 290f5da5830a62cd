#pragma once

#include <QByteArray>
#include <QString>

#include <functional>

namespace zelmar {

// A typed file of fixed records with no header: card files (1208), the officials table (52),
// the users file (48), the template list (448). Records are read and written by number at the
// file's position, as the register's algorithms describe; writing at the count appends. Every
// failure throws IoError with the standard text.
//
// A file whose size is not a whole number of records (a torn tail after a crash or a copy cut
// short) yields its whole records; tailBytes() tells how many bytes lie behind them, reading
// the torn record throws "Read beyond end of file", and the next append overwrites it.
class RecordFile {
public:
    explicit RecordFile(int recordSize);
    ~RecordFile();
    RecordFile(const RecordFile&) = delete;
    RecordFile& operator=(const RecordFile&) = delete;

    // Opens an existing file for reading and writing.
    void openForUpdate(const QString& path);
    // Opens an existing file for reading only (a check or an export, which change nothing).
    void openForReading(const QString& path);
    // Creates the file empty, or truncates it.
    void create(const QString& path);
    // Goes on with the file other has open, which now stands under path (it was renamed
    // there): no new opening, so nothing can fail once the rename is done. other is closed.
    void adopt(RecordFile& other, const QString& path);
    void close();
    bool isOpen() const { return m_fd >= 0; }

    const QString& path() const { return m_path; }
    int recordSize() const { return m_recordSize; }
    // Counts the openings: what a reader remembered about the file holds while it is the same.
    quint64 openings() const { return m_openings; }

    // Whole records in the file.
    qint64 size() const;
    qint64 tailBytes() const;
    qint64 pos() const;
    bool eof() const { return pos() >= size(); }

    // Positions at a record number, 0..size().
    void seek(qint64 record);
    // Reads the record at the position; the position advances by one.
    void read(void* record);
    // Writes the record at the position (at size(): appends); the position advances by one.
    void write(const void* record);
    // Writes count records from buffer at the position; the position advances by count. A
    // failed write leaves the file no longer than it was.
    void writeRecords(const void* buffer, qint64 count);
    // Cuts the file at the position.
    void truncate();
    // Makes what was written durable on disk.
    void sync();

    // Reads count records from first on into buffer; the position is not moved.
    void readRecords(qint64 first, qint64 count, void* buffer) const;
    // Calls visit(recordNumber, bytes) for every whole record in order, reading in large
    // blocks; the position is left at the end.
    void forEach(const std::function<void(qint64, const char*)>& visit);

private:
    void requireOpen() const;
    void openFd(const QString& path, int flags);

    int m_recordSize;
    int m_fd = -1;
    QString m_path;
    qint64 m_bytes = 0;
    qint64 m_pos = 0;
    quint64 m_openings = 0;
};

// A record file of one record type.
template <class T>
class TypedFile : public RecordFile {
public:
    TypedFile()
        : RecordFile(static_cast<int>(sizeof(T))) {}
    void read(T& record) { RecordFile::read(&record); }
    T read() {
        T record;
        RecordFile::read(&record);
        return record;
    }
    void write(const T& record) { RecordFile::write(&record); }
    T readAt(qint64 number) const {
        T record;
        readRecords(number, 1, &record);
        return record;
    }
};

bool fileExists(const QString& path);

} // namespace zelmar

namespace zelmar {

// Gathers records written one after another and writes them in large blocks at the file's
// position. flush() must be called at the end.
class BlockWriter {
public:
    explicit BlockWriter(RecordFile& file);
    void add(const void* record);
    void flush();

private:
    RecordFile& m_file;
    QByteArray m_buffer;
    qint64 m_count = 0;
};

} // namespace zelmar
