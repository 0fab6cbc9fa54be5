// The general entry box's rules, typed key by key into the rich-text model
// over a grid without a window: each column's case mode and refused
// characters, pastes, the navigation keys, the copy of the row above, fill,
// the "+"/"#" row rule, the age warning, the scan keys and help topics.

#include "EntryKeys.h"
#include "PelkarTest.h"
#include "RecordingPickList.h"
#include "RecordingStatusBar.h"
#include "TestBatch.h"

#include "core/Globals.h"
#include "core/Project.h"
#include "core/clsEvents.h"
#include "entry/FlexGrid.h"
#include "entry/RichTextBox.h"
#include "entry/myRichTextbox.h"
#include "transcription/Change_Monitor.h"
#include "transcription/Transcription.h"

#include <QClipboard>
#include <QGuiApplication>

using EntryKeys::press;

namespace {

// Columns of the test layout: every field the box serves, side by side.
enum Col { Surname = 1, Forenames, Mother, District, Page, AaD, DoB, Spouse, ColCount };

int columnNamed(const QString &name)
{
    static const QHash<QString, int> cols = {
        {"surname", Surname}, {"forenames", Forenames}, {"mother", Mother}, {"district", District},
        {"page", Page},       {"aad", AaD},             {"dob", DoB},       {"spouse", Spouse},
    };
    return cols.value(name, -1);
}

} // namespace

class tst_myRichTextbox : public PelkarTest
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
        gProject->setIYear(1900);
        gProject->setPageValidate(true);
        for (const char *mode : {"M"}) {
            gProject->setSurnameCase(mode);
            gProject->setMotherNameCase(mode);
            gProject->setSpouseNameCase(mode);
        }
        gProject->setDoBUpper(true);

        grid = TestBatch::makeGrid();
        gTranscription->setGrid(grid.get());
        gTranscription->setSurnameCol(Surname);
        gTranscription->setForenamesCol(Forenames);
        gTranscription->setMotherCol(Mother);
        gTranscription->setDistrictCol(District);
        gTranscription->setPageCol(Page);
        gTranscription->setAaDCol(AaD);
        gTranscription->setDoBCol(DoB);
        gTranscription->setSpouseCol(Spouse);
        grid->setCols(ColCount);
        grid->setRows(5);
        grid->setTextMatrix(1, 1, "+PAGE,123");
        const QStringList row2 = {"Smith", "John Henry", "Brown", "Leeds", "12", "", "", "Jones"};
        for (int c = 0; c < row2.size(); ++c)
            grid->setTextMatrix(2, 1 + c, row2[c]);

        box = std::make_unique<RichTextBox>();
        box->setVisible(true);
        handler = std::make_unique<myRichTextbox>();
        handler->setARTB(box.get());
        // What the main window's cell-entry loop does on every move.
        QObject::connect(grid.get(), &FlexGrid::EnterCell, box.get(), [this] {
            ++enters;
            gCurrentRow = grid->Row();
            gCurrentCol = grid->Col();
            EventsOffGuard quiet;
            box->setText(grid->Text());
            box->setSelStart(int(box->Text().size()));
        });
    }

    void tearDownCase() override
    {
        handler.reset();
        box.reset();
        ProgramObjects::releaseAll();
        grid.reset();
    }

    // Opens the box on a cell, as the cell-entry loop would.
    void openCell(int row, int col, const QString &text = QString())
    {
        grid->setTextMatrix(row, col, text);
        grid->setRowCol(row, col);
        if (grid->Row() == row && grid->Col() == col && gCurrentRow != row) {
            gCurrentRow = row;
            gCurrentCol = col;
        }
        EventsOffGuard quiet;
        box->setText(text);
        box->setSelStart(int(text.size()));
        gCurrentRow = row;
        gCurrentCol = col;
        enters = 0;
    }

    std::unique_ptr<FlexGrid> grid;
    std::unique_ptr<RichTextBox> box;
    std::unique_ptr<myRichTextbox> handler;
    RecordingPickList pickList;
    int enters = 0;

