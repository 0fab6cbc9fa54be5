// A new district file from the upload reply or fetched from the server:
// installed with a dated copy of the old one, the version recorded only
// after, the list read again; refused, and told, when it gives the district
// reader no district or cannot be written. The district request, and the
// connection check before an upload.

#include "UploadFixture.h"

#include "core/LineReader.h"
#include "core/SettingsFileStore.h"
#include "lists/Districts.h"
#include "upload/DistrictUpdate.h"
#include "upload/InternetConnection.h"

using namespace TestFiles;
using namespace UploadTest;

namespace {

const QByteArray kOldFile = "OLDTOWN|1837|1|9999|4|1a|1b|1c|1d|1e\r\n";
const QByteArray kNewLines = "ALPHA|1837|1|9999|4|2a|2b|2c|2d|2e\nBETA|1837|1|9999|4|3a|3b|3c|3d|3e\n"
                             "GAMMA|1837|1|9999|4|4a|4b|4c|4d|4e\n";
const QByteArray kNewFile = "ALPHA|1837|1|9999|4|2a|2b|2c|2d|2e\r\nBETA|1837|1|9999|4|3a|3b|3c|3d|3e\r\n"
                            "GAMMA|1837|1|9999|4|4a|4b|4c|4d|4e\r\n";
const QString kBackup = QStringLiteral("CopyofDistrictFile140326092653.txt");

QByteArray update(const QByteArray &key, const QByteArray &lines)
{
    return "<update file=\"pelkar/Districts.txt\" key=" + key + ">\n" + lines + "</update>\n";
}

class ScriptedProbe : public ConnectionProbe
{
public:
    explicit ScriptedProbe(bool reachable) : mReachable(reachable) {}
    void probe(const QString &host, int port, int, QObject *context,
               std::function<void(bool)> done) override
    {
        asked << host + u':' + QString::number(port);
        QMetaObject::invokeMethod(context, [done, r = mReachable] { done(r); },
                                  Qt::QueuedConnection);
    }
    static inline QStringList asked;

private:
    bool mReachable;
};

} // namespace

class tst_DistrictUpdate : public UploadFixture
{
    Q_OBJECT

protected:
    void setUpCase() override
    {
        UploadFixture::setUpCase();
        gProject->setIYear(1911);
        gProject->setQtr(3);
        gProject->setIVnf(1);
        QVERIFY(writeBytes(districtFile(), kOldFile));
        ProgramObjects::createDistricts();
        QVERIFY(gDistricts->Read_Districts());
        ScriptedProbe::asked.clear();
    }
    void tearDownCase() override
    {
        ConnectionCheck::setProbe(nullptr);
        UploadFixture::tearDownCase();
    }

    QString filesFile(const QString &name) const { return homePath("data/Files/" + name); }
    QString districtFile() const { return filesFile("Pelkar_Districts.txt"); }
    static QStringList names()
    {
        QStringList n;
        for (const DistrictRecord &r : gDistricts->records())
            n << r.Name;
        return n;
    }
    QString settingsText() const
    {
        return QString::fromLatin1(readBytes(homePath("data/Pelkarini.txt")));
    }
    void verifyUntouched()
    {
        QCOMPARE(readBytes(districtFile()), kOldFile);
        QCOMPARE(gProject->DistrictVersion(), QString("41"));
        QCOMPARE(names(), QStringList{"OLDTOWN"});
    }
    void verifyInstalled(const QString &version, const QByteArray &bytes = kNewFile)
    {
        QCOMPARE(readBytes(districtFile()), bytes);
        QCOMPARE(readBytes(filesFile(kBackup)), kOldFile);
        QCOMPARE(gProject->DistrictVersion(), version);
        QVERIFY(settingsText().contains("DistrictFileVersion=" + version + "\r\n"));
        QCOMPARE(names(), (QStringList{"ALPHA", "BETA", "GAMMA"}));
    }

private slots:
    void sentWithTheReply()
    {
        mServer->enqueue(LoopbackServer::reply(ok(update("42", kNewLines))));
        script->answer("Ok");
        upload();
        const UploadOutcome &o = mOutcomes.first();
        QCOMPARE(o.sAsName, QString("1911B1A0001 uploaded successfully\r\nI downloaded a new District File"));
        QVERIFY(o.bNewDistrictFile);
        verifyInstalled("42");
        QCOMPARE(script->records().first().prompt,
                 QString("I have downloaded a new version of the District File.\r\nThere is nothing that you need to do"));
        QVERIFY(log().contains("FrmUpdate got District File"));
    }

