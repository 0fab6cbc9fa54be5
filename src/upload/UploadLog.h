#pragma once

// "UploadLog.TXT" in the data folder: one line per step of the last upload
// or district request, the date and time, a blank, the text. Rewritten for
// every request. A failed write is ignored: the log must never stop an upload.

#include <QDateTime>
#include <QFile>
#include <QString>

class UploadLog
{
public:
    static QString FileName() { return QStringLiteral("UploadLog.TXT"); }

    // Deletes the old log and opens an empty one. False when it cannot be
    // made; lines are then dropped.
    bool open(const QString &dataPath);
    bool isOpen() const { return mFile.isOpen(); }
    void line(const QString &text);
    // Hands what was written to the disk; the log stays open.
    void flush();
    void close();

private:
    QFile mFile;
    QDateTime mStampTime;
    QByteArray mStamp;
};
