// The File menu's batch commands: open, the recent files, save, save as,
// save and exit, exit without saving, where the files are, the printer.

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
#include "entry/EntryBoxSet.h"
#include "entry/FlexGrid.h"
#include "entry/ForenameBox.h"
#include "entry/myRichTextbox.h"
#include "header/HeaderRules.h"
#include "header/frmHeader.h"
#include "lists/frmPickList.h"
#include "mainwindow/BatchFilePaths.h"
#include "mainwindow/Form1MenuItems.h"
#include "mainwindow/OpenDialog.h"
#include "transcription/Change_Monitor.h"
#include "transcription/CrashRecovery.h"
#include "transcription/Recent_files.h"
#include "transcription/Transcription.h"
#include "transcription/clsWorkFile.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QScopedValueRollback>

using namespace BatchFilePaths;

namespace {

const QString kCrLf = QStringLiteral("\r\n");

int AskSaveFirst()
{
    return ShowMessage(QStringLiteral("Do you want to save the existing data first?"),
                       Mb::YesNoCancel | Mb::Question, kProductName);
}

// A batch opened from one file and named by its header after another: when
// a file of the header's name is already in the save folder, Save would
// replace that other batch. The transcriber decides, as Save As asks; No
// keeps the name of the file opened.
void AskBeforeNamingAfterAnotherFile(const QString &opened)
{
    Project &project = *gProject;
    const QString name = project.BatchName();
    const QString openedName = QFileInfo(opened).fileName();
    const QString other = InSaveFolder(name);
    if (name.isEmpty() || name == openedName || other.isEmpty() || !FileExists(other)
        || QFileInfo(other).canonicalFilePath() == QFileInfo(opened).canonicalFilePath()
        || !Project::IsPlainFileName(openedName))
        return;
    if (SystemMessageBox(QStringLiteral("The header of ") + openedName
                             + QStringLiteral(" names the batch ") + name
                             + QStringLiteral(", and a file of that name already exists:") + kCrLf
                             + QDir::toNativeSeparators(other) + kCrLf
                             + QStringLiteral("Do you want Save to replace it?") + kCrLf
                             + QStringLiteral("No keeps the name ") + openedName
                             + QStringLiteral(", so that Save writes the file you opened."),
                         Mb::YesNo | Mb::Question, kProductName)
        != Mb::Yes)
        project.setBatchName(openedName);
}

} // namespace

void Form1::ConnectFileCommands()
{
    const auto on = [this](const char *name, void (Form1::*slot)()) {
        if (QAction *action = MenuItem(QString::fromLatin1(name)))
            connect(action, &QAction::triggered, this, slot);
    };
    on("mnuFileOpen", &Form1::mnuFileOpen_Click);
    on("mnuSaveCont", &Form1::mnuSaveCont_Click);
    on("mnuSaveAs", &Form1::mnuSaveAs_Click);
    on("mnuSaveExit", &Form1::mnuSaveExit_Click);
    on("mnuSetPrinter", &Form1::mnuSetPrinter_Click);
    on("mnuFileLocate", &Form1::mnuFileLocate_Click);
    on("mnuEditHeader", &Form1::mnuEditHeader_Click);
    on("mnuNewPage", &Form1::mnuNewPage_Click);
    for (int n = 1; n <= Recent_files::kMaxShown; ++n) {
        if (QAction *action = MenuItem(Form1MenuItems::recentName(n)))
            connect(action, &QAction::triggered, this, [this, n] { mnurecent1_Click(n); });
    }
}

bool Form1::SaveRefused()
{
    return !gTranscription->TestForCredit(false) || !gTranscription->CheckInvalidEntries(true);
}

