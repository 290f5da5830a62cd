#include "gui/TZapusk.h"

#include "core/access/Users.h"
#include "core/editor/AppState.h"
#include "core/platform/CommandBoundary.h"
#include "gui/TForm1.h"
#include "gui/WindowKeys.h"

#include "ui_TZapusk.h"

#include <QEventLoop>
#include <QLinearGradient>
#include <QPainter>

namespace zelmar {

TZapusk::TZapusk(AppState& state, QWidget* parent)
    : QDialog(parent)
    , m_state(state)
    , m_ui(std::make_unique<Ui::TZapusk>()) {
    m_ui->setupUi(this);
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    QPalette palette = m_ui->Komentar->palette();
    palette.setColor(QPalette::WindowText, Qt::white);
    m_ui->Komentar->setPalette(palette);
    m_ui->Parol->setPalette(palette);
    // The create event.
    m_login.LoginAttempts = 0;
    m_login.NomZamka = initialPasswordText();
    m_ui->NomZamka->setText(m_login.NomZamka);
    m_ui->NomZamka->selectAll();
    // Enter in the password field presses "Дальше" as the window's default button: one Enter,
    // one check.
    plainKeys(*this);
    m_ui->Dalee->setDefault(true);
    writeControls();

    connect(m_ui->Dalee, &QPushButton::clicked, this, &TZapusk::daleeClick);
    connect(m_ui->dxfColorButton1, &QPushButton::clicked, this, &TZapusk::reject);
    connect(m_ui->OpisProgr, &QPushButton::clicked, this,
            [this] { run([this] { OpisProgrClick(m_state); }); });
    connect(m_ui->dxfColorButton2, &QPushButton::clicked, this,
            [this] { run([this] { dxfColorButton2Click(m_state); }); });
}

TZapusk::~TZapusk() = default;

void TZapusk::run(const std::function<void()>& command) {
    m_login.NomZamka = m_ui->NomZamka->text();
    runCommand(m_state.prompts, command);
    writeControls();
}

void TZapusk::writeControls() {
    m_ui->Komentar->setText(m_login.Komentar);
    m_ui->Dalee->setVisible(m_login.DaleeVisible);
}

void TZapusk::daleeClick() {
    if (!m_ui->Dalee->isVisible())
        return;
    bool passed = false;
    run([this, &passed] { passed = DaleeClick(m_state, m_login); });
    if (!passed || !m_form1)
        return;
    // The main window, modally on top of this one; when it is left the program ends.
    setEnabled(false);
    QEventLoop loop;
    connect(m_form1, &TForm1::leaving, &loop, [&loop](int code) { loop.exit(code); });
    m_form1->setWindowModality(Qt::ApplicationModal);
    m_form1->showMaximized();
    const int code = loop.exec();
    hide();
    emit finishedWith(code);
}

void TZapusk::reject() {
    hide();
    emit finishedWith(0);
}

void TZapusk::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    QLinearGradient gradient(rect().topLeft(), rect().bottomLeft());
    gradient.setColorAt(0, QColor(0, 255, 255));
    gradient.setColorAt(1, QColor(0, 0, 128));
    painter.fillRect(rect(), gradient);
    QDialog::paintEvent(event);
}

} // namespace zelmar
