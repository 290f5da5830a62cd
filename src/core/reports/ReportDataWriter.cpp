#include "core/reports/ReportDataWriter.h"

#include "core/documents/AtomicFile.h"
#include "core/texts/DateTexts.h"
#include "core/texts/DayNumber.h"

#include <cmath>

namespace zelmar {

namespace {

constexpr qsizetype kPieceLimit = 250;
constexpr qsizetype kFlushSize = 1 << 18;

template <int N>
QByteArrayView stored(const ShortString<N>& text) {
    return QByteArrayView(text.chars, text.size());
}

} // namespace

QByteArrayView trimmedBytes(QByteArrayView bytes) {
    qsizetype from = 0;
    qsizetype to = bytes.size();
    while (from < to && static_cast<unsigned char>(bytes[from]) <= 32)
        ++from;
    while (to > from && static_cast<unsigned char>(bytes[to - 1]) <= 32)
        --to;
    return bytes.sliced(from, to - from);
}

ReportDataWriter::ReportDataWriter(QIODevice& device, ReportLayout layout, const QString& path)
    : m_device(device)
    , m_layout(layout)
    , m_path(path) {
    m_buffer.reserve(kFlushSize + 4096);
}

void ReportDataWriter::piece(const char* tag, QByteArrayView value) {
    const qsizetype start = m_buffer.size();
    m_buffer.append(m_layout == ReportLayout::SingleCard ? "|0:" : "|1:");
    m_buffer.append(tag);
    m_buffer.append(':');
    m_buffer.append(value);
    if (m_buffer.size() - start > kPieceLimit)
        m_buffer.truncate(start + kPieceLimit);
    if (m_layout == ReportLayout::SingleCard)
        m_buffer.append("\r\n");
}

QByteArrayView ReportDataWriter::date(double day) {
    auto it = m_dates.find(day);
    if (it == m_dates.end())
        it = m_dates.insert(day, ShortDate(day).toLatin1());
    return *it;
}

QByteArrayView ReportDataWriter::dateOrBlank(double day) {
    if (!isRepresentable(day))
        return {};
    const double whole = std::trunc(day);
    if (whole == EmptyDate || whole == Millennium)
        return {};
    return date(day);
}

void ReportDataWriter::add(const TAnketa& c) {
    ++m_number;
    const bool numbered = m_layout == ReportLayout::Numbered;
    if (numbered)
        piece("nn", QByteArray::number(m_number));
    piece("N_KP", stored(c.KUPN));
    piece("D_KP", dateOrBlank(c.KUPData));
    piece("gn", QByteArray::number(c.GurN));
    piece("D_w", date(c.DateOtkaza));
    piece("N_whod", stored(c.NashWxodNom));
    piece("D_whod", dateOrBlank(c.NashaWxodDat));
    piece("Zaywitel", stored(c.FIOAvtor));
    piece("Motiw_otk", stored(c.Motiv));
    piece("Statia", stored(c.Statia));
    piece("un", stored(c.LicoUN));
    piece("Fabula", trimmedBytes(stored(c.Fabula)));
    piece("Adres", stored(c.Adres));
    piece("Kem_w_Post", stored(c.KemWines));
    piece("Dol_Kem", stored(c.DolgWines));
    piece("Podpisal", stored(c.PodpUtw));
    piece("Dol_Podp", stored(c.DolgnPodp));
    if (c.Srok > 0)
        piece("Srok_R", QByteArray::number(c.Srok));
    piece("Kem_Prod", stored(c.KemProdlen));
    piece("Dol_Prod", stored(c.DolgProdlen));
    piece("D_Prokur", dateOrBlank(c.DataProvProkur));
    piece("N_UD", stored(c.DeloNom));
    piece("D_UD", dateOrBlank(c.DeloDat));
    piece("N_Tom", trimmedBytes(stored(c.MestoNah)));
    piece("RPowR", trimmedBytes(stored(c.RezPovtRasm)));
    if (numbered) {
        piece("n_is_n", stored(c.NashIshNom));
        piece("n_is_d", dateOrBlank(c.NasheIshData));
    }
    if (m_layout != ReportLayout::SingleCard)
        m_buffer.append("\r\n");
    flushIfFull();
}

void ReportDataWriter::flushIfFull() {
    if (m_buffer.size() < kFlushSize)
        return;
    writeOrThrow(m_device, m_buffer, m_path);
    m_buffer.clear();
}

void ReportDataWriter::finish() {
    m_buffer.append(m_layout == ReportLayout::SingleCard ? "\r\n\r\n" : "\r\n");
    writeOrThrow(m_device, m_buffer, m_path);
    m_buffer.clear();
}

void writeReportData(const QString& path, ReportLayout layout, std::span<const TAnketa> cards) {
    AtomicFile file(path);
    ReportDataWriter writer(file, layout, path);
    for (const TAnketa& card : cards)
        writer.add(card);
    writer.finish();
    file.commit();
}

} // namespace zelmar
