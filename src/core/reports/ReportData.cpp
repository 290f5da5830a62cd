#include "core/reports/ReportData.h"

namespace zelmar {

namespace {

// The tags a card's pieces follow one another with, as the register writes them: "nn" first in
// the numbered layout, the term "Srok_R" only when there is one, our outgoing number and date
// last in the numbered layout.
std::vector<int> tagOrder(bool numbered) {
    std::vector<int> order;
    if (numbered)
        order.push_back(tags::Nn);
    for (int tag = tags::Nn + 1; tag <= tags::RPowR; ++tag)
        order.push_back(tag);
    if (numbered) {
        order.push_back(tags::RPowR + 1);
        order.push_back(tags::NIsD);
    }
    return order;
}

class Reader {
public:
    Reader(QByteArrayView bytes, QByteArrayView marker)
        : m_all(bytes)
        , m_marker(marker) {
        for (int tag = 0; tag < tags::Count; ++tag)
            m_names[static_cast<size_t>(tag)] = reportTags().at(tag).toLatin1();
    }

    // Whether a piece of the tag begins at `at`: the marker, the tag and its colon. Gives where
    // its value begins.
    bool pieceAt(qsizetype at, int tag, qsizetype* valueStart) const {
        const QByteArray& name = m_names[static_cast<size_t>(tag)];
        const qsizetype size = m_marker.size() + name.size() + 1;
        if (at < 0 || at + size > m_all.size())
            return false;
        const QByteArrayView piece = m_all.sliced(at, size);
        if (!piece.startsWith(m_marker) || piece.back() != ':' ||
            qstrnicmp(piece.data() + m_marker.size(), name.constData(), name.size()) != 0)
            return false;
        *valueStart = at + size;
        return true;
    }

    // The first place from `from` (up to `to`) where a piece of one of the tags begins, and
    // which; the marker elsewhere is text of the value before it. `lineStart`: the piece must
    // begin a line (single-card files).
    qsizetype nextPiece(qsizetype from, qsizetype to, std::initializer_list<int> tags,
                        bool lineStart, int* tag, qsizetype* valueStart) const {
        for (qsizetype at = from; at < to;) {
            at = m_all.sliced(0, to).indexOf(m_marker, at);
            if (at < 0)
                return -1;
            if (!lineStart || (at >= 2 && m_all[at - 2] == '\r' && m_all[at - 1] == '\n')) {
                for (const int candidate : tags) {
                    if (candidate >= 0 && pieceAt(at, candidate, valueStart)) {
                        *tag = candidate;
                        return at;
                    }
                }
            }
            at += m_marker.size();
        }
        return -1;
    }

    // Whether the line end at `at` ends a card's last value: the next card or the closing empty
    // lines follow, or the torn beginning of a piece that the file ends in.
    bool endsCard(qsizetype at, qsizetype nextCard) const {
        const qsizetype next = at + 2;
        if (next == nextCard && nextCard < m_all.size())
            return true;
        bool onlyLineEnds = true;
        for (qsizetype i = next; i < m_all.size() && onlyLineEnds; ++i)
            onlyLineEnds = m_all[i] == '\r' || m_all[i] == '\n';
        return onlyLineEnds ||
               (m_all.sliced(next).startsWith(m_marker) && m_all.indexOf('\n', next) < 0);
    }

private:
    QByteArrayView m_all;
    QByteArrayView m_marker;
    std::array<QByteArray, tags::Count> m_names;
};

} // namespace

QByteArrayView ReportData::value(qsizetype card, int tag) const {
    const Span& span = m_cards[static_cast<size_t>(card)][static_cast<size_t>(tag)];
    return QByteArrayView(m_bytes.constData() + span.from, span.size);
}

// The layout has no escaping, but a card's pieces come in a fixed order: a piece begins only
// where the marker is followed by the tag expected next; anywhere else "|1:" or "|0:" is text
// of the value, so a summary reading "... |1:gn:999 ..." stays in the summary. The last value
// of a card runs to the line end that the next card or the closing empty lines follow, since a
// trimmed summary keeps its own line breaks. A card is taken only when it is whole.
ReportData ReportData::parse(QByteArray bytes) {
    ReportData data;
    data.m_bytes = std::move(bytes);
    const QByteArrayView all(data.m_bytes);
    const qsizetype n = all.size();

    qsizetype first = 0;
    while (first < n && (all[first] == '\r' || all[first] == '\n'))
        ++first;
    const QByteArrayView single("|0:");
    const QByteArrayView multi("|1:");
    data.m_multi = first >= n || all.sliced(first).startsWith(multi);
    const Reader reader(all, data.m_multi ? multi : single);

    qsizetype start = first;
    qsizetype unused = 0;
    const bool numbered = reader.pieceAt(start, tags::Nn, &unused);
    const std::vector<int> order = tagOrder(numbered);
    const int firstTag = order.front();
    // Where the card after `from` begins: a line that starts with the first piece.
    const auto nextCard = [&](qsizetype from) {
        for (qsizetype at = from; at < n;) {
            at = all.indexOf("\r\n", at);
            if (at < 0)
                return n;
            at += 2;
            qsizetype value = 0;
            if (reader.pieceAt(at, firstTag, &value))
                return at;
        }
        return n;
    };

    while (start < n) {
        qsizetype valueStart = 0;
        if (!reader.pieceAt(start, firstTag, &valueStart)) {
            // A line that begins no card: passed over.
            start = nextCard(start);
            continue;
        }
        const qsizetype limit = data.m_multi ? nextCard(valueStart) : n;
        Card card{};
        bool whole = true;
        for (size_t i = 0; i < order.size(); ++i) {
            const int tag = order[i];
            qsizetype valueEnd = -1;
            int nextTag = -1;
            qsizetype nextValue = 0;
            if (i + 1 < order.size()) {
                const int following = order[i + 1];
                // The term is left out when there is none.
                const int orAfter = following == tags::SrokR ? order[i + 2] : -1;
                valueEnd = reader.nextPiece(valueStart, limit, {following, orAfter}, !data.m_multi,
                                            &nextTag, &nextValue);
                if (nextTag == orAfter && orAfter >= 0)
                    ++i;
                // A piece of a single-card file is a line of its own.
                if (valueEnd >= 0 && !data.m_multi)
                    valueEnd -= 2;
            } else {
                qsizetype at = all.sliced(0, limit).indexOf("\r\n", valueStart);
                while (at >= 0 && !reader.endsCard(at, limit))
                    at = all.sliced(0, limit).indexOf("\r\n", at + 2);
                valueEnd = at;
            }
            if (valueEnd < 0) {
                whole = false;
                break;
            }
            card[static_cast<size_t>(tag)] = {valueStart, valueEnd - valueStart};
            valueStart = nextValue;
        }
        if (whole)
            data.m_cards.push_back(card);
        if (!data.m_multi)
            break;
        start = limit;
    }
    return data;
}

} // namespace zelmar
