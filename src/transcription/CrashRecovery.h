#pragma once

// The batch the program opens with at start-up (the one a crashed run left in
// the work file, one named on the command line, or the last batch of the
// previous run), reopening the last scan, and clearing the per-batch state
// before another batch is loaded.

#include <QString>

// What these steps need of the windows: the main window, its scan and zoom
// menu items, the header form and the scan viewer. The main window
// implements it; until it is installed a stand-in serves that does nothing
// and whose scan viewer loads no scan.
class RecoveryWindows
{
public:
    virtual ~RecoveryWindows() = default;
    // Form1.HideForm1.
    virtual void HideForm1() = 0;
    // Form1.Edit_Header: the header form for the loaded batch; its result is
    // left in gHeaderResult (5: end the program).
    virtual void Edit_Header() = 0;
    // Shows the scan viewer (modeless) and lets it load the picture
    // (frmScanView.GetPicture). True when the picture was loaded.
    virtual bool GetPicture(const QString &path) = 0;
    // The caption of the main window's scan menu item.
    virtual void setScanMenuCaption(const QString &caption) = 0;
    // The main window's zoom-in and zoom-out menu items.
    virtual void setZoomEnabled(bool enabled) = 0;
};

// The windows in use; never null.
RecoveryWindows &RecoveryWindow();
// Installs the windows (not owned); nullptr puts the stand-in back.
void SetRecoveryWindows(RecoveryWindows *windows);

// The recovery step of start-up, run once gProject, gWorkFile, gTranscription
// and gDistricts exist. commandLine is the program's command line (arguments
// joined by blanks). Returns true when a batch was loaded into the grid:
// rebuilt from the work file, read from the file the command line names, or
// the last batch continued. False leaves the district table read for the
// header form; gHeaderResult 5 then means the transcriber ended the program
// from the header form. Declining the recovery deletes the work file; a
// rebuild that fails keeps it (set aside by the rebuild).
bool OfferCrashRecovery(const QString &commandLine);

// Offers to reopen the scan recorded in Project (ScanPath and ScanFile);
// asks nothing when none is recorded or its file is gone. No, or any
// failure, forgets the scan.
void OfferReopenScan();

// Opens the scan in the scan viewer and sets the scan menu item to "Close
// Scan"; when the viewer could not load it, the scan is forgotten (ScanOn
// false, ScanFile empty) and the menu is put back as after closing the
// viewer.
void ShowScanImage(const QString &path);

// Clears the per-batch state before a new batch or another file is loaded:
// Project's Invalid and DataLines, a new empty work file (when gWorkFile
// exists), the validation flags (when gTranscription exists).
void ResetForNewBatch();
