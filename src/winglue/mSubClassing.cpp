#include "winglue/mSubClassing.h"

#include "core/Globals.h"
#include "core/Project.h"
#include "core/clsEvents.h"

namespace {
MainWindowPlace *gMainWindow = nullptr;
int gRecordedLeft = 0;
int gRecordedTop = 0;

bool eventsHeldOff()
{
    return gEvents && gEvents->NoEvents();
}

void storePickPlace(const QRect &pick)
{
    gProject->setPickHeight(pick.height());
    gProject->setPickleft(pick.left());
    gProject->setPicktop(pick.top());
    gProject->setPickWidth(pick.width());
}
} // namespace

void SetMainWindowPlace(MainWindowPlace *mainWindow)
{
    gMainWindow = mainWindow;
}

void RecordMainWindowPosition(int left, int top)
{
    gRecordedLeft = left;
    gRecordedTop = top;
}

int RecordedMainWindowLeft()
{
    return gRecordedLeft;
}

int RecordedMainWindowTop()
{
    return gRecordedTop;
}

void OnMainWindowMoved()
{
    // A minimised window has no place worth keeping, and the pick list is
    // hidden with it.
    if (eventsHeldOff() || !gProject || !gMainWindow || gMainWindow->mainMinimised())
        return;
    Project &project = *gProject;
    Project::PickWindow *pick = Project::pickWindow();
    const QRect main = gMainWindow->mainGeometry();

    if (project.MovePick() && gMainWindow->mainVisible()) {
        if (project.DropDownPick()) {
            gMainWindow->Position_DropDown();
        } else if (pick) {
            const QRect place = pick->pickGeometry();
            EventsOffGuard quiet;
            pick->movePick(place.left() + (main.left() - gRecordedLeft),
                           place.top() + (main.top() - gRecordedTop));
        }
    }

    project.setForm1left(main.left());
    project.setForm1Top(main.top());
    project.setForm1Height(main.height());
    project.setForm1Width(main.width());
    RecordMainWindowPosition(main.left(), main.top());

    if (!project.DropDownPick() && pick && !pick->pickMinimised())
        storePickPlace(pick->pickGeometry());
}

void OnPickListMoved()
{
    if (eventsHeldOff() || !gProject || !gMainWindow)
        return;
    Project::PickWindow *pick = Project::pickWindow();
    if (!pick || !pick->pickVisible() || !gMainWindow->mainVisible())
        return;
    storePickPlace(pick->pickGeometry());
}
