#include "core/editor/MainCardFile.h"

#include "core/texts/DayNumber.h"

#include <algorithm>
#include <cmath>
#include <new>
#include <numeric>

namespace zelmar {

template <class K>
void RecordOrder<K>::build() {
    m_order.resize(m_values.size());
    std::iota(m_order.begin(), m_order.end(), 0);
    if (!std::is_sorted(m_values.begin(), m_values.end())) {
        std::stable_sort(m_order.begin(), m_order.end(), [this](std::int32_t a, std::int32_t b) {
            return m_values[static_cast<size_t>(a)] < m_values[static_cast<size_t>(b)];
        });
    }
}

template <class K>
std::optional<qint64> RecordOrder<K>::first(K value) const {
    const auto it =
        std::lower_bound(m_order.begin(), m_order.end(), value, [this](std::int32_t record, K v) {
            return m_values[static_cast<size_t>(record)] < v;
        });
    if (it == m_order.end() || m_values[static_cast<size_t>(*it)] != value)
        return std::nullopt;
    return *it;
}

template <class K>
std::span<const std::int32_t> RecordOrder<K>::all(K value) const {
    const auto from =
        std::lower_bound(m_order.begin(), m_order.end(), value, [this](std::int32_t record, K v) {
            return m_values[static_cast<size_t>(record)] < v;
        });
    const auto to = std::upper_bound(from, m_order.end(), value, [this](K v, std::int32_t record) {
        return v < m_values[static_cast<size_t>(record)];
    });
    return {from, to};
}

template <class K>
std::vector<std::int32_t>::iterator RecordOrder<K>::place(qint64 record) {
    const K value = m_values[static_cast<size_t>(record)];
    return std::lower_bound(m_order.begin(), m_order.end(), record,
                            [this, value](std::int32_t other, qint64 rec) {
                                const K v = m_values[static_cast<size_t>(other)];
                                return v < value || (v == value && other < rec);
                            });
}

template <class K>
void RecordOrder<K>::insert(qint64 record) {
    m_order.insert(place(record), static_cast<std::int32_t>(record));
}

template <class K>
void RecordOrder<K>::remove(qint64 record) {
    const auto it = place(record);
    if (it != m_order.end() && *it == record)
        m_order.erase(it);
}

template class RecordOrder<std::int32_t>;
template class RecordOrder<std::int64_t>;

std::int64_t MainCardFile::numberInYear(int gurN, int year) {
    // Year first: in register order the values then mostly grow.
    return (static_cast<std::int64_t>(year) << 32) | static_cast<std::uint32_t>(gurN);
}

std::int64_t MainCardFile::numberInYear(const TAnketa& card) {
    return numberInYear(card.GurN, yearOfDay(card.DateOtkaza));
}

std::int64_t MainCardFile::numberAndDay(int gurN, double day) {
    const std::int32_t whole =
        isRepresentable(day) ? static_cast<std::int32_t>(std::trunc(day)) : kNoDay;
    return (static_cast<std::int64_t>(gurN) << 32) | static_cast<std::uint32_t>(whole);
}

std::int64_t MainCardFile::numberAndDay(const TAnketa& card) {
    return numberAndDay(card.GurN, card.DateOtkaza);
}

std::span<const std::int32_t> MainCardFile::findNumberAndDay(std::int64_t value) {
    indexed();
    if (dayOf(value) == kNoDay)
        return {};
    return m_byNumberAndDay.all(value);
}

void MainCardFile::reindex(const std::function<void(qint64, const TAnketa&)>& visit) {
    const auto n = static_cast<size_t>(size());
    m_keys.clear();
    m_numberInYear.clear();
    m_numberAndDay.clear();
    m_keys.reserve(n);
    m_numberInYear.reserve(n);
    m_numberAndDay.reserve(n);
    forEach([&](qint64 record, const char* bytes) {
        const TAnketa& card = *std::launder(reinterpret_cast<const TAnketa*>(bytes));
        m_keys.push_back(card.Klu4Form1);
        m_numberInYear.push_back(numberInYear(card));
        m_numberAndDay.push_back(numberAndDay(card));
        if (visit)
            visit(record, card);
    });
    m_byKey.build();
    m_byNumberInYear.build();
    m_byNumberAndDay.build();
    m_indexedOpening = openings();
}

void MainCardFile::indexed() {
    if (m_indexedOpening != openings() || m_keys.size() != static_cast<size_t>(size()))
        reindex();
}

void MainCardFile::store(qint64 record, const TAnketa& card) {
    indexed();
    seek(record);
    write(card);
    sync();
    index(record, card);
}

void MainCardFile::put(qint64 first, const TAnketa* cards, qint64 count) {
    indexed();
    seek(first);
    writeRecords(cards, count);
    for (qint64 i = 0; i < count; ++i)
        index(first + i, cards[i]);
}

void MainCardFile::index(qint64 record, const TAnketa& card) {
    const auto at = static_cast<size_t>(record);
    if (at == m_keys.size()) {
        m_keys.push_back(card.Klu4Form1);
        m_numberInYear.push_back(numberInYear(card));
        m_numberAndDay.push_back(numberAndDay(card));
        m_byKey.insert(record);
        m_byNumberInYear.insert(record);
        m_byNumberAndDay.insert(record);
        return;
    }
    // Overwriting: the record leaves its old values for the new ones.
    const auto move = [record, at](auto& values, auto& order, auto value) {
        if (values[at] == value)
            return;
        order.remove(record);
        values[at] = value;
        order.insert(record);
    };
    move(m_keys, m_byKey, card.Klu4Form1);
    move(m_numberInYear, m_byNumberInYear, numberInYear(card));
    move(m_numberAndDay, m_byNumberAndDay, numberAndDay(card));
}

} // namespace zelmar
