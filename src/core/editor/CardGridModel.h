#pragma once

#include "core/store/RecordFile.h"
#include "core/store/TAnketa.h"

#include <QAbstractTableModel>
#include <QStringList>

#include <array>
#include <vector>

namespace zelmar {

// A card grid (the main grid Spisok, the working grid RabSpis) as a view over its card file:
// view row r shows record r, formatted only when it is painted, so a grid of a million cards
// costs no strings up front and always shows the file as it is.
class CardGridModel : public QAbstractTableModel {
    Q_OBJECT

public:
    enum Column { Kniga, Pp, GurN, Date, Kus, KusDate, Zayavitel, Primechanie, Key, ColumnCount };

    explicit CardGridModel(const RecordFile& file, QObject* parent = nullptr);

    static const QStringList& headings();
    // The text of a cell of the card at 1-based row number row.
    static QString cellText(const TAnketa& card, int column, qint64 row);

    // With no card, show one blank row rather than none.
    void setBlankRowWhenEmpty(bool blank) { m_blankRowWhenEmpty = blank; }
    // The file changed: drop what was read and show it anew.
    void refresh();

    int cards() const;
    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    // Cards are read in blocks of this many records, a few blocks kept.
    static constexpr int kBlock = 64;
    static constexpr int kBlocks = 8;
    struct Block {
        qint64 first = -1;
        std::vector<TAnketa> cards;
    };
    const TAnketa* card(qint64 record) const;

    const RecordFile& m_file;
    bool m_blankRowWhenEmpty = false;
    mutable std::array<Block, kBlocks> m_blocks;
    mutable int m_nextBlock = 0;
};

} // namespace zelmar
