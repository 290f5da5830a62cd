#include "gui/InputRules.h"

#include "core/store/Cp1251.h"

#include <QAbstractItemView>
#include <QLineEdit>
#include <QRegularExpression>
#include <QRegularExpressionValidator>
#include <QStyledItemDelegate>
#include <QToolTip>

namespace zelmar {

namespace {

void hint(QWidget* at, const QString& refused) {
    QToolTip::showText(
        at->mapToGlobal(QPoint(0, at->height())),
        QStringLiteral("Знаки «%1» в картотеке не хранятся: их набрать нельзя.").arg(refused), at);
}

// Refuses text with characters the code page lacks.
class StoredTextValidator : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int&) const override {
        const QString refused = outsideCp1251(input);
        if (refused.isEmpty())
            return Acceptable;
        if (auto* edit = qobject_cast<QWidget*>(parent()))
            hint(edit, refused);
        return Invalid;
    }
};

class StoredTextDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override {
        QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
        if (auto* edit = qobject_cast<QLineEdit*>(editor))
            storedTextOnly(edit);
        return editor;
    }
};

} // namespace

void storedTextOnly(QLineEdit* edit) {
    edit->setValidator(new StoredTextValidator(edit));
}

void storedTextOnly(QAbstractItemView* table) {
    table->setItemDelegate(new StoredTextDelegate(table));
}

QString storableText(const QString& text, QWidget* hintAt) {
    const QString refused = outsideCp1251(text);
    if (refused.isEmpty())
        return text;
    hint(hintAt, refused);
    QString kept;
    for (const char32_t ch : QStringView(text).toUcs4()) {
        if (inCp1251(ch))
            kept += QString::fromUcs4(&ch, 1);
    }
    return kept;
}

void integerOnly(QLineEdit* edit) {
    edit->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("-?[0-9]*")), edit));
}

} // namespace zelmar
