#include "PelkarTest.h"

#include "core/Cp1252.h"
#include "core/LineReader.h"

#include <QFile>

namespace {
// A literal with characters beyond ASCII, spelled by code point.
inline QString u16(const char16_t *text)
{
    return QString::fromUtf16(text);
}
} // namespace

class Cp1252Test : public PelkarTest
{
    Q_OBJECT

private slots:
    void everyByteRoundTrips()
    {
        QByteArray all;
        for (int b = 0; b < 256; ++b)
            all.append(char(b));
        const QString text = Cp1252::decode(all);
        QCOMPARE(text.size(), 256);
        bool ok = false;
        QCOMPARE(Cp1252::encode(text, &ok), all);
        QVERIFY(ok);
        int pos = 99;
        QVERIFY(Cp1252::canEncode(text, &pos));
        QCOMPARE(pos, -1);
        // One byte, one character: no two bytes share a character.
        QSet<QChar> distinct(text.cbegin(), text.cend());
        QCOMPARE(distinct.size(), 256);
    }

    void namedCharacters_data()
    {
        QTest::addColumn<int>("byte");
        QTest::addColumn<int>("unicode");

        QTest::newRow("euro") << 0x80 << 0x20AC;
        QTest::newRow("single-low-quote") << 0x82 << 0x201A;
        QTest::newRow("ellipsis") << 0x85 << 0x2026;
        QTest::newRow("s-caron") << 0x8A << 0x0160;
        QTest::newRow("right-single-quote") << 0x92 << 0x2019;
        QTest::newRow("en-dash") << 0x96 << 0x2013;
        QTest::newRow("trade-mark") << 0x99 << 0x2122;
        QTest::newRow("y-diaeresis-capital") << 0x9F << 0x0178;
        QTest::newRow("unassigned-81") << 0x81 << 0x0081;
        QTest::newRow("unassigned-8d") << 0x8D << 0x008D;
        QTest::newRow("unassigned-8f") << 0x8F << 0x008F;
        QTest::newRow("unassigned-90") << 0x90 << 0x0090;
        QTest::newRow("unassigned-9d") << 0x9D << 0x009D;
        QTest::newRow("no-break-space") << 0xA0 << 0x00A0;
        QTest::newRow("e-acute") << 0xE9 << 0x00E9;
        QTest::newRow("y-diaeresis") << 0xFF << 0x00FF;
        QTest::newRow("nul") << 0x00 << 0x0000;
        QTest::newRow("backspace") << 0x08 << 0x0008;
    }

    void namedCharacters()
    {
        QFETCH(int, byte);
        QFETCH(int, unicode);
        const QByteArray bytes(1, char(byte));
        QCOMPARE(Cp1252::decode(bytes), QString(QChar(char16_t(unicode))));
        QCOMPARE(Cp1252::encode(QString(QChar(char16_t(unicode)))), bytes);
        QVERIFY(Cp1252::canEncode(QChar(char16_t(unicode))));
    }

    void refused_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("position");
        QTest::addColumn<QByteArray>("encoded");

        QTest::newRow("a-macron") << u16(u"ab\u0101c") << 2 << QByteArray("ab?c");
        QTest::newRow("emoji-surrogate-pair")
            << QString::fromUcs4(U"x\U0001F600") << 1 << QByteArray("x??");
        // Byte 0x80 is the euro sign, so U+0080 has no byte of its own.
        QTest::newRow("c1-control-whose-byte-is-taken") << u16(u"\u0080") << 0
                                                         << QByteArray("?");
        QTest::newRow("first-of-several") << u16(u"\u20AC\u0394\u03A9") << 1
                                          << QByteArray("\x80??");
    }

    void refused()
    {
        QFETCH(QString, text);
        QFETCH(int, position);
        QFETCH(QByteArray, encoded);
        int pos = -1;
        QVERIFY(!Cp1252::canEncode(text, &pos));
        QCOMPARE(pos, position);
        QVERIFY(!Cp1252::canEncode(text[position]));
        bool ok = true;
        QCOMPARE(Cp1252::encode(text, &ok), encoded);
        QVERIFY(!ok);
    }
};

class LineReaderTest : public PelkarTest
{
    Q_OBJECT

private slots:
    void endings_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("lines");

        QTest::newRow("crlf") << QByteArray("a\r\nb\r\n") << QStringList{"a", "b"};
        QTest::newRow("lf") << QByteArray("a\nb\n") << QStringList{"a", "b"};
        QTest::newRow("lone-cr") << QByteArray("a\rb\r") << QStringList{"a", "b"};
        QTest::newRow("mixed") << QByteArray("a\r\nb\nc\rd") << QStringList{"a", "b", "c", "d"};
        QTest::newRow("cr-then-crlf-is-two-endings") << QByteArray("a\r\r\nb")
                                                     << QStringList{"a", "", "b"};
        QTest::newRow("lf-then-cr-is-two-endings") << QByteArray("a\n\rb")
                                                   << QStringList{"a", "", "b"};
        QTest::newRow("final-line-without-ending-counts") << QByteArray("a\r\nb")
                                                          << QStringList{"a", "b"};
        QTest::newRow("trailing-ending-gives-no-empty-last-line") << QByteArray("a\r\n")
                                                                  << QStringList{"a"};
        QTest::newRow("blank-lines-kept") << QByteArray("\r\n\r\nx\r\n")
                                          << QStringList{"", "", "x"};
        QTest::newRow("empty-file-gives-no-lines") << QByteArray() << QStringList{};
        QTest::newRow("windows-1252-decoded")
            << QByteArray("\x80\x92\xE9\r\n") << QStringList{u16(u"\u20AC\u2019\u00E9")};
        QTest::newRow("nul-and-backspace-kept")
            << QByteArray("a\x08\0b\n", 5) << QStringList{u16(u"a\u0008") + QChar(0) + "b"};
    }

    void endings()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, lines);

        LineReader reader(bytes);
        QStringList read;
        while (!reader.atEnd())
            read.append(reader.readLine());
        QCOMPARE(read, lines);

        const QString path = homePath("lines.txt");
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        file.close();
        const auto fromFile = ReadTextLines(path);
        QVERIFY(fromFile.has_value());
        QCOMPARE(*fromFile, lines);
    }

    void unreadableFileGivesNothing()
    {
        QVERIFY(!ReadTextLines(homePath("missing.txt")).has_value());
        // A folder cannot be read as a file either.
        QVERIFY(!ReadTextLines(home()).has_value());
    }

    void joinCrLf()
    {
        const QStringList lines{"+INFO,abc", u16(u"\u20AC\u00E9"), ""};
        const QByteArray bytes = JoinCrLf(lines);
        QCOMPARE(bytes, QByteArray("+INFO,abc\r\n\x80\xE9\r\n\r\n"));
        QCOMPARE(JoinCrLf({}), QByteArray());

        // What is written reads back line for line, a last empty line included.
        LineReader reader(bytes);
        QStringList read;
        while (!reader.atEnd())
            read.append(reader.readLine());
        QCOMPARE(read, lines);
    }
};

PELKAR_TEST(Cp1252Test)
PELKAR_TEST(LineReaderTest)

#include "tst_Cp1252.moc"
