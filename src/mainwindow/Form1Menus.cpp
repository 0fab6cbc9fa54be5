#include "mainwindow/Form1.h"

#include <QAction>
#include <QMenuBar>

// The menu bar and the state of its items.

void Form1::CreateMenus()
{
    const auto item = [this](QMenu *menu, const QString &caption, const QString &name,
                             void (Form1::*slot)(), const QKeySequence &keys = {}) {
        QAction *action = menu->addAction(caption);
        action->setObjectName(name);
        action->setShortcut(keys);
        connect(action, &QAction::triggered, this, slot);
        return action;
    };
    QMenu *file = menuBar()->addMenu(QStringLiteral("&File"));
    mnuPrint = item(file, QStringLiteral("&Print..."), QStringLiteral("mnuPrint"),
                    &Form1::mnuPrint_Click, QKeySequence::Print);
    file->addSeparator();
    mnuExit = item(file, QStringLiteral("E&xit"), QStringLiteral("mnuExit"), &Form1::mnuExit_Click);
    QMenu *edit = menuBar()->addMenu(QStringLiteral("&Edit"));
    mnuFindString = item(edit, QStringLiteral("&Find..."), QStringLiteral("mnuFindString"),
                         &Form1::mnuFindString_Click, QKeySequence::Find);
    mnuFindNextString = item(edit, QStringLiteral("Find &Next"), QStringLiteral("mnuFindNextString"),
                             &Form1::mnuFindNextString_Click, QKeySequence::FindNext);
    QMenu *lists = menuBar()->addMenu(QStringLiteral("&Lists"));
    mnuEditForenames = item(lists, QStringLiteral("&Forename List..."),
                            QStringLiteral("mnuEditForenames"), &Form1::mnuEditForenames_Click);
    mnuEditDistricts = item(lists, QStringLiteral("&District List..."),
                            QStringLiteral("mnuEditDistricts"), &Form1::mnuEditDistricts_Click);
}

void Form1::ApplySettingsToMenus()
{
}
