#pragma once

// What the forename and district boxes share: the binding to their
// rich-text box, the grid they edit, the cell they were opened on (written
// by flat index only at the moments each box chooses), the box laid over
// that cell, and the key steps that are the same in both. Each box keeps
// its own case, completion and pick-list rules.

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>

class FlexGrid;
#include "entry/RichTextBox.h"

class ListEntryBox : public QObject
{
    Q_OBJECT

public:
    ~ListEntryBox() override;

    // The rich-text box: binding connects its Change (run only while
    // events are not suppressed), KeyDown and KeyPress here; nullptr
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
    QString PickDigits() const { return mPickDigits; }

    // The help topic of the box, given when the main window is built.
    int HelpContextID() const { return mHelpContextID; }
    void setHelpContextID(int id) { mHelpContextID = id; }

    void HideRtb();

    // Opens the box over the grid's current cell with its text.
    virtual void Show() = 0;
    // The leave check; false keeps the box on its cell.
    virtual bool Validate() = 0;
    // The event handlers.
    virtual void Change() = 0;
    virtual void KeyDown(int &KeyCode, int Shift) = 0;
    virtual void KeyPress(int &KeyAscii) = 0;
    // F9 and Shift+F9.
    virtual void DelWord() = 0;
    virtual void ClearBox() = 0;

protected:
    ListEntryBox(int column, QObject *parent);

    // Takes the grid's current cell as the box's cell: the change note
    // cleared, its row brought into view, its flat index noted.
    void takeCurrentCell();
    void writeCell(const QString &text);
    // The box and its cell emptied by the transcriber, events suppressed.
    void emptyBoxAndCell();
    bool caretAtStart() const;
    // Lays the box over the current cell, shown with the entry colour and
    // focused; with oversized boxes widened to overSizeText, which it then
    // holds. The caller places the caret.
    void layOverCell(const QString &overSizeText);
    void placeForOverSize();
    // The grid back on the box's cell (events suppressed) and the focus in
    // the box, after a refused leave.
    void stayOnCell();
    // After the box validated and hid itself: the next cell in direction,
    // where the box opens itself again only on its own column.
    void findNextCell(int direction);
    // Whether an added text keeps its own case: a pick-list row by the
    // pick option, a paste by the paste option. Resets the pick list's
    // from-a-row note.
    static bool keepAddedAsIs();

    // Key steps: the start of KeyDown (the grid, or nullptr when the box
    // leaves the key alone: unbound, or a letter; Tab, Enter and Backspace
    // end a pick-list number there); a digit noted as part of
    // a pick-list number, or the number ended; the pick-list row a number
    // names, falling back to the digit alone when it is too large; a typed
    // character on its way into the text.
    FlexGrid *keyDownGrid(int KeyCode);
    void notePickDigit(int KeyAscii);
    int pickNumberRow(int digit);
    void typedCharacter();
    // PageUp/PageDown; the district box forces the grid to scroll.
    void pageKey(int &KeyCode, bool forceScroll);
    // The keys both boxes take alike: Home (to the first column once the
    // box validates), F9 and Shift+F9, F11 and F12; any other key is left
    // as it is.
    void commonKey(int &KeyCode, int Shift);

    QPointer<RichTextBox> mBox;
    FlexGrid *mGrid = nullptr;
    int mColumn;
    int mCellRow = 0;
    int mCellIndex = 0;
    int mSavedCaret = 0;
    QString mPickDigits;
    int mHelpContextID = 0;
    // A character accepted by KeyPress is on its way into the text: the
    // next Change cases it (a paste is cased as a whole).
    bool mTypedPending = false;
    bool mTypedPasted = false;

private:
    void changeHandler();

    QList<QMetaObject::Connection> mConnections;
};
