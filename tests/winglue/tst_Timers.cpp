// The window glue: the interval timer, the wheel relay and key sending.

#include "PelkarTest.h"

#include "winglue/CTimer.h"
#include "winglue/EventRaise.h"
#include "winglue/KeySend.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QSignalSpy>
#include <QWindow>

#include <memory>

class TimerTest : public PelkarTest
{
    Q_OBJECT

private slots:
    void intervalRules_data()
    {
        QTest::addColumn<QList<int>>("settings");
        QTest::addColumn<int>("interval");
        QTest::addColumn<int>("starts");

        QTest::newRow("first-interval-starts") << QList<int>{60000} << 60000 << 1;
        QTest::newRow("same-interval-keeps-running") << QList<int>{60000, 60000} << 60000 << 1;
        QTest::newRow("zero-while-stopped-does-nothing") << QList<int>{0} << 0 << 0;
        QTest::newRow("negative-while-stopped-does-nothing") << QList<int>{-1} << 0 << 0;
        QTest::newRow("new-interval-restarts") << QList<int>{60000, 30000} << 30000 << 2;
        QTest::newRow("zero-stops-running") << QList<int>{60000, 0} << 0 << 1;
        QTest::newRow("negative-stops-running") << QList<int>{60000, -60000} << 0 << 1;
        QTest::newRow("stop-then-same-interval-starts-again")
            << QList<int>{60000, 0, 60000} << 60000 << 2;
    }

    void intervalRules()
    {
        QFETCH(QList<int>, settings);
        QFETCH(int, interval);
        QFETCH(int, starts);

        CTimer timer;
        for (int v : settings)
            timer.setInterval(v);

        QCOMPARE(timer.Interval(), interval);
        QCOMPARE(timer.timerStarts(), starts);
        QCOMPARE(timer.systemTimer().isActive(), interval > 0);
        if (interval > 0)
            QCOMPARE(timer.systemTimer().interval(), interval);
    }

    void shortIntervalTicksRepeatedly()
    {
        CTimer timer;
        QSignalSpy spy(&timer, &CTimer::ThatTime);
        timer.setInterval(10);
        QTRY_VERIFY_WITH_TIMEOUT(spy.count() >= 2, 5000);
        QCOMPARE(timer.Interval(), 10);
    }

    void pulseTimerRaisesThatTimeOnceAtOnce()
    {
        CTimer timer;
        QSignalSpy spy(&timer, &CTimer::ThatTime);
        timer.PulseTimer();
        QCOMPARE(spy.count(), 1);
        QCOMPARE(timer.Interval(), 0);
    }

    void destroyingARunningTimerStopsIt()
    {
        auto timer = std::make_unique<CTimer>();
        QObject receiver;
        int ticks = 0;
        connect(timer.get(), &CTimer::ThatTime, &receiver, [&ticks] { ++ticks; });
        timer->setInterval(1);
        QTRY_VERIFY_WITH_TIMEOUT(ticks >= 1, 5000);

        timer.reset();
        const int seen = ticks;
        // Ticks already due must not reach anything once the timer is gone.
        QTest::qWait(20);
        QCOMPARE(ticks, seen);
    }
};

// Stands for the main window's wheel handler.
class WheelHandler : public QObject
{
    Q_OBJECT

public:
    int seenDistance = 0;
    int seenButtons = 0;

public slots:
    void cEvent_MouseWheel(int &lDistance, int &lButtons)
    {
        seenDistance = lDistance;
        seenButtons = lButtons;
        lDistance = 0;
        lButtons |= 0x100;
    }
};

class WheelRelayTest : public PelkarTest
{
    Q_OBJECT

private slots:
    void handlersChangeTheCallersValues()
    {
        EventRaise relay;
        WheelHandler handler;
        connect(&relay, &EventRaise::MouseWheel, &handler, &WheelHandler::cEvent_MouseWheel);
        // A second handler runs after the first and sees what it wrote.
        int laterDistance = -1;
        int laterButtons = -1;
        connect(&relay, &EventRaise::MouseWheel, &handler,
                [&](int &lDistance, int &lButtons) {
                    laterDistance = lDistance;
                    laterButtons = lButtons;
                    lDistance = 240;
                });

        int distance = -120;
        int buttons = 0x8;
        relay.RaiseWheel(distance, buttons);

        QCOMPARE(handler.seenDistance, -120);
        QCOMPARE(handler.seenButtons, 0x8);
        QCOMPARE(laterDistance, 0);
        QCOMPARE(laterButtons, 0x108);
        QCOMPARE(distance, 240);
        QCOMPARE(buttons, 0x108);
    }
};

