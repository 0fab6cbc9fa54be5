#pragma once

// The main window. For now a window that starts the program, shows the
// grid and offers the commands built so far: File > Print and Exit, Edit >
// Find and Find Next, and the forename and district editors; the entry
// boxes and the other commands come into it later.

#include "lists/EditorHost.h"

#include <QMainWindow>

#include <memory>

class CTimer;
class FlexGrid;
class FlexGridView;
class Form1MenuItems;
class EventRaise;
class QAction;
class QMenu;
class QPrinter;

class Form1 : public QMainWindow, public EditorHost
{
    Q_OBJECT

public:
    explicit Form1(QWidget *parent = nullptr);
    ~Form1() override;

    // The Load handler: its last step is the start-up. Returns false when
    // the start-up stopped the run (the window is then closed).
    bool Load();

    // Closes the window from code: no question is asked.
    void UnloadByCode();

    // Start-up's hooks into the main window.
    void CreateTimerAndRelay();
    void setHelpFolder(const QString &folder) { mHelpFolder = folder; }
    QString helpFolder() const { return mHelpFolder; }
    void WaitForHeaderForm();
    void SetUpMainForm();

    // Check marks, enabled states, visibility and changing captions of the
    // menu items from the project's settings and batch; also empties and
    // hides the pick list when neither list is wanted and rebuilds the
    // recent-file items. Leaves the batch's saved state alone.
    void ApplySettingsToMenus();

    // The menu item of that control name (mnuSaveCont, mnurecent1_3, ...);
    // nullptr when there is none.
    QAction *MenuItem(const QString &controlName) const;
    // The grid's right-click menus: "Row Menu" on the row labels, "Cell
    // Menu" elsewhere.
    QMenu *RowPopup() const;
    QMenu *CellPopup() const;

    // True while a load, save or upload is under way or events are held off.
    bool CantUseMenues() const;

    // The transcription grid and its view.
    FlexGrid &fgInput() { return *mGrid; }
    FlexGridView *gridView() const { return mGridView; }

    CTimer *eTime() const { return mTime.get(); }
    EventRaise *cEvent() const { return mEvent.get(); }

    // EditorHost: the main window steps aside while an editor is open.
    void HideForm1() override;
    void editExit() override;

    // The grid printed on printer (not owned), with the batch's heading;
    // what the Print command does once the printer is chosen. False when
    // nothing was printed (the transcriber was told why).
    bool PrintTo(QPrinter *printer);

public slots:
    void mnuExit_Click();
    void mnuPrint_Click();
    void mnuFindString_Click();
    void mnuFindNextString_Click();
    void mnuEditForenames_Click();
    void mnuEditDistricts_Click();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    // Builds the menu bar.
    void CreateMenus();

    std::unique_ptr<FlexGrid> mGrid;
    FlexGridView *mGridView = nullptr;
    std::unique_ptr<CTimer> mTime;
    std::unique_ptr<EventRaise> mEvent;
    QString mHelpFolder;
    // The cell a search found becomes the current one.
    void GoToFound();

    // The menu items by control name; owned by the window (Qt parent).
    Form1MenuItems *mMenus = nullptr;
};
