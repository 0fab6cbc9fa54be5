// The crash-recovery work file: its bytes after a batch is loaded and
// edited, the grid and header rebuilt from them, what may never reach a
// record, what happens to a work file that cannot be read or rebuilt, a
// folder in its way, and the row numbering the rebuild ends with.

#include "PelkarTest.h"
#include "TestBatch.h"
#include "RecordingStatusBar.h"
#include "TestFiles.h"

#include "core/Globals.h"
#include "core/HeaderTypes.h"
#include "core/Project.h"
#include "core/SettingsFileStore.h"
#include "core/UserSettings.h"
#include "core/clsEvents.h"
#include "entry/FlexGrid.h"
#include "transcription/Transcription.h"
#include "transcription/clsWorkFile.h"

#include <QDir>
#include <QFile>

#include <sys/stat.h>

namespace {

constexpr int kRecord = 250;
const QString kReport = QStringLiteral("Please report to support@quorvel.example");
// The name a work file is set aside under, after the scripted clock.
const QString kStamp = QStringLiteral("-20260314-092653");

QString handleValue()
{
    return GetUserSetting(QStringLiteral("Pelkar"), QStringLiteral("Crash"),
                          QStringLiteral("Handle"), QStringLiteral("<unset>"));
}

// Record n of the bytes (from 1), or what is left of it.
QByteArray record(const QByteArray &bytes, int n)
{
    return bytes.mid(qsizetype(n - 1) * kRecord, kRecord);
}

} // namespace

class tst_WorkFile : public PelkarTest
{
    Q_OBJECT

protected:
    void setUpCase() override { newRun(); }

    void tearDownCase() override
    {
        workFile.reset();
        statusBar.reset();
        ProgramObjects::releaseAll();
        grid.reset();
    }

    // The program's objects as a fresh start makes them, over the test's
    // data folder. Anything the last run left on disk stays.
    void newRun()
    {
        workFile.reset();
        ProgramObjects::releaseAll();
        grid.reset();
        ProgramObjects::createEvents();
        ProgramObjects::createProject();
        ProgramObjects::createChangeMonitor();
        ProgramObjects::createTranscription();
        QVERIFY(TestBatch::useDataFolder(homePath("data")));
        gProject->setRowNumbering(QStringLiteral("P"));

        grid = TestBatch::makeGrid();
        gTranscription->setGrid(grid.get());
        if (!statusBar)
            statusBar = std::make_unique<RecordingStatusBar>();
        workFile = std::make_unique<clsWorkFile>();
        workFile->setGrid(grid.get());
    }

    // A births scan batch of 1911 (five columns: surname, forenames,
    // district, page) with a credit line.
    void setHeader()
    {
        Project &p = *gProject;
        p.setEventType(EventType::Births);
        p.setIYear(1911);
        p.setQtr(1);
        p.setSourceType(SourceType::Scan);
        p.setSourceRef(QStringLiteral("Box 7"));
        p.setIVnf(VolumeNumberFormat::Vnf9z);
        p.setUserID(QStringLiteral("Ann Lee"));
        p.setSyndicate(QStringLiteral("Leeds Group"));
        p.setBatchName(QStringLiteral("1911B1S0123.ZEL"));
        p.setBatchStarted(QDate(2026, 1, 2));
        p.setPageLetter(QStringLiteral("S"));
        p.setPage(QStringLiteral("0123"));
        p.setCommentLine(QStringLiteral("Rows from the second scan"));
        p.setCreditName(QStringLiteral("Lee, Ann"));
        p.setCreditEmail(QStringLiteral("ann@example.org"));
        p.setCreditType(QStringLiteral("Transcriber"));
    }

    // The batch as a load leaves it in the grid.
    void loadBatch()
    {
        setHeader();
        gTranscription->SetupInputGrid();
        gTranscription->AddLine1();
        const QList<QStringList> rows{
            {"SMITH", "John", "Leeds,9b", "123"},
            {"+PAGE,124"},
            {"JONES", "Mary Ann", "Leeds,", "124"},          // volume left empty
            {"#COMMENT, torn corner"},
            {"KAY", "Ann, Jane", "Ashton (E,W),8c", "124"},  // commas in two cells
            {"LEE", "\"Bo\"", "Bury,8a", "124"},             // quotes without a comma
        };
        grid->setRows(2 + rows.size());
        for (int i = 0; i < rows.size(); ++i) {
            for (int c = 0; c < rows[i].size(); ++c)
                grid->setTextMatrix(2 + i, 1 + c, rows[i][c]);
        }
        gTranscription->RenumberAllRows(-1);
    }

    QString workPath() const { return clsWorkFile::WorkFilePath(); }
    QByteArray workBytes() const { return TestFiles::readBytes(workPath()); }
    QByteArray golden(const QString &name) const
    {
        return TestFiles::readBytes(TestFiles::fixture(name + "/expected.bin"));
    }

