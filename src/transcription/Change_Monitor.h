#pragma once

// The edit state of the open batch: whether the cell being edited changed,
// whether the batch holds changes not yet saved, and the row of the last
// change.

class Change_Monitor
{
public:
    // With "Warn only when Changed" on: whether the cell was changed;
    // otherwise always true, so that warnings cover every cell.
    bool IfCellChanged() const;
    // True when a change was recorded on the current grid row.
    bool RowChanged() const;
    // True while the batch holds changes not yet saved.
    bool AnyChange() const { return mUnsaved; }
    bool CellChanged() const { return mCellChanged; }

    // Records an edit on the current grid row.
    void Changed();
    // A cell was entered: nothing in it has changed yet.
    void ClearChange() { mCellChanged = false; }
    void DataSaved() { mUnsaved = false; }
    // The batch holds changes that no file has: a grid rebuilt from the
    // work file after a crash.
    void DataUnsaved() { mUnsaved = true; }

private:
    int mChangedRow = -1;
    bool mRowChanged = false;
    bool mCellChanged = false;
    bool mUnsaved = false;
};
