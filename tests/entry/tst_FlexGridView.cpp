// The grid view for real under the offscreen platform: it shows the grid,
// a click makes a cell current with one EnterCell, nothing opens an editor,
// scrolling and TopRow follow each other, sizes follow the twips (15 a
// pixel on the scripted screen), and Redraw pauses painting.

#include "PelkarTest.h"

#include "core/Globals.h"
#include "core/clsEvents.h"
#include "entry/FlexGrid.h"
#include "entry/FlexGridView.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QPaintEvent>
#include <QScrollBar>
#include <QSignalSpy>

#include <memory>

namespace {

// Counts the paint events a widget receives.
class PaintCounter : public QObject
{
public:
    int count = 0;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            ++count;
        return false;
    }
};

// What each watched widget repainted.
class PaintRecorder : public QObject
{
public:
    explicit PaintRecorder(const QList<QWidget *> &widgets)
    {
        for (QWidget *widget : widgets)
            widget->installEventFilter(this);
    }
    QHash<QObject *, QRegion> painted;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            painted[watched] += static_cast<QPaintEvent *>(event)->region();
        return false;
    }
};

} // namespace

class tst_FlexGridView : public PelkarTest
{
    Q_OBJECT

protected:
    void setUpCase() override;
    void tearDownCase() override;

private slots:
    void showsTheGridsTexts();
    void clickMakesTheCellCurrentOnce();
    void doubleClickOpensNoEditor();
    void rightClickAndFixedCellsOnlyNoteTheMouse();
    void programMoveSelectsWithoutScrolling();
    void keysMoveTheCurrentCell();
    void scrollingAndTopRowFollowEachOther();
    void noScrollSignalWhileEventsAreOff();
    void sizesFollowTwips_data();
    void sizesFollowTwips();
    void gridLearnsItsSizeInTwips();
    void setHeightResizesTheView();
    void currentCellRectangleInTwips();
    void viewFollowsShapeChanges();
    void redrawOffPausesPainting();
    void aMoveOrChangeRepaintsOnlyItsCells();

private:
    // The centre of a cell in viewport coordinates.
    QPoint cellCentre(int row, int col) const;

    std::unique_ptr<FlexGrid> mGrid;
    std::unique_ptr<FlexGridView> mView;
};

void tst_FlexGridView::setUpCase()
{
    mGrid = std::make_unique<FlexGrid>();
    mGrid->setRows(40);
    mGrid->setCols(4);
    for (int r = 0; r < 40; ++r)
        for (int c = 0; c < 4; ++c)
            mGrid->setTextMatrix(r, c, QStringLiteral("%1,%2").arg(r).arg(c));
    mView = std::make_unique<FlexGridView>();
    mView->setGrid(mGrid.get());
    mView->resize(400, 300);
    mView->show();
    QVERIFY(QTest::qWaitForWindowExposed(mView.get()));
}

void tst_FlexGridView::tearDownCase()
{
    mView.reset();
    mGrid.reset();
}

QPoint tst_FlexGridView::cellCentre(int row, int col) const
{
    return mView->visualRect(mGrid->index(row, col)).center();
}

void tst_FlexGridView::showsTheGridsTexts()
{
    QCOMPARE(mView->model(), mGrid.get());
    QCOMPARE(mView->model()->index(3, 2).data().toString(), QStringLiteral("3,2"));
    // Row 0 and column 0 are the headers, not cells shown a second time.
    QVERIFY(mView->isRowHidden(0));
    QVERIFY(mView->isColumnHidden(0));
    QVERIFY(mView->horizontalHeader()->isVisible());
    QVERIFY(mView->verticalHeader()->isVisible());
    QCOMPARE(mView->model()->headerData(2, Qt::Horizontal).toString(), QStringLiteral("0,2"));
    QCOMPARE(mView->model()->headerData(7, Qt::Vertical).toString(), QStringLiteral("7,0"));
    QVERIFY(mView->visualRect(mGrid->index(1, 1)).isValid());
    QCOMPARE(mView->rowAt(0), 1);
    QCOMPARE(mView->editTriggers(), QAbstractItemView::NoEditTriggers);

    mGrid->setTextMatrix(1, 1, QStringLiteral("SMITH"));
    QCOMPARE(mView->model()->index(1, 1).data().toString(), QStringLiteral("SMITH"));
}

