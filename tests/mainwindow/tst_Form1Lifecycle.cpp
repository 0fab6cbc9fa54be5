// The main window's life as the transcriber meets it: the close box with
// and without unsaved data, minimising and restoring, the window's place
// kept between runs, the status bar, the key preview and the wheel.

#include "MainWindowFixture.h"
#include "TestFiles.h"

#include "core/Services.h"
#include "core/clsEvents.h"
#include "core/ShowStatusSink.h"
#include "entry/FlexGrid.h"
#include "entry/FlexGridView.h"
#include "entry/RichTextBox.h"
#include "entry/RichTextView.h"
#include "lists/frmPickList.h"
#include "entry/frmChrPicker.h"
#include "entry/frmCopyPaste.h"
#include "mainwindow/Form1BoxParts.h"
#include "mainwindow/MainWindowHooks.h"
#include "mainwindow/ShowStatus.h"
#include "core/FormRegistry.h"
#include "transcription/Change_Monitor.h"
#include "transcription/Recent_files.h"
#include "transcription/clsWorkFile.h"
#include "winglue/CTimer.h"

#include <QLabel>
#include <QListWidget>
#include <QScreen>
#include <QScrollBar>
#include <QStatusBar>
#include <QWheelEvent>

namespace {
const QString kSaveQuestion = QStringLiteral("Do you want to Save your data first?");
const QString kCloseBox = QStringLiteral("You have clicked the close box.");
} // namespace

