// The find dialog under the offscreen platform, and printing of the grid:
// the page arithmetic as tables, then real printing to PDF files whose
// pages, headings and page numbers are read back.

#include "PelkarTest.h"

#include "core/Globals.h"
#include "core/Project.h"
#include "core/Services.h"
#include "entry/FlexGrid.h"
#include "transcription/Searcher.h"
#include "transcription/clsFlexPrint.h"
#include "transcription/frmFind.h"

#include <QCheckBox>
#include <QFile>
#include <QLineEdit>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QStandardPaths>

#include <memory>

namespace {

std::unique_ptr<FlexGrid> makeFindGrid()
{
    auto grid = std::make_unique<FlexGrid>();
    grid->setRows(5);
    grid->setCols(3);
    const QStringList rows[] = {
        {"", "Surname", "Forenames"},
        {"1", "+PAGE", ""},
        {"2", "JONES", "Mary"},
        {"3", "SMITH", "John"},
        {"4", "BROWN", "Smithers"},
    };
    for (int r = 0; r < 5; ++r)
        for (int c = 0; c < 3; ++c)
            grid->setTextMatrix(r, c, rows[r][c]);
    return grid;
}

} // namespace

class FindDialogTest : public PelkarTest
{
    Q_OBJECT

protected:
    void setUpCase() override
    {
        ProgramObjects::createEvents();
        ProgramObjects::createProject();
        gProject->setBeepit(true);
        grid = makeFindGrid();
        searcher = std::make_unique<Searcher>();
        searcher->setGrid(grid.get());
        grid->setRowCol(2, 1);
    }

    void tearDownCase() override
    {
        dialog.reset();
        searcher.reset();
        grid.reset();
    }

    // On the box itself: the button may be wider than its text.
    static void clickBox(QAbstractButton *button)
    {
        QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2));
    }

    frmFind &open()
    {
        dialog = std::make_unique<frmFind>(*searcher);
        dialog->show();
        return *dialog;
    }

    std::unique_ptr<FlexGrid> grid;
    std::unique_ptr<Searcher> searcher;
    std::unique_ptr<frmFind> dialog;

