#pragma once

// Where the open batch's files lie, for the main window's file commands and
// its header-form hand-back.

#include "core/FormRegistry.h"
#include "core/Project.h"

#include <QDir>
#include <QString>

namespace BatchFilePaths {

// A file of that name in the save folder.
inline QString InSaveFolder(const QString &name)
{
    return QDir(gProject->SavePath()).filePath(name);
}

// The batch file's name with the prefix of the copy a header edit keeps.
inline QString PreCopyName(const QString &batchName)
{
    return QStringLiteral("Pre_") + batchName;
}

inline QString PreCopyPath(const QString &batchName)
{
    return InSaveFolder(PreCopyName(batchName));
}

// The results window of an earlier save goes before a batch changes.
inline void UnloadResultsWindow()
{
    if (QObject *results = FindForm(QStringLiteral("frmMessage")))
        results->deleteLater();
}

} // namespace BatchFilePaths
