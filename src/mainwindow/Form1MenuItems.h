#pragma once

// The main window's menu items, found by control name, and the parts of the
// menus that the model fills in: the recent files of the File menu and the
// supplementary district files (their names and which one serves the open
// batch). Owned by the main window (Qt parent); on going it detaches itself
// from the program-wide objects that still point to it.

#include "core/Project.h"
#include "lists/Districts.h"
#include "transcription/Recent_files.h"

#include <QHash>
#include <QObject>
#include <QString>

class QAction;
class QMenu;

class Form1MenuItems : public QObject,
                       public RecentMenuSink,
                       public SuppMenuSink,
                       public SuppRangeMenu
{
public:
    explicit Form1MenuItems(QObject *parent);
    ~Form1MenuItems() override;

    // Records the action under its object name (the control name).
    void add(QAction *action);
    // The item of that control name; nullptr when there is none.
    QAction *item(const QString &name) const { return mItems.value(name); }

    // A click on a checkable item whose command is not built yet must not
    // move its check mark, which mirrors a setting or the batch: holdCheck
    // puts the mark back after every click; releaseCheck ends that, for
    // the item's command to set the mark.
    void holdCheck(QAction *action);
    void releaseCheck(QAction *action);

    // The grid's right-click menus ("Row Menu", "Cell Menu"); not on the bar.
    QMenu *rowPopup = nullptr;
    QMenu *cellPopup = nullptr;

    // Makes this the menu that the project, the recent-file list and the
    // district list write to, for those that exist. Repeating it is harmless.
    void attach();

    // RecentMenuSink: items mnurecent1_1 to mnurecent1_10 and mnurecentsep.
    void setItemCaption(int n, const QString &caption) override;
    void setItemVisible(int n, bool visible) override;
    void setSeparatorVisible(bool visible) override;
    // SuppMenuSink
    void setSuppCaption(int i, const QString &fileName) override;
    // SuppRangeMenu
    void checkSuppRange(int range) override;

    // The control name of recent-file item n (1 to 10).
    static QString recentName(int n);

private:
    QHash<QString, QAction *> mItems;
};