private slots:
    void looksAsDesigned()
    {
        frmFind &d = open();
        QCOMPARE(d.windowTitle(), QStringLiteral("Find"));
        QCOMPARE(d.chkCase()->text(), QStringLiteral("Match Case"));
        QCOMPARE(d.optSearch(1)->text(), QStringLiteral("All Columns"));
        QCOMPARE(d.optSearch(0)->text(), QStringLiteral("Current Column"));
        QCOMPARE(d.cmdFind()->text(), QStringLiteral("Find Next"));
        QCOMPARE(d.cmdCancel()->text(), QStringLiteral("Cancel"));
        QVERIFY(d.optSearch(1)->isChecked());
        QVERIFY(!d.cmdFind()->isEnabled());
    }

    void findNextNeedsNonBlankText_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("enabled");
        QTest::newRow("nothing") << "" << false;
        QTest::newRow("blanks-only") << "   " << false;
        QTest::newRow("letter-between-blanks") << "  a " << true;
        QTest::newRow("word") << "smith" << true;
    }

    void findNextNeedsNonBlankText()
    {
        QFETCH(QString, typed);
        QFETCH(bool, enabled);
        frmFind &d = open();
        QTest::keyClicks(d.Text1(), typed);
        QCOMPARE(d.cmdFind()->isEnabled(), enabled);
        if (enabled) {
            // Deleting the text disables it again.
            d.Text1()->selectAll();
            QTest::keyClick(d.Text1(), Qt::Key_Delete);
            QVERIFY(!d.cmdFind()->isEnabled());
        }
        // Neither a click nor Enter starts a search then.
        QTest::mouseClick(d.cmdFind(), Qt::LeftButton);
        QTest::keyClick(d.Text1(), Qt::Key_Return);
        QVERIFY(d.isVisible());
        QCOMPARE(searcher->FindText(), QString());
        QVERIFY(script->records().isEmpty());
    }

    void openingShowsTheLastSearch_data()
    {
        QTest::addColumn<bool>("inCol");
        QTest::addColumn<bool>("matchCase");
        QTest::newRow("current-column-match-case") << true << true;
        QTest::newRow("all-columns-any-case") << false << false;
    }

    void openingShowsTheLastSearch()
    {
        QFETCH(bool, inCol);
        QFETCH(bool, matchCase);
        searcher->setFindText(QStringLiteral("Smith"));
        searcher->setFindInCol(inCol);
        searcher->setMatchCase(matchCase);
        frmFind &d = open();
        QCOMPARE(d.Text1()->text(), QStringLiteral("Smith"));
        QCOMPARE(d.Text1()->selectedText(), QStringLiteral("Smith"));
        QVERIFY(d.cmdFind()->isEnabled());
        QCOMPARE(d.optSearch(0)->isChecked(), inCol);
        QCOMPARE(d.optSearch(1)->isChecked(), !inCol);
        QCOMPARE(d.chkCase()->isChecked(), matchCase);
    }

    // Opening records the start cell, so Find Next no longer only beeps.
    void openingRecordsTheStart()
    {
        searcher->setFindText(QStringLiteral("SMITH"));
        QVERIFY(!searcher->FindNext());
        QCOMPARE(input().beeps, 1);
        open();
        dialog->close();
        QVERIFY(searcher->FindNext());
        QCOMPARE(searcher->FoundRow(), 3);
        QCOMPARE(input().beeps, 1);
    }

    void optionsSetTheSearcher()
    {
        frmFind &d = open();
        clickBox(d.optSearch(0));
        QVERIFY(searcher->FindInCol());
        clickBox(d.optSearch(1));
        QVERIFY(!searcher->FindInCol());
        clickBox(d.chkCase());
        QVERIFY(searcher->MatchCase());
        clickBox(d.chkCase());
        QVERIFY(!searcher->MatchCase());
    }

    void foundClosesTheDialog_data()
    {
        QTest::addColumn<bool>("matchCase");
        QTest::addColumn<bool>("byEnter");
        QTest::addColumn<int>("foundRow");
        QTest::addColumn<int>("foundCol");
        QTest::newRow("any-case-by-click") << false << false << 3 << 1;
        QTest::newRow("any-case-by-enter") << false << true << 3 << 1;
        QTest::newRow("match-case-skips-upper") << true << false << 4 << 2;
    }

    void foundClosesTheDialog()
    {
        QFETCH(bool, matchCase);
        QFETCH(bool, byEnter);
        QFETCH(int, foundRow);
        QFETCH(int, foundCol);
        frmFind &d = open();
        if (matchCase)
            clickBox(d.chkCase());
        QTest::keyClicks(d.Text1(), QStringLiteral(" Smith "));
        if (byEnter)
            QTest::keyClick(d.Text1(), Qt::Key_Return);
        else
            QTest::mouseClick(d.cmdFind(), Qt::LeftButton);
        QVERIFY(!d.isVisible());
        QCOMPARE(d.result(), int(QDialog::Accepted));
        QCOMPARE(searcher->FindText(), QStringLiteral("Smith"));
        QVERIFY(searcher->Found());
        QCOMPARE(searcher->FoundRow(), foundRow);
        QCOMPARE(searcher->FoundCol(), foundCol);
        QVERIFY(script->records().isEmpty());
    }

    void notFoundStaysOpen()
    {
        frmFind &d = open();
        clickBox(d.optSearch(0));
        // In the current column only the current cell holds it.
        QTest::keyClicks(d.Text1(), QStringLiteral("jones"));
        script->answer("Ok");
        QTest::mouseClick(d.cmdFind(), Qt::LeftButton);
        QCOMPARE(script->records().size(), 1);
        QCOMPARE(script->records().first().prompt, QStringLiteral("The search text was not found"));
        QCOMPARE(script->records().first().title, QStringLiteral("Find"));
        QVERIFY(d.isVisible());
        QVERIFY(!searcher->Found());
        QCOMPARE(grid->Row(), 2);
        QCOMPARE(grid->Col(), 1);

        QTest::mouseClick(d.cmdCancel(), Qt::LeftButton);
        QVERIFY(!d.isVisible());
        QCOMPARE(d.result(), int(QDialog::Rejected));
    }
};

