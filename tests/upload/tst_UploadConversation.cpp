// The upload conversation against a loopback server: every reply the server
// can give, redirects, the replace question, resets against closes,
// refusals, stalls, the watchdog, the upload log, and the one outcome each
// request ends with.

#include "UploadFixture.h"

#include "upload/UploadRequest.h"
#include "upload/WinsockControl.h"

using namespace TestFiles;
using namespace UploadTest;

class tst_UploadConversation : public UploadFixture
{
    Q_OBJECT

private slots:
    // Every reply of the server, through the whole conversation.
    void replies_data()
    {
        QTest::addColumn<QByteArray>("reply");
        QTest::addColumn<bool>("result");
        QTest::addColumn<QString>("text"); // sAsName on success, sReason on failure ("%1" the batch path)
        QTest::addColumn<QString>("info");
        QTest::addColumn<QString>("logLine");
        const QString refused = "Error in Upload.  Your file was NOT sent.  ";
        const QString unrecognised = "There was no recognised response from Quorvel.   : %1";
        QTest::newRow("ok") << ok() << true << "1911B1A0001 uploaded successfully" << ""
                            << "Got OK Reply";
        QTest::newRow("ok-with-information")
                << ok("<information>\nNews line 1\nNews line 2\n</information>\n") << true
                << "1911B1A0001 uploaded successfully" << "News line 1\r\nNews line 2"
                << "Got OK Reply";
        QTest::newRow("warnings")
                << LoopbackServer::tagged("<FILEUPLOAD RESULT=WARNINGS\n<warnings>\nPage 3 odd\n</warnings>\n</FILEUPLOAD>\n")
                << true
                << "1911B1A0001 Uploaded successfully.\r\nHowever, Quorvel issued the following warning(s)...\r\nPage 3 odd"
                << "" << "Got Warning Reply - Warnings were:-Page 3 odd";
        QTest::newRow("malformed-request")
                << failed("MalformedRequest", "<errors>\nno boundary\n</errors>\n") << false
                << refused + "Quorvel has reported a Malformed Request due to:-no boundary : %1" << ""
                << "Got Malformed Request";
        QTest::newRow("system-error-reason") << failed("SYSTEMERROR") << false
                                             << refused + "Quorvel has reported a System Error. : %1"
                                             << "" << "Got System Error";
        QTest::newRow("user-not-known") << failed("USERNOTKNOWN") << false
                                        << refused + "The UserID you specified is not known by Quorvel. : %1"
                                        << "" << "Got Unknown User";
        QTest::newRow("password-failed") << failed("PASSWORDFAILED") << false
                                         << refused + "The password you specified is incorrect for that UserID. : %1"
                                         << "" << "Got Incorrect Password";
        QTest::newRow("account-suspended") << failed("ACCOUNTSUSPENDED") << false
                                           << refused + "The SubmitterID you specified is suspended. Contact your Coordinator. : %1"
                                           << "" << "Got Account Suspended";
        QTest::newRow("needs-challenge") << failed("NEEDSCHALLENGE") << false
                                         << refused + "The UserID you specified has not completed registration. : %1"
                                         << "" << "Got Needs Challenge";
        QTest::newRow("file-does-not-exist") << failed("FILEDOESNOTEXIST") << false
                                             << refused + "The file we were replacing no longer exists!\r\n : %1"
                                             << "" << "Got File DoesNOTExist Reply";
        QTest::newRow("syntax-error")
                << failed("SYNTAXERROR", "<errors>\nline 2 bad\nline 3 bad\n</errors>\n") << false
                << refused + "Your file contains Syntax Error(s):-  line 2 bad\r\nline 3 bad : %1" << ""
                << "Got Syntax Error";
        QTest::newRow("service-unavailable-explained")
                << failed("SERVICEUNAVAILABLE", "<errors>\nDown for upgrade\n</errors>\n") << false
                << refused + "Quorvel is currently not accepting files.  The following explanation was received...\r\nDown for upgrade : %1"
                << "" << "Service Unavailable - Quorvel is not accepting files";
        QTest::newRow("service-unavailable") << failed("SERVICEUNAVAILABLE") << false
                                             << refused + "Quorvel is currently not accepting files.  Please try again later. : %1"
                                             << "" << "Service Unavailable - Quorvel is not accepting files";
        QTest::newRow("unknown-reason") << failed("SOMETHINGNEW") << false
                                        << refused + "Quorvel has sent an Unknown Reply.\r\n : %1" << ""
                                        << "Unknown Reason - SOMETHINGNEW";
        QTest::newRow("no-reason-line")
                << LoopbackServer::tagged("<FILEUPLOAD RESULT=FAILED\nWHY=X>\n</fileupload>\n")
                << false << refused + " %1" << "" << "Can't find Reason";
        QTest::newRow("wrong-domain-same-address")
                << failed("WRONGDOMAIN", link(0).replace(":0", ":%PORT%")) << false
                << refused + "The Quorvel machine address has changed but I haven't received a new address. : %1"
                << "" << "Got Wrong Domain - Trying different machine";
        QTest::newRow("wrong-domain-no-link") << failed("WRONGDOMAIN") << false
                                              << refused + "The Quorvel machine address has changed but I haven't received a new address. : %1"
                                              << "" << "Got Wrong Domain - Trying different machine";
        QTest::newRow("uploadlink-without-end")
                << failed("WRONGDOMAIN", "<uploadlink>\n127.0.0.1:1\n") << false
                << "Upload Failed, missing Uploadlink" << ""
                << "Error: I found the start of a new Uploadlink but not the end";
        QTest::newRow("system-error-text")
                << LoopbackServer::tagged("<html>quorvel system ERROR</html>\n") << false
                << "Quorvel System Error\r\nPlease wait an hour and try the upload again\r\nIf the upload continues to fail then\r\n"
                   "Please send the Upload log to support@quorvel.example\r\nYour log can be found at:\r\n%LOG%"
                << "" << "SendFail Quorvel System Error";
        QTest::newRow("unrecognised-first-line")
                << LoopbackServer::tagged("<FILEUPLOAD RESULT=OK>\n</fileupload>\n") << false
                << unrecognised << "" << "No recognised response";
        QTest::newRow("end-without-start")
                << LoopbackServer::tagged("</fileupload>\n") << false << unrecognised << ""
                << "No recognised response";
        QTest::newRow("uploadlink-port-not-a-number")
                << failed("WRONGDOMAIN", "<uploadlink>\nhost.example:eighty\n</uploadlink>\n")
                << false << unrecognised << "" << "No recognised response";
        // The upload was accepted; only the update, whose version cannot be
        // recorded, is refused.
        QTest::newRow("update-key-closed-on-a-later-line")
                << ok("<update file=\"pelkar/Districts.txt\" key=42\n>\nA|1837|1|9999|4|1|2|3|4|5\n</update>\n")
                << true
                << "1911B1A0001 uploaded successfully\r\nThe new District File could not be "
                   "installed: its version does not end on the line that names it\r\nYour "
                   "District File has not been changed"
                << "" << "Error: the update's key= does not end on its line - update refused";
        // What a reply names goes into the settings file: a line break in
        // it would write lines of its own there.
        QTest::newRow("uploadlink-host-with-a-line-break")
                << failed("WRONGDOMAIN",
                          "<uploadlink>\nhost.example\rSuppFile1=/some/path:80\n</uploadlink>\n")
                << false << unrecognised << "" << "No recognised response";
        QTest::newRow("update-key-with-a-line-break")
                << ok("<update file=\"pelkar/Districts.txt\" key=45\rSuppFile1=/some/path>\nA|1837|1|9999|4|1|2|3|4|5\n</update>\n")
                << false << unrecognised << "" << "No recognised response";
        QTest::newRow("update-key-not-a-number")
                << ok("<update file=\"pelkar/Districts.txt\" key=4x>\nA|1837|1|9999|4|1|2|3|4|5\n</update>\n")
                << false << unrecognised << "" << "No recognised response";
    }
    void replies()
    {
        QFETCH(QByteArray, reply);
        QFETCH(bool, result);
        QFETCH(QString, text);
        QFETCH(QString, info);
        QFETCH(QString, logLine);
        reply.replace("%PORT%", QByteArray::number(mServer->port()));
        mServer->enqueue(LoopbackServer::reply(reply));
        upload();
        const UploadOutcome &o = mOutcomes.first();
        text = text.replace("%1", batchPath()).replace("%LOG%", homePath("data/UploadLog.TXT"));
        QCOMPARE(o.bResult, result);
        QCOMPARE(result ? o.sAsName : o.sReason, text);
        QCOMPARE(result ? o.sReason : o.sAsName, QString());
        QCOMPARE(o.sInfoMsg, info);
        QVERIFY(!o.bDistrictRequest);
        QCOMPARE(mServer->requests().size(), 1);
        QVERIFY2(logLines().contains(logLine), qPrintable(log()));
        QVERIFY(log().contains(result ? "Upload Ok - " : "Upload Failed - "));
        // The address did not change: nothing was stored.
        QCOMPARE(gProject->Port(), int(mServer->port()));
        QCOMPARE(gProject->DistrictVersion(), QString("41"));
    }

