#pragma once

// The font and colour choosers behind the main window's font commands (and
// the image tools' colour buttons), and the reading of the pick list's row
// count as the transcriber typed it. Worked out without a window: the
// choosers go through the dialog service.

#include <QString>

// One font as the settings hold it: whole points, colour 0x00BBGGRR.
struct FontChoice
{
    QString name;
    int size = 0;
    bool bold = false;
    bool italic = false;
    int colour = 0;
};

// Shows the font chooser opened on font, then the colour chooser for its
// text colour. True when both were confirmed: font then holds the choice,
// its size rounded to whole points (halves to the even one). A cancel at
// either step returns false and leaves font as it was.
bool ChooseFontDialog(FontChoice &font);

// The colour chooser opened on colour (0x00BBGGRR). True when confirmed,
// colour then holding the choice; a cancel leaves it as it was.
bool ChooseColourDialog(int &colour);

// What an answer to the pick list's row-count question asks for.
struct PickRowsAnswer
{
    enum Kind {
        Nothing,    // empty: the command ends quietly
        NotANumber, // "Sorry - it must be a number"
        OutOfRange, // "The value must be in the range 1 to 999"
        Rows,       // rows holds the count
    };
    Kind kind = Nothing;
    int rows = 0;
};

// Reads the typed answer: a number (blanks around it allowed, decimals
// rounded halves to even) from 1 to 999 is a row count; a number of any
// size outside that range is out of range.
PickRowsAnswer ReadPickRowsAnswer(const QString &answer);

// Stored colours (0x00BBGGRR) and Qt's.
class QColor;
QColor colourFromStored(int colour);
int colourToStored(const QColor &colour);
