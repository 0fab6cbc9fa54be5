#include "core/Tidy.h"

#include "core/FileHelpers.h"
#include "core/Globals.h"
#include "core/Project.h"

#include <QDir>

// Until the migration of an earlier installation is in place, a data folder
// that has just been chosen gets what the migration would give a new
// installation: its Files folder, and the shipped reference files in its
// OriginalFiles folder, from which the lists are first made.
bool Tidy_Version6()
{
    if (!gForceMigration || !gProject)
        return true;
    const QDir data(gProject->DataPath());
    data.mkdir(QStringLiteral("Files"));
    const QDir shipped(QDir(Project::SystemFilesFolder()).filePath(QStringLiteral("OriginalFiles")));
    if (!shipped.exists())
        return true;
    data.mkdir(QStringLiteral("OriginalFiles"));
    const QDir originals(data.filePath(QStringLiteral("OriginalFiles")));
    for (const QString &name : shipped.entryList(QDir::Files))
        CopyFileOver(shipped.filePath(name), originals.filePath(name));
    return true;
}

void MergeSuppDistricts1974() {}
