#pragma once

// What the grid layout reaches of the main window besides the grid itself.
// The main window implements these; until it is bound, Transcription uses
// stand-ins that do nothing (and answer "not busy").

// The main window as the layout and the menu guard reach it.
class TranscriptionForm
{
public:
    virtual ~TranscriptionForm() = default;
    // Shows or hides the "Copy Surname" menu item and its separator
    // (mnuCopySurname, mnuCopySurnameSep).
    virtual void setCopySurnameVisible(bool visible) = 0;
    // Tells the entry boxes which grid column each of them edits.
    virtual void setEntryBoxColumns(int districtCol, int forenameCol) = 0;
    // True while a load, save or upload is under way or events are held off.
    virtual bool CantUseMenues() const = 0;
};

// The vertical scroll bar beside the grid (VScroll1).
class GridScrollBar
{
public:
    virtual ~GridScrollBar() = default;
    virtual void setMax(int max) = 0;
    virtual void setValue(int value) = 0;
    virtual void setLargeChange(int change) = 0;
};
