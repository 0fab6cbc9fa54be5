#include "mainwindow/MainWindowHooks.h"

#include "core/FormRegistry.h"
#include "core/VbHelpers.h"
#include "core/WindowFrame.h"
#include "winglue/EventRaise.h"

using namespace WindowMessage;

MainWindowHooks::MainWindowHooks(QWidget *mainWindow) : mMainWindow(mainWindow)
{
    SetMainWindowPlace(this);
}

MainWindowHooks::~MainWindowHooks()
{
    UnHook();
    SetMainWindowPlace(nullptr);
}

void MainWindowHooks::setEntryBoxes(QWidget *richTextBox, QWidget *districtBox,
                                    QWidget *forenameBox)
{
    mBoxes[0] = richTextBox;
    mBoxes[1] = districtBox;
    mBoxes[2] = forenameBox;
}

void MainWindowHooks::setWheelRelay(EventRaise *cEvent)
{
    mRelay = cEvent;
}

void MainWindowHooks::setPositionDropDown(std::function<void()> positionDropDown)
{
    mPositionDropDown = std::move(positionDropDown);
}

bool MainWindowHooks::subclass(QObject *window, int lParamUser, int when, int message)
{
    const bool watched = mSubclasser.ssc_Subclass(
        window, lParamUser, nullptr,
        [this](bool bBefore, bool &bHandled, QObject *hWnd, int uMsg, qint64 wParam,
               qint64 lParam, int &user) {
            MainWindowProc(bBefore, bHandled, hWnd, uMsg, wParam, lParam, user);
        });
    if (watched)
        mSubclasser.ssc_AddMsg(window, when, {message});
    return watched;
}

void MainWindowHooks::Hook()
{
    if (mHooked)
        return;
    if (mMainWindow && !mMainWindow->isMinimized()) {
        const QRect place = mainGeometry();
        RecordMainWindowPosition(place.left(), place.top());
    }
    subclass(mMainWindow, kMovedWindow, cSelfSubHookCallback::MSG_AFTER, WM_WINDOWPOSCHANGED);
    for (int i = 0; i < 3; ++i) {
        mHookedBoxes[i] = nullptr;
        if (subclass(mBoxes[i], kEntryBox, cSelfSubHookCallback::MSG_BEFORE, WM_MOUSEWHEEL))
            mHookedBoxes[i] = mBoxes[i];
    }
    mHookedPickList = FindForm(QStringLiteral("frmPickList"));
    if (!subclass(mHookedPickList, kMovedWindow, cSelfSubHookCallback::MSG_AFTER,
                  WM_WINDOWPOSCHANGED))
        mHookedPickList = nullptr;
    mHooked = true;
}

void MainWindowHooks::UnHook()
{
    if (!mHooked)
        return;
    for (QPointer<QWidget> &box : mHookedBoxes) {
        if (box)
            mSubclasser.ssc_UnSubclass(box);
        box = nullptr;
    }
    if (mHookedPickList)
        mSubclasser.ssc_UnSubclass(mHookedPickList);
    mHookedPickList = nullptr;
    if (mMainWindow)
        mSubclasser.ssc_UnSubclass(mMainWindow);
    mHooked = false;
}

void MainWindowHooks::MainWindowProc(bool /*bBefore*/, bool &bHandled, QObject *lng_hWnd, int uMsg,
                                     qint64 wParam, qint64 /*lParam*/, int &lParamUser)
{
    if (lParamUser == kEntryBox && uMsg == WM_MOUSEWHEEL) {
        // Relayed whether or not events are held off: the handler decides.
        int distance = HiWordSigned(wParam);
        int buttons = LoWord(wParam);
        if (mRelay)
            mRelay->RaiseWheel(distance, buttons);
        bHandled = true;
    } else if (lParamUser == kMovedWindow && uMsg == WM_WINDOWPOSCHANGED) {
        if (lng_hWnd && lng_hWnd == mMainWindow)
            OnMainWindowMoved();
        else if (lng_hWnd && lng_hWnd == mHookedPickList)
            OnPickListMoved();
    }
}

bool MainWindowHooks::mainVisible() const
{
    return mMainWindow && mMainWindow->isVisible();
}

bool MainWindowHooks::mainMinimised() const
{
    return mMainWindow && mMainWindow->isMinimized();
}

QRect MainWindowHooks::mainGeometry() const
{
    if (!mMainWindow)
        return {};
    // The frame, as the main window's size and place are saved at
    // shut-down.
    const QRect g = WindowFrameRect(*mMainWindow);
    return {PixelsToTwipsX(g.left()), PixelsToTwipsY(g.top()), PixelsToTwipsX(g.width()),
            PixelsToTwipsY(g.height())};
}

void MainWindowHooks::Position_DropDown()
{
    if (mPositionDropDown)
        mPositionDropDown();
}
