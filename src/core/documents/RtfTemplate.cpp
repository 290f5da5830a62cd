#include "core/documents/RtfTemplate.h"

#include "core/documents/DocumentError.h"
#include "core/documents/RtfTableBand.h"
#include "core/documents/RtfTokens.h"

#include <QBuffer>

#include <algorithm>

namespace zelmar {

namespace {

// Destinations whose text the reader never sees: a placeholder is not looked for there.
bool isHiddenDestination(QByteArrayView name) {
    static constexpr const char* hidden[] = {
        "fonttbl",      "colortbl",
        "stylesheet",   "info",
        "pict",         "object",
        "themedata",    "datastore",
        "listtable",    "listoverridetable",
        "rsidtbl",      "generator",
        "latentstyles", "xmlnstbl",
        "fldinst",      "bkmkstart",
        "bkmkend",      "revtbl",
        "pgdsctbl",     "userprops",
        "nonshppict",   "shpinst",
        "mmathPr",      "colorschememapping",
        "defchp",       "defpap",
        "listpicture",  "objdata",
        "filetbl",
    };
    return std::any_of(std::begin(hidden), std::end(hidden),
                       [&](const char* word) { return name == word; });
}

// Control words that end a line of text, so a placeholder never runs across them.
bool isBreak(QByteArrayView name) {
    static constexpr const char* breaks[] = {"par",  "line", "cell",     "row",     "sect",
                                             "page", "tab",  "nestcell", "nestrow", "column"};
    return std::any_of(std::begin(breaks), std::end(breaks),
                       [&](const char* word) { return name == word; });
}

// Control words that stand for one character of text.
bool isCharacterWord(QByteArrayView name) {
    static constexpr const char* words[] = {"emdash",  "endash",    "bullet",    "lquote",
                                            "rquote",  "ldblquote", "rdblquote", "emspace",
                                            "enspace", "qmspace",   "zwj",       "zwnj"};
    return std::any_of(std::begin(words), std::end(words),
                       [&](const char* word) { return name == word; });
}

bool isNameChar(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

// One character of the text as the reader sees it, and where it lies in the template.
struct VisibleChar {
    int token;
    int offset; // byte in a text token; -1 for a token that is the character as a whole
    char c;     // the character when it is ASCII; '\n' for a break; 0 for any other
    int uc;
    int fallback = -1; // for \uN: its first fallback piece in the list of fallbacks
};

// A byte or token that stands in for a \uN character in readers without Unicode.
struct Fallback {
    int owner; // the index of the \uN character
    int token;
    int offset;
};

std::vector<VisibleChar> visibleText(const std::vector<RtfToken>& tokens,
                                     std::vector<Fallback>& fallbacks) {
    struct Group {
        int uc = 1;
        bool hidden = false;
    };
    std::vector<Group> groups{Group{}};
    std::vector<VisibleChar> chars;
    chars.reserve(tokens.size());
    int skip = 0; // fallback characters still to pass after \uN
    bool destinationPosition = false;
    for (size_t i = 0; i < tokens.size(); ++i) {
        const RtfToken& t = tokens[i];
        const int index = static_cast<int>(i);
        Group& g = groups.back();
        const bool atDestination = destinationPosition;
        destinationPosition = false;
        switch (t.kind) {
        case RtfToken::GroupStart:
            groups.push_back(groups.back());
            skip = 0;
            destinationPosition = true;
            break;
        case RtfToken::GroupEnd:
            if (groups.size() > 1)
                groups.pop_back();
            skip = 0;
            break;
        case RtfToken::ControlWord:
            if (atDestination && isHiddenDestination(t.name))
                g.hidden = true;
            if (skip > 0) {
                --skip;
                fallbacks.push_back({static_cast<int>(chars.size()) - 1, index, -1});
            } else if (t.name == "uc" && t.hasParam) {
                g.uc = std::clamp(t.param, 0, 8);
            } else if (t.name == "u" && t.hasParam) {
                const int code = t.param < 0 ? t.param + 65536 : t.param;
                if (!g.hidden) {
                    chars.push_back({index, -1,
                                     code >= 32 && code < 128 ? static_cast<char>(code) : '\0',
                                     g.uc, static_cast<int>(fallbacks.size())});
                    skip = g.uc;
                }
            } else if (!g.hidden && isBreak(t.name)) {
                chars.push_back({index, -1, '\n', g.uc});
            } else if (!g.hidden && isCharacterWord(t.name)) {
                chars.push_back({index, -1, '\0', g.uc});
            }
            break;
        case RtfToken::ControlSymbol:
            if (t.byte == '*' && atDestination) {
                g.hidden = true;
                destinationPosition = true;
            } else if (skip > 0) {
                --skip;
                fallbacks.push_back({static_cast<int>(chars.size()) - 1, index, -1});
            } else if (!g.hidden && (t.byte == '\\' || t.byte == '{' || t.byte == '}')) {
                chars.push_back({index, -1, static_cast<char>(t.byte), g.uc});
            } else if (!g.hidden && (t.byte == '~' || t.byte == '_' || t.byte == '-')) {
                chars.push_back({index, -1, '\0', g.uc});
            } else if (!g.hidden && (t.byte == '\r' || t.byte == '\n')) {
                chars.push_back({index, -1, '\n', g.uc});
            }
            break;
        case RtfToken::Hex:
            if (skip > 0) {
                --skip;
                fallbacks.push_back({static_cast<int>(chars.size()) - 1, index, -1});
            } else if (!g.hidden)
                chars.push_back({index, -1, t.byte < 128 ? static_cast<char>(t.byte) : '\0', g.uc});
            break;
        case RtfToken::Text:
            for (qsizetype b = t.begin; b < t.end; ++b) {
                if (skip > 0) {
                    --skip;
                    fallbacks.push_back(
                        {static_cast<int>(chars.size()) - 1, index, static_cast<int>(b - t.begin)});
                    continue;
                }
                if (g.hidden)
                    break;
                chars.push_back({index, static_cast<int>(b - t.begin), '\0', g.uc});
            }
            break;
        case RtfToken::Newline:
        case RtfToken::Binary:
            break;
        }
    }
    return chars;
}

// A change of the template: a character taken out, and a value put in its place.
struct Edit {
    int token;
    int offset;
    int field; // -1: only taken out
    int uc;
};

constexpr int kBandStart = -2;
constexpr int kBandEnd = -3;

QString tr(const char* text, const QString& what) {
    return QString::fromUtf8(text).arg(what);
}

} // namespace

RtfTemplate::RtfTemplate(const QByteArray& rtf, const QString& what, const FieldOf& fieldOf) {
    const std::vector<RtfToken> tokens = tokenizeRtf(rtf, what);
    std::vector<Fallback> fallbacks;
    std::vector<VisibleChar> chars = visibleText(tokens, fallbacks);
    for (VisibleChar& ch : chars) {
        if (ch.offset >= 0) {
            const char byte = rtf.at(tokens[ch.token].begin + ch.offset);
            ch.c = (byte & 0x80) ? '\0' : byte;
        }
    }

    std::vector<Edit> edits;
    int bandStartToken = -1;
    int bandEndToken = -1;
    const size_t count = chars.size();
    size_t i = 0;
    while (i < count) {
        if (chars[i].c != '#') {
            ++i;
            continue;
        }
        size_t j = i + 1;
        QString name;
        while (j < count && isNameChar(chars[j].c)) {
            name.append(QLatin1Char(chars[j].c));
            ++j;
        }
        if (j >= count || chars[j].c != '#' || name.isEmpty()) {
            i = j;
            continue;
        }
        int field;
        if (name.compare(u"BAND", Qt::CaseInsensitive) == 0)
            field = kBandStart;
        else if (name.compare(u"ENDBAND", Qt::CaseInsensitive) == 0)
            field = kBandEnd;
        else
            field = fieldOf(name);
        if (field == -1) {
            i = j; // the closing # may open the next placeholder
            continue;
        }
        if (field == kBandStart) {
            if (bandStartToken >= 0)
                throw DocumentError(tr("В шаблоне «%1» больше одной метки #BAND#.", what));
            bandStartToken = chars[i].token;
        } else if (field == kBandEnd) {
            if (bandStartToken < 0 || bandEndToken >= 0)
                throw DocumentError(
                    tr("В шаблоне «%1» метка #ENDBAND# стоит без #BAND# перед ней.", what));
            bandEndToken = chars[j].token;
        }
        for (size_t k = i; k <= j; ++k) {
            edits.push_back(
                {chars[k].token, chars[k].offset, k == i && field >= 0 ? field : -1, chars[k].uc});
            // A character written as \uN goes with its fallback.
            for (int f = chars[k].fallback;
                 f >= 0 && f < static_cast<int>(fallbacks.size()) &&
                 fallbacks[static_cast<size_t>(f)].owner == static_cast<int>(k);
                 ++f)
                edits.push_back({fallbacks[static_cast<size_t>(f)].token,
                                 fallbacks[static_cast<size_t>(f)].offset, -1, 1});
        }
        i = j + 1;
    }
    if (bandStartToken >= 0 && bandEndToken < 0)
        throw DocumentError(tr("В шаблоне «%1» нет метки #ENDBAND# после #BAND#.", what));

    // The band: whole table rows, or whole paragraphs outside a table.
    const int n = static_cast<int>(tokens.size());
    int bandBegin = n;
    int bandEnd = n;
    bool inTable = false;
    if (bandStartToken >= 0) {
        m_hasBand = true;
        std::vector<int> depth(static_cast<size_t>(n) + 1, 0);
        for (int t = 0; t < n; ++t) {
            const auto kind = tokens[static_cast<size_t>(t)].kind;
            depth[static_cast<size_t>(t) + 1] =
                depth[static_cast<size_t>(t)] + (kind == RtfToken::GroupStart ? 1
                                                 : kind == RtfToken::GroupEnd ? -1
                                                                              : 0);
        }
        for (int t = bandStartToken; t >= 0; --t) {
            const RtfToken& tok = tokens[static_cast<size_t>(t)];
            if (tok.is("intbl"))
                inTable = true;
            if (tok.is("pard") || tok.is("row"))
                break;
        }
        const char* boundary = inTable ? "row" : "par";
        int start = -1;
        for (int t = bandStartToken - 1; t >= 0; --t) {
            if (tokens[static_cast<size_t>(t)].is(boundary)) {
                start = t + 1;
                break;
            }
        }
        if (start < 0 && inTable) {
            // The first row of the table: it begins after the paragraph before the table.
            int rowDefinition = bandStartToken;
            while (rowDefinition > 0 && !tokens[static_cast<size_t>(rowDefinition)].is("trowd"))
                --rowDefinition;
            for (int t = rowDefinition - 1; t >= 0; --t) {
                const RtfToken& tok = tokens[static_cast<size_t>(t)];
                if (tok.is("par") || tok.is("sectd")) {
                    start = t + 1;
                    break;
                }
            }
        }
        int stop = -1;
        for (int t = bandEndToken; t < n; ++t) {
            if (tokens[static_cast<size_t>(t)].is(boundary)) {
                stop = t + 1;
                break;
            }
        }
        const QString notWhole =
            inTable
                ? tr("В шаблоне «%1» полоса #BAND#…#ENDBAND# не является целыми строками "
                     "таблицы.",
                     what)
                : tr("В шаблоне «%1» полоса #BAND#…#ENDBAND# не является целыми абзацами.", what);
        if (start < 0 || stop < 0)
            throw DocumentError(notWhole);
        while (start < bandStartToken &&
               (tokens[static_cast<size_t>(start)].kind == RtfToken::GroupEnd ||
                tokens[static_cast<size_t>(start)].kind == RtfToken::Newline))
            ++start;
        const int base = depth[static_cast<size_t>(start)];
        while (stop < n && depth[static_cast<size_t>(stop)] > base)
            ++stop;
        for (int t = start; t <= stop; ++t) {
            if (depth[static_cast<size_t>(t)] < base)
                throw DocumentError(notWhole);
        }
        if (depth[static_cast<size_t>(stop)] != base)
            throw DocumentError(notWhole);
        bandBegin = start;
        bandEnd = stop;
    }

    // The parts as segments of template bytes and values; `changes` leave tokens out or put
    // bytes around them.
    const auto build = [&](int from, int to, const TokenChanges& changes, Part& part) {
        auto e = std::lower_bound(edits.begin(), edits.end(), from,
                                  [](const Edit& edit, int token) { return edit.token < token; });
        Segment current;
        const auto append = [&](QByteArrayView bytes, bool open) {
            if (bytes.isEmpty())
                return;
            if (!current.raw.isEmpty() && current.rawOpen) {
                const char c = bytes.front();
                if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                    c == '-' || c == ' ')
                    current.raw.append(' ');
            }
            current.raw.append(bytes);
            current.rawOpen = open;
        };
        const auto insert = [&](const Edit& edit) {
            if (edit.field < 0)
                return;
            current.field = edit.field;
            current.uc = edit.uc;
            part.push_back(std::move(current));
            current = Segment();
        };
        const auto around = [&](const std::map<int, QByteArray>& bytes, int token) {
            const auto found = bytes.find(token);
            if (found != bytes.end())
                append(found->second, true);
        };
        for (int t = from; t < to; ++t) {
            const RtfToken& tok = tokens[static_cast<size_t>(t)];
            around(changes.before, t);
            if (changes.drop.count(t)) {
                continue;
            } else if (e == edits.end() || e->token != t) {
                append(tok.raw(rtf), tok.open);
            } else if (e->offset < 0) {
                insert(*e);
                ++e;
            } else {
                qsizetype done = 0;
                while (e != edits.end() && e->token == t) {
                    append(tok.raw(rtf).sliced(done, e->offset - done), false);
                    insert(*e);
                    done = e->offset + 1;
                    ++e;
                }
                append(tok.raw(rtf).sliced(done), false);
            }
            around(changes.after, t);
        }
        part.push_back(std::move(current));
    };
    const auto raw = [](QByteArrayView bytes, Part& part) {
        Segment segment;
        segment.raw = bytes.toByteArray();
        part.push_back(std::move(segment));
    };
    const TokenChanges none;
    m_tableBand = m_hasBand && inTable &&
                  std::any_of(tokens.begin() + bandBegin, tokens.begin() + bandEnd,
                              [](const RtfToken& token) { return token.is("trowd"); });
    if (!m_tableBand) {
        build(0, bandBegin, none, m_head);
        if (m_hasBand) {
            build(bandBegin, bandEnd, none, m_band);
            build(bandEnd, n, none, m_tail);
        }
        return;
    }
    const TableBand layout(tokens, bandBegin, bandEnd);
    if (layout.repeatsHeadings()) {
        build(0, layout.tableStart(), layout.beforeTable(), m_head);
        raw(layout.pageHeaderStart(), m_head);
        build(layout.tableStart(), layout.headingsEnd(), layout.headingsInPageHeader(), m_head);
        raw(TableBand::pageHeaderEnd(), m_head);
        build(layout.tableStart(), bandBegin, layout.headingsInTable(), m_head);
    } else {
        build(0, bandBegin, none, m_head);
    }
    const auto variant = [&](bool first, bool last, Part& part) {
        TokenChanges changes;
        if (first)
            changes.add(layout.firstOfTable());
        if (last)
            changes.add(layout.lastOfTable());
        build(bandBegin, bandEnd, changes, part);
    };
    variant(false, false, m_band);
    variant(true, false, m_bandFirst);
    variant(false, true, m_bandLast);
    variant(true, true, m_bandFirstLast);
    build(bandEnd, n, none, m_tail);
}

void RtfTemplate::writePart(RtfWriter& out, const Part& part, qsizetype record,
                            const MergeValues& values) const {
    for (const Segment& segment : part) {
        out.raw(segment.raw, segment.rawOpen);
        if (segment.field >= 0) {
            out.setFallbackCount(segment.uc);
            values.write(record, segment.field, out);
        }
    }
}

void RtfTemplate::write(RtfWriter& out, const MergeValues& values) const {
    writePart(out, m_head, -1, values);
    if (m_hasBand) {
        const qsizetype records = values.records();
        constexpr qsizetype perTable = TableBand::RowsPerTable;
        for (qsizetype r = 0; r < records; ++r) {
            if (!m_tableBand) {
                writePart(out, m_band, r, values);
                continue;
            }
            const bool first = r > 0 && r % perTable == 0;
            const bool last = (r + 1) % perTable == 0 && r + 1 < records;
            writePart(out,
                      first ? (last ? m_bandFirstLast : m_bandFirst) : (last ? m_bandLast : m_band),
                      r, values);
            if (last)
                out.raw(TableBand::joint(), false);
        }
        writePart(out, m_tail, -1, values);
    }
    out.finish();
}

QByteArray fillRtf(const QByteArray& rtf, const QString& what,
                   const QList<std::pair<QString, QString>>& fields) {
    const RtfTemplate document(rtf, what, [&](QStringView name) {
        for (qsizetype i = 0; i < fields.size(); ++i) {
            if (name.compare(fields[i].first, Qt::CaseInsensitive) == 0)
                return static_cast<int>(i);
        }
        return -1;
    });
    class Values : public MergeValues {
    public:
        explicit Values(const QList<std::pair<QString, QString>>& fields)
            : m_fields(fields) {}
        qsizetype records() const override { return 1; }
        void write(qsizetype, int field, RtfWriter& out) const override {
            out.text(m_fields[field].second);
        }

    private:
        const QList<std::pair<QString, QString>>& m_fields;
    };
    QByteArray result;
    QBuffer buffer(&result);
    buffer.open(QIODevice::WriteOnly);
    RtfWriter out(buffer, what);
    document.write(out, Values(fields));
    return result;
}

} // namespace zelmar
