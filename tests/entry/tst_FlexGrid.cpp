// The grid model without a widget: one EnterCell per move of the current
// cell, texts by row and column and by flat index, rows inserted and
// removed, columns moved, the current cell and TopRow kept in range, and
// what the model tells a view.

#include "PelkarTest.h"

#include "core/Globals.h"
#include "core/clsEvents.h"
#include "entry/FlexGrid.h"

#include <QAbstractItemModelTester>
#include <QBrush>
#include <QSignalSpy>

namespace {

constexpr std::uint32_t White = 0xFFFFFF;
constexpr std::uint32_t Green = 0x93FDC0;

// A grid of rows x cols whose cells read "row,col".
void fill(FlexGrid &grid, int rows, int cols)
{
    grid.setRows(rows);
    grid.setCols(cols);
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c)
            grid.setTextMatrix(r, c, QStringLiteral("%1,%2").arg(r).arg(c));
}

// Every row as its cells joined by "|".
QStringList snapshot(const FlexGrid &grid)
{
    QStringList rows;
    for (int r = 0; r < grid.Rows(); ++r) {
        QStringList cells;
        for (int c = 0; c < grid.Cols(); ++c)
            cells << grid.TextMatrix(r, c);
        rows << cells.join(QLatin1Char('|'));
    }
    return rows;
}

// The rows of column 1 whose colour is not white.
QList<int> colouredRows(const FlexGrid &grid)
{
    QList<int> rows;
    for (int r = 0; r < grid.Rows(); ++r)
        if (grid.cellBackColorAt(r, 1) != White)
            rows << r;
    return rows;
}

} // namespace

class tst_FlexGrid : public PelkarTest
{
    Q_OBJECT

private slots:
    void freshGrid();

    void enterCellOnePerMove_data();
    void enterCellOnePerMove();
    void noEnterCellWhileEventsAreOff();

    void flatIndexAgreesWithRowAndColumn();
    void cellOutsideGrid_data();
    void cellOutsideGrid();
    void flatIndexOutsideGrid_data();
    void flatIndexOutsideGrid();

    void addItem_data();
    void addItem();
    void removeItem_data();
    void removeItem();
    void lastNonFixedRowStays();
    void removeItemKeepsCurrentCellInRange_data();
    void removeItemKeepsCurrentCellInRange();
    void colPosition_data();
    void colPosition();

    void clearEmptiesEveryCell();
    void rowsShrinkAndGrow();
    void colsShrinkAndGrow();
    void coloursAndTheCurrentCell();

    void topRowClampedToTheRowsThatCanBeOnTop_data();
    void topRowClampedToTheRowsThatCanBeOnTop();
    void topRowFollowsShapeAndSize();
    void rowIsVisible_data();
    void rowIsVisible();

    void widthsAndHeightsInTwips();
    void alignment_data();
    void alignment();

    void neverEditable();
    void headersMirrorTheFixedCells();
    void viewSignallingStaysConsistent();
    void growingRowsIsOneInsertion();
    void redrawOffHoldsRepaintsBack();
    void setHeightAsksTheView();
};

void tst_FlexGrid::freshGrid()
{
    FlexGrid grid;
    QCOMPARE(grid.Rows(), 2);
    QCOMPARE(grid.Cols(), 2);
    QCOMPARE(grid.Row(), 1);
    QCOMPARE(grid.Col(), 1);
    QCOMPARE(grid.ColSel(), 1);
    QCOMPARE(grid.TopRow(), 1);
    QCOMPARE(grid.RowHeight(1), 240);
    QCOMPARE(grid.ColAlignment(1), 9);
    QVERIFY(grid.Redraw());
    QCOMPARE(grid.CellBackColor(), White);
}

