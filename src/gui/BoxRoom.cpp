#include "gui/BoxRoom.h"

#include <QComboBox>
#include <QLineEdit>
#include <QStyle>
#include <QStyleOption>

#include <algorithm>

namespace zelmar {

namespace {

// A line edit keeps two pixels either side of its text, and a pixel for the caret.
constexpr int kTextMargins = 5;

void atLeast(QWidget* box, int width) {
    box->setMinimumWidth(std::max(box->minimumWidth(), width));
    box->setMaximumWidth(std::max(box->maximumWidth(), box->minimumWidth()));
}

} // namespace

void roomFor(QLineEdit* edit, const QString& widest) {
    const int frame = edit->hasFrame()
                          ? edit->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, edit)
                          : 0;
    const QMargins margins = edit->textMargins();
    atLeast(edit, edit->fontMetrics().horizontalAdvance(widest) + 2 * frame + margins.left() +
                      margins.right() + kTextMargins);
}

void roomFor(QComboBox* box, const QString& widest) {
    // What the drop-down list's frame and button take beside its text field.
    QStyleOptionComboBox option;
    option.initFrom(box);
    option.editable = box->isEditable();
    option.rect = QRect(0, 0, 400, box->sizeHint().height());
    const QRect field = box->style()->subControlRect(QStyle::CC_ComboBox, &option,
                                                     QStyle::SC_ComboBoxEditField, box);
    atLeast(box, box->fontMetrics().horizontalAdvance(widest) + option.rect.width() -
                     field.width() + kTextMargins);
}

} // namespace zelmar
