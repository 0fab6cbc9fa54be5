// District texts: where a cell divides into name and volume, the volume
// formats, every verdict and message of ValidateDistrict in both modes, the
// volume-number conversions, the look-up, the pick-list filling and the
// recent-district lists.

#include "PelkarTest.h"
#include "RecordingPickList.h"
#include "TestFiles.h"

#include "core/Globals.h"
#include "core/Project.h"
#include "lists/Districts.h"

#include <QDir>

#include <memory>

using namespace TestFiles;

namespace {
QString recordText(const MessageRecord &r)
{
    return r.kind + u' ' + QString::number(r.style) + u' ' + r.title + QStringLiteral(": ")
            + r.prompt;
}
} // namespace

class tst_DistrictValidation : public PelkarTest
{
    Q_OBJECT

protected:
    void setUpCase() override
    {
        ProgramObjects::createEvents();
        ProgramObjects::createProject();
        gProject->setDataPath(homePath("data"));
        gProject->setFilesPath(homePath("data/Files"));
        QVERIFY(QDir().mkpath(homePath("data/Files")));
        gProject->setIYear(1911);
        gProject->setQtr(3);
        gProject->setIVnf(1);
        gProject->setDistPickStd(true);
    }

private:
    // The table of the listing fixture, read for a "9z" batch of 1911.
    std::unique_ptr<Districts> listingTable()
    {
        for (const char *name : {"Pelkar_Districts.txt", "Pelkar_Supp_Districts.txt"}) {
            const QString file = QString::fromLatin1(name);
            if (!writeBytes(homePath("data/Files/" + file),
                            readBytes(fixture("districts-listing/" + file))))
                return nullptr;
        }
        auto d = std::make_unique<Districts>();
        if (!d->Read_Districts())
            return nullptr;
        return d;
    }

private slots:
    // Where a cell divides: the last comma outside bracket groups.
    void splitDistrict_data()
    {
        QTest::addColumn<QString>("cell");
        QTest::addColumn<int>("separator");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("volume");
        QTest::addColumn<int>("format");
        const auto row = [](const char *tag, const QString &cell, int separator,
                            const QString &name, const QString &volume, int format) {
            QTest::newRow(tag) << cell << separator << name << volume << format;
        };
        row("name-and-volume", "Ashford,5A", 8, "Ashford", "5A", 1);
        row("comma-inside-square-brackets", "Ashford,[5,6]A", 8, "Ashford", "[5,6]A", -1);
        row("comma-inside-braces-only", "Ash{1,2}ford", 0, "Ash{1,2}ford", "", 0);
        row("no-comma", "Ashford", 0, "Ashford", "", 0);
        row("comma-in-name", "Newport, Mon,26", 13, "Newport, Mon", "26", 2);
        row("nothing-trimmed", " Ashford , xiv", 10, " Ashford ", " xiv", 1);
        row("closing-bracket-without-opening", "Ash,ford]", 0, "Ash,ford]", "", 0);
        row("ends-with-comma", "Ashford,", 8, "Ashford", "", 0);
        row("only-a-volume", ",12", 1, "", "12", 2);
    }

    void splitDistrict()
    {
        QFETCH(QString, cell);
        QFETCH(int, separator);
        QFETCH(QString, name);
        QFETCH(QString, volume);
        QFETCH(int, format);
        QCOMPARE(Districts::FindSeperator(cell), separator);
        const DistrictParts parts = Districts::SplitDistrict(cell);
        QCOMPARE(parts.name, name);
        QCOMPARE(parts.volume, volume);
        QCOMPARE(parts.format, format);
    }

    void codeFormat_data()
    {
        QTest::addColumn<QString>("volume");
        QTest::addColumn<int>("format");
        const auto row = [](const char *tag, const QString &volume, int format) {
            QTest::newRow(tag) << volume << format;
        };
        row("empty-none", "", 0);
        row("wildcard", "5?", -1);
        row("wildcard-bracket", "[56]A", -1);
        row("digits", "12", 2);
        row("digits-with-blanks", " 7 ", 2);
        row("roman-lower-case", "xiv", 3);
        row("number-and-letter", "5A", 1);
        row("signed-is-not-a-number", "+5", 1);
        row("decimal-point-is-not-a-number", "1.5", 1);
        row("roman-beyond-ixv", "XL", 1);
        row("roman-dotless-i-upper-cases-to-i", QStringLiteral(u"\u0131v"), 3);
        row("blank-only", " ", 1);
    }

