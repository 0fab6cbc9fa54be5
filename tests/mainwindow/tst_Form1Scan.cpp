// The Scan Viewer menu and the supplementary-file items through the real
// main window: the viewer opened on a chosen scan, zoomed, closed from the
// menu or by its own close box, the ruler following the grid's rows, the
// scan reopened at start-up and from the header form, and the four
// supplementary files chosen.

#include "MainWindowFixture.h"
#include "TestFiles.h"
#include "TypedBatch.h"

#include "core/Globals.h"
#include "core/Project.h"
#include "core/VbHelpers.h"
#include "entry/FlexGrid.h"
#include "lists/Districts.h"
#include "mainwindow/ScanViewerOwner.h"
#include "scanview/frmScanTools.h"
#include "scanview/frmScanView.h"
#include "scanview/frmSetupRuler.h"
#include "transcription/CrashRecovery.h"

#include <QAction>
#include <QApplication>
#include <QScreen>
#include <QImage>
#include <QPushButton>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QWheelEvent>

#include <cmath>

namespace {

const QString kCrLf = QStringLiteral("\r\n");

// An index page: each entry a row of dark words kTextHeight pixels high, the
// first at kFirstEntry, one every kSpacing (not a whole number of pixels).
constexpr double kFirstEntry = 300.0;
constexpr double kSpacing = 52.7;
constexpr int kTextHeight = 24;

// The page row just below entry n (from 1), where the ruler's line belongs
// while that entry is typed.
double belowEntry(int n)
{
    return kFirstEntry + (n - 1) * kSpacing + kTextHeight + 2;
}

// A click on one part of a scroll bar, as the transcriber's mouse makes it.
void clickBar(QScrollBar *bar, QStyle::SubControl part)
{
    QStyleOptionSlider option;
    option.initFrom(bar);
    option.orientation = bar->orientation();
    option.minimum = bar->minimum();
    option.maximum = bar->maximum();
    option.sliderPosition = bar->sliderPosition();
    option.sliderValue = bar->value();
    option.singleStep = bar->singleStep();
    option.pageStep = bar->pageStep();
    const QRect r = bar->style()->subControlRect(QStyle::CC_ScrollBar, &option, part, bar);
    QTest::mouseClick(bar, Qt::LeftButton, Qt::NoModifier, r.center());
}

void wheelNotch(QWidget *on, bool down)
{
    QWheelEvent event(QPointF(5, 5), on->mapToGlobal(QPointF(5, 5)), QPoint(),
                      QPoint(0, down ? -120 : 120), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(on, &event);
}

QString suppQuestion(const QString &periodLine)
{
    return QStringList{
            QStringLiteral("This lets you select a different Supplementary District File"),
            QStringLiteral("You should normally use a different file for each of the 4 year ranges "
                           "because"),
            QStringLiteral("the names of many districts were quite different in each range"),
            QStringLiteral("You can select an existing Supplementary file (for example one provided "
                           "by your"),
            QStringLiteral("Syndicate, or you can create a new file. If you create a new file it will "
                           "be empty"),
            QStringLiteral("until you start adding new district names."),
            periodLine,
            QStringLiteral("Is this what you want to do?"),
    }.join(kCrLf);
}

} // namespace

class tst_Form1Scan : public MainWindowFixture
{
    Q_OBJECT

protected:
    void setUpCase() override
    {
        MainWindowFixture::setUpCase();
        startWindow();
        // The fixture's recording viewer would stand in for the real one.
        window->setScanViewer(nullptr);
        gProject->setScanWidth(PixelsToTwipsX(400));
        gProject->setScanHeight(PixelsToTwipsY(300));
        gProject->setZoom(1.0);
    }

    QAction *item(const char *name) const { return window->MenuItem(QLatin1String(name)); }
    frmScanView *viewer() const { return window->scanViewerOwner().view(); }

