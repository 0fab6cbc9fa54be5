#include "entry/myRichTextbox.h"

#include "core/Globals.h"
#include "core/MessageWindows.h"
#include "core/Project.h"
#include "core/Services.h"
#include "core/VbHelpers.h"
#include "core/clsEvents.h"
#include "entry/EntryBoxText.h"
#include "entry/EntryBoxWindow.h"
#include "entry/FlexGrid.h"
#include "entry/RichTextBox.h"
#include "entry/VbKeyCodes.h"
#include "lists/PickListSink.h"
#include "transcription/Change_Monitor.h"
#include "transcription/EntryBoxes.h"
#include "transcription/Transcription.h"

#include <algorithm>

using namespace VbKeys;

namespace {

const QString kCrLf = QStringLiteral("\r\n");

bool isKind(int col, int kindCol)
{
    return kindCol >= 1 && col == kindCol;
}

bool isLetter(QChar c)
{
    return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z');
}

bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

bool scanShown()
{
    return gProject && gProject->ScanOn();
}

void changed()
{
    if (gChangeMonitor)
        gChangeMonitor->Changed();
}

} // namespace

myRichTextbox::myRichTextbox(QObject *parent) : QObject(parent) {}

myRichTextbox::~myRichTextbox()
{
    setARTB(nullptr);
}

void myRichTextbox::setARTB(RichTextBox *box)
{
    for (const auto &connection : std::as_const(mConnections))
        disconnect(connection);
    mConnections.clear();
    mBox = box;
    if (!box)
        return;
    mConnections << connect(box, &RichTextBox::Change, this, &myRichTextbox::aRTB_Change)
                 << connect(box, &RichTextBox::KeyDown, this, &myRichTextbox::aRTB_KeyDown)
                 << connect(box, &RichTextBox::KeyPress, this, &myRichTextbox::aRTB_KeyPress)
                 << connect(box, &RichTextBox::MouseUp, this, &myRichTextbox::aRTB_MouseUp)
                 << connect(box, &RichTextBox::GotFocus, this, &myRichTextbox::aRTB_GotFocus);
}

FlexGrid *myRichTextbox::flexgrid() const
{
    if (mGrid)
        return mGrid;
    return gTranscription ? gTranscription->grid() : nullptr;
}

QString myRichTextbox::boxText() const
{
    return mBox ? mBox->Text() : QString();
}

int myRichTextbox::currentCol() const
{
    const FlexGrid *grid = flexgrid();
    return grid ? grid->Col() : 0;
}

int myRichTextbox::currentRow() const
{
    const FlexGrid *grid = flexgrid();
    return grid ? grid->Row() : 0;
}

QString myRichTextbox::CaseModeOf(int col) const
{
    if (!gProject || !gTranscription)
        return QStringLiteral("M");
    if (isKind(col, gTranscription->SurnameCol()))
        return gProject->SurnameCase();
    if (isKind(col, gTranscription->MotherCol()))
        return gProject->MotherNameCase();
    if (isKind(col, gTranscription->SpouseCol()))
        return gProject->SpouseNameCase();
    if (isKind(col, gTranscription->DoBCol()))
        return gProject->DoBCase();
    return QStringLiteral("M");
}

// ---- The case rule --------------------------------------------------------

QString myRichTextbox::ConvertCaseKeys(const QString &text, int p, bool shiftInverts) const
{
    const int col = currentCol();
    if (gTranscription
        && (isKind(col, gTranscription->PageCol()) || isKind(col, gTranscription->AaDCol())))
        return text;
    if (Transcription::BeginsAsCommentLine(text))
        return text;
    if (p < 1 || p > text.size())
        return text;
    const QString mode = CaseModeOf(col);
    bool upper = false;
    if (mode == QLatin1String("U"))
        upper = true;
    else if (mode == QLatin1String("L"))
        upper = false;
    else if (mode == QLatin1String("M"))
        upper = p == 1 || IsCaseSeparator(text.at(p - 2));
    else
        return text;
    if (shiftInverts && Services::input().shiftDown())
        upper = !upper;
    QString out = text;
    QChar &c = out[p - 1];
    c = upper ? c.toUpper() : c.toLower();
    return out;
}

// ---- Text changed -----------------------------------------------------------

