#pragma once

// The figures the status bar shows on every row change: how many data rows
// the grid holds, the current row's place among them, and the page the
// current row is on. Kept from one row change to the next and brought up
// to date from the rows whose texts changed since (FlexGrid::takeTextChanges),
// so that moving between rows costs the same in a batch of 50,000 rows as
// in one of 100. A change that moves rows reads the whole grid again; the
// commands that do so go over every row anyway.

#include <QString>

#include <vector>

class FlexGrid;

class DataRowTally
{
public:
    struct Counts
    {
        int dataRows = 0;    // rows 1 on that start with neither "+" nor "#"
        int dataRowsTo = 0;  // of those, the ones in rows 1 to row; 0 when row is not a grid row
        QString lastPage;    // what the last "+PAGE" line at or above row names; "" when none
    };

    // The counts for the grid as it is now, with row as the current row.
    Counts count(FlexGrid &grid, int row);

private:
    enum Kind : char { Data, Page, OtherLine };
    static Kind kindOf(const QString &column1);
    void readAll(FlexGrid &grid);
    void reread(FlexGrid &grid, int row);
    void workOutPages(const FlexGrid &grid);

    const FlexGrid *mGrid = nullptr;
    std::vector<Kind> mKinds; // by row; row 0 unused
    std::vector<int> mLineRows; // ascending: the "+" and "#" rows
    std::vector<int> mPageRows; // ascending: the "+PAGE" rows
    std::vector<QString> mPageNames; // what each of mPageRows names
    bool mPagesStale = true;
};
