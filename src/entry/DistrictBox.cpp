#include "entry/DistrictBox.h"

#include "core/Globals.h"
#include "core/MessageWindows.h"
#include "core/Project.h"
#include "core/Services.h"
#include "core/ShowStatusSink.h"
#include "core/VbHelpers.h"
#include "core/clsEvents.h"
#include "entry/EntryBoxHelpers.h"
#include "entry/EntryBoxWindow.h"
#include "entry/EntryGhost.h"
#include "entry/FlexGrid.h"
#include "entry/RichTextBox.h"
#include "lists/Districts.h"
#include "lists/PickListSink.h"
#include "transcription/Change_Monitor.h"
#include "transcription/Transcription.h"

#include <algorithm>

using namespace EntryBoxHelpers;

namespace {

bool ghostOn()
{
    return gProject && gProject->bDistGhost();
}

bool pickOn()
{
    return gProject && gProject->DistPick();
}

// The mode letter of the district case rule.
QChar districtMode()
{
    if (!gProject)
        return u'D';
    if (gProject->DistrictUpper())
        return u'U';
    if (gProject->DistrictLeave())
        return u'D';
    if (gProject->DistrictLower())
        return u'L';
    return u'M';
}

// In the Roman-numeral volume format everything after the name/volume
// comma is a numeral: upper case whatever the mode.
bool IsAfterVolumeSeparator(const QString &text, int position)
{
    if (!gProject || gProject->iVnf() != Project::iVNFxx())
        return false;
    const int sep = Districts::FindSeperator(text.left(position));
    return sep >= 1 && sep < position;
}

// Cases the character at position (from 1) by what precedes it.
QChar FormatDistrictChar(const QString &text, int position, bool shift)
{
    const QChar c = text.at(position - 1);
    const QChar mode = IsAfterVolumeSeparator(text, position) ? QChar(u'U') : districtMode();
    const auto upper = [&](bool up) { return up != shift ? c.toUpper() : c.toLower(); };
    switch (mode.unicode()) {
    case u'U':
        return upper(true);
    case u'L':
        return upper(false);
    case u'M': {
        const bool start = position == 1
                           || QStringLiteral(" -.,/").contains(text.at(position - 2));
        return upper(start);
    }
    default:
        return c;
    }
}

} // namespace

QString DistrictBox::FormatDistrictText(const QString &text, bool whole, int position)
{
    QString result = text;
    if (!whole) {
        if (position >= 1 && position <= result.size())
            result[position - 1] = FormatDistrictChar(result, position,
                                                      Services::shiftHeld());
        return result;
    }
    for (int i = 1; i <= result.size(); ++i)
        result[i - 1] = FormatDistrictChar(result, i, false);
    return result;
}

DistrictBox::DistrictBox(QObject *parent) : ListEntryBox(3, parent) {}

// ---- Show ---------------------------------------------------------------------------

void DistrictBox::Show()
{
    FlexGrid *g = grid();
    if (!mBox || !g || !gTranscription)
        return;
    {
        EventsOffGuard quiet;
        mCellText = g->Text();
        takeCurrentCell();
        mGhostSource.clear();
        mEdited = false;
        mBox->setText(mCellText);
        mTypedText = mCellText;
        mPickDigits.clear();
        mTypedPending = false;
        UncolourDistrictText(int(mCellText.size()));
        if (gProject && gProject->DropDownPick() && gProject->DistPick())
            BoxWindow().Position_DropDown();
    }
    FillDistrictPickList();
    {
        EventsOffGuard quiet;
        layOverCell(VbTrim(mCellText));
        mBox->setSelStart(int(mCellText.size()));
        mBox->setSelColor(RichTextBox::TypedColour);
    }
}

// ---- Text and ghost --------------------------------------------------------------------

QString DistrictBox::RealText()
{
    if (!mBox)
        return QString();
    const QString text = mBox->Text();
    mTypedText = ghostOn() ? text.left(EntryGhost::typedLength(*mBox, mBox->SelStart())) : text;
    return mTypedText;
}

void DistrictBox::UncolourDistrictText(int n)
{
    if (!mBox)
        return;
    EventsOffGuard quiet;
    EntryGhost::makeTyped(*mBox, n, n);
}

void DistrictBox::Change()
{
    if (!mBox)
        return;
    mEdited = true;
    changed();
    mSavedCaret = mBox->SelStart();
    {
        EventsOffGuard quiet;
        QString real = RealText();
        if (gTranscription && !gTranscription->CheckQM(real, false))
            BeepIfEnabled();
        // Only the character just typed takes the case rule; a deletion or
        // a caret move re-cases nothing. A paste is cased as a whole.
        if (mTypedPending)
            real = mTypedPasted ? FormatDistrictText(real.left(mSavedCaret), true, 0)
                                      .append(real.mid(mSavedCaret))
                                : FormatDistrictText(real, false, mSavedCaret);
        mTypedPending = false;
        mBox->setText(real);
        mTypedText = real;
        placeForOverSize();
        mBox->setSelStart(mSavedCaret);
    }
    FillDistrictPickList();
    mBox->setSelStart(mSavedCaret);
}

void DistrictBox::FillDistrictPickList()
{
    if (!mBox || !pickOn())
        return;
    PickListSink &pick = PickList();
    if (!mTypedText.isEmpty()) {
        ListDistrictMatches(mTypedText);
    } else {
        pick.PickClear();
        EventsOffGuard quiet;
        mBox->setSelStart(0);
        mBox->setSelColor(RichTextBox::TypedColour);
    }
    pick.MakeVisible();
    mGhostSource.clear();
    if (pick.iCount() > 0) {
        if (!mTypedText.startsWith(u','))
            mGhostSource = pick.PickText(1);
        DistrictGhostMatch();
    }
    pick.setBFromPickList(false);
    if (gProject->OversizedDrop() && gProject->DropDownPick() && pick.iCount() > 0) {
        EventsOffGuard quiet;
        pick.FitToContents();
    }
}

