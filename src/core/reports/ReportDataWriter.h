#pragma once

#include "core/reports/ReportKinds.h"
#include "core/store/TAnketa.h"

#include <QByteArray>
#include <QHash>
#include <QIODevice>

#include <span>

namespace zelmar {

// Writes a report data file: Windows-1251, CR LF, every tagged piece cut to 250 characters.
// Single-card: one "|0:" line per field and two empty lines; multi-card: one line of "|1:"
// pieces per card and one empty line after the last card.
class ReportDataWriter {
public:
    // path names the file in error messages.
    ReportDataWriter(QIODevice& device, ReportLayout layout, const QString& path);

    void add(const TAnketa& card);
    // The closing empty lines; writes everything to the device (throws IoError).
    void finish();

private:
    void piece(const char* tag, QByteArrayView value);
    QByteArrayView date(double day);
    QByteArrayView dateOrBlank(double day);
    void flushIfFull();

    QIODevice& m_device;
    ReportLayout m_layout;
    QString m_path;
    QByteArray m_buffer;
    int m_number = 0;
    QHash<double, QByteArray> m_dates;
};

// Writes the data file of `cards` in `layout` at path, whole or not at all (throws IoError).
void writeReportData(const QString& path, ReportLayout layout, std::span<const TAnketa> cards);

// The text of a card's field with its leading and trailing characters 0..32 removed.
QByteArrayView trimmedBytes(QByteArrayView bytes);

} // namespace zelmar