    // The request sent is the one built from the file, its length true; the
    // log shows the head with the password masked.
    void requestSentAndLogged()
    {
        mServer->enqueue(LoopbackServer::reply(ok()));
        upload();
        UploadRequest r;
        r.sUser = "sub1";
        r.sPassword = "s3cret";
        r.sFile = batchPath();
        r.sFileName = "1911B1A0001.ZEL";
        r.sUploadAs = "1911B1A0001";
        r.sDistrictVersion = "41";
        const auto batch = ReadBatchFile(batchPath());
        QCOMPARE(mServer->requests().first(), BuildUploadRequest(r, &*batch));
        const QString text = log();
        QVERIFY(!text.contains("s3cret"));
        QVERIFY(text.contains("14/03/2026 09:26:53 Sending Header:-\r\nPOST /cgi/zel-files.pl HTTP/1.0\r\n"));
        QVERIFY(text.contains("name=\"password\"\r\n\r\n********\r\n"));
        QVERIFY(text.contains("name=\"user\"\r\n\r\nsub1\r\n"));
        QVERIFY(text.contains("09:26:53 SMITH,JOHN\r\n"));
        QVERIFY(text.contains("09:26:53 Do_Connect waiting for socket to close: state=0 LocalPort=0\r\n"
                              "14/03/2026 09:26:53 Do_Connect Re-Opening, State=0\r\n"));
        QVERIFY(text.contains("09:26:53 Request to Sendfile " + batchPath() + " as 1911B1A0001\r\n"));
        QVERIFY(text.endsWith("09:26:53 Upload Ok - 1911B1A0001 uploaded successfully\r\n"));
    }

