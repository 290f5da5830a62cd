#include "gui/GridColumns.h"

#include <QEvent>
#include <QHeaderView>
#include <QTableView>
#include <QTimer>

#include <algorithm>

namespace zelmar {

namespace {

// Rows measured at each end of the grid.
constexpr int kMeasuredRows = 100;

// The widest a column grows by its texts: about forty letters.
int widthLimit(const QTableView& grid) {
    return grid.fontMetrics().horizontalAdvance(QString(40, QChar(u'о')));
}

} // namespace

// Owned by the grid's heading, it goes before the grid's parts it works on.
GridColumns::GridColumns(QTableView* grid, const QList<int>& least)
    : QObject(grid->horizontalHeader())
    , m_grid(grid)
    , m_least(least) {
    QHeaderView* header = grid->horizontalHeader();
    header->setStretchLastSection(false);
    header->setSectionResizeMode(QHeaderView::Interactive);
    grid->setTabKeyNavigation(false);
    connect(header, &QHeaderView::sectionResized, this, [this](int column) {
        if (!m_fitting)
            m_byHand.insert(column);
    });
    QAbstractItemModel* model = grid->model();
    connect(model, &QAbstractItemModel::modelReset, this, &GridColumns::fit);
    connect(model, &QAbstractItemModel::rowsInserted, this,
            [this](const QModelIndex&, int first, int last) { widen(first, last); });
    connect(
        model, &QAbstractItemModel::dataChanged, this,
        [this](const QModelIndex& from, const QModelIndex& to) { widen(from.row(), to.row()); });
    grid->installEventFilter(this);
    fit();
}

void GridColumns::fit() {
    const QAbstractItemModel* model = m_grid->model();
    const int rows = model->rowCount();
    const int head = std::min(rows, kMeasuredRows) - 1;
    const int tail = std::max(head + 1, rows - kMeasuredRows);
    m_need.resize(model->columnCount());
    for (int column = 0; column < model->columnCount(); ++column) {
        const int heading =
            std::max(m_least.value(column), m_grid->horizontalHeader()->sectionSizeHint(column));
        m_need[column] = std::max(
            heading, std::max(rowsWidth(column, 0, head), rowsWidth(column, tail, rows - 1)));
        if (!m_byHand.contains(column))
            setWidth(column, usualWidth(column));
    }
    spread();
}

void GridColumns::widen(int first, int last) {
    const QAbstractItemModel* model = m_grid->model();
    last = std::min(last, first + kMeasuredRows - 1);
    m_need.resize(model->columnCount());
    for (int column = 0; column < model->columnCount(); ++column) {
        m_need[column] = std::max(m_need[column], rowsWidth(column, first, last));
        if (!m_byHand.contains(column) && usualWidth(column) > m_grid->columnWidth(column))
            setWidth(column, usualWidth(column));
    }
    spread();
}

int GridColumns::rowsWidth(int column, int first, int last) const {
    const QAbstractItemModel* model = m_grid->model();
    int width = 0;
    for (int row = std::max(first, 0); row <= last && row < model->rowCount(); ++row)
        width = std::max(width, m_grid->sizeHintForIndex(model->index(row, column)).width());
    // The grid line beside the cell.
    return width + (m_grid->showGrid() ? 1 : 0);
}

int GridColumns::usualWidth(int column) const {
    return std::max(m_least.value(column), std::min(m_need.value(column), widthLimit(*m_grid)));
}

void GridColumns::spread() {
    // Columns held to the limit give back what they took beyond it, then share the room the
    // grid has right of its last column, so a long comment shows whole where the grid is wide.
    for (int column = 0; column < m_need.size(); ++column) {
        if (!m_byHand.contains(column) && m_grid->columnWidth(column) > usualWidth(column))
            setWidth(column, usualWidth(column));
    }
    int room = m_grid->viewport()->width() - m_grid->horizontalHeader()->length();
    for (int column = 0; column < m_need.size() && room > 0; ++column) {
        const int width = m_grid->columnWidth(column);
        if (m_byHand.contains(column) || m_grid->isColumnHidden(column) || m_need[column] <= width)
            continue;
        const int more = std::min(room, m_need[column] - width);
        setWidth(column, width + more);
        room -= more;
    }
}

void GridColumns::setWidth(int column, int width) {
    m_fitting = true;
    m_grid->horizontalHeader()->resizeSection(column, width);
    m_fitting = false;
}

bool GridColumns::eventFilter(QObject* watched, QEvent* event) {
    // Once the grid has its new size and scroll range, its current row is brought into view.
    if (watched == m_grid && event->type() == QEvent::Resize) {
        QTimer::singleShot(0, this, [this] {
            spread();
            const QModelIndex current = m_grid->currentIndex();
            if (current.isValid())
                m_grid->scrollTo(current);
        });
    }
    return QObject::eventFilter(watched, event);
}

} // namespace zelmar
