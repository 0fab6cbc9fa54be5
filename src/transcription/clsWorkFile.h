#pragma once

// The crash-recovery work file: the open batch's header lines and every grid
// row mirrored into "PelkarWork" in the data folder, one fixed-length record
// each, so that a run that ends without closing down leaves the batch behind
// and the next start can rebuild the grid from it.
//
// Layout: every record is WorkLength (250) bytes of Windows-1252 text padded
// with spaces, no line ends; record n starts at byte (n - 1) * 250.
// Records 1 to 5 or 6 hold the header lines (Project::BuildProjLine 1 to 6,
// the non-empty ones, packed); records up to 10 are never written (a hole
// that reads as zero bytes). Record r + 10 holds grid row r: the row number,
// then either TAB and the column-1 text (a "+" or "#" row), or, for every
// column from 1 on, TAB and the cell, the district cell as name TAB volume;
// a cell, name or volume holding a comma is put between double quotes. A
// deleted row's record holds "-" and the row number.
//
// The per-user value Crash/Handle is "1" while this run holds the file open
// and "-1" otherwise. A descriptor number would mean nothing to a later run;
// only "not -1" (an earlier run never closed the file) is acted on.
//
// No other copy of the program can reach the file while it is open: the
// instance lock already keeps a second copy from running.

#include <QFile>
#include <QList>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>

class FlexGrid;

class clsWorkFile
{
public:
    clsWorkFile();
    // Class_Terminate: deletes the work file and releases the grid.
    ~clsWorkFile();
    clsWorkFile(const clsWorkFile &) = delete;
    clsWorkFile &operator=(const clsWorkFile &) = delete;

    // The grid whose rows are written (not owned; nullptr releases it).
    // Without a grid the row operations write nothing.
    void setGrid(FlexGrid *grid) { mGrid = grid; }
    FlexGrid *grid() const { return mGrid; }

    // True when a file stands at the work file's path (a folder there is
    // no work file: see FolderInTheWay).
    bool WorkExists() const;
    // True when a folder stands at the work file's path, so that no work
    // file can be kept. Tells the transcriber so, once until an open
    // succeeds again.
    bool FolderInTheWay();
    // Closes the file when open and stores "-1" as Crash/Handle; the file stays.
    void CloseWork();
    // CloseWork, then deletes the file when it exists; failures are ignored.
    void DeleteWork();
    // When the file is not open: a Crash/Handle left by a run that never
    // closed it deletes that run's file first; then opens the file, created
    // empty (read false) or the existing one for reading only (read true).
    // Returns false when the open failed (the object then counts as not open
    // and the writes do nothing). Only a folder in the way is told here.
    bool OpenWork(bool read);
    // DeleteWork, enables the object again, opens an empty file and resets
    // the highest record.
    void StartNewWorkfile();

    // The writes. Each does nothing while the object is disabled, and
    // returns false when something was refused or could not be written.
    // A write the file system refuses (a full disk) is told once; until a
    // write succeeds again, each later write rewrites the whole file from
    // the grid, header records included, so that the file is whole again as
    // soon as there is room.
    //
    // The header records from record 1, flushed once. Opens the file for
    // writing (emptying it) when it is not open, even while disabled. A
    // header line that does not fit a record, or holds a character that
    // Windows-1252 cannot store, is refused with a message and no header
    // record is written.
    // flushNow false leaves the flush to a write that follows at once.
    bool SaveHeaderToWork(bool flushNow = true);
    // Record row + 10 := "-" and the row number; flushed.
    bool DeleteWorkRow(int row);
    // Rows 2 to Rows - 1, flushed once at the end (also with no rows). A
    // row that RowProblem refuses gets a blank record (its record may hold
    // another row's text after a delete or insert, which the rebuild must
    // not bring back) and one message names the first such row.
    bool SaveGridToWork();
    // SaveHeaderToWork and SaveGridToWork, unless the file holds that
    // already: both written by this call since the header lines and the
    // grid's texts last changed. Returns false as they do.
    bool SaveBatchToWork();
    // Record row + 10 := the row number and the row text; flushed, unless
    // flushNow is false and the caller flushes (FlushWork) before the
    // event loop turns. A row that RowProblem refuses is told to the
    // transcriber and not written: its record keeps the last version that
    // fitted.
    bool SaveRowToWork(int row, bool flushNow = true);
    // Flushes what was written to the disk; false, told once, when that
    // fails.
    bool FlushWork() { return mHandle >= 1 && flush(); }
    // The listed rows (in any order) written as SaveRowToWork writes each,
    // leaving the same bytes, but in as few writes as the runs of
    // consecutive rows allow and flushed once: for the commands that change
    // many rows at once. Rows outside 1 to Rows - 1 are passed over. Refused
    // rows keep their records and are told in one message naming the first.
    // Returns false when a row was refused or a write failed.
    bool SaveRowsToWork(QList<int> rows);