    // A reply in many small packets is read once complete; a system error
    // in the first packet ends the request at once.
    void replyInPackets()
    {
        mServer->enqueue(LoopbackServer::split(ok("<information>\nsplit\n</information>\n"), 7));
        upload();
        QVERIFY(mOutcomes.first().bResult);
        QCOMPARE(mOutcomes.first().sInfoMsg, QString("split"));
        QVERIFY(log().contains("Received data, Block 3"));
    }
    void systemErrorInFirstPacket()
    {
        mServer->enqueue(LoopbackServer::split(
                LoopbackServer::tagged("Quorvel System Error\n<FILEUPLOAD RESULT=OK\n</fileupload>\n"),
                70, 20));
        upload();
        QVERIFY(mOutcomes.first().sReason.startsWith("Quorvel System Error\r\n"));
        QCOMPARE(log().count("SendFail"), 1);
        QVERIFY(!log().contains("Got OK Reply"));
    }

    void delayedReply()
    {
        mServer->enqueue(LoopbackServer::reply(ok(), 300));
        upload();
        QVERIFY(mOutcomes.first().bResult);
    }

    // FILEEXISTS asks; Yes resends as a replacement, and a second FILEEXISTS
    // asks again; No ends the request.
    void fileExistsReplaced()
    {
        mServer->enqueue(LoopbackServer::reply(failed("FileExists")));
        mServer->enqueue(LoopbackServer::reply(failed("FILEEXISTS")));
        mServer->enqueue(LoopbackServer::reply(ok()));
        script->answer({"Yes", "Yes"});
        upload();
        QVERIFY(mOutcomes.first().bResult);
        QCOMPARE(mServer->requests().size(), 3);
        QVERIFY(mServer->requests()[0].contains("name=\"file\"\r\n\r\n1911B1A0001\r\n"));
        QVERIFY(mServer->requests()[1].contains("name=\"file_update\"\r\n\r\n1911B1A0001\r\n"));
        QVERIFY(mServer->requests()[2].contains("name=\"file_update\""));
        QCOMPARE(script->records().size(), 2);
        const MessageRecord &asked = script->records().first();
        QCOMPARE(asked.prompt, QString("There is already a file on Quorvel which you have uploaded with that name.\r\n"
                                       "Do you want to replace it with this one?"));
        QCOMPARE(asked.title, QString("Upload file exists"));
        QCOMPARE(asked.style, 36);
        QVERIFY(log().contains("Connected for Replace"));
    }
    void fileExistsKept()
    {
        mServer->enqueue(LoopbackServer::reply(failed("FILEEXISTS")));
        script->answer("No");
        upload();
        QCOMPARE(mOutcomes.first().sReason,
                 failText("File not uploaded as it already exists on Quorvel"));
        QCOMPARE(mServer->requests().size(), 1);
        QVERIFY(log().contains("No to Replace File"));
    }