    void codeFormat()
    {
        QFETCH(QString, volume);
        QFETCH(int, format);
        QCOMPARE(Districts::CodeFormat(volume), format);
    }

    // Every verdict in both modes: quiet gives the short text, the other
    // mode the message box (critical, "Pelkar"); some failures show nothing.
    void validateDistrict_data()
    {
        QTest::addColumn<int>("vnf");
        QTest::addColumn<QString>("cell");
        QTest::addColumn<bool>("allowWild");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<QString>("quiet");
        QTest::addColumn<QString>("box");
        const QString format = "The format of the Volume Number does not match that specified on "
                               "the Header Form - it should be ";
        const auto row = [](const char *tag, int vnf, const QString &cell, bool allowWild,
                            bool valid, const QString &quiet, const QString &box) {
            QTest::newRow(tag) << vnf << cell << allowWild << valid << quiet << box;
        };
        row("9z-valid", 1, "Ashford,5A", false, true, "", "");
        row("9z-valid-lower-letter-two-digits", 1, "Ashford,99b", false, true, "", "");
        row("9z-letter-alone", 1, "Ashford,A", false, false, "Last char of Volume not A-Z",
            "Trailing character in Volume Number must be A-Z");
        row("9z-ends-in-digit", 1, "Ashford,5A5", false, false, "Last char of Volume not A-Z",
            "Trailing character in Volume Number must be A-Z");
        row("9z-leading-letter", 1, "Ashford,X5A", false, false,
            "First chars of Volume Number must be numeric",
            "Leading characters in Volume Number must be numbers");
        row("9z-zero", 1, "Ashford,0A", false, false, "Volume Number must be 1-99",
            "Volume Number must be in the range 1-99");
        row("9z-over-99", 1, "Ashford,100A", false, false, "Volume Number must be 1-99",
            "Volume Number must be in the range 1-99");
        row("9z-blank-before-letter", 1, "Ashford, A", false, false, "Volume Number must be 1-99",
            "Volume Number must be in the range 1-99");
        // Blanks around a volume are refused in every format; only those
        // between a number and its letter pass.
        row("9z-blank-before-number", 1, "Ashford, 5A", false, false,
            "First chars of Volume Number must be numeric",
            "Leading characters in Volume Number must be numbers");
        row("9z-blank-after-letter", 1, "Ashford,5A ", false, false,
            "First chars of Volume Number must be numeric",
            "Leading characters in Volume Number must be numbers");
        row("9z-blanks-between-number-and-letter", 1, "Ashford,5  A", false, true, "", "");
        row("99-blank-after-digits", 2, "Ashford,12 ", false, false,
            "Volume number must be numeric", "Volume Number must be numeric");
        row("xx-blank-before-numeral", 3, "Ashford, xiv", false, false,
            "Wrong Volume Number Format", format + "xx");
        row("xx-blank-after-numeral", 3, "Ashford,xiv ", false, false,
            "Wrong Volume Number Format", format + "xx");
        row("9z-digits-beyond-any-number", 1, "Ashford,123456789012345678901A", false, false,
            "Volume Number must be 1-99", "Volume Number must be in the range 1-99");
        row("9z-header-one-digit", 1, "Ashford,5", false, false, "Wrong Volume Number Format",
            format + "9z");
        row("9z-header-two-digits", 1, "Ashford,12", false, false, "Wrong Volume Number Format",
            format + "9z");
        row("9z-header-roman", 1, "Ashford,XIV", false, false, "Wrong Volume Number Format",
            format + "9z");
        row("no-comma-shows-nothing", 1, "Ashford", false, false, "Missing Volume Code", "");
        row("comma-first-only-shows-nothing", 1, ",5A", false, false, "Missing Volume Code", "");
        row("volume-empty", 1, "Ashford,", false, false, "Volume Number missing",
            "Volume Number is missing");
        row("wildcard-volume-entry-box", 1, "Ashford,5*", true, true,
            "Volume Number has a wildcard", "");
        row("wildcard-volume-editor", 1, "Ashford,5*", false, false, "Volume Number has a wildcard",
            "");
        row("bracket-group-volume", 1, "Ashford,[5,6]A", true, true, "Volume Number has a wildcard",
            "");
        row("name-invalid-character", 1, "Ash+ford,5A", false, false, "Invalid char in District",
            "Invalid character in District name - +");
        row("name-accented-letter", 1, QString::fromUtf8("Ch\u00e2teau,5A"), false, false,
            "Invalid char in District",
            QString::fromUtf8("Invalid character in District name - \u00e2"));
        row("name-wildcard-skips-character-test", 1, "Ash*+,5A", false, true, "", "");
        row("name-every-allowed-punctuation", 1,
            "Newport, Mon. St Mary's & (Old)/Town-on: Sea\\,5A", false, true, "", "");
        row("99-valid", 2, "Ashford,12", false, true, "", "");
        row("99-zero", 2, "Ashford,0", false, false, "Volume number must be 1-99",
            "Volume Number must be in the range 1-99");
        row("99-over-99", 2, "Ashford,100", false, false, "Volume number must be 1-99",
            "Volume Number must be in the range 1-99");
        row("99-blank-before-digits", 2, "Ashford, 12", false, false,
            "Volume number must be numeric", "Volume Number must be numeric");
        row("99-header-number-and-letter", 2, "Ashford,5A", false, false,
            "Wrong Volume Number Format", format + "99");
        row("xx-valid", 3, "Ashford,xiv", false, true, "", "");
        row("xx-header-digits", 3, "Ashford,20", false, false, "Wrong Volume Number Format",
            format + "xx");
        row("no-header-format-volume", 0, "Ashford,5A", false, false, "Wrong Volume Number Format",
            format);
        row("no-header-format-no-volume", 0, "Ashford,", false, false, "Volume Number missing",
            "Volume Number is missing");
    }

