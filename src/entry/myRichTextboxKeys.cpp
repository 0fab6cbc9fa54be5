// The keyboard side of the general entry box: typed characters, the copy
// of the row above, and the navigation, fill and scan-viewer keys.

#include "entry/myRichTextbox.h"

#include "core/Globals.h"
#include "core/MessageWindows.h"
#include "core/Project.h"
#include "core/Services.h"
#include "core/VbHelpers.h"
#include "core/clsEvents.h"
#include "entry/EntryBoxHelpers.h"
#include "entry/EntryBoxWindow.h"
#include "entry/FlexGrid.h"
#include "entry/VbKeyCodes.h"
#include "transcription/Transcription.h"

#include <algorithm>

using namespace EntryBoxHelpers;
using namespace VbKeys;

// ---- Typed characters -------------------------------------------------------------

void myRichTextbox::aRTB_KeyPress(int &KeyAscii)
{
    mTypedPending = false;
    if (!mBox)
        return;
    EventsOffGuard quiet;
    if (KeyAscii == vbKeyTab || KeyAscii == vbKeyReturn) {
        KeyAscii = 0;
        return;
    }
    const bool digit = KeyAscii >= '0' && KeyAscii <= '9';
    bool silent = false;
    if (checkCharacter(KeyAscii, silent)) {
        if (KeyAscii >= 32) {
            mTypedPending = true;
            mTypedPasted = mBox->pasting();
        }
        return;
    }
    const int code = KeyAscii;
    KeyAscii = 0;
    if (digit && VbTrim(boxText()).isEmpty()) {
        copyPreviousValue(code - '0');
        return;
    }
    if (!silent)
        BeepIfEnabled();
}

void myRichTextbox::copyPreviousValue(int digit)
{
    FlexGrid *grid = flexgrid();
    if (!grid || !gTranscription || grid->Row() < 3) {
        BeepIfEnabled();
        return;
    }
    QString previous = gTranscription->GetPreviousName(grid->Row());
    if (previous.isEmpty()
        || (isKind(grid->Col(), gTranscription->SurnameCol())
            && Transcription::BeginsAsCommentLine(previous))) {
        BeepIfEnabled();
        return;
    }
    if (digit != 0 && digit < previous.size())
        previous = previous.left(digit);
    EventsOffGuard quiet;
    mBox->setText(previous);
    grid->setText(previous);
    mBox->setSelStart(int(previous.size()));
    // The cell changed like any typed one: its row must reach the work file.
    changed();
}

// ---- Keys ---------------------------------------------------------------------------

void myRichTextbox::aRTB_KeyDown(int &KeyCode, int Shift)
{
    mTypedPending = false;
    FlexGrid *grid = flexgrid();
    if (!mBox || !grid || !gTranscription)
        return;
    if (KeyCode >= vbKeyA && KeyCode <= vbKeyA + 25)
        return;
    const int row = grid->Row();
    const int col = grid->Col();
    const int lastCol = grid->Cols() - 1;
    const bool atStart = mBox->SelStart() == 0 && mBox->SelLength() == 0;

    switch (KeyCode) {
    case vbKeyBack:
        backspace(KeyCode);
        return;
    case vbKeyTab:
    case vbKeyReturn:
        tabOrEnter(KeyCode, Shift);
        return;
    case vbKeyPageUp:
    case vbKeyPageDown: {
        const bool down = KeyCode == vbKeyPageDown;
        KeyCode = 0;
        pageKey(down);
        return;
    }
    case vbKeyHome:
        KeyCode = 0;
        moveTo(row, gCurrentCol == 1 ? lastCol : 1);
        return;
    case vbKeyLeft:
        if (scanSideKey(KeyCode, Shift, true))
            return;
        if (atStart && col >= 2) {
            KeyCode = 0;
            moveTo(row, col - 1);
        } else if (atStart && col == 1 && row >= 3) {
            KeyCode = 0;
            moveTo(row - 1, lastCol);
        }
        return;
    case vbKeyRight:
        if (scanSideKey(KeyCode, Shift, false))
            return;
        if (mBox->SelStart() + mBox->SelLength() >= mBox->Text().size()) {
            KeyCode = 0;
            if (!creditMove())
                Incr_Cell(true);
        }
        return;
    case vbKeyUp:
        KeyCode = 0;
        if (!scanArrowKey(Shift, true) && row >= 3)
            moveTo(row - 1, col);
        return;
    case vbKeyDown:
        KeyCode = 0;
        if (scanArrowKey(Shift, false))
            return;
        if (!creditMove()) {
            if (row == grid->Rows() - 1 && !gTranscription->IsRowBlank(row))
                gTranscription->AddRow();
            if (row + 1 < grid->Rows())
                moveTo(row + 1, col);
        }
        return;
    case vbKeyInsert:
        KeyCode = 0;
        Fillit(Services::shiftHeld());
        return;
    case vbKeyF1 + 3: {
        KeyCode = 0;
        const bool nameColumn = isKind(col, gTranscription->SurnameCol())
                                || isKind(col, gTranscription->ForenamesCol())
                                || isKind(col, gTranscription->MotherCol())
                                || isKind(col, gTranscription->SpouseCol());
        if (Shift == 0 && nameColumn)
            BoxPicker().Wakeup();
        else
            BeepIfEnabled();
        return;
    }
    default:
        editFunctionKey(KeyCode, Shift, [this] { DeleteLastWord(); },
                        [this] { ClearCurrentCell(); });
        return;
    }
}

