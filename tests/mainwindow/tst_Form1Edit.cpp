// The Edit menu and the grid's pop-up menus through the real main window:
// each command's effect on the grid, the current cell, the entry box and the
// work file, and what it says when it refuses.

#include "MainWindowFixture.h"

#include "core/Services.h"
#include "core/clsEvents.h"
#include "entry/FlexGrid.h"
#include "entry/FlexGridView.h"
#include "entry/RichTextBox.h"
#include "entry/RichTextView.h"
#include "lists/frmDistricts.h"
#include "mainwindow/ShowStatus.h"
#include "transcription/Change_Monitor.h"
#include "transcription/Searcher.h"
#include "transcription/frmFind.h"
#include "transcription/clsWorkFile.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QHeaderView>
#include <QMenu>
#include <QTest>

namespace {

// The text of the work file's record of a grid row ("" when none).
QString workRecord(int row)
{
    QFile file(clsWorkFile::WorkFilePath());
    if (!file.open(QIODevice::ReadOnly) || !file.seek(qint64(row + 9) * 250))
        return QString();
    return QString::fromLatin1(file.read(250)).trimmed();
}

} // namespace

class tst_Form1Edit : public MainWindowFixture
{
    Q_OBJECT

    FlexGrid &grid() { return window->fgInput(); }

    void trigger(const char *name)
    {
        QAction *action = window->MenuItem(QString::fromLatin1(name));
        QVERIFY2(action, name);
        action->trigger();
    }

    // Through the cell-entry loop, as a click would.
    void goTo(int row, int col)
    {
        grid().setRowCol(row, col);
        QCOMPARE(gCurrentRow, row);
        QCOMPARE(gCurrentCol, col);
    }

    void setQuietly(int row, int col, const QString &text)
    {
        EventsOffGuard quiet;
        grid().setTextMatrix(row, col, text);
    }

    QStringList column(int col)
    {
        QStringList texts;
        for (int row = 1; row < grid().Rows(); ++row)
            texts << grid().TextMatrix(row, col);
        return texts;
    }

    QStringList rowTexts(int row)
    {
        QStringList texts;
        for (int col = 1; col < grid().Cols(); ++col)
            texts << grid().TextMatrix(row, col);
        return texts;
    }

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

    QString status() const { return window->gShowStatus()->message(); }


private slots:
    // ---- Case changes ----------------------------------------------------------------
    void caseChanges_data()
    {
        QTest::addColumn<int>("col");
        QTest::addColumn<QString>("command");
        QTest::addColumn<int>("selStart");
        QTest::addColumn<int>("selLength");
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("cell");

        QTest::newRow("lower-whole") << 1 << "mnuLowercase" << 0 << 0 << "abbot" << "abbot";
        QTest::newRow("lower-selection") << 1 << "mnuLowercase" << 1 << 2 << "AbbOT" << "AbbOT";
        QTest::newRow("invert-selection") << 1 << "mnuInvertCase" << 3 << 2 << "ABBot" << "ABBot";
        QTest::newRow("proper-ignores-selection")
            << 1 << "mnuProperCase" << 1 << 2 << "Abbot" << "Abbot";
        QTest::newRow("upper-forenames") << 2 << "mnuUppercase" << 0 << 0 << "ANN" << "Ann";
        QTest::newRow("district-untouched")
            << 3 << "mnuLowercase" << 0 << 0 << "Ashford,2a" << "Ashford,2a";
    }

    void caseChanges()
    {
        QFETCH(int, col);
        QFETCH(QString, command);
        QFETCH(int, selStart);
        QFETCH(int, selLength);
        QFETCH(QString, box);
        QFETCH(QString, cell);
        startWindow();
        goTo(2, col);
        RichTextBox &shown = col == 1   ? window->rtb1()
                             : col == 2 ? window->tbForeName()
                                        : window->tbDistrict();
        shown.setSelStart(selStart);
        shown.setSelLength(selLength);
        trigger(command.toLatin1().constData());
        QCOMPARE(shown.Text(), box);
        QCOMPARE(grid().TextMatrix(2, col), cell);
        QCOMPARE(grid().Row(), 2);
        QCOMPARE(grid().Col(), col);
        if (col == 1) {
            // The selection stays, for the next command.
            QCOMPARE(shown.SelStart(), selStart);
            QCOMPARE(shown.SelLength(), selLength);
            QVERIFY(gChangeMonitor->RowChanged());
        }
    }