// Steps: "r<row>" setRow, "c<col>" setCol, "rc<row>,<col>" setRowCol.
void tst_FlexGrid::enterCellOnePerMove_data()
{
    QTest::addColumn<QString>("steps");
    QTest::addColumn<int>("enterCells");
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("col");

    QTest::newRow("setRow-to-another-row") << "r3" << 1 << 3 << 1;
    QTest::newRow("setRow-to-the-same-row-is-no-move") << "r1" << 0 << 1 << 1;
    QTest::newRow("setCol-to-another-column") << "c2" << 1 << 1 << 2;
    QTest::newRow("setCol-to-the-same-column-is-no-move") << "c1" << 0 << 1 << 1;
    QTest::newRow("setRowCol-moving-both-is-one-move") << "rc3,2" << 1 << 3 << 2;
    QTest::newRow("setRowCol-moving-the-column-only") << "rc1,3" << 1 << 1 << 3;
    QTest::newRow("setRowCol-to-the-current-cell") << "rc1,1" << 0 << 1 << 1;
    QTest::newRow("setRow-at-Rows-is-ignored") << "r5" << 0 << 1 << 1;
    QTest::newRow("setRow-negative-is-ignored") << "r-1" << 0 << 1 << 1;
    QTest::newRow("setCol-at-Cols-is-ignored") << "c4" << 0 << 1 << 1;
    QTest::newRow("setRowCol-half-outside-is-ignored-whole") << "rc2,4" << 0 << 1 << 1;
    QTest::newRow("fixed-cell-can-be-made-current") << "rc0,0" << 1 << 0 << 0;
    QTest::newRow("each-move-counts") << "r2 c2 rc3,3" << 3 << 3 << 3;
    QTest::newRow("there-and-back-is-two-moves") << "r4 r1" << 2 << 1 << 1;
    QTest::newRow("repeats-after-a-move-count-once") << "r2 r2 c3 c3" << 2 << 2 << 3;
}

void tst_FlexGrid::enterCellOnePerMove()
{
    QFETCH(QString, steps);
    QFETCH(int, enterCells);
    QFETCH(int, row);
    QFETCH(int, col);

    FlexGrid grid;
    grid.setRows(5);
    grid.setCols(4);
    QSignalSpy enter(&grid, &FlexGrid::EnterCell);
    for (const QString &step : steps.split(QLatin1Char(' '))) {
        if (step.startsWith(QLatin1String("rc"))) {
            const QStringList rc = step.mid(2).split(QLatin1Char(','));
            grid.setRowCol(rc[0].toInt(), rc[1].toInt());
        } else if (step.startsWith(QLatin1Char('r'))) {
            grid.setRow(step.mid(1).toInt());
        } else {
            grid.setCol(step.mid(1).toInt());
        }
    }
    QCOMPARE(enter.count(), enterCells);
    QCOMPARE(grid.Row(), row);
    QCOMPARE(grid.Col(), col);
}

void tst_FlexGrid::noEnterCellWhileEventsAreOff()
{
    FlexGrid grid;
    grid.setRows(5);
    grid.setCols(4);
    ProgramObjects::createEvents();
    QSignalSpy enter(&grid, &FlexGrid::EnterCell);
    QSignalSpy selection(&grid, &FlexGrid::cellSelectionChanged);

    gEvents->EventsOff();
    gEvents->EventsOff();
    grid.setRow(3);
    grid.setRowCol(2, 2);
    gEvents->EventsOn();
    grid.setCol(3);
    QCOMPARE(enter.count(), 0);
    // The move happened, and a view still hears of it.
    QCOMPARE(grid.Row(), 2);
    QCOMPARE(grid.Col(), 3);
    QCOMPARE(selection.count(), 3);

    gEvents->EventsOn();
    grid.setRow(4);
    QCOMPARE(enter.count(), 1);
}

void tst_FlexGrid::flatIndexAgreesWithRowAndColumn()
{
    FlexGrid grid;
    fill(grid, 4, 3);
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 3; ++c)
            QCOMPARE(grid.TextArray(r * 3 + c), grid.TextMatrix(r, c));

    grid.setTextArray(2 * 3 + 1, QStringLiteral("by index"));
    QCOMPARE(grid.TextMatrix(2, 1), QStringLiteral("by index"));

    // The index follows the column count.
    grid.setCols(5);
    QCOMPARE(grid.TextArray(2 * 5 + 1), QStringLiteral("by index"));
    QCOMPARE(grid.TextArray(3 * 5 + 2), QStringLiteral("3,2"));
    QCOMPARE(grid.TextArray(3 * 5 + 4), QString());

    grid.setRowCol(3, 2);
    QCOMPARE(grid.Text(), QStringLiteral("3,2"));
    grid.setText(QStringLiteral("current"));
    QCOMPARE(grid.TextArray(3 * 5 + 2), QStringLiteral("current"));
}

void tst_FlexGrid::cellOutsideGrid_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("col");

    QTest::newRow("row-minus-one") << -1 << 1;
    QTest::newRow("row-equal-to-Rows") << 4 << 1;
    QTest::newRow("column-minus-one") << 1 << -1;
    QTest::newRow("column-equal-to-Cols") << 1 << 3;
}

