#include "upload/UploadConversation.h"

#include "core/Cp1252.h"
#include "core/Globals.h"
#include "core/MessageWindows.h"
#include "core/Project.h"
#include "core/Services.h"
#include "core/VbHelpers.h"
#include "upload/UploadReply.h"
#include "upload/WinsockControl.h"

#include <QDir>
#include <QFileInfo>

namespace {

const QString kCrLf = QStringLiteral("\r\n");
const QString kTitle = QStringLiteral("Pelkar");
constexpr int kWatchdogTicks = 12;

QString boolText(bool b)
{
    return b ? QStringLiteral("True") : QStringLiteral("False");
}

QString programVersion()
{
    return QStringLiteral("%1.%2.%3")
            .arg(PELKAR_VERSION_MAJOR)
            .arg(PELKAR_VERSION_MINOR)
            .arg(PELKAR_VERSION_PATCH);
}

} // namespace

UploadConversation::UploadConversation(QObject *parent)
    : QObject(parent),
      mSocket(new WinsockControl(this)),
      mDownload(new DistrictFileDownload(this)),
      mDefaultHost(Project::DefaultUploadHost())
{
    connect(mSocket, &WinsockControl::Connect, this, &UploadConversation::myWinsock_Connect);
    connect(mSocket, &WinsockControl::DataArrival, this,
            &UploadConversation::myWinsock_DataArrival);
    connect(mSocket, &WinsockControl::Close, this, &UploadConversation::myWinsock_Close);
    connect(mSocket, &WinsockControl::Error, this, &UploadConversation::myWinsock_Error);
    connect(mSocket, &WinsockControl::SendProgress, this, &UploadConversation::onSendProgress);
    connect(mSocket, &WinsockControl::SendComplete, this, &UploadConversation::onSendComplete);
    connect(mDownload, &DistrictFileDownload::Finished, this,
            &UploadConversation::onDownloadFinished);
    connect(&mTimer, &QTimer::timeout, this, &UploadConversation::myTimer_Timer);
}

UploadConversation::~UploadConversation()
{
    // Unloading ends every activity: socket, watchdog, fetch and log.
    mTimer.stop();
    mSocket->CloseSocket();
    mDownload->abort();
    mLog.close();
}

// ---- Starting a request -------------------------------------------------------------------

void UploadConversation::UploadFile()
{
    mLog.open(gProject->DataPath());
    if (!CheckSubmitterAndPassword()) {
        LogIfEnabled(QStringLiteral("No ID Specified"));
        mLog.close();
        mDone = true;
        mOutcome = UploadOutcome{false, QStringLiteral("No ID Specified"), {}, {}, false, false};
        emit UploadComplete(false, mOutcome.sReason, QString(), QString());
        emit Finished(mOutcome);
        return;
    }
    const QString file = QDir(gProject->SavePath()).filePath(gProject->BatchName());
    LoadServerSettings();
    StartRequest(file, gProject->Submitter(), gProject->Password(), gProject->UploadName());
}

void UploadConversation::GetDistrictFile(bool bForce)
{
    mLog.open(gProject->DataPath());
    LoadServerSettings();
    mRequest.bForce = bForce;
    mRequest.bDistrictRequest = true;
    StartRequest(QString(), gProject->Submitter(), gProject->Password(), QString());
}

bool UploadConversation::CheckSubmitterAndPassword()
{
    const auto ask = [](const QString &first, const QString &prompt) -> QString {
        const QString question = first + kCrLf
                + QStringLiteral("You must enter one to use the upload feature.") + kCrLf
                + QStringLiteral("Would you like to enter one now?");
        if (ShowMessage(question, Mb::YesNo | Mb::Question, kTitle) != Mb::Yes)
            return QString();
        return InputBox(prompt, QString(), QString()).value_or(QString());
    };
    if (gProject->Submitter().isEmpty()) {
        const QString id = ask(QStringLiteral("You have not specified a Quorvel Submitter ID."),
                               QStringLiteral("Enter SubmitterID"));
        if (!id.isEmpty())
            gProject->setSubmitter(id);
    }
    if (gProject->Submitter().isEmpty())
        return false;
    if (gProject->Password().isEmpty()) {
        const QString password = ask(QStringLiteral("You have not specified a Quorvel Password."),
                                     QStringLiteral("Enter Password"));
        if (!password.isEmpty())
            gProject->setPassword(password);
    }
    return !gProject->Password().isEmpty();
}

