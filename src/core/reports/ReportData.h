#pragma once

#include "core/reports/ReportKinds.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <array>
#include <vector>

namespace zelmar {

// A report data file as the runner reads it: the cards with the values of their tags, kept as
// the file's Windows-1251 bytes.
class ReportData {
public:
    // Reads the bytes of a data file. "|0:" pieces make one card (a value running over several
    // lines keeps its line breaks); "|1:" lines make one card each. A card is taken only when it
    // is whole: its last piece is there and its line is ended, so a torn file gives its whole
    // cards.
    static ReportData parse(QByteArray bytes);

    bool multiCard() const { return m_multi; }
    qsizetype cards() const { return static_cast<qsizetype>(m_cards.size()); }
    // The value of a tag (index into reportTags()) of a card, as Windows-1251 bytes; empty when
    // the card has no such piece.
    QByteArrayView value(qsizetype card, int tag) const;

private:
    struct Span {
        qsizetype from = 0;
        qsizetype size = 0;
    };
    using Card = std::array<Span, tags::Count>;

    QByteArray m_bytes;
    bool m_multi = false;
    std::vector<Card> m_cards;
};

} // namespace zelmar
