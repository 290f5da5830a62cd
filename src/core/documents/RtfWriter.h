#pragma once

#include <QByteArray>
#include <QIODevice>
#include <QString>
#include <QStringView>

#include <array>

namespace zelmar {

// Writes an RTF document to a device: template bytes as they are, values as RTF text. A value
// is escaped (\\ \{ \}), characters outside ASCII become \uN with the fallback count in force;
// a line break in a value ends the paragraph (\par), so each line of a summary is a paragraph of
// its own with the formatting of the one the value stands in, not a line stretched across a
// justified paragraph. A control word left without its blank gets one before text that would
// run into it.
class RtfWriter {
public:
    RtfWriter(QIODevice& device, const QString& path);

    // Template bytes; endsOpen: they end with a control word without its blank.
    void raw(QByteArrayView bytes, bool endsOpen);
    // The number of fallback characters after \uN where the next value goes (\ucN).
    void setFallbackCount(int uc);
    void text(QStringView value);
    // A value held as Windows-1251 bytes (the report data files).
    void cp1251(QByteArrayView value);
    // Writes the rest to the device; throws IoError when it fails.
    void finish();

private:
    void startText(char first);
    void unicode(char16_t ch);
    void flushIfFull();

    QIODevice& m_device;
    QString m_path;
    QByteArray m_buffer;
    bool m_open = false;
    int m_uc = 1;
    std::array<QByteArray, 128> m_high;
};

} // namespace zelmar