    // The menu's keys typed into the box reach the same commands.
    void caseKeysFromTheBox()
    {
        startWindow();
        goTo(2, 1);
        QTest::keyClick(window->rtb1View(), Qt::Key_L, Qt::ControlModifier);
        QCOMPARE(grid().TextMatrix(2, 1), QStringLiteral("abbot"));
        QTest::keyClick(window->rtb1View(), Qt::Key_P, Qt::ControlModifier);
        QCOMPARE(grid().TextMatrix(2, 1), QStringLiteral("Abbot"));
        QCOMPARE(window->rtb1().Text(), QStringLiteral("Abbot"));
    }

    // ---- Finding cells -------------------------------------------------------------
    // Find Empty Box goes down the current column, passing "+" and "#"
    // lines, wrapping to the top; the current row is never a hit.
    void findEmpty_data()
    {
        QTest::addColumn<int>("fromRow");
        QTest::addColumn<QList<int>>("emptied");
        QTest::addColumn<int>("row");

        QTest::newRow("next-below") << 3 << QList<int>{5, 9} << 5;
        QTest::newRow("wraps-to-top") << 9 << QList<int>{3, 5} << 3;
        QTest::newRow("current-row-is-no-hit") << 5 << QList<int>{5} << 0;
        QTest::newRow("none") << 2 << QList<int>{} << 0;
    }

    void findEmpty()
    {
        QFETCH(int, fromRow);
        QFETCH(QList<int>, emptied);
        QFETCH(int, row);
        startWindow();
        for (int r : emptied)
            setQuietly(r, 4, QString());
        goTo(fromRow, 4);
        input().beeps = 0;
        trigger("mnuFindEmpty");
        QCOMPARE(grid().Row(), row ? row : fromRow);
        QCOMPARE(grid().Col(), 4);
        QCOMPARE(gCurrentRow, row ? row : fromRow);
        QCOMPARE(shownBox(), QStringLiteral("rtb1"));
        if (!row)
            QCOMPARE(status(), QStringLiteral("No Empty cell"));
    }

    // Find Start of Page: the first entry under the "+PAGE" line above,
    // passing over the line directly above; rows 2 and 3 of the batch's
    // first page go to its first entry, or stay.
    void findPageStart_data()
    {
        QTest::addColumn<int>("fromRow");
        QTest::addColumn<int>("row");
        QTest::newRow("within-second-page") << 11 << 8;
        QTest::newRow("first-entry-goes-to-page-before") << 8 << 2;
        QTest::newRow("within-first-page") << 5 << 2;
        QTest::newRow("first-entry-of-batch-stays") << 2 << 2;
    }

    void findPageStart()
    {
        QFETCH(int, fromRow);
        QFETCH(int, row);
        startWindow();
        goTo(fromRow, 1);
        trigger("mnuFindPageStart");
        QCOMPARE(grid().Row(), row);
        QCOMPARE(gCurrentRow, row);
        QCOMPARE(shownBox(), QStringLiteral("rtb1"));
        QVERIFY(window->rtb1View()->isVisibleTo(window.get()));
        QCOMPARE(window->rtb1().Text(), grid().TextMatrix(row, 1));
    }

