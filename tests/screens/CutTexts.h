#pragma once

#include <QComboBox>
#include <QLineEdit>
#include <QStringList>
#include <QStyle>
#include <QWidget>

namespace zelmar::test {

// The boxes of a window whose text does not show whole: every visible line edit, also the ones
// inside drop-down lists, spin boxes and date pickers, whose text is wider than its text area.
// Each is named "name needs N px, has M px" by its own object name or that of the box around it.
inline QStringList cutTexts(const QWidget& window) {
    QStringList cut;
    for (const QLineEdit* edit : window.findChildren<QLineEdit*>()) {
        if (!edit->isVisibleTo(&window) || edit->displayText().isEmpty())
            continue;
        int frame = 0;
        if (edit->hasFrame())
            frame = edit->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, edit);
        // The line edit keeps two pixels either side of its text.
        const QMargins margins = edit->textMargins();
        const int has = edit->width() - 2 * frame - margins.left() - margins.right() - 4;
        const int needs = edit->fontMetrics().horizontalAdvance(edit->displayText());
        if (needs <= has)
            continue;
        QString name = edit->objectName();
        if (name.isEmpty() || name.startsWith(QLatin1String("qt_")))
            name = edit->parentWidget()->objectName();
        cut.append(QStringLiteral("%1 \"%2\" needs %3 px, has %4 px")
                       .arg(name, edit->displayText())
                       .arg(needs)
                       .arg(has));
    }
    return cut;
}

// The item of a drop-down list that needs the most room.
inline QString widestItem(const QComboBox& box) {
    QString widest;
    for (int i = 0; i < box.count(); ++i) {
        if (box.fontMetrics().horizontalAdvance(box.itemText(i)) >
            box.fontMetrics().horizontalAdvance(widest))
            widest = box.itemText(i);
    }
    return widest;
}

} // namespace zelmar::test
