#pragma once

// Watching chosen messages of chosen windows, before and/or after the
// window's own handling, and calling the owner back for each: the layer that
// lets the main window see the mouse wheel over its entry boxes and the
// moves of itself and the pick list.
//
// A watched window gets one event filter of its own (its "thunk"). Messages
// are named by their Windows numbers, the numbers the callers are written
// in; MessageOf() says which Qt event is which message. Only the messages in
// the table below exist here: every other event passes untouched, even with
// ALL_MESSAGES.
//
//   71  WM_WINDOWPOSCHANGED   QEvent::Move, QEvent::Resize
//   522 WM_MOUSEWHEEL         QEvent::Wheel turned up or down
//   526 WM_MOUSEHWHEEL        QEvent::Wheel turned only sideways
//
// For each message of a watched window:
// - before phase: when the message is in the window's before table, the
//   callback runs with bBefore true. Setting bHandled there accepts the
//   event and ends it: neither the window, its parents nor the after phase
//   see it.
// - the window's own handling (filters installed earlier, its layout, its
//   event handlers).
// - after phase: when the message is in the after table, the callback runs
//   with bBefore false, once the window has handled the message. To run
//   after it, the filter delivers the event itself; event filters that were
//   installed on the window later than the thunk, and application-wide
//   filters, therefore see such a message twice.
//
// Releasing a window (ssc_UnSubclass, ssc_Terminate, the window destroyed,
// or the callback's owner destroyed) stops its callbacks at once; its filter
// is taken off only when no message of the window is still being handled,
// so that a callback may release its own window, or the whole subclasser,
// safely, however deeply calls nest.

#include <QtGlobal>

#include <functional>
#include <initializer_list>
#include <map>

class QEvent;
class QObject;

namespace WindowMessage {
constexpr int WM_WINDOWPOSCHANGED = 71;
constexpr int WM_MOUSEWHEEL = 522;
constexpr int WM_MOUSEHWHEEL = 526;

// The key-state bits of a wheel message (the low word of its wParam).
constexpr int MK_LBUTTON = 0x1;
constexpr int MK_RBUTTON = 0x2;
constexpr int MK_SHIFT = 0x4;
constexpr int MK_CONTROL = 0x8;
constexpr int MK_MBUTTON = 0x10;
constexpr int MK_XBUTTON1 = 0x20;
constexpr int MK_XBUTTON2 = 0x40;
} // namespace WindowMessage

// The message an event is, or 0 when it is none of the table's.
int MessageOf(const QEvent *event);
// A message's wParam and lParam. A wheel message: wParam's high word is the
// distance (120 a notch, positive away from the user, as a signed 16-bit
// number) and its low word the MK_ key state; lParam the pointer's screen
// position (y in the high word, x in the low). Any other message: 0 and 0.
qint64 WParamOf(const QEvent *event);
qint64 LParamOf(const QEvent *event);
// The signed high and the low 16 bits of a wParam.
inline int HiWordSigned(qint64 wParam)
{
    return qint16(quint16(quint64(wParam) >> 16));
}
inline int LoWord(qint64 wParam)
{
    return int(quint64(wParam) & 0xFFFF);
}

class SubclassThunk;

class cSelfSubHookCallback
{
public:
    static constexpr int MSG_ENTRIES = 32;
    static constexpr int ALL_MESSAGES = -1;
    // When values: before the window's own handling, after it, or both.
    static constexpr int MSG_BEFORE = 1;
    static constexpr int MSG_AFTER = 2;
    static constexpr int MSG_BEFORE_AND_AFTER = 3;

    // bBefore: true in the before phase. bHandled: false on entry; true
    // (before phase only) ends the message. lng_hWnd: the watched window.
    // lParamUser: the window's own value; what the callback writes is kept.
    using Callback = std::function<void(bool bBefore, bool &bHandled, QObject *lng_hWnd, int uMsg,
                                        qint64 wParam, qint64 lParam, int &lParamUser)>;

    cSelfSubHookCallback() = default;
    // ssc_Terminate.
    ~cSelfSubHookCallback();
    cSelfSubHookCallback(const cSelfSubHookCallback &) = delete;
    cSelfSubHookCallback &operator=(const cSelfSubHookCallback &) = delete;

    // Starts watching the window with empty tables. oCallback, when given,
    // is the callback's owner: once it is destroyed the window is released.
    // Returns false, and watches nothing new, for a null window, a window of
    // another thread, an empty callback, or a window this instance already
    // watches (which goes on as it was).
    bool ssc_Subclass(QObject *lng_hWnd, int lParamUser, QObject *oCallback, Callback callback);
    // Adds the messages to the before table (When bit 0) and/or the after
    // table (bit 1). ALL_MESSAGES makes a table take every message; a single
    // message added to such a table replaces "every" by itself. A table
    // holds MSG_ENTRIES messages: the first one that does not fit, and the
    // rest of the call, are refused. Nothing happens for a window not
    // watched.
    void ssc_AddMsg(QObject *lng_hWnd, int When, std::initializer_list<int> messages);
    // Takes the messages out in the same way; ALL_MESSAGES empties a table.
    void ssc_DelMsg(QObject *lng_hWnd, int When, std::initializer_list<int> messages);
    // Replaces the window's lParamUser.
    void zSet_lParamUser(QObject *lng_hWnd, int newValue);
    // Stops watching the window (see the release rule above). Nothing
    // happens for a window not watched.
    void ssc_UnSubclass(QObject *lng_hWnd);
    // Stops watching every window of this instance.
    void ssc_Terminate();

    bool isSubclassed(QObject *lng_hWnd) const { return mThunks.count(lng_hWnd) != 0; }

private:
    friend class SubclassThunk;
    SubclassThunk *thunkOf(QObject *lng_hWnd) const;
    void release(QObject *lng_hWnd);

    // The active thunks; a released thunk leaves the map at once and frees
    // itself once it is idle.
    std::map<QObject *, SubclassThunk *> mThunks;
};