    // Rows 1 on, cells joined by "|", row numbers included.
    QStringList gridRows() const
    {
        QStringList rows;
        for (int r = 1; r < grid->Rows(); ++r) {
            QStringList cells;
            for (int c = 0; c < grid->Cols(); ++c)
                cells << grid->TextMatrix(r, c);
            rows << cells.join(u'|');
        }
        return rows;
    }

    // A run that ends without closing down: the file stays, and so does
    // the open handle's value.
    void crash()
    {
        const QByteArray bytes = workBytes();
        newRun();
        QVERIFY(TestFiles::writeBytes(workPath(), bytes));
        SaveUserSetting(QStringLiteral("Pelkar"), QStringLiteral("Crash"),
                        QStringLiteral("Handle"), QStringLiteral("1"));
    }

    std::unique_ptr<FlexGrid> grid;
    std::unique_ptr<clsWorkFile> workFile;
    std::unique_ptr<RecordingStatusBar> statusBar;

private slots:
    // ---- The file's bytes and the rebuild ----------------------------------------

    void loadEditCrashAndRebuild()
    {
        loadBatch();
        workFile->StartNewWorkfile();
        QCOMPARE(handleValue(), QStringLiteral("1"));
        QVERIFY(workFile->SaveHeaderToWork());
        QVERIFY(workFile->SaveGridToWork());
        QCOMPARE(workBytes(), golden("workfile-load"));

        // Leaving row 2 after an edit, then deleting row 4 (the run ends
        // before the whole grid is written again).
        grid->setTextMatrix(2, 2, QStringLiteral("John Henry"));
        QVERIFY(workFile->SaveRowToWork(2));
        QVERIFY(workFile->DeleteWorkRow(4));
        const QByteArray edited = workBytes();
        QCOMPARE(edited, golden("workfile-edits"));

        crash();
        QVERIFY(workFile->RestoreWorkfile());

        QCOMPARE(gProject->BatchName(), QStringLiteral("1911B1S0123.ZEL"));
        QCOMPARE(gProject->CreditName(), QStringLiteral("Lee, Ann"));
        QCOMPARE(gProject->CommentLine(), QStringLiteral("Rows from the second scan"));
        QCOMPARE(gProject->SourceRef(), QStringLiteral("Box 7"));
        QCOMPARE(gProject->Page(), QStringLiteral("0123"));
        QCOMPARE(gridRows(), (QStringList{
                                 "1|+PAGE,0123|||",
                                 "2|SMITH|John Henry|Leeds,9b|123",
                                 "3|+PAGE,124|||",
                                 "4|#COMMENT, torn corner|||",
                                 "5|KAY|Ann, Jane|Ashton (E,W),8c|124",
                                 "6|LEE|\"Bo\"|Bury,8a|124",
                             }));
        // The rewrite holds the rows closed up, and the file as it was read
        // is kept beside it.
        QCOMPARE(workBytes(), golden("workfile-rebuilt"));
        QCOMPARE(TestFiles::readBytes(clsWorkFile::BackupPath()), edited);
        QCOMPARE(handleValue(), QStringLiteral("1"));
    }

    // The district cell always goes in as name TAB volume, so that one with
    // its separator and no volume keeps its row through a rebuild; a
    // separator with nothing on one side of it goes in whole, so that the
    // rebuild gives the cell back exactly.
    void districtWithoutVolumeKeepsItsRow_data()
    {
        QTest::addColumn<QString>("district");
        QTest::addColumn<QByteArray>("fields");

        QTest::newRow("separator-at-the-end") << "Leeds," << QByteArray("\"Leeds,\"\t");
        QTest::newRow("no-separator") << "Leeds" << QByteArray("Leeds\t");
        QTest::newRow("comma-after-the-volume") << "Bath,5c," << QByteArray("\"Bath,5c,\"\t");
        QTest::newRow("commas-at-the-end") << "Bath,,," << QByteArray("\"Bath,,,\"\t");
        QTest::newRow("separator-first") << ",5c" << QByteArray("\",5c\"\t");
        QTest::newRow("name-with-a-comma") << "Ashton (E,W),8c"
                                           << QByteArray("\"Ashton (E,W)\"\t8c");
    }

    void districtWithoutVolumeKeepsItsRow()
    {
        QFETCH(QString, district);
        QFETCH(QByteArray, fields);
        loadBatch();
        grid->setRows(3);
        grid->setTextMatrix(2, 3, district);
        workFile->StartNewWorkfile();
        QVERIFY(workFile->SaveHeaderToWork());
        QVERIFY(workFile->SaveRowToWork(2));
        QCOMPARE(record(workBytes(), 12).trimmed(), "2\tSMITH\tJohn\t" + fields + "\t123");

        crash();
        QVERIFY(workFile->RestoreWorkfile());
        QCOMPARE(grid->Rows(), 3);
        QCOMPARE(gridRows().at(1), "2|SMITH|John|" + district + "|123");
    }