void myRichTextbox::aRTB_Change()
{
    if (!mBox || (gEvents && gEvents->NoEvents()))
        return;
    FlexGrid *grid = flexgrid();
    const int p = mBox->SelStart();
    QString text = mBox->Text();
    // Only a character just typed (or pasted) is cased: casing whatever
    // stands before the caret after a deletion would change text already
    // entered ("McDo" less its "o" is "McD", not "Mcd").
    if (mTypedPending)
        text = ConvertCaseKeys(text, p, !mTypedPasted);
    mTypedPending = false;
    {
        EventsOffGuard quiet;
        if (grid)
            grid->setText(text);
        if (text != mBox->Text()) {
            mBox->setText(text);
            mBox->setSelStart(p);
        }
    }
    placeForOverSize();
    changed();

    if (!gTranscription)
        return;
    const int col = currentCol();
    if (isKind(col, gTranscription->SurnameCol())) {
        gTranscription->RenumberAllRows(currentRow());
        PickList().PickClear();
    } else if (isKind(col, gTranscription->MotherCol()) || isKind(col, gTranscription->SpouseCol())
               || isKind(col, gTranscription->PageCol())) {
        PickList().PickClear();
    } else if (isKind(col, gTranscription->AaDCol())) {
        WarnDeathAgeBefore1865();
        PickList().PickClear();
    }
}

void myRichTextbox::placeForOverSize()
{
    const FlexGrid *grid = flexgrid();
    if (!mBox || !grid || !gProject || !gProject->OverSize() || !gTranscription)
        return;
    int left = 0;
    int width = 0;
    gTranscription->GetBoxPosition(mBox->Text(), left, width, grid->Font());
    mBox->Move(BoxWindow().GridOrigin().x() + left, mBox->Top(), width);
}

void myRichTextbox::WarnDeathAgeBefore1865()
{
    if (!gProject || gProject->iYear() >= 1865 || gAgeWarningShown)
        return;
    ShowMessage(QStringList{
                    QStringLiteral("Warning... Prior to 1865, Death records did not contain Age "
                                   "at Death information"),
                    QStringLiteral("You can enter the information if you wish but there is no "
                                   "guarantee that Quorvel"),
                    QStringLiteral("will accept the information - currently (Feb 2005) their "
                                   "website states that the field"),
                    QStringLiteral("should be blank."),
                }
                    .join(kCrLf),
                Mb::Information, kProductName);
    gAgeWarningShown = true;
    Boxes().GiveFocusBack();
}

// ---- Character rules ------------------------------------------------------------

bool myRichTextbox::surnameCharacter(QChar c, bool &rowMessageShown)
{
    const QString text = boxText();
    const int caret = mBox ? mBox->SelStart() : 0;
    const QString left = text.left(caret);
    if (isLetter(c))
        return true;
    if (c == u']')
        return Transcription::CheckSquareBracket(left);
    if (QStringLiteral("_[*{}").contains(c))
        return true;
    if (c == u'?') {
        const FlexGrid *grid = flexgrid();
        return gTranscription->CheckQM((grid ? grid->Text() : text) + u'?', false);
    }
    if (QStringLiteral("-.' ").contains(c))
        return true;
    if (c == u'+' || c == u'#') {
        const FlexGrid *grid = flexgrid();
        if (caret != 0 || !grid)
            return false;
        const int row = grid->Row();
        for (int col = 2; col < grid->Cols(); ++col) {
            if (!VbTrim(grid->TextMatrix(row, col)).isEmpty()) {
                ShowMessage(QStringLiteral("The rest of this row must be blank first"),
                            Mb::Critical, kProductName);
                Boxes().GiveFocusBack();
                rowMessageShown = true;
                return false;
            }
        }
        return true;
    }
    if (c == u'(')
        return true;
    if (c == u')')
        return Transcription::CheckRoundBracket(left);
    return false;
}

bool myRichTextbox::nameCharacter(QChar c) const
{
    const QString text = boxText();
    const int caret = mBox ? mBox->SelStart() : 0;
    if (isLetter(c) || QStringLiteral("_[*?{}-.' (").contains(c))
        return true;
    if (c == u']')
        return Transcription::CheckSquareBracket(text.left(caret));
    if (c == u')')
        return Transcription::CheckRoundBracket(text.left(caret));
    if (isDigit(c) || c == u',')
        return InsideBraces(text, caret);
    return false;
}

