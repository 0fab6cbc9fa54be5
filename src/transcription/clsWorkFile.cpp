#include "transcription/clsWorkFile.h"

#include "core/Cp1252.h"
#include "core/FileHelpers.h"
#include "core/Globals.h"
#include "core/HeaderTypes.h"
#include "core/MessageWindows.h"
#include "core/Project.h"
#include "core/Services.h"
#include "core/ShowStatusSink.h"
#include "core/UserSettings.h"
#include "core/VbHelpers.h"
#include "core/WaitCursor.h"
#include "core/clsEvents.h"
#include "entry/FlexGrid.h"
#include "lists/Districts.h"
#include "transcription/Change_Monitor.h"
#include "transcription/Transcription.h"

#include <QCursor>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <optional>
#include <unistd.h>

namespace {

const QString kCrLf = QStringLiteral("\r\n");
constexpr int kFirstRowRecord = 10; // grid row r lives in record r + 10
constexpr int kHeaderLinesTaken = 5; // header lines other than "+CREDIT"

void SaveHandleValue(const QString &value)
{
    SaveUserSetting(kProductName, QStringLiteral("Crash"), QStringLiteral("Handle"), value);
}

QString HandleValue()
{
    return GetUserSetting(kProductName, QStringLiteral("Crash"), QStringLiteral("Handle"),
                          QStringLiteral("-1"));
}


bool IsSpecialText(const QString &column1)
{
    const QString text = VbLTrim(column1);
    return text.startsWith(u'+') || text.startsWith(u'#');
}

// The rebuild strips a pair of quotes only around a field holding a comma,
// so a cell that merely starts and ends with a quote comes back as it was.
// Appended in place: a whole batch's records are built this way on every
// load, and a string made for each cell was most of that work.
void AppendQuotedIfComma(QString &out, const QString &text)
{
    const bool quoted = text.contains(u',');
    if (quoted)
        out += u'"';
    out += text;
    if (quoted)
        out += u'"';
}

QString UnquoteField(const QString &field)
{
    if (field.size() >= 2 && field.startsWith(u'"') && field.endsWith(u'"')) {
        const QString inner = field.mid(1, field.size() - 2);
        if (inner.contains(u','))
            return inner;
    }
    return field;
}

bool IsDigits(QStringView text)
{
    if (text.isEmpty() || text.size() > 10)
        return false;
    for (const QChar c : text) {
        if (c < u'0' || c > u'9')
            return false;
    }
    return true;
}

bool IsRowNumber(const QString &text, int expected)
{
    return IsDigits(text) && text.toLongLong() == expected;
}

// What the writer puts first in a row record: a row number, or "-" and
// the number of a deleted row.
bool IsRecordNumber(const QString &text)
{
    return IsDigits(text.startsWith(u'-') ? QStringView(text).mid(1) : QStringView(text));
}

// Spaces (a blanked record) and zero bytes (a record never written, read
// from a hole in the file).
bool IsBlankRecord(const QString &record)
{
    for (const QChar c : record) {
        if (c != u' ' && c != QChar(0))
            return false;
    }
    return true;
}

// "row 5", "rows 5 and 9", "rows 5, 9 and 12"; past ten, "and 30 more".
QString RowList(const QList<int> &rows)
{
    constexpr int kNamed = 10;
    QStringList named;
    for (int i = 0; i < rows.size() && i < kNamed; ++i)
        named << QString::number(rows.at(i));
    const QString text = rows.size() == 1 ? QStringLiteral("row ") : QStringLiteral("rows ");
    if (rows.size() > kNamed) {
        return text + named.join(QStringLiteral(", ")) + QStringLiteral(" and ")
               + QString::number(rows.size() - kNamed) + QStringLiteral(" more");
    }
    const QString last = named.takeLast();
    if (named.isEmpty())
        return text + last;
    return text + named.join(QStringLiteral(", ")) + QStringLiteral(" and ") + last;
}

QString PleaseReport()
{
    return QStringLiteral("Please report to ") + Project::SupportEmail();
}

} // namespace

