// The ruler's calibration through "Align Ruler" on a real scan viewer: the
// steps and their texts, the measured distance, what Cancel and the close
// box leave, a tenth entry that is not below the first, the viewer's menus
// around the set-up; and the diagnostics box shown by Alt+D.

#include "PelkarTest.h"
#include "RecordingEntryBoxes.h"

#include "core/Globals.h"
#include "core/Project.h"
#include "core/VbHelpers.h"
#include "scanview/ScanViewerHost.h"
#include "scanview/frmScanView.h"
#include "scanview/frmSetupRuler.h"

#include <QAction>
#include <QFrame>
#include <QImage>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QWheelEvent>

namespace {

// The main window as the viewer sees it, counting what it is asked to do.
class RecordingHost : public ScanViewerHost
{
public:
    RecordingHost() { SetViewerHost(this); }
    ~RecordingHost() override { SetViewerHost(nullptr); }
    void HideForm1() override
    {
        ++hidden;
        visible = false;
    }
    void ShowForm1() override
    {
        ++shown;
        visible = true;
    }
    int CurrentRow() const override { return row; }
    bool headerFormLoaded() const override { return headerOpen; }

    int hidden = 0;
    int shown = 0;
    bool visible = true;
    int row = 1;
    bool headerOpen = false;
};

const QString kIntro = QStringLiteral(
    "A line has been placed across the centre of the scanview.\r\n"
    "The line is fixed but the scan will move behind it using the scroll-bars.\r\n"
    "The line is initially Blue but you can change its colour,\r\n"
    "its height, and make it translucent using Image Tools on the View menu after this "
    "set-up sequence.\r\n"
    "See the Pelkar Help File (Scan Tools) for alternative ways to use the ruler.\r\n");
const QString kFirst = QStringLiteral(
    "Move the Scan Image using the scroll bars so that the line is immediately below the "
    "first entry in column 1 of the scan\r\n"
    "Then click Ok below.\r\n"
    "NOTE: In this setup you absolutely MUST use a block of 10 consecutive entries. If the "
    "1st 10 are not consecutive\r\n"
    "for example there are blank lines, or single surname lines within them then use a "
    "different 10. Where these\r\n"
    "10 lines are located is less important than them being consecutive.");
const QString kTenth = QStringLiteral(
    "Move the Image so that the line is immediately below the 10th entry.\r\n"
    "Then click Ok below.");
const QString kThanks = QStringLiteral(
    "Thank You.\r\n"
    "When this window closes you may need to scroll the image\r\n"
    "so that the line is below the line you are transcribing.\r\n"
    "Note that you can make fine adjustments to the position\r\n"
    "of the line image using the shift key with the up or down arrow.");
const QString kNotBelow = QStringLiteral(
    "The 10th entry must be below the first entry, further down the scan.\r\n"
    "Move the image so that the line is immediately below the 10th entry, then click Ok.");

const QStringList kDiagLabels = {
    "Diagnostics -",
    "Screen Height/Width    : ",
    "-- TwipsPerPixel Y/X   : ",
    "Scanview Height/Width  : ",
    "-- Top/Left            : ",
    "Imagex1 Height/Width   : ",
    "-- ScrollY/X (pixels)  : ",
    "--           (twips)   : ",
    "Image Height/Width     : ",
    "-- modified by zoom    : ",
    "Image Zoom / Rotation  : ",
    "Gap                    : ",
    "Ypos / Row1Vsc         : ",
    "Scale100               : ",
    "Scroll Max (Image/Vsc) : ",
    "Vscroll (pixels)       : ",
    "myHeight               : ",
    "Ruler Pos(twips/Pixels): ",
    "Track Image/Ruler/Vsc  : ",
    "Ruler Home             : ",
    "Press ALT and D keys to hide",
};

QColor stored(int colour)
{
    return QColor(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF);
}

// The ruler's settings before a set-up, to see whether it wrote them.
constexpr double kOldJump = 40.0;
constexpr int kOldHome = 200;
// Where the first entry is measured.
constexpr int kFirstBar = 260;

} // namespace

