#include "core/clsEvents.h"

#include "core/Globals.h"

#include <limits>

void clsEvents::EventsOff()
{
    // Nesting this deep is a fault elsewhere; saturate rather than wrap to
    // a negative count that would switch every handler back on.
    if (mCount < std::numeric_limits<std::int16_t>::max())
        ++mCount;
}

void clsEvents::EventsOn()
{
    if (mCount > 0)
        --mCount;
}

EventsOffGuard::EventsOffGuard() : mEvents(gEvents)
{
    if (mEvents)
        mEvents->EventsOff();
}

EventsOffGuard::~EventsOffGuard()
{
    // gEvents may have been released meanwhile (a shut-down from inside a
    // message box); only touch it if it is still the same object.
    if (mEvents && mEvents == gEvents)
        mEvents->EventsOn();
}
