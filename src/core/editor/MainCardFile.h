#pragma once

#include "core/store/RecordFile.h"
#include "core/store/TAnketa.h"

#include <cstdint>
#include <optional>
#include <span>
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
    // Every record holding value, in record order.
    std::span<const std::int32_t> all(K value) const;
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
// or a register number of a year, and the print selection window the cards of a register
// number and day, without reading the file: the cost of a store or a pick does not grow with
// the register. Every write of a card goes through here to keep the index right. The index
// belongs to one opening of the file: a file opened anew is indexed at its first use, unless
// reindex() ran (the start's pass over the cards does).
class MainCardFile : public TypedFile<TAnketa> {
public:
    // The register number and year of the refusal date, as one value.
    static std::int64_t numberInYear(const TAnketa& card);
    static std::int64_t numberInYear(int gurN, int year);
    // The register number and the whole day of the refusal date, as one value: how a card is
    // known in every card file when it is picked or marked as printed. A date outside the
    // calendar gives a day that no lookup finds.
    static std::int64_t numberAndDay(const TAnketa& card);
    static std::int64_t numberAndDay(int gurN, double day);
    static int numberOf(std::int64_t numberAndDay) { return static_cast<int>(numberAndDay >> 32); }
    static std::int32_t dayOf(std::int64_t numberAndDay) {
        return static_cast<std::int32_t>(numberAndDay & 0xFFFFFFFF);
    }
    static constexpr std::int32_t kNoDay = INT32_MIN;

    // Rebuilds the index from the file in one pass; visit (if any) sees every card.
    void reindex(const std::function<void(qint64, const TAnketa&)>& visit = {});
    // Writes the card at record (an existing one, or the count to append), updates the index
    // and makes the record durable. The record is named, not taken from the position: index
    // work before the write reads the file and moves the position.
    void store(qint64 record, const TAnketa& card);
    // Writes count cards over the records from `first` on (appending at the end), keeping the
    // index; durable after sync(). For passes that change many cards and sync once.
    void put(qint64 first, const TAnketa* cards, qint64 count = 1);

    std::optional<qint64> findKey(int key) {
        indexed();
        return m_byKey.first(key);
    }
    std::optional<qint64> findNumberInYear(int gurN, int year) {
        indexed();
        return m_byNumberInYear.first(numberInYear(gurN, year));
    }
    // Every record holding the value of numberAndDay, in record order.
    std::span<const std::int32_t> findNumberAndDay(std::int64_t value);
    // The register number and day of every record, in record order.
    const std::vector<std::int64_t>& numbersAndDays() {
        indexed();
        return m_numberAndDay;
    }

private:
    using TypedFile<TAnketa>::write;
    using TypedFile<TAnketa>::writeRecords;
    // Record (an existing one or the next) now holds card.
    void index(qint64 record, const TAnketa& card);
    // Builds the index when this opening of the file has none yet.
    void indexed();

    std::vector<std::int32_t> m_keys;
    std::vector<std::int64_t> m_numberInYear;
    std::vector<std::int64_t> m_numberAndDay;
    RecordOrder<std::int32_t> m_byKey{m_keys};
    RecordOrder<std::int64_t> m_byNumberInYear{m_numberInYear};
    RecordOrder<std::int64_t> m_byNumberAndDay{m_numberAndDay};
    std::optional<quint64> m_indexedOpening;
};

} // namespace zelmar
