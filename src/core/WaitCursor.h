#pragma once

// The hourglass over the program for the guard's lifetime, for long grid
// and file operations. Nothing happens without a GUI application
// (benchmarks, command-line tools).

#include <QCoreApplication>
#include <QCursor>
#include <QGuiApplication>

class WaitCursor
{
public:
    WaitCursor() : mSet(qobject_cast<QGuiApplication *>(QCoreApplication::instance()) != nullptr)
    {
        if (mSet)
            QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
    }
    ~WaitCursor()
    {
        if (mSet)
            QGuiApplication::restoreOverrideCursor();
    }
    WaitCursor(const WaitCursor &) = delete;
    WaitCursor &operator=(const WaitCursor &) = delete;

private:
    bool mSet;
};
