#include "entry/EntryBoxSet.h"

#include "entry/EntryBoxWindow.h"
#include "entry/ForenameBox.h"
#include "entry/RichTextBox.h"
#include "entry/myRichTextbox.h"

namespace {

bool shown(const RichTextBox *box)
{
    return box && box->Visible();
}

void focusAtEnd(RichTextBox *box)
{
    box->SetFocus();
    box->setSelStart(int(box->Text().size()));
}

} // namespace

EntryBoxSet::EntryBoxSet(myRichTextbox *richTextbox, ForenameBox *forenameBox)
    : mRich(richTextbox), mForename(forenameBox)
{
}

bool EntryBoxSet::ForenameBoxVisible() const
{
    return mForename && shown(mForename->control());
}

bool EntryBoxSet::RichTextboxVisible() const
{
    return mRich && shown(mRich->aRTB());
}

bool EntryBoxSet::ForenameValidate()
{
    return !mForename || mForename->Validate();
}

void EntryBoxSet::FocusForenameBox(bool emptySelection)
{
    RichTextBox *box = mForename ? mForename->control() : nullptr;
    if (!box)
        return;
    box->SetFocus();
    if (emptySelection)
        box->setSelLength(0);
}

void EntryBoxSet::HideRichTextbox()
{
    if (mRich)
        mRich->HideRtb();
}

void EntryBoxSet::HideForenameBox()
{
    if (mForename)
        mForename->HideRtb();
}

void EntryBoxSet::ClearRichTextbox()
{
    if (mRich)
        mRich->Clear();
}

void EntryBoxSet::GiveFocusBack()
{
    if (RichTextboxVisible())
        focusAtEnd(mRich->aRTB());
    else if (ForenameBoxVisible())
        focusAtEnd(mForename->control());
    else
        BoxWindow().Set_TextBox();
}
