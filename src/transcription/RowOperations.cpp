#include "transcription/Transcription.h"

#include "core/Globals.h"
#include "core/Project.h"
#include "core/VbHelpers.h"
#include "core/clsEvents.h"
#include "entry/FlexGrid.h"
#include "core/HeaderTypes.h"
#include "core/MessageWindows.h"
#include "core/Services.h"
#include "core/WaitCursor.h"
#include "lists/Districts.h"
#include "transcription/Change_Monitor.h"
#include "transcription/EntryBoxes.h"
#include "transcription/GridBindings.h"
#include "transcription/clsWorkFile.h"

#include <QCursor>
#include <QGuiApplication>

#include <algorithm>
#include <cmath>
#include <optional>
#include <vector>

namespace {

const QString kLineBreak = QStringLiteral("\r\n");
constexpr int kMaxFillDown = 200;


// The count typed into a fill's input box: nullopt for an empty or
// non-numeric answer (a number with a fraction is rounded as the original
// did, halves to even).
std::optional<long long> ParseCount(const QString &answer)
{
    const QString trimmed = VbTrim(answer);
    if (trimmed.isEmpty())
        return std::nullopt;
    bool ok = false;
    const double value = trimmed.toDouble(&ok);
    if (!ok || !std::isfinite(value) || std::fabs(value) > 1e15)
        return std::nullopt;
    return static_cast<long long>(std::nearbyint(value));
}

QString FillPrompt(const QString &text, int maximum)
{
    return QStringLiteral("How many copies of \"") + text
           + QStringLiteral("\" do you want inserting?") + kLineBreak
           + QStringLiteral("Maximum is ") + QString::number(maximum);
}

void MarkChanged()
{
    if (gChangeMonitor)
        gChangeMonitor->Changed();
}

} // namespace

void Transcription::AddRow()
{
    if (!mGrid)
        return;
    {
        EventsOffGuard quiet;
        const int row = mGrid->Rows();
        mGrid->setRows(row + 1);
        bool ok = false;
        const int before = VbTrim(mGrid->TextMatrix(row - 1, 0)).toInt(&ok);
        mGrid->setTextMatrix(row, 0, QString::number((ok ? before : 0) + 1));
        ColourRow(row);
    }
    if (gChangeMonitor)
        gChangeMonitor->Changed();
    FitRowNumberColumn();
    UpdateScrollBar();
}

void Transcription::SetRowCount(int rows)
{
    if (!mGrid)
        return;
    {
        EventsOffGuard quiet;
        mGrid->setRows(rows);
    }
    // One more digit each time it widens.
    for (int limit = 0; limit != mRowNumberLimit;) {
        limit = mRowNumberLimit;
        FitRowNumberColumn();
    }
}

void Transcription::UpdateScrollBar()
{
    if (!mGrid)
        return;
    EventsOffGuard quiet;
    scrollBar().setMax(mGrid->Rows() - 1);
    scrollBar().setValue(mGrid->Row());
}

bool Transcription::ItsACommentLine(int row) const
{
    if (row <= 0)
        row = gCurrentRow;
    if (!mGrid || row < 2 || row >= mGrid->Rows())
        return false;
    return BeginsAsCommentLine(mGrid->textRef(row, 1));
}

bool Transcription::BeginsAsCommentLine(QStringView text)
{
    qsizetype i = 0;
    while (i < text.size() && text[i] == u' ')
        ++i;
    return i < text.size() && (text[i] == u'+' || text[i] == u'#');
}

QString Transcription::Compact(const QString &text)
{
    const QString trimmed = VbTrim(text);
    QString result;
    result.reserve(trimmed.size());
    for (const QChar c : trimmed) {
        if (c == QLatin1Char(' ') && result.endsWith(QLatin1Char(' ')))
            continue;
        result.append(c);
    }
    return result;
}

void Transcription::RenumberAllRows(int fromRow)
{
    if (!mGrid)
        return;
    WaitCursor hourglass;
    {
        EventsOffGuard quiet;
        mGrid->setRedraw(false);
        mGrid->setTextMatrix(1, 0, QString::number(FirstRowNumber()));
        const int start = fromRow < 2 ? 2 : fromRow;
        const bool dataRowsOnly = gProject && gProject->RowNumbering() == QLatin1String("D");
        int number = VbTrim(mGrid->TextMatrix(start - 1, 0)).toInt();
        for (int row = start; row < mGrid->Rows(); ++row) {
            if (!dataRowsOnly || !ItsACommentLine(row))
                ++number;
            mGrid->setTextMatrix(row, 0, QString::number(number));
            ColourRow(row);
        }
        mGrid->setRedraw(true);
    }
}

