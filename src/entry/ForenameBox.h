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

#include <QString>
#include <QStringList>

#include "entry/ListEntryBox.h"

class ForenameBox : public ListEntryBox
{
    Q_OBJECT

public:
    explicit ForenameBox(QObject *parent = nullptr);

    // The edit's state.
    QString GhostName() const { return mGhostName; }
    QString TextBeforeAdd() const { return mTextBeforeAdd; }

    // Opens the box over the grid's current cell with its text.
    void Show() override;
    // The leave check: offers new forenames for the forename file and
    // writes the cell. False keeps the grid on the box's cell (Cancel in an
    // offer, a refused text); the transcriber has been told why.
    bool Validate() override;
    // The event handlers.
    void Change() override;
    void KeyDown(int &KeyCode, int Shift) override;
    void KeyPress(int &KeyAscii) override;
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
    // F9: the last word deleted, the cell written; Shift+F9: the box
    // emptied, the cell untouched until the box is left.
    void DelWord() override;
    void ClearBox() override;

private:
    // The first p + 1 characters made typed text; the caret at p.
    void UncolourForenameText(int p);
    void MoveToNextForenameCell(int direction);
    void CompleteFromPreviousName();
    void FillForenamePickList();
    void ForenameGhostMatch();
    QString WordAtCaret() const;
    bool OfferNewForename();
    void pickNumber(int digit);
    // Replaces the selection (or, without one, the whole typed text) by
    // convert's result; then as the case commands end.
    template<typename Convert>
    void convertSelection(Convert convert);

    QString mGhostName;
    QString mTextBeforeAdd;
};

// Cuts text into pieces that each end with one of separators (kept in its
// piece); the last piece holds what follows the last separator and may be
// empty.
QStringList SplitKeepingSeparators(const QString &text, const QString &separators);
