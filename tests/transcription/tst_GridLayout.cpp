// The transcription grid's layout: columns by event type and period, the
// first "+PAGE" row, row colours, counts, widths and the row routines the
// checks use.

#include "PelkarTest.h"
#include "RecordingEntryBoxes.h"
#include "RecordingStatusBar.h"
#include "TestFiles.h"

#include "core/Globals.h"
#include "core/HeaderTypes.h"
#include "core/Project.h"
#include "core/SettingsFileStore.h"
#include "core/clsEvents.h"
#include "entry/FlexGrid.h"
#include "transcription/Change_Monitor.h"
#include "transcription/EntryBoxes.h"
#include "transcription/GridBindings.h"
#include "transcription/Transcription.h"

#include <QDir>
#include <QSignalSpy>

namespace {

class RecordingForm : public TranscriptionForm
{
public:
    void setCopySurnameVisible(bool visible) override { copySurnameVisible = visible; }
    void setEntryBoxColumns(int district, int forename) override
    {
        districtBoxColumn = district;
        forenameBoxColumn = forename;
    }
    bool CantUseMenues() const override { return false; }

    bool copySurnameVisible = false;
    int districtBoxColumn = -1;
    int forenameBoxColumn = -1;
};

class RecordingScrollBar : public GridScrollBar
{
public:
    void setMax(int value) override { max = value; }
    void setValue(int v) override { value = v; }
    void setLargeChange(int change) override { largeChange = change; }

    int max = -1;
    int value = -1;
    int largeChange = -1;
};

constexpr int B = EventType::Births;
constexpr int D = EventType::Deaths;
constexpr int M = EventType::Marriages;

// The grid's width and height in twips, and its title row's height.
constexpr int kGridWidth = 12000;
constexpr int kGridHeight = 3000;
constexpr int kTitleHeight = 240;

} // namespace

class tst_GridLayout : public PelkarTest
{
    Q_OBJECT

protected:
    void setUpCase() override
    {
        ProgramObjects::createEvents();
        ProgramObjects::createProject();
        ProgramObjects::createChangeMonitor();
        QVERIFY(QDir().mkpath(homePath("data")));
        gProject->setDataPath(homePath("data"));
        gProject->setFilesPath(homePath("data/Files"));
        loadSettings();
        gLastCol = 0;

        grid = std::make_unique<FlexGrid>();
        grid->setFont(QFont(QStringLiteral("DejaVu Sans Mono"), 10));
        grid->setViewportSize(kGridWidth, kGridHeight);
        grid->setRowHeight(0, kTitleHeight);
        statusBar = std::make_unique<RecordingStatusBar>();
        transcription = std::make_unique<Transcription>();
        transcription->setGrid(grid.get());
        transcription->setFrm(&form);
        transcription->setScrollBar(&scrollBar);
    }

    void tearDownCase() override
    {
        transcription.reset();
        grid.reset();
        statusBar.reset();
        form = RecordingForm();
        scrollBar = RecordingScrollBar();
    }

    // Thresholds that differ from each other, so that a rule reading the
    // wrong one shows; more keys of the Forms section may follow.
    void loadSettings(const QByteArray &forms = QByteArray())
    {
        QVERIFY(TestFiles::writeBytes(QDir(homePath("data")).filePath("Pelkarini.txt"),
                                      "[Startup]\r\nMomQtr=3\r\nSpouseQtr=2\r\nDoBQtr=2\r\n"
                                      "[Forms]\r\nStripes=Y\r\n"
                                          + forms));
        ClearIniStore();
        QVERIFY(gProject->GetRegistryValues());
    }

    void setBatch(int event, int year, int quarter)
    {
        gProject->setEventType(event);
        gProject->setIYear(year);
        gProject->setQtr(quarter);
    }

    // A fresh grid for the batch: laid out, its "+PAGE" row written and
    // rows appended up to the given count.
    void freshGrid(int event, int year, int quarter, int rows = 3)
    {
        setBatch(event, year, quarter);
        gProject->setPage(QStringLiteral("7"));
        transcription->SetupInputGrid();
        transcription->AddLine1();
        while (grid->Rows() < rows)
            transcription->AddRow();
    }

    QStringList titles() const
    {
        QStringList result;
        for (int col = 1; col < grid->Cols(); ++col)
            result << grid->TextMatrix(0, col);
        return result;
    }

