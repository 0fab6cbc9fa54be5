#pragma once

// The transcription grid's owner: which column holds which field for the
// batch's event type and period, the rows' layout and colours, and every
// cell, row and sequence check. One instance, gTranscription.
//
// Several files implement this class, one group of operations each; each
// group's declarations stand between its own markers below.

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QVarLengthArray>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class DataRowTally;
class FlexGrid;
class QFont;
class GridScrollBar;
class TranscriptionForm;

class Transcription
{
public:
    Transcription();
    ~Transcription();
    Transcription(const Transcription &) = delete;
    Transcription &operator=(const Transcription &) = delete;

    // ---- Grid model and columns (Transcription.cpp) -------------------------
    // Grid colours, 0x00BBGGRR.
    static constexpr std::uint32_t kWhite = 0xFFFFFF;
    static constexpr std::uint32_t kStripe = 0xFFE7D6;      // light blue
    static constexpr std::uint32_t kHeaderGreen = 0x93FDC0; // "+" and "#" lines

    // GridColumnMap: the grid column of each field of the open batch, set by
    // SetupInputGrid. Surname is always 1 and forenames 2. A field the batch
    // does not have reads -1, or 0 for MotherCol and SpouseCol in the plain
    // layout; column 0 is never a field, so anything below 1 means absent.
    int SurnameCol() const { return mSurnameCol; }
    void setSurnameCol(int col) { mSurnameCol = col; }
    int ForenamesCol() const { return mForenamesCol; }
    void setForenamesCol(int col) { mForenamesCol = col; }
    int MotherCol() const { return mMotherCol; }
    void setMotherCol(int col) { mMotherCol = col; }
    int SpouseCol() const { return mSpouseCol; }
    void setSpouseCol(int col) { mSpouseCol = col; }
    int AaDCol() const { return mAaDCol; }
    void setAaDCol(int col) { mAaDCol = col; }
    int DoBCol() const { return mDoBCol; }
    void setDoBCol(int col) { mDoBCol = col; }
    // The district cell holds the district and its volume joined by a comma.
    int DistrictCol() const { return mDistrictCol; }
    void setDistrictCol(int col) { mDistrictCol = col; }
    int PageCol() const { return mPageCol; }
    void setPageCol(int col) { mPageCol = col; }

    // While true, SetupInputGrid keeps the grid's rows, contents and current
    // cell (the header of the open batch is being edited).
    bool KeepGrid() const { return mKeepGrid; }
    void setKeepGrid(bool keep) { mKeepGrid = keep; }

    // The main window's controls; none is owned, and the window clears each
    // (nullptr) before it goes. While no grid is bound the layout operations
    // do nothing and the counts answer 0; while no form or scroll bar is
    // bound, stand-ins that do nothing serve. Binding the scroll bar sets
    // its LargeChange to 1. Text is measured in the grid's font.
    void setGrid(FlexGrid *grid);
    FlexGrid *grid() const { return mGrid; }
    void setFrm(TranscriptionForm *form) { mFrm = form; }
    void setScrollBar(GridScrollBar *bar);

