// The main window's watch, on a plain main window standing in for Form1
// with three entry boxes and the real pick list: a wheel turn over a box is
// relayed with its distance and buttons and kept from the box; moving the
// main window remembers its place and drags the pick list along; moving the
// pick list remembers its place; Hook and UnHook pair up.

#include "PelkarTest.h"

#include "core/Globals.h"
#include "core/Project.h"
#include "core/VbHelpers.h"
#include "core/clsEvents.h"
#include "lists/frmPickList.h"
#include "mainwindow/MainWindowHooks.h"
#include "winglue/EventRaise.h"

#include <QApplication>
#include <QLineEdit>
#include <QMainWindow>
#include <QWheelEvent>

#include <memory>

namespace {
// Counts the events of one type that reach the object it watches.
class EventCounter : public QObject
{
public:
    explicit EventCounter(QEvent::Type type = QEvent::Wheel) : mType(type) {}
    int count = 0;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == mType)
            ++count;
        return false;
    }

private:
    QEvent::Type mType;
};

void turnWheel(QWidget *over, int distance, Qt::MouseButtons buttons = Qt::NoButton,
               Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    const QPointF at(over->width() / 2.0, over->height() / 2.0);
    QWheelEvent wheel(at, over->mapToGlobal(at), QPoint(), QPoint(0, distance), buttons, modifiers,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(over, &wheel);
}
} // namespace

class tst_MainWindowHooks : public PelkarTest
{
    Q_OBJECT

protected:
    void setUpCase() override
    {
        ProgramObjects::createEvents();
        ProgramObjects::createProject();
        main = std::make_unique<QMainWindow>();
        main->setObjectName(QStringLiteral("Form1"));
        auto *central = new QWidget(main.get());
        main->setCentralWidget(central);
        const char *names[] = {"rtb1", "tbDistrict", "tbForeName", "fgInput"};
        for (int i = 0; i < 4; ++i) {
            boxes[i] = new QLineEdit(central);
            boxes[i]->setObjectName(QString::fromLatin1(names[i]));
            boxes[i]->setGeometry(10 + 110 * i, 10, 100, 24);
            boxes[i]->installEventFilter(&counters[i]);
        }
        main->setGeometry(100, 100, 800, 600);
        main->show();
        pickList = new frmPickList(main.get());
        pickList->move(950, 120);
        pickList->show();
        QVERIFY(QTest::qWaitForWindowExposed(main.get()));
        QVERIFY(QTest::qWaitForWindowExposed(pickList));

        relay = std::make_unique<EventRaise>();
        connect(relay.get(), &EventRaise::MouseWheel, this, [this](int &distance, int &buttons) {
            wheels << QStringLiteral("%1 %2").arg(distance).arg(buttons);
        });
        hooks = std::make_unique<MainWindowHooks>(main.get());
        hooks->setEntryBoxes(boxes[0], boxes[1], boxes[2]);
        hooks->setWheelRelay(relay.get());
        hooks->setPositionDropDown([this] { ++dropDowns; });
        hooks->Hook();
    }

    void tearDownCase() override
    {
        hooks.reset();
        relay.reset();
        main.reset();
        wheels.clear();
        dropDowns = 0;
        for (auto &counter : counters)
            counter.count = 0;
    }

    std::unique_ptr<QMainWindow> main;
    frmPickList *pickList = nullptr;
    QLineEdit *boxes[4] = {};
    EventCounter counters[4];
    std::unique_ptr<EventRaise> relay;
    std::unique_ptr<MainWindowHooks> hooks;
    QStringList wheels;
    int dropDowns = 0;

private slots:
    void wheelOverAnEntryBoxIsRelayed_data()
    {
        QTest::addColumn<int>("box");
        QTest::addColumn<int>("distance");
        QTest::addColumn<int>("buttons");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<bool>("eventsOff");
        QTest::addColumn<QString>("relayed");

        QTest::newRow("district-away") << 1 << 120 << 0 << 0 << false << "120 0";
        QTest::newRow("district-towards") << 1 << -120 << 0 << 0 << false << "-120 0";
        QTest::newRow("rich-text-right-button-held")
            << 0 << 120 << int(Qt::RightButton) << 0 << false << "120 2";
        QTest::newRow("forename-two-notches-left-and-middle")
            << 2 << -240 << int(Qt::LeftButton | Qt::MiddleButton) << 0 << false << "-240 17";
        QTest::newRow("shift-and-ctrl") << 1 << 120 << 0
                                        << int(Qt::ShiftModifier | Qt::ControlModifier) << false
                                        << "120 12";
        QTest::newRow("relayed-while-events-held-off")
            << 1 << -120 << int(Qt::RightButton) << 0 << true << "-120 2";
    }