void tst_FlexGrid::cellOutsideGrid()
{
    QFETCH(int, row);
    QFETCH(int, col);

    FlexGrid grid;
    fill(grid, 4, 3);
    const QStringList before = snapshot(grid);
    QSignalSpy changed(&grid, &QAbstractItemModel::dataChanged);

    QCOMPARE(grid.TextMatrix(row, col), QString());
    QCOMPARE(grid.cellBackColorAt(row, col), White);
    grid.setTextMatrix(row, col, QStringLiteral("lost"));
    grid.setCellBackColorAt(row, col, Green);

    QCOMPARE(snapshot(grid), before);
    QCOMPARE(colouredRows(grid), QList<int>());
    QCOMPARE(changed.count(), 0);
}

void tst_FlexGrid::flatIndexOutsideGrid_data()
{
    QTest::addColumn<int>("index");

    QTest::newRow("minus-one") << -1;
    QTest::newRow("Rows-times-Cols") << 12;
    QTest::newRow("far-beyond") << 1000000;
}

void tst_FlexGrid::flatIndexOutsideGrid()
{
    QFETCH(int, index);

    FlexGrid grid;
    fill(grid, 4, 3);
    const QStringList before = snapshot(grid);

    QCOMPARE(grid.TextArray(index), QString());
    grid.setTextArray(index, QStringLiteral("lost"));
    QCOMPARE(snapshot(grid), before);
}

void tst_FlexGrid::addItem_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("index");
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<QList<int>>("green");

    const QString r0 = QStringLiteral("0,0|0,1|0,2");
    const QString r1 = QStringLiteral("1,0|1,1|1,2");
    const QString r2 = QStringLiteral("2,0|2,1|2,2");
    const QString r3 = QStringLiteral("3,0|3,1|3,2");
    const QStringList unchanged{r0, r1, r2, r3};

    QTest::newRow("inserts-before-the-row-shifting-texts-and-colours")
        << "9\tSMITH\tJohn" << 2 << QStringList{r0, r1, "9|SMITH|John", r2, r3} << QList<int>{3};
    QTest::newRow("index-Rows-appends")
        << "9\tSMITH\tJohn" << 4 << QStringList{r0, r1, r2, r3, "9|SMITH|John"} << QList<int>{2};
    QTest::newRow("parts-beyond-the-last-column-are-dropped")
        << "a\tb\tc\td" << 1 << QStringList{r0, "a|b|c", r1, r2, r3} << QList<int>{3};
    QTest::newRow("missing-parts-leave-cells-empty")
        << "a" << 1 << QStringList{r0, "a||", r1, r2, r3} << QList<int>{3};
    QTest::newRow("empty-text-inserts-an-empty-row")
        << "" << 3 << QStringList{r0, r1, r2, "||", r3} << QList<int>{2};
    QTest::newRow("fixed-row-is-refused") << "x" << 0 << unchanged << QList<int>{2};
    QTest::newRow("beyond-Rows-is-refused") << "x" << 5 << unchanged << QList<int>{2};
}

void tst_FlexGrid::addItem()
{
    QFETCH(QString, text);
    QFETCH(int, index);
    QFETCH(QStringList, rows);
    QFETCH(QList<int>, green);

    FlexGrid grid;
    fill(grid, 4, 3);
    grid.setCellBackColorAt(2, 1, Green);
    grid.AddItem(text, index);

    QCOMPARE(snapshot(grid), rows);
    QCOMPARE(colouredRows(grid), green);
}

void tst_FlexGrid::removeItem_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<QList<int>>("green");

    const QString r0 = QStringLiteral("0,0|0,1|0,2");
    const QString r1 = QStringLiteral("1,0|1,1|1,2");
    const QString r2 = QStringLiteral("2,0|2,1|2,2");
    const QString r3 = QStringLiteral("3,0|3,1|3,2");

    QTest::newRow("rows-below-move-up-with-their-colours")
        << 1 << QStringList{r0, r2, r3} << QList<int>{1};
    QTest::newRow("the-coloured-row-takes-its-colour-away")
        << 2 << QStringList{r0, r1, r3} << QList<int>{};
    QTest::newRow("last-row") << 3 << QStringList{r0, r1, r2} << QList<int>{2};
    QTest::newRow("fixed-row-is-refused") << 0 << QStringList{r0, r1, r2, r3} << QList<int>{2};
    QTest::newRow("beyond-last-row-is-refused")
        << 4 << QStringList{r0, r1, r2, r3} << QList<int>{2};
}