    // Whole rows that fit below the title row: Height / RowHeight(0) - 1.
    int RowsVisible() const;
    // Lays the columns out for the batch's event type and period (column
    // map, titles, alignments, the page and row-number widths, gLastCol) and
    // selects Project's saved-width table. Unless KeepGrid, empties the grid
    // to two rows and makes (1, 1) the current cell.
    void SetupInputGrid();
    // The saved widths when Project restores them (corrected where too
    // small), otherwise widths computed from the grid's width and font.
    // Widths computed while the grid has no width yet (its view not shown)
    // are computed again when the view first reports one.
    void SetInitialColumnWidths();
    // Adds delta twips to every column from 1 on; a negative delta only to
    // columns that stay 51 wide or more.
    void AdjustColumnWidths(int delta);
    // Writes grid row 1: its row number and "+PAGE," with the header's page
    // left-padded with zeros to PageNumberLength; adds a row when the grid
    // has fewer than three; then SetInitialColumnWidths.
    void AddLine1();
    // The flat TextArray index of a cell: row * Cols + col.
    int faIndex(int row, int col) const;
    // Colours columns 1 on of the row: stripes by parity (when Project's
    // Stripes is on), a "+" or "#" line green in column 1 and white after.
    void ColourRow(int row);
    // The data rows of the grid (rows not starting with "+" or "#"). Also
    // sets Project's DataLines, its LastPageString (from the "+PAGE" lines
    // up to gCurrentRow) and shows "Datarows = " and the count on the status
    // bar. Answers the number of data rows in rows 1 to gCurrentRow; 0 when
    // gCurrentRow is not a row of the grid.
    int CountRows();
    // Gives the grid rows rows in one step, the row-number column widened
    // as AddRow widens it; rows added are blank and left for the caller's
    // RenumberAllRows to number and colour. For the loads, which add rows
    // far faster this way than one by one with the view told each time.
    void SetRowCount(int rows);
    // Occurrences of find in text, overlapping ones counted.
    static int CountOccurance(const QString &text, const QString &find);
    // False, after telling the transcriber and giving the focus back to the
    // entry box, when a "+CREDIT" row stands in grid rows 2 on; true
    // otherwise. actionPending picks the message's last line.
    bool TestForCredit(bool actionPending);
    // The incomplete rows the last save found.
    int IncompleteCount() const { return mIncompleteCount; }
    // ---- end of grid model and columns --------------------------------------

    // ---- Row operations used by validation (RowOperations.cpp) --------------
    // Appends an empty row numbered one after the row before it, coloured,
    // and marks the batch changed; widens the row-number column when needed
    // and updates the scroll bar.
    void AddRow();
    // Sets the scroll bar's maximum to Rows - 1 and its value to the grid's
    // current row, with events held off.
    void UpdateScrollBar();
    // True when the row's column-1 text, without leading spaces, begins
    // with "+" or "#". A row of 0 or less means gCurrentRow; a row outside
    // 2 to Rows - 1 is never one.
    bool ItsACommentLine(int row) const;
    // The same rule for a text: without leading spaces it begins with "+"
    // or "#".
    static bool BeginsAsCommentLine(QStringView text);
    // The text trimmed of spaces, every inner run of spaces made one.
    static QString Compact(const QString &text);
    // Inserts an empty row at row (a non-fixed row up to Rows), renumbers,
    // colours it, moves the validation flags, marks the batch changed and
    // rewrites the work file from the grid; (row, 1) becomes the current
    // cell. Does nothing while no grid is bound.
    void InsertRow(int row);
    // Deletes the row after asking when it holds data (the question shows
    // the row in red), keeping its texts for UndoDeleteRow. Refuses, with a
    // message, while the grid holds only the title, the first "+PAGE" row
    // and one entry. The batch counts as changed whatever the answer; a
    // deletion rewrites the work file from the grid.
    void DeleteRow(int row);
    // Puts the last deleted row back at row, with the fields it had let
    // through unchecked, when one is held and the column count has not
    // changed since; otherwise says "No valid row to restore". Either way
    // the held row is forgotten.
    void UndoDeleteRow(int row);
    // Whether a deleted row is held for UndoDeleteRow.
    bool DeletedRowHeld() const { return mDeletedRowHeld; }
    // The held row belongs to its batch: forgotten when another is loaded
    // or started.
    void ForgetDeletedRow() { mDeletedRowHeld = false; }
    // Copies text (the entry box's text for the current cell, trimmed)
    // into the current column of up to 200 rows below the current row, new
    // rows or existing ones as the transcriber chooses, after asking how
    // many. An invalid cell, a "+" or "#" line, a cancelled or unusable
    // count fill nothing (the transcriber has been told). The current cell
    // ends where it was.
    void FillDown(const QString &text);
    // The same into existing rows above the current row (at most
    // gCurrentRow - 2 of them), asking before overwriting a row that holds
    // data in the column.
    void FillUp(const QString &text);
    // Gives the grid the columns of the event type and period (six, or
    // five for births before the mother period and marriages before the
    // spouse period), keeping the rows: a new third field column goes before
    // District, a dropped one loses its texts. Lays the grid out again and
    // renumbers. With formatChanged, converts every district cell to the
    // header's volume format, saying so when some could not be.
    void ConvertGrid(int eventType, int year, int quarter, bool formatChanged);
    // ---- end of row operations ------------------------------------------------