void Form1::mnuFileOpen_Click()
{
    if (CantUseMenues() || !gProject || !gTranscription)
        return;
    QScopedValueRollback<bool> loading(mLoading, true);
    UnloadResultsWindow();
    if (gChangeMonitor && gChangeMonitor->AnyChange()) {
        const int answer = AskSaveFirst();
        if (answer == Mb::Cancel || answer == Mb::NoAnswer) {
            Boxes().GiveFocusBack();
            return;
        }
        if (answer == Mb::Yes) {
            if (!gTranscription->CheckInvalidEntries(true))
                return;
            // Unsaved rows are never dropped for another batch: a save that
            // failed (it has said so) ends the command.
            if (!gTranscription->SaveData(true)) {
                Boxes().GiveFocusBack();
                return;
            }
        }
    }
    gProject->HidePickList();
    gProject->RememberCols();

    LoadFile(QString());
    // Another batch came in: the scan of the one before is not its own.
    if (gHeaderResult != 3)
        CloseScanOfOldBatch();
    if (gHeaderResult == 5) {
        CloseDown(0, QString(), QString());
        return;
    }
    if (!gProject->HeaderIsComplete())
        return; // the header form is open for the file just read
    // The header's fields name the batch; a name they make that is not a
    // plain file name is never taken.
    const QString built = gProject->BuildBatchName();
    if (Project::IsPlainFileName(built))
        gProject->setBatchName(built);
    AskBeforeNamingAfterAnotherFile(mOpenedFile);
    if (gHeaderResult == 3)
        Boxes().GiveFocusBack();
}

void Form1::mnurecent1_Click(int Index)
{
    if (CantUseMenues() || !gProject || !gTranscription || !gRecentFiles)
        return;
    QScopedValueRollback<bool> loading(mLoading, true);
    gProject->GoToSaveDir();
    const QString file = gRecentFiles->FileName(Index);
    if (!FileExists(file)) {
        BeepIfEnabled();
        ShowMessage(QStringLiteral("Sorry - I can't find that file"), Mb::Exclamation,
                    kProductName);
        Boxes().GiveFocusBack();
        return;
    }
    const int answer = AskSaveFirst();
    if (answer == Mb::Cancel || answer == Mb::NoAnswer) {
        Boxes().GiveFocusBack();
        return;
    }
    if (answer == Mb::Yes && !gTranscription->SaveData(true)) {
        Boxes().GiveFocusBack();
        return;
    }

    // The grid is left to the load: a file that fails to load gives the
    // open batch back.
    {
        EventsOffGuard quiet;
        if (gRichTextbox)
            gRichTextbox->HideRtb();
        if (gDistrictBox)
            gDistrictBox->HideRtb();
        if (gForenameBox)
            gForenameBox->HideRtb();
    }
    if (auto *pickList = qobject_cast<frmPickList *>(FindForm(QStringLiteral("frmPickList"))))
        pickList->PickClear();

    const bool loaded = LoadFile(file);
    if (gHeaderResult != 3)
        CloseScanOfOldBatch();
    if (gHeaderResult == 5) {
        CloseDown(0, QString(), QString());
        return;
    }
    if (loaded)
        AskBeforeNamingAfterAnotherFile(file);
    if (!loaded && gProject->HeaderIsComplete())
        Set_TextBox();
}

