#include "core/search/CardScan.h"

#include "core/platform/Progress.h"
#include "core/search/CardConditions.h"
#include "core/store/RecordFile.h"
#include "core/store/TAnketa.h"

#include <memory>

namespace zelmar {

namespace {

constexpr qint64 kFirstBlock = 64;
constexpr qint64 kLargestBlock = (1 << 20) / TAnketa::Size;

// Blocks of cards read one after another in one direction, each twice the last up to 1 MiB.
class BlockReader {
public:
    explicit BlockReader(const RecordFile& file)
        : m_file(file)
        , m_cards(new TAnketa[kLargestBlock]) {}

    const TAnketa* read(qint64 first, qint64 count) {
        m_file.readRecords(first, count, m_cards.get());
        return m_cards.get();
    }
    qint64 nextSize() {
        const qint64 size = m_size;
        m_size = std::min(m_size * 2, kLargestBlock);
        return size;
    }

private:
    const RecordFile& m_file;
    std::unique_ptr<TAnketa[]> m_cards;
    qint64 m_size = kFirstBlock;
};

} // namespace

std::optional<qint64> findForward(const RecordFile& file, qint64 from, const CardTest& test,
                                  TAnketa& found, Progress* progress) {
    const qint64 total = file.size();
    BlockReader reader(file);
    for (qint64 first = std::max<qint64>(from, 0); first < total;) {
        const qint64 count = std::min(reader.nextSize(), total - first);
        const TAnketa* cards = reader.read(first, count);
        for (qint64 i = 0; i < count; ++i) {
            if (test(cards[i])) {
                found = cards[i];
                return first + i;
            }
        }
        first += count;
        if (progress)
            progress->report(first, total);
    }
    return std::nullopt;
}

std::optional<qint64> findBackward(const RecordFile& file, qint64 from, const CardTest& test,
                                   TAnketa& found, Progress* progress) {
    const qint64 total = file.size();
    BlockReader reader(file);
    for (qint64 last = std::min(from, total - 1); last >= 0;) {
        const qint64 count = std::min(reader.nextSize(), last + 1);
        const qint64 first = last - count + 1;
        const TAnketa* cards = reader.read(first, count);
        for (qint64 i = count - 1; i >= 0; --i) {
            if (test(cards[i])) {
                found = cards[i];
                return first + i;
            }
        }
        last = first - 1;
        if (progress)
            progress->report(total - first, total);
    }
    return std::nullopt;
}

} // namespace zelmar
