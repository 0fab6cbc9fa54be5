#pragma once

// Which windows are loaded, by name: windows register themselves when they
// are built and drop out when destroyed, so that the model can ask whether a
// form is loaded without seeing a widget.

#include <QString>

class QObject;

void RegisterForm(QObject *form, const QString &name);
// True when a loaded form has that name, compared without regard to case.
bool IsFormLoaded(const QString &name);
// The loaded form of that name, or null.
QObject *FindForm(const QString &name);
