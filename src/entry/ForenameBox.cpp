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
#include "entry/EntryGhost.h"
#include "entry/FlexGrid.h"
#include "entry/RichTextBox.h"
#include "entry/VbKeyCodes.h"
#include "lists/ForeNames.h"
#include "lists/PickListSink.h"
#include "transcription/Change_Monitor.h"
#include "transcription/EntryBoxes.h"
#include "transcription/Transcription.h"

#include <algorithm>

using namespace EntryBoxHelpers;
using namespace VbKeys;

namespace {

bool ghostOn()
{
    return gProject && gProject->bForeGhost();
}

QString formatForeName(const QString &text)
{
    return gForeNames ? gForeNames->FormatForeName(text) : text;
}

bool StartsWithLetter(const QString &word)
{
    return !word.isEmpty() && isLetter(word.at(0));
}

} // namespace

QStringList SplitKeepingSeparators(const QString &text, const QString &separators)
{
    QStringList pieces;
    QString piece;
    for (const QChar c : text) {
        piece.append(c);
        if (separators.contains(c)) {
            pieces.append(piece);
            piece.clear();
        }
    }
    pieces.append(piece);
    return pieces;
}

ForenameBox::ForenameBox(QObject *parent) : ListEntryBox(2, parent) {}

// ---- Show ---------------------------------------------------------------------------

void ForenameBox::Show()
{
    FlexGrid *g = grid();
    if (!mBox || !g || !gTranscription)
        return;
    {
        EventsOffGuard quiet;
        mBox->setText(VbTrim(g->Text()));
        takeCurrentCell();
        mGhostName.clear();
        mTextBeforeAdd.clear();
        // A number begun in another cell does not go on here.
        mPickDigits.clear();
        if (gProject && gProject->DropDownPick() && gProject->ForePick())
            BoxWindow().Position_DropDown();
        if (VbTrim(mBox->Text()).isEmpty())
            FillForenamePickList();
        layOverCell(VbTrim(g->Text()));
        mBox->setSelStart(int(mBox->Text().size()));
        mBox->setSelColor(RichTextBox::TypedColour);
    }
}

// ---- Text and ghost --------------------------------------------------------------------

QString ForenameBox::RealText()
{
    if (!mBox)
        return QString();
    mSavedCaret = mBox->SelStart();
    const QString text = mBox->Text();
    if (!ghostOn())
        return text;
    return text.left(EntryGhost::typedLength(*mBox, mSavedCaret));
}

void ForenameBox::UncolourForenameText(int p)
{
    if (!mBox || !ghostOn())
        return;
    EventsOffGuard quiet;
    EntryGhost::makeTyped(*mBox, p + 1, p);
}

void ForenameBox::Change()
{
    if (!mBox)
        return;
    changed();
    {
        EventsOffGuard quiet;
        QString real = RealText();
        // Only the character just typed takes the case rule, with Shift
        // inverting it; what was there already is left as it was (a
        // deletion re-cases nothing, and Shift never re-cases the rest).
        if (mTypedPending && gForeNames)
            real = mTypedPasted ? gForeNames->FormatForeName(real, true, mSavedCaret)
                                      .left(mSavedCaret)
                                      .append(real.mid(mSavedCaret))
                                : gForeNames->FormatForeName(real, false, mSavedCaret);
        mTypedPending = false;
        placeForOverSize();
        mBox->setText(real);
        mBox->setSelStart(mSavedCaret);
    }
    FillForenamePickList();
}

void ForenameBox::FillForenamePickList()
{
    if (!mBox)
        return;
    if (!gProject || !gProject->ForePick()) {
        mGhostName.clear();
        return;
    }
    PickListSink &pick = PickList();
    const QString text = mBox->Text();
    if (gForeNames) {
        if (VbTrim(text).isEmpty()) {
            gForeNames->ListTopNames();
        } else {
            QString compact = Transcription::Compact(text);
            if (text.endsWith(u' '))
                compact.append(u' ');
            const qsizetype space = compact.lastIndexOf(u' ');
            gForeNames->ListMatchingNames(space >= 0 ? compact.left(space) : QString(),
                                          compact.mid(space + 1));
        }
    }
    pick.MakeVisible();
    if (ghostOn()) {
        mGhostName.clear();
        if (!text.isEmpty() && !text.endsWith(u' ') && pick.iCount() >= 1)
            mGhostName = pick.PickText(1);
        ForenameGhostMatch();
    }
    if (gProject->DropDownPick() && gProject->OversizedDrop() && pick.iCount() >= 1) {
        EventsOffGuard quiet;
        pick.FitToContents();
    }
}