    // Find Next Warning goes to the next cell that fails the row checks and
    // says why; past the last one it says so and stays.
    void findWarning()
    {
        startWindow();
        setQuietly(4, 4, QString());
        goTo(3, 1);
        trigger("mnuFindWarning");
        QCOMPARE(grid().Row(), 4);
        QCOMPARE(grid().Col(), 4);
        QCOMPARE(gCurrentRow, 4);
        QCOMPARE(gCurrentCol, 4);
        QCOMPARE(status(), QStringLiteral("Blank"));
        QCOMPARE(shownBox(), QStringLiteral("rtb1"));

        // The next one, in another column of a later row.
        setQuietly(4, 4, QStringLiteral("12"));
        trigger("mnuFindWarning");
        QCOMPARE(grid().Row(), 5);
        QCOMPARE(grid().Col(), 3);
        QCOMPARE(status(), QStringLiteral("Missing Volume Code"));
        QCOMPARE(shownBox(), QStringLiteral("tbDistrict"));
        // Leaving it would ask about the district: back on a plain cell.
        {
            EventsOffGuard quiet;
            grid().setRowCol(4, 4);
            gCurrentRow = 4;
            gCurrentCol = 4;
        }
        window->Set_TextBox();

        goTo(grid().Rows() - 1, 4);
        trigger("mnuFindWarning");
        QCOMPARE(grid().Row(), grid().Rows() - 1);
        QCOMPARE(status(), QStringLiteral("No more Errors"));
        QCOMPARE(shownBox(), QStringLiteral("rtb1"));
    }

    // Find and Find Next run the cell-entry loop for the cell found: the
    // row left is checked and the right box opens there.
    void findOpensTheBoxOnTheHit()
    {
        startWindow();
        goTo(2, 2);
        QTimer::singleShot(0, this, [] {
            auto *find = qobject_cast<frmFind *>(QApplication::activeModalWidget());
            QVERIFY(find);
            find->Text1()->setText(QStringLiteral("ann"));
            find->cmdFind()->click();
        });
        trigger("mnuFindString");
        QCOMPARE(grid().Row(), 6);
        QCOMPARE(grid().Col(), 2);
        QCOMPARE(gCurrentRow, 6);
        QCOMPARE(gCurrentCol, 2);
        QCOMPARE(shownBox(), QStringLiteral("tbForeName"));
        QCOMPARE(window->tbForeName().Text(), QStringLiteral("Ann"));

        // A hit in the same row, in another column.
        setQuietly(6, 4, QStringLiteral("99"));
        gSearcher->setFindText(QStringLiteral("99"));
        trigger("mnuFindNextString");
        QCOMPARE(grid().Row(), 6);
        QCOMPARE(grid().Col(), 4);
        QCOMPARE(gCurrentCol, 4);
        QCOMPARE(shownBox(), QStringLiteral("rtb1"));
        QCOMPARE(window->rtb1().Text(), QStringLiteral("99"));
    }

    // ---- Moving a column's cells -------------------------------------------------
    // Insert Blank moves the column's cells down one from the current row,
    // into a new last row; "+" and "#" lines keep their cells.
    void insertBlankMovesTheColumnDown()
    {
        startWindow();
        const int rows = grid().Rows();
        setQuietly(6, 4, QStringLiteral("12x"));
        setQuietly(rows - 1, 4, QStringLiteral("13z"));
        goTo(5, 4);
        QTest::keyClick(window->rtb1View(), Qt::Key_F5);
        QCOMPARE(grid().Rows(), rows + 1);
        QCOMPARE(grid().TextMatrix(5, 4), QString());
        QCOMPARE(grid().TextMatrix(6, 4), QStringLiteral("12"));
        QCOMPARE(grid().TextMatrix(7, 4), QString()); // the "+PAGE" line
        QCOMPARE(grid().TextMatrix(8, 4), QStringLiteral("12x"));
        QCOMPARE(grid().TextMatrix(rows, 4), QStringLiteral("13z"));
        QCOMPARE(grid().TextMatrix(rows, 1), QString());
        QVERIFY(workRecord(8).endsWith(QLatin1String("\t12x")));
        QVERIFY(workRecord(rows).endsWith(QLatin1String("\t13z")));
        QCOMPARE(gCurrentRow, 5);
        QCOMPARE(shownBox(), QStringLiteral("rtb1"));
        QCOMPARE(window->rtb1().Text(), QString());
    }

