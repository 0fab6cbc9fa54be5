// Whole-row changes of the grid: insert, delete and its undo, filling down
// and up, renumbering and converting the columns to another event type or
// period. After each the work file must hold the grid's rows under their
// new numbers, so that a crash never brings back a row in the wrong place.

#include "PelkarTest.h"
#include "TestBatch.h"
#include "RecordingEntryBoxes.h"
#include "RecordingStatusBar.h"
#include "TestFiles.h"

#include "core/Globals.h"
#include "core/HeaderTypes.h"
#include "core/Project.h"
#include "core/SettingsFileStore.h"
#include "core/Services.h"
#include "entry/FlexGrid.h"
#include "transcription/Change_Monitor.h"
#include "transcription/Transcription.h"
#include "transcription/clsWorkFile.h"

#include <QDir>

namespace {

constexpr int kRecord = 250;
constexpr int kFirstRowRecord = 12; // grid row 2

} // namespace

class tst_RowOperations : public PelkarTest
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
        gProject->setRowNumbering(QStringLiteral("P"));

        grid = TestBatch::makeGrid();
        gTranscription->setGrid(grid.get());
        gWorkFile->setGrid(grid.get());
        statusBar = std::make_unique<RecordingStatusBar>();
        boxes = std::make_unique<RecordingEntryBoxes>();
    }

    void tearDownCase() override
    {
        boxes.reset();
        ProgramObjects::releaseAll();
        statusBar.reset();
        grid.reset();
    }

    // A births batch of 1911 quarter 2 (surname, forenames, district, page)
    // with four entries, written whole to a fresh work file; nothing counts
    // as changed and the current cell is the last row's page.
    void loadBatch(const QList<QStringList> &rows = {{"SMITH", "John", "Leeds,9b", "123"},
                                                      {"JONES", "Mary", "Bury,8a", "123"},
                                                      {"KAY", "Ann", "Ashton,8c", "123"},
                                                      {"LEE", "Bo", "Bury,8a", "123"}})
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
        grid->setRows(2 + rows.size());
        for (int i = 0; i < rows.size(); ++i) {
            for (int c = 0; c < rows[i].size(); ++c)
                grid->setTextMatrix(2 + i, 1 + c, rows[i][c]);
        }
        gTranscription->RenumberAllRows(-1);
        gWorkFile->StartNewWorkfile();
        QVERIFY(gWorkFile->SaveHeaderToWork());
        QVERIFY(gWorkFile->SaveGridToWork());
        gChangeMonitor->DataSaved();
        setCurrent(grid->Rows() - 1, 4);
    }

    void setCurrent(int row, int col)
    {
        gCurrentRow = row;
        gCurrentCol = col;
        grid->setRowCol(row, col);
    }

    // Rows 2 on, cells joined by "|", row numbers included.
    QStringList gridRows() const
    {
        QStringList rows;
        for (int r = 2; r < grid->Rows(); ++r) {
            QStringList cells;
            for (int c = 0; c < grid->Cols(); ++c)
                cells << grid->TextMatrix(r, c);
            rows << cells.join(u'|');
        }
        return rows;
    }

    // The work file's row records (grid row 2 on), trailing blanks dropped
    // and TABs shown as "|".
    QStringList workRows() const
    {
        const QByteArray bytes = TestFiles::readBytes(clsWorkFile::WorkFilePath());
        QStringList rows;
        for (qsizetype at = qsizetype(kFirstRowRecord - 1) * kRecord; at < bytes.size();
             at += kRecord) {
            rows << QString::fromLatin1(bytes.mid(at, kRecord).trimmed()).replace(u'\t', u'|');
        }
        return rows;
    }

    // What a rebuild after a crash at this moment would make of the grid.
    QStringList rebuiltRows()
    {
        gWorkFile->CloseWork();
        if (!gWorkFile->RestoreWorkfile())
            return {QStringLiteral("<rebuild failed>")};
        return gridRows();
    }

    std::unique_ptr<FlexGrid> grid;
    std::unique_ptr<RecordingStatusBar> statusBar;
    std::unique_ptr<RecordingEntryBoxes> boxes;

