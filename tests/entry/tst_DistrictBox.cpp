// The district box's rules, typed key by key into the rich-text model over a
// grid and a real district file, without a window: the district case rule,
// the grey completion and how it is taken, the pick list and numbered
// choices, the volume after the comma, the keys that move on, and the check
// and new-district offer on leaving with the supplementary file's bytes
// after.

#include "EntryKeys.h"
#include "PelkarTest.h"
#include "RecordingPickList.h"
#include "RecordingStatusBar.h"
#include "TestBatch.h"
#include "TestFiles.h"

#include "core/Globals.h"
#include "core/Project.h"
#include "core/clsEvents.h"
#include "entry/DistrictBox.h"
#include "entry/FlexGrid.h"
#include "entry/RichTextBox.h"
#include "lists/Districts.h"
#include "transcription/Change_Monitor.h"
#include "transcription/EntryBoxes.h"
#include "transcription/Transcription.h"

#include <QDir>

using EntryKeys::ghostOf;
using EntryKeys::press;

namespace {

constexpr int kDistrict = 3;

QString line(const QString &name, const QString &volume)
{
    return name + QStringLiteral("|1837|1|9999|4|") + QStringList(5, volume).join(u'|');
}

const QStringList kDistrictFile = {
    "# name|first year|first quarter|last year|last quarter|volumes",
    line("Leeds", "9b"),        line("Leek", "6b"),         line("Leicester", "7a"),
    line("Leigh", "8c"),        line("Lewes", "2b"),        line("West Ham", "4a"),
    line("West Bromwich", "6b"), line("Westbury", "5a"),    line("Newport", "11a"),
    line("Stoke", "6b"),
};

const QStringList kLe = {"Leeds,9b", "Leek,6b", "Leicester,7a", "Leigh,8c", "Lewes,2b"};

} // namespace

class tst_DistrictBox : public PelkarTest
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
        QVERIFY(TestFiles::writeBytes(filesFile("Pelkar_Districts.txt"),
                                      (kDistrictFile.join("\r\n") + "\r\n").toLatin1()));
        QVERIFY(TestFiles::writeBytes(suppFile(), QByteArray()));
        gProject->setIYear(1911);
        gProject->setQtr(3);
        gProject->setIVnf(Project::iVNF9z());
        gProject->setPickRows(20);
        gProject->setDistPick(true);
        gProject->setDistPickStd(true);
        gProject->setBDistGhost(true);
        gProject->setDistValidate(true);
        gProject->setBeepit(true);
        ProgramObjects::createChangeMonitor();
        ProgramObjects::createDistricts();
        QVERIFY(gDistricts->Read_Districts());
        ProgramObjects::createTranscription();

        grid = TestBatch::makeGrid();
        gTranscription->setGrid(grid.get());
        grid->setCols(5);
        grid->setRows(6);
        grid->setTextMatrix(1, 1, "+PAGE,123");
        grid->setTextMatrix(2, 1, "Smith");
        grid->setTextMatrix(2, 2, "John");
        grid->setTextMatrix(2, kDistrict, "Leeds,9b");
        grid->setTextMatrix(2, 4, "12");

        box = std::make_unique<RichTextBox>();
        district = std::make_unique<DistrictBox>();
        district->setControl(box.get());
        district->setColumn(kDistrict);
        QObject::connect(grid.get(), &FlexGrid::EnterCell, box.get(), [this] {
            gCurrentRow = grid->Row();
            gCurrentCol = grid->Col();
        });
    }

    void tearDownCase() override
    {
        district.reset();
        box.reset();
        ProgramObjects::releaseAll();
        grid.reset();
    }

    QString filesFile(const QString &name) const
    {
        return QDir(homePath("Files")).filePath(name);
    }
    QString suppFile() const { return filesFile("Pelkar_Supp_Districts.txt"); }

    // Opens the box on row's district cell, as the cell-entry loop does.
    void open(int row, const QString &text = QString())
    {
        grid->setTextMatrix(row, kDistrict, text);
        grid->setRowCol(row, kDistrict);
        gCurrentRow = row;
        gCurrentCol = kDistrict;
        district->Show();
        gChangeMonitor->ClearChange();
    }

    std::unique_ptr<FlexGrid> grid;
    std::unique_ptr<RichTextBox> box;
    std::unique_ptr<DistrictBox> district;
    RecordingPickList pickList{20};

