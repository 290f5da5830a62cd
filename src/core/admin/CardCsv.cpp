#include "core/admin/CardCsv.h"

#include "core/documents/AtomicFile.h"
#include "core/store/RecordFile.h"
#include "core/store/TAnketa.h"
#include "core/texts/DayNumber.h"

#include <cmath>
#include <cstring>
#include <variant>

namespace zelmar {

namespace {

constexpr qsizetype kFlushSize = 1 << 18;

enum class Kind { Date, Stamp };

// A field of the card: a number, a text, a date or a stamp.
struct Column {
    const char* name;
    std::variant<std::int32_t TAnketa::*, double TAnketa::*, QString (*)(const TAnketa&)> field;
    Kind kind = Kind::Date;
};

template <auto Member>
QString text(const TAnketa& card) {
    return (card.*Member).text();
}

const Column kColumns[] = {
    {"GurN", &TAnketa::GurN},
    {"DateOtkaza", &TAnketa::DateOtkaza},
    {"KUPData", &TAnketa::KUPData},
    {"KUPN", &text<&TAnketa::KUPN>},
    {"KemWines", &text<&TAnketa::KemWines>},
    {"DolgWines", &text<&TAnketa::DolgWines>},
    {"PodpUtw", &text<&TAnketa::PodpUtw>},
    {"DolgnPodp", &text<&TAnketa::DolgnPodp>},
    {"Motiv", &text<&TAnketa::Motiv>},
    {"LicoUN", &text<&TAnketa::LicoUN>},
    {"ProkOtmetka", &text<&TAnketa::ProkOtmetka>},
    {"DataProvProkur", &TAnketa::DataProvProkur},
    {"DeloNom", &text<&TAnketa::DeloNom>},
    {"DeloDat", &TAnketa::DeloDat},
    {"Statia", &text<&TAnketa::Statia>},
    {"MestoNah", &text<&TAnketa::MestoNah>},
    {"RezPovtRasm", &text<&TAnketa::RezPovtRasm>},
    {"KemProdlen", &text<&TAnketa::KemProdlen>},
    {"Srok", &TAnketa::Srok},
    {"DolgProdlen", &text<&TAnketa::DolgProdlen>},
    {"NeNashIshNom", &text<&TAnketa::NeNashIshNom>},
    {"NeNashaIshDat", &TAnketa::NeNashaIshDat},
    {"WidDok", &text<&TAnketa::WidDok>},
    {"DolgnAvt", &text<&TAnketa::DolgnAvt>},
    {"FIOAvtor", &text<&TAnketa::FIOAvtor>},
    {"Adres", &text<&TAnketa::Adres>},
    {"NazwDok", &text<&TAnketa::NazwDok>},
    {"Fabula", &text<&TAnketa::Fabula>},
    {"Nositel", &text<&TAnketa::Nositel>},
    {"Otpravitel", &text<&TAnketa::Otpravitel>},
    {"Listov", &TAnketa::Listov},
    {"Ekzem", &TAnketa::Ekzem},
    {"NashIshNom", &text<&TAnketa::NashIshNom>},
    {"NasheIshData", &TAnketa::NasheIshData},
    {"Telefon", &text<&TAnketa::Telefon>},
    {"EMail", &text<&TAnketa::EMail>},
    {"NashWxodNom", &text<&TAnketa::NashWxodNom>},
    {"NashaWxodDat", &TAnketa::NashaWxodDat},
    {"Klu4Form1", &TAnketa::Klu4Form1},
    {"AdminFIO", &text<&TAnketa::AdminFIO>},
    {"DaWrSozd", &TAnketa::DaWrSozd, Kind::Stamp},
    {"DWKorr", &TAnketa::DWKorr, Kind::Stamp},
    {"Otmetka", &text<&TAnketa::Otmetka>},
    {"PrintNet", &TAnketa::PrintNet},
};

void appendField(QByteArray& line, const QByteArray& value) {
    const bool quoted =
        value.contains(',') || value.contains('"') || value.contains('\r') || value.contains('\n');
    if (!quoted) {
        line.append(value);
        return;
    }
    line.append('"');
    for (const char c : value) {
        if (c == '"')
            line.append('"');
        line.append(c);
    }
    line.append('"');
}

QByteArray dateText(double day, Kind kind) {
    const DayParts parts = splitDayNumber(day);
    if (!parts.valid() || std::trunc(day) == EmptyDate)
        return {};
    QByteArray text = parts.date.toString(QStringLiteral("dd.MM.yyyy")).toLatin1();
    if (kind == Kind::Stamp)
        text += ' ' + QTime::fromMSecsSinceStartOfDay(parts.msecs)
                          .toString(QStringLiteral("hh:mm:ss"))
                          .toLatin1();
    return text;
}

QByteArray value(const Column& column, const TAnketa& card) {
    if (const auto* number = std::get_if<std::int32_t TAnketa::*>(&column.field))
        return QByteArray::number(card.**number);
    if (const auto* date = std::get_if<double TAnketa::*>(&column.field))
        return dateText(card.**date, column.kind);
    return std::get<QString (*)(const TAnketa&)>(column.field)(card).toUtf8();
}

} // namespace

void writeCardsCsv(RecordFile& cards, QIODevice& out, const QString& path) {
    QByteArray buffer;
    buffer.reserve(kFlushSize + 4096);
    for (const Column& column : kColumns) {
        if (&column != kColumns)
            buffer.append(',');
        buffer.append(column.name);
    }
    buffer.append("\r\n");
    cards.forEach([&](qint64, const char* bytes) {
        TAnketa card;
        std::memcpy(&card, bytes, sizeof card);
        for (const Column& column : kColumns) {
            if (&column != kColumns)
                buffer.append(',');
            appendField(buffer, value(column, card));
        }
        buffer.append("\r\n");
        if (buffer.size() >= kFlushSize) {
            writeOrThrow(out, buffer, path);
            buffer.clear();
        }
    });
    writeOrThrow(out, buffer, path);
}

} // namespace zelmar
