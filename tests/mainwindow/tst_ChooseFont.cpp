// The font and colour choosers over the dialog service, and the reading of
// the pick list's row count.

#include "PelkarTest.h"

#include "mainwindow/Choose_Font.h"

#include <QColor>
#include <QFont>

class tst_ChooseFont : public PelkarTest
{
    Q_OBJECT

private slots:
    void pickRowsAnswer_data()
    {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("rows");
        const int range = PickRowsAnswer::OutOfRange;
        const int number = PickRowsAnswer::NotANumber;
        const int ok = PickRowsAnswer::Rows;
        QTest::newRow("empty-does-nothing") << "" << int(PickRowsAnswer::Nothing) << 0;
        QTest::newRow("blanks-around") << " 12 " << ok << 12;
        QTest::newRow("half-down-to-even") << "12.5" << ok << 12;
        QTest::newRow("half-up-to-even") << "13.5" << ok << 14;
        QTest::newRow("half-rounds-to-zero") << "0.5" << range << 0;
        QTest::newRow("top-half-rounds-past") << "999.5" << range << 0;
        QTest::newRow("just-under-top") << "998.5" << ok << 998;
        QTest::newRow("negative") << "-3" << range << 0;
        QTest::newRow("exponent") << "1e2" << ok << 100;
        QTest::newRow("too-large-to-hold") << "1e400" << range << 0;
        QTest::newRow("many-digits") << "123456789012345678901234567890" << range << 0;
        QTest::newRow("blanks-only") << "   " << number << 0;
        QTest::newRow("letters-after") << "12abc" << number << 0;
        QTest::newRow("comma-decimal") << "12,5" << number << 0;
    }
    void pickRowsAnswer()
    {
        QFETCH(QString, answer);
        QFETCH(int, kind);
        QFETCH(int, rows);
        const PickRowsAnswer read = ReadPickRowsAnswer(answer);
        QCOMPARE(int(read.kind), kind);
        QCOMPARE(read.rows, rows);
    }

    // Confirmed: the font's values and its colour come back, the size in
    // whole points. A cancel at either step leaves the choice as it was.
    void chooseFont_data()
    {
        QTest::addColumn<QStringList>("answers");
        QTest::addColumn<bool>("confirmed");
        QFont bold(QStringLiteral("Serif"));
        bold.setPointSizeF(9.5);
        bold.setBold(true);
        QTest::newRow("confirmed") << QStringList{bold.toString(), "#102030"} << true;
        QTest::newRow("font-cancelled") << QStringList{"<cancel>"} << false;
        QTest::newRow("colour-cancelled") << QStringList{bold.toString(), "<cancel>"} << false;
    }
    void chooseFont()
    {
        QFETCH(QStringList, answers);
        QFETCH(bool, confirmed);
        script->answer(answers);
        FontChoice font{QStringLiteral("Sans"), 8, false, true, 0x0000FF};
        QCOMPARE(ChooseFontDialog(font), confirmed);
        QCOMPARE(script->records().size(), answers.size());
        // The chooser opens on the font and colour given.
        QCOMPARE(script->records().at(0).kind, QStringLiteral("chooseFont"));
        QFont shown;
        QVERIFY(shown.fromString(script->records().at(0).info));
        QCOMPARE(shown.pointSize(), 8);
        QVERIFY(shown.italic());
        if (answers.size() > 1)
            QCOMPARE(script->records().at(1).info, QStringLiteral("#ff0000"));
        if (confirmed) {
            QCOMPARE(font.size, 10);
            QVERIFY(font.bold);
            QVERIFY(!font.italic);
            QCOMPARE(font.colour, 0x302010);
        } else {
            QCOMPARE(font.name, QStringLiteral("Sans"));
            QCOMPARE(font.size, 8);
            QVERIFY(!font.bold);
            QVERIFY(font.italic);
            QCOMPARE(font.colour, 0x0000FF);
        }
    }

    void chooseColour()
    {
        int colour = 0x0000FF;
        script->answer(QStringLiteral("<cancel>"));
        QVERIFY(!ChooseColourDialog(colour));
        QCOMPARE(colour, 0x0000FF);
        script->answer(QStringLiteral("#00ff80"));
        QVERIFY(ChooseColourDialog(colour));
        QCOMPARE(colour, 0x80FF00);
    }
};

PELKAR_TEST(tst_ChooseFont)
#include "tst_ChooseFont.moc"