clsWorkFile::clsWorkFile() : mRecordLength(Project::WorkLength()) {}

clsWorkFile::~clsWorkFile()
{
    // Only a file this run has opened is deleted: one a crashed run left,
    // not yet offered for recovery, is the transcriber's only copy.
    if (mOwnsFile)
        DeleteWork();
    else
        CloseWork();
    mDisabled = true;
    mGrid = nullptr;
}

QString clsWorkFile::WorkFilePath()
{
    return gProject ? QDir(gProject->DataPath()).filePath(QStringLiteral("PelkarWork")) : QString();
}

QString clsWorkFile::BackupPath()
{
    return gProject ? QDir(gProject->DataPath()).filePath(QStringLiteral("PelkarWork.bak"))
                    : QString();
}

bool clsWorkFile::WorkExists() const
{
    const QString path = WorkFilePath();
    return !path.isEmpty() && QFileInfo(path).isFile();
}

bool clsWorkFile::FolderInTheWay()
{
    const QString path = WorkFilePath();
    if (path.isEmpty() || !QFileInfo(path).isDir())
        return false;
    if (!mFolderTold) {
        mFolderTold = true;
        ShowMessage(QStringLiteral("A folder is in the way of Pelkar's work file:") + kCrLf
                        + QDir::toNativeSeparators(path) + kCrLf
                        + QStringLiteral("Your work is not kept safe against a crash until that "
                                         "folder is moved or renamed.")
                        + kCrLf
                        + QStringLiteral("Please move or rename it, then start Pelkar again."),
                    Mb::Exclamation, kProductName);
    }
    return true;
}

void clsWorkFile::CloseWork()
{
    mWholeCopy.reset();
    if (mFile.isOpen())
        mFile.close();
    mHandle = 0;
    SaveHandleValue(QStringLiteral("-1"));
}

void clsWorkFile::DeleteWork()
{
    CloseWork();
    const QString path = WorkFilePath();
    if (!path.isEmpty() && QFileInfo(path).isFile())
        QFile::remove(path);
}

