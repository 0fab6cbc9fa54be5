// The character picker's logic without its window: which character each of
// the seventy cells shows under the settings' not-used list, and a picked
// character going straight into the open box's text, past the column's key
// rules, the general box first, then the forename box, the district box
// never.

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
        QTest::addColumn<QString>("expected");

        QTest::newRow("at-end") << "Jos" << 3 << 3 << "é" << "José";
        QTest::newRow("in-middle-caret-to-end") << "Rene" << 3 << 3 << "é" << "Renée";
        QTest::newRow("empty-box") << "" << 0 << 0 << "Ö" << "Ö";
        QTest::newRow("selection-kept-not-replaced") << "Mxller" << 1 << 2 << "ü" << "Müxller";
        // Not cased: the character is the one picked.
        QTest::newRow("as-picked") << "JOS" << 3 << 3 << "é" << "JOSé";
        // What a batch line cannot hold stays out.
        QTest::newRow("double-quote-refused") << "Ann" << 3 << 3 << "\"" << "Ann";
        QTest::newRow("tab-refused") << "Ann" << 3 << 3 << "\t" << "Ann";
        QTest::newRow("not-windows-1252-refused") << "Ann" << 3 << 3 << "\u0142" << "Ann";
    }

    void insertIntoGeneralBox()
    {
        QFETCH(QString, text);
        QFETCH(int, anchor);
        QFETCH(int, caret);
        QFETCH(QString, character);
        QFETCH(QString, expected);

        RichTextBox box;
        box.setVisible(true);
        box.setText(text);
        box.placeCaret(anchor, false);
        box.placeCaret(caret, true);
        int pressed = 0;
        QObject::connect(&box, &RichTextBox::KeyPress, &box, [&](int &) { ++pressed; });
        const int focusBefore = box.focusRequests();

        EntryBoxesOpenBox open(&box);
        QVERIFY(open.InsertSpecialChar(character));
        QCOMPARE(box.Text(), expected);
        QCOMPARE(pressed, 0);
        QCOMPARE(box.SelStart(), int(expected.size()));
        QCOMPARE(box.SelLength(), 0);
        QCOMPARE(box.focusRequests(), focusBefore + 1);
    }

    // The picker offers the letters a keyboard does not: a box rule that
    // refuses them as typed keys does not refuse them picked.
    void boxRuleDoesNotSwallow()
    {
        RichTextBox box;
        box.setVisible(true);
        box.setText("Ann");
        box.setSelStart(3);
        QObject::connect(&box, &RichTextBox::KeyPress, &box, [](int &KeyAscii) { KeyAscii = 0; });
        QVERIFY(InsertIntoRichTextBox(box, "é"));
        QCOMPARE(box.Text(), QString("Anné"));
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