PELKAR_TEST(FindDialogTest)

namespace {

const QString kRefused = QStringLiteral(
    "The grid cannot be printed: a page of this printer cannot hold one row in the grid's "
    "font. Choose a smaller font or a larger paper size.");

// A grid of the given data rows (row 1 on), row 0 the column titles.
std::unique_ptr<FlexGrid> makePrintGrid(int dataRows, int pointSize = 10)
{
    auto grid = std::make_unique<FlexGrid>();
    grid->setFont(QFont(QStringLiteral("DejaVu Sans"), pointSize));
    grid->setRows(dataRows + 1);
    grid->setCols(4);
    const QStringList titles{"", "Surname", "Forenames", "District"};
    for (int c = 0; c < 4; ++c)
        grid->setTextMatrix(0, c, titles[c]);
    for (int r = 1; r <= dataRows; ++r) {
        grid->setTextMatrix(r, 0, QString::number(r));
        grid->setTextMatrix(r, 1, QStringLiteral("NAME%1").arg(r, 3, 10, QLatin1Char('0')));
        grid->setTextMatrix(r, 2, QStringLiteral("Ann"));
        grid->setTextMatrix(r, 3, QStringLiteral("Bath"));
    }
    grid->setColAlignment(0, 7);
    return grid;
}

// A PDF printer on a page without margins, so that the painter's origin
// is the page's corner.
std::unique_ptr<QPrinter> pdfPrinter(const QString &path, QPageSize::PageSizeId size)
{
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer->setOutputFormat(QPrinter::PdfFormat);
    printer->setOutputFileName(path);
    printer->setPageSize(QPageSize(size));
    printer->setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
    return printer;
}

// The text of each page, read by pdftotext; empty when it is missing.
QStringList pdfPages(const QString &path, const QStringList &options = {})
{
    QProcess p;
    p.start(QStringLiteral("pdftotext"), options + QStringList{path, QStringLiteral("-")});
    if (!p.waitForFinished(60000) || p.exitCode() != 0)
        return {};
    QStringList pages = QString::fromUtf8(p.readAllStandardOutput()).split(QLatin1Char('\f'));
    if (!pages.isEmpty() && pages.last().trimmed().isEmpty())
        pages.removeLast();
    return pages;
}

// Counted in the file itself, which needs no tool.
int pdfPageCount(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    const QString bytes = QString::fromLatin1(f.readAll());
    return int(bytes.count(QRegularExpression(QStringLiteral("/Type\\s*/Page(?![s\\w])"))));
}

} // namespace

class FlexPrintTest : public PelkarTest
{
    Q_OBJECT

protected:
    void setUpCase() override
    {
        ProgramObjects::createEvents();
        ProgramObjects::createProject();
        gProject->setIYear(1911);
        gProject->setQtr(3);
        gProject->setZelLetter(QStringLiteral("D"));
        gProject->setPage(QStringLiteral("12"));
    }

    void tearDownCase() override { QLocale::setDefault(QLocale::c()); }

    static bool havePdfToText()
    {
        return !QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty();
    }

private slots:
    void pageCount_data()
    {
        QTest::addColumn<int>("rowsToPrint");
        QTest::addColumn<int>("rowsPerPage");
        QTest::addColumn<int>("pages");
        QTest::newRow("21-row-grid-10-a-page") << 20 << 10 << 2;
        QTest::newRow("21-rows-to-print-10-a-page") << 21 << 10 << 3;
        QTest::newRow("exactly-one-page") << 10 << 10 << 1;
        QTest::newRow("one-row") << 1 << 10 << 1;
        QTest::newRow("no-row-fits") << 20 << 0 << 0;
    }