    // A page with a band every 50 rows, tall enough to scroll.
    QString makePage(const QString &name = QStringLiteral("page.png"))
    {
        QImage image(QSize(300, 3000), QImage::Format_Grayscale8);
        for (int y = 0; y < image.height(); ++y)
            memset(image.scanLine(y), (y / 50) % 2 ? 60 : 220, size_t(image.width()));
        const QString path = homePath(name);
        return image.save(path, "PNG") ? path : QString();
    }

    // Show Scan Image with the scan chosen in its dialog.
    void showScan(const QString &path)
    {
        script->answer(path);
        item("mnuShowScanImage")->trigger();
        QVERIFY(viewer());
        QVERIFY(viewer()->isVisible());
    }

    bool scanItemsShown() const
    {
        for (const char *name : {"mnuOpenNewScan", "mnuScanSep", "mnuZoomIn", "mnuZoomOut"}) {
            if (!item(name)->isVisible())
                return false;
        }
        return true;
    }
    bool scanItemsHidden() const
    {
        for (const char *name : {"mnuOpenNewScan", "mnuScanSep", "mnuZoomIn", "mnuZoomOut"}) {
            if (item(name)->isVisible())
                return false;
        }
        return true;
    }

private slots:
    // Show opens the viewer on the chosen scan; the same item, now "Close
    // Scan", closes it and forgets the scan.
    void showAndCloseFromTheMenu()
    {
        QVERIFY(scanItemsHidden());
        const QString page = makePage();
        showScan(page);
        QCOMPARE(script->records().first().kind, QStringLiteral("openFile"));
        QCOMPARE(item("mnuShowScanImage")->text(), QStringLiteral("Close Scan"));
        QVERIFY(scanItemsShown());
        QVERIFY(gProject->ScanOn());
        QCOMPARE(gProject->ScanFile(), QStringLiteral("page.png"));
        QCOMPARE(viewer()->windowTitle(), QStringLiteral("Pelkar - Scan View page.png (100%)"));

        item("mnuShowScanImage")->trigger();
        QVERIFY(!viewer());
        QCOMPARE(item("mnuShowScanImage")->text(), QStringLiteral("Show Scan Image"));
        QVERIFY(scanItemsHidden());
        QVERIFY(!gProject->ScanOn());
        QVERIFY(gProject->ScanFile().isEmpty());
    }

    // A cancelled dialog opens nothing.
    void cancelledDialogOpensNothing()
    {
        script->answer(QStringLiteral("<cancel>"));
        item("mnuShowScanImage")->trigger();
        QVERIFY(!viewer());
        QCOMPARE(item("mnuShowScanImage")->text(), QStringLiteral("Show Scan Image"));
        QVERIFY(!gProject->ScanOn());
    }

    // A file that will not load is told, and the menu is as before.
    void unloadableScanLeavesTheMenu()
    {
        const QString bad = homePath("bad.png");
        QFile file(bad);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("not an image at all");
        file.close();
        script->answer({bad, QStringLiteral("Ok")});
        item("mnuShowScanImage")->trigger();
        QCOMPARE(script->records().last().prompt, QStringLiteral("Error code 3 opening file"));
        QVERIFY(!viewer());
        QCOMPARE(item("mnuShowScanImage")->text(), QStringLiteral("Show Scan Image"));
        QVERIFY(!gProject->ScanOn());
        QVERIFY(gProject->ScanFile().isEmpty());
        QVERIFY(!item("mnuZoomIn")->isVisible());
    }

    // The viewer's close box puts the main window's menu back, and stores
    // the viewer's zoom.
    void viewerClosedByItsCloseBox()
    {
        showScan(makePage());
        item("mnuZoomIn")->trigger();
        QVERIFY(viewer()->close());
        QTRY_VERIFY(!viewer());
        QCOMPARE(item("mnuShowScanImage")->text(), QStringLiteral("Show Scan Image"));
        QVERIFY(scanItemsHidden());
        QVERIFY(!gProject->ScanOn());
        QVERIFY(gProject->ScanFile().isEmpty());
        QCOMPARE(gProject->Zoom(), 1.25);
    }

