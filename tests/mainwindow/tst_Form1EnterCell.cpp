// The cell-entry loop as the transcriber meets it: each move of the grid's
// current cell (keys in the entry box, clicks on the grid) checks the cell
// left and lays the right entry box over the new cell; a refused cell keeps
// the box; a typed surname reaches the grid and, once its row is left, the
// work file.

#include "MainWindowFixture.h"

#include "core/clsEvents.h"
#include "entry/FlexGrid.h"
#include "entry/FlexGridView.h"
#include "entry/RichTextBox.h"
#include "entry/RichTextView.h"
#include "mainwindow/ShowStatus.h"
#include "transcription/clsWorkFile.h"

#include <QFile>
#include <QHeaderView>
#include <QMenu>
#include <QScrollBar>
#include <QTest>

namespace {

QString readAll(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromLatin1(file.readAll());
}

} // namespace

class tst_Form1EnterCell : public MainWindowFixture
{
    Q_OBJECT

    // The grid cell's rectangle on the window's central widget.
    QRect cellRect(int row, int col) const
    {
        FlexGridView *view = window->gridView();
        const QRect r = view->visualRect(view->model()->index(row, col));
        return QRect(view->viewport()->mapTo(window->centralWidget(), r.topLeft()), r.size());
    }

    void clickCell(int row, int col)
    {
        FlexGridView *view = window->gridView();
        if (row == 0) {
            QHeaderView *titles = view->horizontalHeader();
            QTest::mouseClick(titles->viewport(), Qt::LeftButton, {},
                              QPoint(titles->sectionViewportPosition(col) + 5,
                                     titles->height() / 2));
            return;
        }
        const QRect r = view->visualRect(view->model()->index(row, col));
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, r.center());
    }

    // The one entry box on view ("" when none).
    QString shownBox() const
    {
        QStringList shown;
        for (RichTextView *v :
             {window->rtb1View(), window->tbForeNameView(), window->tbDistrictView()}) {
            if (v->isVisibleTo(window.get()))
                shown << v->objectName();
        }
        return shown.join(u',');
    }

    QWidget *shownBoxView() const
    {
        for (RichTextView *v :
             {window->rtb1View(), window->tbForeNameView(), window->tbDistrictView()}) {
            if (v->isVisibleTo(window.get()))
                return v;
        }
        return nullptr;
    }

