// The scan viewer in process: the caption's zoom, the zoom's limits, the
// load errors told to the user, the window's place kept in the settings,
// painting of a scroll step, and the ruler following entry moves.

#include "PelkarTest.h"
#include "RecordingStatusBar.h"

#include "core/Globals.h"
#include "core/Project.h"
#include "core/VbHelpers.h"
#include "scanview/ScanViewerAdapter.h"
#include "scanview/frmScanView.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionSlider>

namespace {

// Records the rectangles painted in a widget.
class PaintSpy : public QObject
{
public:
    QList<QRect> rects;
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            rects << static_cast<QPaintEvent *>(event)->rect();
        return false;
    }
};

// The image area as the viewer painted it before it drew only the part of
// the page in view and no background under the page: the background over
// the whole area, then a black-and-white page pixel by pixel (each screen
// pixel the page pixel under its centre) and any other page by Qt.
QImage paintedTheOldWay(const ImagingControl &image, QSize areaSize, QColor background)
{
    QImage out(areaSize, QImage::Format_RGB32);
    out.fill(background);
    const QImage &page = image.displayImage();
    const double z = image.ZoomFactor();
    const int sx = image.ScrollX();
    const int sy = image.ScrollY();
    const QRect exposed(QPoint(0, 0), areaSize);
    const QRectF wanted(sx / z, sy / z, exposed.width() / z, exposed.height() / z);
    const QRect source = wanted.toAlignedRect().intersected(page.rect());
    const QRectF target(source.x() * z - sx, source.y() * z - sy, source.width() * z,
                        source.height() * z);
    if (page.format() == QImage::Format_Mono) {
        const QRect area = exposed.intersected(target.toRect());
        const auto pageAt = [z](int screen, int scroll, int limit) {
            return std::clamp(int(std::floor((screen + scroll + 0.5) / z)), 0, limit - 1);
        };
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x)
                out.setPixel(x, y, page.pixel(pageAt(x, sx, page.width()), pageAt(y, sy, page.height()))
                                       | 0xFF000000u);
    } else {
        QPainter painter(&out);
        painter.setClipRect(exposed);
        painter.drawImage(target, page, QRectF(source));
    }
    return out;
}

} // namespace

class tst_ScanView : public PelkarTest
{
    Q_OBJECT

protected:
    void setUpCase() override
    {
        ProgramObjects::createEvents();
        ProgramObjects::createProject();
        QVERIFY(QDir().mkpath(homePath("data")));
        gProject->setDataPath(homePath("data"));
        gProject->setScanWidth(PixelsToTwipsX(400));
        gProject->setScanHeight(PixelsToTwipsY(300));
    }
    void tearDownCase() override
    {
        ProgramObjects::releaseAll();
    }

    // A grey page with a band every 50 rows, so scrolling shows.
    QString makePage(const QString &name = QStringLiteral("page.png"), QSize size = {300, 2000})
    {
        QImage image(size, QImage::Format_Grayscale8);
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                image.scanLine(y)[x] = uchar((y / 50) % 2 ? 60 : 220);
        const QString path = homePath(name);
        if (!image.save(path, "PNG"))
            return {};
        return path;
    }

    static QAction *action(frmScanView &view, const char *name)
    {
        return view.findChild<QAction *>(QLatin1String(name));
    }

private slots:
    void captionShowsZoom_data()
    {
        QTest::addColumn<double>("stored");
        QTest::addColumn<int>("steps");
        QTest::addColumn<QString>("zoomPart");
        QTest::newRow("actual size") << 1.0 << 0 << "(100%)";
        QTest::newRow("one step out") << 1.0 << -1 << "(75%)";
        QTest::newRow("two steps in") << 1.0 << 2 << "(156.25%)";
        QTest::newRow("stored too small opens at 1") << 0.0005 << 0 << "(100%)";
        QTest::newRow("stored 100 opens at 1") << 100.0 << 0 << "(100%)";
        QTest::newRow("stored half, one in") << 0.5 << 1 << "(62.5%)";
    }
    void captionShowsZoom()
    {
        QFETCH(double, stored);
        QFETCH(int, steps);
        QFETCH(QString, zoomPart);
        const QString path = makePage();
        gProject->setZoom(stored);
        frmScanView view;
        QCOMPARE(view.windowTitle(), QString("Pelkar - Scan View"));
        QVERIFY(view.GetPicture(path));
        for (int i = 0; i < std::abs(steps); ++i)
            action(view, steps > 0 ? "mnuZoomIn" : "mnuZoomOut")->trigger();
        QCOMPARE(view.windowTitle(), "Pelkar - Scan View page.png " + zoomPart);
        QVERIFY(gProject->ScanOn());
        QCOMPARE(gProject->ScanFile(), QString("page.png"));
        QCOMPARE(QDir(gProject->ScanPath()), QDir(home()));
    }

