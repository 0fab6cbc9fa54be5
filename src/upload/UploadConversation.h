#pragma once

// One upload of the open batch file, or one district-file request, from the
// fresh upload log to the single UploadComplete: the request is sent over a
// WinsockControl, the reply read as it arrives, a redirect followed once, a
// file that already exists resent as a replacement when the transcriber
// agrees, a reset connection retried once, the wait guarded by a watchdog,
// and a district file that came with the reply installed. Driven entirely
// by socket and timer signals; nothing here waits. The upload window shows
// its status and progress.

#include "upload/DistrictUpdate.h"
#include "upload/UploadLog.h"
#include "upload/UploadRequest.h"

#include <QObject>
#include <QString>
#include <QTimer>

#include <optional>

class WinsockControl;

// What a request ended with.
struct UploadOutcome
{
    bool bResult = false;
    QString sReason;   // the failure text; empty on success
    QString sAsName;   // the success text; empty on failure
    QString sInfoMsg;  // the server's information text; empty on failure
    // A district-file request rather than an upload: its success text is no
    // file name and is not shown as one.
    bool bDistrictRequest = false;
    bool bNewDistrictFile = false;
};

class UploadConversation : public QObject
{
    Q_OBJECT

public:
    explicit UploadConversation(QObject *parent = nullptr);
    ~UploadConversation() override;

    // Uploads gProject's batch file (SavePath, BatchName) under its upload
    // name. Asks for a missing submitter id or password first. The outcome
    // arrives later through UploadComplete, or at once when the request
    // cannot start. The owner may release the conversation inside its
    // UploadComplete handler only with deleteLater().
    void UploadFile();
    // Asks the server for the district file; with bForce whatever the
    // installed version. Never asks for missing values.
    void GetDistrictFile(bool bForce);
    // The Cancel button: ends the request at once with "Upload Cancelled";
    // nothing is installed.
    void UpCancel_Click();

    // The watchdog's tick (10 s); the request fails after 12 ticks without
    // a reply block.
    void setWatchdogInterval(int ms) { mTickMs = ms; }
    // The upload host that a refused or unknown host falls back to.
    void setDefaultHost(const QString &host) { mDefaultHost = host; }
    // The port and time limit of the district file's GET.
    void setDownloadPort(int port) { mDownloadPort = port; }
    void setDownloadTimeout(int ms) { mDownloadTimeoutMs = ms; }

    bool isDone() const { return mDone; }
    QString status() const { return mStatus; }
    const UploadOutcome &outcome() const { return mOutcome; }
    // The socket, reachable by the window for its Local port and by tests.
    WinsockControl *socket() const { return mSocket; }

signals:
    void UploadComplete(bool bResult, const QString &sReason, const QString &sAsName,
                        const QString &sInfoMsg);
    // The same outcome with what kind of request it ended.
    void Finished(const UploadOutcome &outcome);
    void StatusChanged(const QString &text);
    // Lines sent of the batch file, for the progress bar.
    void ProgressChanged(int value, int maximum);

private:
    bool CheckSubmitterAndPassword();
    void LoadServerSettings();
    void StartRequest(const QString &sFile, const QString &sUser, const QString &sPassword,
                      const QString &sUploadAs);
    void Do_Connect();
    void myWinsock_Connect();
    void myWinsock_DataArrival();
    void myWinsock_Close();
    void myWinsock_Error(int number, const QString &description);
    void onSendProgress(qint64 sent, qint64 total);
    void onSendComplete();
    void myTimer_Timer();

    void CheckForCompleteData();
    void finishReply();
    void ApplyUploadLink(const QString &host, int port);
    void CheckUploadAfterClose();
    void onDownloadFinished(int status, const QByteArray &body, const QString &error);
    void askReplace();
    void FailUnrecognised();

    void SendOk(const QString &text);
    void SendFail(const QString &text);
    void All_Done();
    void ShowUploadStatus(const QString &text, bool logIt = true);
    void LogIfEnabled(const QString &text) { mLog.line(text); }
    void StartTimer();
    void StopTimer();
    QString ShowSendLogMessage() const;

    WinsockControl *mSocket = nullptr;
    DistrictFileDownload *mDownload = nullptr;
    QTimer mTimer;
    UploadLog mLog;

    UploadRequest mRequest;
    std::optional<BatchFileData> mBatch;
    QByteArray mRequestBytes;
    RequestLayout mLayout;
    QString sSite;
    int iPort = 80;

    bool bClosing = false;
    bool bNewLink = false;
    int iRedirects = 0;
    int iResets = 0;
    int iBlocks = 0;
    QString sReply;
    qsizetype lReplyStart = 0;
    QString sInfo;
    int iTicks = 0;
    bool bExpired = false;
    bool bSystemError = false;
    bool bNewDistrictFile = false;
    bool bUpdateUnresolved = false;
    QString sDistrictVersion;
    QString sRememberedVersion;
    QString sDistrictText;
    // Why the reply's district file is not installed; empty when it is, or
    // when none came.
    QString sUpdateRefusal;
    QString sResultText;
    bool bResult = false;

    // The reply in hand is complete: the socket is closed and later events
    // of the old connection are no concern.
    bool mReplyComplete = false;
    // The replace question is open: nothing else may end the request.
    bool mAsking = false;
    bool mDone = false;
    int mProgress = -1;
    QString mStatus;
    UploadOutcome mOutcome;

    int mTickMs = 10000;
    QString mDefaultHost;
    int mDownloadPort = 80;
    int mDownloadTimeoutMs = 30000;
};
