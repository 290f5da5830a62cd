#pragma once

#include "core/documents/RtfWriter.h"

#include <QByteArray>
#include <QString>
#include <QStringView>

#include <functional>
#include <vector>

namespace zelmar {

// Where a merge takes its values from.
class MergeValues {
public:
    virtual ~MergeValues() = default;
    // How often the band is repeated (the cards of a report).
    virtual qsizetype records() const = 0;
    // Writes the value of `field` for a record of the band, or for the text outside the band
    // when record is -1.
    virtual void write(qsizetype record, int field, RtfWriter& out) const = 0;
};

// An RTF template: a document whose text holds placeholders #name#. A placeholder is found in
// the text as the reader sees it, whatever an editor put between its characters (groups,
// formatting, \'xx escapes), so #g{\b n}# is the placeholder #gn#. The placeholders #BAND# and
// #ENDBAND# mark a band: the table row (or, outside a table, the paragraphs) from the one
// holding #BAND# to the one holding #ENDBAND#, written once per record. A band of table rows
// is written as LibreOffice reads long tables well (see TableBand): in tables of a bounded
// number of records, its heading rows (\trhdr) repeated in the page header.
class RtfTemplate {
public:
    // Resolves a placeholder's name to a field number, or -1 for a name the caller does not
    // know, which then stays in the document as it is.
    using FieldOf = std::function<int(QStringView name)>;

    // Throws DocumentError for a template that is not RTF, is broken, or has a band that is
    // not whole rows; `what` names the template in the messages.
    RtfTemplate(const QByteArray& rtf, const QString& what, const FieldOf& fieldOf);

    bool hasBand() const { return m_hasBand; }
    void write(RtfWriter& out, const MergeValues& values) const;

private:
    struct Segment {
        QByteArray raw;       // template bytes before the value
        bool rawOpen = false; // they end with a control word without its blank
        int field = -1;       // the value after them; -1 for none
        int uc = 1;           // the \uc in force where the value goes
    };
    using Part = std::vector<Segment>;
    void writePart(RtfWriter& out, const Part& part, qsizetype record,
                   const MergeValues& values) const;

    Part m_head;
    // The band; for a band of table rows also as the first record of a table, the last one
    // before the next table, and both.
    Part m_band;
    Part m_bandFirst;
    Part m_bandLast;
    Part m_bandFirstLast;
    Part m_tail;
    bool m_hasBand = false;
    bool m_tableBand = false;
};

// Fills an RTF document: every known #name# becomes its value (names compared without regard
// to letter case); unknown ones stay. Throws DocumentError like RtfTemplate.
QByteArray fillRtf(const QByteArray& rtf, const QString& what,
                   const QList<std::pair<QString, QString>>& fields);

} // namespace zelmar
