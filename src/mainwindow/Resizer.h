#pragma once

// Rescales a form's controls when the form is resized. Handed a form, the
// resizer records the form's size and every control's place, size and font
// size; FormResize, called from the form's resize handling (and after a
// font change), then moves and sizes the controls by the form's change in
// width since the previous rescale, and scales their fonts from the recorded
// sizes by the form's change since it was handed over (so fonts never
// drift). All sizes are in twips.
//
// The controls are the form's named widgets (object name not empty and not
// one of Qt's own "qt_" parts), depth first in child order, frames' contents
// included. Windows are not controls. A control placed by a layout keeps the
// place its layout gives it, but its font scales like any other.
//
// Two forms have rules of their own, known by their object names:
// - "Form1", the main window: it is held at 1860 twips high and 3100 wide
//   at least; its grid "fgInput" widens by the form's change in width from
//   the recorded width, its height comes from FitGridHeight, the width gained
//   since the last rescale is shared among the grid's columns
//   (Transcription::AdjustColumnWidths), the side scroll bar "VScroll1" goes
//   to the grid's right edge, as high as the grid, paging by the rows in
//   view, and the visible entry box is laid back over the current cell
//   (ResetBox). Its fonts do not scale.
// - "frmPickList": its list columns are sized again; its fonts do not scale.

#include <QPointer>
#include <QWidget>

#include <vector>

// What the resizer needs of the main window beyond its controls. The main
// window implements it; without one, FitGridHeight does nothing and no box
// is taken for visible.
class ResizerMainWindow
{
public:
    virtual ~ResizerMainWindow() = default;
    // Sizes the grid's height to whole rows.
    virtual void FitGridHeight() = 0;
    // The entry box laid over the grid now (the one of the three that is
    // visible), or null when none is.
    virtual QWidget *VisibleEntryBox() const = 0;
};

class Resizer
{
public:
    Resizer() = default;
    Resizer(const Resizer &) = delete;
    Resizer &operator=(const Resizer &) = delete;

    // The form handed over, or null (none yet, or it is gone). Handing a
    // form over records its size and its controls as they are now.
    QWidget *Form() const { return mForm; }
    void setForm(QWidget *form);
    // The main window's part (not owned); nullptr takes it out.
    void setMainWindow(ResizerMainWindow *mainWindow) { mMainWindow = mainWindow; }

    // Rescales after a size change. Nothing happens without a form or while
    // it is minimised. A main window below its minimum size is set to it
    // and nothing else happens: the resize that brings comes back here.
    // Events are held off while the controls change.
    void FormResize();
    // Lays the visible entry box over the grid's current cell, scrolling the
    // row into view first; with no box visible, only scrolls the grid to its
    // current row. Events are held off meanwhile.
    void ResetBox();

    // The form's size when it was handed over, and its width at the last
    // rescale.
    int designWidth() const { return mDesignWidth; }
    int designHeight() const { return mDesignHeight; }
    int lastWidth() const { return mLastWidth; }

private:
    struct Control
    {
        QPointer<QWidget> widget;
        int left = 0;
        int top = 0;
        int width = 0;
        int height = 0;
        // Points; 0 for a font sized in pixels.
        double fontSize = 0;
    };

    bool isMainWindow() const;
    QWidget *control(const QString &name) const;

    QPointer<QWidget> mForm;
    ResizerMainWindow *mMainWindow = nullptr;
    int mDesignWidth = 0;
    int mDesignHeight = 0;
    int mLastWidth = 0;
    std::vector<Control> mControls;
};
