#include "winglue/cSelfSubHookCallback.h"

#include <QCoreApplication>
#include <QEvent>
#include <QObject>
#include <QPointer>
#include <QScopedValueRollback>
#include <QThread>
#include <QWheelEvent>

#include <algorithm>
#include <array>
#include <limits>

using namespace WindowMessage;

int MessageOf(const QEvent *event)
{
    switch (event->type()) {
    case QEvent::Move:
    case QEvent::Resize:
        return WM_WINDOWPOSCHANGED;
    case QEvent::Wheel: {
        const QPoint delta = static_cast<const QWheelEvent *>(event)->angleDelta();
        if (delta.y() != 0)
            return WM_MOUSEWHEEL;
        return delta.x() != 0 ? WM_MOUSEHWHEEL : 0;
    }
    default:
        return 0;
    }
}

namespace {
int keyState(const QWheelEvent *wheel)
{
    int keys = 0;
    const Qt::MouseButtons buttons = wheel->buttons();
    if (buttons & Qt::LeftButton)
        keys |= MK_LBUTTON;
    if (buttons & Qt::RightButton)
        keys |= MK_RBUTTON;
    if (buttons & Qt::MiddleButton)
        keys |= MK_MBUTTON;
    if (buttons & Qt::BackButton)
        keys |= MK_XBUTTON1;
    if (buttons & Qt::ForwardButton)
        keys |= MK_XBUTTON2;
    if (wheel->modifiers() & Qt::ShiftModifier)
        keys |= MK_SHIFT;
    if (wheel->modifiers() & Qt::ControlModifier)
        keys |= MK_CONTROL;
    return keys;
}

qint64 makeLong(int high, int low)
{
    return qint64((quint32(quint16(high)) << 16) | quint16(low));
}
} // namespace

qint64 WParamOf(const QEvent *event)
{
    const int message = MessageOf(event);
    if (message != WM_MOUSEWHEEL && message != WM_MOUSEHWHEEL)
        return 0;
    const auto *wheel = static_cast<const QWheelEvent *>(event);
    const QPoint delta = wheel->angleDelta();
    // A high-resolution wheel may report more than one word holds.
    const int distance = std::clamp(message == WM_MOUSEWHEEL ? delta.y() : delta.x(),
                                    int(std::numeric_limits<qint16>::min()),
                                    int(std::numeric_limits<qint16>::max()));
    return makeLong(distance, keyState(wheel));
}

qint64 LParamOf(const QEvent *event)
{
    const int message = MessageOf(event);
    if (message != WM_MOUSEWHEEL && message != WM_MOUSEHWHEEL)
        return 0;
    const QPoint at = static_cast<const QWheelEvent *>(event)->globalPosition().toPoint();
    return makeLong(at.y(), at.x());
}

namespace {
// Which messages go to the callback in one phase: a count and up to
// MSG_ENTRIES numbers, count ALL_MESSAGES for every message. A removed entry
// leaves a 0 in its place.
struct MessageTable
{
    int count = 0;
    std::array<int, cSelfSubHookCallback::MSG_ENTRIES> entries{};

    bool contains(int message) const
    {
        if (count == cSelfSubHookCallback::ALL_MESSAGES)
            return true;
        return std::find(entries.begin(), entries.begin() + count, message)
               != entries.begin() + count;
    }

    // False when the table is full.
    bool add(int message)
    {
        if (message == cSelfSubHookCallback::ALL_MESSAGES) {
            count = cSelfSubHookCallback::ALL_MESSAGES;
            return true;
        }
        if (count == cSelfSubHookCallback::ALL_MESSAGES)
            count = 0;
        // Looked for over the whole table before a free place is reused, so
        // that a message is never in it twice (one removal must take it out).
        const auto end = entries.begin() + count;
        if (std::find(entries.begin(), end, message) != end)
            return true;
        if (const auto freed = std::find(entries.begin(), end, 0); freed != end) {
            *freed = message;
            return true;
        }
        if (count >= cSelfSubHookCallback::MSG_ENTRIES)
            return false;
        entries[count++] = message;
        return true;
    }

    void remove(int message)
    {
        if (message == cSelfSubHookCallback::ALL_MESSAGES) {
            count = 0;
            return;
        }
        if (count == cSelfSubHookCallback::ALL_MESSAGES)
            return;
        const auto end = entries.begin() + count;
        if (const auto found = std::find(entries.begin(), end, message); found != end)
            *found = 0;
    }
};
} // namespace

// One watched window: its tables, its callback and its release state.
class SubclassThunk : public QObject
{
public:
    enum ReleaseState { Active = 0, ReleaseRequested = 1, CallbackGone = 32768 };

    SubclassThunk(QObject *window, int lParamUser, QObject *owner,
                  cSelfSubHookCallback::Callback callback)
        : mKey(window), mWindow(window), mOwner(owner), mCallback(std::move(callback)),
          mLParamUser(lParamUser)
    {
    }

    void install(cSelfSubHookCallback *subclasser)
    {
        mSubclasser = subclasser;
        mWindow->installEventFilter(this);
        // The window's destruction releases it; so does the owner's, whose
        // callback can no longer be called.
        mWindowGone = connect(mWindow, &QObject::destroyed, this, [this] { releaseFromWithin(); });
        if (mOwner) {
            mOwnerGone = connect(mOwner, &QObject::destroyed, this, [this] {
                mState = CallbackGone;
                releaseFromWithin();
            });
        }
    }

