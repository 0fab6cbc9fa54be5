#pragma once

// What the header form needs of the scan viewer beyond opening a scan
// (ShowScanImage): whether it is loaded, enabling its image-tools and ruler
// items, and unloading it. The scan viewer implements it once it exists;
// until then a stand-in serves that has no viewer loaded.

class HeaderScanWindow
{
public:
    virtual ~HeaderScanWindow() = default;
    virtual bool isLoaded() const = 0;
    // The viewer's image-tools and ruler menu items become usable.
    virtual void enableToolMenus() = 0;
    // Unloads and releases the viewer; nothing when none is loaded.
    virtual void unload() = 0;
};

// The viewer in use; never null.
HeaderScanWindow &HeaderScan();
// Installs the viewer (not owned); nullptr puts the stand-in back.
void SetHeaderScan(HeaderScanWindow *window);