struct SentKey
{
    QEvent::Type type;
    int key;
    QString text;
    Qt::KeyboardModifiers modifiers;
};

// Records the key events it receives itself or, as an event filter, those of
// the object it watches.
class KeyRecorder : public QObject
{
    Q_OBJECT

public:
    QList<SentKey> keys;

    bool event(QEvent *e) override
    {
        record(e);
        return QObject::event(e);
    }

    bool eventFilter(QObject *watched, QEvent *e) override
    {
        record(e);
        return QObject::eventFilter(watched, e);
    }

private:
    void record(QEvent *e)
    {
        if (e->type() != QEvent::KeyPress && e->type() != QEvent::KeyRelease)
            return;
        const auto *k = static_cast<QKeyEvent *>(e);
        QCOMPARE(k->isAutoRepeat(), false);
        keys.append({k->type(), k->key(), k->text(), k->modifiers()});
    }
};

class KeySendTest : public PelkarTest
{
    Q_OBJECT

private slots:
    void qtKeyFromVk_data()
    {
        QTest::addColumn<int>("vk");
        QTest::addColumn<int>("key");

        QTest::newRow("backspace") << 8 << int(Qt::Key_Backspace);
        QTest::newRow("tab") << 9 << int(Qt::Key_Tab);
        QTest::newRow("return") << 13 << int(Qt::Key_Return);
        QTest::newRow("shift") << 16 << int(Qt::Key_Shift);
        QTest::newRow("control") << 17 << int(Qt::Key_Control);
        QTest::newRow("alt") << 18 << int(Qt::Key_Alt);
        QTest::newRow("escape") << 27 << int(Qt::Key_Escape);
        QTest::newRow("space") << 32 << int(Qt::Key_Space);
        QTest::newRow("page-up") << 33 << int(Qt::Key_PageUp);
        QTest::newRow("page-down") << 34 << int(Qt::Key_PageDown);
        QTest::newRow("end") << 35 << int(Qt::Key_End);
        QTest::newRow("home") << 36 << int(Qt::Key_Home);
        QTest::newRow("left") << 37 << int(Qt::Key_Left);
        QTest::newRow("up") << 38 << int(Qt::Key_Up);
        QTest::newRow("right") << 39 << int(Qt::Key_Right);
        QTest::newRow("down") << 40 << int(Qt::Key_Down);
        QTest::newRow("insert") << 45 << int(Qt::Key_Insert);
        QTest::newRow("delete") << 46 << int(Qt::Key_Delete);
        QTest::newRow("digit-0") << 48 << int(Qt::Key_0);
        QTest::newRow("digit-9") << 57 << int(Qt::Key_9);
        QTest::newRow("letter-a") << 65 << int(Qt::Key_A);
        QTest::newRow("letter-z") << 90 << int(Qt::Key_Z);
        QTest::newRow("f1") << 112 << int(Qt::Key_F1);
        QTest::newRow("f12") << 123 << int(Qt::Key_F12);

        QTest::newRow("zero-unmapped") << 0 << 0;
        QTest::newRow("help-between-delete-and-digits-unmapped") << 47 << 0;
        QTest::newRow("after-digits-unmapped") << 58 << 0;
        QTest::newRow("before-letters-unmapped") << 64 << 0;
        QTest::newRow("windows-key-unmapped") << 91 << 0;
        QTest::newRow("before-f1-unmapped") << 111 << 0;
        QTest::newRow("f13-unmapped") << 124 << 0;
        QTest::newRow("negative-unmapped") << -38 << 0;
        QTest::newRow("letter-code-in-high-bits-unmapped") << 0x10000 + 65 << 0;
    }

