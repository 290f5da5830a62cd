#include "gui/Application.h"
#include "gui/QtPrompts.h"

#include <QApplication>
#include <QColorDialog>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QTimer>

#include <gtest/gtest.h>

#include <memory>

using namespace zelmar;

namespace {

// Looks at the box that is up, then closes it.
void whenUp(const std::function<void(QWidget&)>& look) {
    QTimer::singleShot(0, qApp, [look] {
        QWidget* box = QApplication::activeModalWidget();
        ASSERT_NE(box, nullptr);
        look(*box);
        box->close();
    });
}

} // namespace

TEST(Application, StandardTextsAreRussian) {
    QLineEdit edit;
    const std::unique_ptr<QMenu> menu(edit.createStandardContextMenu());
    EXPECT_TRUE(menu->actions().first()->text().startsWith(QStringLiteral("&Отменить")));
    EXPECT_TRUE(menu->actions().last()->text().startsWith(QStringLiteral("Выделить всё")));
    QColorDialog colours;
    EXPECT_EQ(colours.windowTitle(), QStringLiteral("Выбор цвета"));
    const auto* buttons = colours.findChild<QDialogButtonBox*>();
    ASSERT_NE(buttons, nullptr);
    EXPECT_EQ(buttons->button(QDialogButtonBox::Cancel)->text(), QStringLiteral("Отмена"));
}

TEST(Application, BoxesShowTheirWholeTitleAndNothingElse) {
    // No application name is added to the titles.
    QSignalSpy named(qApp, &QGuiApplication::applicationDisplayNameChanged);
    setUpApplication(*qApp);
    EXPECT_EQ(named.count(), 0);

    QtPrompts qtPrompts;
    Prompts& prompts = qtPrompts;
    const auto expectTitle = [](const QString& title) {
        whenUp([title](QWidget& box) {
            EXPECT_EQ(box.windowTitle(), title);
            QFont bold = box.font();
            bold.setBold(true);
            EXPECT_GE(box.width(), QFontMetrics(bold).horizontalAdvance(title) + 100)
                << title.toStdString();
        });
    };
    expectTitle(QStringLiteral("В этом году такой номер уже есть"));
    prompts.message(QStringLiteral("Разберитесь с эти делом!"),
                    QStringLiteral("В этом году такой номер уже есть"));
    expectTitle(QStringLiteral("После карточки 12345"));
    prompts.question(QStringLiteral("Вставить карточку ?"), QStringLiteral("После карточки 12345"));
    expectTitle(QStringLiteral("Удаление отмеченных Анкет из Главной картотеки"));
    prompts.choice(QStringLiteral("Удаление отмеченных Анкет из Главной картотеки"),
                   QStringLiteral("Удалить"), QStringLiteral("В Архив"),
                   QStringLiteral("Ничего не делать"));
}