    // The zoom items and F11/F12 in the entry box zoom the shown scan; with
    // no scan they do nothing.
    void zoomCommands()
    {
        item("mnuZoomIn")->trigger();
        QVERIFY(!viewer());
        showScan(makePage());
        item("mnuZoomIn")->trigger();
        QCOMPARE(viewer()->ImageX1().ZoomFactor(), 1.25f);
        item("mnuZoomOut")->trigger();
        item("mnuZoomOut")->trigger();
        QCOMPARE(viewer()->ImageX1().ZoomFactor(), 0.703125f);
        QTest::keyClick(window->VisibleEntryBox(), Qt::Key_F11);
        QCOMPARE(viewer()->ImageX1().ZoomFactor(), 0.87890625f);
        QCOMPARE(viewer()->windowTitle(),
                 QStringLiteral("Pelkar - Scan View page.png (87.89063%)"));
    }

    // Open New Scan replaces the page in the open viewer.
    void openNewScan()
    {
        showScan(makePage());
        const QString other = makePage(QStringLiteral("other (2).png"));
        script->answer(other);
        item("mnuOpenNewScan")->trigger();
        QCOMPARE(gProject->ScanFile(), QStringLiteral("other (2).png"));
        QCOMPARE(viewer()->windowTitle(), QStringLiteral("Pelkar - Scan View other (2).png (100%)"));
        item("mnuZoomIn")->trigger();
        // Only the zoom part of the caption changes, not the "(2)".
        QCOMPARE(viewer()->windowTitle(), QStringLiteral("Pelkar - Scan View other (2).png (125%)"));
    }

    // Once calibrated, the ruler moves one entry per grid row crossed.
    void rulerFollowsTheGridRows()
    {
        gProject->setAutoMoveRuler(true);
        showScan(makePage());
        frmScanView &view = *viewer();
        view.findChild<QAction *>(QStringLiteral("mnuShowRuler"))->trigger();
        view.DoneRulerSetup(0, 0, 200, 40);
        auto *bar = view.findChild<QScrollBar *>(QStringLiteral("VScroll1"));
        QVERIFY(bar);
        window->fgInput().setRowCol(2, 1);
        QCOMPARE(bar->value(), 200);
        window->fgInput().setRowCol(5, 1);
        QCOMPARE(bar->value(), 320);
        window->fgInput().setRowCol(4, 1);
        QCOMPARE(bar->value(), 280);
        // Into the first entry the ruler goes home.
        window->fgInput().setRowCol(2, 1);
        QCOMPARE(bar->value(), 200);
    }

