#pragma once

// What the entry boxes' handlers reach of windows: the main window (its
// cell-entry loop, pop-up menus, zoom commands, the grid's place on it),
// the scan viewer's keys and the character picker. Each window implements
// its part; until it is bound a null version stands in (nothing happens,
// the grid stands at the window's corner).

#include <QPoint>

// The main window, as the entry boxes call it.
class EntryBoxWindow
{
public:
    virtual ~EntryBoxWindow() = default;
    // Lays the entry box of the grid's current column over the current cell.
    virtual void Set_TextBox() = 0;
    // Pops up the grid's cell menu (mnuCellPopup) or row menu (mnuRowPopup).
    virtual void PopupCellMenu() = 0;
    virtual void PopupRowMenu() = 0;
    // The grid column under the mouse at the last mouse event over the grid.
    virtual int MouseCol() const = 0;
    virtual void mnuZoomIn_Click() = 0;
    virtual void mnuZoomOut_Click() = 0;
    // Places the pick list under the entry box (drop-down mode).
    virtual void Position_DropDown() = 0;
    // The grid's top left corner on the window, in twips.
    virtual QPoint GridOrigin() const = 0;
};

// The scan viewer's operations that the entry boxes' modified arrow keys
// call; the boxes call them only while Project's ScanOn is true.
class EntryBoxScan
{
public:
    virtual ~EntryBoxScan() = default;
    virtual void ScrollLeft() = 0;
    virtual void ScrollRight() = 0;
    virtual void ScrollUp() = 0;
    virtual void ScrollDown() = 0;
    // 0 a page up, 2 a page down.
    virtual void ScrollPage(int direction) = 0;
    // The ruler one line up (true) or down (false).
    virtual void MoveRuler1Line(bool up) = 0;
};

// The character picker (frmChrPicker).
class EntryBoxPicker
{
public:
    virtual ~EntryBoxPicker() = default;
    // Shows the picker for the entry box on view.
    virtual void Wakeup() = 0;
};

// The parts in use; never null. Installing one does not hand it over;
// nullptr puts the null version back.
EntryBoxWindow &BoxWindow();
void SetBoxWindow(EntryBoxWindow *window);
EntryBoxScan &BoxScan();
void SetBoxScan(EntryBoxScan *scan);
EntryBoxPicker &BoxPicker();
void SetBoxPicker(EntryBoxPicker *picker);
