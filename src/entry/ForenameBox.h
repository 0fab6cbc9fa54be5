#pragma once

// The forename box: edits the forenames cell of a grid row through the main
// window's rich-text box tbForeName. While the transcriber types it cases
// each typed character by the forename rule, fills the pick list with the
// matching forenames, shows the rest of the first match as grey ghost text
// after the caret, takes pick-list rows by their numbers, copies the
// previous entry's forenames word by word, and on leaving offers forenames
// that the forename file lacks. Unlike the general box it does not write
// the grid on every keystroke: it writes the cell it was opened on, by flat
// index, when a name is added, when it moves on, when it is emptied and
// when it is validated.
//
// One program-wide instance, gForenameBox. The rich-text box and the grid
// are not owned.

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>

class FlexGrid;
#include "entry/RichTextBox.h"

class ForenameBox : public QObject
{
    Q_OBJECT

public:
    explicit ForenameBox(QObject *parent = nullptr);
    ~ForenameBox() override;

    // The rich-text box (tbForeName): binding connects its Change (run only
    // while events are not suppressed), KeyDown and KeyPress here; nullptr
    // unbinds. While none is bound every operation does nothing.
    void setControl(RichTextBox *box);
    RichTextBox *control() const { return mBox; }
    // The grid (fgInput); while none is set, gTranscription's grid.
    void setGrid(FlexGrid *grid) { mGrid = grid; }
    FlexGrid *grid() const;
    // The grid column the box serves.
    int Column() const { return mColumn; }
    void setColumn(int col) { mColumn = col; }

    // The cell the box was opened on.
    int CellRow() const { return mCellRow; }
    int CellIndex() const { return mCellIndex; }
    QString GhostName() const { return mGhostName; }
    QString PickDigits() const { return mPickDigits; }
    QString TextBeforeAdd() const { return mTextBeforeAdd; }

    // Opens the box over the grid's current cell with its text.
    void Show();
    // The leave check: offers new forenames for the forename file and
    // writes the cell. False keeps the grid on the box's cell (Cancel in an
    // offer, a refused text); the transcriber has been told why.
    bool Validate();
    // The event handlers.
    void Change();
    void KeyDown(int &KeyCode, int Shift);
    void KeyPress(int &KeyAscii);
    // A pick-list row (clicked or chosen by number) or a paste text: it
    // replaces the word being typed; the cell is written.
    void AddText(const QString &text);
    // The typed text: the box text less its grey tail. Saves the caret.
    QString RealText();
    // The Formatting and Edit menus' case commands.
    void CaseChange();
    void UpperCase();
    void LowerCase();
    void InvertCase();
    void ProperCase();
    // A character from the character picker, inserted at the caret.
    void SpecialChar(const QString &character);
    // Fill down (up false) or up from the typed text.
    void Fillit(bool up);
    // F9: the last word deleted; Shift+F9: the box emptied.
    void DelWord();
    void ClearBox();
    void HideRtb();

    // The help topic of the box, given when the main window is built.
    int HelpContextID() const { return mHelpContextID; }
    void setHelpContextID(int id) { mHelpContextID = id; }

private:
    void changeHandler();
    // The first p + 1 characters made typed text; the caret at p.
    void UncolourForenameText(int p);
    void MoveToNextForenameCell(int direction);
    void CompleteFromPreviousName();
    void FillForenamePickList();
    void ForenameGhostMatch();
    QString WordAtCaret() const;
    bool OfferNewForename();
    void placeBox();
    void placeForOverSize();
    void pickNumber(int digit);
    void writeCell(const QString &text);
    // Replaces the selection (or, without one, the whole typed text) by
    // convert's result; then as the case commands end.
    template<typename Convert>
    void convertSelection(Convert convert);

    QPointer<RichTextBox> mBox;
    FlexGrid *mGrid = nullptr;
    QList<QMetaObject::Connection> mConnections;
    int mColumn = 2;
    int mCellRow = 0;
    int mCellIndex = 0;
    int mSavedCaret = 0;
    QString mGhostName;
    QString mTextBeforeAdd;
    QString mPickDigits;
    int mHelpContextID = 0;
    // A character accepted by KeyPress is on its way into the text: the
    // next Change cases it (see myRichTextbox).
    bool mTypedPending = false;
    bool mTypedPasted = false;
};

// Cuts text into pieces that each end with one of separators (kept in its
// piece); the last piece holds what follows the last separator and may be
// empty.
QStringList SplitKeepingSeparators(const QString &text, const QString &separators);
