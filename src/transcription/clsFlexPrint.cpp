#include "transcription/clsFlexPrint.h"

#include "core/Globals.h"
#include "core/MessageWindows.h"
#include "core/Project.h"
#include "core/Services.h"
#include "core/VbHelpers.h"

#include <QFontMetricsF>
#include <QLocale>
#include <QPainter>
#include <QPrinter>

#include <algorithm>
#include <cmath>
#include <memory>
#include <numeric>

namespace {
constexpr double TwipsPerInch = 1440.0;
// Grid rows are never lower than this, as on screen.
constexpr int MinRowHeight = 240;
// Space above and below a row's text (3 pixels on a 96 dpi screen).
constexpr int RowPadding = 45;
// Space between a cell's edge and its text.
constexpr int CellPadding = 30;
} // namespace

QList<double> FlexPrintLayout::widestTexts(const FlexGrid &grid,
                                           const std::function<double(const QString &)> &textWidth)
{
    QList<double> widest;
    for (int c = 0; c < grid.Cols(); ++c) {
        double w = 0;
        for (int r = 0; r < grid.Rows(); ++r)
            w = std::max(w, textWidth(grid.TextMatrix(r, c) + QLatin1Char('x')));
        widest.append(w);
    }
    return widest;
}

QList<int> FlexPrintLayout::columnWidths(const QList<double> &widest, int pageWidth)
{
    QList<int> widths;
    for (double w : widest)
        widths.append(int(VbRound(w + ColumnPadding)));
    if (widths.isEmpty())
        return widths;
    const int sum = std::accumulate(widths.begin(), widths.end(), 0);
    const double half = pageWidth * 50.0 / 100.0;
    if (sum < half) {
        const int extra = int(VbRound((half - sum) / widths.size()));
        for (int &w : widths)
            w += extra;
    }
    return widths;
}

int FlexPrintLayout::rowsPerPage(int pageHeight, int rowHeight, int headingHeight)
{
    if (rowHeight <= 0)
        return 0;
    // Whole rows only, measured below the heading actually printed: a row
    // rounded up onto the page would be cut off at its foot.
    const int space = pageHeight - headingHeight;
    if (space < rowHeight)
        return space < 0 ? -1 : 0;
    return space / rowHeight - 1;
}

int FlexPrintLayout::pageCount(int rowsToPrint, int rowsPerPage)
{
    if (rowsPerPage < 1 || rowsToPrint < 1)
        return 0;
    return (rowsToPrint + rowsPerPage - 1) / rowsPerPage;
}

int FlexPrintLayout::rowsOnPage(int page, int rowsPerPage, int rowsToPrint)
{
    const int left = rowsToPrint - (firstRow(page, rowsPerPage) - 1);
    return std::clamp(left, 0, std::max(0, rowsPerPage));
}

QString FlexPrintLayout::heading(int year, int quarter, const QString &zelLetter,
                                 const QString &page)
{
    QString event = QStringLiteral(" ");
    if (zelLetter == QLatin1String("B"))
        event = QStringLiteral(" Births ");
    else if (zelLetter == QLatin1String("M"))
        event = QStringLiteral(" Marriages ");
    else if (zelLetter == QLatin1String("D"))
        event = QStringLiteral(" Deaths ");
    return QString::number(year) + QStringLiteral(" Q") + QString::number(quarter) + event
           + QStringLiteral(" Page ") + page;
}

QString FlexPrintLayout::printedOn(const QDate &today, int page, int pageCount)
{
    return QStringLiteral("Printed on ") + QLocale::c().toString(today, QStringLiteral("d/MMM/yyyy"))
           + QStringLiteral("     Page ") + QString::number(page) + QStringLiteral(" of ")
           + QString::number(pageCount);
}

clsFlexPrint::clsFlexPrint()
{
    GridToPrint.Clear();
    GridToPrint.setRows(1);
}

