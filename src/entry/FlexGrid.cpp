#include "entry/FlexGrid.h"

#include "core/Globals.h"
#include "core/VbHelpers.h"
#include "core/clsEvents.h"

#include <QBrush>
#include <QFontMetrics>

#include <algorithm>
#include <iterator>
#include <utility>

namespace {

// Fixed cells are grey unless the program gives them a colour of their own.
constexpr std::uint32_t FixedBackColour = 0xE0E0E0;

bool eventsOn()
{
    return !(gEvents && gEvents->NoEvents());
}

// Row-major cell stores change shape together; these keep them in step.
template<typename T>
void relayoutColumns(std::vector<T> &cells, int rows, int oldCols, int newCols, const T &fill)
{
    std::vector<T> out;
    out.reserve(std::size_t(rows) * std::size_t(newCols));
    const int keep = std::min(oldCols, newCols);
    const auto added = std::size_t(std::max(0, newCols - oldCols));
    for (int r = 0; r < rows; ++r) {
        const auto row = cells.begin() + std::ptrdiff_t(r) * oldCols;
        std::move(row, row + keep, std::back_inserter(out));
        out.insert(out.end(), added, fill);
    }
    cells.swap(out);
}

// Moves the element at from to position to within [first, first + n).
template<typename It>
void moveWithin(It first, int from, int to)
{
    if (from < to)
        std::rotate(first + from, first + from + 1, first + to + 1);
    else
        std::rotate(first + to, first + from, first + from + 1);
}

template<typename T>
void moveCellColumn(std::vector<T> &cells, int rows, int cols, int from, int to)
{
    for (int r = 0; r < rows; ++r)
        moveWithin(cells.begin() + std::ptrdiff_t(r) * cols, from, to);
}

bool isNumber(const QString &text)
{
    bool ok = false;
    text.trimmed().toDouble(&ok);
    return ok;
}

} // namespace

FlexGrid::FlexGrid(QObject *parent)
    : QAbstractTableModel(parent),
      mTexts(std::size_t(mRows) * std::size_t(mCols)),
      mColWidths(std::size_t(mCols), DefaultColWidth),
      mColAlignments(std::size_t(mCols), GeneralAlignment),
      mRowHeights(std::size_t(mRows), -1)
{
}

// --- shape -----------------------------------------------------------------

void FlexGrid::setRows(int rows)
{
    if (rows < FixedRows() || rows == mRows)
        return;
    if (rows > mRows) {
        // One notification for the whole block: a batch of 100,000 rows
        // grows in one step, and the vectors grow geometrically.
        beginInsertRows(QModelIndex(), mRows, rows - 1);
        mTexts.resize(std::size_t(rows) * std::size_t(mCols));
        if (!mColours.empty())
            mColours.resize(mTexts.size(), White);
        mRowHeights.resize(std::size_t(rows), -1);
        noteRowsWritten(mRows, rows - 1);
        ++mTextRevision;
        mRows = rows;
        endInsertRows();
        return;
    }
    beginRemoveRows(QModelIndex(), rows, mRows - 1);
    mTexts.resize(std::size_t(rows) * std::size_t(mCols));
    if (!mColours.empty())
        mColours.resize(mTexts.size());
    mRowHeights.resize(std::size_t(rows));
    mRows = rows;
    ++mTextRevision;
    endRemoveRows();
    keepInRange();
}

void FlexGrid::setCols(int cols)
{
    if (cols < FixedCols() || cols == mCols)
        return;
    const int oldCols = mCols;
    if (cols > oldCols)
        beginInsertColumns(QModelIndex(), oldCols, cols - 1);
    else
        beginRemoveColumns(QModelIndex(), cols, oldCols - 1);
    relayoutColumns(mTexts, mRows, oldCols, cols, QString());
    if (!mColours.empty())
        relayoutColumns(mColours, mRows, oldCols, cols, White);
    mColWidths.resize(std::size_t(cols), DefaultColWidth);
    mColAlignments.resize(std::size_t(cols), GeneralAlignment);
    mCols = cols;
    noteRowsMoved();
    if (cols > oldCols) {
        endInsertColumns();
    } else {
        endRemoveColumns();
        keepInRange();
    }
    emit layoutInTwipsChanged();
}

