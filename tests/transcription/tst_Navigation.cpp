// Moving the current cell with the keyboard and keeping it in view: every
// direction with the rules that steer it (row 1 never entered, "+" and "#"
// rows edited in column 1 only, the age at death stepped over when it is
// ignored, the last column wrapping, a row added past the end), and the
// grid scrolled so that the new cell shows.

#include "PelkarTest.h"

#include "core/Globals.h"
#include "core/HeaderTypes.h"
#include "core/Project.h"
#include "core/VbHelpers.h"
#include "entry/FlexGrid.h"
#include "transcription/GridBindings.h"
#include "transcription/Transcription.h"

#include <QFontMetricsF>
#include <QSignalSpy>

namespace {

constexpr int kRowHeight = 240;
constexpr int kShownRows = 5; // whole rows below the title row

class RecordingScrollBar : public GridScrollBar
{
public:
    void setMax(int max) override { this->max = max; }
    void setValue(int value) override { values << value; }
    void setLargeChange(int) override {}

    int max = -1;
    QList<int> values;
};

} // namespace

class tst_Navigation : public PelkarTest
{
    Q_OBJECT

protected:
    void setUpCase() override
    {
        ProgramObjects::createEvents();
        ProgramObjects::createProject();
        ProgramObjects::createChangeMonitor();
        ProgramObjects::createTranscription();
        gProject->setBeepit(true);

        grid = std::make_unique<FlexGrid>();
        // A font small enough that every row, added ones too, has the
        // smallest default height.
        grid->setFont(QFont(QStringLiteral("DejaVu Sans Mono"), 7));
        QCOMPARE(grid->DefaultRowHeight(), kRowHeight);
        grid->setViewportSize(12000, kRowHeight * (kShownRows + 1));
        gTranscription->setGrid(grid.get());
        gTranscription->setScrollBar(&bar);
    }

    void tearDownCase() override
    {
        gTranscription->setScrollBar(nullptr);
        ProgramObjects::releaseAll();
        grid.reset();
    }

    // A batch laid out by hand: births (surname, forenames, district, page)
    // or deaths before the date-of-birth period (surname, forenames, age at
    // death, district, page). rows are grid rows 2 on, cells split at "|";
    // row 1 is the first "+PAGE" line.
    void loadGrid(bool deaths, const QStringList &rows)
    {
        gProject->setEventType(deaths ? EventType::Deaths : EventType::Births);
        gProject->setIYear(deaths ? 1860 : 1911);
        gTranscription->setAaDCol(deaths ? 3 : -1);
        gTranscription->setDistrictCol(deaths ? 4 : 3);
        gTranscription->setPageCol(deaths ? 5 : 4);
        grid->setCols(deaths ? 6 : 5);
        grid->setRows(2 + int(rows.size()));
        grid->setTextMatrix(1, 1, QStringLiteral("+PAGE,123"));
        for (int i = 0; i < rows.size(); ++i) {
            grid->setTextMatrix(2 + i, 0, QString::number(2 + i));
            const QStringList cells = rows[i].split(u'|');
            for (int c = 0; c < cells.size(); ++c)
                grid->setTextMatrix(2 + i, 1 + c, cells[c]);
        }
    }

    // n data rows, each with every cell filled.
    QStringList filledRows(int n) const
    {
        QStringList rows;
        for (int i = 0; i < n; ++i)
            rows << QStringLiteral("NAME%1|Ann|Bury,8a|12").arg(i);
        return rows;
    }