    // A failed upload whose reply carried a district file still installs it.
    void sentWithAFailure()
    {
        mServer->enqueue(LoopbackServer::reply(failed("USERNOTKNOWN", update("42", kNewLines))));
        upload();
        QCOMPARE(mOutcomes.first().sReason,
                 failText("Error in Upload.  Your file was NOT sent.  The UserID you specified is "
                          "not known by Quorvel.")
                         + "\r\nI downloaded a new District File");
        verifyInstalled("42");
    }

    // A reply that names a version without the file: the file is fetched by
    // GET, and installed when the district reader finds districts in it,
    // as received.
    void fetched_data()
    {
        QTest::addColumn<QByteArray>("answer");
        QTest::addColumn<QByteArray>("installed"); // empty: nothing installed
        QTest::addColumn<QString>("readerSays");    // what the reader tells of the new file
        QTest::newRow("ok") << LoopbackServer::http(200, kNewLines) << kNewFile + "\r\n" << "";
        QTest::newRow("not-found") << LoopbackServer::http(404, kNewLines) << QByteArray() << "";
        QTest::newRow("empty") << LoopbackServer::http(200, "") << QByteArray() << "";
        QTest::newRow("error-page") << LoopbackServer::http(200, "<html><body>Sorry</body></html>\n")
                                    << QByteArray() << "";
        QTest::newRow("transfer-cut-off")
                << "HTTP/1.1 200 OK\r\nContent-Length: 500\r\n\r\n" + kNewLines + "DELTA|1837|1"
                << QByteArray() << "";
        QTest::newRow("heading-and-end-lines")
                << LoopbackServer::http(200, "Districts\n" + kNewLines + "END\n")
                << "Districts\r\n" + kNewFile + "END\r\n\r\n" << "";
        QTest::newRow("last-line-broken")
                << LoopbackServer::http(200, kNewLines + "DELTA|1837|1")
                << kNewFile + "DELTA|1837|1\r\n"
                << "Invalid line in district file = DELTA|1837|1";
    }
    void fetched()
    {
        QFETCH(QByteArray, answer);
        QFETCH(QByteArray, installed);
        QFETCH(QString, readerSays);
        mServer->enqueue(LoopbackServer::reply(ok(update("43", ""))));
        mServer->enqueue(LoopbackServer::reply(answer));
        if (!readerSays.isEmpty())
            script->answer("Ok");
        if (!installed.isEmpty())
            script->answer("Ok");
        upload();
        QCOMPARE(mServer->requests().size(), 2);
        QVERIFY(mServer->requests()[1].startsWith("GET /addons/pelkar/Districts.txt HTTP/1.1\r\n"));
        const UploadOutcome &o = mOutcomes.first();
        QVERIFY(o.bResult);
        if (!readerSays.isEmpty()) {
            QVERIFY(!script->records().isEmpty());
            QCOMPARE(script->records().first().prompt, readerSays);
        }
        if (!installed.isEmpty()) {
            QCOMPARE(o.sAsName, QString("1911B1A0001 uploaded successfully\r\nI downloaded a new district "
                                        "file\r\nI downloaded a new District File"));
            // The body's last line feed gives an empty last line.
            verifyInstalled("43", installed);
            QVERIFY(log().contains("DownloadDistrictFile ended Ok"));
        } else {
            QCOMPARE(o.sAsName,
                     "1911B1A0001 uploaded successfully\r\nWarning: I found the start of a new district "
                     "file\r\nbut no terminator.\r\nPlease send the Upload log to support@quorvel.example"
                     "\r\nYour log can be found at:\r\n"
                             + homePath("data/UploadLog.TXT"));
            verifyUntouched();
            QVERIFY(log().contains("Error in Download, error="));
            QVERIFY(!QFile::exists(filesFile(kBackup)));
        }
    }