void UploadConversation::LoadServerSettings()
{
    iTicks = 0;
    bSystemError = false;
    mRequest = UploadRequest();
    sDistrictVersion = gProject->DistrictVersion();
    sSite = gProject->Site();
    iPort = gProject->Port();
}

void UploadConversation::StartRequest(const QString &sFile, const QString &sUser,
                                      const QString &sPassword, const QString &sUploadAs)
{
    StopTimer();
    mRequest.bReplace = false;
    bClosing = false;
    bNewLink = false;
    iRedirects = 0;
    iBlocks = 0;
    sReply.clear();
    sInfo.clear();
    lReplyStart = 0;
    mRequest.sUser = sUser;
    mRequest.sPassword = sPassword;
    if (VbTrim(sPassword).isEmpty() || VbTrim(sUser).isEmpty()) {
        LogIfEnabled(QStringLiteral("Blank Username or Password"));
        SendFail(QStringLiteral("Missing Quorvel Username or Password."));
        return;
    }
    mRequest.sUploadAs = sUploadAs;
    mRequest.sFile = sFile;
    iResets = 0;
    sDistrictText.clear();

    if (mRequest.bDistrictRequest) {
        ShowUploadStatus(QStringLiteral("Request to Get DistrictFile"));
        ShowUploadStatus(QStringLiteral("Pelkar ") + programVersion());
    } else {
        mRequest.sFileName = QFileInfo(sFile).fileName();
        ShowUploadStatus(QStringLiteral("Request to Sendfile ") + sFile + QStringLiteral(" as ")
                         + sUploadAs);
        ShowUploadStatus(QStringLiteral("Pelkar ") + programVersion());
        // Read once: the length announced is the length of what is sent.
        mBatch = QFileInfo(sFile).isFile() ? ReadBatchFile(sFile) : std::nullopt;
        if (!mBatch) {
            SendFail(QStringLiteral("File Not Found ") + sFile);
            return;
        }
    }
    ShowUploadStatus(QStringLiteral("Connecting to Quorvel"));
    Do_Connect();
}

void UploadConversation::Do_Connect()
{
    LogIfEnabled(QStringLiteral("Do Connect - status=") + QString::number(mSocket->State())
                 + QStringLiteral(" LocalPort=") + QString::number(mSocket->LocalPort()));
    iBlocks = 0;
    sReply.clear();
    lReplyStart = 0;
    sDistrictText.clear();
    sInfo.clear();
    bClosing = false;
    iTicks = 0;
    mReplyComplete = false;
    mProgress = -1;
    sUpdateRefusal.clear();
    const int state = mSocket->State();
    if (state == WinsockControl::sckConnected || state == WinsockControl::sckError)
        LogIfEnabled(QStringLiteral("The connection was Open - I've closed it"));
    // Closing here is immediate: there is no old connection to wait for.
    mSocket->CloseSocket();
    LogIfEnabled(QStringLiteral("Do_Connect waiting for socket to close: state=")
                 + QString::number(mSocket->State()) + QStringLiteral(" LocalPort=")
                 + QString::number(mSocket->LocalPort()));
    StopTimer();
    LogIfEnabled(QStringLiteral("Do_Connect Re-Opening, State=")
                 + QString::number(mSocket->State()));
    LogIfEnabled(QStringLiteral("Site=") + sSite + QStringLiteral(" Port=")
                 + QString::number(iPort));
    mSocket->ConnectTo(sSite, iPort);
}

// ---- Sending --------------------------------------------------------------------------------

