// The verdict on a cell as the grid leaves it: the dispatch by column kind,
// the surname column's row kinds, the page letter of the first entry, page
// numbers of "+PAGE" lines, the "+CREDIT" line, and the row re-check behind
// "Find Next Warning".

#include "PelkarTest.h"
#include "RecordingEntryBoxes.h"
#include "RecordingStatusBar.h"
#include "TestFiles.h"

#include "core/Globals.h"
#include "core/MessageWindows.h"
#include "core/Project.h"
#include "core/clsEvents.h"
#include "entry/FlexGrid.h"
#include "lists/Districts.h"
#include "transcription/EntryBoxes.h"
#include "transcription/Transcription.h"

#include <QDir>
#include <QFile>

#include <memory>

namespace {

// The save: records each call and what stood on disk at that moment.
class RecordingSaver : public BatchSaver
{
public:
    RecordingSaver() { SetBatchSaver(this); }
    ~RecordingSaver() override { SetBatchSaver(nullptr); }

    bool SaveSilently() override
    {
        QString call = QStringLiteral("save as ") + gProject->BatchName();
        if (!watchedFile.isEmpty())
            call += QFile::exists(watchedFile) ? QStringLiteral(", old file present")
                                               : QStringLiteral(", old file gone");
        calls << call;
        return saveSucceeds;
    }
    bool StartofPage(int row) override
    {
        calls << QStringLiteral("StartofPage %1").arg(row);
        return pageInOrder;
    }

    bool saveSucceeds = true;
    bool pageInOrder = true;
    QString watchedFile;
    QStringList calls;
};

QString recordText(const MessageRecord &r)
{
    return r.kind + u' ' + QString::number(r.style) + u' ' + r.title + QStringLiteral(": ")
            + r.prompt;
}

// The message panel as the transcriber sees it: its colours and its text.
QString statusText(const RecordingStatusBar &status)
{
    if (status.messages.isEmpty())
        return QString();
    const RecordingStatusBar::Message &m = status.messages.last();
    if (m.text.isEmpty())
        return QString();
    if (m.error)
        return QStringLiteral("error: ") + m.text;
    if (m.warning)
        return QStringLiteral("warning: ") + m.text;
    return m.text;
}

const QString kCrLf = QStringLiteral("\r\n");
const QString kWildBrackets = QStringLiteral(
        "box 16 Pelkar: Invalid wildcard string - there must be at least 2 chars between [ and ]");
const QString kCreditFormat = QStringLiteral("box 16 Pelkar: +CREDIT entries must have the format:")
        + kCrLf + QStringLiteral("+CREDIT,name,email,credit");
const QString kCreditQuestion
        = QStringLiteral("box 36 Pelkar: The +Credit line should be entered via the Header Form.")
        + kCrLf + QStringLiteral("Would you like me to move this line to the correct place?");

} // namespace

class tst_CellValidation : public PelkarTest
{
    Q_OBJECT

protected:
    void setUpCase() override
    {
        ProgramObjects::createEvents();
        ProgramObjects::createProject();
        // Some setters save every setting: give them a folder.
        gProject->setDataPath(home());
        gProject->setSavePath(homePath("Output"));
        QVERIFY(QDir().mkpath(homePath("Output")));
        gProject->setEventType(1);
        gProject->setIYear(1911);
        gProject->setQtr(3);
        gProject->setPage(QStringLiteral("12"));
        gProject->setIVnf(1);
        gProject->setBeepit(true);
        gProject->setDistValidate(true);
        gProject->setPageLetter(QStringLiteral("A"));

        grid = std::make_unique<FlexGrid>();
        t = std::make_unique<Transcription>();
        t->setGrid(grid.get());
        boxes = std::make_unique<RecordingEntryBoxes>();
        saver = std::make_unique<RecordingSaver>();
        status = std::make_unique<RecordingStatusBar>();
        layout(QStringLiteral("plain"));
        fillRow(1, {QStringLiteral("+PAGE,12")});
        fillRow(2, {QStringLiteral("ABBOT"), QStringLiteral("Ann"), QStringLiteral("Ashford,5A"),
                    QStringLiteral("12")});
    }

    void tearDownCase() override
    {
        status.reset();
        saver.reset();
        boxes.reset();
        t.reset();
        grid.reset();
    }

    // The column map of each batch layout, with a grid of five rows.
    void layout(const QString &kind)
    {
        t->setSurnameCol(1);
        t->setForenamesCol(2);
        t->setMotherCol(0);
        t->setSpouseCol(0);
        t->setAaDCol(-1);
        t->setDoBCol(-1);
        t->setDistrictCol(3);
        t->setPageCol(4);
        gLastCol = 4;
        if (kind != QLatin1String("plain")) {
            if (kind == QLatin1String("mother"))
                t->setMotherCol(3);
            else if (kind == QLatin1String("spouse"))
                t->setSpouseCol(3);
            else if (kind == QLatin1String("aad"))
                t->setAaDCol(3);
            else if (kind == QLatin1String("dob"))
                t->setDoBCol(3);
            t->setDistrictCol(4);
            t->setPageCol(5);
            gLastCol = 5;
        }
        grid->setCols(gLastCol + 1);
        grid->setRows(6);
    }

    // The district list, for the row checks: only its district-cell rules
    // are used, so no district file is read.
    void createDistricts()
    {
        gProject->setFilesPath(homePath("Files"));
        QVERIFY(QDir().mkpath(homePath("Files")));
        ProgramObjects::createDistricts();
    }