void tst_FlexGrid::removeItem()
{
    QFETCH(int, index);
    QFETCH(QStringList, rows);
    QFETCH(QList<int>, green);

    FlexGrid grid;
    fill(grid, 4, 3);
    grid.setCellBackColorAt(2, 1, Green);
    grid.RemoveItem(index);

    QCOMPARE(snapshot(grid), rows);
    QCOMPARE(colouredRows(grid), green);
}

void tst_FlexGrid::lastNonFixedRowStays()
{
    FlexGrid grid;
    grid.setTextMatrix(1, 1, QStringLiteral("kept"));
    grid.RemoveItem(1);
    QCOMPARE(grid.Rows(), 2);
    QCOMPARE(grid.TextMatrix(1, 1), QStringLiteral("kept"));
}

void tst_FlexGrid::removeItemKeepsCurrentCellInRange_data()
{
    QTest::addColumn<int>("currentRow");
    QTest::addColumn<int>("removed");
    QTest::addColumn<int>("rowAfter");

    QTest::newRow("row-above-keeps-the-number") << 3 << 1 << 3;
    QTest::newRow("row-below-keeps-the-number") << 2 << 4 << 2;
    QTest::newRow("current-last-row-removed-moves-to-new-last") << 4 << 4 << 3;
    QTest::newRow("row-above-the-last-current-row") << 4 << 2 << 3;
}

void tst_FlexGrid::removeItemKeepsCurrentCellInRange()
{
    QFETCH(int, currentRow);
    QFETCH(int, removed);
    QFETCH(int, rowAfter);

    FlexGrid grid;
    fill(grid, 5, 3);
    grid.setRowCol(currentRow, 2);
    QSignalSpy enter(&grid, &FlexGrid::EnterCell);
    grid.RemoveItem(removed);

    QCOMPARE(grid.Row(), rowAfter);
    QCOMPARE(grid.Col(), 2);
    // Not a move the user made: the program follows with its own.
    QCOMPARE(enter.count(), 0);
}

void tst_FlexGrid::colPosition_data()
{
    QTest::addColumn<int>("col");
    QTest::addColumn<int>("position");
    QTest::addColumn<QList<int>>("order"); // the old column now at each position

    QTest::newRow("left-to-right") << 1 << 3 << QList<int>{0, 2, 3, 1, 4};
    QTest::newRow("right-to-left") << 4 << 1 << QList<int>{0, 4, 1, 2, 3};
    QTest::newRow("neighbours-swap") << 2 << 3 << QList<int>{0, 1, 3, 2, 4};
    QTest::newRow("last-column-before-its-neighbour") << 4 << 3 << QList<int>{0, 1, 2, 4, 3};
    QTest::newRow("same-position-changes-nothing") << 2 << 2 << QList<int>{0, 1, 2, 3, 4};
    QTest::newRow("fixed-column-is-refused") << 0 << 2 << QList<int>{0, 1, 2, 3, 4};
    QTest::newRow("onto-the-fixed-column-is-refused") << 2 << 0 << QList<int>{0, 1, 2, 3, 4};
    QTest::newRow("beyond-the-last-is-refused") << 1 << 5 << QList<int>{0, 1, 2, 3, 4};
}

void tst_FlexGrid::colPosition()
{
    QFETCH(int, col);
    QFETCH(int, position);
    QFETCH(QList<int>, order);

    FlexGrid grid;
    fill(grid, 3, 5);
    for (int c = 0; c < 5; ++c) {
        grid.setColWidth(c, 100 * (c + 1));
        grid.setColAlignment(c, c);
        grid.setCellBackColorAt(2, c, 0x010101u * std::uint32_t(c + 1));
    }
    grid.setRowCol(2, 3);
    grid.setColPosition(col, position);

    for (int p = 0; p < 5; ++p) {
        const int old = order.at(p);
        for (int r = 0; r < 3; ++r)
            QCOMPARE(grid.TextMatrix(r, p), QStringLiteral("%1,%2").arg(r).arg(old));
        QCOMPARE(grid.ColWidth(p), 100 * (old + 1));
        QCOMPARE(grid.ColAlignment(p), old);
        QCOMPARE(grid.cellBackColorAt(2, p), 0x010101u * std::uint32_t(old + 1));
    }
    QCOMPARE(grid.Col(), 3);
}

