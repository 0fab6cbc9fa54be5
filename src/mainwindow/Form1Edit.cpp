// The Edit menu's commands and the grid's right-click menus: finding cells,
// re-casing the open entry, fill, moving a column's cells down or up,
// inserting, deleting and restoring rows, clearing the box, and letting one
// district or page through unchecked. The commands that change the grid
// first make sure the open cell may be left (MenusBlocked); that check takes
// the entry box off the grid, so each of them lays it again at the end.

#include "mainwindow/Form1.h"

#include "core/Globals.h"
#include "core/MessageWindows.h"
#include "core/Project.h"
#include "core/Services.h"
#include "core/VbHelpers.h"
#include "core/WaitCursor.h"
#include "core/clsEvents.h"
#include "entry/DistrictBox.h"
#include "entry/FlexGrid.h"
#include "entry/ForenameBox.h"
#include "entry/RichTextBox.h"
#include "entry/myRichTextbox.h"
#include "lists/ForeNames.h"
#include "mainwindow/Form1MenuItems.h"
#include "mainwindow/ShowStatus.h"
#include "transcription/Change_Monitor.h"
#include "transcription/EntryBoxes.h"
#include "transcription/Searcher.h"
#include "transcription/Transcription.h"
#include "transcription/clsWorkFile.h"

#include <QAction>
#include <QMenu>
#include <QShortcut>

namespace {

const QString kCrLf = QStringLiteral("\r\n");

bool isKind(int col, int kindCol)
{
    return kindCol >= 1 && col == kindCol;
}

// A "+" or "#" line, by its column-1 text as it stands.
bool isLineRow(const FlexGrid &grid, int row)
{
    const QString text = grid.TextMatrix(row, 1);
    return text.startsWith(u'+') || text.startsWith(u'#');
}

void markChanged()
{
    if (gChangeMonitor)
        gChangeMonitor->Changed();
}

// The rows a command changed, in one work-file write flushed once: a
// flush for each row would make a command at the top of a long batch take
// seconds.
void saveRows(const QList<int> &rows)
{
    if (gWorkFile && !rows.isEmpty())
        gWorkFile->SaveRowsToWork(rows);
}

} // namespace

void Form1::ConnectEditCommands()
{
    const auto on = [this](const char *name, void (Form1::*command)()) {
        if (QAction *action = MenuItem(QString::fromLatin1(name)))
            connect(action, &QAction::triggered, this, command);
    };
    on("mnuCopySurname", &Form1::mnuCopySurname_Click);
    // The item is never shown, and a hidden item's shortcut is dead: Ctrl+M
    // reaches the command through a key of the window's own.
    auto *copySurnameKey = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_M), this);
    copySurnameKey->setObjectName(QStringLiteral("mnuCopySurnameKey"));
    copySurnameKey->setEnabled(false);
    connect(copySurnameKey, &QShortcut::activated, this, &Form1::mnuCopySurname_Click);
    on("mnuUppercase", &Form1::mnuUppercase_Click);
    on("mnuLowercase", &Form1::mnuLowercase_Click);
    on("mnuProperCase", &Form1::mnuProperCase_Click);
    on("mnuInvertCase", &Form1::mnuInvertCase_Click);
    on("mnuFindEmpty", &Form1::mnuFindEmpty_Click);
    on("mnuFindWarning", &Form1::mnuFindWarning_Click);
    on("mnuFindPageStart", &Form1::mnuFindPageStart_Click);
    on("mnuFindString", &Form1::mnuFindString_Click);
    on("mnuFindNextString", &Form1::mnuFindNextString_Click);
    on("mnuInsertDown", &Form1::mnuInsertDown_Click);
    on("mnuInsertUp", &Form1::mnuInsertUp_Click);
    on("mnuFillUp", &Form1::mnuFillUp_Click);
    on("mnuFillDown", &Form1::mnuFillDown_Click);
    on("mnuInsertRow", &Form1::mnuInsertRow_Click);
    on("mnuDelRow", &Form1::mnuDelRow_Click);
    on("mnuDelWord", &Form1::mnuDelWord_Click);
    on("mnuClearBox", &Form1::mnuClearBox_Click);
    on("mnuReplaceRow", &Form1::mnuReplaceRow_Click);
    on("mnuEditForenames", &Form1::mnuEditForenames_Click);
    on("mnuEditDistricts", &Form1::mnuEditDistricts_Click);
    on("mnuDelRow2", &Form1::mnuDelRow_Click);
    on("mnuInsertRow2", &Form1::mnuInsertRow_Click);
    on("mnuInsertDown2", &Form1::mnuInsertDown2_Click);
    on("mnuDellUp", &Form1::mnuDellUp_Click);
    if (QAction *validate = MenuItem(QStringLiteral("mnuValidateEntry"))) {
        mMenus->releaseCheck(validate);
        connect(validate, &QAction::triggered, this, &Form1::mnuValidateEntry_Click);
    }
}

