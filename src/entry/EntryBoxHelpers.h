#pragma once

// Small state questions and steps the entry boxes' handlers share.

#include "core/Globals.h"
#include "core/Project.h"
#include "entry/EntryBoxWindow.h"
#include "entry/FlexGrid.h"
#include "entry/RichTextBox.h"
#include "entry/VbKeyCodes.h"
#include "transcription/Change_Monitor.h"

#include <QChar>
#include <QList>
#include <QObject>
#include <QString>

#include <algorithm>

namespace EntryBoxHelpers {

// The grid a box edits: its own, or while none is set gTranscription's.
FlexGrid *gridOrTranscriptions(FlexGrid *grid);

// Drops a box's connections to its control.
void disconnectAll(QList<QMetaObject::Connection> &connections);

// Fill down (up false) or up with text; an empty text is refused with a
// message and the focus goes back to the box.
void fillWith(const QString &text, bool up);

// Whether col is the column of a field the batch has (kindCol 1 or more).
inline bool isKind(int col, int kindCol)
{
    return kindCol >= 1 && col == kindCol;
}

inline bool isLetter(QChar c)
{
    return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z');
}

inline bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

// The scan-viewer keys act only while a scan is shown.
inline bool scanShown()
{
    return gProject && gProject->ScanOn();
}

// Change_Monitor.Changed, when there is one.
inline void changed()
{
    if (gChangeMonitor)
        gChangeMonitor->Changed();
}

// F11 and F12 zoom the scan in and out (unmodified only); both keys are
// used up either way.
inline void zoomKey(int &KeyCode, int Shift)
{
    if (Shift == 0) {
        if (KeyCode == VbKeys::vbKeyF1 + 10)
            BoxWindow().mnuZoomIn_Click();
        else
            BoxWindow().mnuZoomOut_Click();
    }
    KeyCode = 0;
}

// The function keys every entry box takes alike: F9 deletes the last word,
// Shift+F9 empties (both used up), F11 and F12 zoom. False for any other
// key, which is left as it is.
template <class DeleteWord, class Empty>
bool editFunctionKey(int &KeyCode, int Shift, DeleteWord deleteWord, Empty empty)
{
    using namespace VbKeys;
    if (KeyCode == vbKeyF1 + 8) {
        KeyCode = 0;
        if (Shift == 0)
            deleteWord();
        else if (Shift == vbShiftMask)
            empty();
        return true;
    }
    if (KeyCode == vbKeyF1 + 10 || KeyCode == vbKeyF1 + 11) {
        zoomKey(KeyCode, Shift);
        return true;
    }
    return false;
}

// Left and Right with Shift scroll the scan sideways, the key used up;
// true when Shift was held.
inline bool scanSideKey(int &KeyCode, int Shift, bool left)
{
    if (!(Shift & VbKeys::vbShiftMask))
        return false;
    KeyCode = 0;
    if (scanShown())
        left ? BoxScan().ScrollLeft() : BoxScan().ScrollRight();
    return true;
}

// The row PageUp (down false) or PageDown makes current: a screenful of
// visible rows from the top row, within the entry rows.
inline int pageTarget(const FlexGrid &grid, int visible, bool down)
{
    return down ? std::min(grid.TopRow() + visible, grid.Rows() - 1)
                : std::max(grid.TopRow() - visible, 2);
}

// Up and Down with Shift (scroll), Ctrl (the ruler a line) or Alt (a page)
// move the scan instead of the grid; true when Shift held any of them.
inline bool scanArrowKey(int Shift, bool up)
{
    using namespace VbKeys;
    if (Shift & vbShiftMask) {
        if (scanShown())
            up ? BoxScan().ScrollUp() : BoxScan().ScrollDown();
    } else if (Shift & vbCtrlMask) {
        if (scanShown())
            BoxScan().MoveRuler1Line(up);
    } else if (Shift & vbAltMask) {
        if (scanShown())
            BoxScan().ScrollPage(up ? 0 : 2);
    } else {
        return false;
    }
    return true;
}

// Hands a list box's control events to its handlers (Change, KeyDown and
// KeyPress of the forename and district boxes). A key that took the box off
// the grid leaves the cell without a box: the main window then lays the
// right one over the current cell.
template <class Box>
QList<QMetaObject::Connection> connectControl(Box *self, RichTextBox *box,
                                              void (Box::*change)(),
                                              void (Box::*keyDown)(int &, int),
                                              void (Box::*keyPress)(int &))
{
    const auto layBoxIfHidden = [box] {
        if (!box->Visible())
            BoxWindow().Set_TextBox();
    };
    return {QObject::connect(box, &RichTextBox::Change, self, change),
            QObject::connect(box, &RichTextBox::KeyDown, self,
                             [self, keyDown, layBoxIfHidden](int &KeyCode, int Shift) {
                                 (self->*keyDown)(KeyCode, Shift);
                                 layBoxIfHidden();
                             }),
            QObject::connect(box, &RichTextBox::KeyPress, self,
                             [self, keyPress, layBoxIfHidden](int &KeyAscii) {
                                 (self->*keyPress)(KeyAscii);
                                 layBoxIfHidden();
                             })};
}

} // namespace EntryBoxHelpers