void Transcription::InsertRow(int row)
{
    if (!mGrid)
        return;
    const int lastOldRow = mGrid->Rows() - 1;
    InsertRowInGrid(row);
    SaveGridAfterRowChange(lastOldRow);
}

void Transcription::InsertRowInGrid(int row)
{
    if (row < 1 || row > mGrid->Rows())
        return;
    EventsOffGuard quiet;
    mGrid->AddItem(QString(), row);
    UpdateScrollBar();
    MarkChanged();
    // From the inserted row at the latest: the grid's current row may lie
    // below it, and every row from the insert on has moved.
    RenumberAllRows(std::min(row, mGrid->Row() - 1));
    ColourRow(row);
    FitRowNumberColumn();
    UpdateValidation(row, true);
    mGrid->setRowCol(row, 1);
}

void Transcription::InsertRowsInGrid(int row, int count)
{
    if (count < 1 || row < 1 || row > mGrid->Rows())
        return;
    EventsOffGuard quiet;
    const int renumberFrom = std::min(row, mGrid->Row() - 1);
    mGrid->AddItems(row, count);
    UpdateScrollBar();
    MarkChanged();
    // Once for the block: numbering after each row would go over every
    // row below it again.
    RenumberAllRows(renumberFrom);
    for (int i = 0; i < count; ++i) {
        ColourRow(row + i);
        // Each call widens the number column by one more digit at most.
        FitRowNumberColumn();
        UpdateValidation(row, true);
    }
    mGrid->setRowCol(row + count - 1, 1);
}

void Transcription::SaveGridAfterRowChange(int lastOldRow)
{
    if (!gWorkFile || !mGrid)
        return;
    gWorkFile->SaveGridToWork();
    // A record past the grid's end still holds a row under a number the
    // rebuild would expect next: mark it deleted so that it never comes back.
    for (int row = std::max(mGrid->Rows(), 2); row <= lastOldRow; ++row)
        gWorkFile->DeleteWorkRow(row);
}

void Transcription::DeleteRow(int row)
{
    if (!mGrid)
        return;
    // The title row, the first "+PAGE" row and one entry always stay.
    if (mGrid->Rows() < 4) {
        ShowMessage(QStringLiteral("Can't Delete the last row"), Mb::Exclamation);
        return;
    }
    if (row < 2 || row >= mGrid->Rows())
        return;

    bool remove = true;
    if (!IsRowBlank(row)) {
        EventsOffGuard quiet;
        // The row asked about shows in red while the question is open.
        std::vector<std::uint32_t> colours;
        for (int col = 1; col < mGrid->Cols(); ++col) {
            colours.push_back(mGrid->cellBackColorAt(row, col));
            mGrid->setCellBackColorAt(row, col, 0x0000FF);
        }
        const int answer = ShowMessage(QStringLiteral("There is data in Row ")
                                           + mGrid->TextMatrix(row, 0)
                                           + QStringLiteral(" ! Delete anyway?"),
                                       Mb::YesNo | Mb::Question,
                                       kProductName + QStringLiteral(" Delete Row!"));
        for (int col = 1; col < mGrid->Cols(); ++col)
            mGrid->setCellBackColorAt(row, col, colours[std::size_t(col - 1)]);
        remove = answer == Mb::Yes;
    }

    if (remove) {
        const int lastOldRow = mGrid->Rows() - 1;
        mDeletedRow.clear();
        for (int col = 0; col < mGrid->Cols(); ++col)
            mDeletedRow << mGrid->TextMatrix(row, col);
        mDeletedRow << QString();
        mDeletedRowHeld = true;
        mDeletedRowFlags = (IsPageValidated(row) ? 0 : PageAccepted)
                           | (IsDistrictValidated(row) ? 0 : DistrictAccepted);
        {
            EventsOffGuard quiet;
            mGrid->RemoveItem(row);
        }
        UpdateValidation(row, false);
        if (row == gCurrentRow)
            --gCurrentRow;
        RenumberAllRows(std::min(row, mGrid->Row() - 1));
        SaveGridAfterRowChange(lastOldRow);
    }

    if (mGrid->Row() >= mGrid->Rows()) {
        EventsOffGuard quiet;
        mGrid->setRow(mGrid->Rows() - 1);
    }
    MarkChanged();
    FitRowNumberColumn();
    UpdateScrollBar();
}

