#pragma once

#include "core/documents/RtfTokens.h"

#include <QByteArray>

#include <map>
#include <set>
#include <vector>

namespace zelmar {

// Changes to a range of template tokens as it is written: tokens left out, bytes put before or
// after a token. Inserted bytes may end with a control word without its blank.
struct TokenChanges {
    std::set<int> drop;
    std::map<int, QByteArray> before;
    std::map<int, QByteArray> after;

    void add(const TokenChanges& other);
};

// How a band of table rows is written for a long report, so that LibreOffice reads it in time
// that grows with the rows and not with their square, and prints the column headings on every
// page. Writer reads a long table slower with every row, so the band's rows go into tables of
// RowsPerTable records each, joined by an empty hidden paragraph of no height; where two tables
// meet, their borders are half as wide, so no seam shows. Writer does not read the heading rows
// (\trhdr) of an RTF table, so the heading rows (those marked, or else all rows of the table
// above the band) go into the page header of every page after the first as well (the first
// shows them above the band).
class TableBand {
public:
    static constexpr int RowsPerTable = 25;

    // bandBegin..bandEnd: the tokens of the band, whole table rows.
    TableBand(const std::vector<RtfToken>& tokens, int bandBegin, int bandEnd);

    // The band as the first or the last record of a table that another table joins.
    const TokenChanges& firstOfTable() const { return m_first; }
    const TokenChanges& lastOfTable() const { return m_last; }
    // What goes between two tables.
    static QByteArrayView joint();

    // The heading rows to repeat: none when the band is the table's first row, or when the
    // template has page headers, footers or sections of its own that ours would disturb.
    bool repeatsHeadings() const { return m_headingsEnd > m_tableStart; }
    // The first token of the band's table and the end of its heading rows.
    int tableStart() const { return m_tableStart; }
    int headingsEnd() const { return m_headingsEnd; }
    // The template up to the band's table: the first page gets a page header of its own.
    const TokenChanges& beforeTable() const { return m_beforeTable; }
    // The heading rows in the page header, and in the table above the band.
    const TokenChanges& headingsInPageHeader() const { return m_inPageHeader; }
    const TokenChanges& headingsInTable() const { return m_inTable; }
    // The page header around the heading rows.
    QByteArrayView pageHeaderStart() const { return m_pageHeaderStart; }
    static QByteArrayView pageHeaderEnd();

private:
    TokenChanges m_first;
    TokenChanges m_last;
    TokenChanges m_beforeTable;
    TokenChanges m_inPageHeader;
    TokenChanges m_inTable;
    QByteArray m_pageHeaderStart;
    int m_tableStart = 0;
    int m_headingsEnd = 0;
};

} // namespace zelmar