    // ---- Validation flags and invalid-entry guard (ValidationFlags.cpp) -----
    // A row's accepted fields: its page (or district) is not to be validated.
    static constexpr int PageAccepted = 1;
    static constexpr int DistrictAccepted = 2;

    // Forgets every row's flags.
    void ClearValidation();
    // True while the given grid row's district (page) is to be validated,
    // that is, the row does not carry DistrictAccepted (PageAccepted).
    bool IsDistrictValidated(int row) const;
    bool IsPageValidated(int row) const;
    // Set or clear the row's flag, and make Project's DistValidate
    // (PageValidate) false when setting, true when clearing.
    void SetDistrictNotValidated(int row);
    void SetPageNotValidated(int row);
    void SetDistrictValidated(int row);
    void SetPageValidated(int row);
    // Moves the flags with the rows: after a row was inserted at row
    // (inserted true) every flagged row from row on moves one down; after
    // row was deleted its flags go and later rows move one up.
    void UpdateValidation(int row, bool inserted);
    // Entries of the flag table in use, free ones (of deleted rows)
    // included.
    int ValidationEntryCount() const { return mValidationCount; }

    // Whether the open cell may be left. With validate true, checks the
    // current cell (ValidateBox); a refusal answers false after the
    // transcriber was told (the forename and district columns say so here)
    // and the focus went back to the entry box, which stays where it is.
    // Otherwise hides the first entry box showing (rich-text, forename,
    // district) and answers true.
    bool CheckInvalidEntries(bool validate);
    // The menu guard: true when a menu command must not run, that is, when
    // the current cell is refused or the main window is busy. The cell is
    // checked, and a showing box hidden, even while the window is busy.
    bool MenusBlocked();
    // The same guard under its older name: true means "do not run".
    bool MenusAllowed() { return MenusBlocked(); }
    // ---- end of validation flags ----------------------------------------------

    // ---- Cell validation and field validators (CellValidation.cpp, FieldValidators.cpp)
    // The verdict on the cell (row, col) that the grid is leaving, by the
    // kind of its column; false keeps the grid on the cell. The refusing
    // check has told the transcriber. Sets Project's Invalid to the
    // negation of the verdict. A refused forename or district puts the focus
    // back into that entry box.
    bool ValidateBox(int col, int row);
    // A surname-like cell: tidies its spaces in place, then tells the row
    // kinds apart ("+PAGE", "+CREDIT", another "+" line, a "#" line, an
    // entry). An all-lower-case entry is re-cased by its column's option.
    bool ValidateSurName(int col, int row);
    bool ValidateMother(int col, int row) { return ValidateSurName(col, row); }
    bool ValidateSpouse(int col, int row) { return ValidateSurName(col, row); }
    // On the surname of grid row 2 (any row with force): compares its
    // initial with the batch's page letter, warning once while they
    // disagree; a batch without a page letter takes the initial, is renamed
    // and saved at once, and only after a successful save may the file of
    // the old name be deleted (when the transcriber agrees).
    void Check_PageLetter(int col, int row, bool force);
    // The page number and suffix of the nearest "+PAGE" line at or above
    // startRow (above gCurrentRow when startRow is 0 or less), up to grid
    // row 1. page is -1, suffix empty, when there is none or it carries no
    // number.
    void GetLastPageNumber(int &page, QString &suffix, int startRow) const;
    // A page entry's leading number and the rest ("12a": 12 and "a"). page
    // is -1 when the trimmed text is empty (suffix empty) or does not start
    // with a digit, or when its digits do not fit 32 bits (suffix: the whole
    // trimmed text).
    static void SplitPageNumber(const QString &text, int &page, QString &suffix);

    // What CheckRow found on a row; all empty, false or 0 when it is sound.
    struct RowFinding
    {
        bool sequence = false;     // the row sorts before the entry above it
        bool questionMark = false; // a "?" that is not its field's only character
        QString text;              // the district check's finding
        int col = 0;               // the cell to show; 1 for a sequence finding
    };
    // Re-checks the row's cells from startCol to gLastCol for "Find Next
    // Warning", each by the rule of its own column and with the row's own
    // flags; shows nothing and moves no focus. On return startCol is where
    // the next call should go on: past the blank cell of an incomplete row,
    // 2 after a sequence finding, otherwise one past its value on entry.
    // A startCol beyond gLastCol is left as it is.
    RowFinding CheckRow(int row, int &startCol);
    // A "+CREDIT" line: false, after telling the transcriber when
    // showMessages, when it holds a double quote or is not "+CREDIT" and
    // three more comma-separated fields; otherwise true, with the keyword
    // upper-cased in line.
    static bool ValidateCredit(QString &line, bool showMessages);