void tst_FlexGridView::clickMakesTheCellCurrentOnce()
{
    QSignalSpy enter(mGrid.get(), &FlexGrid::EnterCell);
    QSignalSpy mouseUp(mView.get(), &FlexGridView::MouseUp);

    QTest::mouseClick(mView->viewport(), Qt::LeftButton, {}, cellCentre(3, 2));
    QCOMPARE(enter.count(), 1);
    QCOMPARE(mGrid->Row(), 3);
    QCOMPARE(mGrid->Col(), 2);
    QCOMPARE(mView->MouseRow(), 3);
    QCOMPARE(mView->MouseCol(), 2);
    QCOMPARE(mView->currentIndex(), mGrid->index(3, 2));
    QVERIFY(mView->selectionModel()->isSelected(mGrid->index(3, 2)));
    QCOMPARE(mView->selectionModel()->selectedIndexes().size(), 1);
    QCOMPARE(mouseUp.count(), 1);
    QCOMPARE(mouseUp.at(0).at(0).toInt(), 1);

    QTest::mouseClick(mView->viewport(), Qt::LeftButton, {}, cellCentre(3, 2));
    QCOMPARE(enter.count(), 1);

    // Pressing, dragging and releasing elsewhere moves once, to the press.
    QTest::mousePress(mView->viewport(), Qt::LeftButton, {}, cellCentre(4, 1));
    QTest::mouseMove(mView->viewport(), cellCentre(6, 3));
    QTest::mouseRelease(mView->viewport(), Qt::LeftButton, {}, cellCentre(6, 3));
    QCOMPARE(enter.count(), 2);
    QCOMPARE(mGrid->Row(), 4);
    QCOMPARE(mGrid->Col(), 1);
}

void tst_FlexGridView::doubleClickOpensNoEditor()
{
    QSignalSpy enter(mGrid.get(), &FlexGrid::EnterCell);
    QTest::mouseDClick(mView->viewport(), Qt::LeftButton, {}, cellCentre(2, 3));
    QCOMPARE(enter.count(), 1);
    QCOMPARE(mGrid->Row(), 2);
    QCOMPARE(mGrid->Col(), 3);
    QVERIFY(mView->findChildren<QLineEdit *>().isEmpty());
    QVERIFY(!mView->isPersistentEditorOpen(mGrid->index(2, 3)));

    mView->setFocus();
    QTest::keyClick(mView.get(), Qt::Key_F2);
    QTest::keyClicks(mView.get(), QStringLiteral("typed"));
    QVERIFY(mView->findChildren<QLineEdit *>().isEmpty());
    QCOMPARE(mGrid->TextMatrix(2, 3), QStringLiteral("2,3"));
}

void tst_FlexGridView::rightClickAndFixedCellsOnlyNoteTheMouse()
{
    QSignalSpy enter(mGrid.get(), &FlexGrid::EnterCell);
    QSignalSpy mouseUp(mView.get(), &FlexGridView::MouseUp);

    QTest::mouseClick(mView->viewport(), Qt::RightButton, Qt::ShiftModifier, cellCentre(5, 3));
    QCOMPARE(enter.count(), 0);
    QCOMPARE(mGrid->Row(), 1);
    QCOMPARE(mView->MouseRow(), 5);
    QCOMPARE(mView->MouseCol(), 3);
    QCOMPARE(mouseUp.count(), 1);
    QCOMPARE(mouseUp.at(0).at(0).toInt(), 2);
    QCOMPARE(mouseUp.at(0).at(1).toInt(), 1);
    const QPoint inView = mView->viewport()->mapTo(mView.get(), cellCentre(5, 3));
    QCOMPARE(mouseUp.at(0).at(2).toInt(), inView.x() * 15);
    QCOMPARE(mouseUp.at(0).at(3).toInt(), inView.y() * 15);

    // The row-number column: MouseCol 0, the row under the mouse.
    auto *rowNumbers = mView->verticalHeader();
    const QPoint onRow4(5, rowNumbers->sectionViewportPosition(4) + 3);
    QTest::mouseClick(rowNumbers->viewport(), Qt::RightButton, {}, onRow4);
    QCOMPARE(mView->MouseRow(), 4);
    QCOMPARE(mView->MouseCol(), 0);
    QCOMPARE(mouseUp.count(), 2);

    // The title row: a left click there moves nothing.
    auto *titles = mView->horizontalHeader();
    const QPoint onTitle2(titles->sectionViewportPosition(2) + 3, 5);
    QTest::mouseClick(titles->viewport(), Qt::LeftButton, {}, onTitle2);
    QCOMPARE(mView->MouseRow(), 0);
    QCOMPARE(mView->MouseCol(), 2);
    QCOMPARE(enter.count(), 0);
    QCOMPARE(mGrid->Col(), 1);

    // Below the last column there is no cell.
    mGrid->setCols(2);
    QTest::mouseMove(mView->viewport(), QPoint(mView->viewport()->width() - 2, 5));
    QCOMPARE(mView->MouseCol(), -1);
}

