#pragma once

// Bringing the program up and taking it down.

#include <QString>

class Form1;

// Runs once, as the last step of the main window's Load. Returns false when
// it stopped the run: the main window is then closed and nothing was saved.
bool StartUp(Form1 &mainWindow);

// Saves what must survive the run and releases everything, the main window
// last. With errNo other than 0 nothing is saved and the error is shown.
void CloseDown(int errNo, const QString &title, const QString &text);

// The welcome text shown on the first run.
QString WelcomeText();
