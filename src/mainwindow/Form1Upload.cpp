#include "mainwindow/Form1.h"

#include "core/Globals.h"
#include "core/MessageWindows.h"
#include "core/Project.h"
#include "core/Services.h"
#include "core/UserSettings.h"
#include "core/VbHelpers.h"
#include "entry/FlexGrid.h"
#include "transcription/Change_Monitor.h"
#include "transcription/Transcription.h"
#include "upload/InternetConnection.h"
#include "upload/frmUpload.h"

// The upload and the district download as the main window runs them. Both
// hand the request to a new upload window, hide the main window and return;
// the request runs on socket and timer events, and its end arrives in
// myFrmUpload_UploadComplete. mUploading holds from the command until then,
// so the menus and the close box stay refused while anything is under way.

namespace {

const QString kCrLf = QStringLiteral("\r\n");

} // namespace

bool Form1::CheckFinalPageLine()
{
    FlexGrid &grid = *mGrid;
    Transcription &t = *gTranscription;
    while (grid.Rows() > 3 && t.IsRowBlank(grid.Rows() - 1))
        t.DeleteRow(grid.Rows() - 1);

    int last = grid.Rows() - 1;
    if (VbUCase(grid.TextMatrix(last, 1)).startsWith(QLatin1String("+PAGE")))
        return true;

    const int answer = ShowMessage(
            QStringLiteral("The final row of your file should be a +PAGE,n (where n is the next "
                           "page number)")
                    + kCrLf + QStringLiteral("Would you like me to add this row for you?"),
            Mb::YesNoCancel | Mb::Question, kProductName);
    if (answer == Mb::Cancel)
        return false;
    if (answer == Mb::No) {
        return ShowMessage(QStringLiteral("You are STRONGLY advised to add this line before "
                                          "uploading.")
                                   + kCrLf
                                   + QStringLiteral("Do you want to continue the upload without "
                                                    "the line?"),
                           Mb::YesNo | Mb::Question, kProductName)
               == Mb::Yes;
    }
    if (answer != Mb::Yes)
        return false;

    if (!t.IsRowBlank(last)) {
        t.AddRow();
        last = grid.Rows() - 1;
    }
    int page = -1;
    QString suffix;
    t.GetLastPageNumber(page, suffix, last);
    const int next = std::max(page, 1) + 1;
    const QString digits = QString::number(next);
    // Never narrower than the number itself: a page past the usual width
    // keeps all its digits.
    const int width = std::max<int>(gProject->PageNumberLength(), int(digits.size()));
    grid.setTextMatrix(last, 1, QStringLiteral("+PAGE,") + digits.rightJustified(width, u'0'));
    t.SaveData(false);
    return true;
}

void Form1::mnuTransmit_Click()
{
    if (CantUseMenues() || !gProject || !gTranscription)
        return;
    mUploading = true;
    const auto refuse = [this] { mUploading = false; };

    if (!gTranscription->TestForCredit(true))
        return refuse();
    if (!gTranscription->CheckInvalidEntries(true)) {
        ShowMessage(QStringLiteral("I can't upload a file with invalid fields - you must "
                                   "correct them first"),
                    Mb::Critical, kProductName);
        return refuse();
    }
    if (!CheckFinalPageLine())
        return refuse();

    // The check answers from the event loop; the command goes on there.
    auto *check = new InternetConnection(this);
    mConnectionCheck = check;
    connect(check, &InternetConnection::Checked, this, [this, check](bool goOn) {
        check->deleteLater();
        if (mConnectionCheck == check)
            mConnectionCheck = nullptr;
        TransmitAfterCheck(goOn);
    });
    mConnectionCheck->CheckInternetConnection();
}

