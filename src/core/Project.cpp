#include "core/Project.h"

#include <QDir>

void Project::Setup()
{
    if (mFilesPath.trimmed().isEmpty())
        mFilesPath = QDir(mDataPath).filePath(QStringLiteral("Files"));
}

void Project::SetRegistryValues() {}

void Project::Tracing() {}

void Project::TraceLine(const QString &) {}
