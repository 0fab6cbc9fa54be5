// The cell-entry loop: every move of the grid's current cell checks the cell
// left, writes its row to the work file when the row changes, and lays the
// entry box of the new column over the new cell.

#include "mainwindow/Form1.h"

#include "core/FormRegistry.h"
#include "core/Globals.h"
#include "core/MessageWindows.h"
#include "core/Project.h"
#include "core/Services.h"
#include "core/VbHelpers.h"
#include "core/clsEvents.h"
#include "entry/DistrictBox.h"
#include "entry/FlexGrid.h"
#include "entry/FlexGridView.h"
#include "entry/ForenameBox.h"
#include "entry/RichTextBox.h"
#include "entry/RichTextView.h"
#include "entry/myRichTextbox.h"
#include "lists/frmPickList.h"
#include "mainwindow/Form1MenuItems.h"
#include "mainwindow/HelpTopics.h"
#include "mainwindow/ShowStatus.h"
#include "mainwindow/clsTressel.h"
#include "transcription/Change_Monitor.h"
#include "transcription/EntryBoxes.h"
#include "transcription/Transcription.h"
#include "transcription/clsWorkFile.h"

#include <QAction>
#include <QCursor>
#include <QMenu>
#include <QScopeGuard>
#include <QScrollBar>

namespace {

constexpr std::uint32_t kEntryBack = 0xFFFFC0; // light cyan
constexpr int kFirstDataRow = 2;
constexpr int kRightButton = 2;

frmPickList *pickList()
{
    return qobject_cast<frmPickList *>(FindForm(QStringLiteral("frmPickList")));
}

bool startsAsLine(const QString &text)
{
    return text.startsWith(QLatin1Char('#')) || text.startsWith(QLatin1Char('+'));
}

} // namespace

// ---- Moving the current cell ------------------------------------------------------

void Form1::fgInput_EnterCell()
{
    if (!gEvents || gEvents->NoEvents() || !gTranscription)
        return;
    FlexGrid &grid = *mGrid;
    Transcription &t = *gTranscription;
    gNewRow = 0;
    gNewCol = 0;
    if (grid.Row() == 0)
        return;

    // The batch's first "+PAGE" line is never entered.
    if (grid.Row() == 1) {
        BeepIfEnabled();
        gNewRow = kFirstDataRow;
        EventsOffGuard quiet;
        grid.setCol(gCurrentCol);
        GoToRow(gCurrentRow);
        Boxes().GiveFocusBack();
        return;
    }

    gNewRow = grid.Row();
    if (grid.Col() >= 1) {
        gNewCol = grid.Col();
        // "#" and "+" lines are edited in column 1 only.
        if (startsAsLine(grid.TextMatrix(gNewRow, 1)) && gNewCol != 1) {
            EventsOffGuard quiet;
            gNewCol = 1;
            grid.setCol(1);
            grid.setColSel(1);
        }
    } else {
        gNewCol = 1;
    }

    if (!t.ValidateBox(gCurrentCol, gCurrentRow)) {
        BeepIfEnabled();
        EventsOffGuard quiet;
        grid.setCol(gCurrentCol);
        GoToRow(gCurrentRow);
        Boxes().GiveFocusBack();
        return;
    }

    const bool rowChanges = gCurrentRow != gNewRow;
    // The row left is written now and flushed once the box stands on the
    // new cell, before the event loop turns: the work of the move is done
    // while the disk flushes nothing yet, and the flush still comes before
    // anything else can happen.
    const bool rowWritten = rowChanges && gChangeMonitor && gChangeMonitor->RowChanged()
                            && gWorkFile && gWorkFile->SaveRowToWork(gCurrentRow, false);
    const auto flushRow = qScopeGuard([rowWritten] {
        if (rowWritten && gWorkFile)
            gWorkFile->FlushWork();
    });
    // The companion follows the row's district and page.
    const int districtCol = t.DistrictCol();
    const int pageCol = t.PageCol();
    const auto cell = [&grid](int row, int col) {
        return row > 0 && row < grid.Rows() && col > 0 && col < grid.Cols()
                   ? VbTrim(grid.TextMatrix(row, col))
                   : QString();
    };
    if (gTressel) {
        if (rowChanges) {
            const QString label = gCurrentRow > 0 && gCurrentRow < grid.Rows()
                                      ? VbTrim(grid.TextMatrix(gCurrentRow, 0))
                                      : QString();
            gTressel->setOldRow(label, cell(gCurrentRow, districtCol), cell(gCurrentRow, pageCol));
            gTressel->setDistrict(cell(gNewRow, districtCol), cell(gNewRow, pageCol));
        } else if (gNewCol == pageCol) {
            gTressel->setDistrict(cell(gNewRow, districtCol), cell(gNewRow, pageCol));
        }
    }

    // A "+PAGE" line left takes its own colours again.
    if (gCurrentRow > 0 && gCurrentRow < grid.Rows()
        && grid.TextMatrix(gCurrentRow, 1).left(5).toUpper() == QLatin1String("+PAGE")) {
        EventsOffGuard quiet;
        for (int c = 1; c < grid.Cols(); ++c)
            grid.setCellBackColorAt(gCurrentRow, c,
                                    c == 1 ? Transcription::kHeaderGreen : Transcription::kWhite);
    }

    if (frmPickList *pick = pickList())
        pick->PickClear();

    // On a deaths batch the age may be stepped over, in the direction of
    // travel.
    if (gProject && gProject->bDeath() && gNewCol == t.AaDCol() && gProject->IgnoreAaD()) {
        EventsOffGuard quiet;
        const int step = gCurrentCol < grid.Col() ? 1 : -1;
        const int target = grid.Col() + step;
        if (target >= 1 && target < grid.Cols())
            grid.setCol(target);
        gNewCol = grid.Col();
    }

    updateValidateEntryItem(gNewRow, gNewCol);

    if (rowChanges)
        moveRulerForRowChange(gCurrentRow, gNewRow);

    bEnteredCommentRow = t.ItsACommentLine(gNewRow);
    gCurrentCol = gNewCol;
    {
        EventsOffGuard quiet;
        // The column too: a column put right above (a line, the age
        // stepped over) must be the one the box opens on.
        grid.setCol(gNewCol);
        GoToRow(gNewRow);
    }
    // Counted once the new row is current: the status bar shows its page,
    // wherever the move came from (Page Down, a find, a jump past "+PAGE").
    if (rowChanges) {
        t.CountRows();
        mShowStatus->ShowFile();
    }

    if (gCurrentRow > 0) {
        Set_TextBox();
        if (!t.ItsACommentLine(gCurrentRow)
            && t.CheckForOddChars(grid.TextMatrix(gCurrentRow, gCurrentCol), gCurrentCol)) {
            mShowStatus->ShowMsg(QStringLiteral("Unusual Character"), false, true);
            BeepIfEnabled();
        }
    }
}