    std::unique_ptr<FlexGrid> grid;
    RecordingScrollBar bar;

private slots:
    void findNextCell_data()
    {
        QTest::addColumn<bool>("deaths");
        QTest::addColumn<bool>("ignoreAaD");
        QTest::addColumn<bool>("verticalTab");
        QTest::addColumn<QStringList>("rows");
        QTest::addColumn<QPoint>("start");     // (col, row)
        QTest::addColumn<int>("direction");
        QTest::addColumn<QPoint>("expected");  // (col, row); row 0: no cell
        QTest::addColumn<int>("rowsAfter");
        QTest::addColumn<int>("beeps");

        const QStringList births{"SMITH|John|Leeds,9b|12", "JONES|Mary|Bury,8a|12",
                                 "#COMMENT half the page torn|||", "KAY|Ann|Ashton,8c|12"};
        const QStringList blankLast = births + QStringList{"|||"};
        const QStringList deaths{"SMITH|John|45|Leeds,9b|12", "JONES|Mary|3m|Bury,8a|12",
                                 "+PAGE,124||||"};
        const int P = Transcription::PreviousCell;
        const int N = Transcription::NextCell;
        const int U = Transcription::RowUp;
        const int D = Transcription::RowDown;
        auto row = [&](const char *name, bool death, bool ignore, bool vertical,
                       const QStringList &rows, QPoint start, int direction, QPoint expected,
                       int rowsAfter, int beeps) {
            QTest::newRow(name) << death << ignore << vertical << rows << start << direction
                                << expected << rowsAfter << beeps;
        };

        row("next-moves-right", false, false, false, births, {1, 2}, N, {2, 2}, 6, 0);
        row("next-from-last-column-wraps-to-column-1-below", false, false, false, births,
            {4, 2}, N, {1, 3}, 6, 0);
        row("next-from-last-cell-adds-a-row", false, false, false, births, {4, 5}, N, {1, 6},
            7, 0);
        row("next-from-blank-last-row-refused-with-beep", false, false, false, blankLast,
            {4, 6}, N, {0, 0}, 7, 1);
        row("next-leaves-comment-row-for-row-below", false, false, false, births, {1, 4}, N,
            {1, 5}, 6, 0);
        row("previous-moves-left", false, false, false, births, {3, 2}, P, {2, 2}, 6, 0);
        row("previous-from-column-1-wraps-to-last-column-above", false, false, false, births,
            {1, 3}, P, {4, 2}, 6, 0);
        row("previous-into-comment-row-lands-in-column-1", false, false, false, births,
            {1, 5}, P, {1, 4}, 6, 0);
        row("previous-from-row-2-column-1-refused-with-beep", false, false, false, births,
            {1, 2}, P, {0, 0}, 6, 1);
        row("up-keeps-column", false, false, false, births, {3, 3}, U, {3, 2}, 6, 0);
        row("up-from-row-2-never-enters-row-1", false, false, false, births, {3, 2}, U,
            {0, 0}, 6, 1);
        row("up-into-comment-row-lands-in-column-1", false, false, false, births, {3, 5}, U,
            {1, 4}, 6, 0);
        row("down-keeps-column", false, false, false, births, {3, 2}, D, {3, 3}, 6, 0);
        row("down-into-comment-row-lands-in-column-1", false, false, false, births, {3, 3},
            D, {1, 4}, 6, 0);
        row("down-from-last-row-adds-a-row", false, false, false, births, {2, 5}, D, {2, 6},
            7, 0);
        row("down-from-blank-last-row-refused-without-beep", false, false, false, blankLast,
            {2, 6}, D, {0, 0}, 7, 0);
        row("vertical-tab-next-moves-down-same-column", false, false, true, births, {4, 2},
            N, {4, 3}, 6, 0);
        row("vertical-tab-previous-moves-up-same-column", false, false, true, births, {2, 3},
            P, {2, 2}, 6, 0);
        row("vertical-tab-previous-from-row-2-refused-with-beep", false, false, true, births,
            {2, 2}, P, {0, 0}, 6, 1);
        row("vertical-tab-next-from-last-row-adds-a-row", false, false, true, births,
            {2, 5}, N, {2, 6}, 7, 0);
        row("unknown-direction-keeps-cell", false, false, false, births, {2, 3}, 7, {2, 3},
            6, 0);
        row("aad-kept-without-option", true, false, false, deaths, {2, 2}, N, {3, 2}, 5, 0);
        row("aad-skipped-going-right", true, true, false, deaths, {2, 2}, N, {4, 2}, 5, 0);
        row("aad-skipped-going-left", true, true, false, deaths, {4, 2}, P, {2, 2}, 5, 0);
        row("aad-skipped-back-going-down", true, true, false, deaths, {3, 2}, D, {2, 3}, 5,
            0);
        row("aad-skipped-back-with-vertical-tab", true, true, true, deaths, {3, 2}, N,
            {2, 3}, 5, 0);
        row("last-column-of-deaths-wraps", true, true, false, deaths, {5, 2}, N, {1, 3}, 5,
            0);
        row("page-row-lands-in-column-1", true, true, false, deaths, {4, 3}, D, {1, 4}, 5, 0);
    }

