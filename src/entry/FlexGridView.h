#pragma once

// The transcription grid on screen: renders a FlexGrid and never edits it.
// Row 0 and column 0 are shown as the table's headers (grey, bold titles
// and row numbers), so that they stay in place while the cells scroll by
// whole rows; the grid's TopRow and the scroll position follow each other
// both ways. Widths and heights follow the grid's twips.
//
// A left click on a cell makes it the grid's current cell (one EnterCell);
// the arrow and paging keys move it too, scrolling it into view. Other keys
// are left to the window that holds the grid. Moves made by the program
// change the selection but never scroll: the program positions the grid
// itself through TopRow.

#include "entry/FlexGrid.h"

#include <QPointer>
#include <QTableView>

class FlexGridView : public QTableView
{
    Q_OBJECT

public:
    explicit FlexGridView(QWidget *parent = nullptr);

    // The grid shown; not owned. nullptr shows nothing.
    void setGrid(FlexGrid *grid);
    FlexGrid *grid() const { return mGrid; }
    // Only a FlexGrid can be shown: any other model shows nothing.
    void setModel(QAbstractItemModel *model) override;

    // The current cell's rectangle in twips, relative to this widget's top
    // left corner (frame included), so that the widget's position in its
    // parent plus CellLeft and CellTop is where the cell lies there. The
    // values are computed also for a cell scrolled out of view. 0 without a
    // grid.
    int CellLeft() const;
    int CellTop() const;
    int CellWidth() const;
    int CellHeight() const;

    // The row and column under the mouse at the last mouse event over the
    // grid: 0 over the fixed row or column, -1 where there is no cell.
    int MouseRow() const { return mMouseRow; }
    int MouseCol() const { return mMouseCol; }

signals:
    // The cells scrolled (either way, by the user or by the program); not
    // while gEvents holds events off.
    void Scroll();
    // A mouse button was released over the grid: button 1 left, 2 right,
    // 4 middle; shift 1 Shift, 2 Ctrl, 4 Alt; x and y in twips relative to
    // this widget.
    void MouseUp(int button, int shift, int x, int y);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void updateGeometries() override;
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void applyColumns();
    void applyRowHeight(int row);
    void applyRowHeights(int first, int last);
    void applyFixedSections();
    void applyScrollBars();
    void applyTopRow();
    void applyRequestedHeight(int twips);
    void syncCurrent();
    void onShapeChanged();
    void onVerticalScrolled(int value);
    void emitScroll();
    void applyRedraw(bool on);

    // Widget coordinates to grid rows and columns (0 for the headers).
    int rowAtY(int y) const;
    int colAtX(int x) const;
    void noteMouse(const QPoint &widgetPos);
    // From a viewport or header position to this widget's coordinates.
    QPoint toWidget(const QWidget *from, const QPointF &pos) const;

    QPointer<FlexGrid> mGrid;
    int mMouseRow = -1;
    int mMouseCol = -1;
    bool mInGeometryUpdate = false;
    // Painting held back: Redraw was off when the event loop came round.
    bool mFrozen = false;
};