    void validateDistrict()
    {
        QFETCH(int, vnf);
        QFETCH(QString, cell);
        QFETCH(bool, allowWild);
        QFETCH(bool, valid);
        QFETCH(QString, quiet);
        QFETCH(QString, box);
        gProject->setIVnf(vnf);
        Districts d;

        QString message = "left from before";
        QCOMPARE(d.ValidateDistrict(cell, allowWild, false, &message), valid);
        QCOMPARE(message, quiet);
        QVERIFY(script->records().isEmpty());

        if (!box.isEmpty())
            script->answer("Ok");
        QCOMPARE(d.ValidateDistrict(cell, allowWild, false), valid);
        QStringList shown;
        for (const MessageRecord &r : script->records())
            shown << recordText(r);
        QCOMPARE(shown, box.isEmpty() ? QStringList{} : QStringList{"box 16 Pelkar: " + box});
    }

    // The validated row's own accepted flag makes its cell valid, whatever
    // the cell holds; without it the same cell is refused.
    void acceptedFlagIsTheRowsOwn()
    {
        Districts d;
        QString message = "stale";
        QVERIFY(d.ValidateDistrict("Ash+ford,12", false, true, &message));
        QCOMPARE(message, QString());
        QVERIFY(!d.ValidateDistrict("Ash+ford,12", false, false, &message));
        QCOMPARE(message, QString("Wrong Volume Number Format"));
        gCurrentRow = 5; // the grid's current row plays no part
        QVERIFY(!d.ValidateDistrict("Ash+ford,12", false, false, &message));
    }

