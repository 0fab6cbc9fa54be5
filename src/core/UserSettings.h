#pragma once

// Per-user values, kept in an INI file in the user's configuration folder.
// Every section name gets "_" and the login name appended, so that users of
// one machine never share these values ("Startup" becomes "Startup_anne").

#include <QList>
#include <QString>

#include <utility>

QString GetUserSetting(const QString &app, const QString &section, const QString &key,
                       const QString &defaultValue = QString());
// Stored and synced at once.
void SaveUserSetting(const QString &app, const QString &section, const QString &key,
                     const QString &value);

// Values of the program rather than of a user (its folder and version): the
// same file, but the section name has no login-name suffix.
QString GetSharedSetting(const QString &app, const QString &section, const QString &key,
                         const QString &defaultValue = QString());
// Stored and synced at once.
void SaveSharedSetting(const QString &app, const QString &section, const QString &key,
                       const QString &value);
// Several values of one section written together: one rewrite of the file.
void SaveSharedSettings(const QString &app, const QString &section,
                        const QList<std::pair<QString, QString>> &values);

// The login name of the user who runs the program; empty when unknown.
QString LoginName();
