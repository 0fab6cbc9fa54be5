// The main window's side of the header form (opened for a new batch, for a
// header edit and at start-up) and the loading of a batch file, which the
// header form's "open this file instead" also leads to.

#include "mainwindow/Form1.h"

#include "app/StartUp.h"
#include "core/FileHelpers.h"
#include "core/FormRegistry.h"
#include "core/Globals.h"
#include "core/MessageWindows.h"
#include "core/Project.h"
#include "core/Services.h"
#include "core/VbHelpers.h"
#include "core/clsEvents.h"
#include "entry/DistrictBox.h"
#include "entry/FlexGrid.h"
#include "entry/ForenameBox.h"
#include "entry/myRichTextbox.h"
#include "header/frmHeader.h"
#include "lists/Districts.h"
#include "lists/frmPickList.h"
#include "mainwindow/BatchFilePaths.h"
#include "mainwindow/OpenDialog.h"
#include "mainwindow/ShowStatus.h"
#include "mainwindow/clsTressel.h"
#include "transcription/Change_Monitor.h"
#include "transcription/CrashRecovery.h"
#include "transcription/EntryBoxes.h"
#include "transcription/Recent_files.h"
#include "transcription/Transcription.h"
#include "transcription/clsWorkFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

using namespace BatchFilePaths;

namespace {

const QString kCrLf = QStringLiteral("\r\n");

// The work file begun again for the batch's new header, with every row.
void StartWorkFileAfresh()
{
    if (!gWorkFile)
        return;
    gWorkFile->StartNewWorkfile();
    gWorkFile->SaveHeaderToWork();
    gWorkFile->SaveGridToWork();
}

// A silent save that failed: the transcriber still hears of it.
void TellSaveFailed()
{
    QString text = QStringLiteral("Your data has NOT been saved");
    if (gTranscription && !gTranscription->SaveFindings().isEmpty())
        text += kCrLf + gTranscription->SaveFindings();
    ShowMessage(text, Mb::Exclamation, kProductName);
}

void ClearEntryBoxes()
{
    EventsOffGuard quiet;
    if (gDistrictBox)
        gDistrictBox->ClearBox();
    if (gForenameBox)
        gForenameBox->ClearBox();
    if (gRichTextbox)
        gRichTextbox->Clear();
}

// The copy a header edit keeps is not left behind when the edit ends
// without Ok or Cancel: it goes, unless the batch file has gone meanwhile,
// when it is the batch's only copy and takes the batch's name back.
void SettlePreCopy(const QString &batchName)
{
    const QString preCopy = PreCopyPath(batchName);
    if (preCopy.isEmpty() || !QFileInfo::exists(preCopy))
        return;
    const QString batchFile = InSaveFolder(batchName);
    if (QFileInfo::exists(batchFile))
        QFile::remove(preCopy);
    else
        MoveFileReplacing(preCopy, batchFile);
}

} // namespace

// ---- Loading a batch file ------------------------------------------------------

bool Form1::LoadFile(const QString &path)
{
    if (!gProject || !gTranscription)
        return false;
    Project &project = *gProject;
    UnloadResultsWindow();
    QString file = VbTrim(path);

    gHeaderResult = 0;
    // The file is chosen before anything of the open batch is touched: a
    // cancelled dialog leaves it exactly as it was.
    if (file.isEmpty() && !OpenInputFileDialog(file)) {
        gHeaderResult = 3;
        return false;
    }

    // The open batch goes whole into the work file first: a file that fails
    // to load then gives it back, unsaved changes included.
    const bool hadBatch = !project.BatchName().isEmpty() && gWorkFile;
    const bool hadChanges = gChangeMonitor && gChangeMonitor->AnyChange();
    // Not again when the file holds it whole already (an unchanged batch).
    if (hadBatch)
        gWorkFile->SaveBatchToWork();

    // A file whose header the reader marks invalid is read once: reading it
    // again would find the same header.
    project.setInvalid(false);
    project.setDataLines(0);
    gTranscription->ClearValidation();
    gTranscription->setKeepGrid(false);
    project.GoToSaveDir();
    const bool loaded = gTranscription->Restore(file);

    if (!loaded) {
        // Restore has said why. The batch that was open comes back from the
        // work file; with none, the transcriber starts afresh.
        if (hadBatch && gWorkFile->RestoreWorkfile()) {
            // Saved or not, as it was before.
            if (gChangeMonitor) {
                if (hadChanges)
                    gChangeMonitor->Changed();
                else
                    gChangeMonitor->DataSaved();
            }
            Set_TextBox();
        } else {
            project.setBatchName(QString());
        }
        gHeaderResult = 3;
        return false;
    }

    // Another batch is in the grid: the deleted row of the one before is
    // not its own.
    ForgetDeletedRow();

    if (!project.HeaderIsComplete()) {
        Edit_Header(true);
        return false;
    }

    mOpenedFile = file;
    if (gRecentFiles)
        gRecentFiles->Propose(file);
    project.SaveProject();
    if (gTressel)
        gTressel->setYTQ(QString::number(project.iYear()) + project.ZelLetter()
                         + QString::number(project.iQtr()));
    gTranscription->AddLine1();
    if (gDistricts)
        gDistricts->ConvertFormat();

    mShowStatus->ShowMsg(QStringLiteral("Batch =") + QString::number(project.Batchnumber()));
    mShowStatus->ShowFile();

    if (project.DistPick() || project.ForePick()) {
        if (!FindForm(QStringLiteral("frmPickList"))) {
            auto *pickList = new frmPickList(this);
            pickList->show();
            project.HidePickList();
        }
        PositionPickList();
    }
    SetUpMainForm();

    {
        EventsOffGuard quiet;
        if (mGrid->Rows() < 3)
            gTranscription->AddRow();
        gCurrentCol = 1;
        gCurrentRow = 2;
        mGrid->setCol(1);
        mGrid->setRow(2);
        if (gChangeMonitor)
            gChangeMonitor->DataSaved();
        ApplySettingsToMenus();
    }
    Set_TextBox();
    gTranscription->CountRows();
    SetCaption();
    // A batch is open: a header form still waiting for a new one is done.
    if (myFrmHeader) {
        closeHeaderForm();
        gHeaderReason = -1;
    }
    return true;
}

