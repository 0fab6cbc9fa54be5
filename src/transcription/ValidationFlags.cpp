#include "transcription/Transcription.h"

#include "core/Globals.h"
#include "core/MessageWindows.h"
#include "core/Project.h"
#include "core/Services.h"
#include "transcription/EntryBoxes.h"
#include "transcription/GridBindings.h"

namespace {
// Entries the table grows by when it is full.
constexpr int kValidationGrowth = 10;
} // namespace

// ---- Validation flags -----------------------------------------------------------------

void Transcription::ClearValidation()
{
    // Entry 0 is never used, so a cleared table still holds entries 0 and 1.
    mValidationFlags.assign(2, ValidationFlagEntry());
    mValidationCount = 0;
}

bool Transcription::TestValidationFlag(int row, int flag) const
{
    for (int i = 1; i <= mValidationCount; ++i) {
        if (mValidationFlags[i].Row == row)
            return (mValidationFlags[i].Flags & flag) == 0;
    }
    return true;
}

void Transcription::SetValidationFlag(int row, int flag, bool set)
{
    int found = 0;
    for (int i = 1; i <= mValidationCount && found == 0; ++i) {
        if (mValidationFlags[i].Row == row)
            found = i;
    }
    // A deleted row's entry is free for reuse; what the deleted row had
    // accepted must not pass to the new one.
    for (int i = 1; i <= mValidationCount && found == 0; ++i) {
        if (mValidationFlags[i].Row == 0) {
            found = i;
            mValidationFlags[i].Flags = 0;
        }
    }
    if (found == 0) {
        if (mValidationCount == int(mValidationFlags.size()) - 1)
            mValidationFlags.resize(mValidationCount + kValidationGrowth + 1);
        found = ++mValidationCount;
        mValidationFlags[found].Flags = 0;
    }
    ValidationFlagEntry &entry = mValidationFlags[found];
    entry.Row = row;
    if (set)
        entry.Flags = std::int16_t(entry.Flags | flag);
    else
        entry.Flags = std::int16_t(entry.Flags & ~flag);
}

bool Transcription::IsDistrictValidated(int row) const
{
    return TestValidationFlag(row, DistrictAccepted);
}

bool Transcription::IsPageValidated(int row) const
{
    return TestValidationFlag(row, PageAccepted);
}

void Transcription::SetDistrictNotValidated(int row)
{
    SetValidationFlag(row, DistrictAccepted, true);
    if (gProject)
        gProject->setDistValidate(false);
}

void Transcription::SetPageNotValidated(int row)
{
    SetValidationFlag(row, PageAccepted, true);
    if (gProject)
        gProject->setPageValidate(false);
}

void Transcription::SetDistrictValidated(int row)
{
    SetValidationFlag(row, DistrictAccepted, false);
    if (gProject)
        gProject->setDistValidate(true);
}

void Transcription::SetPageValidated(int row)
{
    SetValidationFlag(row, PageAccepted, false);
    if (gProject)
        gProject->setPageValidate(true);
}

void Transcription::UpdateValidation(int row, bool inserted)
{
    for (int i = 1; i <= mValidationCount; ++i) {
        std::int32_t &flagged = mValidationFlags[i].Row;
        if (flagged == 0)
            continue;
        if (inserted) {
            if (flagged >= row)
                ++flagged;
        } else if (flagged == row) {
            flagged = 0;
        } else if (flagged > row) {
            --flagged;
        }
    }
}

// ---- Invalid-entry guard --------------------------------------------------------------

bool Transcription::CheckInvalidEntries(bool validate)
{
    if (validate && !ValidateBox(gCurrentCol, gCurrentRow)) {
        if (gCurrentCol == mForenamesCol) {
            ShowMessage(QStringLiteral("You must correct or delete the invalid Forename first"),
                        Mb::Critical | Mb::OkOnly, kProductName);
            Boxes().FocusForenameBox(true);
        } else if (gCurrentCol == mDistrictCol) {
            ShowMessage(QStringLiteral("You must correct or delete the invalid District first"),
                        Mb::Critical | Mb::OkOnly, kProductName);
            Boxes().FocusDistrictBox(true);
        }
        Boxes().GiveFocusBack();
        return false;
    }

    EntryBoxes &boxes = Boxes();
    if (boxes.RichTextboxVisible())
        boxes.HideRichTextbox();
    else if (boxes.ForenameBoxVisible())
        boxes.HideForenameBox();
    else if (boxes.DistrictBoxVisible())
        boxes.HideDistrictBox();
    return true;
}

bool Transcription::MenusBlocked()
{
    // Read before the check: validating may hold events off for a moment.
    const bool busy = form().CantUseMenues();
    if (!CheckInvalidEntries(true))
        return true;
    return busy;
}
