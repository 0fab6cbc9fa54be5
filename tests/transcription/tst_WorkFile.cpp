// The crash-recovery work file: its bytes after a batch is loaded and
// edited, the grid and header rebuilt from them, what may never reach a
// record, what happens to a work file that cannot be rebuilt, and the row
// numbering the rebuild ends with.

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

namespace {

constexpr int kRecord = 250;

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
    // its separator and no volume keeps its row through a rebuild.
    void districtWithoutVolumeKeepsItsRow()
    {
        loadBatch();
        grid->setRows(3);
        grid->setTextMatrix(2, 3, QStringLiteral("Leeds,"));
        workFile->StartNewWorkfile();
        QVERIFY(workFile->SaveHeaderToWork());
        QVERIFY(workFile->SaveRowToWork(2));
        QCOMPARE(record(workBytes(), 12).trimmed(), QByteArray("2\tSMITH\tJohn\tLeeds\t\t123"));

        crash();
        QVERIFY(workFile->RestoreWorkfile());
        QCOMPARE(grid->Rows(), 3);
        QCOMPARE(gridRows().at(1), QStringLiteral("2|SMITH|John|Leeds|123"));
    }

    // Records that are not the expected row are passed over; a record of the
    // expected row that the grid cannot take is reported. Either way the
    // rows after it close up.
    void recordsThatAreNotTheExpectedRow_data()
    {
        QTest::addColumn<QByteArray>("record13");
        QTest::addColumn<bool>("reported");

        QTest::newRow("another-rows-number-skipped-silently") << QByteArray("9\tX\tY\tZ\t\t1") << false;
        QTest::newRow("not-a-number-skipped-silently") << QByteArray("abc") << false;
        QTest::newRow("blank-record-skipped-silently") << QByteArray() << false;
        QTest::newRow("wrong-field-count-reported") << QByteArray("3\tX\tY") << true;
    }

    void recordsThatAreNotTheExpectedRow()
    {
        QFETCH(QByteArray, record13);
        QFETCH(bool, reported);

        QByteArray bytes = golden("workfile-load");
        bytes.replace(12 * kRecord, kRecord, record13.leftJustified(kRecord, ' '));
        QVERIFY(TestFiles::writeBytes(workPath(), bytes));
        if (reported)
            script->answer(QStringList{"Ok", "Ok"});
        QVERIFY(workFile->RestoreWorkfile());
        QCOMPARE(grid->Rows(), 7);
        QCOMPARE(grid->TextMatrix(3, 1), QStringLiteral("JONES"));
        if (reported) {
            QCOMPARE(script->records().at(0).prompt, QStringLiteral("Unknown record in workfile 3"));
            QCOMPARE(script->records().at(0).style, 0);
            QCOMPARE(script->records().at(1).prompt,
                     QStringLiteral("Please report to support@quorvel.example immediately"));
        }
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
