// The per-column checks: age at death, date of birth, page, the "#"
// comment line, and the case a name is written in by its column's option.

#include "PelkarTest.h"
#include "RecordingStatusBar.h"

#include "core/Globals.h"
#include "core/Project.h"
#include "core/clsEvents.h"
#include "entry/FlexGrid.h"
#include "transcription/Transcription.h"

#include <memory>

namespace {

QString statusText(const RecordingStatusBar &status)
{
    if (status.messages.isEmpty())
        return QString();
    const RecordingStatusBar::Message &m = status.messages.last();
    if (m.error)
        return QStringLiteral("error: ") + m.text;
    if (m.warning)
        return QStringLiteral("warning: ") + m.text;
    return m.text;
}

const QString kAge = QStringLiteral("warning: Age should be numeric 0-150");
const QString kDob = QStringLiteral("warning: Invalid DoB");

} // namespace

class tst_FieldValidators : public PelkarTest
{
    Q_OBJECT

protected:
    // A death batch with dates of birth: Surname, Forenames, DoB, District,
    // Page; the age-at-death checks use the same cell.
    void setUpCase() override
    {
        ProgramObjects::createEvents();
        ProgramObjects::createProject();
        gProject->setDataPath(home());
        gProject->setEventType(2);
        gProject->setBeepit(true);
        gProject->setDistValidate(true);
        grid = std::make_unique<FlexGrid>();
        grid->setCols(6);
        grid->setRows(4);
        grid->setTextMatrix(1, 1, QStringLiteral("+PAGE,12"));
        grid->setTextMatrix(2, 1, QStringLiteral("ABBOT"));
        t = std::make_unique<Transcription>();
        t->setGrid(grid.get());
        t->setSurnameCol(1);
        t->setForenamesCol(2);
        t->setMotherCol(-1);
        t->setSpouseCol(-1);
        t->setAaDCol(-1);
        t->setDoBCol(3);
        t->setDistrictCol(4);
        t->setPageCol(5);
        gLastCol = 5;
        gCurrentRow = 2;
        status = std::make_unique<RecordingStatusBar>();
    }

    void tearDownCase() override
    {
        status.reset();
        t.reset();
        grid.reset();
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
            texts << QString::number(r.style) + u' ' + r.title + QStringLiteral(": ") + r.prompt;
        return texts;
    }

