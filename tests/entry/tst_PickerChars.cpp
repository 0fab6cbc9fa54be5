// The character picker's logic without its window: which character each of
// the seventy cells shows under the settings' not-used list, and a picked
// character going into the open box through the box's own KeyPress rules,
// the general box first, then the forename box, the district box never.

#include "PelkarTest.h"
#include "TestFiles.h"

#include "core/Globals.h"
#include "core/Project.h"
#include "core/SettingsFileStore.h"
#include "entry/RichTextBox.h"
#include "entry/PickerChars.h"

#include <QDir>

using namespace TestFiles;

class tst_PickerChars : public PelkarTest
{
    Q_OBJECT

    // A project loaded from a settings file holding the not-used list (or
    // none, for the default).
    void loadProject(const QString &notUsed)
    {
        ClearIniStore();
        ProgramObjects::createEvents();
        ProgramObjects::createProject();
        const QString data = homePath("data");
        QVERIFY(QDir().mkpath(data));
        if (!notUsed.isNull()) {
            QVERIFY(writeBytes(QDir(data).filePath("Pelkarini.txt"),
                               "[Forms]\r\nNotUsedChars=" + notUsed.toLatin1() + "\r\n"));
        }
        gProject->setDataPath(data);
        QVERIFY(gProject->Setup());
    }

protected:
    void tearDownCase() override { ClearIniStore(); }

private slots:
    void cellTexts_data()
    {
        QTest::addColumn<QString>("notUsed"); // null: the default list
        QTest::addColumn<QString>("texts");   // the 70 cells, "_" for an empty one

        QTest::newRow("default-not-used")
            << QString() << "ÀÁÂÃÄÅÆÇÈÉÊËÌÍÎÏ_ÑÒÓÔÕÖ_ØÙÚÛÜÝ_ßàáâãäåæçèéêëìíîï_ñòóôõö_øùúûüý_ÿ______";
        QTest::newRow("all-used")
            << "" << "ÀÁÂÃÄÅÆÇÈÉÊËÌÍÎÏÐÑÒÓÔÕÖ×ØÙÚÛÜÝÞßàáâãäåæçèéêëìíîïðñòóôõö÷øùúûüýþÿ______";
        QTest::newRow("first-and-last-not-used")
            << "192,255" << "_ÁÂÃÄÅÆÇÈÉÊËÌÍÎÏÐÑÒÓÔÕÖ×ØÙÚÛÜÝÞßàáâãäåæçèéêëìíîïðñòóôõö÷øùúûüýþ_______";
    }

    void cellTexts()
    {
        QFETCH(QString, notUsed);
        QFETCH(QString, texts);
        loadProject(notUsed);
        QCOMPARE(texts.size(), PickerChars::kCells);
        QString shown;
        for (int k = 0; k < PickerChars::kCells; ++k) {
            const QString text = PickerChars::CellText(k, gProject);
            shown += text.isEmpty() ? QStringLiteral("_") : text;
        }
        QCOMPARE(shown, texts);
    }

    void cellTextsWithoutProject()
    {
        QCOMPARE(PickerChars::CellText(16, nullptr), QString("Ð"));
        QCOMPARE(PickerChars::CellText(63, nullptr), QString("ÿ"));
        QCOMPARE(PickerChars::CellText(64, nullptr), QString());
        QCOMPARE(PickerChars::CellText(-1, nullptr), QString());
    }

    void insertIntoGeneralBox_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("anchor");
        QTest::addColumn<int>("caret");
        QTest::addColumn<QString>("character");
        QTest::addColumn<bool>("upperCaseRule");
        QTest::addColumn<QString>("expected");

        QTest::newRow("at-end") << "Jos" << 3 << 3 << "é" << false << "José";
        QTest::newRow("in-middle-caret-to-end") << "Rene" << 3 << 3 << "é" << false << "Renée";
        QTest::newRow("empty-box") << "" << 0 << 0 << "Ö" << false << "Ö";
        QTest::newRow("selection-kept-not-replaced") << "Mxller" << 1 << 2 << "ü" << false
                                                     << "Müxller";
        QTest::newRow("box-rule-upper-cases") << "JOS" << 3 << 3 << "é" << true << "JOSÉ";
    }

    void insertIntoGeneralBox()
    {
        QFETCH(QString, text);
        QFETCH(int, anchor);
        QFETCH(int, caret);
        QFETCH(QString, character);
        QFETCH(bool, upperCaseRule);
        QFETCH(QString, expected);

        RichTextBox box;
        box.setVisible(true);
        box.setText(text);
        box.placeCaret(anchor, false);
        box.placeCaret(caret, true);
        int pressed = 0;
        // The box's own rule, as a case mode would apply it to a typed key.
        QObject::connect(&box, &RichTextBox::KeyPress, &box, [&](int &KeyAscii) {
            ++pressed;
            if (upperCaseRule && KeyAscii >= 224 && KeyAscii != 247 && KeyAscii != 255)
                KeyAscii -= 32;
        });
        const int focusBefore = box.focusRequests();

        EntryBoxesOpenBox open(&box);
        QVERIFY(open.InsertSpecialChar(character));
        QCOMPARE(box.Text(), expected);
        QCOMPARE(pressed, 1);
        QCOMPARE(box.SelStart(), int(expected.size()));
        QCOMPARE(box.SelLength(), 0);
        QCOMPARE(box.focusRequests(), focusBefore + 1);
    }

    // A box rule that refuses the key refuses the picked character too.
    void boxRuleSwallows()
    {
        RichTextBox box;
        box.setVisible(true);
        box.setText("Ann");
        QObject::connect(&box, &RichTextBox::KeyPress, &box, [](int &KeyAscii) { KeyAscii = 0; });
        QVERIFY(InsertIntoRichTextBox(box, "é"));
        QCOMPARE(box.Text(), QString("Ann"));
    }

    void whichBoxTakesIt_data()
    {
        QTest::addColumn<bool>("generalShown");
        QTest::addColumn<bool>("forenameShown");
        QTest::addColumn<bool>("taken");
        QTest::addColumn<QString>("general");
        QTest::addColumn<QStringList>("forename");

        QTest::newRow("general-box") << true << false << true << "Zoé" << QStringList{};
        QTest::newRow("forename-box") << false << true << true << "Zo" << QStringList{"é"};
        QTest::newRow("district-box-or-none") << false << false << false << "Zo" << QStringList{};
    }

    void whichBoxTakesIt()
    {
        QFETCH(bool, generalShown);
        QFETCH(bool, forenameShown);
        QFETCH(bool, taken);
        QFETCH(QString, general);
        QFETCH(QStringList, forename);

        RichTextBox box;
        box.setText("Zo");
        box.setSelStart(2);
        box.setVisible(generalShown);
        QStringList forenameGot;
        EntryBoxesOpenBox open(
            &box, [&] { return forenameShown; },
            [&](const QString &c) { forenameGot << c; });
        QCOMPARE(open.InsertSpecialChar("é"), taken);
        QCOMPARE(box.Text(), general);
        QCOMPARE(forenameGot, forename);
    }

    void nullBoxTakesNothing()
    {
        NullOpenEntryBox none;
        QVERIFY(!none.InsertSpecialChar("é"));
        EntryBoxesOpenBox noBoxes(nullptr);
        QVERIFY(!noBoxes.InsertSpecialChar("é"));
    }
};

PELKAR_TEST(tst_PickerChars)
#include "tst_PickerChars.moc"
