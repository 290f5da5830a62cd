#include "gui/TFIO_Dolgn.h"

#include "core/editor/AppState.h"
#include "core/editor/OfficialsEditor.h"
#include "core/platform/CommandBoundary.h"
#include "gui/InputRules.h"
#include "gui/WindowKeys.h"

#include "ui_TFIO_Dolgn.h"

#include <QHeaderView>

namespace zelmar {

TFIO_Dolgn::TFIO_Dolgn(AppState& state, QWidget* parent)
    : QDialog(parent)
    , m_state(state)
    , m_ui(std::make_unique<Ui::TFIO_Dolgn>()) {
    m_ui->setupUi(this);
    QTableWidget* table = m_ui->Tab_F_D;
    table->setHorizontalHeaderLabels(
        {QStringLiteral("№"), QStringLiteral("ФИО"), QStringLiteral("Должность")});
    table->horizontalHeader()->resizeSection(
        0, std::max(26, table->fontMetrics().horizontalAdvance(QStringLiteral("000")) + 10));
    table->horizontalHeader()->resizeSection(1, 162);
    // A whole position shows in its column (the table's font is bold).
    table->horizontalHeader()->resizeSection(
        2, std::max(144, table->fontMetrics().horizontalAdvance(QString(21, QChar(u'н')))));
    m_ui->FIO->setMaxLength(30);
    m_ui->Dolgnost1->lineEdit()->setMaxLength(20);
    // Room for a whole name (30 characters) and a whole position (20).
    const QFontMetrics metrics = m_ui->FIO->fontMetrics();
    m_ui->FIO->setMinimumWidth(metrics.horizontalAdvance(QString(31, QChar(u'н'))));
    m_ui->Dolgnost1->setMinimumWidth(metrics.horizontalAdvance(QString(23, QChar(u'н'))) + 24);
    storedTextOnly(m_ui->FIO);
    storedTextOnly(m_ui->Dolgnost1->lineEdit());
    storedTextOnly(table);

    const auto command = [this](QPushButton* button, void (*handler)(AppState&)) {
        connect(button, &QPushButton::clicked, this,
                [this, handler] { run([this, handler] { handler(m_state); }); });
    };
    command(m_ui->BitBtn2, &BitBtn2Click);
    command(m_ui->PlusRab, &PlusRabClick);
    command(m_ui->OtmDel, &OtmDelClick);
    command(m_ui->BitBtn1, &BitBtn1Click);
    command(m_ui->Save, &SaveClick);
    command(m_ui->DolgWin, &DolgWinClick);
    command(m_ui->Tabl_Box, &Tabl_BoxClick);
    plainKeys(*this);
    connect(m_ui->Zakryt, &QPushButton::clicked, this, &QDialog::accept);
    connect(table, &QTableWidget::cellPressed, this,
            [this](int row, int) { run([this, row] { Tab_F_DClick(m_state, row + 1); }); });
    // A name or position typed into the table goes into the editor's rows.
    connect(table, &QTableWidget::itemChanged, this, [this](QTableWidgetItem* item) {
        if (m_updating || item->column() == 0)
            return;
        QList<Official>& rows = m_state.officials.rows;
        if (item->row() >= rows.size())
            return;
        Official& official = rows[item->row()];
        (item->column() == 1 ? official.name : official.position) = item->text();
    });
}

TFIO_Dolgn::~TFIO_Dolgn() = default;

void TFIO_Dolgn::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    run([this] { TFIO_DolgnFormShow(m_state); });
}

void TFIO_Dolgn::run(const std::function<void()>& command) {
    readControls();
    runCommand(m_state.prompts, command);
    writeControls();
}

void TFIO_Dolgn::readControls() {
    OfficialsEditor& e = m_state.officials;
    e.Nomer = m_ui->Nomer->text();
    e.FIO = m_ui->FIO->text();
    e.Dolgnost1 = m_ui->Dolgnost1->currentText();
}

void TFIO_Dolgn::writeControls() {
    m_updating = true;
    const OfficialsEditor& e = m_state.officials;
    QTableWidget* table = m_ui->Tab_F_D;
    table->setRowCount(static_cast<int>(e.rows.size()));
    for (int row = 0; row < e.rows.size(); ++row) {
        const Official& official = e.rows.at(row);
        auto* number = new QTableWidgetItem(QString::number(row + 1));
        number->setFlags(number->flags() & ~Qt::ItemIsEditable);
        table->setItem(row, 0, number);
        table->setItem(row, 1, new QTableWidgetItem(official.name));
        table->setItem(row, 2, new QTableWidgetItem(official.position));
    }
    if (e.cursorRow >= 1 && e.cursorRow <= e.rows.size())
        table->selectRow(e.cursorRow - 1);
    m_ui->Nomer->setText(e.Nomer);
    m_ui->FIO->setText(e.FIO);
    const QStringList& positions = m_state.lists.items(ListId::Dolgnost1);
    QStringList shown;
    for (int i = 0; i < m_ui->Dolgnost1->count(); ++i)
        shown.append(m_ui->Dolgnost1->itemText(i));
    if (shown != positions) {
        m_ui->Dolgnost1->clear();
        m_ui->Dolgnost1->addItems(positions);
    }
    m_ui->Dolgnost1->setEditText(e.Dolgnost1);
    m_ui->BitBtn2->setEnabled(hasSelectedRow(e));
    m_ui->OtmDel->setEnabled(hasSelectedRow(e));
    m_updating = false;
}

} // namespace zelmar
