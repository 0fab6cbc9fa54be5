#pragma once

// The transcription grid as the program uses it: rows and columns counted
// from 0, row 0 (the column titles) and column 0 (the row numbers) fixed,
// a current cell, cell texts by row and column or by flat index, colours,
// widths and heights in twips. Widget-free, so the whole program's logic
// runs and is tested without a window; FlexGridView renders it.
//
// Moving the current cell (setRow, setCol, setRowCol) emits EnterCell once
// per move, and not at all while gEvents holds events off.

#include <QAbstractTableModel>
#include <QFont>
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
    int Rows() const;
    void setRows(int rows);
    int Cols() const;
    void setCols(int cols);
    int FixedRows() const { return 1; }
    int FixedCols() const { return 1; }

    // The current cell. Out-of-range values are ignored.
    int Row() const;
    void setRow(int row);
    int Col() const;
    void setCol(int col);
    // Both at once: one EnterCell for the move.
    void setRowCol(int row, int col);
    // The end of the selection; the program keeps it equal to Col.
    int ColSel() const;
    void setColSel(int col);

    // The first non-fixed row in view (the paging keys count from it).
    int TopRow() const;
    void setTopRow(int row);

    // Texts. Reading outside the grid gives ""; writing outside is ignored.
    QString TextMatrix(int row, int col) const;
    void setTextMatrix(int row, int col, const QString &text);
    // By flat index row * Cols + col.
    QString TextArray(int index) const;
    void setTextArray(int index, const QString &text);
    // The current cell's text.
    QString Text() const;
    void setText(const QString &text);
    // Empties every cell (titles and row numbers too).
    void Clear();

    // Inserts a row before index (index == Rows appends) whose cells are
    // the tab-separated parts of text; removes the row at index.
    void AddItem(const QString &text, int index);
    void RemoveItem(int index);
    // Moves column col to position newPosition, texts, widths and
    // alignments with it.
    void setColPosition(int col, int newPosition);

    // Colours are stored as 0x00BBGGRR; the default is white (0xFFFFFF).
    std::uint32_t CellBackColor() const; // the current cell's
    void setCellBackColor(std::uint32_t colour);
    std::uint32_t cellBackColorAt(int row, int col) const;
    void setCellBackColorAt(int row, int col, std::uint32_t colour);

    // Widths and heights in twips.
    int ColWidth(int col) const;
    void setColWidth(int col, int twips);
    int RowHeight(int row) const;
    void setRowHeight(int row, int twips);
    // 0 left, 1 right, 2 centre (the flex-grid's generic alignments).
    int ColAlignment(int col) const;
    void setColAlignment(int col, int alignment);

    // While false the view does not repaint (long operations).
    bool Redraw() const { return mRedraw; }
    void setRedraw(bool on);

    QFont Font() const { return mFont; }
    void setFont(const QFont &font);

    // The size of the area the view gives the grid, in twips; the view
    // keeps it up to date.
    int Width() const { return mWidth; }
    int Height() const { return mHeight; }
    void setViewportSize(int widthTwips, int heightTwips);

    // QAbstractTableModel: the whole grid, fixed row and column included,
    // read-only.
    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

signals:
    // The current cell moved.
    void EnterCell();
    // The first row in view changed.
    void TopRowChanged(int row);
    void RedrawChanged(bool on);
    void layoutInTwipsChanged();

private:
    bool mRedraw = true;
    QFont mFont;
    int mWidth = 0;
    int mHeight = 0;
};
