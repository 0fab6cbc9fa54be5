// The alphabetical sequence of entries: surname, then forenames, each up to
// its first wildcard, accented letters sorting as plain ones; and the row
// routines the entry boxes and the save use beside it.

#include "PelkarTest.h"
#include "RecordingStatusBar.h"

#include "core/Globals.h"
#include "core/Project.h"
#include "entry/FlexGrid.h"
#include "transcription/Change_Monitor.h"
#include "transcription/Transcription.h"

class tst_SequenceCheck : public PelkarTest
{
    Q_OBJECT

protected:
    void setUpCase() override
    {
        ProgramObjects::createEvents();
        ProgramObjects::createProject();
        ProgramObjects::createChangeMonitor();
        grid = std::make_unique<FlexGrid>();
        // Row numbers, Surname, Forenames, District, Page.
        grid->setCols(5);
        grid->setRows(2);
        grid->setTextMatrix(1, 1, QStringLiteral("+PAGE,1"));
        statusBar = std::make_unique<RecordingStatusBar>();
        transcription = std::make_unique<Transcription>();
        transcription->setGrid(grid.get());
    }

    void tearDownCase() override
    {
        transcription.reset();
        statusBar.reset();
        grid.reset();
    }

    // Writes the rows from grid row 2 on, each "surname|forenames"; returns
    // the grid row of the last one.
    int writeRows(const QStringList &rows)
    {
        grid->setRows(2 + int(rows.size()));
        int row = 2;
        for (const QString &r : rows) {
            const QStringList cells = r.split(u'|');
            grid->setTextMatrix(row, 1, cells.value(0));
            grid->setTextMatrix(row, 2, cells.value(1));
            ++row;
        }
        return row - 1;
    }

    std::unique_ptr<FlexGrid> grid;
    std::unique_ptr<RecordingStatusBar> statusBar;
    std::unique_ptr<Transcription> transcription;

private slots:
    // ---- InSequence ----------------------------------------------------------------

