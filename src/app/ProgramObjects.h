#pragma once

// The owner of the program-wide objects: what the program is made of, and in
// which order it comes up and goes down. The objects themselves are reached
// through their g-pointers (core/Globals.h), which are set here.

namespace ProgramObjects {
void createEvents();
void createProject();
void createChangeMonitor();
// Creating the forename list reads the forename file.
void createForeNames();
void createDistricts();
void createTranscription();
// Reads the saved list of recent files.
void createRecentFiles();
// The work file object; nothing is opened or deleted on creation.
void createWorkFile();
// The search state of the Find commands, with no grid yet (setGrid).
void createSearcher();
// The companion hand-off; its values read "~" from here on.
void createTressel();
// The forename, district and general entry boxes, on gTranscription's grid,
// installed as the boxes the grid's validation reaches (SetBoxes).
void createEntryBoxes();

// Connects gTranscription's batch-file hooks to the objects that exist:
// the recent-files list and the work file; the companion's hooks reach
// gTressel whenever it exists. Call after creating them.
void bindBatchFileHooks();

// Releases gWorkFile, which closes the work file and deletes it when this
// run opened it.
void releaseWorkFile();

// Releases every single object that exists: the others first, then
// gProject, then gEvents, since the others use it while they close.
// Safe to call when some or all are already gone.
void releaseAll();

// Resets the program-wide state to its start values (tests).
void resetState();
} // namespace ProgramObjects
