#pragma once

// Character tests shared by the entry boxes' key handlers.

#include <QChar>

// The separators after which mode "M" gives a capital in the general
// entry box: space, apostrophe, hyphen, full stop and comma.
bool IsCaseSeparator(QChar c);

// Whether a Windows-1252 code may be typed into a cell: a printable
// character the batch file can hold. Control characters (Tab, CR, LF ...),
// DEL, the five codes Windows-1252 leaves unassigned and the double quote
// (which would split a batch line's fields) are refused. Backspace (8) is
// not a character and is not judged here.
bool IsStorableCharacter(int code);

// The character of a Windows-1252 code (0 to 255).
QChar CharacterOf(int code);
