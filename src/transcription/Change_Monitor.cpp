#include "transcription/Change_Monitor.h"

#include "core/Globals.h"
#include "core/Project.h"

bool Change_Monitor::IfCellChanged() const
{
    // The menu's "Warn only when Changed" check mark mirrors this option.
    const bool onlyWhenChanged = gProject && gProject->ChangeWarning();
    return onlyWhenChanged ? mCellChanged : true;
}

bool Change_Monitor::RowChanged() const
{
    return mRowChanged && mChangedRow == gCurrentRow;
}

void Change_Monitor::Changed()
{
    mCellChanged = true;
    mUnsaved = true;
    mChangedRow = gCurrentRow;
    mRowChanged = true;
}