// ---- The header form ---------------------------------------------------------

QWidget *Form1::headerForm() const
{
    return myFrmHeader.data();
}

void Form1::WaitForHeaderForm()
{
    if (!myFrmHeader) {
        myFrmHeader = new frmHeader(this);
        myFrmHeader->setWindowFlag(Qt::Window);
        myFrmHeader->setAttribute(Qt::WA_DeleteOnClose, false);
        // Queued: the form is released here, never inside its own signal.
        connect(myFrmHeader.data(), &frmHeader::HeaderFormFinished, this,
                [this](int &code) {
                    const int result = code;
                    QMetaObject::invokeMethod(
                        this, [this, result] { myFrmHeader_HeaderFormFinished(result); },
                        Qt::QueuedConnection);
                });
    }
    HideForm1();
    myFrmHeader->show();
    myFrmHeader->raise();
    myFrmHeader->activateWindow();
}

void Form1::closeHeaderForm()
{
    if (!myFrmHeader)
        return;
    frmHeader *form = myFrmHeader.data();
    myFrmHeader.clear();
    form->Unload();
    form->deleteLater();
}

void Form1::mnuEditHeader_Click()
{
    Edit_Header(false);
}

void Form1::Edit_Header(bool bNoSave)
{
    if (!gProject || !gTranscription)
        return;
    Project &project = *gProject;
    UnloadResultsWindow();
    if (!bNoSave) {
        if (CantUseMenues() || !gTranscription->CheckInvalidEntries(true))
            return;
        if (!gTranscription->TestForCredit(true))
            return;
    }

    project.RememberCols();
    project.SetRegistryValues();
    if (!bNoSave && !gTranscription->SaveData(false)) {
        // The copy kept for Cancel would be an old one: the edit waits
        // until the batch can be saved.
        TellSaveFailed();
        Boxes().GiveFocusBack();
        return;
    }
    gBatchNameBeforeEdit = project.BatchName();
    project.HidePickList();

    // The work file stays until the edit is accepted or cancelled (both
    // start it afresh): a crash while the form is open then still has every
    // row of the batch to rebuild from.
    const QString batchFile = InSaveFolder(project.BatchName());
    const QString preCopy = PreCopyPath(project.BatchName());
    bool copied = false;
    if (FileExists(batchFile))
        copied = CopyFileOver(batchFile, preCopy);
    if (!copied)
        DeleteFileIfExists(preCopy); // a stale copy must not come back on Cancel

    if (!bNoSave && copied && project.HeaderIsComplete())
        ShowMessage(QStringLiteral("I have saved your existing data as ")
                        + PreCopyName(project.BatchName()),
                    Mb::Information, kProductName);

    ClearEntryBoxes();
    gTranscription->setKeepGrid(true);
    bMovePickAtEdit = project.MovePick();
    UnHook();
    gHeaderReason = 1;
    WaitForHeaderForm();
}

