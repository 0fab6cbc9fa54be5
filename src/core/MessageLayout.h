#pragma once

// How the message windows lay out their texts. A writer who broke a message
// into lines chose them: each line stands as written and the window is as
// wide as the widest, up to the width of the screen; only a line wider than
// that wraps. A text without line breaks of its own is a paragraph, wrapped
// at kParagraphWidth as the standard box wraps it.

class QFontMetrics;
class QString;
class QWidget;

// The widest a paragraph's window grows before the paragraph wraps, pixels.
inline constexpr int kParagraphWidth = 500;

// The text with CR LF and lone CR made LF: a label breaks lines at LF only.
QString MessageDisplayText(const QString &text);

// Whether the text holds a line break of its own (CR, LF or both).
bool HasOwnLines(const QString &text);

// The width of the text's widest line (lines end at LF) in fm.
int WidestLine(const QFontMetrics &fm, const QString &text);

// The widest a window's contents may be: the available width of the screen
// it is on (the primary screen before it is shown) less its frame, or less
// a usual frame's width while the window system has not drawn one yet.
int ScreenContentWidth(const QWidget *window);

// The widest a window's contents may be for the text: the screen's width for
// a text with its own lines, kParagraphWidth (or the screen, when narrower)
// for a paragraph.
int MessageContentWidth(const QWidget *window, const QString &text);
