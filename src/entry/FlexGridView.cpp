#include "entry/FlexGridView.h"

#include "core/Globals.h"
#include "core/VbHelpers.h"
#include "core/clsEvents.h"
#include "entry/FlexGrid.h"
#include "entry/VbKeyCodes.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>

#include <algorithm>

namespace {

// The fixed row and column: a title section looks the same whether or not
// its row or column holds the current cell or the selection, so a move of
// the current cell does not repaint the titles (a plain header repaints the
// sections of both cells on every move).
class TitleHeader : public QHeaderView
{
public:
    using QHeaderView::QHeaderView;

protected:
    void currentChanged(const QModelIndex &current, const QModelIndex &previous) override
    {
        if (highlightSections())
            QHeaderView::currentChanged(current, previous);
    }
    void selectionChanged(const QItemSelection &selected,
                          const QItemSelection &deselected) override
    {
        if (highlightSections())
            QHeaderView::selectionChanged(selected, deselected);
    }
};

void setUpHeader(QHeaderView *header)
{
    // The fixed cells are titles only: no sorting, selecting, resizing or
    // dragging from them.
    header->setSectionResizeMode(QHeaderView::Fixed);
    header->setSectionsClickable(false);
    header->setSectionsMovable(false);
    header->setHighlightSections(false);
    header->setMinimumSectionSize(0);
    header->viewport()->setMouseTracking(true);
}

} // namespace

FlexGridView::FlexGridView(QWidget *parent) : QTableView(parent)
{
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    // The selection is the grid's current cell, set from the grid alone.
    setSelectionMode(QAbstractItemView::NoSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    // A move by the program must not scroll: the program places the grid
    // with TopRow.
    setAutoScroll(false);
    setTabKeyNavigation(false);
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerItem);
    setWordWrap(false);
    setTextElideMode(Qt::ElideNone);
    setCornerButtonEnabled(false);
    setSortingEnabled(false);
    setDragEnabled(false);
    viewport()->setMouseTracking(true);
    setHorizontalHeader(new TitleHeader(Qt::Horizontal, this));
    setVerticalHeader(new TitleHeader(Qt::Vertical, this));
    setUpHeader(horizontalHeader());
    setUpHeader(verticalHeader());
    horizontalHeader()->viewport()->installEventFilter(this);
    verticalHeader()->viewport()->installEventFilter(this);

    connect(verticalScrollBar(), &QScrollBar::valueChanged, this,
            &FlexGridView::onVerticalScrolled);
    connect(horizontalScrollBar(), &QScrollBar::valueChanged, this, &FlexGridView::emitScroll);
}

void FlexGridView::setModel(QAbstractItemModel *model)
{
    setGrid(qobject_cast<FlexGrid *>(model));
}

void FlexGridView::setGrid(FlexGrid *grid)
{
    if (mGrid)
        disconnect(mGrid, nullptr, this, nullptr);
    mGrid = grid;
    QTableView::setModel(grid);
    if (!grid)
        return;

    connect(grid, &FlexGrid::cellSelectionChanged, this, &FlexGridView::syncCurrent);
    connect(grid, &FlexGrid::TopRowChanged, this, &FlexGridView::applyTopRow);
    connect(grid, &FlexGrid::layoutInTwipsChanged, this, &FlexGridView::applyColumns);
    connect(grid, &FlexGrid::rowHeightChanged, this, &FlexGridView::applyRowHeight);
    connect(grid, &FlexGrid::heightRequested, this, &FlexGridView::applyRequestedHeight);
    connect(grid, &FlexGrid::ScrollBarsChanged, this, &FlexGridView::applyScrollBars);
    connect(grid, &FlexGrid::RedrawChanged, this, &FlexGridView::applyRedraw);
    // The headers and the selection model have followed these already;
    // put back what the grid decides (hidden fixed sections, sizes, the
    // current cell), which a change of shape may have moved.
    connect(grid, &QAbstractItemModel::rowsInserted, this,
            [this](const QModelIndex &, int first, int last) {
                applyRowHeights(first, last);
                onShapeChanged();
            });
    connect(grid, &QAbstractItemModel::rowsRemoved, this, &FlexGridView::onShapeChanged);
    connect(grid, &QAbstractItemModel::columnsInserted, this, &FlexGridView::onShapeChanged);
    connect(grid, &QAbstractItemModel::columnsRemoved, this, &FlexGridView::onShapeChanged);
    connect(grid, &QAbstractItemModel::columnsMoved, this, &FlexGridView::onShapeChanged);
    connect(grid, &QAbstractItemModel::layoutChanged, this, &FlexGridView::onShapeChanged);
    connect(grid, &QAbstractItemModel::modelReset, this, &FlexGridView::onShapeChanged);

    mFrozen = !grid->Redraw();
    setUpdatesEnabled(!mFrozen);
    applyScrollBars();
    applyRowHeight(-1);
    onShapeChanged();
    applyTopRow();
}

