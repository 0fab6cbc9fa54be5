// The keyboard side of the district box: the navigation and scan-viewer
// keys, typed characters and pick-list numbers.

#include "entry/DistrictBox.h"

#include "core/Globals.h"
#include "core/MessageWindows.h"
#include "core/Project.h"
#include "core/VbHelpers.h"
#include "core/clsEvents.h"
#include "entry/EntryBoxHelpers.h"
#include "entry/EntryBoxText.h"
#include "entry/EntryBoxWindow.h"
#include "entry/FlexGrid.h"
#include "entry/VbKeyCodes.h"
#include "lists/Districts.h"
#include "lists/PickListSink.h"
#include "transcription/Transcription.h"

#include <algorithm>

using namespace EntryBoxHelpers;
using namespace VbKeys;

namespace {

bool pickOn()
{
    return gProject && gProject->DistPick();
}

bool validating()
{
    return gProject && gProject->DistValidate();
}

// The scan-viewer keys of Up and Down with Shift, Ctrl or Alt; true when
// the key was one of them.
bool scanKey(int Shift, bool up)
{
    if (Shift == vbShiftMask) {
        if (scanShown())
            up ? BoxScan().ScrollUp() : BoxScan().ScrollDown();
    } else if (Shift == vbCtrlMask) {
        if (scanShown())
            BoxScan().MoveRuler1Line(up);
    } else if (Shift == vbAltMask) {
        if (scanShown())
            BoxScan().ScrollPage(up ? 0 : 2);
    } else {
        return false;
    }
    return true;
}

} // namespace

void DistrictBox::KeyDown(int &KeyCode, int Shift)
{
    FlexGrid *g = keyDownGrid(KeyCode);
    if (!g)
        return;
    switch (KeyCode) {
    case vbKeyBack:
        if (caretAtStart()) {
            KeyCode = 0;
            if (!RealText().isEmpty()) {
                mTypedText.clear();
                emptyBoxAndCell();
            } else {
                {
                    EventsOffGuard quiet;
                    writeCell(QString());
                }
                MoveToNextDistrictCell(Transcription::PreviousCell);
            }
        }
        return;
    case vbKeyTab:
    case vbKeyReturn:
        KeyCode = 0;
        enterOrTab(Shift);
        return;
    case vbKeyPageUp:
    case vbKeyPageDown:
        pageKey(KeyCode, true);
        return;
    case vbKeyLeft:
        if (Shift == vbShiftMask) {
            if (scanShown()) {
                KeyCode = 0;
                BoxScan().ScrollLeft();
            }
        } else if (caretAtStart()) {
            KeyCode = 0;
            int step = 1;
            if (gProject && gProject->bDeath() && gProject->IgnoreAaD()
                && g->Col() - 1 == gTranscription->AaDCol())
                step = 2;
            if (g->Col() - step >= 1)
                g->setCol(g->Col() - step);
        }
        return;
    case vbKeyRight:
        if (Shift == vbShiftMask) {
            if (scanShown())
                BoxScan().ScrollRight();
            return;
        }
        rightArrow(KeyCode);
        return;
    case vbKeyUp:
        KeyCode = 0;
        if (scanKey(Shift, true))
            return;
        if (g->Row() > 2)
            g->setRow(g->Row() - 1);
        else
            BeepIfEnabled();
        return;
    case vbKeyDown:
        KeyCode = 0;
        if (!scanKey(Shift, false))
            MoveToNextDistrictCell(Transcription::RowDown);
        return;
    case vbKeyInsert:
    case vbKeyF1 + 3:
        // No fill and no character picker in the district box.
        KeyCode = 0;
        BeepIfEnabled();
        return;
    default:
        commonKey(KeyCode, Shift);
        return;
    }
}

// Right takes the grey letter at the caret as typed; at the end of the
// text it moves to the next column. Over typed text it only moves the
// caret, which changes nothing.
void DistrictBox::rightArrow(int &KeyCode)
{
    FlexGrid *g = grid();
    const int pos = mBox->SelStart();
    if (pos >= mBox->Text().size()) {
        KeyCode = 0;
        if (g->Col() + 1 < g->Cols())
            g->setCol(g->Col() + 1);
        return;
    }
    if (mBox->SelLength() != 0 || mBox->colorAt(pos) != RichTextBox::GhostColour)
        return;
    mEdited = true;
    changed();
    {
        EventsOffGuard quiet;
        const QString typed = mBox->Text().left(pos + 1);
        mBox->setText(typed);
        mTypedText = typed;
        mBox->setSelStart(pos + 1);
    }
    FillDistrictPickList();
    // The box's own handling of Right brings the caret to pos + 1.
    mBox->setSelStart(pos);
}

