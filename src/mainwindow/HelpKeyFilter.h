#pragma once

// The help key. Installed on the application, it turns F1 (without Shift,
// Ctrl or Alt: Shift+F1 is a menu command) into opening the help page of
// what the transcriber is on: the highlighted item of an open menu, else
// the focused widget or the nearest of its parents that carries a
// "HelpContextID", else its window's; with none, the contents.

#include <QObject>

class QWidget;

class HelpKeyFilter : public QObject
{
    Q_OBJECT

public:
    explicit HelpKeyFilter(QObject *parent = nullptr);

    // The help-context number F1 pressed on receiver (the widget that has
    // the keyboard focus, or an open menu) opens: 0 means the contents.
    static int HelpContextFor(const QObject *receiver);
    // The number of w or its nearest parent that has one; 0 when none has.
    static int HelpContextOf(const QWidget *w);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
};

// Installs one help-key filter on the running application (main.cpp).
void InstallHelpKey();