class tst_SetupRuler : public PelkarTest
{
    Q_OBJECT

protected:
    void setUpCase() override
    {
        ProgramObjects::createEvents();
        ProgramObjects::createProject();
        gProject->setScanWidth(PixelsToTwipsX(400));
        gProject->setScanHeight(PixelsToTwipsY(300));
        gProject->setRuleJumpDistance(kOldJump);
        gProject->setRuleVScY1(kOldHome);
        gProject->setRuleWidth(1);
        host = std::make_unique<RecordingHost>();
        boxes = std::make_unique<RecordingEntryBoxes>();
        view = std::make_unique<frmScanView>();
        view->show();
        QVERIFY(QTest::qWaitForWindowExposed(view.get()));
        QVERIFY(view->GetPicture(makePage()));
        QTRY_VERIFY(view->imageArea()->height() > 100);
    }
    void tearDownCase() override
    {
        view.reset();
        boxes.reset();
        host.reset();
        ProgramObjects::releaseAll();
    }

    // A page tall enough to scroll well past ten entries.
    QString makePage()
    {
        QImage image(QSize(300, 2000), QImage::Format_Grayscale8);
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                image.scanLine(y)[x] = uchar((y / 50) % 2 ? 60 : 220);
        const QString path = homePath(QStringLiteral("page.png"));
        if (!image.save(path, "PNG"))
            return {};
        return path;
    }

    QAction *action(const char *name) const
    {
        return view->findChild<QAction *>(QLatin1String(name));
    }
    QScrollBar *rulerBar() const { return view->findChild<QScrollBar *>("VScroll1"); }
    frmSetupRuler *setup() const { return view->setupRulerWindow(); }

    // Shows the ruler, which opens the set-up window on its introduction.
    void openSetup()
    {
        action("mnuShowRuler")->trigger();
        QVERIFY(setup());
        QCOMPARE(setup()->step(), 1);
    }
    void ok() { QTest::mouseClick(setup()->findChild<QPushButton *>("cmdOk"), Qt::LeftButton); }
    void cancel()
    {
        QTest::mouseClick(setup()->findChild<QPushButton *>("cmdCancel"), Qt::LeftButton);
    }
    // Ok through to the given step, with the line under the first entry at
    // kFirstBar and under the tenth at kFirstBar + units.
    void goToStep(int step, int units)
    {
        for (int s = setup()->step(); s < step; ++s) {
            if (s == 2)
                rulerBar()->setValue(kFirstBar);
            if (s == 3)
                rulerBar()->setValue(kFirstBar + units);
            ok();
        }
        QCOMPARE(setup()->step(), step);
    }
    void verifyCancelled()
    {
        QVERIFY(!setup());
        QVERIFY(!view->rulerShown());
        QVERIFY(!view->rulerCalibrated());
        QVERIFY(!rulerBar()->isVisible());
        QCOMPARE(action("mnuShowRuler")->text(), QString("Show Ruler"));
        for (const char *name : {"mnuShowRuler", "mnuZoom", "mnuShowHide"})
            QVERIFY2(action(name)->isEnabled(), name);
        QVERIFY(host->visible);
    }