void Form1::myFrmHeader_HeaderFormFinished(int code)
{
    // The form that asked for a file stays until the file has loaded: one
    // that will not load brings it back as the transcriber left it.
    QPointer<frmHeader> opener;
    if (code == 4 && (gHeaderReason == 0 || gHeaderReason == 2)) {
        opener = myFrmHeader;
        myFrmHeader.clear();
    } else {
        closeHeaderForm();
    }
    if (code == 5) {
        if (gHeaderReason == 1)
            SettlePreCopy(gBatchNameBeforeEdit);
        setBLoading(false);
        CloseDown(0, QString(), QString());
        return;
    }
    switch (gHeaderResult) {
    case 1:
        eHdrExit();
        break;
    case 2:
        eHdrEditOk();
        break;
    case 3:
        eHdrCancel();
        break;
    default:
        break;
    }

    Project &project = *gProject;
    if (opener) {
        const int reason = gHeaderReason;
        gHeaderReason = -1;
        project.HidePickList();
        if (reason == 2 && gWorkFile)
            gWorkFile->DeleteWork();
        project.GoToSaveDir();
        const bool loaded = LoadFile(gHeaderOpenFile);
        if (!loaded && gHeaderResult == 3 && !myFrmHeader) {
            // Nothing was loaded (the load has said why): no batch to show.
            gHeaderReason = reason;
            gTranscription->setKeepGrid(false);
            myFrmHeader = opener;
            opener->Reopen();
            WaitForHeaderForm();
            return;
        }
        opener->Unload();
        opener->deleteLater();
        return;
    }
    if (gHeaderReason == 0 || gHeaderReason == 1) {
        if (code == 4) {
            if (gHeaderReason == 1)
                SettlePreCopy(gBatchNameBeforeEdit);
            gHeaderReason = -1;
            project.HidePickList();
            project.GoToSaveDir();
            LoadFile(gHeaderOpenFile);
            ShowForm1();
        } else if (project.HeaderIsComplete()) {
            gHeaderReason = -1;
            ShowForm1();
            if (bMovePickAtEdit)
                Hook();
        } else {
            gTranscription->setKeepGrid(true);
            WaitForHeaderForm();
        }
    } else if (gHeaderReason == 2) {
        if (code == 4) {
            gHeaderReason = -1;
            project.HidePickList();
            if (gWorkFile)
                gWorkFile->DeleteWork();
            project.GoToSaveDir();
            LoadFile(gHeaderOpenFile);
            if (gHeaderResult == 5 || gHeaderResult == 0)
                return;
        }
        if (project.HeaderIsComplete()) {
            gHeaderReason = -1;
            mShowStatus->ShowDuration();
            SetUpMainForm();
        } else {
            gTranscription->setKeepGrid(false);
            gHeaderReason = 2;
            WaitForHeaderForm();
        }
    }
}

void Form1::eHdrExit()
{
    StartWorkFileAfresh();
    ShowForm1();
    if (gChangeMonitor)
        gChangeMonitor->DataSaved();
    gTranscription->SetupInputGrid();
    gTranscription->AddLine1();
    gProject->SaveProject();
    SetUpMainForm();
}

void Form1::eHdrEditOk()
{
    Project &project = *gProject;
    StartWorkFileAfresh();
    ShowForm1();
    if (gChangeMonitor)
        gChangeMonitor->Changed();
    const bool saved = gTranscription->SaveData(false);
    if (!saved)
        TellSaveFailed();

    const QString oldName = gBatchNameBeforeEdit;
    if (project.BatchName() != oldName && !oldName.isEmpty()) {
        // The old file goes only once the batch stands whole under its new
        // name; otherwise it is the only copy there is.
        if (saved
            && SystemMessageBox(QStringLiteral("The filename has changed.") + kCrLf
                                    + QStringLiteral("Would you like me to delete the old file?")
                                    + kCrLf
                                    + QStringLiteral("You should normally answer Yes otherwise "
                                                     "you will have 2 files with the same "
                                                     "contents"),
                                Mb::YesNo | Mb::Question, kProductName)
                   == Mb::Yes) {
            DeleteFileIfExists(InSaveFolder(oldName));
            if (gRecentFiles)
                gRecentFiles->Remove(InSaveFolder(oldName));
        }
        DeleteFileIfExists(PreCopyPath(oldName));
    }

    gTranscription->SetupInputGrid();
    gTranscription->setKeepGrid(false);
    SetUpMainForm();
    if (auto *pickList = qobject_cast<frmPickList *>(FindForm(QStringLiteral("frmPickList"))))
        pickList->PickClear();
    if (mGrid->Rows() > 2)
        gTranscription->Check_PageLetter(1, 2, true);
}

void Form1::eHdrCancel()
{
    Project &project = *gProject;
    const QString batchFile = InSaveFolder(project.BatchName());
    const QString preCopy = PreCopyPath(project.BatchName());
    if (FileExists(preCopy))
        MoveFileReplacing(preCopy, batchFile);
    if (gWorkFile) {
        gWorkFile->OpenWork(false);
        gWorkFile->SaveHeaderToWork();
        gWorkFile->SaveGridToWork();
    }
    ShowForm1();
    Set_TextBox();
    Hook();
}
