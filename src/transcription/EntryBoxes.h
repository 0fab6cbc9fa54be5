#pragma once

// What the grid's validation needs of two things that live elsewhere: the
// entry boxes laid over the current cell (the rich-text box, the forename
// box and the district box, windows of the main window) and the batch save.
// The windows and the save implement these; until they do, and in tests
// that install none, stand-ins serve: every box hidden and valid, a save
// that saves nothing.

// The three entry boxes, as the cell checks and the invalid-entry guard use
// them.
class EntryBoxes
{
public:
    virtual ~EntryBoxes() = default;

    // Whether the box's edit control is laid over the grid (tbDistrict,
    // tbForeName, the rich-text box).
    virtual bool DistrictBoxVisible() const = 0;
    virtual bool ForenameBoxVisible() const = 0;
    virtual bool RichTextboxVisible() const = 0;

    // DistrictBox.Validate and ForenameBox.Validate: the box checks its own
    // text and tells the transcriber why it refuses. False keeps the cell.
    virtual bool DistrictValidate() = 0;
    virtual bool ForenameValidate() = 0;

    // Puts the keyboard focus into the box's edit control; with
    // emptySelection the selection is cleared (selection length 0).
    virtual void FocusDistrictBox(bool emptySelection) = 0;
    virtual void FocusForenameBox(bool emptySelection) = 0;

    // HideRtb of each box: takes it off the grid.
    virtual void HideRichTextbox() = 0;
    virtual void HideForenameBox() = 0;
    virtual void HideDistrictBox() = 0;

    // myRichTextbox.Clear: empties the rich-text box.
    virtual void ClearRichTextbox() = 0;

    // Puts the focus back into whichever box is shown over the current
    // cell, caret at the end of its text; with none shown, the main window
    // lays one over the cell.
    virtual void GiveFocusBack() = 0;
};

// The batch save, as the cell checks reach it.
class BatchSaver
{
public:
    virtual ~BatchSaver() = default;

    // Saves the batch at once into its own file (the save folder and
    // Project's BatchName) without the results window. Returns false when
    // the file was not written; whatever was on disk is then untouched.
    virtual bool SaveSilently() = 0;

    // StartofPage: true when the "+PAGE" line in column 1 of the grid row
    // is well formed and its page follows the previous page.
    virtual bool StartofPage(int row) = 0;
};

namespace EntryBoxesDetail {

class NullEntryBoxes final : public EntryBoxes
{
public:
    bool DistrictBoxVisible() const override { return false; }
    bool ForenameBoxVisible() const override { return false; }
    bool RichTextboxVisible() const override { return false; }
    bool DistrictValidate() override { return true; }
    bool ForenameValidate() override { return true; }
    void FocusDistrictBox(bool) override {}
    void FocusForenameBox(bool) override {}
    void HideRichTextbox() override {}
    void HideForenameBox() override {}
    void HideDistrictBox() override {}
    void ClearRichTextbox() override {}
    void GiveFocusBack() override {}
};

// Nothing to save with: a silent save writes nothing, so nothing that
// depends on it (deleting a file of the old name) may follow.
class NullBatchSaver final : public BatchSaver
{
public:
    bool SaveSilently() override { return false; }
    bool StartofPage(int) override { return true; }
};

inline EntryBoxes *installedBoxes = nullptr;
inline BatchSaver *installedSaver = nullptr;

} // namespace EntryBoxesDetail

// The entry boxes in use; never null.
inline EntryBoxes &Boxes()
{
    static EntryBoxesDetail::NullEntryBoxes standIn;
    auto *boxes = EntryBoxesDetail::installedBoxes;
    return boxes ? *boxes : standIn;
}

// Installs the boxes (not owned); nullptr puts the stand-in back.
inline void SetBoxes(EntryBoxes *boxes)
{
    EntryBoxesDetail::installedBoxes = boxes;
}

// The save in use; never null.
inline BatchSaver &Saver()
{
    static EntryBoxesDetail::NullBatchSaver standIn;
    auto *saver = EntryBoxesDetail::installedSaver;
    return saver ? *saver : standIn;
}

// Installs the save (not owned); nullptr puts the stand-in back.
inline void SetBatchSaver(BatchSaver *saver)
{
    EntryBoxesDetail::installedSaver = saver;
}
