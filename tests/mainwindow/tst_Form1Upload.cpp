// The Send and Download District File commands through the real main
// window, against the loopback server: the refusals before anything is
// sent, the final "+PAGE" row, the connection check, the saved batch's
// bytes reaching the server, the main window stepping aside while the
// upload window works and coming back with the outcome (also when the
// upload window is left by Esc or its close box), the hourglass of the
// connection check, the upload window's background, and the district file
// each kind of reply installs or refuses, with the upload log's lines.

#include "LoopbackServer.h"
#include "MainWindowFixture.h"
#include "TestFiles.h"

#include "core/UserSettings.h"
#include "entry/FlexGrid.h"
#include "entry/FlexGridView.h"
#include "transcription/Change_Monitor.h"
#include "lists/Districts.h"
#include "upload/InternetConnection.h"
#include "upload/frmUpload.h"

#include <QAction>
#include <QGuiApplication>
#include <QPushButton>
#include <QRegularExpression>

namespace {

const QString kCrLf = QStringLiteral("\r\n");

class ScriptedProbe : public ConnectionProbe
{
public:
    explicit ScriptedProbe(bool reachable) : mReachable(reachable) {}
    void probe(const QString &, int, int, QObject *context,
               std::function<void(bool)> done) override
    {
        ++asked;
        const QCursor *cursor = QGuiApplication::overrideCursor();
        cursorAtProbe = cursor ? int(cursor->shape()) : -1;
        QMetaObject::invokeMethod(context, [done, r = mReachable] { done(r); },
                                  Qt::QueuedConnection);
    }
    static inline int asked = 0;
    // The override cursor's shape while the host is tried; -1 for none.
    static inline int cursorAtProbe = -1;

private:
    bool mReachable;
};

QByteArray okReply(const QByteArray &extra = {})
{
    return LoopbackServer::tagged("<FILEUPLOAD RESULT=OK\n" + extra + "</fileupload>\n");
}

QByteArray info(const QByteArray &text)
{
    return "<information>\n" + text + "\n</information>\n";
}

QByteArray update(const QByteArray &key, const QByteArray &lines)
{
    return "<update file=\"pelkar/Districts.txt\" key=" + key + ">\n" + lines + "</update>\n";
}

const QByteArray kNewDistricts = "ALPHA|1837|1|9999|4|2a|2b|2c|2d|2e\n"
                                 "BETA|1837|1|9999|4|3a|3b|3c|3d|3e\n";

const QString kConfirm = QStringLiteral(
        "This will Upload the file 1905B1A0012.ZEL To Quorvel.\r\nIt will first Save the file.  Do "
        "you wish to continue?\r\n");
const QString kAddPage = QStringLiteral(
        "The final row of your file should be a +PAGE,n (where n is the next page number)\r\n"
        "Would you like me to add this row for you?");

} // namespace

class tst_Form1Upload : public MainWindowFixture
{
    Q_OBJECT

protected:
    void setUpCase() override
    {
        MainWindowFixture::setUpCase();
        startWindow();
        mServer = std::make_unique<LoopbackServer>();
        gProject->setSite(QStringLiteral("127.0.0.1"));
        gProject->setPort(mServer->port());
        gProject->setSubmitter(QStringLiteral("sub1"));
        gProject->setPassword(QStringLiteral("s3cret"));
        reachable(true);
    }
    void tearDownCase() override
    {
        ConnectionCheck::setProbe(nullptr);
        MainWindowFixture::tearDownCase();
        mServer.reset();
    }