void tst_FlexGrid::clearEmptiesEveryCell()
{
    FlexGrid grid;
    fill(grid, 4, 3);
    grid.setCellBackColorAt(1, 1, Green);
    grid.setColWidth(2, 1500);
    grid.setColAlignment(2, 8);
    grid.setRowCol(3, 2);
    QSignalSpy enter(&grid, &FlexGrid::EnterCell);

    grid.Clear();

    QCOMPARE(snapshot(grid), QStringList(4, QStringLiteral("||")));
    QCOMPARE(grid.cellBackColorAt(1, 1), White);
    QCOMPARE(grid.Rows(), 4);
    QCOMPARE(grid.Cols(), 3);
    QCOMPARE(grid.Row(), 3);
    QCOMPARE(grid.Col(), 2);
    QCOMPARE(grid.ColWidth(2), 1500);
    QCOMPARE(grid.ColAlignment(2), 8);
    QCOMPARE(enter.count(), 0);
}

void tst_FlexGrid::rowsShrinkAndGrow()
{
    FlexGrid grid;
    fill(grid, 6, 3);
    grid.setCellBackColorAt(4, 1, Green);
    grid.setRowHeight(4, 500);
    grid.setRowCol(5, 2);
    QSignalSpy enter(&grid, &FlexGrid::EnterCell);

    grid.setRows(3);
    QCOMPARE(snapshot(grid), (QStringList{"0,0|0,1|0,2", "1,0|1,1|1,2", "2,0|2,1|2,2"}));
    // The current row follows the last row, quietly.
    QCOMPARE(grid.Row(), 2);
    QCOMPARE(grid.Col(), 2);
    QCOMPARE(enter.count(), 0);

    // Rows that come back are new: empty, white, default height.
    grid.setRows(6);
    QCOMPARE(snapshot(grid).mid(2), (QStringList{"2,0|2,1|2,2", "||", "||", "||"}));
    QCOMPARE(colouredRows(grid), QList<int>());
    QCOMPARE(grid.RowHeight(4), 240);

    grid.setRows(0);
    QCOMPARE(grid.Rows(), 6);
    grid.setRows(1);
    QCOMPARE(grid.Rows(), 1);
    QCOMPARE(grid.Row(), 0);
}

void tst_FlexGrid::colsShrinkAndGrow()
{
    FlexGrid grid;
    fill(grid, 3, 4);
    grid.setCellBackColorAt(1, 1, Green);
    grid.setCellBackColorAt(1, 3, Green);
    grid.setColWidth(3, 2000);
    grid.setRowCol(2, 3);
    grid.setColSel(3);
    QSignalSpy enter(&grid, &FlexGrid::EnterCell);

    grid.setCols(2);
    QCOMPARE(snapshot(grid), (QStringList{"0,0|0,1", "1,0|1,1", "2,0|2,1"}));
    QCOMPARE(grid.Col(), 1);
    QCOMPARE(grid.ColSel(), 1);
    QCOMPARE(enter.count(), 0);

    grid.setCols(4);
    QCOMPARE(snapshot(grid), (QStringList{"0,0|0,1||", "1,0|1,1||", "2,0|2,1||"}));
    QCOMPARE(grid.cellBackColorAt(1, 1), Green);
    QCOMPARE(grid.cellBackColorAt(1, 3), White);
    QCOMPARE(grid.ColWidth(3), 960);
    QCOMPARE(grid.ColAlignment(3), 9);
}

void tst_FlexGrid::coloursAndTheCurrentCell()
{
    FlexGrid grid;
    fill(grid, 4, 3);
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 3; ++c)
            QCOMPARE(grid.cellBackColorAt(r, c), White);

    grid.setRowCol(2, 2);
    grid.setCellBackColor(Green);
    QCOMPARE(grid.CellBackColor(), Green);
    QCOMPARE(grid.cellBackColorAt(2, 2), Green);
    QCOMPARE(grid.cellBackColorAt(2, 1), White);

    // 0x00BBGGRR: red in the low byte.
    const auto brush = grid.data(grid.index(2, 2), Qt::BackgroundRole).value<QBrush>();
    QCOMPARE(brush.color(), QColor(0xC0, 0xFD, 0x93));
    QCOMPARE(grid.data(grid.index(2, 1), Qt::BackgroundRole).value<QBrush>().color(),
             QColor(Qt::white));
    // The fixed cells are shown grey, though their colour reads white.
    const QColor fixed = grid.data(grid.index(0, 1), Qt::BackgroundRole).value<QBrush>().color();
    QVERIFY(fixed != QColor(Qt::white));
    QCOMPARE(grid.data(grid.index(2, 0), Qt::BackgroundRole).value<QBrush>().color(), fixed);
}

