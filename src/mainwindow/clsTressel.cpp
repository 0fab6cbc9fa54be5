#include "mainwindow/clsTressel.h"

#include "core/Globals.h"
#include "core/Project.h"
#include "core/Services.h"

#include <QDir>
#include <QLocale>
#include <QSettings>

namespace {
const QString kEmpty = QStringLiteral("~");

QString orTilde(const QString &text)
{
    return text.isEmpty() ? kEmpty : text;
}
} // namespace

void clsTressel::write(const QString &key, const QString &value)
{
    mSettings->setValue(section() + u'/' + key, value);
}

void clsTressel::flush()
{
    mSettings->sync();
}

clsTressel::clsTressel()
    : mSettings(std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope,
                                            QStringLiteral("Pelkar"), QStringLiteral("Pelkar")))
{
    write(QStringLiteral("YTQ"), kEmpty);
    write(QStringLiteral("District"), kEmpty);
    write(QStringLiteral("Saved"), kEmpty);
    flush();
}

clsTressel::~clsTressel()
{
    // Written before the release returns: nothing of the hand-off outlives it.
    for (const char *key : {"YTQ", "District", "Saved", "OldRow"})
        write(QString::fromLatin1(key), QString());
    flush();
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
