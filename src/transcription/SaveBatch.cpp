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

#include <QDir>
#include <QFileInfo>

#include <algorithm>
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
const QString kNoEventType
        = QStringLiteral("The batch header has no event type (Births, Deaths or Marriages), so "
                         "the file cannot be saved.")
          + kCrLf + QStringLiteral("Please use Edit Header to choose one, then save again.");

// Entries that are legal but rarely right; each found one is a comment.
const std::array<QString, 10> kUnusualEntryPatterns = [] {
    const QStringList parts = QStringLiteral("(*)|(_)|--|_ _|_,_|(-)|()|,,|  |- -").split(u'|');
    std::array<QString, 10> patterns;
    for (std::size_t i = 0; i < patterns.size(); ++i)
        patterns[i] = parts.at(qsizetype(i));
    return patterns;
}();

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
// have always been written. A line that the reader would then take apart
// otherwise is refused before anything is written (CheckReadsBack).
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
    if (project.DropDownPick())
        project.HidePickList();
    CloseSaveResults();

    QString resultText = kSavedResult;
    // Failures that came after the file was safely written: they never make
    // the save count as failed.
    QStringList laterFailures;
    {
        WaitCursor wait;
        StatusBar().ShowMsg(QStringLiteral("Saving"));

        QStringList lines;
        lines.reserve(6);
        // BuildHeaderLines adds to the size count: start it afresh.
        project.setFileSizeAddition(-project.FileSize());
        project.BuildHeaderLines(lines);
        project.RememberCols();

        QByteArray bytes = JoinCrLf(lines);
        QStringList unwritable;
        const qint64 characters = SaveRows(bytes, findings, errorFlag, unwritable);
        project.setFileSizeAddition(int(characters));

        // A batch without a plain name, or a save folder that has gone,
        // cannot be written; the folder is never created here, since a
        // missing one means the settings point somewhere else. A batch
        // without an event type, or with an entry that would not load
        // again as typed, is refused: its file would come back altered.
        int errorNumber = 0;
        QString description;
        QString refusal;
        const int eventType = project.EventType();
        if (path.isEmpty()
            && (VbTrim(batchName).isEmpty() || !Project::IsPlainFileName(batchName))) {
            errorNumber = 52;
            description = QStringLiteral("Bad file name or number");
        } else if (eventType != EventType::Births && eventType != EventType::Deaths
                   && eventType != EventType::Marriages) {
            refusal = kNoEventType;
        } else if (!unwritable.isEmpty()) {
            refusal = unwritable.join(kCrLf);
        } else if (!QFileInfo(target).absoluteDir().exists()) {
            errorNumber = 76;
            description = QStringLiteral("Path not found");
        } else if (QString reason; !WriteFileWholeMarked(target, bytes, &reason)) {
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
            // "Saving" must not stay up as if the save were still going on.
            StatusBar().ShowMsg(QStringLiteral("Not saved"), true);
            if (!refusal.isEmpty()) {
                findings = refusal;
            } else {
                findings = QStringLiteral("Error in SaveData, error=")
                           + QString::number(errorNumber) + kCrLf + QStringLiteral(" (")
                           + description + QStringLiteral(")") + kCrLf
                           + QStringLiteral("If this error persists then try changing the "
                                            "SavePath.");
            }
        }
    }

    if (mSeqErrCnt > 0)
        project.setSequenceError(true);
    project.setInvalid(errorFlag);
    mSaveFindings = findings;

    const bool showWindow = showResults && (!findings.isEmpty() || !laterFailures.isEmpty());
    if (showWindow && !laterFailures.isEmpty())
        resultText = QStringLiteral("Your file has been saved, but:") + kCrLf
                     + laterFailures.join(kCrLf);

    mSaving = false;
    Boxes().GiveFocusBack();
    if (showWindow) {
        // Giving the focus back may have brought the drop-down list up over
        // the window; the window then has the focus instead of the box.
        const bool onListColumn = gCurrentCol == mDistrictCol || gCurrentCol == mForenamesCol;
        const bool focusWindow = project.DropDownPick() && onListColumn;
        if (focusWindow)
            project.HidePickList();
        ShowSaveResults(resultText, findings, focusWindow);
    }
    return written;
}