void ForenameBox::ForenameGhostMatch()
{
    if (!ghostOn() || !mBox)
        return;
    EventsOffGuard quiet;
    const int caret = mBox->SelStart();
    const QString text = mBox->Text();
    const QString word = text.mid(text.lastIndexOf(u' ') + 1);
    QString ghost;
    if (word.isEmpty()) {
        ghost = mGhostName;
    } else {
        const QString typed = VbUCase(VbTrim(word));
        const QString name = VbUCase(VbTrim(mGhostName));
        if (!typed.isEmpty() && !name.isEmpty()) {
            int k = 0;
            while (k < typed.size() && k < name.size() && typed.at(k) == name.at(k))
                ++k;
            ghost = mGhostName.mid(k);
        }
    }
    if (Transcription::WildPosition(WordAtCaret()) == 0)
        EntryGhost::append(*mBox, ghost);
    mBox->setSelStart(caret);
}

QString ForenameBox::WordAtCaret() const
{
    const QString text = mBox->Text();
    const int caret = mBox->SelStart();
    const qsizetype start = text.lastIndexOf(u' ', std::max(caret - 1, 0) - text.size());
    qsizetype end = text.indexOf(u' ', caret);
    if (end < 0)
        end = text.size();
    const qsizetype from = caret == 0 ? 0 : start + 1;
    return text.mid(from, end - from);
}

// ---- Adding text ---------------------------------------------------------------------------

void ForenameBox::AddText(const QString &text)
{
    if (!mBox)
        return;
    {
        EventsOffGuard quiet;
        const QString old = RealText();
        mTextBeforeAdd = old;
        QString added = text;
        if (!keepAddedAsIs())
            added = VbTrim(formatForeName(added));
        QString result;
        if (added.contains(u' ') || !old.contains(u' '))
            result = added;
        else
            result = old.left(old.lastIndexOf(u' ') + 1) + added;
        mBox->setText(result + u' ');
        UncolourForenameText(int(result.size()) + 1);
        writeCell(result);
        changed();
        placeForOverSize();
    }
    if (!(PickList().iCount() >= 10 && !mPickDigits.isEmpty()))
        FillForenamePickList();
    mBox->SetFocus();
    mBox->setSelStart(int(mBox->Text().size()));
}

void ForenameBox::CompleteFromPreviousName()
{
    if (!gTranscription)
        return;
    const QString previous = gTranscription->GetPreviousName(mCellRow);
    if (previous.isEmpty())
        return;
    EventsOffGuard quiet;
    changed();
    const QStringList pieces = SplitKeepingSeparators(previous, QStringLiteral(" ."));
    const QString real = RealText();
    QString text;
    if (VbTrim(real).isEmpty()) {
        text = pieces.value(0);
    } else {
        QStringList have;
        for (const QString &piece : SplitKeepingSeparators(real, QStringLiteral(" .")))
            have << VbUCase(VbTrim(piece));
        text = real;
        for (const QString &piece : pieces) {
            if (!have.contains(VbUCase(VbTrim(piece)))) {
                text += piece;
                break;
            }
        }
    }
    if (!text.endsWith(u'.') && !text.endsWith(u' '))
        text.append(u' ');
    mBox->setText(text); // all of it typed text
    mBox->setSelStart(int(text.size()));
    if (FlexGrid *g = grid())
        g->setText(text);
}

// ---- Leaving --------------------------------------------------------------------------------

bool ForenameBox::Validate()
{
    if (OfferNewForename()) {
        if (gProject && gProject->DropDownPick())
            gProject->HidePickList();
        return true;
    }
    stayOnCell();
    return false;
}

