#pragma once

// The general entry box: the editor of every grid column that is neither the
// forenames nor the district column (surname, age at death, date of birth,
// mother's and spouse's names, page, and the "+" and "#" lines typed into
// the surname column). It handles the events of the main window's rich-text
// box rtb1 while the cell-entry loop keeps that box over the current cell,
// and writes the grid's current cell on every change of its text. It cases
// each typed character by the column's case mode, refuses what the column
// does not allow, moves between cells with the navigation keys, copies the
// previous row's value, fills down or up, and relays the scan-viewer keys.
//
// One program-wide instance, gRichTextbox. The rich-text box and the grid
// are not owned.

#include <QObject>
#include <QPointer>
#include <QString>

class FlexGrid;
#include "entry/RichTextBox.h"

class myRichTextbox : public QObject
{
    Q_OBJECT

public:
    explicit myRichTextbox(QObject *parent = nullptr);
    ~myRichTextbox() override;

    // The rich-text box whose events this handles (rtb1): binding connects
    // its Change, KeyDown, KeyPress, MouseUp and GotFocus here; nullptr
    // unbinds. While none is bound every operation does nothing.
    void setARTB(RichTextBox *box);
    RichTextBox *aRTB() const { return mBox; }
    // The grid (fgInput); while none is set, gTranscription's grid.
    void setFlexgrid(FlexGrid *grid) { mGrid = grid; }
    FlexGrid *flexgrid() const;

    // Appends a numbered paste text, cased as if typed into an empty box
    // unless Project's DontformatPaste is on; writes the current cell.
    void AddText(const QString &text);
    // The box text re-cased by the column's case option (after the
    // Formatting menu re-cased the column).
    void CaseChange(int col);
    // With events suppressed: empty, caret at 0, no selection.
    void Clear();
    void HideRtb();
    // Fill down (up false) or up from the box text; an empty box is told
    // "You can't fill with an empty field - type something first".
    void Fillit(bool up);
    // The next cell (by the Right arrow: byArrow) and the previous one, with
    // one EnterCell for the move. The row stays 2 or more: before grid row
    // 2's first cell comes its last.
    void Incr_Cell(bool byArrow);
    void Decr_Cell();

    // The case rule for the one character at p (from 1; the character just
    // typed, before the caret) by the current column's case mode. With
    // shiftInverts, Shift held down (read from the keyboard) inverts it.
    // The page and age-at-death columns and "+" and "#" lines are never
    // cased.
    QString ConvertCaseKeys(const QString &text, int p, bool shiftInverts = true) const;
    // The character rules of the current column: false (and KeyAscii 0)
    // refuses the character, after the beep or the row message.
    bool CheckSpecialCharacter(int &KeyAscii);
    // The age-at-death warning for a batch year before 1865, once a run.
    void WarnDeathAgeBefore1865();

    // F9 and the Edit menu: the last word, or the whole cell, deleted.
    void DeleteLastWord();
    void ClearCurrentCell();

    // The help topic of the field being edited.
    int HelpContextID() const { return mHelpContextID; }
    // Sets HelpContextID from gCurrentCol by the column map; the forenames
    // and district columns leave it as it is.
    void SetHelpContext();

    // The event handlers.
    void aRTB_Change();
    void aRTB_KeyDown(int &KeyCode, int Shift);
    void aRTB_KeyPress(int &KeyAscii);
    void aRTB_MouseUp(int Button, int Shift, int x, int y);
    void aRTB_GotFocus();

private:
    QString boxText() const;
    int currentCol() const;
    int currentRow() const;
    // The case letter of the column ("U", "L", "M", "D").
    QString CaseModeOf(int col) const;
    // Moves the grid's current cell to (row, col) with one EnterCell.
    void moveTo(int row, int col);
    // "+CREDIT" text: true when it was one (moved one column right when
    // valid).
    bool creditMove();
    // The verdict of CheckSpecialCharacter without the beep; quiet: a
    // refusal that must not beep (the row message was shown, or a digit in
    // an empty surname box, which copies the row above instead).
    bool checkCharacter(int code, bool &quiet);
    bool surnameCharacter(QChar c, bool &rowMessageShown);
    bool nameCharacter(QChar c) const;
    void copyPreviousValue(int digit);
    void backspace(int &KeyCode);
    void tabOrEnter(int &KeyCode, int Shift);
    void pageKey(bool down);
    void placeForOverSize();

    QPointer<RichTextBox> mBox;
    FlexGrid *mGrid = nullptr;
    QList<QMetaObject::Connection> mConnections;
    int mHelpContextID = 0;
    // A character accepted by KeyPress is on its way into the text: the
    // next Change cases it. Deletions and other edits are left as they are.
    bool mTypedPending = false;
    bool mTypedPasted = false;
};

// Makes the row current: gCurrentRow, then the grid's Row.
void GoToRow(int row);
