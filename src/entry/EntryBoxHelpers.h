#pragma once

// Small state questions the entry boxes' handlers share.

#include "core/Globals.h"
#include "core/Project.h"
#include "transcription/Change_Monitor.h"

#include <QChar>

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

} // namespace EntryBoxHelpers