    std::unique_ptr<FlexGrid> grid;
    std::unique_ptr<Transcription> transcription;
    RecordingForm form;
    RecordingScrollBar scrollBar;
    std::unique_ptr<RecordingStatusBar> statusBar;

private slots:
    // ---- Column layout ------------------------------------------------------------

    void columnLayoutByEventAndPeriod_data()
    {
        QTest::addColumn<int>("event");
        QTest::addColumn<int>("year");
        QTest::addColumn<int>("quarter");
        // Surname, Forenames, Mother, Spouse, AaD, DoB, District, Page.
        QTest::addColumn<QList<int>>("columns");
        QTest::addColumn<int>("lastCol");
        QTest::addColumn<QStringList>("titles");
        QTest::addColumn<bool>("copySurname");

        const QStringList plain{"Surname", "Forenames", "District", "Page"};
        const QList<int> plainCols{1, 2, 0, 0, -1, -1, 3, 4};
        QTest::newRow("births-1911-june-before-momsqtr")
            << B << 1911 << 2 << plainCols << 4 << plain << false;
        QTest::newRow("births-1911-september-at-momsqtr")
            << B << 1911 << 3 << QList<int>{1, 2, 3, -1, -1, -1, 4, 5} << 5
            << QStringList{"Surname", "Forenames", "Mother", "District", "Page"} << true;
        QTest::newRow("births-1950-mother-period")
            << B << 1950 << 1 << QList<int>{1, 2, 3, -1, -1, -1, 4, 5} << 5
            << QStringList{"Surname", "Forenames", "Mother", "District", "Page"} << true;
        QTest::newRow("marriages-1912-march-before-spouseqtr")
            << M << 1912 << 1 << plainCols << 4 << plain << false;
        QTest::newRow("marriages-1912-june-at-spouseqtr")
            << M << 1912 << 2 << QList<int>{1, 2, -1, 3, -1, -1, 4, 5} << 5
            << QStringList{"Surname", "Forenames", "Spouse", "District", "Page"} << true;
        QTest::newRow("deaths-1969-march-age-at-death")
            << D << 1969 << 1 << QList<int>{1, 2, -1, -1, 3, -1, 4, 5} << 5
            << QStringList{"Surname", "Forenames", "AaD", "District", "Page"} << false;
        QTest::newRow("deaths-1969-june-at-dobqtr-date-of-birth")
            << D << 1969 << 2 << QList<int>{1, 2, -1, -1, -1, 3, 4, 5} << 5
            << QStringList{"Surname", "Forenames", "DoB", "District", "Page"} << false;
        QTest::newRow("deaths-1980-date-of-birth")
            << D << 1980 << 4 << QList<int>{1, 2, -1, -1, -1, 3, 4, 5} << 5
            << QStringList{"Surname", "Forenames", "DoB", "District", "Page"} << false;
    }

    void columnLayoutByEventAndPeriod()
    {
        QFETCH(int, event);
        QFETCH(int, year);
        QFETCH(int, quarter);
        QFETCH(QList<int>, columns);
        QFETCH(int, lastCol);
        QFETCH(QStringList, titles);
        QFETCH(bool, copySurname);

        // Start from the opposite state, so that nothing passes by default.
        form.copySurnameVisible = !copySurname;
        setBatch(event, year, quarter);
        transcription->SetupInputGrid();

        const Transcription &t = *transcription;
        const QList<int> got{t.SurnameCol(), t.ForenamesCol(), t.MotherCol(), t.SpouseCol(),
                             t.AaDCol(),     t.DoBCol(),       t.DistrictCol(), t.PageCol()};
        QCOMPARE(got, columns);
        QCOMPARE(gLastCol, lastCol);
        QCOMPARE(grid->Cols(), lastCol + 1);
        QCOMPARE(this->titles(), titles);
        QCOMPARE(form.copySurnameVisible, copySurname);
        QCOMPARE(form.districtBoxColumn, t.DistrictCol());
        QCOMPARE(form.forenameBoxColumn, 2);
    }

    void aDeathBatchBeforeABirthBatchLeavesNoDateOfBirthColumn()
    {
        setBatch(D, 1980, 1);
        transcription->SetupInputGrid();
        QCOMPARE(transcription->DoBCol(), 3);

        setBatch(B, 1911, 1);
        transcription->SetupInputGrid();
        QCOMPARE(transcription->DoBCol(), -1);
        QCOMPARE(transcription->AaDCol(), -1);
        QCOMPARE(grid->Cols(), 5);
        QVERIFY(!form.copySurnameVisible);
    }

