#pragma once

// What the project reports to, and asks of, objects on the floors above it,
// which it cannot name: the change monitor hears when a header is emptied or
// read, and the transcription tells which grid columns the lists serve. The
// owner of those objects sets the hooks when it creates them; while a hook
// is unset nothing is reported, and no column is a list column.

#include <functional>

struct ProjectHooks
{
    // The cell being edited has not changed (the change monitor's).
    std::function<void()> clearChange;
    // The batch holds no change that a file lacks (the change monitor's).
    std::function<void()> dataSaved;
    // The grid's district and forename columns; -1 for none.
    std::function<int()> districtCol;
    std::function<int()> forenamesCol;
};

// The one set of hooks, shared by every Project.
ProjectHooks &projectHooks();