void Form1::updateValidateEntryItem(int row, int col)
{
    QAction *item = MenuItem(QStringLiteral("mnuValidateEntry"));
    if (!item || !gTranscription)
        return;
    if (col == gTranscription->DistrictCol()) {
        if (gProject)
            gProject->setDistValidate(true);
        item->setText(QStringLiteral("Do Not Validate this District"));
        item->setEnabled(true);
        item->setChecked(!gTranscription->IsDistrictValidated(row));
    } else if (col == gTranscription->PageCol()) {
        if (gProject)
            gProject->setPageValidate(true);
        item->setText(QStringLiteral("Do Not Validate this Page Number"));
        item->setEnabled(true);
        item->setChecked(!gTranscription->IsPageValidated(row));
    } else {
        item->setEnabled(false);
        item->setChecked(false);
    }
}

void Form1::moveRulerForRowChange(int oldRow, int newRow)
{
    const Transcription &t = *gTranscription;
    // The nearest data row at or above row (the first data row at least).
    const auto dataLineFrom = [&t](int row) {
        for (int r = row; r >= kFirstDataRow + 1; --r) {
            if (!t.ItsACommentLine(r))
                return r;
        }
        return kFirstDataRow;
    };
    const int newLine = t.ItsACommentLine(newRow) ? dataLineFrom(newRow) : newRow;
    const int oldLine = t.ItsACommentLine(oldRow) ? dataLineFrom(oldRow - 1) : oldRow;
    int move = newLine - oldLine;
    if (!bEnteredCommentRow && t.ItsACommentLine(oldRow))
        move -= 1;
    const int step = move >= 0 ? 1 : -1;
    int lines = 0;
    for (int r = oldLine; step > 0 ? r <= newLine : r >= newLine; r += step) {
        if (t.ItsACommentLine(r))
            ++lines;
    }
    move -= lines * step;
    if (move != 0)
        MoveRulerWithRow(newLine == kFirstDataRow ? 0 : move);
}

void Form1::MoveRulerWithRow(int n)
{
    if (gProject && gProject->AutoMoveRuler())
        scanViewer().MoveRulerToLine(n);
}

int Form1::CurrentRow() const
{
    return mGrid->Row() - 1;
}

// ---- The entry box over the current cell --------------------------------------------

