#pragma once

// The upload's TCP client, raising the events the conversation is written
// against: Connect, DataArrival, Close and Error(number, description) with
// Windows Sockets error numbers. It sits on a plain POSIX socket under
// QSocketNotifier rather than QTcpSocket, because QTcpSocket reports a
// connection reset by the server exactly as an orderly close, and the
// conversation must tell them apart: a reset (10054) is retried, a close
// before a complete reply is not. Everything runs on the caller's thread.

#include <QByteArray>
#include <QHostAddress>
#include <QObject>
#include <QString>

class QSocketNotifier;

class WinsockControl : public QObject
{
    Q_OBJECT

public:
    // The State values the conversation asks for.
    enum : int {
        sckClosed = 0,
        sckResolvingHost = 4,
        sckConnecting = 6,
        sckConnected = 7,
        sckClosing = 8,
        sckError = 9,
    };
    // The error numbers raised.
    enum : int {
        WSAEADDRNOTAVAIL = 10049,
        WSAENETUNREACH = 10051,
        WSAECONNABORTED = 10053,
        WSAECONNRESET = 10054,
        WSAETIMEDOUT = 10060,
        WSAECONNREFUSED = 10061,
        WSAEHOSTUNREACH = 10065,
        WSAHOST_NOT_FOUND = 11001,
        WSATRY_AGAIN = 11002,
        WSANO_DATA = 11004,
    };

    explicit WinsockControl(QObject *parent = nullptr);
    ~WinsockControl() override;

    int State() const { return mState; }
    QString RemoteHost() const { return mRemoteHost; }
    int RemotePort() const { return mRemotePort; }
    // The local port of the connection, 0 without one.
    int LocalPort() const;

    // Starts connecting; the outcome arrives as Connect or Error. A socket
    // still open is closed first.
    void ConnectTo(const QString &host, int port);
    // Queues the bytes; they are written as the connection takes them.
    // SendComplete follows when everything queued has been written. Ignored
    // unless connected.
    void SendData(const QByteArray &bytes);
    // Everything received since the last call.
    QByteArray GetData();
    // Closes at once, dropping unsent data; no event follows.
    void CloseSocket();

    // The description that goes with an error number.
    static QString ErrorText(int number);

signals:
    void Connect();
    // bytesTotal: what GetData would return now.
    void DataArrival(qint64 bytesTotal);
    // The server closed the connection in an orderly way.
    void Close();
    void Error(int number, const QString &description);
    void SendProgress(qint64 bytesSent, qint64 bytesTotal);
    void SendComplete();

private:
    void connectAddress(const QHostAddress &address);
    void fail(int number);
    void onWritable();
    void onReadable();
    void releaseSocket();

    int mFd = -1;
    int mState = sckClosed;
    QString mRemoteHost;
    int mRemotePort = 0;
    QSocketNotifier *mReadNotifier = nullptr;
    QSocketNotifier *mWriteNotifier = nullptr;
    QByteArray mIn;
    QByteArray mOut;
    qsizetype mOutDone = 0;
    qint64 mSentTotal = 0;
    qint64 mQueuedTotal = 0;
    // Changes whenever the socket is closed or replaced, so that a host
    // look-up or a handler that outlived its connection does nothing.
    quint64 mGeneration = 0;
};