    void findNextCell()
    {
        QFETCH(bool, deaths);
        QFETCH(bool, ignoreAaD);
        QFETCH(bool, verticalTab);
        QFETCH(QStringList, rows);
        QFETCH(QPoint, start);
        QFETCH(int, direction);
        QFETCH(QPoint, expected);
        QFETCH(int, rowsAfter);
        QFETCH(int, beeps);

        loadGrid(deaths, rows);
        gProject->setIgnoreAaD(ignoreAaD);
        gProject->setVerticalTab(verticalTab);
        grid->setRowCol(start.y(), start.x());
        QSignalSpy entered(grid.get(), &FlexGrid::EnterCell);

        int row = -1;
        int col = -1;
        gTranscription->FindNextCell(direction, row, col);

        QCOMPARE(row, expected.y());
        const QPoint now(grid->Col(), grid->Row());
        if (expected.y() == 0) {
            QCOMPARE(now, start); // the grid stays
        } else {
            QCOMPARE(col, expected.x());
            QCOMPARE(now, expected);
        }
        // One move, one EnterCell; none when the cell stays.
        QCOMPARE(entered.count(), now == start ? 0 : 1);
        QCOMPARE(grid->Rows(), rowsAfter);
        QCOMPARE(input().beeps, beeps);
    }

    void findNextCellScrollsTheCellIntoView_data()
    {
        QTest::addColumn<int>("top");
        QTest::addColumn<QPoint>("start"); // (col, row)
        QTest::addColumn<int>("direction");
        QTest::addColumn<int>("topAfter");

        // Rows top to top + 4 show.
        QTest::newRow("down-past-the-bottom-scrolls-one-row") << 2 << QPoint(2, 6)
                                                              << int(Transcription::RowDown) << 3;
        QTest::newRow("up-past-the-top-makes-it-the-top") << 10 << QPoint(2, 10)
                                                          << int(Transcription::RowUp) << 9;
        QTest::newRow("wrap-to-a-hidden-row-below") << 2 << QPoint(4, 6)
                                                    << int(Transcription::NextCell) << 3;
        QTest::newRow("wrap-to-a-hidden-row-above") << 10 << QPoint(1, 10)
                                                    << int(Transcription::PreviousCell) << 9;
        QTest::newRow("move-within-view-keeps-the-top") << 2 << QPoint(2, 3)
                                                        << int(Transcription::RowDown) << 2;
        QTest::newRow("added-row-at-the-end-shows") << 17 << QPoint(2, 21)
                                                    << int(Transcription::RowDown) << 18;
    }

    void findNextCellScrollsTheCellIntoView()
    {
        QFETCH(int, top);
        QFETCH(QPoint, start);
        QFETCH(int, direction);
        QFETCH(int, topAfter);

        loadGrid(false, filledRows(20)); // rows 2 to 21
        grid->setTopRow(top);
        QCOMPARE(grid->TopRow(), top);
        grid->setRowCol(start.y(), start.x());

        int row = 0;
        int col = 0;
        gTranscription->FindNextCell(direction, row, col);

        QVERIFY(row >= 2);
        QCOMPARE(grid->TopRow(), topAfter);
        QVERIFY(grid->RowIsVisible(row));
        if (topAfter != top)
            QCOMPARE(bar.values.last(), row);
    }

