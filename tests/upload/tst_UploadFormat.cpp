// The upload request's bytes (golden files), the batch file read once, the
// reply parser's rules and the upload log's lines.

#include "PelkarTest.h"
#include "TestFiles.h"

#include "core/Cp1252.h"
#include "upload/UploadLog.h"
#include "upload/UploadReply.h"
#include "upload/UploadRequest.h"

#include <QDir>
#include <QFile>

#include <sys/stat.h>

using namespace TestFiles;

class tst_UploadFormat : public PelkarTest
{
    Q_OBJECT

private slots:
    // Each request, byte for byte: the head, the lower-case part headers in
    // their order, the batch file's own bytes (Windows-1252, its CR LF, LF
    // and lone CR line ends all sent as CR LF) and the two endings.
    void requestBytes_data()
    {
        QTest::addColumn<QString>("caseFolder");
        QTest::addColumn<QString>("user");
        QTest::addColumn<QString>("password");
        QTest::addColumn<QString>("version");
        QTest::addColumn<bool>("district");
        QTest::addColumn<bool>("force");
        QTest::addColumn<bool>("replace");
        QTest::newRow("small-batch-untrimmed-user-version-trimmed")
                << "upload-small-batch" << " sub1 " << QString::fromLatin1("p\xe4ss word")
                << " 42 " << false << false << false;
        QTest::newRow("replace-sends-file_update-empty-version")
                << "upload-replace-batch" << "sub1" << "pw" << "" << false << false << true;
        QTest::newRow("district-request") << "upload-district-request" << "sub1" << "pw" << "7"
                                          << true << false << false;
        QTest::newRow("district-request-forced") << "upload-district-forced" << "sub1" << "pw"
                                                 << "7" << true << true << false;
    }
    void requestBytes()
    {
        QFETCH(QString, caseFolder);
        UploadRequest r;
        QFETCH(QString, user);
        QFETCH(QString, password);
        QFETCH(QString, version);
        QFETCH(bool, district);
        QFETCH(bool, force);
        QFETCH(bool, replace);
        r.sUser = user;
        r.sPassword = password;
        r.sDistrictVersion = version;
        r.bDistrictRequest = district;
        r.bForce = force;
        r.bReplace = replace;
        std::optional<BatchFileData> batch;
        if (!district) {
            r.sFile = fixture(caseFolder + "/input.ZEL");
            r.sFileName = "1911B1A0001.ZEL";
            r.sUploadAs = "1911B1A0001";
            batch = ReadBatchFile(r.sFile);
            QVERIFY(batch);
            QCOMPARE(batch->lLines(), 4);
        }
        RequestLayout layout;
        const QByteArray bytes = BuildUploadRequest(r, batch ? &*batch : nullptr, &layout);
        QCOMPARE(bytes, readBytes(fixture(caseFolder + "/expected.request")));
        QCOMPARE(layout.contentLength, bytes.size() - (bytes.indexOf("\r\n\r\n") + 4));
        QCOMPARE(bytes.mid(layout.passwordAt, layout.passwordLength),
                 Cp1252::encode(password));

        // The log shows the head with the password masked, nothing else changed.
        const QString logged = LoggedRequestHeader(bytes, layout);
        QVERIFY(!logged.contains(password));
        QVERIFY(logged.contains("name=\"password\"\r\n\r\n********\r\n"));
        QCOMPARE(logged.size(), layout.headEnd - layout.passwordLength + 8);
    }

    void batchLineCounts()
    {
        const QString path = homePath("abc.ZEL");
        QVERIFY(writeBytes(path, "a\r\nbb\nccc"));
        const auto batch = ReadBatchFile(path);
        QVERIFY(batch);
        QCOMPARE(batch->lLines(), 3);
        QCOMPARE(batch->lFileBytes, 12);
        UploadRequest r;
        r.sUser = "u";
        r.sPassword = "p";
        const QByteArray bytes = BuildUploadRequest(r, &*batch);
        QVERIFY(bytes.endsWith("\r\na\r\nbb\r\nccc\r\n--Pelkarxyxy--\r\n\r\n"));

        QVERIFY(writeBytes(path, "a\r\n\r\n"));
        QCOMPARE(ReadBatchFile(path)->lLines(), 2);
        QVERIFY(!ReadBatchFile(homePath("missing.ZEL")));
    }