    void inSequence_data()
    {
        // The rows from grid row 2 on; the last one is checked.
        QTest::addColumn<QStringList>("rows");
        QTest::addColumn<bool>("inSequence");

        // Surnames.
        QTest::newRow("later-surname-in-sequence")
            << QStringList{"ADAMS|John", "BAKER|John"} << true;
        QTest::newRow("earlier-surname-out") << QStringList{"BAKER|John", "ADAMS|John"} << false;
        QTest::newRow("case-ignored-in-surnames")
            << QStringList{"BAKER|John", "adams|John"} << false;
        QTest::newRow("shorter-surname-after-longer-is-out")
            << QStringList{"SMITHSON|John", "SMITH|John"} << false;
        QTest::newRow("longer-surname-after-shorter-is-in")
            << QStringList{"SMITH|John", "SMITHSON|John"} << true;
        QTest::newRow("mc-and-mac-sort-as-spelt")
            << QStringList{"MCDONALD|John", "MACKAY|John"} << false;
        QTest::newRow("mac-before-mc") << QStringList{"MACKAY|John", "MCDONALD|John"} << true;
        QTest::newRow("surname-spaces-dropped")
            << QStringList{"DELANEY|John", "DE LA RUE|John"} << true;
        QTest::newRow("apostrophe-ignored-same-surname")
            << QStringList{"OBRIEN|Mary", "O'BRIEN|John"} << false;
        QTest::newRow("digit-dropped-from-key") << QStringList{"SMITH|John", "SM1TH|John"} << true;

        // Accented letters sort as their plain letters.
        QTest::newRow("accented-folds-to-plain")
            << QStringList{"EBERHARD|John", "\u00C9BERT|John"} << true;
        QTest::newRow("accented-out-as-its-plain-letter")
            << QStringList{"EBY|John", "\u00C9BERT|John"} << false;
        QTest::newRow("lower-case-accent-folds")
            << QStringList{"MUD|John", "M\u00FCller|John"} << true;
        QTest::newRow("accented-forenames-fold")
            << QStringList{"SMITH|Emma", "SMITH|\u00C9mile"} << false;

        // Wildcards: a name is compared up to its first wildcard only.
        QTest::newRow("surname-after-wildcard")
            << QStringList{"SMYTHE|John", "SM*TH|Adam"} << true;
        QTest::newRow("surname-wildcard-prefix-still-compared")
            << QStringList{"SMITH|John", "SA*X|John"} << false;
        QTest::newRow("surname-starting-with-question-mark-never-out")
            << QStringList{"ZULU|John", "?SMITH|John"} << true;
        QTest::newRow("surname-starting-with-list-never-out")
            << QStringList{"ZULU|John", "[AB]CD|John"} << true;
        QTest::newRow("earlier-surname-cut-at-wildcard")
            << QStringList{"SMY_|John", "SMITH|John"} << false;
        QTest::newRow("earlier-surname-cut-then-longer-is-in")
            << QStringList{"SM?TH|John", "SMYTHE|John"} << true;
        QTest::newRow("earlier-surname-starting-with-wildcard")
            << QStringList{"?|John", "ADAMS|John"} << true;
        QTest::newRow("forenames-cut-to-shorter-equal")
            << QStringList{"SMITH|John", "SMITH|Jo*"} << true;
        QTest::newRow("forenames-cut-to-shorter-out")
            << QStringList{"SMITH|Mary", "SMITH|J*n"} << false;
        QTest::newRow("forenames-starting-with-wildcard-not-compared")
            << QStringList{"SMITH|Mary", "SMITH|?"} << true;
        QTest::newRow("surname-cut-skips-forenames")
            << QStringList{"SMITH|Mary", "SMITH*|John"} << true;

        // Forenames within one surname.
        QTest::newRow("earlier-forenames-out") << QStringList{"SMITH|Mary", "SMITH|John"} << false;
        QTest::newRow("later-forenames-in") << QStringList{"SMITH|John", "SMITH|Mary"} << true;
        QTest::newRow("equal-names-in") << QStringList{"SMITH|John", "SMITH|John"} << true;
        QTest::newRow("forenames-case-ignored")
            << QStringList{"SMITH|alan", "SMITH|BOB"} << true;
        QTest::newRow("space-sorts-before-letters")
            << QStringList{"SMITH|Maryann", "SMITH|Mary Ann"} << false;
        QTest::newRow("inner-spaces-collapsed")
            << QStringList{"SMITH|Mary Ann", "SMITH|Mary    Ann"} << true;
        QTest::newRow("empty-forenames-not-compared")
            << QStringList{"SMITH|Mary", "SMITH|"} << true;
        QTest::newRow("male-placeholder-after-forenames")
            << QStringList{"SMITH|Mary", "SMITH|(MALE)"} << true;
        QTest::newRow("female-placeholder-after-forenames")
            << QStringList{"SMITH|Mary", "SMITH|(Female)"} << true;
        QTest::newRow("female-row-never-the-earlier-row")
            << QStringList{"ADAMS|John", "ZULU|(FEMALE)", "BAKER|Mary"} << true;
        QTest::newRow("male-row-skipped-to-the-entry-above")
            << QStringList{"SMITH|Mary", "SMITH|(MALE)", "SMITH|John"} << false;

        // Rows that cannot be compared.
        QTest::newRow("first-entry-has-no-earlier-row") << QStringList{"ZULU|John"} << true;
        QTest::newRow("only-placeholders-above")
            << QStringList{"ZULU|(MALE)", "ADAMS|John"} << true;
        QTest::newRow("own-comment-line-in-sequence")
            << QStringList{"ZULU|John", "#ADAMS"} << true;
        QTest::newRow("own-plus-line-in-sequence")
            << QStringList{"ZULU|John", "+PAGE,2"} << true;
        QTest::newRow("comment-line-skipped")
            << QStringList{"SMITH|Mary", "#note", "SMITH|John"} << false;
        QTest::newRow("indented-comment-line-skipped")
            << QStringList{"SMITH|Mary", "  #note", "SMITH|John"} << false;
        QTest::newRow("page-line-skipped")
            << QStringList{"SMITH|Mary", "+PAGE,2", "SMITH|John"} << false;
        QTest::newRow("blank-earlier-row-not-compared")
            << QStringList{"ZULU|John", "|", "ADAMS|John"} << true;
        QTest::newRow("surname-of-punctuation-only")
            << QStringList{"ZULU|John", "--|John"} << true;
    }

