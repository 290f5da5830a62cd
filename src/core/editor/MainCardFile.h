#pragma once

#include "core/store/RecordFile.h"
#include "core/store/TAnketa.h"

#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

namespace zelmar {

// The first record number of each value, kept sorted by value.
template <class K>
class FirstIndex {
public:
    void clear() { m_entries.clear(); }
    void reserve(size_t n) { m_entries.reserve(n); }
    // Bulk load: add in record order, then seal() once.
    void add(K value, qint64 record) { m_entries.emplace_back(value, record); }
    void seal();

    std::optional<qint64> find(K value) const;
    // A record now holds value: it becomes the first record of value if none before it does.
    void note(K value, qint64 record);
    // Record left value; nextHolder is the next record holding it (or nothing).
    void forget(K value, qint64 record, std::optional<qint64> nextHolder);

private:
    using Entry = std::pair<K, qint64>;
    typename std::vector<Entry>::iterator lower(K value);
    std::vector<Entry> m_entries;
};

// The main card file with an index of its cards built in one pass, so that Save finds a key
// or a register number of a year without reading the file: the cost of a store does not grow
// with the register. Every write of a card goes through here to keep the index right.
class MainCardFile : public TypedFile<TAnketa> {
public:
    // The register number and year of the refusal date, as one value.
    static std::int64_t numberInYear(const TAnketa& card);
    static std::int64_t numberInYear(int gurN, int year);

    // Rebuilds the index from the file in one pass; visit (if any) sees every card.
    void reindex(const std::function<void(qint64, const TAnketa&)>& visit = {});
    // Writes the card at the position (appending at the end), updates the index and makes
    // the record durable.
    void store(const TAnketa& card);

    std::optional<qint64> findKey(int key) const { return m_byKey.find(key); }
    std::optional<qint64> findNumberInYear(int gurN, int year) const {
        return m_byNumberInYear.find(numberInYear(gurN, year));
    }
    // Key of a record as the index knows it.
    int keyAt(qint64 record) const { return m_keys.at(static_cast<size_t>(record)); }

private:
    std::optional<qint64> nextWithKey(int key, qint64 after) const;
    std::optional<qint64> nextWithNumberInYear(std::int64_t value, qint64 after) const;

    std::vector<std::int32_t> m_keys;
    std::vector<std::int64_t> m_numberInYear;
    FirstIndex<std::int32_t> m_byKey;
    FirstIndex<std::int64_t> m_byNumberInYear;
};

} // namespace zelmar