    // A socket error or a Cancel that arrives while the question is open
    // does not end the request a second time.
    void errorWhileAsking()
    {
        class Interrupting : public ScriptedMessageService
        {
        public:
            using ScriptedMessageService::ScriptedMessageService;
            int messageBox(const QString &p, int s, const QString &t) override
            {
                if (during)
                    during();
                return ScriptedMessageService::messageBox(p, s, t);
            }
            std::function<void()> during;
        };
        auto service = std::make_unique<Interrupting>(script);
        Interrupting *interrupting = service.get();
        Services::install(std::move(service));
        mServer->enqueue(LoopbackServer::reply(failed("FILEEXISTS")));
        mServer->enqueue(LoopbackServer::reply(ok()));
        script->answer("Yes");
        interrupting->during = [this] {
            emit mConversation->socket()->Error(10054, "reset while asking");
            emit mConversation->socket()->Close();
        };
        upload();
        QVERIFY(mOutcomes.first().bResult);
        QCOMPARE(mServer->requests().size(), 2);
        QVERIFY(log().contains("Winsock error ignored:- 10054 - reset while asking"));

        // Cancel during the question: the cancel is the outcome, the answer
        // changes nothing.
        mOutcomes.clear();
        mServer->enqueue(LoopbackServer::reply(failed("FILEEXISTS")));
        script->answer("Yes");
        interrupting->during = [this] { mConversation->UpCancel_Click(); };
        upload();
        QCOMPARE(mOutcomes.first().sReason, QString("Upload Cancelled"));
        QCOMPARE(mServer->requests().size(), 3);
    }

    // WRONGDOMAIN with a new address goes there once and keeps the address
    // for later uploads; a second new address fails.
    void redirectOnce()
    {
        LoopbackServer second;
        mServer->enqueue(LoopbackServer::reply(failed("WRONGDOMAIN", link(second.port()))));
        second.enqueue(LoopbackServer::reply(ok()));
        upload();
        QVERIFY(mOutcomes.first().bResult);
        QCOMPARE(mServer->requests().size(), 1);
        QCOMPARE(second.requests().size(), 1);
        QCOMPARE(second.requests().first(), mServer->requests().first());
        QCOMPARE(gProject->Port(), int(second.port()));
        QCOMPARE(gProject->Site(), QString("127.0.0.1"));
        QVERIFY(log().contains("New Upload link, Domain=127.0.0.1, Port=" + QString::number(second.port())));
    }
    void redirectTwice()
    {
        LoopbackServer second;
        LoopbackServer third;
        mServer->enqueue(LoopbackServer::reply(failed("WRONGDOMAIN", link(second.port()))));
        second.enqueue(LoopbackServer::reply(failed("WRONGDOMAIN", link(third.port()))));
        upload();
        QCOMPARE(mOutcomes.first().sReason,
                 failText("Error in Upload.  Your file was NOT sent.  I've been redirected to a new machine "
                          "more than the maximum number of items."));
        QCOMPARE(third.connections(), 0);
        QVERIFY(log().contains("Multiple Redirects"));
    }

    // A reset is retried once; a close before the reply is no reply.
    void resetRetriedOnce()
    {
        mServer->enqueue(LoopbackServer::reset());
        mServer->enqueue(LoopbackServer::reply(ok()));
        upload();
        QVERIFY(mOutcomes.first().bResult);
        QCOMPARE(mServer->requests().size(), 2);
        QVERIFY(log().contains("Trying again\r\n"));
    }
    void resetTwice()
    {
        mServer->enqueue(LoopbackServer::reset());
        mServer->enqueue(LoopbackServer::reset());
        upload();
        QCOMPARE(mOutcomes.first().sReason,
                 failText("An error occurred connecting to the Quorvel site.\r\nError number 10054 - "
                          "The connection is reset by remote side\r\nThe Quorvel file upload server "
                          "is not available, please try later."));
        QCOMPARE(mServer->requests().size(), 2);
    }
    void closeWithoutReply()
    {
        mServer->enqueue(LoopbackServer::closeWithoutReply());
        upload();
        QCOMPARE(mOutcomes.first().sReason,
                 failText("There was no recognised response from Quorvel.  "));
        QCOMPARE(mServer->requests().size(), 1);
        QVERIFY(log().contains("Connection Close Event: Closing=False"));
    }
    void closeAfterPartOfReply()
    {
        mServer->enqueue(LoopbackServer::reply(LoopbackServer::tagged("<FILEUPLOAD RESULT=OK\n")));
        upload();
        QCOMPARE(mOutcomes.first().sReason,
                 failText("There was no recognised response from Quorvel.  "));
    }