    static void reachable(bool on)
    {
        ScriptedProbe::asked = 0;
        ScriptedProbe::cursorAtProbe = -1;
        ConnectionCheck::setProbe(std::make_unique<ScriptedProbe>(on));
    }
    void trigger(const char *name)
    {
        QAction *action = window->MenuItem(QString::fromLatin1(name));
        QVERIFY(action);
        action->trigger();
    }
    // The prompts of the messages shown since the last clear, boxes and
    // custom boxes only.
    QStringList prompts() const
    {
        QStringList p;
        for (const MessageRecord &r : script->records())
            if (r.kind == QLatin1String("box") || r.kind == QLatin1String("custom"))
                p << r.prompt;
        return p;
    }
    const MessageRecord *notice() const
    {
        for (const MessageRecord &r : script->records())
            if (r.kind == QLatin1String("notice"))
                return &r;
        return nullptr;
    }
    // Waits (test side) for the command's end: the window back, the upload
    // window gone.
    void waitForEnd()
    {
        QTRY_VERIFY_WITH_TIMEOUT(!window->bUploading(), 10000);
        QVERIFY(window->isVisible());
        QVERIFY(!window->myFrmUpload());
        QTRY_VERIFY(!window->findChild<frmUpload *>());
    }

    // The texts of the upload log's lines, without their time stamps.
    static QStringList logLines()
    {
        const QString text = QString::fromLatin1(TestFiles::readBytes(
                QDir(gProject->DataPath()).filePath(QStringLiteral("UploadLog.TXT"))));
        static const QRegularExpression stamp(
                QStringLiteral("^\\d\\d/\\d\\d/\\d{4} \\d\\d:\\d\\d:\\d\\d "));
        QStringList lines = text.split(kCrLf);
        for (QString &line : lines)
            line.remove(stamp);
        return lines;
    }
    // Starts an upload of the batch against a server that says nothing, and
    // returns its window.
    frmUpload *startStalledUpload()
    {
        window->fgInput().setTextMatrix(window->fgInput().Rows() - 1, 1, "+PAGE,14");
        mServer->enqueue(LoopbackServer::stall());
        script->answer({"Upload File", "Yes"});
        trigger("mnuTransmit");
        [&] { QTRY_COMPARE(mServer->requests().size(), 1); }();
        return window->myFrmUpload();
    }

    std::unique_ptr<LoopbackServer> mServer;

private slots:
    // The saved batch, with the "+PAGE" row it was offered, reaches the
    // server; the main window steps aside meanwhile and comes back with the
    // outcome; the server's information text is shown once only.
    void uploadsTheSavedBatch()
    {
        mServer->enqueue(LoopbackServer::reply(okReply(info("Server news")), 50));
        script->answer({"Yes", "Upload File", "Yes"});
        trigger("mnuTransmit");
        QTRY_VERIFY(window->myFrmUpload());
        QVERIFY(window->bUploading());
        QVERIFY(!window->isVisible());
        QVERIFY(window->myFrmUpload()->isVisible());
        // The close box is refused while the upload runs.
        QVERIFY(window->Form_QueryUnload(Form1::FormControlMenu));
        script->answer({"Ok", "Ok"});
        waitForEnd();

        QCOMPARE(ScriptedProbe::asked, 1);
        const QStringList p = prompts();
        QCOMPARE(p.value(0), kAddPage);
        QCOMPARE(p.value(1), kConfirm);
        QCOMPARE(p.last(), QStringLiteral("File 1905B1A0012 uploaded successfully"));
        QVERIFY(notice());
        QCOMPARE(notice()->prompt, QStringLiteral("Upload Successful"));
        QCOMPARE(notice()->info, QStringLiteral("Server news"));
        QCOMPARE(GetUserSetting("Pelkar", "Startup", "UploadInfo"), QStringLiteral("Server news"));

        const QByteArray saved = TestFiles::readBytes(batch);
        QVERIFY(saved.endsWith("AMOS,Eli,Bath,5c,13\r\n+PAGE,14\r\n"));
        QCOMPARE(mServer->requests().size(), 1);
        QVERIFY(mServer->requests().first().contains(saved));
        QVERIFY(script->pending().isEmpty());
        QCOMPARE(ScriptedProbe::cursorAtProbe, int(Qt::WaitCursor));
        QVERIFY(!QGuiApplication::overrideCursor());

        // The same text again: no second notice.
        script->clearRecords();
        mServer->enqueue(LoopbackServer::reply(okReply(info("  Server news "))));
        script->answer({"Upload File", "Yes", "Ok"});
        trigger("mnuTransmit");
        waitForEnd();
        QVERIFY(!notice());
        QCOMPARE(prompts().last(), QStringLiteral("File 1905B1A0012 uploaded successfully"));
        QCOMPARE(mServer->requests().size(), 2);
    }

