#pragma once

// The scan viewer's caption carries the zoom as its last part, " (125%)".

#include <QString>

// The zoom as a percentage, as the caption shows it: "100", "75", "156.25".
QString ZoomPercentText(float zoom);

// The caption with its zoom part replaced by the given zoom. Only a last
// part of the form " (...%)" is replaced, so a file name that holds
// brackets keeps its name; a caption without one is returned as it is.
QString CaptionWithZoom(const QString &caption, float zoom);