void Form1::mnuNewPage_Click()
{
    if (CantUseMenues() || !gProject || !gTranscription)
        return;
    Project &project = *gProject;
    {
        QScopedValueRollback<bool> loading(mLoading, true);
        const int answer = AskSaveFirst();
        if (answer == Mb::Cancel || answer == Mb::NoAnswer) {
            Boxes().GiveFocusBack();
            return;
        }
        if (answer == Mb::Yes) {
            if (!gTranscription->CheckInvalidEntries(true)) {
                Boxes().GiveFocusBack();
                return;
            }
            if (!gTranscription->SaveData(true)) {
                Boxes().GiveFocusBack();
                return;
            }
            if (QObject *results = FindForm(QStringLiteral("frmMessage"))) {
                if (ShowMessage(QStringLiteral("Do you still want to start a new Page?"),
                                Mb::YesNo | Mb::Question, kProductName)
                    != Mb::Yes) {
                    Boxes().GiveFocusBack();
                    return;
                }
                results->deleteLater();
            }
        }

        UnHook();
        project.RememberCols();
        CloseScanOfOldBatch();
        ForgetDeletedRow();
        if (gWorkFile)
            gWorkFile->DeleteWork();
        project.HidePickList();
        project.setBatchName(QString());
        project.setCodePage(QString());
        {
            EventsOffGuard quiet;
            if (gRichTextbox) {
                gRichTextbox->HideRtb();
                gRichTextbox->Clear();
            }
            if (gDistrictBox) {
                gDistrictBox->ClearBox();
                gDistrictBox->HideRtb();
            }
            if (gForenameBox) {
                gForenameBox->ClearBox();
                gForenameBox->HideRtb();
            }
            if (auto *pickList =
                    qobject_cast<frmPickList *>(FindForm(QStringLiteral("frmPickList"))))
                pickList->PickClear();
            mGrid->Clear();
            mGrid->setRows(2);
            gCurrentRow = 1;
            gCurrentCol = 1;
        }
        ResetForNewBatch();
        gTranscription->setKeepGrid(false);

        int length = project.PageNumberLength();
        const QString page = HeaderRules::NextPageNumber(project.Page(), length);
        project.setPageNumberLength(length);
        project.setPage(page);
        bMovePickAtEdit = project.MovePick();
        gHeaderReason = 0;
        WaitForHeaderForm();
        if (myFrmHeader)
            myFrmHeader->ShowNextBatch(page);
    }
}

void Form1::mnuSaveCont_Click()
{
    if (CantUseMenues() || !gProject || !gTranscription)
        return;
    QScopedValueRollback<bool> saving(mSaving, true);
    if (SaveRefused())
        return;
    if (!gTranscription->SaveData(true))
        return;
    // The copy kept for a header edit is stale once the batch is saved.
    DeleteFileIfExists(PreCopyPath(gProject->BatchName()));
    if (gRecentFiles)
        gRecentFiles->Propose(InSaveFolder(gProject->BatchName()));
}

void Form1::mnuSaveAs_Click()
{
    if (CantUseMenues() || !gProject || !gTranscription)
        return;
    QScopedValueRollback<bool> saving(mSaving, true);
    if (SaveRefused())
        return;
    QString path;
    if (!SaveFileDialog(path)) {
        Boxes().GiveFocusBack();
        return;
    }
    if (FileExists(path)
        && SystemMessageBox(QStringLiteral("File ") + path + QStringLiteral(" already exists.")
                                + kCrLf + QStringLiteral("Do you want to overwrite it?"),
                            Mb::YesNo | Mb::Question, kProductName)
               != Mb::Yes)
        return;
    // A place the file cannot be written to is said plainly, before any
    // save is tried (the save's own advice is about the save folder).
    QSaveFile probe(path);
    if (!probe.open(QIODevice::WriteOnly)) {
        ShowMessage(QStringLiteral("mnuSaveAs, Unable to open ") + path
                        + QStringLiteral(" for writing - your data have NOT been saved"),
                    Mb::Critical, kProductName);
        Boxes().GiveFocusBack();
        return;
    }
    probe.cancelWriting();
    // The file is replaced whole by the save: an old file stays until the
    // new one is written.
    if (gTranscription->SaveData(true, path) && gRecentFiles)
        gRecentFiles->Propose(path);
    Boxes().GiveFocusBack();
}

