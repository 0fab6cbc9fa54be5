#pragma once

// Top-level windows placed and measured by their outer frame, title bar and
// borders included, as the settings store every window's Left, Top, Width
// and Height: a place on the screen then shows the whole window, and a
// place stored at exit comes back the same.

#include <QPoint>
#include <QRect>
#include <QSize>

class QWidget;

// Puts the window's frame with its top left corner at topLeft and gives
// the frame the size asked (a width or height of 0 or less, as in the
// default QSize(), keeps the window's own). The window manager tells the
// frame's margins only once it has framed the window (its first showing);
// until then the inside is placed and sized as the whole, and the window
// is put right as soon as the margins are known.
void PlaceWindowFrame(QWidget &window, const QPoint &topLeft, const QSize &size = QSize());

// The window's frame on the screen, in pixels.
QRect WindowFrameRect(const QWidget &window);
