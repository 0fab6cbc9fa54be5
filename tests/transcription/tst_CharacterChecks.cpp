// The character rules every cell obeys: wildcard syntax, the lone question
// mark, balanced brackets, the combined cell check, the usual characters of
// each column and the bracket and key tests of the entry boxes' key handling.

#include "PelkarTest.h"
#include "RecordingEntryBoxes.h"
#include "RecordingStatusBar.h"

#include "core/Globals.h"
#include "core/Project.h"
#include "entry/FlexGrid.h"
#include "transcription/Change_Monitor.h"
#include "transcription/EntryBoxes.h"
#include "transcription/Transcription.h"

namespace {

// The columns of a deaths batch with an age at death.
constexpr int kSurname = 1;
constexpr int kForenames = 2;
constexpr int kAaD = 3;
constexpr int kDistrict = 4;
constexpr int kPage = 5;

// The rows: 1 the first "+PAGE" line, 2 and 3 entries, 4 a comment line,
// 5 a later "+PAGE" line.
constexpr int kEntry = 2;
constexpr int kOtherEntry = 3;
constexpr int kCommentRow = 4;
constexpr int kPageRow = 5;

const QString kQmMessage =
    QStringLiteral("A ? is only allowed if it is the only character in a field.");

} // namespace

class tst_CharacterChecks : public PelkarTest
{
    Q_OBJECT

protected:
    void setUpCase() override
    {
        ProgramObjects::createEvents();
        ProgramObjects::createProject();
        ProgramObjects::createChangeMonitor();
        gProject->setDistValidate(true);
        gProject->setChangeWarning(false);

        grid = std::make_unique<FlexGrid>();
        grid->setCols(6);
        grid->setRows(6);
        grid->setTextMatrix(1, kSurname, QStringLiteral("+PAGE,1"));
        grid->setTextMatrix(kEntry, kSurname, QStringLiteral("SMITH"));
        grid->setTextMatrix(kOtherEntry, kSurname, QStringLiteral("JONES"));
        grid->setTextMatrix(kCommentRow, kSurname, QStringLiteral("#COMMENT sic"));
        grid->setTextMatrix(kPageRow, kSurname, QStringLiteral("+PAGE,2"));
        gLastCol = 5;

        statusBar = std::make_unique<RecordingStatusBar>();
        boxes = std::make_unique<RecordingEntryBoxes>();
        transcription = std::make_unique<Transcription>();
        transcription->setGrid(grid.get());
        transcription->setSurnameCol(kSurname);
        transcription->setForenamesCol(kForenames);
        transcription->setAaDCol(kAaD);
        transcription->setDistrictCol(kDistrict);
        transcription->setPageCol(kPage);
        transcription->setMotherCol(0);
        transcription->setSpouseCol(0);
        transcription->setDoBCol(-1);

        gCurrentRow = kEntry;
        gCurrentCol = kSurname;
    }

    void tearDownCase() override
    {
        if (gTranscription == transcription.get())
            gTranscription = nullptr;
        transcription.reset();
        boxes.reset();
        statusBar.reset();
        grid.reset();
    }

    // The one error box expected, or none for an empty text.
    void verifyErrorBox(const QString &message)
    {
        if (message.isEmpty()) {
            QVERIFY(script->records().isEmpty());
            return;
        }
        QCOMPARE(script->records().size(), 1);
        const MessageRecord &box = script->records().first();
        QCOMPARE(box.kind, QStringLiteral("box"));
        QCOMPARE(box.prompt, message);
        QCOMPARE(box.title, QStringLiteral("Pelkar"));
        QCOMPARE(box.style, 16);
    }

    std::unique_ptr<FlexGrid> grid;
    std::unique_ptr<RecordingStatusBar> statusBar;
    std::unique_ptr<RecordingEntryBoxes> boxes;
    std::unique_ptr<Transcription> transcription;

private slots:
    // ---- ValidateWildCards -----------------------------------------------------------

    void validateWildCards_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("message"); // empty: the pattern passes

