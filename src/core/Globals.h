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

extern clsEvents *gEvents;
extern Project *gProject;
extern Change_Monitor *gChangeMonitor;
extern ForeNames *gForeNames;
extern Districts *gDistricts;
extern Transcription *gTranscription;

extern bool gForceMigration;
extern int gHeaderReason;
extern int gHeaderResult;
extern int gHScrollHeight; // twips
extern int gVScrollWidth;  // twips
extern QString gLongDataPath;
extern bool gDeathAgeWarned;
extern int gCurrentRow;
extern int gCurrentCol;
extern bool gPopAnswer;

namespace ProgramObjects {
void createEvents();
void createProject();
void createChangeMonitor();
// Creating the forename list reads the forename file.
void createForeNames();
void createDistricts();
void createTranscription();

// Releases every single object that exists: the others first, then
// gProject, then gEvents, since the others use it while they close.
// Safe to call when some or all are already gone.
void releaseAll();

// Resets the program-wide state to its start values (tests).
void resetState();
} // namespace ProgramObjects