    void fillRow(int row, const QStringList &cells)
    {
        if (grid->Rows() <= row)
            grid->setRows(row + 1);
        for (int c = 1; c <= gLastCol; ++c)
            grid->setTextMatrix(row, c, c - 1 < cells.size() ? cells.at(c - 1) : QString());
    }

    // Each of these message boxes has only an OK button.
    void answerOk(const QStringList &shown)
    {
        for (qsizetype i = 0; i < shown.size(); ++i)
            script->answer(QStringLiteral("Ok"));
    }

    QStringList messages() const
    {
        QStringList texts;
        for (const MessageRecord &r : script->records())
            texts << recordText(r);
        return texts;
    }

    std::unique_ptr<FlexGrid> grid;
    std::unique_ptr<Transcription> t;
    std::unique_ptr<RecordingEntryBoxes> boxes;
    std::unique_ptr<RecordingSaver> saver;
    std::unique_ptr<RecordingStatusBar> status;

private slots:
    // Which rules run for which column kind, and what the verdict is.
    void validateBoxDispatchesByColumnKind_data()
    {
        QTest::addColumn<QString>("layoutKind");
        QTest::addColumn<int>("col");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("boxShown");
        QTest::addColumn<bool>("boxAccepts");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<QString>("cellAfter");
        QTest::addColumn<QString>("statusAfter");
        QTest::addColumn<QStringList>("boxCalls");
        QTest::addColumn<QStringList>("shown");
        const auto row = [](const char *tag, const char *layoutKind, int col, const QString &text,
                            bool boxShown, bool boxAccepts, bool valid, const QString &cellAfter,
                            const QString &statusAfter, const QStringList &boxCalls,
                            const QStringList &shown) {
            QTest::newRow(tag) << QString::fromLatin1(layoutKind) << col << text << boxShown
                               << boxAccepts << valid << cellAfter << statusAfter << boxCalls
                               << shown;
        };
        row("surname-column-cases-an-all-lower-case-entry", "plain", 1, "baker", false, true, true,
            "Baker", "", {}, {});
        row("surname-column-refuses-bad-pattern", "plain", 1, "B[A]KER", false, true, false,
            "B[A]KER", "", {}, {kWildBrackets});
        row("surname-then-character-rules-refuse-unbalanced-bracket", "plain", 1, "BAKER(", false,
            true, false, "BAKER(", "error: Unmatched Brackets", {}, {});
        row("age-at-death-column-refuses-misplaced-m", "aad", 3, "3m5", false, true, false, "3m5",
            "error: The 'm' must be the last character", {}, {});
        row("age-at-death-column-warns-and-accepts-151", "aad", 3, "151", false, true, true, "151",
            "warning: Age should be numeric 0-150", {}, {});
        row("date-of-birth-warning-lets-the-grid-move-on", "dob", 3, "32 JA 1901", false, true,
            true, "32 JA 1901", "warning: Invalid DoB", {}, {});
        // The date check only warns; the pattern is refused by the
        // character rules that run after it, so its message comes twice.
        row("date-of-birth-bad-pattern-refused-by-character-rules", "dob", 3, "1[2] JA 1901",
            false, true, false, "1[2] JA 1901", "warning: Invalid DoB", {},
            {kWildBrackets, kWildBrackets});
        row("mother-column-follows-surname-rules", "mother", 3, "o'brien", false, true, true,
            "O'Brien", "", {}, {});
        row("spouse-column-follows-surname-rules", "spouse", 3, "SMITH+JONES", false, true, false,
            "SMITH+JONES", "error: Invalid Surname: + Must be 1st char", {"GiveFocusBack"}, {});
        row("district-with-box-hidden-accepted-without-character-rules", "plain", 3,
            "Ash[f]ord,5A", false, false, true, "Ash[f]ord,5A", "", {}, {});
        row("district-box-verdict-taken", "plain", 3, "Ashford,5A", true, true, true,
            "Ashford,5A", "", {"DistrictValidate"}, {});
        row("district-box-refusal-puts-focus-back-in-box", "plain", 3, "Nowhere,5A", true, false,
            false, "Nowhere,5A", "", {"DistrictValidate", "FocusDistrictBox"}, {});
        row("forenames-with-box-hidden-accepted-without-character-rules", "plain", 2, "J[o]hn",
            false, false, true, "J[o]hn", "", {}, {});
        row("forenames-box-refusal-puts-focus-back-in-box", "plain", 2, "Jhon", true, false,
            false, "Jhon", "", {"ForenameValidate", "FocusForenameBox"}, {});
        row("page-column-refuses-bad-pattern", "plain", 4, "1{2}", false, true, false, "1{2}", "",
            {},
            {"box 16 Pelkar: Invalid wildcard string - there must be at least 2 chars between { "
             "and }"});
        row("page-column-accepts-page-with-suffix", "plain", 4, "12a", false, true, true, "12a",
            "", {}, {});
    }

