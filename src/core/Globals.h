#pragma once

// The program-wide objects and state. Each g-object is a plain pointer that
// is null while the object does not exist; ProgramObjects owns them all,
// creating them in the start-up order and releasing them in the shut-down
// order, gEvents last.

#include <QString>

class Change_Monitor;
class Districts;
class ForeNames;
class Transcription;
class clsEvents;
class Project;
class Recent_files;
class Searcher;
class clsWorkFile;
class clsTressel;
class myRichTextbox;
class ForenameBox;
class DistrictBox;

extern clsEvents *gEvents;
extern Project *gProject;
extern Change_Monitor *gChangeMonitor;
extern ForeNames *gForeNames;
extern Districts *gDistricts;
extern Transcription *gTranscription;
extern Recent_files *gRecentFiles;
extern clsWorkFile *gWorkFile;
extern Searcher *gSearcher;
extern clsTressel *gTressel;
// The entry boxes' handlers; the window binds their rich-text boxes.
extern myRichTextbox *gRichTextbox;
extern ForenameBox *gForenameBox;
extern DistrictBox *gDistrictBox;

extern bool gForceMigration;
extern int gHeaderReason;
extern int gHeaderResult;
// The batch file the header form's recent-file menu chose (result 4);
// empty when the main window is to ask for one.
extern QString gHeaderOpenFile;
// The batch name when a header edit began.
extern QString gBatchNameBeforeEdit;
extern int gHScrollHeight; // twips
extern int gVScrollWidth;  // twips
extern QString gLongDataPath;
// The age-at-death warning has been shown this run.
extern bool gAgeWarningShown;
extern int gCurrentRow;
extern int gCurrentCol;
extern bool gPopAnswer;

// The program's command line: its arguments joined by blanks. Tests start
// with an empty one (resetState) and may set their own.
QString CommandLine();
void setCommandLine(const QString &commandLine);

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
