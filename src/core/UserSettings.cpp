#include "core/UserSettings.h"

#include <QFile>
#include <QSettings>

#include <pwd.h>
#include <unistd.h>

namespace {
QString userSection(const QString &section)
{
    return section + u'_' + LoginName();
}

// QSettings keeps every text exactly through its INI file except two: a
// leading U+FEFF is read back as a byte-order mark and dropped, and an
// unpaired surrogate cannot be written in UTF-8. Such a text is stored as
// its UTF-16 code units in a byte array, which QSettings keeps apart from
// any text (a text that looks like "@ByteArray(...)" is escaped).
bool needsRawStorage(const QString &value)
{
    if (value.startsWith(QChar(0xFEFF)))
        return true;
    const qsizetype size = value.size();
    for (qsizetype i = 0; i < size; ++i) {
        const QChar c = value[i];
        if (c.isHighSurrogate() && i + 1 < size && value[i + 1].isLowSurrogate())
            ++i;
        else if (c.isSurrogate())
            return true;
    }
    return false;
}

QByteArray toRawUnits(const QString &value)
{
    QByteArray bytes;
    bytes.reserve(value.size() * 2);
    for (const QChar c : value) {
        bytes.append(char(c.unicode() & 0xFF));
        bytes.append(char(c.unicode() >> 8));
    }
    return bytes;
}

QString fromRawUnits(const QByteArray &bytes)
{
    QString value(bytes.size() / 2, Qt::Uninitialized);
    for (qsizetype i = 0; i < value.size(); ++i)
        value[i] = QChar(char16_t(uchar(bytes[2 * i]) | (uchar(bytes[2 * i + 1]) << 8)));
    return value;
}

QString readSetting(const QString &app, const QString &group, const QString &key,
                    const QString &defaultValue)
{
    QSettings settings(QSettings::IniFormat, QSettings::UserScope, app, app);
    settings.beginGroup(group);
    if (!settings.contains(key))
        return defaultValue;
    const QVariant value = settings.value(key);
    // A hand-edited file may hold an unquoted comma, which QSettings reads
    // back as a list.
    if (value.typeId() == QMetaType::QStringList)
        return value.toStringList().join(u',');
    if (value.typeId() == QMetaType::QByteArray)
        return fromRawUnits(value.toByteArray());
    return value.toString();
}

void writeSettings(const QString &app, const QString &group,
                   const QList<std::pair<QString, QString>> &values)
{
    QSettings settings(QSettings::IniFormat, QSettings::UserScope, app, app);
    settings.beginGroup(group);
    bool changed = false;
    for (const auto &[key, value] : values) {
        const QVariant stored =
            needsRawStorage(value) ? QVariant(toRawUnits(value)) : QVariant(value);
        // Some values are saved with every batch save: an unchanged one
        // costs no rewrite of the file.
        if (settings.contains(key) && settings.value(key) == stored)
            continue;
        settings.setValue(key, stored);
        changed = true;
    }
    settings.endGroup();
    if (changed)
        settings.sync();
}

void writeSetting(const QString &app, const QString &group, const QString &key,
                  const QString &value)
{
    writeSettings(app, group, {{key, value}});
}
} // namespace

QString GetUserSetting(const QString &app, const QString &section, const QString &key,
                       const QString &defaultValue)
{
    return readSetting(app, userSection(section), key, defaultValue);
}

void SaveUserSetting(const QString &app, const QString &section, const QString &key,
                     const QString &value)
{
    writeSetting(app, userSection(section), key, value);
}

QString GetSharedSetting(const QString &app, const QString &section, const QString &key,
                         const QString &defaultValue)
{
    return readSetting(app, section, key, defaultValue);
}

void SaveSharedSetting(const QString &app, const QString &section, const QString &key,
                       const QString &value)
{
    writeSetting(app, section, key, value);
}

void SaveSharedSettings(const QString &app, const QString &section,
                        const QList<std::pair<QString, QString>> &values)
{
    writeSettings(app, section, values);
}

QString LoginName()
{
    // Every per-user value names it, and the look-up reads the password
    // file; the user a run runs as stays the same, so once is enough.
    static const QString name = [] {
        if (const passwd *pw = getpwuid(geteuid()); pw && pw->pw_name && *pw->pw_name)
            return QFile::decodeName(pw->pw_name);
        for (const char *variable : {"USER", "LOGNAME"}) {
            const QString value = qEnvironmentVariable(variable);
            if (!value.isEmpty())
                return value;
        }
        return QString();
    }();
    return name;
}