bool ForenameBox::OfferNewForename()
{
    if (!gTranscription)
        return true;
    const QString compact = Transcription::Compact(RealText());
    if (compact.isEmpty()) {
        EventsOffGuard quiet;
        writeCell(QString());
        return true;
    }
    if (!gTranscription->CheckString(compact, mCellRow, mColumn))
        return false;
    if (gProject && gProject->ForenameWarning() && gForeNames) {
        QString words = compact;
        words.replace(u'.', u' ').replace(u',', u' ');
        const bool cellChanged = !gChangeMonitor || gChangeMonitor->IfCellChanged();
        for (const QString &piece : words.split(u' ')) {
            const QString word = VbTrim(piece);
            if (word.isEmpty() || !StartsWithLetter(VbUCase(word))
                || Transcription::WildPosition(word) != 0 || gForeNames->TestForName(word)
                || !cellChanged || (word.size() == 1 && !gProject->SingleLetterWarning()))
                continue;
            BeepIfEnabled();
            const int answer = ShowMessage(
                word + QStringLiteral(" is a new Forename - Do you want to add it to your "
                                      "Forenames file?"),
                Mb::YesNoCancel | Mb::Question | Mb::DefaultButton2,
                kProductName + QStringLiteral(" - New Name"));
            if (answer == Mb::Cancel)
                return false;
            if (answer == Mb::Yes && gForeNames->AddName(word).isEmpty())
                ShowMessage(QStringLiteral("Name failed to add - Please report this error"),
                            Mb::Critical, kProductName);
        }
    }
    EventsOffGuard quiet;
    writeCell(compact + u' ');
    return true;
}

// ---- Menu commands ------------------------------------------------------------------------------

void ForenameBox::CaseChange()
{
    if (!mBox)
        return;
    EventsOffGuard quiet;
    mBox->setText(formatForeName(mBox->Text()));
    mBox->setSelStart(int(mBox->Text().size()));
}

template<typename Convert>
void ForenameBox::convertSelection(Convert convert)
{
    if (!mBox)
        return;
    {
        EventsOffGuard quiet;
        const int start = mBox->SelStart();
        const int length = mBox->SelLength();
        const QString real = RealText();
        if (length > 0) {
            mBox->setSelStart(start);
            mBox->setSelLength(length);
            mBox->setSelText(convert(mBox->SelText()));
            mBox->setSelStart(0);
            mBox->setSelLength(start + length);
            mBox->setSelColor(RichTextBox::TypedColour);
        } else {
            mBox->setText(convert(real));
        }
        changed();
        mBox->setSelStart(start);
        mBox->setSelLength(length);
    }
    FillForenamePickList();
}

void ForenameBox::UpperCase()
{
    convertSelection([](const QString &text) { return VbUCase(text); });
}

void ForenameBox::LowerCase()
{
    convertSelection([](const QString &text) { return VbLCase(text); });
}

void ForenameBox::InvertCase()
{
    convertSelection([](const QString &text) { return ForeNames::InvertCase(text); });
}

void ForenameBox::ProperCase()
{
    if (!mBox)
        return;
    {
        EventsOffGuard quiet;
        const int start = mBox->SelStart();
        const int length = mBox->SelLength();
        mBox->setText(formatForeName(VbLCase(RealText())));
        changed();
        mBox->setSelStart(start);
        mBox->setSelLength(length);
    }
    FillForenamePickList();
}

void ForenameBox::SpecialChar(const QString &character)
{
    if (!mBox)
        return;
    {
        EventsOffGuard quiet;
        const QString real = RealText();
        const int caret = std::min(mSavedCaret, int(real.size()));
        mBox->setText(real.left(caret) + character + real.mid(caret));
        changed();
    }
    FillForenamePickList();
    mBox->SetFocus();
    mBox->setSelStart(int(RealText().size()));
}

void ForenameBox::Fillit(bool up)
{
    if (mBox && gTranscription)
        fillWith(RealText(), up);
}

void ForenameBox::DelWord()
{
    if (!mBox)
        return;
    EventsOffGuard quiet;
    QString text = VbTrim(RealText());
    const qsizetype space = text.lastIndexOf(u' ');
    text = space >= 0 ? text.left(space + 1) : QString();
    mBox->setText(text);
    writeCell(text);
    changed();
    mBox->setSelStart(int(text.size()));
}

void ForenameBox::ClearBox()
{
    if (!mBox)
        return;
    EventsOffGuard quiet;
    // The box alone: the main window clears the boxes while they are hidden
    // (a header edit, a new batch), when the cell they were last opened on
    // is no longer theirs. An emptied box empties its cell when it is left.
    mBox->setText(QString());
    mBox->setSelStart(0);
}
