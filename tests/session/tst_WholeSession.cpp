// A transcriber's whole first session through the real program, and the
// starts after it. The session (session_driver.cpp) starts on an empty
// home: the first-run questions, the header form typed in, a batch of
// three pages typed through the entry boxes with forename ghosts and
// pick-list rows taken and a new district added, File > Save, File > Send
// to the loopback server started here (which answers with a new district
// file), one more page begun with a district of that file, and the close
// box with its save. What it leaves is compared with golden files: the
// batch file, the supplementary district file, the installed district
// file, the settings file and the upload request. Then the real program
// starts again and offers to continue the batch, and the driver, started
// once more, shows the batch taken up row by row.

#include "LoopbackServer.h"
#include "PelkarTest.h"
#include "ProgramRun.h"
#include "TestFiles.h"

#include "app/StartUp.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

using namespace TestFiles;

namespace {

const QString kCrLf = QStringLiteral("\r\n");

// The district file the server sends with its reply: the places of the
// batch, under their volumes of 1852 to 1946, and one more.
const QByteArray kServerDistricts = "Bath|1837|3|9999|4|0|5c|0|0|0\n"
                                    "Harrogate|1837|3|9999|4|0|9a|0|0|0\n"
                                    "Leeds|1837|3|9999|4|XXIII|9b|0|0|0\n"
                                    "Leicester|1837|3|9999|4|XV|7a|0|0|0\n"
                                    "Ripon|1837|3|9999|4|0|9a|0|0|0\n";

QByteArray serverReply()
{
    return LoopbackServer::tagged("<FILEUPLOAD RESULT=OK\n<update file=\"pelkar/Districts.txt\" "
                                  "key=44>\n"
                                  + kServerDistricts + "</update>\n</fileupload>\n");
}

QString golden(const QString &name)
{
    return fixture(QStringLiteral("whole-session/") + name);
}

// The driver's grid rows, from its "row" lines.
QStringList printedRows(const QString &output)
{
    QStringList rows;
    for (const QString &line : output.split(u'\n')) {
        if (line.startsWith(QLatin1String("row ")))
            rows << line.mid(4);
    }
    return rows;
}

} // namespace

class tst_WholeSession : public PelkarTest
{
    Q_OBJECT

    QString dataFolder() const
    {
        return QDir(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation))
            .filePath(QStringLiteral("Pelkar_Files"));
    }
    QString dataFile(const QString &relative) const
    {
        return QDir(dataFolder()).filePath(relative);
    }

    // Runs to its end with the event loop going, so that the loopback
    // server here can answer.
    static void runToEnd(ProgramRun &run)
    {
        QVERIFY(run.start());
        QTRY_VERIFY_WITH_TIMEOUT(!run.isRunning(), 30000);
        run.waitForExit(1000);
        // What the offscreen platform says about every window is no news.
        QStringList errors = run.errorOutput().split(u'\n');
        errors.removeIf([](const QString &line) {
            return line.startsWith(QLatin1String("This plugin does not support"));
        });
        QVERIFY2(run.exitStatus() == QProcess::NormalExit && run.exitCode() == 0,
                 qPrintable(errors.join(u'\n')));
    }

    // The settings file with what differs from run to run named instead:
    // the temporary home, the driver's folder (the program's own folder),
    // the folder of the shipped files, and the loopback server's port.
    QByteArray normalisedSettings(quint16 port) const
    {
        QByteArray bytes = readBytes(dataFile(QStringLiteral("Pelkarini.txt")));
        const QString driver = qEnvironmentVariable("PELKAR_SESSION_DRIVER");
        const QString shipped = QDir::cleanPath(QStringLiteral(PELKAR_FIXTURES "/../../resources"));
        bytes.replace(home().toUtf8(), "$HOME");
        bytes.replace("SysPath=" + QFileInfo(driver).absolutePath().toUtf8() + "\r\n",
                      "SysPath=$PROGRAM_FOLDER\r\n");
        bytes.replace("CommonAppData=" + shipped.toUtf8() + "\r\n",
                      "CommonAppData=$SHIPPED_FILES\r\n");
        const QByteArray p = QByteArray::number(port);
        bytes.replace("\r\nPort=" + p + "\r\n", "\r\nPort=$PORT\r\n");
        bytes.replace("\r\nPing=127.0.0.1:" + p + "\r\n", "\r\nPing=127.0.0.1:$PORT\r\n");
        return bytes;
    }