    void pageCount()
    {
        QFETCH(int, rowsToPrint);
        QFETCH(int, rowsPerPage);
        QFETCH(int, pages);
        QCOMPARE(FlexPrintLayout::pageCount(rowsToPrint, rowsPerPage), pages);
        // The pages take every row once, the last one the rest.
        int printed = 0;
        for (int p = 1; p <= pages; ++p) {
            QCOMPARE(FlexPrintLayout::firstRow(p, rowsPerPage), printed + 1);
            const int n = FlexPrintLayout::rowsOnPage(p, rowsPerPage, rowsToPrint);
            QVERIFY(n >= 1 && n <= rowsPerPage);
            printed += n;
        }
        QCOMPARE(printed, pages == 0 ? 0 : rowsToPrint);
    }

    void rowsPerPage_data()
    {
        QTest::addColumn<int>("pageHeight");
        QTest::addColumn<int>("rowHeight");
        QTest::addColumn<int>("headingHeight");
        QTest::addColumn<int>("rows");
        QTest::newRow("page-of-50-rows-less-title-row") << 15000 << 300 << 0 << 49;
        QTest::newRow("heading-of-three-rows") << 15000 << 300 << 900 << 46;
        QTest::newRow("heading-part-of-a-row-costs-a-row") << 15000 << 300 << 700 << 46;
        QTest::newRow("part-row-left-out") << 15290 << 300 << 0 << 49;
        QTest::newRow("half-row-left-out") << 14850 << 300 << 0 << 48;
        QTest::newRow("page-of-two-rows") << 600 << 300 << 0 << 1;
        QTest::newRow("title-row-only") << 500 << 300 << 0 << 0;
        QTest::newRow("heading-leaves-no-row") << 600 << 300 << 400 << 0;
        QTest::newRow("heading-taller-than-page") << 600 << 300 << 900 << -1;
        QTest::newRow("row-taller-than-page") << 300 << 500 << 0 << 0;
    }

    void rowsPerPage()
    {
        QFETCH(int, pageHeight);
        QFETCH(int, rowHeight);
        QFETCH(int, headingHeight);
        QFETCH(int, rows);
        QCOMPARE(FlexPrintLayout::rowsPerPage(pageHeight, rowHeight, headingHeight), rows);
    }

    void columnWidths_data()
    {
        QTest::addColumn<QList<double>>("widest");
        QTest::addColumn<int>("pageWidth");
        QTest::addColumn<QList<int>>("widths");
        QTest::newRow("narrow-grid-widened-evenly-to-half-page")
            << QList<double>{300, 400, 500} << 12000 << QList<int>{1900, 2000, 2100};
        QTest::newRow("wide-grid-kept") << QList<double>{3000, 4000} << 12000
                                        << QList<int>{3050, 4050};
        QTest::newRow("exactly-half-kept") << QList<double>{2950, 2950} << 12000
                                           << QList<int>{3000, 3000};
        QTest::newRow("share-to-nearest-twip") << QList<double>{100, 100, 100} << 1000
                                               << QList<int>{167, 167, 167};
        QTest::newRow("measured-fractions-rounded") << QList<double>{120.4, 120.6} << 100
                                                    << QList<int>{170, 171};
    }

    void columnWidths()
    {
        QFETCH(QList<double>, widest);
        QFETCH(int, pageWidth);
        QFETCH(QList<int>, widths);
        QCOMPARE(FlexPrintLayout::columnWidths(widest, pageWidth), widths);
    }

    // Measured with 100 twips a character, so that the widest text of each
    // column shows: the title row counts, and every text gets one "x".
    void widestTextsIncludeTheTitleRow()
    {
        FlexGrid grid;
        grid.setRows(3);
        grid.setCols(3);
        grid.setTextMatrix(0, 1, QStringLiteral("Surname"));
        grid.setTextMatrix(1, 1, QStringLiteral("SMITH"));
        grid.setTextMatrix(0, 2, QStringLiteral("X"));
        grid.setTextMatrix(2, 2, QStringLiteral("Elizabeth"));
        const QList<double> widest = FlexPrintLayout::widestTexts(
            grid, [](const QString &text) { return 100.0 * text.size(); });
        QCOMPARE(widest, (QList<double>{100, 800, 1000}));
    }