    // Replace Blank pulls the column's cells up into the blank current
    // cell; a last row left blank goes.
    void replaceBlankPullsTheColumnUp()
    {
        startWindow();
        const int rows = grid().Rows();
        setQuietly(5, 4, QString());
        setQuietly(6, 4, QStringLiteral("12x"));
        goTo(5, 4);
        QTest::keyClick(window->rtb1View(), Qt::Key_F6);
        QCOMPARE(grid().Rows(), rows);
        QCOMPARE(grid().TextMatrix(5, 4), QStringLiteral("12x"));
        QCOMPARE(grid().TextMatrix(6, 4), QStringLiteral("13"));
        QCOMPARE(grid().TextMatrix(7, 4), QString());
        QCOMPARE(grid().TextMatrix(rows - 1, 4), QString());
        QVERIFY(workRecord(5).endsWith(QLatin1String("\t12x")));
        QCOMPARE(gCurrentRow, 5);
        QCOMPARE(window->rtb1().Text(), QStringLiteral("12x"));

        // A blank last row goes with its record.
        // (row 10 is a comment line, passed over.)
        const int last = grid().Rows() - 1;
        QCOMPARE(last, 11);
        for (int col = 1; col < grid().Cols(); ++col)
            setQuietly(last, col, col == 4 ? QStringLiteral("13z") : QString());
        setQuietly(9, 4, QString());
        goTo(9, 4);
        trigger("mnuInsertUp");
        QCOMPARE(grid().Rows(), last);
        QCOMPARE(grid().TextMatrix(9, 4), QStringLiteral("13z"));
        QVERIFY(workRecord(9).endsWith(QLatin1String("\t13z")));
        QVERIFY(workRecord(last).startsWith(u'-'));
    }

    // The commands that change many rows write them in one go; the work
    // file is then byte for byte what writing each row alone leaves.
    void manyRowCommandsLeaveTheRowByRowBytes_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("col");
        QTest::addColumn<QStringList>("answers");
        QTest::addColumn<int>("rowsAdded");