    std::unique_ptr<RecordingHost> host;
    std::unique_ptr<RecordingEntryBoxes> boxes;
    std::unique_ptr<frmScanView> view;

private slots:
    void windowAndIntroduction()
    {
        openSetup();
        frmSetupRuler *w = setup();
        QCOMPARE(w->windowTitle(), QString("Align Ruler"));
        QVERIFY(w->windowFlags() & Qt::WindowStaysOnTopHint);
        QVERIFY(w->isVisible());
        QCOMPARE(w->instructions(), kIntro);
        QCOMPARE(w->palette().color(QPalette::Window), stored(0xC0E0FF));
        QCOMPARE(w->findChild<QLabel *>("Label1")->palette().color(QPalette::Window),
                 stored(0x80C0FF));
        auto *okButton = w->findChild<QPushButton *>("cmdOk");
        auto *cancelButton = w->findChild<QPushButton *>("cmdCancel");
        QCOMPARE(okButton->text(), QString("Ok"));
        QCOMPARE(cancelButton->text(), QString("Cancel"));
        QCOMPARE(okButton->palette().color(QPalette::Button), stored(0x80FF80));
        QCOMPARE(cancelButton->palette().color(QPalette::Button), stored(0x8080FF));
        // The main window steps aside; the viewer's ruler menus wait.
        QCOMPARE(host->hidden, 1);
        QVERIFY(!host->visible);
        for (const char *name : {"mnuShowRuler", "mnuZoom", "mnuShowHide"})
            QVERIFY2(!action(name)->isEnabled(), name);
    }

    void calibrates_data()
    {
        QTest::addColumn<int>("units");
        QTest::addColumn<double>("jump");
        QTest::addColumn<int>("row");
        QTest::newRow("450 units, grid on row 1") << 450 << 50.0 << 1;
        QTest::newRow("451 units, not rounded") << 451 << 451 / 9.0 << 1;
        QTest::newRow("grid on row 4 starts 4 entries on") << 450 << 50.0 << 4;
    }
    void calibrates()
    {
        QFETCH(int, units);
        QFETCH(double, jump);
        QFETCH(int, row);
        host->row = row;
        openSetup();
        frmSetupRuler *w = setup();
        auto *label = w->findChild<QLabel *>("Label1");

        ok();
        QCOMPARE(w->step(), 2);
        QCOMPARE(w->instructions(), kFirst);
        QCOMPARE(rulerBar()->value(), kOldHome); // the ruler went home

        rulerBar()->setValue(kFirstBar);
        const int firstX = view->ImageX1().ScrollX();
        ok();
        QCOMPARE(w->step(), 3);
        QCOMPARE(w->instructions(), kTenth);
        // A first guess at the tenth entry from the distance stored before.
        QCOMPARE(rulerBar()->value(), kFirstBar + int(9 * kOldJump));

        rulerBar()->setValue(kFirstBar + units);
        ok();
        QCOMPARE(w->step(), 4);
        QCOMPARE(w->instructions(), kThanks);
        QCOMPARE(label->palette().color(QPalette::Window), stored(0x93FDC0));
        QCOMPARE(gProject->RuleJumpDistance(), jump);
        QCOMPARE(gProject->RuleVScY1(), kFirstBar);
        QVERIFY(!view->rulerCalibrated());

        const int shownBefore = host->shown;
        ok();
        QVERIFY(!setup());
        QVERIFY(view->rulerShown());
        QVERIFY(view->rulerCalibrated());
        QCOMPARE(view->jumpDistance(), jump);
        QCOMPARE(view->rulerHome(), kFirstBar);
        QCOMPARE(gProject->RuleScrollX1(), firstX);
        QVERIFY(host->shown > shownBefore);
        QVERIFY(host->visible);
        for (const char *name : {"mnuShowRuler", "mnuZoom", "mnuShowHide"})
            QVERIFY2(action(name)->isEnabled(), name);
        QVERIFY(action("mnucoltop")->isVisible());
        QCOMPARE(boxes->calls.count("GiveFocusBack"), 1);
        const int start = kFirstBar + (row == 1 ? 0 : int(VbRound(row * jump)));
        QCOMPARE(rulerBar()->value(), start);

        // Calibrated: the ruler now follows entry moves.
        view->MoveRuler1Line(false);
        QCOMPARE(rulerBar()->value(), start + int(VbRound(jump)));
        view->MoveRuler1Line(true);
        QCOMPARE(rulerBar()->value(), start);
    }

