// The upload window over a real conversation with the loopback server: its
// caption and controls, the status line and progress of a large batch, and
// Cancel.

#include "UploadFixture.h"

#include "upload/frmUpload.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

using namespace TestFiles;
using namespace UploadTest;

class tst_frmUpload : public UploadFixture
{
    Q_OBJECT

private slots:
    void uploadShowsProgressAndOutcome()
    {
        QByteArray bytes;
        for (int i = 0; i < 5000; ++i)
            bytes += "SMITH,JOHN WILLIAM,LEEDS,9b,123\r\n";
        QVERIFY(writeBytes(batchPath(), bytes));
        mServer->enqueue(LoopbackServer::reply(ok()));
        frmUpload form;
        QCOMPARE(form.windowTitle(), QString("Pelkar - File Upload"));
        auto *status = form.findChild<QLabel *>("lbStatus");
        auto *progress = form.findChild<QProgressBar *>("pbSend");
        auto *cancel = form.findChild<QPushButton *>("UpCancel");
        QVERIFY(status && progress && cancel);
        QCOMPARE(cancel->text(), QString("Cancel"));
        form.show();
        QList<bool> results;
        connect(&form, &frmUpload::UploadComplete, this,
                [&](bool r, const QString &, const QString &, const QString &) { results << r; });
        form.conversation().setDefaultHost("127.0.0.1");
        form.UploadFile();
        QCOMPARE(status->text(), QString("Connecting to Quorvel"));
        QTRY_COMPARE(results.size(), 1);
        QVERIFY(results.first());
        QCOMPARE(status->text(), QString("Ok"));
        QCOMPARE(progress->maximum(), 5000);
        QCOMPARE(progress->value(), 5000);
    }

    void cancelEndsTheRequest()
    {
        mServer->enqueue(LoopbackServer::stall());
        frmUpload form;
        form.show();
        QStringList reasons;
        connect(&form, &frmUpload::UploadComplete, this,
                [&](bool, const QString &reason, const QString &, const QString &) {
                    reasons << reason;
                });
        form.UploadFile();
        QTRY_COMPARE(mServer->requests().size(), 1);
        QTest::mouseClick(form.findChild<QPushButton *>("UpCancel"), Qt::LeftButton);
        QCOMPARE(reasons, QStringList{"Upload Cancelled"});
        QCOMPARE(form.findChild<QLabel *>("lbStatus")->text(), QString("Failed"));
    }
};

PELKAR_TEST(tst_frmUpload)
#include "tst_frmUpload.moc"
