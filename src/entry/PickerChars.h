#pragma once

// The character picker's table and what a picked character does, without a
// window: which character each cell shows, and the insertion into the entry
// box that is open over the grid.

#include <QString>

#include <functional>

class Project;
class RichTextBox;

namespace PickerChars {
// The table: the codes 192 to 255 of Windows-1252, ten to a row, seven rows.
// The last six cells have no character.
constexpr int kFirstCode = 192;
constexpr int kLastCode = 255;
constexpr int kColumns = 10;
constexpr int kRows = 7;
constexpr int kCells = kColumns * kRows;
constexpr int kCharacters = kLastCode - kFirstCode + 1;

// The character of cell k (0 to 69): code 192 + k, or the empty text for a
// cell past 255 and for a code the settings list as not used (the cell is
// then disabled). Without a project every code is used.
QString CellText(int cell, const Project *project);
} // namespace PickerChars

// The entry box that a picked character goes into: the general entry box or
// the forename box, whichever is open over the grid. The district box takes
// no special characters.
class OpenEntryBox
{
public:
    virtual ~OpenEntryBox() = default;
    // Inserts the character into the open box at the caret, past the box's
    // key rules, and gives the box the focus. Returns false when no box
    // that takes it is open (nothing changed).
    virtual bool InsertSpecialChar(const QString &character) = 0;
};

// No box at all: nothing is ever inserted.
class NullOpenEntryBox final : public OpenEntryBox
{
public:
    bool InsertSpecialChar(const QString &) override { return false; }
};

// The main window's boxes: the general entry box's model (not owned), and
// the forename box reached through two calls (whether it is the one shown,
// and its SpecialChar). Either may be missing.
class EntryBoxesOpenBox final : public OpenEntryBox
{
public:
    explicit EntryBoxesOpenBox(RichTextBox *richText,
                               std::function<bool()> forenameVisible = {},
                               std::function<void(const QString &)> forenameSpecialChar = {});

    // The general box first, when it is visible; else the forename box.
    bool InsertSpecialChar(const QString &character) override;

private:
    RichTextBox *mRichText;
    std::function<bool()> mForenameVisible;
    std::function<void(const QString &)> mForenameSpecialChar;
};

// The general box's insertion: the text becomes the text before the caret,
// the character and the text after it (a selection is kept, not replaced),
// without the box's key rules; the caret goes to the end of the text and the
// box asks for the focus. A character a batch line cannot hold (not
// Windows-1252, a control character, a double quote) is not inserted.
// Returns false when the box is hidden.
bool InsertIntoRichTextBox(RichTextBox &box, const QString &character);
