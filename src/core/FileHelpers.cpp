#include "core/FileHelpers.h"

#include "core/MessageWindows.h"
#include "core/Services.h"
#include "core/VbHelpers.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLibrary>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QSaveFile>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
bool hasWildcard(const QString &name)
{
    return name.contains(u'*') || name.contains(u'?');
}

// QDir name filters read "[" as the start of a set; in a file name it is an
// ordinary character.
QString literalBrackets(const QString &pattern)
{
    QString out = pattern;
    out.replace(u'[', QStringLiteral("[[]"));
    return out;
}
} // namespace

bool FileExists(const QString &path)
{
    if (path.isEmpty())
        return false;
    const QFileInfo info(path);
    const QString name = info.fileName();
    if (!hasWildcard(name))
        return info.exists();
    const QDir dir = info.dir();
    const QStringList matches = dir.entryList(
        {literalBrackets(name)},
        QDir::Files | QDir::Dirs | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot
            | QDir::CaseSensitive);
    return !matches.isEmpty();
}

bool FolderExists(const QString &path)
{
    QString folder = VbTrim(path);
    if (folder.size() > 1 && folder.endsWith(u'/'))
        folder.chop(1);
    const bool exists = !folder.isEmpty() && QFileInfo(folder).isDir();
    if (!exists && FileExists(path)) {
        ShowMessage(QStringLiteral("There is a file existing with the same name as a needed "
                                   "Folder, this will probably cause the program to fail - "
                                   "folder= ")
                        + path,
                    Mb::Critical, kProductName);
    }
    return exists;
}

bool DriveExists(const QString &drive)
{
    return !drive.isEmpty() && QDir(drive).exists();
}

bool DeleteFileIfExists(const QString &path)
{
    if (!FileExists(path))
        return false;
    return QFile::remove(path);
}

bool MoveFileReplacing(const QString &from, const QString &to)
{
    const QFileInfo source(from);
    if (!source.exists() && !source.isSymLink())
        return false;
    // rename() replaces the target in one step: there is no moment at which
    // neither file exists.
    if (std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0)
        return true;
    if (errno != EXDEV)
        return false;
    // Another file system: copy safely, then let the source go.
    if (!CopyFileOver(from, to))
        return false;
    QFile::remove(from);
    return true;
}

bool CopyFileOver(const QString &from, const QString &to)
{
    QFile source(from);
    if (!source.open(QIODevice::ReadOnly))
        return false;
    const QByteArray bytes = source.readAll();
    if (source.error() != QFileDevice::NoError)
        return false;
    return WriteFileWhole(to, bytes);
}

bool WriteFileWhole(const QString &path, const QByteArray &bytes, QString *error)
{
    QSaveFile file(path);
    QString failure;
    if (!file.open(QIODevice::WriteOnly)) {
        failure = file.errorString();
    } else {
        errno = 0;
        // Qt 6.4's commit() does not notice when the last buffered write
        // falls short (a full disk) and would put the cut-off file in place.
        // Flushing first catches that; without commit() the temporary file
        // is dropped and the old file stays as it was.
        if (file.write(bytes) != bytes.size() || !file.flush()) {
            const int code = errno;
            failure = code != 0 ? qt_error_string(code) : file.errorString();
        } else if (!file.commit()) {
            failure = file.errorString();
        } else {
            return true;
        }
    }
    if (error)
        *error = failure;
    return false;
}

bool WritePrivateFileWhole(const QString &path, const QByteArray &bytes, QString *error)
{
    // The temporary file that becomes the new one is created under this
    // mask; over an existing file the save copies that file's mode instead.
    const mode_t mask = ::umask(0077);
    const bool written = WriteFileWhole(path, bytes, error);
    ::umask(mask);
    return written;
}

QString SaveTempMark()
{
    return QStringLiteral(".pelkar-save-");
}

namespace {
constexpr int kSaveTagLength = 6;

QByteArray randomSaveTag()
{
    static const char letters[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    QByteArray tag(kSaveTagLength, '0');
    for (char &c : tag)
        c = letters[QRandomGenerator::global()->bounded(int(sizeof(letters) - 1))];
    return tag;
}

bool writeAllTo(int fd, const QByteArray &bytes)
{
    const char *data = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t written = ::write(fd, data, size_t(left));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0) {
            if (written == 0)
                errno = EIO;
            return false;
        }
        data += written;
        left -= written;
    }
    return true;
}
} // namespace

bool WriteFileWholeMarked(const QString &path, const QByteArray &bytes, QString *error)
{
    // The file a link points to is the one replaced, as QSaveFile does.
    QFileInfo info(path);
    for (int depth = 0; depth < 128 && info.isSymLink(); ++depth)
        info.setFile(info.symLinkTarget());
    const QByteArray target = QFile::encodeName(info.absoluteFilePath());

    struct stat old {};
    const bool replacing = ::stat(target.constData(), &old) == 0;
    if (replacing && ::access(target.constData(), W_OK) != 0) {
        if (error)
            *error = QStringLiteral("Existing file %1 is not writable").arg(path);
        return false;
    }
    // A new file gets the usual permissions; a replaced one keeps its own.
    const mode_t mode = replacing ? (old.st_mode & 07777) : 0666;

    QByteArray temp;
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        temp = target + QFile::encodeName(SaveTempMark()) + randomSaveTag();
        fd = ::open(temp.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (fd < 0 && errno != EEXIST)
            break;
    }
    int code = 0;
    if (fd < 0) {
        code = errno;
    } else {
        // The creation mask would narrow a replaced file's permissions.
        const bool written = (!replacing || ::fchmod(fd, mode) == 0) && writeAllTo(fd, bytes)
                             && ::fsync(fd) == 0;
        if (!written)
            code = errno;
        if (::close(fd) != 0 && code == 0)
            code = errno;
        if (code == 0 && std::rename(temp.constData(), target.constData()) != 0)
            code = errno;
        if (code != 0)
            ::unlink(temp.constData());
    }
    if (code == 0)
        return true;
    if (error)
        *error = QString::fromLocal8Bit(std::strerror(code));
    return false;
}

int RemoveSaveLeftovers(const QString &folder)
{
    // Exactly the names WriteFileWholeMarked gives: a user's own
    // "X.ZEL.backup" or "X.ZEL.old" never matches.
    static const QRegularExpression leftover(
        QStringLiteral("^.+%1[A-Za-z0-9]{%2}$")
            .arg(QRegularExpression::escape(SaveTempMark()))
            .arg(kSaveTagLength));
    int removed = 0;
    const QDir dir(folder);
    const QStringList names =
        dir.entryList({QStringLiteral("*") + SaveTempMark() + QStringLiteral("*")},
                      QDir::Files | QDir::Hidden | QDir::System | QDir::CaseSensitive);
    for (const QString &name : names) {
        const QFileInfo entry(dir.filePath(name));
        if (leftover.match(name).hasMatch() && !entry.isSymLink() && QFile::remove(entry.filePath()))
            ++removed;
    }
    return removed;
}

QString GetLongPath(const QString &path)
{
    // Short 8.3 names exist only on the original platform's file systems;
    // every path here is already its long form.
    return path;
}

bool DllHasFunction(const QString &library, const QString &function)
{
    QLibrary lib(library);
    if (!lib.load())
        return false;
    const bool found = lib.resolve(function.toLatin1().constData()) != nullptr;
    lib.unload();
    return found;
}
