#pragma once

#include <QString>

#include <stdexcept>

namespace zelmar {

// Every failure a command can meet is one of these; the command boundary of the windows shows
// text() in a message box and the command stops there.
class ZelmarError : public std::runtime_error {
public:
    explicit ZelmarError(const QString& text);
    const QString& text() const { return m_text; }

private:
    QString m_text;
};

// A failed operation on a file. The text is the standard one for the code ("File not found",
// "File access denied", "Disk full", ...); the path says which file, for the user.
class IoError : public ZelmarError {
public:
    // Codes of the standard texts; anything else is shown as "I/O error %d".
    enum Code {
        FileNotFound = 2,
        TooManyOpenFiles = 4,
        AccessDenied = 5,
        ReadBeyondEnd = 100,
        DiskFull = 101,
        FileNotOpen = 103,
        InvalidNumericInput = 106,
    };

    IoError(int code, const QString& path);
    int code() const { return m_code; }
    const QString& path() const { return m_path; }

    static QString standardText(int code);
    // The code for a system errno of a failed call.
    static int codeForErrno(int err);
    // Throws the IoError for errno after a failed call on path.
    [[noreturn]] static void throwErrno(int err, const QString& path);

private:
    int m_code;
    QString m_path;
};

// The reason of a failed file operation, in the user's words ("диск переполнен").
QString ioReason(const IoError& error);

// A text that should hold a number but does not: "'%s' is not a valid integer value".
class ConvertError : public ZelmarError {
public:
    using ZelmarError::ZelmarError;
    static ConvertError notInteger(const QString& text);
    static ConvertError notDate(const QString& text);
};

// Reads a whole decimal integer (leading and trailing blanks allowed, as the card editor's
// number boxes do) or throws ConvertError.
int toInteger(const QString& text);

} // namespace zelmar