void Transcription::UndoDeleteRow(int row)
{
    // A held row of another column count (the grid was converted since)
    // would put texts into the wrong fields.
    if (mGrid && mDeletedRowHeld && mDeletedRow.size() == mGrid->Cols() + 1 && row >= 1
        && row <= mGrid->Rows()) {
        const int lastOldRow = mGrid->Rows() - 1;
        InsertRowInGrid(row);
        {
            EventsOffGuard quiet;
            for (int col = 1; col < mGrid->Cols(); ++col)
                mGrid->setTextMatrix(row, col, mDeletedRow.at(col));
        }
        // Else a district or page let through before would be refused now.
        for (const int flag : {PageAccepted, DistrictAccepted}) {
            if (mDeletedRowFlags & flag)
                SetValidationFlag(row, flag, true);
        }
        SaveGridAfterRowChange(lastOldRow);
    } else {
        ShowMessage(QStringLiteral("No valid row to restore"), Mb::Information);
    }
    mDeletedRow = QStringList{QString(), QString()};
    mDeletedRowHeld = false;
    mDeletedRowFlags = 0;
}

bool Transcription::FillSourceAccepted(const QString &text)
{
    mGrid->setTextMatrix(gCurrentRow, gCurrentCol, VbTrim(text));
    if (!ValidateBox(gCurrentCol, gCurrentRow)) {
        ShowMessage(QStringLiteral("Can't fill with invalid entry - please correct it first"),
                    Mb::Critical);
        Boxes().GiveFocusBack();
        return false;
    }
    const QString cell = mGrid->TextMatrix(gCurrentRow, gCurrentCol);
    if (cell.startsWith(u'+') || cell.startsWith(u'#')) {
        ShowMessage(QStringLiteral("Can't fill on a ")
                        + (cell.startsWith(u'+') ? QStringLiteral("+PAGE")
                                                 : QStringLiteral("comment"))
                        + QStringLiteral(" line"),
                    Mb::Critical);
        Boxes().GiveFocusBack();
        return false;
    }
    return true;
}

void Transcription::FillDown(const QString &text)
{
    if (!mGrid || gCurrentRow < 1 || gCurrentRow >= mGrid->Rows())
        return;
    EventsOffGuard quiet;
    const int col = mGrid->Col();
    if (!FillSourceAccepted(text))
        return;
    const QString fill = mGrid->TextMatrix(gCurrentRow, gCurrentCol);

    const auto answer = InputBox(FillPrompt(fill, kMaxFillDown),
                                 kProductName + QStringLiteral(" FillDown"));
    const auto count = answer ? ParseCount(*answer) : std::nullopt;
    if (count && (*count < 1 || *count > kMaxFillDown)) {
        ShowMessage(QStringLiteral("Must be a number in the range 1 to")
                        + QString::number(kMaxFillDown),
                    Mb::Critical);
    } else if (count) {
        bool newRows = true;
        if (gCurrentRow < mGrid->Rows() - 1) {
            const QString use = QStringLiteral("Use Existing Rows");
            const QString choice = MyMsgBox(
                QStringLiteral("There are existing rows below this one.") + kLineBreak
                    + QStringLiteral("Do you want to insert \"") + fill
                    + QStringLiteral("\" into those Existing Rows,") + kLineBreak
                    + QStringLiteral(" or Insert New Rows?"),
                Mb::IconQuestion, kProductName, {use, QStringLiteral("Insert New Rows")});
            newRows = choice != use;
        }

        WaitCursor hourglass;
        mGrid->setRedraw(false);
        const int lastOldRow = mGrid->Rows() - 1;
        const int first = gCurrentRow + 1;
        const int last = gCurrentRow + int(*count);
        // The new rows go in as one block: numbered once, not once per row.
        const int added = newRows ? int(*count) : std::max(0, last - lastOldRow);
        if (added > 0)
            InsertRowsInGrid(newRows ? first : lastOldRow + 1, added);
        QList<int> filled{gCurrentRow}; // its text was trimmed above
        for (int row = first; row <= last; ++row) {
            mGrid->setTextMatrix(row, gCurrentCol, fill);
            filled << row;
        }
        // Inserted rows move every row after them: only the whole grid
        // keeps the work file's records numbered as the grid is.
        if (added > 0)
            SaveGridAfterRowChange(lastOldRow);
        else if (gWorkFile)
            gWorkFile->SaveRowsToWork(filled);
        mGrid->setRedraw(true);
        MarkChanged();
    }

    scrollBar().setMax(mGrid->Rows() - 1);
    mGrid->setRowCol(gCurrentRow, col);
    Boxes().GiveFocusBack();
}