void UploadConversation::myWinsock_Connect()
{
    if (mDone)
        return;
    const QString local = QString::number(mSocket->LocalPort());
    ShowUploadStatus((mRequest.bReplace ? QStringLiteral("Connected for Replace, LocalPort=")
                                        : QStringLiteral("Connected for Send, LocalPort="))
                     + local);
    bNewLink = false;
    LogIfEnabled(QStringLiteral("Lines=") + QString::number(mBatch ? mBatch->lLines() : 0));

    mRequest.sDistrictVersion = sDistrictVersion;
    mRequestBytes = BuildUploadRequest(mRequest, mBatch ? &*mBatch : nullptr, &mLayout);
    LogIfEnabled(QStringLiteral("Sending Header:-") + kCrLf
                 + LoggedRequestHeader(mRequestBytes, mLayout));
    if (!mRequest.bDistrictRequest) {
        ShowUploadStatus(QStringLiteral("Sending File ") + mRequest.sFile + QStringLiteral(" as ")
                         + mRequest.sUploadAs);
        for (const QByteArray &line : std::as_const(mBatch->lines))
            LogIfEnabled(Cp1252::decode(line));
        LogIfEnabled(Cp1252::decode(UploadClosing()));
        emit ProgressChanged(0, qMax(1, mBatch->lLines()));
    } else {
        LogIfEnabled(Cp1252::decode(DistrictRequestClosing()));
    }
    mSocket->SendData(mRequestBytes);
}

void UploadConversation::onSendProgress(qint64 sent, qint64 total)
{
    Q_UNUSED(total);
    if (mDone || mRequest.bDistrictRequest || !mBatch)
        return;
    const int max = qMax(1, mBatch->lLines());
    const qint64 fileSent = qBound<qint64>(0, sent - mLayout.headEnd, mBatch->lFileBytes);
    const int value = mBatch->lFileBytes > 0 ? int(fileSent * max / mBatch->lFileBytes) : max;
    if (value == mProgress)
        return;
    mProgress = value;
    ShowUploadStatus(QStringLiteral("Sending File"), false);
    emit ProgressChanged(value, max);
}

void UploadConversation::onSendComplete()
{
    if (mDone || mReplyComplete)
        return;
    ShowUploadStatus(mRequest.bDistrictRequest
                             ? QStringLiteral("Header sent - waiting for district file")
                             : QStringLiteral("File Sent - awaiting reply"));
    // A server that never answers would otherwise hold the request for ever.
    if (iBlocks == 0)
        StartTimer();
}

// ---- Receiving ------------------------------------------------------------------------------

void UploadConversation::myWinsock_DataArrival()
{
    if (mDone || mReplyComplete)
        return;
    StopTimer();
    ++iBlocks;
    ShowUploadStatus(QStringLiteral("Received data, Block ") + QString::number(iBlocks)
                     + QStringLiteral(" Status=") + QString::number(mSocket->State()));
    const QString text = Cp1252::decode(mSocket->GetData());
    LogIfEnabled(QStringLiteral("Got:-") + kCrLf + text);
    LogIfEnabled(QStringLiteral("End of Received Data Block#") + QString::number(iBlocks)
                 + QStringLiteral(" Len=") + QString::number(text.size()));
    sReply += text;
    CheckForCompleteData();
    if (!bClosing && !mDone && !mReplyComplete)
        StartTimer();
}

