#include "core/documents/RtfWriter.h"

#include "core/documents/AtomicFile.h"
#include "core/store/Cp1251.h"

namespace zelmar {

namespace {

constexpr qsizetype kFlushSize = 1 << 20;

bool runsIntoControlWord(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' ||
           c == ' ';
}

} // namespace

RtfWriter::RtfWriter(QIODevice& device, const QString& path)
    : m_device(device)
    , m_path(path) {
    m_buffer.reserve(kFlushSize + 4096);
    setFallbackCount(1);
}

void RtfWriter::raw(QByteArrayView bytes, bool endsOpen) {
    if (bytes.isEmpty())
        return;
    startText(bytes.front());
    m_buffer.append(bytes);
    m_open = endsOpen;
    flushIfFull();
}

void RtfWriter::setFallbackCount(int uc) {
    if (uc == m_uc && !m_high[0].isEmpty())
        return;
    m_uc = uc;
    for (int b = 0; b < 128; ++b) {
        QByteArray& escape = m_high[static_cast<size_t>(b)];
        escape = "\\u" + QByteArray::number(static_cast<qint16>(kCp1251High[b]));
        escape += m_uc == 0 ? QByteArray(" ") : QByteArray(m_uc, '?');
    }
}

void RtfWriter::startText(char first) {
    if (m_open && runsIntoControlWord(first))
        m_buffer.append(' ');
    m_open = false;
}

void RtfWriter::unicode(char16_t ch) {
    m_buffer.append("\\u");
    m_buffer.append(QByteArray::number(static_cast<qint16>(ch)));
    if (m_uc == 0)
        m_buffer.append(' ');
    else
        m_buffer.append(QByteArray(m_uc, '?'));
}

void RtfWriter::text(QStringView value) {
    if (value.isEmpty())
        return;
    startText(value.front().unicode() < 128 ? static_cast<char>(value.front().unicode()) : 'x');
    for (qsizetype i = 0; i < value.size(); ++i) {
        const char16_t ch = value[i].unicode();
        if (ch == u'\r' || ch == u'\n') {
            if (ch == u'\r' && i + 1 < value.size() && value[i + 1] == u'\n')
                ++i;
            m_buffer.append("\\par ");
        } else if (ch == u'\t') {
            m_buffer.append("\\tab ");
        } else if (ch == u'\\' || ch == u'{' || ch == u'}') {
            m_buffer.append('\\');
            m_buffer.append(static_cast<char>(ch));
        } else if (ch < 32) {
            continue;
        } else if (ch < 128) {
            m_buffer.append(static_cast<char>(ch));
        } else {
            unicode(ch);
        }
    }
    flushIfFull();
}

void RtfWriter::cp1251(QByteArrayView value) {
    if (value.isEmpty())
        return;
    startText(value.front() & 0x80 ? 'x' : value.front());
    const qsizetype n = value.size();
    for (qsizetype i = 0; i < n; ++i) {
        const auto b = static_cast<unsigned char>(value[i]);
        if (b >= 128) {
            m_buffer.append(m_high[b - 128]);
        } else if (b == '\r' || b == '\n') {
            if (b == '\r' && i + 1 < n && value[i + 1] == '\n')
                ++i;
            m_buffer.append("\\par ");
        } else if (b == '\t') {
            m_buffer.append("\\tab ");
        } else if (b == '\\' || b == '{' || b == '}') {
            m_buffer.append('\\');
            m_buffer.append(static_cast<char>(b));
        } else if (b >= 32) {
            m_buffer.append(static_cast<char>(b));
        }
    }
    flushIfFull();
}

void RtfWriter::flushIfFull() {
    if (m_buffer.size() < kFlushSize)
        return;
    writeOrThrow(m_device, m_buffer, m_path);
    m_buffer.clear();
}

void RtfWriter::finish() {
    writeOrThrow(m_device, m_buffer, m_path);
    m_buffer.clear();
}

} // namespace zelmar
