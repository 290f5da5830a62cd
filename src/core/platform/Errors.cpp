#include "core/platform/Errors.h"

#include <cerrno>
#include <climits>

namespace zelmar {

ZelmarError::ZelmarError(const QString& text)
    : std::runtime_error(text.toStdString())
    , m_text(text) {}

IoError::IoError(int code, const QString& path)
    : ZelmarError(standardText(code))
    , m_code(code)
    , m_path(path) {}

QString IoError::standardText(int code) {
    switch (code) {
    case FileNotFound:
        return QStringLiteral("File not found");
    case TooManyOpenFiles:
        return QStringLiteral("Too many open files");
    case AccessDenied:
        return QStringLiteral("File access denied");
    case ReadBeyondEnd:
        return QStringLiteral("Read beyond end of file");
    case DiskFull:
        return QStringLiteral("Disk full");
    case FileNotOpen:
        return QStringLiteral("File not open");
    case InvalidNumericInput:
        return QStringLiteral("Invalid numeric input");
    default:
        return QStringLiteral("I/O error %1").arg(code);
    }
}

int IoError::codeForErrno(int err) {
    switch (err) {
    case ENOENT:
    case ENOTDIR:
        return FileNotFound;
    case EMFILE:
    case ENFILE:
        return TooManyOpenFiles;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
        return AccessDenied;
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
        return DiskFull;
    default:
        return err;
    }
}

void IoError::throwErrno(int err, const QString& path) {
    throw IoError(codeForErrno(err), path);
}

QString ioReason(const IoError& error) {
    switch (error.code()) {
    case IoError::FileNotFound:
        return QStringLiteral("файл или папка не найдены");
    case IoError::AccessDenied:
        return QStringLiteral("нет доступа");
    case IoError::DiskFull:
        return QStringLiteral("диск переполнен");
    case IoError::TooManyOpenFiles:
        return QStringLiteral("слишком много открытых файлов");
    case IoError::ReadBeyondEnd:
        return QStringLiteral("файл короче, чем нужно");
    default:
        return QStringLiteral("ошибка ввода-вывода %1").arg(error.code());
    }
}

ConvertError ConvertError::notInteger(const QString& text) {
    return ConvertError(QStringLiteral("'%1' is not a valid integer value").arg(text));
}

ConvertError ConvertError::notDate(const QString& text) {
    return ConvertError(QStringLiteral("'%1' is not a valid date").arg(text));
}

int toInteger(const QString& text) {
    bool ok = false;
    const qlonglong value = text.trimmed().toLongLong(&ok, 10);
    if (!ok || value < INT_MIN || value > INT_MAX)
        throw ConvertError::notInteger(text);
    return static_cast<int>(value);
}

} // namespace zelmar
