// The forename box's rules, typed key by key into the rich-text model over a
// grid and a real forename file, without a window: the forename case rule,
// the grey ghost completion and how it is taken, the pick list and numbered
// choices, the copy of the previous forenames, the keys that move on, and
// the new-forename offer on leaving with the forename file's bytes after.

#include "EntryKeys.h"
#include "PelkarTest.h"
#include "RecordingPickList.h"
#include "TestBatch.h"
#include "TestFiles.h"

#include "core/Globals.h"
#include "core/Project.h"
#include "core/clsEvents.h"
#include "entry/FlexGrid.h"
#include "entry/ForenameBox.h"
#include "entry/RichTextBox.h"
#include "lists/ForeNames.h"
#include "transcription/Change_Monitor.h"
#include "transcription/EntryBoxes.h"
#include "transcription/Transcription.h"

#include <QDir>

using EntryKeys::ghostOf;
using EntryKeys::press;

namespace {

constexpr int kForenames = 2;

const QStringList kNameFile = {
    "@John", "@Mary", "@William",
    "Ada", "Adam", "Adela", "Adelaide", "Adeline", "Adolphus", "Agatha", "Agnes", "Albert",
    "Alberta", "Alexander", "Alfred", "Alice", "Amelia",
    "Henry", "John", "Jonah", "Joseph", "Mary", "Mary-Ann", "William",
};

} // namespace

class tst_ForenameBox : public PelkarTest
{
    Q_OBJECT

protected:
    void setUpCase() override
    {
        ProgramObjects::createEvents();
        ProgramObjects::createProject();
        gProject->setDataPath(home());
        gProject->setFilesPath(homePath("Files"));
        QVERIFY(QDir(home()).mkpath("Files"));
        QVERIFY(QDir(home()).mkpath("OriginalFiles"));
        QVERIFY(TestFiles::writeBytes(nameFile(), (kNameFile.join("\r\n") + "\r\n").toLatin1()));
        gProject->setPickRows(20);
        gProject->setForenameCase("M");
        gProject->setForePick(true);
        gProject->setBForeGhost(true);
        gProject->setBeepit(true);
        ProgramObjects::createChangeMonitor();
        ProgramObjects::createForeNames();
        ProgramObjects::createTranscription();
        QCOMPARE(gForeNames->NameCount(), 21);

        grid = TestBatch::makeGrid();
        gTranscription->setGrid(grid.get());
        grid->setCols(5);
        grid->setRows(5);
        grid->setTextMatrix(1, 1, "+PAGE,123");
        grid->setTextMatrix(2, 1, "Smith");
        grid->setTextMatrix(2, 2, "John Henry");
        grid->setTextMatrix(2, 3, "Leeds,1a");
        grid->setTextMatrix(2, 4, "12");

        box = std::make_unique<RichTextBox>();
        forenames = std::make_unique<ForenameBox>();
        forenames->setControl(box.get());
        forenames->setColumn(kForenames);
        QObject::connect(grid.get(), &FlexGrid::EnterCell, box.get(), [this] {
            ++enters;
            gCurrentRow = grid->Row();
            gCurrentCol = grid->Col();
        });
    }

    void tearDownCase() override
    {
        forenames.reset();
        box.reset();
        ProgramObjects::releaseAll();
        grid.reset();
    }

    QString nameFile() const { return QDir(homePath("Files")).filePath("Pelkar_Name2.txt"); }

    // Opens the box on row's forename cell, as the cell-entry loop does.
    void open(int row, const QString &text = QString())
    {
        grid->setTextMatrix(row, kForenames, text);
        grid->setRowCol(row, kForenames);
        gCurrentRow = row;
        gCurrentCol = kForenames;
        forenames->Show();
        gChangeMonitor->ClearChange();
        enters = 0;
    }

