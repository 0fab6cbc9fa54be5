#pragma once

// The transcription grid as the program uses it: rows and columns counted
// from 0, row 0 (the column titles) and column 0 (the row numbers) fixed,
// a current cell, cell texts by row and column or by flat index, colours,
// widths and heights in twips. Widget-free, so the whole program's logic
// runs and is tested without a window; FlexGridView renders it.
//
// Moving the current cell (setRow, setCol, setRowCol) emits EnterCell once
// per move, and not at all while gEvents holds events off. A change of the
// grid's shape that pushes the current cell off the grid (fewer Rows or
// Cols, RemoveItem of the last row) puts it on the last row or column
// without EnterCell: it is not a move the user made, and the program
// always follows such a change with a move of its own.

#include <QAbstractTableModel>
#include <QFont>
#include <QRect>
#include <QStringList>

#include <cstdint>
#include <vector>

class FlexGrid : public QAbstractTableModel
{
    Q_OBJECT

public:
    explicit FlexGrid(QObject *parent = nullptr);

    // Counts, fixed row and column included. Setting Rows adds or removes
    // rows at the end; setting Cols adds or removes columns at the end.
    // Counts below the fixed ones are ignored. A fresh grid has 2 x 2.
    int Rows() const { return mRows; }
    void setRows(int rows);
    int Cols() const { return mCols; }
    void setCols(int cols);
    int FixedRows() const { return 1; }
    int FixedCols() const { return 1; }

    // The current cell, (1, 1) in a fresh grid; fixed cells may be made
    // current. Out-of-range values are ignored. Setting Row or Col also
    // makes the selection the current cell alone (ColSel = Col).
    int Row() const { return mRow; }
    void setRow(int row);
    int Col() const { return mCol; }
    void setCol(int col);
    // Both at once: one EnterCell for the move; ignored unless both are in
    // range.
    void setRowCol(int row, int col);
    // The end of the selection; the program keeps it equal to Col.
    int ColSel() const { return mColSel; }
    void setColSel(int col);

    // The first non-fixed row wholly in view (the paging keys count from
    // it).
    // Setting it clamps to the rows that can be at the top: from the first
    // non-fixed row to the row from which the last row is the last whole
    // row shown in Height (any row while Height is 0).
    int TopRow() const { return mTopRow; }
    void setTopRow(int row);
    // Whether the row is shown whole: fixed rows always; others when they
    // lie between TopRow and the bottom of Height.
    bool RowIsVisible(int row) const;

    // Texts. Reading outside the grid gives ""; writing outside is ignored.
    QString TextMatrix(int row, int col) const;
    // The same text without a copy, for long read-only passes (a copy's
    // shared reference count costs more than the reading); valid until the
    // cell changes. An empty text outside the grid.
    const QString &textRef(int row, int col) const
    {
        static const QString none;
        return inGrid(row, col) ? textAt(row, col) : none;
    }
    void setTextMatrix(int row, int col, const QString &text);
    // By flat index row * Cols + col.
    QString TextArray(int index) const;
    void setTextArray(int index, const QString &text);
    // The current cell's text.
    QString Text() const;
    void setText(const QString &text);
    // Empties every cell (titles and row numbers too) and gives every cell
    // its default colour back. Counts, current cell, widths, heights and
    // alignments stay.
    void Clear();

    // Inserts a row before index (index == Rows appends) whose cells, from
    // column 0 on, are the tab-separated parts of text (parts beyond the
    // last column are dropped); removes the row at index. Only non-fixed
    // positions are accepted, and the last non-fixed row cannot be
    // removed; anything else is ignored. The current cell and TopRow keep
    // their numbers (kept in range).
    void AddItem(const QString &text, int index);
    void RemoveItem(int index);
    // Inserts count empty rows before index in one step (index == Rows
    // appends); as AddItem otherwise. False, with nothing inserted, for a
    // fixed or out-of-range index or a count below 1.
    bool AddItems(int index, int count);
    // What changed in the texts since the last call, for the one reader
    // that keeps figures worked out from them (the data-row count), so that
    // it reads again only those rows: the lowest and highest row a text was
    // written in or added at the end (-1 when none), and whether rows or
    // columns moved (inserted or removed before the end, Clear), after which
    // every row must be read again. A new grid answers moved.
    struct TextChanges
    {
        int first = -1;
        int last = -1;
        bool moved = true;
    };
    TextChanges takeTextChanges();
    // A number that changes whenever a text outside column 0 (the row
    // labels) changes, or rows or columns are added, removed or moved: a
    // copy of the texts made at one number is still whole while it stands.
    std::uint64_t textRevision() const { return mTextRevision; }

    // Moves column col to position newPosition, texts, colours, widths and
    // alignments with it. Both must be non-fixed columns; the current cell
    // keeps its number.
    void setColPosition(int col, int newPosition);

    // Colours are stored as 0x00BBGGRR; the default is white (0xFFFFFF).
    // Outside the grid the read gives white and the write is ignored.
    std::uint32_t CellBackColor() const; // the current cell's
    void setCellBackColor(std::uint32_t colour);
    std::uint32_t cellBackColorAt(int row, int col) const;
    void setCellBackColorAt(int row, int col, std::uint32_t colour);

