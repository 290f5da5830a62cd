#include "core/reports/ReportData.h"

namespace zelmar {

namespace {

struct Line {
    qsizetype from;
    qsizetype to; // without the line end
    bool ended;   // a line end follows
};

std::vector<Line> splitLines(const QByteArray& bytes) {
    std::vector<Line> lines;
    qsizetype start = 0;
    const qsizetype n = bytes.size();
    while (start < n) {
        qsizetype end = bytes.indexOf('\n', start);
        const bool ended = end >= 0;
        if (!ended)
            end = n;
        qsizetype stop = end;
        if (stop > start && bytes.at(stop - 1) == '\r')
            --stop;
        lines.push_back({start, stop, ended});
        start = ended ? end + 1 : n;
    }
    return lines;
}

int tagOf(QByteArrayView piece, qsizetype* valueStart) {
    const qsizetype colon = piece.indexOf(':');
    if (colon < 0)
        return -1;
    *valueStart = colon + 1;
    return reportTagIndex(QString::fromLatin1(piece.first(colon)));
}

} // namespace

QByteArrayView ReportData::value(qsizetype card, int tag) const {
    const Span& span = m_cards[static_cast<size_t>(card)][static_cast<size_t>(tag)];
    return QByteArrayView(m_bytes.constData() + span.from, span.size);
}

ReportData ReportData::parse(QByteArray bytes) {
    ReportData data;
    data.m_bytes = std::move(bytes);
    const QByteArray& b = data.m_bytes;
    std::vector<Line> lines = splitLines(b);
    // The closing empty lines belong to no value.
    while (!lines.empty() && lines.back().from == lines.back().to)
        lines.pop_back();

    const QByteArrayView single("|0:");
    const QByteArrayView multi("|1:");
    data.m_multi = lines.empty() || QByteArrayView(b).sliced(lines.front().from).startsWith(multi);
    const QByteArrayView marker = data.m_multi ? multi : single;

    Card card{};
    bool open = false;     // a card has begun
    bool numbered = false; // it has the piece "nn"
    bool ended = false;    // its latest line has its line end
    int lastTag = -1;      // the piece a continuation line extends
    const auto finishCard = [&] {
        if (open && ended && lastTag == (numbered ? tags::NIsD : tags::RPowR))
            data.m_cards.push_back(card);
        card = Card{};
        open = numbered = ended = false;
        lastTag = -1;
    };
    const QByteArrayView all(b);
    // A piece runs to the next marker or to the end of its line.
    const auto takePieces = [&](qsizetype from, qsizetype to) {
        while (from < to) {
            qsizetype next = all.sliced(from, to - from).indexOf(marker);
            next = next < 0 ? to : from + next;
            if (next > from && lastTag >= 0) {
                // The rest of a value that began on an earlier line, line breaks included.
                Span& span = card[static_cast<size_t>(lastTag)];
                span.size = next - span.from;
            }
            if (next >= to)
                break;
            const qsizetype pieceStart = next + marker.size();
            qsizetype pieceEnd = all.sliced(pieceStart, to - pieceStart).indexOf(marker);
            pieceEnd = pieceEnd < 0 ? to : pieceStart + pieceEnd;
            qsizetype valueStart = 0;
            const int tag = tagOf(all.sliced(pieceStart, pieceEnd - pieceStart), &valueStart);
            open = true;
            lastTag = tag;
            if (tag == tags::Nn)
                numbered = true;
            if (tag >= 0)
                card[static_cast<size_t>(tag)] = {pieceStart + valueStart,
                                                  pieceEnd - pieceStart - valueStart};
            from = pieceEnd;
        }
    };

    for (const Line& line : lines) {
        const bool startsPiece = all.sliced(line.from).startsWith(marker);
        if (data.m_multi && startsPiece)
            finishCard();
        if (!startsPiece && !open)
            continue;
        takePieces(line.from, line.to);
        ended = line.ended;
    }
    finishCard();
    return data;
}

} // namespace zelmar
