#include "mainwindow/clsTressel.h"

#include "core/Globals.h"
#include "core/Project.h"
#include "core/Services.h"
#include "core/UserSettings.h"

#include <QDir>
#include <QLocale>

namespace {
const QString kEmpty = QStringLiteral("~");

void write(const QString &key, const QString &value)
{
    SaveSharedSetting(QStringLiteral("Pelkar"), clsTressel::section(), key, value);
}

QString orTilde(const QString &text)
{
    return text.isEmpty() ? kEmpty : text;
}
} // namespace

clsTressel::clsTressel()
{
    write(QStringLiteral("YTQ"), kEmpty);
    write(QStringLiteral("District"), kEmpty);
    write(QStringLiteral("Saved"), kEmpty);
}

clsTressel::~clsTressel()
{
    for (const char *key : {"YTQ", "District", "Saved", "OldRow"})
        write(QString::fromLatin1(key), QString());
}

void clsTressel::setYTQ(const QString &text)
{
    write(QStringLiteral("YTQ"), orTilde(text));
}

void clsTressel::setDistrict(const QString &district, const QString &page)
{
    write(QStringLiteral("District"),
          district.isEmpty() ? kEmpty : district + u',' + orTilde(page));
}

void clsTressel::setOldRow(const QString &label, const QString &district, const QString &page)
{
    write(QStringLiteral("OldRow"), district == kEmpty
                                        ? kEmpty
                                        : orTilde(label) + u',' + district + u',' + orTilde(page));
}

void clsTressel::setSaved(bool unsavedBefore)
{
    const QString path =
        gProject ? QDir(gProject->SavePath()).filePath(gProject->BatchName()) : QString();
    // Day and month, hour and minute, without leading zeros, in any locale.
    const QDateTime now = Services::clock().now();
    const QLocale c = QLocale::c();
    write(QStringLiteral("Saved"), path + u',' + c.toString(now.date(), QStringLiteral("d/M"))
                                       + u',' + c.toString(now.time(), QStringLiteral("H:m"))
                                       + u',' + (unsavedBefore ? u'T' : u'F'));
}