void UploadConversation::CheckForCompleteData()
{
    LogIfEnabled(QStringLiteral("CheckForCompleteData: bcheck=False bclosing=") + boolText(bClosing)
                 + QStringLiteral(" bdatareceived=True"));
    if (bClosing)
        return;
    if (UploadReply::HasSystemError(sReply)) {
        if (!bSystemError) {
            bSystemError = true;
            SendFail(QStringLiteral("Quorvel System Error") + kCrLf
                     + QStringLiteral("Please wait an hour and try the upload again") + kCrLf
                     + QStringLiteral("If the upload continues to fail then")
                     + ShowSendLogMessage());
        }
        return;
    }
    const qsizetype end = UploadReply::CompleteAt(sReply);
    if (end < 0)
        return;
    LogIfEnabled(QStringLiteral("/Fileupload at ") + QString::number(end + 1));
    // The whole reply is in hand: nothing more is read on this connection.
    mReplyComplete = true;
    mSocket->CloseSocket();
    mRequest.bReplace = false;

    lReplyStart = UploadReply::StartAt(sReply);
    // The end of a reply without its start.
    if (lReplyStart < 0) {
        FailUnrecognised();
        return;
    }

    const UploadReply::Block link = UploadReply::GetMessages(sReply, u"uploadlink");
    if (link.lines.isEmpty()) {
        bNewLink = false;
        if (link.startSeen) {
            LogIfEnabled(QStringLiteral("Error: I found the start of a new Uploadlink but not the end")
                         + ShowSendLogMessage());
            SendFail(QStringLiteral("Upload Failed, missing Uploadlink"));
            return;
        }
    } else {
        const UploadReply::UploadLink value = UploadReply::ParseUploadLink(link.content());
        if (value.hasColon && !value.portValid) {
            FailUnrecognised();
            return;
        }
        if (value.hasColon && !value.hostValid) {
            FailUnrecognised();
            return;
        }
        if (value.hasColon)
            ApplyUploadLink(value.host, value.port);
    }

    const UploadReply::Update update = UploadReply::ParseUpdate(sReply, lReplyStart);
    if (update.keyMalformed) {
        FailUnrecognised();
        return;
    }
    bUpdateUnresolved = false;
    if (update.keyUnterminated) {
        // A version spread over lines cannot be recorded, so the file is not
        // installed; the reply's own result still stands.
        LogIfEnabled(QStringLiteral("Error: the update's key= does not end on its line - update refused"));
        sDistrictText.clear();
        sUpdateRefusal = QStringLiteral("its version does not end on the line that names it");
    } else if (update.startSeen && update.endSeen && update.keyFound) {
        sDistrictVersion = update.version;
        sDistrictText = update.lines.join(kCrLf);
        if (update.lines.isEmpty()) {
            sDistrictVersion = gProject->DistrictVersion();
            sDistrictText.clear();
            bUpdateUnresolved = true;
        }
    } else if (update.startSeen && !update.endSeen) {
        LogIfEnabled(QStringLiteral("Error: I've found an update without a /update terminator"));
        sDistrictText.clear();
        bUpdateUnresolved = true;
    }
    if (bUpdateUnresolved) {
        // The rest of the reply is read once the fetch has ended.
        CheckUploadAfterClose();
        return;
    }
    finishReply();
}

void UploadConversation::ApplyUploadLink(const QString &host, int port)
{
    const QString newHost = VbTrim(host);
    if (VbUCase(newHost) != VbUCase(sSite) || port != iPort) {
        bNewLink = true;
        // Later uploads go there too.
        gProject->setPort(port);
        gProject->setSite(newHost);
        iPort = port;
        sSite = newHost;
        LogIfEnabled(QStringLiteral("New Upload link, Domain=") + newHost + QStringLiteral(", Port=")
                     + QString::number(port));
        ShowUploadStatus(QStringLiteral("Trying different Quorvel machine"));
    } else {
        bNewLink = false;
    }
}

void UploadConversation::CheckUploadAfterClose()
{
    LogIfEnabled(QStringLiteral("In Checkuploadafterclose"));
    QString why;
    const std::optional<QString> key = UploadReply::UpdateKey(sReply, &why);
    if (!key) {
        LogIfEnabled(why);
        finishReply();
        return;
    }
    sRememberedVersion = sDistrictVersion;
    sDistrictVersion = *key;
    LogIfEnabled(QStringLiteral("New key=") + sDistrictVersion);
    LogIfEnabled(QStringLiteral("In Downloaddistrictfile"));
    sDistrictText.clear();
    mDownload->start(DistrictFileDownload::DistrictUrl(sSite, mDownloadPort), mDownloadTimeoutMs);
}