void Form1::TransmitAfterCheck(bool goOn)
{
    const auto refuse = [this] { mUploading = false; };
    if (!gProject || !gTranscription)
        return refuse();
    if (!goOn) {
        Set_TextBox();
        return refuse();
    }
    const QString answer = MyMsgBox(
            QStringLiteral("This will Upload the file ") + gProject->BatchName()
                    + QStringLiteral(" To Quorvel.") + kCrLf
                    + QStringLiteral("It will first Save the file.  Do you wish to continue?")
                    + kCrLf,
            Mb::IconQuestion, kProductName,
            {QStringLiteral("Upload File"), QStringLiteral("Cancel")});
    if (answer != QLatin1String("Upload File"))
        return refuse();

    // A save that did not write the file leaves an older file on disk:
    // that is not what the transcriber agreed to send. The results window
    // has said why.
    if (!gTranscription->SaveData(true))
        return refuse();
    if (gProject->Invalid()
        && SystemMessageBox(QStringLiteral("I've saved the file but errors were found.") + kCrLf
                                    + QStringLiteral("I can still try to upload the file but "
                                                     "Quorvel may reject it.")
                                    + kCrLf
                                    + QStringLiteral("Would you like to try the upload anyway?"),
                            Mb::YesNo | Mb::Question, kProductName)
                   != Mb::Yes)
        return refuse();

    StartUploadForm()->UploadFile();
}

void Form1::mnuDownloadDistrict_Click()
{
    const bool force = mCAlt;
    mCAlt = false;
    // One request at a time; the window is hidden during one anyway.
    if (mUploading || mFrmUpload || !gProject)
        return;
    if (gChangeMonitor && gChangeMonitor->CellChanged()) {
        ShowMessage(QStringLiteral("You must save your changes first"), Mb::Exclamation,
                    kProductName);
        return;
    }
    const QStringList lines = {
            QStringLiteral("This will fetch the latest District File from the Quorvel Website."),
            QStringLiteral("Pelkar does this automatically each time you upload a file"),
            QStringLiteral("but you can do it now if you really want to."),
            QStringLiteral("Is this what you want to do?"),
    };
    if (ShowMessage(lines.join(kCrLf), Mb::YesNo | Mb::Question, kProductName) == Mb::No)
        return;
    mUploading = true;
    StartUploadForm()->GetDistrictFile(force);
}

frmUpload *Form1::StartUploadForm()
{
    auto *form = new frmUpload(this);
    form->setWindowFlag(Qt::Window);
    mFrmUpload = form;
    connect(form, &frmUpload::Finished, this, &Form1::myFrmUpload_UploadComplete);
    form->show();
    UnHook();
    HideForm1();
    return form;
}

void Form1::myFrmUpload_UploadComplete(const UploadOutcome &outcome)
{
    // The window goes later: this runs inside its conversation's signal.
    if (mFrmUpload) {
        mFrmUpload->hide();
        mFrmUpload->deleteLater();
        mFrmUpload = nullptr;
    }
    ShowForm1();
    Hook();

    if (outcome.bResult) {
        const QString lastInfo = GetUserSetting(kProductName, QStringLiteral("Startup"),
                                                QStringLiteral("UploadInfo"), QString());
        // A download's success text names no file; the window has told its
        // outcome already.
        if (!outcome.bDistrictRequest)
            ShowMessage(QStringLiteral("File ") + outcome.sAsName, Mb::Information, kProductName);
        // A reply without an information text (a district request's, as a
        // rule) neither opens an empty notice nor forgets the last one.
        if (!VbTrim(outcome.sInfoMsg).isEmpty()) {
            if (VbTrim(outcome.sInfoMsg) != VbTrim(lastInfo)) {
                CloseSaveResults();
                ShowNotice(QStringLiteral("Upload Successful"), outcome.sInfoMsg);
            }
            SaveUserSetting(kProductName, QStringLiteral("Startup"), QStringLiteral("UploadInfo"),
                            outcome.sInfoMsg);
        }
    } else {
        ShowMessage(QStringLiteral("File Upload Failed.") + kCrLf + outcome.sReason,
                    Mb::Information, kProductName);
    }
    if (gProject)
        gProject->SetRegistryValues(true);
    Set_TextBox();
    mUploading = false;
}
