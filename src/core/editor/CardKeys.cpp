#include "core/editor/CardKeys.h"

#include "core/editor/AppState.h"
#include "core/store/TAnketa.h"
#include "core/texts/DateTexts.h"

#include <algorithm>
#include <cstring>

namespace zelmar {

namespace {

// Keys have nine digits: after the greatest one they start again from 0.
constexpr int kKeys = 1'000'000'000;

int keyOf(const char* record) {
    int key;
    std::memcpy(&key, record + offsetof(TAnketa, Klu4Form1), sizeof key);
    return key;
}

} // namespace

void FileKeys::refresh() {
    if (!m_file.isOpen()) {
        m_sorted.clear();
        m_records = -1;
        return;
    }
    const qint64 records = m_file.size();
    if (m_file.openings() != m_opening || records < m_records || m_records < 0) {
        m_sorted.clear();
        m_records = 0;
        m_opening = m_file.openings();
    }
    if (records == m_records)
        return;
    // The cards appended since the last look.
    constexpr qint64 kBlock = 512;
    std::vector<char> block(static_cast<size_t>(kBlock * m_file.recordSize()));
    const auto middle = static_cast<std::ptrdiff_t>(m_sorted.size());
    for (qint64 first = m_records; first < records; first += kBlock) {
        const qint64 count = std::min(kBlock, records - first);
        m_file.readRecords(first, count, block.data());
        for (qint64 i = 0; i < count; ++i)
            m_sorted.push_back(keyOf(block.data() + i * m_file.recordSize()));
    }
    std::sort(m_sorted.begin() + middle, m_sorted.end());
    std::inplace_merge(m_sorted.begin(), m_sorted.begin() + middle, m_sorted.end());
    m_records = records;
}

bool FileKeys::contains(int key) {
    refresh();
    return std::binary_search(m_sorted.begin(), m_sorted.end(), key);
}

int newCardKey(AppState& s) {
    int key = NewStamp(s.clock);
    while ((s.main.isOpen() && s.main.findKey(key)) || s.archiveKeys.contains(key))
        key = (key + 1) % kKeys;
    return key;
}

} // namespace zelmar