    void heading_data()
    {
        QTest::addColumn<int>("year");
        QTest::addColumn<int>("quarter");
        QTest::addColumn<QString>("letter");
        QTest::addColumn<QString>("page");
        QTest::addColumn<QString>("text");
        QTest::newRow("deaths") << 1911 << 3 << "D" << "12" << "1911 Q3 Deaths  Page 12";
        QTest::newRow("births") << 1874 << 1 << "B" << "3A" << "1874 Q1 Births  Page 3A";
        QTest::newRow("marriages") << 1950 << 4 << "M" << "101" << "1950 Q4 Marriages  Page 101";
    }

    void heading()
    {
        QFETCH(int, year);
        QFETCH(int, quarter);
        QFETCH(QString, letter);
        QFETCH(QString, page);
        QFETCH(QString, text);
        QCOMPARE(FlexPrintLayout::heading(year, quarter, letter, page), text);
    }

    void printedOnLine_data()
    {
        QTest::addColumn<QDate>("today");
        QTest::addColumn<int>("page");
        QTest::addColumn<int>("pages");
        QTest::addColumn<QString>("text");
        QTest::newRow("first-of-two")
            << QDate(2026, 3, 14) << 1 << 2 << "Printed on 14/Mar/2026     Page 1 of 2";
        QTest::newRow("one-digit-day") << QDate(2026, 1, 5) << 3 << 3
                                       << "Printed on 5/Jan/2026     Page 3 of 3";
    }

    void printedOnLine()
    {
        QFETCH(QDate, today);
        QFETCH(int, page);
        QFETCH(int, pages);
        QFETCH(QString, text);
        // English month names whatever the transcriber's language.
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        QCOMPARE(FlexPrintLayout::printedOn(today, page, pages), text);
    }

    void printsPagesToPdf()
    {
        const QString path = homePath("grid.pdf");
        auto printer = pdfPrinter(path, QPageSize::A6);
        const auto grid = makePrintGrid(70);
        clsFlexPrint print;
        print.setTitle(true);
        QVERIFY(print.PrintGrid(*grid, printer.get()));
        QVERIFY(script->records().isEmpty());

        const int pages = print.lastPageCount();
        QVERIFY2(pages >= 2, "the fixture must need several pages");
        QCOMPARE(pdfPageCount(path), pages);
        // Half an A6 page at least.
        QVERIFY(print.lastGridWidth() >= 5953 / 2);

        if (!havePdfToText())
            QSKIP("pdftotext is not installed");
        // In layout mode, so that each printed line stays one line.
        const QStringList texts = pdfPages(path, {QStringLiteral("-layout")});
        QCOMPARE(texts.size(), pages);
        QStringList rowsSeen;
        const QRegularExpression name(QStringLiteral("NAME\\d{3}"));
        for (int p = 1; p <= pages; ++p) {
            const QStringList lines = texts[p - 1].split(QLatin1Char('\n'), Qt::SkipEmptyParts);
            QVERIFY(lines.size() >= 3);
            QCOMPARE(lines[0].simplified(), QStringLiteral("1911 Q3 Deaths Page 12"));
            QCOMPARE(lines[1].simplified(),
                     QStringLiteral("Printed on 14/Mar/2026 Page %1 of %2").arg(p).arg(pages));
            QVERIFY2(lines[2].contains(QLatin1String("Surname"))
                         && lines[2].contains(QLatin1String("District")),
                     qPrintable(lines[2]));
            int onPage = 0;
            for (auto it = name.globalMatch(texts[p - 1]); it.hasNext(); ++onPage)
                rowsSeen << it.next().captured();
            if (p < pages)
                QCOMPARE(onPage, print.lastRowsPerPage());
            else
                QVERIFY(onPage >= 1 && onPage <= print.lastRowsPerPage());
        }
        QStringList expected;
        for (int r = 1; r <= 70; ++r)
            expected << grid->TextMatrix(r, 1);
        QCOMPARE(rowsSeen, expected);
    }

