#pragma once

// The one-copy-at-a-time rule: a lock file in the user's home (the runtime
// folder's only when the home cannot hold one), held for the whole run. A lock left behind by a copy that crashed belongs
// to a process that no longer exists and does not block the next start.

#include <QLockFile>

#include <memory>

namespace InstanceLock {
// Takes the lock for this run. Returns false when another running copy
// holds it; nothing is written then.
bool acquire();
// Gives the lock up (shut-down, tests).
void release();
// The lock file's path.
QString path();
} // namespace InstanceLock
