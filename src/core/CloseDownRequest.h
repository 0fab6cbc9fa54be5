#pragma once

// How model code that cannot go on (the district file is missing) asks for
// the program to close down. The shut-down routine lives with the windows;
// start-up installs it here. Without a handler the request is only recorded.

#include <QString>

#include <functional>

using CloseDownHandler = std::function<void(int errNo, const QString &title, const QString &text)>;

void RequestCloseDown(int errNo, const QString &title, const QString &text);
// Installs the handler; an empty one removes it.
void SetCloseDownHandler(CloseDownHandler handler);
// How many requests were made with no handler installed (tests).
int UnhandledCloseDownRequests();
