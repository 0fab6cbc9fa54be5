// Saving the batch file: the header lines, one data line per grid row, the
// checks made on the way and the "Save Results" report; the "+PAGE" row
// check.

#include "transcription/Transcription.h"

#include "core/FileHelpers.h"
#include "core/Globals.h"
#include "core/Cp1252.h"
#include "core/LineReader.h"
#include "core/MessageWindows.h"
#include "core/Project.h"
#include "core/ShowStatusSink.h"
#include "core/VbHelpers.h"
#include "core/WaitCursor.h"
#include "entry/FlexGrid.h"
#include "lists/Districts.h"
#include "transcription/Change_Monitor.h"
#include "transcription/EntryBoxes.h"

#include <QCursor>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QSemaphore>
#include <QThreadPool>

#include <algorithm>
#include <atomic>
#include <array>
#include <vector>

namespace {

const QString kCrLf = QStringLiteral("\r\n");

const QString kSavedResult = QStringLiteral("Your file has been saved.") + kCrLf
                             + QStringLiteral("Most messages, including Out of Sequence, are "
                                              "informative only.  ")
                             + QStringLiteral("If you have typed exactly what is on the source "
                                              "document then you can ignore them ")
                             + QStringLiteral("(see Save Results in Pelkar Help)");
const QString kNotSavedResult = QStringLiteral("Your data has NOT been saved");

// Entries that are legal but rarely right; each found one is a comment.
const std::array<QString, 10> kUnusualEntryPatterns = [] {
    const QStringList parts = QStringLiteral("(*)|(_)|--|_ _|_,_|(-)|()|,,|  |- -").split(u'|');
    std::array<QString, 10> patterns;
    for (std::size_t i = 0; i < patterns.size(); ++i)
        patterns[i] = parts.at(qsizetype(i));
    return patterns;
}();
// The save builds a long batch's rows in ranges of this many, on several
// threads; a batch of fewer than two ranges is built on the calling thread
// alone, where a thread would cost more than it saves.
constexpr int kRowsPerRange = 250;

// The text without leading and trailing spaces (VbTrim's rule), as a view.
QStringView trimSpaces(QStringView text)
{
    qsizetype start = 0;
    qsizetype end = text.size();
    while (start < end && text[start] == u' ')
        ++start;
    while (end > start && text[end - 1] == u' ')
        --end;
    return text.mid(start, end - start);
}

const QString kTwoSpaces = QStringLiteral("  ");
const QString kAnyWildVolume = QStringLiteral("(*)");


// A field of a data line: in double quotes when it holds a comma; a double
// quote inside is written as it is, since the reader expects the bytes that
// have always been written.
void appendField(QString &line, QStringView text)
{
    // Cells are short: a plain loop beats the library's vectorised search.
    bool comma = false;
    for (const QChar c : text)
        comma = comma || c == u',';
    if (comma) {
        line += u'"';
        line += text;
        line += u'"';
    } else {
        line += text;
    }
}

// "*#* *#*": a digit, later a space, later a digit.
bool digitSpaceDigit(const QString &text)
{
    int stage = 0;
    for (const QChar c : text) {
        if (stage != 1 && c.isDigit() && c.unicode() < 128) {
            if (stage == 2)
                return true;
            stage = 1;
        } else if (stage == 1 && c == u' ') {
            stage = 2;
        }
    }
    return false;
}

QString rowLabel(int number)
{
    return QStringLiteral("Row ") + QString::number(number) + QStringLiteral(": ");
}

// Which of kUnusualEntryPatterns the text holds, bit i for pattern i, in
// one pass: every pattern starts with "(", "-", "_", "," or a space, and
// most cells hold none of them.
unsigned unusualEntries(const QString &text)
{
    const QStringView t(text);
    const qsizetype size = t.size();
    const auto at = [&t, size](qsizetype i) { return i < size ? t[i].unicode() : char16_t(0); };
    unsigned found = 0;
    for (qsizetype i = 0; i < size; ++i) {
        switch (t[i].unicode()) {
        case u'(':
            if (at(i + 1) == u'*' && at(i + 2) == u')')
                found |= 1u << 0;
            if (at(i + 1) == u'_' && at(i + 2) == u')')
                found |= 1u << 1;
            if (at(i + 1) == u'-' && at(i + 2) == u')')
                found |= 1u << 5;
            if (at(i + 1) == u')')
                found |= 1u << 6;
            break;
        case u'-':
            if (at(i + 1) == u'-')
                found |= 1u << 2;
            if (at(i + 1) == u' ' && at(i + 2) == u'-')
                found |= 1u << 9;
            break;
        case u'_':
            if (at(i + 1) == u' ' && at(i + 2) == u'_')
                found |= 1u << 3;
            if (at(i + 1) == u',' && at(i + 2) == u'_')
                found |= 1u << 4;
            break;
        case u',':
            if (at(i + 1) == u',')
                found |= 1u << 7;
            break;
        case u' ':
            if (at(i + 1) == u' ')
                found |= 1u << 8;
            break;
        default:
            break;
        }
    }
    return found;
}

void addFinding(QString &findings, const QString &text)
{
    if (!findings.isEmpty())
        findings += kCrLf;
    findings += text;
}

// The silent save the page-letter check calls.
class SilentBatchSaver final : public BatchSaver
{
public:
    bool SaveSilently() override { return gTranscription && gTranscription->SaveData(false); }
    bool StartofPage(int row) override
    {
        return !gTranscription || gTranscription->StartofPage(row);
    }
};

} // namespace