private slots:
    void showOpensOverTheCell()
    {
        EntryKeys::RecordingWindow window;
        gProject->setDropDownPick(true);
        open(3, "Leeds,9b");
        QVERIFY(box->Visible());
        QCOMPARE(box->BackColor(), 0xFFFFC0u);
        QCOMPARE(box->Text(), QString("Leeds,9b"));
        QCOMPARE(box->SelStart(), 8);
        QCOMPARE(district->CellIndex(), 3 * 5 + kDistrict);
        QCOMPARE(box->Left(), 150 + grid->CellLeft());
        QCOMPARE(window.calls, QStringList{"Position_DropDown"});
        QVERIFY(!district->Edited());
    }

    void typing_data()
    {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("ghost");
        QTest::addColumn<int>("caret");
        QTest::addColumn<QStringList>("listed");
        QTest::addColumn<int>("beeps");

        QTest::newRow("ghost-after-le") << "le" << "Leeds,9b" << "eds,9b" << 2 << kLe << 0;
        QTest::newRow("space-at-start-swallowed")
            << " le" << "Leeds,9b" << "eds,9b" << 2 << kLe << 0;
        QTest::newRow("mixed-case-after-space")
            << "west ham" << "West Ham,4a" << ",4a" << 8 << QStringList{"West Ham,4a"} << 0;
        QTest::newRow("right-takes-one-ghost-letter")
            << "lee<Right>" << "Leeds,9b" << "s,9b" << 4 << QStringList{"Leeds,9b"} << 0;
        QTest::newRow("numbered-choice")
            << "le3" << "Leicester,7a" << "" << 12 << kLe << 0;
        QTest::newRow("number-beyond-list-typed")
            << "le7" << "Le7" << "" << 3 << QStringList{} << 0;
        QTest::newRow("volume-digits-after-comma")
            << "leeds,9" << "Leeds,9b" << "b" << 7 << QStringList{"Leeds,9b"} << 0;
        QTest::newRow("refused-character-beeps")
            << "le!" << "Leeds,9b" << "eds,9b" << 2 << kLe << 1;
        QTest::newRow("zero-copies-previous-district")
            << "0" << "Leeds,9b" << "" << 8 << QStringList{} << 0;
        QTest::newRow("insert-and-f4-beep")
            << "le<Ins><F4>" << "Leeds,9b" << "eds,9b" << 2 << kLe << 2;
        QTest::newRow("wildcard-no-ghost")
            << "le*" << "Le*" << "" << 3 << kLe << 0;
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
        QCOMPARE(pickList.texts, listed);
        QCOMPARE(input().beeps, beeps);
    }

    void twoDigitNumberPicksAgainstTheSameList()
    {
        open(3);
        QVERIFY(TestFiles::writeBytes(suppFile(), QByteArray()));
        for (int i = 0; i < 12; ++i) {
            QString d = QStringLiteral("Lx%1,1a").arg(QChar(u'a' + i));
            QVERIFY(gDistricts->AddDistrict(d));
        }
        press(*box, input(), "l12");
        QCOMPARE(box->Text(), pickList.texts.value(11));
        QCOMPARE(district->PickDigits(), QString("12"));
    }

    void zeroOnTheFirstRowBeeps()
    {
        open(2, "");
        press(*box, input(), "0");
        QCOMPARE(box->Text(), QString());
        QCOMPARE(input().beeps, 1);
    }

    void casing_data()
    {
        QTest::addColumn<QString>("mode");
        QTest::addColumn<QString>("cell");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("text");

        QTest::newRow("mixed") << "M" << "" << "west ham" << "West Ham";
        QTest::newRow("mixed-shift-inverts") << "M" << "" << "^w^e^s^t ^h^a^m" << "wEST hAM";
        QTest::newRow("mixed-separators")
            << "M" << "" << "stoke-on-trent/x.y" << "Stoke-On-Trent/X.Y";
        QTest::newRow("upper") << "U" << "" << "west^h" << "WESTh";
        QTest::newRow("lower") << "L" << "" << "W^est" << "wEst";
        QTest::newRow("as-typed") << "D" << "" << "w^es^t" << "wEsT";
        QTest::newRow("roman-volume-upper") << "xx" << "" << "leeds,iia" << "Leeds,IIA";
        QTest::newRow("typed-in-the-middle") << "M" << "est" << "<Sel:0,0>w" << "West";
        QTest::newRow("deletion-recases-nothing") << "M" << "WEST" << "<BS>" << "WES";
    }

    void casing()
    {
        QFETCH(QString, mode);
        QFETCH(QString, cell);
        QFETCH(QString, keys);
        QFETCH(QString, text);

        gProject->setDistPick(false);
        gProject->setBDistGhost(false);
        if (mode == "U")
            gProject->setDistrictUpper(true);
        else if (mode == "L")
            gProject->setDistrictLower(true);
        else if (mode == "D")
            gProject->setDistrictLeave(true);
        else if (mode == "xx")
            gProject->setIVnf(Project::iVNFxx());
        open(3, cell);
        press(*box, input(), keys);
        QCOMPARE(box->Text(), text);
    }

    // The menu's re-casing and an added text are cased as a whole, by what
    // precedes each letter; Shift held at that moment changes nothing.
    void wholeTextCasingIgnoresShift()
    {
        gProject->setBDistGhost(false);
        open(3, "wEST hAM,4A");
        input().shift = true;
        district->CaseChange();
        QCOMPARE(box->Text(), QString("West Ham,4a"));
        district->AddText("new town,5B*");
        input().shift = false;
        QCOMPARE(box->Text(), QString("New Town,5b"));
        QCOMPARE(grid->TextMatrix(3, kDistrict), QString("New Town,5b"));
    }

    void rightArrowMarksChangeOnlyForAGhostLetter()
    {
        open(3, "Leeds,9b");
        press(*box, input(), "<Sel:0,0><Right><Right>");
        QVERIFY(!gChangeMonitor->CellChanged());
        QVERIFY(!district->Edited());
        open(4);
        press(*box, input(), "le");
        gChangeMonitor->ClearChange();
        press(*box, input(), "<Right>");
        QVERIFY(gChangeMonitor->CellChanged());
        QCOMPARE(ghostOf(*box), QString("ds,9b"));
        // At the end of the text Right moves on to the next column.
        press(*box, input(), "<Right><Right><Right><Right><Right><Right>");
        QCOMPARE(grid->Col(), kDistrict + 1);
    }

    void leaving_data()
    {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("cell");
        QTest::addColumn<int>("endRow");
        QTest::addColumn<int>("endCol");

        QTest::newRow("enter-takes-row-one") << "lee<Enter>" << "Leeds,9b" << 3 << 4;
        QTest::newRow("tab-keeps-full-district") << "leek,6b<Tab>" << "Leek,6b" << 3 << 4;
        QTest::newRow("shift-tab-goes-back") << "leek,6b<S-Tab>" << "Leek,6b" << 3 << 2;
        QTest::newRow("enter-on-empty-copies-previous") << "<Enter>" << "Leeds,9b" << 3 << 4;
        QTest::newRow("down-moves-on") << "lewes,2b<Down>" << "Lewes,2b" << 4 << kDistrict;
        QTest::newRow("home-leaves-for-column-one") << "leek,6b<Home>" << "Leek,6b" << 3 << 1;
        QTest::newRow("up-moves-up") << "le<Up>" << "" << 2 << kDistrict;
        QTest::newRow("typing-writes-nothing-yet") << "le" << "" << 3 << kDistrict;
        QTest::newRow("numbered-choice-writes") << "le2" << "Leek,6b" << 3 << kDistrict;
        QTest::newRow("f9-empties-cell") << "le2<F9>" << "" << 3 << kDistrict;
        QTest::newRow("shift-f9-empties-box-only") << "le2<S-F9>" << "Leek,6b" << 3 << kDistrict;
    }

    void leaving()
    {
        QFETCH(QString, keys);
        QFETCH(QString, cell);
        QFETCH(int, endRow);
        QFETCH(int, endCol);

        open(3);
        press(*box, input(), keys);
        QCOMPARE(grid->TextMatrix(3, kDistrict), cell);
        QCOMPARE(grid->Row(), endRow);
        QCOMPARE(grid->Col(), endCol);
    }

    void backspaceAtStart()
    {
        open(3, "Leek,6b");
        press(*box, input(), "<Sel:0,0><BS>");
        QCOMPARE(box->Text(), QString());
        QCOMPARE(grid->TextMatrix(3, kDistrict), QString());
        QCOMPARE(grid->Col(), kDistrict);
        press(*box, input(), "<BS>");
        QCOMPARE(grid->Col(), 2);
    }

    void newDistrictOffered_data()
    {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<QString>("cell");
        QTest::addColumn<QByteArray>("supp");

        QTest::newRow("yes-adds") << "Yes" << true << "Newtown,5a" << QByteArray("Newtown,5a\r\n");
        QTest::newRow("no-cell-only") << "No" << true << "Newtown,5a" << QByteArray();
        QTest::newRow("cancel-stays") << "Cancel" << false << "" << QByteArray();
    }

    void newDistrictOffered()
    {
        QFETCH(QString, answer);
        QFETCH(bool, ok);
        QFETCH(QString, cell);
        QFETCH(QByteArray, supp);

        gProject->setBDistGhost(false);
        open(3);
        press(*box, input(), "newtown , 5a");
        script->answer(answer);
        QCOMPARE(district->Validate(), ok);
        QCOMPARE(script->records().size(), 1);
        const MessageRecord asked = script->records().at(0);
        QCOMPARE(asked.prompt, QString("Newtown,5a is a new District.\r\n"
                                       "Would you like to add it to your District File?"));
        QCOMPARE(asked.style, 547);
        QCOMPARE(asked.title, QString("Pelkar"));
        QCOMPARE(grid->TextMatrix(3, kDistrict), cell);
        QCOMPARE(TestFiles::readBytes(suppFile()), supp);
        QCOMPARE(gDistricts->TestForDistrict("Newtown,5a"), answer == "Yes");
        QCOMPARE(input().beeps, 1);
        if (ok) // the district joins the recent ones of its letter
            QCOMPARE(gDistricts->DistrictMRU(14, 1), QString("Newtown,5a"));
    }

    void knownDistrictIsNotOffered()
    {
        open(3);
        press(*box, input(), "west ham,4a");
        QVERIFY(district->Validate());
        QCOMPARE(script->records().size(), 0);
        QCOMPARE(grid->TextMatrix(3, kDistrict), QString("West Ham,4a"));
    }

    void invalidDistrictRefused()
    {
        RecordingStatusBar status;
        gProject->setBDistGhost(false);
        gProject->setDistPick(false);
        open(3);
        press(*box, input(), "leeds");
        script->answer("Ok");
        QVERIFY(!district->Validate());
        QCOMPARE(script->records().size(), 1);
        QCOMPARE(script->records().at(0).prompt, QString("Volume Number is missing"));
        QCOMPARE(status.current(), QString("Invalid District"));
        QVERIFY(status.messages.last().error);
        QCOMPARE(grid->TextMatrix(3, kDistrict), QString());
        QVERIFY(box->Visible());
    }

    void acceptedRowIsNotChecked()
    {
        gProject->setDistPick(false);
        gTranscription->SetDistrictNotValidated(3);
        open(3);
        press(*box, input(), "nowhere");
        QVERIFY(district->Validate());
        QCOMPARE(grid->TextMatrix(3, kDistrict), QString("Nowhere"));
        QCOMPARE(script->records().size(), 0);
    }

    // Without the district check the compacted text is written back to the
    // box by the program: that write is no typing.
    void uncheckedWriteRaisesNoChange()
    {
        gProject->setDistValidate(false);
        open(3, "west  ham");
        const int clears = pickList.clears;
        QVERIFY(district->Validate());
        QCOMPARE(box->Text(), QString("west ham"));
        QCOMPARE(grid->TextMatrix(3, kDistrict), QString("west ham"));
        QVERIFY(!district->Edited());
        QVERIFY(!gChangeMonitor->CellChanged());
        QCOMPARE(pickList.clears, clears);
    }

    // The program-wide boxes, as the grid's validation reaches them.
    void validationReachesTheBox()
    {
        ProgramObjects::createEntryBoxes();
        QCOMPARE(gDistrictBox->Column(), gTranscription->DistrictCol());
        district->setControl(nullptr);
        gDistrictBox->setControl(box.get());
        gProject->setBDistGhost(false);
        grid->setRowCol(3, kDistrict);
        gCurrentRow = 3;
        gCurrentCol = kDistrict;
        gDistrictBox->Show();
        press(*box, input(), "newtown,5a");
        QVERIFY(Boxes().DistrictBoxVisible());
        QVERIFY(!Boxes().ForenameBoxVisible());
        script->answer("Cancel");
        QVERIFY(!Boxes().DistrictValidate());
        script->answer("No");
        QVERIFY(Boxes().DistrictValidate());
        QCOMPARE(grid->TextMatrix(3, kDistrict), QString("Newtown,5a"));
        Boxes().HideDistrictBox();
        QVERIFY(!box->Visible());
        QVERIFY(!Boxes().DistrictBoxVisible());
    }
};

PELKAR_TEST(tst_DistrictBox)
#include "tst_DistrictBox.moc"
