#include "upload/DistrictUpdate.h"

#include "core/Cp1252.h"
#include "core/FileHelpers.h"
#include "core/Globals.h"
#include "core/LineReader.h"
#include "core/Project.h"
#include "core/Services.h"
#include "core/TextHelpers.h"
#include "core/VbHelpers.h"
#include "lists/Districts.h"
#include "upload/UploadLog.h"

#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QNetworkAccessManager>
#include <QNetworkProxy>
#include <QNetworkReply>
#include <QNetworkRequest>

namespace {

constexpr int kDistrictFields = 10;

} // namespace

bool LooksLikeDistrictFile(const QString &text)
{
    // Read back as the district reader reads the installed file.
    LineReader reader(DistrictFileBytes(text));
    while (!reader.atEnd()) {
        const QString line = VbTrim(reader.readLine());
        if (line.startsWith(u'#') || line.size() <= 10)
            continue;
        const QStringList fields = SplitQuoted(line, u'|');
        if (fields.size() < kDistrictFields)
            continue;
        bool whole = true;
        for (int i = 1; i <= 4 && whole; ++i)
            VbTrim(fields[i]).toInt(&whole);
        if (whole)
            return true;
    }
    return false;
}

QByteArray DistrictFileBytes(const QString &text)
{
    QByteArray out;
    out.reserve(text.size() + text.count(u'\n') + 2);
    for (QString piece : text.split(u'\n')) {
        const qsizetype cr = piece.indexOf(u'\r');
        if (cr >= 0)
            piece[cr] = u' ';
        qsizetype end = piece.size();
        while (end > 0 && piece[end - 1] == u' ')
            --end;
        Cp1252::appendEncoded(out, QStringView(piece).left(end));
        out += "\r\n";
    }
    return out;
}

bool InstallDistrictFile(const QString &text, const QString &version, UploadLog &log,
                         QString *why)
{
    const auto refuse = [&](const QString &logLine, const QString &reason) {
        log.line(logLine);
        if (why)
            *why = reason;
        return false;
    };
    if (!LooksLikeDistrictFile(text))
        return refuse(QStringLiteral("The new District File is not a district file - not installed"),
                      QStringLiteral("it holds no districts"));
    const QDir files(gProject->GetFilePath());
    const QString current = files.filePath(QStringLiteral("Pelkar_Districts.txt"));
    const QString stamp = QLocale::c().toString(Services::clock().now(),
                                                QStringLiteral("ddMMyyHHmmss"));
    const QString backup = files.filePath(QStringLiteral("CopyofDistrictFile") + stamp
                                          + QStringLiteral(".txt"));
    // The old file is copied, not moved: it stays in place until the new one
    // has been written whole.
    if (QFileInfo::exists(current) && !CopyFileOver(current, backup))
        return refuse(QStringLiteral("Unable to keep a copy of the District File as ") + backup,
                      QStringLiteral("the old one could not be copied to ") + backup);
    QString error;
    if (!WriteFileWhole(current, DistrictFileBytes(text), &error))
        return refuse(QStringLiteral("Unable to write the new District File: ") + error,
                      QStringLiteral("it could not be written (") + error + u')');
    gProject->setDistrictVersion(version);
    gProject->SetRegistryValues();
    if (gDistricts)
        gDistricts->Read_Districts();
    log.line(QStringLiteral("FrmUpdate got District File"));
    return true;
}

DistrictFileDownload::DistrictFileDownload(QObject *parent)
    : QObject(parent), mManager(new QNetworkAccessManager(this))
{
    mManager->setProxy(QNetworkProxy::NoProxy);
}

DistrictFileDownload::~DistrictFileDownload()
{
    abort();
}

QUrl DistrictFileDownload::DistrictUrl(const QString &host, int port)
{
    QUrl url;
    url.setScheme(QStringLiteral("http"));
    url.setHost(host.trimmed());
    if (port != 80)
        url.setPort(port);
    url.setPath(QStringLiteral("/addons/pelkar/Districts.txt"));
    return url;
}

void DistrictFileDownload::start(const QUrl &url, int timeoutMs)
{
    abort();
    QNetworkRequest request(url);
    request.setHeader(QNetworkRequest::UserAgentHeader, QStringLiteral("Pelkar"));
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute,
                         QNetworkRequest::AlwaysNetwork);
    request.setAttribute(QNetworkRequest::CacheSaveControlAttribute, false);
    request.setTransferTimeout(timeoutMs);
    mReply = mManager->get(request);
    QNetworkReply *reply = mReply;
    connect(reply, &QNetworkReply::finished, this, [this, reply] {
        if (reply != mReply)
            return;
        mReply = nullptr;
        reply->deleteLater();
        const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        const QByteArray body = reply->readAll();
        QString error;
        if (reply->error() != QNetworkReply::NoError)
            error = reply->errorString();
        emit Finished(status, body, error);
    });
}

void DistrictFileDownload::abort()
{
    if (QNetworkReply *reply = mReply) {
        mReply = nullptr;
        reply->disconnect(this);
        reply->abort();
        reply->deleteLater();
    }
}
