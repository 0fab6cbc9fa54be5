// Replacing a renamed forename or district throughout the grid: which cells
// change and how many replacements are counted, that no other column is
// touched, and that a replacement is marked as a change and reaches the work
// file (a crash right after it must not bring the old text back).

#include "PelkarTest.h"
#include "TestBatch.h"
#include "TestFiles.h"

#include "core/Globals.h"
#include "core/HeaderTypes.h"
#include "core/Project.h"
#include "core/clsEvents.h"
#include "entry/FlexGrid.h"
#include "lists/GridReplace.h"
#include "transcription/Change_Monitor.h"
#include "transcription/Transcription.h"
#include "transcription/clsWorkFile.h"

namespace {
constexpr int kSurname = 1;
constexpr int kForenames = 2;
constexpr int kDistrict = 3;
} // namespace

class tst_GridReplace : public PelkarTest
{
    Q_OBJECT

protected:
    void setUpCase() override
    {
        ProgramObjects::createEvents();
        ProgramObjects::createProject();
        ProgramObjects::createChangeMonitor();
        ProgramObjects::createTranscription();
        ProgramObjects::createWorkFile();
        QVERIFY(TestBatch::useDataFolder(homePath("data")));
        grid = TestBatch::makeGrid();
        gTranscription->setGrid(grid.get());
        gWorkFile->setGrid(grid.get());
    }

    void tearDownCase() override
    {
        ProgramObjects::releaseAll();
        grid.reset();
    }

    // A births batch (surname, forenames, district, page), one entry for
    // each forename or district given, the other column filled with a
    // fixed text; saved whole to a fresh work file, nothing changed.
    void loadBatch(const QStringList &texts, int column)
    {
        Project &p = *gProject;
        p.setEventType(EventType::Births);
        p.setIYear(1911);
        p.setQtr(2);
        p.setSourceType(SourceType::Scan);
        p.setIVnf(VolumeNumberFormat::Vnf9z);
        p.setBatchName(QStringLiteral("1911B2S0123.ZEL"));
        p.setPageLetter(QStringLiteral("S"));
        p.setPage(QStringLiteral("0123"));
        gTranscription->SetupInputGrid();
        gTranscription->AddLine1();
        QCOMPARE(gTranscription->ForenamesCol(), kForenames);
        QCOMPARE(gTranscription->DistrictCol(), kDistrict);
        grid->setRows(2 + texts.size());
        for (int i = 0; i < texts.size(); ++i) {
            const int r = 2 + i;
            // The surname equals the forename looked for, so that a search
            // that strays out of its column shows.
            grid->setTextMatrix(r, kSurname, QStringLiteral("John"));
            grid->setTextMatrix(r, kForenames, column == kForenames ? texts[i] : "Leeds,9b");
            grid->setTextMatrix(r, kDistrict, column == kDistrict ? texts[i] : "Leeds,9b");
            grid->setTextMatrix(r, 4, QStringLiteral("123"));
        }
        gTranscription->RenumberAllRows(-1);
        gWorkFile->StartNewWorkfile();
        QVERIFY(gWorkFile->SaveHeaderToWork());
        QVERIFY(gWorkFile->SaveGridToWork());
        gChangeMonitor->DataSaved();
    }

    QStringList column(int col) const
    {
        QStringList texts;
        for (int r = 2; r < grid->Rows(); ++r)
            texts << grid->TextMatrix(r, col);
        return texts;
    }

    // Every grid cell from row 2 on, as a rebuild from the work file at
    // this moment would give it.
    QStringList rebuiltGrid()
    {
        gWorkFile->CloseWork();
        if (!gWorkFile->RestoreWorkfile())
            return {QStringLiteral("<rebuild failed>")};
        QStringList rows;
        for (int r = 2; r < grid->Rows(); ++r) {
            QStringList cells;
            for (int c = 1; c < grid->Cols(); ++c)
                cells << grid->TextMatrix(r, c);
            rows << cells.join(u'|');
        }
        return rows;
    }

    QStringList gridRows() const
    {
        QStringList rows;
        for (int r = 2; r < grid->Rows(); ++r) {
            QStringList cells;
            for (int c = 1; c < grid->Cols(); ++c)
                cells << grid->TextMatrix(r, c);
            rows << cells.join(u'|');
        }
        return rows;
    }

    // Records whether events were held off at each cell change.
    void watchEvents()
    {
        mSeen.clear();
        connect(grid.get(), &FlexGrid::dataChanged, this,
                [this] { mSeen.append(gEvents->NoEvents()); });
    }

    std::unique_ptr<FlexGrid> grid;
    QList<bool> mSeen;

private slots:
    void replaceForename_data()
    {
        QTest::addColumn<QStringList>("cells");
        QTest::addColumn<QString>("oldName");
        QTest::addColumn<QString>("newName");
        QTest::addColumn<QStringList>("expected");
        QTest::addColumn<int>("count");

        QTest::newRow("any-case-matches-new-name-as-typed-words-counted")
            << QStringList{"John Henry", "Mary", "john john"} << "John" << "Jon"
            << QStringList{"Jon Henry", "Mary", "Jon Jon"} << 3;
        QTest::newRow("runs-of-spaces-kept")
            << QStringList{"John  Henry", " JOHN", "Ann   john "} << "john" << "Jon"
            << QStringList{"Jon  Henry", " Jon", "Ann   Jon "} << 3;
        QTest::newRow("part-of-a-word-is-not-the-name")
            << QStringList{"Johnny", "John-Paul", "Johnjohn"} << "John" << "Jon"
            << QStringList{"Johnny", "John-Paul", "Johnjohn"} << 0;
        QTest::newRow("name-nowhere") << QStringList{"Mary", "Ann"} << "John" << "Jon"
                                      << QStringList{"Mary", "Ann"} << 0;
        QTest::newRow("empty-old-name-replaces-no-gap")
            << QStringList{"Mary  Ann", ""} << "" << "X" << QStringList{"Mary  Ann", ""} << 0;
    }

