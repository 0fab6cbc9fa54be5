#pragma once

// An upload server for tests: listens on 127.0.0.1 at a free port, records
// the bytes of every request it receives and answers each from a queue of
// scripted answers, in order: a reply (at once, after a delay, or split
// into small packets), a close without a reply, a connection reset, or a
// stall (the connection is held, nothing is sent). A request is complete at
// the end of its head plus its Content-Length. The server stops by itself
// after a minute, so no test can leave it running.

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QTcpServer>

class QTcpSocket;

class LoopbackServer : public QObject
{
    Q_OBJECT

public:
    struct Answer
    {
        enum Kind { Reply, CloseWithoutReply, Reset, Stall };
        Kind kind = Reply;
        QByteArray bytes;
        int delayMs = 0;      // before the answer starts
        int packetSize = 0;   // 0: in one write; else pieces of this size
        int packetGapMs = 2;  // between pieces
        bool holdOpen = false; // the connection stays open after the reply
    };
    static Answer reply(const QByteArray &bytes, int delayMs = 0);
    static Answer split(const QByteArray &bytes, int packetSize, int gapMs = 2);
    static Answer closeWithoutReply();
    static Answer reset();
    static Answer stall();
    // Sends the bytes and then holds the connection open, saying no more.
    static Answer partial(const QByteArray &bytes);
    // An HTTP reply with a status and body (Content-Length given).
    static QByteArray http(int status, const QByteArray &body);
    // An upload reply: an HTTP head, then the tagged text with LF line ends.
    static QByteArray tagged(const QByteArray &text);

    explicit LoopbackServer(QObject *parent = nullptr);
    ~LoopbackServer() override;

    quint16 port() const { return mServer.serverPort(); }
    void enqueue(const Answer &answer) { mAnswers.append(answer); }

    const QList<QByteArray> &requests() const { return mRequests; }
    int connections() const { return mConnections; }
    int pendingAnswers() const { return int(mAnswers.size()); }

    // A port on 127.0.0.1 where nothing listens: connecting is refused.
    static quint16 refusedPort();

private:
    void onNewConnection();
    void onReadyRead(QTcpSocket *socket);
    void answer(QTcpSocket *socket, const Answer &a);
    void sendFrom(QTcpSocket *socket, QByteArray bytes, int packetSize, int gapMs, bool holdOpen);

    QTcpServer mServer;
    QList<Answer> mAnswers;
    QList<QByteArray> mRequests;
    int mConnections = 0;
};