bool myRichTextbox::CheckSpecialCharacter(int &KeyAscii)
{
    bool quiet = false;
    const bool accepted = checkCharacter(KeyAscii, quiet);
    if (!accepted) {
        if (!quiet)
            BeepIfEnabled();
        KeyAscii = 0;
    }
    return accepted;
}

bool myRichTextbox::checkCharacter(int code, bool &quiet)
{
    quiet = false;
    if (code == vbKeyBack)
        return true;
    // What a batch line cannot hold is refused in every column, typed or
    // pasted: a double quote would break the line's fields apart.
    if (!IsStorableCharacter(code) || !gTranscription || !mBox)
        return false;
    const QChar c = CharacterOf(code);
    const int col = currentCol();
    const QString text = boxText();
    const int caret = mBox->SelStart();

    if (isKind(col, gTranscription->SurnameCol())) {
        if ((isDigit(c) || c == u',') && !InsideBraces(text, caret) && VbTrim(text).isEmpty()) {
            // A digit in an empty box copies the row above instead.
            quiet = true;
            return false;
        }
        bool rowMessage = false;
        if (surnameCharacter(c, rowMessage))
            return true;
        if (rowMessage) {
            quiet = true;
            return false;
        }
        if (isDigit(c) || c == u',') {
            if (InsideBraces(text, caret))
                return true;
        }
        return IsPageOrCommentRow(col, c);
    }
    if (isKind(col, gTranscription->MotherCol()) || isKind(col, gTranscription->SpouseCol()))
        return nameCharacter(c);
    if (isKind(col, gTranscription->AaDCol())) {
        if (!CheckLeadingHyphen(text + c))
            return false;
        if (c == u'm' && int(text.indexOf(u'm')) + 1 == int(text.size()))
            return false;
        return true;
    }
    if (isKind(col, gTranscription->DoBCol()))
        return true;
    if (isKind(col, gTranscription->PageCol())) {
        if (!gProject || !gProject->PageValidate())
            return true;
        if (isDigit(c) || isLetter(c) || QStringLiteral(", &'/_[*?{}").contains(c))
            return true;
        if (c == u']')
            return Transcription::CheckSquareBracket(text.left(caret));
        return false;
    }
    return false;
}

// ---- Typed characters -------------------------------------------------------------

void myRichTextbox::aRTB_KeyPress(int &KeyAscii)
{
    mTypedPending = false;
    if (!mBox)
        return;
    EventsOffGuard quiet;
    if (KeyAscii == vbKeyTab || KeyAscii == vbKeyReturn) {
        KeyAscii = 0;
        return;
    }
    const bool digit = KeyAscii >= '0' && KeyAscii <= '9';
    bool silent = false;
    if (checkCharacter(KeyAscii, silent)) {
        if (KeyAscii >= 32) {
            mTypedPending = true;
            mTypedPasted = mBox->pasting();
        }
        return;
    }
    const int code = KeyAscii;
    KeyAscii = 0;
    if (digit && VbTrim(boxText()).isEmpty()) {
        copyPreviousValue(code - '0');
        return;
    }
    if (!silent)
        BeepIfEnabled();
}

void myRichTextbox::copyPreviousValue(int digit)
{
    FlexGrid *grid = flexgrid();
    if (!grid || !gTranscription || grid->Row() < 3) {
        BeepIfEnabled();
        return;
    }
    QString previous = gTranscription->GetPreviousName(grid->Row());
    if (previous.isEmpty()
        || (isKind(grid->Col(), gTranscription->SurnameCol())
            && Transcription::BeginsAsCommentLine(previous))) {
        BeepIfEnabled();
        return;
    }
    if (digit != 0 && digit < previous.size())
        previous = previous.left(digit);
    EventsOffGuard quiet;
    mBox->setText(previous);
    grid->setText(previous);
    mBox->setSelStart(int(previous.size()));
    // The cell changed like any typed one: its row must reach the work file.
    changed();
}

// ---- Keys ---------------------------------------------------------------------------

