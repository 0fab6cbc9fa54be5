#include "transcription/CrashRecovery.h"

#include "core/FileHelpers.h"
#include "core/Globals.h"
#include "core/MessageWindows.h"
#include "core/Project.h"
#include "core/Services.h"
#include "core/VbHelpers.h"
#include "core/clsEvents.h"
#include "lists/Districts.h"
#include "transcription/Transcription.h"
#include "transcription/clsWorkFile.h"

#include <QDir>
#include <QFileInfo>

namespace {

const QString kCrLf = QStringLiteral("\r\n");

class NullRecoveryWindows final : public RecoveryWindows
{
public:
    void HideForm1() override {}
    void Edit_Header() override {}
    bool GetPicture(const QString &) override { return false; }
    void setScanMenuCaption(const QString &) override {}
    void setZoomEnabled(bool) override {}
};

NullRecoveryWindows gNullWindows;
RecoveryWindows *gInstalledWindows = nullptr;

bool RebuildFromWorkFile()
{
    // A folder at the work file's path holds no batch to offer; the
    // transcriber is told it is in the way.
    if (!gWorkFile || gWorkFile->FolderInTheWay() || !gWorkFile->WorkExists())
        return false;
    const int answer = SystemMessageBox(
        QStringLiteral("Your previous run of Pelkar did not closedown properly. Would you like me "
                       "to try a recovery to that point?"),
        Mb::YesNo | Mb::Question, kProductName);
    if (answer != Mb::Yes) {
        gWorkFile->DeleteWork();
        return false;
    }
    ShowPopup(QStringLiteral("ERROR RECOVERY - PELKAR IS RELOADING THE LAST BATCH"), false);
    // A failed rebuild has told the transcriber and set the file aside.
    if (!gTranscription || !gWorkFile->RestoreWorkfile())
        return false;
    const auto &hooks = gTranscription->batchFileHooks();
    if (hooks.companionBatchKey)
        hooks.companionBatchKey(QString::number(gProject->iYear()) + gProject->ZelLetter()
                                + QString::number(gProject->iQtr()));
    return true;
}

bool IsTraceOn(const QString &commandLine)
{
    return VbUCase(commandLine.trimmed()) == QLatin1String("TRACEON");
}

// Continues the batch of the previous run when its file is still in the
// save folder and the transcriber agrees. False when nothing was loaded,
// or when the transcriber ended the program from the header form.
bool ContinueLastBatch(const QString &lastBatch)
{
    if (lastBatch.isEmpty() || !gTranscription)
        return false;
    Project &project = *gProject;
    project.setBatchName(lastBatch);
    project.GoToSaveDir();
    if (!FileExists(QDir(project.SavePath()).filePath(lastBatch)))
        return false;

    RecoveryWindow().HideForm1();
    {
        EventsOffGuard quiet;
        ShowPopup(QStringLiteral("Would you like to continue using batch ") + kCrLf + lastBatch
                      + QStringLiteral("?"),
                  true);
    }
    if (!gPopAnswer)
        return false;
    // No path: a work file still there (a rebuild that failed earlier) is
    // tried again instead of the file.
    if (!gTranscription->Restore())
        return false;
    if (!project.HeaderIsComplete())
        RecoveryWindow().Edit_Header();
    if (gHeaderResult == 5)
        return false;
    if (!project.ScanFile().isEmpty())
        OfferReopenScan();
    return true;
}

} // namespace

RecoveryWindows &RecoveryWindow()
{
    return gInstalledWindows ? *gInstalledWindows : gNullWindows;
}

void SetRecoveryWindows(RecoveryWindows *windows)
{
    gInstalledWindows = windows;
}

bool OfferCrashRecovery(const QString &commandLine)
{
    if (!gProject)
        return false;
    // The last batch is named from the header the settings held at start:
    // the loads below clear the header before they read, and a load that
    // failed must not hide the batch that was being worked on.
    const QString lastBatch = gProject->BuildBatchName();

    const bool rebuilt = RebuildFromWorkFile();
    if (rebuilt)
        return true;

    if (!commandLine.trimmed().isEmpty() && !IsTraceOn(commandLine) && gTranscription
        && gTranscription->Restore(commandLine))
        return true;

    if (ContinueLastBatch(lastBatch))
        return true;
    if (gHeaderResult == 5)
        return false;

    if (gDistricts)
        gDistricts->Read_Districts();
    return false;
}

void OfferReopenScan()
{
    if (!gProject)
        return;
    Project &project = *gProject;
    const QString scanFile = project.ScanFile();
    const QString scan = QDir(project.ScanPath()).filePath(scanFile);
    if (scanFile.isEmpty() || !QFileInfo(scan).isFile())
        return;
    if (ShowPopup(QStringLiteral("Would you like to Reopen Scan ") + kCrLf
                      + QFileInfo(scan).fileName() + QStringLiteral(" ?"),
                  true)) {
        ShowScanImage(scan);
    } else {
        project.setScanFile(QString());
    }
}

void ShowScanImage(const QString &path)
{
    RecoveryWindows &windows = RecoveryWindow();
    const bool loaded = windows.GetPicture(path);
    windows.setScanMenuCaption(QStringLiteral("Close Scan"));
    if (loaded)
        return;
    if (gProject) {
        gProject->setScanOn(false);
        gProject->setScanFile(QString());
    }
    windows.setScanMenuCaption(QStringLiteral("Show Scan Image"));
    windows.setZoomEnabled(false);
}

void ResetForNewBatch()
{
    if (gProject) {
        gProject->setInvalid(false);
        gProject->setDataLines(0);
    }
    if (gWorkFile)
        gWorkFile->StartNewWorkfile();
    if (gTranscription)
        gTranscription->ClearValidation();
}