        const QString twoInSquare = QStringLiteral(
            "Invalid wildcard string - there must be at least 2 chars between [ and ]");
        const QString twoInCurly = QStringLiteral(
            "Invalid wildcard string - there must be at least 2 chars between { and }");
        const QString firstChar =
            QStringLiteral("Invalid wildcard string - { cannot be the 1st character");
        const QString comma = QStringLiteral(
            "There must be one comma between { and } and it cannot be the 1st character");
        const QString notNumeric =
            QStringLiteral("The format is {min,max} or {min,}, min and max must be numeric\r\n");
        const QString minBelowMax =
            QStringLiteral("The format is {min,max} or {min,}, min and max must be numeric and "
                           "min must be less than max");
        const QString starUnderscore =
            QStringLiteral("An '*' and an '_' may not follow each other");
        const QString twoStars =
            QStringLiteral("The asterisk wildcard means a unknown number of unreadable "
                           "characters.\r\nTwo consecutive asterisks are not allowed.");

        // Patterns that pass.
        QTest::newRow("no-wildcards") << "SMITH" << "";
        QTest::newRow("list-in-square-brackets") << "SM[IY]TH" << "";
        QTest::newRow("two-lists") << "SM[IY]TH[SE]" << "";
        QTest::newRow("list-lower-case-letters") << "sm[iy]th" << "";
        QTest::newRow("list-digits-star-dot-underscore") << "A[1*._]B" << "";
        QTest::newRow("list-accented-letters") << "SM[\u00C9E]TH" << "";
        QTest::newRow("count-min-max") << "JO{1,2}N" << "";
        QTest::newRow("count-min-only") << "JO{1,}N" << "";
        QTest::newRow("count-numbers-beyond-64-bits")
            << "JO{1,99999999999999999999999}N" << "";
        QTest::newRow("asterisk") << "M*R" << "";
        QTest::newRow("underscore") << "J_HN" << "";
        QTest::newRow("two-underscores") << "M__R" << "";
        QTest::newRow("lone-question-mark") << "?" << "";

        // Square brackets.
        QTest::newRow("list-of-one") << "SM[I]TH" << twoInSquare;
        QTest::newRow("empty-list") << "SM[]TH" << twoInSquare;
        QTest::newRow("closing-before-opening") << "SM]I[TH" << twoInSquare;
        QTest::newRow("list-unclosed") << "SM[IY" << twoInSquare;
        QTest::newRow("list-closed-twice") << "SM[IY]]TH" << "] needs a matching [";
        QTest::newRow("list-opened-twice") << "SM[[IY]TH" << "[ needs a matching ]";
        QTest::newRow("list-letter-twice") << "SM[II]TH" << "I is only allowed once inside [ ]";
        QTest::newRow("list-letter-twice-in-either-case")
            << "SM[Ii]TH" << "I is only allowed once inside [ ]";
        QTest::newRow("list-accented-twice-in-either-case")
            << "SM[\u00C9\u00E9]TH" << "\u00C9 is only allowed once inside [ ]";
        QTest::newRow("list-hyphen") << "SM[I-]TH" << "- is not a valid character inside [ ]";
        QTest::newRow("list-space") << "SM[I Y]TH" << "  is not a valid character inside [ ]";
        QTest::newRow("list-euro-sign")
            << "SM[\u20ACY]TH" << "\u20AC is not a valid character inside [ ]";
        QTest::newRow("second-list-checked-on-its-own") << "SM[IY]TH[S]" << twoInSquare;