private slots:
    // Started: the general box lies over the first entry's surname, ready
    // for typing, with the surname's help topic.
    void firstBoxIsOverTheFirstCell()
    {
        startWindow();
        FlexGrid &grid = window->fgInput();
        QCOMPARE(grid.Row(), 2);
        QCOMPARE(grid.Col(), 1);
        QCOMPARE(shownBox(), QStringLiteral("rtb1"));
        QCOMPARE(window->rtb1().Text(), QStringLiteral("ABBOT"));
        QVERIFY(window->rtb1View()->geometry().contains(cellRect(2, 1).center()));
        QCOMPARE(window->rtb1View()->property("HelpContextID").toInt(), 6135);
        QCOMPARE(window->CurrentRow(), 1);
    }

    void moves_data()
    {
        QTest::addColumn<int>("fromRow");
        QTest::addColumn<int>("fromCol");
        // "click:r,c" on the grid, or a key typed into the shown box.
        QTest::addColumn<QString>("action");
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("col");
        QTest::addColumn<QString>("box");

        QTest::newRow("tab-surname-to-forenames") << 2 << 1 << "Tab" << 2 << 2 << "tbForeName";
        QTest::newRow("enter-surname-to-forenames") << 2 << 1 << "Return" << 2 << 2 << "tbForeName";
        QTest::newRow("down-to-next-row") << 2 << 1 << "Down" << 3 << 1 << "rtb1";
        QTest::newRow("up-from-first-entry-stays") << 2 << 1 << "Up" << 2 << 1 << "rtb1";
        QTest::newRow("tab-page-to-next-row") << 2 << 4 << "Tab" << 3 << 1 << "rtb1";
        QTest::newRow("click-district") << 2 << 1 << "click:4,3" << 4 << 3 << "tbDistrict";
        QTest::newRow("click-forenames") << 2 << 1 << "click:5,2" << 5 << 2 << "tbForeName";
        QTest::newRow("click-page") << 3 << 1 << "click:5,4" << 5 << 4 << "rtb1";
        // "+" and "#" lines are edited in column 1 only.
        QTest::newRow("click-page-line-col-2") << 2 << 1 << "click:7,2" << 7 << 1 << "rtb1";
        QTest::newRow("click-comment-line-col-3") << 2 << 1 << "click:10,3" << 10 << 1 << "rtb1";
        // The batch's first "+PAGE" line is never entered.
        QTest::newRow("click-first-page-line") << 3 << 1 << "click:1,2" << 3 << 1 << "rtb1";
        QTest::newRow("click-titles") << 3 << 1 << "click:0,2" << 3 << 1 << "rtb1";
    }

    void moves()
    {
        QFETCH(int, fromRow);
        QFETCH(int, fromCol);
        QFETCH(QString, action);
        QFETCH(int, row);
        QFETCH(int, col);
        QFETCH(QString, box);
        startWindow();
        FlexGrid &grid = window->fgInput();
        grid.setRowCol(fromRow, fromCol);
        QCOMPARE(grid.Row(), fromRow);
        QCOMPARE(grid.Col(), fromCol);

        if (action.startsWith(QLatin1String("click:"))) {
            const QStringList rc = action.mid(6).split(u',');
            clickCell(rc.at(0).toInt(), rc.at(1).toInt());
        } else {
            QWidget *target = shownBoxView();
            QVERIFY(target);
            const Qt::Key key = action == QLatin1String("Tab")      ? Qt::Key_Tab
                                : action == QLatin1String("Return") ? Qt::Key_Return
                                : action == QLatin1String("Down")   ? Qt::Key_Down
                                                                    : Qt::Key_Up;
            QTest::keyClick(target, key);
        }
        QCOMPARE(grid.Row(), row);
        QCOMPARE(grid.Col(), col);
        QCOMPARE(gCurrentRow, row);
        QCOMPARE(gCurrentCol, col);
        QCOMPARE(shownBox(), box);
        QWidget *shown = shownBoxView();
        QVERIFY(shown->geometry().contains(cellRect(row, col).center()));
        QVERIFY(shown->hasFocus() || !window->isActiveWindow());
    }

    // A surname that may not be left keeps the box on it, says why, and
    // its row is not written to the work file.
    void invalidCellIsRefused()
    {
        startWindow();
        FlexGrid &grid = window->fgInput();
        const QString workBefore = readAll(clsWorkFile::WorkFilePath());
        {
            EventsOffGuard quiet;
            grid.setTextMatrix(2, 1, QStringLiteral("AB+BOT"));
        }
        clickCell(4, 1);
        QCOMPARE(grid.Row(), 2);
        QCOMPARE(grid.Col(), 1);
        QCOMPARE(gCurrentRow, 2);
        QCOMPARE(shownBox(), QStringLiteral("rtb1"));
        QVERIFY(window->rtb1View()->geometry().contains(cellRect(2, 1).center()));
        QCOMPARE(window->gShowStatus()->message(),
                 QStringLiteral("Invalid Surname: + Must be 1st char"));
        QCOMPARE(readAll(clsWorkFile::WorkFilePath()), workBefore);
    }

    // The transcriber types at once after the start: the surname goes into
    // the grid cell, and into the work file once the row is left.
    void typedSurnameReachesGridAndWorkFile()
    {
        startWindow();
        FlexGrid &grid = window->fgInput();
        QWidget *box = shownBoxView();
        QCOMPARE(box, static_cast<QWidget *>(window->rtb1View()));
        window->rtb1().setText(QString()); // the box writes the cell as it changes
        QCOMPARE(grid.TextMatrix(2, 1), QString());
        QTest::keyClicks(box, QStringLiteral("ADAMS"));
        QTest::keyClick(box, Qt::Key_Tab);
        // Cased by the surname column's rule (capital first).
        QCOMPARE(grid.TextMatrix(2, 1), QStringLiteral("Adams"));
        QCOMPARE(grid.Row(), 2);
        QCOMPARE(grid.Col(), 2);
        QCOMPARE(shownBox(), QStringLiteral("tbForeName"));
        // Moving within the row writes nothing yet.
        QVERIFY(!readAll(clsWorkFile::WorkFilePath()).contains(QLatin1String("Adams")));

        clickCell(3, 1);
        QCOMPARE(grid.Row(), 3);
        const QString work = readAll(clsWorkFile::WorkFilePath());
        QVERIFY(work.contains(QLatin1String("Adams")));
    }

    // The ruler follows the entry rows crossed, "+" and "#" lines not
    // counted; into the first entry it goes home (0); within a row, never.
    void rulerFollowsRows_data()
    {
        QTest::addColumn<int>("fromRow");
        QTest::addColumn<int>("fromCol");
        QTest::addColumn<int>("toRow");
        QTest::addColumn<int>("toCol");
        QTest::addColumn<QString>("calls");
        QTest::newRow("down-three") << 2 << 1 << 5 << 1 << "Ruler3";
        QTest::newRow("over-a-page-line") << 6 << 1 << 8 << 1 << "Ruler1";
        QTest::newRow("over-a-comment-line") << 9 << 1 << 11 << 1 << "Ruler1";
        QTest::newRow("up-two") << 5 << 1 << 3 << 1 << "Ruler-2";
        QTest::newRow("home-to-first-entry") << 4 << 1 << 2 << 1 << "Ruler0";
        QTest::newRow("same-row") << 3 << 1 << 3 << 4 << "";
    }

    void rulerFollowsRows()
    {
        QFETCH(int, fromRow);
        QFETCH(int, fromCol);
        QFETCH(int, toRow);
        QFETCH(int, toCol);
        QFETCH(QString, calls);
        startWindow();
        gProject->setAutoMoveRuler(true);
        window->fgInput().setRowCol(fromRow, fromCol);
        scan.calls.clear();
        clickCell(toRow, toCol);
        QCOMPARE(window->fgInput().Row(), toRow);
        QCOMPARE(scan.calls.join(u','), calls);
    }

    // Leaving the "+PAGE" line gives it back its colours.
    void pageLineLeftIsRecoloured()
    {
        startWindow();
        FlexGrid &grid = window->fgInput();
        grid.setRowCol(7, 1);
        {
            EventsOffGuard quiet;
            grid.setCellBackColorAt(7, 1, 0x0000FF);
            grid.setCellBackColorAt(7, 3, 0x0000FF);
        }
        clickCell(8, 1);
        QCOMPARE(grid.Row(), 8);
        grid.setRowCol(7, 1); // events pass; the cell is read back below
        QCOMPARE(grid.CellBackColor(), Transcription::kHeaderGreen);
        {
            EventsOffGuard quiet;
            grid.setCol(3);
        }
        QCOMPARE(grid.CellBackColor(), Transcription::kWhite);
    }

    // On a deaths batch with the age ignored, the age column is stepped
    // over in the direction of travel.
    void ageColumnSteppedOver_data()
    {
        QTest::addColumn<int>("fromCol");
        QTest::addColumn<int>("col");
        QTest::newRow("rightwards-to-district") << 2 << 4;
        QTest::newRow("leftwards-to-forenames") << 5 << 2;
    }

    void ageColumnSteppedOver()
    {
        QFETCH(int, fromCol);
        QFETCH(int, col);
        startWindow();
        const QString deaths = QDir(gProject->SavePath()).filePath(QStringLiteral("1950D1E0201.ZEL"));
        QFile::remove(deaths);
        QVERIFY(QFile::copy(QDir(QStringLiteral(PELKAR_FIXTURES))
                                .filePath(QStringLiteral("batch-deaths-age-film/input.ZEL")),
                            deaths));
        QVERIFY(QFile::setPermissions(deaths, QFile::ReadOwner | QFile::WriteOwner));
        QVERIFY(gTranscription->Restore(deaths));
        window->SetUpMainForm();
        QVERIFY(gProject->bDeath());
        QCOMPARE(gTranscription->AaDCol(), 3);
        gProject->setIgnoreAaD(true);
        FlexGrid &grid = window->fgInput();
        grid.setRowCol(2, fromCol);
        clickCell(2, 3);
        QCOMPARE(grid.Col(), col);
        QCOMPARE(gCurrentCol, col);
        QWidget *shown = shownBoxView();
        QVERIFY(shown);
        QVERIFY(shown->geometry().contains(cellRect(2, col).center()));
    }

    // A right click on a cell moves there and pops up the cell menu; on a
    // row label the row menu; either keeps the box over the cell.
    void rightClickPopsUpTheMenus_data()
    {
        QTest::addColumn<int>("col");
        QTest::addColumn<bool>("cellMenu");
        QTest::newRow("cell") << 1 << true;
        QTest::newRow("row-label") << 0 << false;
    }

    void rightClickPopsUpTheMenus()
    {
        QFETCH(int, col);
        QFETCH(bool, cellMenu);
        startWindow();
        FlexGridView *view = window->gridView();
        QPoint at;
        QWidget *target = view->viewport();
        if (col == 0) {
            target = view->verticalHeader()->viewport();
            at = QPoint(5, view->verticalHeader()->sectionViewportPosition(4) + 3);
        } else {
            at = view->visualRect(view->model()->index(4, col)).center();
        }
        QTest::mouseClick(target, Qt::RightButton, {}, at);
        QCOMPARE(window->fgInput().Row(), 4);
        QCOMPARE(gCurrentRow, 4);
        QCOMPARE(shownBox(), QStringLiteral("rtb1"));
        QMenu *shown = cellMenu ? window->CellPopup() : window->RowPopup();
        QMenu *other = cellMenu ? window->RowPopup() : window->CellPopup();
        QVERIFY(shown->isVisible());
        QVERIFY(!other->isVisible());
        shown->hide();
    }

    // The side scroll bar: a step moves the current row with it; dragging
    // the thumb only scrolls the view.
    void scrollBarMovesOrScrolls()
    {
        startWindow();
        FlexGrid &grid = window->fgInput();
        QScrollBar *bar = window->VScroll1();
        bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        QCOMPARE(grid.Row(), 3);
        QCOMPARE(gCurrentRow, 3);
        QCOMPARE(shownBox(), QStringLiteral("rtb1"));

        bar->setSliderDown(true);
        bar->setSliderPosition(8);
        bar->setSliderDown(false);
        QCOMPARE(grid.Row(), 3);
        QCOMPARE(gCurrentRow, 3);
    }
};

PELKAR_TEST(tst_Form1EnterCell)
#include "tst_Form1EnterCell.moc"
