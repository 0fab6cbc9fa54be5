#pragma once

// The check before an upload: can the check host (setting Web/Ping) be
// reached? A TCP connect with a time limit stands in for the system's
// connection test; there is no modem to dial. When the host cannot be
// reached, the transcriber decides whether to go on.

#include <QObject>
#include <QString>

#include <functional>
#include <memory>

// Tries a TCP connection; done(true) once connected, done(false) on refusal,
// failure or when the time limit passes. done is called once, from the event
// loop, and never after context is gone.
class ConnectionProbe
{
public:
    virtual ~ConnectionProbe() = default;
    virtual void probe(const QString &host, int port, int timeoutMs, QObject *context,
                       std::function<void(bool reachable)> done) = 0;
};

class TcpConnectionProbe : public ConnectionProbe
{
public:
    void probe(const QString &host, int port, int timeoutMs, QObject *context,
               std::function<void(bool reachable)> done) override;
};

namespace ConnectionCheck {
// The probe in use: a TcpConnectionProbe until another is installed.
ConnectionProbe &probe();
// Replaces the probe (tests); nullptr puts the TCP probe back.
void setProbe(std::unique_ptr<ConnectionProbe> probe);
} // namespace ConnectionCheck

class InternetConnection : public QObject
{
    Q_OBJECT

public:
    explicit InternetConnection(QObject *parent = nullptr);
    ~InternetConnection() override;

    // The check host and port of a Web/Ping value: "host" (port 80) or
    // "host:port".
    static void SplitPingHost(const QString &ping, QString &host, int &port);

    // Starts the check; Checked follows from the event loop: true to go on
    // with the upload, false when the transcriber chose Cancel. A blank
    // check host has nothing to test and counts as reachable. The hourglass
    // shows until the check has its answer (or the check is released).
    void CheckInternetConnection();
    void setTimeout(int ms) { mTimeoutMs = ms; }

signals:
    void Checked(bool goOn);

private:
    void Hourglass(bool on);

    int mTimeoutMs = 10000;
    bool mHourglass = false;
};
