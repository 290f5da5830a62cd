#include "core/store/DropDownLists.h"

#include <QCollator>
#include <QLocale>

#include <algorithm>

namespace zelmar {

namespace {

const QCollator& collator() {
    static const QCollator instance = [] {
        QCollator c(QLocale(QLocale::Russian, QLocale::Russia));
        c.setCaseSensitivity(Qt::CaseInsensitive);
        return c;
    }();
    return instance;
}

bool before(const QString& a, const QString& b) {
    return collator().compare(a, b) < 0;
}

} // namespace

std::optional<QStringView> listFile(ListId id) {
    switch (id) {
    case ListId::WidDok:
        return u"Baza\\WidDoc.txt";
    case ListId::Nositel:
        return u"Baza\\Nositel.txt";
    case ListId::Otpravitel:
        return u"Baza\\Otpravit.txt";
    case ListId::Statia:
        return u"Baza\\StatiaUK.txt";
    case ListId::DolgnAvt:
        return u"Baza\\DolgnAvt.txt";
    case ListId::FIOAvtor:
        return u"Baza\\FIOAvtor.txt";
    case ListId::MestoNah:
        return u"Baza\\MestoNah.txt";
    case ListId::LicoUN:
        return u"Baza\\LicoUN.txt";
    case ListId::Motiv:
        return u"Baza\\MotivOt.txt";
    case ListId::DolgWines:
    case ListId::Dolgnost1:
        return u"Baza\\DolgWin.txt";
    default:
        return std::nullopt;
    }
}

void sortItems(QStringList& items) {
    std::stable_sort(items.begin(), items.end(), before);
}

qsizetype sortedPosition(const QStringList& items, const QString& text) {
    return std::upper_bound(items.begin(), items.end(), text, before) - items.begin();
}

void DropDownLists::set(ListId id, QStringList items) {
    sortItems(items);
    m_items[index(id)] = std::move(items);
    ++m_revisions[index(id)];
}

void DropDownLists::insertSorted(ListId id, const QString& item) {
    QStringList& items = m_items[index(id)];
    items.insert(sortedPosition(items, item), item);
    ++m_revisions[index(id)];
}

} // namespace zelmar