    void refusals_data()
    {
        QTest::addColumn<QString>("setup");
        QTest::addColumn<QStringList>("answers");
        QTest::addColumn<QStringList>("messages");
        QTest::newRow("credit row") << "credit" << QStringList{"Ok"}
                                    << QStringList{
                                               "There is a +Credit entry at row 4\r\nThese must be "
                                               "moved to the Header Form - Click on that entry and "
                                               "then Press Tab\r\nThe requested action cannot "
                                               "happen until this entry is removed"};
        QTest::newRow("invalid district open")
                << "district" << QStringList{"Cancel", "Ok", "Ok"}
                << QStringList{"Nowhereatall,9b is a new District.\r\nWould you like to add it to "
                               "your District File?",
                               "You must correct or delete the invalid District first",
                               "I can't upload a file with invalid fields - you must correct them "
                               "first"};
    }
    // Nothing is checked, saved or sent after a refusal, and the menus are
    // free again.
    void refusals()
    {
        QFETCH(QString, setup);
        QFETCH(QStringList, answers);
        QFETCH(QStringList, messages);
        FlexGrid &grid = window->fgInput();
        const QByteArray before = TestFiles::readBytes(batch);
        if (setup == QLatin1String("credit")) {
            grid.setTextMatrix(4, 1, QStringLiteral("+CREDIT,Ann"));
        } else {
            grid.setTextMatrix(3, 3, QStringLiteral("Nowhereatall,9b"));
            grid.setRowCol(3, 3);
        }
        script->clearRecords();
        script->answer(answers);
        trigger("mnuTransmit");
        QCOMPARE(prompts().join(" | "), messages.join(" | "));
        QVERIFY(!window->bUploading());
        QCOMPARE(ScriptedProbe::asked, 0);
        QCOMPARE(TestFiles::readBytes(batch), before);
        QCOMPARE(mServer->connections(), 0);
    }

