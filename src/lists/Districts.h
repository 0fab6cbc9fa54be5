#pragma once

// The table of registration districts valid for the open batch: the
// districts of "Pelkar_Districts.txt" in use in the batch's year and
// quarter, with the volume number of that period in the batch's
// volume-number format, plus the transcriber's own districts from the
// supplementary district file of the batch's year range. One instance,
// gDistricts. The table is sorted, indexed by initial letter and searched by
// the district box, the district editor, the row check and the save.
//
// Everything here reads gProject (year, quarter, volume-number format,
// folders, pick-list options); it must exist while a Districts is used.

#include "core/TextHelpers.h"

#include <QList>
#include <QString>

#include <array>
#include <vector>

// One row of the table. A Deleted record keeps its place with the name
// "????????"; every search, list and save skips it.
struct DistrictRecord
{
    bool Deleted = false;
    QString Name;
    QString Volume;
    // From the supplementary file or added by AddDistrict; only these are
    // written back.
    bool UserAdded = false;
    // A VolumeNumberFormat (1 "9z", 2 "99", 3 "XX", 0 none), or -1 for a
    // volume that holds a wildcard character.
    int VolumeFormat = 0;
};

// A district text divided at its separator comma (SplitDistrict).
struct DistrictParts
{
    QString name;
    QString volume;
    int format = 0;
};

// One row of the district editor's list (ListAllDistricts).
struct DistrictListRow
{
    QString name;
    QString volume;
    bool userAdded = false;
    int index = -1; // the record's place in the table
};

// Records from..to of the table, both included; empty when to < from.
struct IndexRange
{
    int from = 0;
    int to = -1;
    bool isEmpty() const { return to < from; }
};

// The result of ConvertDistrictVNF.
struct DistrictConversion
{
    QString text;
    bool converted = false;
};

// The main window's supplementary-file menu, as Read_Districts reaches it:
// the item of range 1 to 4 (mnuSuppPre1946Item, mnuSupp1946Item,
// mnuSupp1965OnItem, mnuSupp1974OnItem) is checked and the other three
// unchecked. While none is set, there is no window and nothing is shown.
struct SuppRangeMenu
{
    virtual ~SuppRangeMenu() = default;
    virtual void checkSuppRange(int range) = 0;
};

class Districts
{
public:
    // Loads the recent-district lists (per user) and, when the files folder
    // has no "Pelkar_Districts.txt", copies the one of the OriginalFiles
    // folder there. The table stays empty until Read_Districts. No file of
    // anyone else is touched.
    Districts();
    // Stores the recent-district lists (per user).
    ~Districts();
    Districts(const Districts &) = delete;
    Districts &operator=(const Districts &) = delete;

    // ---- Table and files (Districts.cpp) ---------------------------------------
    // Rebuilds the table from the district file and the supplementary file
    // of the header's range, for the header's year, quarter and format.
    // Invalid lines are reported (one message each) and skipped. Returns
    // false when either file cannot be opened (the supplementary file is
    // created empty when missing): the transcriber has been told and the
    // close-down has been requested (RequestCloseDown 515 for the district
    // file, 516 for the supplementary file). The caller must then stop what
    // it was doing and not use the table, which is incomplete.
    bool Read_Districts();

    // Adds a district typed by the transcriber. False, with nothing changed,
    // when the district is already in the table (name and volume compared
    // without regard to case) or no table has been read yet. Otherwise the
    // record joins the table, district becomes the trimmed name, "," and
    // the volume, the supplementary file is rewritten and the result is
    // true; a file that cannot be written is reported and keeps its old
    // contents, while the table keeps the addition.
    bool AddDistrict(QString &district);

    // Deletes the first record whose name and volume equal those of the
    // text exactly and rewrites the supplementary file (a failure is
    // reported as for AddDistrict). Returns whether a record was deleted:
    // the district editor then removes its own row. A district of the
    // district file comes back with the next Read_Districts.
    bool DeleteDistrict(const QString &district);

    // The records 0 to LastIndex, in table order.
    const std::vector<DistrictRecord> &records() const { return mRecords; }
    int LastIndex() const { return int(mRecords.size()) - 1; }
    // Index of the first record of letter 1 to 26 (A to Z), -1 when there is
    // none; entry 27 is LastIndex. Any other entry gives -1.
    int LetterIndex(int entry) const;
    // The records whose name can begin with letter 1 to 26 (A to Z), in
    // table order; an empty range for a letter without records and for any
    // other number. Every look-up by initial scans just these.
    IndexRange LetterRecords(int letter) const;
    // The supplementary file the table was read from (and is written to);
    // empty until Read_Districts got that far.
    QString SuppFile() const { return mSuppFile; }
    // The item of the supplementary-file menu to check; not owned. The
    // window clears it (nullptr) before it goes.
    void setSuppRangeMenu(SuppRangeMenu *menu) { mSuppMenu = menu; }