    void qtKeyFromVk()
    {
        QFETCH(int, vk);
        QFETCH(int, key);
        QCOMPARE(QtKeyFromVk(vk), key);
    }

    void sendKeyTo_data()
    {
        QTest::addColumn<int>("vk");
        QTest::addColumn<bool>("down");
        QTest::addColumn<int>("type");
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("text");

        const int press = QEvent::KeyPress;
        const int release = QEvent::KeyRelease;
        QTest::newRow("up-press") << 38 << true << press << int(Qt::Key_Up) << QString();
        QTest::newRow("down-release") << 40 << false << release << int(Qt::Key_Down) << QString();
        QTest::newRow("tab-types-tab") << 9 << true << press << int(Qt::Key_Tab) << "\t";
        QTest::newRow("space-types-space") << 32 << true << press << int(Qt::Key_Space) << " ";
        QTest::newRow("letter-types-lower-case") << 65 << true << press << int(Qt::Key_A) << "a";
        QTest::newRow("digit-types-digit") << 55 << false << release << int(Qt::Key_7) << "7";
        QTest::newRow("unmapped-sends-nothing") << 91 << true << int(QEvent::None) << 0 << QString();
    }

    void sendKeyTo()
    {
        QFETCH(int, vk);
        QFETCH(bool, down);
        QFETCH(int, type);
        QFETCH(int, key);
        QFETCH(QString, text);

        KeyRecorder target;
        SendKeyTo(&target, vk, down);
        // Posted like a typed key: nothing arrives inside the sender's call.
        QVERIFY(target.keys.isEmpty());
        QCoreApplication::sendPostedEvents(&target);

        if (type == QEvent::None) {
            QVERIFY(target.keys.isEmpty());
            return;
        }
        QCOMPARE(target.keys.size(), 1);
        QCOMPARE(int(target.keys[0].type), type);
        QCOMPARE(target.keys[0].key, key);
        QCOMPARE(target.keys[0].text, text);
        QCOMPARE(target.keys[0].modifiers, Qt::NoModifier);
    }

    void sendKeyGoesToTheFocusedWindow()
    {
        KeyRecorder recorder;
        // Nothing has the focus yet: the key goes nowhere, and later to nothing.
        QVERIFY(!QGuiApplication::focusObject());
        SendKey(38, true);

        QWindow window;
        window.installEventFilter(&recorder);
        window.resize(200, 100);
        window.show();
        window.requestActivate();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QCOMPARE(QGuiApplication::focusObject(), &window);
        QCoreApplication::sendPostedEvents();
        QVERIFY(recorder.keys.isEmpty());

        SendKey(40, true);
        SendKey(40, false);
        QCoreApplication::sendPostedEvents();
        QCOMPARE(recorder.keys.size(), 2);
        QCOMPARE(recorder.keys[0].type, QEvent::KeyPress);
        QCOMPARE(recorder.keys[0].key, int(Qt::Key_Down));
        QCOMPARE(recorder.keys[1].type, QEvent::KeyRelease);
        QCOMPARE(recorder.keys[1].key, int(Qt::Key_Down));
    }

    void heldShiftReachesTheSentLetter()
    {
        QWindow window;
        window.resize(200, 100);
        window.show();
        window.requestActivate();
        QVERIFY(QTest::qWaitForWindowActive(&window));

        QTest::keyPress(&window, Qt::Key_Shift, Qt::ShiftModifier);
        KeyRecorder target;
        SendKeyTo(&target, 65, true);
        QTest::keyRelease(&window, Qt::Key_Shift, Qt::NoModifier);
        QCoreApplication::sendPostedEvents(&target);

        QCOMPARE(target.keys.size(), 1);
        QCOMPARE(target.keys[0].text, QStringLiteral("A"));
        QCOMPARE(target.keys[0].modifiers, Qt::ShiftModifier);
    }
};

PELKAR_TEST(TimerTest)
PELKAR_TEST(WheelRelayTest)
PELKAR_TEST(KeySendTest)

#include "tst_Timers.moc"
