#pragma once

#include "core/store/RecordFile.h"
#include "core/store/TAnketa.h"

#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

namespace zelmar {

// The records of a file ordered by one value of theirs (and by record number among equal
// values), so that the first record holding a value is found by binary search. The values
// live in a vector indexed by record number, owned by the caller.
template <class K>
class RecordOrder {
public:
    explicit RecordOrder(const std::vector<K>& values)
        : m_values(values) {}
    // Orders all records; values already in record order (keys drawn from the clock) cost
    // one pass.
    void build();
    std::optional<qint64> first(K value) const;
    // Record holds its value in the vector: put it in its place.
    void insert(qint64 record);
    // Take record out, while the vector still holds the value it is ordered by.
    void remove(qint64 record);

private:
    std::vector<std::int32_t>::iterator place(qint64 record);
    const std::vector<K>& m_values;
    std::vector<std::int32_t> m_order;
};

// The main card file with an index of its cards built in one pass, so that Save finds a key
// or a register number of a year without reading the file: the cost of a store does not grow
// with the register. Every write of a card goes through here to keep the index right. The
// index belongs to one opening of the file: a file opened anew is indexed at its first use,
// unless reindex() ran (the start's pass over the cards does).
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

    std::optional<qint64> findKey(int key) {
        indexed();
        return m_byKey.first(key);
    }
    std::optional<qint64> findNumberInYear(int gurN, int year) {
        indexed();
        return m_byNumberInYear.first(numberInYear(gurN, year));
    }

private:
    using TypedFile<TAnketa>::write;
    void indexed();

    std::vector<std::int32_t> m_keys;
    std::vector<std::int64_t> m_numberInYear;
    RecordOrder<std::int32_t> m_byKey{m_keys};
    RecordOrder<std::int64_t> m_byNumberInYear{m_numberInYear};
    std::optional<quint64> m_indexedOpening;
};

} // namespace zelmar