void UploadConversation::onDownloadFinished(int status, const QByteArray &body,
                                            const QString &error)
{
    if (mDone)
        return;
    const QString text = Cp1252::decode(body);
    QString failure;
    if (!error.isEmpty())
        failure = error;
    else if (status != 200)
        failure = QStringLiteral("HTTP status ") + QString::number(status);
    else if (body.isEmpty())
        failure = QStringLiteral("an empty file");
    else if (!LooksLikeDistrictFile(text))
        failure = QStringLiteral("not a district file");
    if (!failure.isEmpty()) {
        LogIfEnabled(QStringLiteral("Error in Download, error=") + QString::number(status)
                     + u' ' + failure);
        sDistrictVersion = sRememberedVersion;
    } else {
        LogIfEnabled(QStringLiteral("Read Block, len=") + QString::number(body.size()) + kCrLf
                     + text);
        LogIfEnabled(QStringLiteral("DownloadDistrictFile ended Ok"));
        sDistrictText = text;
        bNewDistrictFile = true;
        bUpdateUnresolved = false;
    }
    finishReply();
}

void UploadConversation::finishReply()
{
    sInfo = UploadReply::GetMessages(sReply, u"information").content();
    const QStringList lines = UploadReply::Lines(sReply, lReplyStart);
    const QString sFile = mRequest.sFile;

    switch (UploadReply::ResultOf(lines)) {
    case UploadReply::Result::Ok: {
        LogIfEnabled(QStringLiteral("Got OK Reply"));
        bClosing = true;
        if (!mRequest.bDistrictRequest) {
            QString text = mRequest.sUploadAs + QStringLiteral(" uploaded successfully");
            if (bNewDistrictFile)
                text += kCrLf + QStringLiteral("I downloaded a new district file");
            if (bUpdateUnresolved)
                text += kCrLf + QStringLiteral("Warning: I found the start of a new district file")
                        + kCrLf + QStringLiteral("but no terminator.") + ShowSendLogMessage();
            SendOk(text);
        } else if (bUpdateUnresolved) {
            SendFail(QStringLiteral("Error in download District File: I found the start of the new file")
                     + kCrLf + QStringLiteral("but no terminator.") + ShowSendLogMessage());
        } else {
            SendOk(QStringLiteral("Download Ended Ok"));
        }
        return;
    }
    case UploadReply::Result::Warnings: {
        const QString warnings = UploadReply::GetMessages(sReply, u"warnings").content();
        LogIfEnabled(QStringLiteral("Got Warning Reply - Warnings were:-") + warnings);
        bClosing = true;
        QString text = mRequest.sUploadAs + QStringLiteral(" Uploaded successfully.") + kCrLf
                + QStringLiteral("However, Quorvel issued the following warning(s)...") + kCrLf
                + warnings;
        if (bNewDistrictFile)
            text += kCrLf + QStringLiteral("I downloaded a new district file");
        SendOk(text);
        return;
    }
    case UploadReply::Result::Failed:
        break;
    case UploadReply::Result::Unrecognised:
        FailUnrecognised();
        return;
    }

    LogIfEnabled(QStringLiteral("Got FAILED Reply"));
    bClosing = true;
    QString message = QStringLiteral("Error in Upload.  Your file was NOT sent.  ");
    if (bNewDistrictFile)
        message += QStringLiteral("I downloaded a new district file");
    const std::optional<QString> reason = UploadReply::ReasonOf(lines);
    if (!reason) {
        LogIfEnabled(QStringLiteral("Can't find Reason"));
        SendFail(message + u' ' + sFile);
        return;
    }
    const QString errors = UploadReply::GetMessages(sReply, u"errors").content();
    const auto fail = [&](const char *logLine, const QString &added) {
        LogIfEnabled(QLatin1String(logLine));
        SendFail(message + added + QStringLiteral(" : ") + sFile);
    };
    const QString &r = *reason;
    if (r == QLatin1String("MALFORMEDREQUEST")) {
        fail("Got Malformed Request",
             QStringLiteral("Quorvel has reported a Malformed Request due to:-") + errors);
    } else if (r == QLatin1String("SYSTEMERROR")) {
        fail("Got System Error", QStringLiteral("Quorvel has reported a System Error."));
    } else if (r == QLatin1String("USERNOTKNOWN")) {
        fail("Got Unknown User", QStringLiteral("The UserID you specified is not known by Quorvel."));
    } else if (r == QLatin1String("PASSWORDFAILED")) {
        fail("Got Incorrect Password",
             QStringLiteral("The password you specified is incorrect for that UserID."));
    } else if (r == QLatin1String("ACCOUNTSUSPENDED")) {
        fail("Got Account Suspended",
             QStringLiteral("The SubmitterID you specified is suspended. Contact your Coordinator."));
    } else if (r == QLatin1String("NEEDSCHALLENGE")) {
        fail("Got Needs Challenge",
             QStringLiteral("The UserID you specified has not completed registration."));
    } else if (r == QLatin1String("FILEEXISTS")) {
        ShowUploadStatus(QStringLiteral("File Already Exists"));
        mRequest.bReplace = true;
        mAsking = true;
        // Asked once the socket's handler has returned, so that the socket
        // is never held inside its own event while the question is open.
        QMetaObject::invokeMethod(this, &UploadConversation::askReplace, Qt::QueuedConnection);
    } else if (r == QLatin1String("FILEDOESNOTEXIST")) {
        fail("Got File DoesNOTExist Reply",
             QStringLiteral("The file we were replacing no longer exists!") + kCrLf);
    } else if (r == QLatin1String("SYNTAXERROR")) {
        fail("Got Syntax Error", QStringLiteral("Your file contains Syntax Error(s):-  ") + errors);
    } else if (r == QLatin1String("WRONGDOMAIN")) {
        LogIfEnabled(QStringLiteral("Got Wrong Domain - Trying different machine"));
        if (!bNewLink) {
            SendFail(message
                     + QStringLiteral("The Quorvel machine address has changed but I haven't received a new address.")
                     + QStringLiteral(" : ") + sFile);
        } else if (++iRedirects <= 1) {
            bNewLink = false;
            bClosing = false;
            Do_Connect();
        } else {
            LogIfEnabled(QStringLiteral("Multiple Redirects"));
            SendFail(message
                     + QStringLiteral("I've been redirected to a new machine more than the maximum number of items.")
                     + QStringLiteral(" : ") + sFile);
        }
    } else if (r == QLatin1String("SERVICEUNAVAILABLE")) {
        const bool explained
                = !UploadReply::GetMessages(sReply, u"errors").lines.isEmpty();
        fail("Service Unavailable - Quorvel is not accepting files",
             QStringLiteral("Quorvel is currently not accepting files.  ")
                     + (explained ? QStringLiteral("The following explanation was received...")
                                            + kCrLf + errors
                                  : QStringLiteral("Please try again later.")));
    } else {
        LogIfEnabled(QStringLiteral("Unknown Reason - ") + r);
        SendFail(message + QStringLiteral("Quorvel has sent an Unknown Reply.") + kCrLf
                 + QStringLiteral(" : ") + sFile);
    }
}

