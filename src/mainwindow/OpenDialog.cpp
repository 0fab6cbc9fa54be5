#include "mainwindow/OpenDialog.h"

#include "core/FileHelpers.h"
#include "core/FolderChoice.h"
#include "core/Globals.h"
#include "core/MessageWindows.h"
#include "core/Project.h"
#include "core/Services.h"
#include "core/VbHelpers.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <algorithm>

namespace {
const QString kCrLf = QStringLiteral("\r\n");

const QString kInputFilter = QStringLiteral(
    "ZEL Files (*.ZEL;*.SCA)|*.ZEL;*.SCA|All Files (*.*)|*.*|Pelkar Files (*.ZEL)|*.ZEL|"
    "Lumivark Files (*.SCA)|*.SCA");
const QString kSaveFilter = QStringLiteral("Pelkar Files (*.ZEL)|*.ZEL|All Files (*.*)|*.*");
const QString kScanFilter = QStringLiteral(
    "Tif or JPG Files (*.tif; *.jpg)|*.tif;*.tiff;*.jpg|All Files (*.*)|*.*");
const QString kAllFilter = QStringLiteral("All Files (*.*)|*.*");

// The folder part of a path (before its last separator); stored paths from
// an earlier installation may still use "\".
int lastSeparator(const QString &path)
{
    return std::max(path.lastIndexOf(u'/'), path.lastIndexOf(u'\\'));
}
} // namespace

bool OpenInputFileDialog(QString &path)
{
    path = VbTrim(Services::dialogs().openFile(kProductName + QStringLiteral(" Open Input File"),
                                               gProject->SavePath(), kInputFilter));
    if (path.isEmpty())
        return false;
    if (VbUCase(path.right(3)) == QLatin1String("ZEL") && gProject->bLumivark())
        gProject->setBLumivark(false);
    return true;
}

bool SaveFileDialog(QString &path)
{
    path = VbTrim(Services::dialogs().saveFile(kProductName + QStringLiteral(" Open Save File"),
                                               gProject->SavePath(), gProject->BatchName(),
                                               kSaveFilter));
    return !path.isEmpty();
}

bool SelectScanFileDialog(QString &path)
{
    QString folder = VbTrim(gProject->ScanPath());
    if (folder.isEmpty())
        folder = gProject->DataPath();
    if (!FolderExists(folder)) {
        folder = gProject->DataPath();
        gProject->setScanPath(folder);
    }
    path = VbTrim(Services::dialogs().openFile(
        kProductName + QStringLiteral(" - Select Scan File"), folder, kScanFilter));
    if (path.isEmpty())
        return false;
    const int cut = lastSeparator(path);
    gProject->setScanPath(cut >= 0 ? path.left(cut) : QString());
    gProject->SetRegistryValues();
    return true;
}

QString bOpenSuppFile(const QString &presentPath)
{
    const int cut = lastSeparator(presentPath);
    const QString folder = cut >= 0 ? presentPath.left(cut) : QString();
    const QString name = cut >= 0 ? presentPath.mid(cut + 1) : presentPath;
    const QString chosen = VbTrim(Services::dialogs().openFile(
        kProductName + QStringLiteral(" Define Supplementary File"), folder, kAllFilter, name,
        false));
    if (chosen.isEmpty())
        return QString();
    if (!QFileInfo::exists(chosen)) {
        QFile file(chosen);
        if (!file.open(QIODevice::WriteOnly)) {
            // 75: the old "Path/File access error".
            SystemMessageBox(QStringLiteral("Error 75 (") + file.errorString()
                                 + QStringLiteral(") in procedure bOpenSuppFile of Module OpenDialog"),
                             Mb::Critical, kProductName);
            return QString();
        }
    }
    return chosen;
}

bool DefineSavePath()
{
    QString folder = gProject->SavePath();
    if (!BrowseForFolder(folder, QStringLiteral("MyDocs")))
        return false;
    gProject->setSavePath(folder);
    gProject->SetRegistryValues(true);
    return true;
}

QString GetSpecialFolderPath(int folderId)
{
    QString folder;
    switch (folderId) {
    case 0:
    case 16:
        folder = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
        break;
    case 5:
        folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
        break;
    case 26:
        folder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
        break;
    case 35:
        folder = Project::SystemFilesFolder();
        break;
    default:
        SystemMessageBox(QStringLiteral("An invalid folder ID was specified ")
                             + QString::number(folderId) + kCrLf
                             + QStringLiteral("Press OK to continue"),
                         Mb::OkOnly, kProductName);
        return QString();
    }
    if (folder.isEmpty() || !QFileInfo(folder).isDir()) {
        SystemMessageBox(QStringLiteral("The folder does not exist ") + QString::number(folderId)
                             + kCrLf + QStringLiteral("Press OK to continue"),
                         Mb::OkOnly, kProductName);
        return QString();
    }
    return QDir(folder).absolutePath() + QLatin1Char('/');
}
