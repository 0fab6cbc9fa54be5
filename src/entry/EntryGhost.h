#pragma once

// The grey ghost completion that the forename and district boxes draw after
// the typed text, and how its letters become typed text.

#include <QString>

class RichTextBox;

namespace EntryGhost {

// How many leading characters are typed (not grey); never less than the
// caret, so that text before the caret always counts as typed.
int typedLength(const RichTextBox &box, int caret);
// The first n characters made typed text (black); the caret at caret.
void makeTyped(RichTextBox &box, int n, int caret);
// Appends ghost to the box text in grey; the caret stays where it was.
void append(RichTextBox &box, const QString &ghost);

} // namespace EntryGhost
