#include "upload/InternetConnection.h"

#include "core/Globals.h"
#include "core/MessageWindows.h"
#include "core/Project.h"
#include "core/Services.h"
#include "core/VbHelpers.h"

#include <QCursor>
#include <QGuiApplication>
#include <QPointer>
#include <QTcpSocket>
#include <QTimer>

namespace {

std::unique_ptr<ConnectionProbe> &installedProbe()
{
    static std::unique_ptr<ConnectionProbe> probe;
    return probe;
}

} // namespace

void TcpConnectionProbe::probe(const QString &host, int port, int timeoutMs, QObject *context,
                               std::function<void(bool)> done)
{
    auto *socket = new QTcpSocket(context);
    auto *timer = new QTimer(socket);
    timer->setSingleShot(true);
    // Whichever comes first answers; the socket then goes with its timer.
    auto finish = [socket, timer, done](bool reachable) {
        timer->stop();
        socket->disconnect();
        socket->abort();
        socket->deleteLater();
        done(reachable);
    };
    QObject::connect(socket, &QTcpSocket::connected, socket, [finish] { finish(true); });
    QObject::connect(socket, &QTcpSocket::errorOccurred, socket,
                     [finish](QAbstractSocket::SocketError) { finish(false); });
    QObject::connect(timer, &QTimer::timeout, socket, [finish] { finish(false); });
    timer->start(timeoutMs);
    socket->connectToHost(host, quint16(port));
}

ConnectionProbe &ConnectionCheck::probe()
{
    if (!installedProbe())
        installedProbe() = std::make_unique<TcpConnectionProbe>();
    return *installedProbe();
}

void ConnectionCheck::setProbe(std::unique_ptr<ConnectionProbe> probe)
{
    installedProbe() = std::move(probe);
}

InternetConnection::InternetConnection(QObject *parent) : QObject(parent) {}

InternetConnection::~InternetConnection()
{
    Hourglass(false);
}

void InternetConnection::Hourglass(bool on)
{
    if (on == mHourglass)
        return;
    mHourglass = on;
    if (on)
        QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
    else
        QGuiApplication::restoreOverrideCursor();
}

void InternetConnection::SplitPingHost(const QString &ping, QString &host, int &port)
{
    host = VbTrim(ping);
    port = 80;
    const qsizetype colon = host.lastIndexOf(u':');
    if (colon > 0 && host.indexOf(u':') == colon) {
        bool ok = false;
        const int value = host.mid(colon + 1).toInt(&ok);
        if (ok && value > 0 && value <= 65535) {
            port = value;
            host.truncate(colon);
        }
    }
}

void InternetConnection::CheckInternetConnection()
{
    Hourglass(true);
    QString host;
    int port = 80;
    SplitPingHost(gProject->sPing(), host, port);
    if (host.isEmpty()) {
        QMetaObject::invokeMethod(this, [this] {
            Hourglass(false);
            emit Checked(true);
        }, Qt::QueuedConnection);
        return;
    }
    QPointer<InternetConnection> self(this);
    ConnectionCheck::probe().probe(host, port, mTimeoutMs, this, [self](bool reachable) {
        if (!self)
            return;
        // The transcriber answers the question with the ordinary pointer.
        self->Hourglass(false);
        if (reachable) {
            emit self->Checked(true);
            return;
        }
        const QString crlf = QStringLiteral("\r\n");
        const QString answer = MyMsgBox(
                QStringLiteral("I could not find an internet connection.") + crlf
                        + QStringLiteral("This may be because the Quorvel website is having a temporary problem.")
                        + crlf
                        + QStringLiteral("Check if you can connect and then either click OK to continue the Upload")
                        + crlf + QStringLiteral("or Click Cancel and try it again later.") + crlf,
                Mb::IconExclamation, QStringLiteral("Pelkar"),
                {QStringLiteral("Ok"), QStringLiteral("Cancel")});
        if (self)
            emit self->Checked(answer != QLatin1String("Cancel"));
    });
}
