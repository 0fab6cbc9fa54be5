#include "PelkarTest.h"

#include "core/TextHelpers.h"
#include "core/VbHelpers.h"

namespace {
// A literal with characters beyond ASCII, spelled by code point.
inline QString u16(const char16_t *text)
{
    return QString::fromUtf16(text);
}

const QString kBackspace = QString(QChar(8));
} // namespace

class TextHelpersTest : public PelkarTest
{
    Q_OBJECT

private slots:
    void splitQuoted_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QChar>("sep");
        QTest::addColumn<QStringList>("fields");

        QTest::newRow("quoted-comma-stays-in-field")
            << "a,\"b,c\",d" << QChar(u',') << QStringList{"a", "b,c", "d"};
        QTest::newRow("no-quote-splits-at-every-separator")
            << "a,,b" << QChar(u',') << QStringList{"a", "", "b"};
        QTest::newRow("trailing-separator-gives-empty-last-field")
            << "a,b," << QChar(u',') << QStringList{"a", "b", ""};
        QTest::newRow("separator-alone-gives-two-empty-fields")
            << "," << QChar(u',') << QStringList{"", ""};
        QTest::newRow("empty-text-gives-no-fields") << "" << QChar(u',') << QStringList{};
        QTest::newRow("text-without-separator-is-one-field")
            << "Aberystwyth" << QChar(u',') << QStringList{"Aberystwyth"};
        QTest::newRow("char8-stays-inside-field-without-quotes")
            << "a" + kBackspace + "b,c" << QChar(u',') << QStringList{"a" + kBackspace + "b", "c"};
        QTest::newRow("char8-stays-inside-field-with-quotes")
            << "\"x,y\",a" + kBackspace + "b" << QChar(u',')
            << QStringList{"x,y", "a" + kBackspace + "b"};
        QTest::newRow("pipe-separator-with-quoted-pipe")
            << "Aberystwyth|11b|\"x|y\"|z" << QChar(u'|')
            << QStringList{"Aberystwyth", "11b", "x|y", "z"};
        QTest::newRow("comma-does-not-split-with-pipe-separator")
            << "Smith, John|\"a|b\"" << QChar(u'|') << QStringList{"Smith, John", "a|b"};
        QTest::newRow("doubled-quotes-around-field-both-pairs-lost")
            << "\"\"a b\"\",c" << QChar(u',') << QStringList{"a b", "c"};
        QTest::newRow("quote-started-not-ended-field-trimmed-quote-kept")
            << " \"x\"y ,z" << QChar(u',') << QStringList{"\"x\"y", "z"};
        QTest::newRow("blanks-outside-quotes-dropped-unquoted-blanks-kept")
            << " \"a\" , b " << QChar(u',') << QStringList{"a", " b "};
        QTest::newRow("unclosed-quote-keeps-rest-in-one-field")
            << "a,\"b,c" << QChar(u',') << QStringList{"a", "\"b,c"};
        QTest::newRow("empty-quoted-field")
            << "a,\"\",b" << QChar(u',') << QStringList{"a", "", "b"};
    }

    void splitQuoted()
    {
        QFETCH(QString, text);
        QFETCH(QChar, sep);
        QFETCH(QStringList, fields);
        QCOMPARE(SplitQuoted(text, sep), fields);
    }

    void stripQuotes_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("stripped");

        QTest::newRow("unquoted-word-keeps-its-blanks") << "  abc  " << "  abc  ";
        QTest::newRow("quoted-word-loses-blanks-outside-quotes") << "  \"abc\"  " << "abc";
        QTest::newRow("two-quotes-alone-give-empty-text") << "\"\"" << "";
        QTest::newRow("blanks-inside-quotes-stay") << "\" abc \"" << " abc ";
        QTest::newRow("two-pairs-both-lost") << "\"\"abc\"\"" << "abc";
        QTest::newRow("pairs-separated-by-blanks-both-lost") << "\" \"abc\" \"" << "abc";
        QTest::newRow("starts-with-quote-only-comes-back-trimmed") << "  \"x\"y  " << "\"x\"y";
        QTest::newRow("ends-with-quote-only-unchanged") << " ab\" " << " ab\" ";
        QTest::newRow("lone-quote-unchanged") << "\"" << "\"";
        QTest::newRow("lone-quote-with-blanks-unchanged") << "  \"  " << "  \"  ";
        QTest::newRow("three-quotes-leave-lone-quote") << "\"\"\"" << "\"";
        QTest::newRow("tab-is-not-a-blank") << "\t\"a\"\t" << "\t\"a\"\t";
        QTest::newRow("empty-field") << "" << "";
    }

    void stripQuotes()
    {
        QFETCH(QString, field);
        QFETCH(QString, stripped);
        QCOMPARE(StripQuotes(field), stripped);
    }

    void splitCsvFields_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("second");
        QTest::addColumn<QString>("third");

        QTest::newRow("tag-only-gives-three-empty") << "+CREDIT" << "" << "" << "";
        QTest::newRow("quoted-commas-stay-in-fields")
            << "+CREDIT,\"Smith, John\",john@x.example,\"Type, A\"" << "Smith, John"
            << "john@x.example" << "Type, A";
        QTest::newRow("plain-fields-trimmed")
            << "+CREDIT, Anne Smith , anne@x.example ,T1" << "Anne Smith" << "anne@x.example"
            << "T1";
        QTest::newRow("missing-third-field") << "+CREDIT,Anne,anne@x.example" << "Anne"
                                             << "anne@x.example" << "";
        QTest::newRow("empty-fields") << "+CREDIT,,," << "" << "" << "";
        QTest::newRow("fields-after-fourth-ignored") << "+CREDIT,a,b,c,d" << "a" << "b" << "c";
    }

    void splitCsvFields()
    {
        QFETCH(QString, line);
        QString first = "stale";
        QString second = "stale";
        QString third = "stale";
        SplitCsvFields(line, first, second, third);
        QTEST(first, "first");
        QTEST(second, "second");
        QTEST(third, "third");
    }

    void joinUpTo_data()
    {
        QTest::addColumn<QStringList>("parts");
        QTest::addColumn<int>("last");
        QTest::addColumn<QString>("joined");

        const QStringList parts{"home", "anne", "Pelkar"};
        QTest::newRow("first-two") << parts << 1 << "home/anne";
        QTest::newRow("first-only") << parts << 0 << "home";
        QTest::newRow("up-to-last-element") << parts << 2 << "home/anne/Pelkar";
        QTest::newRow("beyond-end-joins-all") << parts << 7 << "home/anne/Pelkar";
        QTest::newRow("negative-gives-empty") << parts << -1 << "";
        QTest::newRow("empty-list") << QStringList{} << 0 << "";
    }

    void joinUpTo()
    {
        QFETCH(QStringList, parts);
        QFETCH(int, last);
        QTEST(JoinUpTo(parts, last, "/"), "joined");
    }
};

