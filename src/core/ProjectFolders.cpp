#include "core/Project.h"

#include "core/Globals.h"
#include "core/UserSettings.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace {
const QString kApp = QStringLiteral("Pelkar");
const QString kStartup = QStringLiteral("Startup");
const QString kDataPathKey = QStringLiteral("DataPath");
} // namespace

QString Project::SystemFilesFolder()
{
    const QDir appDir(QCoreApplication::applicationDirPath());
    const QString installed = QDir::cleanPath(appDir.filePath(QStringLiteral("../share/pelkar")));
    if (QFileInfo(installed).isDir())
        return installed;
    const QString sourceTree = QStringLiteral(PELKAR_SOURCE_RESOURCES);
    if (QFileInfo(sourceTree).isDir())
        return sourceTree;
    return QString();
}

bool Project::GetPathToFolders()
{
    mCommonAppData = SystemFilesFolder();

    QString dataPath = GetUserSetting(kApp, kStartup, kDataPathKey).trimmed();
    // A relative folder would move with the current folder.
    if (!dataPath.isEmpty() && QDir::isRelativePath(dataPath))
        dataPath.clear();
    if (dataPath.isEmpty()) {
        const QString documents =
            QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
        if (documents.isEmpty())
            return false;
        dataPath = QDir(documents).filePath(QStringLiteral("Pelkar_Files"));
        if (!QDir().mkpath(dataPath))
            return false;
        gForceMigration = true;
        SaveUserSetting(kApp, kStartup, kDataPathKey, dataPath);
        mFilesPath = QDir(dataPath).filePath(QStringLiteral("Files"));
    }
    if (!QFileInfo(dataPath).isDir())
        return false;
    mDataPath = dataPath;
    return true;
}


QString Project::GetOriginalFilesPath() const
{
    return QDir(mDataPath).filePath(QStringLiteral("OriginalFiles"));
}

QString Project::SavePath() const
{
    return mSavePath.isEmpty() ? QDir(mDataPath).filePath(QStringLiteral("Output")) : mSavePath;
}

QString Project::ScanPath() const
{
    return mScanPath.isEmpty() ? mDataPath : mScanPath;
}

bool Project::ValidDrive(const QString &path)
{
    return QDir::isAbsolutePath(path.trimmed());
}

void Project::GoToSaveDir()
{
    QDir::setCurrent(SavePath());
}

void Project::GoToFileDir()
{
    QDir::setCurrent(GetFilePath());
}
