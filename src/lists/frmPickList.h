#pragma once

// The pick list: a small floating tool window ("Picklist") listing numbered
// candidates (districts or forenames) for the entry box over the current
// cell. The list fillers empty it and append to it (PickListSink); the entry
// boxes take a row by its number (PickText); a click on a row hands its text
// to the box on view. There is one, built on first use and kept until
// shut-down: the close box only hides it.

#include "core/Project.h"
#include "lists/PickListSink.h"

#include <QWidget>

class QTreeWidget;

// Where a clicked row's text goes: the district box or the forename box.
// The main window's boxes implement it; until one is installed a taker that
// keeps nothing stands in.
class PickedTextTaker
{
public:
    virtual ~PickedTextTaker() = default;
    // AddText of each box: takes the picked candidate, as listed.
    virtual void DistrictAddText(const QString &text) = 0;
    virtual void ForenameAddText(const QString &text) = 0;
};

// The taker in use; never null.
PickedTextTaker &PickTaker();
// Installs a taker (not owned); nullptr puts the stand-in back.
void SetPickTaker(PickedTextTaker *taker);

class frmPickList : public QWidget, public PickListSink, public Project::PickWindow
{
    Q_OBJECT

public:
    // Sizes itself from PickHeight/PickWidth, starts empty, registers as
    // "frmPickList" and installs itself as the program's pick list and as
    // the window the placement operations move.
    explicit frmPickList(QWidget *parent = nullptr);
    ~frmPickList() override;

    // Lays the list over the whole window; the number column takes three
    // digits, the text column the rest.
    void Resize_Picklist_LV();
    // Both columns as wide as their contents, the window as wide as both
    // and its frame; the list fills it.
    void FitToContents() override;
    // Empties the list (the rich-text box calls it on every change).
    void ShowFOptions() { PickClear(); }
    void PickClear() override;
    void MakeVisible() override { setVisible(true); }
    // Takes the list's font; widens the number column to four digits when
    // PickRows is 100 or more.
    void NewFontSize();
    int iCount() const override;
    // Appends row iCount()+1 with the trimmed text, or drops the text once
    // PickRows rows are listed.
    void NextText(const QString &text) override;
    // The text of row n (1-based) and sets bFromPickList; a row that does not
    // exist gives "" and leaves the flag as it was.
    QString PickText(int n) override;
    bool bFromPickList() const override { return mFromPickList; }
    void setBFromPickList(bool on) override { mFromPickList = on; }
    // PickRows := n, then NewFontSize.
    void ChangeRows(int n);

    // The key of row n (1-based), e.g. "12K"; "" for no such row.
    QString Key(int n) const;
    QTreeWidget *lvPick() const { return mList; }

    // Closes the window for good (shut-down). Every other close request,
    // the close box among them, leaves it open.
    void Unload();

    // Project::PickWindow
    bool pickVisible() const override { return isVisible(); }
    void setPickVisible(bool visible) override { setVisible(visible); }
    bool pickMinimised() const override { return isMinimized(); }
    void setPickNormal() override;
    QRect pickGeometry() const override;
    void movePick(int left, int top) override;

    // A click in the list: hands the selected row's text to the box on view.
    void lvPick_Click();

protected:
    void resizeEvent(QResizeEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void setColumnWidths(const QString &digits);

    QTreeWidget *mList = nullptr;
    bool mFromPickList = false;
    bool mLastMinimised = false;
    bool mUnloading = false;
};