    // Recent-district text at position 1 to 9 of letter 1 to 26 (A to Z);
    // empty outside those.
    QString DistrictMRU(int letter, int position) const;

    // ---- Validation and volume numbers (DistrictValidation.cpp) ----------------
    // Makes the text the most recent district of its initial letter; a text
    // that is empty or does not start with a letter A to Z changes nothing.
    void Propose(const QString &text);

    // The records that are not Deleted, in table order, for the district
    // editor's list.
    QList<DistrictListRow> ListAllDistricts() const;

    // Fills the pick list with the districts that match the typed text and
    // returns how many were passed to it (at most PickMax). One letter typed,
    // with the recent-district list chosen, lists that letter's nine recent
    // texts (empty ones included). Nothing to list gives 0 and an empty list.
    int ListMatchingDistricts(const QString &typed);

    // Checks a district cell against the header's volume-number format and
    // the characters a name may hold; it does not look the district up
    // (TestForDistrict does). districtAccepted is the validated row's own
    // "district accepted" flag: such a cell is valid. A volume holding a
    // wildcard is valid exactly when allowWildVolume is true.
    // With quietMessage null, a failure is shown in a message box (critical
    // icon, title "Pelkar"); a missing volume code shows nothing. With
    // quietMessage given, nothing is shown: it is cleared and then receives
    // the short text of the failure, or the wildcard remark.
    bool ValidateDistrict(const QString &cell, bool allowWildVolume, bool districtAccepted,
                          QString *quietMessage = nullptr) const;

    // Whether the table holds the district (name and volume compared without
    // regard to case).
    bool TestForDistrict(const QString &district) const;

    // The index of the first record whose name and volume equal the given
    // ones without regard to case; -1 when there is none, or when the
    // trimmed name is empty or does not start with a letter A to Z.
    int FindDistrict(const QString &name, const QString &volume) const;

    // The text divided at FindSeperator: without a separator the name is the
    // whole text, the volume empty and the format 0. Nothing is trimmed.
    static DistrictParts SplitDistrict(const QString &cell);
    // The cell as the name and volume fields of a batch file or work file
    // line: SplitDistrict's parts when both are there, else the whole cell
    // as the name and no volume (a separator at the end or the start would
    // otherwise be lost, since a reader joins an empty part without one).
    // The format is left 0.
    static DistrictParts SplitForFile(const QString &cell);
    // 0 for an empty volume, -1 when it holds a wildcard character, 2 when it
    // is a run of digits (blanks around it allowed), 3 when every character
    // is I, X or V (either case), else 1.
    static int CodeFormat(const QString &volume);
    // Position (from 1) of the last comma that is not inside square brackets
    // or curly braces; 0 when there is none.
    static int FindSeperator(const QString &cell);

    // The cell converted to the header's volume-number format. converted is
    // false, with the text unchanged, when it cannot be: a "9z" volume or a
    // missing one under another format, a "99" volume under no format, and
    // a volume that has no Roman or decimal equivalent (0, or a number too
    // large).
    DistrictConversion ConvertDistrictVNF(const QString &cell) const;

    // After the header's format changed to "XX" or "99": converts the
    // volumes of the table from "99" to Roman numerals or back. A record
    // whose volume has no equivalent is left as it was.
    void ConvertFormat();

    // The Roman numeral of a number above 0; the empty text (not
    // convertible) for 0 and below.
    static QString ToRoman(int number);
    // The value of a Roman numeral, read left to right with the subtractive
    // pairs; other characters are ignored and no ordering rule is checked
    // ("IIII" is 4).
    static int FromRoman(const QString &text);

    // The name, in double quotes when it holds a comma.
    static QString QuoteIfComma(const QString &name);

private:
    // Letter 1 to 26 of the first character of text in upper case; 0 when
    // it is not a letter A to Z or the text is empty.
    static int LetterOf(const QString &text);

    // Table and files
    void SetDistrictFilePaths();
    static int GetVolumeColumn(int year, int quarter);
    QString SuppFilePath() const;
    bool DistrictInPeriod(const QuotedFields &fields, bool &readable) const;
    void SortDistricts();
    void IndexByFirstLetter();
    void MarkDuplicateDistricts();
    bool SaveDistricts();
    void LoadDistrictMRU();
    void SaveDistrictMRU() const;

    std::vector<DistrictRecord> mRecords;
    std::array<int, 28> mLetterIndex{};
    std::array<std::array<QString, 9>, 26> mMRU;
    QString mSuppFile;
    // Lines of the supplementary file that could not be read, kept as read so
    // that rewriting the file never loses what the transcriber put there.
    QStringList mSuppUnreadable;
    SuppRangeMenu *mSuppMenu = nullptr;
};