void Form1::mnuSaveExit_Click()
{
    if (CantUseMenues() || !gProject || !gTranscription)
        return;
    QScopedValueRollback<bool> saving(mSaving, true);
    if (SaveRefused())
        return;
    if (!gTranscription->SaveData(true)) {
        // Nothing was written: the work file is the batch's only copy.
        Boxes().GiveFocusBack();
        return;
    }
    Project &project = *gProject;
    if ((project.Invalid() || project.SequenceError() || project.WrongPageletter())
        && ShowMessage(QStringLiteral("Do you still wish to Exit?"), Mb::YesNo | Mb::Question,
                       kProductName)
               != Mb::Yes) {
        Boxes().GiveFocusBack();
        return;
    }
    if (gWorkFile)
        gWorkFile->DeleteWork();
    if (gRecentFiles)
        gRecentFiles->Propose(InSaveFolder(project.BatchName()));
    project.GoToSaveDir();
    DeleteFileIfExists(PreCopyPath(project.BatchName()));
    mSaving = false;
    CloseDown(0, QString(), QString());
}

void Form1::mnuExit_Click()
{
    if (CantUseMenues() || !gProject)
        return;
    {
        EventsOffGuard quiet;
        UnloadResultsWindow();
        if (gChangeMonitor && gChangeMonitor->AnyChange()
            && ShowMessage(QStringLiteral("Are you sure that you want to exit without saving "
                                          "your changes?"),
                           Mb::YesNo | Mb::Question, kProductName + QStringLiteral(" Exit Program"))
                   != Mb::Yes) {
            Boxes().GiveFocusBack();
            return;
        }
    }
    Project &project = *gProject;
    project.RememberCols();
    if (gWorkFile)
        gWorkFile->DeleteWork();
    project.GoToSaveDir();
    const QString batch = InSaveFolder(project.BatchName());
    // A batch that was never saved leaves the recent files.
    if (gRecentFiles && !project.BatchName().isEmpty() && !FileExists(batch))
        gRecentFiles->Remove(batch);
    DeleteFileIfExists(PreCopyPath(project.BatchName()));
    CloseDown(0, QString(), QString());
}

void Form1::mnuSetPrinter_Click()
{
    if (CantUseMenues())
        return;
    Services::dialogs().printerSetup();
}

void Form1::mnuFileLocate_Click()
{
    if (!gProject)
        return;
    QString text = QStringLiteral("Your Files are stored below folder:") + kCrLf
                   + gProject->DataPath();
    const QString output = QDir(gProject->DataPath()).filePath(QStringLiteral("Output"));
    if (QDir::cleanPath(gProject->SavePath()) != QDir::cleanPath(output))
        text += kCrLf + kCrLf + QStringLiteral("Your transcribed files are in ")
                + gProject->SavePath();
    SystemMessageBox(text, Mb::Information, kProductName);
}

void Form1::SaveWithNewName(const QString &oldName)
{
    if (!gProject || !gTranscription)
        return;
    Project &project = *gProject;
    project.GoToSaveDir();
    if (!oldName.isEmpty() && oldName != project.BuildBatchName()
        && FileExists(InSaveFolder(oldName))) {
        QAction *lumivark = MenuItem(QStringLiteral("mnuLumivarkNaming"));
        const bool nowLumivark = lumivark && lumivark->isChecked();
        const QString a = nowLumivark ? QStringLiteral("Pelkar") : QStringLiteral("Lumivark");
        const QString b = nowLumivark ? QStringLiteral("Lumivark") : QStringLiteral("Pelkar");
        if (ShowMessage(QStringLiteral("A ") + a + QStringLiteral(" file with the old name of ")
                            + oldName + QStringLiteral(" exists.") + kCrLf
                            + QStringLiteral("Would you like to delete it and save the file with "
                                             "the ")
                            + b + QStringLiteral(" name ") + project.BuildBatchName()
                            + QStringLiteral("?") + kCrLf
                            + QStringLiteral("You should normally answer Yes as otherwise you "
                                             "will have files with both both names."),
                        Mb::YesNo | Mb::Question, kProductName)
                == Mb::Yes) {
            // The old file goes only once the batch stands under the new name.
            if (gTranscription->SaveData(false))
                DeleteFileIfExists(InSaveFolder(oldName));
            SetUpMainForm();
            return;
        }
    }
    gTranscription->SaveData(false);
    SetUpMainForm();
}