    void replaceForename()
    {
        QFETCH(QStringList, cells);
        QFETCH(QString, oldName);
        QFETCH(QString, newName);
        QFETCH(QStringList, expected);
        QFETCH(int, count);

        loadBatch(cells, kForenames);
        watchEvents();
        QCOMPARE(ReplaceForenameInGrid(oldName, newName), count);
        QCOMPARE(column(kForenames), expected);
        QCOMPARE(column(kSurname), QStringList(cells.size(), QStringLiteral("John")));
        QCOMPARE(column(kDistrict), QStringList(cells.size(), QStringLiteral("Leeds,9b")));
        QCOMPARE(mSeen, QList<bool>(mSeen.size(), true));
        QCOMPARE(gEvents->count(), 0);
        QCOMPARE(gChangeMonitor->AnyChange(), count > 0);
        const QStringList now = gridRows();
        QCOMPARE(rebuiltGrid(), now);
    }

    void replaceDistrict_data()
    {
        QTest::addColumn<QStringList>("cells");
        QTest::addColumn<QString>("oldEntry");
        QTest::addColumn<QString>("newEntry");
        QTest::addColumn<QStringList>("expected");
        QTest::addColumn<int>("count");

        QTest::newRow("whole-cell-exact-cells-counted")
            << QStringList{"Bury,8a", "Bury,8a", "Leeds,9b"} << "Bury,8a" << "Burley,8a"
            << QStringList{"Burley,8a", "Burley,8a", "Leeds,9b"} << 2;
        QTest::newRow("another-volume-case-or-spacing-untouched")
            << QStringList{"Bury,8b", "bury,8a", "BURY,8A", " Bury,8a", "Bury,8a "} << "Bury,8a"
            << "Burley,8a"
            << QStringList{"Bury,8b", "bury,8a", "BURY,8A", " Bury,8a", "Bury,8a "} << 0;
        QTest::newRow("part-of-a-cell-untouched")
            << QStringList{"New Bury,8a", "Bury,8aa"} << "Bury,8a" << "Burley,8a"
            << QStringList{"New Bury,8a", "Bury,8aa"} << 0;
        QTest::newRow("empty-old-entry-fills-no-empty-cell")
            << QStringList{"", "Bury,8a"} << "" << "Burley,8a" << QStringList{"", "Bury,8a"}
            << 0;
    }

    void replaceDistrict()
    {
        QFETCH(QStringList, cells);
        QFETCH(QString, oldEntry);
        QFETCH(QString, newEntry);
        QFETCH(QStringList, expected);
        QFETCH(int, count);

        loadBatch(cells, kDistrict);
        watchEvents();
        QCOMPARE(ReplaceDistrictInGrid(oldEntry, newEntry), count);
        QCOMPARE(column(kDistrict), expected);
        QCOMPARE(column(kForenames), QStringList(cells.size(), QStringLiteral("Leeds,9b")));
        QCOMPARE(mSeen, QList<bool>(mSeen.size(), true));
        QCOMPARE(gEvents->count(), 0);
        QCOMPARE(gChangeMonitor->AnyChange(), count > 0);
        const QStringList now = gridRows();
        QCOMPARE(rebuiltGrid(), now);
    }

    // The record of a replaced row holds the new text at once, without a
    // rebuild: the row was written when it changed.
    void replacedRowRecordHoldsNewText()
    {
        loadBatch({"Mary", "John Henry"}, kForenames);
        const int row = 3;
        QVERIFY(!gWorkFile->GetRecord(row + 10).contains(QStringLiteral("Jon")));
        QCOMPARE(ReplaceForenameInGrid(QStringLiteral("JOHN"), QStringLiteral("Jon")), 1);
        const QString record = gWorkFile->GetRecord(row + 10);
        QVERIFY2(record.contains(QStringLiteral("\tJon Henry\t")), qPrintable(record));
    }

    // The changed rows go to the work file in one write: the bytes are
    // those that writing each changed row alone leaves.
    void renameLeavesTheRowByRowBytes()
    {
        loadBatch({"John", "Mary", "John Henry", "Ann", "Ann John", "Mary"}, kForenames);
        QCOMPARE(ReplaceForenameInGrid(QStringLiteral("John"), QStringLiteral("Jon")), 3);
        const QByteArray together = TestFiles::readBytes(clsWorkFile::WorkFilePath());
        for (int r = 2; r < grid->Rows(); ++r)
            QVERIFY(gWorkFile->SaveRowToWork(r));
        QCOMPARE(TestFiles::readBytes(clsWorkFile::WorkFilePath()), together);
    }

    // Rows 0 and 1 (titles and the first page line) are never searched.
    void fixedRowsNotSearched()
    {
        loadBatch({"Mary"}, kDistrict);
        grid->setTextMatrix(0, kDistrict, QStringLiteral("Bury,8a"));
        grid->setTextMatrix(1, kDistrict, QStringLiteral("Bury,8a"));
        QCOMPARE(ReplaceDistrictInGrid(QStringLiteral("Bury,8a"), QStringLiteral("X,1a")), 0);
        QCOMPARE(grid->TextMatrix(0, kDistrict), QStringLiteral("Bury,8a"));
        QCOMPARE(grid->TextMatrix(1, kDistrict), QStringLiteral("Bury,8a"));
        QVERIFY(!gChangeMonitor->AnyChange());
    }
};

PELKAR_TEST(tst_GridReplace)
#include "tst_GridReplace.moc"
