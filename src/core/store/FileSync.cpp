#include "core/store/FileSync.h"

#include "core/platform/Errors.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace zelmar {

void syncFolder(const QString& folder) {
    const int fd =
        ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    ::fsync(fd);
    ::close(fd);
}

void syncFolderOf(const QString& path) {
    syncFolder(QFileInfo(path).absolutePath());
}

void failWritesBeyondFileSizeLimit() {
    std::signal(SIGXFSZ, SIG_IGN);
}

void syncFile(const QString& path) {
    const int fd = ::open(path.toLocal8Bit().constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        IoError::throwErrno(errno, path);
    const int result = ::fsync(fd);
    const int err = errno;
    ::close(fd);
    if (result != 0)
        IoError::throwErrno(err, path);
}

void writeAll(int fd, const char* bytes, qint64 size, const QString& path) {
    qint64 done = 0;
    while (done < size) {
        const ssize_t n = ::write(fd, bytes + done, static_cast<size_t>(size - done));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            IoError::throwErrno(errno, path);
        }
        if (n == 0)
            throw IoError(IoError::DiskFull, path);
        done += n;
    }
}

} // namespace zelmar
