#pragma once

// The real main window with a generated births batch of a chosen size open
// in it, for the benchmarks of commands and cell moves whose work could
// grow with the batch. The batch is loaded again only when the size
// changes.

#include "BenchStats.h"
#include "GeneratedBatch.h"
#include "MainWindowBench.h"

#include "core/FileHelpers.h"
#include "entry/FlexGrid.h"

#include <QAction>
#include <QCoreApplication>

#include <memory>

namespace BatchWindowBench {

inline std::unique_ptr<MainWindowBench> gWindow;
inline int gLoadedEntries = 0;

// Runs of each benchmark: PELKAR_BENCH_REPETITIONS, 5 unless given.
inline int repetitions()
{
    bool ok = false;
    const int n = qEnvironmentVariableIntValue("PELKAR_BENCH_REPETITIONS", &ok);
    return ok && n > 0 ? n : 5;
}

inline MainWindowBench &bench()
{
    if (!gWindow)
        gWindow = std::make_unique<MainWindowBench>(MainWindowBench::Lists::FullSize);
    return *gWindow;
}

inline Form1 &form()
{
    return *bench().window;
}

inline FlexGrid &grid()
{
    return form().fgInput();
}

inline QString batchPath()
{
    return QDir(gProject->SavePath()).filePath(GeneratedBatch::fileName());
}

// The batch of that size open in the window.
inline bool useBatch(int entries)
{
    bench();
    if (gLoadedEntries == entries)
        return true;
    if (!WriteFileWhole(batchPath(), GeneratedBatch::birthsBatchBytes(entries))
        || !form().LoadFile(batchPath()))
        return false;
    QCoreApplication::processEvents();
    gLoadedEntries = entries;
    return true;
}

inline bool isLine(int row)
{
    const QString text = grid().TextMatrix(row, 1);
    return text.startsWith(u'+') || text.startsWith(u'#');
}

inline int firstEntryRow()
{
    for (int row = 2; row < grid().Rows(); ++row) {
        if (!isLine(row))
            return row;
    }
    return 2;
}

inline void goTo(int row, int col)
{
    grid().setRowCol(row, col);
    QCoreApplication::processEvents();
}

inline void trigger(const char *name)
{
    if (QAction *action = form().MenuItem(QString::fromLatin1(name)))
        action->trigger();
}

// The window goes before the application.
inline void release()
{
    gWindow.reset();
}

} // namespace BatchWindowBench
