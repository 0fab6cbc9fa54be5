#pragma once

// The tiled background picture of the forms that have one: the file
// "webback.jpg" in the system-files folder (Project's CommonAppData).

#include <QString>

class QWidget;

// Tiles the background picture over form when the picture file exists;
// does nothing when it is missing or no project exists.
void SetFormBackground(QWidget *form);

// Loads the picture at path and tiles it over form. When it cannot be
// loaded the transcriber is warned (the program goes on) and the form keeps
// its plain background. Returns whether the picture was put on the form.
bool TileBackground(QWidget *form, const QString &path);