void Transcription::InstallBatchSaver()
{
    static SilentBatchSaver saver;
    SetBatchSaver(&saver);
}

bool Transcription::SaveData(bool showResults, const QString &path)
{
    if (mSaving || !gProject)
        return false;
    mSaving = true;
    Project &project = *gProject;

    bool written = false;
    bool errorFlag = false;
    QString findings;
    mSeqErrCnt = 0;
    mIncompleteCount = 0;
    const bool unsavedBefore = gChangeMonitor && gChangeMonitor->AnyChange();

    const QString batchName = project.BatchName();
    const QString target = path.isEmpty() ? QDir(project.SavePath()).filePath(batchName) : path;
    project.setSequenceError(false);
    if (project.DropDownPick() && mBatchFileHooks.hidePickList)
        mBatchFileHooks.hidePickList();

    QString resultText = kSavedResult;
    // Failures that came after the file was safely written: they never make
    // the save count as failed.
    QStringList laterFailures;
    {
        WaitCursor wait;
        StatusBar().ShowMsg(QStringLiteral("Saving"));

        QStringList lines;
        const int rows = mGrid ? mGrid->Rows() : 0;
        lines.reserve(rows + 10);
        // BuildHeaderLines adds to the size count: start it afresh.
        project.setFileSizeAddition(-project.FileSize());
        project.BuildHeaderLines(lines);
        project.RememberCols();

        // The rows are built, checked and encoded first, in ranges on
        // several threads for a long batch; then their findings are taken
        // in row order, where the "+PAGE" lines are checked too, since that
        // check reports to the status bar.
        const int first = 2;
        const int count = std::max(rows - first, 0);
        std::vector<SaveRow> built(static_cast<std::size_t>(count));
        // Small ranges handed out in turn: a thread that starts late or runs
        // slowly takes fewer of them.
        const int ranges = std::max((count + kRowsPerRange - 1) / kRowsPerRange, 1);
        const int helpers = count < 2 * kRowsPerRange
                                    ? 0
                                    : std::min(QThreadPool::globalInstance()->maxThreadCount() - 1,
                                               ranges - 1);
        std::vector<SaveChunk> chunks(static_cast<std::size_t>(ranges));
        {
            std::atomic<int> next{0};
            const auto work = [this, first, rows, ranges, &next, &built, &chunks](bool mainThread) {
                for (int r = next++; r < ranges; r = next++) {
                    const int from = first + r * kRowsPerRange;
                    const int to = std::min(from + kRowsPerRange, rows);
                    BuildSaveRows(from, to, built.data() + (from - first),
                                  &chunks[std::size_t(r)], mainThread);
                }
            };
            // The pool's threads outlive the save (for a while), so saves in
            // quick succession do not start threads each time. Only threads
            // free now are taken: the ranges never wait for a busy pool.
            QSemaphore finished;
            int started = 0;
            while (started < helpers
                   && QThreadPool::globalInstance()->tryStart([&work, &finished] {
                          work(false);
                          finished.release();
                      })) {
                ++started;
            }
            work(started == 0);
            finished.acquire(started);
        }

        for (int i = 0; i < count; ++i) {
            SaveRow &out = built[std::size_t(i)];
            const int row = first + i;
            if (out.deferred)
                BuildSaveRows(row, row + 1, &out, nullptr, true);
            if (out.blank)
                continue;
            if (out.pageLine) {
                QString message;
                if (!StartofPage(row, &message)) {
                    addFinding(findings, message);
                    errorFlag = true;
                }
            }
            if (!out.findings.isEmpty())
                addFinding(findings, out.findings);
            errorFlag = errorFlag || out.error;
            if (out.outOfSequence)
                ++mSeqErrCnt;
            if (out.incomplete)
                ++mIncompleteCount;
        }

        QByteArray bytes = JoinCrLf(lines);
        qsizetype total = bytes.size();
        for (const SaveChunk &part : chunks)
            total += part.bytes.size();
        bytes.reserve(total);
        for (SaveChunk &part : chunks) {
            bytes.append(part.bytes);
            project.setFileSizeAddition(int(part.characters));
            part.bytes = QByteArray();
        }

        // A batch without a name, or a save folder that has gone, cannot be
        // written; the folder is never created here, since a missing one
        // means the settings point somewhere else.
        int errorNumber = 0;
        QString description;
        if (path.isEmpty() && VbTrim(batchName).isEmpty()) {
            errorNumber = 52;
            description = QStringLiteral("Bad file name or number");
        } else if (!QFileInfo(target).absoluteDir().exists()) {
            errorNumber = 76;
            description = QStringLiteral("Path not found");
        } else if (QString reason; !WriteFileWhole(target, bytes, &reason)) {
            errorNumber = 75;
            description = QStringLiteral("Path/File access error: ") + reason;
        } else {
            written = true;
        }

        if (written) {
            StatusBar().ShowMsg(QStringLiteral("Saved"));
            if (mBatchFileHooks.proposeRecentFile && !mBatchFileHooks.proposeRecentFile(target))
                laterFailures << QStringLiteral("The list of recent files could not be updated.");
            // SetRegistryValues tells the transcriber itself when it fails.
            if (!project.SetRegistryValues(true))
                laterFailures << QStringLiteral("Your settings could not be saved.");
            if (gChangeMonitor)
                gChangeMonitor->DataSaved();
            if (mBatchFileHooks.companionSaved)
                mBatchFileHooks.companionSaved(unsavedBefore);
        } else {
            errorFlag = true;
            resultText = kNotSavedResult;
            findings = QStringLiteral("Error in SaveData, error=") + QString::number(errorNumber)
                       + kCrLf + QStringLiteral(" (") + description + QStringLiteral(")") + kCrLf
                       + QStringLiteral("If this error persists then try changing the SavePath.");
        }
    }

    if (mSeqErrCnt > 0)
        project.setSequenceError(true);
    project.setInvalid(errorFlag);
    mSaveFindings = findings;

    bool resultsShown = false;
    if (showResults && (!findings.isEmpty() || !laterFailures.isEmpty())) {
        if (!laterFailures.isEmpty())
            resultText = QStringLiteral("Your file has been saved, but:") + kCrLf
                         + laterFailures.join(kCrLf);
        ShowNotice(resultText, findings);
        resultsShown = true;
    }

    mSaving = false;
    Boxes().GiveFocusBack();
    if (resultsShown && project.DropDownPick()
        && (gCurrentCol == mDistrictCol || gCurrentCol == mForenamesCol)
        && mBatchFileHooks.hidePickList)
        mBatchFileHooks.hidePickList();
    return written;
}

