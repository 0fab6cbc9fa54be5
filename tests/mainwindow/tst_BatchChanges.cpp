// Changing batches through the real main window and header form: Open, a
// recent file, Start New Batch and a header edit, each with the answers a
// transcriber gives, then what is left: the windows, the grid, the batch
// files, the scan and the row held for Replace Deleted Row.

#include "MainWindowFixture.h"

#include "core/FileHelpers.h"
#include "entry/FlexGrid.h"
#include "header/frmHeader.h"
#include "mainwindow/Form1MenuItems.h"
#include "mainwindow/ScanViewerOwner.h"
#include "scanview/frmScanView.h"
#include "transcription/Change_Monitor.h"
#include "transcription/Recent_files.h"
#include "transcription/Transcription.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPrinter>
#include <QPushButton>
#include <QTest>
#include <QTimer>

namespace {

// The dialogs as scripted, with a printer that writes a PDF file: the one
// Select Printer sets up.
class PdfPrinterDialogs : public ScriptedDialogService
{
public:
    PdfPrinterDialogs(std::shared_ptr<Script> script, const QString &pdf)
        : ScriptedDialogService(std::move(script)), mPrinter(QPrinter::HighResolution)
    {
        mPrinter.setOutputFormat(QPrinter::PdfFormat);
        mPrinter.setOutputFileName(pdf);
    }
    QPrinter *printer() override { return &mPrinter; }

private:
    QPrinter mPrinter;
};

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class tst_BatchChanges : public MainWindowFixture
{
    Q_OBJECT

    QString inSaveFolder(const QString &name) const
    {
        return QDir(gProject->SavePath()).filePath(name);
    }
    frmHeader *headerForm() const { return qobject_cast<frmHeader *>(window->headerForm()); }
    frmScanView *viewer() const { return window->scanViewerOwner().view(); }

    // The placeholders of an answer list: files the case made.
    QString answerFor(const QString &answer) const
    {
        if (answer == QLatin1String("<other>"))
            return mOther;
        if (answer == QLatin1String("<bad>"))
            return mBad;
        if (answer == QLatin1String("<page>"))
            return mPage;
        if (answer == QLatin1String("<gone>"))
            return homePath(QStringLiteral("gone/copy.ZEL"));
        return answer;
    }

    // One step of a case: "change" (an unsaved surname), "gone" (the save
    // folder removed), "next-exists" (a file of the next page's name),
    // "menu NAME" (a main-window item), "header NAME" (a header-form item).
    void run(const QString &step)
    {
        if (step == QLatin1String("change")) {
            window->fgInput().setTextMatrix(2, 1, QStringLiteral("Aardvark"));
            gChangeMonitor->Changed();
        } else if (step == QLatin1String("unsavable")) {
            // An entry whose line would not load back as typed.
            window->fgInput().setTextMatrix(2, 2, QStringLiteral("\"John\""));
            gChangeMonitor->Changed();
        } else if (step == QLatin1String("gone")) {
            gProject->setSavePath(homePath(QStringLiteral("gone")));
        } else if (step == QLatin1String("next-exists")) {
            QVERIFY(QFile::copy(batch, inSaveFolder(QStringLiteral("1905B1A0013.ZEL"))));
        } else if (step.startsWith(QLatin1String("menu "))) {
            QAction *item = window->MenuItem(step.mid(5));
            QVERIFY2(item, qPrintable(step));
            item->trigger();
        } else if (step.startsWith(QLatin1String("header "))) {
            QVERIFY(headerForm());
            auto *item = headerForm()->findChild<QAction *>(step.mid(7));
            QVERIFY2(item, qPrintable(step));
            item->trigger();
        } else {
            QFAIL(qPrintable(QStringLiteral("unknown step ") + step));
        }
        QCoreApplication::processEvents();
    }

    void setUpCase() override
    {
        MainWindowFixture::setUpCase();
        mOther.clear();
        mBad.clear();
        mPage.clear();
    }

    QString mOther;
    QString mBad;
    QString mPage;

private slots:
    void commandSequences_data()
    {
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QStringList>("answers");
        // Every message, dialog and window the program showed, in order, as
        // "kind" or "kind: the prompt's start".
        QTest::addColumn<QStringList>("shown");
        QTest::addColumn<bool>("headerOpen");
        QTest::addColumn<bool>("mainVisible");
        QTest::addColumn<QString>("batchName");
        QTest::addColumn<QString>("surname");
        QTest::addColumn<bool>("unsaved");

        const QString saveFirst = QStringLiteral("box: Do you want to save the existing data first?");
        const QString notSaved = QStringLiteral("results: Your data has NOT been saved");
        const QString name = batchName();

        // A new batch's header form asks for the file itself: cancelling it,
        // or a file that will not load, leaves the transcriber on the form.
        QTest::newRow("new-batch-open-cancelled")
            << QStringList{"menu mnuNewPage", "header mnuFileOpen"}
            << QStringList{"No", "<cancel>"} << QStringList{saveFirst, "openFile"} << true << false
            << "" << "" << false;
        QTest::newRow("new-batch-open-not-a-batch")
            << QStringList{"menu mnuNewPage", "header mnuFileOpen"}
            << QStringList{"No", "<bad>", "Ok"}
            << QStringList{saveFirst, "openFile",
                           "box: That is not a valid file - The first line does not start with "
                           "+INFO."}
            << true << false << "" << "" << false;
        QTest::newRow("new-batch-open-another-batch")
            << QStringList{"menu mnuNewPage", "header mnuFileOpen"} << QStringList{"No", "<other>"}
            << QStringList{saveFirst, "openFile"} << false << true << "1915B2B0007.ZEL" << ""
            << false;

        // A save that fails before another batch ends the command: the rows
        // stay, unsaved.
        QTest::newRow("open-after-failed-save")
            << QStringList{"unsavable", "menu mnuFileOpen"} << QStringList{"Yes"}
            << QStringList{saveFirst, notSaved} << false << true << name << "ABBOT" << true;
        QTest::newRow("recent-after-failed-save")
            << QStringList{"unsavable", "menu " + Form1MenuItems::recentName(1)}
            << QStringList{"Yes"} << QStringList{saveFirst, notSaved} << false << true << name
            << "ABBOT" << true;
        QTest::newRow("new-batch-after-failed-save")
            << QStringList{"unsavable", "menu mnuNewPage"} << QStringList{"Yes"}
            << QStringList{saveFirst, notSaved} << false << true << name << "ABBOT" << true;

        // A header edit begins with a save: when it fails the transcriber is
        // told, no copy is claimed and the form does not open.
        QTest::newRow("edit-header-save-fails")
            << QStringList{"change", "gone", "menu mnuEditHeader"} << QStringList{"Ok"}
            << QStringList{"box: Your data has NOT been saved\r\nError in SaveData, error=76"}
            << false << true << name << "Aardvark" << true;

        // Start New Batch onto a page whose file exists warns at once.
        QTest::newRow("new-batch-next-page-exists")
            << QStringList{"next-exists", "menu mnuNewPage"} << QStringList{"No", "Ok"}
            << QStringList{saveFirst, "box: Warning - that output file already exists"} << true
            << false << "" << "" << false;

        // Save As into a folder that cannot be written: nothing is written.
        QTest::newRow("save-as-unwritable")
            << QStringList{"change", "menu mnuSaveAs"} << QStringList{"<gone>", "Ok"}
            << QStringList{"saveFile",
                           "box: mnuSaveAs, Unable to open <gone> for writing - your data have "
                           "NOT been saved"}
            << false << true << name << "Aardvark" << true;
    }

    void commandSequences()
    {
        QFETCH(QStringList, steps);
        QFETCH(QStringList, answers);
        QFETCH(QStringList, shown);
        QFETCH(bool, headerOpen);
        QFETCH(bool, mainVisible);
        QFETCH(QString, batchName);
        QFETCH(QString, surname);
        QFETCH(bool, unsaved);

        startWindow();
        const QByteArray original = readAll(batch);
        mOther = inSaveFolder(QStringLiteral("1911B3A0123.ZEL"));
        QVERIFY(QFile::copy(QDir(QStringLiteral(PELKAR_FIXTURES))
                                .filePath(QStringLiteral("batch-births-mother-film/input.ZEL")),
                            mOther));
        mBad = inSaveFolder(QStringLiteral("1905B1A0099.ZEL"));
        {
            QFile bad(mBad);
            QVERIFY(bad.open(QIODevice::WriteOnly));
            bad.write("this is not a batch file\r\n");
        }
        for (const QString &answer : answers)
            script->answer(answerFor(answer));

        for (const QString &step : steps)
            run(step);
        QTRY_COMPARE(bool(headerForm()), headerOpen);

        QStringList seen;
        for (const MessageRecord &r : script->records()) {
            if (r.kind == QLatin1String("results-closed"))
                continue;
            seen << (r.prompt.isEmpty() ? r.kind : r.kind + QStringLiteral(": ") + r.prompt);
        }
        QCOMPARE(seen.size(), shown.size());
        for (int i = 0; i < shown.size(); ++i) {
            const QString expected = QString(shown[i]).replace(QStringLiteral("<gone>"),
                                                               answerFor(QStringLiteral("<gone>")));
            QVERIFY2(seen[i].startsWith(expected), qPrintable(seen[i]));
        }

        if (headerOpen)
            QVERIFY(headerForm()->isVisible());
        QCOMPARE(window->isVisible(), mainVisible);
        QCOMPARE(gProject->BatchName(), batchName);
        if (!surname.isEmpty())
            QCOMPARE(window->fgInput().TextMatrix(2, 1), surname);
        // The batch's own file is never touched by a command that failed.
        if (!headerOpen)
            QCOMPARE(gChangeMonitor->AnyChange(), unsaved);
        if (unsaved)
            QCOMPARE(readAll(batch), original);
    }

    // The scan of the batch that goes is closed and forgotten, and the row
    // held for Replace Deleted Row is forgotten with it.
    void anotherBatchLeavesTheOldOnesBehind_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QStringList>("answers");
        QTest::newRow("open") << "mnuFileOpen" << QStringList{"No", "<other>"};
        QTest::newRow("recent-file") << "recent" << QStringList{"No"};
        QTest::newRow("new-batch") << "mnuNewPage" << QStringList{"No"};
    }
    void anotherBatchLeavesTheOldOnesBehind()
    {
        QFETCH(QString, command);
        QFETCH(QStringList, answers);
        startWindow();
        window->setScanViewer(nullptr);
        mOther = inSaveFolder(QStringLiteral("1911B3A0123.ZEL"));
        QVERIFY(QFile::copy(QDir(QStringLiteral(PELKAR_FIXTURES))
                                .filePath(QStringLiteral("batch-births-mother-film/input.ZEL")),
                            mOther));
        // The recent file to choose: the other batch, opened once before.
        QVERIFY(window->LoadFile(mOther));
        QVERIFY(window->LoadFile(batch));
        script->clearRecords();

        QImage image(QSize(300, 600), QImage::Format_Grayscale8);
        image.fill(200);
        mPage = homePath(QStringLiteral("page.png"));
        QVERIFY(image.save(mPage, "PNG"));
        script->answer(mPage);
        window->MenuItem(QStringLiteral("mnuShowScanImage"))->trigger();
        QVERIFY(viewer() && viewer()->isVisible());
        QCOMPARE(gProject->ScanFile(), QStringLiteral("page.png"));

        script->answer(QStringLiteral("Yes")); // there is data in the row: delete it
        window->MenuItem(QStringLiteral("mnuDelRow"))->trigger();
        QVERIFY(gTranscription->DeletedRowHeld());
        QVERIFY(window->MenuItem(QStringLiteral("mnuReplaceRow"))->isVisible());

        for (const QString &answer : answers)
            script->answer(answerFor(answer));
        if (command == QLatin1String("recent")) {
            QCOMPARE(gRecentFiles->FileName(2), mOther);
            window->MenuItem(Form1MenuItems::recentName(2))->trigger();
        } else {
            window->MenuItem(command)->trigger();
        }
        if (command == QLatin1String("mnuNewPage"))
            QVERIFY(headerForm());
        else
            QCOMPARE(gProject->iYear(), 1915);

        QTRY_VERIFY(!viewer());
        QVERIFY(!gProject->ScanOn());
        QCOMPARE(gProject->ScanFile(), QString());
        QCOMPARE(window->MenuItem(QStringLiteral("mnuShowScanImage"))->text(),
                 QStringLiteral("Show Scan Image"));
        QVERIFY(!gTranscription->DeletedRowHeld());
        QVERIFY(!window->MenuItem(QStringLiteral("mnuReplaceRow"))->isVisible());
    }

