#include "entry/EntryBoxSet.h"

#include "entry/DistrictBox.h"
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

void focus(RichTextBox *box, bool emptySelection)
{
    if (!box)
        return;
    box->SetFocus();
    if (emptySelection)
        box->setSelLength(0);
}

} // namespace

EntryBoxSet::EntryBoxSet(myRichTextbox *richTextbox, ForenameBox *forenameBox,
                         DistrictBox *districtBox)
    : mRich(richTextbox), mForename(forenameBox), mDistrict(districtBox)
{
}

bool EntryBoxSet::DistrictBoxVisible() const
{
    return mDistrict && shown(mDistrict->control());
}

bool EntryBoxSet::DistrictValidate()
{
    return !mDistrict || mDistrict->Validate();
}

void EntryBoxSet::FocusDistrictBox(bool emptySelection)
{
    focus(mDistrict ? mDistrict->control() : nullptr, emptySelection);
}

void EntryBoxSet::HideDistrictBox()
{
    if (mDistrict)
        mDistrict->HideRtb();
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
    focus(mForename ? mForename->control() : nullptr, emptySelection);
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
    else if (DistrictBoxVisible())
        focusAtEnd(mDistrict->control());
    else
        BoxWindow().Set_TextBox();
}
