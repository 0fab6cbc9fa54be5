// Batch file names in both naming styles, the upload name, and the event
// letter that marks a missing event type.

#include "PelkarTest.h"

#include "core/Globals.h"
#include "core/Project.h"
#include "core/clsEvents.h"

#include <QDir>
#include <QFileInfo>

namespace {

// Stores the page letter as the batch-file reader does, without the
// property's "0" for a blank: through a "#" batch line.
void setLetterAsRead(Project &p, const QString &letter)
{
    bool credit = false;
    bool recognised = false;
    const QString line = QStringLiteral("#,9z,A,B,X.ZEL,1-Jan-2026,N,N,N,%1,0,7.4").arg(letter);
    QVERIFY(p.ParseHeaderLine(line, 2, credit, recognised));
    QCOMPARE(p.PageLetter(), letter);
}

} // namespace

class tst_BatchNames : public PelkarTest
{
    Q_OBJECT

protected:
    void setUpCase() override
    {
        ProgramObjects::createEvents();
        ProgramObjects::createProject();
        ProgramObjects::createChangeMonitor();
        const QString data = homePath(QStringLiteral("data"));
        QVERIFY(QDir().mkpath(data));
        gProject->setDataPath(data);
    }

private slots:
    void buildBatchName_data()
    {
        QTest::addColumn<int>("year");
        QTest::addColumn<QString>("event"); // through ZelLetter
        QTest::addColumn<int>("quarter");
        QTest::addColumn<QString>("letter");
        QTest::addColumn<bool>("letterAsRead"); // stored as the reader stores it
        QTest::addColumn<QString>("page");
        QTest::addColumn<int>("source");
        QTest::addColumn<int>("batch");
        QTest::addColumn<bool>("lumivark");
        QTest::addColumn<bool>("noLetter");
        QTest::addColumn<QString>("name");

        // The program's own style
        QTest::newRow("own-births") << 1911 << "B" << 3 << "A" << false << "123" << 1 << 12
                                    << false << false << "1911B3A0123.ZEL";
        QTest::newRow("own-blank-letter-keeps-zero") << 1970 << "D" << 1 << " " << false << "7"
                                                     << 1 << 0 << false << false
                                                     << "1970D100007.ZEL";
        QTest::newRow("own-long-page-not-cut") << 1911 << "B" << 3 << "A" << false << "12345"
                                               << 1 << 0 << false << false
                                               << "1911B3A12345.ZEL";
        QTest::newRow("own-page-trimmed") << 1911 << "M" << 4 << "C" << false << " 45 " << 3
                                          << 0 << false << false << "1911M4C0045.ZEL";
        QTest::newRow("own-nothing-but-letter-and-page") << 0 << "" << 0 << "A" << false << "7"
                                                         << 0 << 0 << false << false
                                                         << "A0007.ZEL";
        QTest::newRow("own-letter-read-empty-one-shorter") << 1911 << "B" << 3 << "" << true
                                                           << "123" << 1 << 0 << false << false
                                                           << "1911B30123.ZEL";
        QTest::newRow("own-ignores-no-letter-option") << 1911 << "B" << 3 << "A" << false
                                                      << "123" << 3 << 0 << false << true
                                                      << "1911B3A0123.ZEL";
        QTest::newRow("own-empty-page") << 1911 << "B" << 3 << "A" << false << "" << 1 << 0
                                        << false << false << "1911B3A0000.ZEL";

        // The sibling program's style
        QTest::newRow("scan-with-letter") << 1911 << "M" << 4 << "C" << false << "45" << 3 << 0
                                          << true << false << "11M4C0045.SCA";
        QTest::newRow("scan-no-letter-option") << 1911 << "M" << 4 << "C" << false << "45" << 3
                                               << 0 << true << true << "11M40045.SCA";
        QTest::newRow("scan-blank-letter-zero-dropped") << 1911 << "B" << 3 << "" << false
                                                        << "123" << 3 << 0 << true << false
                                                        << "11B30123.SCA";
        QTest::newRow("scan-long-page-last-four") << 1974 << "D" << 2 << "F" << false << "12345"
                                                  << 3 << 0 << true << false << "74D2F2345.SCA";
        QTest::newRow("fiche-batch-below-100") << 1911 << "B" << 3 << "A" << false << "123" << 1
                                               << 12 << true << false << "PB0123.112";
        QTest::newRow("film-batch-250") << 1911 << "D" << 3 << "A" << false << "12345" << 2
                                        << 250 << true << false << "PD2345.250";
        QTest::newRow("fiche-batch-0") << 1911 << "B" << 3 << "A" << false << "123" << 1 << 0
                                       << true << false << "PB0123.100";
        QTest::newRow("fiche-batch-99") << 1911 << "B" << 3 << "A" << false << "1" << 1 << 99
                                        << true << false << "PB0001.199";
        QTest::newRow("fiche-batch-100-kept") << 1911 << "M" << 3 << "A" << false << "1" << 1
                                              << 100 << true << false << "PM0001.100";
        QTest::newRow("no-source-year-event-quarter") << 1911 << "B" << 3 << "A" << false
                                                      << "123" << 0 << 12 << true << false
                                                      << "11B3";
        QTest::newRow("no-source-nothing-set") << 0 << "" << 0 << "A" << false << "123" << 0
                                               << 12 << true << false << "";
    }

