#include "core/store/SafeFile.h"

#include "core/store/FileSync.h"

#include "core/platform/Errors.h"
#include "core/store/Cp1251.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zelmar {

Replacement::Replacement(const QString& target)
    : m_target(target)
    , m_temp(target + QStringLiteral(".new")) {}

Replacement::~Replacement() {
    if (!m_committed)
        ::unlink(m_temp.toLocal8Bit().constData());
}

void keepRights(const QString& target, const QString& fresh) {
    struct stat old {};
    if (::stat(QFile::encodeName(target).constData(), &old) == 0)
        ::chmod(QFile::encodeName(fresh).constData(), old.st_mode & 07777);
}

void Replacement::commit() {
    keepRights(m_target, m_temp);
    renameOver(m_temp, m_target);
    m_committed = true;
}

RecordReplacement::RecordReplacement(RecordFile& kept, const QString& path)
    : m_kept(kept)
    , m_replacement(path)
    , m_fresh(kept.recordSize())
    , m_writer(m_fresh) {
    m_fresh.create(m_replacement.tempPath());
}

void RecordReplacement::commit() {
    m_writer.flush();
    m_fresh.sync();
    m_replacement.commit();
    m_kept.adopt(m_fresh, m_replacement.target());
}

void renameOver(const QString& from, const QString& to) {
    if (::rename(from.toLocal8Bit().constData(), to.toLocal8Bit().constData()) != 0)
        IoError::throwErrno(errno, to);
    syncFolderOf(to);
}

void writeFileAtomically(const QString& path, const QByteArray& bytes) {
    Replacement replacement(path);
    const QByteArray temp = replacement.tempPath().toLocal8Bit();
    const int fd = ::open(temp.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0)
        IoError::throwErrno(errno, path);
    try {
        writeAll(fd, bytes.constData(), bytes.size(), path);
        if (::fdatasync(fd) != 0)
            IoError::throwErrno(errno, path);
    } catch (...) {
        ::close(fd);
        throw;
    }
    if (::close(fd) != 0)
        IoError::throwErrno(errno, path);
    replacement.commit();
}

QByteArray encodeLines(const QStringList& lines) {
    QByteArray bytes;
    for (const QString& line : lines) {
        bytes += toCp1251(line);
        bytes += "\r\n";
    }
    return bytes;
}

QStringList decodeLines(const QByteArray& bytes) {
    QStringList lines;
    qsizetype start = 0;
    while (start < bytes.size()) {
        qsizetype end = bytes.indexOf('\n', start);
        const bool last = end < 0;
        if (last)
            end = bytes.size();
        qsizetype stop = end;
        if (stop > start && bytes.at(stop - 1) == '\r')
            --stop;
        lines.append(fromCp1251(bytes.constData() + start, stop - start));
        start = last ? bytes.size() : end + 1;
    }
    return lines;
}

void writeTextLines(const QString& path, const QStringList& lines) {
    writeFileAtomically(path, encodeLines(lines));
}

QStringList readTextLines(const QString& path) {
    const QByteArray native = path.toLocal8Bit();
    const int fd = ::open(native.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        IoError::throwErrno(errno, path);
    QByteArray bytes;
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            const int err = errno;
            ::close(fd);
            IoError::throwErrno(err, path);
        }
        if (n == 0)
            break;
        bytes.append(buffer, n);
    }
    ::close(fd);
    return decodeLines(bytes);
}

} // namespace zelmar
