#include "gui/TForm5.h"

#include "core/editor/AppState.h"
#include "core/platform/CommandBoundary.h"
#include "gui/InputRules.h"
#include "gui/WindowKeys.h"

#include "ui_TForm5.h"

#include <QHeaderView>

namespace zelmar {

TForm5::TForm5(AppState& state, QWidget* parent)
    : QDialog(parent)
    , m_state(state)
    , m_ui(std::make_unique<Ui::TForm5>()) {
    m_ui->setupUi(this);
    QTableWidget* grid = m_ui->TabDost;
    // What is typed is what the users file stores.
    storedTextOnly(grid);
    const QList<int> widths = {28, 75, 155, 51, 50};
    const QStringList headings = {QStringLiteral("Код"), QStringLiteral("Дата"),
                                  QStringLiteral("ФИО"), QStringLiteral("Пароль"),
                                  QStringLiteral("Доступ")};
    // The register's widths, widened where a heading or a date would not fit.
    const QFontMetrics metrics = grid->fontMetrics();
    for (int column = 0; column < widths.size(); ++column) {
        int width =
            std::max(widths.at(column), metrics.horizontalAdvance(headings.at(column)) + 16);
        if (column == UsersGrid::Date)
            width = std::max(width, metrics.horizontalAdvance(QStringLiteral("00.00.0000")) + 12);
        grid->horizontalHeader()->resizeSection(column, width);
    }

    plainKeys(*this);
    connect(m_ui->ZapDostup, &QPushButton::clicked, this, [this] {
        readGrid();
        runCommand(m_state.prompts, [this] { ZapDostupClick(m_state, m_grid); });
    });
    connect(m_ui->BitBtn2, &QPushButton::clicked, this, &QDialog::accept);
}

TForm5::~TForm5() = default;

void TForm5::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    m_ui->TabDost->setHorizontalHeaderLabels({QStringLiteral("Код"), QStringLiteral("Дата"),
                                              QStringLiteral("ФИО"), QStringLiteral("Пароль"),
                                              QStringLiteral("Доступ")});
    readGrid();
    runCommand(m_state.prompts, [this] { TForm5FormShow(m_state, m_grid); });
    writeGrid();
}

void TForm5::readGrid() {
    for (int row = 0; row < UsersGrid::Rows; ++row) {
        for (int column = 0; column < UsersGrid::Columns; ++column) {
            const QTableWidgetItem* item = m_ui->TabDost->item(row, column);
            m_grid.cells[static_cast<size_t>(row)][static_cast<size_t>(column)] =
                item ? item->text() : QString();
        }
    }
}

void TForm5::writeGrid() {
    for (int row = 0; row < UsersGrid::Rows; ++row) {
        for (int column = 0; column < UsersGrid::Columns; ++column) {
            m_ui->TabDost->setItem(
                row, column,
                new QTableWidgetItem(
                    m_grid.cells[static_cast<size_t>(row)][static_cast<size_t>(column)]));
        }
    }
}

} // namespace zelmar