    // The heading starts 500 twips (25 points) in; the "Printed on" line
    // ends where the page grid ends.
    void headingLinesArePlaced()
    {
        if (!havePdfToText())
            QSKIP("pdftotext is not installed");
        const QString path = homePath("placed.pdf");
        auto printer = pdfPrinter(path, QPageSize::A5);
        const auto grid = makePrintGrid(5);
        clsFlexPrint print;
        print.setTitle(true);
        QVERIFY(print.PrintGrid(*grid, printer.get()));
        const QStringList html = pdfPages(path, {QStringLiteral("-bbox")});
        QVERIFY(!html.isEmpty());
        const QRegularExpression word(QStringLiteral(
            "<word xMin=\"([\\d.]+)\" yMin=\"[\\d.]+\" xMax=\"([\\d.]+)\" yMax=\"[\\d.]+\">([^<]*)</word>"));
        QList<QRegularExpressionMatch> words;
        for (auto it = word.globalMatch(html.join(QString())); it.hasNext();)
            words << it.next();
        QVERIFY(words.size() > 12);
        QCOMPARE(words[0].captured(3), QStringLiteral("1911"));
        QVERIFY(qAbs(words[0].captured(1).toDouble() - 25.0) < 1.5);
        // "Printed on 14/Mar/2026 Page 1 of 1": the line's last word.
        int last = -1;
        for (int i = 0; i < words.size(); ++i) {
            if (words[i].captured(3) == QLatin1String("of")) {
                last = i + 1;
                break;
            }
        }
        QVERIFY(last > 0 && last < words.size());
        QCOMPARE(words[last].captured(3), QStringLiteral("1"));
        const double gridRight = (500 + print.lastGridWidth()) / 20.0;
        QVERIFY2(qAbs(words[last].captured(2).toDouble() - gridRight) < 1.5,
                 qPrintable(QStringLiteral("ends at %1, grid at %2")
                                .arg(words[last].captured(2)).arg(gridRight)));
    }

    void withoutTitleNoHeading()
    {
        const QString path = homePath("plain.pdf");
        auto printer = pdfPrinter(path, QPageSize::A5);
        const auto grid = makePrintGrid(5);
        clsFlexPrint print;
        QVERIFY(print.PrintGrid(*grid, printer.get()));
        QCOMPARE(pdfPageCount(path), 1);
        if (!havePdfToText())
            QSKIP("pdftotext is not installed");
        const QStringList texts = pdfPages(path);
        QCOMPARE(texts.size(), 1);
        QVERIFY(!texts[0].contains(QLatin1String("Printed on")));
        QVERIFY(!texts[0].contains(QLatin1String("1911")));
        QVERIFY(texts[0].contains(QLatin1String("NAME005")));
    }

    void titleRowOnlyPrintsNothing()
    {
        const QString path = homePath("empty.pdf");
        auto printer = pdfPrinter(path, QPageSize::A5);
        const auto grid = makePrintGrid(0);
        clsFlexPrint print;
        print.setTitle(true);
        QVERIFY(print.PrintGrid(*grid, printer.get()));
        QCOMPARE(print.lastPageCount(), 0);
        QVERIFY(!QFile::exists(path));
    }

    void pageTooSmallForOneRowIsRefused_data()
    {
        QTest::addColumn<bool>("title");
        QTest::newRow("with-heading") << true;
        QTest::newRow("without-heading") << false;
    }

    void pageTooSmallForOneRowIsRefused()
    {
        QFETCH(bool, title);
        const QString path = homePath("refused.pdf");
        auto printer = pdfPrinter(path, QPageSize::A7);
        const auto grid = makePrintGrid(3, 200);
        clsFlexPrint print;
        print.setTitle(title);
        script->answer("Ok");
        QVERIFY(!print.PrintGrid(*grid, printer.get()));
        QCOMPARE(script->records().size(), 1);
        QCOMPARE(script->records().first().prompt, kRefused);
        QCOMPARE(script->records().first().title, QStringLiteral("Pelkar"));
        QVERIFY(!QFile::exists(path));
    }
};

PELKAR_TEST(FlexPrintTest)
#include "tst_FindPrint.moc"
