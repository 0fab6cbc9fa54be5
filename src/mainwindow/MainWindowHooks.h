#pragma once

// The main window's watch over five windows, through its subclasser
// cSubclasserHooker: itself and the pick list for moves and size changes
// (remembered in Project, the pick list dragged along), and the three entry
// boxes for the mouse wheel (relayed through the wheel relay cEvent and kept
// from the box). The main window holds one and forwards its Hook and UnHook
// to it; it is also the main window the move handlers consult.
//
// Hook and UnHook pair up around every time the main window is hidden,
// minimised or handed to another form; calling either twice in a row changes
// nothing the second time.

#include "winglue/cSelfSubHookCallback.h"
#include "winglue/mSubClassing.h"

#include <QPointer>
#include <QWidget>

#include <functional>

class EventRaise;

class MainWindowHooks final : public MainWindowPlace
{
public:
    // lParamUser values: which callback rule applies to a watched window.
    static constexpr int kMovedWindow = 1;
    static constexpr int kEntryBox = 2;

    // mainWindow: the window watched for moves (not owned; the hooks must
    // not outlive it). Installs itself as the move handlers' main window.
    explicit MainWindowHooks(QWidget *mainWindow);
    // UnHook, and takes itself out as the move handlers' main window.
    ~MainWindowHooks() override;
    MainWindowHooks(const MainWindowHooks &) = delete;
    MainWindowHooks &operator=(const MainWindowHooks &) = delete;

    // The edit controls of gRichTextbox, gDistrictBox and gForenameBox; a
    // box not given (or gone) is not watched.
    void setEntryBoxes(QWidget *richTextBox, QWidget *districtBox, QWidget *forenameBox);
    // The wheel relay cEvent; without one a wheel turn over a box is only
    // kept from the box.
    void setWheelRelay(EventRaise *cEvent);
    // Position_DropDown of the main window: places the pick list under the
    // entry box; without one nothing happens there.
    void setPositionDropDown(std::function<void()> positionDropDown);

    // Records the main window's place (unless minimised), then watches the
    // main window, the three boxes and the pick list (the loaded
    // frmPickList). A window that cannot be watched is skipped.
    void Hook();
    // Stops watching every window Hook watched.
    void UnHook();
    bool bHooked() const { return mHooked; }

    // The subclasser's callback: a wheel turn over an entry box (before the
    // box sees it) is raised as cEvent's MouseWheel and kept from the box;
    // after the main window or the pick list moved, OnMainWindowMoved or
    // OnPickListMoved. Anything else is left alone.
    void MainWindowProc(bool bBefore, bool &bHandled, QObject *lng_hWnd, int uMsg, qint64 wParam,
                        qint64 lParam, int &lParamUser);

    cSelfSubHookCallback &cSubclasserHooker() { return mSubclasser; }

    // MainWindowPlace
    bool mainVisible() const override;
    bool mainMinimised() const override;
    QRect mainGeometry() const override;
    void Position_DropDown() override;

private:
    bool subclass(QObject *window, int lParamUser, int when, int message);

    QPointer<QWidget> mMainWindow;
    QPointer<QWidget> mBoxes[3];
    QPointer<EventRaise> mRelay;
    std::function<void()> mPositionDropDown;
    // What Hook watched, for UnHook to release.
    QPointer<QObject> mHookedPickList;
    QPointer<QWidget> mHookedBoxes[3];
    bool mHooked = false;
    cSelfSubHookCallback mSubclasser;
};