    // The ruler lined up by hand, as "Align Ruler" asks, with the ruler's
    // bar, the wheel and the keys; then each row typed puts the line under
    // the next entry of the page, at either zoom.
    void rulerAlignedByHandFollowsTypedRows_data()
    {
        QTest::addColumn<double>("zoom");
        QTest::newRow("100%") << 1.0;
        QTest::newRow("125%") << 1.25;
    }
    void rulerAlignedByHandFollowsTypedRows()
    {
        QFETCH(double, zoom);
        gProject->setZoom(zoom);
        gProject->setAutoMoveRuler(true);
        TypedBatch::startBatch(*window);
        QImage image(QSize(600, 1700), QImage::Format_Grayscale8);
        image.fill(235);
        for (int n = 1; n <= 25; ++n) {
            const int top = int(std::lround(kFirstEntry + (n - 1) * kSpacing));
            for (int y = top; y < top + kTextHeight; ++y)
                memset(image.scanLine(y) + 40, 30, 400);
        }
        const QString page = homePath(QStringLiteral("index.png"));
        QVERIFY(image.save(page, "PNG"));
        showScan(page);
        frmScanView &view = *viewer();
        QTRY_VERIFY(view.imageArea()->height() > 100);
        view.findChild<QAction *>(QStringLiteral("mnuShowRuler"))->trigger();
        frmSetupRuler *setup = view.setupRulerWindow();
        QVERIFY(setup);
        auto *bar = view.findChild<QScrollBar *>(QStringLiteral("VScroll1"));
        QWidget *area = view.imageArea();
        const auto underLine = [&view] {
            return view.ImageX1().ScrollY() + view.rulerRect().top();
        };
        // Whole pages with the bar, then wheel notches, then the fine step
        // (Shift with the arrows), the last pixel with the bar's arrow.
        const auto lineTo = [&](double target) {
            const int goal = int(std::lround(target));
            for (int i = 0; i < 50 && goal - underLine() >= bar->pageStep(); ++i)
                clickBar(bar, QStyle::SC_ScrollBarAddPage);
            for (int i = 0; i < 100 && std::abs(goal - underLine()) >= frmScanView::LineStep; ++i)
                wheelNotch(area, goal > underLine());
            for (int i = 0; i < 100 && std::abs(goal - underLine()) >= 2; ++i)
                QTest::keyClick(&view, goal > underLine() ? Qt::Key_Down : Qt::Key_Up,
                                Qt::ShiftModifier);
            if (goal != underLine())
                clickBar(bar, goal > underLine() ? QStyle::SC_ScrollBarAddLine
                                                 : QStyle::SC_ScrollBarSubLine);
            QCOMPARE(underLine(), goal);
        };
        const auto ok = [&setup] {
            QTest::mouseClick(setup->findChild<QPushButton *>(QStringLiteral("cmdOk")),
                              Qt::LeftButton);
        };
        ok();
        lineTo(belowEntry(1) * zoom);
        ok();
        lineTo(belowEntry(10) * zoom);
        ok();
        ok();
        QVERIFY(view.rulerCalibrated());

        const QString row = TypedBatch::typedRows().first();
        for (int n = 1; n <= 10; ++n) {
            if (n > 1) {
                for (QChar ch : row)
                    QVERIFY(TypedBatch::press(*window, ch));
            }
            const double off = underLine() - belowEntry(n) * zoom;
            QVERIFY2(std::abs(off) <= 2.0,
                     qPrintable(QStringLiteral("entry %1: %2 pixels off").arg(n).arg(off)));
        }
        QCOMPARE(window->fgInput().Row(), 11);
    }

    // After the viewer's zoom items, the image tools' zoom buttons and
    // "Move Ruler to Top of Column" the next keys go to the entry box.
    void focusBackToTheEntryBox_data()
    {
        QTest::addColumn<QString>("how");
        for (const char *how : {"mnuZoomIn", "mnuZoomOut", "cmdZoomIn", "cmdZoomOut", "mnucoltop"})
            QTest::newRow(how) << QString::fromLatin1(how);
    }
    void focusBackToTheEntryBox()
    {
        QFETCH(QString, how);
        showScan(makePage());
        frmScanView &view = *viewer();
        QWidget *box = window->VisibleEntryBox();
        QVERIFY(box);
        const auto clickIntoViewer = [&view] {
            view.activateWindow();
            QTRY_VERIFY(view.isActiveWindow());
        };
        if (how == "mnucoltop") {
            view.findChild<QAction *>(QStringLiteral("mnuShowRuler"))->trigger();
            view.DoneRulerSetup(0, 0, 200, 40);
        }
        clickIntoViewer();
        if (how.startsWith("cmd")) {
            view.findChild<QAction *>(QStringLiteral("mnuShowHide"))->trigger();
            QVERIFY(view.imageTools());
            view.imageTools()->findChild<QPushButton *>(how)->click();
        } else {
            view.findChild<QAction *>(how)->trigger();
        }
        QTRY_VERIFY(window->isActiveWindow());
        QCOMPARE(QApplication::focusWidget(), box);
    }