    // A scan shown from the first header form waits with its tools until
    // a batch is laid out; a batch opened from that form brings them.
    void scanToolsAfterALoadThroughTheHeaderForm()
    {
        script->answer({QStringLiteral("Use Default"), QStringLiteral("Ok")});
        window = std::make_unique<Form1>();
        QVERIFY(window->Load());
        window->setPasteTexts(&paste);
        QVERIFY(headerForm());
        QVERIFY(QDir().mkpath(gProject->SavePath()));
        batch = inSaveFolder(batchName());
        QVERIFY(QFile::copy(QDir(QStringLiteral(PELKAR_FIXTURES))
                                .filePath(QStringLiteral("batch-births-plain-fiche/input.ZEL")),
                            batch));
        QImage image(QSize(300, 600), QImage::Format_Grayscale8);
        image.fill(200);
        mPage = homePath(QStringLiteral("page.png"));
        QVERIFY(image.save(mPage, "PNG"));

        script->answer(mPage);
        headerForm()->mnuViewScan()->trigger();
        QVERIFY(viewer());
        const auto tools = [this] {
            return QList<bool>{
                viewer()->findChild<QAction *>(QStringLiteral("mnuShowHide"))->isEnabled(),
                viewer()->findChild<QAction *>(QStringLiteral("mnuShowRuler"))->isEnabled()};
        };
        QCOMPARE(tools(), (QList<bool>{false, false}));

        script->answer(batch);
        headerForm()->mnuFileOpen()->trigger();
        QTRY_VERIFY(!window->headerForm());
        QVERIFY(window->isVisible());
        QVERIFY(gProject->ScanOn());
        QCOMPARE(tools(), (QList<bool>{true, true}));
    }