    void validateBoxDispatchesByColumnKind()
    {
        QFETCH(QString, layoutKind);
        QFETCH(int, col);
        QFETCH(QString, text);
        QFETCH(bool, boxShown);
        QFETCH(bool, boxAccepts);
        QFETCH(bool, valid);
        QFETCH(QString, cellAfter);
        QFETCH(QString, statusAfter);
        QFETCH(QStringList, boxCalls);
        QFETCH(QStringList, shown);
        layout(layoutKind);
        fillRow(2, {"ABBOT", "Ann", "Ashford,5A", "12", "12"});
        fillRow(3, {"BAKER", "Bob", "Ashford,5A", "12", "12"});
        grid->setTextMatrix(3, col, text);
        boxes->districtVisible = boxes->forenameVisible = boxShown;
        boxes->districtValid = boxes->forenameValid = boxAccepts;
        gCurrentRow = 3;
        gCurrentCol = col;
        gProject->setInvalid(valid);
        answerOk(shown);

        QCOMPARE(t->ValidateBox(col, 3), valid);
        QCOMPARE(gProject->Invalid(), !valid);
        QCOMPARE(grid->TextMatrix(3, col), cellAfter);
        QCOMPARE(statusText(*status), statusAfter);
        QCOMPARE(boxes->calls, boxCalls);
        QCOMPARE(messages(), shown);
        // The message panel is cleared before any rule speaks.
        QVERIFY(!status->messages.isEmpty());
        QCOMPARE(status->messages.first().text, QString());
    }

    // The surname column's rules for entries and for "+" and "#" lines.
    void validateSurName_data()
    {
        QTest::addColumn<QString>("pageLine");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("pageInOrder");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<QString>("cellAfter");
        QTest::addColumn<QString>("statusAfter");
        QTest::addColumn<int>("beeps");
        QTest::addColumn<QStringList>("boxCalls");
        QTest::addColumn<QStringList>("shown");
        const auto row = [](const char *tag, const QString &pageLine, const QString &text,
                            bool pageInOrder, bool valid, const QString &cellAfter,
                            const QString &statusAfter, int beeps, const QStringList &boxCalls,
                            const QStringList &shown) {
            QTest::newRow(tag) << pageLine << text << pageInOrder << valid << cellAfter
                               << statusAfter << beeps << boxCalls << shown;
        };
        const QString noNumber = QStringLiteral(
                "box 48 Pelkar: Cannot use this format when there are +PAGE lines in your file "
                "with no page number");
        row("empty-cell-accepted", "+PAGE,12", "   ", true, true, "", "", 0, {}, {});
        row("spaces-tidied-and-lower-case-entry-cased", "+PAGE,12", "  baker   smith ", true,
            true, "Baker Smith", "", 0, {}, {});
        row("name-case-follows-a-hyphen", "+PAGE,12", "smith-jones", true, true, "Smith-Jones",
            "", 0, {}, {});
        row("any-capital-keeps-the-entry-as-typed", "+PAGE,12", "McDONALD", true, true,
            "McDONALD", "", 0, {}, {});
        row("bad-wildcard-pattern-refused", "+PAGE,12", "SM[I]TH", true, false, "SM[I]TH", "", 0,
            {}, {kWildBrackets});
        row("plus-after-first-character-refused", "+PAGE,12", "SMITH+JONES", true, false,
            "SMITH+JONES", "error: Invalid Surname: + Must be 1st char", 1, {"GiveFocusBack"},
            {});
        row("lone-plus-refused-without-a-word", "+PAGE,12", "+", true, false, "+", "", 0,
            {"GiveFocusBack"}, {});
        row("plus-x-line-refused", "+PAGE,12", "+X", true, false, "+X",
            "error: Invalid char after +", 0, {"GiveFocusBack"}, {});
        row("plus-b-line-accepted", "+PAGE,12", "+BLANK", true, true, "+BLANK", "", 0, {}, {});
        row("plus-u-line-accepted", "+PAGE,12", "+u", true, true, "+u", "", 0, {}, {});
        row("plus-f-line-accepted", "+PAGE,12", "+FOLIO", true, true, "+FOLIO", "", 0, {}, {});
        row("plus-c-line-other-than-credit-accepted", "+PAGE,12", "+CONTINUED", true, true,
            "+CONTINUED", "", 0, {}, {});
        row("page-shorthand-follows-page-12", "+PAGE,12", "+page,", true, true, "+PAGE,13", "", 0,
            {}, {});
        row("page-shorthand-follows-page-12a", "+PAGE,12a", "+PAGE,", true, true, "+PAGE,13", "",
            0, {}, {});
        row("page-shorthand-beyond-16-bits", "+PAGE,40000", "+PAGE,", true, true, "+PAGE,40001",
            "", 0, {}, {});
        row("page-shorthand-without-numbered-page-kept-as-typed", "+PAGE,", "+PAGE,", true, true,
            "+PAGE,", "", 0, {"GiveFocusBack"}, {noNumber});
        row("page-shorthand-after-overlong-number-not-taken-for-a-page", "+PAGE,99999999999",
            "+PAGE,", true, true, "+PAGE,", "", 0, {"GiveFocusBack"}, {noNumber});
        row("page-line-out-of-order-warns-and-is-accepted", "+PAGE,12", "+PAGE,15", false, true,
            "+PAGE,15", "warning: Incorrect Page number", 1, {}, {});
        row("comment-line-accepted", "+PAGE,12", "# torn corner", true, true, "# torn corner", "",
            0, {}, {});
        row("comment-line-exempt-from-wildcard-rules", "+PAGE,12", "# SM[I]TH?", true, true,
            "# SM[I]TH?", "", 0, {}, {});
        row("malformed-comment-warns-and-is-accepted", "+PAGE,12", "#COMMENT", true, true,
            "#COMMENT", "warning: Likely invalid #Comment or #Theory", 0, {}, {});
    }

