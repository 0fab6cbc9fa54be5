#pragma once

// The upload window: the status line, the progress bar and Cancel over one
// UploadConversation, which does the work. Made anew for each request; the
// owner releases it (deleteLater) inside its UploadComplete handler, which
// ends everything the request still had under way.

#include "upload/UploadConversation.h"

#include <QDialog>

class QLabel;
class QProgressBar;
class QPushButton;

class frmUpload : public QDialog
{
    Q_OBJECT

public:
    explicit frmUpload(QWidget *parent = nullptr);
    ~frmUpload() override;

    void UploadFile() { mConversation->UploadFile(); }
    void GetDistrictFile(bool bForce) { mConversation->GetDistrictFile(bForce); }
    UploadConversation &conversation() { return *mConversation; }

    // Esc and the close box: Cancel while the request runs, so the window
    // never goes out of sight with the main window hidden behind it.
    void reject() override;

signals:
    void UploadComplete(bool bResult, const QString &sReason, const QString &sAsName,
                        const QString &sInfoMsg);
    void Finished(const UploadOutcome &outcome);

private:
    void UpCancel_Click() { mConversation->UpCancel_Click(); }
    void StepSendProgress(int value, int maximum);

    UploadConversation *mConversation = nullptr;
    QLabel *lbStatus = nullptr;
    QProgressBar *pbSend = nullptr;
    QPushButton *UpCancel = nullptr;
};
