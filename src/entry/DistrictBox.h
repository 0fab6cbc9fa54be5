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

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>

class FlexGrid;
#include "entry/RichTextBox.h"

class DistrictBox : public QObject
{
    Q_OBJECT

public:
    explicit DistrictBox(QObject *parent = nullptr);
    ~DistrictBox() override;

    // The rich-text box (tbDistrict): binding connects its Change (run only
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

    // The cell the box was opened on and the edit's state.
    int CellRow() const { return mCellRow; }
    int CellIndex() const { return mCellIndex; }
    QString CellText() const { return mCellText; }
    QString TypedText() const { return mTypedText; }
    QString GhostSource() const { return mGhostSource; }
    QString PickDigits() const { return mPickDigits; }
    bool Edited() const { return mEdited; }

    // Opens the box over the grid's current cell with its text.
    void Show();
    // The leave check: the district and volume checked, an unknown district
    // offered for the supplementary file, the cell written. False keeps the
    // box on its cell; the transcriber has been told why.
    bool Validate();
    // The event handlers.
    void Change();
    void KeyDown(int &KeyCode, int Shift);
    void KeyPress(int &KeyAscii);
    // A pick-list row (clicked or chosen by number) or a paste text: it
    // replaces the box text and is written to the cell.
    void AddText(const QString &text);
    // The typed text: the box text less its grey tail.
    QString RealText();
    // The Formatting menu's district case choice: the box text re-cased.
    void CaseChange();
    // F9: the entry and the cell emptied; Shift+F9: the box alone emptied.
    void DelWord();
    void ClearBox();
    void HideRtb();

    // The help topic of the box, given when the main window is built.
    int HelpContextID() const { return mHelpContextID; }
    void setHelpContextID(int id) { mHelpContextID = id; }

    // The district case rule on text: with whole false only the character
    // before position (from 1: the one just typed) is cased, with Shift
    // inverting it; with whole true every character is cased by what
    // precedes it, and Shift is not read.
    static QString FormatDistrictText(const QString &text, bool whole, int position);

private:
    void changeHandler();
    void UncolourDistrictText(int n);
    void MoveToNextDistrictCell(int direction);
    void FillDistrictPickList();
    void DistrictGhostMatch();
    void ListDistrictMatches(QString text);
    bool OfferNewDistrict();
    void placeBox();
    void placeForOverSize();
    // A digit as a pick-list number; false when it is typed instead.
    bool pickNumber(int digit);
    void copyPreviousDistrict();
    void enterOrTab(int Shift);
    void rightArrow(int &KeyCode);
    void writeCell(const QString &text);

    QPointer<RichTextBox> mBox;
    FlexGrid *mGrid = nullptr;
    QList<QMetaObject::Connection> mConnections;
    int mColumn = 3;
    int mCellRow = 0;
    int mCellIndex = 0;
    QString mCellText;
    QString mTypedText;
    QString mGhostSource;
    QString mPickDigits;
    int mSavedCaret = 0;
    bool mEdited = false;
    int mHelpContextID = 0;
    // A character accepted by KeyPress is on its way into the text: the
    // next Change cases it (a paste is cased as a whole).
    bool mTypedPending = false;
    bool mTypedPasted = false;
};