private slots:
    void typing_data()
    {
        QTest::addColumn<QString>("column");
        QTest::addColumn<QString>("mode");
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<int>("beeps");

        QTest::newRow("surname-M-obrien") << "surname" << "M" << 3 << "o'brien" << "O'Brien" << 0;
        QTest::newRow("surname-M-shift-on-first-letter")
            << "surname" << "M" << 3 << "^o'brien" << "o'Brien" << 0;
        QTest::newRow("surname-M-separators")
            << "surname" << "M" << 3 << "a b'c-d.e" << "A B'C-D.E" << 0;
        QTest::newRow("surname-U") << "surname" << "U" << 3 << "smith-jones" << "SMITH-JONES" << 0;
        QTest::newRow("surname-U-shift-lowers-one")
            << "surname" << "U" << 3 << "smi^th" << "SMItH" << 0;
        QTest::newRow("surname-L") << "surname" << "L" << 3 << "SMITH" << "smith" << 0;
        QTest::newRow("surname-D-as-typed") << "surname" << "D" << 3 << "sMiTh" << "sMiTh" << 0;
        QTest::newRow("surname-backspace-recases-nothing")
            << "surname" << "M" << 3 << "mc^do<BS>" << "McD" << 0;
        QTest::newRow("surname-digit-refused") << "surname" << "M" << 3 << "ab1" << "Ab" << 1;
        QTest::newRow("surname-digits-inside-braces")
            << "surname" << "M" << 3 << "a{1,2}" << "A{1,2}" << 0;
        QTest::newRow("surname-odd-character-refused") << "surname" << "M" << 3 << "a!b" << "Ab" << 1;
        QTest::newRow("surname-double-quote-refused")
            << "surname" << "M" << 3 << "a\"b" << "Ab" << 1;
        QTest::newRow("surname-close-bracket-needs-open")
            << "surname" << "M" << 3 << "a]b[c]" << "Ab[c]" << 1;
        QTest::newRow("surname-round-brackets") << "surname" << "M" << 3 << "a)(b)" << "A(b)" << 1;
        QTest::newRow("surname-comment-line-any-character-uncased")
            << "surname" << "M" << 3 << "#note! x1" << "#note! x1" << 0;
        QTest::newRow("surname-page-line-digits-and-comma")
            << "surname" << "M" << 3 << "+PAGE,12!" << "+PAGE,12" << 1;
        QTest::newRow("surname-plus-not-at-start") << "surname" << "M" << 3 << "a+" << "A" << 1;
        QTest::newRow("mother-M-hyphen") << "mother" << "M" << 3 << "mary-ann" << "Mary-Ann" << 0;
        QTest::newRow("mother-digit-refused") << "mother" << "M" << 3 << "a1" << "A" << 1;
        QTest::newRow("mother-question-mark") << "mother" << "M" << 3 << "?" << "?" << 0;
        QTest::newRow("spouse-U") << "spouse" << "U" << 3 << "jones" << "JONES" << 0;
        QTest::newRow("page-allowed") << "page" << "M" << 3 << "12a/3 &b" << "12a/3 &b" << 0;
        QTest::newRow("page-refused") << "page" << "M" << 3 << "12!(" << "12" << 2;
        QTest::newRow("aad-leading-hyphen-alone") << "aad" << "M" << 3 << "-5" << "-" << 1;
        QTest::newRow("aad-months") << "aad" << "M" << 3 << "3mm" << "3m" << 1;
        QTest::newRow("aad-m-in-empty-box") << "aad" << "M" << 3 << "m" << "" << 1;
        QTest::newRow("dob-upper-anything") << "dob" << "M" << 3 << "12 ja 1901!" << "12 JA 1901!" << 0;
        QTest::newRow("dob-double-quote-refused") << "dob" << "M" << 3 << "12\"" << "12" << 1;
        QTest::newRow("copy-previous-surname") << "surname" << "M" << 3 << "0" << "Smith" << 0;
        QTest::newRow("copy-first-three-of-mother") << "mother" << "M" << 3 << "3" << "Bro" << 0;
        QTest::newRow("copy-digit-beyond-length") << "mother" << "M" << 3 << "9" << "Brown" << 0;
        QTest::newRow("copy-refused-on-row-2") << "mother" << "M" << 2 << "3" << "" << 1;
        QTest::newRow("copy-refused-in-typed-box") << "surname" << "M" << 3 << "a3" << "A" << 1;
        // The text is cut at the selection: the selection and all after it go.
        QTest::newRow("selection-backspace-cuts-the-text")
            << "surname" << "D" << 3 << "Smithson<Sel:1,3><BS>" << "S" << 0;
        QTest::newRow("selection-from-start-backspace-empties-cell")
            << "surname" << "D" << 3 << "Smithson<Sel:0,3><BS>" << "" << 0;
        QTest::newRow("backspace-at-start-empties-cell")
            << "surname" << "D" << 3 << "Smith<Sel:0,0><BS>" << "" << 0;
        QTest::newRow("f9-deletes-last-word")
            << "mother" << "D" << 3 << "Mary Ann<F9>" << "Mary " << 0;
        QTest::newRow("shift-f9-clears") << "mother" << "D" << 3 << "Mary Ann<S-F9>" << "" << 0;
    }

    void typing()
    {
        QFETCH(QString, column);
        QFETCH(QString, mode);
        QFETCH(int, row);
        QFETCH(QString, keys);
        QFETCH(QString, expected);
        QFETCH(int, beeps);

        gProject->setSurnameCase(mode);
        gProject->setMotherNameCase(mode);
        gProject->setSpouseNameCase(mode);
        if (row == 2)
            grid->setTextMatrix(2, Mother, QString());
        openCell(row, columnNamed(column));
        press(*box, input(), keys);
        QCOMPARE(box->Text(), expected);
        QCOMPARE(grid->TextMatrix(row, columnNamed(column)), expected);
        QCOMPARE(input().beeps, beeps);
        QCOMPARE(gChangeMonitor->AnyChange(), !expected.isEmpty() || keys.contains("<"));
    }

    // Whatever is pasted passes the rules of what is typed; Shift, held for
    // the paste key, does not invert the pasted letters.
    void paste_data()
    {
        QTest::addColumn<QString>("column");
        QTest::addColumn<QString>("pasted");
        QTest::addColumn<bool>("shift");
        QTest::addColumn<QString>("expected");

        QTest::newRow("cased") << "surname" << "o'brien" << false << "O'Brien";
        QTest::newRow("shift-held") << "surname" << "o'brien" << true << "O'Brien";
        QTest::newRow("tab-quote-and-odd-dropped") << "surname" << "ab\tc\"d!e" << false << "Abcde";
        QTest::newRow("line-break-ends-paste") << "surname" << "ab\r\ncd" << false << "Ab";
        QTest::newRow("outside-windows-1252") << "surname" << "a\u0142b" << false << "Ab";
        QTest::newRow("dob-quote-and-tab") << "dob" << "1\"2\t3" << false << "123";
    }

    void paste()
    {
        QFETCH(QString, column);
        QFETCH(QString, pasted);
        QFETCH(bool, shift);
        QFETCH(QString, expected);

        openCell(3, columnNamed(column));
        input().shift = shift;
        box->pasteText(pasted);
        input().shift = false;
        QCOMPARE(box->Text(), expected);
        QCOMPARE(grid->TextMatrix(3, columnNamed(column)), expected);
    }

    void pasteWithCtrlV()
    {
        QClipboard *clipboard = QGuiApplication::clipboard();
        clipboard->setText("mc\"donald");
        if (clipboard->text() != "mc\"donald")
            QSKIP("no clipboard on this platform");
        openCell(3, Surname);
        press(*box, input(), "<C-V>");
        QCOMPARE(grid->TextMatrix(3, Surname), QString("Mcdonald"));
    }

    void navigation_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("col");
        QTest::addColumn<bool>("vertical");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<int>("endRow");
        QTest::addColumn<int>("endCol");
        QTest::addColumn<int>("beeps");

        QTest::newRow("tab-next-column") << 3 << 1 << false << "a<Tab>" << 3 << 2 << 0;
        QTest::newRow("enter-next-column") << 3 << 1 << false << "a<Enter>" << 3 << 2 << 0;
        QTest::newRow("tab-wraps-to-next-row") << 3 << 8 << false << "a<Tab>" << 4 << 1 << 0;
        QTest::newRow("vertical-tab-goes-down") << 3 << 3 << true << "a<Tab>" << 4 << 3 << 0;
        QTest::newRow("shift-tab-previous") << 3 << 3 << false << "<S-Tab>" << 3 << 2 << 0;
        QTest::newRow("shift-tab-first-cell-to-its-last") << 2 << 1 << false << "<S-Tab>" << 2 << 8 << 0;
        QTest::newRow("shift-tab-wraps-to-row-above") << 3 << 1 << false << "<S-Tab>" << 2 << 8 << 0;
        QTest::newRow("vertical-shift-tab-stops-at-row-2")
            << 2 << 3 << true << "<S-Tab>" << 2 << 3 << 0;
        QTest::newRow("comment-enter-next-row") << 3 << 1 << false << "#x<Enter>" << 4 << 1 << 0;
        QTest::newRow("backspace-empty-left") << 3 << 3 << false << "<BS>" << 3 << 2 << 0;
        QTest::newRow("backspace-empty-column-1-up")
            << 3 << 1 << false << "<BS>" << 2 << 8 << 0;
        QTest::newRow("backspace-empty-vertical-up") << 3 << 3 << true << "<BS>" << 2 << 3 << 0;
        QTest::newRow("backspace-empty-vertical-stops-at-row-2")
            << 2 << 3 << true << "<BS>" << 2 << 3 << 1;
        QTest::newRow("backspace-column-1-row-2-stays") << 2 << 1 << false << "<BS>" << 2 << 1 << 0;
        QTest::newRow("left-at-start") << 3 << 3 << false << "<Left>" << 3 << 2 << 0;
        QTest::newRow("left-at-start-column-1") << 3 << 1 << false << "<Left>" << 2 << 8 << 0;
        QTest::newRow("left-inside-text") << 3 << 3 << false << "ab<Left>" << 3 << 3 << 0;
        QTest::newRow("right-at-end") << 3 << 1 << false << "ab<Right>" << 3 << 2 << 0;
        QTest::newRow("right-inside-text") << 3 << 1 << false << "ab<Left><Right>" << 3 << 1 << 0;
        QTest::newRow("up") << 3 << 2 << false << "<Up>" << 2 << 2 << 0;
        QTest::newRow("up-stops-at-row-2") << 2 << 2 << false << "<Up>" << 2 << 2 << 0;
        QTest::newRow("down") << 3 << 2 << false << "<Down>" << 4 << 2 << 0;
        QTest::newRow("home") << 3 << 3 << false << "<Home>" << 3 << 1 << 0;
        QTest::newRow("home-from-column-1") << 3 << 1 << false << "<Home>" << 3 << 8 << 0;
    }

    void navigation()
    {
        QFETCH(int, row);
        QFETCH(int, col);
        QFETCH(bool, vertical);
        QFETCH(QString, keys);
        QFETCH(int, endRow);
        QFETCH(int, endCol);
        QFETCH(int, beeps);

        gProject->setVerticalTab(vertical);
        openCell(row, col);
        press(*box, input(), keys);
        QCOMPARE(grid->Row(), endRow);
        QCOMPARE(grid->Col(), endCol);
        QCOMPARE(input().beeps, beeps);
        QCOMPARE(enters, endRow == row && endCol == col ? 0 : 1);
        QCOMPARE(grid->Rows(), 5);
    }

    void enterCopiesPreviousValueIntoEmptyCell()
    {
        openCell(3, Mother);
        press(*box, input(), "<Enter>");
        QCOMPARE(grid->TextMatrix(3, Mother), QString("Brown"));
        QCOMPARE(grid->Col(), int(District));
    }

    void downOnLastFilledRowAddsRow()
    {
        grid->setTextMatrix(4, Surname, "Taylor");
        openCell(4, Forenames, "Ann");
        press(*box, input(), "<Down>");
        QCOMPARE(grid->Rows(), 6);
        QCOMPARE(grid->Row(), 5);
    }

    void verticalEnterOnLastFilledRowAddsRow()
    {
        gProject->setVerticalTab(true);
        grid->setTextMatrix(4, Surname, "Taylor");
        openCell(4, Mother, "Ann");
        press(*box, input(), "<Enter>");
        QCOMPARE(grid->Rows(), 6);
        QCOMPARE(grid->Row(), 5);
        QCOMPARE(grid->Col(), int(Mother));
    }

    void skipSurnameSendsTab()
    {
        gProject->setSkip(true);
        openCell(3, Spouse, "Ann");
        press(*box, input(), "<Tab>");
        QCOMPARE(grid->Row(), 4);
        QCOMPARE(grid->Col(), int(Surname));
        QCOMPARE(input().sentKeys, (QList<QPoint>{{9, 1}, {9, 0}}));
    }

    void overSizeWidensBox()
    {
        gProject->setOverSize(true);
        openCell(3, Surname);
        box->Move(0, 0, grid->CellWidth(), 240);
        press(*box, input(), "abcdefghijklmnopqrstuvwxyz");
        QVERIFY(box->Width() > grid->CellWidth());
        QCOMPARE(box->Left(), grid->CellLeft());
    }

    void pageKeysStopAtTheEnds()
    {
        grid->setRows(40);
        openCell(5, Surname);
        press(*box, input(), "<PgUp>");
        QCOMPARE(grid->Row(), 2);
        press(*box, input(), "<PgDn><PgDn><PgDn><PgDn><PgDn>");
        QCOMPARE(grid->Row(), 39);
    }

    void plusNeedsBlankRow()
    {
        script->answer("Ok");
        openCell(2, Surname);
        press(*box, input(), "+");
        QCOMPARE(box->Text(), QString());
        QCOMPARE(script->records().size(), 1);
        QCOMPARE(script->records().at(0).prompt,
                 QString("The rest of this row must be blank first"));
        QCOMPARE(script->records().at(0).style, int(Mb::Critical));
        QCOMPARE(script->records().at(0).title, QString("Pelkar"));
        QCOMPARE(input().beeps, 0);
    }

    // A "?" beside other characters: an error box for an edited cell, a
    // quiet status-bar warning for one not yet changed under "Warn only
    // when Changed".
    void questionMarkInSurname_data()
    {
        QTest::addColumn<bool>("changeWarning");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("status");

        QTest::newRow("edited-cell-error-box")
            << false << "ab?" << "A ? is only allowed if it is the only character in a field."
            << "";
        QTest::newRow("unchanged-cell-status-warning") << true << "?" << "" << "Invalid use of ?";
        QTest::newRow("lone-question-mark") << false << "<BS>?" << "" << "";
    }

    void questionMarkInSurname()
    {
        QFETCH(bool, changeWarning);
        QFETCH(QString, keys);
        QFETCH(QString, message);
        QFETCH(QString, status);

        RecordingStatusBar statusBar;
        gProject->setDistValidate(true);
        gProject->setChangeWarning(changeWarning);
        if (!message.isEmpty())
            script->answer("Ok");
        openCell(3, Surname, keys.startsWith("<") ? "S" : keys.startsWith("?") ? "Smith" : "");
        gChangeMonitor->ClearChange();
        press(*box, input(), keys);
        QCOMPARE(script->records().isEmpty() ? QString() : script->records().at(0).prompt, message);
        QCOMPARE(statusBar.current(), status);
        QCOMPARE(box->Text().endsWith("?"), message.isEmpty() && status.isEmpty());
    }

    void fillFromEmptyBoxIsRefused()
    {
        script->answer("Ok");
        openCell(3, Mother);
        press(*box, input(), "<Ins>");
        QCOMPARE(script->records().size(), 1);
        QCOMPARE(script->records().at(0).prompt,
                 QString("You can't fill with an empty field - type something first"));
        QCOMPARE(script->records().at(0).style, int(Mb::Exclamation));
        QCOMPARE(script->records().at(0).title, QString("Pelkar - Invalid Fill"));
    }

    void insertFillsDownAndShiftInsertUp()
    {
        script->answer("<cancel>");
        openCell(3, Mother, "Ann");
        press(*box, input(), "<Ins>");
        QCOMPARE(script->records().size(), 1);
        QCOMPARE(script->records().at(0).title, QString("Pelkar FillDown"));
        script->clearRecords();
        script->answer("<cancel>");
        press(*box, input(), "<S-Ins>");
        QCOMPARE(script->records().size(), 1);
        QCOMPARE(script->records().at(0).title, QString("Pelkar FillUp"));
        QCOMPARE(grid->TextMatrix(2, Mother), QString("Brown"));
    }

    void ageWarningOncePerRun()
    {
        gProject->setIYear(1860);
        script->answer("Ok");
        openCell(3, AaD);
        press(*box, input(), "5");
        QCOMPARE(script->records().size(), 1);
        QCOMPARE(script->records().at(0).prompt,
                 QString("Warning... Prior to 1865, Death records did not contain Age at Death "
                         "information\r\nYou can enter the information if you wish but there is "
                         "no guarantee that Quorvel\r\nwill accept the information - currently "
                         "(Feb 2005) their website states that the field\r\nshould be blank."));
        QCOMPARE(script->records().at(0).style, int(Mb::Information));
        QVERIFY(gAgeWarningShown);
        openCell(4, AaD);
        press(*box, input(), "6");
        QCOMPARE(script->records().size(), 1);
        QCOMPARE(grid->TextMatrix(3, AaD), QString("5"));
        QCOMPARE(grid->TextMatrix(4, AaD), QString("6"));
    }

    void addTextCasedAsTypedWithoutShift()
    {
        openCell(3, Surname, "Van ");
        input().shift = true;
        handler->AddText("der berg");
        input().shift = false;
        QCOMPARE(box->Text(), QString("Van Der Berg"));
        QCOMPARE(grid->TextMatrix(3, Surname), QString("Van Der Berg"));
        gProject->setDontformatPaste(true);
        handler->AddText(" x");
        QCOMPARE(grid->TextMatrix(3, Surname), QString("Van Der Berg x"));
    }

    void scanKeys_data()
    {
        QTest::addColumn<bool>("scanOn");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QStringList>("calls");

        QTest::newRow("shift-arrows") << true << "<S-Left><S-Right><S-Up><S-Down>"
                                      << QStringList{"ScrollLeft", "ScrollRight", "ScrollUp",
                                                     "ScrollDown"};
        QTest::newRow("ctrl-ruler") << true << "<C-Up><C-Down>" << QStringList{"RulerUp", "RulerDown"};
        QTest::newRow("alt-page") << true << "<A-Up><A-Down>"
                                  << QStringList{"ScrollPage(0)", "ScrollPage(2)"};
        QTest::newRow("no-scan-shown") << false << "<S-Left><C-Up><A-Down>" << QStringList{};
        QTest::newRow("zoom") << false << "<F11><F12><S-F11>" << QStringList{"ZoomIn", "ZoomOut"};
        QTest::newRow("picker-in-name-column") << false << "<F4>" << QStringList{"Wakeup"};
    }

    void scanKeys()
    {
        QFETCH(bool, scanOn);
        QFETCH(QString, keys);
        QFETCH(QStringList, calls);

        EntryKeys::RecordingWindow window;
        gProject->setScanOn(scanOn);
        openCell(3, Surname, "Ab");
        press(*box, input(), keys);
        QCOMPARE(window.calls, calls);
        QCOMPARE(grid->Row(), 3);
        QCOMPARE(grid->Col(), int(Surname));
        QCOMPARE(box->Text(), QString("Ab"));
    }

    void pickerRefusedOutsideNameColumns()
    {
        EntryKeys::RecordingWindow window;
        openCell(3, Page);
        press(*box, input(), "<F4>");
        QVERIFY(window.calls.isEmpty());
        QCOMPARE(input().beeps, 1);
    }

    void rightButtonPopsUpMenu()
    {
        EntryKeys::RecordingWindow window;
        openCell(3, Surname, "Ab");
        gNewRow = 2;
        gNewCol = 3;
        box->releaseMouseButton(2, 0, 0, 0);
        QCOMPARE(grid->Row(), 2);
        QCOMPARE(grid->Col(), 3);
        QCOMPARE(window.calls, (QStringList{"Set_TextBox", "PopupCellMenu"}));
        window.calls.clear();
        window.mouseCol = 0;
        box->releaseMouseButton(2, 0, 0, 0);
        QCOMPARE(window.calls, (QStringList{"Set_TextBox", "PopupRowMenu"}));
    }

    void helpContextFollowsColumn_data()
    {
        QTest::addColumn<int>("col");
        QTest::addColumn<int>("topic");

        QTest::newRow("surname") << int(Surname) << 6135;
        QTest::newRow("dob") << int(DoB) << 6143;
        QTest::newRow("aad") << int(AaD) << 6138;
        QTest::newRow("mother") << int(Mother) << 6140;
        QTest::newRow("page") << int(Page) << 6204;
        QTest::newRow("spouse") << int(Spouse) << 6141;
        QTest::newRow("forenames-keeps-last") << int(Forenames) << 6204;
    }

    void helpContextFollowsColumn()
    {
        QFETCH(int, col);
        QFETCH(int, topic);

        gCurrentCol = Page;
        box->focusIn();
        gCurrentCol = col;
        box->focusIn();
        QCOMPARE(handler->HelpContextID(), topic);
    }
};

PELKAR_TEST(tst_myRichTextbox)
#include "tst_myRichTextbox.moc"