        // Curly braces.
        QTest::newRow("count-first") << "{1,2}X" << firstChar;
        QTest::newRow("count-directly-after-list") << "[AB]{1,2}" << firstChar;
        QTest::newRow("count-after-list-inside-text") << "J[OA]{1,2}N" << firstChar;
        QTest::newRow("count-after-closing-bracket")
            << "A[BC]{" << "Invalid wildcard string - { can't follow ]";
        QTest::newRow("count-after-closing-brace")
            << "A}{1,2}" << "Invalid wildcard string - { can't follow }";
        QTest::newRow("count-after-brace-in-second-place")
            << "}{1,2}" << "Invalid wildcard string - { can't follow }";
        QTest::newRow("count-opened-twice") << "A{{1,2}" << "{ needs a matching }";
        QTest::newRow("count-of-one-character") << "JO{1}N" << twoInCurly;
        QTest::newRow("count-unclosed") << "JO{1,2N" << twoInCurly;
        QTest::newRow("count-closed-twice") << "JO{1,2}}N" << "} needs a matching {";
        QTest::newRow("count-without-min") << "JO{,2}N" << comma;
        QTest::newRow("count-without-comma") << "JO{12}N" << comma;
        QTest::newRow("count-min-not-numeric")
            << "JO{1A,2}N" << notNumeric + "A is not a valid character inside {}";
        QTest::newRow("count-max-not-numeric")
            << "JO{1,2 }N" << notNumeric + "  is not a valid character inside {}";
        QTest::newRow("count-min-above-max") << "JO{2,1}N" << minBelowMax;
        QTest::newRow("count-min-equals-max") << "JO{2,2}N" << minBelowMax;
        QTest::newRow("count-leading-zeros-compared-as-numbers") << "JO{02,2}N" << minBelowMax;
        QTest::newRow("huge-min-compared-as-number")
            << "JO{99999999999999999999999,1}N" << minBelowMax;
        QTest::newRow("second-count-checked-on-its-own") << "J{1,2}O{2,1}N" << minBelowMax;