void tst_FlexGridView::programMoveSelectsWithoutScrolling()
{
    QSignalSpy scroll(mView.get(), &FlexGridView::Scroll);
    mGrid->setRowCol(35, 3);
    QCOMPARE(mView->currentIndex(), mGrid->index(35, 3));
    QVERIFY(mView->selectionModel()->isSelected(mGrid->index(35, 3)));
    QCOMPARE(mGrid->TopRow(), 1);
    QCOMPARE(mView->rowAt(0), 1);
    QCOMPARE(scroll.count(), 0);

    mGrid->setColSel(2);
    QVERIFY(mView->selectionModel()->isSelected(mGrid->index(35, 2)));
    QVERIFY(mView->selectionModel()->isSelected(mGrid->index(35, 3)));
}

void tst_FlexGridView::keysMoveTheCurrentCell()
{
    mView->setFocus();
    QSignalSpy enter(mGrid.get(), &FlexGrid::EnterCell);

    QTest::keyClick(mView.get(), Qt::Key_Down);
    QCOMPARE(enter.count(), 1);
    QCOMPARE(mGrid->Row(), 2);
    QTest::keyClick(mView.get(), Qt::Key_Right);
    QCOMPARE(mGrid->Col(), 2);
    QCOMPARE(enter.count(), 2);

    // Never onto the fixed row or column.
    mGrid->setRowCol(1, 1);
    enter.clear();
    QTest::keyClick(mView.get(), Qt::Key_Up);
    QTest::keyClick(mView.get(), Qt::Key_Left);
    QCOMPARE(mGrid->Row(), 1);
    QCOMPARE(mGrid->Col(), 1);
    QCOMPARE(enter.count(), 0);

    // A letter is not the grid's business: nothing moves.
    QTest::keyClick(mView.get(), Qt::Key_S);
    QCOMPARE(mGrid->Row(), 1);

    // Moving past the bottom scrolls the row into view.
    mGrid->setRowCol(mView->rowAt(mView->viewport()->height() - 1), 1);
    for (int i = 0; i < 3; ++i)
        QTest::keyClick(mView.get(), Qt::Key_Down);
    QVERIFY(mGrid->TopRow() > 1);
    QVERIFY(mView->viewport()->rect().contains(mView->visualRect(mGrid->index(mGrid->Row(), 1))));
}

