#include "core/InstanceLock.h"

#include <QDir>
#include <QStandardPaths>

namespace {
std::unique_ptr<QLockFile> &held()
{
    static std::unique_ptr<QLockFile> lock;
    return lock;
}
} // namespace

namespace InstanceLock {

QString path()
{
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty())
        folder = QDir::tempPath();
    return QDir(folder).filePath(QStringLiteral("Pelkar.lock"));
}

bool acquire()
{
    if (held())
        return true;
    auto lock = std::make_unique<QLockFile>(path());
    // Age alone never makes a live copy's lock stale; a dead owner's lock is
    // stale whatever its age (QLockFile checks the owner's process).
    lock->setStaleLockTime(0);
    if (!lock->tryLock(0))
        return false;
    held() = std::move(lock);
    return true;
}

void release()
{
    held().reset();
}

} // namespace InstanceLock
