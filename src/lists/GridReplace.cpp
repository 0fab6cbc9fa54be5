#include "lists/GridReplace.h"

#include "core/Globals.h"
#include "core/clsEvents.h"
#include "entry/FlexGrid.h"
#include "transcription/Change_Monitor.h"
#include "transcription/Transcription.h"
#include "transcription/clsWorkFile.h"

#include <QList>
#include <QStringList>

#include <functional>

namespace {

// Runs replace over each searched cell of the column; replace returns how
// many replacements it made and may change the text. Changed cells are
// written back and their rows saved to the work file.
int replaceInColumn(int col, const std::function<int(QString &)> &replace)
{
    if (!gTranscription || !gTranscription->grid() || col < 1)
        return 0;
    FlexGrid &grid = *gTranscription->grid();
    if (col >= grid.Cols())
        return 0;

    int count = 0;
    QList<int> changedRows;
    {
        EventsOffGuard quiet;
        const bool redraw = grid.Redraw();
        grid.setRedraw(false);
        for (int r = 2; r < grid.Rows(); ++r) {
            const int index = gTranscription->faIndex(r, col);
            QString text = grid.TextArray(index);
            const int n = replace(text);
            if (n == 0)
                continue;
            grid.setTextArray(index, text);
            count += n;
            changedRows << r;
        }
        grid.setRedraw(redraw);
        if (count == 0)
            return 0;
        if (gChangeMonitor)
            gChangeMonitor->Changed();
        // Only the rows that changed are rewritten, flushed once, and a row
        // that no longer fits its record keeps its last saved version.
        if (gWorkFile)
            gWorkFile->SaveRowsToWork(changedRows);
    }
    return count;
}

} // namespace

int ReplaceForenameInGrid(const QString &oldName, const QString &newName)
{
    if (oldName.isEmpty() || !gTranscription)
        return 0;
    return replaceInColumn(gTranscription->ForenamesCol(), [&](QString &text) {
        QStringList words = text.split(u' ');
        int n = 0;
        for (QString &word : words) {
            if (word.compare(oldName, Qt::CaseInsensitive) == 0) {
                word = newName;
                ++n;
            }
        }
        if (n > 0)
            text = words.join(u' ');
        return n;
    });
}

int ReplaceDistrictInGrid(const QString &oldEntry, const QString &newEntry)
{
    if (oldEntry.isEmpty() || !gTranscription)
        return 0;
    return replaceInColumn(gTranscription->DistrictCol(), [&](QString &text) {
        if (text != oldEntry)
            return 0;
        text = newEntry;
        return 1;
    });
}