    MessageTable before;
    MessageTable after;
    int lParamUser() const { return mLParamUser; }
    void setLParamUser(int value) { mLParamUser = value; }

    // Callbacks stop at once; the filter goes when no message is in hand.
    void release()
    {
        mSubclasser = nullptr;
        disconnect(mWindowGone);
        disconnect(mOwnerGone);
        if (mState == Active)
            mState = ReleaseRequested;
        before.count = 0;
        after.count = 0;
        if (mInUse == 0)
            finish(false);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched != mWindow || event == mRedelivering)
            return false;
        const int message = MessageOf(event);
        if (message == 0)
            return false;

        ++mInUse;
        const bool ended = mState == Active && handle(event, message);
        --mInUse;
        const bool windowGone = !mWindow;
        if (mState != Active && mInUse == 0)
            finish(true);
        // A window destroyed meanwhile must not be handed the event.
        return ended || windowGone;
    }

private:
    // Takes this window out of the subclasser that watches it.
    void releaseFromWithin()
    {
        if (mSubclasser)
            mSubclasser->release(mKey);
    }

    // Runs both phases; true when the event is finished with here.
    bool handle(QEvent *event, int message)
    {
        const qint64 wParam = WParamOf(event);
        const qint64 lParam = LParamOf(event);
        // The callback may release this window, or destroy it: the tables
        // are then empty and mWindow null.
        if (before.count != 0 && before.contains(message)) {
            bool bHandled = false;
            mCallback(true, bHandled, mWindow, message, wParam, lParam, mLParamUser);
            if (bHandled) {
                event->accept();
                return true;
            }
        }
        if (after.count == 0 || !after.contains(message) || !mWindow)
            return false;
        {
            QScopedValueRollback<QEvent *> guard(mRedelivering, event);
            QCoreApplication::sendEvent(mWindow, event);
        }
        if (mWindow && after.count != 0 && after.contains(message)) {
            bool bHandled = false;
            mCallback(false, bHandled, mWindow, message, wParam, lParam, mLParamUser);
        }
        return true;
    }

    void finish(bool fromOwnFilter)
    {
        if (mFinished)
            return;
        mFinished = true;
        if (mWindow)
            mWindow->removeEventFilter(this);
        // Inside its own filter the thunk is still on the stack.
        if (fromOwnFilter)
            deleteLater();
        else
            delete this;
    }

    // The subclasser's key for the window, valid after the window is gone.
    QObject *mKey;
    QPointer<QObject> mWindow;
    QPointer<QObject> mOwner;
    cSelfSubHookCallback *mSubclasser = nullptr;
    cSelfSubHookCallback::Callback mCallback;
    int mLParamUser;
    int mInUse = 0;
    int mState = Active;
    bool mFinished = false;
    QEvent *mRedelivering = nullptr;
    QMetaObject::Connection mWindowGone;
    QMetaObject::Connection mOwnerGone;
};

cSelfSubHookCallback::~cSelfSubHookCallback()
{
    ssc_Terminate();
}

SubclassThunk *cSelfSubHookCallback::thunkOf(QObject *lng_hWnd) const
{
    const auto it = mThunks.find(lng_hWnd);
    return it == mThunks.end() ? nullptr : it->second;
}

bool cSelfSubHookCallback::ssc_Subclass(QObject *lng_hWnd, int lParamUser, QObject *oCallback,
                                        Callback callback)
{
    if (!lng_hWnd || lng_hWnd->thread() != QThread::currentThread() || !callback
        || thunkOf(lng_hWnd))
        return false;
    auto *thunk = new SubclassThunk(lng_hWnd, lParamUser, oCallback, std::move(callback));
    mThunks.emplace(lng_hWnd, thunk);
    thunk->install(this);
    return true;
}

void cSelfSubHookCallback::ssc_AddMsg(QObject *lng_hWnd, int When,
                                      std::initializer_list<int> messages)
{
    SubclassThunk *thunk = thunkOf(lng_hWnd);
    if (!thunk)
        return;
    for (auto [bit, table] :
         {std::pair{MSG_BEFORE, &thunk->before}, std::pair{MSG_AFTER, &thunk->after}}) {
        if (!(When & bit))
            continue;
        for (int message : messages) {
            if (!table->add(message))
                break;
        }
    }
}

void cSelfSubHookCallback::ssc_DelMsg(QObject *lng_hWnd, int When,
                                      std::initializer_list<int> messages)
{
    SubclassThunk *thunk = thunkOf(lng_hWnd);
    if (!thunk)
        return;
    for (int message : messages) {
        if (When & MSG_BEFORE)
            thunk->before.remove(message);
        if (When & MSG_AFTER)
            thunk->after.remove(message);
    }
}

void cSelfSubHookCallback::zSet_lParamUser(QObject *lng_hWnd, int newValue)
{
    if (SubclassThunk *thunk = thunkOf(lng_hWnd))
        thunk->setLParamUser(newValue);
}

void cSelfSubHookCallback::release(QObject *lng_hWnd)
{
    const auto it = mThunks.find(lng_hWnd);
    if (it == mThunks.end())
        return;
    SubclassThunk *thunk = it->second;
    mThunks.erase(it);
    thunk->release();
}

void cSelfSubHookCallback::ssc_UnSubclass(QObject *lng_hWnd)
{
    release(lng_hWnd);
}

void cSelfSubHookCallback::ssc_Terminate()
{
    while (!mThunks.empty())
        release(mThunks.begin()->first);
}
