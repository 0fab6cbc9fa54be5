// The search behind Find and Find Next: which cells it tests and in which
// order, from any current cell the grid may have, and that it always ends,
// saying "The search text was not found" exactly once when nothing matched.

#include "PelkarTest.h"

#include "core/Globals.h"
#include "core/Project.h"
#include "core/Services.h"
#include "core/clsEvents.h"
#include "entry/FlexGrid.h"
#include "transcription/Searcher.h"

#include <memory>

namespace {

const QString kNotFound = QStringLiteral("The search text was not found");

// Rows 2-5, columns 1-3 are the data cells. The titles, the first page
// line and the row numbers hold texts a search must never find.
std::unique_ptr<FlexGrid> makeSearchGrid()
{
    auto grid = std::make_unique<FlexGrid>();
    grid->setRows(6);
    grid->setCols(4);
    const QStringList rows[] = {
        {"", "Surname SMITH", "Forenames", "District"},
        {"1", "+PAGE SMITH", "", ""},
        {"2", "JONES", "Mary", "Bath"},
        {"SMITH", "SMITH", "John", "Leeds"},
        {"4", "BROWN", "Smithers Ann", "York"},
        {"5", "GREEN", "Eliza", "Smithfield"},
    };
    for (int r = 0; r < 6; ++r)
        for (int c = 0; c < 4; ++c)
            grid->setTextMatrix(r, c, rows[r][c]);
    return grid;
}

} // namespace

class tst_Searcher : public PelkarTest
{
    Q_OBJECT

protected:
    void setUpCase() override
    {
        ProgramObjects::createEvents();
        ProgramObjects::createProject();
        gProject->setBeepit(true);
        grid = makeSearchGrid();
        searcher = std::make_unique<Searcher>();
        searcher->setGrid(grid.get());
    }

    void tearDownCase() override
    {
        searcher.reset();
        grid.reset();
    }

    // What the find dialog does: opening reads FindText (recording the
    // start cell), then Find Next stores the text and searches.
    bool findFrom(int row, int col, const QString &text)
    {
        grid->setRowCol(row, col);
        searcher->FindText();
        searcher->setFindText(text);
        return searcher->Find();
    }

    // What the main window does with a hit.
    void moveToFound() { grid->setRowCol(searcher->FoundRow(), searcher->FoundCol()); }

    void expectNotFoundOnce()
    {
        QCOMPARE(script->records().size(), 1);
        const MessageRecord &r = script->records().first();
        QCOMPARE(r.prompt, kNotFound);
        QCOMPARE(r.title, QStringLiteral("Find"));
        QCOMPARE(r.style, int(Mb::Exclamation));
    }

    std::unique_ptr<FlexGrid> grid;
    std::unique_ptr<Searcher> searcher;

private slots:
    void find_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("matchCase");
        QTest::addColumn<bool>("inCol");
        QTest::addColumn<int>("startRow");
        QTest::addColumn<int>("startCol");
        QTest::addColumn<int>("foundRow"); // 0: not found
        QTest::addColumn<int>("foundCol");

