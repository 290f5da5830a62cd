#pragma once

#include <QList>
#include <QObject>
#include <QSet>

class QTableView;

namespace zelmar {

// The columns of a grid: each as wide as its heading and its texts need (up to a limit, and never
// narrower than the width given for it), so a name shows whole and a column of short numbers
// takes no room; the last column takes no more than the others, the space right of it stays
// free, except what a column held to the limit needs to show its texts whole. The texts measured
// are those of the first and the last rows and of rows added or changed, so a grid of a million
// cards costs no more than one of a thousand. A column the clerk widens or narrows by hand keeps
// that width while the program runs. When the grid changes size, its current row (the shown card's)
// stays in view. Tab leaves the grid: its cells are read, not typed into.
class GridColumns : public QObject {
public:
    explicit GridColumns(QTableView* grid, const QList<int>& least = {});

    // Fits the columns not set by hand to the rows of the grid.
    void fit();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Widens the columns not set by hand where rows first..last need it.
    void widen(int first, int last);
    // The widest text of rows first..last in the column, whole.
    int rowsWidth(int column, int first, int last) const;
    // The column's width by its texts, held to the limit.
    int usualWidth(int column) const;
    // Lets columns held to the limit use the free room right of the last column.
    void spread();
    void setWidth(int column, int width);

    QTableView* m_grid;
    QList<int> m_least;
    QList<int> m_need;
    QSet<int> m_byHand;
    bool m_fitting = false;
};

} // namespace zelmar
