#pragma once

// Printing of the transcription grid, page by page: each page shows a page
// grid holding the grid's column titles (row 0) and that page's rows,
// optionally under a heading (year, quarter, event and first page of the
// batch) and a line with the date of printing and "Page p of m".
//
// The arithmetic lives in FlexPrintLayout, which works on measured numbers
// (twips) and needs no printer; clsFlexPrint measures with the printer's
// font and paints.

#include "entry/FlexGrid.h"

#include <QDate>
#include <QList>
#include <QString>

#include <functional>

class QPainter;
class QPrinter;

struct FlexPrintLayout
{
    // Left margin of everything printed, in twips.
    static constexpr int LeftMargin = 500;
    // Added to each column's widest text.
    static constexpr int ColumnPadding = 50;

    // Per column, the widest of the printer widths (twips) of each row's
    // text followed by "x", the title row included.
    static QList<double> widestTexts(const FlexGrid &grid,
                                     const std::function<double(const QString &)> &textWidth);
    // Column widths: widest text + 50 twips; when their sum is below half
    // the page width, the difference is shared evenly (to the nearest
    // twip) by the columns.
    static QList<int> columnWidths(const QList<double> &widest, int pageWidth);
    // The rows of the grid a page holds below its title row: the whole
    // rows that fit under the heading (headingHeight, 0 without one), less
    // the title row. May be 0 or less, when a page cannot hold a row.
    static int rowsPerPage(int pageHeight, int rowHeight, int headingHeight);
    // Pages for rowsToPrint rows; 0 when rowsPerPage is below 1.
    static int pageCount(int rowsToPrint, int rowsPerPage);
    // Page p (1-based) prints grid rows firstRow .. firstRow + count - 1.
    static int firstRow(int page, int rowsPerPage) { return 1 + (page - 1) * rowsPerPage; }
    static int rowsOnPage(int page, int rowsPerPage, int rowsToPrint);

    // "1911 Q3 Deaths  Page 12". zelLetter "B", "M" or "D"; any other
    // gives no event word.
    static QString heading(int year, int quarter, const QString &zelLetter, const QString &page);
    // "Printed on 14/Mar/2026     Page 1 of 2", month names in English.
    static QString printedOn(const QDate &today, int page, int pageCount);
};

class clsFlexPrint
{
public:
    clsFlexPrint();

    // Print the heading lines above every page.
    void setTitle(bool on) { mTitle = on; }

    // Prints every row of grid from row 1 on, row 0 repeated as the column
    // titles of every page, on printer (not owned), or on the system's
    // default printer when null. The document is finished when the call
    // returns; a grid without rows below its titles prints nothing.
    // Returns false, printing nothing, when the printer cannot be opened or
    // a page cannot hold one row (the transcriber is told).
    bool PrintGrid(const FlexGrid &grid, QPrinter *printer = nullptr);

    // The sizes the last PrintGrid worked with (twips); for tests.
    const QList<int> &lastColumnWidths() const { return mColWidths; }
    int lastGridWidth() const { return mGridWidth; }
    int lastRowsPerPage() const { return mRowsPerPage; }
    int lastPageCount() const { return mPageCount; }

private:
    void fillPage(const FlexGrid &grid, int firstRow, int count);
    void paintPageGrid(QPainter &painter, double left, double top, double twipsToPixels) const;

    // Never shown: holds the title row and one page's rows.
    FlexGrid GridToPrint;
    bool mTitle = false;
    QList<int> mColWidths;
    int mGridWidth = 0;
    int mRowHeight = 0;
    int mRowsPerPage = 0;
    int mPageCount = 0;
};
