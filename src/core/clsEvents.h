#pragma once

#include <cstdint>

// The program-wide suppression count: while it is above 0, handlers that
// react to control changes return at once, so that the program's own changes
// to its controls do not run them. Calls nest.
class clsEvents
{
public:
    bool NoEvents() const { return mCount >= 1; }
    void EventsOff();
    // Never takes the count below 0.
    void EventsOn();
    void Clear() { mCount = 0; }

    int count() const { return mCount; }

private:
    std::int16_t mCount = 0;
};

// Holds events off for its lifetime: one EventsOff on construction, the
// matching EventsOn on destruction. Harmless when gEvents does not exist.
class EventsOffGuard
{
public:
    EventsOffGuard();
    ~EventsOffGuard();
    EventsOffGuard(const EventsOffGuard &) = delete;
    EventsOffGuard &operator=(const EventsOffGuard &) = delete;

private:
    clsEvents *mEvents;
};
