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

    // What the entry boxes take from the list; a list that keeps nothing
    // answers "" and false and ignores the rest.
    // The text of row n (from 1), noting that the next text a box adds came
    // from the list (bFromPickList); "" for no such row, the note unchanged.
    virtual QString PickText(int n)
    {
        Q_UNUSED(n);
        return QString();
    }
    virtual bool bFromPickList() const { return false; }
    virtual void setBFromPickList(bool on) { Q_UNUSED(on); }
    // Shows the list.
    virtual void MakeVisible() {}
    // Sizes both columns to their contents and the window to the columns.
    virtual void FitToContents() {}
};

// The pick list in use; never null.
PickListSink &PickList();
// Installs a pick list (not owned); nullptr puts the stand-in back.
void SetPickList(PickListSink *sink);