void tst_FlexGridView::scrollingAndTopRowFollowEachOther()
{
    QSignalSpy scroll(mView.get(), &FlexGridView::Scroll);

    mView->verticalScrollBar()->setValue(5);
    QCOMPARE(mGrid->TopRow(), 6);
    QCOMPARE(mView->rowAt(0), 6);
    QCOMPARE(scroll.count(), 1);

    mGrid->setTopRow(12);
    QCOMPARE(mView->rowAt(0), 12);
    QCOMPARE(scroll.count(), 2);

    // As far as it goes: the last row ends at the bottom, and the grid
    // reads where the view stopped, TopRow being the first whole row (a
    // part of the row above may show).
    mGrid->setTopRow(39);
    QVERIFY(mGrid->TopRow() < 39);
    const QRect viewport = mView->viewport()->rect();
    QVERIFY(viewport.contains(mView->visualRect(mGrid->index(39, 1))));
    QVERIFY(viewport.contains(mView->visualRect(mGrid->index(mGrid->TopRow(), 1))));
    QVERIFY(!viewport.contains(mView->visualRect(mGrid->index(mGrid->TopRow() - 1, 1))));
    QCOMPARE(mView->verticalScrollBar()->value(), mView->verticalScrollBar()->maximum());
    QVERIFY(mGrid->RowIsVisible(39));
    QVERIFY(!mGrid->RowIsVisible(mGrid->TopRow() - 1));

    // Rows added now can be scrolled to at once.
    mGrid->setRows(200);
    mGrid->setTopRow(150);
    QCOMPARE(mGrid->TopRow(), 150);
    QCOMPARE(mView->rowAt(0), 150);

    // A wheel turn is a scroll too.
    QWheelEvent wheel(QPointF(50, 50), mView->viewport()->mapToGlobal(QPointF(50, 50)), QPoint(),
                      QPoint(0, -120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(mView->viewport(), &wheel);
    QVERIFY(mGrid->TopRow() > 150);
    QCOMPARE(mView->rowAt(0), mGrid->TopRow());
}

void tst_FlexGridView::noScrollSignalWhileEventsAreOff()
{
    ProgramObjects::createEvents();
    QSignalSpy scroll(mView.get(), &FlexGridView::Scroll);
    gEvents->EventsOff();
    mGrid->setTopRow(10);
    gEvents->EventsOn();
    QCOMPARE(mView->rowAt(0), 10);
    QCOMPARE(scroll.count(), 0);
    mGrid->setTopRow(3);
    QCOMPARE(scroll.count(), 1);
}

void tst_FlexGridView::sizesFollowTwips_data()
{
    QTest::addColumn<QString>("what"); // "col" or "row"
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("twips");
    QTest::addColumn<int>("pixels");

    QTest::newRow("column-width") << "col" << 2 << 1500 << 100;
    QTest::newRow("column-width-to-the-nearest-pixel") << "col" << 2 << 1528 << 102;
    QTest::newRow("column-0-is-the-row-number-width") << "col" << 0 << 600 << 40;
    QTest::newRow("every-column") << "col" << -1 << 750 << 50;
    QTest::newRow("hidden-column") << "col" << 3 << 0 << 0;
    QTest::newRow("row-height") << "row" << 5 << 450 << 30;
    QTest::newRow("row-0-is-the-title-height") << "row" << 0 << 300 << 20;
    QTest::newRow("every-row") << "row" << -1 << 360 << 24;
}

void tst_FlexGridView::sizesFollowTwips()
{
    QFETCH(QString, what);
    QFETCH(int, index);
    QFETCH(int, twips);
    QFETCH(int, pixels);

    if (what == QLatin1String("col")) {
        mGrid->setColWidth(index, twips);
        const int col = index == -1 ? 2 : index;
        const int shown = col == 0 ? mView->verticalHeader()->width() : mView->columnWidth(col);
        QCOMPARE(shown, pixels);
    } else {
        mGrid->setRowHeight(index, twips);
        const int row = index == -1 ? 7 : index;
        const int shown = row == 0 ? mView->horizontalHeader()->height() : mView->rowHeight(row);
        QCOMPARE(shown, pixels);
        if (index == -1)
            QCOMPARE(mView->horizontalHeader()->height(), pixels);
    }
    // Rows added later take the grid's default height.
    mGrid->setRows(45);
    QCOMPARE(mView->rowHeight(44) * 15, mGrid->RowHeight(44));
}

void tst_FlexGridView::gridLearnsItsSizeInTwips()
{
    mGrid->setScrollBars(0);
    mView->resize(330, 255);
    QTRY_COMPARE(mGrid->Width(), (330 - 2 * mView->frameWidth()) * 15);
    QCOMPARE(mGrid->Height(), (255 - 2 * mView->frameWidth()) * 15);
    QVERIFY(!mView->verticalScrollBar()->isVisible());

    mGrid->setScrollBars(3);
    QTRY_VERIFY(mView->verticalScrollBar()->isVisible());
    QCOMPARE(mGrid->Width(),
             (330 - 2 * mView->frameWidth() - mView->verticalScrollBar()->width()) * 15);
}

void tst_FlexGridView::setHeightResizesTheView()
{
    mGrid->setScrollBars(0);
    mGrid->setRowHeight(-1, 240);
    // The title row and 10 rows, as the program sizes the grid.
    mGrid->setHeight(240 * 11);
    QTRY_COMPARE(mView->viewport()->height() + mView->horizontalHeader()->height(), 16 * 11);
    QCOMPARE(mGrid->Height(), 240 * 11);
    mGrid->setTopRow(39);
    QCOMPARE(mGrid->TopRow(), 30);
    QCOMPARE(mView->rowAt(0), 30);
}

void tst_FlexGridView::currentCellRectangleInTwips()
{
    mGrid->setColWidth(0, 600);
    mGrid->setColWidth(1, 1500);
    mGrid->setColWidth(2, 1200);
    mGrid->setRowHeight(0, 300);
    mGrid->setRowHeight(-1, 300);
    const int frame = mView->frameWidth();

    mGrid->setRowCol(3, 2);
    QCOMPARE(mView->CellLeft(), (frame + 40 + 100) * 15);
    QCOMPARE(mView->CellTop(), (frame + 20 + 2 * 20) * 15);
    QCOMPARE(mView->CellWidth(), 1200);
    QCOMPARE(mView->CellHeight(), 300);

    // Scrolled: relative to the grid, not to the first row.
    mGrid->setTopRow(3);
    QCOMPARE(mView->CellTop(), (frame + 20) * 15);

    // The fixed cells.
    mGrid->setRowCol(0, 0);
    QCOMPARE(mView->CellLeft(), frame * 15);
    QCOMPARE(mView->CellTop(), frame * 15);
    QCOMPARE(mView->CellWidth(), 600);
    QCOMPARE(mView->CellHeight(), 300);
}

void tst_FlexGridView::viewFollowsShapeChanges()
{
    mGrid->setRowCol(5, 2);
    mGrid->AddItem(QStringLiteral("new\tNEW"), 2);
    QCOMPARE(mView->currentIndex(), mGrid->index(5, 2));
    QVERIFY(mView->isRowHidden(0));
    QVERIFY(!mView->isRowHidden(2));
    QCOMPARE(mView->model()->index(2, 1).data().toString(), QStringLiteral("NEW"));

    mGrid->RemoveItem(1);
    QCOMPARE(mView->currentIndex(), mGrid->index(5, 2));
    QCOMPARE(mView->selectionModel()->selectedIndexes(), QModelIndexList{mGrid->index(5, 2)});

    mGrid->setColWidth(1, 1500);
    mGrid->setColWidth(3, 450);
    mGrid->setColPosition(1, 3);
    QCOMPARE(mView->columnWidth(3), 100);
    QCOMPARE(mView->columnWidth(2), 30);
    QCOMPARE(mView->model()->index(4, 3).data().toString(), QStringLiteral("4,1"));

    mGrid->setCols(6);
    QCOMPARE(mView->columnWidth(5), 64);
    QVERIFY(mView->isColumnHidden(0));
}

void tst_FlexGridView::redrawOffPausesPainting()
{
    PaintCounter paints;
    mView->viewport()->installEventFilter(&paints);

    mGrid->setRedraw(false);
    QCoreApplication::processEvents();
    QVERIFY(!mView->updatesEnabled());
    mGrid->setTextMatrix(1, 1, QStringLiteral("hidden"));
    mView->viewport()->update();
    QTest::qWait(50);
    QCOMPARE(paints.count, 0);

    mGrid->setRedraw(true);
    QVERIFY(mView->updatesEnabled());
    QTRY_VERIFY(paints.count > 0);
    mView->viewport()->removeEventFilter(&paints);
}

// Redraw off and on again within one piece of work, and a move of the
// current cell: the cells concerned are repainted, never the titles, the
// scroll bars or the whole table.
void tst_FlexGridView::aMoveOrChangeRepaintsOnlyItsCells()
{
    mGrid->setRowCol(3, 1);
    QCoreApplication::processEvents();
    QWidget *viewport = mView->viewport();
    QWidget *rows = mView->verticalHeader()->viewport();
    QWidget *cols = mView->horizontalHeader()->viewport();
    PaintRecorder paints({mView.get(), viewport, rows, cols, mView->verticalScrollBar()});

    mGrid->setRedraw(false);
    mGrid->setTextMatrix(5, 2, QStringLiteral("new"));
    mGrid->setTextMatrix(5, 2, QStringLiteral("5,2"));
    mGrid->setTextMatrix(6, 2, QStringLiteral("newer"));
    mGrid->setRedraw(true);
    QVERIFY(mView->updatesEnabled());
    QCoreApplication::processEvents();
    QVERIFY(paints.painted.value(viewport).intersects(mView->visualRect(mGrid->index(6, 2))));
    const QRect changed = mView->visualRect(mGrid->index(5, 2)).united(
            mView->visualRect(mGrid->index(6, 2)));
    QVERIFY(QRegion(changed).contains(paints.painted.value(viewport).boundingRect()));
    QCOMPARE(paints.painted.size(), 1);

    paints.painted.clear();
    mGrid->setRowCol(4, 1);
    QCoreApplication::processEvents();
    const QRect moved = mView->visualRect(mGrid->index(3, 1)).united(
            mView->visualRect(mGrid->index(4, 1)));
    QVERIFY(paints.painted.value(viewport).intersects(moved));
    QVERIFY(QRegion(moved).contains(paints.painted.value(viewport).boundingRect()));
    QCOMPARE(paints.painted.size(), 1);
}

PELKAR_TEST(tst_FlexGridView)
#include "tst_FlexGridView.moc"