    void positionGrid_data()
    {
        QTest::addColumn<int>("top");
        QTest::addColumn<int>("row");
        QTest::addColumn<bool>("force");
        QTest::addColumn<int>("topAfter");

        QTest::newRow("visible-row-changes-nothing") << 2 << 6 << false << 2;
        QTest::newRow("row-below-becomes-last-visible") << 2 << 12 << false << 8;
        QTest::newRow("row-above-becomes-top") << 10 << 5 << false << 5;
        QTest::newRow("forced-visible-row-becomes-top") << 2 << 4 << true << 4;
        QTest::newRow("forced-row-below-becomes-top") << 2 << 12 << true << 12;
    }

    void positionGrid()
    {
        QFETCH(int, top);
        QFETCH(int, row);
        QFETCH(bool, force);
        QFETCH(int, topAfter);

        loadGrid(false, filledRows(20));
        grid->setRowCol(3, 2);
        grid->setTopRow(top);
        bar.values.clear();
        QSignalSpy entered(grid.get(), &FlexGrid::EnterCell);

        gTranscription->PositionGrid(row, force);

        QCOMPARE(grid->TopRow(), topAfter);
        QVERIFY(grid->RowIsVisible(row));
        // Only the view moves; the scroll bar follows it.
        QCOMPARE(QPoint(grid->Col(), grid->Row()), QPoint(2, 3));
        QCOMPARE(entered.count(), 0);
        QCOMPARE(bar.values, topAfter == top && !force ? QList<int>{} : QList<int>{row});
    }

    // The entry box over the cell: the cell itself, or with OverSize as wide
    // as its text, growing right from the surname's left edge and left from
    // any other cell's right edge.
    void getBoxPosition_data()
    {
        QTest::addColumn<bool>("overSize");
        QTest::addColumn<int>("col");
        QTest::addColumn<int>("length");
        QTest::addColumn<QString>("placement"); // cell, right, left

        QTest::newRow("off-keeps-the-cell") << false << 2 << 40 << "cell";
        QTest::newRow("short-text-keeps-the-cell") << true << 2 << 2 << "cell";
        QTest::newRow("surname-grows-right") << true << 1 << 40 << "right";
        QTest::newRow("forenames-grow-left") << true << 2 << 40 << "left";
        QTest::newRow("district-grows-left") << true << 3 << 40 << "left";
    }

    void getBoxPosition()
    {
        QFETCH(bool, overSize);
        QFETCH(int, col);
        QFETCH(int, length);
        QFETCH(QString, placement);

        loadGrid(false, filledRows(3));
        const QList<int> widths{500, 1500, 1200, 1000, 800};
        for (int c = 0; c < widths.size(); ++c)
            grid->setColWidth(c, widths[c]);
        grid->setRowCol(2, col);
        gProject->setOverSize(overSize);

        const QFont font(QStringLiteral("DejaVu Sans Mono"), 10);
        const QString text(length, u'W');
        int left = -1;
        int width = -1;
        gTranscription->GetBoxPosition(text, left, width, font);

        int cellLeft = 0;
        for (int c = 0; c < col; ++c)
            cellLeft += widths[c];
        const int cellWidth = widths[col];
        // Monospaced: the text and its "X" are length + 1 equal advances.
        const int measured
                = PixelsToTwipsX(QFontMetricsF(font).horizontalAdvance(u'X') * (length + 1));
        if (placement == QLatin1String("cell")) {
            QCOMPARE(left, cellLeft);
            QCOMPARE(width, cellWidth);
        } else {
            QVERIFY(measured > cellWidth);
            QVERIFY(qAbs(width - measured) <= 1);
            QCOMPARE(left, placement == QLatin1String("right") ? cellLeft
                                                                : cellLeft + cellWidth - width);
        }
    }

    void scrollGridMakesTheRowTopAndCurrent()
    {
        loadGrid(false, filledRows(20)); // rows 2 to 21
        grid->setRowCol(3, 2);

        gTranscription->ScrollGrid(12);
        QCOMPARE(grid->TopRow(), 12);
        QCOMPARE(grid->Row(), 12);

        // Near the end the last row stays at the bottom.
        gTranscription->ScrollGrid(20, true);
        QCOMPARE(grid->TopRow(), 21 - kShownRows + 1);
        QCOMPARE(grid->Row(), 20);
    }
};

PELKAR_TEST(tst_Navigation)
#include "tst_Navigation.moc"
