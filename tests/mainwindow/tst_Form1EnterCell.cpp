// The cell-entry loop as the transcriber meets it: each move of the grid's
// current cell (keys in the entry box, clicks on the grid) checks the cell
// left and lays the right entry box over the new cell; a refused cell keeps
// the box; a typed surname reaches the grid and, once its row is left, the
// work file.

#include "MainWindowFixture.h"

#include "core/FormRegistry.h"
#include "core/Services.h"
#include "core/clsEvents.h"
#include "entry/FlexGrid.h"
#include "entry/FlexGridView.h"
#include "entry/RichTextBox.h"
#include "entry/RichTextView.h"
#include "lists/frmPickList.h"
#include "mainwindow/ShowStatus.h"
#include "mainwindow/clsTressel.h"
#include "transcription/clsWorkFile.h"

#include <QAction>
#include <QFile>
#include <QHeaderView>
#include <QMenu>
#include <QScrollBar>
#include <QSettings>
#include <QTest>

namespace {

QString readAll(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromLatin1(file.readAll());
}

// A companion value as the companion reads it from the per-user file.
QString companionValue(const QString &key)
{
    const QString app = QStringLiteral("Pelkar");
    QSettings raw(QSettings(QSettings::IniFormat, QSettings::UserScope, app, app).fileName(),
                  QSettings::IniFormat);
    return raw.value(clsTressel::section() + u'/' + key, QStringLiteral("<none>")).toString();
}

frmPickList *pickList()
{
    return qobject_cast<frmPickList *>(FindForm(QStringLiteral("frmPickList")));
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

    // The pick list hangs under the district box; where the screen ends
    // too close below, it goes above the box instead, unless it would then
    // leave the screen's top.
    void pickListUnderOrAboveTheBox_data()
    {
        QTest::addColumn<int>("windowTop");
        // Screen pixels left under the cell beyond the list's own height.
        QTest::addColumn<int>("roomBelow");
        QTest::addColumn<bool>("above");
        QTest::newRow("room-below") << 400 << 200 << false;
        QTest::newRow("screen-ends-below") << 400 << 10 << true;
        QTest::newRow("no-room-above-either") << 0 << 10 << false;
    }

    void pickListUnderOrAboveTheBox()
    {
        QFETCH(int, windowTop);
        QFETCH(int, roomBelow);
        QFETCH(bool, above);
        startWindow();
        gProject->setDistPick(true);
        gProject->setDropDownPick(true);
        window->move(0, windowTop);
        frmPickList *pick = pickList();
        QVERIFY(pick);
        FlexGridView *view = window->gridView();
        const int districtCol = gTranscription->DistrictCol();
        const QRect local = view->visualRect(view->model()->index(4, districtCol));
        const QRect cell(view->viewport()->mapToGlobal(local.topLeft()), local.size());
        const int height = pick->frameGeometry().height();
        QVERIFY(cell.top() < height + 50 ? windowTop == 0 : windowTop > 0);
        auto &screen = static_cast<ScriptedScreen &>(Services::screen());
        screen.rect = QRect(0, 0, 1920, cell.bottom() + 1 + height + roomBelow);

        clickCell(4, districtCol);
        QCOMPARE(shownBox(), QStringLiteral("tbDistrict"));
        QVERIFY(pick->isVisible());
        const QRect placed = pick->frameGeometry();
        // The grid's own cell rectangle and the one the list is placed by
        // may differ by the rounding of a pixel.
        const int edge = above ? placed.bottom() + 1 : placed.top();
        const int expected = above ? cell.top() : cell.bottom() + 1;
        QVERIFY2(std::abs(edge - expected) <= 2,
                 qPrintable(QStringLiteral("list edge %1, cell edge %2").arg(edge).arg(expected)));
        QVERIFY(std::abs(placed.left() - cell.left()) <= 2);
    }

    // A click in the side scroll bar's track moves a page of rows, the
    // current cell with it; at the ends it stops at the first entry or the
    // last row.
    void scrollBarTrackMovesAPage_data()
    {
        QTest::addColumn<int>("fromRow");
        QTest::addColumn<bool>("down");
        QTest::newRow("page-down") << 2 << true;
        QTest::newRow("page-up") << 40 << false;
    }

    void scrollBarTrackMovesAPage()
    {
        QFETCH(int, fromRow);
        QFETCH(bool, down);
        startWindow();
        // More entries than a page shows.
        QFile file(batch);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QList<QByteArray> lines = file.readAll().split('\n').mid(0, 5);
        file.close();
        for (int i = 0; i < 60; ++i)
            lines << QByteArray("ABBOT,Ann,Ashford,2a,12\r");
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(lines.join('\n') + '\n');
        file.close();
        QVERIFY(gTranscription->Restore(batch));
        window->SetUpMainForm();
        FlexGrid &grid = window->fgInput();
        grid.setRowCol(fromRow, 1);
        const int page = gTranscription->RowsVisible();
        QVERIFY2(page >= 2 && page < grid.Rows() - 4, qPrintable(QString::number(page)));
        const int top = grid.TopRow();
        const int expected = std::clamp(down ? top + page : top - page, 2, grid.Rows() - 1);
        QVERIFY(std::abs(expected - fromRow) >= 2);

        QScrollBar *bar = window->VScroll1();
        bar->setPageStep(page);
        bar->triggerAction(down ? QAbstractSlider::SliderPageStepAdd
                                : QAbstractSlider::SliderPageStepSub);
        QCOMPARE(grid.Row(), expected);
        QCOMPARE(gCurrentRow, expected);
        QCOMPARE(shownBox(), QStringLiteral("rtb1"));
        QVERIFY(grid.RowIsVisible(expected));
        QVERIFY(window->rtb1View()->geometry().contains(cellRect(expected, 1).center()));
    }

    // A cell entered holding a character no column of its kind takes is
    // flagged in the status bar with a beep; on a comment line, not.
    void unusualCharacterWarned_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("col");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("warned");
        QTest::newRow("surname-with-at") << 3 << 1 << "ABB@T" << true;
        QTest::newRow("page-with-slash") << 3 << 4 << "12/3" << false;
        QTest::newRow("district-with-ampersand") << 3 << 3 << "Leeds & Bath" << false;
        QTest::newRow("surname-with-ampersand") << 3 << 1 << "ABB&T" << true;
        QTest::newRow("comment-line") << 10 << 1 << "# torn @ corner" << false;
    }

