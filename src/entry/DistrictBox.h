#pragma once

// The district box: edits the district cell of a grid row (district name,
// a comma, the volume number) through the main window's rich-text box
// tbDistrict. While the transcriber types it cases each typed character by
// the district case rule, fills the pick list with the matching districts
// (the standard list or the recently used ones), shows the rest of the
// first match as grey ghost text, takes pick-list rows by their numbers,
// copies the previous row's district, and on leaving checks the district
// and volume and offers an unknown district for the supplementary district
// file. Like the forename box it writes the cell it was opened on, by flat
// index, only when a district is added, when it moves on, when it is
// emptied and when it is validated.
//
// One program-wide instance, gDistrictBox. The rich-text box and the grid
// are not owned.

#include <QString>

#include "entry/ListEntryBox.h"

class DistrictBox : public ListEntryBox
{
    Q_OBJECT

public:
    explicit DistrictBox(QObject *parent = nullptr);

    // The cell the box was opened on and the edit's state.
    QString CellText() const { return mCellText; }
    QString TypedText() const { return mTypedText; }
    QString GhostSource() const { return mGhostSource; }
    bool Edited() const { return mEdited; }

    // Opens the box over the grid's current cell with its text.
    void Show() override;
    // The leave check: the district and volume checked, an unknown district
    // offered for the supplementary file, the cell written. False keeps the
    // box on its cell; the transcriber has been told why.
    bool Validate() override;
    // The event handlers.
    void Change() override;
    void KeyDown(int &KeyCode, int Shift) override;
    void KeyPress(int &KeyAscii) override;
    // A pick-list row (clicked or chosen by number) or a paste text: it
    // replaces the box text and is written to the cell.
    void AddText(const QString &text);
    // The typed text: the box text less its grey tail.
    QString RealText();
    // The Formatting menu's district case choice: the box text re-cased.
    void CaseChange();
    // F9: the entry and the cell emptied; Shift+F9: the box alone emptied.
    void DelWord() override;
    void ClearBox() override;

    // The district case rule on text: with whole false only the character
    // before position (from 1: the one just typed) is cased, with Shift
    // inverting it; with whole true every character is cased by what
    // precedes it, and Shift is not read.
    static QString FormatDistrictText(const QString &text, bool whole, int position);

private:
    void UncolourDistrictText(int n);
    void MoveToNextDistrictCell(int direction);
    void FillDistrictPickList();
    void DistrictGhostMatch();
    void ListDistrictMatches(QString text);
    bool OfferNewDistrict();
    // A digit as a pick-list number; false when it is typed instead.
    bool pickNumber(int digit);
    void copyPreviousDistrict();
    void enterOrTab(int Shift);
    void rightArrow(int &KeyCode);

    QString mCellText;
    QString mTypedText;
    QString mGhostSource;
    bool mEdited = false;
};
