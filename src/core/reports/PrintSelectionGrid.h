#pragma once

#include "core/store/RecordFile.h"
#include "core/store/TAnketa.h"

#include <QAbstractTableModel>
#include <QStringList>

#include <array>
#include <cstdint>
#include <unordered_map>
#include <vector>

namespace zelmar {

class Progress;

// A table of the print selection window (the main card file, the working card file, the
// archive) as a view over its card file. Cells are formatted only when painted, so a table of a
// million cards costs no strings up front. A sorted table keeps a row -> record map, so every
// row always knows the card it shows.
class PrintGridModel : public QAbstractTableModel {
    Q_OBJECT

public:
    enum Column {
        Ud,
        Kniga,
        GurN,
        Date,
        Kus,
        KusDate,
        DeloNom,
        DeloDat,
        Zayavitel,
        NazwDok,
        Adres,
        IshNom,
        IshDat,
        Telefon,
        WhodNom,
        WhodDat,
        IshNash,
        IshNashDat,
        ColumnCount
    };
    // The longest cell text in bytes.
    static constexpr int kCellBytes = 64;

    explicit PrintGridModel(const RecordFile& file, QObject* parent = nullptr);

    static const QStringList& headings();
    static QString cellText(const TAnketa& card, int column);
    // The cell's text in Windows-1251 bytes, as a sort compares them; its length.
    static int cellBytes(const TAnketa& card, int column, char* out);

    // The table is filled from its file: rows in file order, every cell read afresh.
    void refill();
    // Cards changed in place (marks, printed flags; never their number or day): the same
    // rows, cells read afresh.
    void reload();
    // The record left the file and the later ones moved up one place: its row goes.
    void removeRecord(qint64 record);
    // Rows ordered by the cell texts of the column, compared byte by byte in Windows-1251
    // code order, equal texts in file order. One pass over the file.
    void sortBy(int column, Progress& progress);
    bool sorted() const { return !m_order.empty(); }

    qint64 rows() const { return m_rows; }
    // The record a row (0-based) shows.
    qint64 recordAt(qint64 row) const;
    // The row (0-based) that shows a record; -1 for none.
    qint64 rowOf(qint64 record) const;
    TAnketa cardAt(qint64 row) const;

    // The register number and day (MainCardFile::numberAndDay) of every record, read in one
    // pass when first needed; for the main card file its index's own values.
    const std::vector<std::int64_t>& numbersAndDays() const;
    void useNumbersAndDays(const std::vector<std::int64_t>* values) { m_external = values; }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    static constexpr int kBlock = 64;
    static constexpr int kBlocks = 8;
    struct Block {
        qint64 first = -1;
        std::vector<TAnketa> cards;
    };
    const TAnketa* card(qint64 record) const;
    void dropCache() const;
    qint64 fileRecords() const;

    const RecordFile& m_file;
    qint64 m_rows = 0;
    std::vector<std::int32_t> m_order; // row -> record while sorted
    const std::vector<std::int64_t>* m_external = nullptr;
    mutable std::vector<std::int64_t> m_numbersAndDays;
    mutable bool m_numbersRead = false;
    mutable std::array<Block, kBlocks> m_blocks;
    mutable int m_nextBlock = 0;
    mutable std::unordered_map<qint64, TAnketa> m_scattered; // sorted rows' cards
};

} // namespace zelmar