    void alignmentsByColumnKind_data()
    {
        QTest::addColumn<int>("event");
        QTest::addColumn<int>("year");
        // Columns 0 to gLastCol: 2 left, 5 centre, 8 right (at the bottom).
        QTest::addColumn<QList<int>>("alignments");
        QTest::newRow("births-mother-left-page-right") << B << 1950 << QList<int>{2, 2, 2, 2, 2, 8};
        QTest::newRow("spouse-left") << M << 1950 << QList<int>{2, 2, 2, 2, 2, 8};
        QTest::newRow("deaths-age-centred") << D << 1950 << QList<int>{2, 2, 2, 5, 2, 8};
        QTest::newRow("deaths-date-of-birth-centred") << D << 1980 << QList<int>{2, 2, 2, 5, 2, 8};
        QTest::newRow("plain-page-right") << M << 1900 << QList<int>{2, 2, 2, 2, 8};
    }

    void alignmentsByColumnKind()
    {
        QFETCH(int, event);
        QFETCH(int, year);
        QFETCH(QList<int>, alignments);
        setBatch(event, year, 1);
        transcription->SetupInputGrid();
        QList<int> got;
        for (int col = 0; col < grid->Cols(); ++col)
            got << grid->ColAlignment(col);
        QCOMPARE(got, alignments);
    }

    void freshLayoutEmptiesTheGridAndKeepGridKeepsIt()
    {
        freshGrid(B, 1950, 1, 6);
        grid->setTextMatrix(4, 1, QStringLiteral("SMITH"));
        grid->setTextMatrix(5, 3, QStringLiteral("JONES"));
        grid->setRowCol(4, 3);
        gCurrentRow = 4;
        gCurrentCol = 3;

        transcription->setKeepGrid(true);
        transcription->SetupInputGrid();
        QCOMPARE(grid->Rows(), 6);
        QCOMPARE(grid->TextMatrix(4, 1), QStringLiteral("SMITH"));
        QCOMPARE(grid->TextMatrix(5, 3), QStringLiteral("JONES"));
        QCOMPARE(grid->TextMatrix(1, 1), QStringLiteral("+PAGE,7"));
        QCOMPARE(grid->Row(), 4);
        QCOMPARE(grid->Col(), 3);
        QCOMPARE(gCurrentRow, 4);
        QCOMPARE(gCurrentCol, 3);

        QSignalSpy entered(grid.get(), &FlexGrid::EnterCell);
        transcription->setKeepGrid(false);
        transcription->SetupInputGrid();
        QCOMPARE(grid->Rows(), 2);
        QCOMPARE(grid->Cols(), 6);
        QCOMPARE(grid->TextMatrix(1, 1), QString());
        QCOMPARE(grid->Row(), 1);
        QCOMPARE(grid->Col(), 1);
        QCOMPARE(gCurrentRow, 1);
        QCOMPARE(gCurrentCol, 1);
        QCOMPARE(entered.count(), 0);
        QCOMPARE(gEvents->count(), 0);
    }

    void gridShowsWholeRows()
    {
        transcription->SetupInputGrid();
        QCOMPARE(transcription->RowsVisible(), kGridHeight / kTitleHeight - 1);
        QCOMPARE(grid->Height(), kTitleHeight * (kGridHeight / kTitleHeight));
        QCOMPARE(scrollBar.largeChange, 1);
    }

    // ---- Widths -----------------------------------------------------------------

    void restoredWidthsAreCorrected_data()
    {
        QTest::addColumn<int>("event");
        QTest::addColumn<int>("year");
        QTest::addColumn<QByteArray>("stored");
        QTest::addColumn<QList<int>>("widths");
        QTest::newRow("row-number-0-becomes-300-surname-20-becomes-450")
            << B << 1900 << QByteArray("ColWidth5=0:20:2205:3510:1245")
            << QList<int>{300, 450, 2205, 3510, 1245};
        QTest::newRow("field-width-25-is-too-small-26-is-kept")
            << M << 1900 << QByteArray("ColWidth5=225:25:26:3510:20")
            << QList<int>{225, 450, 26, 3510, 450};
        QTest::newRow("age-at-death-column-corrected-like-a-field")
            << D << 1950 << QByteArray("ColWidth6=225:2205:2205:10:3030:765")
            << QList<int>{225, 2205, 2205, 450, 3030, 765};
        QTest::newRow("date-of-birth-column-only-when-zero")
            << D << 1980 << QByteArray("ColWidth6=225:2205:2205:0:3030:765")
            << QList<int>{225, 2205, 2205, 150, 3030, 765};
        QTest::newRow("date-of-birth-column-keeps-a-small-width")
            << D << 1980 << QByteArray("ColWidth6=225:2205:2205:10:3030:765")
            << QList<int>{225, 2205, 2205, 10, 3030, 765};
    }