void Form1::Set_TextBox()
{
    if (!gTranscription)
        return;
    FlexGrid &grid = *mGrid;
    Transcription &t = *gTranscription;
    if (gChangeMonitor)
        gChangeMonitor->ClearChange();
    t.PositionGrid(grid.Row(), false);
    gCurrentCol = grid.Col();
    if (grid.ColWidth(gCurrentCol) == 0 && gCurrentCol + 1 < grid.Cols()) {
        EventsOffGuard quiet;
        grid.setCol(grid.Col() + 1);
        gCurrentCol = grid.Col();
    }

    if (gCurrentCol == t.ForenamesCol() && gForenameBox) {
        mRichBox->setVisible(false);
        Boxes().HideDistrictBox();
        mDistrictBox->setVisible(false);
        gForenameBox->HideRtb();
        if (gProject) {
            if (gProject->ForePick())
                gProject->ShowPickList();
            else
                gProject->HidePickIfNotWanted();
        }
        gForenameBox->setColumn(gCurrentCol);
        mForeNameView->setProperty("HelpContextID", kForenameBoxHelpContext);
        gForenameBox->Show();
        return;
    }

    if (gCurrentCol == t.DistrictCol()) {
        mRichBox->setVisible(false);
        if (gForenameBox)
            gForenameBox->HideRtb();
        Boxes().HideDistrictBox();
        if (gProject) {
            if (gProject->DistPick())
                gProject->ShowPickList();
            else
                gProject->HidePickIfNotWanted();
        }
        mDistrictView->setProperty("HelpContextID", kDistrictBoxHelpContext);
        if (gDistrictBox) {
            gDistrictBox->setColumn(gCurrentCol);
            gDistrictBox->Show();
        } else {
            placeBoxOverCell(*mDistrictBox, mDistrictView, kDistrictBoxHelpContext);
        }
        return;
    }

    if (gForenameBox)
        gForenameBox->HideRtb();
    Boxes().HideDistrictBox();
    mDistrictBox->setVisible(false);
    if (gProject)
        gProject->HidePickIfNotWanted();
    if (gRichTextbox)
        gRichTextbox->SetHelpContext();
    const int topic = HelpContextForColumn(gCurrentCol);
    placeBoxOverCell(*mRichBox, mRichView,
                     topic > 0 ? topic : (gRichTextbox ? gRichTextbox->HelpContextID() : 0));
}

void Form1::placeBoxOverCell(RichTextBox &box, RichTextView *view, int helpContext)
{
    FlexGrid &grid = *mGrid;
    EventsOffGuard quiet;
    box.ZOrder(0);
    const QString text = grid.TextArray(gTranscription->faIndex(grid.Row(), grid.Col()));
    box.setText(text);

    // The box lies over the cell as the view shows it; the wider box of the
    // OverSize option keeps the offset that option gives.
    int left = grid.CellLeft();
    int width = grid.CellWidth();
    gTranscription->GetBoxPosition(text, left, width, grid.Font());
    const QPoint origin = GridOrigin();
    const int cellLeft = mGridView->CellLeft() + (left - grid.CellLeft());
    box.Move(origin.x() + cellLeft, origin.y() + mGridView->CellTop() - 10, width,
             mGridView->CellHeight() + 10);
    box.setVisible(true);
    if (view && helpContext > 0)
        view->setProperty("HelpContextID", helpContext);
    if (isVisible()) {
        box.SetFocus();
        box.setBackColor(kEntryBack);
        box.setSelStart(int(text.size()));
    }
}

QPoint Form1::GridOrigin() const
{
    const QPoint pos = mGridView->pos();
    return {PixelsToTwipsX(pos.x()), PixelsToTwipsY(pos.y())};
}

int Form1::MouseCol() const
{
    return mGridView->MouseCol();
}

void Form1::PopupCellMenu()
{
    if (QMenu *menu = CellPopup())
        menu->popup(QCursor::pos());
}

void Form1::PopupRowMenu()
{
    if (QMenu *menu = RowPopup())
        menu->popup(QCursor::pos());
}

