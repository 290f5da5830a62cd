#include "gui/TRedak.h"

#include "ui_TRedak.h"

namespace zelmar {

TRedak::TRedak(QWidget* parent)
    : QDialog(parent)
    , m_ui(std::make_unique<Ui::TRedak>()) {
    m_ui->setupUi(this);
}

TRedak::~TRedak() = default;

QString TRedak::edit(const QString& caption, const QString& text) {
    setWindowTitle(caption);
    m_ui->Spisok->setPlainText(text);
    m_ui->Spisok->setFocus();
    exec();
    return m_ui->Spisok->toPlainText();
}

} // namespace zelmar