bool Form1::MenusBlocked()
{
    // While busy nothing is checked, so the box stays where it is.
    if (!gTranscription || CantUseMenues())
        return true;
    return gTranscription->MenusBlocked();
}

// ---- Moving to a cell found --------------------------------------------------------

void Form1::MoveToFoundCell(int row, int col)
{
    FlexGrid &grid = *mGrid;
    if (row < 1 || row >= grid.Rows() || col < 1 || col >= grid.Cols()) {
        Set_TextBox();
        return;
    }
    // One pass of the cell-entry loop, for the cell found: it checks the
    // cell left, writes its row to the work file and opens the box there.
    if (row == grid.Row()) {
        if (col == grid.Col())
            Set_TextBox();
        else
            grid.setCol(col);
        return;
    }
    {
        EventsOffGuard quiet;
        grid.setCol(col);
    }
    grid.setRow(row);
}

void Form1::GoToFound()
{
    MoveToFoundCell(gSearcher->FoundRow(), gSearcher->FoundCol());
}

// ---- Case changes ------------------------------------------------------------------

void Form1::ChangeCaseOfEntry(CaseCommand command)
{
    if (!gTranscription)
        return;
    const Transcription &t = *gTranscription;
    if (isKind(gCurrentCol, t.ForenamesCol())) {
        if (!gForenameBox || !mForeNameBox->Visible())
            return;
        switch (command) {
        case CaseCommand::Upper:
            gForenameBox->UpperCase();
            break;
        case CaseCommand::Lower:
            gForenameBox->LowerCase();
            break;
        case CaseCommand::Proper:
            gForenameBox->ProperCase();
            break;
        case CaseCommand::Invert:
            gForenameBox->InvertCase();
            break;
        }
        return;
    }
    if (isKind(gCurrentCol, t.DistrictCol()))
        return;
    // The general box writes the grid's current cell: a box that is not on
    // view holds no entry of that cell.
    RichTextBox &box = *mRichBox;
    if (!box.Visible())
        return;

    EventsOffGuard quiet;
    const int start = box.SelStart();
    const int length = box.SelLength();
    const auto convert = [command](const QString &text) {
        switch (command) {
        case CaseCommand::Upper:
            return VbUCase(text);
        case CaseCommand::Lower:
            return VbLCase(text);
        case CaseCommand::Invert:
            return ForeNames::InvertCase(text);
        case CaseCommand::Proper:
            break;
        }
        return text;
    };
    if (command == CaseCommand::Proper) {
        const QString lower = VbLCase(box.Text());
        box.setText(gForeNames ? gForeNames->FormatForeName(lower) : lower);
    } else if (length > 0) {
        box.setSelText(convert(box.SelText()));
    } else {
        box.setText(convert(box.Text()));
    }
    mGrid->setText(box.Text());
    box.setSelStart(start);
    box.setSelLength(length);
    markChanged();
}

void Form1::mnuUppercase_Click()
{
    ChangeCaseOfEntry(CaseCommand::Upper);
}

void Form1::mnuLowercase_Click()
{
    ChangeCaseOfEntry(CaseCommand::Lower);
}