void myRichTextbox::backspace(int &KeyCode)
{
    FlexGrid *grid = flexgrid();
    const int start = mBox->SelStart();
    if (start > 0) {
        // With a selection the text is cut there: the selection and all
        // after it go, and the key is used up. Without one the box's own
        // Backspace removes the character before the caret.
        if (mBox->SelLength() > 0) {
            KeyCode = 0;
            // Its Change writes the cell as for any edit.
            mBox->setText(mBox->Text().left(start));
            mBox->setSelStart(start);
        }
        return;
    }
    // At the start, with or without a selection: box and cell are emptied.
    if (!mBox->Text().isEmpty() || !grid->Text().isEmpty()) {
        EventsOffGuard quiet;
        mBox->setText(QString());
        grid->setText(QString());
        changed();
        return;
    }
    KeyCode = 0;
    const int row = grid->Row();
    const int col = grid->Col();
    const bool vertical = gProject && gProject->VerticalTab();
    if (col >= 2) {
        if (!vertical)
            moveTo(row, col - 1);
        else if (row > 2) // row 1 is never entered
            moveTo(row - 1, col);
        else
            BeepIfEnabled();
    } else if (col == 1 && row >= 3) {
        moveTo(row - 1, vertical ? col : grid->Cols() - 1);
    }
}

void myRichTextbox::tabOrEnter(int &KeyCode, int Shift)
{
    FlexGrid *grid = flexgrid();
    KeyCode = 0;
    if (mBox->SelLength() > 0) {
        EventsOffGuard quiet;
        mBox->setSelStart(mBox->SelStart() + mBox->SelLength());
        grid->setText(mBox->Text());
    }
    const int row = grid->Row();
    const int col = grid->Col();
    if (row >= 3 && VbTrim(mBox->Text()).isEmpty() && !isKind(col, gTranscription->PageCol())) {
        const QString previous = gTranscription->GetPreviousName(row);
        if (!previous.isEmpty()) {
            EventsOffGuard quiet;
            grid->setTextArray(gTranscription->faIndex(row, col), previous);
            mBox->setText(previous);
            changed();
        }
    }
    if (Shift != 0) {
        Decr_Cell();
        return;
    }
    if (creditMove())
        return;
    Incr_Cell(false);
    if (grid->Col() == gTranscription->SurnameCol() && gProject && gProject->Skip()
        && !gProject->Invalid()) {
        Services::input().sendKey(vbKeyTab, true);
        Services::input().sendKey(vbKeyTab, false);
    }
}

bool myRichTextbox::creditMove()
{
    FlexGrid *grid = flexgrid();
    QString line = mBox->Text();
    if (!VbUCaseStartsWith(line, QLatin1String("+CREDIT")))
        return false;
    if (Transcription::ValidateCredit(line, true) && grid->Col() + 1 < grid->Cols())
        moveTo(grid->Row(), grid->Col() + 1);
    return true;
}

void myRichTextbox::pageKey(bool down)
{
    FlexGrid *grid = flexgrid();
    const int visible = gTranscription->RowsVisible();
    const int target = pageTarget(*grid, visible, down);
    grid->setRow(target);
    gTranscription->ScrollGrid(target);
}

void myRichTextbox::moveTo(int row, int col)
{
    FlexGrid *grid = flexgrid();
    if (!grid || (row == grid->Row() && col == grid->Col()))
        return;
    grid->setRowCol(row, col);
}
