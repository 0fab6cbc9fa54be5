#pragma once

// The arithmetic and text rules the program's data were written with.

#include <QColor>
#include <QString>

#include <cstdint>

// The nearest whole number, halves going to the even neighbour (2.5 -> 2,
// 3.5 -> 4). Every conversion of a floating value to a whole number uses it.
long long VbRound(double value);

// Trims spaces only: tabs and other white space stay.
QString VbTrim(const QString &s);
QString VbLTrim(const QString &s);
QString VbRTrim(const QString &s);

// Upper or lower case character by character, so that the text never
// changes length ("ß" stays "ß").
QString VbUCase(const QString &s);
QString VbLCase(const QString &s);
// Whether VbUCase(text) begins with word (upper-case ASCII), without making
// the upper-cased copy: for tests made on every line of a batch.
bool VbUCaseStartsWith(QStringView text, QLatin1String word);

// Stored colours are 0x00BBGGRR.
QColor ColorFromVb(std::uint32_t vbColour);
std::uint32_t ColorToVb(const QColor &colour);

// Twips: 1440 an inch at the screen's logical dpi (15 a pixel at 96 dpi),
// through the screen-metrics service. Results are rounded with VbRound.
int TwipsToPixelsX(double twips);
int TwipsToPixelsY(double twips);
int PixelsToTwipsX(double pixels);
int PixelsToTwipsY(double pixels);
