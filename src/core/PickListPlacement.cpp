#include "core/Project.h"

#include "core/FormRegistry.h"
#include "core/Globals.h"
#include "core/ProjectHooks.h"
#include "core/clsEvents.h"

namespace {
Project::PickWindow *gPickWindow = nullptr;

// The grid's list columns; without a transcription no column is one.
int districtCol()
{
    return projectHooks().districtCol ? projectHooks().districtCol() : -1;
}

int forenamesCol()
{
    return projectHooks().forenamesCol ? projectHooks().forenamesCol() : -1;
}
} // namespace

void Project::SetPickWindow(PickWindow *window)
{
    gPickWindow = window;
}

Project::PickWindow *Project::pickWindow()
{
    return gPickWindow;
}

void Project::HidePickList()
{
    if (gPickWindow && gPickWindow->pickVisible())
        gPickWindow->setPickVisible(false);
}

void Project::HidePickIfNotWanted()
{
    if (KeepPickListVisible() || !IsFormLoaded(QStringLiteral("frmPickList")))
        return;
    if (gPickWindow)
        gPickWindow->setPickVisible(false);
}

void Project::ShowPickList()
{
    if (!gPickWindow)
        return;
    const bool onListColumn = gCurrentCol == districtCol() || gCurrentCol == forenamesCol();
    if (ForePick() || DistPick()) {
        gPickWindow->setPickNormal();
        // The showing and the move are the program's own: the window's
        // resize handling must not lay itself out over them.
        EventsOffGuard quiet;
        if (onListColumn || KeepPickListVisible()) {
            if (!gPickWindow->pickVisible())
                gPickWindow->setPickVisible(true);
            gPickWindow->movePick(Pickleft(), Picktop());
        }
    }
    if (DropDownPick() && !onListColumn)
        gPickWindow->setPickVisible(false);
}

void Project::SavePickPosition()
{
    if (!gPickWindow || gPickWindow->pickMinimised())
        return;
    const QRect g = gPickWindow->pickGeometry();
    // The setters of left, top and width ignore assignments in drop-down
    // mode, so a docked list keeps the free window's place and width.
    if (!DropDownPick()) {
        setPickleft(g.left());
        setPicktop(g.top());
        setPickWidth(g.width());
    }
    setPickHeight(g.height());
}

bool Project::PickListColumn(int col) const
{
    if (col == forenamesCol())
        return ForePick();
    if (col == districtCol())
        return DistPick();
    return false;
}
