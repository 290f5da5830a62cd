#include "gui/TFIO_Dolgn.h"
#include "gui/TFiltrOkno.h"
#include "gui/TForm1.h"
#include "gui/TForm5.h"
#include "gui/TFormNastr.h"
#include "gui/TPoisk.h"
#include "gui/TPrintWibor.h"
#include "gui/TRedak.h"
#include "gui/TShabloniDok.h"
#include "gui/TStatistika.h"
#include "gui/TWibor.h"
#include "support/TestSupport.h"

#include "ui_TFIO_Dolgn.h"
#include "ui_TForm1.h"
#include "ui_TFormNastr.h"
#include "ui_TPrintWibor.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QDirIterator>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTableView>
#include <QTest>
#include <QTimer>

#include <map>

using namespace zelmar;
using namespace zelmar::test;

namespace {

class WindowKeysTest : public RegisterTest {
protected:
    AppState& startWithCards() {
        std::vector<TAnketa> cards;
        for (int i = 1; i <= 5; ++i)
            cards.push_back(makeCard(i, 46000 + i, 900 + i, i % 2));
        writeCards(QStringLiteral("Baza/Anketi.dat"), cards);
        return start();
    }

    // Every file of the installation folder with its bytes.
    std::map<QString, QByteArray> files() const {
        std::map<QString, QByteArray> result;
        QDirIterator it(root(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            result[path] = readBytes(QDir(root()).relativeFilePath(path));
        }
        return result;
    }
};

// The boxes and tables of a window that a clerk types into or moves in.
QList<QWidget*> boxesAndTables(QWidget& window) {
    QList<QWidget*> result;
    for (QWidget* widget : window.findChildren<QWidget*>()) {
        QWidget* parent = widget->parentWidget();
        const bool part =
            qobject_cast<QComboBox*>(parent) || qobject_cast<QAbstractSpinBox*>(parent);
        if (!widget->isVisible() || !widget->isEnabled() || part)
            continue;
        if (qobject_cast<QLineEdit*>(widget) || qobject_cast<QComboBox*>(widget) ||
            qobject_cast<QAbstractSpinBox*>(widget) || qobject_cast<QAbstractItemView*>(widget))
            result.append(widget);
    }
    return result;
}

QString nameOf(const QWidget* widget) {
    return widget->objectName().isEmpty() ? QString::fromLatin1(widget->metaObject()->className())
                                          : widget->objectName();
}

} // namespace

TEST_F(WindowKeysTest, EnterInABoxOrATablePressesNoButton) {
    AppState& s = startWithCards();
    TForm5 form5(s);
    TFormNastr nastr(s);
    TPrintWibor print(s);
    TFiltrOkno filtr(s, &print, &print);
    print.setFilterWindow(&filtr);
    TPoisk poisk(s, nullptr);
    TShabloniDok templates(s);
    TFIO_Dolgn officials(s);
    TStatistika statistics(s);
    for (QDialog* window : std::initializer_list<QDialog*>{&print, &filtr, &poisk, &form5, &nastr,
                                                           &templates, &officials, &statistics}) {
        SCOPED_TRACE(nameOf(window).toStdString());
        window->show();
        QApplication::processEvents();
        // What opening the window wrote is not what is looked for.
        const std::map<QString, QByteArray> before = files();
        for (QWidget* box : boxesAndTables(*window)) {
            if (auto* table = qobject_cast<QAbstractItemView*>(box)) {
                if (table->model()->rowCount() > 0)
                    table->setCurrentIndex(table->model()->index(0, 0));
            } else {
                QTest::keyClicks(box, QStringLiteral("1"));
            }
            QTest::keyClick(box, Qt::Key_Return);
            QTest::keyClick(box, Qt::Key_Enter, Qt::KeypadModifier);
            EXPECT_TRUE(window->isVisible()) << nameOf(box).toStdString();
        }
        // No command ran: no prompt came (an unscripted one fails the test), no file changed.
        EXPECT_TRUE(files() == before);
        window->hide();
    }
}

TEST_F(WindowKeysTest, EnterOnAButtonPressesItAndEscClosesASecondaryWindow) {
    AppState& s = startWithCards();
    TPrintWibor print(s);
    print.show();
    Ui::TPrintWibor& ui = print.ui();
    ui.Tabl->setCurrentIndex(ui.Tabl->model()->index(0, 0));
    QTest::keyClick(ui.PlusRab, Qt::Key_Return);
    EXPECT_EQ(readCards(QStringLiteral("Temp/RabAnket.dat")).size(), 3u);

    TFormNastr nastr(s);
    TForm5 form5(s);
    TPoisk poisk(s, nullptr);
    TShabloniDok templates(s);
    TFIO_Dolgn officials(s);
    TStatistika statistics(s);
    for (QDialog* window : std::initializer_list<QDialog*>{&print, &nastr, &form5, &poisk,
                                                           &templates, &officials, &statistics}) {
        window->show();
        QTest::keyClick(window, Qt::Key_Escape);
        EXPECT_FALSE(window->isVisible()) << nameOf(window).toStdString();
    }
    nastr.show();
    QTest::keyClick(nastr.ui().Zakryt, Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_FALSE(nastr.isVisible());

    // The list editor keeps what it holds when Esc closes it; the choice dialog closed so
    // means "do nothing".
    TRedak redak;
    QTimer::singleShot(0, &redak, [&redak] {
        auto* box = redak.findChild<QPlainTextEdit*>(QStringLiteral("Spisok"));
        box->moveCursor(QTextCursor::End);
        QTest::keyClicks(box, QStringLiteral("new"));
        QTest::keyClick(box, Qt::Key_Escape);
    });
    EXPECT_EQ(redak.edit(QStringLiteral("Вид документа"), QStringLiteral("Заявление\n")),
              QStringLiteral("Заявление\nnew"));
    TWibor wibor;
    QTimer::singleShot(0, &wibor, [&wibor] { QTest::keyClick(&wibor, Qt::Key_Escape); });
    EXPECT_EQ(wibor.ask(QStringLiteral("Удаление"), QStringLiteral("Удалить"),
                        QStringLiteral("В Архив"), QStringLiteral("Ничего не делать")),
              0);
}

TEST_F(WindowKeysTest, TabLeavesTheGridsAndFollowsTheForm) {
    AppState& s = startWithCards();
    TForm1 main(s);
    TPrintWibor print(s, &main);
    main.resize(1280, 656);
    m_prompts.ok(); // the unprinted cards in the working card file
    main.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&main));
    main.ui().Spisok->setFocus();
    QTest::keyClick(main.ui().Spisok, Qt::Key_Tab);
    EXPECT_NE(QApplication::focusWidget(), main.ui().Spisok);

