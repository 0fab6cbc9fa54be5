// Watching windows' messages: the before and after phases around the
// window's own handling, a handled message ending there, the message
// tables, the failures of watching, releases from inside a callback however
// deeply nested, and the move handlers that remember both windows' places
// and drag the pick list along.

#include "PelkarTest.h"

#include "core/Globals.h"
#include "core/Project.h"
#include "core/clsEvents.h"
#include "winglue/cSelfSubHookCallback.h"
#include "winglue/mSubClassing.h"

#include <QMoveEvent>
#include <QThread>
#include <QWheelEvent>

#include <memory>
#include <optional>

using namespace WindowMessage;

namespace {
// A window that records what its own handling sees.
class RecordingWindow : public QObject
{
public:
    explicit RecordingWindow(QStringList &log) : mLog(log) {}

    bool event(QEvent *e) override
    {
        if (const int message = MessageOf(e))
            mLog << QStringLiteral("own %1").arg(message);
        return QObject::event(e);
    }

private:
    QStringList &mLog;
};

void sendMove(QObject *window)
{
    QMoveEvent move(QPoint(10, 10), QPoint(0, 0));
    QCoreApplication::sendEvent(window, &move);
}

void sendWheel(QObject *window, int distance = 120)
{
    QWheelEvent wheel(QPointF(5, 5), QPointF(105, 205), QPoint(), QPoint(0, distance),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(window, &wheel);
}
} // namespace

class SubclasserTest : public PelkarTest
{
    Q_OBJECT

protected:
    void setUpCase() override
    {
        log.clear();
        window = std::make_unique<RecordingWindow>(log);
        subclasser = std::make_unique<cSelfSubHookCallback>();
    }

    void tearDownCase() override
    {
        subclasser.reset();
        window.reset();
    }

    // A callback that logs each phase; onBefore runs inside the before
    // phase and may set bHandled.
    cSelfSubHookCallback::Callback logging(std::function<void(bool &)> onBefore = {})
    {
        return [this, onBefore](bool bBefore, bool &bHandled, QObject *hWnd, int uMsg, qint64,
                                qint64, int &lParamUser) {
            QCOMPARE(hWnd, window.get());
            log << QStringLiteral("%1 %2 user %3")
                       .arg(bBefore ? "before" : "after")
                       .arg(uMsg)
                       .arg(lParamUser);
            if (bBefore && onBefore)
                onBefore(bHandled);
        };
    }

    QStringList log;
    std::unique_ptr<RecordingWindow> window;
    std::unique_ptr<cSelfSubHookCallback> subclasser;

private slots:
    void phasesAroundTheWindowsOwnHandling_data()
    {
        QTest::addColumn<int>("when");
        QTest::addColumn<QList<int>>("messages");
        QTest::addColumn<bool>("handleBefore");
        QTest::addColumn<QStringList>("expected");

        const QList<int> moved{WM_WINDOWPOSCHANGED};
        QTest::newRow("before-only") << 1 << moved << false
                                     << QStringList{"before 71 user 7", "own 71"};
        QTest::newRow("after-only") << 2 << moved << false
                                    << QStringList{"own 71", "after 71 user 7"};
        QTest::newRow("both") << 3 << moved << false
                              << QStringList{"before 71 user 7", "own 71", "after 71 user 7"};
        QTest::newRow("handled-before-ends-the-message")
            << 3 << moved << true << QStringList{"before 71 user 7"};
        QTest::newRow("other-message-untouched")
            << 3 << QList<int>{WM_MOUSEWHEEL} << false << QStringList{"own 71"};
        QTest::newRow("all-messages")
            << 3 << QList<int>{cSelfSubHookCallback::ALL_MESSAGES} << false
            << QStringList{"before 71 user 7", "own 71", "after 71 user 7"};
        QTest::newRow("no-messages-added") << 3 << QList<int>{} << false << QStringList{"own 71"};
    }

    void phasesAroundTheWindowsOwnHandling()
    {
        QFETCH(int, when);
        QFETCH(QList<int>, messages);
        QFETCH(bool, handleBefore);
        QFETCH(QStringList, expected);

        QVERIFY(subclasser->ssc_Subclass(window.get(), 7, nullptr,
                                         logging([handleBefore](bool &h) { h = handleBefore; })));
        for (int message : messages)
            subclasser->ssc_AddMsg(window.get(), when, {message});
        sendMove(window.get());
        QCOMPARE(log, expected);
    }

