#include "gui/TFormNastr.h"

#include "core/access/Settings.h"
#include "core/editor/AppState.h"
#include "core/platform/CommandBoundary.h"
#include "core/platform/Prompts.h"
#include "gui/WindowKeys.h"

#include "ui_TFormNastr.h"

#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>

namespace zelmar {

TFormNastr::TFormNastr(AppState& state, QWidget* parent)
    : QDialog(parent)
    , m_state(state)
    , m_ui(std::make_unique<Ui::TFormNastr>()) {
    m_ui->setupUi(this);
    // The create event: the boxes from the settings file, once per run.
    run([this] { TFormNastrFormCreate(m_state); });
    plainKeys(*this);
    // A save that failed leaves the window open with what was typed, after the message.
    connect(m_ui->ZapNastr, &QPushButton::clicked, this, [this] {
        if (run([this] { ZapNastrClick(m_state); }))
            accept();
    });
    connect(m_ui->BitBtn3, &QPushButton::clicked, this,
            [this] { run([this] { BitBtn3Click(m_state); }); });
    connect(m_ui->BitBtn1, &QPushButton::clicked, this, &TFormNastr::printWindow);
    connect(m_ui->Zakryt, &QPushButton::clicked, this, &QDialog::reject);
}

TFormNastr::~TFormNastr() = default;

bool TFormNastr::run(const std::function<void()>& command) {
    m_state.settings.VerOff = m_ui->VerOff->text();
    m_state.settings.BackUpPut = m_ui->BackUpPut->text();
    const bool done = runCommand(m_state.prompts, command);
    m_ui->VerOff->setText(m_state.settings.VerOff);
    m_ui->BackUpPut->setText(m_state.settings.BackUpPut);
    return done;
}

void TFormNastr::printWindow() {
    // The window's image, straight to the default printer.
    if (QPrinterInfo::defaultPrinter().isNull()) {
        m_state.prompts.message(QStringLiteral("Принтер по умолчанию не установлен."),
                                QStringLiteral("Печать"));
        return;
    }
    QPrinter printer(QPrinterInfo::defaultPrinter());
    QPainter painter;
    if (!painter.begin(&printer)) {
        m_state.prompts.message(QStringLiteral("Не удалось начать печать."),
                                QStringLiteral("Печать"));
        return;
    }
    const QRect page = painter.viewport();
    const QSize size = this->size().scaled(page.size(), Qt::KeepAspectRatio);
    painter.setViewport(page.x(), page.y(), size.width(), size.height());
    painter.setWindow(rect());
    render(&painter);
    painter.end();
}

} // namespace zelmar