    // Field validators (FieldValidators.cpp). Each tidies the cell's spaces
    // for its own check and reports on the status bar.
    // An age at death: empty, "-", an age or an age range from 0 to 150, a
    // trailing "m" for months, or a wildcard pattern. Only a misplaced "m"
    // and a bad wildcard pattern refuse; the rest only warn.
    bool ValidateAaD(int col, int row);
    // A date of birth ("12 JA 1901", "12JA1901"): warns "Invalid DoB";
    // refuses nothing.
    void ValidateDoB(int col, int row);
    // A page cell: only its wildcard pattern can refuse it.
    bool ValidatePage(int col, int row);
    // The row's surname cell as a "#" line: false for a malformed
    // "#COMMENT" or "#THEORY" line or a "#" not followed by a blank and
    // text; true for any row that is not a "#" line.
    bool ValidateComment(int row) const;
    // The text in the case that the option of col's kind asks for: upper,
    // lower or name case (capitals first and after " -'.,"). "#" and "+"
    // lines come back unchanged.
    QString ConvertName(const QString &text, int col) const;
    // ---- end of cell validation -------------------------------------------------

    // ---- Re-casing a whole column (ColumnCase.cpp) -------------------------------
    // Every entry cell of col from grid row 2 down re-cased by ConvertName;
    // comment and page rows ("#" or "+" in the first column) stay as they
    // are, and so does a column the batch does not have. Returns the number
    // of cells whose text changed.
    int ConvertColumn(int col);
    // The question asked before re-casing the entries of a column: "Would
    // you like to change the " + label + " already entered to " + the
    // target ("UPPERCASE", "lower case" or "Mixed Case").
    static QString ColumnCaseQuestion(const QString &label, bool toUpper, bool toLower);
    // ---- end of re-casing a whole column ---------------------------------------

    // ---- Sequence check (SequenceCheck.cpp) -------------------------------------
    // From grid row 3 on: when the row sorts before the entry above it
    // (InSequence false), beeps when enabled and warns "Out of Sequence" on
    // the status bar. Never refuses anything. Without a row, gCurrentRow.
    void CheckSequence() const;
    void CheckSequence(int row) const;
    // True when the row sorts at or after the nearest earlier entry row
    // (surname, then forenames, each up to its first wildcard character,
    // accented letters as their plain ones), and also whenever it cannot be
    // compared: a "+" or "#" line, no earlier entry row, a surname that
    // begins with a wildcard, an empty key. Rows whose forenames are
    // "(MALE)" or "(FEMALE)" never serve as the earlier row.
    bool InSequence(int row) const;
    // The comparison key of a name: trimmed, inner runs of spaces made one,
    // letters A to Z kept, accented letters (codes 192 to 255 of
    // Windows-1252) folded to plain ones (codes 215, 222, 223 and 247 to a
    // space, which stays even with dropSpaces), "#" and "+" kept only as
    // the first character, spaces kept unless dropSpaces; all else dropped.
    static QString FoldNameForSequence(const QString &text, bool dropSpaces);
    // Position (from 1) of the first of "[]*?_{}" in text; 0 when there is
    // none or the text is empty.
    static int WildPosition(const QString &text);
    // The out-of-sequence rows the last save found.
    int SeqErrCnt() const { return mSeqErrCnt; }
    // The gCurrentCol text of the nearest row above row, not above grid
    // row 2, whose column-1 text (leading spaces ignored) begins with
    // neither "+" nor "#"; "" when there is none.
    QString GetPreviousName(int row) const;
    // True when every cell of the row from column 1 to the grid's last
    // column is empty after trimming; true as well for a row outside the
    // grid, or when no grid is bound.
    bool IsRowBlank(int row) const;
    // ---- end of sequence check --------------------------------------------------