    void validateSurName()
    {
        QFETCH(QString, pageLine);
        QFETCH(QString, text);
        QFETCH(bool, pageInOrder);
        QFETCH(bool, valid);
        QFETCH(QString, cellAfter);
        QFETCH(QString, statusAfter);
        QFETCH(int, beeps);
        QFETCH(QStringList, boxCalls);
        QFETCH(QStringList, shown);
        grid->setTextMatrix(1, 1, pageLine);
        fillRow(3, {text, "Bob", "Ashford,5A", "12"});
        saver->pageInOrder = pageInOrder;
        gCurrentRow = 3;
        gCurrentCol = 1;
        answerOk(shown);

        QCOMPARE(t->ValidateSurName(1, 3), valid);
        QCOMPARE(grid->TextMatrix(3, 1), cellAfter);
        QCOMPARE(statusText(*status), statusAfter);
        QCOMPARE(input().beeps, beeps);
        QCOMPARE(boxes->calls, boxCalls);
        QCOMPARE(messages(), shown);
    }

    // A "+PAGE" line asks the save's page check about its own row, and
    // writing the cell raises no grid event.
    void pageLineCheckedOnItsOwnRowQuietly()
    {
        fillRow(4, {"+page,"});
        gCurrentRow = 2;
        int entered = 0;
        connect(grid.get(), &FlexGrid::EnterCell, this, [&entered] { ++entered; });
        QVERIFY(t->ValidateSurName(1, 4));
        QCOMPARE(grid->TextMatrix(4, 1), QStringLiteral("+PAGE,13"));
        QCOMPARE(saver->calls, QStringList{QStringLiteral("StartofPage 4")});
        QCOMPARE(entered, 0);
        QCOMPARE(gEvents->count(), 0);
    }