// --- keeping the view in step with the grid ----------------------------------

void FlexGridView::applyRedraw(bool on)
{
    // Redraw turned off and on again within one piece of work (a row
    // renumbered for each key typed) cannot show anything half done: no
    // painting happens in between, and the grid repaints just the cells
    // changed meanwhile. Painting stops only when the event loop comes round
    // with Redraw still off (a message shown part-way through a load); the
    // whole view is then painted again once it is back on.
    if (on) {
        if (mFrozen) {
            mFrozen = false;
            setUpdatesEnabled(true);
        }
        return;
    }
    QMetaObject::invokeMethod(
            this,
            [this] {
                if (mGrid && !mGrid->Redraw() && !mFrozen) {
                    mFrozen = true;
                    setUpdatesEnabled(false);
                }
            },
            Qt::QueuedConnection);
}

void FlexGridView::onShapeChanged()
{
    applyFixedSections();
    applyColumns();
    syncCurrent();
}

void FlexGridView::applyFixedSections()
{
    if (!mGrid)
        return;
    // The headers stand for row 0 and column 0; the cells themselves are
    // hidden so that they are not shown twice.
    setRowHidden(0, true);
    setColumnHidden(0, true);
}

void FlexGridView::applyColumns()
{
    if (!mGrid)
        return;
    bool changed = false;
    const int fixedWidth = TwipsToPixelsX(mGrid->ColWidth(0));
    if (verticalHeader()->minimumWidth() != fixedWidth
        || verticalHeader()->maximumWidth() != fixedWidth) {
        verticalHeader()->setFixedWidth(fixedWidth);
        changed = true;
    }
    auto *header = horizontalHeader();
    for (int c = mGrid->FixedCols(); c < mGrid->Cols(); ++c) {
        const int width = TwipsToPixelsX(mGrid->ColWidth(c));
        if (header->sectionSize(c) != width) {
            header->resizeSection(c, width);
            changed = true;
        }
    }
    // Geometry is read back at once (CellLeft, the size in twips).
    if (changed)
        updateGeometries();
}

void FlexGridView::applyRowHeight(int row)
{
    if (!mGrid)
        return;
    if (row == -1) {
        verticalHeader()->setDefaultSectionSize(TwipsToPixelsY(mGrid->DefaultRowHeight()));
        horizontalHeader()->setFixedHeight(TwipsToPixelsY(mGrid->RowHeight(0)));
        applyRowHeights(mGrid->FixedRows(), mGrid->Rows() - 1);
    } else if (row == 0) {
        horizontalHeader()->setFixedHeight(TwipsToPixelsY(mGrid->RowHeight(0)));
    } else {
        applyRowHeights(row, row);
    }
    updateGeometries();
}

void FlexGridView::applyRowHeights(int first, int last)
{
    auto *header = verticalHeader();
    for (int r = std::max(first, mGrid->FixedRows()); r <= last; ++r) {
        const int height = TwipsToPixelsY(mGrid->RowHeight(r));
        if (header->sectionSize(r) != height)
            header->resizeSection(r, height);
    }
}