    // ---- Special characters, wildcards and brackets (CharacterChecks.cpp) ----
    // The wildcard syntax of a cell text: lists in square brackets (at least
    // two characters, each of A to Z, 0 to 9, "_", "*", "." or an accented
    // letter, each once), "{min,max}" or "{min,}" counts after a plain
    // character, no "**", "*_" or "_*". A refusal answers false after an
    // error box (title "Pelkar") saying why; only the first fault is told.
    // Always true when the row's surname cell begins with "#". Without a
    // row, gCurrentRow.
    bool ValidateWildCards(const QString &text) const;
    bool ValidateWildCards(const QString &text, int row) const;
    // The lone question mark: false when text holds a "?" that is not the
    // whole field (in the district column, the whole district name or the
    // whole volume). Always true on a "+" or "#" line and while the row's
    // district is not validated (for the current row: while Project's
    // DistValidate is false; for any other row: its DistrictAccepted flag).
    // A refusal of the current row warns "Invalid use of ?" on the status
    // bar when ChangeWarning is on and the cell is unchanged, else shows an
    // error box unless quiet, and gives the focus back to the entry box. A
    // refusal of any other row shows the error box only when not quiet,
    // never the status warning, and never moves the focus. Without row and
    // col, the current cell; a row below 1 means gCurrentRow.
    bool CheckQM(const QString &text, bool quiet) const;
    bool CheckQM(const QString &text, bool quiet, int row, int col) const;
    // Whether the brackets opened by open ("(", "[" or "{") are closed in
    // order and none is closed before it is opened; false after the error
    // "Unmatched Brackets" on the status bar. Any other open gives true.
    static bool CheckBalancedBrackets(const QString &text, QChar open);
    // The checks of a cell's text in turn, stopping at the first refusal,
    // which has told the transcriber: CheckQM, the balance of "(", "[" and
    // "{", ValidateWildCards. Always true on a "+" or "#" line. Without row
    // and col, the current cell.
    bool CheckString(const QString &text) const;
    bool CheckString(const QString &text, int row, int col) const;
    // True when the trimmed text holds a character that is unusual in col:
    // anything but letters, digits, the space, "-.'," and the wildcard
    // characters, with "&/()" added in the district column, "/" in the page
    // column, "()" in the age-at-death column and the accented letters
    // (codes 192 to 255) in every other column. "(MALE)" and "(FEMALE)" are
    // usual forenames. Always false while Project's IgnoreOdd is on.
    bool CheckForOddChars(const QString &text, int col) const;
    // Scanning text from its end: true when a "[" ("(") comes before any
    // "]" (")"), so that a closing bracket may be typed; false when a
    // closing one comes first or there is neither. Callers pass the text
    // left of the caret.
    static bool CheckSquareBracket(const QString &text);
    static bool CheckRoundBracket(const QString &text);
    // ---- end of special characters ---------------------------------------------

    // ---- Grid navigation and scrolling (Navigation.cpp) -----------------------
    // The directions of FindNextCell.
    static constexpr int PreviousCell = 1;
    static constexpr int NextCell = 2;
    static constexpr int RowUp = 3;
    static constexpr int RowDown = 4;

    // Moves the grid's current cell one step for keyboard entry, from its
    // Row and Col. Previous and next go by columns, wrapping to the row above
    // or below, or by rows while Project's VerticalTab (the main window's
    // "Vertical Tab" item) is on. Grid row 1 is never entered. A "+" or "#"
    // row is entered in column 1 only, and next leaves it for the row below;
    // on a deaths batch with IgnoreAaD the age-at-death column is stepped
    // over in the direction of travel (back towards column 1 on a move by
    // rows). Next or down past the last row adds a row (AddRow) unless the
    // last row is blank. When there is no cell to go to, row is 0, col is
    // left as it was and the grid stays; previous, next and up then beep
    // (when enabled), down does not. Otherwise the grid is scrolled so the
    // row shows (PositionGrid), the cell becomes current in one move, and
    // row and col answer it. Any other direction keeps the cell and answers
    // it. While no grid is bound, row is 0 and nothing beeps.
    void FindNextCell(int direction, int &row, int &col);
    // Scrolls the grid so the row shows whole. Nothing happens when it
    // already does and force is false. Otherwise the row becomes the top
    // row when force is true or it lies above TopRow, else the last whole
    // row shown; the side scroll bar's value becomes the row. Events are
    // held off meanwhile. The current cell does not move.
    void PositionGrid(int row, bool force);
    // Makes the row the grid's top row (as far as the grid scrolls) and its
    // current row. force changes nothing; it is kept for the callers.
    void ScrollGrid(int row, bool force = false);
    // Where an entry box over the current cell goes, in twips from the
    // grid's left edge: the cell's own left edge and width, unless Project's
    // OverSize is on; then the box is as wide as the text followed by "X"
    // measured in the box's font (never narrower than the cell), and grows
    // to the right from the cell's left edge in the surname column, to the
    // left from its right edge in every other column (left may then be
    // negative: the caller keeps the box on the window). Without a grid
    // both are 0.
    void GetBoxPosition(const QString &text, int &left, int &width, const QFont &boxFont) const;
    // ---- end of grid navigation -----------------------------------------------

