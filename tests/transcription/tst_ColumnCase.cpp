// Re-casing a whole column of entries after its case option changed, and
// the question asked before it.

#include "PelkarTest.h"

#include "core/Globals.h"
#include "core/Project.h"
#include "core/clsEvents.h"
#include "entry/FlexGrid.h"
#include "transcription/Transcription.h"

#include <memory>

class tst_ColumnCase : public PelkarTest
{
    Q_OBJECT

protected:
    // A births batch with the mother's name: Surname, Forenames, Mother,
    // District, Page.
    void setUpCase() override
    {
        ProgramObjects::createEvents();
        ProgramObjects::createProject();
        gProject->setDataPath(home());
        grid = std::make_unique<FlexGrid>();
        grid->setCols(6);
        grid->setRows(2);
        grid->setTextMatrix(1, 1, QStringLiteral("+PAGE,12"));
        t = std::make_unique<Transcription>();
        t->setGrid(grid.get());
        t->setSurnameCol(1);
        t->setForenamesCol(2);
        t->setMotherCol(3);
        t->setSpouseCol(0);
        t->setAaDCol(-1);
        t->setDoBCol(-1);
        t->setDistrictCol(4);
        t->setPageCol(5);
        gLastCol = 5;
    }

    void tearDownCase() override
    {
        t.reset();
        grid.reset();
    }

    // One grid row per line, its first and chosen cells given.
    void fill(int col, const QStringList &firsts, const QStringList &cells)
    {
        grid->setRows(2 + int(firsts.size()));
        for (int i = 0; i < firsts.size(); ++i) {
            grid->setTextMatrix(2 + i, 1, firsts.at(i));
            if (col != 1)
                grid->setTextMatrix(2 + i, col, cells.at(i));
        }
    }

    QStringList column(int col) const
    {
        QStringList texts;
        for (int r = 2; r < grid->Rows(); ++r)
            texts << grid->TextMatrix(r, col);
        return texts;
    }

    std::unique_ptr<FlexGrid> grid;
    std::unique_ptr<Transcription> t;

private slots:
    void convertColumn_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("option");
        QTest::addColumn<QStringList>("firsts");
        QTest::addColumn<QStringList>("cells");
        QTest::addColumn<QStringList>("expected");
        QTest::addColumn<int>("changed");
        const QStringList plain{"a", "b", "c"};
        QTest::newRow("mother-name-case")
            << "mother" << "M" << plain << QStringList{"SMITH-JONES", "o'brien", ""}
            << QStringList{"Smith-Jones", "O'Brien", ""} << 2;
        QTest::newRow("surname-upper-skips-comment-and-page-rows")
            << "surname" << "U"
            << QStringList{"smith", "# torn page", "+PAGE,13", "o'brien"} << QStringList{}
            << QStringList{"SMITH", "# torn page", "+PAGE,13", "O'BRIEN"} << 2;
        QTest::newRow("forenames-of-a-comment-row-stay")
            << "forenames" << "U" << QStringList{"# note", "SMITH", "+CREDIT"}
            << QStringList{"mary", "mary ann", "ann"} << QStringList{"mary", "MARY ANN", "ann"}
            << 1;
        QTest::newRow("district-lower") << "district" << "L" << plain
                                        << QStringList{"St. Helens,9b", "LEEDS,9b", "BATH"}
                                        << QStringList{"st. helens,9b", "leeds,9b", "bath"} << 3;
        QTest::newRow("district-name-case-when-no-option")
            << "district" << "" << plain << QStringList{"ST. HELENS,9b", "Leeds", "bath,5c"}
            << QStringList{"St. Helens,9b", "Leeds", "Bath,5c"} << 2;
        QTest::newRow("already-in-case-changes-nothing")
            << "surname" << "M" << QStringList{"Smith", "O'Brien"} << QStringList{}
            << QStringList{"Smith", "O'Brien"} << 0;
    }
    void convertColumn()
    {
        QFETCH(QString, field);
        QFETCH(QString, option);
        QFETCH(QStringList, firsts);
        QFETCH(QStringList, cells);
        QFETCH(QStringList, expected);
        QFETCH(int, changed);
        int col = 1;
        if (field == QLatin1String("surname")) {
            gProject->setSurnameCase(option);
        } else if (field == QLatin1String("forenames")) {
            col = 2;
            gProject->setForenameCase(option);
        } else if (field == QLatin1String("mother")) {
            col = 3;
            gProject->setMotherNameCase(option);
        } else {
            col = 4;
            gProject->setDistrictUpper(option == QLatin1String("U"));
            gProject->setDistrictLower(option == QLatin1String("L"));
        }
        fill(col, firsts, cells);
        QCOMPARE(t->ConvertColumn(col), changed);
        QCOMPARE(column(col), expected);
        // The page line of row 1 is never touched.
        QCOMPARE(grid->TextMatrix(1, 1), QStringLiteral("+PAGE,12"));
    }

    // A column the batch does not have (the spouse's in this layout) leaves
    // every cell alone, the row labels of column 0 among them.
    void absentColumnIsLeftAlone_data()
    {
        QTest::addColumn<int>("col");
        QTest::newRow("spouse-absent") << 0;
        QTest::newRow("age-absent") << -1;
        QTest::newRow("past-the-last") << 6;
    }
    void absentColumnIsLeftAlone()
    {
        QFETCH(int, col);
        gProject->setSurnameCase(QStringLiteral("U"));
        fill(1, {"smith", "jones"}, {});
        grid->setTextMatrix(2, 0, QStringLiteral("row a"));
        QCOMPARE(t->ConvertColumn(col), 0);
        QCOMPARE(column(1), (QStringList{"smith", "jones"}));
        QCOMPARE(grid->TextMatrix(2, 0), QStringLiteral("row a"));
    }

    void question_data()
    {
        QTest::addColumn<QString>("label");
        QTest::addColumn<bool>("toUpper");
        QTest::addColumn<bool>("toLower");
        QTest::addColumn<QString>("expected");
        QTest::newRow("upper") << "Surnames" << true << false
                               << "Would you like to change the Surnames already entered to "
                                  "UPPERCASE";
        QTest::newRow("lower") << "Mother Names" << false << true
                               << "Would you like to change the Mother Names already entered to "
                                  "lower case";
        QTest::newRow("mixed") << "Districts" << false << false
                               << "Would you like to change the Districts already entered to "
                                  "Mixed Case";
    }
    void question()
    {
        QFETCH(QString, label);
        QFETCH(bool, toUpper);
        QFETCH(bool, toLower);
        QFETCH(QString, expected);
        QCOMPARE(Transcription::ColumnCaseQuestion(label, toUpper, toLower), expected);
    }
};

PELKAR_TEST(tst_ColumnCase)
#include "tst_ColumnCase.moc"
