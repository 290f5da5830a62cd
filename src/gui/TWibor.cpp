#include "gui/TWibor.h"

#include "gui/TitleWidth.h"
#include "gui/WindowKeys.h"

#include "ui_TWibor.h"

namespace zelmar {

TWibor::TWibor(QWidget* parent)
    : QDialog(parent)
    , m_ui(std::make_unique<Ui::TWibor>()) {
    m_ui->setupUi(this);
    setWindowFlag(Qt::MSWindowsFixedSizeDialogHint);
    plainKeys(*this);
    const auto answer = [this](int button) {
        m_choice = button;
        accept();
    };
    connect(m_ui->Redak, &QPushButton::clicked, this, [answer] { answer(1); });
    connect(m_ui->Udalit, &QPushButton::clicked, this, [answer] { answer(2); });
    connect(m_ui->Otmena, &QPushButton::clicked, this, [answer] { answer(3); });
}

TWibor::~TWibor() = default;

int TWibor::ask(const QString& caption, const QString& button1, const QString& button2,
                const QString& button3) {
    setWindowTitle(caption);
    m_ui->Redak->setText(button1);
    m_ui->Udalit->setText(button2);
    m_ui->Otmena->setText(button3);
    // The last button, "do nothing", is the safe default for Enter.
    m_ui->Otmena->setDefault(true);
    m_ui->Otmena->setFocus();
    m_choice = 0;
    adjustSize();
    // Wide enough for the whole title.
    setFixedSize(sizeHint().expandedTo(QSize(titleWidth(*this, caption), 0)));
    exec();
    return m_choice;
}

} // namespace zelmar