    // Cancel, or the close box, at each step: the ruler is put away and the
    // viewer's menus come back; only step 4 has written anything.
    void cancelOrCloseBox_data()
    {
        QTest::addColumn<int>("step");
        QTest::addColumn<bool>("closeBox");
        QTest::addColumn<bool>("written");
        for (bool closeBox : {false, true}) {
            const char *how = closeBox ? "close box" : "Cancel";
            QTest::addRow("%s on 1", how) << 1 << closeBox << false;
            QTest::addRow("%s on 2", how) << 2 << closeBox << false;
            QTest::addRow("%s on 3", how) << 3 << closeBox << false;
            QTest::addRow("%s on 4 keeps settings", how) << 4 << closeBox << true;
        }
    }
    void cancelOrCloseBox()
    {
        QFETCH(int, step);
        QFETCH(bool, closeBox);
        QFETCH(bool, written);
        openSetup();
        goToStep(step, 450);
        if (closeBox)
            setup()->close();
        else
            cancel();
        verifyCancelled();
        QCOMPARE(gProject->RuleJumpDistance(), written ? 50.0 : kOldJump);
        QCOMPARE(gProject->RuleVScY1(), written ? kFirstBar : kOldHome);
        QVERIFY(boxes->calls.isEmpty()); // no calibration was handed over
        // The ruler can be shown again.
        openSetup();
    }

    void tenthNotBelowFirstIsRefused_data()
    {
        QTest::addColumn<int>("units");
        QTest::newRow("at the first") << 0;
        QTest::newRow("above the first") << -45;
    }
    void tenthNotBelowFirstIsRefused()
    {
        QFETCH(int, units);
        openSetup();
        goToStep(3, 0);
        rulerBar()->setValue(kFirstBar + units);
        script->answer("Ok");
        ok();
        QCOMPARE(script->records().size(), 1);
        QCOMPARE(script->records()[0].prompt, kNotBelow);
        QCOMPARE(script->records()[0].title, QString("Align Ruler"));
        QCOMPARE(script->records()[0].style, 48);
        // Still waiting for the tenth entry; nothing written.
        QCOMPARE(setup()->step(), 3);
        QCOMPARE(setup()->instructions(), kTenth);
        QCOMPARE(gProject->RuleJumpDistance(), kOldJump);
        QCOMPARE(gProject->RuleVScY1(), kOldHome);

        // Measured again, properly: the first entry stands as measured.
        rulerBar()->setValue(kFirstBar + 90);
        ok();
        QCOMPARE(setup()->step(), 4);
        QCOMPARE(gProject->RuleJumpDistance(), 10.0);
        QCOMPARE(gProject->RuleVScY1(), kFirstBar);
    }

    // Whichever way the transcriber moves the page, the readings are where
    // the page stands under the line.
    void measuresWhereThePageStands_data()
    {
        QTest::addColumn<QString>("how");
        for (const char *how : {"wheel", "arrow keys", "shift arrow keys", "page key",
                                "right drag", "ruler bar"})
            QTest::newRow(how) << QString::fromLatin1(how);
    }
    void measuresWhereThePageStands()
    {
        QFETCH(QString, how);
        QWidget *area = view->imageArea();
        const auto underLine = [this] {
            return view->ImageX1().ScrollY() + view->rulerRect().top();
        };
        const auto moveDown = [&](int times) {
            for (int i = 0; i < times; ++i) {
                if (how == "wheel") {
                    QWheelEvent wheel(QPointF(5, 5), area->mapToGlobal(QPointF(5, 5)), QPoint(),
                                      QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                                      Qt::NoScrollPhase, false);
                    QCoreApplication::sendEvent(area, &wheel);
                } else if (how == "arrow keys") {
                    QTest::keyClick(view.get(), Qt::Key_Down);
                } else if (how == "shift arrow keys") {
                    QTest::keyClick(view.get(), Qt::Key_Down, Qt::ShiftModifier);
                } else if (how == "page key") {
                    QTest::keyClick(view.get(), Qt::Key_PageDown);
                } else if (how == "right drag") {
                    QTest::mousePress(area, Qt::RightButton, Qt::NoModifier, QPoint(50, 100));
                    QMouseEvent move(QEvent::MouseMove, QPointF(50, 60),
                                     area->mapToGlobal(QPointF(50, 60)), Qt::NoButton,
                                     Qt::RightButton, Qt::NoModifier);
                    QCoreApplication::sendEvent(area, &move);
                    QTest::mouseRelease(area, Qt::RightButton, Qt::NoModifier, QPoint(50, 60));
                } else if (how == "ruler bar") {
                    QTest::keyClick(rulerBar(), Qt::Key_Down);
                }
            }
        };
        openSetup();
        ok();
        moveDown(3);
        const int first = underLine();
        QVERIFY(first != kOldHome);
        ok();
        moveDown(6);
        const int tenth = underLine();
        QVERIFY(tenth > first);
        ok();
        QCOMPARE(setup()->step(), 4);
        QCOMPARE(gProject->RuleVScY1(), first);
        QCOMPARE(gProject->RuleJumpDistance(), (tenth - first) / 9.0);
        ok();
        QCOMPARE(view->rulerHome(), first);
        QCOMPARE(underLine(), first);
    }

