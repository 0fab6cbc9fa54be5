#pragma once

// What happens when the main window or the pick list has been moved or
// sized: both places are remembered in Project, and with MovePick on the
// pick list is dragged along with the main window. Both handlers do nothing
// while gEvents holds events off, so the program's own moves never count.

#include <QRect>

// What the handlers need of the main window. The main window installs
// itself (SetMainWindowPlace); with none installed the handlers do nothing.
class MainWindowPlace
{
public:
    virtual ~MainWindowPlace() = default;
    virtual bool mainVisible() const = 0;
    virtual bool mainMinimised() const = 0;
    // Left, top, width and height, in twips.
    virtual QRect mainGeometry() const = 0;
    // Places the pick list under the entry box (the drop-down style).
    virtual void Position_DropDown() = 0;
};

// Installs the main window (not owned); nullptr takes it out.
void SetMainWindowPlace(MainWindowPlace *mainWindow);

// The main window's place the pick list is dragged from, in twips.
void RecordMainWindowPosition(int left, int top);
int RecordedMainWindowLeft();
int RecordedMainWindowTop();

// After the main window was moved or sized. With MovePick on and the main
// window on view: in the drop-down style Position_DropDown, otherwise the
// pick list moves by the main window's displacement since the recorded
// place (events held off meanwhile). Then Project's Form1left, Form1Top,
// Form1Height and Form1Width take the main window's place, which becomes
// the recorded one, and, unless the pick list is docked (DropDownPick) or
// minimised, Pickleft, Picktop, PickHeight and PickWidth take the pick
// list's. Nothing at all happens while the main window is minimised.
void OnMainWindowMoved();

// After the pick list was moved or sized, while it and the main window are
// on view: Pickleft, Picktop, PickHeight and PickWidth take its place.
void OnPickListMoved();