    // What the callback writes into lParamUser is what the next call gets;
    // zSet_lParamUser replaces it.
    void lParamUserIsKeptPerWindow()
    {
        QVERIFY(subclasser->ssc_Subclass(
            window.get(), 1, nullptr,
            [this](bool, bool &, QObject *, int, qint64, qint64, int &user) {
                log << QString::number(user);
                user += 10;
            }));
        subclasser->ssc_AddMsg(window.get(), cSelfSubHookCallback::MSG_BEFORE,
                               {WM_WINDOWPOSCHANGED});
        sendMove(window.get());
        sendMove(window.get());
        subclasser->zSet_lParamUser(window.get(), 5);
        sendMove(window.get());
        QCOMPARE(log, (QStringList{"1", "own 71", "11", "own 71", "5", "own 71"}));
    }

    // Each case changes the before table, then a move and a wheel turn show
    // which of the two the table holds.
    void messageTables_data()
    {
        QTest::addColumn<QList<int>>("added");
        QTest::addColumn<QList<int>>("removed");
        QTest::addColumn<QStringList>("seen");

        const int all = cSelfSubHookCallback::ALL_MESSAGES;
        QList<int> full;
        for (int m = 1000; m < 1000 + cSelfSubHookCallback::MSG_ENTRIES; ++m)
            full << m;
        QTest::newRow("both-added") << QList<int>{71, 522} << QList<int>{}
                                    << QStringList{"71", "522"};
        QTest::newRow("one-removed") << QList<int>{71, 522} << QList<int>{71}
                                     << QStringList{"522"};
        QTest::newRow("all-then-one-keeps-only-that-one")
            << QList<int>{all, 522} << QList<int>{} << QStringList{"522"};
        QTest::newRow("removing-all-empties") << QList<int>{71, 522} << QList<int>{all}
                                              << QStringList{};
        QTest::newRow("thirty-third-refused") << full + QList<int>{522} << QList<int>{}
                                              << QStringList{};
    }

    void messageTables()
    {
        QFETCH(QList<int>, added);
        QFETCH(QList<int>, removed);
        QFETCH(QStringList, seen);

        QStringList calls;
        QVERIFY(subclasser->ssc_Subclass(window.get(), 0, nullptr,
                                         [&calls](bool, bool &, QObject *, int uMsg, qint64, qint64,
                                                  int &) { calls << QString::number(uMsg); }));
        for (int message : added)
            subclasser->ssc_AddMsg(window.get(), cSelfSubHookCallback::MSG_BEFORE, {message});
        for (int message : removed)
            subclasser->ssc_DelMsg(window.get(), cSelfSubHookCallback::MSG_BEFORE, {message});
        sendMove(window.get());
        sendWheel(window.get());
        QCOMPARE(calls, seen);
    }

    // A full table takes a message again once one was removed; one call
    // that overflows stops at the first message that does not fit.
    void fullTableAndFreedPlace()
    {
        QStringList calls;
        QVERIFY(subclasser->ssc_Subclass(window.get(), 0, nullptr,
                                         [&calls](bool, bool &, QObject *, int uMsg, qint64, qint64,
                                                  int &) { calls << QString::number(uMsg); }));
        const int before = cSelfSubHookCallback::MSG_BEFORE;
        for (int m = 1000; m < 1000 + cSelfSubHookCallback::MSG_ENTRIES; ++m)
            subclasser->ssc_AddMsg(window.get(), before, {m});
        subclasser->ssc_AddMsg(window.get(), before, {522, 71});
        sendMove(window.get());
        sendWheel(window.get());
        QCOMPARE(calls, QStringList{});

        subclasser->ssc_DelMsg(window.get(), before, {1003, 1004});
        subclasser->ssc_AddMsg(window.get(), before, {522, 71});
        sendMove(window.get());
        sendWheel(window.get());
        QCOMPARE(calls, (QStringList{"71", "522"}));
    }

    // Added again after a removal, a message is held once, so that one
    // removal takes it out.
    void readdedMessageIsRemovedByOneRemoval()
    {
        QStringList calls;
        QVERIFY(subclasser->ssc_Subclass(window.get(), 0, nullptr,
                                         [&calls](bool, bool &, QObject *, int uMsg, qint64, qint64,
                                                  int &) { calls << QString::number(uMsg); }));
        const int before = cSelfSubHookCallback::MSG_BEFORE;
        subclasser->ssc_AddMsg(window.get(), before, {1000, 71});
        subclasser->ssc_DelMsg(window.get(), before, {1000});
        subclasser->ssc_AddMsg(window.get(), before, {71});
        subclasser->ssc_DelMsg(window.get(), before, {71});
        sendMove(window.get());
        QCOMPARE(calls, QStringList{});
    }