    // "Align Ruler" asks for the scroll bars: it must not cover them, nor
    // lie off the screen, at any step.
    void setupWindowClearOfTheBars_data()
    {
        QTest::addColumn<QRect>("viewer");
        const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
        QTest::newRow("room on the right") << QRect(screen.topLeft(), QSize(200, 300));
        QTest::newRow("room on the left")
                << QRect(screen.topRight() - QPoint(199, 0), QSize(200, 300));
        QTest::newRow("no room beside")
                << QRect(screen.topLeft(), QSize(screen.width(), 400));
    }
    void setupWindowClearOfTheBars()
    {
        QFETCH(QRect, viewer);
        view->setGeometry(viewer);
        QTRY_COMPARE(view->imageArea()->width(), view->centralWidget()->width()
                                                    - view->findChild<QScrollBar *>("ImageX1VScroll")->width());
        openSetup();
        QScrollBar *across = view->findChild<QScrollBar *>("ImageX1HScroll");
        const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
        for (int step = 1; step <= 4; ++step) {
            QCoreApplication::processEvents();
            const QRect bar(rulerBar()->mapToGlobal(QPoint(0, 0)), rulerBar()->size());
            const QRect hbar(across->mapToGlobal(QPoint(0, 0)), across->size());
            const QRect w = setup()->frameGeometry();
            QVERIFY2(!w.intersects(bar), qPrintable(QStringLiteral("step %1").arg(step)));
            QVERIFY2(!w.intersects(hbar), qPrintable(QStringLiteral("step %1").arg(step)));
            QVERIFY2(screen.contains(w), qPrintable(QStringLiteral("step %1").arg(step)));
            if (step < 4)
                goToStep(step + 1, 450);
        }
    }

    void viewerCloseUnloadsSetup()
    {
        openSetup();
        ok();
        QPointer<frmSetupRuler> w = setup();
        view->close();
        QVERIFY(!view->setupRulerWindow());
        QVERIFY(!w || !w->isVisible());
        QTRY_VERIFY(!w);
        QVERIFY(host->visible);
        QVERIFY(!view->rulerShown());
        QCOMPARE(gProject->RuleJumpDistance(), kOldJump);
    }

    void headerFormHoldsRulerAndTools_data()
    {
        QTest::addColumn<bool>("headerOpen");
        QTest::newRow("header form open") << true;
        QTest::newRow("header form closed") << false;
    }
    void headerFormHoldsRulerAndTools()
    {
        QFETCH(bool, headerOpen);
        host->headerOpen = headerOpen;
        frmScanView other;
        QCOMPARE(other.findChild<QAction *>("mnuShowRuler")->isEnabled(), !headerOpen);
        QCOMPARE(other.findChild<QAction *>("mnuShowHide")->isEnabled(), !headerOpen);
    }

