#include "gui/TPrintWibor.h"

#include "core/editor/AppState.h"
#include "core/platform/CommandBoundary.h"
#include "core/reports/RegisterBook.h"
#include "core/reports/SpreadsheetExport.h"
#include "core/texts/DayNumber.h"
#include "gui/QtColours.h"
#include "gui/TFiltrOkno.h"
#include "gui/TShabloniDok.h"
#include "gui/WidgetValues.h"

#include "ui_TPrintWibor.h"

#include <QHeaderView>
#include <QMouseEvent>
#include <QShowEvent>

namespace zelmar {

TPrintWibor::TPrintWibor(AppState& state, QWidget* parent)
    : QDialog(parent)
    , m_state(state)
    , m_ui(std::make_unique<Ui::TPrintWibor>())
    , m_selection(state) {
    m_ui->setupUi(this);
    layout()->setMenuBar(m_ui->MainMenu1);
    m_progress = std::make_unique<QtProgress>(m_ui->PB1);
    setWindowState(windowState() | Qt::WindowMaximized);

    // The create event: the column titles, all of them for the spreadsheet.
    for (const QString& title : PrintGridModel::headings()) {
        auto* item = new QListWidgetItem(title, m_ui->StolbExcel);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Checked);
    }
    const QList<int> widths = {28,  48,  52, 64, 70,  64, 60, 64, 140,
                               140, 170, 90, 80, 100, 80, 64, 80, 64};
    for (int table = 0; table < 3; ++table) {
        QTableView* grid = gridView(table);
        grid->setModel(&m_selection.grid(table));
        // One heading row, no heading column.
        grid->verticalHeader()->hide();
        grid->verticalHeader()->setDefaultSectionSize(grid->fontMetrics().height() + 4);
        grid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
        for (int column = 0; column < widths.size(); ++column)
            grid->horizontalHeader()->resizeSection(column, widths.at(column));
        grid->viewport()->installEventFilter(this);
        connect(grid->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
                [this, table](const QModelIndex& current) {
                    // The keyboard moves the current row and picks its card, so the panel
                    // and the buttons act on the row the clerk sees.
                    if (!m_updating && current.isValid())
                        run([this, table, row = current.row() + 1] {
                            TablRowPicked(m_state, m_selection, table, row);
                        });
                });
    }
    // The main window's colour; what is disabled stays readable on it.
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, toQColor(m_state.colours.Form1));
    for (const auto role : {QPalette::WindowText, QPalette::ButtonText, QPalette::Text})
        palette.setColor(QPalette::Disabled, role, QColor(0x70, 0x70, 0x70));
    setPalette(palette);
    connectCommands();
    writeControls();
}

TPrintWibor::~TPrintWibor() = default;

QTableView* TPrintWibor::gridView(int table) const {
    return table == PrintSelection::Working   ? m_ui->RabTab
           : table == PrintSelection::Archive ? m_ui->ArhTab
                                              : m_ui->Tabl;
}

void TPrintWibor::connectCommands() {
    const auto command = [this](QPushButton* button, void (*handler)(AppState&, PrintSelection&)) {
        connect(button, &QPushButton::clicked, this,
                [this, handler] { run([this, handler] { handler(m_state, m_selection); }); });
    };
    command(m_ui->PlusRab, &PlusRabClick);
    command(m_ui->DelRab, &DelRabClick);
    command(m_ui->RabClear, &RabClearClick);
    command(m_ui->KartMat, &KartMatClick);
    command(m_ui->Sortir, &SortirClick);
    // The reports of the working tab.
    command(m_ui->Kwitki, &KwitkiClick);
    command(m_ui->Kniga, &KnigaClick);
    command(m_ui->BitBtn1, &BitBtn1Click);
    command(m_ui->BitBtn4, &BitBtn4Click);
    command(m_ui->BitBtn2, &BitBtn2Click);
    command(m_ui->BitBtn3, &BitBtn3Click);
    command(m_ui->ExcelT, &ExcelTClick);
    const auto mark = [this](QPushButton* button, void (*handler)(AppState&, PrintSelection&, int),
                             int value) {
        connect(button, &QPushButton::clicked, this, [this, handler, value] {
            run([this, handler, value] { handler(m_state, m_selection, value); });
        });
    };
    mark(m_ui->EstPost, &EstNet, 1);
    mark(m_ui->NetPost, &EstNet, 0);
    mark(m_ui->RabEs, &RabEstNet, 1);
    mark(m_ui->RabNet, &RabEstNet, 0);
    connect(m_ui->Stranici, &QTabWidget::currentChanged, this, [this](int page) {
        if (m_updating)
            return;
        const QWidget* shown = m_ui->Stranici->widget(page);
        const auto handler = shown == m_ui->RabStr   ? &RabStrShow
                             : shown == m_ui->ArhStr ? &ArhStrShow
                                                     : &GlavStrShow;
        run([this, handler] { handler(m_state, m_selection); });
    });
    connect(m_ui->NomOtk, &QLineEdit::textEdited, this,
            [this] { run([this] { NomOtkChange(m_state, m_selection); }); });
    connect(m_ui->dxfColorButton1, &QPushButton::clicked, this,
            [this] { openOwnWindow(m_filter); });
    connect(m_ui->N2, &QAction::triggered, this, [this] { openOwnWindow(m_templates); });
    connect(m_ui->N4, &QAction::triggered, this, &QDialog::accept);
}

