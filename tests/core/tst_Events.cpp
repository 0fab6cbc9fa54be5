// The suppression count: nesting, never below zero, and the scoped guard.

#include "PelkarTest.h"

#include "core/Globals.h"
#include "core/clsEvents.h"

class tst_Events : public PelkarTest
{
    Q_OBJECT

private slots:
    void countsNestedCalls_data();
    void countsNestedCalls();
    void guardHoldsEventsOffForItsScope();
    void guardOutlivingTheCounterIsHarmless();
};

void tst_Events::countsNestedCalls_data()
{
    QTest::addColumn<QString>("calls"); // '-' EventsOff, '+' EventsOn, 'c' Clear
    QTest::addColumn<int>("count");
    QTest::addColumn<bool>("noEvents");

    QTest::newRow("fresh-counter-lets-events-through") << "" << 0 << false;
    QTest::newRow("one-off") << "-" << 1 << true;
    QTest::newRow("two-off-one-on-still-suppressed") << "--+" << 1 << true;
    QTest::newRow("two-off-two-on-released") << "--++" << 0 << false;
    QTest::newRow("third-on-stays-at-zero") << "--+++" << 0 << false;
    QTest::newRow("on-before-any-off-is-ignored") << "++-" << 1 << true;
    QTest::newRow("clear-releases-every-level") << "---c" << 0 << false;
}

void tst_Events::countsNestedCalls()
{
    QFETCH(QString, calls);
    QFETCH(int, count);
    QFETCH(bool, noEvents);

    clsEvents events;
    for (QChar c : calls) {
        if (c == QLatin1Char('-'))
            events.EventsOff();
        else if (c == QLatin1Char('+'))
            events.EventsOn();
        else
            events.Clear();
    }
    QCOMPARE(events.count(), count);
    QCOMPARE(events.NoEvents(), noEvents);
}

void tst_Events::guardHoldsEventsOffForItsScope()
{
    ProgramObjects::createEvents();
    {
        EventsOffGuard outer;
        QVERIFY(gEvents->NoEvents());
        {
            EventsOffGuard inner;
            QCOMPARE(gEvents->count(), 2);
        }
        QCOMPARE(gEvents->count(), 1);
    }
    QVERIFY(!gEvents->NoEvents());
}

void tst_Events::guardOutlivingTheCounterIsHarmless()
{
    {
        EventsOffGuard noCounterYet;
    }
    ProgramObjects::createEvents();
    {
        EventsOffGuard guard;
        // A shut-down from inside a message box releases the counter first.
        ProgramObjects::releaseAll();
        QVERIFY(gEvents == nullptr);
    }
    ProgramObjects::createEvents();
    QCOMPARE(gEvents->count(), 0);
}

PELKAR_TEST(tst_Events)
#include "tst_Events.moc"