private slots:
    void firstSessionThenContinued()
    {
        LoopbackServer server;
        QVERIFY(server.port() != 0);
        server.enqueue(LoopbackServer::reply(serverReply()));

        // ---- The first session ----------------------------------------------------------
        ProgramRun session(homePath(QStringLiteral("session")),
                           {QStringLiteral("Use Default"), QStringLiteral("Ok"),
                            QStringLiteral("Yes"), QStringLiteral("Yes"),
                            QStringLiteral("Upload File"), QStringLiteral("Ok"),
                            QStringLiteral("Ok"), QStringLiteral("Yes")});
        session.setProgram(qEnvironmentVariable("PELKAR_SESSION_DRIVER"));
        session.setEnvironment(QStringLiteral("PELKAR_UPLOAD_PORT"), QString::number(server.port()));
        runToEnd(session);
        if (QTest::currentTestFailed())
            return;
        QCOMPARE(session.output(),
                 QStringLiteral("step started\nstep header\nstep options\nstep typed\nstep saved\n"
                                "step uploaded\nstep page 15\nstep closed\n"));

        // What the program asked, in order, and what was answered.
        const QList<MessageRecord> asked = session.messages();
        QStringList said;
        for (const MessageRecord &r : asked)
            said << r.kind + u':' + r.answer + u':' + r.prompt;
        QCOMPARE(asked.size(), 13);
        QVERIFY(asked[0].prompt.startsWith(QStringLiteral("In version 7 all the files")));
        QVERIFY(asked[0].prompt.contains(kCrLf + dataFolder() + kCrLf));
        const QString saved = QStringLiteral(
            "Your file has been saved.\r\nMost messages, including Out of Sequence, are "
            "informative only.  If you have typed exactly what is on the source document then you "
            "can ignore them (see Save Results in Pelkar Help)");
        QCOMPARE(said.mid(1),
                 (QStringList{
                     "box:Ok:" + WelcomeText(),
                     "box:Yes:Ripon,9a is a new District.\r\nWould you like to add it to your "
                     "District File?",
                     "results::" + saved,
                     "box:Yes:The final row of your file should be a +PAGE,n (where n is the next "
                     "page number)\r\nWould you like me to add this row for you?",
                     "results-closed::",
                     "custom:Upload File:This will Upload the file 1905B1A0012.ZEL To "
                     "Quorvel.\r\nIt will first Save the file.  Do you wish to continue?\r\n",
                     "results::" + saved,
                     "box:Ok:I have downloaded a new version of the District File.\r\nThere is "
                     "nothing that you need to do",
                     "box:Ok:File 1905B1A0012 uploaded successfully\r\nI downloaded a new "
                     "District File",
                     "box:Yes:You have clicked the close box.\r\nDo you want to Save your data "
                     "first?",
                     "results-closed::",
                     "results::" + saved,
                 }));

        // One request reached the server: the batch file as saved, under
        // the submitter's id, with the district version a first start has.
        // The connection check before it reached the server too, as the
        // settings name it.
        QCOMPARE(server.requests().size(), 1);
        QCOMPARE(server.connections(), 2);
        QCOMPARE(server.requests().first(), readBytes(golden(QStringLiteral("upload.request"))));

        // The files the session leaves. The batch is the one sent with the
        // entry of page 15 after it.
        const QByteArray batch = readBytes(golden(QStringLiteral("1905B1A0012.ZEL")));
        const QByteArray afterUpload = "Carr,Ann,Harrogate,9a,15\r\n";
        QVERIFY(batch.endsWith("+PAGE,15\r\n" + afterUpload));
        QVERIFY(server.requests().first().endsWith(
            "\r\n\r\n" + batch.chopped(afterUpload.size()) + "--Pelkarxyxy--\r\n\r\n"));
        QCOMPARE(readBytes(dataFile(QStringLiteral("Output/1905B1A0012.ZEL"))), batch);
        QCOMPARE(readBytes(dataFile(QStringLiteral("Files/Pelkar_Supp_Districts.txt"))),
                 readBytes(golden(QStringLiteral("Pelkar_Supp_Districts.txt"))));
        QCOMPARE(readBytes(dataFile(QStringLiteral("Files/Pelkar_Districts.txt"))),
                 readBytes(golden(QStringLiteral("Pelkar_Districts.txt"))));
        // The district file it replaced is kept, named by the (scripted) clock.
        QCOMPARE(readBytes(dataFile(QStringLiteral("Files/CopyofDistrictFile140326092653.txt"))),
                 readBytes(dataFile(QStringLiteral("OriginalFiles/Pelkar_Districts.txt"))));
        QCOMPARE(normalisedSettings(server.port()), readBytes(golden(QStringLiteral("Pelkarini.txt"))));
        // A closed-down run leaves no work file behind.
        QVERIFY(!QFileInfo::exists(dataFile(QStringLiteral("PelkarWork"))));
        const QByteArray batchAfterSession = readBytes(dataFile(QStringLiteral("Output/1905B1A0012.ZEL")));

        // ---- The real program started again ------------------------------------------
        const QString continueQuestion =
            QStringLiteral("Would you like to continue using batch \r\n1905B1A0012.ZEL?");
        ProgramRun again(homePath(QStringLiteral("again")), {QStringLiteral("Yes")});
        again.setEnvironment(QStringLiteral("PELKAR_CLOSE_WHEN_STARTED"), QStringLiteral("1"));
        runToEnd(again);
        if (QTest::currentTestFailed())
            return;
        const QList<MessageRecord> againAsked = again.messages();
        QCOMPARE(againAsked.size(), 1);
        QCOMPARE(againAsked[0].kind, QStringLiteral("popup"));
        QCOMPARE(againAsked[0].prompt, continueQuestion);
        QCOMPARE(againAsked[0].answer, QStringLiteral("Yes"));
        // Once, when the start was over: the start-up benchmark times that.
        QCOMPARE(again.output(), QStringLiteral("started\n"));
        QCOMPARE(readBytes(dataFile(QStringLiteral("Output/1905B1A0012.ZEL"))), batchAfterSession);

        // ---- And once more, looking at the grid --------------------------------------
        ProgramRun shown(homePath(QStringLiteral("shown")), {QStringLiteral("Yes")});
        shown.setEnvironment(QStringLiteral("PELKAR_SESSION_CONTINUE"), QStringLiteral("1"));
        shown.setProgram(qEnvironmentVariable("PELKAR_SESSION_DRIVER"));
        shown.setEnvironment(QStringLiteral("PELKAR_UPLOAD_PORT"), QString::number(server.port()));
        runToEnd(shown);
        if (QTest::currentTestFailed())
            return;
        QCOMPARE(shown.messages().size(), 1);
        QCOMPARE(shown.messages()[0].prompt, continueQuestion);
        QVERIFY(shown.output().contains(QStringLiteral("\nbatch 1905B1A0012.ZEL\n")));
        // Cells as read from the file: the forenames without the blank the
        // forename box leaves after a name typed.
        QCOMPARE(printedRows(shown.output()),
                 (QStringList{
                     "Abbot|Ann|Bath,5c|12",
                     "Abbot|Joan|Leeds,9b|12",
                     "#Foot of page torn|||",
                     "+PAGE,13|||",
                     "Adams|Margaret|Bath,5c|13",
                     "Allen|Eli Tom|Ripon,9a|13",
                     "+PAGE,14|||",
                     "Amos|Wilfred|Ripon,9a|14",
                     "Baker|Ann|Leicester,7a|14",
                     "+PAGE,15|||",
                     "Carr|Ann|Harrogate,9a|15",
                 }));
        QVERIFY(shown.output().endsWith(QStringLiteral("step closed\n")));
        QCOMPARE(readBytes(dataFile(QStringLiteral("Output/1905B1A0012.ZEL"))), batchAfterSession);
    }
};

PELKAR_TEST(tst_WholeSession)
#include "tst_WholeSession.moc"