void Form1::mnuProperCase_Click()
{
    ChangeCaseOfEntry(CaseCommand::Proper);
}

void Form1::mnuInvertCase_Click()
{
    ChangeCaseOfEntry(CaseCommand::Invert);
}

// ---- Fill, clearing, copying the surname ----------------------------------------------

void Form1::FillFromBox(bool up)
{
    if (!gTranscription)
        return;
    if (isKind(gCurrentCol, gTranscription->DistrictCol())) {
        BeepIfEnabled();
    } else if (isKind(gCurrentCol, gTranscription->ForenamesCol())) {
        if (gForenameBox)
            gForenameBox->Fillit(up);
    } else if (gRichTextbox) {
        gRichTextbox->Fillit(up);
    }
}

void Form1::mnuFillDown_Click()
{
    FillFromBox(false);
}

void Form1::mnuFillUp_Click()
{
    FillFromBox(true);
}

void Form1::mnuClearBox_Click()
{
    EntryBoxes &boxes = Boxes();
    if (boxes.RichTextboxVisible()) {
        if (gRichTextbox)
            gRichTextbox->ClearCurrentCell();
    } else if (boxes.ForenameBoxVisible()) {
        if (gForenameBox)
            gForenameBox->ClearBox();
    } else if (boxes.DistrictBoxVisible()) {
        if (gDistrictBox)
            gDistrictBox->ClearBox();
    }
}

void Form1::mnuDelWord_Click()
{
    EntryBoxes &boxes = Boxes();
    if (boxes.RichTextboxVisible()) {
        if (gRichTextbox)
            gRichTextbox->DeleteLastWord();
    } else if (boxes.ForenameBoxVisible()) {
        if (gForenameBox)
            gForenameBox->DelWord();
    } else if (boxes.DistrictBoxVisible()) {
        if (gDistrictBox)
            gDistrictBox->DelWord();
    }
}

void Form1::mnuCopySurname_Click()
{
    if (!gTranscription || !gRichTextbox || !mRichBox->Visible())
        return;
    const Transcription &t = *gTranscription;
    if (!isKind(gCurrentCol, t.MotherCol()) && !isKind(gCurrentCol, t.SpouseCol()))
        return;
    const QString surname = VbTrim(mGrid->TextMatrix(gCurrentRow, t.SurnameCol()));
    if (surname.isEmpty())
        return;
    mRichBox->setText(surname);
    gRichTextbox->Incr_Cell(false);
}

// ---- Finding cells -------------------------------------------------------------------

void Form1::mnuFindEmpty_Click()
{
    if (MenusBlocked())
        return;
    FlexGrid &grid = *mGrid;
    const int col = grid.Col();
    int row = gCurrentRow;
    // Every other row once, from the one below, wrapping to the top.
    for (int n = 1; n < grid.Rows(); ++n) {
        ++row;
        if (row >= grid.Rows())
            row = 1;
        if (row == gCurrentRow)
            break;
        if (isLineRow(grid, row))
            continue;
        if (VbTrim(grid.TextMatrix(row, col)).isEmpty()) {
            grid.setRow(row);
            return;
        }
    }
    BeepIfEnabled();
    Boxes().GiveFocusBack();
    mShowStatus->ShowMsg(QStringLiteral("No Empty cell"), false, true);
}

void Form1::mnuFindWarning_Click()
{
    if (MenusBlocked())
        return;
    FlexGrid &grid = *mGrid;
    Transcription &t = *gTranscription;
    int row = gCurrentRow;
    int startCol = gCurrentCol + 1;
    if (startCol > gLastCol) {
        startCol = 1;
        ++row;
    }
    for (; row >= 1 && row < grid.Rows(); ++row, startCol = 1) {
        if (isLineRow(grid, row))
            continue;
        while (startCol <= gLastCol) {
            const int from = startCol;
            const Transcription::RowFinding found = t.CheckRow(row, startCol);
            if (!found.text.isEmpty() || found.sequence || found.col > 0 || found.questionMark) {
                const int target = found.sequence || found.col < 1 ? 1 : found.col;
                MoveToFoundCell(row, target);
                BeepIfEnabled();
                if (found.sequence)
                    mShowStatus->ShowMsg(QStringLiteral("Out of Sequence"), false, true);
                else if (!found.questionMark)
                    mShowStatus->ShowMsg(found.text.isEmpty() ? QStringLiteral("Blank")
                                                              : found.text,
                                         true);
                else
                    mShowStatus->ShowMsg(QStringLiteral("? Must be only character in field"),
                                         true);
                return;
            }
            if (startCol <= from)
                break;
        }
    }
    mShowStatus->ShowMsg(QStringLiteral("No more Errors"), false, true);
    Set_TextBox();
}