void UploadConversation::askReplace()
{
    if (mDone || !mAsking)
        return;
    const int answer = SystemMessageBox(
            QStringLiteral("There is already a file on Quorvel which you have uploaded with that name.")
                    + kCrLf + QStringLiteral("Do you want to replace it with this one?"),
            Mb::YesNo | Mb::Question, QStringLiteral("Upload file exists"));
    mAsking = false;
    // Cancel may have ended the request while the question was open.
    if (mDone)
        return;
    if (answer == Mb::Yes) {
        LogIfEnabled(QStringLiteral("Yes to Replace Existing File"));
        bClosing = false;
        Do_Connect();
    } else {
        LogIfEnabled(QStringLiteral("No to Replace File"));
        bClosing = true;
        mRequest.bReplace = false;
        SendFail(QStringLiteral("File not uploaded as it already exists on Quorvel") + QStringLiteral(" : ")
                 + mRequest.sFile);
    }
}

void UploadConversation::FailUnrecognised()
{
    LogIfEnabled(QStringLiteral("No recognised response"));
    bClosing = true;
    SendFail(QStringLiteral("There was no recognised response from Quorvel.  ") + QStringLiteral(" : ")
             + mRequest.sFile);
}

// ---- Socket trouble and the watchdog --------------------------------------------------------