void TPrintWibor::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // Each opening (not the window coming back from being minimised).
    if (!event->spontaneous())
        run([this] { PrintFormActivate(m_state, m_selection, true); });
}

void TPrintWibor::openOwnWindow(QDialog* window) {
    if (!window)
        return;
    readControls();
    window->exec();
    // Active again: the tables and counters follow what the filter did.
    run([this] { PrintFormActivate(m_state, m_selection, false); });
}

bool TPrintWibor::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonPress) {
        for (int table = 0; table < 3; ++table) {
            QTableView* grid = gridView(table);
            if (watched != grid->viewport())
                continue;
            const auto* press = static_cast<QMouseEvent*>(event);
            const QModelIndex index = grid->indexAt(press->position().toPoint());
            const qint64 row = index.isValid() ? index.row() + 1 : 0;
            const int column = index.isValid() ? index.column() : -1;
            run([this, table, row, column] {
                TablMouseDown(m_state, m_selection, table, row, column);
            });
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TPrintWibor::run(const std::function<void()>& command) {
    readControls();
    Progress* previous = m_state.progress;
    m_state.progress = m_progress.get();
    runCommand(m_state.prompts, command);
    m_state.progress = previous;
    writeControls();
    PrintSelection& p = m_selection;
    if (p.showTab >= 0) {
        m_updating = true;
        m_ui->Stranici->setCurrentIndex(p.showTab);
        m_updating = false;
        p.showTab = -1;
    }
    if (p.close) {
        p.close = false;
        accept();
    }
}

void TPrintWibor::readControls() {
    PrintSelection& p = m_selection;
    p.NomOtk = m_ui->NomOtk->text();
    p.NaDat = pickerValue(p.NaDat, m_ui->NaDat->date());
    p.KoDat = pickerValue(p.KoDat, m_ui->KoDat->date());
    for (int column = 0; column < m_ui->StolbExcel->count(); ++column)
        p.StolbExcel[static_cast<size_t>(column)] =
            m_ui->StolbExcel->item(column)->checkState() == Qt::Checked;
}

void TPrintWibor::writeControls() {
    m_updating = true;
    const PrintSelection& p = m_selection;
    Ui::TPrintWibor& u = *m_ui;
    setText(u.KGlav, p.KGlav);
    setText(u.KRab, p.KRab);
    setText(u.KArh, p.KArh);
    setText(u.GlavN, p.GlavN);
    setText(u.RabN, p.RabN);
    setText(u.ArhN, p.ArhN);
    setText(u.GurN, p.GurN);
    setText(u.DateOtkaza, p.GurN.isEmpty()
                              ? QString()
                              : dateOf(p.DateOtkaza).toString(QStringLiteral("dd.MM.yyyy")));
    setText(u.KtoWines, p.KtoWines);
    setText(u.PodpUtw, p.PodpUtw);
    setText(u.ProkOtm, p.ProkOtm);
    setText(u.Motiv, p.Motiv);
    setText(u.EsNo, p.EsNo);
    if (u.Fabul->toPlainText() != p.Fabul)
        u.Fabul->setPlainText(p.Fabul);
    setText(u.NomOtk, p.NomOtk);
    u.NaDat->setDate(dateOf(p.NaDat));
    u.KoDat->setDate(dateOf(p.KoDat));
    u.Sortir->setText(p.Sortir);
    for (int column = 0; column < u.StolbExcel->count(); ++column)
        u.StolbExcel->item(column)->setCheckState(
            p.StolbExcel[static_cast<size_t>(column)] ? Qt::Checked : Qt::Unchecked);
    for (int table = 0; table < 3; ++table) {
        QTableView* grid = gridView(table);
        const qint64 row = m_selection.currentRow(table);
        if (row < 1 || row > grid->model()->rowCount())
            continue;
        const QModelIndex index = grid->model()->index(static_cast<int>(row - 1), 0);
        if (grid->currentIndex().row() == index.row() && grid->selectionModel()->hasSelection())
            continue;
        grid->setCurrentIndex(index);
        grid->selectRow(index.row());
        grid->scrollTo(index);
    }
    m_updating = false;
}

} // namespace zelmar
