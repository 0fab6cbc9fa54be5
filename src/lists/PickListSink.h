#pragma once

// Where the district and forename list fillers put their candidates: the
// pick-list window implements it. Until that window exists (and in tests
// that do not install one) a sink that keeps nothing stands in.

#include <QString>

class PickListSink
{
public:
    virtual ~PickListSink() = default;
    // Removes every row.
    virtual void PickClear() = 0;
    // Appends a row with the trimmed text while fewer than PickRows rows are
    // listed; otherwise does nothing.
    virtual void NextText(const QString &text) = 0;
    // The number of rows listed.
    virtual int iCount() const = 0;
};

// The pick list in use; never null.
PickListSink &PickList();
// Installs a pick list (not owned); nullptr puts the stand-in back.
void SetPickList(PickListSink *sink);
