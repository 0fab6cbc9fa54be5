#include "transcription/Transcription.h"

#include "core/Globals.h"
#include "core/MessageWindows.h"
#include "core/PatternHelpers.h"
#include "core/Project.h"
#include "core/Services.h"
#include "core/ShowStatusSink.h"
#include "core/VbHelpers.h"
#include "core/clsEvents.h"
#include "entry/FlexGrid.h"
#include "transcription/DataRowTally.h"
#include "transcription/EntryBoxes.h"
#include "transcription/GridBindings.h"

#include <QFontMetricsF>

#include <algorithm>

int gLastCol = 0;
int gNewRow = 0;
int gNewCol = 0;

namespace {

// The grid's column alignments: text at the bottom of the cell.
constexpr int kAlignLeft = 2;
constexpr int kAlignCentre = 5;
constexpr int kAlignRight = 8;

// Column widths below these are taken as never having been stored.
constexpr int kSmallestStoredFieldWidth = 25;
constexpr int kDefaultFieldWidth = 450;
constexpr int kDefaultRowNumberWidth = 300;
constexpr int kDefaultDoBWidth = 150;
// A column is never narrowed below this many twips.
constexpr int kNarrowestColumn = 51;

class NullForm final : public TranscriptionForm
{
public:
    void setCopySurnameVisible(bool) override {}
    void setEntryBoxColumns(int, int) override {}
    bool CantUseMenues() const override { return false; }
};

class NullScrollBar final : public GridScrollBar
{
public:
    void setMax(int) override {}
    void setValue(int) override {}
    void setLargeChange(int) override {}
};

bool isDeathBatch()
{
    return gProject && gProject->ZelLetter() == QLatin1String("D");
}

} // namespace

Transcription::Transcription() : mRowTally(std::make_unique<DataRowTally>())
{
    ClearValidation();
}

Transcription::~Transcription()
{
    QObject::disconnect(mGridSizeWatch);
}

// ---- Bindings -----------------------------------------------------------------------

void Transcription::setGrid(FlexGrid *grid)
{
    QObject::disconnect(mGridSizeWatch);
    mGrid = grid;
    mWidthsAwaitGridWidth = false;
    if (!mGrid)
        return;
    // A batch restored at start-up is laid out before the main window is
    // shown, while the grid's width is still unknown: the shares of the
    // width are taken again once the view has one.
    mGridSizeWatch = QObject::connect(mGrid, &FlexGrid::viewportSizeChanged, mGrid, [this] {
        if (mWidthsAwaitGridWidth && mGrid->Width() > 0)
            SetInitialColumnWidths();
    });
}

void Transcription::setScrollBar(GridScrollBar *bar)
{
    mScrollBar = bar;
    // One click in the trough moves one row.
    if (mScrollBar)
        mScrollBar->setLargeChange(1);
}

TranscriptionForm &Transcription::form() const
{
    static NullForm standIn;
    return mFrm ? *mFrm : standIn;
}

GridScrollBar &Transcription::scrollBar() const
{
    static NullScrollBar standIn;
    return mScrollBar ? *mScrollBar : standIn;
}

// ---- Measuring ----------------------------------------------------------------------

int Transcription::MeasuredWidth(const QString &text) const
{
    if (!mGrid)
        return 0;
    return PixelsToTwipsX(QFontMetricsF(mGrid->Font()).horizontalAdvance(text));
}

int Transcription::RowNumberWidth() const
{
    // The limit as the number formatter writes it (a leading space for the
    // sign) and one more digit, so that the widest row number fits.
    return MeasuredWidth(QLatin1Char(' ') + QString::number(mRowNumberLimit) + QLatin1Char('9'));
}

int Transcription::RowsVisible() const
{
    if (!mGrid || mGrid->RowHeight(0) <= 0)
        return 0;
    return mGrid->Height() / mGrid->RowHeight(0) - 1;
}

// ---- Layout -------------------------------------------------------------------------