bool clsFlexPrint::PrintGrid(const FlexGrid &grid, QPrinter *printer)
{
    std::unique_ptr<QPrinter> ownPrinter;
    if (!printer) {
        ownPrinter = std::make_unique<QPrinter>(QPrinter::HighResolution);
        printer = ownPrinter.get();
    }
    // One copy, portrait, one-sided: a grid is laid out for the width of a
    // portrait page. Qt reports no failure for a duplex setting the printer
    // lacks; it is simply not applied.
    printer->setCopyCount(1);
    printer->setPageOrientation(QPageLayout::Portrait);
    printer->setDuplex(QPrinter::DuplexNone);

    const QFont font = grid.Font();
    // Measured on the printer itself: its resolution is not the screen's.
    const QFontMetricsF metrics(font, printer);
    const double dpiX = printer->logicalDpiX();
    const double dpiY = printer->logicalDpiY();
    const auto toTwipsX = [dpiX](double px) { return px * TwipsPerInch / dpiX; };
    const auto toTwipsY = [dpiY](double px) { return px * TwipsPerInch / dpiY; };
    const int pageWidth = int(VbRound(toTwipsX(printer->width())));
    const int pageHeight = int(VbRound(toTwipsY(printer->height())));

    GridToPrint.setCols(grid.Cols());
    mColWidths = FlexPrintLayout::columnWidths(
        FlexPrintLayout::widestTexts(grid,
                                     [&](const QString &text) {
                                         return toTwipsX(metrics.horizontalAdvance(text));
                                     }),
        pageWidth);
    for (int c = 0; c < mColWidths.size(); ++c)
        GridToPrint.setColWidth(c, mColWidths[c]);
    mGridWidth = std::accumulate(mColWidths.begin(), mColWidths.end(), 0);
    mRowHeight = std::max(MinRowHeight, int(VbRound(toTwipsY(metrics.height()))) + RowPadding);
    GridToPrint.setRowHeight(-1, mRowHeight);

    const int rowsToPrint = grid.Rows() - 1;
    const double lineHeight = metrics.lineSpacing();
    // The heading, the "Printed on" line and an empty line.
    const int headingHeight = mTitle ? int(std::ceil(toTwipsY(3 * lineHeight))) : 0;
    mRowsPerPage = FlexPrintLayout::rowsPerPage(pageHeight, mRowHeight, headingHeight);
    mPageCount = FlexPrintLayout::pageCount(rowsToPrint, mRowsPerPage);
    if (mRowsPerPage < 1) {
        ShowMessage(QStringLiteral("The grid cannot be printed: a page of this printer cannot "
                                   "hold one row in the grid's font. Choose a smaller font or "
                                   "a larger paper size."),
                    Mb::Exclamation, kProductName);
        return false;
    }

    // A grid with only its title row: no document at all, not a blank page.
    if (mPageCount == 0)
        return true;

    QPainter painter;
    if (!painter.begin(printer)) {
        ShowMessage(QStringLiteral("The printer could not be opened."), Mb::Exclamation,
                    kProductName);
        return false;
    }
    painter.setFont(font);
    painter.setPen(Qt::black);

    const QString headingText =
        gProject ? FlexPrintLayout::heading(gProject->iYear(), gProject->iQtr(),
                                            gProject->ZelLetter(), gProject->Page())
                 : QString();
    const QDate today = Services::clock().today();
    const double left = FlexPrintLayout::LeftMargin * dpiX / TwipsPerInch;

    for (int page = 1; page <= mPageCount; ++page) {
        double y = 0;
        if (mTitle) {
            painter.drawText(QPointF(left, y + metrics.ascent()), headingText);
            y += lineHeight;
            const QString footer = FlexPrintLayout::printedOn(today, page, mPageCount);
            const double right = (FlexPrintLayout::LeftMargin + mGridWidth) * dpiX / TwipsPerInch;
            painter.drawText(QPointF(right - metrics.horizontalAdvance(footer), y + metrics.ascent()),
                             footer);
            // The line itself and an empty one below it.
            y += 2 * lineHeight;
        }
        const int first = FlexPrintLayout::firstRow(page, mRowsPerPage);
        fillPage(grid, first, FlexPrintLayout::rowsOnPage(page, mRowsPerPage, rowsToPrint));
        paintPageGrid(painter, left, y, dpiX / TwipsPerInch);
        if (page < mPageCount)
            printer->newPage();
    }
    painter.end();
    return true;
}

void clsFlexPrint::fillPage(const FlexGrid &grid, int firstRow, int count)
{
    GridToPrint.Clear();
    GridToPrint.setRows(count + 1);
    for (int c = 0; c < grid.Cols(); ++c) {
        GridToPrint.setTextMatrix(0, c, grid.TextMatrix(0, c));
        GridToPrint.setColAlignment(c, grid.ColAlignment(c));
        for (int r = 1; r <= count; ++r)
            GridToPrint.setTextMatrix(r, c, grid.TextMatrix(firstRow + r - 1, c));
    }
}

void clsFlexPrint::paintPageGrid(QPainter &painter, double left, double top,
                                 double pixelsPerTwip) const
{
    // The printer's pixels are square on every printer Qt drives, so one
    // scale serves both directions.
    const double rowHeight = mRowHeight * pixelsPerTwip;
    const double padding = CellPadding * pixelsPerTwip;
    const QColor fixedBack(0xE0, 0xE0, 0xE0);
    const QPen line(QColor(0x80, 0x80, 0x80), 0);
    double x = left;
    for (int c = 0; c < GridToPrint.Cols(); ++c) {
        const double width = GridToPrint.ColWidth(c) * pixelsPerTwip;
        for (int r = 0; r < GridToPrint.Rows(); ++r) {
            const QRectF cell(x, top + r * rowHeight, width, rowHeight);
            if (r < GridToPrint.FixedRows() || c < GridToPrint.FixedCols())
                painter.fillRect(cell, fixedBack);
            painter.setPen(line);
            painter.drawRect(cell);
            painter.setPen(Qt::black);
            const auto align = Qt::Alignment(
                GridToPrint.data(GridToPrint.index(r, c), Qt::TextAlignmentRole).toInt());
            painter.drawText(cell.adjusted(padding, 0, -padding, 0), int(align),
                             GridToPrint.TextMatrix(r, c));
        }
        x += width;
    }
}