void DistrictBox::enterOrTab(int Shift)
{
    const QString real = RealText();
    PickListSink &pick = PickList();
    if (!mBox->Text().isEmpty()) {
        const DistrictParts parts = Districts::SplitDistrict(real);
        if (parts.name.isEmpty() || parts.volume.isEmpty() || parts.format == 0) {
            if (VbTrim(parts.name) != QLatin1String("?") && Transcription::WildPosition(real) == 0
                && pick.iCount() > 0) {
                AddText(pick.PickText(1));
                if (gProject && gProject->AutoTab())
                    return;
            }
        } else {
            mBox->setSelStart(int(real.size()));
        }
    } else if (mCellRow > 2 && gTranscription) {
        EventsOffGuard quiet;
        const QString previous = gTranscription->GetPreviousName(mCellRow);
        mBox->setText(previous);
        mTypedText = previous;
    }
    MoveToNextDistrictCell(Shift == vbShiftMask ? Transcription::PreviousCell
                                                : Transcription::NextCell);
}

void DistrictBox::MoveToNextDistrictCell(int direction)
{
    if (!gTranscription || !mBox)
        return;
    if (!Validate()) {
        mBox->SetFocus();
        mBox->setSelStart(int(mTypedText.size()));
        return;
    }
    HideRtb();
    findNextCell(direction);
}

void DistrictBox::KeyPress(int &KeyAscii)
{
    mTypedPending = false;
    if (!mBox)
        return;
    const bool digit = KeyAscii >= '0' && KeyAscii <= '9';
    const bool numberInProgress = !mPickDigits.isEmpty();
    notePickDigit(KeyAscii);
    if (KeyAscii == vbKeyBack)
        return;
    if (KeyAscii == vbKeyTab || KeyAscii == vbKeyReturn) {
        KeyAscii = 0;
        return;
    }
    const auto typed = [this] { typedCharacter(); };
    const auto refuse = [&] {
        KeyAscii = 0;
        BeepIfEnabled();
    };
    // A character the batch file cannot hold never goes in, whatever the
    // validation option says.
    if (!IsStorableCharacter(KeyAscii)) {
        refuse();
        return;
    }
    const QChar c = CharacterOf(KeyAscii);
    const int caret = mBox->SelStart();
    if (c == u']') {
        if (validating() && !Transcription::CheckSquareBracket(RealText().left(caret)))
            refuse();
        else
            typed();
        return;
    }
    if (isLetter(c) || QStringLiteral("_[*{}?-,./:&'(~").contains(c)) {
        typed();
        return;
    }
    if (c == u' ') {
        if (caret == 0)
            KeyAscii = 0;
        else
            typed();
        return;
    }
    if (c == u')') {
        if (validating() && !Transcription::CheckRoundBracket(RealText().left(caret)))
            refuse();
        else
            typed();
        return;
    }
    if (digit) {
        const QString real = RealText();
        if (!pickOn() || InsideBraces(real, caret)) {
            typed();
            return;
        }
        // Digits after the name/volume separator are the volume number.
        int sep = int(real.indexOf(u',')) + 1;
        if (sep == 0)
            sep = int(real.indexOf(u'~')) + 1;
        if (sep > 0 && !numberInProgress && sep <= caret) {
            mPickDigits.clear();
            typed();
            return;
        }
        if (pickNumber(c.digitValue()))
            KeyAscii = 0;
        else
            typed();
        return;
    }
    if (validating())
        refuse();
    else
        typed();
}

bool DistrictBox::pickNumber(int digit)
{
    PickListSink &pick = PickList();
    const int n = pickNumberRow(digit);
    if (n > pick.iCount()) {
        mPickDigits.clear();
        return false;
    }
    if (n > 0)
        AddText(pick.PickText(n));
    else if (mCellRow < 3)
        BeepIfEnabled();
    else
        copyPreviousDistrict();
    return true;
}

void DistrictBox::copyPreviousDistrict()
{
    if (!gTranscription)
        return;
    {
        EventsOffGuard quiet;
        const QString previous = gTranscription->GetPreviousName(mCellRow);
        mBox->setText(previous);
        mTypedText = previous;
        changed();
        mBox->setSelStart(int(previous.size()));
    }
    PickList().PickClear();
    mPickDigits.clear();
}
