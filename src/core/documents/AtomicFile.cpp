#include "core/documents/AtomicFile.h"

#include "core/platform/Errors.h"
#include "core/store/FileSync.h"
#include "core/store/SafeFile.h"

#include <QFileInfo>

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace zelmar {

namespace {

constexpr qsizetype kBufferSize = 1 << 18;

} // namespace

AtomicFile::AtomicFile(const QString& target)
    : m_target(target)
    , m_temp(target + QStringLiteral(".new")) {
    const QByteArray temp = m_temp.toLocal8Bit();
    m_fd = ::open(temp.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (m_fd < 0)
        IoError::throwErrno(errno, target);
    m_buffer.reserve(kBufferSize);
    QIODevice::open(QIODevice::WriteOnly);
}

AtomicFile::~AtomicFile() {
    if (m_fd >= 0)
        ::close(m_fd);
    if (!m_committed)
        ::unlink(m_temp.toLocal8Bit().constData());
}

qint64 AtomicFile::readData(char*, qint64) {
    return -1;
}

qint64 AtomicFile::writeData(const char* data, qint64 size) {
    if (m_errno != 0)
        return -1;
    m_buffer.append(data, size);
    if (m_buffer.size() >= kBufferSize && !flushBuffer())
        return -1;
    return size;
}

bool AtomicFile::flushBuffer() {
    qsizetype done = 0;
    while (done < m_buffer.size()) {
        const ssize_t n =
            ::write(m_fd, m_buffer.constData() + done, static_cast<size_t>(m_buffer.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            m_errno = n < 0 ? errno : ENOSPC;
            m_buffer.clear();
            return false;
        }
        done += n;
    }
    m_buffer.clear();
    return true;
}

void AtomicFile::commit(bool replace) {
    if (m_errno == 0 && flushBuffer() && ::fdatasync(m_fd) != 0)
        m_errno = errno;
    if (m_errno != 0)
        IoError::throwErrno(m_errno, m_target);
    const int fd = m_fd;
    m_fd = -1;
    if (::close(fd) != 0)
        IoError::throwErrno(errno, m_target);
    QIODevice::close();
    if (replace) {
        keepRights(m_target, m_temp);
        renameOver(m_temp, m_target);
    } else {
        if (::link(m_temp.toLocal8Bit().constData(), m_target.toLocal8Bit().constData()) != 0)
            IoError::throwErrno(errno, m_target);
        ::unlink(m_temp.toLocal8Bit().constData());
        syncFolderOf(m_target);
    }
    m_committed = true;
}

void publishNew(const QString& finished, const QString& target) {
    const QByteArray from = finished.toLocal8Bit();
    const int fd = ::open(from.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        IoError::throwErrno(errno, target);
    const bool synced = ::fsync(fd) == 0;
    const int err = errno;
    ::close(fd);
    if (!synced)
        IoError::throwErrno(err, target);
    if (::link(from.constData(), target.toLocal8Bit().constData()) != 0)
        IoError::throwErrno(errno, target);
    ::unlink(from.constData());
    syncFolderOf(target);
}

void writeOrThrow(QIODevice& device, QByteArrayView bytes, const QString& path) {
    if (device.write(bytes.data(), bytes.size()) == bytes.size())
        return;
    const auto* file = dynamic_cast<const AtomicFile*>(&device);
    if (file && file->failure() != 0)
        IoError::throwErrno(file->failure(), path);
    throw IoError(IoError::DiskFull, path);
}

} // namespace zelmar
