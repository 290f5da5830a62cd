#include "core/store/Colours.h"

#include <array>

namespace zelmar {

namespace {

struct NamedColour {
    const char* name;
    TColor value;
};

constexpr std::array<NamedColour, 20> kNamed = {{
    {"clBlack", 0x000000}, {"clMaroon", 0x000080},     {"clGreen", 0x008000},
    {"clOlive", 0x008080}, {"clNavy", 0x800000},       {"clPurple", 0x800080},
    {"clTeal", 0x808000},  {"clGray", 0x808080},       {"clSilver", 0xC0C0C0},
    {"clRed", 0x0000FF},   {"clLime", 0x00FF00},       {"clYellow", 0x00FFFF},
    {"clBlue", 0xFF0000},  {"clFuchsia", 0xFF00FF},    {"clAqua", 0xFFFF00},
    {"clWhite", 0xFFFFFF}, {"clMoneyGreen", 0xC0DCC0}, {"clSkyBlue", 0xF0CAA6},
    {"clCream", 0xF0FBFF}, {"clMedGray", 0xA4A0A0},
}};

constexpr int kMaxEntries = 9;
constexpr int kMaxText = 20;

} // namespace

QString colorToText(TColor colour) {
    for (const NamedColour& named : kNamed) {
        if (named.value == colour)
            return QString::fromLatin1(named.name);
    }
    return QStringLiteral("$%1").arg(colour, 8, 16, QLatin1Char('0')).toUpper();
}

std::optional<TColor> textToColor(const QString& text) {
    const QString t = text.trimmed();
    for (const NamedColour& named : kNamed) {
        if (t.compare(QLatin1String(named.name), Qt::CaseInsensitive) == 0)
            return named.value;
    }
    bool ok = false;
    qlonglong value = 0;
    if (t.startsWith(QLatin1Char('$')))
        value = t.mid(1).toLongLong(&ok, 16);
    else
        value = t.toLongLong(&ok, 10);
    if (!ok || value < 0 || value > 0xFFFFFFFFLL)
        return std::nullopt;
    return static_cast<TColor>(value);
}

QStringList storeColourLine(const QStringList& lines, const QString& name, const QString& colour) {
    struct Entry {
        QString name;
        QString colour;
        bool parsed = false;
        QString raw; // a line without a blank, kept as it is
    };
    QList<Entry> entries;
    for (const QString& line : lines) {
        if (entries.size() == kMaxEntries)
            break;
        Entry entry;
        const qsizetype blank = line.indexOf(QLatin1Char(' '));
        if (blank >= 0) {
            entry.name = line.left(blank);
            entry.colour = line.mid(blank + 1, kMaxText).trimmed();
            entry.parsed = true;
        } else {
            entry.raw = line;
        }
        entries.append(entry);
    }
    qsizetype target = -1;
    for (qsizetype i = 0; i < entries.size() && target < 0; ++i) {
        if (entries[i].parsed && entries[i].name.startsWith(name))
            target = i;
    }
    if (target < 0 && entries.size() < kMaxEntries) {
        entries.append(Entry());
        target = entries.size() - 1;
    }
    // A full file makes room in a line it could not read, else in its last line.
    for (qsizetype i = 0; i < entries.size() && target < 0; ++i) {
        if (!entries[i].parsed)
            target = i;
    }
    if (target < 0)
        target = entries.size() - 1;
    entries[target] = {name.left(kMaxText), colour.left(kMaxText), true, {}};

    QStringList result;
    for (const Entry& entry : entries) {
        result.append(entry.parsed
                          ? entry.name.trimmed() + QLatin1Char(' ') + entry.colour.trimmed()
                          : entry.raw);
    }
    return result;
}

} // namespace zelmar
