#pragma once

// The batch files most recently opened or saved, most recent first. The
// list is kept in the per-user values (section "Recent Files", keys "1" to
// "10") and written into the recent-file items of the main window's File
// menu and, while the header form is open, of the header form's menu.
//
// Two paths name the same entry when they name the same file: both are
// resolved to canonical paths (symbolic links, "." and ".." followed, a
// relative path taken from the current folder), letter case counting as it
// does for the file system. An entry keeps the text it was first given.

#include <QString>
#include <QStringList>

// The recent-file items of one menu: items 1 to 10 and the separator before
// them (the main window's mnurecent1 and mnurecentsep, the header form's
// mnuruf and mnusep1). The window that owns the menu implements it.
struct RecentMenuSink
{
    virtual ~RecentMenuSink() = default;
    virtual void setItemCaption(int n, const QString &caption) = 0;
    virtual void setItemVisible(int n, bool visible) = 0;
    virtual void setSeparatorVisible(bool visible) = 0;
};

// Stands in while no window provides the menu.
class NullRecentMenu : public RecentMenuSink
{
public:
    void setItemCaption(int, const QString &) override {}
    void setItemVisible(int, bool) override {}
    void setSeparatorVisible(bool) override {}
};

class Recent_files
{
public:
    // The number of entries shown in the menus and saved.
    static constexpr int kMaxShown = 10;

    // Reads the saved list; entries whose file or folder has gone are
    // dropped without a word (the next save leaves them out).
    Recent_files();
    Recent_files(const Recent_files &) = delete;
    Recent_files &operator=(const Recent_files &) = delete;

    // Entry n, 1-based; empty when n is outside the list.
    QString FileName(int n) const;

    // Puts the file at the top of the list, saves the list and rebuilds the
    // menus. An entry naming the same file is moved, keeping its own text;
    // otherwise GetPath(path) is added. Returns false, changing nothing,
    // when the file already is entry 1 or path is empty. The list may grow
    // beyond ten while the program runs; only ten are shown and saved.
    bool Propose(const QString &path);

    // Removes the first entry naming the same file as path and saves the
    // list; the menus are not rebuilt. Does nothing when none does.
    void Remove(const QString &path);

    // Rebuilds the recent-file items of the main window's menu (and of the
    // header form's while it is open) from the first ten entries: full paths
    // or file names as Project's ShowFullPath says.
    void ShowMenu();

    // The absolute path of path (trimmed of spaces; a relative path is taken
    // from the current folder), "." and ".." resolved, symbolic links and
    // letter case left as given. Empty for an empty path. There is no length
    // limit here.
    static QString GetPath(const QString &path);

    // The whole list, entry 1 first.
    QStringList entries() const { return mList; }

    // The menus written; not owned, and cleared (nullptr) by their window
    // before it goes. The main window's falls back to the null stand-in; no
    // header menu means the header form is not open.
    void setMainMenu(RecentMenuSink *menu);
    void setHeaderMenu(RecentMenuSink *menu);

private:
    void MoveRecentToTop(int n);
    void AddRecentAtTop(const QString &path);
    void SaveRecentList();
    void FillRecentMenu(int n, const QString &text);
    void HideRecentMenus();
    // The position (0-based) of the first entry naming the same file; -1
    // when none.
    int find(const QString &path) const;

    QString mAppName;
    QStringList mList;
    NullRecentMenu mNullMenu;
    RecentMenuSink *mMainMenu = &mNullMenu;
    RecentMenuSink *mHeaderMenu = nullptr;
};
