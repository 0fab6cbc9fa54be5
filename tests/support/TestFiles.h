#pragma once

// Small file chores that tests share.

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>

#include <csignal>
#include <sys/resource.h>

namespace TestFiles {

inline bool writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// The file's bytes, or a text naming the file when it cannot be read (so a
// comparison fails with a reason).
inline QByteArray readBytes(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray("<cannot read ") + path.toUtf8() + '>';
    return file.readAll();
}

// A file under tests/fixtures.
inline QString fixture(const QString &relative)
{
    return QDir(QStringLiteral(PELKAR_FIXTURES)).filePath(relative);
}


// Makes writes beyond a few bytes fail as on a full disk, for as long as it
// lives.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &mOld);
        mOldHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = mOld;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &mOld);
        std::signal(SIGXFSZ, mOldHandler);
    }
    FileSizeLimit(const FileSizeLimit &) = delete;
    FileSizeLimit &operator=(const FileSizeLimit &) = delete;

private:
    rlimit mOld{};
    void (*mOldHandler)(int) = nullptr;
};

} // namespace TestFiles