    std::unique_ptr<FlexGrid> grid;
    std::unique_ptr<RichTextBox> box;
    std::unique_ptr<ForenameBox> forenames;
    RecordingPickList pickList{20};
    int enters = 0;

private slots:
    void showOpensOverTheCell()
    {
        EntryKeys::RecordingWindow window;
        gProject->setDropDownPick(true);
        open(3);
        QVERIFY(box->Visible());
        QCOMPARE(box->BackColor(), 0xFFFFC0u);
        QCOMPARE(forenames->CellRow(), 3);
        QCOMPARE(forenames->CellIndex(), 3 * 5 + kForenames);
        QCOMPARE(box->Left(), 150 + grid->CellLeft());
        QCOMPARE(box->Width(), grid->CellWidth());
        QCOMPARE(window.calls, QStringList{"Position_DropDown"});
        // An empty box offers the most common names.
        QCOMPARE(pickList.texts, (QStringList{"John", "Mary", "William"}));
    }

    void typing_data()
    {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("ghost");
        QTest::addColumn<int>("caret");
        QTest::addColumn<QStringList>("listed");
        QTest::addColumn<int>("beeps");

        const QStringList jo = {"John", "Jonah", "Joseph"};
        QTest::newRow("ghost-after-jo") << "jo" << "John" << "hn" << 2 << jo << 0;
        QTest::newRow("right-takes-one-ghost-letter")
            << "jo<Right>" << "John" << "n" << 3 << jo << 0;
        QTest::newRow("typing-over-ghost")
            << "joh" << "John" << "n" << 3 << QStringList{"John"} << 0;
        QTest::newRow("mixed-case-hyphen") << "mary-ann" << "Mary-Ann" << "" << 8
                                           << QStringList{"Mary-Ann"} << 0;
        QTest::newRow("shift-inverts-typed-letter-only")
            << "^john" << "john" << "" << 4 << QStringList{"John"} << 0;
        QTest::newRow("second-word") << "mary a" << "Mary Ada" << "da" << 6
                                     << QStringList{"Ada", "Adam", "Adela", "Adelaide", "Adeline",
                                                    "Adolphus", "Agatha", "Agnes", "Albert",
                                                    "Alberta", "Alexander", "Alfred", "Alice",
                                                    "Amelia"}
                                     << 0;
        QTest::newRow("wildcard-no-ghost")
            << "j*n" << "J*n" << "" << 3 << QStringList{"John", "Jonah"} << 0;
        QTest::newRow("backspace-recases-nothing")
            << "mc^do<BS>" << "McD" << "" << 3 << QStringList{} << 0;
        QTest::newRow("refused-characters-beep")
            << "jo!\"" << "John" << "hn" << 2 << jo << 2;
        QTest::newRow("numbered-choice") << "jo2" << "Jonah " << "" << 6
                                         << QStringList{"John", "Mary", "William"} << 0;
        QTest::newRow("two-digit-choice") << "a12" << "Alfred " << "" << 7
                                          << QStringList{"Ada", "Adam", "Adela", "Adelaide",
                                                         "Adeline", "Adolphus", "Agatha", "Agnes",
                                                         "Albert", "Alberta", "Alexander",
                                                         "Alfred", "Alice", "Amelia"}
                                          << 0;
        QTest::newRow("number-beyond-list-beeps") << "jo7" << "John" << "hn" << 2 << jo << 1;
        QTest::newRow("zero-copies-first-previous-name")
            << "0" << "John " << "" << 5 << QStringList{"John", "Mary", "William"} << 0;
        QTest::newRow("second-zero-copies-next-name")
            << "00" << "John Henry " << "" << 11 << QStringList{"John", "Mary", "William"} << 0;
        QTest::newRow("period-after-space-goes-before-it")
            << "john ." << "John. " << "" << 5 << QStringList{"John", "Mary", "William"} << 0;
        QTest::newRow("digit-inside-braces-typed") << "j{2" << "J{2" << "" << 3 << QStringList{} << 0;
    }

    void typing()
    {
        QFETCH(QString, keys);
        QFETCH(QString, text);
        QFETCH(QString, ghost);
        QFETCH(int, caret);
        QFETCH(QStringList, listed);
        QFETCH(int, beeps);

        open(3);
        press(*box, input(), keys);
        QCOMPARE(box->Text(), text);
        QCOMPARE(ghostOf(*box), ghost);
        QCOMPARE(box->SelStart(), caret);
        QCOMPARE(box->SelLength(), 0);
        QCOMPARE(pickList.texts, listed);
        QCOMPARE(input().beeps, beeps);
    }

