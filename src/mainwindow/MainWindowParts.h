#pragma once

// What the main window reaches of windows that are not built into it yet:
// the numbered paste texts, the scan viewer and the three entry boxes'
// text insertion. The main window holds one of each, a null version until
// the real one is handed over (Form1::setPasteTexts, setScanViewer,
// setEntryBoxTexts); none is owned by the main window.

#include "entry/EntryBoxWindow.h"

#include <QString>

// The paste-texts window (myCopyPaste).
class PasteTexts
{
public:
    virtual ~PasteTexts() = default;
    // Text n (1 to 9); empty when there is none.
    virtual QString GetItem(int n) const = 0;
    virtual bool isVisible() const = 0;
    virtual void setVisible(bool visible) = 0;
};

// The scan viewer's operations that the main window's keys and the wheel
// call: those the entry boxes call too, and the zoom. The main window calls
// them only while Project's ScanOn is true.
class ScanViewer : public EntryBoxScan
{
public:
    virtual void ZoomIn() = 0;
    virtual void ZoomOut() = 0;
    // The ruler moved by lines entry lines (negative up); 0 sends it to
    // its first line. A viewer without a ruler ignores it.
    virtual void MoveRulerToLine(int lines) { (void)lines; }
};

// Adds a text to the entry box laid over the grid: the rich-text box when
// it shows, else the district box, else the forename box (each box's
// AddText). Nothing happens when none shows.
class EntryBoxTexts
{
public:
    virtual ~EntryBoxTexts() = default;
    virtual void AddTextToVisibleBox(const QString &text) = 0;
};

namespace MainWindowPartsDetail {

class NullPasteTexts final : public PasteTexts
{
public:
    QString GetItem(int) const override { return {}; }
    bool isVisible() const override { return false; }
    void setVisible(bool) override {}
};

class NullScanViewer final : public ScanViewer
{
public:
    void ScrollLeft() override {}
    void ScrollRight() override {}
    void ScrollUp() override {}
    void ScrollDown() override {}
    void ScrollPage(int) override {}
    void MoveRuler1Line(bool) override {}
    void ZoomIn() override {}
    void ZoomOut() override {}
};

class NullEntryBoxTexts final : public EntryBoxTexts
{
public:
    void AddTextToVisibleBox(const QString &) override {}
};

} // namespace MainWindowPartsDetail
