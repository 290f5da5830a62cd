#include "gui/QtPrompts.h"

#include "gui/QtColours.h"
#include "gui/TRedak.h"
#include "gui/TWibor.h"
#include "gui/TitleWidth.h"

#include <QApplication>
#include <QColorDialog>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QSpacerItem>

namespace zelmar {

namespace {

QMessageBox::Icon boxIcon(Prompts::Icon icon) {
    switch (icon) {
    case Prompts::Icon::Error:
        return QMessageBox::Critical;
    case Prompts::Icon::Question:
        return QMessageBox::Question;
    case Prompts::Icon::Information:
        return QMessageBox::Information;
    case Prompts::Icon::Exclamation:
        break;
    }
    return QMessageBox::Warning;
}

// A message box sizes itself to its text; it is made at least as wide as its title.
void fitTitle(QMessageBox& box) {
    if (auto* grid = qobject_cast<QGridLayout*>(box.layout())) {
        grid->addItem(new QSpacerItem(titleWidth(box, box.windowTitle()), 0, QSizePolicy::Minimum,
                                      QSizePolicy::Minimum),
                      grid->rowCount(), 0, 1, grid->columnCount());
    }
}

// The folder chooser, the same on every desktop: "Создать папку" among its buttons, and a folder
// typed that does not exist yet is made once the clerk agrees, so a new folder is chosen in one go.
class FolderDialog : public QFileDialog {
public:
    FolderDialog(Prompts& prompts, QWidget* parent, const QString& caption, const QString& start)
        : QFileDialog(parent, caption, start)
        , m_prompts(prompts) {
        setFileMode(QFileDialog::Directory);
        setOptions(QFileDialog::ShowDirsOnly | QFileDialog::DontUseNativeDialog);
    }

protected:
    void accept() override {
        const QString folder = selectedFiles().value(0);
        if (!folder.isEmpty() && !QFileInfo::exists(folder)) {
            const QString shown = QDir::toNativeSeparators(folder);
            if (!m_prompts.question(QStringLiteral("Папки %1 нет. Создать её?").arg(shown),
                                    windowTitle()))
                return;
            if (!QDir().mkpath(folder)) {
                m_prompts.message(QStringLiteral("Не удалось создать папку %1.").arg(shown),
                                  windowTitle());
                return;
            }
        }
        QFileDialog::accept();
    }

private:
    Prompts& m_prompts;
};

} // namespace

QtPrompts::QtPrompts(QWidget* parent)
    : m_parent(parent) {}

QWidget* QtPrompts::parentWidget() const {
    if (QWidget* modal = QApplication::activeModalWidget())
        return modal;
    return m_parent ? m_parent : QApplication::activeWindow();
}

void QtPrompts::message(const QString& text, const QString& caption, Icon icon) {
    QMessageBox box(boxIcon(icon), caption, text, QMessageBox::Ok, parentWidget());
    fitTitle(box);
    box.exec();
}

bool QtPrompts::question(const QString& text, const QString& caption) {
    QMessageBox box(QMessageBox::Question, caption, text, QMessageBox::NoButton, parentWidget());
    QPushButton* yes = box.addButton(QStringLiteral("Да"), QMessageBox::YesRole);
    QPushButton* no = box.addButton(QStringLiteral("Нет"), QMessageBox::NoRole);
    box.setDefaultButton(yes);
    box.setEscapeButton(no);
    fitTitle(box);
    box.exec();
    return box.clickedButton() == yes;
}

int QtPrompts::choice(const QString& caption, const QString& button1, const QString& button2,
                      const QString& button3) {
    TWibor dialog(parentWidget());
    return dialog.ask(caption, button1, button2, button3);
}

QString QtPrompts::input(const QString& caption, const QString& prompt, const QString& initial) {
    QInputDialog dialog(parentWidget());
    dialog.setWindowTitle(caption);
    dialog.setLabelText(prompt);
    dialog.setTextValue(initial);
    dialog.setOkButtonText(QStringLiteral("OK"));
    dialog.setCancelButtonText(QStringLiteral("Отмена"));
    dialog.setMinimumWidth(titleWidth(dialog, caption));
    if (dialog.exec() != QDialog::Accepted)
        return initial;
    return dialog.textValue();
}

QString QtPrompts::openFile(const QString& caption, const QString& folder, const QString& filter) {
    return QFileDialog::getOpenFileName(parentWidget(), caption, folder, filter);
}

std::optional<QString> QtPrompts::chooseFolder(const QString& caption, const QString& start) {
    FolderDialog dialog(*this, parentWidget(), caption, start);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().constFirst();
}

std::optional<std::uint32_t> QtPrompts::chooseColour(std::uint32_t initial) {
    const QColor colour = QColorDialog::getColor(toQColor(initial), parentWidget());
    if (!colour.isValid())
        return std::nullopt;
    return fromQColor(colour);
}

QString QtPrompts::editText(const QString& caption, const QString& text) {
    TRedak editor(parentWidget());
    return editor.edit(caption, text);
}

} // namespace zelmar