    void romanNumerals_data()
    {
        QTest::addColumn<int>("number");
        QTest::addColumn<QString>("roman");
        const auto row = [](const char *tag, int number, const QString &roman) {
            QTest::newRow(tag) << number << roman;
        };
        row("one", 1, "I");
        row("four", 4, "IV");
        row("nine", 9, "IX");
        row("fourteen", 14, "XIV");
        row("twenty", 20, "XX");
        row("forty-nine", 49, "XLIX");
        row("ninety-nine", 99, "XCIX");
        row("four-hundred-forty-four", 444, "CDXLIV");
        row("nineteen-ninety-nine", 1999, "MCMXCIX");
        row("beyond-three-thousand", 4001, "MMMMI");
    }

    void romanNumerals()
    {
        QFETCH(int, number);
        QFETCH(QString, roman);
        QCOMPARE(Districts::ToRoman(number), roman);
        QCOMPARE(Districts::FromRoman(roman), number);
        QCOMPARE(Districts::FromRoman(roman.toLower()), number);
    }

    // Zero and below have no numeral: nothing, never a sentence that could
    // become a volume.
    void romanOfNothing()
    {
        QCOMPARE(Districts::ToRoman(0), QString());
        QCOMPARE(Districts::ToRoman(-3), QString());
        QCOMPARE(Districts::FromRoman("xliv"), 44);
        QCOMPARE(Districts::FromRoman("IIII"), 4);
        QCOMPARE(Districts::FromRoman("X5A"), 10);
        QCOMPARE(Districts::FromRoman(""), 0);
    }

    void convertDistrictVNF_data()
    {
        QTest::addColumn<int>("vnf");
        QTest::addColumn<QString>("cell");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("converted");
        const auto row = [](const char *tag, int vnf, const QString &cell, const QString &text,
                            bool converted) {
            QTest::newRow(tag) << vnf << cell << text << converted;
        };
        row("same-format", 1, "Ashford,5A", "Ashford,5A", true);
        row("decimal-to-roman", 3, " Ashford ,20", "Ashford,XX", true);
        row("decimal-zero-has-no-roman", 3, "Ashford,0", "Ashford,0", false);
        row("decimal-beyond-32-bits", 3, "Ashford,99999999999", "Ashford,99999999999", false);
        row("decimal-under-9z-unchanged", 1, "Ashford,12", "Ashford,12", true);
        row("decimal-under-no-format", 0, "Ashford,12", "Ashford,12", false);
        row("9z-under-99", 2, "Ashford,5A", "Ashford,5A", false);
        row("roman-to-decimal", 2, "Ashford,XX", "Ashford,20", true);
        row("roman-under-9z-to-decimal", 1, "Ashford ,xiv", "Ashford,14", true);
        row("wildcard-unchanged", 2, "Ashford,5*", "Ashford,5*", true);
        row("no-volume", 2, "Ashford", "Ashford", false);
    }

    void convertDistrictVNF()
    {
        QFETCH(int, vnf);
        QFETCH(QString, cell);
        QFETCH(QString, text);
        QFETCH(bool, converted);
        gProject->setIVnf(vnf);
        Districts d;
        const DistrictConversion result = d.ConvertDistrictVNF(cell);
        QCOMPARE(result.text, text);
        QCOMPARE(result.converted, converted);
    }

    // After the header's format changes the table follows; a volume with no
    // equivalent stays as it was.
    void convertFormat()
    {
        gProject->setIVnf(2);
        QVERIFY(writeBytes(homePath("data/Files/Pelkar_Districts.txt"),
                           "Ashford|1837|1|9999|4|0|20|0|0|0\r\n"));
        QVERIFY(writeBytes(homePath("data/Files/Pelkar_Supp_Districts.txt"),
                           "Bath,00\r\nCrewe,5A\r\n"));
        Districts d;
        QVERIFY(d.Read_Districts());
        const auto volumes = [&d] {
            QStringList texts;
            for (const DistrictRecord &r : d.records())
                texts << r.Name + u',' + r.Volume + u':' + QString::number(r.VolumeFormat);
            return texts;
        };
        gProject->setIVnf(3);
        d.ConvertFormat();
        QCOMPARE(volumes(), (QStringList{"Ashford,XX:3", "Bath,00:2", "Crewe,5A:1"}));
        gProject->setIVnf(1);
        d.ConvertFormat();
        QCOMPARE(volumes(), (QStringList{"Ashford,XX:3", "Bath,00:2", "Crewe,5A:1"}));
        gProject->setIVnf(2);
        d.ConvertFormat();
        QCOMPARE(volumes(), (QStringList{"Ashford,20:2", "Bath,00:2", "Crewe,5A:1"}));
    }