void DistrictBox::ListDistrictMatches(QString text)
{
    while (text.contains(QStringLiteral("  ")))
        text.replace(QStringLiteral("  "), QStringLiteral(" "));
    if (gDistricts)
        gDistricts->ListMatchingDistricts(text);
    else
        PickList().PickClear();
}

void DistrictBox::DistrictGhostMatch()
{
    if (!mBox || !ghostOn())
        return;
    EventsOffGuard quiet;
    const QString text = mBox->Text();
    // The completion continues the typed text; a first row that does not
    // begin with it (a recent district, a wildcard match) gives none.
    if (Transcription::WildPosition(text) == 0
        && mGhostSource.startsWith(text, Qt::CaseInsensitive))
        EntryGhost::append(*mBox, mGhostSource.mid(text.size()));
}

// ---- Adding text ---------------------------------------------------------------------------

void DistrictBox::AddText(const QString &text)
{
    if (!mBox)
        return;
    mEdited = true;
    changed();
    {
        EventsOffGuard quiet;
        mBox->SetFocus();
        QString added = keepAddedAsIs() ? text : VbTrim(FormatDistrictText(text, true, 0));
        if (added.endsWith(u'*'))
            added.chop(1);
        mBox->setText(added);
        writeCell(added);
        mBox->setSelStart(int(added.size()));
        mTypedText = added;
    }
    if (gProject && gProject->AutoTab()) {
        MoveToNextDistrictCell(Transcription::NextCell);
        return;
    }
    if (mPickDigits.isEmpty())
        FillDistrictPickList();
    mBox->SetFocus();
}

void DistrictBox::CaseChange()
{
    if (!mBox)
        return;
    // Not suppressed: the box's Change refills the list for the new text.
    const QString text = FormatDistrictText(RealText(), true, 0);
    mBox->setText(text);
    mBox->setSelStart(int(text.size()));
}

void DistrictBox::DelWord()
{
    if (!mBox)
        return;
    EventsOffGuard quiet;
    changed();
    mBox->setText(QString());
    writeCell(QString());
    mGhostSource.clear();
    mTypedText.clear();
    mBox->setSelStart(0);
    mBox->SetFocus();
    if (pickOn())
        PickList().PickClear();
}

void DistrictBox::ClearBox()
{
    if (!mBox)
        return;
    EventsOffGuard quiet;
    mBox->setText(QString());
    mGhostSource.clear();
    mTypedText.clear();
    mBox->setSelStart(0);
    changed();
}

// ---- Leaving --------------------------------------------------------------------------------

bool DistrictBox::Validate()
{
    if (!mBox || !mBox->Visible()) {
        if (gProject && gProject->DropDownPick())
            gProject->HidePickList();
        return true;
    }
    if (!OfferNewDistrict()) {
        stayOnCell();
        return false;
    }
    if (gProject && gProject->DropDownPick())
        gProject->HidePickList();
    const FlexGrid *g = grid();
    if (mEdited && g && gDistricts) {
        const QString cell = g->TextArray(mCellIndex);
        if (Transcription::WildPosition(cell) == 0)
            gDistricts->Propose(cell);
    }
    return true;
}

bool DistrictBox::OfferNewDistrict()
{
    if (!gTranscription)
        return true;
    QString s = Transcription::Compact(RealText());
    // The flag of the row being edited, not of the row the grid moved to.
    const bool accepted = !gTranscription->IsDistrictValidated(mCellRow);
    if (accepted || s.isEmpty() || s == QLatin1String("?")) {
        EventsOffGuard quiet;
        writeCell(s);
        return true;
    }
    if (!gProject || !gProject->DistValidate()) {
        // The program's own write: the box's Change must not take it for
        // typing.
        EventsOffGuard quiet;
        mBox->setText(s);
        writeCell(s);
        return true;
    }
    const DistrictParts parts = Districts::SplitDistrict(s);
    if (!gTranscription->CheckString(parts.name) || !gTranscription->CheckString(parts.volume))
        return false;
    // Blanks typed around the comma are not part of the name or volume.
    s = VbTrim(parts.name) + u',' + VbTrim(parts.volume);
    {
        EventsOffGuard quiet;
        mBox->setText(s);
        // The text as now shown: a refused leave puts the caret after it, so
        // that a missing volume is typed after the comma added here.
        mTypedText = s;
        mBox->setSelStart(int(s.size()));
    }
    if (!gDistricts || !gDistricts->ValidateDistrict(s, true, accepted)) {
        StatusBar().ShowMsg(QStringLiteral("Invalid District"), true, false);
        BeepIfEnabled();
        return false;
    }
    if (Transcription::WildPosition(s) != 0) {
        if (!gTranscription->ValidateWildCards(s))
            return false;
    } else if (!gDistricts->TestForDistrict(s)
               && (!gChangeMonitor || gChangeMonitor->IfCellChanged())) {
        BeepIfEnabled();
        const int answer = ShowMessage(
            s + QStringLiteral(" is a new District.\r\nWould you like to add it to your "
                               "District File?"),
            Mb::YesNoCancel | Mb::Question | Mb::DefaultButton3, kProductName);
        if (answer == Mb::Cancel)
            return false;
        if (answer == Mb::Yes && !gDistricts->AddDistrict(s)) {
            ShowMessage(QStringLiteral("District failed to add - Please report this error"),
                        Mb::Critical, kProductName);
            return false;
        }
    }
    EventsOffGuard quiet;
    writeCell(s);
    return true;
}