    void wheelOverAnEntryBoxIsRelayed()
    {
        QFETCH(int, box);
        QFETCH(int, distance);
        QFETCH(int, buttons);
        QFETCH(int, modifiers);
        QFETCH(bool, eventsOff);
        QFETCH(QString, relayed);

        if (eventsOff)
            gEvents->EventsOff();
        turnWheel(boxes[box], distance, Qt::MouseButtons(buttons),
                  Qt::KeyboardModifiers(modifiers));
        QCOMPARE(wheels, QStringList{relayed});
        QCOMPARE(counters[box].count, 0);
    }

    void wheelOverTheGridIsNotRelayed()
    {
        turnWheel(boxes[3], 120);
        QCOMPARE(wheels, QStringList{});
        QCOMPARE(counters[3].count, 1);
    }

    // The main window moved by (20, 10) pixels, (300, 150) twips.
    void movingTheMainWindowDragsThePickList()
    {
        gProject->setMovePick(true);
        const QPoint pickAt = pickList->pos();
        main->move(main->pos() + QPoint(20, 10));
        QTRY_COMPARE(pickList->pos(), pickAt + QPoint(20, 10));
        // The frame, title bar included, as the settings keep every window.
        const QRect g = main->frameGeometry();
        QCOMPARE(gProject->Form1left(), PixelsToTwipsX(g.left()));
        QCOMPARE(gProject->Form1Top(), PixelsToTwipsY(g.top()));
        QCOMPARE(gProject->Form1Width(), PixelsToTwipsX(g.width()));
        QCOMPARE(gProject->Form1Height(), PixelsToTwipsY(g.height()));
        QCOMPARE(gProject->Pickleft(), PixelsToTwipsX(pickList->x()));
        QCOMPARE(dropDowns, 0);
    }

    void resizingTheMainWindowRemembersItsSize()
    {
        main->resize(700, 500);
        QTRY_COMPARE(gProject->Form1Width(), PixelsToTwipsX(main->frameGeometry().width()));
        QCOMPARE(gProject->Form1Height(), PixelsToTwipsY(main->frameGeometry().height()));
        // The window's own layout still ran.
        QCOMPARE(main->centralWidget()->size(), QSize(700, 500));
    }

    void dropDownStylePlacesThePickListUnderTheBox()
    {
        gProject->setMovePick(true);
        gProject->setDropDownPick(true);
        const QPoint pickAt = pickList->pos();
        main->move(main->pos() + QPoint(20, 10));
        QTRY_VERIFY(dropDowns > 0);
        QCOMPARE(pickList->pos(), pickAt);
    }

    void nothingMovesWhileEventsAreHeldOff()
    {
        gProject->setMovePick(true);
        const QPoint pickAt = pickList->pos();
        const int left = gProject->Form1left();
        EventCounter moves(QEvent::Move);
        main->installEventFilter(&moves);
        gEvents->EventsOff();
        main->move(main->pos() + QPoint(20, 10));
        QTRY_VERIFY(moves.count > 0);
        QCOMPARE(pickList->pos(), pickAt);
        QCOMPARE(gProject->Form1left(), left);
    }

    void movingThePickListRemembersItsPlace()
    {
        pickList->move(900, 300);
        QTRY_COMPARE(gProject->Pickleft(), PixelsToTwipsX(900));
        QCOMPARE(gProject->Picktop(), PixelsToTwipsY(300));
        QCOMPARE(gProject->PickWidth(), PixelsToTwipsX(pickList->frameGeometry().width()));
    }

    // Hook twice, UnHook while minimised, Hook on restore: one watch per
    // window, so one relay per turn.
    void hookAndUnHookPairUp()
    {
        hooks->Hook();
        turnWheel(boxes[1], 120);
        QCOMPARE(wheels.size(), 1);

        main->showMinimized();
        hooks->UnHook();
        hooks->UnHook();
        QVERIFY(!hooks->bHooked());
        for (QObject *window :
             {static_cast<QObject *>(main.get()), static_cast<QObject *>(pickList),
              static_cast<QObject *>(boxes[0])})
            QVERIFY(!hooks->cSubclasserHooker().isSubclassed(window));
        turnWheel(boxes[1], 120);
        QCOMPARE(wheels.size(), 1);
        QCOMPARE(counters[1].count, 1);

        main->showNormal();
        hooks->Hook();
        QVERIFY(hooks->bHooked());
        QVERIFY(hooks->cSubclasserHooker().isSubclassed(pickList));
        turnWheel(boxes[1], -120);
        QCOMPARE(wheels, (QStringList{"120 0", "-120 0"}));
    }

    // A box that has no window yet is skipped; the others are still watched.
    void missingBoxIsSkipped()
    {
        hooks->UnHook();
        hooks->setEntryBoxes(nullptr, boxes[1], boxes[2]);
        hooks->Hook();
        QVERIFY(hooks->bHooked());
        turnWheel(boxes[0], 120);
        turnWheel(boxes[2], 120);
        QCOMPARE(wheels, QStringList{"120 0"});
    }
};

PELKAR_TEST(tst_MainWindowHooks)
#include "tst_MainWindowHooks.moc"