void FlexGrid::AddItem(const QString &text, int index)
{
    if (index < FixedRows() || index > mRows)
        return;
    beginInsertRows(QModelIndex(), index, index);
    const auto at = std::ptrdiff_t(flat(index, 0));
    mTexts.insert(mTexts.begin() + at, std::size_t(mCols), QString());
    if (!mColours.empty())
        mColours.insert(mColours.begin() + at, std::size_t(mCols), White);
    mRowHeights.insert(mRowHeights.begin() + index, -1);
    ++mRows;
    noteRowsMoved();
    const QStringList parts = text.split(QLatin1Char('\t'));
    const int n = std::min(int(parts.size()), mCols);
    for (int c = 0; c < n; ++c)
        textAt(index, c) = parts.at(c);
    endInsertRows();
}

bool FlexGrid::AddItems(int index, int count)
{
    if (index < FixedRows() || index > mRows || count < 1)
        return false;
    beginInsertRows(QModelIndex(), index, index + count - 1);
    const auto at = std::ptrdiff_t(flat(index, 0));
    const auto cells = std::size_t(count) * std::size_t(mCols);
    mTexts.insert(mTexts.begin() + at, cells, QString());
    if (!mColours.empty())
        mColours.insert(mColours.begin() + at, cells, White);
    mRowHeights.insert(mRowHeights.begin() + index, std::size_t(count), -1);
    mRows += count;
    noteRowsMoved();
    endInsertRows();
    return true;
}

void FlexGrid::noteRowsWritten(int first, int last)
{
    if (mTextChanges.first < 0 || first < mTextChanges.first)
        mTextChanges.first = first;
    if (last > mTextChanges.last)
        mTextChanges.last = last;
}

FlexGrid::TextChanges FlexGrid::takeTextChanges()
{
    return std::exchange(mTextChanges, TextChanges{-1, -1, false});
}

void FlexGrid::RemoveItem(int index)
{
    if (index < FixedRows() || index >= mRows || mRows <= FixedRows() + 1)
        return;
    beginRemoveRows(QModelIndex(), index, index);
    const auto at = std::ptrdiff_t(flat(index, 0));
    mTexts.erase(mTexts.begin() + at, mTexts.begin() + at + mCols);
    if (!mColours.empty())
        mColours.erase(mColours.begin() + at, mColours.begin() + at + mCols);
    mRowHeights.erase(mRowHeights.begin() + index);
    --mRows;
    noteRowsMoved();
    endRemoveRows();
    keepInRange();
}

void FlexGrid::setColPosition(int col, int newPosition)
{
    if (col < FixedCols() || col >= mCols || newPosition < FixedCols() || newPosition >= mCols
        || col == newPosition)
        return;
    // Qt counts the destination before the move, so a move to the right
    // names the column after the target.
    const int destination = newPosition > col ? newPosition + 1 : newPosition;
    if (!beginMoveColumns(QModelIndex(), col, col, QModelIndex(), destination))
        return;
    moveCellColumn(mTexts, mRows, mCols, col, newPosition);
    noteRowsMoved();
    if (!mColours.empty())
        moveCellColumn(mColours, mRows, mCols, col, newPosition);
    moveWithin(mColWidths.begin(), col, newPosition);
    moveWithin(mColAlignments.begin(), col, newPosition);
    endMoveColumns();
    emit layoutInTwipsChanged();
}

// --- current cell and scrolling ----------------------------------------------

void FlexGrid::setRow(int row)
{
    if (row < 0 || row >= mRows)
        return;
    moveCurrent(row, mCol);
}

void FlexGrid::setCol(int col)
{
    if (col < 0 || col >= mCols)
        return;
    moveCurrent(mRow, col);
}

void FlexGrid::setRowCol(int row, int col)
{
    if (!inGrid(row, col))
        return;
    moveCurrent(row, col);
}