private slots:
    // ---- Add and insert ------------------------------------------------------------

    void addRowNumbersOnAndMarksTheChange()
    {
        loadBatch();
        gTranscription->AddRow();
        QCOMPARE(grid->Rows(), 7);
        QCOMPARE(grid->TextMatrix(6, 0), QStringLiteral("6"));
        QVERIFY(gChangeMonitor->AnyChange());
    }

    void insertRow_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<QStringList>("expectedGrid");

        QTest::newRow("between-entries-renumbers-the-rows-after")
            << 3
            << QStringList{"2|SMITH|John|Leeds,9b|123", "3||||", "4|JONES|Mary|Bury,8a|123",
                           "5|KAY|Ann|Ashton,8c|123", "6|LEE|Bo|Bury,8a|123"};
        QTest::newRow("first-entry-row")
            << 2
            << QStringList{"2||||", "3|SMITH|John|Leeds,9b|123", "4|JONES|Mary|Bury,8a|123",
                           "5|KAY|Ann|Ashton,8c|123", "6|LEE|Bo|Bury,8a|123"};
        QTest::newRow("after-the-last-row")
            << 6
            << QStringList{"2|SMITH|John|Leeds,9b|123", "3|JONES|Mary|Bury,8a|123",
                           "4|KAY|Ann|Ashton,8c|123", "5|LEE|Bo|Bury,8a|123", "6||||"};
    }

    void insertRow()
    {
        QFETCH(int, row);
        QFETCH(QStringList, expectedGrid);

        loadBatch();
        // Flags travel with their rows.
        gTranscription->SetDistrictNotValidated(5);
        gTranscription->InsertRow(row);

        QCOMPARE(gridRows(), expectedGrid);
        QCOMPARE(grid->Row(), row);
        QCOMPARE(grid->Col(), 1);
        QVERIFY(gChangeMonitor->AnyChange());
        QCOMPARE(gTranscription->IsDistrictValidated(5), row <= 5);
        QCOMPARE(gTranscription->IsDistrictValidated(6), row > 5);
        QCOMPARE(rebuiltRows(), expectedGrid);
    }

    // ---- Delete and undo -------------------------------------------------------------

    void deleteRow_data()
    {
        QTest::addColumn<QList<QStringList>>("rows");
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("answer"); // empty: no question expected
        QTest::addColumn<QStringList>("expectedGrid");

        const QList<QStringList> withBlank{{"SMITH", "John", "Leeds,9b", "123"},
                                           {"", " ", "", ""},
                                           {"KAY", "Ann", "Ashton,8c", "123"}};
        QTest::newRow("blank-row-goes-without-a-question")
            << withBlank << 3 << QString()
            << QStringList{"2|SMITH|John|Leeds,9b|123", "3|KAY|Ann|Ashton,8c|123"};
        QTest::newRow("data-row-yes-deletes-and-renumbers")
            << QList<QStringList>() << 3 << QStringLiteral("Yes")
            << QStringList{"2|SMITH|John|Leeds,9b|123", "3|KAY|Ann|Ashton,8c|123",
                           "4|LEE|Bo|Bury,8a|123"};
        QTest::newRow("data-row-no-keeps-it")
            << QList<QStringList>() << 3 << QStringLiteral("No")
            << QStringList{"2|SMITH|John|Leeds,9b|123", "3|JONES|Mary|Bury,8a|123",
                           "4|KAY|Ann|Ashton,8c|123", "5|LEE|Bo|Bury,8a|123"};
        QTest::newRow("last-row")
            << QList<QStringList>() << 5 << QStringLiteral("Yes")
            << QStringList{"2|SMITH|John|Leeds,9b|123", "3|JONES|Mary|Bury,8a|123",
                           "4|KAY|Ann|Ashton,8c|123"};
    }

    void deleteRow()
    {
        QFETCH(QList<QStringList>, rows);
        QFETCH(int, row);
        QFETCH(QString, answer);
        QFETCH(QStringList, expectedGrid);

        if (rows.isEmpty())
            loadBatch();
        else
            loadBatch(rows);
        const QByteArray before = TestFiles::readBytes(clsWorkFile::WorkFilePath());
        const std::uint32_t colour = grid->cellBackColorAt(row, 2);
        setCurrent(row, 2);
        gTranscription->SetPageNotValidated(row + 1);
        if (!answer.isEmpty())
            script->answer(answer);
        gTranscription->DeleteRow(row);

        QCOMPARE(gridRows(), expectedGrid);
        // Whatever the answer, the batch counts as changed.
        QVERIFY(gChangeMonitor->AnyChange());
        if (!answer.isEmpty()) {
            const MessageRecord &asked = script->records().at(0);
            QCOMPARE(asked.prompt, QStringLiteral("There is data in Row %1 ! Delete anyway?").arg(row));
            QCOMPARE(asked.title, QStringLiteral("Pelkar Delete Row!"));
            QCOMPARE(asked.style, Mb::YesNo | Mb::Question);
        }
        const bool deleted = answer != QStringLiteral("No");
        QCOMPARE(gTranscription->DeletedRowHeld(), deleted);
        QCOMPARE(grid->Row() < grid->Rows(), true);
        if (!deleted) {
            // The red of the question is gone again.
            QCOMPARE(grid->cellBackColorAt(row, 2), colour);
            QCOMPARE(TestFiles::readBytes(clsWorkFile::WorkFilePath()), before);
            return;
        }
        QCOMPARE(gCurrentRow, row - 1);
        // The flag of the row after the deleted one moved up with it.
        QVERIFY(!gTranscription->IsPageValidated(row));
        // The record past the shortened grid is marked deleted, so that the
        // old last row does not come back.
        QCOMPARE(workRows().last(), QStringLiteral("-%1").arg(grid->Rows()));
        QCOMPARE(rebuiltRows(), expectedGrid);
    }

    void deleteRefusesTheLastEntry()
    {
        loadBatch({{"SMITH", "John", "Leeds,9b", "123"}});
        script->answer("Ok");
        gTranscription->DeleteRow(2);
        QCOMPARE(script->records().at(0).prompt, QStringLiteral("Can't Delete the last row"));
        QCOMPARE(script->records().at(0).style, int(Mb::Exclamation));
        QCOMPARE(gridRows(), QStringList{"2|SMITH|John|Leeds,9b|123"});
        QVERIFY(!gTranscription->DeletedRowHeld());
    }

    void undoPutsTheRowBackOnce()
    {
        loadBatch();
        const QStringList original = gridRows();
        const QStringList originalWork = workRows();
        setCurrent(3, 1);
        script->answer("Yes");
        gTranscription->DeleteRow(3);
        gTranscription->UndoDeleteRow(3);

        QCOMPARE(gridRows(), original);
        QCOMPARE(workRows(), originalWork);
        QVERIFY(!gTranscription->DeletedRowHeld());

        script->answer("Ok");
        gTranscription->UndoDeleteRow(3);
        QCOMPARE(script->records().last().prompt, QStringLiteral("No valid row to restore"));
        QCOMPARE(script->records().last().style, int(Mb::Information));
        QCOMPARE(gridRows(), original);
    }

    // What the row let through unchecked comes back with it, and stays
    // with its own row, not with the row that took its place meanwhile.
    void undoRestoresTheRowsAcceptedFields()
    {
        loadBatch();
        gTranscription->SetDistrictNotValidated(3);
        gTranscription->SetPageNotValidated(3);
        setCurrent(3, 1);
        script->answer("Yes");
        gTranscription->DeleteRow(3);
        QVERIFY(gTranscription->IsDistrictValidated(3));
        QVERIFY(gTranscription->IsPageValidated(3));
        gTranscription->UndoDeleteRow(3);
        QVERIFY(!gTranscription->IsDistrictValidated(3));
        QVERIFY(!gTranscription->IsPageValidated(3));
        QVERIFY(gTranscription->IsDistrictValidated(4));
        QVERIFY(gTranscription->IsPageValidated(4));
    }

    void undoAfterAColumnChangeRestoresNothing()
    {
        loadBatch();
        setCurrent(3, 1);
        script->answer("Yes");
        gTranscription->DeleteRow(3);
        gProject->setQtr(3);
        gTranscription->ConvertGrid(EventType::Births, 1911, 3, false);
        script->answer("Ok");
        gTranscription->UndoDeleteRow(3);
        QCOMPARE(script->records().last().prompt, QStringLiteral("No valid row to restore"));
        QCOMPARE(grid->Rows(), 5);
        QVERIFY(!gTranscription->DeletedRowHeld());
    }

    // ---- Fill down -------------------------------------------------------------------

    void fillDown_data()
    {
        QTest::addColumn<int>("fromRow");
        QTest::addColumn<QStringList>("answers"); // the count, then the rows choice
        QTest::addColumn<QString>("message");     // the one error message, if any
        QTest::addColumn<QStringList>("expectedPages");

        const QString range = QStringLiteral("Must be a number in the range 1 to200");
        QTest::newRow("from-last-row-appends-new-rows")
            << 5 << QStringList{"2"} << QString()
            << QStringList{"2|123", "3|123", "4|123", "5|99a", "6|99a", "7|99a"};
        QTest::newRow("into-existing-rows")
            << 2 << QStringList{"2", "Use Existing Rows"} << QString()
            << QStringList{"2|99a", "3|99a", "4|99a", "5|123"};
        QTest::newRow("existing-rows-run-out-then-new-ones")
            << 4 << QStringList{"3", "Use Existing Rows"} << QString()
            << QStringList{"2|123", "3|123", "4|99a", "5|99a", "6|99a", "7|99a"};
        QTest::newRow("insert-new-rows-below")
            << 2 << QStringList{"2", "Insert New Rows"} << QString()
            << QStringList{"2|99a", "3|99a", "4|99a", "5|123", "6|123", "7|123"};
        QTest::newRow("zero-out-of-range")
            << 2 << QStringList{"0"} << range
            << QStringList{"2|99a", "3|123", "4|123", "5|123"};
        QTest::newRow("201-out-of-range")
            << 2 << QStringList{"201"} << range
            << QStringList{"2|99a", "3|123", "4|123", "5|123"};
        QTest::newRow("not-a-number-does-nothing")
            << 2 << QStringList{"many"} << QString()
            << QStringList{"2|99a", "3|123", "4|123", "5|123"};
        QTest::newRow("cancel-does-nothing")
            << 2 << QStringList{"Cancel"} << QString()
            << QStringList{"2|99a", "3|123", "4|123", "5|123"};
    }

    void fillDown()
    {
        QFETCH(int, fromRow);
        QFETCH(QStringList, answers);
        QFETCH(QString, message);
        QFETCH(QStringList, expectedPages);

        loadBatch();
        setCurrent(fromRow, 4);
        script->answer(answers);
        if (!message.isEmpty())
            script->answer("Ok");
        gTranscription->FillDown(QStringLiteral("  99a "));

        QStringList pages;
        for (int r = 2; r < grid->Rows(); ++r)
            pages << grid->TextMatrix(r, 0) + u'|' + grid->TextMatrix(r, 4);
        QCOMPARE(pages, expectedPages);
        const MessageRecord &asked = script->records().at(0);
        QCOMPARE(asked.title, QStringLiteral("Pelkar FillDown"));
        QCOMPARE(asked.prompt, QStringLiteral("How many copies of \"99a\" do you want "
                                              "inserting?\r\nMaximum is 200"));
        if (answers.size() > 1) {
            QCOMPARE(script->records().at(1).buttons,
                     (QStringList{"Use Existing Rows", "Insert New Rows"}));
            QCOMPARE(script->records().at(1).prompt,
                     QStringLiteral("There are existing rows below this one.\r\nDo you want to "
                                    "insert \"99a\" into those Existing Rows,\r\n or Insert New "
                                    "Rows?"));
        }
        if (!message.isEmpty()) {
            QCOMPARE(script->records().last().prompt, message);
            QCOMPARE(script->records().last().style, int(Mb::Critical));
        }
        QCOMPARE(grid->Row(), fromRow);
        QCOMPARE(grid->Col(), 4);
        QVERIFY(boxes->focusBacks() >= 1);
        const bool filled = expectedPages.size() > 4 || expectedPages.at(1).endsWith("99a");
        QCOMPARE(gChangeMonitor->AnyChange(), filled);
        if (filled) {
            QCOMPARE(rebuiltRows(), gridRows());
        }
    }

    void fillRefusesHeaderAndCommentLines_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("message");
        QTest::newRow("page-line") << QStringLiteral("+PAGE,124")
                                   << QStringLiteral("Can't fill on a +PAGE line");
        QTest::newRow("comment-line") << QStringLiteral("#COMMENT torn")
                                      << QStringLiteral("Can't fill on a comment line");
    }

    void fillRefusesHeaderAndCommentLines()
    {
        QFETCH(QString, text);
        QFETCH(QString, message);

        loadBatch();
        setCurrent(3, 1);
        script->answer("Ok");
        gTranscription->FillDown(text);
        QCOMPARE(script->records().size(), 1);
        QCOMPARE(script->records().last().prompt, message);
        QCOMPARE(script->records().last().style, int(Mb::Critical));
        QCOMPARE(grid->Rows(), 6);
        QCOMPARE(boxes->focusBacks(), 1);
    }

    // ---- Fill up ---------------------------------------------------------------------

    void fillUp_data()
    {
        QTest::addColumn<QStringList>("answers");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QStringList>("expectedPages");

        const QStringList unchanged{"2|", "3|123", "4| ", "5|77"};
        const QString overwrite =
            QStringLiteral("There is data in row 3, do you want to overwrite it?");
        QTest::newRow("into-an-empty-row-asks-nothing")
            << QStringList{"1"} << QString() << QStringList{"2|", "3|123", "4|77", "5|77"};
        QTest::newRow("overwrite-yes")
            << QStringList{"3", "Yes"} << overwrite << QStringList{"2|77", "3|77", "4|77", "5|77"};
        QTest::newRow("overwrite-no") << QStringList{"3", "No"} << overwrite << unchanged;
        QTest::newRow("more-than-the-rows-above")
            << QStringList{"4", "Ok"}
            << QStringLiteral("There are insufficient rows available to insert that many copies")
            << unchanged;
        QTest::newRow("not-a-number")
            << QStringList{"x", "Ok"} << QStringLiteral("Must be a number in the range 1 to3")
            << unchanged;
        QTest::newRow("zero-does-nothing") << QStringList{"0"} << QString() << unchanged;
        QTest::newRow("empty-does-nothing") << QStringList{""} << QString() << unchanged;
    }

    void fillUp()
    {
        QFETCH(QStringList, answers);
        QFETCH(QString, message);
        QFETCH(QStringList, expectedPages);

        loadBatch({{"SMITH", "John", "Leeds,9b", ""},
                   {"JONES", "Mary", "Bury,8a", "123"},
                   {"KAY", "Ann", "Ashton,8c", " "},
                   {"LEE", "Bo", "Bury,8a", "55"}});
        setCurrent(5, 4);
        script->answer(answers);
        gTranscription->FillUp(QStringLiteral("77"));

        QStringList pages;
        for (int r = 2; r < grid->Rows(); ++r)
            pages << grid->TextMatrix(r, 0) + u'|' + grid->TextMatrix(r, 4);
        QCOMPARE(pages, expectedPages);
        QCOMPARE(script->records().at(0).title, QStringLiteral("Pelkar FillUp"));
        QCOMPARE(script->records().at(0).prompt,
                 QStringLiteral("How many copies of \"77\" do you want inserting?\r\nMaximum is 3"));
        if (!message.isEmpty())
            QCOMPARE(script->records().last().prompt, message);
        QCOMPARE(boxes->focusBacks(), 1);
        const bool filled = expectedPages.at(2).endsWith("77");
        // A fill up is a change like any other: unsaved until the next save.
        QCOMPARE(gChangeMonitor->AnyChange(), filled);
        if (filled)
            QCOMPARE(rebuiltRows(), gridRows());
    }

    void fillUpNearTheTopOnlyBeeps()
    {
        loadBatch();
        gProject->setBeepit(true);
        setCurrent(2, 4);
        gTranscription->FillUp(QStringLiteral("77"));
        QCOMPARE(input().beeps, 1);
        QCOMPARE(boxes->focusBacks(), 1);
        QVERIFY(script->records().isEmpty());
    }

    // ---- Renumbering -------------------------------------------------------------------

    void renumbering_data()
    {
        QTest::addColumn<QString>("mode");
        QTest::addColumn<QStringList>("numbers");
        QTest::newRow("P-every-row-from-1") << QStringLiteral("P")
                                            << QStringList{"1", "2", "3", "4", "5", "6", "7"};
        QTest::newRow("D-page-line-repeats-the-number-before")
            << QStringLiteral("D") << QStringList{"0", "1", "2", "3", "4", "4", "5"};
    }

    void renumbering()
    {
        QFETCH(QString, mode);
        QFETCH(QStringList, numbers);

        loadBatch({{"A", "a", "Leeds,9b", "1"},
                   {"B", "b", "Leeds,9b", "1"},
                   {"C", "c", "Leeds,9b", "1"},
                   {"+PAGE,124"},
                   {"E", "e", "Leeds,9b", "124"}});
        gProject->setRowNumbering(mode);
        // An insert before the page line renumbers every row after it.
        gTranscription->InsertRow(3);
        grid->setTextMatrix(3, 1, QStringLiteral("BB"));
        gTranscription->RenumberAllRows(-1);
        QStringList shown;
        for (int r = 1; r < grid->Rows(); ++r)
            shown << grid->TextMatrix(r, 0);
        QCOMPARE(shown, numbers);
    }

    // ---- Converting the columns ----------------------------------------------------

    void convertBirthsToTheMotherPeriodAndBack()
    {
        loadBatch();
        gProject->setQtr(3);
        gTranscription->ConvertGrid(EventType::Births, 1911, 3, false);

        QCOMPARE(grid->Cols(), 6);
        QCOMPARE(grid->TextMatrix(0, 3), QStringLiteral("Mother"));
        QCOMPARE(gTranscription->DistrictCol(), 4);
        QCOMPARE(gridRows().first(), QStringLiteral("2|SMITH|John||Leeds,9b|123"));
        QCOMPARE(workRows().first(), QStringLiteral("2|SMITH|John||Leeds|9b|123"));

        grid->setTextMatrix(2, 3, QStringLiteral("BROWN"));
        gProject->setQtr(2);
        gTranscription->ConvertGrid(EventType::Births, 1911, 2, false);
        QCOMPARE(grid->Cols(), 5);
        QCOMPARE(gTranscription->DistrictCol(), 3);
        QCOMPARE(gridRows().first(), QStringLiteral("2|SMITH|John|Leeds,9b|123"));
        QCOMPARE(workRows().first(), QStringLiteral("2|SMITH|John|Leeds|9b|123"));
        QCOMPARE(rebuiltRows().size(), 4);
        QCOMPARE(grid->Cols(), 5);
    }

    void convertMarriagesByPeriod_data()
    {
        QTest::addColumn<int>("year");
        QTest::addColumn<int>("quarter");
        QTest::addColumn<int>("cols");
        QTest::newRow("before-the-spouse-quarter") << 1912 << 1 << 5;
        QTest::newRow("from-the-spouse-quarter") << 1912 << 2 << 6;
        QTest::newRow("later-year") << 1913 << 1 << 6;
    }

    void convertMarriagesByPeriod()
    {
        QFETCH(int, year);
        QFETCH(int, quarter);
        QFETCH(int, cols);

        loadBatch();
        gProject->setEventType(EventType::Marriages);
        gProject->setIYear(year);
        gProject->setQtr(quarter);
        gTranscription->ConvertGrid(EventType::Marriages, year, quarter, false);
        QCOMPARE(grid->Cols(), cols);
        QCOMPARE(grid->TextMatrix(2, gTranscription->DistrictCol()), QStringLiteral("Leeds,9b"));
        QCOMPARE(grid->TextMatrix(2, gTranscription->PageCol()), QStringLiteral("123"));
    }
};

PELKAR_TEST(tst_RowOperations)
#include "tst_RowOperations.moc"
