// The keyboard side of the forename box: the navigation, fill and
// scan-viewer keys, typed characters and pick-list numbers.

#include "entry/ForenameBox.h"

#include "core/Globals.h"
#include "core/MessageWindows.h"
#include "core/Project.h"
#include "core/Services.h"
#include "core/VbHelpers.h"
#include "core/clsEvents.h"
#include "entry/EntryBoxHelpers.h"
#include "entry/EntryBoxText.h"
#include "entry/EntryBoxWindow.h"
#include "entry/FlexGrid.h"
#include "entry/VbKeyCodes.h"
#include "lists/ForeNames.h"
#include "lists/PickListSink.h"
#include "transcription/Transcription.h"

#include <algorithm>

using namespace EntryBoxHelpers;
using namespace VbKeys;

// ---- Keys ------------------------------------------------------------------------------------

void ForenameBox::KeyDown(int &KeyCode, int Shift)
{
    FlexGrid *g = keyDownGrid(KeyCode);
    if (!g)
        return;
    switch (KeyCode) {
    case vbKeyBack:
        if (caretAtStart()) {
            KeyCode = 0;
            if (!RealText().isEmpty()) {
                emptyBoxAndCell();
            } else {
                MoveToNextForenameCell(Transcription::PreviousCell);
            }
        }
        return;
    case vbKeyReturn:
        if (gProject && gProject->IgnoreEnter()) {
            EventsOffGuard quiet;
            const QString real = RealText();
            mBox->setText(real);
            mBox->setSelStart(mSavedCaret);
        }
        [[fallthrough]];
    case vbKeyTab: {
        KeyCode = 0;
        {
            EventsOffGuard quiet;
            // Whatever ghost text still shows is taken as typed.
            mBox->setText(gForeNames ? gForeNames->FormatForeName(mBox->Text()) : mBox->Text());
            mBox->setSelStart(int(mBox->Text().size()));
        }
        const QString real = RealText();
        if (VbTrim(g->TextArray(mCellIndex)) != VbTrim(real))
            changed();
        if (mBox->Text().isEmpty() && mCellRow >= 3) {
            EventsOffGuard quiet;
            mBox->setText(gTranscription->GetPreviousName(mCellRow));
        }
        MoveToNextForenameCell(Shift ? Transcription::PreviousCell : Transcription::NextCell);
        return;
    }
    case vbKeyPageUp:
    case vbKeyPageDown:
        pageKey(KeyCode, false);
        return;
    case vbKeyLeft:
        if (scanSideKey(KeyCode, Shift, true))
            return;
        if (caretAtStart()) {
            KeyCode = 0;
            if (g->Col() > 1)
                g->setCol(g->Col() - 1);
        }
        return;
    case vbKeyRight:
        if (scanSideKey(KeyCode, Shift, false))
            return;
        UncolourForenameText(mBox->SelStart());
        if (mBox->SelStart() >= mBox->Text().size()) {
            KeyCode = 0;
            if (g->Col() + 1 < g->Cols())
                g->setCol(g->Col() + 1);
        }
        return;
    case vbKeyUp:
        KeyCode = 0;
        if (scanArrowKey(Shift, true))
            return;
        if (mCellRow >= 3)
            MoveToNextForenameCell(Transcription::RowUp);
        else
            BeepIfEnabled();
        return;
    case vbKeyDown:
        KeyCode = 0;
        if (!scanArrowKey(Shift, false))
            MoveToNextForenameCell(Transcription::RowDown);
        return;
    case vbKeyInsert:
        KeyCode = 0;
        Fillit(Services::shiftHeld());
        return;
    case vbKeyF1 + 3:
        KeyCode = 0;
        if (Shift == 0)
            BoxPicker().Wakeup();
        return;
    default:
        commonKey(KeyCode, Shift);
        return;
    }
}

void ForenameBox::MoveToNextForenameCell(int direction)
{
    if (!gTranscription)
        return;
    {
        EventsOffGuard quiet;
        writeCell(RealText());
    }
    findNextCell(direction);
}

void ForenameBox::KeyPress(int &KeyAscii)
{
    mTypedPending = false;
    if (!mBox)
        return;
    const bool digit = KeyAscii >= '0' && KeyAscii <= '9';
    notePickDigit(KeyAscii);
    if (KeyAscii == vbKeyBack)
        return;
    const auto typed = [this] { typedCharacter(); };
    const auto refuse = [&] {
        KeyAscii = 0;
        BeepIfEnabled();
    };
    if (!IsStorableCharacter(KeyAscii)) {
        // Tab and Enter did their work in KeyDown.
        if (KeyAscii == vbKeyTab || KeyAscii == vbKeyReturn)
            KeyAscii = 0;
        else
            refuse();
        return;
    }
    const QChar c = CharacterOf(KeyAscii);
    const int caret = mBox->SelStart();
    if (isLetter(c) || QStringLiteral("-' _[*{}(,").contains(c)) {
        typed();
        return;
    }
    if (c == u'.') {
        // A full stop goes before a space just typed, and with PeriodSpace
        // on a space follows it ("J" then "." gives "J. "). At the start of
        // the box it is typed alone.
        if (caret > 0) {
            if (mBox->Text().at(caret - 1) == u' ')
                mBox->setSelStart(caret - 1);
            if (gProject && gProject->PeriodSpace()) {
                Services::input().sendKey(vbKeySpace, true);
                Services::input().sendKey(vbKeySpace, false);
            }
        }
        typed();
        return;
    }
    if (c == u'?') {
        if (gTranscription && gTranscription->CheckQM(RealText() + u'?', false))
            typed();
        else
            refuse();
        return;
    }
    if (c == u']' || c == u')') {
        const QString left = RealText().left(caret);
        const bool open = c == u']' ? Transcription::CheckSquareBracket(left)
                                    : Transcription::CheckRoundBracket(left);
        if (open)
            typed();
        else
            refuse();
        return;
    }
    if (digit) {
        if (InsideBraces(mBox->Text(), caret)) {
            typed();
            return;
        }
        KeyAscii = 0;
        pickNumber(c.digitValue());
        return;
    }
    refuse();
}

void ForenameBox::pickNumber(int digit)
{
    PickListSink &pick = PickList();
    const int n = pickNumberRow(digit);
    if (n > pick.iCount()) {
        BeepIfEnabled();
        return;
    }
    if (n > 9) {
        EventsOffGuard quiet;
        mBox->setText(mTextBeforeAdd);
        mBox->setSelStart(int(mTextBeforeAdd.size()));
    }
    if (n != 0)
        AddText(VbTrim(pick.PickText(n)));
    else if (mCellRow >= 3)
        CompleteFromPreviousName();
    else
        BeepIfEnabled();
}