    // A name holding brackets keeps them when the zoom changes.
    void bracketedFileNameKeepsItsName()
    {
        const QString path = makePage(QStringLiteral("page (2) (b).png"));
        frmScanView view;
        QVERIFY(view.GetPicture(path));
        QCOMPARE(view.windowTitle(), QString("Pelkar - Scan View page (2) (b).png (100%)"));
        action(view, "mnuZoomIn")->trigger();
        QCOMPARE(view.windowTitle(), QString("Pelkar - Scan View page (2) (b).png (125%)"));
        action(view, "mnuZoomOut")->trigger();
        QCOMPARE(view.windowTitle(), QString("Pelkar - Scan View page (2) (b).png (93.75%)"));
    }

    void zoomLimits()
    {
        const QString path = makePage();
        frmScanView view;
        QVERIFY(view.GetPicture(path));
        // Below 0.04 the zoom is first raised to it, then stepped.
        view.ImageX1().setZoomFactor(0.01f);
        view.ZoomOut();
        QCOMPARE(view.ImageX1().ZoomFactor(), 0.03f);
        QCOMPARE(gProject->Zoom(), 0.03);
        // A step to 100 or more would be lost at the next opening: refused.
        view.ImageX1().setZoomFactor(90.0f);
        view.Zoomin();
        QCOMPARE(view.ImageX1().ZoomFactor(), 90.0f);
        QVERIFY(view.windowTitle().endsWith(" (9000%)"));
    }

    void loadErrorsAreTold()
    {
        frmScanView view;
        script->answer(QStringList{"Ok", "Ok"});
        QVERIFY(!view.GetPicture(homePath("missing.png")));
        QFile notImage(homePath("notes.png"));
        QVERIFY(notImage.open(QIODevice::WriteOnly));
        notImage.write("this is no picture");
        notImage.close();
        QVERIFY(!view.GetPicture(notImage.fileName()));
        const auto &records = script->records();
        QCOMPARE(records.size(), 2);
        QCOMPARE(records[0].prompt, QString("Sorry but I can't find that file"));
        QCOMPARE(records[1].prompt, QString("Error code 3 opening file"));
        for (const auto &r : records) {
            QCOMPARE(r.title, QString("Pelkar"));
            QCOMPARE(r.style, 16);
        }
        QVERIFY(!gProject->ScanOn());
        QCOMPARE(gProject->ScanFile(), QString());
        QCOMPARE(view.windowTitle(), QString("Pelkar - Scan View"));
    }

    void placeAndSizeKept()
    {
        const QString path = makePage();
        {
            frmScanView view;
            view.show();
            QVERIFY(view.GetPicture(path));
            view.resize(500, 350);
            view.move(40, 30);
            action(view, "mnuZoomIn")->trigger();
            view.close();
            QVERIFY(!gProject->ScanOn());
            QCOMPARE(gProject->ScanFile(), QString());
        }
        QCOMPARE(gProject->ScanWidth(), PixelsToTwipsX(500));
        QCOMPARE(gProject->ScanHeight(), PixelsToTwipsY(350));
        QCOMPARE(gProject->Zoom(), 1.25);
        frmScanView again;
        QCOMPARE(again.size(), QSize(500, 350));
    }