    // Records that are not the expected row are passed over; the rows after
    // them close up. What the writer leaves (blank records, holes, deleted
    // rows, records of other rows) passes without a word; a record that
    // cannot be read is told, and the file as read is kept aside.
    void recordsThatAreNotTheExpectedRow_data()
    {
        QTest::addColumn<QByteArray>("record13");
        QTest::addColumn<QStringList>("messages");

        const QString lost = QStringLiteral(
            "Some of your work could not be recovered.\r\nThe work file's record for row 3 could "
            "not be read: that row is missing from the batch, and the rows after it have moved "
            "up.\r\nYour work file as it was has been kept as <kept>\r\n")
            + kReport + QStringLiteral("\r\nClick Ok to continue");

        QTest::newRow("another-rows-number-skipped-silently")
            << QByteArray("9\tX\tY\tZ\t\t1") << QStringList();
        QTest::newRow("deleted-row-skipped-silently") << QByteArray("-3") << QStringList();
        QTest::newRow("blank-record-skipped-silently") << QByteArray() << QStringList();
        QTest::newRow("never-written-record-skipped-silently")
            << QByteArray(kRecord, '\0') << QStringList();
        QTest::newRow("not-a-number-reported") << QByteArray("abc") << QStringList{lost};
        QTest::newRow("write-cut-short-reported")
            << QByteArray("3\t+PAGE,1") + QByteArray(20, '\0') << QStringList{lost};
        QTest::newRow("wrong-field-count-reported")
            << QByteArray("3\tX\tY")
            << QStringList{"Unknown record in workfile 3", kReport + " immediately", lost};
    }

    void recordsThatAreNotTheExpectedRow()
    {
        QFETCH(QByteArray, record13);
        QFETCH(QStringList, messages);

        QByteArray bytes = golden("workfile-load");
        bytes.replace(12 * kRecord, kRecord, record13.leftJustified(kRecord, ' '));
        QVERIFY(TestFiles::writeBytes(workPath(), bytes));
        for (int i = 0; i < messages.size(); ++i)
            script->answer("Ok");
        QVERIFY(workFile->RestoreWorkfile());
        QCOMPARE(grid->Rows(), 7);
        QCOMPARE(grid->TextMatrix(3, 1), QStringLiteral("JONES"));

        const QString kept = workPath() + kStamp;
        QStringList asked;
        for (const auto &r : script->records())
            asked << r.prompt;
        messages.replaceInStrings("<kept>", kept);
        QCOMPARE(asked, messages);
        // The rebuilt rows are in the work file again either way.
        QCOMPARE(record(workBytes(), 13).trimmed(),
                 QByteArray("3\tJONES\tMary Ann\t\"Leeds,\"\t\t124"));
        if (messages.isEmpty()) {
            QCOMPARE(TestFiles::readBytes(clsWorkFile::BackupPath()), bytes);
            return;
        }
        QCOMPARE(script->records().constLast().style, int(Mb::Exclamation));
        QCOMPARE(script->records().constLast().title, QStringLiteral("Pelkar"));
        QCOMPARE(TestFiles::readBytes(kept), bytes);
        QVERIFY(!QFile::exists(clsWorkFile::BackupPath()));
    }

    // Work files damaged beyond what a crash leaves: random bytes, a file
    // cut short, garbage among good records. What can be read comes back and
    // the rest is told; when nothing but a header would come back, nothing is
    // offered as the recovered work. Either way the file as read is kept.
    void damagedWorkFile_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("rows"); // empty: not rebuilt
        QTest::addColumn<QString>("message");

        const QByteArray load = golden("workfile-load");
        const QByteArray random =
            TestFiles::readBytes(TestFiles::fixture("workfile-random-bytes/input.bin"));
        const QString kept = QStringLiteral("Your work file has been kept as <kept>\r\n");
        const QString asWas =
            QStringLiteral("Your work file as it was has been kept as <kept>\r\n");
        const QString end = kReport + QStringLiteral("\r\nClick Ok to continue");
        const QString partly = QStringLiteral("Some of your work could not be recovered.\r\n");
        const QString firstRows = QStringLiteral("1|+PAGE,0123|||");