void Transcription::BuildSaveRows(int first, int end, SaveRow *out, SaveChunk *chunk,
                                  bool mainThread) const
{
    const int cols = mGrid ? mGrid->Cols() : 0;
    // Each row's cells are read once, for the blank test (IsRowBlank's
    // rule), the checks and the line; a cell without spaces to trim is
    // read in place.
    std::vector<const QString *> cells(std::size_t(std::max(cols, 1)), nullptr);
    std::vector<QString> trimmed(std::size_t(std::max(cols, 1)));
    QString line;
    // The key of the row checked last, which is usually the next row's
    // earlier entry.
    SequenceKey sequenceKey;
    // Built here and handed over at the end: chunks lie side by side, and
    // threads appending to neighbours would fight over their cache lines.
    QByteArray bytes;
    qint64 characters = 0;
    if (chunk)
        bytes.reserve(qsizetype(end - first) * 64);
    for (int row = first; row < end; ++row) {
        SaveRow &result = out[row - first];
        bool blank = true;
        for (int col = 1; col < cols; ++col) {
            const QString &raw = mGrid->textRef(row, col);
            const QStringView view = trimSpaces(raw);
            if (view.size() == raw.size()) {
                cells[std::size_t(col)] = &raw;
            } else {
                trimmed[std::size_t(col)] = view.toString();
                cells[std::size_t(col)] = &trimmed[std::size_t(col)];
            }
            blank = blank && view.isEmpty();
        }
        result.blank = blank;
        if (blank)
            continue;
        // The checks of the row being edited may speak to the status bar,
        // which only the main thread may do: they wait for it.
        const bool check = mainThread || row != gCurrentRow;
        result.deferred = !check;

        const QString &lead = *cells[1];
        const QChar kind = lead.isEmpty() ? QChar() : lead.front();
        line.truncate(0);
        // The row's kind goes by its first character after any leading
        // spaces, as everywhere else; the line keeps them.
        if (kind == u'+') {
            result.pageLine = VbUCaseStartsWith(lead, QLatin1String("+PAGE"));
            line = mGrid->textRef(row, 1);
        } else if (kind == u'#') {
            line = mGrid->textRef(row, 1);
            if (check && !ValidateComment(row))
                addFinding(result.findings,
                           rowLabel(RowLabelNumber(row))
                                   + QStringLiteral("Please check - invalid comment or theory"));
        } else {
            if (check && !InSequence(row, sequenceKey)) {
                addFinding(result.findings,
                           rowLabel(RowLabelNumber(row)) + QStringLiteral("Out of Sequence"));
                result.outOfSequence = true;
            }
            for (int col = 1; col < cols; ++col) {
                const QString &cell = *cells[std::size_t(col)];
                if (check && !mKeepGrid)
                    CheckCellForSave(row, col, cell, result.incomplete, result.error,
                                     result.findings);
                if (col > 1)
                    line += u',';
                if (col == mDistrictCol) {
                    const DistrictParts parts = Districts::SplitDistrict(cell);
                    appendField(line, parts.name);
                    line += u',';
                    appendField(line, parts.volume);
                } else {
                    appendField(line, cell);
                }
            }
        }
        if (chunk) {
            Cp1252::appendEncoded(bytes, line);
            bytes.append("\r\n", 2);
            characters += line.size();
        }
    }
    if (chunk) {
        chunk->bytes = std::move(bytes);
        chunk->characters = characters;
    }
}