void myRichTextbox::aRTB_KeyDown(int &KeyCode, int Shift)
{
    mTypedPending = false;
    FlexGrid *grid = flexgrid();
    if (!mBox || !grid || !gTranscription)
        return;
    if (KeyCode >= vbKeyA && KeyCode <= vbKeyA + 25)
        return;
    const int row = grid->Row();
    const int col = grid->Col();
    const int lastCol = grid->Cols() - 1;
    const bool atStart = mBox->SelStart() == 0 && mBox->SelLength() == 0;

    switch (KeyCode) {
    case vbKeyBack:
        backspace(KeyCode);
        return;
    case vbKeyTab:
    case vbKeyReturn:
        tabOrEnter(KeyCode, Shift);
        return;
    case vbKeyPageUp:
    case vbKeyPageDown: {
        const bool down = KeyCode == vbKeyPageDown;
        KeyCode = 0;
        pageKey(down);
        return;
    }
    case vbKeyHome:
        KeyCode = 0;
        moveTo(row, gCurrentCol == 1 ? lastCol : 1);
        return;
    case vbKeyLeft:
        if (Shift & vbShiftMask) {
            KeyCode = 0;
            if (scanShown())
                BoxScan().ScrollLeft();
        } else if (atStart && col >= 2) {
            KeyCode = 0;
            moveTo(row, col - 1);
        } else if (atStart && col == 1 && row >= 3) {
            KeyCode = 0;
            moveTo(row - 1, lastCol);
        }
        return;
    case vbKeyRight:
        if (Shift & vbShiftMask) {
            KeyCode = 0;
            if (scanShown())
                BoxScan().ScrollRight();
        } else if (mBox->SelStart() + mBox->SelLength() >= mBox->Text().size()) {
            KeyCode = 0;
            if (!creditMove())
                Incr_Cell(true);
        }
        return;
    case vbKeyUp:
        KeyCode = 0;
        if (Shift & vbShiftMask) {
            if (scanShown())
                BoxScan().ScrollUp();
        } else if (Shift & vbCtrlMask) {
            if (scanShown())
                BoxScan().MoveRuler1Line(true);
        } else if (Shift & vbAltMask) {
            if (scanShown())
                BoxScan().ScrollPage(0);
        } else if (row >= 3) {
            moveTo(row - 1, col);
        }
        return;
    case vbKeyDown:
        KeyCode = 0;
        if (Shift & vbShiftMask) {
            if (scanShown())
                BoxScan().ScrollDown();
        } else if (Shift & vbCtrlMask) {
            if (scanShown())
                BoxScan().MoveRuler1Line(false);
        } else if (Shift & vbAltMask) {
            if (scanShown())
                BoxScan().ScrollPage(2);
        } else if (!creditMove()) {
            if (row == grid->Rows() - 1 && !gTranscription->IsRowBlank(row))
                gTranscription->AddRow();
            if (row + 1 < grid->Rows())
                moveTo(row + 1, col);
        }
        return;
    case vbKeyInsert:
        KeyCode = 0;
        Fillit(Services::input().shiftDown());
        return;
    case vbKeyF1 + 3: {
        KeyCode = 0;
        const bool nameColumn = isKind(col, gTranscription->SurnameCol())
                                || isKind(col, gTranscription->ForenamesCol())
                                || isKind(col, gTranscription->MotherCol())
                                || isKind(col, gTranscription->SpouseCol());
        if (Shift == 0 && nameColumn)
            BoxPicker().Wakeup();
        else
            BeepIfEnabled();
        return;
    }
    case vbKeyF1 + 8:
        KeyCode = 0;
        if (Shift == 0)
            DeleteLastWord();
        else if (Shift == vbShiftMask)
            ClearCurrentCell();
        return;
    case vbKeyF1 + 10:
    case vbKeyF1 + 11:
        if (Shift == 0) {
            if (KeyCode == vbKeyF1 + 10)
                BoxWindow().mnuZoomIn_Click();
            else
                BoxWindow().mnuZoomOut_Click();
        }
        KeyCode = 0;
        return;
    default:
        return;
    }
}