    // A "+CREDIT" line is refused in the grid: it belongs to the header.
    void creditLine_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QString>("cellAfter");
        QTest::addColumn<QStringList>("shown");
        QTest::addColumn<QStringList>("credit");
        QTest::addColumn<int>("colAfter");
        QTest::addColumn<QStringList>("boxCalls");
        const QStringList none{QString(), QString(), QString()};
        QTest::newRow("two-fields-after-keyword-give-format-message")
                << "+CREDIT,Ann Lee,ann@example.org" << "Ok"
                << "+CREDIT,Ann Lee,ann@example.org" << QStringList{kCreditFormat} << none << 2
                << QStringList{};
        QTest::newRow("quotes-refused")
                << "+CREDIT,\"Ann Lee\",ann@example.org,Typist" << "Ok"
                << "+CREDIT,\"Ann Lee\",ann@example.org,Typist"
                << QStringList{QStringLiteral(
                           "box 16 Pelkar: Quotes are not allowed in Credit strings")}
                << none << 2 << QStringList{};
        QTest::newRow("yes-moves-fields-to-header-and-keyword-capitalised")
                << "+credit,Ann Lee,ann@example.org,Typist" << "Yes"
                << "+CREDIT,Ann Lee,ann@example.org,Typist" << QStringList{kCreditQuestion}
                << QStringList{"Ann Lee", "ann@example.org", "Typist"} << 1
                << QStringList{"ClearRichTextbox"};
        QTest::newRow("no-keeps-line-in-grid-and-empties-entry-box")
                << "+credit,Ann Lee,ann@example.org,Typist" << "No"
                << "+CREDIT,Ann Lee,ann@example.org,Typist" << QStringList{kCreditQuestion}
                << none << 1 << QStringList{"ClearRichTextbox"};
    }

    void creditLine()
    {
        QFETCH(QString, text);
        QFETCH(QString, answer);
        QFETCH(QString, cellAfter);
        QFETCH(QStringList, shown);
        QFETCH(QStringList, credit);
        QFETCH(int, colAfter);
        QFETCH(QStringList, boxCalls);
        fillRow(3, {text});
        {
            EventsOffGuard quiet;
            grid->setRowCol(5, 2);
        }
        gCurrentRow = 3;
        gCurrentCol = 1;
        if (!answer.isEmpty())
            script->answer(answer);

        QVERIFY(!t->ValidateBox(1, 3));
        QVERIFY(gProject->Invalid());
        QCOMPARE(grid->TextMatrix(3, 1), cellAfter);
        QCOMPARE(messages(), shown);
        QCOMPARE(QStringList({gProject->CreditName(), gProject->CreditEmail(),
                              gProject->CreditType()}),
                 credit);
        // The grid stays on the line's row; after the question, on its
        // first column.
        QCOMPARE(grid->Row(), 3);
        QCOMPARE(grid->Col(), colAfter);
        QCOMPARE(boxes->calls, boxCalls);
        QCOMPARE(gEvents->count(), 0);
    }

    void validateCredit_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<bool>("showMessages");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<QString>("lineAfter");
        QTest::addColumn<QStringList>("shown");
        QTest::newRow("four-fields-keyword-capitalised")
                << "+Credit,Ann,a@b.org,Typist" << true << true << "+CREDIT,Ann,a@b.org,Typist"
                << QStringList{};
        QTest::newRow("empty-fields-still-four")
                << "+CREDIT,,," << true << true << "+CREDIT,,," << QStringList{};
        QTest::newRow("five-fields-refused")
                << "+CREDIT,Ann,a@b.org,Typist,x" << true << false
                << "+CREDIT,Ann,a@b.org,Typist,x" << QStringList{kCreditFormat};
        QTest::newRow("other-keyword-refused")
                << "+CREDITS,Ann,a@b.org,Typist" << true << false << "+CREDITS,Ann,a@b.org,Typist"
                << QStringList{kCreditFormat};
        QTest::newRow("quiet-refusal-shows-nothing")
                << "+CREDIT,Ann" << false << false << "+CREDIT,Ann" << QStringList{};
        QTest::newRow("quote-refused-quietly")
                << "+CREDIT,\"Ann\",a,b" << false << false << "+CREDIT,\"Ann\",a,b"
                << QStringList{};
    }

    void validateCredit()
    {
        QFETCH(QString, line);
        QFETCH(bool, showMessages);
        QFETCH(bool, valid);
        QFETCH(QString, lineAfter);
        QFETCH(QStringList, shown);
        answerOk(shown);
        QCOMPARE(Transcription::ValidateCredit(line, showMessages), valid);
        QCOMPARE(line, lineAfter);
        QCOMPARE(messages(), shown);
    }

    // The first surname's initial against a page letter the batch has.
    void pageLetterCompared_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("col");
        QTest::addColumn<bool>("force");
        QTest::addColumn<QString>("surname");
        QTest::addColumn<bool>("warnedBefore");
        QTest::addColumn<bool>("warnedAfter");
        QTest::addColumn<QStringList>("shown");
        const QString warning
                = QStringLiteral("box 48 Pelkar: The Page Letter does not agree with the first "
                                 "letter of the first surname.")
                + kCrLf
                + QStringLiteral("The first surname is Jones but the Page Letter field is set "
                                 "to A")
                + kCrLf + QStringLiteral("You need to change one of them.");
        const auto row = [](const char *tag, int row, int col, bool force, const QString &surname,
                            bool before, bool after, const QStringList &shown) {
            QTest::newRow(tag) << row << col << force << surname << before << after << shown;
        };
        row("initial-agrees-clears-the-warning", 2, 1, false, "Abbot", true, false, {});
        row("lower-case-initial-agrees", 2, 1, false, "abbot", true, false, {});
        row("initial-disagrees-warns-once", 2, 1, false, "Jones", false, true, {warning});
        row("warning-not-repeated-while-letters-disagree", 2, 1, false, "Jones", true, true, {});
        row("asterisk-initial-not-compared", 2, 1, false, "*ONES", false, false, {});
        row("underscore-initial-not-compared", 2, 1, false, "_ONES", false, false, {});
        row("question-mark-initial-not-compared", 2, 1, false, "?", false, false, {});
        row("page-line-not-compared", 2, 1, false, "+PAGE,12", false, false, {});
        row("comment-not-compared", 2, 1, false, "#COMMENT torn", false, false, {});
        row("empty-cell-not-compared", 2, 1, false, "", false, false, {});
        row("later-row-ignored-without-force", 3, 1, false, "Jones", false, false, {});
        row("any-row-checked-with-force", 4, 1, true, "Jones", false, true, {warning});
        row("other-column-ignored", 2, 2, true, "Jones", false, false, {});
    }

    void pageLetterCompared()
    {
        QFETCH(int, row);
        QFETCH(int, col);
        QFETCH(bool, force);
        QFETCH(QString, surname);
        QFETCH(bool, warnedBefore);
        QFETCH(bool, warnedAfter);
        QFETCH(QStringList, shown);
        grid->setTextMatrix(row, col, surname);
        gProject->setWrongPageletter(warnedBefore);
        answerOk(shown);

        t->Check_PageLetter(col, row, force);
        QCOMPARE(gProject->WrongPageletter(), warnedAfter);
        QCOMPARE(messages(), shown);
        QCOMPARE(gProject->PageLetter(), QStringLiteral("A"));
        QVERIFY(saver->calls.isEmpty());
    }

    // A batch without a page letter takes the first surname's initial: it
    // is renamed and saved at once, and the file of the old name may go
    // only after that save succeeded.
    void pageLetterTakenFromFirstSurname_data()
    {
        QTest::addColumn<bool>("saveSucceeds");
        QTest::addColumn<QString>("answer");
        QTest::addColumn<bool>("asked");
        QTest::addColumn<bool>("oldFileKept");
        QTest::newRow("saved-then-yes-deletes-old-file") << true << "Yes" << true << false;
        QTest::newRow("saved-then-no-keeps-old-file") << true << "No" << true << true;
        QTest::newRow("failed-save-offers-no-delete") << false << QString() << false << true;
    }

    void pageLetterTakenFromFirstSurname()
    {
        QFETCH(bool, saveSucceeds);
        QFETCH(QString, answer);
        QFETCH(bool, asked);
        QFETCH(bool, oldFileKept);
        projectWithoutPageLetter();
        const QString oldFile = QDir(gProject->SavePath()).filePath("1911B30012.ZEL");
        QVERIFY(TestFiles::writeBytes(oldFile, "+INFO\r\n"));
        saver->watchedFile = oldFile;
        saver->saveSucceeds = saveSucceeds;
        if (!answer.isEmpty())
            script->answer(answer);
        grid->setTextMatrix(2, 1, QStringLiteral("abbot"));

        t->Check_PageLetter(1, 2, false);

        QCOMPARE(gProject->PageLetter(), QStringLiteral("A"));
        QCOMPARE(gProject->BatchName(), QStringLiteral("1911B3A0012.ZEL"));
        QCOMPARE(status->messages.size(), 1);
        QCOMPARE(statusText(*status), QStringLiteral("warning: PageLetter set to A"));
        QCOMPARE(status->fileShown, 1);
        // Saved under the new name while the old file still stood.
        QCOMPARE(saver->calls,
                 QStringList{QStringLiteral("save as 1911B3A0012.ZEL, old file present")});
        const QString question
                = QStringLiteral("box 36 Pelkar: I have added a Page Letter of A to this file "
                                 "and this has changed the output filename to 1911B3A0012.ZEL")
                + kCrLf + QStringLiteral("A file with the old name of 1911B30012.ZEL exists.")
                + kCrLf + QStringLiteral("Would you like me to delete the old file?") + kCrLf
                + QStringLiteral("You should normally answer Yes as otherwise you will have two "
                                 "files with very similar names.");
        QCOMPARE(messages(), asked ? QStringList{question} : QStringList{});
        QCOMPARE(QFile::exists(oldFile), oldFileKept);
    }

    void pageLetterNeverSavesOverAnotherBatch()
    {
        projectWithoutPageLetter();
        const QString oldFile = QDir(gProject->SavePath()).filePath("1911B30012.ZEL");
        const QString otherBatch = QDir(gProject->SavePath()).filePath("1911B3A0012.ZEL");
        QVERIFY(TestFiles::writeBytes(oldFile, "+INFO\r\n"));
        QVERIFY(TestFiles::writeBytes(otherBatch, "+INFO,other\r\n"));
        script->answer(QStringLiteral("Ok"));
        grid->setTextMatrix(2, 1, QStringLiteral("abbot"));

        t->Check_PageLetter(1, 2, false);

        QVERIFY(saver->calls.isEmpty());
        QCOMPARE(messages(),
                 QStringList{QStringLiteral("box 48 Pelkar: This batch is now named 1911B3A0012.ZEL, "
                                            "but a file of that name already exists in your save "
                                            "folder.")
                             + kCrLf
                             + QStringLiteral("It has not been saved over - please check which "
                                              "batch is which before you save.")});
        QCOMPARE(TestFiles::readBytes(otherBatch), QByteArray("+INFO,other\r\n"));
        QVERIFY(QFile::exists(oldFile));
    }

    void pageLetterNeedsALetterInitial_data()
    {
        QTest::addColumn<QString>("surname");
        QTest::newRow("digit") << "1ST";
        QTest::newRow("wildcard") << "*BBOT";
        QTest::newRow("accented-letter") << QString::fromUtf8("Ébert");
        QTest::newRow("page-line") << "+PAGE,12";
    }

    void pageLetterNeedsALetterInitial()
    {
        QFETCH(QString, surname);
        projectWithoutPageLetter();
        grid->setTextMatrix(2, 1, surname);
        t->Check_PageLetter(1, 2, false);
        QCOMPARE(gProject->PageLetter(), QString());
        QCOMPARE(gProject->BatchName(), QStringLiteral("1911B30012.ZEL"));
        QVERIFY(saver->calls.isEmpty());
        QVERIFY(status->messages.isEmpty());
    }

    void splitPageNumber_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("page");
        QTest::addColumn<QString>("suffix");
        QTest::newRow("number-and-letter") << "12a" << 12 << "a";
        QTest::newRow("number-only") << "12" << 12 << "";
        QTest::newRow("blanks-trimmed") << "  7b " << 7 << "b";
        QTest::newRow("empty") << "" << -1 << "";
        QTest::newRow("blank") << "   " << -1 << "";
        QTest::newRow("no-leading-digit") << "a12" << -1 << "a12";
        QTest::newRow("sign-is-not-a-digit") << "-3" << -1 << "-3";
        QTest::newRow("decimal-point-starts-the-suffix") << "12.5" << 12 << ".5";
        QTest::newRow("beyond-16-bits-still-a-page") << "40000" << 40000 << "";
        QTest::newRow("largest-32-bit-page") << "2147483647" << 2147483647 << "";
        QTest::newRow("too-large-is-not-a-number") << "2147483648" << -1 << "2147483648";
        QTest::newRow("too-large-with-suffix-is-not-a-number")
                << "99999999999a" << -1 << "99999999999a";
    }

    void splitPageNumber()
    {
        QFETCH(QString, text);
        QFETCH(int, page);
        QFETCH(QString, suffix);
        int gotPage = 0;
        QString gotSuffix = QStringLiteral("stale");
        Transcription::SplitPageNumber(text, gotPage, gotSuffix);
        QCOMPARE(gotPage, page);
        QCOMPARE(gotSuffix, suffix);
    }

    void getLastPageNumber_data()
    {
        QTest::addColumn<QStringList>("column1"); // rows 1 on
        QTest::addColumn<int>("currentRow");
        QTest::addColumn<int>("startRow");
        QTest::addColumn<int>("page");
        QTest::addColumn<QString>("suffix");
        QTest::newRow("nearest-page-line-above-current-row")
                << QStringList{"+PAGE,12", "ABBOT", "+PAGE,13", "BAKER", "COLE"} << 5 << 0 << 13
                << "";
        QTest::newRow("start-row-itself-searched")
                << QStringList{"+PAGE,12", "ABBOT", "+PAGE,13", "BAKER"} << 4 << 3 << 13 << "";
        QTest::newRow("explicit-start-row-ignores-current-row")
                << QStringList{"+PAGE,12", "ABBOT", "+PAGE,13", "BAKER"} << 4 << 2 << 12 << "";
        QTest::newRow("keyword-in-any-case-and-suffix")
                << QStringList{"+page, 12b ", "ABBOT"} << 2 << 0 << 12 << "b";
        QTest::newRow("page-line-without-number") << QStringList{"+PAGE", "ABBOT"} << 2 << 0 << -1
                                                  << "";
        QTest::newRow("page-line-with-comma-only") << QStringList{"+PAGE,", "ABBOT"} << 2 << 0
                                                   << -1 << "";
        QTest::newRow("short-plus-line-is-not-a-page-line")
                << QStringList{"+PAGE,4", "+PAG", "ABBOT"} << 3 << 0 << 4 << "";
        QTest::newRow("no-page-line") << QStringList{"# note", "ABBOT"} << 2 << 0 << -1 << "";
        QTest::newRow("overlong-number-is-no-page")
                << QStringList{"+PAGE,99999999999", "ABBOT"} << 2 << 0 << -1 << "";
    }

    void getLastPageNumber()
    {
        QFETCH(QStringList, column1);
        QFETCH(int, currentRow);
        QFETCH(int, startRow);
        QFETCH(int, page);
        QFETCH(QString, suffix);
        grid->setRows(int(column1.size()) + 1);
        for (int r = 1; r <= column1.size(); ++r)
            fillRow(r, {column1.at(r - 1)});
        gCurrentRow = currentRow;
        int gotPage = 0;
        QString gotSuffix = QStringLiteral("stale");
        t->GetLastPageNumber(gotPage, gotSuffix, startRow);
        QCOMPARE(gotPage, page);
        QCOMPARE(gotSuffix, suffix);
    }

    // One call of the "Find Next Warning" re-check on grid row 3, below an
    // entry ABBOT Ann.
    void checkRow_data()
    {
        QTest::addColumn<QString>("layoutKind");
        QTest::addColumn<QStringList>("cells");
        QTest::addColumn<bool>("ignoreAaD");
        QTest::addColumn<int>("startCol");
        QTest::addColumn<bool>("sequence");
        QTest::addColumn<bool>("questionMark");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("col");
        QTest::addColumn<int>("startColAfter");
        const auto row = [](const char *tag, const char *layoutKind, const QStringList &cells,
                            bool ignoreAaD, int startCol, bool sequence, bool questionMark,
                            const QString &text, int col, int startColAfter) {
            QTest::newRow(tag) << QString::fromLatin1(layoutKind) << cells << ignoreAaD
                               << startCol << sequence << questionMark << text << col
                               << startColAfter;
        };
        row("sound-row-moves-one-column-on", "plain", {"BAKER", "Bob", "Ashford,5A", "12"}, false,
            1, false, false, "", 0, 2);
        row("sound-row-from-later-column", "plain", {"BAKER", "Bob", "Ashford,5A", "12"}, false, 3,
            false, false, "", 0, 4);
        row("blank-cell-makes-row-incomplete", "plain", {"BAKER", "", "Ashford,5A", "12"}, false,
            1, false, false, "", 2, 3);
        row("blank-of-spaces-is-blank", "plain", {"BAKER", "Bob", "Ashford,5A", "   "}, false, 1,
            false, false, "", 4, 5);
        row("blank-before-start-not-seen", "plain", {"BAKER", "", "Ashford,5A", "12"}, false, 3,
            false, false, "", 0, 4);
        row("empty-age-at-death-ignored-with-option", "aad",
            {"BAKER", "Bob", "", "Ashford,5A", "12"}, true, 1, false, false, "", 0, 2);
        row("empty-age-at-death-incomplete-without-option", "aad",
            {"BAKER", "Bob", "", "Ashford,5A", "12"}, false, 1, false, false, "", 3, 4);
        row("question-mark-not-alone", "plain", {"BAKER", "?Bob", "Ashford,5A", "12"}, false, 1,
            false, true, "", 2, 2);
        row("lone-question-mark-passes", "plain", {"BAKER", "?", "Ashford,5A", "12"}, false, 1,
            false, false, "", 0, 2);
        row("district-question-mark-judged-by-district-rule", "plain",
            {"BAKER", "Bob", "?,5A", "12"}, false, 1, false, false, "", 0, 2);
        row("district-name-with-question-mark", "plain", {"BAKER", "Bob", "Ash?,5A", "12"}, false,
            1, false, true, "", 3, 2);
        row("district-star-in-brackets", "plain", {"BAKER", "Bob", "Ashford (*),5A", "12"}, false,
            1, false, false, "Error: (*) not allowed in District.", 3, 2);
        row("district-volume-missing", "plain", {"BAKER", "Bob", "Ashford", "12"}, false, 1, false,
            false, "Missing Volume Code", 3, 2);
        row("district-volume-in-wrong-format", "plain", {"BAKER", "Bob", "Ashford,12", "12"},
            false, 1, false, false, "Wrong Volume Number Format", 3, 2);
        row("district-wildcard-volume-passes", "plain", {"BAKER", "Bob", "Ashford,5_", "12"},
            false, 1, false, false, "", 0, 2);
        row("out-of-sequence", "plain", {"AARON", "Bob", "Ashford,5A", "12"}, false, 1, true,
            false, "", 1, 2);
        row("sequence-not-checked-from-later-column", "plain",
            {"AARON", "Bob", "Ashford,5A", "12"}, false, 2, false, false, "", 0, 3);
        row("start-beyond-last-column-left-alone", "plain", {"AARON", "", "", ""}, false, 5,
            false, false, "", 0, 5);
    }

    void checkRow()
    {
        QFETCH(QString, layoutKind);
        QFETCH(QStringList, cells);
        QFETCH(bool, ignoreAaD);
        QFETCH(int, startCol);
        QFETCH(bool, sequence);
        QFETCH(bool, questionMark);
        QFETCH(QString, text);
        QFETCH(int, col);
        QFETCH(int, startColAfter);
        createDistricts();
        if (layoutKind == QLatin1String("aad"))
            gProject->setEventType(2);
        layout(layoutKind);
        gProject->setIgnoreAaD(ignoreAaD);
        fillRow(1, {"+PAGE,12"});
        if (layoutKind == QLatin1String("aad"))
            fillRow(2, {"ABBOT", "Ann", "80", "Ashford,5A", "12"});
        else
            fillRow(2, {"ABBOT", "Ann", "Ashford,5A", "12"});
        fillRow(3, cells);
        // The transcriber stands elsewhere: the row is judged on its own.
        gCurrentRow = 5;
        gCurrentCol = 1;

        int start = startCol;
        const Transcription::RowFinding finding = t->CheckRow(3, start);
        QCOMPARE(finding.sequence, sequence);
        QCOMPARE(finding.questionMark, questionMark);
        QCOMPARE(finding.text, text);
        QCOMPARE(finding.col, col);
        QCOMPARE(start, startColAfter);
        // Quiet: no message, no status, no focus moved.
        QCOMPARE(messages(), QStringList());
        QVERIFY(status->messages.isEmpty());
        QCOMPARE(boxes->calls, QStringList());
    }

    // The row's own "district accepted" flag decides, whichever row the
    // transcriber stands on.
    void checkRowUsesTheCheckedRowsDistrictFlag()
    {
        createDistricts();
        fillRow(3, {"BAKER", "Bob", "Nowhere", "12"});
        fillRow(4, {"COLE", "Cyd", "Nowhere", "12"});
        t->SetDistrictNotValidated(3);
        gProject->setDistValidate(true);

        for (const int current : {3, 4}) {
            gCurrentRow = current;
            int start = 1;
            QCOMPARE(t->CheckRow(3, start).col, 0);
            start = 1;
            const Transcription::RowFinding finding = t->CheckRow(4, start);
            QCOMPARE(finding.text, QStringLiteral("Missing Volume Code"));
            QCOMPARE(finding.col, 3);
        }
    }

    // "Find Next Warning" as the main window runs it: from the cell after
    // the current one, row by row ("+" and "#" rows skipped), each row from
    // column 1; every fault found becomes the current cell, and the next
    // search starts after it.
    void findNextWarningWalk()
    {
        createDistricts();
        grid->setRows(10);
        fillRow(3, {"BAKER", "Bob", "Ashford,5A", "12"});
        fillRow(4, {"BAKER", "", "Ash?,5A", "12"});
        fillRow(5, {"ABLE", "Al", "Ashford (*),5A", "12"});
        fillRow(6, {"COLE", "Cyd", "Ashford,12", ""});
        fillRow(7, {"+PAGE,13"});
        fillRow(8, {"# torn corner"});
        fillRow(9, {"DAVIS", "Dai", "Ashford,5A", "12"});

        QStringList found;
        int currentRow = 2;
        int currentCol = 0;
        for (bool searching = true; searching;) {
            searching = false;
            int row = currentRow;
            int start = currentCol + 1;
            if (start > gLastCol) {
                ++row;
                start = 1;
            }
            for (; row < grid->Rows() && !searching; ++row, start = 1) {
                const QString first = grid->TextMatrix(row, 1);
                if (first.startsWith(u'+') || first.startsWith(u'#'))
                    continue;
                while (start <= gLastCol) {
                    const Transcription::RowFinding f = t->CheckRow(row, start);
                    QString what;
                    if (f.sequence)
                        what = QStringLiteral("Out of Sequence");
                    else if (f.questionMark)
                        what = QStringLiteral("? Must be only character in field");
                    else if (!f.text.isEmpty())
                        what = f.text;
                    else if (f.col > 0)
                        what = QStringLiteral("Blank");
                    if (what.isEmpty())
                        continue;
                    currentRow = row;
                    currentCol = f.sequence ? 1 : f.col;
                    found << QStringLiteral("%1,%2 %3").arg(row).arg(currentCol).arg(what);
                    searching = true;
                    break;
                }
            }
        }
        QCOMPARE(found, QStringList({"4,2 Blank", "4,3 ? Must be only character in field",
                                     "5,1 Out of Sequence",
                                     "5,3 Error: (*) not allowed in District.",
                                     "6,3 Wrong Volume Number Format", "6,4 Blank"}));
        QCOMPARE(messages(), QStringList());
        QCOMPARE(boxes->calls, QStringList());
    }

    void beepIfEnabled()
    {
        gProject->setBeepit(false);
        BeepIfEnabled();
        QCOMPARE(input().beeps, 0);
        gProject->setBeepit(true);
        BeepIfEnabled();
        QCOMPARE(input().beeps, 1);
        ProgramObjects::releaseAll();
        BeepIfEnabled();
        QCOMPARE(input().beeps, 1);
    }

private:
    // A fresh header for a batch that has no page letter yet, saved before
    // as 1911B30012.ZEL.
    void projectWithoutPageLetter()
    {
        ProgramObjects::createProject();
        gProject->setDataPath(home());
        gProject->setSavePath(homePath("Output"));
        gProject->setEventType(1);
        gProject->setIYear(1911);
        gProject->setQtr(3);
        gProject->setPage(QStringLiteral("12"));
        gProject->setBeepit(true);
        gProject->ClearHeadLines();
        gProject->setBatchName(QStringLiteral("1911B30012.ZEL"));
    }
};

PELKAR_TEST(tst_CellValidation)
#include "tst_CellValidation.moc"
