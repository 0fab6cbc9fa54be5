#pragma once

// What the scan viewer and its two tool windows need of the main window:
// hiding it while the ruler is being set up, showing it again, handing it
// the keyboard, and the grid row in hand. The main window installs itself; until then a stand-in
// serves whose grid is on row 1.

class ScanViewerHost
{
public:
    virtual ~ScanViewerHost() = default;
    virtual void HideForm1() = 0;
    virtual void ShowForm1() = 0;
    // Gives the main window the keyboard, when it shows.
    virtual void ActivateForm1() {}
    // The grid's current row (1 is the first data row).
    virtual int CurrentRow() const = 0;
    // The header form is open: the viewer's ruler and image-tools items
    // wait until it closes.
    virtual bool headerFormLoaded() const = 0;
};

// The host in use; never null.
ScanViewerHost &ViewerHost();
// Installs the host (not owned); nullptr puts the stand-in back.
void SetViewerHost(ScanViewerHost *host);