void myRichTextbox::backspace(int &KeyCode)
{
    FlexGrid *grid = flexgrid();
    // With a selection the box's own Backspace removes it, and nothing more.
    if (mBox->SelLength() > 0 || mBox->SelStart() > 0)
        return;
    if (!mBox->Text().isEmpty() || !grid->Text().isEmpty()) {
        EventsOffGuard quiet;
        mBox->setText(QString());
        grid->setText(QString());
        changed();
        return;
    }
    KeyCode = 0;
    const int row = grid->Row();
    const int col = grid->Col();
    const bool vertical = gProject && gProject->VerticalTab();
    if (col >= 2) {
        if (!vertical)
            moveTo(row, col - 1);
        else if (row > 2) // row 1 is never entered
            moveTo(row - 1, col);
        else
            BeepIfEnabled();
    } else if (col == 1 && row >= 3) {
        moveTo(row - 1, vertical ? col : grid->Cols() - 1);
    }
}

void myRichTextbox::tabOrEnter(int &KeyCode, int Shift)
{
    FlexGrid *grid = flexgrid();
    KeyCode = 0;
    if (mBox->SelLength() > 0) {
        EventsOffGuard quiet;
        mBox->setSelStart(mBox->SelStart() + mBox->SelLength());
        grid->setText(mBox->Text());
    }
    const int row = grid->Row();
    const int col = grid->Col();
    if (row >= 3 && VbTrim(mBox->Text()).isEmpty() && !isKind(col, gTranscription->PageCol())) {
        const QString previous = gTranscription->GetPreviousName(row);
        if (!previous.isEmpty()) {
            EventsOffGuard quiet;
            grid->setTextArray(gTranscription->faIndex(row, col), previous);
            mBox->setText(previous);
            changed();
        }
    }
    if (Shift != 0) {
        Decr_Cell();
        return;
    }
    if (creditMove())
        return;
    Incr_Cell(false);
    if (grid->Col() == gTranscription->SurnameCol() && gProject && gProject->Skip()
        && !gProject->Invalid()) {
        Services::input().sendKey(vbKeyTab, true);
        Services::input().sendKey(vbKeyTab, false);
    }
}

bool myRichTextbox::creditMove()
{
    FlexGrid *grid = flexgrid();
    QString line = mBox->Text();
    if (!VbUCaseStartsWith(line, QLatin1String("+CREDIT")))
        return false;
    if (Transcription::ValidateCredit(line, true) && grid->Col() + 1 < grid->Cols())
        moveTo(grid->Row(), grid->Col() + 1);
    return true;
}

void myRichTextbox::pageKey(bool down)
{
    FlexGrid *grid = flexgrid();
    const int visible = gTranscription->RowsVisible();
    const int target = down ? std::min(grid->TopRow() + visible, grid->Rows() - 1)
                            : std::max(grid->TopRow() - visible, 2);
    grid->setRow(target);
    gTranscription->ScrollGrid(target);
}

void myRichTextbox::moveTo(int row, int col)
{
    FlexGrid *grid = flexgrid();
    if (!grid || (row == grid->Row() && col == grid->Col()))
        return;
    grid->setRowCol(row, col);
}

// ---- Cell moves and fill ----------------------------------------------------------

void myRichTextbox::Incr_Cell(bool byArrow)
{
    FlexGrid *grid = flexgrid();
    if (!mBox || !grid || !gTranscription)
        return;
    int row = grid->Row();
    int col = grid->Col();
    if (isKind(col, gTranscription->SurnameCol())
        && Transcription::BeginsAsCommentLine(mBox->Text())) {
        if (row == grid->Rows() - 1)
            gTranscription->AddRow();
        moveTo(row + 1, 1);
        return;
    }
    if (gProject && gProject->VerticalTab() && !byArrow)
        ++row;
    else
        ++col;
    if (col >= grid->Cols()) {
        col = 1;
        ++row;
    }
    if (row >= grid->Rows()) {
        if (!gTranscription->IsRowBlank(grid->Rows() - 1))
            gTranscription->AddRow();
        row = grid->Rows() - 1;
    }
    moveTo(row, col);
}

void myRichTextbox::Decr_Cell()
{
    FlexGrid *grid = flexgrid();
    if (!grid)
        return;
    int row = grid->Row();
    int col = grid->Col();
    if (gProject && gProject->VerticalTab())
        --row;
    else
        --col;
    if (col < 1) {
        col = grid->Cols() - 1;
        --row;
    }
    // Before the first entry there is no cell to go back to: raising the
    // row to 2 alone would send the first cell to the end of its own row.
    if (row < 2) {
        BeepIfEnabled();
        return;
    }
    moveTo(row, col);
}