    // Where the box writes the grid, and where it moves on to.
    void leaving_data()
    {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<bool>("ignoreEnter");
        QTest::addColumn<QString>("cell");
        QTest::addColumn<int>("endCol");

        QTest::newRow("tab-takes-ghost") << "jo<Tab>" << false << "John" << 3;
        QTest::newRow("enter-takes-ghost") << "jo<Enter>" << false << "John" << 3;
        QTest::newRow("enter-ignoring-ghost") << "jo<Enter>" << true << "Jo" << 3;
        QTest::newRow("shift-tab-cases-without-shift")
            << "john henry<S-Tab>" << false << "John Henry" << 1;
        QTest::newRow("tab-on-empty-copies-previous") << "<Tab>" << false << "John Henry" << 3;
        QTest::newRow("typing-writes-nothing-yet") << "jo" << false << "" << kForenames;
        QTest::newRow("numbered-choice-writes") << "jo3" << false << "Joseph" << kForenames;
    }

    void leaving()
    {
        QFETCH(QString, keys);
        QFETCH(bool, ignoreEnter);
        QFETCH(QString, cell);
        QFETCH(int, endCol);

        gProject->setIgnoreEnter(ignoreEnter);
        open(3);
        press(*box, input(), keys);
        QCOMPARE(grid->TextMatrix(3, kForenames), cell);
        QCOMPARE(grid->Col(), endCol);
        QCOMPARE(grid->Row(), 3);
    }

    void backspaceAtStart()
    {
        open(3, "Ann");
        press(*box, input(), "<Sel:0,0><BS>");
        QCOMPARE(box->Text(), QString());
        QCOMPARE(grid->TextMatrix(3, kForenames), QString());
        QCOMPARE(grid->Col(), kForenames);
        press(*box, input(), "<BS>");
        QCOMPARE(grid->Col(), 1);
    }

    void homeLeavesForColumnOne()
    {
        EntryKeys::RecordingWindow window;
        open(3, "Ann");
        press(*box, input(), "<Home>");
        QVERIFY(!box->Visible());
        QCOMPARE(grid->Col(), 1);
        QCOMPARE(grid->TextMatrix(3, kForenames), QString("Ann "));
        QCOMPARE(window.calls, QStringList{"Set_TextBox"});
    }

    void upAndDown()
    {
        open(3, "Ann");
        press(*box, input(), "<Down>");
        QCOMPARE(grid->Row(), 4);
        QCOMPARE(grid->TextMatrix(3, kForenames), QString("Ann"));
        QCOMPARE(forenames->CellRow(), 4);
        press(*box, input(), "<Up>");
        QCOMPARE(forenames->CellRow(), 3);
        press(*box, input(), "<Up>");
        QCOMPARE(forenames->CellRow(), 2);
        press(*box, input(), "<Up>");
        QCOMPARE(forenames->CellRow(), 2);
        QCOMPARE(input().beeps, 1);
    }

    void periodSpaceSendsSpace()
    {
        gProject->setPeriodSpace(true);
        open(3);
        press(*box, input(), "j .");
        QCOMPARE(box->Text(), QString("J. "));
        QCOMPARE(input().sentKeys, (QList<QPoint>{{32, 1}, {32, 0}}));
    }

    // After a letter as well: "J" then "." is followed by a space; at the
    // start of the box the full stop comes alone.
    void periodSpaceAfterALetter_data()
    {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<int>("sent");
        QTest::newRow("after-a-letter") << "j." << 2;
        QTest::newRow("at-the-start") << "." << 0;
    }

    void periodSpaceAfterALetter()
    {
        QFETCH(QString, keys);
        QFETCH(int, sent);
        gProject->setPeriodSpace(true);
        open(3);
        press(*box, input(), keys);
        QCOMPARE(input().sentKeys.size(), sent);
    }

    void pastedTextIsCasedAndFiltered()
    {
        open(3);
        input().shift = true;
        box->pasteText("mary\"x");
        input().shift = false;
        QCOMPARE(box->Text().left(5), QString("Maryx"));
    }