void FlexGridView::applyScrollBars()
{
    if (!mGrid)
        return;
    const int bars = mGrid->ScrollBars();
    setHorizontalScrollBarPolicy((bars & 1) ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy((bars & 2) ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
}

void FlexGridView::applyTopRow()
{
    if (!mGrid)
        return;
    // Rows just added or removed change the scroll range only at the next
    // layout: lay out now, or a stale range would clamp the grid's TopRow.
    if (!mInGeometryUpdate)
        executeDelayedItemsLayout();
    // Scrolling is by whole rows and the hidden row 0 is skipped, so the
    // scroll value v shows row v + 1 at the top.
    auto *bar = verticalScrollBar();
    const int wanted = mGrid->TopRow() - mGrid->FixedRows();
    bar->setValue(wanted);
    // The view cannot scroll that far (it is taller than the grid thought):
    // the grid learns where the view really is. A hidden view has no
    // reliable range yet, so it does not speak.
    if (isVisible() && bar->value() != wanted)
        mGrid->setTopRow(bar->value() + mGrid->FixedRows());
}

void FlexGridView::onVerticalScrolled(int value)
{
    if (mGrid && isVisible())
        mGrid->setTopRow(value + mGrid->FixedRows());
    emitScroll();
}

void FlexGridView::emitScroll()
{
    if (gEvents && gEvents->NoEvents())
        return;
    emit Scroll();
}

void FlexGridView::applyRequestedHeight(int twips)
{
    int height = TwipsToPixelsY(twips) + 2 * frameWidth();
    if (horizontalScrollBar()->isVisible())
        height += horizontalScrollBar()->height();
    resize(width(), height);
}

void FlexGridView::syncCurrent()
{
    if (!mGrid || !selectionModel())
        return;
    const int row = mGrid->Row();
    const int col = mGrid->Col();
    const QItemSelection selection(mGrid->index(row, std::min(col, mGrid->ColSel())),
                                   mGrid->index(row, std::max(col, mGrid->ColSel())));
    selectionModel()->setCurrentIndex(mGrid->index(row, col), QItemSelectionModel::NoUpdate);
    selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
}

void FlexGridView::updateGeometries()
{
    QTableView::updateGeometries();
    if (!mGrid || !isVisible())
        return;
    // A hidden view's viewport is not laid out yet: it reports nothing.
    const bool nested = mInGeometryUpdate;
    mInGeometryUpdate = true;
    mGrid->setViewportSize(PixelsToTwipsX(verticalHeader()->width() + viewport()->width()),
                           PixelsToTwipsY(horizontalHeader()->height() + viewport()->height()));
    // The scroll range may have changed with the size: show the grid's
    // TopRow again.
    applyTopRow();
    mInGeometryUpdate = nested;
}

void FlexGridView::showEvent(QShowEvent *event)
{
    QTableView::showEvent(event);
    // The size arrived while the view was still hidden; now it counts.
    updateGeometries();
}

// --- geometry --------------------------------------------------------------

int FlexGridView::CellLeft() const
{
    if (!mGrid)
        return 0;
    const int col = mGrid->Col();
    const int x = col < mGrid->FixedCols() ? viewport()->x() - verticalHeader()->width()
                                           : viewport()->x() + columnViewportPosition(col);
    return PixelsToTwipsX(x);
}

int FlexGridView::CellTop() const
{
    if (!mGrid)
        return 0;
    const int row = mGrid->Row();
    const int y = row < mGrid->FixedRows() ? viewport()->y() - horizontalHeader()->height()
                                           : viewport()->y() + rowViewportPosition(row);
    return PixelsToTwipsY(y);
}

int FlexGridView::CellWidth() const
{
    if (!mGrid)
        return 0;
    const int col = mGrid->Col();
    return PixelsToTwipsX(col < mGrid->FixedCols() ? verticalHeader()->width()
                                                   : columnWidth(col));
}

int FlexGridView::CellHeight() const
{
    if (!mGrid)
        return 0;
    const int row = mGrid->Row();
    return PixelsToTwipsY(row < mGrid->FixedRows() ? horizontalHeader()->height()
                                                   : rowHeight(row));
}

int FlexGridView::rowAtY(int y) const
{
    const int inViewport = y - viewport()->y();
    if (inViewport < 0)
        return inViewport >= -horizontalHeader()->height() ? 0 : -1;
    return rowAt(inViewport);
}

int FlexGridView::colAtX(int x) const
{
    const int inViewport = x - viewport()->x();
    if (inViewport < 0)
        return inViewport >= -verticalHeader()->width() ? 0 : -1;
    return columnAt(inViewport);
}

QPoint FlexGridView::toWidget(const QWidget *from, const QPointF &pos) const
{
    return from->mapTo(this, pos.toPoint());
}

void FlexGridView::noteMouse(const QPoint &widgetPos)
{
    mMouseRow = rowAtY(widgetPos.y());
    mMouseCol = colAtX(widgetPos.x());
}

// --- mouse and keys --------------------------------------------------------

void FlexGridView::mousePressEvent(QMouseEvent *event)
{
    noteMouse(toWidget(viewport(), event->position()));
    event->accept();
    // Only the left button moves the current cell; a right click leaves it
    // to the program (which reads MouseRow and MouseCol).
    if (event->button() != Qt::LeftButton || !mGrid)
        return;
    const QModelIndex index = indexAt(event->position().toPoint());
    if (!index.isValid())
        return;
    if (focusPolicy() & Qt::ClickFocus)
        setFocus(Qt::MouseFocusReason);
    mGrid->setRowCol(index.row(), index.column());
}

void FlexGridView::mouseReleaseEvent(QMouseEvent *event)
{
    const QPoint pos = toWidget(viewport(), event->position());
    noteMouse(pos);
    event->accept();
    emit MouseUp(VbKeys::vbButton(event->button()), VbKeys::vbShift(event->modifiers()),
                 PixelsToTwipsX(pos.x()), PixelsToTwipsY(pos.y()));
}

void FlexGridView::mouseDoubleClickEvent(QMouseEvent *event)
{
    // The second click of a double click is just a click: no editor.
    mousePressEvent(event);
}

void FlexGridView::mouseMoveEvent(QMouseEvent *event)
{
    // No drag selection: the selection is the current cell.
    noteMouse(toWidget(viewport(), event->position()));
    event->accept();
}

void FlexGridView::keyPressEvent(QKeyEvent *event)
{
    CursorAction action;
    switch (event->key()) {
    case Qt::Key_Up:
        action = MoveUp;
        break;
    case Qt::Key_Down:
        action = MoveDown;
        break;
    case Qt::Key_Left:
        action = MoveLeft;
        break;
    case Qt::Key_Right:
        action = MoveRight;
        break;
    case Qt::Key_PageUp:
        action = MovePageUp;
        break;
    case Qt::Key_PageDown:
        action = MovePageDown;
        break;
    case Qt::Key_Home:
        action = MoveHome;
        break;
    case Qt::Key_End:
        action = MoveEnd;
        break;
    default:
        event->ignore();
        return;
    }
    event->accept();
    if (!mGrid)
        return;
    const QModelIndex next = moveCursor(action, event->modifiers());
    if (!next.isValid())
        return;
    mGrid->setRowCol(next.row(), next.column());
    scrollTo(next);
}

bool FlexGridView::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != horizontalHeader()->viewport() && watched != verticalHeader()->viewport())
        return QTableView::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove: {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        noteMouse(toWidget(static_cast<QWidget *>(watched), mouse->position()));
        // The fixed cells do nothing of their own when clicked.
        return event->type() != QEvent::MouseMove;
    }
    case QEvent::MouseButtonRelease: {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        const QPoint pos = toWidget(static_cast<QWidget *>(watched), mouse->position());
        noteMouse(pos);
        emit MouseUp(VbKeys::vbButton(mouse->button()), VbKeys::vbShift(mouse->modifiers()),
                     PixelsToTwipsX(pos.x()), PixelsToTwipsY(pos.y()));
        return true;
    }
    default:
        return QTableView::eventFilter(watched, event);
    }
}