void Transcription::SetupInputGrid()
{
    if (!mGrid || !gProject)
        return;
    const Project &project = *gProject;

    mPageCol = 4;
    gLastCol = 4;
    mSurnameCol = 1;
    mForenamesCol = 2;
    mMotherCol = 0;
    mSpouseCol = 0;
    mDistrictCol = 3;
    mAaDCol = -1;
    mDoBCol = -1;
    form().setCopySurnameVisible(false);

    const bool death = isDeathBatch();
    if (death) {
        gLastCol = 5;
        mAaDCol = 3;
        mDistrictCol = 4;
        mPageCol = 5;
        mMotherCol = -1;
        mSpouseCol = -1;
        mDoBCol = -1;
    }
    if (project.Mother()) {
        mAaDCol = -1;
        mSpouseCol = -1;
        mDoBCol = -1;
        gLastCol = 5;
        mMotherCol = 3;
        mDistrictCol = 4;
        mPageCol = 5;
        form().setCopySurnameVisible(true);
    }
    if (project.Spouse()) {
        mAaDCol = -1;
        mMotherCol = -1;
        mDoBCol = -1;
        gLastCol = 5;
        mSpouseCol = 3;
        mDistrictCol = 4;
        mPageCol = 5;
        form().setCopySurnameVisible(true);
    }

    if (!mKeepGrid) {
        EventsOffGuard quiet;
        mGrid->Clear();
        mGrid->setRows(2);
        mGrid->setCols(gLastCol + 1);
        mGrid->setRowCol(1, 1);
        gCurrentRow = 1;
        gCurrentCol = 1;
    }

    mGrid->setTextMatrix(0, mPageCol, QStringLiteral("Page"));
    mGrid->setTextMatrix(0, 1, QStringLiteral("Surname"));
    mGrid->setTextMatrix(0, 2, QStringLiteral("Forenames"));

    int ageColumn = -1;
    if (death) {
        if (project.DoB()) {
            mGrid->setTextMatrix(0, mAaDCol, QStringLiteral("DoB"));
            mDoBCol = mAaDCol;
            mAaDCol = -1;
            mGrid->setColWidth(mDoBCol, MeasuredWidth(QStringLiteral("DD MMM YYYY")));
            ageColumn = mDoBCol;
        } else {
            mGrid->setTextMatrix(0, mAaDCol, QStringLiteral("AaD"));
            mAaDCol = 3;
            mDoBCol = -1;
            mGrid->setColWidth(mAaDCol, MeasuredWidth(QStringLiteral("AaDX")));
            ageColumn = mAaDCol;
        }
    } else {
        // Every column starts hidden; the widths set afterwards (here and in
        // SetInitialColumnWidths) open the ones the batch shows.
        for (int col = 0; col < mGrid->Cols(); ++col)
            mGrid->setColWidth(col, 0);
    }

    if (project.Mother())
        mGrid->setTextMatrix(0, mMotherCol, QStringLiteral("Mother"));
    if (project.Spouse())
        mGrid->setTextMatrix(0, mSpouseCol, QStringLiteral("Spouse"));
    mGrid->setTextMatrix(0, mDistrictCol, QStringLiteral("District"));

    for (int col : {0, 1, 2, mDistrictCol})
        mGrid->setColAlignment(col, kAlignLeft);
    if (project.Mother())
        mGrid->setColAlignment(mMotherCol, kAlignLeft);
    if (project.Spouse())
        mGrid->setColAlignment(mSpouseCol, kAlignLeft);
    mGrid->setColAlignment(mPageCol, kAlignRight);
    if (ageColumn > 0)
        mGrid->setColAlignment(ageColumn, kAlignCentre);

    mGrid->setColWidth(0, MeasuredWidth(QStringLiteral("100")));
    mGrid->setColWidth(mPageCol, MeasuredWidth(QStringLiteral("XXPAGEXX")));

    gProject->setColType(mGrid->Cols());
    form().setEntryBoxColumns(mDistrictCol, 2);
    // Whole rows only: no row is cut off at the bottom.
    mGrid->setHeight(mGrid->RowHeight(0) * (RowsVisible() + 1));
}

void Transcription::SetInitialColumnWidths()
{
    if (!mGrid || !gProject)
        return;
    const Project &project = *gProject;

    if (project.RestoreColWidth()) {
        mWidthsAwaitGridWidth = false;
        for (int col = 0; col < mGrid->Cols(); ++col) {
            int width = project.ColWidth(col);
            if (col == 0) {
                if (width <= 0)
                    width = kDefaultRowNumberWidth;
            } else if (col == mDistrictCol || col == mForenamesCol || col == mMotherCol
                       || col == mPageCol || col == mSpouseCol || col == mSurnameCol
                       || col == mAaDCol) {
                if (width <= kSmallestStoredFieldWidth)
                    width = kDefaultFieldWidth;
            } else if (col == mDoBCol) {
                if (width <= 0)
                    width = kDefaultDoBWidth;
            }
            mGrid->setColWidth(col, width);
        }
        return;
    }

    if (mGrid->Rows() > mRowNumberLimit)
        mRowNumberLimit *= 10;
    mGrid->setColWidth(0, RowNumberWidth());

    mWidthsAwaitGridWidth = mGrid->Width() <= 0;
    int free = mGrid->Width() - mGrid->ColWidth(mPageCol) - mGrid->ColWidth(0);
    if (isDeathBatch())
        free -= mGrid->ColWidth(project.DoB() ? mDoBCol : mAaDCol);
    const bool fourShare = project.Mother() || project.Spouse();
    const int width = std::max(0, free / (fourShare ? 4 : 3));

    mGrid->setColWidth(mSurnameCol, width);
    mGrid->setColWidth(mForenamesCol, width);
    mGrid->setColWidth(mDistrictCol, width);
    if (project.Mother())
        mGrid->setColWidth(mMotherCol, width);
    if (project.Spouse())
        mGrid->setColWidth(mSpouseCol, width);
}

