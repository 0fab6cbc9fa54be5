#include "upload/WinsockControl.h"

#include <QHostInfo>
#include <QPointer>
#include <QSocketNotifier>

#include <cerrno>
#include <fcntl.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

int winsockNumber(int err)
{
    switch (err) {
    case ECONNREFUSED:
        return WinsockControl::WSAECONNREFUSED;
    case ETIMEDOUT:
        return WinsockControl::WSAETIMEDOUT;
    case ECONNRESET:
    case EPIPE:
        return WinsockControl::WSAECONNRESET;
    case ENETUNREACH:
    case ENETDOWN:
        return WinsockControl::WSAENETUNREACH;
    case EHOSTUNREACH:
        return WinsockControl::WSAEHOSTUNREACH;
    case EADDRNOTAVAIL:
        return WinsockControl::WSAEADDRNOTAVAIL;
    default:
        return WinsockControl::WSAECONNABORTED;
    }
}

} // namespace

WinsockControl::WinsockControl(QObject *parent) : QObject(parent) {}

WinsockControl::~WinsockControl()
{
    releaseSocket();
}

QString WinsockControl::ErrorText(int number)
{
    switch (number) {
    case WSAEADDRNOTAVAIL:
        return QStringLiteral("Address not available from the local machine");
    case WSAENETUNREACH:
        return QStringLiteral("Network is unreachable");
    case WSAECONNABORTED:
        return QStringLiteral("Connection is aborted due to timeout or other failure");
    case WSAECONNRESET:
        return QStringLiteral("The connection is reset by remote side");
    case WSAETIMEDOUT:
        return QStringLiteral("Attempt to connect timed out without establishing a connection");
    case WSAECONNREFUSED:
        return QStringLiteral("Connection is forcefully rejected");
    case WSAEHOSTUNREACH:
        return QStringLiteral("Host is unreachable");
    case WSAHOST_NOT_FOUND:
        return QStringLiteral("Authoritative answer: Host not found");
    case WSATRY_AGAIN:
        return QStringLiteral("Non-Authoritative answer: Host not found");
    case WSANO_DATA:
        return QStringLiteral("Valid name, no data record of requested type");
    default:
        return QStringLiteral("Socket error");
    }
}

int WinsockControl::LocalPort() const
{
    if (mFd < 0)
        return 0;
    sockaddr_storage address{};
    socklen_t length = sizeof address;
    if (::getsockname(mFd, reinterpret_cast<sockaddr *>(&address), &length) != 0)
        return 0;
    if (address.ss_family == AF_INET)
        return ntohs(reinterpret_cast<sockaddr_in *>(&address)->sin_port);
    if (address.ss_family == AF_INET6)
        return ntohs(reinterpret_cast<sockaddr_in6 *>(&address)->sin6_port);
    return 0;
}

void WinsockControl::ConnectTo(const QString &host, int port)
{
    CloseSocket();
    mRemoteHost = host;
    mRemotePort = port;
    QHostAddress literal;
    if (literal.setAddress(host.trimmed())) {
        connectAddress(literal);
        return;
    }
    mState = sckResolvingHost;
    const quint64 generation = mGeneration;
    QHostInfo::lookupHost(host.trimmed(), this, [this, generation](const QHostInfo &info) {
        if (generation != mGeneration || mState != sckResolvingHost)
            return;
        if (info.error() == QHostInfo::HostNotFound) {
            fail(WSAHOST_NOT_FOUND);
            return;
        }
        if (info.error() != QHostInfo::NoError) {
            fail(WSATRY_AGAIN);
            return;
        }
        const QList<QHostAddress> addresses = info.addresses();
        if (addresses.isEmpty()) {
            fail(WSANO_DATA);
            return;
        }
        // IPv4 first: the upload servers have always been reached that way.
        for (const QHostAddress &a : addresses) {
            if (a.protocol() == QAbstractSocket::IPv4Protocol) {
                connectAddress(a);
                return;
            }
        }
        connectAddress(addresses.first());
    });
}

