#include "transcription/Recent_files.h"

#include "core/FileHelpers.h"
#include "core/Globals.h"
#include "core/Project.h"
#include "core/UserSettings.h"
#include "core/VbHelpers.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace {

const QString kSection = QStringLiteral("Recent Files");
const QString kMissing = QStringLiteral(".");

// What two entries are compared by. A file that is not there (a batch never
// saved, or deleted since) still compares by its folder's canonical path, so
// that a link to the save folder and the folder itself agree.
QString sameFileKey(const QString &path)
{
    const QString trimmed = VbTrim(path);
    if (trimmed.isEmpty())
        return QString();
    const QFileInfo info(trimmed);
    const QString canonical = info.canonicalFilePath();
    if (!canonical.isEmpty())
        return canonical;
    const QString folder = info.absoluteDir().canonicalPath();
    if (!folder.isEmpty())
        return QDir(folder).filePath(info.fileName());
    return QDir::cleanPath(info.absoluteFilePath());
}

} // namespace

Recent_files::Recent_files()
    : mAppName(QStringLiteral("Pelkar"))
{
    for (int k = 1; k <= kMaxShown; ++k) {
        const QString value = GetUserSetting(mAppName, kSection, QString::number(k), kMissing);
        if (value == kMissing)
            break;
        if (FileExists(value))
            mList.append(value);
    }
}

QString Recent_files::FileName(int n) const
{
    if (n < 1 || n > mList.size())
        return QString();
    return mList.at(n - 1);
}

QString Recent_files::GetPath(const QString &path)
{
    const QString trimmed = VbTrim(path);
    if (trimmed.isEmpty())
        return QString();
    return QDir::cleanPath(QFileInfo(trimmed).absoluteFilePath());
}

int Recent_files::find(const QString &path) const
{
    const QString key = sameFileKey(path);
    if (key.isEmpty())
        return -1;
    for (int i = 0; i < mList.size(); ++i) {
        if (sameFileKey(mList.at(i)) == key)
            return i;
    }
    return -1;
}

bool Recent_files::Propose(const QString &path)
{
    const QString full = GetPath(path);
    if (VbTrim(full).isEmpty())
        return false;
    const int i = find(full);
    if (i == 0)
        return false;
    if (i > 0)
        MoveRecentToTop(i + 1);
    else
        AddRecentAtTop(full);
    ShowMenu();
    SaveRecentList();
    return true;
}

void Recent_files::Remove(const QString &path)
{
    const int i = find(path);
    if (i < 0)
        return;
    mList.removeAt(i);
    SaveRecentList();
}

void Recent_files::MoveRecentToTop(int n)
{
    AddRecentAtTop(mList.takeAt(n - 1));
}

void Recent_files::AddRecentAtTop(const QString &path)
{
    mList.prepend(path);
}

void Recent_files::SaveRecentList()
{
    // Empty entries are left out without leaving a gap, so that reading the
    // keys back from "1" gives exactly the entries saved.
    int written = 0;
    for (int k = 0; k < mList.size() && written < kMaxShown; ++k) {
        if (mList.at(k).isEmpty())
            continue;
        ++written;
        SaveUserSetting(mAppName, kSection, QString::number(written), mList.at(k));
    }
    for (int k = written + 1; k <= kMaxShown; ++k)
        SaveUserSetting(mAppName, kSection, QString::number(k), kMissing);
}

void Recent_files::ShowMenu()
{
    HideRecentMenus();
    const bool fullPath = gProject && gProject->ShowFullPath();
    const int shown = std::min<int>(mList.size(), kMaxShown);
    for (int k = 1; k <= shown; ++k) {
        const QString entry = mList.at(k - 1);
        const QString text = fullPath ? entry : QFileInfo(entry).fileName();
        if (!text.isEmpty())
            FillRecentMenu(k, text);
    }
}

void Recent_files::FillRecentMenu(int n, const QString &text)
{
    // "&" before the number makes it the item's access key; one in the name
    // itself must show as written.
    QString escaped = text;
    escaped.replace(u'&', QStringLiteral("&&"));
    const QString caption = QStringLiteral("&") + QString::number(n) + QStringLiteral("  ")
                            + escaped;
    mMainMenu->setItemCaption(n, caption);
    mMainMenu->setItemVisible(n, true);
    mMainMenu->setSeparatorVisible(true);
    if (mHeaderMenu) {
        mHeaderMenu->setItemCaption(n, caption);
        mHeaderMenu->setItemVisible(n, true);
        mHeaderMenu->setSeparatorVisible(true);
    }
}

void Recent_files::HideRecentMenus()
{
    for (int n = 1; n <= kMaxShown; ++n)
        mMainMenu->setItemVisible(n, false);
    mMainMenu->setSeparatorVisible(false);
}

void Recent_files::setMainMenu(RecentMenuSink *menu)
{
    mMainMenu = menu ? menu : &mNullMenu;
}

void Recent_files::setHeaderMenu(RecentMenuSink *menu)
{
    mHeaderMenu = menu;
}