    // Why the grid row cannot be kept in one record: a message for the
    // transcriber naming the row and the cure, or "" when it fits. A record
    // never holds more than WorkLength bytes, nor a character that
    // Windows-1252 cannot store, nor a TAB inside a cell.
    QString RowProblem(int row) const;

    // Reads the next record: mode -1 from record 1, mode 2 from record 12
    // (grid row 2), any other mode on from the current place. Opens the file
    // for reading first when it is not open (after CloseWork); an open that
    // fails is told and gives false. A full record gives true and its text;
    // the end of the file gives false and ""; a failed read is told, makes
    // the object disabled and gives false.
    bool ReadSeqRecord(int mode, QString &text);
    // Record n, read as ReadSeqRecord reads; "" past the end or on failure.
    QString GetRecord(int n);
    // Shows a non-zero system error code (errno) with the operation's name.
    static void DisplayError(int code, const QString &name);
    // The highest record number written since the count was last reset.
    int HighestRecord() const { return mHighestRecord; }
    void ZeroCount() { mHighestRecord = 0; }
    // Set after a failed read and at release; the writes then do nothing.
    bool Disabled() const { return mDisabled; }

    // Rebuilds the batch header (Project) and the grid (through
    // gTranscription, which must hold the same grid) from the work file, then
    // copies the file to "PelkarWork.bak" beside it and rewrites it from the
    // rebuilt state. Blank records, deleted rows and records of other rows
    // are passed over, and the rows after them close up.
    // Records that cannot be read (not what the writer writes, or cut short
    // at the file's end) are passed over too, and told in one message; the
    // file as read is then renamed "PelkarWork-" and the time instead of the
    // copy, so that no later rebuild replaces it, and a new one is written.
    // Returns false, after telling the transcriber, when there is no work
    // file, when the header cannot be read, or when records could not be
    // read and no row came back: the work file is then renamed the same way
    // (never deleted), so that no later new batch removes it, and nothing
    // else is written.
    bool RestoreWorkfile();

    // "PelkarWork" in the data folder.
    static QString WorkFilePath();
    // The file the rebuild keeps of the work file it read.
    static QString BackupPath();

private:
    bool WriteRecord(const QString &text, int n, bool flush);
    // One message for the rows a whole write refused: the first row's
    // problem and how many more there are.
    void TellRowsRefused(const QString &firstProblem, int refused);
    // Notes a write the file system refused and tells the transcriber, once
    // until the whole file has been written again.
    void WriteFailed(int code);
    // After a refused write: the header records and every grid row written
    // afresh. True when the file is whole again.
    bool RewriteWhole();
    // Appends the text as one record (padded with spaces); false, with a
    // blank record in its place, when it does not fit a record or cannot be
    // encoded.
    bool AppendRecord(QByteArray &records, const QString &text) const;
    // Writes whole records from record `first` on, in one write.
    bool WriteRecords(int first, const QByteArray &records, bool flush);
    // Appends the row's fields, each after a TAB.
    void AppendRowText(QString &text, int row) const;
    // The row's record text (number and row text), or "" with the reason in
    // problem when RowProblem would refuse it.
    QString RowRecordText(int row, QString &problem) const;
    // RowProblem's checks of the cells (characters and TABs).
    QString RowTextProblem(int row) const;
    QString RowName(int row) const;
    bool SeekRecord(int n);
    bool ReadRecordBytes(QString &text, bool &failed);
    bool flush();
    // Places one work-file row record into grid row gridRow (adding the
    // row); false when the record does not have the grid's field count.
    bool PlaceRow(const QStringList &fields, int gridRow);
    // Renames a work file that could not be rebuilt out of the way; the new
    // path, or "" when it stayed where it was.
    QString SetAsideWorkFile();

    // What the last SaveBatchToWork wrote whole, while the file holds it.
    struct WholeCopy
    {
        const FlexGrid *grid = nullptr;
        std::uint64_t revision = 0;
        QStringList header;
    };
    std::optional<WholeCopy> mWholeCopy;
    QStringList HeaderLines() const;

    QFile mFile;
    // 1 while open, 0 when none, -1 when the last open failed.
    int mHandle = 0;
    int mOpenError = 0; // errno of the last failed open, EISDIR for a folder
    bool mFolderTold = false;
    QString mShortRead; // what the last read got of a record cut short
    FlexGrid *mGrid = nullptr;
    int mRecordLength = 0;
    int mHighestRecord = 0;
    bool mDisabled = false;
    bool mOwnsFile = false; // opened by this run: deleted when released
    bool mWriteFailed = false; // a write was refused: the file is not whole
    bool mWriteFailTold = false;
    bool mRewriting = false;
};
