#pragma once

// The entry boxes as the grid's validation reaches them (EntryBoxes): the
// general entry box and the forename box; the district box's part answers
// as a hidden, valid box until that box is built.

#include "transcription/EntryBoxes.h"

class ForenameBox;
class myRichTextbox;

class EntryBoxSet final : public EntryBoxes
{
public:
    // Neither box is owned; either may be null (then it counts as hidden).
    EntryBoxSet(myRichTextbox *richTextbox, ForenameBox *forenameBox);

    bool DistrictBoxVisible() const override { return false; }
    bool ForenameBoxVisible() const override;
    bool RichTextboxVisible() const override;
    bool DistrictValidate() override { return true; }
    bool ForenameValidate() override;
    void FocusDistrictBox(bool) override {}
    void FocusForenameBox(bool emptySelection) override;
    void HideRichTextbox() override;
    void HideForenameBox() override;
    void HideDistrictBox() override {}
    void ClearRichTextbox() override;
    void GiveFocusBack() override;

private:
    myRichTextbox *mRich;
    ForenameBox *mForename;
};