    void restoredWidthsAreCorrected()
    {
        QFETCH(int, event);
        QFETCH(int, year);
        QFETCH(QByteArray, stored);
        QFETCH(QList<int>, widths);

        loadSettings("RestoreCols=Y\r\n" + stored + "\r\n");
        QVERIFY(gProject->RestoreColWidth());
        setBatch(event, year, 1);
        transcription->SetupInputGrid();
        transcription->SetInitialColumnWidths();

        QList<int> got;
        for (int col = 0; col < grid->Cols(); ++col)
            got << grid->ColWidth(col);
        QCOMPARE(got, widths);
    }

    void computedWidthsShareTheGridAmongTheTextColumns_data()
    {
        QTest::addColumn<int>("event");
        QTest::addColumn<int>("year");
        QTest::addColumn<QList<int>>("shared");
        QTest::newRow("plain-three-shares") << B << 1900 << QList<int>{1, 2, 3};
        QTest::newRow("mother-four-shares") << B << 1950 << QList<int>{1, 2, 3, 4};
        QTest::newRow("spouse-four-shares") << M << 1950 << QList<int>{1, 2, 3, 4};
        QTest::newRow("age-at-death-column-kept-out") << D << 1950 << QList<int>{1, 2, 4};
        QTest::newRow("date-of-birth-column-kept-out") << D << 1980 << QList<int>{1, 2, 4};
    }

    void computedWidthsShareTheGridAmongTheTextColumns()
    {
        QFETCH(int, event);
        QFETCH(int, year);
        QFETCH(QList<int>, shared);

        setBatch(event, year, 1);
        transcription->SetupInputGrid();
        transcription->SetInitialColumnWidths();

        const int share = grid->ColWidth(shared.first());
        QVERIFY(share > 1000);
        int total = 0;
        for (int col = 0; col < grid->Cols(); ++col) {
            if (shared.contains(col))
                QCOMPARE(grid->ColWidth(col), share);
            else
                QVERIFY2(grid->ColWidth(col) > 0 && grid->ColWidth(col) < share,
                         qPrintable(QString::number(col)));
            total += grid->ColWidth(col);
        }
        // Whole shares of what is left: at most one twip short per share.
        QVERIFY(total <= kGridWidth);
        QVERIFY(total > kGridWidth - int(shared.size()));
    }

    // A batch restored before the main window is shown is laid out while
    // the grid has no width; the view's first report of one must open the
    // text columns.
    void widthsWaitForTheGridsFirstWidth_data()
    {
        QTest::addColumn<int>("event");
        QTest::addColumn<int>("year");
        QTest::addColumn<QList<int>>("shared");
        QTest::newRow("plain-three-shares") << B << 1900 << QList<int>{1, 2, 3};
        QTest::newRow("mother-four-shares") << B << 1950 << QList<int>{1, 2, 3, 4};
        QTest::newRow("age-at-death-column-kept-out") << D << 1950 << QList<int>{1, 2, 4};
    }

    void widthsWaitForTheGridsFirstWidth()
    {
        QFETCH(int, event);
        QFETCH(int, year);
        QFETCH(QList<int>, shared);

        grid->setViewportSize(0, 0);
        freshGrid(event, year, 1);
        for (int col : shared)
            QCOMPARE(grid->ColWidth(col), 0);
        const int page = grid->ColWidth(transcription->PageCol());

        grid->setViewportSize(kGridWidth, kGridHeight);
        const int share = grid->ColWidth(shared.first());
        QVERIFY(share > 1000);
        int total = 0;
        for (int col = 0; col < grid->Cols(); ++col) {
            if (shared.contains(col))
                QCOMPARE(grid->ColWidth(col), share);
            total += grid->ColWidth(col);
        }
        QCOMPARE(grid->ColWidth(transcription->PageCol()), page);
        QVERIFY(total <= kGridWidth);
        QVERIFY(total > kGridWidth - int(shared.size()));

        // Once laid out to a width, later sizes are not shared out again:
        // the window's resizing adjusts the columns it has.
        QList<int> laidOut;
        for (int col = 0; col < grid->Cols(); ++col)
            laidOut << grid->ColWidth(col);
        grid->setViewportSize(kGridWidth * 2, kGridHeight);
        for (int col = 0; col < grid->Cols(); ++col)
            QCOMPARE(grid->ColWidth(col), laidOut[col]);
    }