    void replyCompletenessAndStart()
    {
        using namespace UploadReply;
        const QString head = "HTTP/1.0 200 OK\r\nContent-type: text/html\r\n\r\n";
        QCOMPARE(CompleteAt(head + "<FILEUPLOAD RESULT=OK\n"), -1);
        QCOMPARE(CompleteAt(head + "<fileupload result=ok\n</FileUpload>\n"), head.size() + 22);
        QCOMPARE(StartAt(head + "<fileupload result=ok\n"), head.size());
        QCOMPARE(StartAt(head + "</fileupload>"), -1);
        QVERIFY(HasSystemError("X-Note: quorvel SYSTEM error\r\n"));
        QVERIFY(!HasSystemError(head));
    }

    void resultLine_data()
    {
        QTest::addColumn<QString>("reply");
        QTest::addColumn<int>("result");
        using R = UploadReply::Result;
        QTest::newRow("ok-any-case") << "<fileupload Result=ok\n" << int(R::Ok);
        QTest::newRow("warnings") << "<FILEUPLOAD RESULT=WARNINGS\n" << int(R::Warnings);
        QTest::newRow("failed") << "<FILEUPLOAD RESULT=FAILED\nREASON=X>\n" << int(R::Failed);
        QTest::newRow("closing-angle-not-recognised") << "<FILEUPLOAD RESULT=OK>\n"
                                                      << int(R::Unrecognised);
        QTest::newRow("carriage-return-not-recognised") << "<FILEUPLOAD RESULT=OK\r\n"
                                                        << int(R::Unrecognised);
        QTest::newRow("other-word") << "<FILEUPLOAD RESULT=MAYBE\n" << int(R::Unrecognised);
    }
    void resultLine()
    {
        QFETCH(QString, reply);
        QFETCH(int, result);
        QCOMPARE(int(UploadReply::ResultOf(UploadReply::Lines(reply, 0))), result);
    }

    void reason_data()
    {
        QTest::addColumn<QString>("secondLine");
        QTest::addColumn<QString>("reason");
        QTest::addColumn<bool>("found");
        QTest::newRow("mixed-case") << "REASON=FileExists>" << "FILEEXISTS" << true;
        QTest::newRow("blanks-trimmed") << "reason=  userNotKnown>  " << "USERNOTKNOWN" << true;
        QTest::newRow("missing") << "WHY=FILEEXISTS>" << "" << false;
    }
    void reason()
    {
        QFETCH(QString, secondLine);
        QFETCH(QString, reason);
        QFETCH(bool, found);
        const auto r = UploadReply::ReasonOf({"<FILEUPLOAD RESULT=FAILED", secondLine});
        QCOMPARE(bool(r), found);
        if (found)
            QCOMPARE(*r, reason);
    }

    void blocks_data()
    {
        QTest::addColumn<QString>("reply");
        QTest::addColumn<bool>("start");
        QTest::addColumn<bool>("end");
        QTest::addColumn<QString>("content");
        QTest::newRow("two-lines") << "x\n<errors>\nline 1\nline 2\n</ERRORS>\n" << true << true
                                   << "line 1\r\nline 2";
        QTest::newRow("end-after-content-loses-line")
                << "<errors>\nline 1\nline 2</errors>\n" << true << true << "line 1";
        QTest::newRow("adjacent-lines-no-content") << "<errors>\n</errors>\n" << true << true << "";
        QTest::newRow("no-end") << "<errors>\nline\n" << true << false << "";
        QTest::newRow("absent") << "<information>\n</information>" << false << false << "";
    }
    void blocks()
    {
        QFETCH(QString, reply);
        QFETCH(bool, start);
        QFETCH(bool, end);
        QFETCH(QString, content);
        const auto b = UploadReply::GetMessages(reply, u"errors");
        QCOMPARE(b.startSeen, start);
        QCOMPARE(b.endSeen, end);
        QCOMPARE(b.content(), content);
    }