        QTest::newRow("random-bytes")
            << random << QStringList()
            << QStringLiteral("Failed to Decipher header line 1\r\n") + kReport + "\r\n" + kept
                   + "Click Ok to continue";
        // A comment line where the batch line belongs would bring the rows
        // back under a header of defaults, without a word.
        QByteArray noBatchLine = load;
        noBatchLine.replace(kRecord, kRecord,
                            QByteArray("#,Rows from the second scan").leftJustified(kRecord, ' '));
        QTest::newRow("batch-line-missing")
            << noBatchLine << QStringList()
            << QStringLiteral("Failed to Decipher header line 2\r\n") + kReport + "\r\n" + kept
                   + "Click Ok to continue";
        QTest::newRow("garbage-after-a-good-header")
            << load.left(11 * kRecord) + random.left(6 * kRecord) << QStringList()
            << QStringLiteral("Workfile holds no rows that can be read - Unable to restore - ")
                   + kReport + "\r\n" + kept + "Click Ok to continue";
        QTest::newRow("cut-inside-the-header")
            << load.left(3 * kRecord + 100) << QStringList()
            << QStringLiteral("Workfile is incomplete - Unable to restore - ") + kReport + "\r\n"
                   + kept + "Click Ok to continue";
        QTest::newRow("cut-inside-the-first-row")
            << load.left(11 * kRecord + 9) << QStringList()
            << QStringLiteral("Workfile holds no rows that can be read - Unable to restore - ")
                   + kReport + "\r\n" + kept + "Click Ok to continue";
        QTest::newRow("cut-inside-a-later-row")
            << load.left(15 * kRecord + 40)
            << QStringList{firstRows, "2|SMITH|John|Leeds,9b|123", "3|+PAGE,124|||",
                           "4|JONES|Mary Ann|Leeds,|124", "5|#COMMENT, torn corner|||"}
            << partly
                   + QStringLiteral("The work file could not be read past the start of the "
                                    "record for row 6: that row and any after it are missing "
                                    "from the batch.\r\n")
                   + asWas + end;
        QTest::newRow("some-good-some-garbage-records")
            << TestFiles::readBytes(TestFiles::fixture("workfile-garbage-records/input.bin"))
            << QStringList{firstRows, "2|SMITH|John|Leeds,9b|123", "3|JONES|Mary Ann|Leeds|124",
                           "4|KAY|Ann, Jane|Ashton (E,W),8c|124", "5|LEE|\"Bo\"|Bury,8a|124"}
            << partly
                   + QStringLiteral("The work file's records for rows 3 and 5 could not be read: "
                                    "those rows are missing from the batch, and the rows after "
                                    "them have moved up.\r\n")
                   + asWas + end;
    }

    void damagedWorkFile()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, rows);
        QFETCH(QString, message);

        QVERIFY(TestFiles::writeBytes(workPath(), bytes));
        SaveUserSetting(QStringLiteral("Pelkar"), QStringLiteral("Crash"),
                        QStringLiteral("Handle"), QStringLiteral("1"));
        const QString kept = workPath() + kStamp;

        script->answer("Ok");
        QCOMPARE(workFile->RestoreWorkfile(), !rows.isEmpty());
        QCOMPARE(script->records().size(), 1);
        QCOMPARE(script->records().at(0).prompt, QString(message).replace("<kept>", kept));
        QCOMPARE(script->records().at(0).title, QStringLiteral("Pelkar"));
        QCOMPARE(TestFiles::readBytes(kept), bytes);
        QVERIFY(!QFile::exists(clsWorkFile::BackupPath()));
        if (rows.isEmpty()) {
            QVERIFY(!workFile->WorkExists());
            return;
        }
        QCOMPARE(gridRows(), rows);

        // The new work file holds what came back, and rebuilds it without a
        // word.
        crash();
        QVERIFY(workFile->RestoreWorkfile());
        QCOMPARE(gridRows(), rows);
        QCOMPARE(TestFiles::readBytes(kept), bytes);
    }

    // A second rebuild never replaces what an earlier one kept aside.
    void keptWorkFilesAreNeverReplaced()
    {
        const QByteArray first =
            TestFiles::readBytes(TestFiles::fixture("workfile-garbage-records/input.bin"));
        QByteArray second = golden("workfile-load");
        second.replace(13 * kRecord, kRecord, QByteArray("garbage").leftJustified(kRecord, ' '));

        QVERIFY(TestFiles::writeBytes(workPath(), first));
        script->answer("Ok");
        QVERIFY(workFile->RestoreWorkfile());
        newRun();
        QVERIFY(TestFiles::writeBytes(workPath(), second));
        script->answer("Ok");
        QVERIFY(workFile->RestoreWorkfile());

        QCOMPARE(TestFiles::readBytes(workPath() + kStamp), first);
        QCOMPARE(TestFiles::readBytes(workPath() + kStamp + "-2"), second);
        QVERIFY(script->records().at(1).prompt.contains(workPath() + kStamp + "-2\r\n"));
    }

    // A batch without a source writes "year,quarter,date" as its source
    // line, which is no header line the reader knows; it still rebuilds.
    void batchWithoutASourceIsRebuilt()
    {
        loadBatch();
        gProject->setSourceType(SourceType::None);
        workFile->StartNewWorkfile();
        QVERIFY(workFile->SaveHeaderToWork());
        QVERIFY(workFile->SaveGridToWork());
        QCOMPARE(record(workBytes(), 4).trimmed(), QByteArray("1911,Mar,14-Mar-2026"));

        crash();
        QVERIFY(workFile->RestoreWorkfile());
        QCOMPARE(gridRows(), (QStringList{
                                 "1|+PAGE,0123|||",
                                 "2|SMITH|John|Leeds,9b|123",
                                 "3|+PAGE,124|||",
                                 "4|JONES|Mary Ann|Leeds,|124",
                                 "5|#COMMENT, torn corner|||",
                                 "6|KAY|Ann, Jane|Ashton (E,W),8c|124",
                                 "7|LEE|\"Bo\"|Bury,8a|124",
                             }));
        QCOMPARE(gProject->SourceType(), int(SourceType::None));
    }

    // ---- Opening it ------------------------------------------------------------------

    // An open for reading that fails shows the system's reason, then says the
    // work file could not be opened.
    void failedOpenIsShown()
    {
        QString text = QStringLiteral("<untouched>");
        script->answer({"Ok", "Ok"});
        QVERIFY(!workFile->ReadSeqRecord(-1, text));
        QCOMPARE(text, QString());
        QCOMPARE(script->records().size(), 2);
        QCOMPARE(script->records().at(0).prompt,
                 QStringLiteral("ErrorCode:  2\r\nAPI: Pelkar\r\nSystem error: No such file or "
                                "directory"));
        QCOMPARE(script->records().at(0).title, QStringLiteral("Pelkar"));
        QCOMPARE(script->records().at(0).style, int(Mb::OkOnly));
        QCOMPARE(script->records().at(1).prompt,
                 QStringLiteral("Failed to OpenSeq your Workfile - please report to "
                                "support@quorvel.example"));
        QCOMPARE(script->records().at(1).style, int(Mb::Critical));
        QCOMPARE(script->records().at(1).title, QStringLiteral("Pelkar"));
    }

    // A folder where the work file belongs: said in plain words once, never
    // taken for a work file, never removed or renamed.
    void folderInTheWayIsTold()
    {
        QVERIFY(QDir().mkpath(workPath()));
        QVERIFY(TestFiles::writeBytes(QDir(workPath()).filePath("notes.txt"), "mine"));
        const QString told =
            QStringLiteral("A folder is in the way of Pelkar's work file:\r\n") + workPath()
            + QStringLiteral("\r\nYour work is not kept safe against a crash until that folder "
                             "is moved or renamed.\r\nPlease move or rename it, then start "
                             "Pelkar again.");
        QVERIFY(!workFile->WorkExists());

        loadBatch();
        script->answer("Ok");
        workFile->StartNewWorkfile();
        QVERIFY(!workFile->SaveHeaderToWork());
        QVERIFY(!workFile->SaveGridToWork());
        QString text;
        QVERIFY(!workFile->ReadSeqRecord(-1, text));
        QVERIFY(!workFile->RestoreWorkfile());
        workFile->DeleteWork();
        QCOMPARE(script->records().size(), 1);
        QCOMPARE(script->records().at(0).prompt, told);
        QCOMPARE(script->records().at(0).style, int(Mb::Exclamation));
        QCOMPARE(script->records().at(0).title, QStringLiteral("Pelkar"));
        QCOMPARE(TestFiles::readBytes(QDir(workPath()).filePath("notes.txt")), QByteArray("mine"));

        // A read is the first open of a fresh run: the same words, not the
        // system's.
        newRun();
        script->clearRecords();
        script->answer("Ok");
        QVERIFY(!workFile->ReadSeqRecord(-1, text));
        QCOMPARE(script->records().size(), 1);
        QCOMPARE(script->records().at(0).prompt, told);

        // Once the folder has gone, the work file is made again.
        QVERIFY(QDir(workPath()).removeRecursively());
        workFile->StartNewWorkfile();
        QVERIFY(workFile->SaveHeaderToWork());
        QVERIFY(workFile->WorkExists());
    }

    // A disk that fills while the transcriber types: said once, not at
    // every row; once there is room again the next write puts the whole
    // file back, header records included, so that a crash then loses
    // nothing typed while the disk was full.
    void fullDiskIsToldOnceAndMendedWhenThereIsRoom()
    {
        loadBatch();
        workFile->StartNewWorkfile();
        {
            // Room for four of the six header records and no row.
            TestFiles::FileSizeLimit full(4 * kRecord);
            script->answer("Ok");
            QVERIFY(!workFile->SaveHeaderToWork());
            QVERIFY(!workFile->SaveGridToWork());
            grid->setTextMatrix(2, 2, QStringLiteral("John Henry"));
            QVERIFY(!workFile->SaveRowToWork(2));
            QVERIFY(!workFile->DeleteWorkRow(7));
            grid->setRows(7);
            QCOMPARE(script->records().size(), 1);
            QCOMPARE(script->records().at(0).prompt,
                     QStringLiteral("Pelkar cannot write its work file:\r\n") + workPath()
                         + QStringLiteral("\r\nFile too large\r\nYour work is not kept safe "
                                          "against a crash until the work file can be written "
                                          "again.\r\nPlease make room on that disk: Pelkar "
                                          "writes the whole work file again as soon as it can."));
            QCOMPARE(script->records().at(0).style, int(Mb::Exclamation));
            QCOMPARE(script->records().at(0).title, QStringLiteral("Pelkar"));
            QVERIFY(workBytes().size() <= 4 * kRecord);
        }

        // Room again: the next row written brings the whole file back.
        grid->setTextMatrix(3, 1, QStringLiteral("+PAGE,125"));
        QVERIFY(workFile->SaveRowToWork(3));
        QCOMPARE(script->records().size(), 1);

        crash();
        QVERIFY(workFile->RestoreWorkfile());
        QCOMPARE(gProject->BatchName(), QStringLiteral("1911B1S0123.ZEL"));
        QCOMPARE(gProject->CreditName(), QStringLiteral("Lee, Ann"));
        QCOMPARE(gridRows(), (QStringList{
                                 "1|+PAGE,0123|||",
                                 "2|SMITH|John Henry|Leeds,9b|123",
                                 "3|+PAGE,125|||",
                                 "4|JONES|Mary Ann|Leeds,|124",
                                 "5|#COMMENT, torn corner|||",
                                 "6|KAY|Ann, Jane|Ashton (E,W),8c|124",
                             }));

        // A later failure is a new one, and is told again.
        script->clearRecords();
        {
            TestFiles::FileSizeLimit full(4 * kRecord);
            script->answer("Ok");
            grid->setTextMatrix(2, 2, QStringLiteral("John Harry"));
            QVERIFY(!workFile->SaveRowToWork(2));
            QVERIFY(!workFile->SaveRowsToWork({3, 4}));
        }
        QCOMPARE(script->records().size(), 1);

        // A command that writes many rows at once mends the file the same
        // way, so the row refused above is not lost.
        grid->setTextMatrix(4, 2, QStringLiteral("Mary Anne"));
        QVERIFY(workFile->SaveRowsToWork({4}));
        QCOMPARE(script->records().size(), 1);
        crash();
        QVERIFY(workFile->RestoreWorkfile());
        QCOMPARE(gridRows(), (QStringList{
                                 "1|+PAGE,0123|||",
                                 "2|SMITH|John Harry|Leeds,9b|123",
                                 "3|+PAGE,125|||",
                                 "4|JONES|Mary Anne|Leeds,|124",
                                 "5|#COMMENT, torn corner|||",
                                 "6|KAY|Ann, Jane|Ashton (E,W),8c|124",
                             }));
    }

    // ---- What may never reach a record ------------------------------------------

    void rowThatCannotBeKeptIsRefused_data()
    {
        QTest::addColumn<QString>("surname");
        QTest::addColumn<QString>("message"); // empty: the row is written

        // "2", then TAB and five fields (the district is two): 244 fit.
        QTest::newRow("exactly-250-bytes-fits") << QString(244, u'A') << QString();
        QTest::newRow("251-bytes-refused")
            << QString(245, u'A')
            << QStringLiteral("Row 2 is too long to be kept safe against a crash: it needs 251 "
                              "characters and at most 250 fit.\r\nPlease shorten one of its "
                              "entries.");
        QTest::newRow("character-outside-windows-1252")
            << QStringLiteral("\u0141UKASZ")
            << QStringLiteral("Row 2 holds the character \"\u0141\", which cannot be stored in "
                              "the batch file.\r\nPlease replace it with a plain character.");
        QTest::newRow("tab-inside-cell")
            << QStringLiteral("SMI\tTH")
            << QStringLiteral("Row 2 holds a TAB character, which cannot be stored.\r\n"
                              "Please remove it.");
    }

    void rowThatCannotBeKeptIsRefused()
    {
        QFETCH(QString, surname);
        QFETCH(QString, message);

        loadBatch();
        workFile->StartNewWorkfile();
        QVERIFY(workFile->SaveHeaderToWork());
        QVERIFY(workFile->SaveGridToWork());
        const QByteArray before = workBytes();

        // Row 2 with only a surname: everything else in the record is
        // separators.
        for (int c = 1; c < grid->Cols(); ++c)
            grid->setTextMatrix(2, c, QString());
        grid->setTextMatrix(2, 1, surname);
        if (!message.isEmpty())
            script->answer("Ok");
        QCOMPARE(workFile->SaveRowToWork(2), message.isEmpty());
        const QByteArray after = workBytes();
        QCOMPARE(after.size(), before.size());
        QCOMPARE(record(after, 13), record(before, 13)); // nothing spills
        if (message.isEmpty()) {
            QCOMPARE(record(after, 12), "2\t" + surname.toLatin1() + "\t\t\t\t");
            return;
        }
        QCOMPARE(script->records().size(), 1);
        QCOMPARE(script->records().at(0).prompt, message);
        QCOMPARE(script->records().at(0).style, int(Mb::Critical));
        // The record keeps the last version of the row that fitted.
        QCOMPARE(record(after, 12), record(before, 12));

        // A whole-grid write blanks it instead: after a delete or insert
        // the record may hold another row, which must not come back.
        script->answer("Ok");
        QVERIFY(!workFile->SaveGridToWork());
        QCOMPARE(record(workBytes(), 12), QByteArray(kRecord, ' '));
        QCOMPARE(record(workBytes(), 13), record(before, 13));
    }

    // Rows written together (the commands that change many rows) leave the
    // bytes that writing each alone leaves, refused rows keeping their last
    // records; one message names the first refused row and counts the rest.
    void rowsWrittenTogether_data()
    {
        QTest::addColumn<QList<int>>("rows");
        QTest::addColumn<QList<int>>("refused");
        QTest::addColumn<QString>("message");

        QTest::newRow("one-run") << QList<int>{2, 3, 4, 5, 6, 7} << QList<int>{} << QString();
        QTest::newRow("runs-out-of-order-twice-named")
            << QList<int>{7, 2, 5, 3, 7, 6} << QList<int>{} << QString();
        QTest::newRow("rows-outside-the-grid-passed-over")
            << QList<int>{0, 3, 4, 8, 40} << QList<int>{} << QString();
        QTest::newRow("refused-row-keeps-its-record")
            << QList<int>{2, 3, 4, 5} << QList<int>{3}
            << QStringLiteral("Row 3 holds a TAB character, which cannot be stored.\r\n"
                              "Please remove it.");
        QTest::newRow("refused-rows-counted")
            << QList<int>{2, 3, 4, 5, 6, 7} << QList<int>{3, 6, 7}
            << QStringLiteral("Row 3 holds a TAB character, which cannot be stored.\r\n"
                              "Please remove it.\r\n2 more rows cannot be kept either.");
    }

    void rowsWrittenTogether()
    {
        QFETCH(QList<int>, rows);
        QFETCH(QList<int>, refused);
        QFETCH(QString, message);

        loadBatch();
        const auto freshFile = [&] {
            workFile->StartNewWorkfile();
            QVERIFY(workFile->SaveHeaderToWork());
            QVERIFY(workFile->SaveGridToWork());
        };
        // Every cell of the listed rows changed; the refused ones get a TAB.
        const auto change = [&] {
            for (const int row : rows) {
                if (row < 2 || row >= grid->Rows())
                    continue;
                const QString text = grid->TextMatrix(row, 1);
                grid->setTextMatrix(row, 1, (refused.contains(row) ? "X\t" : "X") + text);
            }
        };

        freshFile();
        const QByteArray before = workBytes();
        change();
        for (const int row : rows) {
            if (refused.contains(row))
                script->answer("Ok");
            workFile->SaveRowToWork(row);
        }
        const QByteArray alone = workBytes();
        script->clearRecords();

        loadBatch();
        freshFile();
        QCOMPARE(workBytes(), before);
        change();
        if (!message.isEmpty())
            script->answer("Ok");
        QCOMPARE(workFile->SaveRowsToWork(rows), refused.isEmpty());
        QCOMPARE(workBytes(), alone);
        QVERIFY(workBytes() != before);
        if (message.isEmpty()) {
            QVERIFY(script->records().isEmpty());
        } else {
            QCOMPARE(script->records().size(), 1);
            QCOMPARE(script->records().at(0).prompt, message);
            for (const int row : refused)
                QCOMPARE(record(workBytes(), row + 10), record(before, row + 10));
        }
    }

    // The batch written whole is not written again while the file holds it:
    // only a change of a cell or of the header writes it anew.
    void batchWrittenWholeOnceWhileUnchanged()
    {
        loadBatch();
        workFile->StartNewWorkfile();
        QVERIFY(workFile->SaveBatchToWork());
        const QByteArray whole = workBytes();
        // A mark the program never writes shows whether the file was
        // written again.
        const auto mark = [this] {
            QFile file(workPath());
            QVERIFY(file.open(QIODevice::ReadWrite));
            QVERIFY(file.seek(qint64(12 - 1) * kRecord));
            QCOMPARE(file.write(QByteArray(kRecord, 'Z')), qint64(kRecord));
        };

        mark();
        QVERIFY(workFile->SaveBatchToWork());
        QCOMPARE(record(workBytes(), 12), QByteArray(kRecord, 'Z'));
        // The row labels are in no record.
        grid->setTextMatrix(3, 0, QStringLiteral("99"));
        QVERIFY(workFile->SaveBatchToWork());
        QCOMPARE(record(workBytes(), 12), QByteArray(kRecord, 'Z'));

        gProject->setCommentLine(QStringLiteral("Rows from the third scan"));
        QVERIFY(workFile->SaveBatchToWork());
        QCOMPARE(record(workBytes(), 12), record(whole, 12));
        QVERIFY(workBytes() != whole);

        mark();
        grid->setTextMatrix(7, 2, QStringLiteral("Bo"));
        QVERIFY(workFile->SaveBatchToWork());
        QCOMPARE(record(workBytes(), 12), record(whole, 12));
        QVERIFY(record(workBytes(), 17).contains("\tBo\t"));

        // A file begun again holds nothing of the batch.
        workFile->StartNewWorkfile();
        QVERIFY(workFile->SaveBatchToWork());
        QCOMPARE(record(workBytes(), 12), record(whole, 12));
    }

    // ---- A work file that cannot be rebuilt ----------------------------------------

    void unrecoverableWorkFileIsSetAside_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("firstLine");

        QTest::newRow("empty-file")
            << QByteArray()
            << QStringLiteral("Workfile is empty - Unable to restore - Please report to "
                              "support@quorvel.example");
        QTest::newRow("info-line-too-short")
            << QByteArray("+INFO,x").leftJustified(kRecord, ' ')
            << QStringLiteral("Failed to Decipher header line 1\r\nPlease report to "
                              "support@quorvel.example");
    }

    void unrecoverableWorkFileIsSetAside()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, firstLine);

        QVERIFY(TestFiles::writeBytes(workPath(), bytes));
        SaveUserSetting(QStringLiteral("Pelkar"), QStringLiteral("Crash"),
                        QStringLiteral("Handle"), QStringLiteral("1"));
        const QString kept = workPath() + "-20260314-092653";

        script->answer("Ok");
        QVERIFY(!workFile->RestoreWorkfile());
        QCOMPARE(script->records().at(0).prompt,
                 firstLine + "\r\nYour work file has been kept as " + kept
                     + "\r\nClick Ok to continue");
        QCOMPARE(script->records().at(0).style, int(Mb::Information));
        QVERIFY(!workFile->WorkExists());
        QCOMPARE(TestFiles::readBytes(kept), bytes);
        QVERIFY(!QFile::exists(clsWorkFile::BackupPath()));

        // The next new batch finds nothing to delete.
        workFile->StartNewWorkfile();
        QCOMPARE(TestFiles::readBytes(kept), bytes);
    }

    // ---- Lifetime ------------------------------------------------------------------

    void handleValueFollowsTheOpenFile()
    {
        QCOMPARE(handleValue(), QStringLiteral("<unset>"));
        workFile->StartNewWorkfile();
        QCOMPARE(handleValue(), QStringLiteral("1"));
        QVERIFY(workFile->WorkExists());
        workFile->CloseWork();
        QCOMPARE(handleValue(), QStringLiteral("-1"));
        QVERIFY(workFile->WorkExists());

        // Released at shut-down: the file goes.
        workFile.reset();
        QVERIFY(!QFile::exists(workPath()));
        QCOMPARE(handleValue(), QStringLiteral("-1"));
    }

    // The work file holds the batch being typed: the user's alone.
    void workFileIsTheUsersAlone()
    {
        workFile->StartNewWorkfile();
        QVERIFY(workFile->WorkExists());
        struct stat info {};
        QVERIFY(::stat(QFile::encodeName(workPath()).constData(), &info) == 0);
        QCOMPARE(int(info.st_mode & 0777), 0600);
    }

    // ---- Row numbers ----------------------------------------------------------------

    void renumberAllRows_data()
    {
        QTest::addColumn<QString>("mode");
        QTest::addColumn<int>("fromRow");
        QTest::addColumn<QStringList>("numbers"); // column 0 of rows 1 to 5

        // Row 3 is a "+PAGE" line and row 4 a comment; row 2 shows 10.
        QTest::newRow("P-every-row-from-1") << "P" << -1 << QStringList{"1", "2", "3", "4", "5"};
        QTest::newRow("Q-line-numbers-after-the-header")
            << "Q" << 0 << QStringList{"5", "6", "7", "8", "9"};
        QTest::newRow("D-special-rows-repeat-the-number")
            << "D" << 2 << QStringList{"0", "1", "1", "1", "2"};
        QTest::newRow("from-row-3-counts-on-from-the-row-above")
            << "P" << 3 << QStringList{"1", "10", "11", "12", "13"};
    }

    void renumberAllRows()
    {
        QFETCH(QString, mode);
        QFETCH(int, fromRow);
        QFETCH(QStringList, numbers);

        gProject->setEventType(EventType::Births);
        gProject->setIYear(1911);
        gProject->setQtr(1);
        gProject->setPage(QStringLiteral("7"));
        gProject->setRowNumbering(mode);
        gTranscription->SetupInputGrid();
        gTranscription->AddLine1();
        grid->setRows(6);
        grid->setTextMatrix(2, 1, QStringLiteral("SMITH"));
        grid->setTextMatrix(2, 0, QStringLiteral("10"));
        grid->setTextMatrix(3, 1, QStringLiteral("+PAGE,8"));
        grid->setTextMatrix(4, 1, QStringLiteral("#COMMENT, faint"));
        grid->setTextMatrix(5, 1, QStringLiteral("JONES"));

        gTranscription->RenumberAllRows(fromRow);
        QStringList shown;
        for (int r = 1; r < grid->Rows(); ++r)
            shown << grid->TextMatrix(r, 0);
        QCOMPARE(shown, numbers);
        QCOMPARE(grid->cellBackColorAt(3, 1), Transcription::kHeaderGreen);
        QVERIFY(grid->Redraw());
    }
};

PELKAR_TEST(tst_WorkFile)
#include "tst_WorkFile.moc"