    // ---- Saving the batch file (SaveBatch.cpp) --------------------------------
    // What saving and restoring reach of the subsystems around them: the work
    // file, the recent-files list and the companion program. Whoever owns
    // each fills its entry; an empty entry does nothing (no work file
    // exists, the list is updated).
    struct BatchFileHooks
    {
        // Recent_files.Propose; false when the list could not be stored.
        std::function<bool(const QString &path)> proposeRecentFile;
        // clsTressel.Saved := whether unsaved changes existed when the save
        // began.
        std::function<void(bool unsavedBefore)> companionSaved;
        // clsTressel.YTQ := the batch key ("1901B3").
        std::function<void(const QString &key)> companionBatchKey;
        // gWorkFile: whether it exists, the rebuild from it (true when the
        // grid was rebuilt), and writing it from the loaded batch
        // (SaveHeaderToWork, SaveGridToWork).
        std::function<bool()> workFileExists;
        std::function<bool()> restoreWorkfile;
        std::function<void()> saveToWorkFile;
    };
    BatchFileHooks &batchFileHooks() { return mBatchFileHooks; }

    // Writes the header lines and one line per non-blank grid row from row 2
    // into the batch file, checking every row on the way; the findings never
    // stop the save. path empty: SavePath and BatchName, which must be a
    // plain file name (Save As passes its own path). Refused, without
    // writing: a batch without an event type, and a batch with an entry
    // whose line would not load again as typed (a double quote beside a
    // comma or around the whole entry); SaveFindings() then says why. The
    // file is replaced whole: when the write fails the previous file stays
    // as it was. Returns true when the file was written (a later failure of
    // the recent-files list or the settings is reported apart and does not
    // change that); false when it was not, or another save was under way
    // (then nothing happens). Any "Save Results" window of an earlier save
    // is closed; with showResults the findings, or the failure, are shown
    // in a new one.
    bool SaveData(bool showResults, const QString &path = QString());
    // Checks the "+PAGE" line in column 1 of the grid row: true when it is
    // well formed and its page follows the previous page. On false, message
    // (when given) receives the reason. A well-formed line has its columns 2
    // on emptied.
    bool StartofPage(int row, QString *message = nullptr);
    // The findings of the last save, CR LF between them; empty when none.
    QString SaveFindings() const { return mSaveFindings; }
    // True while SaveData runs.
    bool Saving() const { return mSaving; }
    // Installs the silent save that the page-letter check uses
    // (SetBatchSaver), working on gTranscription. Call once gTranscription
    // exists; the saver lives for the whole run.
    static void InstallBatchSaver();
    // ---- end of saving ------------------------------------------------------------

    // ---- Restoring a batch file (RestoreBatch.cpp) ----------------------------
    // Loads a batch into the grid: from path (enclosing double quotes
    // dropped); with no path, from the work file when one exists, otherwise
    // from the batch file of the current name in the save folder. Returns
    // true when a batch was loaded. On false the transcriber has been told
    // why; when the load stopped after the header was read (a bad header, or
    // Cancel on a bad line) the batch name is cleared and nothing counts as
    // unsaved, so that no later save can overwrite the file that was read.
    bool Restore(const QString &path = QString());
    // ---- end of restoring ---------------------------------------------------------