void Transcription::FillUp(const QString &text)
{
    if (!mGrid || gCurrentRow >= mGrid->Rows())
        return;
    EventsOffGuard quiet;
    if (gCurrentRow < 3) {
        BeepIfEnabled();
        Boxes().GiveFocusBack();
        return;
    }
    if (!FillSourceAccepted(text))
        return;
    const QString fill = mGrid->TextMatrix(gCurrentRow, gCurrentCol);
    const int maximum = gCurrentRow - 2;

    const auto answer = InputBox(FillPrompt(fill, maximum),
                                 kProductName + QStringLiteral(" FillUp"));
    if (answer && !VbTrim(*answer).isEmpty()) {
        const auto count = ParseCount(*answer);
        if (!count) {
            ShowMessage(QStringLiteral("Must be a number in the range 1 to")
                            + QString::number(maximum),
                        Mb::Critical);
        } else if (*count > maximum) {
            ShowMessage(QStringLiteral("There are insufficient rows available to insert that "
                                       "many copies"),
                        Mb::Critical);
        } else if (*count >= 1) {
            const int last = gCurrentRow - int(*count);
            bool overwrite = true;
            for (int row = gCurrentRow - 1; row >= last; --row) {
                if (!VbTrim(mGrid->TextMatrix(row, gCurrentCol)).isEmpty()) {
                    overwrite = ShowMessage(QStringLiteral("There is data in row ")
                                                + mGrid->TextMatrix(row, 0)
                                                + QStringLiteral(", do you want to overwrite it?"),
                                            Mb::YesNo | Mb::Question)
                                == Mb::Yes;
                    break;
                }
            }
            if (overwrite) {
                mGrid->setRedraw(false);
                for (int row = gCurrentRow - 1; row >= last; --row)
                    mGrid->setTextMatrix(row, gCurrentCol, fill);
                if (gWorkFile)
                    gWorkFile->SaveGridToWork();
                mGrid->setRedraw(true);
                // Else a fill that is the only change since the last save
                // would be lost at exit.
                MarkChanged();
            }
        }
    }
    Boxes().GiveFocusBack();
}

void Transcription::ConvertGrid(int eventType, int year, int quarter, bool formatChanged)
{
    if (!mGrid || !gProject)
        return;
    WaitCursor hourglass;
    const Project &project = *gProject;

    int wanted = 6;
    if (eventType == EventType::Births
        && (year < Project::MothersYear()
            || (year == Project::MothersYear() && quarter < project.MomsQtr())))
        wanted = 5;
    if (eventType == EventType::Marriages
        && (year < Project::SpouseYear()
            || (year == Project::SpouseYear() && quarter < project.SpouseQtr())))
        wanted = 5;

    {
        EventsOffGuard quiet;
        if (wanted > mGrid->Cols()) {
            // The new third field (mother, spouse) comes before District.
            mGrid->setCols(mGrid->Cols() + 1);
            mGrid->setColPosition(mGrid->Cols() - 1, mDistrictCol);
        } else if (wanted < mGrid->Cols() && mDistrictCol > 1) {
            mGrid->setColPosition(mDistrictCol - 1, mGrid->Cols() - 1);
            mGrid->setCols(mGrid->Cols() - 1);
        }
    }

    // The rows stay: only the layout is new.
    const bool keep = mKeepGrid;
    mKeepGrid = true;
    SetupInputGrid();
    mKeepGrid = keep;
    SetInitialColumnWidths();
    RenumberAllRows(-1);

    if (formatChanged && gDistricts && mGrid->Rows() > 2 && mDistrictCol >= 1) {
        bool failed = false;
        {
            EventsOffGuard quiet;
            for (int row = 2; row < mGrid->Rows(); ++row) {
                const QString cell = mGrid->TextMatrix(row, mDistrictCol);
                if (VbTrim(cell).isEmpty())
                    continue;
                const DistrictConversion result = gDistricts->ConvertDistrictVNF(cell);
                mGrid->setTextMatrix(row, mDistrictCol, result.text);
                if (!result.converted)
                    failed = true;
            }
        }
        if (failed) {
            ShowMessage(QStringLiteral("Some Volume Codes that you have entered may not be "
                                       "properly converted to the new format - please check "
                                       "your file"),
                        Mb::Critical);
        }
    }
    // The records hold the old column layout until rewritten.
    if (gWorkFile)
        gWorkFile->SaveGridToWork();
}