    std::unique_ptr<FlexGrid> grid;
    std::unique_ptr<Transcription> t;
    std::unique_ptr<RecordingStatusBar> status;

private slots:
    void validateAaD_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<QString>("statusAfter");
        QTest::addColumn<int>("beeps");
        QTest::addColumn<QStringList>("shown");
        const auto row = [](const char *tag, const QString &text, bool valid,
                            const QString &statusAfter, int beeps, const QStringList &shown) {
            QTest::newRow(tag) << text << valid << statusAfter << beeps << shown;
        };
        row("empty-accepted", "", true, "", 0, {});
        row("blanks-only-accepted", "   ", true, "", 0, {});
        row("lone-hyphen-accepted", "-", true, "", 0, {});
        row("zero-accepted", "0", true, "", 0, {});
        row("upper-limit-150-accepted", "150", true, "", 0, {});
        row("months-accepted", "3m", true, "", 0, {});
        row("range-accepted", "20-30", true, "", 0, {});
        row("range-of-months-accepted", "3-6m", true, "", 0, {});
        row("blanks-around-range-tidied", " 20 - 30 ", true, "", 0, {});
        row("leading-zeros-are-digits", "007", true, "", 0, {});
        row("above-150-warns-and-is-accepted", "151", true, kAge, 1, {});
        row("letters-warn-and-are-accepted", "abc", true, kAge, 1, {});
        row("capital-m-is-not-months", "3M", true, kAge, 1, {});
        row("decimal-point-is-not-a-number", "1.5", true, kAge, 1, {});
        row("sign-is-not-a-number", "+3", true, kAge, 1, {});
        row("open-range-warns", "-3", true, kAge, 1, {});
        row("range-end-above-150-warns", "20-151", true, kAge, 1, {});
        row("range-start-not-numeric-warns", "x-20", true, kAge, 1, {});
        row("very-long-number-warns", "99999999999999999999", true, kAge, 1, {});
        // Numbers past the 32-bit range are ages far beyond 150, never the
        // small or negative values they would overflow to.
        row("age-past-32-bits-warns", "3000000000", true, kAge, 1, {});
        row("age-that-would-overflow-to-50-warns", "4294967346", true, kAge, 1, {});
        row("range-end-past-32-bits-warns-not-reversed", "20-3000000000", true, kAge, 1, {});
        row("range-start-past-32-bits-warns", "3000000000-20", true, kAge, 1, {});
        row("range-end-that-would-overflow-to-50-warns", "20-4294967346", true, kAge, 1, {});
        row("months-past-32-bits-warn", "4294967299m", true, kAge, 1, {});
        row("reversed-range-warns-without-beep", "30-20", true,
            "warning: Age range is reversed - the lower age should come first", 0, {});
        row("m-not-last-refused", "3m5", false, "error: The 'm' must be the last character", 0,
            {});
        row("two-m-refused", "3mm", false, "error: The 'm' must be the last character", 0, {});
        row("wildcard-pattern-checked-only-as-pattern", "2_", true, "", 0, {});
        row("bad-wildcard-pattern-refused", "[1]0", false, "", 0,
            {"16 Pelkar: Invalid wildcard string - there must be at least 2 chars between [ "
             "and ]"});
    }

    void validateAaD()
    {
        QFETCH(QString, text);
        QFETCH(bool, valid);
        QFETCH(QString, statusAfter);
        QFETCH(int, beeps);
        QFETCH(QStringList, shown);
        grid->setTextMatrix(2, 3, text);
        answerOk(shown);
        QCOMPARE(t->ValidateAaD(3, 2), valid);
        QCOMPARE(statusText(*status), statusAfter);
        QCOMPARE(input().beeps, beeps);
        QCOMPARE(messages(), shown);
        // The check reads the cell; it never rewrites it.
        QCOMPARE(grid->TextMatrix(2, 3), text);
    }

    void validateDoB_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("statusAfter");
        QTest::addColumn<int>("beeps");
        QTest::addColumn<QStringList>("shown");
        const auto row = [](const char *tag, const QString &text, const QString &statusAfter,
                            int beeps, const QStringList &shown) {
            QTest::newRow(tag) << text << statusAfter << beeps << shown;
        };
        row("spaced-date-passes", "1 JA 1901", "", 0, {});
        row("compact-one-digit-day-passes", "1JA1901", "", 0, {});
        row("compact-two-digit-day-passes", "12JA1901", "", 0, {});
        row("lower-case-month-passes", "31 de 1901", "", 0, {});
        row("every-month-code-in-order-passes-the-last", "5 DE 1950", "", 0, {});
        row("extra-blanks-tidied", " 12  JA   1901 ", "", 0, {});
        row("year-has-no-limit", "1 JA 3", "", 0, {});
        row("empty-says-nothing", "", "", 0, {});
        row("day-32-warns", "32 JA 1901", kDob, 1, {});
        row("day-0-warns", "0 JA 1901", kDob, 1, {});
        row("three-letter-month-warns", "12 JAN 1901", kDob, 1, {});
        row("unknown-month-warns", "12 XX 1901", kDob, 1, {});
        row("month-code-of-other-pair-warns", "12 AJ 1901", kDob, 1, {});
        row("year-with-letter-warns", "12 JA 19O1", kDob, 1, {});
        row("missing-year-warns", "12 JA", kDob, 1, {});
        row("lone-digit-warns", "5", kDob, 1, {});
        row("compact-three-letter-month-warns", "12JAN1901", kDob, 1, {});
        // A day past the 32-bit range is far beyond 31, never the day it
        // would overflow to; the year keeps having no limit.
        row("day-past-32-bits-warns", "3000000000 JA 1901", kDob, 1, {});
        row("day-that-would-overflow-to-12-warns", "4294967308 JA 1901", kDob, 1, {});
        row("year-past-32-bits-passes", "12 JA 99999999999999999999", "", 0, {});
        row("wildcard-date-with-good-pattern-passes", "1_ JA 1901", "", 0, {});
        row("wildcard-date-with-bad-pattern-warns-without-beep", "1[2] JA 1901", kDob, 0,
            {"16 Pelkar: Invalid wildcard string - there must be at least 2 chars between [ "
             "and ]"});
    }

    void validateDoB()
    {
        QFETCH(QString, text);
        QFETCH(QString, statusAfter);
        QFETCH(int, beeps);
        QFETCH(QStringList, shown);
        grid->setTextMatrix(2, 3, text);
        answerOk(shown);
        t->ValidateDoB(3, 2);
        QCOMPARE(statusText(*status), statusAfter);
        QCOMPARE(input().beeps, beeps);
        QCOMPARE(messages(), shown);
    }

    void validatePage_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<QStringList>("shown");
        QTest::newRow("number-passes") << "12" << true << QStringList{};
        QTest::newRow("number-and-suffix-passes") << "12a" << true << QStringList{};
        QTest::newRow("anything-but-a-pattern-passes") << "twelve" << true << QStringList{};
        QTest::newRow("good-pattern-passes") << " 1_ " << true << QStringList{};
        QTest::newRow("list-of-digits-passes") << "[12]3" << true << QStringList{};
        QTest::newRow("bad-pattern-refused")
                << "1{2}" << false
                << QStringList{"16 Pelkar: Invalid wildcard string - there must be at least 2 "
                               "chars between { and }"};
    }

    void validatePage()
    {
        QFETCH(QString, text);
        QFETCH(bool, valid);
        QFETCH(QStringList, shown);
        grid->setTextMatrix(2, 5, text);
        answerOk(shown);
        QCOMPARE(t->ValidatePage(5, 2), valid);
        QCOMPARE(messages(), shown);
        QVERIFY(status->messages.isEmpty());
    }

    void validateComment_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<bool>("valid");
        QTest::newRow("not-a-comment-line") << "SMITH" << true;
        QTest::newRow("comment-bracket-with-text") << "#COMMENT(torn page)" << true;
        QTest::newRow("comment-blank-with-text") << "#COMMENT torn page" << true;
        QTest::newRow("comment-in-lower-case") << "#comment torn page" << true;
        QTest::newRow("theory-blank-with-text") << "#THEORY Smith is Smyth" << true;
        QTest::newRow("theory-bracket-with-text") << "#THEORY(Smyth" << true;
        QTest::newRow("theory-reference-slash-after-m") << "#THEORY,REF,M/1234" << true;
        QTest::newRow("theory-reference-with-blanks") << "#THEORY, REF, 12 J/5" << true;
        QTest::newRow("theory-reference-slash-after-d") << "#theory,ref,D/9" << true;
        QTest::newRow("free-comment") << "# torn corner" << true;
        QTest::newRow("free-comment-of-one-character") << "# x" << true;
        QTest::newRow("comment-keyword-alone") << "#COMMENT" << false;
        QTest::newRow("comment-bracket-alone") << "#COMMENT(" << false;
        QTest::newRow("comment-joined-to-word") << "#COMMENTS here" << false;
        QTest::newRow("theory-joined-to-letter") << "#THEORYX" << false;
        QTest::newRow("theory-reference-slash-after-other-letter")
                << "#THEORY,REF,X/1234" << false;
        QTest::newRow("theory-reference-without-slash") << "#THEORY,REF,M1234" << false;
        QTest::newRow("hash-joined-to-word") << "#torn" << false;
        QTest::newRow("hash-and-blank-only") << "# " << false;
        QTest::newRow("lone-hash") << "#" << false;
    }

    void validateComment()
    {
        QFETCH(QString, line);
        QFETCH(bool, valid);
        grid->setTextMatrix(3, 1, line);
        QCOMPARE(t->ValidateComment(3), valid);
        QVERIFY(status->messages.isEmpty());
    }

    // Each column follows its own case option.
    void convertName_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("column");
        QTest::addColumn<QString>("option");
        QTest::addColumn<QString>("expected");
        const auto row = [](const char *tag, const QString &text, const char *column,
                            const char *option, const QString &expected) {
            QTest::newRow(tag) << text << QString::fromLatin1(column) << QString::fromLatin1(option)
                               << expected;
        };
        row("name-case-after-apostrophe-and-hyphen", "o'brien-smith", "surname", "D",
            "O'Brien-Smith");
        row("name-case-knows-no-prefixes", "mcdonald", "surname", "D", "Mcdonald");
        row("name-case-lowers-the-rest", "SMITH JONES", "surname", "D", "Smith Jones");
        row("name-case-after-comma", "smith,jones", "surname", "D", "Smith,Jones");
        row("separator-at-end-has-no-follower", "smith-", "surname", "D", "Smith-");
        row("surname-upper-option", "smith", "surname", "U", "SMITH");
        row("surname-lower-option", "SMITH", "surname", "L", "smith");
        row("forenames-upper-option", "mary ann", "forenames", "U", "MARY ANN");
        row("forenames-name-case", "mary-ann", "forenames", "D", "Mary-Ann");
        row("mother-lower-option", "Jones", "mother", "L", "jones");
        row("spouse-upper-option", "jones", "spouse", "U", "JONES");
        row("date-of-birth-upper-option", "12 ja 1901", "dob", "U", "12 JA 1901");
        row("date-of-birth-lower-option", "12 JA 1901", "dob", "L", "12 ja 1901");
        row("date-of-birth-name-case", "12 ja 1901", "dob", "D", "12 Ja 1901");
        row("district-name-case-after-period", "st. helens", "district", "D", "St. Helens");
        row("district-upper-option", "st. helens", "district", "U", "ST. HELENS");
        row("district-lower-option", "St. Helens", "district", "L", "st. helens");
        row("page-column-always-name-case", "abc", "page", "U", "Abc");
        row("accented-letters-keep-length", QString::fromUtf8("élodie straße"), "surname", "D",
            QString::fromUtf8("Élodie Straße"));
        row("comment-line-unchanged", "# torn page", "surname", "U", "# torn page");
        row("plus-line-unchanged", "+page,12", "surname", "U", "+page,12");
        row("empty-stays-empty", "", "surname", "U", "");
    }

    void convertName()
    {
        QFETCH(QString, text);
        QFETCH(QString, column);
        QFETCH(QString, option);
        QFETCH(QString, expected);
        // A births batch with the spouse column stands in for the columns
        // a death batch lacks.
        int col = 0;
        if (column == QLatin1String("surname")) {
            col = 1;
            gProject->setSurnameCase(option);
        } else if (column == QLatin1String("forenames")) {
            col = 2;
            gProject->setForenameCase(option);
        } else if (column == QLatin1String("mother")) {
            t->setDoBCol(-1);
            t->setMotherCol(3);
            col = 3;
            gProject->setMotherNameCase(option);
        } else if (column == QLatin1String("spouse")) {
            t->setDoBCol(-1);
            t->setSpouseCol(3);
            col = 3;
            gProject->setSpouseNameCase(option);
        } else if (column == QLatin1String("dob")) {
            col = 3;
            gProject->setDoBUpper(option == QLatin1String("U"));
            gProject->setDoBLower(option == QLatin1String("L"));
        } else if (column == QLatin1String("district")) {
            col = 4;
            gProject->setDistrictUpper(option == QLatin1String("U"));
            gProject->setDistrictLower(option == QLatin1String("L"));
        } else {
            col = 5;
            gProject->setSurnameCase(option);
            gProject->setDistrictUpper(true);
        }
        QCOMPARE(t->ConvertName(text, col), expected);
    }
};

PELKAR_TEST(tst_FieldValidators)
#include "tst_FieldValidators.moc"
