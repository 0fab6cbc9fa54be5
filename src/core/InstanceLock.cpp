#include "core/InstanceLock.h"

#include <QDir>
#include <QStandardPaths>

namespace {
std::unique_ptr<QLockFile> &held()
{
    static std::unique_ptr<QLockFile> lock;
    return lock;
}

// The runtime folder's lock: only where the home cannot hold one.
QString runtimeLockPath()
{
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty())
        folder = QDir::tempPath();
    return QDir(folder).filePath(QStringLiteral("Pelkar.lock"));
}

// 1 taken, 0 held by another running copy, -1 the file could not be made.
int tryLock(const QString &path)
{
    auto lock = std::make_unique<QLockFile>(path);
    // Age alone never makes a live copy's lock stale; a dead owner's lock is
    // stale whatever its age (QLockFile checks the owner's process).
    lock->setStaleLockTime(0);
    if (lock->tryLock(0)) {
        held() = std::move(lock);
        return 1;
    }
    return lock->error() == QLockFile::LockFailedError ? 0 : -1;
}
} // namespace

namespace InstanceLock {

QString path()
{
    // The home, not the runtime folder: a second copy started with another
    // XDG_RUNTIME_DIR shares the home and the data folder, and its work file.
    return QDir::home().filePath(QStringLiteral(".Pelkar.lock"));
}

bool acquire()
{
    if (held())
        return true;
    const int taken = tryLock(path());
    if (taken >= 0)
        return taken == 1;
    return tryLock(runtimeLockPath()) == 1;
}

void release()
{
    held().reset();
}

} // namespace InstanceLock