void UploadConversation::myWinsock_Error(int number, const QString &description)
{
    if (mDone || mAsking || mReplyComplete) {
        LogIfEnabled(QStringLiteral("Winsock error ignored:- ") + QString::number(number)
                     + QStringLiteral(" - ") + description);
        return;
    }
    StopTimer();
    bClosing = true;
    const QString m = QStringLiteral("An error occurred connecting to the Quorvel site.") + kCrLf
            + QStringLiteral("Error number ") + QString::number(number) + QStringLiteral(" - ")
            + description + kCrLf;
    const QString notAvailable
            = QStringLiteral("The Quorvel file upload server is not available, please try later.");
    const auto fail = [&](const QString &added) {
        LogIfEnabled(QStringLiteral("Winsock Error:-") + m + added);
        SendFail(m + added + QStringLiteral(" : ") + mRequest.sFile);
    };
    const auto tryDefaultHost = [&] {
        if (sSite.compare(mDefaultHost, Qt::CaseInsensitive) == 0) {
            fail(notAvailable);
            return;
        }
        // This request only: the settings keep their host.
        sSite = mDefaultHost;
        LogIfEnabled(QStringLiteral("Winsock Error:- ") + m);
        LogIfEnabled(QStringLiteral("Trying again at ") + mDefaultHost);
        Do_Connect();
    };
    switch (number) {
    case WinsockControl::WSAETIMEDOUT:
    case WinsockControl::WSAECONNREFUSED:
    case WinsockControl::WSAHOST_NOT_FOUND:
        tryDefaultHost();
        break;
    case WinsockControl::WSAECONNRESET:
        if (++iResets > 1) {
            fail(notAvailable);
        } else {
            LogIfEnabled(QStringLiteral("Winsock error:- ") + m);
            LogIfEnabled(QStringLiteral("Trying again"));
            Do_Connect();
        }
        break;
    case WinsockControl::WSANO_DATA:
        if (sSite.startsWith(QLatin1String("www.")))
            fail(QStringLiteral("The Quorvel file upload server is not available.") + kCrLf
                 + QStringLiteral("or something is preventing Pelkar accessing the Internet - check your firewall?")
                 + kCrLf);
        else
            tryDefaultHost();
        break;
    case WinsockControl::WSAEADDRNOTAVAIL:
    case WinsockControl::WSAENETUNREACH:
    case WinsockControl::WSAECONNABORTED:
    case WinsockControl::WSATRY_AGAIN:
        fail(QStringLiteral("It is possible that this is a temporary fault and you should try again later."));
        break;
    default:
        fail(QStringLiteral("Please send the file UploadLog to ") + Project::SupportEmail());
        break;
    }
}

void UploadConversation::myWinsock_Close()
{
    if (mDone)
        return;
    StopTimer();
    ShowUploadStatus(QStringLiteral("Connection Close Event: Closing=") + boolText(bClosing)
                     + QStringLiteral(" Status=") + QString::number(mSocket->State()));
    if (!bClosing)
        mSocket->CloseSocket();
    // A server that hangs up before its reply is complete has given none:
    // waiting on would only hold the transcriber until Cancel.
    if (!mAsking && !mReplyComplete)
        FailUnrecognised();
}

void UploadConversation::StartTimer()
{
    mTimer.stop();
    mTimer.setInterval(mTickMs);
    iTicks = 0;
    bExpired = false;
    mTimer.start();
}

void UploadConversation::StopTimer()
{
    mTimer.stop();
}

void UploadConversation::myTimer_Timer()
{
    ++iTicks;
    ShowUploadStatus(QStringLiteral("Timer Fired ") + QString::number(iTicks));
    if (iTicks >= kWatchdogTicks) {
        bExpired = true;
        SendFail(QStringLiteral("Upload has had no response from Quorvel for 2 minutes, the server may be down.  Please try again later"));
    }
}