void Form1::mnuFindPageStart_Click()
{
    if (MenusBlocked())
        return;
    FlexGrid &grid = *mGrid;
    const int current = grid.Row();
    if (current >= 3) {
        // The line directly above is passed over: from a page's first entry
        // the command goes on to the start of the page before.
        for (int row = current - 2; row >= 1; --row) {
            const QString text = VbUCase(grid.TextMatrix(row, 1));
            if (text.size() > 4 && text.startsWith(QLatin1String("+PAGE"))) {
                {
                    EventsOffGuard quiet;
                    gTranscription->PositionGrid(row, false);
                }
                grid.setRow(row + 1);
                break;
            }
        }
    }
    Set_TextBox();
}

// ---- Moving one column's cells ------------------------------------------------------

QList<int> Form1::ShiftableRows(int fromRow, int col) const
{
    // A "+" or "#" line keeps only its column-1 text: an entry moved into
    // another of its cells would be dropped when the batch is saved.
    QList<int> rows;
    for (int row = fromRow; row < mGrid->Rows(); ++row) {
        if (col == 1 || !isLineRow(*mGrid, row))
            rows << row;
    }
    return rows;
}

void Form1::mnuInsertDown_Click()
{
    if (MenusBlocked())
        return;
    FlexGrid &grid = *mGrid;
    const int col = grid.Col();
    {
        EventsOffGuard quiet;
        gTranscription->AddRow();
        QList<int> rows = ShiftableRows(gCurrentRow, col);
        const bool redraw = grid.Redraw();
        grid.setRedraw(false);
        for (qsizetype i = rows.size() - 1; i >= 1; --i)
            grid.setTextMatrix(rows[i], col, grid.TextMatrix(rows[i - 1], col));
        grid.setTextMatrix(gCurrentRow, col, QString());
        grid.setRedraw(redraw);
        rows << gCurrentRow;
        saveRows(rows);
        markChanged();
    }
    Set_TextBox();
}

void Form1::mnuInsertUp_Click()
{
    if (MenusBlocked())
        return;
    FlexGrid &grid = *mGrid;
    const int col = grid.Col();
    {
        WaitCursor hourglass;
        EventsOffGuard quiet;
        if (!grid.TextMatrix(gCurrentRow, col).isEmpty()) {
            BeepIfEnabled();
            mShowStatus->ShowMsg(QStringLiteral("Cell must be blank"), true);
        } else {
            QList<int> rows = ShiftableRows(gCurrentRow, col);
            const bool redraw = grid.Redraw();
            grid.setRedraw(false);
            for (qsizetype i = 1; i < rows.size(); ++i)
                grid.setTextMatrix(rows[i - 1], col, grid.TextMatrix(rows[i], col));
            const int emptied = rows.isEmpty() ? gCurrentRow : rows.last();
            grid.setTextMatrix(emptied, col, QString());
            grid.setRedraw(redraw);
            const int last = grid.Rows() - 1;
            if (emptied == last && gTranscription->IsRowBlank(last)) {
                rows.removeLast();
                saveRows(rows);
                if (gWorkFile)
                    gWorkFile->DeleteWorkRow(last);
                gTranscription->DeleteRow(last);
                gCurrentRow = grid.Row();
            } else {
                if (rows.isEmpty())
                    rows << emptied;
                saveRows(rows);
            }
        }
        markChanged();
    }
    Set_TextBox();
}