void FlexGrid::setColSel(int col)
{
    if (col < 0 || col >= mCols || col == mColSel)
        return;
    mColSel = col;
    emit cellSelectionChanged();
}

void FlexGrid::moveCurrent(int row, int col)
{
    const bool moved = row != mRow || col != mCol;
    const bool selectionChanged = moved || mColSel != col;
    mRow = row;
    mCol = col;
    mColSel = col;
    // The view follows first, so that a handler of EnterCell already sees
    // the cell where it is.
    if (selectionChanged)
        emit cellSelectionChanged();
    if (moved && eventsOn())
        emit EnterCell();
}

void FlexGrid::keepInRange()
{
    const int row = std::min(mRow, mRows - 1);
    const int col = std::min(mCol, mCols - 1);
    const int colSel = std::min(mColSel, mCols - 1);
    if (row != mRow || col != mCol || colSel != mColSel) {
        mRow = row;
        mCol = col;
        mColSel = colSel;
        emit cellSelectionChanged();
    }
    applyTopRow(mTopRow);
}

void FlexGrid::setTopRow(int row)
{
    applyTopRow(row);
}

void FlexGrid::applyTopRow(int row)
{
    const int top = std::clamp(row, FixedRows(), std::max(FixedRows(), maxTopRow()));
    if (top == mTopRow)
        return;
    mTopRow = top;
    emit TopRowChanged(top);
}

int FlexGrid::maxTopRow() const
{
    const int last = mRows - 1;
    if (last < FixedRows() || mHeight <= 0)
        return last;
    long long room = mHeight;
    for (int r = 0; r < FixedRows(); ++r)
        room -= RowHeight(r);
    // As a table view scrolled by whole rows: the last row stays at the
    // bottom, and at least one row can be at the top.
    int top = last;
    long long used = RowHeight(last);
    while (top > FixedRows() && used + RowHeight(top - 1) <= room) {
        --top;
        used += RowHeight(top);
    }
    return top;
}

bool FlexGrid::RowIsVisible(int row) const
{
    if (row < 0 || row >= mRows)
        return false;
    if (row < FixedRows())
        return true;
    if (row < mTopRow)
        return false;
    long long bottom = 0;
    for (int r = 0; r < FixedRows(); ++r)
        bottom += RowHeight(r);
    for (int r = mTopRow; r <= row; ++r) {
        bottom += RowHeight(r);
        if (bottom > mHeight)
            return false;
    }
    return true;
}

// --- texts -----------------------------------------------------------------

QString FlexGrid::TextMatrix(int row, int col) const
{
    return inGrid(row, col) ? textAt(row, col) : QString();
}

void FlexGrid::setTextMatrix(int row, int col, const QString &text)
{
    if (!inGrid(row, col))
        return;
    QString &cell = textAt(row, col);
    if (cell == text)
        return;
    cell = text;
    noteRowsWritten(row, row);
    if (col >= FixedCols())
        ++mTextRevision;
    // A number and a word align differently under the general alignment.
    // The role list is built once: a load writes tens of thousands of cells.
    static const QList<int> roles{Qt::DisplayRole, Qt::TextAlignmentRole};
    cellsChanged(row, col, row, col, roles);
}

QString FlexGrid::TextArray(int index) const
{
    if (index < 0 || std::size_t(index) >= mTexts.size())
        return QString();
    return mTexts[std::size_t(index)];
}

void FlexGrid::setTextArray(int index, const QString &text)
{
    if (index < 0 || std::size_t(index) >= mTexts.size())
        return;
    setTextMatrix(index / mCols, index % mCols, text);
}

QString FlexGrid::Text() const
{
    return TextMatrix(mRow, mCol);
}

void FlexGrid::setText(const QString &text)
{
    setTextMatrix(mRow, mCol, text);
}

void FlexGrid::Clear()
{
    for (QString &text : mTexts)
        text.clear();
    noteRowsMoved();
    mColours.clear();
    allCellsChanged({});
}

// --- colours ---------------------------------------------------------------

