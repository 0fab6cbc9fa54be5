#include "core/Project.h"

#include "core/FileHelpers.h"
#include "core/FolderChoice.h"
#include "core/Globals.h"
#include "core/MessageWindows.h"
#include "core/Services.h"
#include "core/UserSettings.h"
#include "core/VbHelpers.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QStringList>

#include <cerrno>
#include <filesystem>
#include <system_error>

namespace {
const QString kApp = QStringLiteral("Pelkar");
const QString kStartup = QStringLiteral("Startup");
const QString kDataPathKey = QStringLiteral("DataPath");
const QString kDefaultFolderName = QStringLiteral("Pelkar_Files");
const QString kUseDefault = QStringLiteral("Use Default");
const QString kLocate = QStringLiteral("Locate a New Folder");
const QString kCrLf = QStringLiteral("\r\n");

// The shared files of an installed program: share/pelkar beside its bin
// folder (the build sets the relative path from the install layout).
QString installedShareFolder()
{
    const QDir appDir(QCoreApplication::applicationDirPath());
    return QDir::cleanPath(appDir.filePath(QStringLiteral(PELKAR_SHARE_FROM_BIN)));
}

QString documentsFolder()
{
    return VbTrim(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
}

// The first-run explanation; lines marked by an empty entry after them are
// followed by an empty line.
QString firstRunText(const QString &defaultFolder)
{
    const QStringList lines{
        QStringLiteral("In version 7 all the files (e.g. the DistrictFile and your transcribed files)"),
        QStringLiteral("are stored in a new folder which now needs to be created."),
        QStringLiteral("The default for this folder is:,"),
        defaultFolder,
        QString(),
        QStringLiteral(" You can select to use this default, or create your own."),
        QString(),
        QStringLiteral("It is STRONGLY RECOMMENDED that you click the Use Default button"),
        QString(),
        QStringLiteral("Pelkar will automatically copy any transcribed files to a new Output folder"),
        QStringLiteral("below Pelkar_Files."),
        QString(),
        QStringLiteral("If you decide to create your own then you should do so somewhere to"),
        QStringLiteral("which you have full access e.g. Below your My Documents folder"),
        QStringLiteral("Please give the folder a name you will recognise e.g. PelkarFiles"),
        QString(),
        QStringLiteral("If you are unsure how to select a different folder...."),
        QString(),
        QStringLiteral("The following window shows the folder it starts in (beside 'Look in:' at the top)"),
        QStringLiteral("with the folders inside it listed below. Double-click a folder to open it;"),
        QStringLiteral("the green arrow at the top goes back up one level."),
        QStringLiteral("With the folder you want to put it in open,"),
        QStringLiteral("click the 'Create New Folder' button at the top right of the window"),
        QStringLiteral("(a yellow folder with a green plus sign (+) on it)"),
        QStringLiteral("and a 'New Folder' will appear with its name highlighted."),
        QStringLiteral("Type the name you want to give the folder (e.g. 'PelkarFiles') replacing"),
        QStringLiteral("the text 'New Folder' and press Enter, then click the Choose button."),
        QStringLiteral("If you make a mistake and don't know what to do, click the Cancel button,"),
        QStringLiteral("and Pelkar will finish and you can start over."),
    };
    QString text;
    for (const QString &line : lines)
        text += line + kCrLf;
    return text;
}

QString folderGoneText(const QString &folder)
{
    return QStringList{
        QStringLiteral("The folder where the data files are stored no longer exists"),
        QStringLiteral("It was ") + folder,
        QStringLiteral("If you have deleted it we need to create a new one"),
        QStringLiteral("If you have moved it then we need to locate it"),
        QStringLiteral("Pelkar will now end. You can then either recreate the folder where it was"),
        QStringLiteral("or simply restart Pelkar and you will be prompted to locate a folder"),
        QStringLiteral(" If you recreate it you will still have to locate that folder when"),
        QStringLiteral("Pelkar is restarted."),
    }.join(kCrLf);
}

// Creates the folder (and any missing parents) unless it is there already.
// Returns an empty text on success, else why it could not be made.
QString makeFolder(const QString &folder)
{
    const QFileInfo info(folder);
    if (info.isDir())
        return QString();
    if (info.exists() || info.isSymLink())
        return QStringLiteral("A file of that name is in the way.");
    std::error_code error;
    std::filesystem::create_directories(QFile::encodeName(folder).toStdString(), error);
    if (error)
        return QString::fromLocal8Bit(error.message());
    return QFileInfo(folder).isDir() ? QString() : QStringLiteral("The folder did not appear.");
}

// The number and text of the last failed system call, as the error messages
// name them.
QString lastErrorText(int error)
{
    return QString::number(error) + QStringLiteral(" (") + qt_error_string(error)
           + QStringLiteral(")");
}
} // namespace

bool BrowseForFolder(QString &path, const QString &startKeyword)
{
    QString start = VbTrim(path);
    if (start.size() < 2) {
        start = startKeyword == QLatin1String("MyDocs")
                    ? documentsFolder()
                    : VbTrim(QStandardPaths::writableLocation(QStandardPaths::DesktopLocation));
    }
    if (start.size() > 1 && start.endsWith(u'/'))
        start.chop(1);
    path = Services::dialogs().chooseFolder(kProductName + QStringLiteral(" - Select Folder"),
                                            start);
    return !path.isEmpty();
}

QString Project::SystemFilesFolder()
{
    const QString installed = installedShareFolder();
    if (QFileInfo(installed).isDir())
        return installed;
    const QString sourceTree = QStringLiteral(PELKAR_SOURCE_RESOURCES);
    if (QFileInfo(sourceTree).isDir())
        return sourceTree;
    return QString();
}

bool Project::GetPathToFolders()
{
    mCommonAppData = VbTrim(SystemFilesFolder());
    if (!FileExists(mCommonAppData)) {
        // Name the place an installation would have it, rather than nothing.
        const QString missing = mCommonAppData.isEmpty() ? installedShareFolder() : mCommonAppData;
        ShowMessage(QStringLiteral("The Pelkar system files folder does not exist ") + missing
                        + kCrLf + QStringLiteral("Pelkar can continue but please send this message to ")
                        + SupportEmail(),
                    Mb::Information, kProductName);
        mCommonAppData.clear();
    }

    const QString documents = documentsFolder();
    const QString defaultFolder = QDir(documents).filePath(kDefaultFolderName);

    QString value = VbTrim(GetUserSetting(kApp, kStartup, kDataPathKey));
    if (!value.isEmpty() && !ValidDrive(value)) {
        SystemMessageBox(QStringLiteral("Invalid drive letter in registry Datapath ") + value,
                         Mb::Exclamation, kProductName);
        value.clear();
    }

    while (value.isEmpty()) {
        const QString answer = MyMsgBox(firstRunText(defaultFolder), Mb::IconInformation,
                                        kProductName, {kUseDefault, kLocate});
        if (answer == kUseDefault) {
            value = defaultFolder;
            const QString reason = makeFolder(value);
            if (!reason.isEmpty()) {
                SystemMessageBox(QStringLiteral("Pelkar could not create the folder ") + value
                                     + kCrLf + reason + kCrLf
                                     + QStringLiteral("Please choose another folder."),
                                 Mb::Critical, kProductName);
                value.clear();
                continue;
            }
        } else if (!BrowseForFolder(value, QStringLiteral("MyDocs"))) {
            return false;
        }

        value = VbTrim(value);
        if (!ValidDrive(value)) {
            SystemMessageBox(QStringLiteral("Sorry, Pelkar cannot use drive ") + value
                                 + QStringLiteral(" - Try Again."),
                             Mb::Critical, QStringLiteral("Invalid Drive"));
            value.clear();
            continue;
        }
        // A newly chosen data folder means the files of an earlier
        // installation may have to be brought into it.
        gForceMigration = true;
        SaveUserSetting(kApp, kStartup, kDataPathKey, value);
        mFilesPath = QDir(value).filePath(QStringLiteral("Files"));
    }

    if (QFileInfo(value).isDir()) {
        mDataPath = value;
        return true;
    }
    // Forget the folder first, so that the next start asks again.
    SaveUserSetting(kApp, kStartup, kDataPathKey, QString());
    SystemMessageBox(folderGoneText(value), Mb::Critical, kProductName);
    return false;
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

// There are no drive letters here. A relative data folder would move with
// the current folder, so it counts as an invalid drive.
bool Project::ValidDrive(const QString &path)
{
    const QString trimmed = VbTrim(path);
    return !trimmed.isEmpty() && QDir::isAbsolutePath(trimmed);
}

void Project::GoToSaveDir()
{
    QString path = SavePath();
    if (!FolderExists(path)) {
        ShowMessage(QStringLiteral("Your Save folder ") + path + QStringLiteral(" no longer exists.")
                        + kCrLf + QStringLiteral("I have reverted to saving in the folder Output."),
                    Mb::Exclamation, kProductName);
        mSavePath = QDir(mDataPath).filePath(QStringLiteral("Output"));
        path = mSavePath;
    }
    errno = 0;
    if (!QDir::setCurrent(path)) {
        const int error = errno ? errno : ENOENT;
        SystemMessageBox(QStringLiteral("Error ") + lastErrorText(error)
                             + QStringLiteral(" in procedure GoToSaveDir of Class Module Project"),
                         Mb::OkOnly);
    }
}

void Project::GoToFileDir()
{
    errno = 0;
    if (!QDir::setCurrent(GetFilePath())) {
        const int error = errno ? errno : ENOENT;
        SystemMessageBox(QStringLiteral("Error ") + lastErrorText(error)
                             + QStringLiteral(" in procedure GoToFileDir of Class Module Project.")
                             + kCrLf + QStringLiteral("Path=") + GetFilePath(),
                         Mb::OkOnly);
    }
}
