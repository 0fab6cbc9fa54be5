#include "transcription/clsWorkFile.h"

#include "core/Cp1252.h"
#include "core/FileHelpers.h"
#include "core/Globals.h"
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
#include "transcription/Transcription.h"

#include <QCursor>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>

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
QString QuoteIfComma(const QString &text)
{
    return text.contains(u',') ? u'"' + text + u'"' : text;
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

bool IsRowNumber(const QString &text, int expected)
{
    if (text.isEmpty() || text.size() > 10)
        return false;
    for (const QChar c : text) {
        if (c < u'0' || c > u'9')
            return false;
    }
    return text.toLongLong() == expected;
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
    return !path.isEmpty() && QFileInfo::exists(path);
}

void clsWorkFile::CloseWork()
{
    if (mFile.isOpen())
        mFile.close();
    mHandle = 0;
    SaveHandleValue(QStringLiteral("-1"));
}

void clsWorkFile::DeleteWork()
{
    CloseWork();
    const QString path = WorkFilePath();
    if (!path.isEmpty() && QFileInfo::exists(path))
        QFile::remove(path);
}

bool clsWorkFile::OpenWork(bool read)
{
    if (mHandle >= 1)
        return true;
    const QString path = WorkFilePath();
    if (HandleValue() != QLatin1String("-1")) {
        if (!path.isEmpty() && QFileInfo::exists(path))
            QFile::remove(path);
        SaveHandleValue(QStringLiteral("-1"));
    }
    if (mFile.isOpen())
        mFile.close();
    mFile.setFileName(path);
    // Unbuffered: every record goes straight to the file, so the flush after
    // it is the only step between the write and the disk.
    const QIODevice::OpenMode mode = read ? QIODevice::ReadOnly | QIODevice::Unbuffered
                                          : QIODevice::ReadWrite | QIODevice::Truncate
                                                | QIODevice::Unbuffered;
    const bool opened = !path.isEmpty() && mFile.open(mode);
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
    return ::fdatasync(mFile.handle()) == 0;
}

bool clsWorkFile::WriteRecord(const QString &text, int n, bool flushNow)
{
    if (mHandle < 1 || n < 1)
        return false;
    bool encoded = true;
    QByteArray bytes = Cp1252::encode(text, &encoded);
    // The callers refuse what does not fit; never let a record spill into
    // the next one.
    if (!encoded || bytes.size() > mRecordLength)
        return false;
    bytes.append(QByteArray(mRecordLength - bytes.size(), ' '));
    if (!SeekRecord(n) || mFile.write(bytes) != mRecordLength)
        return false;
    if (n > mHighestRecord)
        mHighestRecord = n;
    return !flushNow || flush();
}

QString clsWorkFile::BuildRowText(int row) const
{
    const QString column1 = mGrid->TextMatrix(row, 1);
    if (IsSpecialText(column1))
        return u'\t' + column1;
    const int districtCol = gTranscription ? gTranscription->DistrictCol() : -1;
    QString text;
    for (int col = 1; col < mGrid->Cols(); ++col) {
        const QString cell = mGrid->TextMatrix(row, col);
        text += u'\t';
        if (col == districtCol) {
            // Always two fields, even with an empty volume: the rebuild
            // counts fields, and "Leeds," must not lose its row.
            const DistrictParts parts = Districts::SplitDistrict(cell);
            text += QuoteIfComma(parts.name) + u'\t' + QuoteIfComma(parts.volume);
        } else {
            text += QuoteIfComma(cell);
        }
    }
    return text;
}

QString clsWorkFile::RowProblem(int row) const
{
    if (!mGrid || row < 1 || row >= mGrid->Rows())
        return QString();
    const QString label = VbTrim(mGrid->TextMatrix(row, 0));
    const QString name = QStringLiteral("Row ") + (label.isEmpty() ? QString::number(row) : label);
    for (int col = 1; col < mGrid->Cols(); ++col) {
        const QString cell = mGrid->TextMatrix(row, col);
        int pos = -1;
        if (!Cp1252::canEncode(cell, &pos)) {
            return name + QStringLiteral(" holds the character \"") + cell.at(pos)
                   + QStringLiteral("\", which cannot be stored in the batch file.") + kCrLf
                   + QStringLiteral("Please replace it with a plain character.");
        }
        if (cell.contains(u'\t')) {
            return name + QStringLiteral(" holds a TAB character, which cannot be stored.")
                   + kCrLf + QStringLiteral("Please remove it.");
        }
    }
    const qsizetype length = QString::number(row).size() + BuildRowText(row).size();
    if (length > mRecordLength) {
        return name + QStringLiteral(" is too long to be kept safe against a crash: it needs ")
               + QString::number(length) + QStringLiteral(" characters and at most ")
               + QString::number(mRecordLength) + QStringLiteral(" fit.") + kCrLf
               + QStringLiteral("Please shorten one of its entries.");
    }
    return QString();
}

bool clsWorkFile::SaveHeaderToWork()
{
    if (mHandle < 1)
        OpenWork(false);
    if (mDisabled || !gProject)
        return false;
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
    bool written = true;
    int record = 1;
    for (const QString &line : std::as_const(lines))
        written = WriteRecord(line, record++, false) && written;
    return mHandle >= 1 && flush() && written;
}

bool clsWorkFile::DeleteWorkRow(int row)
{
    if (mDisabled)
        return false;
    return WriteRecord(u'-' + QString::number(row), row + kFirstRowRecord, true);
}

bool clsWorkFile::SaveRowToWork(int row)
{
    if (mDisabled || !mGrid || row < 1 || row >= mGrid->Rows())
        return false;
    const QString problem = RowProblem(row);
    if (!problem.isEmpty()) {
        ShowMessage(problem, Mb::Critical, kProductName);
        return false;
    }
    return WriteRecord(QString::number(row) + BuildRowText(row), row + kFirstRowRecord, true);
}

bool clsWorkFile::SaveGridToWork()
{
    if (mDisabled || !mGrid)
        return false;
    bool written = true;
    QString firstProblem;
    int refused = 0;
    if (mGrid->Rows() >= 3) {
        for (int row = 2; row < mGrid->Rows(); ++row) {
            const QString problem = RowProblem(row);
            if (problem.isEmpty()) {
                written = WriteRecord(QString::number(row) + BuildRowText(row),
                                      row + kFirstRowRecord, false)
                          && written;
            } else {
                if (refused++ == 0)
                    firstProblem = problem;
                WriteRecord(QString(), row + kFirstRowRecord, false);
            }
        }
    }
    // Records past the grid's last row may hold rows since deleted: a rebuild
    // must not bring them back.
    for (int rec = mGrid->Rows() + kFirstRowRecord; rec <= mHighestRecord; ++rec)
        written = WriteRecord(QString(), rec, false) && written;
    written = mHandle >= 1 && flush() && written;
    if (refused > 0) {
        QString text = firstProblem;
        if (refused > 1) {
            text += kCrLf + QString::number(refused - 1)
                    + QStringLiteral(" more rows cannot be kept either.");
        }
        ShowMessage(text, Mb::Critical, kProductName);
        return false;
    }
    return written;
}

bool clsWorkFile::ReadRecordBytes(QString &text, bool &failed)
{
    text.clear();
    failed = false;
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
    if (got < mRecordLength)
        return false;
    text = Cp1252::decode(buffer);
    return true;
}

bool clsWorkFile::ReadSeqRecord(int mode, QString &text)
{
    text.clear();
    if (mHandle < 1) {
        CloseWork();
        errno = 0;
        if (!OpenWork(true)) {
            DisplayError(errno, QStringLiteral("OpenWork"));
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
    if (path.isEmpty() || !QFileInfo::exists(path))
        return QString();
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
    if (!gProject || !gTranscription || !mGrid)
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

    int taken = 0;
    QString record;
    for (bool first = true; taken < kHeaderLinesTaken; first = false) {
        if (!ReadSeqRecord(first ? -1 : 0, record)) {
            return giveUp(QStringLiteral("Workfile is empty - Unable to restore - Please report to ")
                          + Project::SupportEmail());
        }
        bool credit = false;
        bool recognised = false;
        const QString line = VbRTrim(record);
        if (!gProject->ParseHeaderLine(line, taken + 1, credit, recognised)) {
            return giveUp(QStringLiteral("Failed to Decipher header line ")
                          + QString::number(taken + 1) + kCrLf + PleaseReport());
        }
        if (!credit)
            ++taken;
    }

    gTranscription->SetupInputGrid();
    mGrid->setRedraw(false);

    int gridRow = 2;
    for (int expected = 2;; ++expected) {
        if (!ReadSeqRecord(expected == 2 ? 2 : 0, record))
            break;
        const QStringList fields = VbRTrim(record).split(u'\t');
        if (!IsRowNumber(fields.first(), expected))
            continue;
        if (PlaceRow(fields.mid(1), gridRow)) {
            ++gridRow;
        } else {
            ShowMessage(QStringLiteral("Unknown record in workfile ") + QString::number(expected));
            ShowMessage(PleaseReport() + QStringLiteral(" immediately"), Mb::Critical,
                        kProductName);
        }
    }

    mGrid->setRedraw(true);
    const bool readWhole = !mDisabled;
    CloseWork();
    // The rewrite below keeps only what was understood; the file as read
    // stays beside it for whoever looks into what went wrong. Without that
    // copy, or after a read that failed part-way, the file is left as it is:
    // it may hold the only copy of rows the grid did not get.
    if (readWhole && CopyFileOver(WorkFilePath(), BackupPath())) {
        SaveHeaderToWork();
        SaveGridToWork();
    }

    if (gDistricts)
        gDistricts->Read_Districts();
    quiet.reset();
    gTranscription->AddLine1();
    gTranscription->RenumberAllRows(-1);
    gTranscription->UpdateScrollBar();
    StatusBar().ShowMsg(QString());
    return true;
}