std::uint32_t FlexGrid::CellBackColor() const
{
    return cellBackColorAt(mRow, mCol);
}

void FlexGrid::setCellBackColor(std::uint32_t colour)
{
    setCellBackColorAt(mRow, mCol, colour);
}

std::uint32_t FlexGrid::cellBackColorAt(int row, int col) const
{
    if (!inGrid(row, col) || mColours.empty())
        return White;
    return mColours[flat(row, col)];
}

void FlexGrid::setCellBackColorAt(int row, int col, std::uint32_t colour)
{
    if (!inGrid(row, col))
        return;
    if (mColours.empty()) {
        if (colour == White)
            return;
        mColours.assign(mTexts.size(), White);
    }
    std::uint32_t &cell = mColours[flat(row, col)];
    if (cell == colour)
        return;
    cell = colour;
    static const QList<int> roles{Qt::BackgroundRole};
    cellsChanged(row, col, row, col, roles);
}

// --- widths, heights, alignments -------------------------------------------

int FlexGrid::CellLeft() const
{
    int left = 0;
    for (int col = 0; col < mCol; ++col)
        left += ColWidth(col);
    return left;
}

int FlexGrid::ColWidth(int col) const
{
    return col >= 0 && col < mCols ? mColWidths[std::size_t(col)] : 0;
}

void FlexGrid::setColWidth(int col, int twips)
{
    if (col < -1 || col >= mCols)
        return;
    const int width = twips < 0 ? DefaultColWidth : twips;
    if (col == -1) {
        std::fill(mColWidths.begin(), mColWidths.end(), width);
    } else {
        if (mColWidths[std::size_t(col)] == width)
            return;
        mColWidths[std::size_t(col)] = width;
    }
    emit layoutInTwipsChanged();
}

int FlexGrid::RowHeight(int row) const
{
    if (row < 0 || row >= mRows)
        return 0;
    const int own = mRowHeights[std::size_t(row)];
    return own < 0 ? mDefaultRowHeight : own;
}

void FlexGrid::setRowHeight(int row, int twips)
{
    if (row < -1 || row >= mRows)
        return;
    const int height = twips < 0 ? -1 : twips;
    if (row == -1) {
        std::fill(mRowHeights.begin(), mRowHeights.end(), height);
    } else {
        if (mRowHeights[std::size_t(row)] == height)
            return;
        mRowHeights[std::size_t(row)] = height;
    }
    emit rowHeightChanged(row);
    applyTopRow(mTopRow);
}

int FlexGrid::ColAlignment(int col) const
{
    return col >= 0 && col < mCols ? mColAlignments[std::size_t(col)] : GeneralAlignment;
}

void FlexGrid::setColAlignment(int col, int alignment)
{
    if (col < -1 || col >= mCols || alignment < 0 || alignment > GeneralAlignment)
        return;
    if (col == -1) {
        std::fill(mColAlignments.begin(), mColAlignments.end(), alignment);
        allCellsChanged({Qt::TextAlignmentRole});
        return;
    }
    if (mColAlignments[std::size_t(col)] == alignment)
        return;
    mColAlignments[std::size_t(col)] = alignment;
    cellsChanged(0, col, mRows - 1, col, {Qt::TextAlignmentRole});
}

// --- painting, font, size --------------------------------------------------

void FlexGrid::setRedraw(bool on)
{
    if (on == mRedraw)
        return;
    mRedraw = on;
    emit RedrawChanged(on);
    if (on && !mPendingCells.isNull()) {
        // Rows or columns removed meanwhile are no longer there to show.
        const QRect cells = mPendingCells & QRect(0, 0, mCols, mRows);
        mPendingCells = QRect();
        if (!cells.isEmpty())
            cellsChanged(cells.top(), cells.left(), cells.bottom(), cells.right(), {});
    }
}