    // What one keystroke lists: the typed initial's records matched by the
    // name pattern, only volumes of the header's format, no deleted record.
    void listMatchingDistricts_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QStringList>("listed");
        const auto row = [](const char *tag, const QString &typed, const QStringList &listed) {
            QTest::newRow(tag) << typed << listed;
        };
        row("name-beginning", "ash",
            QStringList{"Ashby-de-la-Zouch,7A", "Ashford,5A", "Ashton,8C"});
        row("hyphen-is-ordinary", "ashby-d", QStringList{"Ashby-de-la-Zouch,7A"});
        row("underscore-is-one-character", "a_ton", QStringList{"Aston,6D"});
        row("open-bracket-list-closed", "as[ht",
            QStringList{"Ashby-de-la-Zouch,7A", "Ashford,5A", "Ashton,8C", "Aston,6D"});
        row("name-and-volume-beginnings", "ash~5", QStringList{"Ashford,5A"});
        row("name-and-volume-any-case", "ax~9b", QStringList{"Axminster,9B"});
        row("one-letter-standard-list", "a",
            QStringList{"Ashby-de-la-Zouch,7A", "Ashford,5A", "Ashton,8C", "Aston,6D",
                        "Axminster,9B"});
        row("volume-only-from-start-of-table", ",5a",
            QStringList{"(Old) Sarum,5A", "Ashford,5A", "Barton,5a", "Yeovil,5A", "Zeals,5A"});
        row("non-letter-first-character", "(old", QStringList{"(Old) Sarum,5A"});
        row("last-letter", "z", QStringList{"Zeals,5A"});
        row("letter-without-districts", "c", QStringList{});
        row("other-format-not-listed", "h", QStringList{});
        row("nothing-typed", "", QStringList{});
        row("unreadable-pattern-lists-nothing", "a]b[", QStringList{});
    }

    void listMatchingDistricts()
    {
        QFETCH(QString, typed);
        QFETCH(QStringList, listed);
        auto d = listingTable();
        QVERIFY(d);
        RecordingPickList pick(50);
        QCOMPARE(d->ListMatchingDistricts(typed), listed.size());
        QCOMPARE(pick.texts, listed);
        QCOMPARE(pick.clears, 1);
    }

    // One letter with the recent-district list chosen: that letter's nine
    // texts, empty ones included; a non-letter searches as usual.
    void listRecentDistricts()
    {
        auto d = listingTable();
        QVERIFY(d);
        gProject->setDistPickStd(false);
        d->Propose("Ashford,5A");
        d->Propose("Aston,6D");
        RecordingPickList pick(9);
        QCOMPARE(d->ListMatchingDistricts("A"), 9);
        QCOMPARE(pick.texts, (QStringList{"Aston,6D", "Ashford,5A", "", "", "", "", "", "", ""}));
        QCOMPARE(d->ListMatchingDistricts("as"), 4);
        QCOMPARE(d->ListMatchingDistricts("("), 1);
        QCOMPARE(pick.texts, QStringList{"(Old) Sarum,5A"});
    }

    // The count stops at 999 whatever the pick list's own row limit.
    void listingStopsAtTheLimit()
    {
        QByteArray file;
        for (int i = 0; i < 1200; ++i)
            file += "Abbey" + QByteArray::number(i) + "|1837|1|9999|4|0|5A|0|0|0\r\n";
        QVERIFY(writeBytes(homePath("data/Files/Pelkar_Districts.txt"), file));
        Districts d;
        QVERIFY(d.Read_Districts());
        RecordingPickList pick(9);
        QCOMPARE(d.ListMatchingDistricts("ab"), 999);
        QCOMPARE(pick.texts.size(), 9);
        QCOMPARE(pick.texts.first(), QString("Abbey0,5A"));
    }

    void findDistrict_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("volume");
        QTest::addColumn<QString>("found");
        const auto row = [](const char *tag, const QString &name, const QString &volume,
                            const QString &found) {
            QTest::newRow(tag) << name << volume << found;
        };
        row("exact", "Ashford", "5A", "Ashford,5A");
        row("any-letter-case", "ASHFORD", "5a", "Ashford,5A");
        row("z-is-the-last-record", "zeals", "5A", "Zeals,5A");
        row("user-added", "Axminster", "9B", "Axminster,9B");
        row("other-volume", "Ashford", "5B", "");
        row("deleted-duplicate-still-finds-the-kept-one", "Ashton", "8C", "Ashton,8C");
        row("non-letter-initial", "(Old) Sarum", "5A", "");
        row("blank-name", "   ", "5A", "");
    }

    void findDistrict()
    {
        QFETCH(QString, name);
        QFETCH(QString, volume);
        QFETCH(QString, found);
        auto d = listingTable();
        QVERIFY(d);
        const int index = d->FindDistrict(name, volume);
        if (found.isEmpty()) {
            QCOMPARE(index, -1);
        } else {
            QVERIFY(index >= 0);
            const DistrictRecord &r = d->records()[index];
            QCOMPARE(r.Name + u',' + r.Volume, found);
        }
        if (name == "zeals")
            QCOMPARE(index, d->LastIndex());
        QCOMPARE(d->TestForDistrict(name + u',' + volume), !found.isEmpty());
    }

    // The editor's rows: every record that is not deleted, in table order,
    // with the user's own marked.
    void listAllDistricts()
    {
        auto d = listingTable();
        QVERIFY(d);
        QStringList rows;
        for (const DistrictListRow &r : d->ListAllDistricts()) {
            rows << QString::number(r.index) + u' ' + r.name + u',' + r.volume
                            + (r.userAdded ? "*" : "");
            QCOMPARE(d->records()[r.index].Name, r.name);
        }
        QCOMPARE(rows,
                 (QStringList{"0 (Old) Sarum,5A", "1 Ashby-de-la-Zouch,7A", "2 Ashford,5A",
                              "3 Ashton,8C", "5 Ashwell,12*", "6 Aston,6D", "7 Axminster,9B*",
                              "8 Barton,5a", "9 Bath,5C", "10 Yeovil,5A", "11 Zeals,5A"}));
    }

    // The recent list of a letter: a text met again moves to the top, a new
    // one pushes the oldest out.
    void propose()
    {
        Districts d;
        const auto list = [&d] {
            QStringList texts;
            for (int p = 1; p <= 9; ++p)
                texts << d.DistrictMRU(1, p);
            return texts;
        };
        for (int i = 9; i >= 1; --i)
            d.Propose(QString("A%1,5A").arg(i));
        QCOMPARE(list(),
                 (QStringList{"A1,5A", "A2,5A", "A3,5A", "A4,5A", "A5,5A", "A6,5A", "A7,5A",
                              "A8,5A", "A9,5A"}));
        d.Propose("A4,5A");
        QCOMPARE(list(),
                 (QStringList{"A4,5A", "A1,5A", "A2,5A", "A3,5A", "A5,5A", "A6,5A", "A7,5A",
                              "A8,5A", "A9,5A"}));
        d.Propose("A4,5A");
        QCOMPARE(list().first(), QString("A4,5A"));
        d.Propose("a10,5A");
        QCOMPARE(list(),
                 (QStringList{"a10,5A", "A4,5A", "A1,5A", "A2,5A", "A3,5A", "A5,5A", "A6,5A",
                              "A7,5A", "A8,5A"}));
        d.Propose("");
        d.Propose(" 5A");
        d.Propose("(Old) Sarum,5A");
        QCOMPARE(list().first(), QString("a10,5A"));
        for (int letter = 2; letter <= 26; ++letter)
            QCOMPARE(d.DistrictMRU(letter, 1), QString());
    }
};

PELKAR_TEST(tst_DistrictValidation)
#include "tst_DistrictValidation.moc"
