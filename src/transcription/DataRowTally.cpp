#include "transcription/DataRowTally.h"

#include "core/VbHelpers.h"
#include "entry/FlexGrid.h"

#include <algorithm>
#include <limits>

namespace {

// A page text read as a whole number; a text that is not one, or does not
// fit 32 bits, is not a number.
bool pageNumber(const QString &text, int &number)
{
    bool ok = false;
    const qlonglong value = text.toLongLong(&ok);
    if (!ok || value < std::numeric_limits<int>::min() || value > std::numeric_limits<int>::max())
        return false;
    number = int(value);
    return true;
}

template<typename T>
void eraseFrom(std::vector<T> &rows, int first)
{
    rows.erase(std::lower_bound(rows.begin(), rows.end(), first), rows.end());
}

} // namespace

DataRowTally::Kind DataRowTally::kindOf(const QString &column1)
{
    const QChar first = column1.isEmpty() ? QChar() : column1.at(0);
    if (first != u'+' && first != u'#')
        return Data;
    return first == u'+' && VbUCase(column1.left(5)) == QLatin1String("+PAGE") ? Page
                                                                                : OtherLine;
}

void DataRowTally::readAll(FlexGrid &grid)
{
    mGrid = &grid;
    mKinds.assign(std::size_t(std::max(grid.Rows(), 1)), Data);
    mLineRows.clear();
    mPageRows.clear();
    for (int row = 1; row < grid.Rows(); ++row) {
        const Kind kind = kindOf(grid.textRef(row, 1));
        mKinds[std::size_t(row)] = kind;
        if (kind != Data)
            mLineRows.push_back(row);
        if (kind == Page)
            mPageRows.push_back(row);
    }
    mPagesStale = true;
}

void DataRowTally::reread(FlexGrid &grid, int row)
{
    const Kind kind = kindOf(grid.textRef(row, 1));
    Kind &was = mKinds[std::size_t(row)];
    // A page line whose text changed names another page.
    if (kind == Page || was == Page)
        mPagesStale = true;
    if (kind == was)
        return;
    const auto place = [row](std::vector<int> &rows, bool in) {
        const auto at = std::lower_bound(rows.begin(), rows.end(), row);
        const bool there = at != rows.end() && *at == row;
        if (in && !there)
            rows.insert(at, row);
        else if (!in && there)
            rows.erase(at);
    };
    place(mLineRows, kind != Data);
    place(mPageRows, kind == Page);
    was = kind;
}

void DataRowTally::workOutPages(const FlexGrid &grid)
{
    // Each page follows on from the one before when it names no number of
    // its own, so all are worked out in order; there are few of them.
    mPageNames.clear();
    mPageNames.reserve(mPageRows.size());
    int runningPage = 0;
    for (const int row : mPageRows) {
        const QString pageText = VbTrim(grid.textRef(row, 1).mid(6));
        QString name = pageText;
        int number = 0;
        if (pageText.isEmpty()) {
            ++runningPage;
            name = QString::number(runningPage);
        } else if (pageNumber(pageText, number)) {
            runningPage = number;
        } else {
            // A page with a suffix letter: the number before it counts.
            const QString stem = VbTrim(pageText.left(pageText.size() - 1));
            if (stem.isEmpty())
                ++runningPage;
            else if (pageNumber(stem, number))
                runningPage = number;
        }
        mPageNames.push_back(name);
    }
    mPagesStale = false;
}

DataRowTally::Counts DataRowTally::count(FlexGrid &grid, int row)
{
    const FlexGrid::TextChanges changes = grid.takeTextChanges();
    const int rows = grid.Rows();
    if (changes.moved || mGrid != &grid) {
        readAll(grid);
    } else {
        const int known = int(mKinds.size());
        if (known > rows) {
            // Rows taken off the end.
            eraseFrom(mLineRows, rows);
            const std::size_t pages = mPageRows.size();
            eraseFrom(mPageRows, rows);
            mPagesStale = mPagesStale || pages != mPageRows.size();
        }
        mKinds.resize(std::size_t(std::max(rows, 1)), Data);
        const auto rereadRows = [&](int first, int last) {
            for (int r = std::max(first, 1); r <= last && r < rows; ++r)
                reread(grid, r);
        };
        if (changes.first >= 0)
            rereadRows(changes.first, changes.last);
        // Rows added at the end since; they are noted as written too.
        rereadRows(known, rows - 1);
    }
    if (mPagesStale)
        workOutPages(grid);

    Counts counts;
    counts.dataRows = std::max(0, rows - 1 - int(mLineRows.size()));
    if (row >= 1 && row < rows) {
        const auto linesTo = std::upper_bound(mLineRows.begin(), mLineRows.end(), row);
        counts.dataRowsTo = row - int(linesTo - mLineRows.begin());
    }
    const auto pageAfter = std::upper_bound(mPageRows.begin(), mPageRows.end(), row);
    if (pageAfter != mPageRows.begin())
        counts.lastPage = mPageNames[std::size_t(pageAfter - mPageRows.begin() - 1)];
    return counts;
}