    // The scan recorded at a crash is offered again; the header form's Scan
    // item opens the same viewer.
    void scanReopenedAtStartAndFromTheHeaderForm()
    {
        const QString page = makePage();
        gProject->setScanPath(QFileInfo(page).absolutePath());
        gProject->setScanFile(QStringLiteral("page.png"));
        script->answer(QStringLiteral("Yes"));
        OfferReopenScan();
        QCOMPARE(script->records().last().prompt,
                 QStringLiteral("Would you like to Reopen Scan ") + kCrLf
                         + QStringLiteral("page.png ?"));
        QVERIFY(viewer() && viewer()->isVisible());
        QCOMPARE(item("mnuShowScanImage")->text(), QStringLiteral("Close Scan"));
        QVERIFY(scanItemsShown());

        item("mnuShowScanImage")->trigger();
        QVERIFY(!viewer());
        // The header form's own Scan item.
        script->answer(QStringLiteral("Ok"));
        window->mnuEditHeader_Click();
        QTRY_VERIFY(window->headerForm());
        auto *headerScan = window->headerForm()->findChild<QAction *>(QStringLiteral("mnuViewScan"));
        QVERIFY(headerScan);
        script->answer(page);
        headerScan->trigger();
        QVERIFY(viewer() && viewer()->isVisible());
        QVERIFY(gProject->ScanOn());
        QCOMPARE(headerScan->text(), QStringLiteral("Close Scan Image"));
        headerScan->trigger();
        QVERIFY(!viewer());
    }

    // A viewer never placed before opens where it leaves the row being
    // typed in sight: below the main window or beside it when there is
    // room for it whole, made smaller in the larger room when there is
    // some, else above or below the row. The main window's frame is given
    // in parts of the screen; the viewer wants 400x300 inside its frame.
    void viewerNeverPlacedLeavesTheRowInSight_data()
    {
        QTest::addColumn<QString>("where"); // below, beside, smaller-below, clear-of-row
        QTest::addColumn<int>("spareRight");
        QTest::addColumn<int>("spareBelow");
        QTest::addColumn<int>("mainWidth"); // 0: all the screen's width but spareRight
        QTest::newRow("room-below") << "below" << 0 << 400 << 300;
        QTest::newRow("room-beside") << "beside" << 0 << 100 << 300;
        QTest::newRow("little-room-below") << "smaller-below" << 150 << 250 << 0;
        QTest::newRow("screen-filled") << "clear-of-row" << 0 << 0 << 0;
    }

    void viewerNeverPlacedLeavesTheRowInSight()
    {
        QFETCH(QString, where);
        QFETCH(int, spareRight);
        QFETCH(int, spareBelow);
        QFETCH(int, mainWidth);
        gProject->setScanleft(0);
        gProject->setScanTop(0);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        const QRect screen = window->screen()->availableGeometry();
        const QRect main(screen.topLeft(),
                         QSize(mainWidth > 0 ? mainWidth : screen.width() - spareRight,
                               screen.height() - spareBelow));
        const QMargins frame(window->geometry().left() - window->frameGeometry().left(),
                             window->geometry().top() - window->frameGeometry().top(),
                             window->frameGeometry().right() - window->geometry().right(),
                             window->frameGeometry().bottom() - window->geometry().bottom());
        window->setGeometry(main.marginsRemoved(frame));
        QTRY_COMPARE(window->frameGeometry(), main);
        QCoreApplication::processEvents();

        showScan(makePage());
        const QSize whole = QSize(400, 300).grownBy(frame);
        if (where == QLatin1String("below"))
            QTRY_COMPARE(viewer()->frameGeometry(), QRect(QPoint(main.left(), main.bottom() + 1), whole));
        else if (where == QLatin1String("beside"))
            QTRY_COMPARE(viewer()->frameGeometry(), QRect(QPoint(main.right() + 1, main.top()), whole));
        else if (where == QLatin1String("smaller-below")) {
            QTRY_COMPARE(viewer()->frameGeometry().topLeft(), QPoint(main.left(), main.bottom() + 1));
            QCOMPARE(viewer()->frameGeometry().height(), spareBelow);
        }
        QCoreApplication::processEvents();
        const QRect placed = viewer()->frameGeometry();
        QVERIFY(screen.contains(placed));
        const QWidget *box = window->VisibleEntryBox();
        QVERIFY(box);
        const QRect row(box->mapToGlobal(QPoint(0, 0)), box->size());
        QVERIFY(!placed.intersects(row));
    }

