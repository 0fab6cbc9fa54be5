#include "transcription/Searcher.h"

#include "core/MessageWindows.h"
#include "core/Services.h"
#include "core/VbHelpers.h"
#include "core/clsEvents.h"
#include "entry/FlexGrid.h"

#include <algorithm>

namespace {
// Row 0 holds the column titles and row 1 the first page line; column 0
// the row numbers.
constexpr int FirstDataRow = 2;
constexpr int FirstDataCol = 1;
} // namespace

void Searcher::setFindText(const QString &text)
{
    mFindText = text;
    updateSearchText();
}

QString Searcher::FindText()
{
    if (mGrid) {
        mStartRow = clampRow(mGrid->Row());
        mStartCol = clampCol(mGrid->Col());
        mStartIsCurrent = mStartRow == mGrid->Row() && mStartCol == mGrid->Col();
        mStartRecorded = true;
    }
    return mFindText;
}

void Searcher::setMatchCase(bool on)
{
    mMatchCase = on;
    updateSearchText();
}

void Searcher::updateSearchText()
{
    mSearchText = VbTrim(mFindText);
    if (!mMatchCase)
        mSearchText = VbUCase(mSearchText);
}

bool Searcher::Find()
{
    if (mGrid) {
        mFoundRow = mGrid->Row();
        mFoundCol = mGrid->Col();
    }
    return FindNext();
}

bool Searcher::FindNext()
{
    mFound = false;
    if (!mStartRecorded) {
        BeepIfEnabled();
        return false;
    }
    FindText();
    if (!mGrid || mSearchText.isEmpty())
        return false;

    const EventsOffGuard eventsOff;
    if (rangeSize() <= 0) {
        notFound();
        return false;
    }
    // A position left from an earlier search may lie outside the grid it
    // has now, or in its fixed cells.
    mFoundRow = clampRow(mFoundRow);
    mFoundCol = clampCol(mFoundCol);
    mTested = 0;
    while (!ReportNotFound()) {
        ++mTested;
        if (CellMatches()) {
            mFound = true;
            return true;
        }
    }
    return false;
}

bool Searcher::ReportNotFound()
{
    // Once every cell of the range was tested there is nothing left to
    // find, wherever the start cell lies (held to a column that is not the
    // start's, the position never reaches it).
    const bool lapDone = mTested >= rangeSize()
                         || (mTested > 0 && !mStartIsCurrent && mFoundRow == mStartRow
                             && mFoundCol == mStartCol);
    if (!lapDone) {
        ++mFoundRow;
        if (mFoundRow >= mGrid->Rows()) {
            mFoundRow = FirstDataRow;
            if (!mFindInCol) {
                ++mFoundCol;
                if (mFoundCol >= mGrid->Cols())
                    mFoundCol = FirstDataCol;
            }
        }
        if (!(mStartIsCurrent && mFoundRow == mStartRow && mFoundCol == mStartCol))
            return false;
    }
    notFound();
    return true;
}

bool Searcher::CellMatches() const
{
    QString text = mGrid->TextMatrix(mFoundRow, mFoundCol);
    if (!mMatchCase)
        text = VbUCase(text);
    return text.contains(mSearchText);
}

int Searcher::rangeSize() const
{
    const int rows = mGrid->Rows() - FirstDataRow;
    const int cols = mGrid->Cols() - FirstDataCol;
    if (rows <= 0 || cols <= 0)
        return 0;
    return mFindInCol ? rows : rows * cols;
}

int Searcher::clampRow(int row) const
{
    return std::clamp(row, FirstDataRow, std::max(FirstDataRow, mGrid->Rows() - 1));
}

int Searcher::clampCol(int col) const
{
    return std::clamp(col, FirstDataCol, std::max(FirstDataCol, mGrid->Cols() - 1));
}

void Searcher::notFound()
{
    SystemMessageBox(QStringLiteral("The search text was not found"), Mb::Exclamation,
                     QStringLiteral("Find"));
}
