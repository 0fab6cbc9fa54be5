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
#include <QApplication>
#include <QCoreApplication>

#include <memory>

namespace BatchWindowBench {

inline std::unique_ptr<MainWindowBench> gWindow;
inline int gLoadedEntries = 0;

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

// The batch of the benchmark's size (its first argument) open, or the
// benchmark skipped with the reason.
inline bool useBatchOrSkip(benchmark::State &state)
{
    if (useBatch(int(state.range(0))))
        return true;
    state.SkipWithError("the batch did not load");
    return false;
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

// A benchmark program's main: the benchmarks registerAll registers run in
// the real window on the offscreen platform; cleanUp runs before the
// window goes, which goes before the application.
inline int RunBenchmarks(int argc, char **argv, void (*registerAll)(), void (*cleanUp)() = nullptr)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // The benchmark's own arguments first: the program takes what is left
    // on its command line for a batch file to open.
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    QApplication app(argc, argv);
    BenchFolder();
    bench();
    registerAll();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    if (cleanUp)
        cleanUp();
    gWindow.reset();
    return 0;
}

} // namespace BatchWindowBench
