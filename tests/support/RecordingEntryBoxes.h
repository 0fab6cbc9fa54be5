#pragma once

// The entry boxes as the model sees them: which are showing and what their
// own checks answer, with a record of every call. Installs itself for its
// lifetime.

#include "transcription/EntryBoxes.h"

#include <QStringList>

class RecordingEntryBoxes : public EntryBoxes
{
public:
    RecordingEntryBoxes() { SetBoxes(this); }
    ~RecordingEntryBoxes() override { SetBoxes(nullptr); }

    bool DistrictBoxVisible() const override { return districtVisible; }
    bool ForenameBoxVisible() const override { return forenameVisible; }
    bool RichTextboxVisible() const override { return richVisible; }
    bool DistrictValidate() override
    {
        calls << QStringLiteral("DistrictValidate");
        return districtValid;
    }
    bool ForenameValidate() override
    {
        calls << QStringLiteral("ForenameValidate");
        return forenameValid;
    }
    void FocusDistrictBox(bool emptySelection) override
    {
        calls << (emptySelection ? QStringLiteral("FocusDistrictBox(empty)")
                                 : QStringLiteral("FocusDistrictBox"));
    }
    void FocusForenameBox(bool emptySelection) override
    {
        calls << (emptySelection ? QStringLiteral("FocusForenameBox(empty)")
                                 : QStringLiteral("FocusForenameBox"));
    }
    void HideRichTextbox() override { calls << QStringLiteral("HideRichTextbox"); }
    void HideForenameBox() override { calls << QStringLiteral("HideForenameBox"); }
    void HideDistrictBox() override { calls << QStringLiteral("HideDistrictBox"); }
    void ClearRichTextbox() override { calls << QStringLiteral("ClearRichTextbox"); }
    void GiveFocusBack() override { calls << QStringLiteral("GiveFocusBack"); }

    int focusBacks() const { return int(calls.count(QStringLiteral("GiveFocusBack"))); }

    bool districtVisible = false;
    bool forenameVisible = false;
    bool richVisible = false;
    bool districtValid = true;
    bool forenameValid = true;
    QStringList calls;
};