    void watchingFails_data()
    {
        QTest::addColumn<QString>("which");
        QTest::newRow("no-window") << "no-window";
        QTest::newRow("no-callback") << "no-callback";
        QTest::newRow("window-of-another-thread") << "other-thread";
    }

    void watchingFails()
    {
        QFETCH(QString, which);
        QThread other;
        QObject foreign;
        foreign.moveToThread(&other);
        QObject *target = window.get();
        cSelfSubHookCallback::Callback callback = logging();
        if (which == QLatin1String("no-window"))
            target = nullptr;
        else if (which == QLatin1String("no-callback"))
            callback = {};
        else
            target = &foreign;
        QVERIFY(!subclasser->ssc_Subclass(target, 0, nullptr, callback));
        QVERIFY(!subclasser->isSubclassed(target));
    }

    // A second watch of the same window by the same subclasser is refused
    // and the first goes on; another subclasser may watch it too.
    void secondWatchRefused()
    {
        QVERIFY(subclasser->ssc_Subclass(window.get(), 1, nullptr, logging()));
        subclasser->ssc_AddMsg(window.get(), cSelfSubHookCallback::MSG_BEFORE, {71});
        QVERIFY(!subclasser->ssc_Subclass(window.get(), 2, nullptr, logging()));
        cSelfSubHookCallback other;
        QVERIFY(other.ssc_Subclass(window.get(), 3, nullptr, logging()));
        other.ssc_AddMsg(window.get(), cSelfSubHookCallback::MSG_AFTER, {71});
        sendMove(window.get());
        QCOMPARE(log, (QStringList{"before 71 user 1", "own 71", "after 71 user 3"}));
    }

    void destroyedWindowIsReleased()
    {
        QVERIFY(subclasser->ssc_Subclass(window.get(), 0, nullptr, logging()));
        QObject *gone = window.get();
        window.reset();
        QVERIFY(!subclasser->isSubclassed(gone));
        // A new window may take the same place.
        window = std::make_unique<RecordingWindow>(log);
        QVERIFY(subclasser->ssc_Subclass(window.get(), 0, nullptr, logging()));
    }

    // A callback may destroy the window whose message it handles.
    void windowDestroyedInsideItsCallback()
    {
        QVERIFY(subclasser->ssc_Subclass(window.get(), 0, nullptr, logging([this](bool &) {
            window.reset();
        })));
        subclasser->ssc_AddMsg(window.get(), cSelfSubHookCallback::MSG_BEFORE_AND_AFTER, {71});
        QObject *gone = window.get();
        sendMove(gone);
        QVERIFY(!window);
        QVERIFY(!subclasser->isSubclassed(gone));
        QCOMPARE(log, QStringList{"before 71 user 0"});
    }

    // Once the callback's owner is gone, nothing calls into it.
    void ownerGoneStopsCallbacks()
    {
        auto owner = std::make_unique<QObject>();
        QVERIFY(subclasser->ssc_Subclass(window.get(), 0, owner.get(), logging()));
        subclasser->ssc_AddMsg(window.get(), cSelfSubHookCallback::MSG_BEFORE_AND_AFTER, {71});
        owner.reset();
        QVERIFY(!subclasser->isSubclassed(window.get()));
        sendMove(window.get());
        QCOMPARE(log, QStringList{"own 71"});
    }

    // A callback that releases its own window: the message in hand still
    // reaches the window, but not the after phase; later ones pass by.
    void releaseFromInsideTheCallback()
    {
        QVERIFY(subclasser->ssc_Subclass(window.get(), 0, nullptr, logging([this](bool &) {
            subclasser->ssc_UnSubclass(window.get());
        })));
        subclasser->ssc_AddMsg(window.get(), cSelfSubHookCallback::MSG_BEFORE_AND_AFTER, {71});
        sendMove(window.get());
        sendMove(window.get());
        QCOMPARE(log, (QStringList{"before 71 user 0", "own 71", "own 71"}));
        // The filter goes with the next turn of the event loop.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        sendMove(window.get());
        QCOMPARE(log.size(), 4);
    }