        QTest::newRow("insert-blank") << "mnuInsertDown" << 5 << 4 << QStringList() << 1;
        QTest::newRow("insert-blank-forenames") << "mnuInsertDown" << 3 << 2 << QStringList() << 1;
        QTest::newRow("replace-blank") << "mnuInsertUp" << 5 << 4 << QStringList() << 0;
        QTest::newRow("replace-blank-surnames") << "mnuInsertUp" << 4 << 1 << QStringList() << 0;
        QTest::newRow("fill-down-existing-rows")
            << "mnuFillDown" << 3 << 4 << QStringList{"2", "Use Existing Rows"} << 0;
        QTest::newRow("fill-down-past-the-end")
            << "mnuFillDown" << 9 << 4 << QStringList{"5", "Use Existing Rows"} << 3;
        QTest::newRow("fill-down-new-rows")
            << "mnuFillDown" << 3 << 4 << QStringList{"4", "Insert New Rows"} << 4;
    }

    void manyRowCommandsLeaveTheRowByRowBytes()
    {
        QFETCH(QString, command);
        QFETCH(int, row);
        QFETCH(int, col);
        QFETCH(QStringList, answers);
        QFETCH(int, rowsAdded);

        startWindow();
        const int rows = grid().Rows();
        if (command == QLatin1String("mnuInsertUp"))
            setQuietly(row, col, QString());
        goTo(row, col);
        script->answer(answers);
        trigger(command.toLatin1().constData());
        QCOMPARE(grid().Rows(), rows + rowsAdded);
        QCOMPARE(gCurrentRow, row);

        QFile file(clsWorkFile::WorkFilePath());
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray together = file.readAll();
        // Row 1, the first "+PAGE" line, has no record of its own.
        for (int r = 2; r < grid().Rows(); ++r)
            QVERIFY(gWorkFile->SaveRowToWork(r));
        QVERIFY(file.seek(0));
        QCOMPARE(file.readAll(), together);
    }

    void replaceBlankOnAFilledCellMovesNothing()
    {
        startWindow();
        goTo(5, 4);
        gChangeMonitor->ClearChange();
        const QStringList before = column(4);
        input().beeps = 0;
        trigger("mnuInsertUp");
        QCOMPARE(column(4), before);
        QCOMPARE(status(), QStringLiteral("Cell must be blank"));
        QCOMPARE(gCurrentRow, 5);
        QCOMPARE(shownBox(), QStringLiteral("rtb1"));
    }

    // ---- Rows ------------------------------------------------------------------------
    // A row deleted and put back keeps its cells and what it let through
    // unchecked; the work file follows each step.
    void deleteAndReplaceRow()
    {
        startWindow();
        const int rows = grid().Rows();
        const QStringList row4 = rowTexts(4);
        const QString label = grid().TextMatrix(4, 0);
        gTranscription->SetDistrictNotValidated(4);
        QAction *replace = window->MenuItem(QStringLiteral("mnuReplaceRow"));
        QVERIFY(!replace->isVisible());
        goTo(4, 1);
        script->answer(QStringLiteral("Yes"));
        QTest::keyClick(window->rtb1View(), Qt::Key_F8);
        QCOMPARE(script->records().size(), 1);
        QCOMPARE(script->records().at(0).prompt,
                 QStringLiteral("There is data in Row %1 ! Delete anyway?").arg(label));
        QCOMPARE(grid().Rows(), rows - 1);
        QCOMPARE(grid().TextMatrix(4, 1), QStringLiteral("ADAMS"));
        QCOMPARE(grid().TextMatrix(4, 2), QStringLiteral("Mary"));
        QVERIFY(gTranscription->IsDistrictValidated(4));
        QVERIFY(replace->isVisible());
        QCOMPARE(gCurrentRow, 4);
        QCOMPARE(shownBox(), QStringLiteral("rtb1"));
        QVERIFY(workRecord(rows - 1).startsWith(u'-'));
        QVERIFY(workRecord(4).contains(QLatin1String("Mary")));

        trigger("mnuReplaceRow");
        QCOMPARE(grid().Rows(), rows);
        QCOMPARE(rowTexts(4), row4);
        QVERIFY(!gTranscription->IsDistrictValidated(4));
        QVERIFY(gTranscription->IsDistrictValidated(5));
        QVERIFY(!replace->isVisible());
        QVERIFY(workRecord(4).contains(QLatin1String("J_HN")));
        QVERIFY(workRecord(5).contains(QLatin1String("Mary")));
    }

    void insertRowFromTheRowMenu()
    {
        startWindow();
        const int rows = grid().Rows();
        goTo(3, 2);
        FlexGridView *view = window->gridView();
        QTest::mouseClick(view->verticalHeader()->viewport(), Qt::RightButton, {},
                          QPoint(5, view->verticalHeader()->sectionViewportPosition(4) + 3));
        QCOMPARE(gCurrentRow, 4);
        QVERIFY(window->RowPopup()->isVisible());
        window->RowPopup()->hide();
        trigger("mnuInsertRow2");
        QCOMPARE(grid().Rows(), rows + 1);
        QCOMPARE(rowTexts(4).join(QString()), QString());
        QCOMPARE(grid().TextMatrix(5, 1), QStringLiteral("ADAMS"));
        QCOMPARE(grid().TextMatrix(5, 2).trimmed(), QStringLiteral("J_HN"));
        QCOMPARE(grid().Row(), 4);
        QCOMPARE(grid().Col(), 1);
        QCOMPARE(shownBox(), QStringLiteral("rtb1"));
        QVERIFY(workRecord(5).contains(QLatin1String("J_HN")));
    }

    // The cell menu acts on the clicked row in the current column.
    void insertBlankFromTheCellMenu()
    {
        startWindow();
        setQuietly(4, 4, QStringLiteral("12x"));
        goTo(2, 4);
        FlexGridView *view = window->gridView();
        QTest::mouseClick(view->viewport(), Qt::RightButton, {},
                          view->visualRect(view->model()->index(4, 1)).center());
        QCOMPARE(gCurrentRow, 4);
        QVERIFY(window->CellPopup()->isVisible());
        window->CellPopup()->hide();
        trigger("mnuInsertDown2");
        QCOMPARE(grid().TextMatrix(4, 4), QString());
        QCOMPARE(grid().TextMatrix(5, 4), QStringLiteral("12x"));
        QCOMPARE(grid().TextMatrix(4, 1), QStringLiteral("ADAMS"));
    }

    // The commands that change the grid refuse while the open cell may
    // not be left (it says why) or while the window is busy (silently).
    void gridCommandsRefuse_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<bool>("busy");
        for (const char *command : {"mnuInsertRow", "mnuDelRow", "mnuInsertDown", "mnuInsertUp",
                                    "mnuFindEmpty", "mnuFindPageStart", "mnuFindWarning"}) {
            QTest::newRow(QByteArray(command).append("-invalid").constData())
                << QString::fromLatin1(command) << false;
            QTest::newRow(QByteArray(command).append("-busy").constData())
                << QString::fromLatin1(command) << true;
        }
    }

    void gridCommandsRefuse()
    {
        QFETCH(QString, command);
        QFETCH(bool, busy);
        startWindow();
        goTo(9, 1);
        if (busy)
            window->setBSaving(true);
        else
            setQuietly(9, 1, QStringLiteral("AL+LEN"));
        const QStringList before = column(1);
        trigger(command.toLatin1().constData());
        window->setBSaving(false);
        QCOMPARE(column(1), before);
        QCOMPARE(grid().Row(), 9);
        QCOMPARE(gCurrentRow, 9);
        QCOMPARE(shownBox(), QStringLiteral("rtb1"));
        if (!busy)
            QCOMPARE(status(), QStringLiteral("Invalid Surname: + Must be 1st char"));
        QVERIFY(script->records().isEmpty());
    }

    // ---- The open box ----------------------------------------------------------------
    // F9 and Shift+F9 reach the menu's commands from every box.
    void deleteWordAndClearBox_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("col");
        QTest::addColumn<bool>("clear");
        QTest::addColumn<QString>("text");
        QTest::newRow("word-surname") << 3 << 1 << false << "";
        QTest::newRow("word-forenames") << 3 << 2 << false << "John ";
        QTest::newRow("clear-forenames") << 3 << 2 << true << "";
        QTest::newRow("clear-surname") << 2 << 1 << true << "";
    }

    void deleteWordAndClearBox()
    {
        QFETCH(int, row);
        QFETCH(int, col);
        QFETCH(bool, clear);
        QFETCH(QString, text);
        startWindow();
        goTo(row, col);
        QWidget *view = col == 1 ? static_cast<QWidget *>(window->rtb1View())
                                 : window->tbForeNameView();
        QTest::keyClick(view, Qt::Key_F9, clear ? Qt::ShiftModifier : Qt::NoModifier);
        const RichTextBox &box = col == 1 ? window->rtb1() : window->tbForeName();
        QCOMPARE(box.Text(), text);
    }

    // Fill: the district column only beeps; elsewhere the box fills.
    void fillFromTheMenu()
    {
        startWindow();
        goTo(4, 1);
        script->answer({QStringLiteral("1"), QStringLiteral("Yes")});
        QTest::keyClick(window->rtb1View(), Qt::Key_Insert, Qt::ShiftModifier);
        QCOMPARE(script->records().size(), 2);
        QCOMPARE(script->records().at(0).kind, QStringLiteral("input"));
        QCOMPARE(script->records().at(0).title, QStringLiteral("Pelkar FillUp"));
        QCOMPARE(grid().TextMatrix(3, 1), QStringLiteral("ADAMS"));
        QCOMPARE(gCurrentRow, 4);

        script->clearRecords();
        gProject->setBeepit(true);
        goTo(4, 3);
        input().beeps = 0;
        trigger("mnuFillDown");
        QCOMPARE(input().beeps, 1);
        QVERIFY(script->records().isEmpty());
    }

    // Copy Surname puts the row's surname into the mother's column and
    // moves on; on any other column it does nothing.
    void copySurname()
    {
        startWindow();
        const QString mother = QDir(gProject->SavePath()).filePath(QStringLiteral("mother.ZEL"));
        QVERIFY(QFile::copy(QDir(QStringLiteral(PELKAR_FIXTURES))
                                .filePath(QStringLiteral("batch-births-mother-film/input.ZEL")),
                            mother));
        QVERIFY(QFile::setPermissions(mother, QFile::ReadOwner | QFile::WriteOwner));
        QVERIFY(gTranscription->Restore(mother));
        window->SetUpMainForm();
        script->clearRecords();
        const int motherCol = gTranscription->MotherCol();
        QCOMPARE(motherCol, 3);

        goTo(2, 1);
        window->mnuCopySurname_Click();
        QCOMPARE(grid().TextMatrix(2, 1), QStringLiteral("BAKER"));
        QCOMPARE(grid().Col(), 1);

        setQuietly(2, motherCol, QString());
        goTo(2, motherCol);
        window->mnuCopySurname_Click();
        QCOMPARE(grid().TextMatrix(2, motherCol), QStringLiteral("BAKER"));
        QCOMPARE(grid().Row(), 2);
        QCOMPARE(grid().Col(), motherCol + 1);
    }

    // ---- Letting one entry through --------------------------------------------------
    void validateEntryAsksThenToggles_data()
    {
        QTest::addColumn<int>("col");
        QTest::addColumn<QString>("prompt");
        QTest::newRow("district")
            << 3
            << "This option will prevent Pelkar from doing any validation on this District and "
               "Volume Number.\r\nThis may result in a file which cannot be uploaded if you "
               "enter an invalid District Name.\r\nAre you certain this is what you want to do?";
        QTest::newRow("page")
            << 4
            << "This option will prevent Pelkar from doing any validation on this Page "
               "Number.\r\nThis may result in a file which cannot be uploaded if you enter an "
               "invalid Page Number.\r\nAre you certain this is what you want to do?";
    }

    void validateEntryAsksThenToggles()
    {
        QFETCH(int, col);
        QFETCH(QString, prompt);
        startWindow();
        goTo(5, col);
        QAction *item = window->MenuItem(QStringLiteral("mnuValidateEntry"));
        QVERIFY(item->isEnabled());
        const auto validated = [col] {
            return col == 3 ? gTranscription->IsDistrictValidated(5)
                            : gTranscription->IsPageValidated(5);
        };

        script->answer(QStringLiteral("No"));
        QTest::keyClick(shownBox() == QLatin1String("rtb1")
                            ? static_cast<QWidget *>(window->rtb1View())
                            : window->tbDistrictView(),
                        Qt::Key_F1, Qt::ShiftModifier);
        QCOMPARE(script->records().size(), 1);
        QCOMPARE(script->records().at(0).prompt, prompt);
        QCOMPARE(script->records().at(0).style, Mb::YesNo | Mb::Exclamation);
        QVERIFY(!item->isChecked());
        QVERIFY(validated());

        script->answer(QStringLiteral("Yes"));
        item->trigger();
        QVERIFY(item->isChecked());
        QVERIFY(!validated());

        item->trigger();
        QVERIFY(!item->isChecked());
        QVERIFY(validated());

        // The page is asked about once; the district every time.
        script->clearRecords();
        if (col == 3)
            script->answer(QStringLiteral("Yes"));
        item->trigger();
        QCOMPARE(script->records().size(), col == 3 ? 1 : 0);
        QVERIFY(item->isChecked());
        QVERIFY(!validated());
    }

    // ---- The list editors -------------------------------------------------------------
    void editorRefusedWhileACreditLineStands()
    {
        startWindow();
        setQuietly(10, 1, QStringLiteral("+CREDIT,Ann,Smith,x"));
        goTo(3, 1);
        script->answer(QStringLiteral("Ok"));
        trigger("mnuEditDistricts");
        QCOMPARE(script->records().size(), 1);
        QCOMPARE(script->records().at(0).prompt,
                 QStringLiteral("There is a +Credit entry at row 10\r\nThese must be moved to "
                                "the Header Form - Click on that entry and then Press Tab\r\nThe "
                                "requested action cannot happen until this entry is removed"));
        QVERIFY(window->isVisible());
        QVERIFY(!window->findChild<frmDistricts *>());
        QCOMPARE(shownBox(), QStringLiteral("rtb1"));
    }

    void editorReturnsToTheBox()
    {
        startWindow();
        goTo(3, 1);
        trigger("mnuEditDistricts");
        auto *editor = window->findChild<frmDistricts *>();
        QVERIFY(editor && editor->isVisible());
        QVERIFY(!window->isVisible());
        QPointer<QWidget> guard(editor);
        editor->close();
        QVERIFY(window->isVisible());
        QCOMPARE(shownBox(), QStringLiteral("rtb1"));
        QTRY_VERIFY(guard.isNull());
    }
};

PELKAR_TEST(tst_Form1Edit)
#include "tst_Form1Edit.moc"
