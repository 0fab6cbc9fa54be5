#include "LoopbackServer.h"

#include <QPointer>
#include <QTcpSocket>
#include <QTimer>

#include <sys/socket.h>

namespace {
const char kBuffer[] = "pelkarRequestBuffer";
}

LoopbackServer::Answer LoopbackServer::reply(const QByteArray &bytes, int delayMs)
{
    Answer a;
    a.bytes = bytes;
    a.delayMs = delayMs;
    return a;
}

LoopbackServer::Answer LoopbackServer::split(const QByteArray &bytes, int packetSize, int gapMs)
{
    Answer a = reply(bytes);
    a.packetSize = packetSize;
    a.packetGapMs = gapMs;
    return a;
}

LoopbackServer::Answer LoopbackServer::closeWithoutReply()
{
    Answer a;
    a.kind = Answer::CloseWithoutReply;
    return a;
}

LoopbackServer::Answer LoopbackServer::reset()
{
    Answer a;
    a.kind = Answer::Reset;
    return a;
}

LoopbackServer::Answer LoopbackServer::partial(const QByteArray &bytes)
{
    Answer a = reply(bytes);
    a.holdOpen = true;
    return a;
}

LoopbackServer::Answer LoopbackServer::stall()
{
    Answer a;
    a.kind = Answer::Stall;
    return a;
}

QByteArray LoopbackServer::http(int status, const QByteArray &body)
{
    return "HTTP/1.0 " + QByteArray::number(status) + (status == 200 ? " OK" : " Not Found")
            + "\r\nContent-Type: text/plain\r\nContent-Length: " + QByteArray::number(body.size())
            + "\r\n\r\n" + body;
}

QByteArray LoopbackServer::tagged(const QByteArray &text)
{
    return "HTTP/1.0 200 OK\r\nContent-Type: text/html\r\n\r\n" + text;
}

LoopbackServer::LoopbackServer(QObject *parent) : QObject(parent)
{
    connect(&mServer, &QTcpServer::newConnection, this, &LoopbackServer::onNewConnection);
    mServer.listen(QHostAddress::LocalHost, 0);
    // Stops by itself, whatever a test forgets.
    QTimer::singleShot(60000, this, [this] { mServer.close(); });
}

LoopbackServer::~LoopbackServer()
{
    mServer.close();
}

quint16 LoopbackServer::refusedPort()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    const quint16 port = probe.serverPort();
    probe.close();
    return port;
}

void LoopbackServer::onNewConnection()
{
    while (QTcpSocket *socket = mServer.nextPendingConnection()) {
        ++mConnections;
        socket->setParent(this);
        socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] { onReadyRead(socket); });
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
    }
}

void LoopbackServer::onReadyRead(QTcpSocket *socket)
{
    QByteArray buffer = socket->property(kBuffer).toByteArray() + socket->readAll();
    socket->setProperty(kBuffer, buffer);
    const qsizetype headEnd = buffer.indexOf("\r\n\r\n");
    if (headEnd < 0)
        return;
    qsizetype length = 0;
    for (const QByteArray &line : buffer.left(headEnd).split('\n')) {
        if (line.toLower().startsWith("content-length:"))
            length = line.mid(15).trimmed().toLongLong();
    }
    if (buffer.size() < headEnd + 4 + length)
        return;
    socket->setProperty(kBuffer, QByteArray());
    mRequests.append(buffer.left(headEnd + 4 + length));
    const Answer a = mAnswers.isEmpty() ? closeWithoutReply() : mAnswers.takeFirst();
    QPointer<QTcpSocket> guard(socket);
    if (a.delayMs > 0)
        QTimer::singleShot(a.delayMs, socket, [this, guard, a] {
            if (guard)
                answer(guard, a);
        });
    else
        answer(socket, a);
}

void LoopbackServer::answer(QTcpSocket *socket, const Answer &a)
{
    switch (a.kind) {
    case Answer::Reply:
        sendFrom(socket, a.bytes, a.packetSize, a.packetGapMs, a.holdOpen);
        break;
    case Answer::CloseWithoutReply:
        socket->disconnectFromHost();
        break;
    case Answer::Reset: {
        // A zero linger time makes the close send a reset instead of a FIN.
        linger l{1, 0};
        ::setsockopt(int(socket->socketDescriptor()), SOL_SOCKET, SO_LINGER, &l, sizeof l);
        socket->abort();
        socket->deleteLater();
        break;
    }
    case Answer::Stall:
        break;
    }
}

void LoopbackServer::sendFrom(QTcpSocket *socket, QByteArray bytes, int packetSize, int gapMs,
                              bool holdOpen)
{
    if (packetSize <= 0 || bytes.size() <= packetSize) {
        socket->write(bytes);
        if (!holdOpen)
            socket->disconnectFromHost();
        return;
    }
    socket->write(bytes.left(packetSize));
    socket->flush();
    QPointer<QTcpSocket> guard(socket);
    QTimer::singleShot(gapMs, socket, [this, guard, rest = bytes.mid(packetSize), packetSize, gapMs, holdOpen] {
        if (guard)
            sendFrom(guard, rest, packetSize, gapMs, holdOpen);
    });
}
