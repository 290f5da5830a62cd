#include "core/editor/MainWindowEvents.h"
#include "gen/Generator.h"
#include "gui/TForm1.h"
#include "gui/TPrintWibor.h"
#include "gui/TShabloniDok.h"
#include "screens/CutTexts.h"
#include "screens/WidestValues.h"
#include "support/TestSupport.h"

#include "ui_TForm1.h"
#include "ui_TPrintWibor.h"
#include "ui_TShabloniDok.h"

#include <QApplication>
#include <QHeaderView>
#include <QScreen>
#include <QTableView>
#include <QTest>

using namespace zelmar;
using namespace zelmar::test;

namespace {

class WindowGeometryTest : public RegisterTest {
protected:
    AppState& startWithCards(int cards) {
        gen::Options options;
        options.cards = cards;
        options.unprintedShare = 0;
        gen::makeInstallation(root(), options);
        return start();
    }
};

// Whether the grid shows its current row whole.
bool currentRowInView(const QTableView& grid) {
    const QRect row = grid.visualRect(grid.currentIndex());
    return grid.currentIndex().isValid() && grid.viewport()->rect().contains(row);
}

// The texts of the first and the last rows that a column does not show whole.
QStringList cutCells(const QTableView& grid) {
    QStringList cut;
    const QAbstractItemModel* model = grid.model();
    for (int column = 0; column < model->columnCount(); ++column) {
        for (int row = 0; row < model->rowCount(); ++row) {
            if (row == 100)
                row = std::max(row, model->rowCount() - 100);
            const QModelIndex index = model->index(row, column);
            if (grid.sizeHintForIndex(index).width() > grid.columnWidth(column))
                cut.append(index.data().toString());
        }
        if (grid.horizontalHeader()->sectionSizeHint(column) > grid.columnWidth(column))
            cut.append(model->headerData(column, Qt::Horizontal).toString());
    }
    return cut;
}

} // namespace

TEST_F(WindowGeometryTest, MaximisedWindowsStayWithinTheScreensFreeArea) {
    // On the tests' screen of 1280x720 (less the frame) the form fits whole.
    AppState& s = startWithCards(300);
    TForm1 main(s);
    main.showMaximized();
    QApplication::processEvents();
    const QRect free = main.screen()->availableGeometry();
    ASSERT_EQ(free.size(), QSize(1280, 720));
    EXPECT_TRUE(free.contains(main.frameGeometry())) << main.width() << "x" << main.height();
    EXPECT_TRUE(main.isMaximized());
    EXPECT_EQ(main.ui().centralwidget->size(), main.centralWidget()->size());
    EXPECT_TRUE(currentRowInView(*main.ui().Spisok));

    TPrintWibor print(s, &main);
    print.show();
    QApplication::processEvents();
    EXPECT_TRUE(free.contains(print.frameGeometry())) << print.width() << "x" << print.height();
    print.hide();
    // A window that would be larger than the screen is made to fit it.
    TShabloniDok templates(s, &main);
    templates.resize(1600, 1000);
    templates.show();
    QApplication::processEvents();
    EXPECT_TRUE(free.contains(templates.frameGeometry()))
        << templates.width() << "x" << templates.height();
    templates.hide();

    // The shown card's row stays in view whatever size the window takes.
    main.showNormal();
    for (const QSize size : {QSize(1920, 1040), QSize(1280, 656), QSize(1280, 900)}) {
        main.resize(size);
        QApplication::processEvents();
        EXPECT_TRUE(currentRowInView(*main.ui().Spisok)) << size.width() << "x" << size.height();
    }
}

TEST_F(WindowGeometryTest, GridColumnsTakeTheWidthOfTheirTextsAndKeepAWidthSetByHand) {
    AppState& s = startWithCards(300);
    TForm1 main(s);
    main.resize(1280, 656);
    main.show();
    QApplication::processEvents();
    QTableView* grid = main.ui().Spisok;
    EXPECT_EQ(cutCells(*grid), QStringList());
    // The last column is no wider than its texts: the space beside it stays free.
    int widths = 0;
    for (int column = 0; column < grid->model()->columnCount(); ++column)
        widths += grid->columnWidth(column);
    EXPECT_LT(widths, grid->viewport()->width());
    EXPECT_LE(grid->columnWidth(8), 100);

    // A width the clerk sets stays through a refill; the others fit the texts again.
    grid->horizontalHeader()->resizeSection(6, 300);
    grid->horizontalHeader()->resizeSection(5, 40);
    s.Spisok.refresh();
    EXPECT_EQ(grid->columnWidth(6), 300);
    EXPECT_EQ(grid->columnWidth(5), 40);
    EXPECT_EQ(cutCells(*main.ui().RabSpis), QStringList());

    TPrintWibor print(s, &main);
    print.show();
    QApplication::processEvents();
    EXPECT_EQ(cutCells(*print.ui().Tabl), QStringList());
    print.hide();

    // A comment longer than a column's limit shows whole where the grid has room beside its
    // last column, and gives the room back when the window narrows.
    TShabloniDok templates(s, &main);
    templates.resize(1200, 560);
    templates.show();
    QApplication::processEvents();
    QTableView* list = templates.ui().SpPrDok;
    EXPECT_EQ(cutCells(*list), QStringList());
    templates.resize(640, 560);
    QApplication::processEvents();
    QApplication::processEvents();
    EXPECT_LE(list->columnWidth(2),
              list->fontMetrics().horizontalAdvance(QString(40, QChar(u'о'))));
}

TEST_F(WindowGeometryTest, TheCardEditorShowsTheWidestValueOfEachBoxWhole) {
    AppState& s = startWithCards(30);
    TForm1 main(s);
    // The installed lists' widest items, and the widest usual value of the other boxes.
    showWidestValues(main.ui());
    // Maximised on 1280x720 with a panel and a title bar, and on a large screen.
    for (const QSize size : {QSize(1280, 656), QSize(1920, 1040)}) {
        main.resize(size);
        main.show();
        QApplication::processEvents();
        EXPECT_EQ(cutTexts(main), QStringList()) << size.width() << "x" << size.height();
    }
}

TEST_F(WindowGeometryTest, ThePrintWindowsPanelShowsThePickedCardWhole) {
    prepareFolder();
    AppState& listed = newState();
    FormCreate(listed);
    // A card with the longest ground of refusal of the installed list and a long name.
    TAnketa card = makeCard(1, 46000, 901, 1, QStringLiteral("Щербакова Ёлка Владимировна"));
    QString widest;
    for (const QString& motive : listed.lists.items(ListId::Motiv))
        widest = motive.size() > widest.size() ? motive : widest;
    card.Motiv = widest;
    card.KemWines = QStringLiteral("Преображенский А.В.");
    card.ProkOtmetka = QStringLiteral("Проверено");
    writeCards(QStringLiteral("Baza/Anketi.dat"), {card});
    AppState& s = start();
    TPrintWibor print(s);
    print.show();
    QApplication::processEvents();
    print.run([&] { TablMouseDown(s, print.selection(), PrintSelection::Main, 1, 2); });
    QApplication::processEvents();
    ASSERT_EQ(print.ui().Motiv->text(), widest);
    EXPECT_EQ(cutTexts(print), QStringList());
}
