#pragma once

// The bytes of an upload request and of a district request: an HTTP/1.0
// multipart POST written by hand, so that every byte is the program's own
// choice and the server sees exactly what earlier releases sent.

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>

// The values one request is built from.
struct UploadRequest
{
    QString sUser;            // sent as stored, not trimmed
    QString sPassword;        // sent as stored
    QString sFile;            // full path of the batch file; empty for a district request
    QString sFileName;        // the file name part of sFile
    QString sUploadAs;        // the name the server stores the upload under
    QString sDistrictVersion; // the installed district file's version
    bool bDistrictRequest = false;
    bool bForce = false;      // district request for the file whatever the version
    bool bReplace = false;    // replace an earlier upload (part "file_update")
};

// A batch file as read for the upload: read once, so that the length
// announced and the bytes sent always agree.
struct BatchFileData
{
    QList<QByteArray> lines; // each line without its ending
    qint64 lFileBytes = 0;   // sum of each line's length plus 2
    int lLines() const { return int(lines.size()); }
};

// Reads the batch file's lines (ending in CR LF, LF or a lone CR; a last
// line without an ending counts, a final ending adds no empty line).
// Returns nullopt when the file cannot be read.
std::optional<BatchFileData> ReadBatchFile(const QString &path);

// Where the parts of a built request lie.
struct RequestLayout
{
    qsizetype headEnd = 0;        // end of the head and the part-header text (the first send)
    qsizetype passwordAt = 0;     // the password's bytes inside the head
    qsizetype passwordLength = 0;
    qsizetype closingAt = 0;      // start of the closing sequence
    qsizetype contentLength = 0;  // the body's length, as announced
};

// The whole request. For an upload, batch must be given; for a district
// request it is ignored.
QByteArray BuildUploadRequest(const UploadRequest &request, const BatchFileData *batch,
                              RequestLayout *layout = nullptr);

// The head and part-header text as the upload log shows it: the password
// masked, everything else as sent.
QString LoggedRequestHeader(const QByteArray &request, const RequestLayout &layout);

// The closing sequence of an upload and the end of a district request.
QByteArray UploadClosing();
QByteArray DistrictRequestClosing();