void Form1::Position_DropDown()
{
    frmPickList *pick = pickList();
    if (!pick)
        return;
    EventsOffGuard quiet;
    // All in pixels: the grid's place on the screen and the cell on it.
    const QPoint gridOnScreen = mGridView->mapToGlobal(QPoint(0, 0));
    const int cellLeft = TwipsToPixelsX(mGridView->CellLeft());
    const int cellTop = TwipsToPixelsY(mGridView->CellTop());
    const int cellHeight = TwipsToPixelsY(mGridView->CellHeight());
    const int cellWidth = TwipsToPixelsX(mGridView->CellWidth());
    pick->setWindowTitle(QString());
    const int height = pick->frameGeometry().height();
    int top = gridOnScreen.y() + cellTop + cellHeight;
    const int screenBottom = Services::screen().screenRect().bottom() + 1;
    if (screenBottom - TwipsToPixelsY(500) < top + height) {
        const int above = top - cellHeight - height;
        if (above > 0)
            top = above;
    }
    pick->move(gridOnScreen.x() + cellLeft, top);
    pick->resize(std::max(1, cellWidth), pick->height());
    pick->Resize_Picklist_LV();
}

// ---- The grid's mouse and scrolling, the side scroll bar -------------------------------

void Form1::fgInput_MouseUp(int Button, int, int, int)
{
    if (Button != kRightButton || !gTranscription)
        return;
    const int col = mGridView->MouseCol();
    const int row = mGridView->MouseRow();
    // The titles and the batch's first "+PAGE" line are never entered: the
    // click beeps and the box stays on the cell being edited.
    if (row == 0 || row == 1) {
        BeepIfEnabled();
        Boxes().GiveFocusBack();
        return;
    }
    if (!gTranscription->CheckInvalidEntries(true))
        return;
    if (row >= 0)
        mGrid->setRow(row);
    Set_TextBox();
    if (col != 0)
        PopupCellMenu();
    else
        PopupRowMenu();
}

void Form1::tbBox_MouseUp(int Button, int, int, int)
{
    if (Button != kRightButton || !gTranscription)
        return;
    const int col = mGridView->MouseCol();
    if (!gTranscription->CheckInvalidEntries(true))
        return;
    mGrid->setRowCol(gNewRow, gNewCol);
    Set_TextBox();
    if (col != 0)
        PopupCellMenu();
    else
        PopupRowMenu();
}

void Form1::fgInput_Scroll()
{
    if (!gEvents || gEvents->NoEvents() || !gTranscription)
        return;
    FlexGrid &grid = *mGrid;
    EventsOffGuard quiet;
    if (!gTranscription->ValidateBox(gCurrentCol, gCurrentRow)) {
        grid.setTopRow(gCurrentRow);
        return;
    }
    // The box follows its cell while the cell shows, and goes while not.
    const bool shows = grid.RowIsVisible(gCurrentRow);
    const int top = GridOrigin().y() + mGridView->CellTop() - 10;
    if (mRichBox->Visible()) {
        if (shows) {
            mRichBox->setTop(top);
            mRichBox->SetFocus();
        } else {
            mRichBox->setVisible(false);
        }
    } else if (mForeNameBox->Visible()) {
        if (shows)
            mForeNameBox->setTop(top);
        else if (gForenameBox)
            gForenameBox->HideRtb();
    } else if (mDistrictBox->Visible()) {
        if (shows)
            mDistrictBox->setTop(top);
        else {
            Boxes().HideDistrictBox();
            mDistrictBox->setVisible(false);
        }
    }
}

void Form1::VScroll1_Scroll(int value)
{
    if (!gTranscription || !gEvents || gEvents->NoEvents())
        return;
    EventsOffGuard quiet;
    if (gTranscription->CheckInvalidEntries(true))
        gTranscription->PositionGrid(value, true);
    else
        mVScroll->setValue(gCurrentRow);
    bSkipScrollChange = true;
}

void Form1::VScroll1_Change(int value)
{
    // While the thumb is dragged only the view moves.
    if (bSkipScrollChange || mVScroll->isSliderDown()) {
        bSkipScrollChange = false;
        return;
    }
    if (!gTranscription || !gEvents || gEvents->NoEvents())
        return;
    FlexGrid &grid = *mGrid;
    int target = value;
    if (!gTranscription->CheckInvalidEntries(true)) {
        {
            EventsOffGuard quiet;
            mVScroll->setValue(gCurrentRow);
        }
        target = mVScroll->value();
    } else {
        const int distance = std::abs(value - grid.Row());
        bool force = false;
        if (distance >= 2) {
            // A click in the track: a page of rows.
            force = true;
            const int page = gTranscription->RowsVisible();
            target = value > grid.Row() ? grid.TopRow() + page : grid.TopRow() - page;
        }
        target = std::clamp(target, 1, std::max(1, grid.Rows() - 1));
        gTranscription->PositionGrid(target, force);
        if (target < kFirstDataRow)
            target = kFirstDataRow;
    }
    // Through row 0, so that the move always reaches the cell-entry loop.
    {
        EventsOffGuard quiet;
        grid.setRow(0);
    }
    grid.setRow(target);
}