void Form1::mnuInsertDown2_Click()
{
    {
        EventsOffGuard quiet;
        mGrid->setRowCol(gCurrentRow, gCurrentCol);
    }
    mnuInsertDown_Click();
}

void Form1::mnuDellUp_Click()
{
    {
        EventsOffGuard quiet;
        mGrid->setRowCol(gCurrentRow, gCurrentCol);
    }
    mnuInsertUp_Click();
}

// ---- Whole rows ------------------------------------------------------------------------

void Form1::mnuInsertRow_Click()
{
    if (MenusBlocked())
        return;
    gTranscription->InsertRow(gCurrentRow);
    Boxes().GiveFocusBack();
}

void Form1::mnuDelRow_Click()
{
    if (MenusBlocked())
        return;
    {
        WaitCursor hourglass;
        EventsOffGuard quiet;
        gTranscription->DeleteRow(gCurrentRow);
        // Offered while a deleted row is held, also one of an earlier
        // deletion when this one was declined.
        if (QAction *replace = MenuItem(QStringLiteral("mnuReplaceRow")))
            replace->setVisible(gTranscription->DeletedRowHeld());
        gCurrentRow = mGrid->Row();
    }
    Set_TextBox();
}

void Form1::mnuReplaceRow_Click()
{
    // The row comes back above the open cell: that cell must be finished
    // first, as for any other inserted row.
    if (MenusBlocked())
        return;
    gTranscription->UndoDeleteRow(gCurrentRow);
    gCurrentRow = mGrid->Row();
    Set_TextBox();
    if (QAction *replace = MenuItem(QStringLiteral("mnuReplaceRow")))
        replace->setVisible(false);
}

void Form1::ForgetDeletedRow()
{
    if (gTranscription)
        gTranscription->ForgetDeletedRow();
    if (QAction *replace = MenuItem(QStringLiteral("mnuReplaceRow")))
        replace->setVisible(false);
}

// ---- Letting one entry through unchecked ---------------------------------------------------

void Form1::mnuValidateEntry_Click()
{
    QAction *item = MenuItem(QStringLiteral("mnuValidateEntry"));
    if (!item || !gTranscription || !gProject)
        return;
    // The click has moved the mark already; the command decides it.
    const bool wasChecked = !item->isChecked();
    item->setChecked(wasChecked);
    if (isKind(gCurrentCol, gTranscription->DistrictCol()))
        SkipValidation(*item, false);
    else if (isKind(gCurrentCol, gTranscription->PageCol()))
        SkipValidation(*item, true);
}

void Form1::SkipValidation(QAction &item, bool page)
{
    Transcription &t = *gTranscription;
    Project &p = *gProject;
    const int row = gCurrentRow;
    const auto validate = [&](bool on) {
        item.setChecked(!on);
        if (page)
            on ? t.SetPageValidated(row) : t.SetPageNotValidated(row);
        else
            on ? t.SetDistrictValidated(row) : t.SetDistrictNotValidated(row);
    };
    if (item.isChecked()) {
        validate(true);
        return;
    }
    if (page ? p.PageWarned() : p.DistWarned()) {
        validate(false);
        return;
    }
    const QString what = page ? QStringLiteral("Page Number") : QStringLiteral("District Name");
    const QString prompt =
        (page ? QStringLiteral("This option will prevent Pelkar from doing any validation on "
                               "this Page Number.")
              : QStringLiteral("This option will prevent Pelkar from doing any validation on "
                               "this District and Volume Number."))
        + kCrLf + QStringLiteral("This may result in a file which cannot be uploaded if you enter ")
        + QStringLiteral("an invalid ") + what + QStringLiteral(".") + kCrLf
        + QStringLiteral("Are you certain this is what you want to do?");
    const bool yes = ShowMessage(prompt, Mb::YesNo | Mb::Exclamation, kProductName) == Mb::Yes;
    validate(!yes);
    if (yes && page)
        p.setPageWarned(true);
}