    void inSequence()
    {
        QFETCH(QStringList, rows);
        QFETCH(bool, inSequence);
        const int row = writeRows(rows);
        QCOMPARE(transcription->InSequence(row), inSequence);
    }

    // ---- The comparison key ------------------------------------------------------------

    void foldTable_data()
    {
        QTest::addColumn<int>("first");
        QTest::addColumn<int>("last");
        QTest::addColumn<QString>("becomes");

        QTest::newRow("192-198-capital-a-and-ae") << 192 << 198 << "A";
        QTest::newRow("199-capital-c-cedilla") << 199 << 199 << "C";
        QTest::newRow("200-203-capital-e") << 200 << 203 << "E";
        QTest::newRow("204-207-capital-i") << 204 << 207 << "I";
        QTest::newRow("208-capital-eth") << 208 << 208 << "D";
        QTest::newRow("209-capital-n-tilde") << 209 << 209 << "N";
        QTest::newRow("210-214-capital-o") << 210 << 214 << "O";
        QTest::newRow("215-multiplication-sign-space") << 215 << 215 << " ";
        QTest::newRow("216-capital-o-stroke") << 216 << 216 << "O";
        QTest::newRow("217-220-capital-u") << 217 << 220 << "U";
        QTest::newRow("221-capital-y-acute") << 221 << 221 << "Y";
        QTest::newRow("222-223-thorn-and-sharp-s-space") << 222 << 223 << " ";
        QTest::newRow("224-230-small-a-and-ae") << 224 << 230 << "a";
        QTest::newRow("231-small-c-cedilla") << 231 << 231 << "c";
        QTest::newRow("232-235-small-e") << 232 << 235 << "e";
        QTest::newRow("236-239-small-i") << 236 << 239 << "i";
        QTest::newRow("240-small-eth-to-o") << 240 << 240 << "o";
        QTest::newRow("241-small-n-tilde") << 241 << 241 << "n";
        QTest::newRow("242-246-small-o") << 242 << 246 << "o";
        QTest::newRow("247-division-sign-space") << 247 << 247 << " ";
        QTest::newRow("248-small-o-stroke") << 248 << 248 << "o";
        QTest::newRow("249-252-small-u") << 249 << 252 << "u";
        QTest::newRow("253-254-small-y-acute-and-thorn") << 253 << 254 << "y";
        QTest::newRow("255-y-diaeresis-to-z") << 255 << 255 << "z";
    }

    void foldTable()
    {
        QFETCH(int, first);
        QFETCH(int, last);
        QFETCH(QString, becomes);
        for (int code = first; code <= last; ++code) {
            const QString text = QStringLiteral("X") + QChar(code) + QStringLiteral("Y");
            const QString expected = QStringLiteral("X") + becomes + QStringLiteral("Y");
            // The fold's own spaces stay even where spaces are dropped.
            QCOMPARE(Transcription::FoldNameForSequence(text, true), expected);
            QCOMPARE(Transcription::FoldNameForSequence(text, false), expected);
        }
    }

    void foldNameForSequence_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("dropSpaces");
        QTest::addColumn<QString>("key");

