#include "upload/UploadLog.h"

#include "core/Cp1252.h"
#include "core/Services.h"

#include <QDir>
#include <QLocale>

bool UploadLog::open(const QString &dataPath)
{
    close();
    mFile.setFileName(QDir(dataPath).filePath(FileName()));
    // Truncating in place deletes the old text and starts anew. A new log is
    // the user's alone (it holds the batch's entries); an old one keeps the
    // mode it was given.
    return mFile.open(QIODevice::WriteOnly | QIODevice::Truncate,
                      QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}

void UploadLog::line(const QString &text)
{
    if (!mFile.isOpen())
        return;
    // A large batch logs thousands of lines within one second: the stamp is
    // formatted once per time.
    const QDateTime now = Services::clock().now();
    if (now != mStampTime || mStamp.isEmpty()) {
        mStampTime = now;
        mStamp = QLocale::c().toString(now, QStringLiteral("dd/MM/yyyy HH:mm:ss")).toLatin1() + ' ';
    }
    QByteArray out = mStamp;
    Cp1252::appendEncoded(out, text);
    out += "\r\n";
    mFile.write(out);
}

void UploadLog::flush()
{
    if (mFile.isOpen())
        mFile.flush();
}

void UploadLog::close()
{
    if (mFile.isOpen())
        mFile.close();
}
