#pragma once

// The search state of the Find and Find Next commands and the search
// itself. A search tests the grid's data cells (rows 2 on, columns 1 on)
// one after another, down a column and then, unless it is held to one
// column, on to the next column, wrapping round at the end, and stops at
// the first cell whose text contains the search text. The caller moves the
// grid to FoundRow, FoundCol when something was found.
//
// A search always ends: it stops at the start cell (the grid's current
// cell, which is therefore never reported as a hit) and, whatever the
// positions, once every cell of its range was tested. A search without a
// result says "The search text was not found" once.

#include "entry/FlexGrid.h"

#include <QPointer>
#include <QString>

class Searcher
{
public:
    // True: search only the column of the current position.
    void setFindInCol(bool on) { mFindInCol = on; }
    bool FindInCol() const { return mFindInCol; }

    // The text as the transcriber typed it. Reading it records the grid's
    // current cell (kept within the data cells) as the cell at which the
    // next search stops; without a grid nothing is recorded.
    void setFindText(const QString &text);
    QString FindText();

    // Whether the last search found a cell, and the current position of
    // the search: after a success the cell found.
    bool Found() const { return mFound; }
    int FoundCol() const { return mFoundCol; }
    int FoundRow() const { return mFoundRow; }

    void setMatchCase(bool on);
    bool MatchCase() const { return mMatchCase; }

    // The grid searched; not owned (forgotten if it is destroyed).
    void setGrid(FlexGrid *grid) { mGrid = grid; }
    FlexGrid *grid() const { return mGrid; }

    // Searches on from the current position. Before any start cell was
    // recorded it only beeps; with a blank text it searches nothing. Both
    // return false. Events are held off during the scan.
    bool FindNext();
    // Searches from the grid's current cell.
    bool Find();

private:
    // Steps the current position to the next cell of the range; true when
    // the search is over (the message has then been shown).
    bool ReportNotFound();
    bool CellMatches() const;

    void updateSearchText();
    // The number of cells the search may test.
    int rangeSize() const;
    int clampRow(int row) const;
    int clampCol(int col) const;
    void notFound();

    QPointer<FlexGrid> mGrid;
    QString mFindText;
    QString mSearchText;
    bool mFindInCol = false;
    bool mMatchCase = false;
    bool mFound = false;
    bool mStartRecorded = false;
    // The start cell is the grid's current cell, not a data cell it was
    // moved onto: it is not tested.
    bool mStartIsCurrent = false;
    int mStartRow = 0;
    int mStartCol = 0;
    int mFoundRow = 0;
    int mFoundCol = 0;
    int mTested = 0;
};