        QTest::newRow("letters-kept-as-typed") << "Smith" << true << "Smith";
        QTest::newRow("spaces-dropped") << "  de  la Rue " << true << "delaRue";
        QTest::newRow("spaces-kept-as-one") << "  Mary   Ann  " << false << "Mary Ann";
        QTest::newRow("digits-and-punctuation-dropped") << "O'Brien-2nd." << true << "OBriennd";
        QTest::newRow("wildcards-and-brackets-dropped")
            << "(SM[IY]TH*?_{1,2})" << true << "SMIYTH";
        QTest::newRow("hash-kept-first") << "#note #2" << false << "#note ";
        QTest::newRow("plus-kept-first-after-trim") << "  +PAGE+" << true << "+PAGE";
        QTest::newRow("codes-128-to-191-dropped")
            << "A\u20AC\u0160\u00A3\u00B5\u00BFB" << true << "AB";
        QTest::newRow("empty") << "" << false << "";
    }

    void foldNameForSequence()
    {
        QFETCH(QString, text);
        QFETCH(bool, dropSpaces);
        QFETCH(QString, key);
        QCOMPARE(Transcription::FoldNameForSequence(text, dropSpaces), key);
    }

    // ---- CheckSequence -----------------------------------------------------------------

    void checkSequenceWarnsAndBeeps_data()
    {
        QTest::addColumn<QStringList>("rows");
        QTest::addColumn<bool>("warned");

        QTest::newRow("out-of-sequence-warns") << QStringList{"BAKER|John", "ADAMS|John"} << true;
        QTest::newRow("in-sequence-silent") << QStringList{"ADAMS|John", "BAKER|John"} << false;
        // Grid row 2 has no entry above it; the check starts at row 3.
        QTest::newRow("row-2-never-checked") << QStringList{"ADAMS|John"} << false;
    }

    void checkSequenceWarnsAndBeeps()
    {
        QFETCH(QStringList, rows);
        QFETCH(bool, warned);
        gProject->setBeepit(true);
        gCurrentRow = writeRows(rows);

        transcription->CheckSequence();

        QCOMPARE(input().beeps, warned ? 1 : 0);
        QCOMPARE(statusBar->messages.size(), warned ? 1 : 0);
        if (warned) {
            QCOMPARE(statusBar->messages[0].text, QStringLiteral("Out of Sequence"));
            QVERIFY(!statusBar->messages[0].error);
            QVERIFY(statusBar->messages[0].warning);
        }
    }

    void checkSequenceChecksTheRowGiven()
    {
        gProject->setBeepit(false);
        const int last = writeRows({"BAKER|John", "ADAMS|John", "CARTER|John"});
        gCurrentRow = last; // in sequence
        transcription->CheckSequence(last - 1);
        QCOMPARE(statusBar->current(), QStringLiteral("Out of Sequence"));
        // The beep follows the option.
        QCOMPARE(input().beeps, 0);
    }

    // ---- Row routines --------------------------------------------------------------

    void getPreviousName_data()
    {
        QTest::addColumn<QStringList>("rows");
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("col");
        QTest::addColumn<QString>("previous");

        const QStringList rows{"ADAMS|John", "#note|x", "  +PAGE,2|y", "BAKER|", "CARTER|Ann"};
        QTest::newRow("row-directly-above") << rows << 6 << 1 << "BAKER";
        QTest::newRow("empty-cell-above-is-the-answer") << rows << 6 << 2 << "";
        QTest::newRow("page-and-comment-lines-skipped") << rows << 5 << 2 << "John";
        QTest::newRow("current-column-read") << rows << 7 << 2 << "Ann";
        QTest::newRow("nothing-above-row-2") << rows << 2 << 1 << "";
        QTest::newRow("only-comment-lines-above") << QStringList{"#only|z"} << 3 << 1 << "";
    }

    void getPreviousName()
    {
        QFETCH(QStringList, rows);
        QFETCH(int, row);
        QFETCH(int, col);
        QFETCH(QString, previous);
        writeRows(rows);
        grid->setRows(qMax(grid->Rows(), row + 1));
        gCurrentCol = col;
        QCOMPARE(transcription->GetPreviousName(row), previous);
    }

    void isRowBlank_data()
    {
        QTest::addColumn<int>("col");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("blank");

        QTest::newRow("empty-row") << 1 << "" << true;
        QTest::newRow("spaces-only") << 3 << "   " << true;
        QTest::newRow("text-in-first-column") << 1 << "A" << false;
        QTest::newRow("text-in-last-column") << 4 << "12" << false;
        // The row label is no data.
        QTest::newRow("row-number-ignored") << 0 << "7" << true;
    }

    void isRowBlank()
    {
        QFETCH(int, col);
        QFETCH(QString, text);
        QFETCH(bool, blank);
        grid->setRows(4);
        grid->setTextMatrix(3, 2, QStringLiteral("SMITH")); // a neighbour that is not blank
        grid->setTextMatrix(2, col, text);
        QCOMPARE(transcription->IsRowBlank(2), blank);
        QVERIFY(transcription->IsRowBlank(99));
    }
};

PELKAR_TEST(tst_SequenceCheck)
#include "tst_SequenceCheck.moc"
