#include "core/backup/EntryNames.h"

#include "core/store/Cp1251.h"

#include <QRegularExpression>
#include <QStringDecoder>

#include <array>

namespace zelmar {

namespace {

// Bytes 128..255 of CP866: the Russian alphabet, the box-drawing characters of DOS, the
// Ukrainian and Belarusian letters and a few signs.
constexpr std::array<char16_t, 128> kCp866High = {
    // 0x80: А..П
    0x0410, 0x0411, 0x0412, 0x0413, 0x0414, 0x0415, 0x0416, 0x0417, 0x0418, 0x0419, 0x041A, 0x041B,
    0x041C, 0x041D, 0x041E, 0x041F,
    // 0x90: Р..Я
    0x0420, 0x0421, 0x0422, 0x0423, 0x0424, 0x0425, 0x0426, 0x0427, 0x0428, 0x0429, 0x042A, 0x042B,
    0x042C, 0x042D, 0x042E, 0x042F,
    // 0xA0: а..п
    0x0430, 0x0431, 0x0432, 0x0433, 0x0434, 0x0435, 0x0436, 0x0437, 0x0438, 0x0439, 0x043A, 0x043B,
    0x043C, 0x043D, 0x043E, 0x043F,
    // 0xB0: box drawing
    0x2591, 0x2592, 0x2593, 0x2502, 0x2524, 0x2561, 0x2562, 0x2556, 0x2555, 0x2563, 0x2551, 0x2557,
    0x255D, 0x255C, 0x255B, 0x2510,
    // 0xC0
    0x2514, 0x2534, 0x252C, 0x251C, 0x2500, 0x253C, 0x255E, 0x255F, 0x255A, 0x2554, 0x2569, 0x2566,
    0x2560, 0x2550, 0x256C, 0x2567,
    // 0xD0
    0x2568, 0x2564, 0x2565, 0x2559, 0x2558, 0x2552, 0x2553, 0x256B, 0x256A, 0x2518, 0x250C, 0x2588,
    0x2584, 0x258C, 0x2590, 0x2580,
    // 0xE0: р..я
    0x0440, 0x0441, 0x0442, 0x0443, 0x0444, 0x0445, 0x0446, 0x0447, 0x0448, 0x0449, 0x044A, 0x044B,
    0x044C, 0x044D, 0x044E, 0x044F,
    // 0xF0
    0x0401, 0x0451, 0x0404, 0x0454, 0x0407, 0x0457, 0x040E, 0x045E, 0x00B0, 0x2219, 0x00B7, 0x221A,
    0x2116, 0x00A4, 0x25A0, 0x00A0};

// Russian letters a text holds.
int russianLetters(const QString& text) {
    int letters = 0;
    for (const QChar ch : text) {
        const char16_t c = ch.unicode();
        if ((c >= 0x0410 && c <= 0x044F) || c == 0x0401 || c == 0x0451)
            ++letters;
    }
    return letters;
}

bool validUtf8(const QByteArray& bytes, QString& text) {
    QStringDecoder decoder(QStringDecoder::Utf8);
    text = decoder.decode(bytes);
    return !decoder.hasError();
}

} // namespace

QString fromCp866(const QByteArray& bytes) {
    QString text;
    text.reserve(bytes.size());
    for (const char byte : bytes) {
        const auto b = static_cast<unsigned char>(byte);
        text.append(b < 0x80 ? QChar(char16_t(b)) : QChar(kCp866High[b - 0x80]));
    }
    return text;
}

QString decodeEntryName(const QByteArray& raw, bool markedUtf8) {
    QString utf8;
    if (validUtf8(raw, utf8) && (markedUtf8 || utf8.size() < raw.size()))
        return utf8;
    if (markedUtf8)
        return utf8; // damaged UTF-8: the replacement characters show where
    const QString dos = fromCp866(raw);
    const QString windows = fromCp1251(raw);
    return russianLetters(windows) > russianLetters(dos) ? windows : dos;
}

QString unsafeNameReason(const QString& name) {
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String(".."))
        return QStringLiteral("недопустимое имя");
    if (name.startsWith(QLatin1Char('/')) || name.startsWith(QLatin1Char('\\')))
        return QStringLiteral("полный путь");
    if (name.size() >= 2 && name.at(1) == QLatin1Char(':'))
        return QStringLiteral("имя диска");
    for (const QString& part : name.split(QRegularExpression(QStringLiteral("[/\\\\]")))) {
        if (part == QLatin1String(".."))
            return QStringLiteral("выход из папки (..)");
    }
    if (name.contains(QLatin1Char('/')) || name.contains(QLatin1Char('\\')))
        return QStringLiteral("файл во вложенной папке");
    for (const QChar ch : name) {
        if (ch.unicode() < 0x20 || ch == QLatin1Char(':'))
            return QStringLiteral("недопустимый символ в имени");
    }
    return {};
}

} // namespace zelmar
