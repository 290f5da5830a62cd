#include "core/editor/MainCardFile.h"

#include "core/texts/DayNumber.h"

#include <algorithm>

namespace zelmar {

template <class K>
void FirstIndex<K>::seal() {
    std::stable_sort(m_entries.begin(), m_entries.end(),
                     [](const Entry& a, const Entry& b) { return a.first < b.first; });
    m_entries.erase(std::unique(m_entries.begin(), m_entries.end(),
                                [](const Entry& a, const Entry& b) { return a.first == b.first; }),
                    m_entries.end());
}

template <class K>
typename std::vector<typename FirstIndex<K>::Entry>::iterator FirstIndex<K>::lower(K value) {
    return std::lower_bound(m_entries.begin(), m_entries.end(), value,
                            [](const Entry& e, K v) { return e.first < v; });
}

template <class K>
std::optional<qint64> FirstIndex<K>::find(K value) const {
    const auto it = std::lower_bound(m_entries.begin(), m_entries.end(), value,
                                     [](const Entry& e, K v) { return e.first < v; });
    if (it == m_entries.end() || it->first != value)
        return std::nullopt;
    return it->second;
}

template <class K>
void FirstIndex<K>::note(K value, qint64 record) {
    const auto it = lower(value);
    if (it != m_entries.end() && it->first == value)
        it->second = std::min(it->second, record);
    else
        m_entries.insert(it, Entry(value, record));
}

template <class K>
void FirstIndex<K>::forget(K value, qint64 record, std::optional<qint64> nextHolder) {
    const auto it = lower(value);
    if (it == m_entries.end() || it->first != value || it->second != record)
        return;
    if (nextHolder)
        it->second = *nextHolder;
    else
        m_entries.erase(it);
}

template class FirstIndex<std::int32_t>;
template class FirstIndex<std::int64_t>;

std::int64_t MainCardFile::numberInYear(int gurN, int year) {
    return (static_cast<std::int64_t>(gurN) << 32) | static_cast<std::uint32_t>(year);
}

std::int64_t MainCardFile::numberInYear(const TAnketa& card) {
    const QDate date = dateOf(card.DateOtkaza);
    return numberInYear(card.GurN, date.isValid() ? date.year() : 0);
}

void MainCardFile::reindex(const std::function<void(qint64, const TAnketa&)>& visit) {
    m_keys.clear();
    m_numberInYear.clear();
    m_byKey.clear();
    m_byNumberInYear.clear();
    const auto n = static_cast<size_t>(size());
    m_keys.reserve(n);
    m_numberInYear.reserve(n);
    m_byKey.reserve(n);
    m_byNumberInYear.reserve(n);
    forEach([&](qint64 record, const char* bytes) {
        TAnketa card;
        std::memcpy(&card, bytes, sizeof card);
        m_keys.push_back(card.Klu4Form1);
        m_numberInYear.push_back(numberInYear(card));
        m_byKey.add(card.Klu4Form1, record);
        m_byNumberInYear.add(m_numberInYear.back(), record);
        if (visit)
            visit(record, card);
    });
    m_byKey.seal();
    m_byNumberInYear.seal();
}

std::optional<qint64> MainCardFile::nextWithKey(int key, qint64 after) const {
    for (size_t i = static_cast<size_t>(after) + 1; i < m_keys.size(); ++i) {
        if (m_keys[i] == key)
            return static_cast<qint64>(i);
    }
    return std::nullopt;
}

std::optional<qint64> MainCardFile::nextWithNumberInYear(std::int64_t value, qint64 after) const {
    for (size_t i = static_cast<size_t>(after) + 1; i < m_numberInYear.size(); ++i) {
        if (m_numberInYear[i] == value)
            return static_cast<qint64>(i);
    }
    return std::nullopt;
}

void MainCardFile::store(const TAnketa& card) {
    const qint64 record = pos();
    write(card);
    sync();
    const std::int64_t value = numberInYear(card);
    const auto index = static_cast<size_t>(record);
    if (index == m_keys.size()) {
        m_keys.push_back(card.Klu4Form1);
        m_numberInYear.push_back(value);
    } else {
        // Overwriting: the record may leave its old key and number for new ones; the rare
        // search for the next holder only runs when a first holder changes.
        const int oldKey = m_keys[index];
        const std::int64_t oldValue = m_numberInYear[index];
        m_keys[index] = card.Klu4Form1;
        m_numberInYear[index] = value;
        if (oldKey != card.Klu4Form1 && m_byKey.find(oldKey) == record)
            m_byKey.forget(oldKey, record, nextWithKey(oldKey, record));
        if (oldValue != value && m_byNumberInYear.find(oldValue) == record)
            m_byNumberInYear.forget(oldValue, record, nextWithNumberInYear(oldValue, record));
    }
    m_byKey.note(card.Klu4Form1, record);
    m_byNumberInYear.note(value, record);
}

} // namespace zelmar