    void unusualCharacterWarned()
    {
        QFETCH(int, row);
        QFETCH(int, col);
        QFETCH(QString, text);
        QFETCH(bool, warned);
        startWindow();
        gProject->setBeepit(true);
        FlexGrid &grid = window->fgInput();
        {
            EventsOffGuard quiet;
            grid.setTextMatrix(row, col, text);
        }
        input().beeps = 0;
        clickCell(row, col);
        QCOMPARE(grid.Row(), row);
        QCOMPARE(gCurrentCol, col);
        QCOMPARE(window->gShowStatus()->message() == QLatin1String("Unusual Character"), warned);
        QCOMPARE(input().beeps, warned ? 1 : 0);
    }

    // "Do not validate" offers itself for the district and page cells, its
    // caption naming which, ticked when that row's value was let through
    // unvalidated; elsewhere it is off.
    void validateEntryItemFollowsTheCell_data()
    {
        QTest::addColumn<int>("col");
        QTest::addColumn<bool>("letThrough");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<bool>("enabled");
        QTest::addColumn<bool>("ticked");
        const QString district = QStringLiteral("Do Not Validate this District");
        const QString page = QStringLiteral("Do Not Validate this Page Number");
        QTest::newRow("district") << 3 << false << district << true << false;
        QTest::newRow("district-let-through") << 3 << true << district << true << true;
        QTest::newRow("page") << 4 << false << page << true << false;
        QTest::newRow("page-let-through") << 4 << true << page << true << true;
        QTest::newRow("forenames") << 2 << true << QString() << false << false;
    }

    void validateEntryItemFollowsTheCell()
    {
        QFETCH(int, col);
        QFETCH(bool, letThrough);
        QFETCH(QString, caption);
        QFETCH(bool, enabled);
        QFETCH(bool, ticked);
        startWindow();
        QAction *item = window->MenuItem(QStringLiteral("mnuValidateEntry"));
        QVERIFY(item);
        // Left ticked by the cell before, to see the move put it right.
        item->setEnabled(true);
        item->setChecked(!ticked);
        if (letThrough) {
            gTranscription->SetDistrictNotValidated(5);
            gTranscription->SetPageNotValidated(5);
        }
        QCOMPARE(gProject->DistValidate(), !letThrough);
        clickCell(5, col);
        QCOMPARE(window->fgInput().Col(), col);
        if (!caption.isEmpty())
            QCOMPARE(item->text(), caption);
        QCOMPARE(item->isEnabled(), enabled);
        QCOMPARE(item->isChecked(), ticked);
        // Entering its cell turns checking back on for new entries.
        if (col == 3)
            QVERIFY(gProject->DistValidate());
        if (col == 4)
            QVERIFY(gProject->PageValidate());
    }

    // The companion is told the row left and the row entered (district and
    // page); within a row, only on coming to the page.
    void companionFollowsTheRows_data()
    {
        QTest::addColumn<int>("toRow");
        QTest::addColumn<int>("toCol");
        QTest::addColumn<QString>("oldRow");
        QTest::addColumn<QString>("district");
        QTest::newRow("next-row") << 3 << 1 << "6,Ashford,2a,12" << "Leeds, West,9b,12";
        QTest::newRow("page-cell-same-row") << 2 << 4 << "<none>" << "Ashford,2a,12";
        QTest::newRow("forename-same-row") << 2 << 2 << "<none>" << "<none>";
    }