    // Messages of the same window nest (a callback that causes another);
    // releasing the whole subclasser from the innermost one lets every
    // level return safely, each message reaching the window once.
    void releaseWhileNested()
    {
        int depth = 0;
        QVERIFY(subclasser->ssc_Subclass(
            window.get(), 0, nullptr,
            [&](bool bBefore, bool &, QObject *hWnd, int, qint64, qint64, int &) {
                log << QStringLiteral("%1 at depth %2")
                           .arg(bBefore ? "before" : "after")
                           .arg(depth);
                if (!bBefore)
                    return;
                ++depth;
                if (depth < 3)
                    sendMove(hWnd);
                else
                    subclasser.reset();
                --depth;
            }));
        subclasser->ssc_AddMsg(window.get(), cSelfSubHookCallback::MSG_BEFORE_AND_AFTER, {71});
        sendMove(window.get());
        QCOMPARE(log, (QStringList{"before at depth 0", "before at depth 1", "before at depth 2",
                                   "own 71", "own 71", "own 71"}));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        sendMove(window.get());
        QCOMPARE(log.size(), 7);
    }

    // The after phase of an outer message still runs when an inner one of
    // the same window was handled meanwhile.
    void nestedMessagesKeepTheirOwnPhases()
    {
        bool inner = false;
        QVERIFY(subclasser->ssc_Subclass(
            window.get(), 0, nullptr,
            [&](bool bBefore, bool &bHandled, QObject *hWnd, int, qint64, qint64, int &) {
                log << QStringLiteral("%1 %2")
                           .arg(bBefore ? "before" : "after")
                           .arg(inner ? "inner" : "outer");
                if (bBefore && !inner) {
                    inner = true;
                    sendMove(hWnd);
                    inner = false;
                } else if (bBefore) {
                    bHandled = true;
                }
            }));
        subclasser->ssc_AddMsg(window.get(), cSelfSubHookCallback::MSG_BEFORE_AND_AFTER, {71});
        sendMove(window.get());
        QCOMPARE(log, (QStringList{"before outer", "before inner", "own 71", "after outer"}));
    }
};

namespace {
// The main window as the move handlers see it.
class FakeMainWindow final : public MainWindowPlace
{
public:
    bool mainVisible() const override { return visible; }
    bool mainMinimised() const override { return minimised; }
    QRect mainGeometry() const override { return geometry; }
    void Position_DropDown() override { ++dropDowns; }

    bool visible = true;
    bool minimised = false;
    QRect geometry{3000, 1500, 12000, 9000};
    int dropDowns = 0;
};

class FakePickList final : public Project::PickWindow
{
public:
    bool pickVisible() const override { return visible; }
    void setPickVisible(bool v) override { visible = v; }
    bool pickMinimised() const override { return minimised; }
    void setPickNormal() override { minimised = false; }
    QRect pickGeometry() const override { return geometry; }
    void movePick(int left, int top) override
    {
        moveHeldEventsOff = gEvents->NoEvents();
        geometry.moveTo(left, top);
    }

    bool visible = true;
    bool minimised = false;
    bool moveHeldEventsOff = false;
    QRect geometry{16000, 2000, 3000, 4000};
};
} // namespace

class MoveHandlersTest : public PelkarTest
{
    Q_OBJECT

protected:
    void setUpCase() override
    {
        ProgramObjects::createEvents();
        ProgramObjects::createProject();
        main = FakeMainWindow();
        pick = FakePickList();
        SetMainWindowPlace(&main);
        Project::SetPickWindow(&pick);
        RecordMainWindowPosition(3000, 1500);
    }

    void tearDownCase() override
    {
        Project::SetPickWindow(nullptr);
        SetMainWindowPlace(nullptr);
    }

    FakeMainWindow main;
    FakePickList pick;

private slots:
    // The main window moves from (3000, 1500) by (100, 50) twips and grows.
    void mainWindowMoved_data()
    {
        QTest::addColumn<bool>("movePick");
        QTest::addColumn<bool>("dropDown");
        QTest::addColumn<bool>("visible");
        QTest::addColumn<bool>("pickMinimised");
        QTest::addColumn<QPoint>("pickAt");
        QTest::addColumn<int>("dropDowns");
        QTest::addColumn<QRect>("pickStored"); // left, top, width, height

        const QPoint stays(16000, 2000);
        const QRect stored(16000, 2000, 3000, 4000);
        QTest::newRow("move-pick-drags-by-the-displacement")
            << true << false << true << false << QPoint(16100, 2050) << 0
            << QRect(16100, 2050, 3000, 4000);
        QTest::newRow("move-pick-off-stays") << false << false << true << false << stays << 0
                                             << stored;
        QTest::newRow("drop-down-placed-under-the-box")
            << true << true << true << false << stays << 1 << QRect(0, 0, 0, 0);
        QTest::newRow("hidden-main-window-does-not-drag")
            << true << false << false << false << stays << 0 << stored;
        QTest::newRow("minimised-pick-list-not-stored")
            << true << false << true << true << QPoint(16100, 2050) << 0 << QRect(0, 0, 0, 0);
    }