    void savedWidthsDoNotWaitForTheGridsWidth()
    {
        loadSettings("RestoreCols=Y\r\nColWidth5=225:2205:3510:3600:1245\r\n");
        grid->setViewportSize(0, 0);
        freshGrid(B, 1900, 1);
        grid->setViewportSize(kGridWidth, kGridHeight);
        QList<int> got;
        for (int col = 0; col < grid->Cols(); ++col)
            got << grid->ColWidth(col);
        QCOMPARE(got, (QList<int>{225, 2205, 3510, 3600, 1245}));
    }

    void rowNumberColumnGrowsAtTheTenthRow()
    {
        freshGrid(B, 1950, 1, 9);
        // A column that the shrink would take below 51 twips stays as it is.
        grid->setColWidth(5, 60);
        QList<int> before;
        for (int col = 0; col < grid->Cols(); ++col)
            before << grid->ColWidth(col);

        transcription->AddRow();
        QCOMPARE(grid->Rows(), 10);
        const int grown = grid->ColWidth(0) - before[0];
        QVERIFY(grown > 0);
        const int share = -grown / (grid->Cols() - 1);
        for (int col = 1; col < 5; ++col)
            QCOMPARE(grid->ColWidth(col), before[col] + share);
        QCOMPARE(grid->ColWidth(5), 60);

        // Only once per tenfold: more rows up to 90 change nothing.
        const int widened = grid->ColWidth(0);
        transcription->AddRow();
        QCOMPARE(grid->ColWidth(0), widened);
    }

    void adjustColumnWidths_data()
    {
        QTest::addColumn<int>("delta");
        QTest::addColumn<QList<int>>("before");
        QTest::addColumn<QList<int>>("after");
        QTest::newRow("positive-widens-every-column-but-the-row-numbers")
            << 100 << QList<int>{300, 10, 2000, 2000, 500} << QList<int>{300, 110, 2100, 2100, 600};
        QTest::newRow("negative-skips-columns-that-would-drop-below-51")
            << -50 << QList<int>{300, 100, 101, 2000, 60} << QList<int>{300, 100, 51, 1950, 60};
        QTest::newRow("zero-changes-nothing")
            << 0 << QList<int>{300, 10, 2000, 2000, 500} << QList<int>{300, 10, 2000, 2000, 500};
    }

    void adjustColumnWidths()
    {
        QFETCH(int, delta);
        QFETCH(QList<int>, before);
        QFETCH(QList<int>, after);
        setBatch(B, 1900, 1);
        transcription->SetupInputGrid();
        for (int col = 0; col < before.size(); ++col)
            grid->setColWidth(col, before[col]);
        transcription->AdjustColumnWidths(delta);
        QList<int> got;
        for (int col = 0; col < grid->Cols(); ++col)
            got << grid->ColWidth(col);
        QCOMPARE(got, after);
    }

    // ---- The first "+PAGE" row ------------------------------------------------------

    void addLine1_data()
    {
        QTest::addColumn<QString>("page");
        QTest::addColumn<int>("length");
        QTest::addColumn<QString>("numbering");
        QTest::addColumn<QString>("line");
        QTest::addColumn<int>("lengthAfter");
        QTest::addColumn<QString>("rowNumber");
        QTest::newRow("page-7-padded-to-3") << "7" << 3 << "P" << "+PAGE,007" << 3 << "1";
        QTest::newRow("no-length-takes-the-page's") << "12" << 0 << "P" << "+PAGE,12" << 2 << "1";
        QTest::newRow("page-longer-than-length-keeps-its-digits")
            << "1234" << 3 << "P" << "+PAGE,1234" << 3 << "1";
        QTest::newRow("page-with-suffix") << "5a" << 4 << "P" << "+PAGE,005a" << 4 << "1";
        QTest::newRow("line-numbering-counts-the-header-lines")
            << "7" << 1 << "Q" << "+PAGE,7" << 1 << "5";
        QTest::newRow("data-numbering-starts-at-0") << "7" << 1 << "D" << "+PAGE,7" << 1 << "0";
    }