        // Asterisks and underscores.
        QTest::newRow("two-asterisks") << "M**R" << twoStars;
        QTest::newRow("asterisk-after-underscore") << "M_*R" << starUnderscore;
        QTest::newRow("underscore-after-asterisk") << "M*_R" << starUnderscore;
        QTest::newRow("two-asterisks-after-a-list") << "[AB]C**" << twoStars;
    }

    void validateWildCards()
    {
        QFETCH(QString, text);
        QFETCH(QString, message);
        if (!message.isEmpty())
            script->answer(QStringLiteral("Ok"));
        QCOMPARE(transcription->ValidateWildCards(text), message.isEmpty());
        verifyErrorBox(message);
    }

    void validateWildCardsExemptsCommentLines()
    {
        // The row whose surname is a "#" line may hold any pattern.
        QVERIFY(transcription->ValidateWildCards(QStringLiteral("M**R"), kCommentRow));
        gCurrentRow = kCommentRow;
        QVERIFY(transcription->ValidateWildCards(QStringLiteral("SM[I]TH")));
        // A "+" line is not exempt.
        grid->setTextMatrix(kOtherEntry, kSurname, QStringLiteral("+PAGE,2"));
        script->answer(QStringLiteral("Ok"));
        QVERIFY(!transcription->ValidateWildCards(QStringLiteral("M**R"), kOtherEntry));
        QCOMPARE(script->records().size(), 1);
    }

    // ---- CheckQM ---------------------------------------------------------------------

    void checkQM_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("col");
        QTest::addColumn<bool>("ok");

        QTest::newRow("lone-question-mark") << "?" << kSurname << true;
        QTest::newRow("lone-question-mark-with-spaces") << "  ? " << kForenames << true;
        QTest::newRow("no-question-mark") << "SMITH" << kSurname << true;
        QTest::newRow("question-mark-with-name") << "?SMITH" << kSurname << false;
        QTest::newRow("question-mark-after-name") << "SMITH?" << kForenames << false;
        QTest::newRow("two-question-marks") << "??" << kAaD << false;
        QTest::newRow("page-question-mark-with-digits") << "12?" << kPage << false;
        QTest::newRow("district-unreadable-with-volume") << "?,3" << kDistrict << true;
        QTest::newRow("district-with-unreadable-volume") << "LONDON,?" << kDistrict << true;
        QTest::newRow("district-and-volume-unreadable") << " ? , ? " << kDistrict << true;
        QTest::newRow("district-name-with-question-mark") << "LONDON?,1a" << kDistrict << false;
        QTest::newRow("district-volume-with-question-mark") << "LONDON,1?" << kDistrict << false;
        QTest::newRow("district-without-volume") << "LONDON?" << kDistrict << false;
        // The whole-cell rule outside the district column.
        QTest::newRow("district-form-in-another-column") << "?,3" << kForenames << false;
    }

    void checkQM()
    {
        QFETCH(QString, text);
        QFETCH(int, col);
        QFETCH(bool, ok);
        gCurrentCol = col;
        if (!ok)
            script->answer(QStringLiteral("Ok"));

        QCOMPARE(transcription->CheckQM(text, false), ok);

        verifyErrorBox(ok ? QString() : kQmMessage);
        QCOMPARE(boxes->focusBacks(), ok ? 0 : 1);
        QVERIFY(statusBar->messages.isEmpty());
    }

    void checkQMExemptions_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<bool>("distValidate");

        QTest::newRow("comment-line") << kCommentRow << true;
        QTest::newRow("page-line") << kPageRow << true;
        QTest::newRow("district-not-validated") << kEntry << false;
    }

    void checkQMExemptions()
    {
        QFETCH(int, row);
        QFETCH(bool, distValidate);
        gCurrentRow = row;
        gProject->setDistValidate(distValidate);
        QVERIFY(transcription->CheckQM(QStringLiteral("?SMITH"), false));
        QCOMPARE(boxes->focusBacks(), 0);
    }

    void checkQMQuietShowsNoBox()
    {
        QVERIFY(!transcription->CheckQM(QStringLiteral("?SMITH"), true));
        QVERIFY(script->records().isEmpty());
        QVERIFY(statusBar->messages.isEmpty());
        // The focus still goes back to the cell being edited.
        QCOMPARE(boxes->focusBacks(), 1);
    }

    void checkQMWarnsOnlyOnAnUnchangedCell_data()
    {
        QTest::addColumn<bool>("changeWarning");
        QTest::addColumn<bool>("changed");
        QTest::addColumn<bool>("quiet");
        QTest::addColumn<QString>("status");
        QTest::addColumn<QString>("box");

        const QString warning = QStringLiteral("Invalid use of ?");
        QTest::newRow("warn-only-when-changed-unchanged-cell")
            << true << false << false << warning << "";
        QTest::newRow("warn-only-when-changed-quiet-still-warns")
            << true << false << true << warning << "";
        QTest::newRow("warn-only-when-changed-changed-cell")
            << true << true << false << "" << kQmMessage;
        QTest::newRow("always-warn-unchanged-cell") << false << false << false << "" << kQmMessage;
    }

    void checkQMWarnsOnlyOnAnUnchangedCell()
    {
        QFETCH(bool, changeWarning);
        QFETCH(bool, changed);
        QFETCH(bool, quiet);
        QFETCH(QString, status);
        QFETCH(QString, box);
        gProject->setChangeWarning(changeWarning);
        if (changed)
            gChangeMonitor->Changed();
        if (!box.isEmpty())
            script->answer(QStringLiteral("Ok"));

        QVERIFY(!transcription->CheckQM(QStringLiteral("SMITH?"), quiet));

        verifyErrorBox(box);
        if (status.isEmpty()) {
            QVERIFY(statusBar->messages.isEmpty());
        } else {
            QCOMPARE(statusBar->messages.size(), 1);
            QCOMPARE(statusBar->messages[0].text, status);
            QVERIFY(!statusBar->messages[0].error);
            QVERIFY(statusBar->messages[0].warning);
        }
        QCOMPARE(boxes->focusBacks(), 1);
    }

    // The save and "Find Next Warning" check rows other than the one being
    // edited: each is judged by its own row and column, and the focus stays
    // in the cell being edited.
    void checkQMOnAnotherRow()
    {
        gProject->setChangeWarning(true); // would warn on the status bar for the edited cell
        gCurrentRow = kEntry;
        gCurrentCol = kSurname;

        QVERIFY(!transcription->CheckQM(QStringLiteral("SMITH?"), true, kOtherEntry, kForenames));
        QCOMPARE(boxes->focusBacks(), 0);
        QVERIFY(statusBar->messages.isEmpty());
        QVERIFY(script->records().isEmpty());

        // The district rule follows the column checked, not gCurrentCol.
        QVERIFY(transcription->CheckQM(QStringLiteral("?,3"), true, kOtherEntry, kDistrict));
        // The comment line checked is exempt, whatever the edited row is.
        QVERIFY(transcription->CheckQM(QStringLiteral("?SMITH"), true, kCommentRow, kSurname));
        // ... and the edited row's comment line exempts no other row.
        gCurrentRow = kCommentRow;
        QVERIFY(!transcription->CheckQM(QStringLiteral("?SMITH"), true, kOtherEntry, kSurname));
        QCOMPARE(boxes->focusBacks(), 0);
    }

    void checkQMOnAnotherRowReadsThatRowsDistrictFlag()
    {
        // The other row's district is accepted as it is...
        transcription->SetDistrictNotValidated(kOtherEntry);
        // ... while the edited row's district is validated again.
        gProject->setDistValidate(true);
        gProject->setChangeWarning(false);
        QVERIFY(transcription->CheckQM(QStringLiteral("?SMITH"), true, kOtherEntry, kSurname));
        QVERIFY(!transcription->CheckQM(QStringLiteral("?SMITH"), true));

        // The edited row's district is not validated; the other row's is.
        transcription->SetDistrictValidated(kOtherEntry);
        gProject->setDistValidate(false);
        QVERIFY(transcription->CheckQM(QStringLiteral("?SMITH"), true));
        QVERIFY(!transcription->CheckQM(QStringLiteral("?SMITH"), true, kOtherEntry, kSurname));
        QCOMPARE(boxes->focusBacks(), 1);
    }

    void checkQMOnAnotherRowAskedToTell()
    {
        script->answer(QStringLiteral("Ok"));
        QVERIFY(!transcription->CheckQM(QStringLiteral("SMITH?"), false, kOtherEntry, kSurname));
        verifyErrorBox(kQmMessage);
        QCOMPARE(boxes->focusBacks(), 0);
    }

    // ---- Brackets --------------------------------------------------------------------

    void checkBalancedBrackets_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("open");
        QTest::addColumn<bool>("balanced");

        QTest::newRow("no-brackets") << "SMITH" << "(" << true;
        QTest::newRow("one-pair") << "(SMITH)" << "(" << true;
        QTest::newRow("nested-pairs") << "(a(b))" << "(" << true;
        QTest::newRow("pairs-in-a-row") << "(a)(b)" << "(" << true;
        QTest::newRow("closed-before-opened") << ")a(" << "(" << false;
        QTest::newRow("two-left-open") << "((a" << "(" << false;
        QTest::newRow("one-left-open-after-a-pair") << "(a)(" << "(" << false;
        QTest::newRow("closed-once-too-often") << "(a))" << "(" << false;
        QTest::newRow("square-pair") << "SM[IY]TH" << "[" << true;
        QTest::newRow("square-closed-first") << "SM]IY[TH" << "[" << false;
        QTest::newRow("curly-left-open") << "JO{1,2N" << "{" << false;
        QTest::newRow("square-closed-without-opening") << "(a]" << "[" << false;
        QTest::newRow("other-kinds-ignored") << "a]}" << "(" << true;
    }

    void checkBalancedBrackets()
    {
        QFETCH(QString, text);
        QFETCH(QString, open);
        QFETCH(bool, balanced);
        QCOMPARE(Transcription::CheckBalancedBrackets(text, open.at(0)), balanced);
        if (balanced) {
            QVERIFY(statusBar->messages.isEmpty());
        } else {
            QCOMPARE(statusBar->messages.size(), 1);
            QCOMPARE(statusBar->messages[0].text, QStringLiteral("Unmatched Brackets"));
            QVERIFY(statusBar->messages[0].error);
            QVERIFY(!statusBar->messages[0].warning);
        }
    }

    void openBracketLeftOfCaret_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("squareOpen");
        QTest::addColumn<bool>("roundOpen");

        QTest::newRow("empty") << "" << false << false;
        QTest::newRow("no-brackets") << "SMITH" << false << false;
        QTest::newRow("square-open") << "SM[IY" << true << false;
        QTest::newRow("square-closed") << "SM[IY]T" << false << false;
        QTest::newRow("square-open-again") << "SM[IY]TH[S" << true << false;
        QTest::newRow("closing-square-nearest") << "[A]" << false << false;
        QTest::newRow("round-open") << "SMITH (JONES" << false << true;
        QTest::newRow("round-closed") << "(MALE)" << false << false;
        QTest::newRow("both-open") << "A[B(C" << true << true;
        QTest::newRow("other-kind-closed-ignored") << "(A]" << false << true;
    }

    void openBracketLeftOfCaret()
    {
        QFETCH(QString, text);
        QFETCH(bool, squareOpen);
        QFETCH(bool, roundOpen);
        QCOMPARE(Transcription::CheckSquareBracket(text), squareOpen);
        QCOMPARE(Transcription::CheckRoundBracket(text), roundOpen);
    }

    // ---- Program-wide key tests ------------------------------------------------------

    void insideBraces_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("pos");
        QTest::addColumn<bool>("inside");

        QTest::newRow("open-count-at-end") << "AB{1," << 5 << true;
        QTest::newRow("closed-count-before-caret") << "AB{1,2}C" << 8 << false;
        QTest::newRow("caret-right-after-brace") << "AB{" << 3 << true;
        QTest::newRow("caret-before-brace") << "AB{1" << 2 << false;
        QTest::newRow("caret-inside-closed-count") << "AB{1,2}C" << 5 << true;
        QTest::newRow("caret-on-closing-brace") << "AB{1,2}C" << 7 << false;
        QTest::newRow("second-count-open") << "A{1,2}B{3" << 9 << true;
        QTest::newRow("closing-brace-alone") << "AB}C" << 4 << false;
        QTest::newRow("closing-before-opening") << "A}B{1" << 5 << true;
        QTest::newRow("no-braces") << "SMITH" << 3 << false;
        QTest::newRow("caret-past-the-end-reads-the-whole-text") << "AB{1" << 40 << true;
        QTest::newRow("caret-at-0") << "{1" << 0 << false;
        QTest::newRow("caret-below-0") << "AB{1" << -1 << false;
        QTest::newRow("empty-text") << "" << 3 << false;
    }

    void insideBraces()
    {
        QFETCH(QString, text);
        QFETCH(int, pos);
        QFETCH(bool, inside);
        QCOMPARE(InsideBraces(text, pos), inside);
    }

    void checkLeadingHyphen_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("accepted");

        QTest::newRow("hyphen-alone") << "-" << true;
        QTest::newRow("hyphen-then-digit") << "-3" << false;
        QTest::newRow("two-hyphens") << "--" << false;
        QTest::newRow("range") << "20-30" << true;
        QTest::newRow("digit-first") << "3" << true;
        QTest::newRow("blank-before-hyphen") << " -3" << true;
        QTest::newRow("empty") << "" << true;
    }

    void checkLeadingHyphen()
    {
        QFETCH(QString, text);
        QFETCH(bool, accepted);
        QCOMPARE(CheckLeadingHyphen(text), accepted);
    }

    void allCharsIn_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("allowed");
        QTest::addColumn<bool>("all");

        const QString digits = QStringLiteral("0123456789");
        QTest::newRow("all-digits") << "1901" << digits << true;
        QTest::newRow("one-letter-among-digits") << "19O1" << digits << false;
        QTest::newRow("empty-text") << "" << digits << true;
        QTest::newRow("empty-allowed") << "1" << "" << false;
        QTest::newRow("empty-both") << "" << "" << true;
        QTest::newRow("case-counts") << "abc" << "ABC" << false;
        QTest::newRow("repeats-allowed") << "AAAB" << "AB" << true;
        QTest::newRow("accented-letter-exact") << "\u00C9" << "E" << false;
        QTest::newRow("accented-letter-listed") << "\u00C9E" << "E\u00C9" << true;
        QTest::newRow("blank-not-listed") << "1 2" << digits << false;
    }

    void allCharsIn()
    {
        QFETCH(QString, text);
        QFETCH(QString, allowed);
        QFETCH(bool, all);
        QCOMPARE(AllCharsIn(text, allowed), all);
    }

    void isPageOrCommentRow_data()
    {
        QTest::addColumn<QString>("rowText"); // column 1 of the grid's current row
        QTest::addColumn<int>("col");
        QTest::addColumn<QString>("key");
        QTest::addColumn<bool>("acceptable");

        QTest::newRow("page-digit-after-comma") << "+PAGE," << kSurname << "1" << true;
        QTest::newRow("page-digit-after-number") << "+PAGE,12" << kSurname << "3" << true;
        QTest::newRow("page-lower-case-keyword") << "+page,1" << kSurname << "9" << true;
        QTest::newRow("page-digit-before-comma-typed") << "+PAGE" << kSurname << "1" << false;
        QTest::newRow("page-digit-after-blank-and-comma") << "+PAGE ,1" << kSurname << "2"
                                                          << false;
        QTest::newRow("page-first-comma") << "+PAGE" << kSurname << "," << true;
        QTest::newRow("page-second-comma") << "+PAGE,1" << kSurname << "," << false;
        QTest::newRow("page-letter") << "+PAGE,1" << kSurname << "a" << false;
        QTest::newRow("page-blank") << "+PAGE,1" << kSurname << " " << false;
        QTest::newRow("other-plus-line-any-key") << "+CREDIT" << kSurname << ";" << true;
        QTest::newRow("other-plus-line-digit") << "+INFO" << kSurname << "7" << true;
        QTest::newRow("comment-line-any-key") << "#COMMENT" << kSurname << "&" << true;
        QTest::newRow("comment-line-digit") << "# sic" << kSurname << "4" << true;
        QTest::newRow("entry-row") << "SMITH" << kSurname << "4" << false;
        QTest::newRow("empty-row") << "" << kSurname << "+" << false;
        QTest::newRow("blank-before-plus") << " +PAGE" << kSurname << "1" << false;
        QTest::newRow("other-column-of-comment-line") << "#COMMENT" << kForenames << "x"
                                                      << false;
        QTest::newRow("other-column-of-page-line") << "+PAGE," << kPage << "1" << false;
    }

    void isPageOrCommentRow()
    {
        QFETCH(QString, rowText);
        QFETCH(int, col);
        QFETCH(QString, key);
        QFETCH(bool, acceptable);

        // Without the program's transcription there is no row to look at.
        QVERIFY(!IsPageOrCommentRow(kSurname, u'#'));

        gTranscription = transcription.get();
        grid->setTextMatrix(kOtherEntry, kSurname, rowText);
        // The grid's own current row counts, not the cell being validated.
        gCurrentRow = kEntry;
        grid->setRow(kOtherEntry);
        QCOMPARE(IsPageOrCommentRow(col, key.at(0)), acceptable);
    }

    // ---- CheckString -----------------------------------------------------------------

    void checkString_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("status");
        QTest::addColumn<QString>("box");

        QTest::newRow("plain-text-passes") << "SMITH" << kEntry << "" << "";
        QTest::newRow("wildcards-pass") << "SM[IY]TH{1,2}" << kEntry << "" << "";
        QTest::newRow("question-mark-first")
            << "?SM[I]TH(" << kEntry << "" << kQmMessage;
        QTest::newRow("round-brackets-before-wildcards")
            << "(SM[I]TH" << kEntry << "Unmatched Brackets" << "";
        QTest::newRow("square-brackets-before-wildcards")
            << "SM[IY]]TH" << kEntry << "Unmatched Brackets" << "";
        QTest::newRow("curly-brackets-checked")
            << "JO{1,2N" << kEntry << "Unmatched Brackets" << "";
        QTest::newRow("wildcards-last")
            << "SM[I]TH" << kEntry << ""
            << "Invalid wildcard string - there must be at least 2 chars between [ and ]";
        QTest::newRow("comment-line-exempt") << "?x((M**R" << kCommentRow << "" << "";
    }

    void checkString()
    {
        QFETCH(QString, text);
        QFETCH(int, row);
        QFETCH(QString, status);
        QFETCH(QString, box);
        gCurrentRow = row;
        if (!box.isEmpty())
            script->answer(QStringLiteral("Ok"));

        QCOMPARE(transcription->CheckString(text), status.isEmpty() && box.isEmpty());

        verifyErrorBox(box);
        QCOMPARE(statusBar->current(), status);
    }

    void checkStringJudgesTheCellGiven()
    {
        // A district cell of another row: the district rule of "?", no focus move.
        gCurrentRow = kEntry;
        gCurrentCol = kSurname;
        QVERIFY(transcription->CheckString(QStringLiteral("?,3"), kOtherEntry, kDistrict));
        script->answer(QStringLiteral("Ok"));
        QVERIFY(!transcription->CheckString(QStringLiteral("?,3"), kOtherEntry, kForenames));
        verifyErrorBox(kQmMessage);
        QCOMPARE(boxes->focusBacks(), 0);
    }

    // ---- CheckForOddChars ------------------------------------------------------------

    void checkForOddChars_data()
    {
        QTest::addColumn<QString>("text");
        // Whether it is unusual in the surname, forenames, age-at-death,
        // district and page columns, in that order.
        QTest::addColumn<QList<bool>>("odd");

        const QList<bool> nowhere{false, false, false, false, false};
        QTest::newRow("letters-digits-and-punctuation")
            << "O'Brien-Smith, J. 12" << nowhere;
        QTest::newRow("wildcards-and-double-quote") << "SM[IY]TH*?_{1,2}\"" << nowhere;
        QTest::newRow("surrounding-spaces-trimmed") << "  SMITH  " << nowhere;
        QTest::newRow("empty") << "" << nowhere;
        QTest::newRow("ampersand-usual-in-district-only")
            << "A&B" << QList<bool>{true, true, true, false, true};
        QTest::newRow("slash-usual-in-district-and-page")
            << "12/13" << QList<bool>{true, true, true, false, false};
        QTest::newRow("brackets-usual-in-district-and-age")
            << "(3)" << QList<bool>{true, true, false, false, true};
        QTest::newRow("accented-usual-in-names-only")
            << "\u00C9BERT" << QList<bool>{false, false, true, true, true};
        QTest::newRow("y-diaeresis-last-usual-accented")
            << "\u00FF" << QList<bool>{false, false, true, true, true};
        QTest::newRow("codes-below-192-unusual")
            << "\u00BF" << QList<bool>{true, true, true, true, true};
        QTest::newRow("euro-sign-unusual") << "\u20AC" << QList<bool>{true, true, true, true, true};
        QTest::newRow("tab-unusual") << "A\tB" << QList<bool>{true, true, true, true, true};
        QTest::newRow("male-placeholder-usual-in-forenames")
            << "(male)" << QList<bool>{true, false, false, false, true};
        QTest::newRow("female-placeholder-usual-in-forenames")
            << " (FEMALE) " << QList<bool>{true, false, false, false, true};
        QTest::newRow("placeholder-with-more-unusual")
            << "(MALE) John" << QList<bool>{true, true, false, false, true};
    }

    void checkForOddChars()
    {
        QFETCH(QString, text);
        QFETCH(QList<bool>, odd);
        const QList<int> cols{kSurname, kForenames, kAaD, kDistrict, kPage};
        for (int i = 0; i < cols.size(); ++i) {
            QVERIFY2(transcription->CheckForOddChars(text, cols[i]) == odd[i],
                     qPrintable(QStringLiteral("column %1").arg(cols[i])));
        }
    }

    void checkForOddCharsIgnoredByOption()
    {
        gProject->setIgnoreOdd(true);
        QVERIFY(!transcription->CheckForOddChars(QStringLiteral("A&B\t\u20AC"), kSurname));
        gProject->setIgnoreOdd(false);
        QVERIFY(transcription->CheckForOddChars(QStringLiteral("A&B\t\u20AC"), kSurname));
    }
};

PELKAR_TEST(tst_CharacterChecks)
#include "tst_CharacterChecks.moc"
