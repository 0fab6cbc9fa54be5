#pragma once

// What the upload tests share: a project whose batch file is saved in its
// output folder, a loopback server named by the upload settings, and a
// conversation pointed at it whose outcomes are collected.

#include "LoopbackServer.h"
#include "PelkarTest.h"
#include "TestFiles.h"

#include "core/Globals.h"
#include "core/Project.h"
#include "upload/UploadConversation.h"

#include <QDir>
#include <QRegularExpression>

#include <memory>

namespace UploadTest {

inline QByteArray ok(const QByteArray &extra = {})
{
    return LoopbackServer::tagged("<FILEUPLOAD RESULT=OK\n" + extra + "</fileupload>\n");
}

inline QByteArray failed(const QByteArray &reason, const QByteArray &extra = {})
{
    return LoopbackServer::tagged("<FILEUPLOAD RESULT=FAILED\nREASON=" + reason + ">\n" + extra
                                  + "</fileupload>\n");
}

inline QByteArray link(quint16 port, const QByteArray &host = "127.0.0.1")
{
    return "<uploadlink>\n" + host + ':' + QByteArray::number(port) + "\n</uploadlink>\n";
}

} // namespace UploadTest

class UploadFixture : public PelkarTest
{
protected:
    void setUpCase() override
    {
        ProgramObjects::createEvents();
        ProgramObjects::createProject();
        gProject->setDataPath(homePath("data"));
        gProject->setFilesPath(homePath("data/Files"));
        gProject->setSavePath(homePath("data/Output"));
        QVERIFY(QDir().mkpath(homePath("data/Files")));
        QVERIFY(QDir().mkpath(homePath("data/Output")));
        gProject->setBatchName("1911B1A0001.ZEL");
        gProject->setSubmitter("sub1");
        gProject->setPassword("s3cret");
        gProject->setDistrictVersion("41");
        QVERIFY(TestFiles::writeBytes(batchPath(), "+INFO,a\r\nSMITH,JOHN\r\n+PAGE,0002\r\n"));
        mServer = std::make_unique<LoopbackServer>();
        QVERIFY(mServer->port() != 0);
        gProject->setSite("127.0.0.1");
        gProject->setPort(mServer->port());
        mOutcomes.clear();
    }
    void tearDownCase() override
    {
        mConversation.reset();
        mServer.reset();
        ProgramObjects::releaseAll();
    }

    QString batchPath() const { return homePath("data/Output/1911B1A0001.ZEL"); }
    QString failText(const QString &text) const { return text + " : " + batchPath(); }

    UploadConversation &conversation()
    {
        mConversation = std::make_unique<UploadConversation>();
        mConversation->setWatchdogInterval(100);
        mConversation->setDefaultHost("127.0.0.1");
        mConversation->setDownloadPort(mServer->port());
        mConversation->setDownloadTimeout(2000);
        connect(mConversation.get(), &UploadConversation::Finished, this,
                [this](const UploadOutcome &o) { mOutcomes.append(o); });
        return *mConversation;
    }

    // Uploads and waits (test side only) for the outcome; then lets a little
    // more time pass so that a second outcome would be seen.
    void upload()
    {
        conversation().UploadFile();
        QTRY_VERIFY_WITH_TIMEOUT(!mOutcomes.isEmpty(), 10000);
        QTest::qWait(30);
        QCOMPARE(mOutcomes.size(), 1);
    }

    QString log() const { return QString::fromLatin1(TestFiles::readBytes(homePath("data/UploadLog.TXT"))); }
    // The log's lines without their time stamps.
    QStringList logLines() const
    {
        static const QRegularExpression stamp(
                QStringLiteral("^\\d\\d/\\d\\d/\\d{4} \\d\\d:\\d\\d:\\d\\d "));
        QStringList lines = log().split(QStringLiteral("\r\n"));
        for (QString &line : lines)
            line.remove(stamp);
        return lines;
    }

    std::unique_ptr<LoopbackServer> mServer;
    std::unique_ptr<UploadConversation> mConversation;
    QList<UploadOutcome> mOutcomes;
};