    // A refused connection tries the default host, once.
    void refused()
    {
        gProject->setSite("localhost");
        gProject->setPort(LoopbackServer::refusedPort());
        upload();
        QCOMPARE(mOutcomes.first().sReason,
                 failText("An error occurred connecting to the Quorvel site.\r\nError number 10061 - "
                          "Connection is forcefully rejected\r\nThe Quorvel file upload server is "
                          "not available, please try later."));
        QVERIFY(log().contains("Trying again at 127.0.0.1"));
        // The fallback is for this request only.
        QCOMPARE(gProject->Site(), QString("localhost"));
    }

    // A server that takes the request and says nothing: the watchdog from
    // the end of the send; after a part of the reply, from that block.
    void stall_data()
    {
        QTest::addColumn<bool>("partial");
        QTest::newRow("nothing") << false;
        QTest::newRow("after-a-block") << true;
    }
    void stall()
    {
        QFETCH(bool, partial);
        mServer->enqueue(partial ? LoopbackServer::partial(LoopbackServer::tagged("<FILEUPLOAD RESULT=OK\n"))
                                 : LoopbackServer::stall());
        conversation().setWatchdogInterval(10);
        mConversation->UploadFile();
        QTRY_VERIFY_WITH_TIMEOUT(!mOutcomes.isEmpty(), 5000);
        QCOMPARE(mOutcomes.first().sReason,
                 QString("Upload has had no response from Quorvel for 2 minutes, the server may be "
                         "down.  Please try again later"));
        QVERIFY(log().contains("Timer Fired 12"));
    }

    void cancel()
    {
        mServer->enqueue(LoopbackServer::stall());
        conversation().UploadFile();
        QTRY_COMPARE(mServer->requests().size(), 1);
        mConversation->UpCancel_Click();
        mConversation->UpCancel_Click();
        QTest::qWait(50);
        QCOMPARE(mOutcomes.size(), 1);
        QCOMPARE(mOutcomes.first().sReason, QString("Upload Cancelled"));
        QVERIFY(log().contains("Upload Cancel Clicked"));
    }

    void missingId()
    {
        gProject->setSubmitter("");
        script->answer("No");
        upload();
        QCOMPARE(mOutcomes.first().sReason, QString("No ID Specified"));
        QCOMPARE(script->records().first().prompt,
                 QString("You have not specified a Quorvel Submitter ID.\r\nYou must enter one to use "
                         "the upload feature.\r\nWould you like to enter one now?"));
        QCOMPARE(mServer->connections(), 0);
    }
    void passwordAskedFor()
    {
        gProject->setPassword("");
        mServer->enqueue(LoopbackServer::reply(ok()));
        script->answer({"Yes", "typed pw"});
        upload();
        QVERIFY(mOutcomes.first().bResult);
        QCOMPARE(script->records()[1].prompt, QString("Enter Password"));
        QVERIFY(mServer->requests().first().contains("name=\"password\"\r\n\r\ntyped pw\r\n"));
    }
    void missingFile()
    {
        QVERIFY(QFile::remove(batchPath()));
        upload();
        QCOMPARE(mOutcomes.first().sReason, "File Not Found " + batchPath());
        QCOMPARE(mServer->connections(), 0);
    }

    // A large batch reports its progress up to the last line.
    void progress()
    {
        QByteArray bytes;
        for (int i = 0; i < 20000; ++i)
            bytes += "SMITH,JOHN WILLIAM,LEEDS,9b,123\r\n";
        QVERIFY(writeBytes(batchPath(), bytes));
        mServer->enqueue(LoopbackServer::reply(ok()));
        QList<int> values;
        int max = 0;
        conversation();
        connect(mConversation.get(), &UploadConversation::ProgressChanged, this,
                [&](int value, int maximum) {
                    values << value;
                    max = maximum;
                });
        mConversation->UploadFile();
        QTRY_VERIFY_WITH_TIMEOUT(!mOutcomes.isEmpty(), 10000);
        QVERIFY(mOutcomes.first().bResult);
        QCOMPARE(max, 20000);
        QCOMPARE(values.last(), 20000);
        QVERIFY(std::is_sorted(values.begin(), values.end()));
        const auto batch = ReadBatchFile(batchPath());
        QCOMPARE(mServer->requests().first().size(), BuildUploadRequest([] {
                     UploadRequest r;
                     r.sUser = "sub1";
                     r.sPassword = "s3cret";
                     r.sFileName = "1911B1A0001.ZEL";
                     r.sUploadAs = "1911B1A0001";
                     r.sDistrictVersion = "41";
                     return r;
                 }(), &*batch).size());
    }
};

PELKAR_TEST(tst_UploadConversation)
#include "tst_UploadConversation.moc"
