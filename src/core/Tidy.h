#pragma once

// Moving an earlier installation into the data folder, and bringing the
// transcriber's 1974 supplementary districts up to date after an update.

#include <QString>

// The progress window of the migration, as the model reaches it. The window
// implements it; while none is set, a stand-in that shows nothing takes its
// place (the report file on the desktop is written all the same).
class UpdateProgressSink
{
public:
    virtual ~UpdateProgressSink() = default;
    // Appends the text and a line break, then lets pending events run so
    // that the window repaints while files are copied.
    virtual void AddText(const QString &text) = 0;
    // Shows the window without waiting.
    virtual void ShowModeless() = 0;
    // The end of a migration that brought something in: hides the window,
    // shows its "Ok, I've read this" button and shows it again modal;
    // returns once the transcriber has pressed the button.
    virtual void ShowFinalModal() = 0;
    // The end of a migration that had nothing to bring in (a new
    // transcriber): hides the window without waiting.
    virtual void HideWindow() = 0;
};

// Not owned; nullptr puts the stand-in back. The window clears it before it
// goes.
void SetUpdateProgressSink(UpdateProgressSink *sink);
UpdateProgressSink &UpdateProgressWindow();

// The folder of the program's shipped files (its OriginalFiles, its help
// pages) as the migration and the 1974 merge see it: the system-files
// folder, unless set. Tests point it at a fixture; empty restores the
// system-files folder.
void SetProgramFolderForMigration(const QString &folder);
QString ProgramFolderForMigration();

// Brings an earlier installation (the shared value Startup/AppPath names its
// folder) and the shipped files into the data folder, checks the result,
// reloads and saves the settings, and reports every step to the progress
// window and to "PelkarUpdateReport7.txt" on the desktop (appended; not
// written when there is no desktop folder). Returns true at once, touching
// nothing, when there is no data folder, or, unless a data folder has just
// been chosen (gForceMigration), when the per-user Startup/V6Cleaned is "Y"
// or no earlier installation is recorded. The transcriber's own settings file and reference
// files are never replaced. Returns false when a check failed or an error
// occurred (the transcriber has been told); the run must then stop.
bool Tidy_Version6();

// After an update from a version before 7.4 (the shared Startup/AppVersion),
// appends to the transcriber's 1974 supplementary file (SuppPath 4, made
// when missing) every line of the shipped one it lacks, compared without
// regard to case, in the shipped order. The file is rewritten whole, so an
// interrupted write leaves the old one. Never reports an error: anything
// that cannot be read or written ends it silently.
void MergeSuppDistricts1974();