void FlexGrid::setFont(const QFont &font)
{
    mFont = font;
    // Rows without a height of their own grow with the font, so that a
    // large font is never cut; never below the classic 240 twips.
    const int fontHeight = PixelsToTwipsY(QFontMetrics(mFont).height() + 3);
    const int height = std::max(int(MinDefaultRowHeight), fontHeight);
    if (height != mDefaultRowHeight) {
        mDefaultRowHeight = height;
        emit rowHeightChanged(-1);
        applyTopRow(mTopRow);
    }
    allCellsChanged({Qt::FontRole});
}

void FlexGrid::setViewportSize(int widthTwips, int heightTwips)
{
    widthTwips = std::max(0, widthTwips);
    heightTwips = std::max(0, heightTwips);
    if (widthTwips == mWidth && heightTwips == mHeight)
        return;
    mWidth = widthTwips;
    mHeight = heightTwips;
    applyTopRow(mTopRow);
    emit viewportSizeChanged();
}

void FlexGrid::setHeight(int twips)
{
    if (twips < 0)
        return;
    mHeight = twips;
    applyTopRow(mTopRow);
    emit heightRequested(twips);
}

void FlexGrid::setScrollBars(int bars)
{
    if (bars < 0 || bars > 3 || bars == mScrollBars)
        return;
    mScrollBars = bars;
    emit ScrollBarsChanged(bars);
}

// --- the item model --------------------------------------------------------

void FlexGrid::cellsChanged(int top, int left, int bottom, int right, const QList<int> &roles)
{
    if (!mRedraw) {
        mPendingCells |= QRect(QPoint(left, top), QPoint(right, bottom));
        return;
    }
    emit dataChanged(index(top, left), index(bottom, right), roles);
    if (top < FixedRows())
        emit headerDataChanged(Qt::Horizontal, left, right);
    if (left < FixedCols())
        emit headerDataChanged(Qt::Vertical, top, bottom);
}

void FlexGrid::allCellsChanged(const QList<int> &roles)
{
    cellsChanged(0, 0, mRows - 1, mCols - 1, roles);
}

int FlexGrid::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : mRows;
}

int FlexGrid::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : mCols;
}

QVariant FlexGrid::backgroundAt(int row, int col) const
{
    std::uint32_t colour = cellBackColorAt(row, col);
    if (colour == White && (row < FixedRows() || col < FixedCols()))
        colour = FixedBackColour;
    return QBrush(ColorFromVb(colour));
}

QVariant FlexGrid::alignmentAt(int row, int col) const
{
    const int code = ColAlignment(col);
    if (code == GeneralAlignment) {
        const Qt::Alignment h = isNumber(textAt(row, col)) ? Qt::AlignRight : Qt::AlignLeft;
        return int(h | Qt::AlignVCenter);
    }
    static const Qt::Alignment horizontal[] = {Qt::AlignLeft, Qt::AlignHCenter, Qt::AlignRight};
    static const Qt::Alignment vertical[] = {Qt::AlignTop, Qt::AlignVCenter, Qt::AlignBottom};
    return int(horizontal[code / 3] | vertical[code % 3]);
}

QFont FlexGrid::fontAt(int row, int col) const
{
    QFont font = mFont;
    if (row < FixedRows() || col < FixedCols())
        font.setBold(true);
    return font;
}

QVariant FlexGrid::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || !inGrid(index.row(), index.column()))
        return {};
    const int row = index.row();
    const int col = index.column();
    switch (role) {
    case Qt::DisplayRole:
        return textAt(row, col);
    case Qt::BackgroundRole:
        return backgroundAt(row, col);
    case Qt::TextAlignmentRole:
        return alignmentAt(row, col);
    case Qt::FontRole:
        return fontAt(row, col);
    default:
        return {};
    }
}

QVariant FlexGrid::headerData(int section, Qt::Orientation orientation, int role) const
{
    const int row = orientation == Qt::Horizontal ? 0 : section;
    const int col = orientation == Qt::Horizontal ? section : 0;
    if (!inGrid(row, col))
        return {};
    return data(index(row, col), role);
}

Qt::ItemFlags FlexGrid::flags(const QModelIndex &index) const
{
    if (!index.isValid() || !inGrid(index.row(), index.column()))
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
}
