#pragma once

// The project and grid that the grid and batch-file tests start from.

#include "TestFiles.h"

#include "core/Globals.h"
#include "core/Project.h"
#include "core/SettingsFileStore.h"
#include "entry/FlexGrid.h"

#include <QDir>
#include <QFont>

#include <memory>

namespace TestBatch {

// Points gProject at dataFolder (created) and loads settings whose period
// thresholds differ from each other (MomQtr 3, SpouseQtr 2, DoBQtr 2), so
// that a rule reading the wrong one shows. Returns false when the settings
// could not be written or read.
inline bool useDataFolder(const QString &dataFolder)
{
    if (!QDir().mkpath(dataFolder))
        return false;
    gProject->setDataPath(dataFolder);
    gProject->setFilesPath(QDir(dataFolder).filePath(QStringLiteral("Files")));
    if (!TestFiles::writeBytes(QDir(dataFolder).filePath(QStringLiteral("Pelkarini.txt")),
                               "[Startup]\r\nMomQtr=3\r\nSpouseQtr=2\r\nDoBQtr=2\r\n"))
        return false;
    ClearIniStore();
    return gProject->GetRegistryValues();
}

// A grid with a fixed font and a viewport of known size in twips.
inline std::unique_ptr<FlexGrid> makeGrid()
{
    auto grid = std::make_unique<FlexGrid>();
    grid->setFont(QFont(QStringLiteral("DejaVu Sans Mono"), 10));
    grid->setViewportSize(12000, 3000);
    return grid;
}

} // namespace TestBatch
