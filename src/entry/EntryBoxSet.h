#pragma once

// The entry boxes as the grid's validation reaches them (EntryBoxes): the
// general entry box, the forename box and the district box.

#include "transcription/EntryBoxes.h"

class DistrictBox;
class ForenameBox;
class myRichTextbox;

class EntryBoxSet final : public EntryBoxes
{
public:
    // No box is owned; any may be null (then it counts as hidden).
    EntryBoxSet(myRichTextbox *richTextbox, ForenameBox *forenameBox,
                DistrictBox *districtBox = nullptr);

    bool DistrictBoxVisible() const override;
    bool ForenameBoxVisible() const override;
    bool RichTextboxVisible() const override;
    bool DistrictValidate() override;
    bool ForenameValidate() override;
    void FocusDistrictBox(bool emptySelection) override;
    void FocusForenameBox(bool emptySelection) override;
    void HideRichTextbox() override;
    void HideForenameBox() override;
    void HideDistrictBox() override;
    void ClearRichTextbox() override;
    void GiveFocusBack() override;

private:
    myRichTextbox *mRich;
    ForenameBox *mForename;
    DistrictBox *mDistrict;
};
