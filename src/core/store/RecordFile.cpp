#include "core/store/RecordFile.h"

#include "core/platform/Errors.h"

#include <QFileInfo>

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>
#include <vector>

namespace zelmar {

namespace {

QByteArray nativePath(const QString& path) {
    return path.toLocal8Bit();
}

// pread/pwrite of a whole block, retried on interruption and short transfers.
qint64 readFully(int fd, char* buffer, qint64 size, qint64 offset) {
    qint64 done = 0;
    while (done < size) {
        const ssize_t n = ::pread(fd, buffer + done, static_cast<size_t>(size - done),
                                  static_cast<off_t>(offset + done));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return -1;
        }
        if (n == 0)
            break;
        done += n;
    }
    return done;
}

} // namespace

bool fileExists(const QString& path) {
    return QFileInfo(path).isFile();
}

RecordFile::RecordFile(int recordSize)
    : m_recordSize(recordSize) {}

RecordFile::~RecordFile() {
    if (m_fd >= 0)
        ::close(m_fd);
}

void RecordFile::openFd(const QString& path, int flags) {
    if (m_fd >= 0)
        close();
    m_path = path;
    const int fd = ::open(nativePath(path).constData(), flags | O_CLOEXEC, 0666);
    if (fd < 0)
        IoError::throwErrno(errno, path);
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        const int err = errno;
        ::close(fd);
        IoError::throwErrno(err, path);
    }
    if (S_ISDIR(st.st_mode)) {
        ::close(fd);
        throw IoError(IoError::AccessDenied, path);
    }
    m_fd = fd;
    m_bytes = st.st_size;
    m_pos = 0;
    ++m_openings;
}

void RecordFile::openForUpdate(const QString& path) {
    openFd(path, O_RDWR);
}

void RecordFile::openForReading(const QString& path) {
    openFd(path, O_RDONLY);
}

void RecordFile::create(const QString& path) {
    openFd(path, O_RDWR | O_CREAT | O_TRUNC);
}

void RecordFile::adopt(RecordFile& other, const QString& path) {
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = std::exchange(other.m_fd, -1);
    m_bytes = std::exchange(other.m_bytes, 0);
    m_pos = 0;
    m_path = path;
    other.m_pos = 0;
    ++m_openings;
}

void RecordFile::close() {
    if (m_fd < 0)
        return;
    const int fd = m_fd;
    m_fd = -1;
    m_bytes = 0;
    m_pos = 0;
    if (::close(fd) != 0 && errno != EINTR)
        IoError::throwErrno(errno, m_path);
}

void RecordFile::requireOpen() const {
    if (m_fd < 0)
        throw IoError(IoError::FileNotOpen, m_path);
}

qint64 RecordFile::size() const {
    requireOpen();
    return m_bytes / m_recordSize;
}

qint64 RecordFile::tailBytes() const {
    requireOpen();
    return m_bytes % m_recordSize;
}

qint64 RecordFile::pos() const {
    requireOpen();
    return m_pos;
}

void RecordFile::seek(qint64 record) {
    requireOpen();
    if (record < 0 || record > size())
        throw IoError(IoError::ReadBeyondEnd, m_path);
    m_pos = record;
}

void RecordFile::read(void* record) {
    readRecords(pos(), 1, record);
    ++m_pos;
}

void RecordFile::readRecords(qint64 first, qint64 count, void* buffer) const {
    requireOpen();
    if (first < 0 || count < 0 || first + count > size())
        throw IoError(IoError::ReadBeyondEnd, m_path);
    const qint64 bytes = count * m_recordSize;
    const qint64 got = readFully(m_fd, static_cast<char*>(buffer), bytes, first * m_recordSize);
    if (got < 0)
        IoError::throwErrno(errno, m_path);
    if (got < bytes)
        throw IoError(IoError::ReadBeyondEnd, m_path);
}

void RecordFile::write(const void* record) {
    writeRecords(record, 1);
}

void RecordFile::writeRecords(const void* buffer, qint64 count) {
    requireOpen();
    const qint64 offset = m_pos * m_recordSize;
    const qint64 total = count * m_recordSize;
    const char* bytes = static_cast<const char*>(buffer);
    qint64 done = 0;
    // Records written over keep their old bytes until the write is through: a write that
    // stops halfway (a file size limit, an I/O error) puts them back, and takes back what it
    // added to the file, so the file only ever holds whole records - the old ones or the new.
    const qint64 overlap = std::clamp<qint64>(m_bytes - offset, 0, total);
    QByteArray old;
    if (overlap > 0) {
        old.resize(overlap);
        if (readFully(m_fd, old.data(), overlap, offset) != overlap)
            IoError::throwErrno(errno != 0 ? errno : EIO, m_path);
    }
    const auto fail = [&](int code) {
        const qint64 spoiled = std::min(done, overlap);
        for (qint64 back = 0; back < spoiled;) {
            const ssize_t n =
                ::pwrite(m_fd, old.constData() + back, static_cast<size_t>(spoiled - back),
                         static_cast<off_t>(offset + back));
            if (n <= 0 && errno != EINTR)
                break;
            back += std::max<ssize_t>(n, 0);
        }
        if (offset + done > m_bytes) {
            const int cut = ::ftruncate(m_fd, static_cast<off_t>(m_bytes));
            (void)cut;
        }
        throw IoError(code, m_path);
    };
    while (done < total) {
        const ssize_t n = ::pwrite(m_fd, bytes + done, static_cast<size_t>(total - done),
                                   static_cast<off_t>(offset + done));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            fail(IoError::codeForErrno(errno));
        }
        if (n == 0)
            fail(IoError::DiskFull);
        done += n;
    }
    m_bytes = std::max(m_bytes, offset + total);
    m_pos += count;
}

void RecordFile::truncate() {
    requireOpen();
    const qint64 bytes = m_pos * m_recordSize;
    if (::ftruncate(m_fd, static_cast<off_t>(bytes)) != 0)
        IoError::throwErrno(errno, m_path);
    m_bytes = bytes;
}

void RecordFile::sync() {
    requireOpen();
    if (::fdatasync(m_fd) != 0)
        IoError::throwErrno(errno, m_path);
}

void RecordFile::forEach(const std::function<void(qint64, const char*)>& visit) {
    requireOpen();
    const qint64 total = size();
    constexpr qint64 kBlockBytes = 1 << 20;
    const qint64 perBlock = std::max<qint64>(1, kBlockBytes / m_recordSize);
    std::vector<char> block(static_cast<size_t>(perBlock * m_recordSize));
    ::posix_fadvise(m_fd, 0, 0, POSIX_FADV_SEQUENTIAL);
    for (qint64 first = 0; first < total; first += perBlock) {
        const qint64 count = std::min(perBlock, total - first);
        readRecords(first, count, block.data());
        for (qint64 i = 0; i < count; ++i)
            visit(first + i, block.data() + i * m_recordSize);
    }
    m_pos = total;
}

} // namespace zelmar

namespace zelmar {

BlockWriter::BlockWriter(RecordFile& file)
    : m_file(file) {
    m_buffer.reserve(1 << 20);
}

void BlockWriter::add(const void* record) {
    m_buffer.append(static_cast<const char*>(record), m_file.recordSize());
    ++m_count;
    if (m_buffer.size() >= (1 << 20))
        flush();
}

void BlockWriter::flush() {
    if (m_count > 0)
        m_file.writeRecords(m_buffer.constData(), m_count);
    m_buffer.clear();
    m_count = 0;
}

} // namespace zelmar