void Transcription::CheckCellForSave(int row, int col, const QString &text, bool &incomplete,
                                     bool &errorFlag, QString &findings) const
{
    const auto finding = [this, row, &findings](const QString &text) {
        addFinding(findings, rowLabel(RowLabelNumber(row)) + text);
    };
    bool listDistrictFault = true;
    if (text.isEmpty()) {
        const bool ageMayBeEmpty = gProject->bDeath() && col == mAaDCol && gProject->IgnoreAaD();
        if (!ageMayBeEmpty) {
            if (!incomplete)
                finding(QStringLiteral("Row is incomplete"));
            incomplete = true;
            errorFlag = true;
        }
    }
    // A row already reported incomplete says enough about its district.
    if (incomplete)
        listDistrictFault = false;
    if (text.isEmpty())
        return; // every further check looks for something in the text

    if (CheckForOddChars(text, col))
        finding(QStringLiteral("Unusual Character in \"") + text + u'"');
    if (!CheckQM(text, true, row, col)) {
        finding(QStringLiteral("A ? must be the only character"));
        errorFlag = true;
    }
    const unsigned found = unusualEntries(text);
    for (std::size_t i = 0; i < kUnusualEntryPatterns.size(); ++i) {
        if (!(found & (1u << i)))
            continue;
        const QString &pattern = kUnusualEntryPatterns[i];
        if (pattern == kAnyWildVolume && col == mDistrictCol)
            continue;
        if (pattern == kTwoSpaces)
            finding(QStringLiteral("Comment: Multiple spaces are unusual."));
        else
            finding(QStringLiteral("Comment: \"") + pattern
                    + QStringLiteral("\" is an unusual entry."));
    }
    if (col == mPageCol && digitSpaceDigit(text))
        finding(QStringLiteral("Comment: Spaces are unusual in a page number."));

    if (col != mDistrictCol || !IsDistrictValidated(row))
        return;
    if (text.contains(u'(') || text.contains(u')'))
        finding(QStringLiteral("Comment: Brackets are unusual in Districts."));
    if (text.contains(kAnyWildVolume)) {
        finding(QStringLiteral("Error: (*) not allowed in District."));
        errorFlag = true;
        listDistrictFault = false;
    }
    QString message;
    if (gDistricts && !gDistricts->ValidateDistrict(text, true, false, &message)) {
        errorFlag = true;
        if (listDistrictFault)
            finding(message);
    }
}