bool clsWorkFile::OpenWork(bool read)
{
    if (mHandle >= 1)
        return true;
    const QString path = WorkFilePath();
    if (HandleValue() != QLatin1String("-1")) {
        if (!path.isEmpty() && QFileInfo(path).isFile())
            QFile::remove(path);
        SaveHandleValue(QStringLiteral("-1"));
    }
    if (mFile.isOpen())
        mFile.close();
    mFile.setFileName(path);
    // Writing unbuffered: every write goes straight to the file, so the
    // flush after it is the only step between the write and the disk.
    // Reading buffered: a rebuild reads every record in turn.
    const QIODevice::OpenMode mode = read ? QIODevice::ReadOnly
                                          : QIODevice::ReadWrite | QIODevice::Truncate
                                                | QIODevice::Unbuffered;
    bool opened = false;
    if (FolderInTheWay()) {
        mOpenError = EISDIR;
    } else {
        errno = 0;
        // A new work file is the user's alone: it holds the batch being typed.
        opened = !path.isEmpty()
                 && mFile.open(mode, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        mOpenError = opened ? 0 : errno;
    }
    if (opened)
        mFolderTold = false;
    mHandle = opened ? 1 : -1;
    mOwnsFile = mOwnsFile || opened;
    SaveHandleValue(QString::number(mHandle));
    return opened;
}

void clsWorkFile::StartNewWorkfile()
{
    DeleteWork();
    mDisabled = false;
    mRecordLength = Project::WorkLength();
    mHighestRecord = 0;
    OpenWork(false);
    mHighestRecord = 0;
}

bool clsWorkFile::SeekRecord(int n)
{
    return mFile.seek(qint64(n - 1) * mRecordLength);
}

bool clsWorkFile::flush()
{
    if (::fdatasync(mFile.handle()) == 0)
        return true;
    WriteFailed(errno);
    return false;
}

void clsWorkFile::WriteFailed(int code)
{
    mWriteFailed = true;
    mWholeCopy.reset();
    if (mWriteFailTold)
        return;
    mWriteFailTold = true;
    QString reason = code != 0 ? QString::fromLocal8Bit(std::strerror(code)) : mFile.errorString();
    if (reason.isEmpty())
        reason = QStringLiteral("Unknown error");
    ShowMessage(QStringLiteral("Pelkar cannot write its work file:") + kCrLf
                    + QDir::toNativeSeparators(WorkFilePath()) + kCrLf + reason + kCrLf
                    + QStringLiteral("Your work is not kept safe against a crash until the work "
                                     "file can be written again.")
                    + kCrLf
                    + QStringLiteral("Please make room on that disk: Pelkar writes the whole "
                                     "work file again as soon as it can."),
                Mb::Exclamation, kProductName);
}

bool clsWorkFile::RewriteWhole()
{
    mRewriting = true;
    mWriteFailed = false;
    const bool header = SaveHeaderToWork();
    const bool rows = SaveGridToWork();
    mRewriting = false;
    if (mWriteFailed)
        return false;
    // Whole again: a later failure is a new one, and is told.
    mWriteFailTold = false;
    return header && rows;
}

bool clsWorkFile::AppendRecord(QByteArray &records, const QString &text) const
{
    const qsizetype start = records.size();
    bool encoded = true;
    Cp1252::appendEncoded(records, text, &encoded);
    // The callers refuse what does not fit; never let a record spill into
    // the next one, nor move the ones after it.
    const bool fits = encoded && records.size() - start <= mRecordLength;
    if (!fits)
        records.truncate(start);
    records.append(mRecordLength - (records.size() - start), ' ');
    return fits;
}

bool clsWorkFile::WriteRecords(int first, const QByteArray &records, bool flushNow)
{
    if (mHandle < 1 || first < 1 || records.isEmpty())
        return false;
    // Counted before the write: a write cut short may still have reached
    // some of these records, which a later whole write must blank.
    const int last = first + int(records.size() / mRecordLength) - 1;
    if (last > mHighestRecord)
        mHighestRecord = last;
    errno = 0;
    if (!SeekRecord(first) || mFile.write(records) != records.size()) {
        WriteFailed(errno);
        return false;
    }
    return !flushNow || flush();
}

bool clsWorkFile::WriteRecord(const QString &text, int n, bool flushNow)
{
    QByteArray record;
    return AppendRecord(record, text) && WriteRecords(n, record, flushNow);
}

void clsWorkFile::AppendRowText(QString &text, int row) const
{
    const QString column1 = mGrid->TextMatrix(row, 1);
    if (IsSpecialText(column1)) {
        text += u'\t';
        text += column1;
        return;
    }
    const int districtCol = gTranscription ? gTranscription->DistrictCol() : -1;
    for (int col = 1; col < mGrid->Cols(); ++col) {
        const QString cell = mGrid->TextMatrix(row, col);
        text += u'\t';
        if (col == districtCol) {
            // Always two fields, even with an empty volume: the rebuild
            // counts fields, and "Leeds," must not lose its row.
            const DistrictParts parts = Districts::SplitForFile(cell);
            AppendQuotedIfComma(text, parts.name);
            text += u'\t';
            AppendQuotedIfComma(text, parts.volume);
        } else {
            AppendQuotedIfComma(text, cell);
        }
    }
}

QString clsWorkFile::RowProblem(int row) const
{
    QString problem;
    RowRecordText(row, problem);
    return problem;
}

QString clsWorkFile::RowRecordText(int row, QString &problem) const
{
    problem = RowTextProblem(row);
    if (!problem.isEmpty() || !mGrid || row < 1 || row >= mGrid->Rows())
        return QString();
    QString text;
    text.reserve(mRecordLength);
    text += QString::number(row);
    AppendRowText(text, row);
    if (text.size() > mRecordLength) {
        problem = RowName(row)
                  + QStringLiteral(" is too long to be kept safe against a crash: it needs ")
                  + QString::number(text.size()) + QStringLiteral(" characters and at most ")
                  + QString::number(mRecordLength) + QStringLiteral(" fit.") + kCrLf
                  + QStringLiteral("Please shorten one of its entries.");
        return QString();
    }
    return text;
}

QString clsWorkFile::RowName(int row) const
{
    const QString label = VbTrim(mGrid->TextMatrix(row, 0));
    return QStringLiteral("Row ") + (label.isEmpty() ? QString::number(row) : label);
}

QString clsWorkFile::RowTextProblem(int row) const
{
    if (!mGrid || row < 1 || row >= mGrid->Rows())
        return QString();
    for (int col = 1; col < mGrid->Cols(); ++col) {
        const QString cell = mGrid->TextMatrix(row, col);
        int pos = -1;
        if (!Cp1252::canEncode(cell, &pos)) {
            return RowName(row) + QStringLiteral(" holds the character \"") + cell.at(pos)
                   + QStringLiteral("\", which cannot be stored in the batch file.") + kCrLf
                   + QStringLiteral("Please replace it with a plain character.");
        }
        if (cell.contains(u'\t')) {
            return RowName(row) + QStringLiteral(" holds a TAB character, which cannot be stored.")
                   + kCrLf + QStringLiteral("Please remove it.");
        }
    }
    return QString();
}

bool clsWorkFile::SaveHeaderToWork(bool flushNow)
{
    if (mHandle < 1)
        OpenWork(false);
    if (mDisabled || !gProject)
        return false;
    if (mWriteFailed && !mRewriting)
        return RewriteWhole();
    // A file that cannot even be made (a full disk) is told like a write
    // refused; a folder in the way has been told already.
    if (mHandle < 1 && mOpenError != 0 && mOpenError != EISDIR) {
        WriteFailed(mOpenError);
        return false;
    }
    QStringList lines;
    for (int n = 1; n <= 6; ++n) {
        const QString line = gProject->BuildProjLine(n);
        if (line.isEmpty())
            continue;
        int pos = -1;
        if (!Cp1252::canEncode(line, &pos) || line.size() > mRecordLength) {
            ShowMessage(QStringLiteral("The batch header line") + kCrLf + line + kCrLf
                            + QStringLiteral("cannot be kept safe against a crash: it is longer "
                                             "than ")
                            + QString::number(mRecordLength)
                            + QStringLiteral(" characters or holds a character that cannot be "
                                             "stored.")
                            + kCrLf + QStringLiteral("Please correct it with Edit Header."),
                        Mb::Critical, kProductName);
            return false;
        }
        lines.append(line);
    }
    QByteArray records;
    records.reserve(lines.size() * mRecordLength);
    for (const QString &line : std::as_const(lines))
        AppendRecord(records, line);
    const bool written = lines.isEmpty() || WriteRecords(1, records, false);
    return mHandle >= 1 && (!flushNow || flush()) && written;
}

QStringList clsWorkFile::HeaderLines() const
{
    QStringList lines;
    for (int n = 1; gProject && n <= 6; ++n)
        lines << gProject->BuildProjLine(n);
    return lines;
}

bool clsWorkFile::SaveBatchToWork()
{
    const QStringList header = HeaderLines();
    if (mWholeCopy && !mWriteFailed && mHandle >= 1 && !mDisabled && mGrid && mWholeCopy->grid == mGrid
        && mWholeCopy->revision == mGrid->textRevision() && mWholeCopy->header == header)
        return true;
    mWholeCopy.reset();
    // One flush for both: the grid's write flushes the header records too,
    // and a grid that cannot be written leaves the header to flush alone.
    bool headerWritten = SaveHeaderToWork(false);
    const bool gridWritten = SaveGridToWork();
    if (!gridWritten && headerWritten && mHandle >= 1)
        headerWritten = flush();
    if (headerWritten && gridWritten && mGrid)
        mWholeCopy = WholeCopy{mGrid, mGrid->textRevision(), header};
    return headerWritten && gridWritten;
}

bool clsWorkFile::DeleteWorkRow(int row)
{
    if (mDisabled)
        return false;
    if (mWriteFailed && !mRewriting)
        return RewriteWhole();
    return WriteRecord(u'-' + QString::number(row), row + kFirstRowRecord, true);
}

bool clsWorkFile::SaveRowToWork(int row, bool flushNow)
{
    if (mDisabled || !mGrid || row < 1 || row >= mGrid->Rows())
        return false;
    QString problem;
    const QString text = RowRecordText(row, problem);
    if (!problem.isEmpty()) {
        ShowMessage(problem, Mb::Critical, kProductName);
        return false;
    }
    if (mWriteFailed && !mRewriting)
        return RewriteWhole();
    return WriteRecord(text, row + kFirstRowRecord, flushNow);
}

void clsWorkFile::TellRowsRefused(const QString &firstProblem, int refused)
{
    QString text = firstProblem;
    if (refused > 1)
        text += kCrLf + QString::number(refused - 1)
                + QStringLiteral(" more rows cannot be kept either.");
    ShowMessage(text, Mb::Critical, kProductName);
}

bool clsWorkFile::SaveRowsToWork(QList<int> rows)
{
    if (mDisabled || !mGrid)
        return false;
    if (mWriteFailed && !mRewriting)
        return RewriteWhole();
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    QString firstProblem;
    int refused = 0;
    bool written = true;
    bool wroteAny = false;
    QByteArray run;
    int runFirst = 0;
    int runNext = 0;
    const auto writeRun = [&] {
        if (!run.isEmpty()) {
            written = WriteRecords(runFirst + kFirstRowRecord, run, false) && written;
            wroteAny = true;
            run.clear();
        }
    };
    for (const int row : std::as_const(rows)) {
        if (row < 1 || row >= mGrid->Rows())
            continue;
        QString problem;
        const QString text = RowRecordText(row, problem);
        if (!problem.isEmpty()) {
            // Its record keeps the last version that fitted, as a write of
            // the row alone leaves it.
            if (refused++ == 0)
                firstProblem = problem;
            continue;
        }
        if (run.isEmpty() || row != runNext) {
            writeRun();
            runFirst = row;
        }
        AppendRecord(run, text);
        runNext = row + 1;
    }
    writeRun();
    if (wroteAny)
        written = mHandle >= 1 && flush() && written;
    if (refused > 0) {
        TellRowsRefused(firstProblem, refused);
        return false;
    }
    return written;
}

bool clsWorkFile::SaveGridToWork()
{
    if (mDisabled || !mGrid)
        return false;
    if (mWriteFailed && !mRewriting)
        return RewriteWhole();
    // The records are consecutive: they go into one buffer and to the file
    // in one write.
    const int rows = mGrid->Rows();
    const int first = rows >= 3 ? 2 + kFirstRowRecord : rows + kFirstRowRecord;
    QByteArray records;
    records.reserve(qsizetype(std::max(rows, mHighestRecord - kFirstRowRecord)) * mRecordLength);
    QString firstProblem;
    int refused = 0;
    if (rows >= 3) {
        for (int row = 2; row < rows; ++row) {
            QString problem;
            const QString text = RowRecordText(row, problem);
            if (problem.isEmpty()) {
                AppendRecord(records, text);
            } else {
                if (refused++ == 0)
                    firstProblem = problem;
                AppendRecord(records, QString());
            }
        }
    }
    // Records past the grid's last row may hold rows since deleted: a rebuild
    // must not bring them back.
    for (int rec = rows + kFirstRowRecord; rec <= mHighestRecord; ++rec)
        AppendRecord(records, QString());
    bool written = records.isEmpty() || WriteRecords(first, records, false);
    written = mHandle >= 1 && flush() && written;
    if (refused > 0) {
        TellRowsRefused(firstProblem, refused);
        return false;
    }
    return written;
}

bool clsWorkFile::ReadRecordBytes(QString &text, bool &failed)
{
    text.clear();
    failed = false;
    mShortRead.clear();
    QByteArray buffer(mRecordLength, ' ');
    qint64 got = 0;
    while (got < mRecordLength) {
        errno = 0;
        const qint64 n = mFile.read(buffer.data() + got, mRecordLength - got);
        if (n < 0) {
            DisplayError(errno, QStringLiteral("ReadFile"));
            failed = true;
            return false;
        }
        if (n == 0)
            break;
        got += n;
    }
    if (got < mRecordLength) {
        mShortRead = Cp1252::decode(buffer.left(got));
        return false;
    }
    text = Cp1252::decode(buffer);
    return true;
}

bool clsWorkFile::ReadSeqRecord(int mode, QString &text)
{
    text.clear();
    if (mHandle < 1) {
        CloseWork();
        if (!OpenWork(true)) {
            // A folder in the way has been told already, in plain words.
            if (FolderInTheWay())
                return false;
            DisplayError(mOpenError, kProductName);
            ShowMessage(QStringLiteral("Failed to OpenSeq your Workfile - please report to ")
                            + Project::SupportEmail(),
                        Mb::Critical, kProductName);
            return false;
        }
    }
    if (mode == -1)
        SeekRecord(1);
    else if (mode == 2)
        SeekRecord(2 + kFirstRowRecord);
    bool failed = false;
    if (ReadRecordBytes(text, failed))
        return true;
    if (failed) {
        ShowMessage(QStringLiteral("Failed to read Workfile - please report to ")
                        + Project::SupportEmail(),
                    Mb::Critical, kProductName);
        mDisabled = true;
    }
    return false;
}

QString clsWorkFile::GetRecord(int n)
{
    QString text;
    if (mHandle < 1 || !SeekRecord(n))
        return text;
    bool failed = false;
    ReadRecordBytes(text, failed);
    if (failed) {
        ShowMessage(QStringLiteral("Failed to read Workfile - please report to ")
                        + Project::SupportEmail(),
                    Mb::Critical, kProductName);
        mDisabled = true;
    }
    return text;
}

void clsWorkFile::DisplayError(int code, const QString &name)
{
    if (code == 0)
        return;
    QString system = QString::fromLocal8Bit(std::strerror(code));
    if (system.isEmpty())
        system = QStringLiteral("System error code: ") + QString::number(code);
    const QString number = code > 0 ? u' ' + QString::number(code) : QString::number(code);
    ShowMessage(QStringLiteral("ErrorCode: ") + number + kCrLf + QStringLiteral("API: ") + name
                    + kCrLf + QStringLiteral("System error: ") + system,
                Mb::OkOnly, kProductName);
}

bool clsWorkFile::PlaceRow(const QStringList &fields, int gridRow)
{
    if (!mGrid || !gTranscription)
        return false;
    if (!fields.isEmpty() && IsSpecialText(fields.first())) {
        if (fields.size() != 1)
            return false;
        while (gridRow >= mGrid->Rows())
            gTranscription->AddRow();
        mGrid->setTextMatrix(gridRow, 1, fields.first());
        return true;
    }
    // One field per data column, the district cell being two.
    if (fields.size() != mGrid->Cols())
        return false;
    while (gridRow >= mGrid->Rows())
        gTranscription->AddRow();
    const int districtCol = gTranscription->DistrictCol();
    int field = 0;
    for (int col = 1; col < mGrid->Cols(); ++col) {
        QString cell = UnquoteField(fields.at(field++));
        if (col == districtCol) {
            const QString volume = UnquoteField(fields.at(field++));
            if (!volume.isEmpty())
                cell += u',' + volume;
        }
        mGrid->setTextMatrix(gridRow, col, cell);
    }
    return true;
}

QString clsWorkFile::SetAsideWorkFile()
{
    CloseWork();
    const QString path = WorkFilePath();
    if (path.isEmpty() || !QFileInfo(path).isFile())
        return QString();
    // A name of its own each time: no later rebuild may replace what an
    // earlier one could not read.
    const QString stamp = Services::clock().now().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    for (int n = 1; n < 100; ++n) {
        const QString target = path + u'-' + stamp + (n > 1 ? u'-' + QString::number(n) : QString());
        if (!QFileInfo::exists(target) && QFile::rename(path, target))
            return target;
    }
    return QString();
}

bool clsWorkFile::RestoreWorkfile()
{
    if (!gProject || !gTranscription || !mGrid || !WorkExists())
        return false;
    WaitCursor hourglass;
    ZeroCount();
    std::optional<EventsOffGuard> quiet;
    quiet.emplace();
    gProject->ClearHeader();

    const auto giveUp = [this](const QString &firstLine) {
        const QString kept = SetAsideWorkFile();
        QString text = firstLine + kCrLf;
        if (!kept.isEmpty())
            text += QStringLiteral("Your work file has been kept as ") + kept + kCrLf;
        ShowMessage(text + QStringLiteral("Click Ok to continue"), Mb::Information, kProductName);
        return false;
    };

    // Every header record must be a header line: the writer puts nothing
    // else there, so anything else means the file is not a work file, or is
    // damaged beyond a rebuild.
    int taken = 0;
    int read = 0;
    QString record;
    while (taken < kHeaderLinesTaken) {
        if (!ReadSeqRecord(read == 0 ? -1 : 0, record)) {
            const bool empty = read == 0 && mShortRead.isEmpty();
            return giveUp((empty ? QStringLiteral("Workfile is empty")
                                 : QStringLiteral("Workfile is incomplete"))
                          + QStringLiteral(" - Unable to restore - Please report to ")
                          + Project::SupportEmail());
        }
        ++read;
        bool credit = false;
        bool recognised = false;
        const QString line = VbRTrim(record);
        const bool firstIsInfo =
            read > 1 || line.left(5).compare(QLatin1String("+INFO"), Qt::CaseInsensitive) == 0;
        // A batch without a source has "year,quarter,date" for its source
        // line, which the header reader does not know.
        const bool noSourceLine = taken == 3 && IsDigits(line.section(u',', 0, 0));
        // The writer's second header line is always the batch line; without
        // it the volume format, transcriber, batch name and page letter would
        // come back as defaults without a word.
        if (!firstIsInfo || line.contains(QChar(0))
            || !gProject->ParseHeaderLine(line, taken + 1, credit, recognised)
            || (!credit && !recognised && !noSourceLine)
            || (!credit && taken == 1 && !gProject->HeadLineGet(HeadLines::BatchLine))) {
            return giveUp(QStringLiteral("Failed to Decipher header line ")
                          + QString::number(taken + 1) + kCrLf + PleaseReport());
        }
        if (!credit)
            ++taken;
    }

    gTranscription->SetupInputGrid();
    mGrid->setRedraw(false);
    // Room for a row per record at once, as the file's load does; the rows
    // left over go at the end.
    const int rowsBefore = mGrid->Rows();
    const qint64 recordRows = mFile.size() / mRecordLength - kFirstRowRecord + 1;
    if (recordRows > rowsBefore && recordRows < 10'000'000)
        mGrid->setRows(int(recordRows));

    // The rows whose records could not be read, by the row number the record
    // stands for. Blank records, records never written, deleted rows and
    // records of other rows are what the writer leaves: they are passed over.
    QList<int> unreadable;
    // The row whose record a failed read, or a file that ends part-way
    // through a record (a write cut short), stopped the rebuild at; 0 when
    // the file was read to its end.
    int cutAt = 0;
    int gridRow = 2;
    for (int expected = 2;; ++expected) {
        if (!ReadSeqRecord(expected == 2 ? 2 : 0, record)) {
            if (mDisabled || !IsBlankRecord(mShortRead))
                cutAt = expected;
            break;
        }
        if (IsBlankRecord(record))
            continue;
        // Zero bytes among the text: a write the crash cut short.
        if (record.contains(QChar(0))) {
            unreadable << expected;
            continue;
        }
        const QStringList fields = VbRTrim(record).split(u'\t');
        if (IsRowNumber(fields.first(), expected)) {
            if (PlaceRow(fields.mid(1), gridRow)) {
                ++gridRow;
            } else {
                unreadable << expected;
                ShowMessage(QStringLiteral("Unknown record in workfile ")
                            + QString::number(expected));
                ShowMessage(PleaseReport() + QStringLiteral(" immediately"), Mb::Critical,
                            kProductName);
            }
        } else if (!IsRecordNumber(fields.first())) {
            unreadable << expected;
        }
    }
    gTranscription->SetRowCount(std::max(rowsBefore, gridRow));
    mGrid->setRedraw(true);

    const bool damaged = !unreadable.isEmpty() || cutAt > 0;
    if (damaged && gridRow == 2) {
        // Nothing came back but the header: that is not the work that was
        // lost, and must not be offered as if it were.
        return giveUp(QStringLiteral("Workfile holds no rows that can be read - Unable to "
                                     "restore - Please report to ")
                      + Project::SupportEmail());
    }

    CloseWork();
    bool rewrite = false;
    if (!damaged) {
        // The rewrite below keeps only what was understood; the file as read
        // stays beside it for whoever looks into what went wrong. Without
        // that copy the file is left as it is.
        rewrite = CopyFileOver(WorkFilePath(), BackupPath());
    } else {
        // The file as read goes under a name of its own, so that neither the
        // rewrite nor a later rebuild replaces the rows it may still hold.
        const QString kept = SetAsideWorkFile();
        QString text = QStringLiteral("Some of your work could not be recovered.") + kCrLf;
        if (unreadable.size() == 1) {
            text += QStringLiteral("The work file's record for ") + RowList(unreadable)
                    + QStringLiteral(" could not be read: that row is missing from the batch, "
                                     "and the rows after it have moved up.")
                    + kCrLf;
        } else if (unreadable.size() > 1) {
            text += QStringLiteral("The work file's records for ") + RowList(unreadable)
                    + QStringLiteral(" could not be read: those rows are missing from the batch, "
                                     "and the rows after them have moved up.")
                    + kCrLf;
        }
        if (cutAt > 0) {
            text += QStringLiteral("The work file could not be read past the start of the record "
                                   "for row ")
                    + QString::number(cutAt)
                    + QStringLiteral(": that row and any after it are missing from the batch.")
                    + kCrLf;
        }
        if (!kept.isEmpty()) {
            mDisabled = false;
            SaveHeaderToWork();
            SaveGridToWork();
            text += QStringLiteral("Your work file as it was has been kept as ") + kept + kCrLf;
        }
        ShowMessage(text + PleaseReport() + kCrLf + QStringLiteral("Click Ok to continue"),
                    Mb::Exclamation, kProductName);
    }

    if (gDistricts)
        gDistricts->Read_Districts();
    quiet.reset();
    gTranscription->AddLine1();
    gTranscription->RenumberAllRows(-1);
    // Written once the grid is whole, so that the window's lay-out after
    // the rebuild finds the file as it is and does not write it again. The
    // file as it was stays whole until then.
    if (rewrite)
        SaveBatchToWork();
    gTranscription->UpdateScrollBar();
    StatusBar().ShowMsg(QString());
    // The rebuilt grid holds what the crash kept from being saved: closing
    // must offer to save it, or it goes with the work file.
    if (gChangeMonitor)
        gChangeMonitor->DataUnsaved();
    return true;
}
