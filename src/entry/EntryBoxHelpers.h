#pragma once

// Small state questions the entry boxes' handlers share.

#include "core/Globals.h"
#include "core/Project.h"
#include "entry/EntryBoxWindow.h"
#include "entry/RichTextBox.h"
#include "entry/VbKeyCodes.h"
#include "transcription/Change_Monitor.h"

#include <QChar>
#include <QList>
#include <QObject>

namespace EntryBoxHelpers {

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