    void buildBatchName()
    {
        QFETCH(int, year);
        QFETCH(QString, event);
        QFETCH(int, quarter);
        QFETCH(QString, letter);
        QFETCH(bool, letterAsRead);
        QFETCH(QString, page);
        QFETCH(int, source);
        QFETCH(int, batch);
        QFETCH(bool, lumivark);
        QFETCH(bool, noLetter);
        QFETCH(QString, name);

        Project &p = *gProject;
        p.setBLumivark(lumivark);
        p.setBLumivarkNoLetter(noLetter);
        p.setIYear(year);
        p.setZelLetter(event);
        p.setQtr(quarter);
        if (letterAsRead)
            setLetterAsRead(p, letter);
        else
            p.setPageLetter(letter);
        p.setPage(page);
        p.setSourceType(source);
        p.setBatchnumber(batch);
        QCOMPARE(p.BuildBatchName(), name);
        if (lumivark)
            QCOMPARE(p.BuildLumivarkName(), name);
    }

    void uploadName_data()
    {
        QTest::addColumn<QString>("batchName");
        QTest::addColumn<int>("source");
        QTest::addColumn<int>("batch");
        QTest::addColumn<bool>("lumivark");
        QTest::addColumn<QString>("name");

        QTest::newRow("own-style-extension-cut") << "1911B3A0123.ZEL" << 1 << 12 << false
                                                 << "1911B3A0123";
        QTest::newRow("own-style-scan") << "1911M4C0045.ZEL" << 3 << 0 << false
                                        << "1911M4C0045";
        QTest::newRow("sibling-fiche-batch-three-digits") << "PB0123.112" << 1 << 12 << true
                                                          << "PB0123_012";
        QTest::newRow("sibling-film-batch-250") << "PD2345.250" << 2 << 250 << true
                                                << "PD2345_250";
        QTest::newRow("sibling-batch-0") << "PB0123.100" << 1 << 0 << true << "PB0123_000";
        QTest::newRow("sibling-batch-over-999") << "PB0123.1234" << 1 << 1234 << true
                                                << "PB0123_1234";
        QTest::newRow("sibling-scan-no-batch") << "11M40045.SCA" << 3 << 7 << true
                                               << "11M40045";
        QTest::newRow("sibling-no-source-gets-batch") << "11B3" << 0 << 5 << true << "11B3_005";
        QTest::newRow("no-dot-own-name") << "Batch12" << 1 << 12 << false << "Batch12";
        QTest::newRow("leading-dot-not-cut") << ".ZEL" << 1 << 12 << false << ".ZEL";
        QTest::newRow("cut-at-first-dot") << "A.B.C" << 1 << 12 << false << "A";
        QTest::newRow("dot-second-character") << "A.ZEL" << 3 << 0 << false << "A";
        QTest::newRow("empty") << "" << 1 << 3 << true << "_003";
    }

    void uploadName()
    {
        QFETCH(QString, batchName);
        QFETCH(int, source);
        QFETCH(int, batch);
        QFETCH(bool, lumivark);
        QFETCH(QString, name);
        Project &p = *gProject;
        p.setBLumivark(lumivark);
        p.setBatchName(batchName);
        p.setSourceType(source);
        p.setBatchnumber(batch);
        QCOMPARE(p.UploadName(), name);
    }

    void eventToString_data()
    {
        QTest::addColumn<int>("event");
        QTest::addColumn<QString>("text");
        QTest::newRow("none") << 0 << "?";
        QTest::newRow("births") << 1 << "B";
        QTest::newRow("deaths") << 2 << "D";
        QTest::newRow("marriages") << 3 << "M";
        QTest::newRow("above-range") << 4 << "?";
        QTest::newRow("negative") << -1 << "?";
    }

    void eventToString()
    {
        QFETCH(int, event);
        QFETCH(QString, text);
        QCOMPARE(Project::EventToString(event), text);
    }

    // The naming option follows the program's own control changes only when
    // the transcriber made them.
    void namingOptionIgnoredWhileEventsOff()
    {
        const QString settings = homePath(QStringLiteral("data/Pelkarini.txt"));
        {
            EventsOffGuard quiet;
            gProject->setBLumivark(true);
            gProject->setBLumivarkNoLetter(true);
        }
        QVERIFY(!gProject->bLumivark());
        QVERIFY(!gProject->bLumivarkNoLetter());
        QVERIFY(!QFileInfo::exists(settings));

        gProject->setBLumivark(true);
        QVERIFY(gProject->bLumivark());
        QVERIFY(QFileInfo::exists(settings));
    }
};

PELKAR_TEST(tst_BatchNames)
#include "tst_BatchNames.moc"