    void addLine1()
    {
        QFETCH(QString, page);
        QFETCH(int, length);
        QFETCH(QString, numbering);
        QFETCH(QString, line);
        QFETCH(int, lengthAfter);
        QFETCH(QString, rowNumber);

        gProject->setRowNumbering(numbering);
        gProject->setPage(page);
        gProject->setPageNumberLength(length);
        setBatch(B, 1900, 1);
        transcription->SetupInputGrid();
        transcription->AddLine1();

        QCOMPARE(grid->TextMatrix(1, 1), line);
        QCOMPARE(gProject->PageNumberLength(), lengthAfter);
        QCOMPARE(grid->TextMatrix(1, 0), rowNumber);
        QCOMPARE(grid->cellBackColorAt(1, 1), Transcription::kHeaderGreen);
        // The first entry row follows, numbered after the "+PAGE" row.
        QCOMPARE(grid->Rows(), 3);
        QCOMPARE(grid->TextMatrix(2, 0), QString::number(rowNumber.toInt() + 1));
        QVERIFY(grid->ColWidth(1) > 0);
        QCOMPARE(gEvents->count(), 0);
    }

    // ---- Row colours -------------------------------------------------------------------

    void colourRow_data()
    {
        QTest::addColumn<bool>("stripes");
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("text");
        QTest::addColumn<uint>("first");
        QTest::addColumn<uint>("rest");
        const uint white = Transcription::kWhite;
        const uint stripe = Transcription::kStripe;
        const uint green = Transcription::kHeaderGreen;
        QTest::newRow("odd-row-white") << true << 3 << "SMITH" << white << white;
        QTest::newRow("even-row-striped") << true << 4 << "SMITH" << stripe << stripe;
        QTest::newRow("even-row-white-without-stripes") << false << 4 << "SMITH" << white << white;
        QTest::newRow("page-line-green-in-column-1-only") << true << 4 << "+PAGE,8" << green << white;
        QTest::newRow("comment-line-green-on-odd-row") << true << 3 << "#COMMENT x" << green << white;
        QTest::newRow("leading-spaces-before-plus-still-green")
            << false << 4 << "  +PAGE,8" << green << white;
        QTest::newRow("plus-inside-text-not-a-header") << true << 3 << "A+B" << white << white;
    }

    void colourRow()
    {
        QFETCH(bool, stripes);
        QFETCH(int, row);
        QFETCH(QString, text);
        QFETCH(uint, first);
        QFETCH(uint, rest);

        gProject->setStripes(stripes);
        freshGrid(B, 1950, 1, 6);
        grid->setCellBackColorAt(row, 0, 0x123456);
        grid->setTextMatrix(row, 1, text);
        transcription->ColourRow(row);

        QCOMPARE(uint(grid->cellBackColorAt(row, 1)), first);
        for (int col = 2; col < grid->Cols(); ++col)
            QCOMPARE(uint(grid->cellBackColorAt(row, col)), rest);
        QCOMPARE(uint(grid->cellBackColorAt(row, 0)), 0x123456u);
    }

    // ---- Counts --------------------------------------------------------------------

    void countRows_data()
    {
        QTest::addColumn<int>("currentRow");
        QTest::addColumn<int>("result");
        QTest::addColumn<QString>("lastPage");
        QTest::newRow("no-current-row-counts-nothing-up-to-it") << 0 << 0 << "";
        QTest::newRow("on-the-first-page-line") << 1 << 0 << "0012";
        QTest::newRow("comment-row-not-counted") << 4 << 2 << "0012";
        QTest::newRow("lower-case-page-line-with-suffix") << 6 << 3 << "13a";
        QTest::newRow("empty-page-follows-the-number-before-the-suffix") << 9 << 5 << "14";
        QTest::newRow("last-row") << 10 << 6 << "14";
    }

    void countRows()
    {
        QFETCH(int, currentRow);
        QFETCH(int, result);
        QFETCH(QString, lastPage);

        freshGrid(B, 1900, 1, 11);
        const QStringList column1{"+PAGE,0012", "SMITH", "#COMMENT x", "JONES", "+page,13a",
                                  "BROWN",      "+PAGE,",   "",           "GREEN", "  +X"};
        for (int i = 0; i < column1.size(); ++i)
            grid->setTextMatrix(i + 1, 1, column1[i]);
        gCurrentRow = currentRow;

        QCOMPARE(transcription->CountRows(), result);
        // The total counts every row whose first character is not "+" or "#":
        // the blank row and the row starting with a space count.
        QCOMPARE(gProject->DataLines(), 6);
        QCOMPARE(statusBar->panel3, QStringList{"Datarows = 6"});
        QCOMPARE(gProject->LastPageString(), lastPage);
    }