qint64 Transcription::SaveRows(QByteArray &bytes, QString &findings, bool &errorFlag,
                               QStringList &unwritable)
{
    if (!mGrid)
        return 0;
    const int rows = mGrid->Rows();
    const int cols = mGrid->Cols();
    // Each row's cells are read once, for the blank test (IsRowBlank's
    // rule), the checks and the line; a cell without spaces to trim is
    // read in place.
    std::vector<const QString *> cells(std::size_t(std::max(cols, 1)), nullptr);
    std::vector<QString> trimmed(std::size_t(std::max(cols, 1)));
    QString line;
    // The key of the row checked last, which is usually the next row's
    // earlier entry.
    SequenceKey sequenceKey;
    qint64 characters = 0;
    bytes.reserve(bytes.size() + qsizetype(std::max(rows - 2, 0)) * 64);
    for (int row = 2; row < rows; ++row) {
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
        if (blank)
            continue;

        const QString &lead = *cells[1];
        const QChar kind = lead.isEmpty() ? QChar() : lead.front();
        line.truncate(0);
        // The row's kind goes by its first character after any leading
        // spaces, as everywhere else; the line keeps them.
        if (kind == u'+') {
            line = mGrid->textRef(row, 1);
            if (VbUCaseStartsWith(lead, QLatin1String("+PAGE"))) {
                QString message;
                if (!StartofPage(row, &message)) {
                    addFinding(findings, message);
                    errorFlag = true;
                }
            }
        } else if (kind == u'#') {
            line = mGrid->textRef(row, 1);
            if (!ValidateComment(row))
                addFinding(findings, rowLabel(RowLabelNumber(row))
                                             + QStringLiteral(
                                                     "Please check - invalid comment or theory"));
        } else {
            if (!InSequence(row, sequenceKey)) {
                addFinding(findings,
                           rowLabel(RowLabelNumber(row)) + QStringLiteral("Out of Sequence"));
                ++mSeqErrCnt;
            }
            bool incomplete = false;
            for (int col = 1; col < cols; ++col) {
                const QString &cell = *cells[std::size_t(col)];
                if (!mKeepGrid)
                    CheckCellForSave(row, col, cell, incomplete, errorFlag, findings);
                if (col > 1)
                    line += u',';
                if (col == mDistrictCol) {
                    const DistrictParts parts = Districts::SplitForFile(cell);
                    appendField(line, parts.name);
                    line += u',';
                    appendField(line, parts.volume);
                } else {
                    appendField(line, cell);
                }
            }
            if (incomplete)
                ++mIncompleteCount;
            // Without a double quote every comma of the line splits, and
            // no field holds one: only a line with a quote can read back
            // otherwise than it was meant.
            if (line.contains(u'"'))
                CheckReadsBack(row, line, cells, unwritable);
        }
        Cp1252::appendEncoded(bytes, line);
        bytes.append("\r\n", 2);
        characters += line.size();
    }
    return characters;
}

void Transcription::CheckReadsBack(int row, const QString &line,
                                   const std::vector<const QString *> &cells,
                                   QStringList &unwritable) const
{
    const int cols = mGrid->Cols();
    QStringList meant;
    meant.reserve(cols);
    for (int col = 1; col < cols; ++col) {
        const QString &cell = *cells[std::size_t(col)];
        if (col == mDistrictCol) {
            const DistrictParts parts = Districts::SplitForFile(cell);
            meant << parts.name << parts.volume;
        } else {
            meant << cell;
        }
    }
    // The line as the next load will take it: trimmed, then split by the
    // same rules.
    if (SplitDataLine(VbTrim(line), cols) == meant)
        return;
    for (int col = 1; col < cols; ++col) {
        const QString &cell = *cells[std::size_t(col)];
        if (cell.contains(u'"'))
            unwritable << rowLabel(RowLabelNumber(row)) + QStringLiteral("Cannot save the entry ")
                                  + cell
                                  + QStringLiteral(" as it is: a double quote in it would stop "
                                                   "the file loading it again. Please change "
                                                   "the double quote to an apostrophe.");
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
