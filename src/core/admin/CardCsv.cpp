#include "core/admin/CardCsv.h"

#include "core/admin/CardFields.h"
#include "core/documents/AtomicFile.h"
#include "core/store/RecordFile.h"
#include "core/store/TAnketa.h"
#include "core/texts/DayNumber.h"

#include <cmath>
#include <cstring>

namespace zelmar {

namespace {

constexpr qsizetype kFlushSize = 1 << 18;

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

QByteArray dateText(double day, bool stamp) {
    const DayParts parts = splitDayNumber(day);
    if (!parts.valid() || std::trunc(day) == EmptyDate)
        return {};
    QByteArray text = parts.date.toString(QStringLiteral("dd.MM.yyyy")).toLatin1();
    if (stamp)
        text += ' ' + QTime::fromMSecsSinceStartOfDay(parts.msecs)
                          .toString(QStringLiteral("hh:mm:ss"))
                          .toLatin1();
    return text;
}

QByteArray value(const CardField& column, const TAnketa& card) {
    if (const auto* number = std::get_if<std::int32_t TAnketa::*>(&column.field))
        return QByteArray::number(card.**number);
    if (const auto* date = std::get_if<double TAnketa::*>(&column.field))
        return dateText(card.**date, column.stamp);
    return std::get<QString (*)(const TAnketa&)>(column.field)(card).toUtf8();
}

} // namespace

void appendCsvField(QByteArray& line, const QByteArray& value) {
    appendField(line, value);
}

void writeCardsCsv(RecordFile& cards, QIODevice& out, const QString& path) {
    QByteArray buffer;
    buffer.reserve(kFlushSize + 4096);
    const std::span<const CardField> columns = cardFields();
    for (const CardField& column : columns) {
        if (&column != columns.data())
            buffer.append(',');
        buffer.append(column.name);
    }
    buffer.append("\r\n");
    cards.forEach([&](qint64, const char* bytes) {
        TAnketa card;
        std::memcpy(&card, bytes, sizeof card);
        for (const CardField& column : columns) {
            if (&column != columns.data())
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
