#include "upload/frmUpload.h"

#include "mainwindow/FormBackground.h"

#include <QApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

frmUpload::frmUpload(QWidget *parent)
    : QDialog(parent), mConversation(new UploadConversation(this))
{
    setObjectName(QStringLiteral("frmUpload"));
    setWindowTitle(QStringLiteral("Pelkar - File Upload"));
    lbStatus = new QLabel(this);
    lbStatus->setObjectName(QStringLiteral("lbStatus"));
    lbStatus->setWordWrap(true);
    pbSend = new QProgressBar(this);
    pbSend->setObjectName(QStringLiteral("pbSend"));
    pbSend->setRange(0, 100);
    pbSend->setValue(0);
    pbSend->setTextVisible(false);
    UpCancel = new QPushButton(QStringLiteral("Cancel"), this);
    UpCancel->setObjectName(QStringLiteral("UpCancel"));

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(lbStatus);
    layout->addWidget(pbSend);
    layout->addWidget(UpCancel, 0, Qt::AlignHCenter);
    setMinimumWidth(420);
    SetFormBackground(this);

    connect(UpCancel, &QPushButton::clicked, this, &frmUpload::UpCancel_Click);
    connect(mConversation, &UploadConversation::StatusChanged, lbStatus, &QLabel::setText);
    connect(mConversation, &UploadConversation::ProgressChanged, this, &frmUpload::StepSendProgress);
    connect(mConversation, &UploadConversation::UploadComplete, this, [this](bool r, const QString &reason, const QString &as, const QString &info) {
        QApplication::restoreOverrideCursor();
        emit UploadComplete(r, reason, as, info);
    });
    connect(mConversation, &UploadConversation::Finished, this, &frmUpload::Finished);
    // The hourglass while the request runs, as the window is on view.
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

frmUpload::~frmUpload()
{
    if (!mConversation->isDone())
        QApplication::restoreOverrideCursor();
}

void frmUpload::reject()
{
    // The owner takes the window away when the cancelled request reports.
    if (!mConversation->isDone()) {
        UpCancel_Click();
        return;
    }
    QDialog::reject();
}

void frmUpload::StepSendProgress(int value, int maximum)
{
    if (pbSend->maximum() != maximum)
        pbSend->setMaximum(maximum);
    pbSend->setValue(qBound(0, value, maximum));
}