void myRichTextbox::Fillit(bool up)
{
    if (!mBox || !gTranscription)
        return;
    const QString text = mBox->Text();
    if (VbTrim(text).isEmpty()) {
        ShowMessage(QStringLiteral("You can't fill with an empty field - type something first"),
                    Mb::Exclamation, kProductName + QStringLiteral(" - Invalid Fill"));
        Boxes().GiveFocusBack();
        return;
    }
    if (up)
        gTranscription->FillUp(text);
    else
        gTranscription->FillDown(text);
}

// ---- Operations of the main window --------------------------------------------------

void myRichTextbox::AddText(const QString &text)
{
    FlexGrid *grid = flexgrid();
    if (!mBox || !grid || !gTranscription)
        return;
    const int index = gTranscription->faIndex(grid->Row(), grid->Col());
    changed();
    {
        EventsOffGuard quiet;
        QString added = text;
        // Cased as if typed into an empty box, without the Shift key: the
        // text is not being typed.
        if (!gProject || !gProject->DontformatPaste()) {
            for (int p = 1; p <= added.size(); ++p)
                added = ConvertCaseKeys(added, p, false);
        }
        mBox->SetFocus();
        mBox->setText(mBox->Text() + added);
        grid->setTextArray(index, mBox->Text());
        mBox->setSelStart(int(mBox->Text().size()));
    }
    gTranscription->RenumberAllRows(grid->Row());
}

void myRichTextbox::CaseChange(int col)
{
    if (!mBox || !gTranscription)
        return;
    EventsOffGuard quiet;
    mBox->setText(gTranscription->ConvertName(mBox->Text(), col));
    mBox->setSelStart(int(mBox->Text().size()));
}

void myRichTextbox::Clear()
{
    if (!mBox)
        return;
    EventsOffGuard quiet;
    mBox->setText(QString());
    mBox->setSelStart(0);
}

void myRichTextbox::HideRtb()
{
    if (mBox)
        mBox->setVisible(false);
}

void myRichTextbox::DeleteLastWord()
{
    FlexGrid *grid = flexgrid();
    if (!mBox || !mBox->Visible() || !grid)
        return;
    EventsOffGuard quiet;
    QString text = VbTrim(mBox->Text());
    const qsizetype space = text.lastIndexOf(u' ');
    text = space >= 0 ? text.left(space + 1) : QString();
    mBox->setText(text);
    grid->setText(text);
    mBox->setSelStart(int(text.size()));
    changed();
}

void myRichTextbox::ClearCurrentCell()
{
    FlexGrid *grid = flexgrid();
    if (!mBox || !mBox->Visible() || !grid)
        return;
    EventsOffGuard quiet;
    Clear();
    grid->setText(QString());
    changed();
    mBox->SetFocus();
}

void myRichTextbox::SetHelpContext()
{
    if (!gTranscription)
        return;
    const int col = gCurrentCol;
    const std::pair<int, int> topics[] = {
        {gTranscription->SurnameCol(), 6135}, {gTranscription->DoBCol(), 6143},
        {gTranscription->AaDCol(), 6138},     {gTranscription->MotherCol(), 6140},
        {gTranscription->PageCol(), 6204},    {gTranscription->SpouseCol(), 6141},
    };
    for (const auto &[kindCol, topic] : topics) {
        if (isKind(col, kindCol)) {
            mHelpContextID = topic;
            return;
        }
    }
}

void myRichTextbox::aRTB_MouseUp(int Button, int, int, int)
{
    FlexGrid *grid = flexgrid();
    if (Button != 2 || !grid || !gTranscription)
        return;
    if (!gTranscription->CheckInvalidEntries(true))
        return;
    grid->setRowCol(gNewRow, gNewCol);
    BoxWindow().Set_TextBox();
    if (BoxWindow().MouseCol() == 0)
        BoxWindow().PopupRowMenu();
    else
        BoxWindow().PopupCellMenu();
}

void myRichTextbox::aRTB_GotFocus()
{
    SetHelpContext();
}

void GoToRow(int row)
{
    gCurrentRow = row;
    if (gTranscription && gTranscription->grid())
        gTranscription->grid()->setRow(row);
}