        QTest::newRow("all-columns-first-hit-down-the-column")
            << "smith" << false << false << 2 << 1 << 3 << 1;
        QTest::newRow("current-cell-skipped-even-when-it-matches")
            << "smith" << false << false << 3 << 1 << 4 << 2;
        QTest::newRow("after-last-row-continues-at-row-2-of-next-column")
            << "Mary" << false << false << 5 << 1 << 2 << 2;
        QTest::newRow("after-last-column-continues-at-column-1")
            << "JONES" << false << false << 4 << 3 << 2 << 1;
        QTest::newRow("start-on-last-cell-wraps-to-first")
            << "smith" << false << false << 5 << 3 << 3 << 1;
        QTest::newRow("without-case-finds-upper-and-mixed")
            << "smith" << false << false << 3 << 2 << 4 << 2;
        QTest::newRow("with-case-skips-upper") << "Smith" << true << false << 2 << 1 << 4 << 2;
        QTest::newRow("with-case-lower-finds-nothing")
            << "smith" << true << false << 2 << 1 << 0 << 0;
        QTest::newRow("text-is-trimmed") << "  Leeds  " << false << false << 2 << 1 << 3 << 3;
        QTest::newRow("current-column-wraps-within-column")
            << "smith" << false << true << 5 << 2 << 4 << 2;
        QTest::newRow("current-column-never-leaves-it")
            << "JONES" << false << true << 3 << 2 << 0 << 0;
        QTest::newRow("only-match-is-current-cell") << "Leeds" << false << false << 3 << 3 << 0 << 0;
        QTest::newRow("only-match-is-current-cell-in-column")
            << "Leeds" << false << true << 3 << 3 << 0 << 0;
        QTest::newRow("nothing-matches") << "zzz" << false << false << 2 << 1 << 0 << 0;
        QTest::newRow("start-in-column-0-searches-data-only")
            << "SMITH" << true << false << 3 << 0 << 3 << 1;
        QTest::newRow("start-in-column-0-nothing-matches")
            << "zzz" << false << false << 3 << 0 << 0 << 0;
        QTest::newRow("start-in-row-0-reaches-row-2-last") << "Mary" << false << false << 0 << 2
                                                           << 2 << 2;
        QTest::newRow("start-in-row-0-nothing-matches")
            << "zzz" << false << false << 0 << 2 << 0 << 0;
        QTest::newRow("start-in-row-1-nothing-matches-in-column")
            << "zzz" << false << true << 1 << 3 << 0 << 0;
        QTest::newRow("start-on-corner-cell") << "JONES" << false << false << 0 << 0 << 2 << 1;
        QTest::newRow("start-on-corner-cell-nothing-matches")
            << "zzz" << false << true << 0 << 0 << 0 << 0;
    }

    void find()
    {
        QFETCH(QString, text);
        QFETCH(bool, matchCase);
        QFETCH(bool, inCol);
        QFETCH(int, startRow);
        QFETCH(int, startCol);
        QFETCH(int, foundRow);
        QFETCH(int, foundCol);

        searcher->setFindInCol(inCol);
        searcher->setFindText(text);
        // Set after the text: the search text must follow it.
        searcher->setMatchCase(matchCase);
        grid->setRowCol(startRow, startCol);
        searcher->FindText();
        if (foundRow == 0)
            script->answer("Ok");

        const bool found = searcher->Find();

        QCOMPARE(found, foundRow != 0);
        QCOMPARE(searcher->Found(), found);
        if (found) {
            QCOMPARE(searcher->FoundRow(), foundRow);
            QCOMPARE(searcher->FoundCol(), foundCol);
            QVERIFY(script->records().isEmpty());
        } else {
            expectNotFoundOnce();
        }
        // The search itself never moves the grid, and leaves events on.
        QCOMPARE(grid->Row(), startRow);
        QCOMPARE(grid->Col(), startCol);
        QCOMPARE(gEvents->count(), 0);
        QCOMPARE(input().beeps, 0);
    }

    void findNextVisitsEveryHitInOrder_data()
    {
        QTest::addColumn<bool>("inCol");
        QTest::addColumn<QList<QPoint>>("hits"); // x: column, y: row
        QTest::addColumn<bool>("endsNotFound");
        QTest::newRow("all-columns-round-and-round")
            << false << QList<QPoint>{{1, 3}, {2, 4}, {3, 5}, {1, 3}, {2, 4}} << false;
        // The column's one hit is then the current cell.
        QTest::newRow("current-column-one-hit") << true << QList<QPoint>{{1, 3}} << true;
    }

    void findNextVisitsEveryHitInOrder()
    {
        QFETCH(bool, inCol);
        QFETCH(QList<QPoint>, hits);
        QFETCH(bool, endsNotFound);
        searcher->setFindInCol(inCol);
        QVERIFY(findFrom(2, 1, QStringLiteral("smith")));
        for (qsizetype i = 0; i < hits.size(); ++i) {
            if (i > 0)
                QVERIFY(searcher->FindNext());
            QCOMPARE(QPoint(searcher->FoundCol(), searcher->FoundRow()), hits.at(i));
            moveToFound();
        }
        if (endsNotFound) {
            script->answer("Ok");
            QVERIFY(!searcher->FindNext());
            expectNotFoundOnce();
        }
        QCOMPARE(input().beeps, 0);
    }

    // Held to the column of the last hit while the grid was moved to
    // another column, the search never meets its start cell: it ends after
    // the column's cells.
    void heldToColumnAwayFromStartEnds()
    {
        searcher->setFindInCol(true);
        QVERIFY(findFrom(3, 1, QStringLiteral("JONES")));
        QCOMPARE(searcher->FoundRow(), 2);
        grid->setRowCol(5, 2);
        searcher->setFindText(QStringLiteral("Eliza"));
        script->answer("Ok");
        QVERIFY(!searcher->FindNext());
        expectNotFoundOnce();
        QCOMPARE(searcher->FoundCol(), 1);
    }

    // A position left from a search on a larger grid is brought back in.
    void positionFromLargerGridIsClamped()
    {
        grid->setRows(12);
        grid->setTextMatrix(11, 3, QStringLiteral("far"));
        QVERIFY(findFrom(2, 3, QStringLiteral("far")));
        moveToFound();
        grid->setRows(6);
        searcher->setFindText(QStringLiteral("JONES"));
        QVERIFY(searcher->FindNext());
        QCOMPARE(searcher->FoundRow(), 2);
        QCOMPARE(searcher->FoundCol(), 1);
    }

    void gridWithoutDataCellsFindsNothing()
    {
        grid->setRows(2);
        script->answer("Ok");
        QVERIFY(!findFrom(1, 1, QStringLiteral("SMITH")));
        expectNotFoundOnce();
    }

    void findNextBeforeAnySearchOnlyBeeps_data()
    {
        QTest::addColumn<bool>("beepOption");
        QTest::addColumn<int>("beeps");
        QTest::newRow("beep-on") << true << 1;
        QTest::newRow("beep-off") << false << 0;
    }

    void findNextBeforeAnySearchOnlyBeeps()
    {
        QFETCH(bool, beepOption);
        QFETCH(int, beeps);
        gProject->setBeepit(beepOption);
        searcher->setFindText(QStringLiteral("JONES"));
        QVERIFY(!searcher->FindNext());
        QVERIFY(!searcher->Found());
        QCOMPARE(input().beeps, beeps);
        QVERIFY(script->records().isEmpty());
        // Find records no start either: only reading FindText does.
        QVERIFY(!searcher->Find());
        QCOMPARE(input().beeps, 2 * beeps);
    }

    void blankTextIsNotSearched_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("empty") << "";
        QTest::newRow("blanks") << "    ";
    }

    void blankTextIsNotSearched()
    {
        QFETCH(QString, text);
        QVERIFY(!findFrom(2, 1, text));
        QVERIFY(!searcher->Found());
        QVERIFY(script->records().isEmpty());
        QCOMPARE(input().beeps, 0);
        // Kept as typed.
        QCOMPARE(searcher->FindText(), text);
    }

    void eventsAreHeldOffDuringTheScan()
    {
        int countWhileAsking = -1;
        // No answer queued: the scripted service calls this while the
        // search is still going.
        script->onUnexpected = [&](const MessageRecord &) { countWhileAsking = gEvents->count(); };
        QVERIFY(!findFrom(2, 1, QStringLiteral("zzz")));
        QCOMPARE(countWhileAsking, 1);
        QCOMPARE(gEvents->count(), 0);
    }

    void programWideSearcherComesAndGoes()
    {
        QVERIFY(!gSearcher);
        ProgramObjects::createSearcher();
        QVERIFY(gSearcher);
        QVERIFY(!gSearcher->grid());
        QVERIFY(!gSearcher->Found());
        QVERIFY(!gSearcher->FindInCol());
        ProgramObjects::releaseAll();
        QVERIFY(!gSearcher);
    }

    void forgetsADestroyedGrid()
    {
        grid->setRowCol(2, 1);
        searcher->FindText();
        grid.reset();
        searcher->setFindText(QStringLiteral("JONES"));
        QVERIFY(!searcher->FindNext());
        QVERIFY(!searcher->grid());
    }
};

PELKAR_TEST(tst_Searcher)
#include "tst_Searcher.moc"