void tst_FlexGrid::topRowClampedToTheRowsThatCanBeOnTop_data()
{
    QTest::addColumn<int>("height"); // twips; 0: no view yet
    QTest::addColumn<int>("requested");
    QTest::addColumn<int>("topRow");

    // 100 rows of 240 twips; 2640 twips show the fixed row and 10 rows.
    QTest::newRow("no-view-any-row") << 0 << 50 << 50;
    QTest::newRow("no-view-last-row") << 0 << 99 << 99;
    QTest::newRow("no-view-beyond-last-row") << 0 << 100 << 99;
    QTest::newRow("fixed-row-gives-first-row") << 0 << 0 << 1;
    QTest::newRow("negative-gives-first-row") << 2640 << -5 << 1;
    QTest::newRow("last-page-stops-with-last-row-at-bottom") << 2640 << 95 << 90;
    QTest::newRow("just-above-the-last-page") << 2640 << 89 << 89;
    QTest::newRow("part-row-does-not-count") << 2639 << 95 << 91;
    QTest::newRow("everything-fits") << 240 * 101 << 50 << 1;
}

void tst_FlexGrid::topRowClampedToTheRowsThatCanBeOnTop()
{
    QFETCH(int, height);
    QFETCH(int, requested);
    QFETCH(int, topRow);

    FlexGrid grid;
    grid.setRows(100);
    grid.setViewportSize(5000, height);
    grid.setTopRow(requested);
    QCOMPARE(grid.TopRow(), topRow);
}

void tst_FlexGrid::topRowFollowsShapeAndSize()
{
    FlexGrid grid;
    grid.setRows(100);
    grid.setTopRow(95);
    QSignalSpy top(&grid, &FlexGrid::TopRowChanged);

    grid.setViewportSize(5000, 2640);
    QCOMPARE(grid.TopRow(), 90);
    grid.setRows(50);
    QCOMPARE(grid.TopRow(), 40);
    grid.RemoveItem(49);
    QCOMPARE(grid.TopRow(), 39);
    // Taller rows: fewer fit, the top may go further down.
    grid.setRowHeight(-1, 480);
    grid.setTopRow(47);
    QCOMPARE(grid.TopRow(), 45);
    QCOMPARE(top.count(), 4);
    QCOMPARE(top.last().at(0).toInt(), 45);
}

void tst_FlexGrid::rowIsVisible_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<bool>("visible");

    // Top row 10, room for the fixed row and 10 rows.
    QTest::newRow("fixed-row") << 0 << true;
    QTest::newRow("above-the-top") << 9 << false;
    QTest::newRow("top-row") << 10 << true;
    QTest::newRow("last-whole-row") << 19 << true;
    QTest::newRow("below-the-last-whole-row") << 20 << false;
    QTest::newRow("outside-the-grid") << 100 << false;
}

void tst_FlexGrid::rowIsVisible()
{
    QFETCH(int, row);
    QFETCH(bool, visible);

    FlexGrid grid;
    grid.setRows(100);
    grid.setViewportSize(5000, 2640 + 100);
    grid.setTopRow(10);
    QCOMPARE(grid.RowIsVisible(row), visible);
}