    // ---- Renumbering rows (RowOperations.cpp, work-file helper) ---------------
    // Rewrites the row numbers in column 0 under Project's RowNumbering:
    // row 1 gets FirstRowNumber, then each row from fromRow (at least 2) to
    // the last counts on from the number shown in the row above it; in "D"
    // numbering a "+" or "#" row repeats the number before it. Recolours
    // every row it numbers. Does nothing while no grid is bound.
    void RenumberAllRows(int fromRow);
    // ---- end of renumbering -------------------------------------------------------

private:
    // ---- members: grid model and columns ----
    // The number shown in column 0 of grid row 1 under Project's
    // RowNumbering.
    int FirstRowNumber() const;
    // Widens the row-number column when the rows outgrow it, taking the
    // width evenly from the other columns.
    void FitRowNumberColumn();
    // The width of text in the grid's font, in twips.
    int MeasuredWidth(const QString &text) const;
    // The row-number column's width for the current limit (" 9" + "9"...).
    int RowNumberWidth() const;
    TranscriptionForm &form() const;
    GridScrollBar &scrollBar() const;

    int mPageCol = 4;
    int mAaDCol = -1;
    int mDoBCol = -1;
    int mSurnameCol = 1;
    int mForenamesCol = 2;
    int mDistrictCol = 3;
    int mMotherCol = 0;
    int mSpouseCol = 0;
    bool mKeepGrid = false;
    FlexGrid *mGrid = nullptr;
    // The grid's report of its view's size, and whether the last computed
    // widths wait for it.
    QMetaObject::Connection mGridSizeWatch;
    bool mWidthsAwaitGridWidth = false;
    TranscriptionForm *mFrm = nullptr;
    GridScrollBar *mScrollBar = nullptr;
    // The largest row count the row-number column is sized for; only grows.
    int mRowNumberLimit = 9;
    // CountRows' figures, kept between row changes.
    std::unique_ptr<DataRowTally> mRowTally;
    int mIncompleteCount = 0;
    // ---- end of members: grid model and columns ----

    // ---- members: row operations ----
    // InsertRow without the work-file rewrite (FillDown writes once at the
    // end).
    void InsertRowInGrid(int row);
    // count empty rows from row on, as that many InsertRowInGrid calls at
    // row, row + 1, ... leave the grid, numbered once.
    void InsertRowsInGrid(int row, int count);
    // Rewrites the work file from the grid, when one exists; rows it no
    // longer has, up to lastOldRow, are marked deleted in it.
    void SaveGridAfterRowChange(int lastOldRow);
    // Refuses (telling the transcriber, focus back) a fill from an invalid
    // cell or a "+" or "#" line, after writing the trimmed text into the
    // current cell.
    bool FillSourceAccepted(const QString &text);
    // The held row: entry c is column c's text.
    QStringList mDeletedRow{QString(), QString()};
    bool mDeletedRowHeld = false;
    // The held row's accepted fields (PageAccepted, DistrictAccepted).
    int mDeletedRowFlags = 0;
    // ---- end of members: row operations ----

    // ---- members: validation flags ----
    struct ValidationFlagEntry
    {
        std::int32_t Row = 0; // 0: a free entry
        std::int16_t Flags = 0;
    };
    // True unless the row's entry has a bit of flag.
    bool TestValidationFlag(int row, int flag) const;
    void SetValidationFlag(int row, int flag, bool set);

    // Entry 0 is never used; entries 1 to mValidationCount are.
    std::vector<ValidationFlagEntry> mValidationFlags;
    int mValidationCount = 0;
    // ---- end of members: validation flags ----

    // ---- members: cell validation ----
    // Whether col is the column of a kind the batch has.
    static bool IsKind(int col, int kindCol) { return kindCol >= 1 && col == kindCol; }
    QString CellText(int row, int col) const;
    // Writes a cell with events held off.
    void SetCellQuietly(int row, int col, const QString &text);
    // The nearest "+PAGE" line from fromRow up to grid row 1.
    void PageAbove(int fromRow, int &page, QString &suffix) const;
    // Day, month and year parts of a date of birth.
    static QStringList ParseDobPattern(const QString &text);
    // ---- end of members: cell validation ----

    // ---- members: sequence check ----
    // The nearest row above row that can serve as the earlier entry: not a
    // "+" or "#" line, forenames other than MALE and FEMALE; 0 when there is
    // none below grid row 1.
    int FindPreviousNameRow(int row) const;
    // The number in the row's column 0 (its row label) when the row is in
    // the grid and the label is a number; otherwise 0.
    int RowLabelNumber(int row) const;