    void diagnostics()
    {
        auto *frame = view->findChild<QFrame *>("DiagFrame");
        auto *box = view->findChild<QPlainTextEdit *>("DiagBox");
        QVERIFY(frame && box);
        QVERIFY(!frame->isVisible());
        QCOMPARE(box->toPlainText(), QString("Diagnostic box - ALT D to show"));
        const QFontMetrics metrics(box->font()); // fixed pitch: the columns line up
        QCOMPARE(metrics.horizontalAdvance("iiii1111"), metrics.horizontalAdvance("WWWW0000"));

        // Plain D does nothing; Alt+D shows every line in order.
        QTest::keyClick(view.get(), Qt::Key_D);
        QVERIFY(!frame->isVisible());
        QCOMPARE(box->toPlainText(), QString("Diagnostic box - ALT D to show"));
        view->ScrollDown();
        QTest::keyClick(view.get(), Qt::Key_D, Qt::AltModifier);
        QVERIFY(frame->isVisible());
        const QStringList lines = box->toPlainText().split(QLatin1Char('\n'));
        QCOMPARE(lines.size(), kDiagLabels.size());
        for (int i = 0; i < lines.size(); ++i)
            QVERIFY2(lines[i].startsWith(kDiagLabels[i]), qPrintable(lines[i]));
        QCOMPARE(lines[6], "-- ScrollY/X (pixels)  : "
                               + QString::number(2 * frmScanView::ScrollUnit) + " 0");
        QCOMPARE(lines[8], QString("Image Height/Width     : 2000 300"));
        QCOMPARE(lines[10], QString("Image Zoom / Rotation  : 1.00 0.00"));

        // A refresh follows scrolling and zooming while shown.
        view->ScrollDown();
        QVERIFY(box->toPlainText().contains(
            "-- ScrollY/X (pixels)  : " + QString::number(4 * frmScanView::ScrollUnit) + " 0"));
        view->findChild<QAction *>("mnuZoomIn")->trigger();
        QVERIFY(box->toPlainText().contains("Image Zoom / Rotation  : 1.25 0.00"));

        // Hidden: the box keeps its old text whatever changes. (Alt+D works
        // from inside the box too, where the transcriber may have clicked.)
        QTest::keyClick(box, Qt::Key_D, Qt::AltModifier);
        QVERIFY(!frame->isVisible());
        const QString old = box->toPlainText();
        view->ScrollDown();
        view->findChild<QAction *>("mnuZoomOut")->trigger();
        QCOMPARE(box->toPlainText(), old);

        // The frame follows the image area's right edge.
        QTest::keyClick(view.get(), Qt::Key_D, Qt::AltModifier);
        QWidget *area = view->imageArea();
        const auto rightEdgeGap = [&] {
            return area->width() - (frame->x() + frame->width());
        };
        const int gap = rightEdgeGap();
        QCOMPARE(gap, TwipsToPixelsX(gVScrollWidth));
        QCOMPARE(frame->y(), TwipsToPixelsY(50));
        view->resize(view->width() + 120, view->height());
        QTRY_COMPARE(area->width() - (frame->x() + frame->width()), gap);
        view->resize(view->width() - 200, view->height());
        QTRY_COMPARE(rightEdgeGap(), gap);
    }

    // The box follows ruler moves and the calibration.
    void diagnosticsFollowRuler()
    {
        QTest::keyClick(view.get(), Qt::Key_D, Qt::AltModifier);
        auto *box = view->findChild<QPlainTextEdit *>("DiagBox");
        openSetup();
        goToStep(4, 450);
        ok();
        QVERIFY(box->toPlainText().contains("Gap                    : 50.00"));
        view->MoveRuler1Line(false);
        QVERIFY(box->toPlainText().contains("Vscroll (pixels)       : "
                                            + QString::number(kFirstBar + 50)));
    }
};

PELKAR_TEST(tst_SetupRuler)
#include "tst_SetupRuler.moc"