    // An unreachable check host: the transcriber is asked; Cancel ends the
    // command before the confirmation and the save.
    void connectionCheckFails()
    {
        window->fgInput().setTextMatrix(window->fgInput().Rows() - 1, 1, "+PAGE,14");
        reachable(false);
        const QByteArray before = TestFiles::readBytes(batch);
        script->answer("Cancel");
        trigger("mnuTransmit");
        // The hourglass from the start of the check to its answer.
        QVERIFY(QGuiApplication::overrideCursor());
        QCOMPARE(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
        QTRY_VERIFY(!window->bUploading());
        QCOMPARE(ScriptedProbe::cursorAtProbe, int(Qt::WaitCursor));
        QVERIFY(!QGuiApplication::overrideCursor());
        QCOMPARE(prompts(),
                 QStringList{"I could not find an internet connection.\r\nThis may be because the "
                             "Quorvel website is having a temporary problem.\r\nCheck if you can "
                             "connect and then either click OK to continue the Upload\r\nor Click "
                             "Cancel and try it again later.\r\n"});
        QCOMPARE(TestFiles::readBytes(batch), before);
        QCOMPARE(mServer->connections(), 0);
    }

    // A failed upload: the reason told under "File Upload Failed.", the
    // menus held until then.
    void cancelledUploadIsReported()
    {
        window->fgInput().setTextMatrix(window->fgInput().Rows() - 1, 1, "+PAGE,14");
        mServer->enqueue(LoopbackServer::stall());
        script->answer({"Upload File", "Yes"});
        trigger("mnuTransmit");
        QTRY_COMPARE(mServer->requests().size(), 1);
        QVERIFY(window->bUploading());
        QVERIFY(window->CantUseMenues());
        script->clearRecords();
        script->answer("Ok");
        QTest::mouseClick(window->myFrmUpload()->findChild<QPushButton *>("UpCancel"),
                          Qt::LeftButton);
        waitForEnd();
        QCOMPARE(prompts(), QStringList{"File Upload Failed.\r\nUpload Cancelled"});
    }

    // Nothing goes to the server when the save did not write the file (the
    // file on disk is not what the transcriber agreed to send), nor when
    // the transcriber declines to send a file with errors.
    void stopsAtTheSave_data()
    {
        QTest::addColumn<bool>("saveFails");
        QTest::newRow("save failed") << true;
        QTest::newRow("errors, not sent") << false;
    }
    void stopsAtTheSave()
    {
        QFETCH(bool, saveFails);
        window->fgInput().setTextMatrix(window->fgInput().Rows() - 1, 1, "+PAGE,14");
        if (saveFails) {
            // A folder where the batch file should be: the file cannot be written.
            QVERIFY(QFile::remove(batch));
            QVERIFY(QDir().mkpath(batch));
            script->answer("Upload File");
        } else {
            script->answer({"Upload File", "No"});
        }
        trigger("mnuTransmit");
        QTRY_VERIFY(!window->bUploading());
        QVERIFY(window->isVisible());
        QVERIFY(!window->myFrmUpload());
        QCOMPARE(mServer->connections(), 0);
        if (!saveFails) {
            QCOMPARE(prompts().last(),
                     QStringLiteral("I've saved the file but errors were found.\r\nI can still "
                                    "try to upload the file but Quorvel may reject it.\r\nWould "
                                    "you like to try the upload anyway?"));
            QVERIFY(TestFiles::readBytes(batch).endsWith("+PAGE,14\r\n"));
        }
    }

    void finalPageRow_data()
    {
        QTest::addColumn<int>("lastPage");
        QTest::addColumn<int>("length");
        QTest::addColumn<QString>("expected");
        QTest::newRow("padded to the length") << 7 << 4 << "+PAGE,0008";
        QTest::newRow("longer than the length") << 99 << 1 << "+PAGE,100";
        QTest::newRow("as long as the length") << 9 << 2 << "+PAGE,10";
    }
    // Trailing blank rows go first; the new row keeps every digit.
    void finalPageRow()
    {
        QFETCH(int, lastPage);
        QFETCH(int, length);
        QFETCH(QString, expected);
        FlexGrid &grid = window->fgInput();
        gProject->setPageNumberLength(length);
        grid.setTextMatrix(7, 1, QStringLiteral("+PAGE,%1").arg(lastPage));
        const int rows = grid.Rows();
        gTranscription->AddRow();
        gTranscription->AddRow();
        script->answer("Yes");
        QVERIFY(window->CheckFinalPageLine());
        QCOMPARE(grid.Rows(), rows + 1);
        QCOMPARE(grid.TextMatrix(rows, 1), expected);
        QVERIFY(TestFiles::readBytes(batch).endsWith((expected + kCrLf).toLatin1()));
    }

    // Download District File, forced by Ctrl+Alt: the "XX" request, the new
    // file installed and the list read again; no "File ..." message after.
    void downloadInstallsTheDistrictFile()
    {
        const QString districts = QDir(gProject->GetFilePath()).filePath("Pelkar_Districts.txt");
        const QByteArray lines = "ALPHA|1837|1|9999|4|2a|2b|2c|2d|2e\n"
                                 "BETA|1837|1|9999|4|3a|3b|3c|3d|3e\n";
        mServer->enqueue(LoopbackServer::reply(
                okReply("<update file=\"pelkar/Districts.txt\" key=44>\n" + lines + "</update>\n")));
        // A download's reply has no information text: the last one is kept
        // and no empty notice opens.
        SaveUserSetting("Pelkar", "Startup", "UploadInfo", "Old news");
        QTest::keyPress(window->gridView(), Qt::Key_Alt, Qt::ControlModifier);
        QVERIFY(window->CAlt());
        script->answer({"Yes", "Ok"});
        trigger("mnuDownloadDistrict");
        QVERIFY(!window->CAlt());
        QVERIFY(window->bUploading());
        waitForEnd();
        QCOMPARE(prompts(),
                 (QStringList{"This will fetch the latest District File from the Quorvel "
                              "Website.\r\nPelkar does this automatically each time you upload a "
                              "file\r\nbut you can do it now if you really want to.\r\nIs this "
                              "what you want to do?",
                              "I've download a new version of the District File"}));
        QVERIFY(mServer->requests().first().contains("pelkar/Districts.txt:XX\r\n"));
        QCOMPARE(TestFiles::readBytes(districts),
                 QByteArray("ALPHA|1837|1|9999|4|2a|2b|2c|2d|2e\r\n"
                            "BETA|1837|1|9999|4|3a|3b|3c|3d|3e\r\n"));
        QCOMPARE(gProject->DistrictVersion(), QStringLiteral("44"));
        QStringList names;
        for (const DistrictRecord &r : gDistricts->records())
            names << r.Name;
        QVERIFY(names.contains("ALPHA"));
        QVERIFY(!notice());
        QCOMPARE(GetUserSetting("Pelkar", "Startup", "UploadInfo"), QStringLiteral("Old news"));
    }

    void uploadWindowLeft_data()
    {
        QTest::addColumn<bool>("escape");
        QTest::newRow("Esc") << true;
        QTest::newRow("close box") << false;
    }
    // Esc and the close box end the request as Cancel does: the main window
    // comes back at once with the outcome, rather than after the watchdog
    // with no window on view meanwhile.
    void uploadWindowLeft()
    {
        QFETCH(bool, escape);
        frmUpload *form = startStalledUpload();
        QVERIFY(form && form->isVisible());
        QVERIFY(!window->isVisible());
        script->clearRecords();
        script->answer("Ok");
        if (escape) {
            QWidget *focus = form->focusWidget();
            QTest::keyClick(focus ? focus : form, Qt::Key_Escape);
        } else {
            form->close();
        }
        QVERIFY(!window->bUploading());
        waitForEnd();
        QCOMPARE(prompts(), QStringList{"File Upload Failed.\r\nUpload Cancelled"});
        QVERIFY(logLines().contains("Upload Cancel Clicked"));
        QVERIFY(!QGuiApplication::overrideCursor());
    }

    // The upload window has the tiled background picture of the system
    // files folder.
    void uploadWindowBackground()
    {
        const QImage picture(QDir(gProject->CommonAppData()).filePath("webback.jpg"));
        QVERIFY(!picture.isNull());
        frmUpload *form = startStalledUpload();
        QVERIFY(form);
        QVERIFY(form->width() > picture.width() + 1);
        const QImage shown = form->grab().toImage();
        for (const QPoint at : {QPoint(1, 1), QPoint(picture.width() + 1, 1)})
            QCOMPARE(QColor(shown.pixel(at)), QColor(picture.pixel(1, 1)));
        script->answer("Ok");
        QTest::mouseClick(form->findChild<QPushButton *>("UpCancel"), Qt::LeftButton);
        waitForEnd();
    }

    // Each kind of reply through the real main window and upload window:
    // what the transcriber is told last, the district file and version,
    // and the upload log.
    void districtReplies_data()
    {
        QTest::addColumn<bool>("download"); // the Download District File command
        QTest::addColumn<QByteArray>("reply");
        QTest::addColumn<QString>("told");
        QTest::addColumn<QByteArray>("installed"); // empty: the old file kept
        QTest::addColumn<QString>("logLine");
        const QString refused = "The new District File could not be installed: %1\r\n"
                                "Your District File has not been changed";
        const QString noDistricts = refused.arg("it holds no districts");
        const QString keyBroken = refused.arg("its version does not end on the line that names it");
        const QByteArray notDistricts = update("44", "Sorry, no file today\n");
        const QByteArray shortLines = update("44", "Districts\n" + kNewDistricts + "END\n");
        const QByteArray shortInstalled = "Districts\r\nALPHA|1837|1|9999|4|2a|2b|2c|2d|2e\r\n"
                                          "BETA|1837|1|9999|4|3a|3b|3c|3d|3e\r\nEND\r\n";
        const QByteArray laterLine = "<update file=\"pelkar/Districts.txt\" key=44\n>\n"
                + kNewDistricts + "</update>\n";
        const QString uploaded = "File 1905B1A0012 uploaded successfully";
        QTest::newRow("download, no district in it")
                << true << okReply(notDistricts) << "File Upload Failed.\r\n" + noDistricts
                << QByteArray() << "The new District File is not a district file - not installed";
        QTest::newRow("upload, no district in it")
                << false << okReply(notDistricts) << uploaded + "\r\n" + noDistricts
                << QByteArray() << "The new District File is not a district file - not installed";
        QTest::newRow("download, lines the reader skips")
                << true << okReply(shortLines) << "I've download a new version of the District File"
                << shortInstalled << "FrmUpdate got District File";
        QTest::newRow("upload, lines the reader skips")
                << false << okReply(shortLines) << uploaded + "\r\nI downloaded a new District File"
                << shortInstalled << "FrmUpdate got District File";
        QTest::newRow("download, key closed on a later line")
                << true << okReply(laterLine) << "File Upload Failed.\r\n" + keyBroken
                << QByteArray() << "Got OK Reply";
        QTest::newRow("upload, key closed on a later line")
                << false << okReply(laterLine) << uploaded + "\r\n" + keyBroken << QByteArray()
                << "Got OK Reply";
        QTest::newRow("upload, unrecognised reply")
                << false << LoopbackServer::tagged("<FILEUPLOAD RESULT=OK>\n</fileupload>\n")
                << "File Upload Failed.\r\nThere was no recognised response from Quorvel.   : %B"
                << QByteArray() << "No recognised response";
    }
    void districtReplies()
    {
        QFETCH(bool, download);
        QFETCH(QByteArray, reply);
        QFETCH(QString, told);
        QFETCH(QByteArray, installed);
        QFETCH(QString, logLine);
        const QString districts = QDir(gProject->GetFilePath()).filePath("Pelkar_Districts.txt");
        const QByteArray before = TestFiles::readBytes(districts);
        QVERIFY(!before.isEmpty());
        const auto names = [] {
            QStringList n;
            for (const DistrictRecord &r : gDistricts->records())
                n << r.Name;
            return n;
        };
        const QStringList namesBefore = names();
        gProject->setDistrictVersion("41");
        mServer->enqueue(LoopbackServer::reply(reply));
        if (download) {
            script->answer({"Yes", "Ok"});
            trigger("mnuDownloadDistrict");
        } else {
            window->fgInput().setTextMatrix(window->fgInput().Rows() - 1, 1, "+PAGE,14");
            script->answer({"Upload File", "Yes", "Ok"});
            // A new file is announced before the upload's own message.
            if (!installed.isEmpty())
                script->answer("Ok");
            trigger("mnuTransmit");
        }
        waitForEnd();
        QCOMPARE(prompts().last(), told.replace("%B", batch));
        QVERIFY(script->pending().isEmpty());
        if (installed.isEmpty()) {
            QCOMPARE(TestFiles::readBytes(districts), before);
            QCOMPARE(gProject->DistrictVersion(), QStringLiteral("41"));
            QCOMPARE(names(), namesBefore);
        } else {
            QCOMPARE(TestFiles::readBytes(districts), installed);
            QCOMPARE(gProject->DistrictVersion(), QStringLiteral("44"));
            QVERIFY(names().contains("ALPHA") && names().contains("BETA"));
            QVERIFY(!namesBefore.contains("ALPHA"));
        }
        const QStringList lines = logLines();
        QVERIFY2(lines.contains(logLine), qPrintable(lines.join('\n')));
        const qsizetype waiting = lines.indexOf(
                QRegularExpression("^Do_Connect waiting for socket to close: state=0 LocalPort=\\d+$"));
        QVERIFY(waiting > 0);
        QVERIFY(lines[waiting + 1].startsWith("Do_Connect Re-Opening, State=0"));
    }

    // Unsaved changes in the open cell stop the download before the question.
    void downloadWantsChangesSaved()
    {
        gChangeMonitor->Changed();
        script->answer("Ok");
        trigger("mnuDownloadDistrict");
        QCOMPARE(prompts(), QStringList{"You must save your changes first"});
        QVERIFY(!window->bUploading());
        QCOMPARE(mServer->connections(), 0);
    }
};

PELKAR_TEST(tst_Form1Upload)
#include "tst_Form1Upload.moc"
