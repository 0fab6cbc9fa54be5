#pragma once

// A benchmark's own home: the per-user values, runtime folder and data of
// the run live in a temporary folder, so nothing of the user's is touched.

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QStandardPaths>
#include <QString>

#include <initializer_list>

// Makes home's sub-folders (dataFolders and the configuration, data and
// runtime ones) and points the environment, the standard paths' test mode
// and the settings' user scope at them.
inline void UseBenchHome(const QDir &home, std::initializer_list<const char *> dataFolders)
{
    for (const char *sub : {".config", ".local/share", "runtime"})
        home.mkpath(QString::fromLatin1(sub));
    for (const char *sub : dataFolders)
        home.mkpath(QString::fromLatin1(sub));
    QFile::setPermissions(home.filePath(QStringLiteral("runtime")),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    qputenv("HOME", QFile::encodeName(home.path()));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(home.filePath(QStringLiteral(".config"))));
    qputenv("XDG_DATA_HOME", QFile::encodeName(home.filePath(QStringLiteral(".local/share"))));
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(home.filePath(QStringLiteral("runtime"))));
    QStandardPaths::setTestModeEnabled(true);
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope,
                       home.filePath(QStringLiteral(".config")));
}
