#include "core/documents/RtfTableBand.h"

#include <algorithm>

namespace zelmar {

namespace {

// A table row: from its first \trowd to just after its \row.
struct Row {
    int begin;
    int end;
};

bool isAnyOf(const RtfToken& token, std::initializer_list<const char*> words) {
    return std::any_of(words.begin(), words.end(),
                       [&](const char* word) { return token.is(word); });
}

// A paragraph or a break outside the rows ends a table.
bool endsTable(const RtfToken& token) {
    return isAnyOf(token, {"par", "sect", "page"});
}

// The rows of the band's table above the band, top first.
std::vector<Row> rowsAbove(const std::vector<RtfToken>& tokens, int bandBegin) {
    std::vector<Row> rows;
    int t = bandBegin - 1;
    for (;;) {
        while (t >= 0 && (tokens[size_t(t)].kind == RtfToken::Newline ||
                          tokens[size_t(t)].kind == RtfToken::GroupEnd))
            --t;
        if (t < 0 || !tokens[size_t(t)].is("row"))
            break;
        int previous = t - 1;
        while (previous >= 0 && !tokens[size_t(previous)].is("row"))
            --previous;
        int begin = previous + 1;
        while (begin < t && !tokens[size_t(begin)].is("trowd"))
            ++begin;
        if (begin >= t)
            break;
        // With the groups opened in the row (Word repeats the row's definition in one before
        // \row), so a copy of the row is whole.
        int depth = 0;
        bool closesOuter = false; // the row ends a group it did not open
        for (int i = begin; i <= t; ++i) {
            depth += tokens[size_t(i)].kind == RtfToken::GroupStart ? 1
                     : tokens[size_t(i)].kind == RtfToken::GroupEnd ? -1
                                                                    : 0;
            closesOuter = closesOuter || depth < 0;
        }
        int end = t + 1;
        while (depth > 0 && end < bandBegin && tokens[size_t(end)].kind == RtfToken::GroupEnd) {
            --depth;
            ++end;
        }
        // Only a row whose copy is whole (its groups closed within it) can be repeated; a row
        // written otherwise ends the heading rows.
        if (closesOuter || depth != 0)
            break;
        rows.push_back({begin, end});
        bool first = previous < 0;
        for (int i = previous + 1; i < begin && !first; ++i)
            first = endsTable(tokens[size_t(i)]);
        if (first)
            break;
        t = previous;
    }
    std::reverse(rows.begin(), rows.end());
    return rows;
}

// Calls `border(side, end)` for every border named in `sides` within from..to: the keyword at
// `side`, its properties (\brdr...) up to `end`.
template <class Border>
void forBorders(const std::vector<RtfToken>& tokens, int from, int to,
                std::initializer_list<const char*> sides, Border&& border) {
    for (int t = from; t < to; ++t) {
        if (!isAnyOf(tokens[size_t(t)], sides))
            continue;
        int end = t + 1;
        while (end < to && (tokens[size_t(end)].kind == RtfToken::Newline ||
                            (tokens[size_t(end)].kind == RtfToken::ControlWord &&
                             tokens[size_t(end)].name.startsWith("brdr"))))
            ++end;
        border(t, end);
    }
}

// The borders named in `sides` within from..to drawn half as wide (\brdrwN; 0.25 pt where no
// width is given).
void halveBorders(const std::vector<RtfToken>& tokens, int from, int to,
                  std::initializer_list<const char*> sides, TokenChanges& changes) {
    forBorders(tokens, from, to, sides, [&](int side, int end) {
        int width = -1;
        for (int p = side + 1; p < end; ++p) {
            if (tokens[size_t(p)].is("brdrw") && tokens[size_t(p)].hasParam)
                width = p;
        }
        const int half = width < 0 ? 5 : std::max(1, tokens[size_t(width)].param / 2);
        const QByteArray replaced = "\\brdrw" + QByteArray::number(half);
        if (width < 0) {
            changes.after[side] = replaced;
        } else {
            changes.drop.insert(width);
            changes.before[width] = replaced;
        }
    });
}

// The borders named in `sides` within from..to left out.
void dropBorders(const std::vector<RtfToken>& tokens, int from, int to,
                 std::initializer_list<const char*> sides, TokenChanges& changes) {
    forBorders(tokens, from, to, sides, [&](int side, int end) {
        for (int p = side; p < end; ++p)
            changes.drop.insert(p);
    });
}

// A template with page headers, footers or sections of its own keeps them as they are.
bool hasOwnPages(const std::vector<RtfToken>& tokens) {
    return std::any_of(tokens.begin(), tokens.end(), [](const RtfToken& token) {
        return isAnyOf(token, {"header", "headerl", "headerr", "headerf", "footer", "footerl",
                               "footerr", "footerf", "titlepg", "sect"});
    });
}

} // namespace

void TokenChanges::add(const TokenChanges& other) {
    drop.insert(other.drop.begin(), other.drop.end());
    for (const auto& [token, bytes] : other.before)
        before[token] += bytes;
    for (const auto& [token, bytes] : other.after)
        after[token] += bytes;
}

TableBand::TableBand(const std::vector<RtfToken>& tokens, int bandBegin, int bandEnd) {
    // Two tables meet with their borders half as wide: one line together, and still a line
    // each where a page ends between them.
    int firstRowEnd = bandBegin;
    while (firstRowEnd < bandEnd && !tokens[size_t(firstRowEnd)].is("row"))
        ++firstRowEnd;
    int lastRow = bandBegin;
    for (int t = bandBegin; t < bandEnd; ++t) {
        if (tokens[size_t(t)].is("row") && t + 1 < bandEnd)
            lastRow = t + 1;
    }
    halveBorders(tokens, bandBegin, firstRowEnd, {"clbrdrt", "trbrdrt"}, m_first);
    // Writer may leave a table that begins right under another at the foot of a page in place
    // when its first row does not fit and may not split, the rest of the table lost from the
    // pages: the first row of a table that joins another may split.
    for (int t = bandBegin; t < firstRowEnd; ++t) {
        if (tokens[size_t(t)].is("trkeep"))
            m_first.drop.insert(t);
    }
    halveBorders(tokens, lastRow, bandEnd, {"clbrdrb", "trbrdrb"}, m_last);

    const std::vector<Row> rows = rowsAbove(tokens, bandBegin);
    m_tableStart = m_headingsEnd = rows.empty() ? bandBegin : rows.front().begin;
    if (hasOwnPages(tokens))
        return;
    // The heading rows: the rows marked so (\trhdr) at the top of the table, or, where none is
    // (LibreOffice does not write the mark), every row above the band.
    const auto marked = [&](const Row& row) {
        return std::any_of(tokens.begin() + row.begin, tokens.begin() + row.end,
                           [](const RtfToken& token) { return token.is("trhdr"); });
    };
    const bool anyMarked = std::any_of(rows.begin(), rows.end(), marked);
    const Row* lastHeading = nullptr;
    for (const Row& row : rows) {
        if (anyMarked && !marked(row))
            break;
        for (int t = row.begin; t < row.end; ++t) {
            if (tokens[size_t(t)].is("trhdr"))
                m_inTable.drop.insert(t);
        }
        lastHeading = &row;
        m_headingsEnd = row.end;
    }
    if (!lastHeading)
        return;
    // Writer draws a line above the rows that continue a table on a new page: the headings in
    // the page header go without their bottom border.
    m_inPageHeader.drop = m_inTable.drop;
    dropBorders(tokens, lastHeading->begin, lastHeading->end, {"clbrdrb", "trbrdrb"},
                m_inPageHeader);
    // The first page shows its headings in the table: it gets an empty page header.
    int sectionStart = -1;
    for (int t = 0; t < m_tableStart; ++t) {
        if (tokens[size_t(t)].is("sectd"))
            sectionStart = t;
    }
    m_pageHeaderStart = QByteArrayLiteral("{\\header ");
    if (sectionStart >= 0)
        m_beforeTable.after[sectionStart] = QByteArrayLiteral("\\titlepg");
    else
        m_pageHeaderStart.prepend("\\titlepg");
}

QByteArrayView TableBand::joint() {
    return "{\\pard\\plain\\sl-1\\slmult0\\sb0\\sa0\\fs2\\v\\par}\r\n";
}

QByteArrayView TableBand::pageHeaderEnd() {
    return "{\\pard\\plain\\sl-1\\slmult0\\sb0\\sa0\\fs2\\v\\par}}\r\n";
}

} // namespace zelmar