    // The counts are kept from one row change to the next and brought up to
    // date from the rows changed since: after each kind of change they are
    // what a count of the whole grid gives.
    void countRowsFollowsEveryChange_data()
    {
        QTest::addColumn<QString>("change");
        QTest::addColumn<int>("currentRow");
        for (const char *change : {"entry-becomes-page-line", "page-line-becomes-entry",
                                   "page-renamed", "comment-typed", "entry-edited",
                                   "rows-appended", "rows-taken-off-the-end", "row-inserted",
                                   "row-removed", "column-moved", "cleared"}) {
            QTest::newRow(qPrintable(QStringLiteral("%1-above").arg(change))) << change << 9;
            QTest::newRow(qPrintable(QStringLiteral("%1-below").arg(change))) << change << 2;
        }
    }

    void countRowsFollowsEveryChange()
    {
        QFETCH(QString, change);
        QFETCH(int, currentRow);

        freshGrid(B, 1900, 1, 11);
        const QStringList column1{"+PAGE,0012", "SMITH", "#COMMENT x", "JONES", "+page,13a",
                                  "BROWN",      "+PAGE,",   "",           "GREEN", "  +X"};
        for (int i = 0; i < column1.size(); ++i)
            grid->setTextMatrix(i + 1, 1, column1[i]);
        gCurrentRow = currentRow;
        transcription->CountRows();

        if (change == "entry-becomes-page-line")
            grid->setTextMatrix(4, 1, QStringLiteral("+PAGE,20"));
        else if (change == "page-line-becomes-entry")
            grid->setTextMatrix(5, 1, QStringLiteral("ADAMS"));
        else if (change == "page-renamed")
            grid->setTextMatrix(5, 1, QStringLiteral("+PAGE,15"));
        else if (change == "comment-typed")
            grid->setTextMatrix(8, 1, QStringLiteral("#torn"));
        else if (change == "entry-edited")
            grid->setTextMatrix(6, 1, QStringLiteral("BROWNE"));
        else if (change == "rows-appended")
            grid->setRows(14);
        else if (change == "rows-taken-off-the-end")
            grid->setRows(6);
        else if (change == "row-inserted")
            grid->AddItem(QStringLiteral("\t+PAGE,11"), 2);
        else if (change == "row-removed")
            grid->RemoveItem(3);
        else if (change == "column-moved")
            grid->setColPosition(1, 2);
        else if (change == "cleared")
            grid->Clear();
        if (change == "rows-appended")
            grid->setTextMatrix(13, 1, QStringLiteral("+PAGE,16"));

        const int result = transcription->CountRows();
        const int dataLines = gProject->DataLines();
        const QString lastPage = gProject->LastPageString();
        // A count from nothing: a new Transcription over the same grid.
        Transcription whole;
        whole.setGrid(grid.get());
        QCOMPARE(result, whole.CountRows());
        QCOMPARE(dataLines, gProject->DataLines());
        QCOMPARE(lastPage, gProject->LastPageString());
    }

    void countOccuranceCountsOverlappingMatches()
    {
        QCOMPARE(Transcription::CountOccurance(QStringLiteral("lll"), QStringLiteral("ll")), 2);
        // Compared exactly: the capital does not count.
        QCOMPARE(Transcription::CountOccurance(QStringLiteral("Mary Ann"), QStringLiteral("a")), 1);
    }

    // ---- The +CREDIT guard -----------------------------------------------------------

    void creditRowStopsTheAction_data()
    {
        QTest::addColumn<bool>("actionPending");
        QTest::addColumn<QString>("lastLine");
        QTest::newRow("action-pending")
            << true << "The requested action cannot happen until this entry is removed";
        QTest::newRow("saving") << false << "Your Data has NOT been saved";
    }

