#include "entry/myRichTextbox.h"

#include "core/Globals.h"
#include "core/MessageWindows.h"
#include "core/Project.h"
#include "core/Services.h"
#include "core/VbHelpers.h"
#include "core/clsEvents.h"
#include "entry/EntryBoxHelpers.h"
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

} // namespace

using namespace EntryBoxHelpers;

myRichTextbox::myRichTextbox(QObject *parent) : QObject(parent) {}

myRichTextbox::~myRichTextbox()
{
    setARTB(nullptr);
}

void myRichTextbox::setARTB(RichTextBox *box)
{
    disconnectAll(mConnections);
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
    return gridOrTranscriptions(mGrid);
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
    if (shiftInverts && Services::shiftHeld())
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
    // Entries start at row 2: before its first cell comes its last.
    row = std::max(row, 2);
    moveTo(row, col);
}

void myRichTextbox::Fillit(bool up)
{
    if (mBox && gTranscription)
        fillWith(mBox->Text(), up);
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
