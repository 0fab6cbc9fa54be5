#include "mainwindow/Form1MenuItems.h"

#include "core/Globals.h"
#include "mainwindow/MenuState.h"

#include <QAction>

Form1MenuItems::Form1MenuItems(QObject *parent) : QObject(parent)
{
    setObjectName(QStringLiteral("Form1MenuItems"));
}

Form1MenuItems::~Form1MenuItems()
{
    // Only the objects that still exist can still point here.
    if (gProject)
        gProject->setSuppMenuSink(nullptr);
    if (gRecentFiles)
        gRecentFiles->setMainMenu(nullptr);
    if (gDistricts)
        gDistricts->setSuppRangeMenu(nullptr);
}

void Form1MenuItems::add(QAction *action)
{
    mItems.insert(action->objectName(), action);
}

void Form1MenuItems::holdCheck(QAction *action)
{
    connect(action, &QAction::triggered, this,
            [action](bool checked) { action->setChecked(!checked); });
}

void Form1MenuItems::releaseCheck(QAction *action)
{
    disconnect(action, &QAction::triggered, this, nullptr);
}

void Form1MenuItems::attach()
{
    if (gProject)
        gProject->setSuppMenuSink(this);
    if (gRecentFiles)
        gRecentFiles->setMainMenu(this);
    if (gDistricts)
        gDistricts->setSuppRangeMenu(this);
}

QString Form1MenuItems::recentName(int n)
{
    return QStringLiteral("mnurecent1_%1").arg(n);
}

void Form1MenuItems::setItemCaption(int n, const QString &caption)
{
    if (QAction *action = item(recentName(n)))
        action->setText(caption);
}

void Form1MenuItems::setItemVisible(int n, bool visible)
{
    if (QAction *action = item(recentName(n)))
        action->setVisible(visible);
}

void Form1MenuItems::setSeparatorVisible(bool visible)
{
    if (QAction *action = item(QStringLiteral("mnurecentsep")))
        action->setVisible(visible);
}

void Form1MenuItems::setSuppCaption(int i, const QString &fileName)
{
    if (QAction *action = item(MenuState::suppItemName(i)))
        action->setText(MenuState::literalCaption(fileName));
}

void Form1MenuItems::checkSuppRange(int range)
{
    if (range < 1 || range > 4)
        return;
    for (int i = 1; i <= 4; ++i)
        item(MenuState::suppItemName(i))->setChecked(i == range);
}
