#pragma once

// The program-wide objects and state. Each g-object is a plain pointer that
// is null while the object does not exist; their owner on the top floor
// (app/ProgramObjects.h) creates them in the start-up order and releases them
// in the shut-down order, gEvents last.

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