void tst_FlexGrid::widthsAndHeightsInTwips()
{
    FlexGrid grid;
    fill(grid, 4, 4);
    QSignalSpy widths(&grid, &FlexGrid::layoutInTwipsChanged);
    QSignalSpy heights(&grid, &FlexGrid::rowHeightChanged);

    QCOMPARE(grid.ColWidth(2), 960);
    grid.setColWidth(-1, 0); // every column
    for (int c = 0; c < 4; ++c)
        QCOMPARE(grid.ColWidth(c), 0);
    grid.setColWidth(2, 1500);
    QCOMPARE(grid.ColWidth(2), 1500);
    grid.setColWidth(2, -1); // back to the default
    QCOMPARE(grid.ColWidth(2), 960);
    grid.setColWidth(2, 960); // no change, no signal
    QCOMPARE(widths.count(), 3);
    QCOMPARE(grid.ColWidth(4), 0);
    QCOMPARE(grid.ColWidth(-1), 0);

    grid.setRowHeight(2, 600);
    QCOMPARE(grid.RowHeight(2), 600);
    QCOMPARE(grid.RowHeight(3), 240);
    grid.setRowHeight(-1, 300);
    QCOMPARE(grid.RowHeight(0), 300);
    QCOMPARE(grid.RowHeight(2), 300);
    grid.setRowHeight(-1, -1);
    QCOMPARE(grid.RowHeight(2), grid.DefaultRowHeight());
    QCOMPARE(grid.RowHeight(4), 0);
    QCOMPARE(heights.count(), 3);
    QCOMPARE(heights.at(1).at(0).toInt(), -1);

    // A larger font makes the rows without a height of their own taller.
    grid.setRowHeight(1, 250);
    QFont big = grid.Font();
    big.setPixelSize(40);
    grid.setFont(big);
    QVERIFY(grid.DefaultRowHeight() > 40 * 15);
    QCOMPARE(grid.RowHeight(2), grid.DefaultRowHeight());
    QCOMPARE(grid.RowHeight(1), 250);
    QCOMPARE(grid.data(grid.index(2, 2), Qt::FontRole).value<QFont>().pixelSize(), 40);
}

void tst_FlexGrid::alignment_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("expected"); // Qt::Alignment as a number

    QTest::newRow("left-top-0") << 0 << "SMITH" << int(Qt::AlignLeft | Qt::AlignTop);
    QTest::newRow("left-bottom-2") << 2 << "SMITH" << int(Qt::AlignLeft | Qt::AlignBottom);
    QTest::newRow("centre-centre-4") << 4 << "SMITH" << int(Qt::AlignHCenter | Qt::AlignVCenter);
    QTest::newRow("centre-bottom-5") << 5 << "47" << int(Qt::AlignHCenter | Qt::AlignBottom);
    QTest::newRow("right-bottom-8") << 8 << "123" << int(Qt::AlignRight | Qt::AlignBottom);
    QTest::newRow("general-text-left") << 9 << "SMITH" << int(Qt::AlignLeft | Qt::AlignVCenter);
    QTest::newRow("general-number-right") << 9 << " 123 " << int(Qt::AlignRight | Qt::AlignVCenter);
    QTest::newRow("general-empty-left") << 9 << "" << int(Qt::AlignLeft | Qt::AlignVCenter);
    QTest::newRow("out-of-range-keeps-general") << 10 << "SMITH"
                                                << int(Qt::AlignLeft | Qt::AlignVCenter);
}

void tst_FlexGrid::alignment()
{
    QFETCH(int, code);
    QFETCH(QString, text);
    QFETCH(int, expected);

    FlexGrid grid;
    grid.setCols(3);
    grid.setColAlignment(2, code);
    grid.setTextMatrix(1, 2, text);
    QCOMPARE(grid.data(grid.index(1, 2), Qt::TextAlignmentRole).toInt(), expected);
    // The title row follows its column.
    grid.setTextMatrix(0, 2, text);
    QCOMPARE(grid.headerData(2, Qt::Horizontal, Qt::TextAlignmentRole).toInt(), expected);
}