    // The program's close-down closes the viewer, which stores its place
    // and zoom before the settings are written.
    void closeDownClosesTheViewer()
    {
        showScan(makePage());
        viewer()->move(123, 45);
        item("mnuZoomOut")->trigger();
        const QString settings = QDir(gProject->DataPath()).filePath(QStringLiteral("Pelkarini.txt"));
        CloseDown(0, QString(), QString());
        QVERIFY(!window->scanViewerOwner().view() || !window->scanViewerOwner().view()->isVisible());
        const QString written = QString::fromLatin1(TestFiles::readBytes(settings));
        QVERIFY2(written.contains(QStringLiteral("ScanLeft=%1\r\n").arg(PixelsToTwipsX(123))),
                 qPrintable(written));
        QVERIFY(written.contains(QStringLiteral("ScanTop=%1\r\n").arg(PixelsToTwipsY(45))));
        QVERIFY(written.contains(QStringLiteral("ScanZoom=0.75\r\n")));
    }

    void supplementaryFileChosen_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("periodLine");
        QTest::addColumn<QString>("defaultName");
        QTest::newRow("pre-1946, the batch's own")
                << 1
                << "The file you are selecting should be for all transcriptions prior to Sept 1946."
                << "Pelkar_Supp_Districts.txt";
        QTest::newRow("1946-1965")
                << 2
                << "The file you are selecting should be for all transcriptions from Sept 1946 to "
                   "May 1965 inclusive."
                << "Pelkar_Supp_Districts_1946.txt";
        QTest::newRow("1965-1974")
                << 3
                << "The file you are selecting should be for all transcriptions from June 1965 "
                   "onwards."
                << "Pelkar_Supp_Districts_1965.txt";
        QTest::newRow("1974 on")
                << 4
                << "The file you are selecting should be for all transcriptions for June 1974 "
                   "Onwards."
                << "Pelkar_Supp_Districts_1974.txt";
    }

    // The question, the dialog preset with the default name in the Files
    // folder when no folder is stored, the new file made empty, and the
    // lists read again only for the batch's own period (1905: the first).
    void supplementaryFileChosen()
    {
        QFETCH(int, index);
        QFETCH(QString, periodLine);
        QFETCH(QString, defaultName);
        QCOMPARE(gProject->iSuppRange(), 1);
        gProject->setSuppPath(index, QStringLiteral("NoFolderHere.txt"));
        const QString before = gDistricts->SuppFile();
        const QString chosen = QDir(gProject->GetFilePath()).filePath(QStringLiteral("Mine.txt"));
        script->answer({QStringLiteral("Yes"), chosen});
        window->mnuSuppItem_Click(index);
        const auto &records = script->records();
        QCOMPARE(records.size(), 2);
        QCOMPARE(records[0].prompt, suppQuestion(periodLine));
        QCOMPARE(records[0].title, QStringLiteral("Select Supplementary District File"));
        QCOMPARE(records[0].style, int(Mb::YesNo | Mb::Question | Mb::DefaultButton2));
        QCOMPARE(records[1].fileName, defaultName);
        QCOMPARE(gProject->SuppPath(index), chosen);
        QVERIFY(QFileInfo(chosen).isFile());
        QCOMPARE(gDistricts->SuppFile(), index == 1 ? chosen : before);
    }

    // No changes nothing; a cancelled dialog leaves the preset path.
    void supplementaryFileRefusedOrCancelled()
    {
        const QString stored = QDir(gProject->GetFilePath()).filePath(QStringLiteral("Old.txt"));
        gProject->setSuppPath(2, stored);
        script->answer(QStringLiteral("No"));
        window->mnuSuppItem_Click(2);
        QCOMPARE(script->records().size(), 1);
        QCOMPARE(gProject->SuppPath(2), stored);

        gProject->setSuppPath(3, QStringLiteral("bare.txt"));
        script->answer({QStringLiteral("Yes"), QStringLiteral("<cancel>")});
        window->mnuSuppItem_Click(3);
        QCOMPARE(gProject->SuppPath(3), QDir(gProject->GetFilePath())
                                                .filePath(QStringLiteral("Pelkar_Supp_Districts_1965.txt")));
    }
};

PELKAR_TEST(tst_Form1Scan)
#include "tst_Form1Scan.moc"
