#include "core/ProgramSetup.h"

#include "core/FileHelpers.h"
#include "core/Globals.h"
#include "core/MessageWindows.h"
#include "core/Project.h"
#include "core/Services.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <sys/stat.h>

namespace {

struct FolderError
{
    int number = 0;
    QString description;
};

// One level only, as the program has always done: a missing parent is an
// error worth reporting, not something to paper over.
bool makeFolder(const QString &path, FolderError &error)
{
    if (::mkdir(QFile::encodeName(path).constData(), 0777) == 0 || errno == EEXIST) {
        if (QFileInfo(path).isDir())
            return true;
        errno = ENOTDIR;
    }
    error.number = errno;
    error.description = QString::fromLocal8Bit(std::strerror(errno));
    return false;
}

bool reportFailure(const FolderError &error)
{
    const QString crlf = QStringLiteral("\r\n");
    const bool outputThere = QFileInfo(QDir::current().filePath(QStringLiteral("Output"))).isDir();
    SystemMessageBox(QStringLiteral("Error in MakeFileFolder, Line: 0 #") + QString::number(error.number)
                         + crlf + error.description + crlf + QStringLiteral("Dirpath=") + gLongDataPath
                         + (outputThere ? QStringLiteral(" (Exists)") : QStringLiteral(" (Does not Exist)"))
                         + crlf + QStringLiteral("Pelkar can try to continue but may fail"),
                     Mb::Exclamation);
    return false;
}

} // namespace

bool MakeFileFolder()
{
    gLongDataPath = GetLongPath(gProject->DataPath());
    FolderError error;
    if (!QDir::setCurrent(gLongDataPath)) {
        error.number = ENOENT;
        error.description = QString::fromLocal8Bit(std::strerror(ENOENT));
        return reportFailure(error);
    }
    if (gProject->GetFilePath().isEmpty())
        gProject->setFilesPath(QDir(gProject->DataPath()).filePath(QStringLiteral("Files")));
    if (!FolderExists(gProject->GetFilePath()) && !makeFolder(gProject->GetFilePath(), error))
        return reportFailure(error);
    const QString output = QDir(gLongDataPath).filePath(QStringLiteral("Output"));
    if (!FolderExists(output) && !makeFolder(output, error))
        return reportFailure(error);
    // A batch save cut short leaves its whole new file under a temporary
    // name beside the batch; the batch itself is whole, so the copy goes.
    RemoveSaveLeftovers(output);
    if (QDir(gProject->SavePath()) != QDir(output))
        RemoveSaveLeftovers(gProject->SavePath());
    return true;
}