bool Transcription::StartofPage(int row, QString *message)
{
    Boxes().HideRichTextbox();
    if (!mGrid)
        return false;
    const QString text = VbUCase(VbLTrim(mGrid->TextMatrix(row, 1)));
    const auto refuse = [message](const QString &reason) {
        StatusBar().ShowMsg(reason, true);
        if (message)
            *message = reason;
        return false;
    };
    if (text.left(5) != QLatin1String("+PAGE"))
        return refuse(QStringLiteral("Invalid Entry"));
    if (text.size() != 5 && !(text.size() >= 7 && text.indexOf(u',') == 5))
        return refuse(QStringLiteral("Invalid Format"));

    int previous = -1;
    QString previousSuffix;
    GetLastPageNumber(previous, previousSuffix, row - 1);
    int page = -1;
    QString suffix;
    SplitPageNumber(text.mid(6), page, suffix);
    const QString p = VbUCase(VbTrim(previousSuffix));
    const QString s = VbUCase(VbTrim(suffix));

    bool accepted = false;
    if (page != previous)
        accepted = qint64(page) == qint64(previous) + 1 && (s.isEmpty() || s == QLatin1String("A"));
    else if (!s.isEmpty())
        accepted = p.isEmpty() ? s == QLatin1String("A")
                               : s.at(0).unicode() == p.at(0).unicode() + 1;

    if (!accepted && message) {
        bool ok = false;
        const int label = VbTrim(mGrid->TextMatrix(row, 0)).toInt(&ok);
        *message = QStringLiteral("Row ") + QString::number(ok ? label : 0)
                   + QStringLiteral(" Incorrect Page Number");
    }
    // A page line holds nothing beyond its first column.
    for (int col = 2; col < mGrid->Cols(); ++col) {
        if (!mGrid->TextMatrix(row, col).isEmpty())
            SetCellQuietly(row, col, QString());
    }
    return accepted;
}
