#pragma once

// A run's own home for the tests, benchmarks and fuzzers: the per-user
// values, runtime folder and data live in a folder of the run's own, so
// nothing of the user's is touched. Header-only, so that programs without
// Qt Test can use it.

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QStandardPaths>
#include <QString>

#include <initializer_list>

// Makes home's sub-folders (dataFolders and the configuration, data and
// runtime ones) and points the environment, the standard paths' test mode
// and the settings' user scope at them. False when a folder could not be
// made.
inline bool UseTemporaryHome(const QDir &home, std::initializer_list<const char *> dataFolders)
{
    bool made = true;
    for (const char *sub : {".config", ".local/share", "runtime"})
        made = home.mkpath(QString::fromLatin1(sub)) && made;
    for (const char *sub : dataFolders)
        made = home.mkpath(QString::fromLatin1(sub)) && made;
    QFile::setPermissions(home.filePath(QStringLiteral("runtime")),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    qputenv("HOME", QFile::encodeName(home.path()));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(home.filePath(QStringLiteral(".config"))));
    qputenv("XDG_DATA_HOME", QFile::encodeName(home.filePath(QStringLiteral(".local/share"))));
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(home.filePath(QStringLiteral("runtime"))));
    // The documents folder is the home's own, not one the desktop names.
    qunsetenv("XDG_DOCUMENTS_DIR");
    QStandardPaths::setTestModeEnabled(true);
    // QSettings fixes its folder at first use; point it here explicitly, at
    // the same place a program started by the run will use.
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope,
                       home.filePath(QStringLiteral(".config")));
    return made;
}