    void creditRowStopsTheAction()
    {
        QFETCH(bool, actionPending);
        QFETCH(QString, lastLine);

        RecordingEntryBoxes boxes;
        freshGrid(B, 1900, 1, 8);
        grid->setTextMatrix(5, 1, QStringLiteral("+credit,Ann,ann@example.org,typed"));
        grid->setTextMatrix(7, 1, QStringLiteral("+CREDIT,Bob,bob@example.org,typed"));
        script->answer("Ok");

        QVERIFY(!transcription->TestForCredit(actionPending));
        QCOMPARE(script->records().size(), 1);
        const MessageRecord &box = script->records().first();
        QCOMPARE(box.prompt, QStringLiteral("There is a +Credit entry at row 5\r\n"
                                            "These must be moved to the Header Form - Click on "
                                            "that entry and then Press Tab\r\n")
                                 + lastLine);
        QCOMPARE(box.title, QStringLiteral("Pelkar"));
        QCOMPARE(box.style, int(Mb::Critical | Mb::OkOnly));
        QCOMPARE(boxes.focusBacks(), 1);
    }

    void noCreditRowLetsTheActionGo()
    {
        RecordingEntryBoxes boxes;
        freshGrid(B, 1900, 1, 5);
        // Row 1 is the batch's own "+PAGE" row and never a credit; a credit
        // word later in the text is not a credit row either.
        grid->setTextMatrix(1, 1, QStringLiteral("+CREDIT,x,y,z"));
        grid->setTextMatrix(3, 1, QStringLiteral("#+CREDIT"));
        grid->setTextMatrix(4, 1, QStringLiteral("+CREDI"));
        QVERIFY(transcription->TestForCredit(true));
        QVERIFY(script->records().isEmpty());
        QCOMPARE(boxes.focusBacks(), 0);
    }

    // ---- Row routines ---------------------------------------------------------------------

    void addRowAppendsANumberedColouredRow()
    {
        freshGrid(B, 1950, 1, 4);
        gChangeMonitor->DataSaved();
        grid->setTextMatrix(3, 0, QStringLiteral("41"));
        grid->setRowCol(2, 1);

        transcription->AddRow();
        QCOMPARE(grid->Rows(), 5);
        QCOMPARE(grid->TextMatrix(4, 0), QStringLiteral("42"));
        QCOMPARE(grid->cellBackColorAt(4, 1), Transcription::kStripe);
        QVERIFY(gChangeMonitor->AnyChange());
        QCOMPARE(scrollBar.max, 4);
        QCOMPARE(scrollBar.value, 2);
        QCOMPARE(gEvents->count(), 0);
    }

    void itsACommentLine_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("currentRow");
        QTest::addColumn<bool>("comment");
        // Rows: 1 "+PAGE,7", 2 "  #note", 3 "SMITH", 4 "+PAGE,8", 5 "".
        QTest::newRow("comment-after-leading-spaces") << 2 << 0 << true;
        QTest::newRow("page-line") << 4 << 0 << true;
        QTest::newRow("entry") << 3 << 0 << false;
        QTest::newRow("blank-row") << 5 << 0 << false;
        QTest::newRow("first-page-row-never") << 1 << 0 << false;
        QTest::newRow("past-the-last-row") << 6 << 0 << false;
        QTest::newRow("zero-means-the-current-row") << 0 << 4 << true;
        QTest::newRow("negative-means-the-current-row") << -1 << 3 << false;
        QTest::newRow("given-row-wins-over-current-row") << 3 << 4 << false;
    }

    void itsACommentLine()
    {
        QFETCH(int, row);
        QFETCH(int, currentRow);
        QFETCH(bool, comment);
        freshGrid(B, 1900, 1, 6);
        grid->setTextMatrix(2, 1, QStringLiteral("  #note"));
        grid->setTextMatrix(3, 1, QStringLiteral("SMITH"));
        grid->setTextMatrix(4, 1, QStringLiteral("+PAGE,8"));
        gCurrentRow = currentRow;
        QCOMPARE(transcription->ItsACommentLine(row), comment);
    }

    void compact_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("compacted");
        QTest::newRow("leading-doubled-inner-trailing") << "  Mary   Ann  Jane " << "Mary Ann Jane";
        QTest::newRow("only-spaces") << "    " << "";
        QTest::newRow("tabs-are-not-spaces") << "\tA\t\tB" << "\tA\t\tB";
        QTest::newRow("already-compact") << "A B" << "A B";
    }

    void compact()
    {
        QFETCH(QString, text);
        QFETCH(QString, compacted);
        QCOMPARE(Transcription::Compact(text), compacted);
    }
};

PELKAR_TEST(tst_GridLayout)
#include "tst_GridLayout.moc"
