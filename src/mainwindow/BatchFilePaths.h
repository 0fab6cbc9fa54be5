#pragma once

// Where the open batch's files lie, for the main window's file commands and
// its header-form hand-back.

#include "core/FormRegistry.h"
#include "core/Project.h"

#include <QDir>
#include <QString>

namespace BatchFilePaths {

// A file of that name in the save folder; "" when the name is not a plain
// file name (IsPlainFileName): a name read from a batch file must never lead
// a copy, a move or a delete out of the save folder.
inline QString InSaveFolder(const QString &name)
{
    return Project::IsPlainFileName(name) ? QDir(gProject->SavePath()).filePath(name) : QString();
}

// The batch file's name with the prefix of the copy a header edit keeps.
inline QString PreCopyName(const QString &batchName)
{
    return QStringLiteral("Pre_") + batchName;
}

// "" when the batch's name is not a plain file name, as InSaveFolder.
inline QString PreCopyPath(const QString &batchName)
{
    return Project::IsPlainFileName(batchName) ? InSaveFolder(PreCopyName(batchName)) : QString();
}

// The results window of an earlier save goes before a batch changes.
inline void UnloadResultsWindow()
{
    if (QObject *results = FindForm(QStringLiteral("frmMessage")))
        results->deleteLater();
}

} // namespace BatchFilePaths