class tst_Form1Lifecycle : public MainWindowFixture
{
    Q_OBJECT

private:
    QByteArray readBatch() const
    {
        QFile f(batch);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

private slots:
    // The close box: no question without unsaved data; with it, the
    // question, and each answer's outcome.
    void closeBox_data()
    {
        QTest::addColumn<bool>("changed");
        QTest::addColumn<QStringList>("answers");
        QTest::addColumn<bool>("closes");
        QTest::addColumn<bool>("saved");
        QTest::newRow("nothing-unsaved-closes-without-asking") << false << QStringList() << true << false;
        QTest::newRow("cancel-keeps-running") << true << QStringList{"Cancel"} << false << false;
        QTest::newRow("no-closes-without-saving") << true << QStringList{"No"} << true << false;
        // The batch holds entries the save reports: one more question.
        QTest::newRow("yes-saves-then-closes") << true << QStringList{"Yes", "Yes"} << true << true;
        QTest::newRow("yes-saves-then-stays-on-no") << true << QStringList{"Yes", "No"} << false << true;
    }

    void closeBox()
    {
        QFETCH(bool, changed);
        QFETCH(QStringList, answers);
        QFETCH(bool, closes);
        QFETCH(bool, saved);
        startWindow();
        if (changed) {
            window->fgInput().setTextMatrix(3, 1, QStringLiteral("ABBOTT"));
            gChangeMonitor->Changed();
        }
        script->answer(answers);
        const QByteArray before = readBatch();

        window->close();

        const QList<MessageRecord> asked = script->records();
        if (changed) {
            QVERIFY(!asked.isEmpty());
            QCOMPARE(asked[0].kind, QStringLiteral("box"));
            QCOMPARE(asked[0].prompt, kCloseBox + QStringLiteral("\r\n") + kSaveQuestion);
            QCOMPARE(asked[0].style, int(Mb::YesNoCancel | Mb::Question | Mb::SystemModal));
            QCOMPARE(asked[0].title, QStringLiteral("Pelkar"));
        } else {
            QVERIFY(asked.isEmpty());
        }
        if (saved) {
            QCOMPARE(asked.size(), 3);
            QCOMPARE(asked[1].kind, QStringLiteral("results"));
            QCOMPARE(asked[2].prompt, QStringLiteral("Do you still wish to Exit?"));
            QCOMPARE(asked[2].style, int(Mb::YesNo | Mb::Question));
            QVERIFY(readBatch().contains("\nABBOTT,John William"));
        } else {
            QCOMPARE(readBatch(), before);
        }
        QCOMPARE(window->isVisible(), !closes);
        QCOMPARE(gProject == nullptr, closes);
        QCOMPARE(QFileInfo::exists(clsWorkFile::WorkFilePath()), !closes);
        if (!closes)
            QVERIFY(!window->bSaving());
    }

    // "No" for a batch never saved takes it out of the recent files, whose
    // entries are full paths, whatever the current folder is.
    void noForgetsABatchNeverSaved()
    {
        startWindow();
        const QString unsaved = QStringLiteral("1905B1A0099.ZEL");
        gProject->setBatchName(unsaved);
        const QString full = QDir(gProject->SavePath()).filePath(unsaved);
        QVERIFY(gRecentFiles->Propose(full));
        QVERIFY(gRecentFiles->entries().contains(full));
        QDir::setCurrent(gProject->GetFilePath());
        gChangeMonitor->Changed();
        script->answer(QStringLiteral("No"));
        window->close();
        QVERIFY(!gProject);
        ProgramObjects::createRecentFiles();
        QVERIFY(!gRecentFiles->entries().contains(full));
        ProgramObjects::releaseAll();
    }

    // A save that fails on the way out keeps the program running with
    // everything as it was: the grid, the work file and the old file.
    void failedSaveKeepsRunning()
    {
        startWindow();
        window->fgInput().setTextMatrix(3, 1, QStringLiteral("ABBOTT"));
        gChangeMonitor->Changed();
        // Something in the batch file's way that no save can replace.
        QVERIFY(QFile::remove(batch));
        QVERIFY(QDir().mkpath(batch));
        script->answer(QStringLiteral("Yes"));
        window->close();
        QVERIFY(window->isVisible());
        QVERIFY(gProject);
        QVERIFY(!window->bSaving());
        QVERIFY(gChangeMonitor->AnyChange());
        QCOMPARE(window->fgInput().TextMatrix(3, 1), QStringLiteral("ABBOTT"));
        QVERIFY(QFileInfo::exists(clsWorkFile::WorkFilePath()));
        QVERIFY(QFileInfo(batch).isDir());
        QCOMPARE(script->records().first().prompt, kCloseBox + QStringLiteral("\r\n") + kSaveQuestion);
    }

    // While a save, load or upload is under way closing is refused without
    // a word.
    void busyRefusesSilently()
    {
        startWindow();
        gChangeMonitor->Changed();
        window->setBUploading(true);
        window->close();
        QVERIFY(window->isVisible());
        QVERIFY(script->records().isEmpty());
        window->setBUploading(false);
    }

    // The session ending gives its own reason above the question.
    void sessionEndingGivesItsReason()
    {
        startWindow();
        gChangeMonitor->Changed();
        script->answer(QStringLiteral("Cancel"));
        QVERIFY(window->Form_QueryUnload(Form1::AppWindows));
        QCOMPARE(script->records().first().prompt,
                 QStringLiteral("Windows is closing down.\r\n") + kSaveQuestion);
        QVERIFY(gProject);
    }

    // Minimising pauses the minute count, takes the hooks off and hides the
    // pick list; restoring brings back what was there.
    void minimiseAndRestore()
    {
        startWindow();
        auto *pickList = qobject_cast<frmPickList *>(FindForm(QStringLiteral("frmPickList")));
        QVERIFY(pickList);
        pickList->show();
        QCOMPARE(window->eTime()->Interval(), 60000);
        QVERIFY(window->bHooked());

        window->setWindowState(Qt::WindowMinimized);
        QVERIFY(window->isMinimized());
        QCOMPARE(window->eTime()->Interval(), 0);
        QVERIFY(!window->bHooked());
        QVERIFY(!pickList->isVisible());

        window->setWindowState(Qt::WindowNoState);
        QCOMPARE(window->eTime()->Interval(), 60000);
        QVERIFY(window->bHooked());
        QVERIFY(pickList->isVisible());
    }

    // A window manager minimises the tool windows with the main window.
    // They come back as normal windows: one shown again minimised would take
    // the main window back down with it, and the program could not be
    // restored.
    void toolWindowsComeBackNormalAfterRestore()
    {
        startWindow();
        auto *pickList = qobject_cast<frmPickList *>(FindForm(QStringLiteral("frmPickList")));
        window->setPasteTexts(window->boxParts());
        frmCopyPaste *paste = window->boxParts()->pasteWindow();
        QVERIFY(pickList);
        QVERIFY(paste);
        gProject->setCopyPaste(true);
        pickList->show();
        window->myCopyPaste().setVisible(true);

        window->setWindowState(Qt::WindowMinimized);
        for (QWidget *tool : {static_cast<QWidget *>(pickList), static_cast<QWidget *>(paste)})
            tool->setWindowState(tool->windowState() | Qt::WindowMinimized);
        window->setWindowState(Qt::WindowNoState);

        QVERIFY(pickList->isVisible());
        QVERIFY(!pickList->isMinimized());
        QVERIFY(paste->isVisible());
        QVERIFY(!paste->isMinimized());
        window->myCopyPaste().setVisible(false);
    }

    // The stored places and sizes are the windows' frames, title bar
    // included: a window stored at the screen's top left corner shows whole
    // there, and the place stored is where the frame stands.
    void windowsPlacedAndStoredByTheirFrames()
    {
        startWindow();
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        gProject->setForm1left(0);
        gProject->setForm1Top(0);
        gProject->setForm1Width(7200);
        gProject->setForm1Height(3600);
        window->ApplySavedPlace();
        QTRY_COMPARE(window->frameGeometry(), QRect(0, 0, 480, 240));

        auto *pickList = qobject_cast<frmPickList *>(FindForm(QStringLiteral("frmPickList")));
        QVERIFY(pickList);
        pickList->show();
        QVERIFY(QTest::qWaitForWindowExposed(pickList));
        gProject->setDropDownPick(false);
        gProject->setPickleft(9000);
        gProject->setPicktop(0);
        gProject->setPickWidth(2250);
        gProject->setPickHeight(3000);
        window->PositionPickList();
        QTRY_COMPARE(pickList->frameGeometry(), QRect(600, 0, 150, 200));
        gProject->SavePickPosition();
        QCOMPARE(gProject->Pickleft(), 9000);
        QCOMPARE(gProject->Picktop(), 0);
        QCOMPARE(gProject->PickWidth(), 2250);
        QCOMPARE(gProject->PickHeight(), 3000);

        window->move(30, 45);
        QTRY_COMPARE(window->frameGeometry().topLeft(), QPoint(30, 45));
        const QString settings = QDir(gProject->DataPath()).filePath(QStringLiteral("Pelkarini.txt"));
        CloseDown(0, QString(), QString());
        window.reset();
        const QByteArray stored = TestFiles::readBytes(settings);
        for (const char *line : {"\r\nF1Left=450\r\n", "\r\nF1Top=675\r\n", "\r\nF1Width=7200\r\n",
                                 "\r\nF1Height=3600\r\n"})
            QVERIFY2(stored.contains(line), line);
    }

    // The place and size the window had at the end of a run are where the
    // next run opens it; a place on no screen is brought back.
    void windowPlaceKeptForTheNextStart()
    {
        startWindow();
        const QRect place(40, 30, 700, 500);
        window->setGeometry(place);
        QCoreApplication::processEvents();
        const QRect had = window->geometry();
        CloseDown(0, QString(), QString());
        window.reset();

        script->answer(QStringLiteral("Yes")); // continue the last batch
        window = std::make_unique<Form1>();
        QVERIFY(window->Load());
        QCOMPARE(window->geometry(), had);
        CloseDown(0, QString(), QString());
        window.reset();
    }

    void windowPlaceOffEveryScreenIsBroughtBack()
    {
        startWindow();
        gProject->setForm1left(200000);
        gProject->setForm1Top(150000);
        window->ApplySavedPlace();
        const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
        QVERIFY(screen.contains(window->geometry().topLeft()));
    }

    // The four panels: messages in their colours, the batch, the row count
    // and the minutes, which count only while nothing is busy.
    // The grid shows no scroll bar of its own: dragging VScroll1 beside it
    // moves the view, and the cell being typed in stays current.
    void sideScrollBarMovesTheView()
    {
        startWindow();
        window->resize(600, 200);
        QCoreApplication::processEvents();
        QScrollBar *side = window->VScroll1();
        QCOMPARE(window->gridView()->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
        QVERIFY(side->maximum() >= window->fgInput().Rows() - 1);
        const int row = window->fgInput().Row();
        const int last = window->fgInput().Rows() - 1;
        side->setSliderDown(true);
        side->setSliderPosition(last);
        side->setSliderDown(false);
        QVERIFY(window->fgInput().TopRow() > 1);
        QCOMPARE(window->fgInput().Row(), row);
    }

    // F4 (Options > Show Special Character Table) shows the picker, whose
    // double click types into the general box; the paste texts window is
    // made with the window and is what the settings save reads.
    void pickerAndPasteWindowServeTheBoxes()
    {
        startWindow();
        Form1BoxParts *parts = window->boxParts();
        QVERIFY(parts && parts->pasteWindow());
        QVERIFY(!parts->picker());
        window->MenuItem(QStringLiteral("mnuSpecialChar"))->trigger();
        QVERIFY(parts->picker() && parts->picker()->isVisible());
        QCOMPARE(window->MenuItem(QStringLiteral("mnuSpecialChar"))->shortcut(),
                 QKeySequence(Qt::Key_F4));
    }

    // The general box laid over a surname cell, as the cell-entry loop will
    // lay it: a character picked on F4 goes in at the caret, and the cell
    // follows the box. A comment row ("#") takes any character; a name
    // takes letters A-Z only.
    void pickedCharacterReachesBoxAndCell()
    {
        startWindow();
        window->show();
        FlexGrid &grid = window->fgInput();
        const int row = 2;
        const int col = gTranscription->SurnameCol();
        grid.setRowCol(row, col);
        gProject->setSurnameCase(QStringLiteral("M"));
        RichTextBox &box = window->rtb1();
        box.setVisible(true);
        box.SetFocus();
        box.setText(QStringLiteral("#Caf"));
        box.setSelStart(4);
        QCOMPARE(grid.TextMatrix(row, col), QStringLiteral("#Caf"));

        QTest::keyClick(window->rtb1View(), Qt::Key_F4);
        frmChrPicker *picker = window->boxParts()->picker();
        QVERIFY(picker && picker->isVisible());
        ChrCell *cell = nullptr;
        for (int k = 0; k < 70 && !cell; ++k) {
            ChrCell *c = picker->findChild<ChrCell *>(QStringLiteral("tbChr_%1").arg(k));
            if (c && c->text() == QStringLiteral("\u00e9"))
                cell = c;
        }
        QVERIFY(cell);
        QTest::mouseDClick(cell, Qt::LeftButton);
        QCOMPARE(box.Text(), QStringLiteral("#Caf\u00e9"));
        QCOMPARE(grid.TextMatrix(row, col), QStringLiteral("#Caf\u00e9"));
        QCOMPARE(box.SelStart(), 5);
        QVERIFY(!picker->isVisible());
        box.setVisible(false);
    }

    // With the real paste window: a text set by clicking its line goes into
    // the box on Ctrl+1, in the column's case, and into the cell.
    void pasteTextReachesBoxAndCell()
    {
        startWindow();
        window->setPasteTexts(window->boxParts());
        window->show();
        frmCopyPaste *paste = window->boxParts()->pasteWindow();
        QVERIFY(paste);
        window->myCopyPaste().setVisible(true);
        QVERIFY(paste->isVisible());
        FlexGrid &grid = window->fgInput();
        const int row = 2;
        const int col = gTranscription->SurnameCol();
        grid.setRowCol(row, col);
        gProject->setSurnameCase(QStringLiteral("U"));
        RichTextBox &box = window->rtb1();
        box.setVisible(true);
        box.SetFocus();
        box.setText(QString());

        QListWidget *list = paste->List1();
        script->answer(QStringLiteral("smith"));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualItemRect(list->item(0)).center());
        QCOMPARE(script->records().size(), 1);
        QCOMPARE(script->records().at(0).kind, QStringLiteral("input"));
        QCOMPARE(paste->GetItem(1), QStringLiteral("smith"));

        QTest::keyClick(window->rtb1View(), Qt::Key_1, Qt::ControlModifier);
        QCOMPARE(box.Text(), QStringLiteral("SMITH"));
        QCOMPARE(grid.TextMatrix(row, col), QStringLiteral("SMITH"));
        box.setVisible(false);
        window->myCopyPaste().setVisible(false);
    }

    // The paste window with no stored place first shows beside the main
    // window's right edge, not over its menu bar; a place the transcriber
    // then gives it is kept.
    void pasteWindowFirstShownBesideTheMainWindow()
    {
        startWindow();
        // Loading the batch stored the paste window's place: forget it.
        gProject->setPasteX(-1);
        // Inside the offscreen screen, which keeps windows within itself.
        window->setGeometry(10, 20, 300, 200);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        // The program's own paste window has shown with the main window
        // already: a new one shows where the first showing puts it.
        auto pasteWindow = std::make_unique<frmCopyPaste>(window.get());
        frmCopyPaste *paste = pasteWindow.get();
        paste->show();
        const QRect main = window->frameGeometry();
        QTRY_COMPARE(paste->frameGeometry().topLeft(), QPoint(main.right() + 1, main.top()));

        paste->hide();
        paste->move(100, 150);
        paste->show();
        QTRY_COMPARE(paste->pos(), QPoint(100, 150));
        paste->hide();
    }

    void statusBarPanels()
    {
        startWindow();
        ShowStatus *status = window->gShowStatus();
        QVERIFY(status);
        QCOMPARE(&StatusBar(), static_cast<ShowStatusSink *>(status));
        // Wide enough to read in a window with room; never holding a narrow
        // window wide.
        window->resize(1000, 600);
        QCoreApplication::processEvents();
        for (int n = 1; n <= 4; ++n) {
            QVERIFY(status->panel(n));
            QVERIFY2(status->panel(n)->width() >= 100, qPrintable(QString::number(n)));
            QCOMPARE(status->panel(n)->objectName(), QStringLiteral("Panel%1").arg(n));
        }
        QVERIFY(window->minimumSizeHint().width() < 400);
        QCOMPARE(status->panel(2)->text(), QStringLiteral("Fiche 1905B1A0012.ZEL  Page 12  "));
        QVERIFY(status->panel(3)->text().startsWith(QStringLiteral("Datarows = ")));

        const auto pixelAt = [status](int x) {
            return status->panel(1)->pixmap().toImage().pixelColor(x, 1);
        };
        StatusBar().ShowMsg(QStringLiteral("Bad district"), true, true);
        QVERIFY(status->panel(1)->text().isEmpty());
        QCOMPARE(pixelAt(1), QColor(255, 0, 0));
        QImage error = status->panel(1)->pixmap().toImage();
        bool white = false;
        for (int x = 0; x < error.width() && !white; ++x)
            for (int y = 0; y < error.height() && !white; ++y)
                white = error.pixelColor(x, y) == QColor(255, 255, 255);
        QVERIFY(white);
        QCOMPARE(status->message(), QStringLiteral("Bad district"));

        StatusBar().ShowMsg(QStringLiteral("Check the page"), false, true);
        QCOMPARE(pixelAt(1), QColor(255, 255, 0));

        StatusBar().ShowMsg(QString(), false, false);
        QVERIFY(status->panel(1)->pixmap().isNull());
        QVERIFY(status->panel(1)->text().isEmpty());
        StatusBar().ShowMsg(QStringLiteral("Not found"));
        QCOMPARE(status->panel(1)->text(), QStringLiteral("Not found"));

        // The same message again (every cell left clears it) leaves the bar
        // as it is: nothing in it is laid out or painted again.
        QCoreApplication::processEvents();
        struct BarWatch : QObject {
            int events = 0;
            bool eventFilter(QObject *, QEvent *event) override
            {
                if (event->type() == QEvent::Paint || event->type() == QEvent::LayoutRequest)
                    ++events;
                return false;
            }
        } watch;
        QStatusBar *bar = window->findChild<QStatusBar *>();
        QVERIFY(bar);
        bar->installEventFilter(&watch);
        for (int n = 1; n <= 4; ++n)
            status->panel(n)->installEventFilter(&watch);
        StatusBar().ShowMsg(QStringLiteral("Not found"));
        status->ShowFile();
        QCoreApplication::processEvents();
        QCOMPARE(watch.events, 0);
        QCOMPARE(status->panel(1)->text(), QStringLiteral("Not found"));
        StatusBar().ShowMsg(QStringLiteral("Saved"));
        QCoreApplication::processEvents();
        QVERIFY(watch.events > 0);
        QCOMPARE(status->panel(1)->text(), QStringLiteral("Saved"));
        bar->removeEventFilter(&watch);
        for (int n = 1; n <= 4; ++n)
            status->panel(n)->removeEventFilter(&watch);

        const int counted = status->durationCount();
        window->eTime()->PulseTimer();
        QCOMPARE(status->panel(4)->text(), QStringLiteral("Dur'n: %1 mins").arg(counted));
        window->setBSaving(true);
        window->eTime()->PulseTimer();
        QCOMPARE(status->durationCount(), counted + 1);
        window->setBSaving(false);
    }

    // The caption names the batch; the grid and box fonts follow the
    // settings, the boxes two points larger, and empty settings take the
    // grid's own font and are stored.
    void captionAndFonts()
    {
        startWindow();
        QCOMPARE(window->windowTitle(),
                 QStringLiteral("Pelkar v%1.%2.%3 - 1905 Births Q1 Batch 12 Fiche")
                     .arg(PELKAR_VERSION_MAJOR)
                     .arg(PELKAR_VERSION_MINOR)
                     .arg(PELKAR_VERSION_PATCH));
        gProject->setSourceType(3);
        window->SetCaption();
        QVERIFY(window->windowTitle().endsWith(QStringLiteral(" - 1905 Births Q1 Scan")));

        gProject->Set_Font(QStringLiteral("DejaVu Serif"), 11, true, false, 0x0000FF);
        window->ApplyGridFont();
        const QFont grid = window->fgInput().Font();
        QCOMPARE(grid.family(), QStringLiteral("DejaVu Serif"));
        QCOMPARE(grid.pointSize(), 11);
        QVERIFY(grid.bold());
        QCOMPARE(window->rtb1View()->font().pointSize(), 13);
        QCOMPARE(window->tbDistrictView()->font().pointSize(), 13);
        QCOMPARE(window->gridView()->palette().color(QPalette::Text), QColor(255, 0, 0));

        gProject->Set_Font(QString(), 0, false, false, 0);
        window->ApplyGridFont();
        QCOMPARE(gProject->fontname(), QStringLiteral("DejaVu Serif"));
        QCOMPARE(gProject->FontSize(), 11);
    }

    // The key preview: Ctrl+digits bring the paste texts, modified arrows
    // and F11/F12 work the scan once (the box never sees them), every other
    // arrow goes on to the box.
    void keyPreview_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<bool>("scanOn");
        QTest::addColumn<QString>("scanCalls");
        QTest::addColumn<int>("boxKeys");
        QTest::addColumn<QString>("boxText");
        const int none = Qt::NoModifier;
        const int shift = Qt::ShiftModifier;
        const int ctrl = Qt::ControlModifier;
        const int alt = Qt::AltModifier;
        const int pad = Qt::KeypadModifier;
        QTest::newRow("ctrl-3-pastes-text-3") << int(Qt::Key_3) << ctrl << false << "" << 0 << "paste3";
        QTest::newRow("ctrl-keypad-9-pastes-text-9") << int(Qt::Key_9) << (ctrl | pad) << false << "" << 0 << "paste9";
        // Typed as the column's case rule gives it.
        QTest::newRow("plain-a-is-typed") << int(Qt::Key_A) << none << false << "" << 1 << "A";
        QTest::newRow("plain-left-reaches-the-box") << int(Qt::Key_Left) << none << true << "" << 1 << "";
        QTest::newRow("plain-right-reaches-the-box") << int(Qt::Key_Right) << none << true << "" << 1 << "";
        // The box takes the grid a row down: the ruler follows, the box
        // shows the next entry's surname.
        QTest::newRow("plain-down-reaches-the-box") << int(Qt::Key_Down) << none << true << "Ruler1" << 1 << "ABBOT";
        QTest::newRow("plain-up-reaches-the-box") << int(Qt::Key_Up) << none << true << "" << 1 << "";
        QTest::newRow("shift-up-scrolls-once") << int(Qt::Key_Up) << shift << true << "ScrollUp" << 0 << "";
        QTest::newRow("shift-down-scrolls-once") << int(Qt::Key_Down) << shift << true << "ScrollDown" << 0 << "";
        QTest::newRow("shift-left-scrolls-once") << int(Qt::Key_Left) << shift << true << "ScrollLeft" << 0 << "";
        QTest::newRow("shift-right-scrolls-once") << int(Qt::Key_Right) << shift << true << "ScrollRight" << 0 << "";
        QTest::newRow("ctrl-up-ruler-up") << int(Qt::Key_Up) << ctrl << true << "RulerUp" << 0 << "";
        QTest::newRow("ctrl-down-ruler-down") << int(Qt::Key_Down) << ctrl << true << "RulerDown" << 0 << "";
        QTest::newRow("alt-up-page-up") << int(Qt::Key_Up) << alt << true << "ScrollPage0" << 0 << "";
        QTest::newRow("alt-down-page-down") << int(Qt::Key_Down) << alt << true << "ScrollPage2" << 0 << "";
        QTest::newRow("shift-up-without-scan-is-the-boxs") << int(Qt::Key_Up) << shift << false << "" << 1 << "";
        QTest::newRow("f11-zooms-in") << int(Qt::Key_F11) << none << true << "ZoomIn" << 0 << "";
        QTest::newRow("f12-zooms-out") << int(Qt::Key_F12) << none << true << "ZoomOut" << 0 << "";
    }