    // A scroll step moves what is on screen and repaints only the strip
    // that comes into view.
    void scrollRepaintsOnlyTheNewStrip()
    {
        const QString path = makePage();
        frmScanView view;
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        QVERIFY(view.GetPicture(path));
        QWidget *area = view.imageArea();
        QTRY_VERIFY(area->height() > 100);
        PaintSpy spy;
        area->installEventFilter(&spy);
        QCoreApplication::processEvents();
        spy.rects.clear();
        view.ScrollDown();
        QCOMPARE(view.ImageX1().ScrollY(), 2 * frmScanView::ScrollUnit);
        QTRY_VERIFY(!spy.rects.isEmpty());
        QCoreApplication::processEvents();
        for (const QRect &r : std::as_const(spy.rects))
            QVERIFY2(r.height() <= 2 * frmScanView::ScrollUnit, qPrintable(QString::number(r.height())));
        area->removeEventFilter(&spy);
    }

    void wheelAndKeysScroll()
    {
        const QString path = makePage();
        frmScanView view;
        view.show();
        QVERIFY(view.GetPicture(path));
        QTRY_VERIFY(view.imageArea()->height() > 100);
        QTest::keyClick(&view, Qt::Key_Down);
        QCOMPARE(view.ImageX1().ScrollY(), 16);
        QWheelEvent wheel(QPointF(10, 10), view.imageArea()->mapToGlobal(QPointF(10, 10)),
                          QPoint(), QPoint(0, -240), Qt::NoButton, Qt::NoModifier,
                          Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(view.imageArea(), &wheel);
        QCOMPARE(view.ImageX1().ScrollY(), 48);
        auto *bar = view.findChild<QScrollBar *>("ImageX1VScroll");
        QVERIFY(bar);
        QCOMPARE(bar->value(), 48);
        bar->setValue(100);
        QCOMPARE(view.ImageX1().ScrollY(), 100);
        ScanViewerAdapter adapter(view);
        adapter.ScrollPage(0);
        QCOMPARE(view.ImageX1().ScrollY(), 0); // less than a page up goes to the top
    }

    // A right-button drag moves the page with the pointer; with the ruler
    // shown only sideways, since the ruler's bar holds the page's height.
    void rightDragMovesThePage()
    {
        const QString path = makePage(QStringLiteral("wide.png"), {900, 2000});
        frmScanView view;
        view.show();
        QVERIFY(view.GetPicture(path));
        QTRY_VERIFY(view.imageArea()->height() > 100);
        QWidget *area = view.imageArea();
        const auto drag = [area](QPoint from, QPoint to) {
            QTest::mousePress(area, Qt::RightButton, Qt::NoModifier, from);
            QMouseEvent move(QEvent::MouseMove, QPointF(to), area->mapToGlobal(QPointF(to)),
                             Qt::NoButton, Qt::RightButton, Qt::NoModifier);
            QCoreApplication::sendEvent(area, &move);
            QTest::mouseRelease(area, Qt::RightButton, Qt::NoModifier, to);
        };
        drag({150, 150}, {110, 80});
        QCOMPARE(view.ImageX1().ScrollX(), 40);
        QCOMPARE(view.ImageX1().ScrollY(), 70);
        // Past the top-left corner the page stops there.
        drag({10, 10}, {200, 200});
        QCOMPARE(view.ImageX1().ScrollX(), 0);
        QCOMPARE(view.ImageX1().ScrollY(), 0);

        // With the ruler the page moves under the line, and the ruler's bar
        // goes with it.
        view.findChild<QAction *>(QStringLiteral("mnuShowRuler"))->trigger();
        view.DoneRulerSetup(0, 0, 100, 30);
        const int y = view.ImageX1().ScrollY();
        drag({150, 150}, {120, 60});
        QCOMPARE(view.ImageX1().ScrollX(), 30);
        QCOMPARE(view.ImageX1().ScrollY(), y + 90);
        QCOMPARE(view.rulerBarValue(), y + 90 + view.rulerRect().top());
    }

    // Holding the left button shows the page under the pointer at twice the
    // zoom; letting go puts the page back as it was.
    void magnifierWhileTheLeftButtonIsHeld()
    {
        const QString path = makePage();
        frmScanView view;
        view.show();
        QVERIFY(view.GetPicture(path));
        QTRY_VERIFY(view.imageArea()->height() > 150);
        QWidget *area = view.imageArea();
        const auto grey = [area](int x, int y) { return qGray(area->grab().toImage().pixel(x, y)); };
        // Page row 60 is in the second (dark) band.
        QCOMPARE(grey(100, 60), 60);
        QTest::mousePress(area, Qt::LeftButton, Qt::NoModifier, QPoint(100, 30));
        QCOMPARE(view.magnifierRect(), QRect(0, -70, 200, 200));
        // 30 pixels below the pointer in the magnifier is page row 45.
        QCOMPARE(grey(100, 60), 220);
        QTest::mouseRelease(area, Qt::LeftButton, Qt::NoModifier, QPoint(100, 30));
        QVERIFY(view.magnifierRect().isEmpty());
        QCOMPARE(grey(100, 60), 60);
        // The menu item keeps the magnifier on.
        view.findChild<QAction *>(QStringLiteral("mnuShowMag"))->trigger();
        QTest::mousePress(area, Qt::LeftButton, Qt::NoModifier, QPoint(100, 30));
        QVERIFY(!view.magnifierRect().isEmpty());
        QTest::mouseRelease(area, Qt::LeftButton, Qt::NoModifier, QPoint(100, 30));
    }

    void rulerFollowsEntries()
    {
        RecordingStatusBar status;
        gProject->setRuleJumpDistance(12.5);
        gProject->setRuleColour(0x0000FF);
        const QString path = makePage();
        frmScanView view;
        view.show();
        QVERIFY(view.GetPicture(path));
        QTRY_VERIFY(view.imageArea()->height() > 100);
        const int height = view.imageArea()->height();
        auto *bar = view.findChild<QScrollBar *>("VScroll1");
        QVERIFY(bar);
        QCOMPARE(view.RulerColour(), 0xFF0000); // hidden
        action(view, "mnuShowRuler")->trigger();
        QVERIFY(view.rulerShown());
        QVERIFY(bar->isVisible());
        QCOMPARE(view.RulerColour(), 0x0000FF);
        QCOMPARE(view.rulerRect().top(), height / 2);
        QCOMPARE(action(view, "mnuShowRuler")->text(), QString("Hide Ruler"));
        QVERIFY(!action(view, "mnuZoom")->isEnabled());

        // Not calibrated: only forced moves act.
        ScanViewerAdapter adapter(view);
        const int start = bar->value();
        adapter.MoveRuler1Line(false);
        QCOMPARE(bar->value(), start);

        // Home at the line's starting place; jump from the settings.
        view.DoneRulerSetup(0, 0, start, 0);
        QVERIFY(view.rulerCalibrated());
        QVERIFY(action(view, "mnucoltop")->isVisible());
        QCOMPARE(bar->value(), start);
        adapter.MoveRulerToLine(3); // 37.5 to the even neighbour
        QCOMPARE(bar->value(), start + 38);
        // The line stays at the middle; the page moves under it.
        QCOMPARE(view.rulerRect().top(), height / 2);
        QCOMPARE(view.ImageX1().ScrollY(), 38);
        // Two entries on is 25: the half pixel rounded up before is taken back.
        adapter.MoveRuler1Line(true);
        QCOMPARE(bar->value(), start + 25);
        QCOMPARE(view.ImageX1().ScrollY(), 25);
        adapter.MoveRulerToLine(0);
        QCOMPARE(bar->value(), start);
        QCOMPARE(view.ImageX1().ScrollY(), 0);
        // Up from the top of the page: the line moves up instead.
        adapter.MoveRuler1Line(true);
        QCOMPARE(bar->value(), start - 12);
        QCOMPARE(view.rulerRect().top(), height / 2 - 12);
        QCOMPARE(view.ImageX1().ScrollY(), 0);
        QVERIFY(status.messages.isEmpty());

        // Past the end: stops there and tells the user, once.
        adapter.MoveRulerToLine(100000);
        QCOMPARE(bar->value(), bar->maximum());
        QCOMPARE(status.messages.size(), 1);
        QCOMPARE(status.messages.last().text, QString("You need to move the ruler"));
        QVERIFY(status.messages.last().warning);
        adapter.MoveRulerToLine(1);
        QCOMPARE(status.messages.size(), 1);

        // "Move Ruler to Top of Column" goes home.
        action(view, "mnucoltop")->trigger();
        QCOMPARE(bar->value(), start);

        action(view, "mnuShowRuler")->trigger();
        QVERIFY(!view.rulerShown());
        QVERIFY(!bar->isVisible());
        QCOMPARE(action(view, "mnuShowRuler")->text(), QString("Show Ruler"));
    }

    // Row after row, the ruler keeps to the entries: the parts of a pixel
    // that each move rounds away do not add up.
    void rulerDoesNotDriftOverManyRows()
    {
        const QString path = makePage(QStringLiteral("tall.png"), {300, 4000});
        frmScanView view;
        view.show();
        QVERIFY(view.GetPicture(path));
        QTRY_VERIFY(view.imageArea()->height() > 100);
        action(view, "mnuShowRuler")->trigger();
        const int home = view.rulerBarValue();
        view.DoneRulerSetup(0, 0, home, 52.7);
        ScanViewerAdapter adapter(view);
        for (int entry = 2; entry <= 40; ++entry) {
            adapter.MoveRulerToLine(1);
            QVERIFY2(std::abs(view.rulerBarValue() - (home + (entry - 1) * 52.7)) <= 0.5,
                     qPrintable(QString::number(entry)));
        }
        for (int i = 0; i < 39; ++i)
            adapter.MoveRuler1Line(true);
        QCOMPARE(view.rulerBarValue(), home);
        // A move by hand starts afresh from where the page was put.
        adapter.MoveRulerToLine(1);
        QCOMPARE(view.rulerBarValue(), home + 53);
        view.ScrollDown();
        adapter.MoveRulerToLine(1);
        QCOMPARE(view.rulerBarValue(), home + 55 + 53);
    }

    // The fine step: two pixels, with or without the ruler; with it, going
    // up stops with the bar at 1 or 2, never 0, and the line where the bar
    // says.
    void fineStepsStopAtOneOrTwo_data()
    {
        QTest::addColumn<int>("offset");
        QTest::newRow("from the line's own row") << 0;
        QTest::newRow("from one row below") << 1;
    }
    void fineStepsStopAtOneOrTwo()
    {
        QFETCH(int, offset);
        const QString path = makePage();
        frmScanView view;
        view.show();
        QVERIFY(view.GetPicture(path));
        QTRY_VERIFY(view.imageArea()->height() > 100);
        view.ScrollDown();
        QCOMPARE(view.ImageX1().ScrollY(), 2);
        view.ScrollUp();
        QCOMPARE(view.ImageX1().ScrollY(), 0);

        action(view, "mnuShowRuler")->trigger();
        auto *bar = view.findChild<QScrollBar *>("VScroll1");
        const int centre = view.rulerRect().top();
        const int start = bar->value() + offset;
        bar->setValue(start);
        // At the middle the line stays and the page moves under it.
        view.ScrollDown();
        QCOMPARE(bar->value(), start + 2);
        QCOMPARE(view.rulerRect().top(), centre);
        QCOMPARE(view.ImageX1().ScrollY(), start + 2 - centre);
        for (int i = 0; i < 1000 && bar->value() > 2; ++i)
            view.ScrollUp();
        QCOMPARE(bar->value(), 2 - start % 2);
        view.ScrollUp();
        QCOMPARE(bar->value(), 2 - start % 2);
        QCOMPARE(view.rulerRect().top(), bar->value());
        QCOMPARE(view.ImageX1().ScrollY(), 0);
    }

    // However the page is moved while the ruler shows, the ruler's bar
    // tells the page row under the line; the page's own vertical bar gives
    // way to it meanwhile.
    void rulerBarFollowsEveryMoveOfThePage_data()
    {
        QTest::addColumn<QString>("how");
        for (const char *how : {"wheel", "arrow key", "shift arrow key", "page key",
                                "page down", "page up", "right drag", "zoom in", "zoom out",
                                "ruler bar arrow", "ruler bar page", "wheel on the ruler bar"})
            QTest::newRow(how) << QString::fromLatin1(how);
    }
    void rulerBarFollowsEveryMoveOfThePage()
    {
        QFETCH(QString, how);
        const QString path = makePage();
        frmScanView view;
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        QVERIFY(view.GetPicture(path));
        QTRY_VERIFY(view.imageArea()->height() > 100);
        auto *pageBar = view.findChild<QScrollBar *>("ImageX1VScroll");
        auto *bar = view.findChild<QScrollBar *>("VScroll1");
        QVERIFY(pageBar->isVisible());
        action(view, "mnuShowRuler")->trigger();
        QVERIFY(bar->isVisible());
        QVERIFY(!pageBar->isVisible());
        QWidget *area = view.imageArea();
        const auto underLine = [&view] {
            return view.ImageX1().ScrollY() + view.rulerRect().top();
        };
        const auto wheel = [](QWidget *on, int notches) {
            QWheelEvent event(QPointF(5, 5), on->mapToGlobal(QPointF(5, 5)), QPoint(),
                              QPoint(0, -120 * notches), Qt::NoButton, Qt::NoModifier,
                              Qt::NoScrollPhase, false);
            QCoreApplication::sendEvent(on, &event);
        };
        const QRect barPlace = bar->geometry();
        QCOMPARE(barPlace.right() + TwipsToPixelsX(20), area->width() - 1);
        // The page well down first, so that it can go either way.
        wheel(area, 40);
        QVERIFY(view.ImageX1().ScrollY() > 300);
        QCOMPARE(bar->value(), underLine());

        const int before = underLine();
        if (how == "wheel") {
            wheel(area, -3);
        } else if (how == "arrow key") {
            QTest::keyClick(&view, Qt::Key_Down);
        } else if (how == "shift arrow key") {
            QTest::keyClick(&view, Qt::Key_Up, Qt::ShiftModifier);
        } else if (how == "page key") {
            QTest::keyClick(&view, Qt::Key_PageDown);
        } else if (how == "page down" || how == "page up") {
            ScanViewerAdapter(view).ScrollPage(how == "page down" ? 2 : 0);
        } else if (how == "right drag") {
            QTest::mousePress(area, Qt::RightButton, Qt::NoModifier, QPoint(50, 150));
            QMouseEvent move(QEvent::MouseMove, QPointF(50, 90),
                             area->mapToGlobal(QPointF(50, 90)), Qt::NoButton,
                             Qt::RightButton, Qt::NoModifier);
            QCoreApplication::sendEvent(area, &move);
            QTest::mouseRelease(area, Qt::RightButton, Qt::NoModifier, QPoint(50, 90));
        } else if (how == "zoom in" || how == "zoom out") {
            action(view, how == "zoom in" ? "mnuZoomIn" : "mnuZoomOut")->trigger();
        } else if (how == "ruler bar arrow" || how == "ruler bar page") {
            QStyleOptionSlider option;
            option.initFrom(bar);
            option.orientation = Qt::Vertical;
            option.minimum = bar->minimum();
            option.maximum = bar->maximum();
            option.sliderPosition = bar->sliderPosition();
            option.sliderValue = bar->value();
            option.singleStep = bar->singleStep();
            option.pageStep = bar->pageStep();
            const auto part = how == "ruler bar arrow" ? QStyle::SC_ScrollBarAddLine
                                                       : QStyle::SC_ScrollBarSubPage;
            const QRect r = bar->style()->subControlRect(QStyle::CC_ScrollBar, &option, part, bar);
            QTest::mouseClick(bar, Qt::LeftButton, Qt::NoModifier, r.center());
        } else if (how == "wheel on the ruler bar") {
            wheel(bar, 2);
        }
        QVERIFY2(underLine() != before, qPrintable(QString::number(before)));
        QCOMPARE(bar->value(), underLine());
        // The bar stays at the page's right edge, however the page moved.
        QCOMPARE(bar->geometry(), barPlace);

        view.CancelRuler();
        QVERIFY(!bar->isVisible());
        QVERIFY(pageBar->isVisible());
    }

    // The hourglass shows while the scan is read, and is gone once it is
    // shown or the failure is told.
    // The page appears on screen exactly as it did before the viewer drew
    // only the part in view: black and white and grey, smaller than the
    // area and larger, at zooms that end the page part-way through a
    // screen pixel, and scrolled.
    void paintedAsBefore_data()
    {
        QTest::addColumn<bool>("mono");
        QTest::addColumn<float>("zoom");
        QTest::addColumn<QPoint>("scroll");
        for (const bool mono : {true, false}) {
            const QString kind = mono ? QStringLiteral("black-and-white ") : QStringLiteral("grey ");
            QTest::newRow(qPrintable(kind + "tenth")) << mono << 0.1f << QPoint();
            QTest::newRow(qPrintable(kind + "third, page ends inside a pixel")) << mono << 0.333f << QPoint();
            QTest::newRow(qPrintable(kind + "three quarters, scrolled")) << mono << 0.75f << QPoint(7, 31);
            QTest::newRow(qPrintable(kind + "actual size")) << mono << 1.0f << QPoint();
            QTest::newRow(qPrintable(kind + "actual size, scrolled")) << mono << 1.0f << QPoint(13, 101);
            QTest::newRow(qPrintable(kind + "odd zoom in, scrolled")) << mono << 1.7f << QPoint(29, 250);
            QTest::newRow(qPrintable(kind + "four times, at the far corner")) << mono << 4.0f << QPoint(100000, 100000);
        }
    }
    void paintedAsBefore()
    {
        QFETCH(bool, mono);
        QFETCH(float, zoom);
        QFETCH(QPoint, scroll);
        QImage grey(301, 517, QImage::Format_Grayscale8);
        for (int y = 0; y < grey.height(); ++y)
            for (int x = 0; x < grey.width(); ++x)
                grey.scanLine(y)[x] = uchar((x * 7 + y * 13) % 17 < 8 || (x / 5 + y / 3) % 4 == 0
                                                ? (x + y) % 90
                                                : 160 + (x * y) % 96);
        const QImage page = mono ? grey.convertToFormat(QImage::Format_Mono, Qt::ThresholdDither) : grey;
        const QString path = homePath(mono ? "bw.png" : "grey.png");
        QVERIFY(page.save(path, "PNG"));
        gProject->setZoom(zoom);
        frmScanView view;
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        QVERIFY(view.GetPicture(path));
        QCOMPARE(view.ImageX1().BitsPerPixel(), mono ? 1 : 8);
        view.ImageX1().setScrollX(scroll.x());
        view.ImageX1().setScrollY(scroll.y());
        QCoreApplication::processEvents();
        QWidget *area = view.imageArea();
        const QImage painted = area->grab().toImage().convertToFormat(QImage::Format_RGB32);
        QCOMPARE(painted, paintedTheOldWay(view.ImageX1(), area->size(), view.palette().color(QPalette::Dark)));
    }

    void hourglassWhileAScanLoads_data()
    {
        QTest::addColumn<bool>("good");
        QTest::newRow("a scan that loads") << true;
        QTest::newRow("a file that is no scan") << false;
    }
    void hourglassWhileAScanLoads()
    {
        QFETCH(bool, good);
        QString path = makePage();
        if (!good) {
            path = homePath("bad.png");
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("not an image");
        }
        frmScanView view;
        view.show();
        // The cursor when the control has read the file.
        int whileReading = -2;
        connect(&view.ImageX1(), &ImagingControl::changed, this, [&] {
            if (view.ImageX1().FileName() != path)
                return;
            const QCursor *c = QGuiApplication::overrideCursor();
            whileReading = c ? int(c->shape()) : -1;
        });
        if (!good)
            script->answer("Ok");
        QCOMPARE(view.GetPicture(path), good);
        QCOMPARE(whileReading, int(Qt::WaitCursor));
        QVERIFY(!QGuiApplication::overrideCursor());
    }

    void zoomWarningOnceWhileCalibrated()
    {
        const QString path = makePage();
        frmScanView view;
        view.show();
        QVERIFY(view.GetPicture(path));
        action(view, "mnuShowRuler")->trigger();
        view.DoneRulerSetup(0, 0, 100, 20);
        script->answer("Ok");
        ScanViewerAdapter adapter(view);
        adapter.ZoomIn();
        adapter.ZoomIn();
        QCOMPARE(script->records().size(), 1);
        QCOMPARE(script->records()[0].title, QString("Pelkar ScanZoom"));
        QCOMPARE(script->records()[0].prompt,
                 QString("Warning - If you change the zoom factor after showing the ruler \r\n"
                         "then the Move Ruler to Column Top button will not work properly.\r\n"
                         "To avoid this problem - close the ruler, change the zoom and reshow "
                         "the ruler."));
        QCOMPARE(script->records()[0].style, 48);
        // The jump follows the zoom; home stays.
        QCOMPARE(view.jumpDistance(), 20 * 1.5625);
        QCOMPARE(view.rulerHome(), 100);
    }
};

PELKAR_TEST(tst_ScanView)
#include "tst_ScanView.moc"