    // Print goes to the printer chosen with Select Printer, with nothing
    // more to answer.
    void printGoesToTheChosenPrinter()
    {
        startWindow();
        const QString pdf = homePath(QStringLiteral("grid.pdf"));
        auto previous = Services::install(std::make_unique<PdfPrinterDialogs>(script, pdf));
        script->answer(QStringLiteral("Ok"));
        window->MenuItem(QStringLiteral("mnuSetPrinter"))->trigger();
        QCOMPARE(script->records().last().kind, QStringLiteral("printerSetup"));
        // A print dialog of its own would wait for an answer nobody gives.
        QTimer::singleShot(2000, [] {
            if (QWidget *modal = QApplication::activeModalWidget())
                modal->close();
        });
        window->MenuItem(QStringLiteral("mnuprint"))->trigger();
        QVERIFY(readAll(pdf).startsWith("%PDF"));
        QCOMPARE(script->records().size(), 1);
        Services::install(std::move(previous));
    }

    // A batch laid out anew starts its cell moves from (2, 1): the cell the
    // grid moves to included, which the boxes' right click goes back to.
    void layoutStartsTheMovesAtTheFirstCell()
    {
        startWindow();
        gNewRow = 7;
        gNewCol = 5;
        QVERIFY(window->LoadFile(batch));
        QCOMPARE(QList<int>({gCurrentRow, gCurrentCol, gNewRow, gNewCol}),
                 QList<int>({2, 1, 2, 1}));
    }
};

PELKAR_TEST(tst_BatchChanges)
#include "tst_BatchChanges.moc"
