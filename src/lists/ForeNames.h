#pragma once

// The transcriber's forename list: the most common forenames, offered first
// in the pick list, and every known forename, used to complete, check and
// case what is typed into the forename column. Both live in the forename
// file "Pelkar_Name2.txt" of the files folder, which is made on first use
// and rewritten whenever a name is added or deleted.
//
// The file, Windows-1252 with CR LF:
//   - lines starting with a blank before any "@" line and before the first
//     forename: the head, kept in file order and written back first;
//   - "@" followed by a name: a most-common name, in file order;
//   - empty lines: ignored (the writer separates the initials with them);
//   - anything else: a forename; the table keeps them sorted by upper case.
// Trailing blanks of every line are dropped.

#include "core/PatternHelpers.h"

#include <QSet>
#include <QString>
#include <QStringList>

#include <array>
#include <vector>

struct ForenameEntry
{
    QString Name; // as written in the file or typed
    QString Key;  // Name in upper case
};

class ForeNames
{
public:
    // Reads the forename file of gProject's files folder, creating it first
    // when it is missing (importing the sibling program's file when the
    // transcriber agrees, else copying the shipped one) and makes the files
    // folder current. gProject must exist. When the file cannot be read the
    // transcriber is told, the close-down is requested (518) and the object
    // holds no names. Only the forename files are touched: files that anyone
    // else holds open stay open.
    ForeNames();
    ~ForeNames();
    ForeNames(const ForeNames &) = delete;
    ForeNames &operator=(const ForeNames &) = delete;

    // Fills the pick list with the most-common names that are not empty.
    void ListTopNames() const;
    // The most-common name at index (from 1); empty outside 1 to TopCount.
    QString Topn(int index) const;
    // Fills the pick list with the forenames whose upper case matches the
    // typed text followed by "*" ("?", "_" one character, "*" any run, "#" a
    // digit, "[...]" a list with ranges, "!" first negating; a lone "["
    // is closed for the typist), at most PickRows of them. An empty typed
    // text, "?" or "_" lists the most-common names instead and returns
    // TopCount. A pattern that cannot be read ("A]B[", "[Z-A]") lists
    // nothing. leading (the words before the typed one) is not used.
    // Returns the number of names listed.
    int ListMatchingNames(const QString &leading, const QString &typed) const;
    // Adds the name, trimmed, unless it is empty, already known (in any
    // letter case, among the forenames or the most-common names), begins
    // with "@" or holds a character the file cannot, and rewrites the file. Returns the name as stored, or the empty text when
    // nothing was added. When the file cannot be written there is a beep (if
    // the beep option is on) and a message naming the name and the reason,
    // the old file stays as it was and the name is kept in the table for
    // this run.
    QString AddName(const QString &name);
    // Every letter's case flipped, character by character.
    static QString InvertCase(const QString &text);
    // Removes the forename (any letter case) and rewrites the file as
    // AddName does; an unknown name changes nothing. Most-common names and
    // head lines are never deleted.
    void DeleteName(const QString &name);
    // True when the name is a known forename or most-common name, in any
    // letter case; false for the empty text.
    bool TestForName(const QString &name) const;
    // The text cased by the forename case option at position (from 1) only,
    // or with whole at every position from there to the end. "(MALE)" and
    // "(FEMALE)" in any letter case come back unchanged. Shift held down
    // inverts the rule of modes U, L and M for the one position (the
    // character being typed); a whole text is cased without it.
    QString FormatForeName(const QString &text, bool whole = true, int position = 1) const;
    // Every forename in table order, for the forename editor: no
    // most-common names, no head lines.
    QStringList ListAllForenames() const;

    int TopCount() const { return int(mTop.size()); }
    // The number of forenames in the table (head lines not counted).
    int NameCount() const { return int(mNames.size()); }

    // "Pelkar_Name2.txt".
    static QString NameFileName();
    // Where the sibling program keeps its forename file: "ZELname2.txt" in
    // the "Lumivark" folder of the home folder.
    static QString LumivarkForenameFile();

private:
    void EnsureForenameFile() const;
    void readFile();
    QString ApplyNameCase(const QString &text, int position, bool invert) const;
    // Rewrites the file; when it cannot be written, tells the transcriber
    // with failure as the first line, then the path and the reason.
    bool Savenames(const QString &failure) const;
    void IndexNamesByLetter();
    void SortNames();
    // Index in mNames of the forename (any letter case), or -1.
    int FindName(const QString &name) const;

    QString mFilesFolder;
    QString mFilePath;
    QStringList mHead;
    std::vector<ForenameEntry> mNames; // sorted by Key
    QStringList mTop;
    QSet<QString> mTopKeys;
    // Entry L (0 to 25 for A to Z): the index in mNames of the first name
    // whose Key begins with that letter, or -1; entry 26: the name count.
    std::array<int, 27> mLetterIndex{};
    // Per name of mNames, side by side so that a keystroke passes over most
    // names without reading them: what its Key holds
    // (LikePattern::traitsOf), with kListable among the characters when the
    // pick list may show the name.
    std::vector<LikePattern::Traits> mTraits;
};
