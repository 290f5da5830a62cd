#include "gui/TShabloniDok.h"

#include "core/editor/AppState.h"
#include "core/platform/CommandBoundary.h"
#include "gui/GridColumns.h"
#include "gui/WidgetValues.h"
#include "gui/WindowKeys.h"

#include "ui_TShabloniDok.h"

#include <QHeaderView>
#include <QShowEvent>

namespace zelmar {

TShabloniDok::TShabloniDok(AppState& state, QWidget* parent)
    : QDialog(parent)
    , m_state(state)
    , m_ui(std::make_unique<Ui::TShabloniDok>()) {
    m_ui->setupUi(this);

    // The create event: the headings.
    QTableWidget* grid = m_ui->SpPrDok;
    grid->setHorizontalHeaderLabels(templateHeadings());
    grid->verticalHeader()->hide();
    grid->verticalHeader()->setDefaultSectionSize(grid->fontMetrics().height() + 6);
    grid->horizontalHeader()->setHighlightSections(false);
    new GridColumns(grid);

    // A press on a row, or Enter on it, puts its template in the fields.
    const auto pick = [this](int row) {
        run([this, row] { SpPrDokMouseDown(m_state, m_templates, row + 1); });
    };
    connect(grid, &QTableWidget::cellPressed, this, [pick](int row, int) { pick(row); });
    connect(grid, &QTableWidget::cellActivated, this, [pick](int row, int) { pick(row); });

    const auto command = [this](QPushButton* button, void (*handler)(AppState&, TemplatesWindow&)) {
        connect(button, &QPushButton::clicked, this,
                [this, handler] { run([this, handler] { handler(m_state, m_templates); }); });
    };
    command(m_ui->Plus, &PlusClick);
    command(m_ui->Saves, &SavesClick);
    command(m_ui->Minus, &MinusClick);
    command(m_ui->dxfColorButton1, &dxfColorButton1Click);
    command(m_ui->Print, &PrintClick);
    connect(m_ui->pRezKop, &QPushButton::clicked, this,
            [this] { run([this] { pRezKopClick(m_state); }); });
    // The buttons that act on the typed file follow it as it is typed.
    connect(m_ui->PutFil, &QLineEdit::textChanged, this, [this] {
        readControls();
        writeButtons();
    });
    plainKeys(*this);
    writeControls();
}

TShabloniDok::~TShabloniDok() = default;

void TShabloniDok::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // Each opening (not the window coming back from being minimised).
    if (!event->spontaneous())
        run([this] { ShablonFormActivate(m_state, m_templates); });
}

void TShabloniDok::run(const std::function<void()>& command) {
    readControls();
    runCommand(m_state.prompts, command);
    writeControls();
}

void TShabloniDok::readControls() {
    m_templates.ImaDok = m_ui->ImaDok->text();
    m_templates.PutFil = m_ui->PutFil->text();
    m_templates.SodFil = m_ui->SodFil->text();
}

void TShabloniDok::writeControls() {
    const TemplatesWindow& t = m_templates;
    QTableWidget* grid = m_ui->SpPrDok;
    const QSignalBlocker blocker(grid);
    grid->setRowCount(static_cast<int>(t.SpPrDok.size()));
    for (int row = 0; row < grid->rowCount(); ++row) {
        const TemplateRow& shown = t.SpPrDok[size_t(row)];
        const QString cells[] = {shown.name, shown.path, shown.comment};
        for (int column = 0; column < 3; ++column) {
            QTableWidgetItem* item = grid->item(row, column);
            if (!item) {
                item = new QTableWidgetItem;
                grid->setItem(row, column, item);
            }
            if (item->text() != cells[column])
                item->setText(cells[column]);
            item->setToolTip(cells[column]);
        }
    }
    if (t.row >= 1 && t.row <= grid->rowCount()) {
        grid->selectRow(static_cast<int>(t.row - 1));
        grid->scrollToItem(grid->item(static_cast<int>(t.row - 1), 0));
    } else {
        grid->clearSelection();
    }
    setText(m_ui->ImaDok, t.ImaDok);
    setText(m_ui->PutFil, t.PutFil);
    setText(m_ui->SodFil, t.SodFil);
    writeButtons();
}

void TShabloniDok::writeButtons() {
    m_ui->Minus->setEnabled(canRemoveTemplate(m_state, m_templates));
    m_ui->dxfColorButton1->setEnabled(canOpenTemplate(m_templates));
}

} // namespace zelmar
