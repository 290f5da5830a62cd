#include "core/documents/RtfTokens.h"

#include "core/documents/DocumentError.h"

namespace zelmar {

namespace {

bool isLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
bool isDigit(char c) {
    return c >= '0' && c <= '9';
}
int hexValue(char c) {
    if (isDigit(c))
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

} // namespace

bool looksLikeRtf(QByteArrayView bytes) {
    return bytes.startsWith("{\\rtf");
}

std::vector<RtfToken> tokenizeRtf(const QByteArray& rtf, const QString& what) {
    if (!looksLikeRtf(rtf))
        throw DocumentError(QStringLiteral("Файл «%1» не является документом RTF.").arg(what));
    std::vector<RtfToken> tokens;
    tokens.reserve(static_cast<size_t>(rtf.size() / 6));
    const char* s = rtf.constData();
    const qsizetype n = rtf.size();
    qsizetype i = 0;
    int depth = 0;
    bool closed = false;
    while (i < n) {
        RtfToken t{};
        t.begin = i;
        const char c = s[i];
        if (closed) {
            // Editors leave blanks, line ends or a zero byte after the last brace.
            if (c != '\0' && c != ' ' && c != '\r' && c != '\n' && c != '\t')
                throw DocumentError(
                    QStringLiteral("Документ «%1» повреждён: текст после конца документа.")
                        .arg(what));
            t.kind = RtfToken::Newline;
            t.end = ++i;
        } else if (c == '{') {
            t.kind = RtfToken::GroupStart;
            t.end = ++i;
            ++depth;
        } else if (c == '}') {
            t.kind = RtfToken::GroupEnd;
            t.end = ++i;
            if (--depth == 0)
                closed = true;
        } else if (c == '\r' || c == '\n') {
            t.kind = RtfToken::Newline;
            t.end = ++i;
        } else if (c == '\\') {
            ++i;
            if (i >= n)
                break;
            const char d = s[i];
            if (isLetter(d)) {
                const qsizetype nameStart = i;
                while (i < n && isLetter(s[i]) && i - nameStart < 32)
                    ++i;
                t.kind = RtfToken::ControlWord;
                t.name = QByteArrayView(s + nameStart, i - nameStart);
                const qsizetype paramStart = i;
                if (i < n && s[i] == '-' && i + 1 < n && isDigit(s[i + 1]))
                    ++i;
                qint64 value = 0;
                while (i < n && isDigit(s[i]) && i - paramStart < 11) {
                    value = value * 10 + (s[i] - '0');
                    ++i;
                }
                if (i > paramStart) {
                    t.hasParam = true;
                    const bool negative = s[paramStart] == '-';
                    value = std::min<qint64>(value, 0x7fffffff);
                    t.param = static_cast<int>(negative ? -value : value);
                }
                if (i < n && s[i] == ' ')
                    ++i;
                else
                    t.open = true;
                t.end = i;
                if (t.name == "bin" && t.hasParam && t.param > 0) {
                    tokens.push_back(t);
                    RtfToken data{};
                    data.kind = RtfToken::Binary;
                    data.begin = i;
                    i = std::min<qsizetype>(n, i + t.param);
                    data.end = i;
                    tokens.push_back(data);
                    continue;
                }
            } else if (d == '\'' && i + 2 < n && hexValue(s[i + 1]) >= 0 &&
                       hexValue(s[i + 2]) >= 0) {
                t.kind = RtfToken::Hex;
                t.byte = static_cast<unsigned char>(hexValue(s[i + 1]) * 16 + hexValue(s[i + 2]));
                i += 3;
                t.end = i;
            } else {
                t.kind = RtfToken::ControlSymbol;
                t.byte = static_cast<unsigned char>(d);
                t.end = ++i;
            }
        } else {
            t.kind = RtfToken::Text;
            while (i < n && s[i] != '\\' && s[i] != '{' && s[i] != '}' && s[i] != '\r' &&
                   s[i] != '\n')
                ++i;
            t.end = i;
        }
        if (depth < 0)
            throw DocumentError(
                QStringLiteral("Документ «%1» повреждён: лишняя закрывающая скобка.").arg(what));
        tokens.push_back(t);
    }
    if (depth != 0 || !closed)
        throw DocumentError(
            QStringLiteral("Документ «%1» повреждён: не хватает закрывающей скобки.").arg(what));
    return tokens;
}

} // namespace zelmar