void tst_FlexGrid::neverEditable()
{
    FlexGrid grid;
    fill(grid, 3, 3);
    for (const QModelIndex &index : {grid.index(0, 0), grid.index(0, 1), grid.index(1, 1)})
        QCOMPARE(grid.flags(index), Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    QVERIFY(!grid.setData(grid.index(1, 1), QStringLiteral("typed")));
    QCOMPARE(grid.TextMatrix(1, 1), QStringLiteral("1,1"));
}

void tst_FlexGrid::headersMirrorTheFixedCells()
{
    FlexGrid grid;
    fill(grid, 4, 3);
    QSignalSpy headers(&grid, &QAbstractItemModel::headerDataChanged);

    QCOMPARE(grid.headerData(2, Qt::Horizontal).toString(), QStringLiteral("0,2"));
    QCOMPARE(grid.headerData(3, Qt::Vertical).toString(), QStringLiteral("3,0"));
    QVERIFY(grid.headerData(2, Qt::Horizontal, Qt::FontRole).value<QFont>().bold());
    QVERIFY(!grid.data(grid.index(1, 1), Qt::FontRole).value<QFont>().bold());
    QVERIFY(!grid.headerData(3, Qt::Horizontal).isValid());

    grid.setTextMatrix(0, 1, QStringLiteral("Surname"));
    grid.setTextMatrix(2, 0, QStringLiteral("2"));
    grid.setTextMatrix(2, 2, QStringLiteral("not a header"));
    QCOMPARE(headers.count(), 2);
    QCOMPARE(headers.at(0).at(0).value<Qt::Orientation>(), Qt::Horizontal);
    QCOMPARE(headers.at(1).at(0).value<Qt::Orientation>(), Qt::Vertical);
    QCOMPARE(grid.headerData(1, Qt::Horizontal).toString(), QStringLiteral("Surname"));
}

void tst_FlexGrid::viewSignallingStaysConsistent()
{
    FlexGrid grid;
    // Fails the test on any inconsistency between the signals and the data.
    QAbstractItemModelTester tester(&grid, QAbstractItemModelTester::FailureReportingMode::QtTest);
    fill(grid, 50, 4);
    grid.AddItem(QStringLiteral("x\ty"), 10);
    grid.AddItem(QStringLiteral("end"), grid.Rows());
    grid.RemoveItem(1);
    grid.setCols(6);
    grid.setColPosition(2, 5);
    grid.setColPosition(5, 1);
    grid.setCols(3);
    grid.setRows(2);
    grid.setRows(30);
    grid.Clear();
    grid.setRedraw(false);
    grid.setTextMatrix(5, 1, QStringLiteral("late"));
    grid.setRedraw(true);
    QCOMPARE(grid.TextMatrix(5, 1), QStringLiteral("late"));
}

void tst_FlexGrid::growingRowsIsOneInsertion()
{
    FlexGrid grid;
    grid.setCols(6);
    QSignalSpy inserted(&grid, &QAbstractItemModel::rowsInserted);
    grid.setRows(100002);
    QCOMPARE(inserted.count(), 1);
    QCOMPARE(inserted.at(0).at(1).toInt(), 2);
    QCOMPARE(inserted.at(0).at(2).toInt(), 100001);
    grid.setTextArray(100001 * 6 + 5, QStringLiteral("last"));
    QCOMPARE(grid.TextMatrix(100001, 5), QStringLiteral("last"));
}

void tst_FlexGrid::redrawOffHoldsRepaintsBack()
{
    FlexGrid grid;
    fill(grid, 5, 3);
    QSignalSpy changed(&grid, &QAbstractItemModel::dataChanged);
    QSignalSpy redraw(&grid, &FlexGrid::RedrawChanged);

    grid.setRedraw(false);
    grid.setTextMatrix(1, 1, QStringLiteral("a"));
    grid.setTextMatrix(4, 2, QStringLiteral("b"));
    grid.setCellBackColorAt(2, 2, Green);
    QCOMPARE(changed.count(), 0);
    QCOMPARE(grid.TextMatrix(4, 2), QStringLiteral("b"));

    grid.setRedraw(true);
    // The cells changed meanwhile, not the whole grid.
    QCOMPARE(changed.count(), 1);
    QCOMPARE(changed.at(0).at(0).toModelIndex(), grid.index(1, 1));
    QCOMPARE(changed.at(0).at(1).toModelIndex(), grid.index(4, 2));
    QCOMPARE(redraw.count(), 2);

    // Nothing changed meanwhile: nothing to repaint.
    grid.setRedraw(false);
    grid.setRedraw(true);
    QCOMPARE(changed.count(), 1);

    // Rows removed meanwhile are not repainted.
    grid.setRedraw(false);
    grid.setTextMatrix(4, 1, QStringLiteral("gone"));
    grid.setRows(3);
    grid.setRedraw(true);
    QCOMPARE(changed.count(), 1);
}

void tst_FlexGrid::setHeightAsksTheView()
{
    FlexGrid grid;
    grid.setRows(100);
    grid.setTopRow(95);
    QSignalSpy requested(&grid, &FlexGrid::heightRequested);
    grid.setHeight(2640);
    QCOMPARE(grid.Height(), 2640);
    QCOMPARE(requested.count(), 1);
    QCOMPARE(requested.at(0).at(0).toInt(), 2640);
    QCOMPARE(grid.TopRow(), 90);
}

PELKAR_TEST(tst_FlexGrid)
#include "tst_FlexGrid.moc"