    void keyPreview()
    {
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(bool, scanOn);
        QFETCH(QString, scanCalls);
        QFETCH(int, boxKeys);
        QFETCH(QString, boxText);
        startWindow();
        gProject->setScanOn(scanOn);
        RichTextBox &box = window->rtb1();
        box.setText(QString());
        box.setVisible(true);
        int seen = 0;
        // The modifier keys themselves go to the box like any key.
        connect(&box, &RichTextBox::KeyDown, this, [&seen](int &code, int) {
            if (code < 16 || code > 18)
                ++seen;
        });
        QTest::keyClick(window->rtb1View(), Qt::Key(key), Qt::KeyboardModifiers(modifiers));
        QCOMPARE(scan.calls.join(u','), scanCalls);
        QCOMPARE(seen, boxKeys);
        QVERIFY2(box.Text().compare(boxText, Qt::CaseInsensitive) == 0, qPrintable(box.Text()));
        box.setVisible(false);
    }

    // A wheel turn over an entry box: with only the right button held it
    // scrolls the scan; otherwise it becomes an arrow key for the grid.
    void wheelOverABox_data()
    {
        QTest::addColumn<int>("delta");
        QTest::addColumn<int>("buttons");
        QTest::addColumn<QString>("scanCalls");
        QTest::addColumn<int>("sentKey");
        QTest::newRow("right-button-away-scrolls-up") << 120 << int(Qt::RightButton) << "ScrollUp" << 0;
        QTest::newRow("right-button-towards-scrolls-down") << -120 << int(Qt::RightButton) << "ScrollDown" << 0;
        QTest::newRow("away-is-up-arrow") << 120 << int(Qt::NoButton) << "" << 38;
        QTest::newRow("towards-is-down-arrow") << -120 << int(Qt::NoButton) << "" << 40;
    }

    void wheelOverABox()
    {
        QFETCH(int, delta);
        QFETCH(int, buttons);
        QFETCH(QString, scanCalls);
        QFETCH(int, sentKey);
        startWindow();
        gProject->setScanOn(true);
        window->tbDistrict().setVisible(true);
        RichTextView *view = window->tbDistrictView();
        QVERIFY(window->bHooked());
        input().sentKeys.clear();
        const QPointF at(5, 5);
        QWheelEvent wheel(at, view->mapToGlobal(at), QPoint(), QPoint(0, delta),
                          Qt::MouseButtons(buttons), Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(view, &wheel);
        QCOMPARE(scan.calls.join(u','), scanCalls);
        if (sentKey) {
            QCOMPARE(input().sentKeys.size(), 2);
            QCOMPARE(input().sentKeys[0], QPoint(sentKey, 1));
        } else {
            QVERIFY(input().sentKeys.isEmpty());
        }
    }
};

PELKAR_TEST(tst_Form1Lifecycle)
#include "tst_Form1Lifecycle.moc"
