#include "core/Tidy.h"

#include "core/Globals.h"
#include "core/Project.h"

#include <QDir>

// Until the migration of an earlier installation is in place, a data folder
// that has just been chosen only gets its Files folder, so that the first
// start can go on.
bool Tidy_Version6()
{
    if (gForceMigration && gProject)
        QDir(gProject->DataPath()).mkdir(QStringLiteral("Files"));
    return true;
}

void MergeSuppDistricts1974() {}