    // Widths and heights in twips: 960 a column and 240 a row by default
    // (a row follows the font's height while it has no height of its own).
    // Index -1 sets every column or row; a negative width or height gives
    // back the default. Reading outside the grid gives 0.
    int ColWidth(int col) const;
    void setColWidth(int col, int twips);
    // The current cell's left edge, from the grid's left edge, and its
    // width, in twips. The grid shows its columns from the first on (the
    // program sizes them to fit), so the edge is the sum of the widths
    // before the cell.
    int CellLeft() const;
    int CellWidth() const { return ColWidth(mCol); }
    int RowHeight(int row) const;
    void setRowHeight(int row, int twips);
    // What a row without a height of its own has.
    int DefaultRowHeight() const { return mDefaultRowHeight; }
    // The flex-grid's alignments: 0-2 left, 3-5 centre, 6-8 right, each
    // top, centre, bottom in turn (2 = left bottom, 5 = centre bottom,
    // 8 = right bottom); 9 (the default) is general: text left, numbers
    // right, both centred vertically. Index -1 sets every column; values
    // outside 0-9 are ignored. Reading outside the grid gives 9.
    int ColAlignment(int col) const;
    void setColAlignment(int col, int alignment);

    // While false the view does not repaint (long operations); the changes
    // made meanwhile are shown when it turns true again.
    bool Redraw() const { return mRedraw; }
    void setRedraw(bool on);

    // The font of every cell (the fixed ones bold). Setting it measures the
    // font through the screen-metrics service, which must be installed.
    QFont Font() const { return mFont; }
    void setFont(const QFont &font);

    // The size of the area the view gives the cells (fixed row and column
    // included, frame and scroll bars excluded), in twips; a shown view
    // keeps it up to date (0 until then, unless set here) and
    // viewportSizeChanged tells of each change.
    int Width() const { return mWidth; }
    int Height() const { return mHeight; }
    void setViewportSize(int widthTwips, int heightTwips);
    // The program sizing the grid: Height takes the value at once and the
    // view resizes itself to it (heightRequested), then reports back the
    // height it really got.
    void setHeight(int twips);

    // The grid's own scroll bars: 0 none, 1 horizontal, 2 vertical, 3 both
    // (the default). TopRow works whatever they are.
    int ScrollBars() const { return mScrollBars; }
    void setScrollBars(int bars);

    // QAbstractTableModel: the whole grid, fixed row and column included,
    // read-only. Column c's header is cell (0, c), row r's is cell (r, 0).
    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

signals:
    // The current cell moved.
    void EnterCell();
    // Row, Col or ColSel changed, whether or not events are held off (the
    // view follows the current cell with it).
    void cellSelectionChanged();
    // The first row in view changed.
    void TopRowChanged(int row);
    void RedrawChanged(bool on);
    // A column width changed (or columns moved).
    void layoutInTwipsChanged();
    // A row's height changed, the fixed row's included; -1: every row's,
    // or the default.
    void rowHeightChanged(int row);
    void heightRequested(int twips);
    // The view reported a new size (setViewportSize): Width or Height
    // changed.
    void viewportSizeChanged();
    void ScrollBarsChanged(int bars);

private:
    static constexpr std::uint32_t White = 0xFFFFFF;
    static constexpr int DefaultColWidth = 960;
    static constexpr int MinDefaultRowHeight = 240;
    static constexpr int GeneralAlignment = 9;

    bool inGrid(int row, int col) const
    {
        return row >= 0 && row < mRows && col >= 0 && col < mCols;
    }
    std::size_t flat(int row, int col) const
    {
        return std::size_t(row) * std::size_t(mCols) + std::size_t(col);
    }
    QString &textAt(int row, int col) { return mTexts[flat(row, col)]; }
    const QString &textAt(int row, int col) const { return mTexts[flat(row, col)]; }
    QVariant backgroundAt(int row, int col) const;
    QVariant alignmentAt(int row, int col) const;
    QFont fontAt(int row, int col) const;

    // Moves the current cell; EnterCell only when moved and events are on.
    void moveCurrent(int row, int col);
    // After a change of shape: brings the current cell, ColSel and TopRow
    // back into the grid, quietly.
    void keepInRange();
    int maxTopRow() const;
    void applyTopRow(int row);

    // Tells the view about changed cells, or remembers to while Redraw is
    // false.
    void cellsChanged(int top, int left, int bottom, int right, const QList<int> &roles);
    void allCellsChanged(const QList<int> &roles);
    void colourChanged(int row, int col);

    void setOneColWidth(int col, int twips);
    void noteRowsWritten(int first, int last);
    void noteRowsMoved()
    {
        mTextChanges.moved = true;
        ++mTextRevision;
    }

    int mRows = 2;
    int mCols = 2;
    // Row-major, Rows * Cols entries.
    std::vector<QString> mTexts;
    // Row-major like mTexts, but empty until some cell is given a colour
    // other than white: most grids never need it.
    std::vector<std::uint32_t> mColours;
    std::vector<int> mColWidths;
    std::vector<int> mColAlignments;
    // -1: the default height.
    std::vector<int> mRowHeights;
    int mDefaultRowHeight = MinDefaultRowHeight;

    int mRow = 1;
    int mCol = 1;
    int mColSel = 1;
    int mTopRow = 1;

    bool mRedraw = true;
    // The cells changed while Redraw is off (x columns, y rows), shown
    // again when it is on: only these, not the whole grid.
    QRect mPendingCells;
    TextChanges mTextChanges;
    std::uint64_t mTextRevision = 0;
    QFont mFont;
    int mWidth = 0;
    int mHeight = 0;
    int mScrollBars = 3;
};
