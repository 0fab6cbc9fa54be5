#pragma once

// A status bar that keeps what the model shows in it. Installs itself for
// its lifetime.

#include <QCoreApplication>
#include <QThread>
#include "core/ShowStatusSink.h"

#include <QList>
#include <QStringList>

class RecordingStatusBar : public ShowStatusSink
{
public:
    struct Message
    {
        QString text;
        bool error = false;
        bool warning = false;
    };

    RecordingStatusBar() { SetStatusBar(this); }
    ~RecordingStatusBar() override { SetStatusBar(nullptr); }

    void ShowMsg(const QString &text, bool error, bool warning) override
    {
        // A window may only be spoken to from the main thread.
        if (QThread::currentThread() != QCoreApplication::instance()->thread()) {
            ++offMainThread;
            return;
        }
        messages.append({text, error, warning});
    }
    void ShowFile() override { ++fileShown; }
    void ShowPanel3(const QString &text) override { panel3.append(text); }
    void ShowDuration() override { ++durationShown; }

    // The text now in the message panel.
    QString current() const { return messages.isEmpty() ? QString() : messages.last().text; }

    QList<Message> messages;
    QStringList panel3;
    int fileShown = 0;
    int durationShown = 0;
    int offMainThread = 0;
};
