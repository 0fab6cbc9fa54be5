#include "upload/DistrictUpdate.h"

#include "core/Cp1252.h"
#include "core/FileHelpers.h"
#include "core/Globals.h"
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
    int districts = 0;
    for (const QString &raw : text.split(u'\n')) {
        const QString line = VbTrim(QString(raw).replace(u'\r', u' '));
        if (line.isEmpty() || line.startsWith(u'#'))
            continue;
        const QStringList fields = SplitQuoted(line, u'|');
        if (fields.size() < kDistrictFields)
            return false;
        for (int i = 1; i <= 4; ++i) {
            bool ok = false;
            VbTrim(fields[i]).toInt(&ok);
            if (!ok)
                return false;
        }
        ++districts;
    }
    return districts > 0;
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

bool InstallDistrictFile(const QString &text, const QString &version, UploadLog &log)
{
    if (!LooksLikeDistrictFile(text)) {
        log.line(QStringLiteral("The new District File is not a district file - not installed"));
        return false;
    }
    const QDir files(gProject->GetFilePath());
    const QString current = files.filePath(QStringLiteral("Pelkar_Districts.txt"));
    const QString stamp = QLocale::c().toString(Services::clock().now(),
                                                QStringLiteral("ddMMyyHHmmss"));
    const QString backup = files.filePath(QStringLiteral("CopyofDistrictFile") + stamp
                                          + QStringLiteral(".txt"));
    // The old file is copied, not moved: it stays in place until the new one
    // has been written whole.
    if (QFileInfo::exists(current) && !CopyFileOver(current, backup)) {
        log.line(QStringLiteral("Unable to keep a copy of the District File as ") + backup);
        return false;
    }
    QString error;
    if (!WriteFileWhole(current, DistrictFileBytes(text), &error)) {
        log.line(QStringLiteral("Unable to write the new District File: ") + error);
        return false;
    }
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
