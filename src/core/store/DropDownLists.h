#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

#include <array>
#include <optional>

namespace zelmar {

// The drop-down lists of the card editor and of the officials editor.
enum class ListId {
    WidDok,
    Nositel,
    Otpravitel,
    Statia,
    DolgnAvt,
    FIOAvtor,
    MestoNah,
    LicoUN,
    Motiv,
    DolgWines,
    DolgnPodp,
    DolgProdlen,
    KemWines,
    PodpUtw,
    KemProdlen,
    Dolgnost1,
    Count
};

inline constexpr int kListCount = static_cast<int>(ListId::Count);

// The reference list file of a list, if it has one.
std::optional<QStringView> listFile(ListId id);

// Alphabetical order ignoring letter case (Russian collation), equal items keeping their order.
void sortItems(QStringList& items);
// Where text goes in a sorted list.
qsizetype sortedPosition(const QStringList& items, const QString& text);

// The items of every drop-down list. Each change bumps the list's revision, so a window
// refreshes only the lists that changed.
class DropDownLists {
public:
    const QStringList& items(ListId id) const { return m_items[index(id)]; }
    int revision(ListId id) const { return m_revisions[index(id)]; }
    // Replaces the items, sorted.
    void set(ListId id, QStringList items);
    // Adds one item in its sorted place.
    void insertSorted(ListId id, const QString& item);

private:
    static size_t index(ListId id) { return static_cast<size_t>(id); }
    std::array<QStringList, kListCount> m_items;
    std::array<int, kListCount> m_revisions{};
};

} // namespace zelmar