    TForm5 form5(s);
    TFormNastr nastr(s);
    TFiltrOkno filtr(s, &print, &print);
    TPoisk poisk(s, &main);
    TShabloniDok templates(s);
    TFIO_Dolgn officials(s);
    TStatistika statistics(s);
    for (QWidget* window : std::initializer_list<QWidget*>{
             &main, &print, &filtr, &poisk, &form5, &nastr, &templates, &officials, &statistics}) {
        SCOPED_TRACE(nameOf(window).toStdString());
        window->show();
        QApplication::processEvents();
        // Tab goes along a row to the right, down to a later row, or up into a new column to
        // the right; never back left on a row, nor up and to the left.
        QList<QWidget*> chain;
        for (QWidget* w = window->nextInFocusChain(); w != window; w = w->nextInFocusChain()) {
            QWidget* parent = w->parentWidget();
            const bool part = qobject_cast<QComboBox*>(parent) ||
                              qobject_cast<QAbstractSpinBox*>(parent) ||
                              w->objectName().startsWith(QLatin1String("qt_"));
            if (w->isVisible() && w->isEnabled() && (w->focusPolicy() & Qt::TabFocus) && !part &&
                w->window() == window)
                chain.append(w);
        }
        ASSERT_GT(chain.size(), 1);
        for (qsizetype i = 1; i < chain.size(); ++i) {
            const QRect a(chain[i - 1]->mapTo(window, QPoint()), chain[i - 1]->size());
            const QRect b(chain[i]->mapTo(window, QPoint()), chain[i]->size());
            const bool sameRow = b.center().y() >= a.top() && b.center().y() <= a.bottom();
            const bool back =
                sameRow ? b.left() < a.left() : b.bottom() < a.top() && b.left() < a.right();
            EXPECT_FALSE(back) << nameOf(chain[i - 1]).toStdString() << " -> "
                               << nameOf(chain[i]).toStdString();
        }
        if (window != &main)
            window->hide();
    }
    // The print selection window's tables too let Tab go on.
    print.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&print));
    print.ui().Tabl->setFocus();
    QTest::keyClick(print.ui().Tabl, Qt::Key_Tab);
    EXPECT_NE(QApplication::focusWidget(), print.ui().Tabl);
}
