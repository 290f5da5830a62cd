#include "core/platform/InstanceLock.h"

#include <QDir>
#include <QFile>
#include <QStringList>
#include <QSysInfo>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zelmar {

namespace {

int g_failLocks = 0;

// The whole file, as one lock.
struct flock wholeFile(short type) {
    struct flock region {};
    region.l_type = type;
    region.l_whence = SEEK_SET;
    region.l_start = 0;
    region.l_len = 0;
    return region;
}

int lockCall(int fd, int command, struct flock* region) {
    if (g_failLocks != 0) {
        errno = g_failLocks;
        return -1;
    }
    int result;
    do {
        result = ::fcntl(fd, command, region);
    } while (result < 0 && errno == EINTR);
    return result;
}

QString userName() {
    if (const struct passwd* entry = ::getpwuid(::geteuid()); entry && entry->pw_name)
        return QString::fromLocal8Bit(entry->pw_name);
    return QString::number(::geteuid());
}

// What the holder writes into the lock file for whoever is refused.
QByteArray holderRecord(const QString& program) {
    const QStringList lines = {
        QStringLiteral("program=") + program,
        QStringLiteral("user=") + userName(),
        QStringLiteral("host=") + QSysInfo::machineHostName(),
        QStringLiteral("pid=") + QString::number(::getpid()),
        QStringLiteral("since=") + QDateTime::currentDateTime().toString(Qt::ISODate),
    };
    return lines.join(QLatin1Char('\n')).toUtf8() + '\n';
}

std::optional<LockHolder> readHolder(int fd) {
    char buffer[1024];
    ssize_t n;
    do {
        n = ::pread(fd, buffer, sizeof buffer, 0);
    } while (n < 0 && errno == EINTR);
    if (n <= 0)
        return std::nullopt;
    LockHolder holder;
    const QString text = QString::fromUtf8(buffer, n);
    for (const QString& line : text.split(QLatin1Char('\n'))) {
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (equals < 0)
            continue;
        const QStringView key = QStringView(line).left(equals);
        const QString value = line.mid(equals + 1).trimmed();
        if (key == u"program")
            holder.program = value;
        else if (key == u"user")
            holder.user = value;
        else if (key == u"host")
            holder.host = value;
        else if (key == u"pid")
            holder.pid = value.toLongLong();
        else if (key == u"since")
            holder.since = QDateTime::fromString(value, Qt::ISODate);
    }
    return holder;
}

QString heldText(const QString& root, const std::optional<LockHolder>& holder) {
    QString text = QStringLiteral("С папкой %1 уже работает ").arg(QDir::toNativeSeparators(root));
    if (!holder || holder->user.isEmpty())
        return text + QStringLiteral("другая программа Zelmar.");
    return text + describeHolder(*holder) + QLatin1Char('.');
}

} // namespace

void failInstallationLocksWith(int error) {
    g_failLocks = error;
}

InstallationLock::~InstallationLock() {
    // Closing the only descriptor of the open file releases the lock; the file stays, so a
    // program refused at this moment never finds it missing.
    ::close(m_fd);
}

QString installationLockPath(const QString& root) {
    return root + QStringLiteral("/zelmar.lock");
}

QString describeHolder(const LockHolder& holder) {
    QString text = QStringLiteral("пользователь %1 на компьютере %2").arg(holder.user, holder.host);
    if (holder.since.isValid())
        text +=
            QStringLiteral(" с %1").arg(holder.since.toString(QStringLiteral("dd.MM.yyyy hh:mm")));
    text += QStringLiteral(" (%1, процесс %2)")
                .arg(holder.program.isEmpty() ? QStringLiteral("zelmar") : holder.program)
                .arg(holder.pid);
    return text;
}

LockAttempt lockInstallation(const QString& root, const QString& program) {
    LockAttempt attempt;
    const QString path = installationLockPath(root);
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (fd < 0) {
        attempt.refusal =
            QStringLiteral("Не удалось открыть файл блокировки %1: %2. Программа не может "
                           "проверить, не работает ли с папкой кто-то ещё, и не запускается.")
                .arg(QDir::toNativeSeparators(path), QString::fromLocal8Bit(std::strerror(errno)));
        return attempt;
    }
    struct flock region = wholeFile(F_WRLCK);
    if (lockCall(fd, F_OFD_SETLK, &region) != 0) {
        const int error = errno;
        if (error == EAGAIN || error == EACCES) {
            attempt.holder = readHolder(fd);
            attempt.refusal = heldText(root, attempt.holder);
        } else {
            attempt.refusal =
                QStringLiteral("Папка %1 лежит на файловой системе, которая не поддерживает "
                               "блокировку файлов (%2). Две программы могли бы одновременно "
                               "менять картотеку и терять карточки, поэтому работа с этой "
                               "папкой невозможна. Перенесите папку на локальный диск или на "
                               "сетевой ресурс с блокировками.")
                    .arg(QDir::toNativeSeparators(root),
                         QString::fromLocal8Bit(std::strerror(error)));
        }
        ::close(fd);
        return attempt;
    }
    // Ours: tell whoever comes next who we are. The lock holds even if this cannot be written.
    const QByteArray record = holderRecord(program);
    if (::ftruncate(fd, 0) == 0) {
        const ssize_t written = ::pwrite(fd, record.constData(), record.size(), 0);
        (void)written;
    }
    attempt.lock.reset(new InstallationLock(fd));
    return attempt;
}

std::optional<LockHolder> installationLockHolder(const QString& root) {
    const int fd =
        ::open(QFile::encodeName(installationLockPath(root)).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return std::nullopt;
    // A read lock conflicts with the holder's write lock; nothing is taken.
    struct flock region = wholeFile(F_RDLCK);
    std::optional<LockHolder> holder;
    if (lockCall(fd, F_OFD_GETLK, &region) == 0 && region.l_type != F_UNLCK)
        holder = readHolder(fd).value_or(LockHolder{});
    ::close(fd);
    return holder;
}

} // namespace zelmar