    void companionFollowsTheRows()
    {
        QFETCH(int, toRow);
        QFETCH(int, toCol);
        QFETCH(QString, oldRow);
        QFETCH(QString, district);
        startWindow();
        QVERIFY(gTressel);
        gTressel->flush(); // what the start-up wrote, out of the way
        {
            QSettings raw(QSettings(QSettings::IniFormat, QSettings::UserScope,
                                    QStringLiteral("Pelkar"), QStringLiteral("Pelkar"))
                              .fileName(),
                          QSettings::IniFormat);
            raw.remove(clsTressel::section() + QStringLiteral("/OldRow"));
            raw.remove(clsTressel::section() + QStringLiteral("/District"));
        }
        clickCell(toRow, toCol);
        QCOMPARE(window->fgInput().Row(), toRow);
        QCOMPARE(window->fgInput().Col(), toCol);
        gTressel->flush();
        QCOMPARE(companionValue(QStringLiteral("OldRow")), oldRow);
        QCOMPARE(companionValue(QStringLiteral("District")), district);
    }

    // A move that is refused beeps when beeping is on: onto the batch's
    // first "+PAGE" line, or away from a cell that may not be left.
    void refusedMoveBeeps_data()
    {
        QTest::addColumn<QString>("surname");
        QTest::addColumn<int>("clickRow");
        QTest::addColumn<bool>("beepit");
        QTest::addColumn<int>("beeps");
        QTest::newRow("first-page-line") << "ABBOT" << 1 << true << 1;
        QTest::newRow("invalid-cell-quiet") << "AB+BOT" << 4 << false << 0;
        QTest::newRow("first-page-line-quiet") << "ABBOT" << 1 << false << 0;
        // The check beeps with its message, the refusal once more.
        QTest::newRow("invalid-cell") << "AB+BOT" << 4 << true << 2;
        QTest::newRow("accepted-move") << "ABBOT" << 4 << true << 0;
    }

    void refusedMoveBeeps()
    {
        QFETCH(QString, surname);
        QFETCH(int, clickRow);
        QFETCH(bool, beepit);
        QFETCH(int, beeps);
        startWindow();
        gProject->setBeepit(beepit);
        FlexGrid &grid = window->fgInput();
        {
            EventsOffGuard quiet;
            grid.setTextMatrix(2, 1, surname);
        }
        input().beeps = 0;
        clickCell(clickRow, 2);
        QCOMPARE(input().beeps, beeps);
        const bool refused = clickRow == 1 || surname.contains(u'+');
        QCOMPARE(grid.Row(), refused ? 2 : clickRow);
        QCOMPARE(gCurrentRow, grid.Row());
        QVERIFY(window->rtb1View()->isVisibleTo(window.get()) || clickRow != 1);
    }

    // Shift inverts the case rule for the letter typed with it, and only
    // that letter: what the keyboard says by the time the letter is handled
    // (Shift already let go, or already down for the next capital) must not
    // case it.
    void shiftCasesOnlyItsOwnLetter_data()
    {
        QTest::addColumn<QString>("mode");
        // A letter after "^" is typed with Shift.
        QTest::addColumn<QString>("keys");
        // What the keyboard says of Shift when each letter is handled.
        QTest::addColumn<bool>("keyboardShift");
        QTest::addColumn<QString>("expected");
        QTest::newRow("mixed-shift-each-released-early") << "M" << "^S^M^I^T^H" << false << "sMITH";
        QTest::newRow("mixed-no-shift-next-already-down") << "M" << "smith" << true << "Smith";
        QTest::newRow("mixed-shift-first") << "M" << "^smith" << false << "smith";
        QTest::newRow("upper-plain") << "U" << "smith" << true << "SMITH";
        QTest::newRow("upper-shift-middle") << "U" << "sm^ith" << false << "SMiTH";
        QTest::newRow("lower-shift-first") << "L" << "^smith" << true << "Smith";
    }

    void shiftCasesOnlyItsOwnLetter()
    {
        QFETCH(QString, mode);
        QFETCH(QString, keys);
        QFETCH(bool, keyboardShift);
        QFETCH(QString, expected);
        startWindow();
        gProject->setSurnameCase(mode);
        window->rtb1().setText(QString());
        QWidget *box = window->rtb1View();
        input().shift = keyboardShift;
        for (qsizetype i = 0; i < keys.size(); ++i) {
            const bool shift = keys.at(i) == u'^';
            if (shift)
                ++i;
            const char letter = char(keys.at(i).toUpper().unicode());
            QTest::keyClick(box, Qt::Key(Qt::Key_A + (letter - 'A')),
                            shift ? Qt::ShiftModifier : Qt::NoModifier);
        }
        input().shift = false;
        QCOMPARE(window->rtb1().Text(), expected);
        QCOMPARE(window->fgInput().TextMatrix(2, 1), expected);
    }
};

PELKAR_TEST(tst_Form1EnterCell)
#include "tst_Form1EnterCell.moc"