    void mainWindowMoved()
    {
        QFETCH(bool, movePick);
        QFETCH(bool, dropDown);
        QFETCH(bool, visible);
        QFETCH(bool, pickMinimised);
        QFETCH(QPoint, pickAt);
        QFETCH(int, dropDowns);
        QFETCH(QRect, pickStored);

        gProject->setMovePick(movePick);
        gProject->setDropDownPick(dropDown);
        main.visible = visible;
        pick.minimised = pickMinimised;
        // Values to tell a store from none.
        gProject->setPickleft(0);
        gProject->setPicktop(0);
        gProject->setPickWidth(0);
        gProject->setPickHeight(0);
        main.geometry = QRect(3100, 1550, 13000, 9500);

        OnMainWindowMoved();

        QCOMPARE(pick.geometry.topLeft(), pickAt);
        QCOMPARE(pick.moveHeldEventsOff, pickAt != QPoint(16000, 2000));
        QCOMPARE(main.dropDowns, dropDowns);
        QCOMPARE((QRect(gProject->Form1left(), gProject->Form1Top(), gProject->Form1Width(),
                        gProject->Form1Height())),
                 QRect(3100, 1550, 13000, 9500));
        QCOMPARE(QPoint(RecordedMainWindowLeft(), RecordedMainWindowTop()), QPoint(3100, 1550));
        if (!dropDown) {
            QCOMPARE((QRect(gProject->Pickleft(), gProject->Picktop(), gProject->PickWidth(),
                            gProject->PickHeight())),
                     pickStored.isNull() ? QRect(0, 0, 0, 200) : pickStored);
        }
        // The next move drags from the new place only.
        if (movePick && visible && !dropDown) {
            main.geometry.moveTo(3000, 1550);
            OnMainWindowMoved();
            QCOMPARE(pick.geometry.topLeft(), pickAt - QPoint(100, 0));
        }
    }

    void nothingWhileMinimisedOrEventsHeldOff_data()
    {
        QTest::addColumn<bool>("minimised");
        QTest::newRow("main-window-minimised") << true;
        QTest::newRow("events-held-off") << false;
    }

    void nothingWhileMinimisedOrEventsHeldOff()
    {
        QFETCH(bool, minimised);
        gProject->setMovePick(true);
        gProject->setForm1left(0);
        gProject->setPickleft(0);
        main.minimised = minimised;
        std::optional<EventsOffGuard> quiet;
        if (!minimised)
            quiet.emplace();
        main.geometry.translate(100, 50);

        OnMainWindowMoved();
        if (!minimised)
            OnPickListMoved();

        QCOMPARE(pick.geometry.topLeft(), QPoint(16000, 2000));
        QCOMPARE(gProject->Form1left(), 0);
        QCOMPARE(gProject->Pickleft(), 0);
        QCOMPARE(RecordedMainWindowLeft(), 3000);
    }

    void pickListMoved_data()
    {
        QTest::addColumn<bool>("pickVisible");
        QTest::addColumn<bool>("mainVisible");
        QTest::addColumn<bool>("stored");
        QTest::newRow("both-on-view") << true << true << true;
        QTest::newRow("pick-list-hidden") << false << true << false;
        QTest::newRow("main-window-hidden") << true << false << false;
    }

    void pickListMoved()
    {
        QFETCH(bool, pickVisible);
        QFETCH(bool, mainVisible);
        QFETCH(bool, stored);
        pick.visible = pickVisible;
        main.visible = mainVisible;
        pick.geometry = QRect(5000, 6000, 2500, 3500);

        OnPickListMoved();

        const QRect place(gProject->Pickleft(), gProject->Picktop(), gProject->PickWidth(),
                          gProject->PickHeight());
        QCOMPARE(place == pick.geometry, stored);
    }
};

PELKAR_TEST(SubclasserTest)
PELKAR_TEST(MoveHandlersTest)
#include "tst_Subclassing.moc"