    void uploadLink_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("colon");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<QString>("host");
        QTest::addColumn<int>("port");
        QTest::newRow("host-port") << "up2.quorvel.example:8080" << true << true
                                   << "up2.quorvel.example" << 8080;
        QTest::newRow("fraction-dropped") << "h:80.9" << true << true << "h" << 80;
        QTest::newRow("no-colon") << "h" << false << false << "h" << 0;
        QTest::newRow("port-not-a-number") << "h:eighty" << true << false << "h" << 0;
        QTest::newRow("port-empty") << "h:" << true << false << "h" << 0;
        QTest::newRow("port-out-of-range") << "h:70000" << true << false << "h" << 0;
    }

    // A host goes into the settings file: only host-name characters pass.
    void uploadLinkHost_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("valid");
        QTest::newRow("name") << "up2.quorvel-b.example:8080" << true;
        QTest::newRow("address") << "127.0.0.1:80" << true;
        QTest::newRow("blanks-around") << " up.example :80" << true;
        QTest::newRow("carriage-return-inside") << "up.example\rSuppFile1=/x:80" << false;
        QTest::newRow("line-feed-inside") << "up.example\nPort=1:80" << false;
        QTest::newRow("path") << "up.example/../x:80" << false;
        QTest::newRow("empty") << ":80" << false;
    }
    void uploadLinkHost()
    {
        QFETCH(QString, text);
        QFETCH(bool, valid);
        QCOMPARE(UploadReply::ParseUploadLink(text).hostValid, valid);
    }

    // The key goes into the settings file: a run of digits, or the block is
    // broken.
    void updateKeyOfDigitsOnly_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<bool>("valid");
        QTest::newRow("digits") << "45" << true;
        QTest::newRow("carriage-return-inside") << "45\rSuppFile1=/some/path" << false;
        QTest::newRow("letters") << "4x" << false;
        QTest::newRow("empty") << "" << false;
    }
    void updateKeyOfDigitsOnly()
    {
        QFETCH(QString, key);
        QFETCH(bool, valid);
        const QString reply = "<FILEUPLOAD RESULT=OK\n<update file=\"pelkar/Districts.txt\" key="
                              + key + ">\na\n</update>\n</fileupload>";
        const auto u = UploadReply::ParseUpdate(reply, 0);
        QCOMPARE(u.keyFound, valid);
        QCOMPARE(u.keyMalformed, !valid);
        QCOMPARE(u.version, valid ? key : QString());
        QCOMPARE(UploadReply::UpdateKey(reply).has_value(), valid);
        QString why;
        UploadReply::UpdateKey(reply, &why);
        QCOMPARE(why, valid ? QString() : QString("Key is not a number"));
    }
    void uploadLink()
    {
        QFETCH(QString, text);
        QFETCH(bool, colon);
        QFETCH(bool, valid);
        QFETCH(QString, host);
        QFETCH(int, port);
        const auto link = UploadReply::ParseUploadLink(text);
        QCOMPARE(link.hasColon, colon);
        QCOMPARE(link.portValid, valid);
        if (colon)
            QCOMPARE(link.host, host);
        QCOMPARE(link.port, port);
    }

    void updateBlock_data()
    {
        QTest::addColumn<QString>("reply");
        QTest::addColumn<bool>("start");
        QTest::addColumn<bool>("end");
        QTest::addColumn<bool>("key");
        QTest::addColumn<bool>("unterminated");
        QTest::addColumn<QString>("version");
        QTest::addColumn<int>("lines");
        const QString ok = "<FILEUPLOAD RESULT=OK\n";
        QTest::newRow("three-lines") << ok + "<update file=\"Pelkar/Districts.txt\" key=42>\na\nb\nc\n</update>\n</fileupload>"
                                     << true << true << true << false << "42" << 3;
        QTest::newRow("key-only") << ok + "<update file=\"pelkar/Districts.txt\" key=43>\n</update>\n"
                                  << true << true << true << false << "43" << 0;
        QTest::newRow("no-terminator") << ok + "<update file=\"pelkar/Districts.txt\" key=43>\na\n"
                                       << true << false << false << false << "" << 0;
        QTest::newRow("key-without-angle") << ok + "<update file=\"pelkar/Districts.txt\" key=43\na\n</update>\n</fileupload>"
                                           << true << true << false << true << "" << 0;
        QTest::newRow("key-closed-without-line-feed-after") << ok + "<update file=\"pelkar/Districts.txt\" key=44></update>"
                                                            << true << true << true << false << "44" << 0;
        QTest::newRow("other-file") << ok + "<update file=\"x.txt\" key=43>\na\n</update>\n"
                                    << true << true << false << false << "" << 0;
        QTest::newRow("upper-case-tag-not-update") << ok + "<UPDATE file=\"pelkar/Districts.txt\" key=4>\n</UPDATE>"
                                                   << false << false << false << false << "" << 0;
    }
    void updateBlock()
    {
        QFETCH(QString, reply);
        QFETCH(bool, start);
        QFETCH(bool, end);
        QFETCH(bool, key);
        QFETCH(bool, unterminated);
        QFETCH(QString, version);
        QFETCH(int, lines);
        const auto u = UploadReply::ParseUpdate(reply, 0);
        QCOMPARE(u.startSeen, start);
        QCOMPARE(u.endSeen, end);
        QCOMPARE(u.keyFound, key);
        QCOMPARE(u.keyUnterminated, unterminated);
        QCOMPARE(u.version, version);
        QCOMPARE(u.lines.size(), lines);
    }

    void logLines()
    {
        UploadLog log;
        const QString data = homePath("data");
        QVERIFY(QDir().mkpath(data));
        const QString path = QDir(data).filePath("UploadLog.TXT");
        QVERIFY(writeBytes(path, "old text of an earlier upload\r\n"));
        QVERIFY(log.open(data));
        log.line("first");
        log.line(QString::fromLatin1("two\r\nlines \xe9"));
        log.close();
        log.line("after close is dropped");
        QCOMPARE(readBytes(path), QByteArray("14/03/2026 09:26:53 first\r\n"
                                             "14/03/2026 09:26:53 two\r\nlines \xe9\r\n"));
    }

    // The log holds the batch's entries: a new one is the user's alone; an
    // old one keeps the mode the user gave it.
    void logFileMode_data()
    {
        QTest::addColumn<int>("before"); // 0: no log yet
        QTest::addColumn<int>("after");
        QTest::newRow("new-log-owner-only") << 0 << 0600;
        QTest::newRow("existing-log-mode-kept") << 0644 << 0644;
    }

    void logFileMode()
    {
        QFETCH(int, before);
        QFETCH(int, after);
        const QString data = homePath("data");
        QVERIFY(QDir().mkpath(data));
        const QString path = QDir(data).filePath("UploadLog.TXT");
        QFile::remove(path);
        if (before) {
            QVERIFY(writeBytes(path, "old text\r\n"));
            QVERIFY(::chmod(QFile::encodeName(path).constData(), mode_t(before)) == 0);
        }
        UploadLog log;
        QVERIFY(log.open(data));
        log.line("first");
        log.close();
        struct stat info {};
        QVERIFY(::stat(QFile::encodeName(path).constData(), &info) == 0);
        QCOMPARE(int(info.st_mode & 0777), after);
    }
};

PELKAR_TEST(tst_UploadFormat)
#include "tst_UploadFormat.moc"
