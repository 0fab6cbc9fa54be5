#pragma once

// Installing a new district file that came with an upload reply or was
// fetched from the server, and the fetch itself.

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QUrl>

class QNetworkAccessManager;
class QNetworkReply;
class QTimer;
class UploadLog;

// Whether the text, as it would be installed, gives the district reader at
// least one district: a line that is no comment, longer than 10 characters,
// with the district file's fields and whole-number years and quarters.
// Other lines are left to the reader, which skips short lines and tells of
// broken ones, so they do not refuse the file; an error page gives no
// district and is not installed.
bool LooksLikeDistrictFile(const QString &text);

// The lines of a district text as they are installed: split at line feeds,
// each piece's first carriage return a blank, trailing blanks removed,
// every piece (the last included) ending with CR LF.
QByteArray DistrictFileBytes(const QString &text);

// Installs the text as "Pelkar_Districts.txt" in the files folder: the old
// file is first copied to "CopyofDistrictFile" + ddmmyyHHmmss + ".txt"
// (an earlier copy of that name replaced), then the new file replaces it in
// one step, so an interrupted install leaves the old file whole. Only then
// is the version recorded (and every setting saved) and the district list
// read again. Returns false, with the old file and version untouched and
// the reason logged and given in why (for the transcriber), when the text
// is not a district file or a write fails.
bool InstallDistrictFile(const QString &text, const QString &version, UploadLog &log,
                         QString *why = nullptr);

// An HTTP GET of the district file with a time limit, never from a cache,
// never through a proxy. Finished arrives once per start, from the event
// loop.
class DistrictFileDownload : public QObject
{
    Q_OBJECT

public:
    explicit DistrictFileDownload(QObject *parent = nullptr);
    ~DistrictFileDownload() override;

    // The address of the district file on a host ("HTTP://" host
    // "/addons/pelkar/Districts.txt"; with a port other than 80 it is named).
    static QUrl DistrictUrl(const QString &host, int port = 80);

    void start(const QUrl &url, int timeoutMs);
    // Stops a fetch under way; Finished does not follow.
    void abort();
    bool running() const { return mReply != nullptr; }

signals:
    // status: the HTTP status (0 when none came); error empty on success.
    void Finished(int status, const QByteArray &body, const QString &error);

private:
    QNetworkAccessManager *mManager = nullptr;
    QNetworkReply *mReply = nullptr; // owned by the manager; deleted later
};