void UploadConversation::UpCancel_Click()
{
    if (mDone)
        return;
    StopTimer();
    LogIfEnabled(QStringLiteral("Upload Cancel Clicked"));
    sDistrictText.clear();
    sUpdateRefusal.clear();
    mDownload->abort();
    mSocket->CloseSocket();
    bResult = false;
    sResultText = QStringLiteral("Upload Cancelled");
    All_Done();
}

// ---- The end --------------------------------------------------------------------------------

void UploadConversation::SendOk(const QString &text)
{
    if (mDone)
        return;
    StopTimer();
    sResultText = text;
    LogIfEnabled(QStringLiteral("SendOk ") + text);
    mSocket->CloseSocket();
    bResult = true;
    All_Done();
}

void UploadConversation::SendFail(const QString &text)
{
    if (mDone)
        return;
    StopTimer();
    sResultText = text;
    LogIfEnabled(QStringLiteral("SendFail ") + text);
    mSocket->CloseSocket();
    bResult = false;
    All_Done();
}

void UploadConversation::All_Done()
{
    // One outcome per request, whatever else is still on its way.
    if (mDone)
        return;
    mDone = true;
    mAsking = false;
    StopTimer();
    mDownload->abort();
    LogIfEnabled(QStringLiteral("In All_Done routine"));
    if (!sDistrictText.isEmpty() && !bSystemError) {
        StopTimer();
        QString why;
        if (InstallDistrictFile(sDistrictText, sDistrictVersion, mLog, &why)) {
            bNewDistrictFile = true;
            sResultText += kCrLf + QStringLiteral("I downloaded a new District File");
            if (mRequest.bDistrictRequest)
                bResult = true;
        } else {
            // Fetched perhaps, but not in use: nothing new to announce.
            bNewDistrictFile = false;
            sUpdateRefusal = why;
        }
    }
    if (!sUpdateRefusal.isEmpty() && !bSystemError) {
        const QString refusal = QStringLiteral("The new District File could not be installed: ")
                + sUpdateRefusal + kCrLf + QStringLiteral("Your District File has not been changed");
        // A district request exists only for the file: without it the
        // request has failed, whatever the reply said.
        if (mRequest.bDistrictRequest) {
            bResult = false;
            sResultText = refusal;
        } else {
            sResultText += kCrLf + refusal;
        }
    }
    UploadOutcome outcome;
    outcome.bResult = bResult;
    outcome.bDistrictRequest = mRequest.bDistrictRequest;
    outcome.bNewDistrictFile = bNewDistrictFile;
    if (!bResult) {
        ShowUploadStatus(QStringLiteral("Failed"), false);
        LogIfEnabled(QStringLiteral("Upload Failed - ") + sResultText);
        outcome.sReason = sResultText;
    } else {
        ShowUploadStatus(QStringLiteral("Ok"), false);
        LogIfEnabled(QStringLiteral("Upload Ok - ") + sResultText);
        if (mRequest.bDistrictRequest) {
            ShowMessage(bNewDistrictFile
                                ? QStringLiteral("I've download a new version of the District File")
                                : QStringLiteral("You already have the latest District File"),
                        Mb::Information, kTitle);
        } else if (bNewDistrictFile) {
            ShowMessage(QStringLiteral("I have downloaded a new version of the District File.")
                                + kCrLf + QStringLiteral("There is nothing that you need to do"),
                        Mb::Information, kTitle);
        }
        outcome.sAsName = sResultText;
        outcome.sInfoMsg = sInfo;
    }
    mLog.flush();
    mOutcome = outcome;
    emit UploadComplete(outcome.bResult, outcome.sReason, outcome.sAsName, outcome.sInfoMsg);
    emit Finished(outcome);
}

void UploadConversation::ShowUploadStatus(const QString &text, bool logIt)
{
    mStatus = text;
    if (logIt)
        LogIfEnabled(text);
    emit StatusChanged(text);
}

QString UploadConversation::ShowSendLogMessage() const
{
    return kCrLf + QStringLiteral("Please send the Upload log to ") + Project::SupportEmail() + kCrLf
            + QStringLiteral("Your log can be found at:") + kCrLf
            + QDir(gProject->DataPath()).filePath(UploadLog::FileName());
}
