#pragma once

// The main window's status bar as the model reaches it: four panels
// (messages, the batch, the data-row count, the minutes of work). The
// window implements it; until then, and in tests that install none, a
// stand-in that keeps nothing serves.

#include <QString>

class ShowStatusSink
{
public:
    virtual ~ShowStatusSink() = default;
    // The message panel: errors white on red, warnings black on yellow,
    // otherwise plain; an empty text clears it.
    virtual void ShowMsg(const QString &text, bool error = false, bool warning = false) = 0;
    // Rewrites the batch panel from the project's source, batch name and last page.
    virtual void ShowFile() = 0;
    // The data-row panel.
    virtual void ShowPanel3(const QString &text) = 0;
    // The minutes-of-work panel.
    virtual void ShowDuration() = 0;
};

// The status bar in use; never null.
ShowStatusSink &StatusBar();
// Installs one (not owned); nullptr puts the stand-in back.
void SetStatusBar(ShowStatusSink *sink);