    // Whether a text gives the district reader a district: lines the reader
    // skips or tells of do not refuse it.
    void districtFileCheck_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("district");
        QTest::newRow("districts") << QString(kNewLines) << true;
        QTest::newRow("heading-comment-blank-and-end")
                << "Districts\n# made today\n\n" + QString(kNewLines) + "END" << true;
        QTest::newRow("broken-line-among-districts")
                << "A line of some length\n" + QString(kNewLines) << true;
        QTest::newRow("crlf-and-blanks") << "  ALPHA|1837|1|9999|4|2a|2b|2c|2d|2e  \r\n" << true;
        QTest::newRow("empty") << "" << false;
        QTest::newRow("short-lines-only") << "Districts\nEND\n" << false;
        QTest::newRow("comment-only") << "#ALPHA|1837|1|9999|4|2a|2b|2c|2d|2e\n" << false;
        QTest::newRow("error-page") << "<html><body>Sorry, not today</body></html>\n" << false;
        QTest::newRow("nine-fields") << "ALPHA|1837|1|9999|4|2a|2b|2c|2d\n" << false;
        QTest::newRow("year-not-a-number") << "ALPHA|18x7|1|9999|4|2a|2b|2c|2d|2e\n" << false;
    }
    void districtFileCheck()
    {
        QFETCH(QString, text);
        QFETCH(bool, district);
        QCOMPARE(LooksLikeDistrictFile(text), district);
    }

    // A reply whose update gives the reader no district: the upload stands,
    // the transcriber is told, the old file and version stay.
    void sentWithoutADistrict()
    {
        mServer->enqueue(LoopbackServer::reply(ok(update("42", "Sorry, no file today\n"))));
        upload();
        QCOMPARE(mOutcomes.first().sAsName,
                 QString("1911B1A0001 uploaded successfully\r\nThe new District File could not be "
                         "installed: it holds no districts\r\nYour District File has not been "
                         "changed"));
        QVERIFY(!mOutcomes.first().bNewDistrictFile);
        verifyUntouched();
        QVERIFY(!QFile::exists(filesFile(kBackup)));
    }

    // A write that fails leaves the old file and version, and says why.
    void writeFails()
    {
        QByteArray many;
        for (int i = 0; i < 40; ++i)
            many += "TOWN" + QByteArray::number(i) + "|1837|1|9999|4|1a|1b|1c|1d|1e\n";
        mServer->enqueue(LoopbackServer::reply(ok(update("42", many))));
        {
            FileSizeLimit limit(200);
            upload();
        }
        const QString told = mOutcomes.first().sAsName;
        QVERIFY2(told.startsWith("1911B1A0001 uploaded successfully\r\nThe new District File could "
                                 "not be installed: it could not be written ("),
                 qPrintable(told));
        QVERIFY(told.endsWith(")\r\nYour District File has not been changed"));
        QVERIFY(!mOutcomes.first().bNewDistrictFile);
        verifyUntouched();
        // The copy of the old file was made before the write.
        QCOMPARE(readBytes(filesFile(kBackup)), kOldFile);
    }

    // The district request: "??" (or "XX" when forced) in place of the
    // version; its end is known by the outcome's kind, not by its text.
    void districtRequest()
    {
        mServer->enqueue(LoopbackServer::reply(ok()));
        script->answer("Ok");
        conversation().GetDistrictFile(false);
        QTRY_VERIFY(!mOutcomes.isEmpty());
        const UploadOutcome &o = mOutcomes.first();
        QVERIFY(o.bResult);
        QVERIFY(o.bDistrictRequest);
        QVERIFY(!o.bNewDistrictFile);
        QCOMPARE(o.sAsName, QString("Download Ended Ok"));
        QVERIFY(mServer->requests().first().contains("\r\n\r\npelkar/Districts.txt:??\r\n--Pelkarxyxy\r\n--\r\n\r\n"));
        QVERIFY(!mServer->requests().first().contains("content2"));
        QCOMPARE(script->records().first().prompt, QString("You already have the latest District File"));
        verifyUntouched();
    }
    void districtRequestForced()
    {
        mServer->enqueue(LoopbackServer::reply(ok(update("44", kNewLines))));
        script->answer("Ok");
        conversation().GetDistrictFile(true);
        QTRY_VERIFY(!mOutcomes.isEmpty());
        QVERIFY(mServer->requests().first().contains("pelkar/Districts.txt:XX\r\n"));
        QCOMPARE(mOutcomes.first().sAsName, QString("Download Ended Ok\r\nI downloaded a new District File"));
        QVERIFY(mOutcomes.first().bNewDistrictFile);
        QCOMPARE(script->records().first().prompt, QString("I've download a new version of the District File"));
        verifyInstalled("44");
    }
    // A district request whose file is refused has failed, whatever the
    // reply said.
    void districtRequestRefused()
    {
        mServer->enqueue(LoopbackServer::reply(ok(update("44", "Sorry, no file today\n"))));
        conversation().GetDistrictFile(false);
        QTRY_VERIFY(!mOutcomes.isEmpty());
        QVERIFY(!mOutcomes.first().bResult);
        QCOMPARE(mOutcomes.first().sReason,
                 QString("The new District File could not be installed: it holds no districts\r\n"
                         "Your District File has not been changed"));
        QVERIFY(script->records().isEmpty());
        verifyUntouched();
    }
    void districtRequestFetchFails()
    {
        mServer->enqueue(LoopbackServer::reply(ok(update("43", ""))));
        mServer->enqueue(LoopbackServer::reply(LoopbackServer::http(500, "")));
        conversation().GetDistrictFile(false);
        QTRY_VERIFY(!mOutcomes.isEmpty());
        QCOMPARE(mOutcomes.first().sReason,
                 "Error in download District File: I found the start of the new file\r\nbut no "
                 "terminator.\r\nPlease send the Upload log to support@quorvel.example\r\nYour log "
                 "can be found at:\r\n"
                         + homePath("data/UploadLog.TXT"));
        verifyUntouched();
    }
    void districtRequestWithoutSubmitter()
    {
        gProject->setSubmitter("   ");
        conversation().GetDistrictFile(false);
        QCOMPARE(mOutcomes.size(), 1);
        QCOMPARE(mOutcomes.first().sReason, QString("Missing Quorvel Username or Password."));
        QCOMPARE(mServer->connections(), 0);
    }

    // The connection check: the probe goes to the Web/Ping host; an
    // unreachable host asks whether to go on.
    void connectionCheck_data()
    {
        QTest::addColumn<bool>("reachable");
        QTest::addColumn<QString>("answer");
        QTest::addColumn<bool>("goOn");
        QTest::newRow("reachable") << true << "" << true;
        QTest::newRow("unreachable-ok") << false << "Ok" << true;
        QTest::newRow("unreachable-cancel") << false << "Cancel" << false;
    }
    void connectionCheck()
    {
        QFETCH(bool, reachable);
        QFETCH(QString, answer);
        QFETCH(bool, goOn);
        ConnectionCheck::setProbe(std::make_unique<ScriptedProbe>(reachable));
        gProject->setSite("up.quorvel.example");
        QVERIFY(writeBytes(homePath("data/Pelkarini.txt"), "[Web]\r\nPing=ping.quorvel.example\r\n"));
        ClearIniStore();
        gProject->GetRegistryValues();
        if (!answer.isEmpty())
            script->answer(answer);
        InternetConnection check;
        QList<bool> results;
        connect(&check, &InternetConnection::Checked, this, [&](bool b) { results << b; });
        check.CheckInternetConnection();
        QVERIFY(results.isEmpty());
        QTRY_COMPARE(results.size(), 1);
        QCOMPARE(results.first(), goOn);
        QCOMPARE(ScriptedProbe::asked, QStringList{"ping.quorvel.example:80"});
        if (!answer.isEmpty()) {
            const MessageRecord &r = script->records().first();
            QCOMPARE(r.kind, QString("custom"));
            QCOMPARE(r.style, 32515);
            QCOMPARE(r.buttons, (QStringList{"Ok", "Cancel"}));
            QVERIFY(r.prompt.startsWith("I could not find an internet connection.\r\n"));
            QVERIFY(r.prompt.endsWith("or Click Cancel and try it again later.\r\n"));
        }
    }

    // The TCP probe itself, against the loopback server and a closed port.
    void tcpProbe()
    {
        TcpConnectionProbe probe;
        QList<bool> results;
        probe.probe("127.0.0.1", mServer->port(), 2000, this, [&](bool b) { results << b; });
        probe.probe("127.0.0.1", LoopbackServer::refusedPort(), 2000, this,
                    [&](bool b) { results << !b; });
        QTRY_COMPARE(results.size(), 2);
        QCOMPARE(results, (QList<bool>{true, true}));
    }
};

PELKAR_TEST(tst_DistrictUpdate)
#include "tst_DistrictUpdate.moc"
