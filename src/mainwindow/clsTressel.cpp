#include "mainwindow/clsTressel.h"

#include "core/Globals.h"
#include "core/Project.h"
#include "core/Services.h"
#include "core/UserSettings.h"

#include <QDir>
#include <QLocale>
#include <QMap>

#include <condition_variable>
#include <mutex>
#include <thread>

namespace {
const QString kEmpty = QStringLiteral("~");

QString orTilde(const QString &text)
{
    return text.isEmpty() ? kEmpty : text;
}
} // namespace

// Writes the values handed to it, the latest of each key, all of them with
// one rewrite of the file.
class clsTressel::Writer
{
public:
    Writer() : mThread([this] { run(); }) {}
    ~Writer()
    {
        {
            std::lock_guard lock(mMutex);
            mStop = true;
        }
        mWake.notify_all();
        mThread.join();
    }

    void post(const QString &key, const QString &value)
    {
        {
            std::lock_guard lock(mMutex);
            mPending.insert(key, value);
        }
        mWake.notify_all();
    }

    void flush()
    {
        std::unique_lock lock(mMutex);
        mWake.wait(lock, [this] { return mPending.isEmpty() && !mBusy; });
    }

private:
    void run()
    {
        std::unique_lock lock(mMutex);
        for (;;) {
            mWake.wait(lock, [this] { return mStop || !mPending.isEmpty(); });
            if (mPending.isEmpty())
                return; // stopping, nothing left
            QList<std::pair<QString, QString>> values;
            for (auto it = mPending.cbegin(); it != mPending.cend(); ++it)
                values.append({it.key(), it.value()});
            mPending.clear();
            mBusy = true;
            lock.unlock();
            SaveSharedSettings(QStringLiteral("Pelkar"), clsTressel::section(), values);
            lock.lock();
            mBusy = false;
            mWake.notify_all();
        }
    }

    std::mutex mMutex;
    std::condition_variable mWake;
    QMap<QString, QString> mPending;
    bool mBusy = false;
    bool mStop = false;
    std::thread mThread; // last: started once the rest is ready
};

void clsTressel::write(const QString &key, const QString &value, bool wait)
{
    mWriter->post(key, value);
    if (wait)
        mWriter->flush();
}

void clsTressel::flush()
{
    mWriter->flush();
}

clsTressel::clsTressel() : mWriter(std::make_unique<Writer>())
{
    write(QStringLiteral("YTQ"), kEmpty, false);
    write(QStringLiteral("District"), kEmpty, false);
    write(QStringLiteral("Saved"), kEmpty, true);
}

clsTressel::~clsTressel()
{
    for (const char *key : {"YTQ", "District", "Saved", "OldRow"})
        write(QString::fromLatin1(key), QString(), false);
    flush();
}

void clsTressel::setYTQ(const QString &text)
{
    write(QStringLiteral("YTQ"), orTilde(text), true);
}

void clsTressel::setDistrict(const QString &district, const QString &page)
{
    write(QStringLiteral("District"),
          district.isEmpty() ? kEmpty : district + u',' + orTilde(page), false);
}

void clsTressel::setOldRow(const QString &label, const QString &district, const QString &page)
{
    write(QStringLiteral("OldRow"), district == kEmpty
                                        ? kEmpty
                                        : orTilde(label) + u',' + district + u',' + orTilde(page),
          false);
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
                                       + u',' + (unsavedBefore ? u'T' : u'F'),
          true);
}
