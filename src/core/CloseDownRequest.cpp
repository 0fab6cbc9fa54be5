#include "core/CloseDownRequest.h"

namespace {
CloseDownHandler &handler()
{
    static CloseDownHandler h;
    return h;
}
int gUnhandled = 0;
} // namespace

void RequestCloseDown(int errNo, const QString &title, const QString &text)
{
    if (handler())
        handler()(errNo, title, text);
    else
        ++gUnhandled;
}

void SetCloseDownHandler(CloseDownHandler h)
{
    handler() = std::move(h);
}

int UnhandledCloseDownRequests()
{
    return gUnhandled;
}