    // What the sequence check compares of one row, folded once.
    struct SequenceKey
    {
        int row = -1; // the row it was made from; -1 none
        // Neither a "+" or "#" line nor a surname beginning with a wildcard.
        bool comparable = false;
        bool surnameCut = false;   // the surname was cut at a wildcard
        bool forenamesCut = false; // so were the forenames
        QVarLengthArray<char16_t, 64> surname;
        QVarLengthArray<char16_t, 64> forenames;
    };
    void MakeSequenceKey(int row, SequenceKey &key) const;
    // InSequence, with last holding the key of the row checked before it
    // (row -1: none) and receiving this row's: a walk down the grid folds
    // each row once, not again as the earlier row of the next.
    bool InSequence(int row, SequenceKey &last) const;

    int mSeqErrCnt = 0;
    // ---- end of members: sequence check ----

    // ---- members: special characters ----
    // ---- end of members: special characters ----

    // ---- members: saving ----
    // Checks rows 2 on in grid order and appends their lines to bytes, each
    // ending CR LF; adds the findings and sets errorFlag and the counts.
    // A data row whose line would load again otherwise than it was meant
    // adds one text per entry at fault to unwritable. Returns the
    // characters appended, line ends not counted.
    qint64 SaveRows(QByteArray &bytes, QString &findings, bool &errorFlag,
                    QStringList &unwritable);
    // Splits the data line of the row as the next load will and, when that
    // does not give back the fields it was built from (cells[col], the
    // district cell as its name and volume), names the row's entries that
    // hold a double quote in unwritable.
    void CheckReadsBack(int row, const QString &line, const std::vector<const QString *> &cells,
                        QStringList &unwritable) const;
    // The checks of one data-row cell; appends findings, sets the row's
    // incomplete mark and the save's error flag.
    void CheckCellForSave(int row, int col, const QString &text, bool &incomplete,
                          bool &errorFlag, QString &findings) const;

    bool mSaving = false;
    QString mSaveFindings;
    BatchFileHooks mBatchFileHooks;
    // ---- end of members: saving ----

    // ---- members: restoring ----
    // Places one line of a batch file into grid row row, adding a row when
    // row is not below the row count. False only when the transcriber
    // cancelled the load on a line with the wrong number of fields.
    bool AddFileLine(const QString &line, int row);
    // The fields of a data line, tried in turn until one split gives
    // exactly count fields: split at commas outside double quotes, at every
    // comma, at commas outside quotes that open a field, and each of these
    // again with ";" read as ",". None fitting gives the quote-aware split
    // of the line as it is.
    static QStringList SplitDataLine(const QString &line, int count);
    // What a load that stopped after the header was read leaves behind.
    void AbandonLoad();
    // ---- end of members: restoring ----
};

// ---- Character tests of the entry boxes' key handling (CharacterChecks.cpp) ----
// Whether pos (the caret: the number of characters before it) stands inside
// a repeat count: the last "{" among the first pos characters of text is not
// closed by a "}" after it. False when pos is below 1, text is empty or
// there is no such "{".
bool InsideBraces(const QString &text, int pos);
// False when text begins with "-" and has more characters after it; true
// otherwise. Callers pass the box text with the typed character added.
bool CheckLeadingHyphen(const QString &text);
// True when every character of text occurs in allowed (exact comparison,
// letter case included); true for an empty text.
bool AllCharsIn(const QString &text, const QString &allowed);
// Whether the key typed in column col is acceptable because gTranscription's
// grid stands on a "+" or "#" row (its current Row, column-1 text in upper
// case). Only the surname column qualifies. On a "+PAGE" row only a digit
// while the text's first comma stands directly after "+PAGE", and a comma
// while the text holds none; on any other "+" or "#" row every key. False
// while there is no grid.
bool IsPageOrCommentRow(int col, QChar key);
// ---- end of character tests -----------------------------------------------------

// The grid's last column (the grid has gLastCol + 1 columns), set by
// SetupInputGrid.
extern int gLastCol;
// The cell the grid is moving to, noted by the main window before it
// validates the cell being left.
extern int gNewRow;
extern int gNewCol;
