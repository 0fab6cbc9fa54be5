// The wildcard helpers: where a text's first wildcard stands, counting
// occurrences, and the list matcher in both hyphen readings.

#include "PelkarTest.h"

#include "core/PatternHelpers.h"

class tst_PatternHelpers : public PelkarTest
{
    Q_OBJECT

private slots:
    void wildPosition_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("position");
        const auto row = [](const char *tag, const QString &text, int position) {
            QTest::newRow(tag) << text << position;
        };
        row("empty", "", 0);
        row("none", "SMITH-JONES, O'BRIEN #1", 0);
        row("star", "SM*TH", 3);
        row("question-mark-first", "?", 1);
        row("underscore", "J_HN", 2);
        row("square-bracket", "SM[IY]TH", 3);
        row("closing-square-bracket-alone", "SMI]TH", 4);
        row("brace", "JO{1,2}N", 3);
        row("closing-brace-alone", "JON}", 4);
        row("first-of-several", "AB_C*D", 3);
    }

    void wildPosition()
    {
        QFETCH(QString, text);
        QFETCH(int, position);
        QCOMPARE(WildPosition(text), position);
    }

    void countOccurance_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("find");
        QTest::addColumn<int>("count");
        const auto row = [](const char *tag, const QString &text, const QString &find, int count) {
            QTest::newRow(tag) << text << find << count;
        };
        row("overlapping-doubled-letter", "lll", "ll", 2);
        row("separate", "[A][B]", "[", 2);
        row("case-counts", "Aaa", "a", 2);
        row("absent", "SMITH", "]", 0);
        row("empty-text", "", "a", 0);
        row("empty-find", "abc", "", 0);
    }

    void countOccurance()
    {
        QFETCH(QString, text);
        QFETCH(QString, find);
        QFETCH(int, count);
        QCOMPARE(CountOccurance(text, find), count);
    }

    // The same pattern and text in both readings of "-": "range" for the
    // forename list, "plain" for the district list (where "-" and "%" are
    // one character).
    void textLike_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<bool>("range");
        QTest::addColumn<bool>("plain");
        const auto row = [](const char *tag, const QString &text, const QString &pattern,
                            bool range, bool plain) {
            QTest::newRow(tag) << text << pattern << range << plain;
        };
        row("exact-any-case", "Ashford", "ASHFORD", true, true);
        row("whole-text-must-be-consumed", "Ashford", "ASH", false, false);
        row("star-at-end", "Ashford", "ASH*", true, true);
        row("star-matches-nothing", "Ash", "ASH*", true, true);
        row("star-in-middle-backtracks", "Abbotsbury", "A*B*Y", true, true);
        row("stars-in-a-row", "Abc", "A**C", true, true);
        row("question-one-character", "Acle", "A?LE", true, true);
        row("question-not-none", "Ale", "A?LE", false, false);
        row("hash-one-digit", "5A", "#A", true, true);
        row("hash-not-a-letter", "XA", "#A", false, false);
        row("list", "Smyth", "SM[IY]TH", true, true);
        row("list-not-matching", "Smeth", "SM[IY]TH", false, false);
        row("negated-list", "Smeth", "SM[!IY]TH", true, true);
        row("negated-list-refuses", "Smith", "SM[!IY]TH", false, false);
        row("list-any-case", "smyth", "SM[iy]TH", true, true);
        row("range-in-list", "Smkth", "SM[A-Z]TH", true, false);
        row("hyphen-in-list-plain", "Sm-th", "SM[A-Z]TH", false, true);
        row("hyphen-at-end-of-list", "Sm-th", "SM[IY-]TH", true, true);
        row("hyphen-outside-list", "Ashby-de-la-Zouch", "ASHBY-D*", true, true);
        row("hyphen-and-percent-one-character-plain", "Ashby%de", "ASHBY-DE", false, true);
        row("reversed-range-unreadable", "Smith", "SM[Z-A]TH", false, false);
        row("reversed-range-plain-is-a-list", "Sm%th", "SM[Z-A]TH", false, true);
        row("unclosed-list-unreadable", "A]B[C", "A]B[*", false, false);
        row("closing-bracket-outside-list-is-itself", "A]B", "A]B", true, true);
        row("empty-list-stands-for-nothing", "Ash", "[]*", true, true);
        row("opening-bracket-inside-list", "A[", "A[[]", true, true);
        row("accented-any-case", QString::fromUtf8("\u00e9cole"), QString::fromUtf8("\u00c9COLE"),
            true, true);
        row("empty-text-star", "", "*", true, true);
        row("empty-text-letter", "", "A*", false, false);
        // A literal after a star is looked for further on as often as needed.
        row("star-literal-found-at-last-try", "Abracadabra", "*ABRA", true, true);
        row("star-literal-overlapping-tries", "Aaab", "*AAB", true, true);
        row("star-literal-any-case", "ashford", "*FORD*", true, true);
        row("star-literal-absent", "Ashford", "*X*", false, false);
        row("star-literal-then-rest-fails", "Abcb", "A*B*C", false, false);
        row("star-literal-accented", QString::fromUtf8("Ch\u00e2teau"),
            QString::fromUtf8("*\u00c2T*"), true, true);
        row("star-hyphen-and-percent-plain", "Ashby%de", "*-DE", false, true);
    }

    void textLike()
    {
        QFETCH(QString, text);
        QFETCH(QString, pattern);
        QFETCH(bool, range);
        QFETCH(bool, plain);
        QCOMPARE(TextLike(text, pattern, LikeHyphen::Range), range);
        QCOMPARE(TextLike(text, pattern, LikeHyphen::Plain), plain);
    }

    // The quick test before matching never rules out a text that matches,
    // in either reading of "-".
    void mayMatchKeepsEveryMatch()
    {
        const QStringList patterns = {
                "*",        "A*",       "*ARD*",     "*A?D*",   "*#*",      "[JM]AR*",
                "*[XQ]*",   "*[A-C]?*", "*[!A]*",    "*-ANN*",  "MARY-*",   "*[0-9]*",
                "*[+-/]*",  "*\u00c9L*", "??????*", "*AA*",    "A*B*Y",    "*[]*",
                "*[-]*",    "*%*",      "*'*",       "SM[IY]TH", "*ELE*",   "*[Z-A]*"};
        const QStringList texts = {
                "",         "Ann",      "Mary-Ann",  "Richard", "Bernardx", "ANNA",
                "Joan5",    "Xq",       "O'Brien",   "Ashby%de", "abbotsbury", "Smyth",
                "\u00c9lise", "aaa",     "Cardwell",  "Rose+", "Mary/Ann", "Ellen"};
        for (const LikeHyphen hyphen : {LikeHyphen::Range, LikeHyphen::Plain}) {
            for (const QString &p : patterns) {
                const LikePattern pattern(p, hyphen);
                for (const QString &text : texts) {
                    if (pattern.matches(text)) {
                        QVERIFY2(pattern.mayMatch(LikePattern::traitsOf(text)),
                                 qPrintable(p + u' ' + text));
                    }
                }
            }
        }
    }

    // What the quick test rules out: a text without one of the pattern's
    // letters, neighbouring letters, a digit, a character of a list, or
    // too short; and any text for a pattern that cannot be read.
    void mayMatchRulesOut_data()
    {
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("may");
        const auto row = [](const char *tag, const QString &pattern, const QString &text,
                            bool may) { QTest::newRow(tag) << pattern << text << may; };
        row("letter-missing", "*ARDX*", "Richard", false);
        row("letters-present-any-case", "*ARDX*", "bernardx", true);
        row("letters-apart", "*ARD*", "Adrian", false);
        row("letters-side-by-side", "*ARD*", "Adrian-Ward", true);
        row("letters-apart-across-question", "*A?D*", "Adrian", true);
        row("digit-missing", "*#*", "Ann", false);
        row("digit-present", "*#*", "Ann2", true);
        row("list-character-missing", "*[XQ]*", "Ann", false);
        row("list-character-present", "*[XQ]*", "Quinn", true);
        row("list-range", "*[A-C]*", "Ethel", false);
        row("list-digit-range", "*[0-3]*", "Ann9", true);
        row("list-other-character", "*[+-/]*", "Ann", false);
        row("negated-list-asks-nothing", "*[!A]*", "Ethel", true);
        row("too-short", "??????*", "Ann", false);
        row("long-enough", "??????*", "Joanna", true);
        row("accented-missing", "*\u00c9*", "Elise", false);
        row("accented-present", "*\u00c9*", "\u00e9lise", true);
        row("unreadable-pattern", "A[B", "A[B", false);
    }

    void mayMatchRulesOut()
    {
        QFETCH(QString, pattern);
        QFETCH(QString, text);
        QFETCH(bool, may);
        QCOMPARE(LikePattern(pattern).mayMatch(LikePattern::traitsOf(text)), may);
    }

    // A pattern read once serves any number of texts.
    void patternReadOnce()
    {
        const LikePattern pattern(QStringLiteral("A?[BC]*"));
        QVERIFY(pattern.isValid());
        QVERIFY(pattern.matches(u"AxB"));
        QVERIFY(pattern.matches(u"AxCdef"));
        QVERIFY(!pattern.matches(u"Axd"));
        QVERIFY(!LikePattern(QStringLiteral("A[B")).isValid());
    }
};

PELKAR_TEST(tst_PatternHelpers)
#include "tst_PatternHelpers.moc"