void WinsockControl::connectAddress(const QHostAddress &address)
{
    sockaddr_storage storage{};
    socklen_t length = 0;
    if (address.protocol() == QAbstractSocket::IPv6Protocol) {
        auto *a6 = reinterpret_cast<sockaddr_in6 *>(&storage);
        a6->sin6_family = AF_INET6;
        a6->sin6_port = htons(quint16(mRemotePort));
        const Q_IPV6ADDR ip = address.toIPv6Address();
        memcpy(&a6->sin6_addr, &ip, sizeof ip);
        length = sizeof *a6;
    } else {
        auto *a4 = reinterpret_cast<sockaddr_in *>(&storage);
        a4->sin_family = AF_INET;
        a4->sin_port = htons(quint16(mRemotePort));
        a4->sin_addr.s_addr = htonl(address.toIPv4Address());
        length = sizeof *a4;
    }
    mFd = ::socket(storage.ss_family, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (mFd < 0) {
        fail(winsockNumber(errno));
        return;
    }
    mState = sckConnecting;
    mReadNotifier = new QSocketNotifier(mFd, QSocketNotifier::Read, this);
    mReadNotifier->setEnabled(false);
    connect(mReadNotifier, &QSocketNotifier::activated, this, &WinsockControl::onReadable);
    mWriteNotifier = new QSocketNotifier(mFd, QSocketNotifier::Write, this);
    connect(mWriteNotifier, &QSocketNotifier::activated, this, &WinsockControl::onWritable);
    // Even an immediate success is reported from the event loop, so that
    // Connect never arrives inside ConnectTo.
    if (::connect(mFd, reinterpret_cast<sockaddr *>(&storage), length) != 0
        && errno != EINPROGRESS) {
        const int err = errno;
        // Reported from the event loop too, like every other outcome.
        const quint64 generation = mGeneration;
        QMetaObject::invokeMethod(
                this,
                [this, generation, err] {
                    if (generation == mGeneration)
                        fail(winsockNumber(err));
                },
                Qt::QueuedConnection);
        mWriteNotifier->setEnabled(false);
    }
}

void WinsockControl::fail(int number)
{
    releaseSocket();
    mState = sckError;
    emit Error(number, ErrorText(number));
}

void WinsockControl::onWritable()
{
    if (mState == sckConnecting) {
        int err = 0;
        socklen_t length = sizeof err;
        ::getsockopt(mFd, SOL_SOCKET, SO_ERROR, &err, &length);
        if (err != 0) {
            fail(winsockNumber(err));
            return;
        }
        mState = sckConnected;
        mWriteNotifier->setEnabled(!mOut.isEmpty());
        mReadNotifier->setEnabled(true);
        emit Connect();
        return;
    }
    if (mState != sckConnected)
        return;
    while (mOutDone < mOut.size()) {
        const ssize_t n = ::send(mFd, mOut.constData() + mOutDone, size_t(mOut.size() - mOutDone),
                                 MSG_NOSIGNAL);
        if (n < 0) {
            if (errno == EAGAIN || errno == EWOULDBLOCK)
                break;
            if (errno == EINTR)
                continue;
            fail(winsockNumber(errno));
            return;
        }
        mOutDone += n;
        mSentTotal += n;
    }
    const quint64 generation = mGeneration;
    emit SendProgress(mSentTotal, mQueuedTotal);
    if (generation != mGeneration)
        return;
    if (mOutDone >= mOut.size()) {
        mOut.clear();
        mOutDone = 0;
        mWriteNotifier->setEnabled(false);
        emit SendComplete();
    }
}

void WinsockControl::onReadable()
{
    if (mState != sckConnected)
        return;
    bool closed = false;
    int err = 0;
    qint64 got = 0;
    char buffer[16384];
    for (;;) {
        const ssize_t n = ::recv(mFd, buffer, sizeof buffer, 0);
        if (n > 0) {
            mIn.append(buffer, n);
            got += n;
            continue;
        }
        if (n == 0) {
            closed = true;
        } else if (errno == EINTR) {
            continue;
        } else if (errno != EAGAIN && errno != EWOULDBLOCK) {
            err = errno;
        }
        break;
    }
    const quint64 generation = mGeneration;
    if (got > 0) {
        emit DataArrival(mIn.size());
        // The handler may have closed the socket or started a new one.
        if (generation != mGeneration)
            return;
    }
    if (err != 0) {
        fail(winsockNumber(err));
    } else if (closed) {
        mReadNotifier->setEnabled(false);
        mWriteNotifier->setEnabled(false);
        mState = sckClosing;
        emit Close();
    }
}

void WinsockControl::SendData(const QByteArray &bytes)
{
    if (mState != sckConnected && mState != sckConnecting)
        return;
    mOut += bytes;
    mQueuedTotal += bytes.size();
    if (mState == sckConnected)
        mWriteNotifier->setEnabled(true);
}

QByteArray WinsockControl::GetData()
{
    return std::exchange(mIn, QByteArray());
}

void WinsockControl::CloseSocket()
{
    releaseSocket();
    mState = sckClosed;
    mIn.clear();
}

void WinsockControl::releaseSocket()
{
    ++mGeneration;
    // The notifiers may be the ones whose signal is running: disabled now,
    // deleted once control is back in the event loop.
    for (QSocketNotifier **n : {&mReadNotifier, &mWriteNotifier}) {
        if (*n) {
            (*n)->setEnabled(false);
            (*n)->deleteLater();
            *n = nullptr;
        }
    }
    if (mFd >= 0) {
        ::close(mFd);
        mFd = -1;
    }
    mOut.clear();
    mOutDone = 0;
    mSentTotal = 0;
    mQueuedTotal = 0;
}
