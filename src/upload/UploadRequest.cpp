#include "upload/UploadRequest.h"

#include "core/Cp1252.h"

#include <QFile>

namespace {

constexpr char kCrLf[] = "\r\n";
constexpr char kDelimiter[] = "--Pelkarxyxy\r\n";
constexpr char kPartHeader[] = "content-disposition: form-data; name=\"";

void appendPart(QByteArray &out, const char *name, const QString &value,
                qsizetype *valueAt = nullptr, qsizetype *valueLength = nullptr)
{
    out += kDelimiter;
    out += kPartHeader;
    out += name;
    out += "\"\r\n\r\n";
    if (valueAt)
        *valueAt = out.size();
    Cp1252::appendEncoded(out, value);
    if (valueLength)
        *valueLength = out.size() - *valueAt;
    out += kCrLf;
}

QByteArray versionText()
{
    return QByteArray::number(PELKAR_VERSION_MAJOR) + '.' + QByteArray::number(PELKAR_VERSION_MINOR)
            + '.' + QByteArray::number(PELKAR_VERSION_PATCH);
}

} // namespace

std::optional<BatchFileData> ReadBatchFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return std::nullopt;

    BatchFileData data;
    data.lines.reserve(bytes.count('\n') + 1);
    const char *p = bytes.constData();
    const qsizetype n = bytes.size();
    qsizetype start = 0;
    for (qsizetype i = 0; i < n; ++i) {
        const char c = p[i];
        if (c != '\n' && c != '\r')
            continue;
        data.lines.append(bytes.mid(start, i - start));
        if (c == '\r' && i + 1 < n && p[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    if (start < n)
        data.lines.append(bytes.mid(start));
    for (const QByteArray &line : std::as_const(data.lines))
        data.lFileBytes += line.size() + 2;
    return data;
}

QByteArray UploadClosing()
{
    return QByteArrayLiteral("\r\n--Pelkarxyxy--\r\n\r\n");
}

QByteArray DistrictRequestClosing()
{
    return QByteArrayLiteral("--\r\n\r\n");
}

QByteArray BuildUploadRequest(const UploadRequest &request, const BatchFileData *batch,
                              RequestLayout *layout)
{
    const bool upload = !request.bDistrictRequest;
    if (upload)
        Q_ASSERT(batch);

    // The part headers come first: their length is part of Content-Length.
    QByteArray parts;
    qsizetype passwordAt = 0;
    qsizetype passwordLength = 0;
    appendPart(parts, "UploadAgent", QStringLiteral("InterfaceVersion1.5"));
    appendPart(parts, "user", request.sUser);
    appendPart(parts, "password", request.sPassword, &passwordAt, &passwordLength);
    if (upload)
        appendPart(parts, request.bReplace ? "file_update" : "file", request.sUploadAs);
    QString version;
    if (!upload)
        version = request.bForce ? QStringLiteral("XX") : QStringLiteral("??");
    else
        version = request.sDistrictVersion.trimmed();
    appendPart(parts, "data_version", QStringLiteral("pelkar/Districts.txt:") + version);
    parts += kDelimiter;
    if (upload) {
        parts += kPartHeader;
        parts += "content2\"; filename=\"";
        Cp1252::appendEncoded(parts, request.sFileName);
        parts += "\"\r\n";
    }

    const QByteArray closing = upload ? UploadClosing() : DistrictRequestClosing();
    const qint64 fileBytes = upload ? batch->lFileBytes : 0;
    const qint64 contentLength = parts.size() + fileBytes + closing.size();

    QByteArray out;
    out.reserve(200 + contentLength);
    out += "POST /cgi/zel-files.pl HTTP/1.0\r\n"
           "Accept: text/html\r\n"
           "Connection: Keep-Alive\r\n"
           "User-Agent: Pelkar/";
    out += versionText();
    out += "\r\nContent-type: multipart/form-data, boundary=Pelkarxyxy\r\n"
           "Content-Length: ";
    out += QByteArray::number(contentLength);
    out += "\r\n\r\n";
    const qsizetype bodyStart = out.size();
    out += parts;
    const qsizetype headEnd = out.size();
    if (upload) {
        for (const QByteArray &line : batch->lines) {
            out += kCrLf;
            out += line;
        }
    }
    const qsizetype closingAt = out.size();
    out += closing;

    if (layout) {
        layout->headEnd = headEnd;
        layout->passwordAt = bodyStart + passwordAt;
        layout->passwordLength = passwordLength;
        layout->closingAt = closingAt;
        layout->contentLength = out.size() - bodyStart;
    }
    return out;
}

QString LoggedRequestHeader(const QByteArray &request, const RequestLayout &layout)
{
    QByteArray head = request.left(layout.headEnd);
    head.replace(layout.passwordAt, layout.passwordLength, "********");
    return Cp1252::decode(head);
}