class VbHelpersTest : public PelkarTest
{
    Q_OBJECT

private slots:
    void vbRound_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<qlonglong>("rounded");

        QTest::newRow("half-to-even-zero") << 0.5 << 0LL;
        QTest::newRow("one-and-half-to-two") << 1.5 << 2LL;
        QTest::newRow("two-and-half-to-two") << 2.5 << 2LL;
        QTest::newRow("three-and-half-to-four") << 3.5 << 4LL;
        QTest::newRow("minus-half-to-zero") << -0.5 << 0LL;
        QTest::newRow("minus-two-and-half-to-minus-two") << -2.5 << -2LL;
        QTest::newRow("minus-one-and-half-to-minus-two") << -1.5 << -2LL;
        QTest::newRow("just-above-half-rounds-up") << 2.5000001 << 3LL;
        QTest::newRow("just-below-half-rounds-down") << 2.4999999 << 2LL;
        QTest::newRow("large-half-to-even") << 4503599627370495.5 << 4503599627370496LL;
    }

    void vbRound()
    {
        QFETCH(double, value);
        QFETCH(qlonglong, rounded);
        QCOMPARE(VbRound(value), rounded);
    }

    void vbTrim_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("both");
        QTest::addColumn<QString>("left");
        QTest::addColumn<QString>("right");

        QTest::newRow("spaces-trimmed") << "  a b  " << "a b" << "a b  " << "  a b";
        QTest::newRow("tabs-stay") << " \ta\t " << "\ta\t" << "\ta\t " << " \ta\t";
        QTest::newRow("no-break-space-stays") << u16(u"\u00A0a\u00A0") << u16(u"\u00A0a\u00A0")
                                              << u16(u"\u00A0a\u00A0") << u16(u"\u00A0a\u00A0");
        QTest::newRow("all-spaces-give-empty") << "   " << "" << "" << "";
        QTest::newRow("empty") << "" << "" << "" << "";
    }

    void vbTrim()
    {
        QFETCH(QString, text);
        QTEST(VbTrim(text), "both");
        QTEST(VbLTrim(text), "left");
        QTEST(VbRTrim(text), "right");
    }

    void vbCase_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("upper");
        QTest::addColumn<QString>("lower");

        QTest::newRow("ascii") << "Aber Ystwyth 11b" << "ABER YSTWYTH 11B" << "aber ystwyth 11b";
        QTest::newRow("sharp-s-keeps-length") << u16(u"straße") << u16(u"STRAßE")
                                              << u16(u"straße");
        QTest::newRow("accented-letters") << u16(u"Éléonore") << u16(u"ÉLÉONORE")
                                          << u16(u"éléonore");
        QTest::newRow("ligature-keeps-length") << u16(u"\uFB01n") << u16(u"\uFB01N")
                                               << u16(u"\uFB01n");
        QTest::newRow("dotted-capital-i-keeps-length") << u16(u"\u0130") << u16(u"\u0130")
                                                       << u16(u"\u0130");
        QTest::newRow("apostrophe-n-keeps-length") << u16(u"\u0149") << u16(u"\u0149")
                                                   << u16(u"\u0149");
        QTest::newRow("letter-outside-first-plane")
            << QString::fromUcs4(U"\U00010428x") << QString::fromUcs4(U"\U00010400X")
            << QString::fromUcs4(U"\U00010428x");
    }

    void vbCase()
    {
        QFETCH(QString, text);
        QFETCH(QString, upper);
        QFETCH(QString, lower);
        QCOMPARE(VbUCase(text), upper);
        QCOMPARE(VbLCase(text), lower);
        QCOMPARE(VbUCase(text).size(), text.size());
        QCOMPARE(VbLCase(text).size(), text.size());
    }

    void colours_data()
    {
        QTest::addColumn<uint>("vb");
        QTest::addColumn<QColor>("colour");

        QTest::newRow("red-is-low-byte") << 0x0000FFu << QColor(255, 0, 0);
        QTest::newRow("blue-is-third-byte") << 0xFF0000u << QColor(0, 0, 255);
        QTest::newRow("mixed") << 0x563412u << QColor(0x12, 0x34, 0x56);
        QTest::newRow("grey-ghost-text") << 0x808080u << QColor(128, 128, 128);
    }

    void colours()
    {
        QFETCH(uint, vb);
        QFETCH(QColor, colour);
        QCOMPARE(ColorFromVb(vb), colour);
        QCOMPARE(ColorToVb(colour), std::uint32_t(vb));
    }

    void twips_data()
    {
        QTest::addColumn<double>("twips");
        QTest::addColumn<int>("pixels");

        QTest::newRow("one-inch") << 1440.0 << 96;
        QTest::newRow("one-and-half-pixels-to-two") << 22.5 << 2;
        QTest::newRow("two-and-half-pixels-to-two") << 37.5 << 2;
        QTest::newRow("zero") << 0.0 << 0;
    }

    void twips()
    {
        QFETCH(double, twips);
        QFETCH(int, pixels);
        QCOMPARE(TwipsToPixelsX(twips), pixels);
        QCOMPARE(TwipsToPixelsY(twips), pixels);
    }

    void pixelsToTwipsRoundsHalvesToEven()
    {
        QCOMPARE(PixelsToTwipsX(7.5), 112);   // 112.5
        QCOMPARE(PixelsToTwipsY(2.5), 38);    // 37.5
        QCOMPARE(PixelsToTwipsX(96), 1440);
    }
};

PELKAR_TEST(TextHelpersTest)
PELKAR_TEST(VbHelpersTest)

#include "tst_TextHelpers.moc"
