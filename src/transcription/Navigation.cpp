// Moving the current cell for keyboard entry and keeping it in view.

#include "transcription/Transcription.h"

#include "core/Globals.h"
#include "core/MessageWindows.h"
#include "core/Project.h"
#include "core/VbHelpers.h"
#include "core/clsEvents.h"
#include "entry/FlexGrid.h"
#include "transcription/GridBindings.h"

#include <QFontMetricsF>

#include <algorithm>

void Transcription::FindNextCell(int direction, int &row, int &col)
{
    row = 0;
    if (!mGrid)
        return;

    const int lastCol = mGrid->Cols() - 1;
    const bool byRows = gProject && gProject->VerticalTab();
    int r = mGrid->Row();
    int c = mGrid->Col();
    bool found = true;
    bool beep = false;

    // Past the last row: a new row, unless the last one is still blank (the
    // transcriber has not used the row already waiting).
    const auto beyondLastRow = [&]() {
        if (r < mGrid->Rows())
            return true;
        if (IsRowBlank(mGrid->Rows() - 1))
            return false;
        AddRow();
        r = mGrid->Rows() - 1;
        return true;
    };

    switch (direction) {
    case PreviousCell:
        if (byRows) {
            --r;
        } else if (--c < 1) {
            c = lastCol;
            --r;
        }
        if (r < 2) {
            found = false;
            beep = true;
        }
        break;
    case NextCell:
        if (byRows) {
            ++r;
        } else {
            // A "+" or "#" row has only its first cell to fill.
            c = ItsACommentLine(r) ? lastCol + 1 : c + 1;
            if (c > lastCol) {
                c = 1;
                ++r;
            }
        }
        r = std::max(r, 2);
        if (!beyondLastRow()) {
            found = false;
            beep = true;
        }
        break;
    case RowUp:
        if (--r < 2) {
            found = false;
            beep = true;
        }
        break;
    case RowDown:
        r = std::max(r + 1, 2);
        found = beyondLastRow();
        break;
    default:
        break;
    }

    if (!found) {
        if (beep)
            BeepIfEnabled();
        return;
    }

    if (c > 1 && ItsACommentLine(r))
        c = 1;
    if (gProject && gProject->bDeath() && gProject->IgnoreAaD() && mAaDCol >= 1
        && c == mAaDCol) {
        // Onwards when going right, otherwise back towards the names (as the
        // main window does when a click lands on it from its own column).
        const bool forwards = direction == NextCell && !byRows && c < lastCol;
        c += forwards ? 1 : -1;
    }

    PositionGrid(r, false);
    mGrid->setRowCol(r, c);
    row = mGrid->Row();
    col = mGrid->Col();
}

void Transcription::PositionGrid(int row, bool force)
{
    if (!mGrid)
        return;
    if (mGrid->RowIsVisible(row) && !force)
        return;

    const int top = (force || row < mGrid->TopRow())
                        ? row
                        : row - std::max(RowsVisible(), 1) + 1;
    // The grid's own scroll bars stay off: TopRow scrolls it whatever they
    // are, so there is no need to switch them on around the change.
    EventsOffGuard quiet;
    mGrid->setTopRow(top);
    scrollBar().setValue(row);
}

void Transcription::ScrollGrid(int row, bool /*force*/)
{
    if (!mGrid)
        return;
    mGrid->setTopRow(row);
    mGrid->setRow(row);
}

void Transcription::GetBoxPosition(const QString &text, int &left, int &width,
                                   const QFont &boxFont) const
{
    left = 0;
    width = 0;
    if (!mGrid)
        return;
    const int cellLeft = mGrid->CellLeft();
    const int cellWidth = mGrid->CellWidth();
    left = cellLeft;
    width = cellWidth;
    if (!gProject || !gProject->OverSize())
        return;
    const QFontMetricsF metrics(boxFont);
    width = std::max(PixelsToTwipsX(metrics.horizontalAdvance(text + u'X')), cellWidth);
    if (mGrid->Col() != SurnameCol())
        left = cellLeft - width + cellWidth;
}