void Transcription::AdjustColumnWidths(int delta)
{
    if (!mGrid)
        return;
    for (int col = 1; col < mGrid->Cols(); ++col) {
        const int width = mGrid->ColWidth(col);
        if (delta >= 0 || width + delta >= kNarrowestColumn)
            mGrid->setColWidth(col, width + delta);
    }
}

void Transcription::FitRowNumberColumn()
{
    if (!mGrid || mGrid->Rows() <= mRowNumberLimit)
        return;
    const int oldWidth = mGrid->ColWidth(0);
    mRowNumberLimit *= 10;
    const int newWidth = RowNumberWidth();
    mGrid->setColWidth(0, newWidth);
    if (mGrid->Cols() < 2)
        return;
    const int share = (oldWidth - newWidth) / (mGrid->Cols() - 1);
    for (int col = 1; col < mGrid->Cols(); ++col) {
        const int width = mGrid->ColWidth(col);
        if (share >= 0 || width + share >= kNarrowestColumn)
            mGrid->setColWidth(col, width + share);
    }
}

int Transcription::FirstRowNumber() const
{
    if (!gProject)
        return 0;
    const QString mode = gProject->RowNumbering();
    if (mode == QLatin1String("P"))
        return 1;
    if (mode == QLatin1String("Q"))
        return gProject->HeaderLines() + 1;
    return 0;
}

void Transcription::AddLine1()
{
    if (!mGrid || !gProject)
        return;
    mGrid->setTextArray(faIndex(1, 0), QString::number(FirstRowNumber()));

    const QString page = gProject->PageNumber();
    if (gProject->PageNumberLength() < 1)
        gProject->setPageNumberLength(page.size());
    // Padded, never cut: a page longer than the recorded length keeps all
    // its digits.
    const QString padded = page.rightJustified(gProject->PageNumberLength(), QLatin1Char('0'));
    mGrid->setTextArray(faIndex(1, 1), QStringLiteral("+PAGE,") + padded);

    {
        EventsOffGuard quiet;
        mGrid->setCellBackColorAt(1, 1, kHeaderGreen);
        if (mGrid->Rows() < 3)
            AddRow();
    }
    SetInitialColumnWidths();
}

int Transcription::faIndex(int row, int col) const
{
    return mGrid ? row * mGrid->Cols() + col : 0;
}

// ---- Rows ---------------------------------------------------------------------------

void Transcription::ColourRow(int row)
{
    if (!mGrid || row < 0 || row >= mGrid->Rows())
        return;
    EventsOffGuard quiet;
    std::uint32_t colour = kWhite;
    if (gProject && gProject->Stripes() && row % 2 == 0)
        colour = kStripe;
    if (BeginsAsCommentLine(mGrid->textRef(row, 1)))
        colour = kHeaderGreen;
    for (int col = 1; col < mGrid->Cols(); ++col) {
        mGrid->setCellBackColorAt(row, col, colour);
        // A header or comment line is green in its first column only.
        if (colour == kHeaderGreen)
            colour = kWhite;
    }
}

int Transcription::CountRows()
{
    if (!mGrid)
        return 0;
    const DataRowTally::Counts counts = mRowTally->count(*mGrid, gCurrentRow);
    if (gProject) {
        gProject->setDataLines(counts.dataRows);
        gProject->setLastPageString(counts.lastPage);
    }
    StatusBar().ShowPanel3(QStringLiteral("Datarows = ") + QString::number(counts.dataRows));
    return counts.dataRowsTo;
}

int Transcription::CountOccurance(const QString &text, const QString &find)
{
    return ::CountOccurance(text, find);
}

bool Transcription::TestForCredit(bool actionPending)
{
    if (!mGrid)
        return true;
    for (int row = 2; row < mGrid->Rows(); ++row) {
        if (VbUCase(mGrid->TextMatrix(row, 1).left(7)) != QLatin1String("+CREDIT"))
            continue;
        const QString crlf = QStringLiteral("\r\n");
        ShowMessage(QStringLiteral("There is a +Credit entry at row ") + QString::number(row) + crlf
                        + QStringLiteral("These must be moved to the Header Form - Click on that "
                                         "entry and then Press Tab")
                        + crlf
                        + (actionPending ? QStringLiteral("The requested action cannot happen "
                                                          "until this entry is removed")
                                         : QStringLiteral("Your Data has NOT been saved")),
                    Mb::Critical | Mb::OkOnly, kProductName);
        Boxes().GiveFocusBack();
        return false;
    }
    return true;
}