    void fillFromEmptyBoxIsRefused()
    {
        script->answer("Ok");
        open(3);
        press(*box, input(), "<Ins>");
        QCOMPARE(script->records().size(), 1);
        QCOMPARE(script->records().at(0).prompt,
                 QString("You can't fill with an empty field - type something first"));
        QCOMPARE(script->records().at(0).title, QString("Pelkar - Invalid Fill"));
    }

    void validateOffersNewForename_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QStringList>("answers");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<QString>("cell");
        QTest::addColumn<QStringList>("added");

        QTest::newRow("yes-adds") << "zebedee" << QStringList{"Yes"} << true << "Zebedee "
                                  << QStringList{"Zebedee"};
        QTest::newRow("no-keeps-file") << "zebedee" << QStringList{"No"} << true << "Zebedee "
                                       << QStringList{};
        QTest::newRow("cancel-stays") << "zebedee" << QStringList{"Cancel"} << false << ""
                                      << QStringList{};
        QTest::newRow("each-new-word") << "zeb john.quin" << QStringList{"Yes", "No"} << true
                                       << "Zeb John.Quin " << QStringList{"Zeb"};
        QTest::newRow("known-names-not-offered") << "mary-ann  john" << QStringList{} << true
                                                 << "Mary-Ann John " << QStringList{};
        QTest::newRow("single-letter-not-offered") << "j" << QStringList{} << true << "J "
                                                   << QStringList{};
        QTest::newRow("wildcard-not-offered") << "zeb*" << QStringList{} << true << "Zeb* "
                                              << QStringList{};
        QTest::newRow("empty-writes-empty") << "" << QStringList{} << true << "" << QStringList{};
    }

    void validateOffersNewForename()
    {
        QFETCH(QString, typed);
        QFETCH(QStringList, answers);
        QFETCH(bool, ok);
        QFETCH(QString, cell);
        QFETCH(QStringList, added);

        gProject->setForenameWarning(true);
        gProject->setBForeGhost(false);
        const QByteArray before = TestFiles::readBytes(nameFile());
        open(3);
        press(*box, input(), typed);
        grid->setRowCol(3, 3); // the grid leaving the cell
        script->answer(answers);
        QCOMPARE(forenames->Validate(), ok);
        QCOMPARE(grid->TextMatrix(3, kForenames), cell);
        QCOMPARE(grid->Col(), ok ? 3 : kForenames);
        QCOMPARE(script->records().size(), answers.size());
        for (const MessageRecord &asked : script->records()) {
            QVERIFY(asked.prompt.endsWith(
                " is a new Forename - Do you want to add it to your Forenames file?"));
            QCOMPARE(asked.style, 291);
            QCOMPARE(asked.title, QString("Pelkar - New Name"));
        }
        if (!script->records().isEmpty())
            QCOMPARE(script->records().at(0).prompt.section(' ', 0, 0),
                     VbName(typed.section(' ', 0, 0)));
        const QByteArray after = TestFiles::readBytes(nameFile());
        if (added.isEmpty()) {
            QCOMPARE(after, before);
        } else {
            QVERIFY(after.contains("\r\n" + added.at(0).toLatin1() + "\r\n"));
            QVERIFY(gForeNames->TestForName(added.at(0)));
        }
    }

    // Yes to adding a new forename while the Files folder cannot be
    // written: the transcriber is told that the name was not added, and why.
    void newForenameThatCannotBeSavedIsTold()
    {
        gProject->setForenameWarning(true);
        gProject->setBForeGhost(false);
        const QByteArray before = TestFiles::readBytes(nameFile());
        open(3);
        press(*box, input(), QStringLiteral("zebedee"));
        grid->setRowCol(3, 3);
        script->answer({"Yes", "Ok"});
        {
            TestFiles::FileSizeLimit full(64);
            QVERIFY(forenames->Validate());
        }
        QCOMPARE(grid->TextMatrix(3, kForenames), QStringLiteral("Zebedee "));
        QCOMPARE(script->records().size(), 2);
        QCOMPARE(script->records().at(1).prompt,
                 "Zebedee could not be added to your Forenames file:\r\n" + nameFile()
                     + "\r\nFile too large\r\nThe change holds only until Pelkar closes.");
        QCOMPARE(TestFiles::readBytes(nameFile()), before);
    }

    void commands_data()
    {
        QTest::addColumn<QString>("cell");
        QTest::addColumn<QString>("selection");
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("written");

        QTest::newRow("upper-whole") << "john henry" << "" << "upper" << "JOHN HENRY" << "john henry";
        QTest::newRow("upper-selection") << "john henry" << "<Sel:0,4>" << "upper" << "JOHN henry"
                                         << "john henry";
        QTest::newRow("lower") << "JOHN" << "" << "lower" << "john" << "JOHN";
        QTest::newRow("invert") << "John" << "" << "invert" << "jOHN" << "John";
        QTest::newRow("proper") << "JOHN HENRY" << "" << "proper" << "John Henry" << "JOHN HENRY";
        QTest::newRow("proper-ignores-shift") << "JOHN" << "" << "proper-shift" << "John" << "JOHN";
        QTest::newRow("delword") << "John Henry" << "" << "delword" << "John " << "John ";
        QTest::newRow("f9") << "John Henry" << "" << "<F9>" << "John " << "John ";
        // The box alone: the cell is written when the box is left.
        QTest::newRow("shift-f9") << "John Henry" << "" << "<S-F9>" << "" << "John Henry";
        QTest::newRow("special-char") << "Zo" << "" << "special" << "Zo\u00EB" << "Zo";
        QTest::newRow("case-change") << "jOHN" << "" << "case" << "John" << "jOHN";
    }

    void commands()
    {
        QFETCH(QString, cell);
        QFETCH(QString, selection);
        QFETCH(QString, command);
        QFETCH(QString, text);
        QFETCH(QString, written);

        gProject->setBForeGhost(false);
        open(3, cell);
        press(*box, input(), selection);
        if (command == "upper")
            forenames->UpperCase();
        else if (command == "lower")
            forenames->LowerCase();
        else if (command == "invert")
            forenames->InvertCase();
        else if (command.startsWith("proper")) {
            input().shift = command.endsWith("shift");
            forenames->ProperCase();
            input().shift = false;
        } else if (command == "delword")
            forenames->DelWord();
        else if (command == "special")
            forenames->SpecialChar(QString(QChar(0xEB)));
        else if (command == "case")
            forenames->CaseChange();
        else
            press(*box, input(), command);
        QCOMPARE(box->Text(), text);
        QCOMPARE(grid->TextMatrix(3, kForenames), written);
    }

    void oversizedDropFitsList()
    {
        gProject->setDropDownPick(true);
        gProject->setOversizedDrop(true);
        open(3);
        const int before = pickList.fits;
        press(*box, input(), "jo");
        QCOMPARE(pickList.fits, before + 2);
        QVERIFY(pickList.visible);
    }

    // The program-wide boxes, as the grid's validation reaches them.
    void validationReachesTheBox()
    {
        ProgramObjects::createEntryBoxes();
        forenames->setControl(nullptr);
        gForenameBox->setControl(box.get());
        gProject->setForenameWarning(true);
        gProject->setBForeGhost(false);
        grid->setRowCol(3, kForenames);
        gCurrentRow = 3;
        gCurrentCol = kForenames;
        gForenameBox->Show();
        press(*box, input(), "zebedee");
        QVERIFY(Boxes().ForenameBoxVisible());
        QVERIFY(!Boxes().RichTextboxVisible());
        script->answer("Cancel");
        QVERIFY(!gTranscription->ValidateBox(kForenames, 3));
        QCOMPARE(grid->TextMatrix(3, kForenames), QString());
        script->answer("No");
        QVERIFY(gTranscription->ValidateBox(kForenames, 3));
        QCOMPARE(grid->TextMatrix(3, kForenames), QString("Zebedee "));
        Boxes().HideForenameBox();
        QVERIFY(!box->Visible());
    }

private:
    static QString VbName(const QString &word) { return word.left(1).toUpper() + word.mid(1); }
};

PELKAR_TEST(tst_ForenameBox)
#include "tst_ForenameBox.moc"
