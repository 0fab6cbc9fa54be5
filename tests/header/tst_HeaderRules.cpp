// The header form's rules without a window: key filters, years and their
// volume formats, the page check, completeness, the batch-name preview in
// both styles and the conversion warnings.

#include "PelkarTest.h"

#include "header/HeaderRules.h"

using namespace HeaderRules;

namespace {

// A header with every required field given: 1911 Births March, fiche 5,
// page 12, letter A, "9z".
HeaderFields completeFields()
{
    HeaderFields f;
    f.cboEvent = 1;
    f.cboQuarter = 1;
    f.cboSource = 1;
    f.cboVNF = 1;
    f.tbYear = QStringLiteral("1911");
    f.tbPage = QStringLiteral("12");
    f.tbPageLetter = QStringLiteral("A");
    f.tbBatch = QStringLiteral("5");
    f.batchVisible = true;
    f.tbSourceRef = QStringLiteral("REF1");
    f.tbName = QStringLiteral("Ann Smith");
    f.tbSyndicate = QStringLiteral("Kent");
    return f;
}

const QString kCrLf = QStringLiteral("\r\n");

} // namespace

class tst_HeaderRules : public PelkarTest
{
    Q_OBJECT

private slots:
    void filterKey_data()
    {
        QTest::addColumn<int>("field");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("result");
        const int year = int(KeyField::Year), batch = int(KeyField::Batch),
                  page = int(KeyField::Page), letter = int(KeyField::PageLetter),
                  id = int(KeyField::SubmitterID), text = int(KeyField::NoQuote);
        QTest::newRow("year-digit") << year << int('7') << int('7');
        QTest::newRow("year-letter") << year << int('a') << 0;
        QTest::newRow("year-backspace") << year << 8 << 8;
        QTest::newRow("year-enter-refused") << year << 13 << 0;
        QTest::newRow("batch-enter-passes") << batch << 13 << 13;
        QTest::newRow("batch-letter") << batch << int('x') << 0;
        QTest::newRow("page-letter") << page << int('b') << int('b');
        QTest::newRow("page-space") << page << int(' ') << 0;
        QTest::newRow("page-slash") << page << int('/') << 0;
        QTest::newRow("letter-lower-upcased") << letter << int('m') << int('M');
        QTest::newRow("letter-digit") << letter << int('3') << 0;
        QTest::newRow("id-hyphen") << id << int('-') << int('-');
        QTest::newRow("id-underscore") << id << int('_') << int('_');
        QTest::newRow("id-space") << id << int(' ') << 0;
        QTest::newRow("text-quote") << text << int('"') << 0;
        QTest::newRow("text-apostrophe") << text << int('\'') << int('\'');
    }
    void filterKey()
    {
        QFETCH(int, field);
        QFETCH(int, key);
        QFETCH(int, result);
        QCOMPARE(FilterKey(KeyField(field), key), result);
    }

    void years_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<int>("preset");
        QTest::newRow("1836") << "1836" << false << 0;
        QTest::newRow("1837") << "1837" << true << 0;
        QTest::newRow("1851") << "1851" << true << 0;
        QTest::newRow("1852") << "1852" << true << 1;
        QTest::newRow("1946") << "1946" << true << 1;
        QTest::newRow("1965") << "1965" << true << 1;
        QTest::newRow("1974") << "1974" << true << 1;
        QTest::newRow("1975") << "1975" << true << 2;
        QTest::newRow("current-year") << "2026" << true << 2;
        QTest::newRow("next-year") << "2027" << false << 2;
        QTest::newRow("pasted-letter") << "18a7" << false << 0;
        QTest::newRow("three-digits") << "187" << false << 0;
        QTest::newRow("leading-space") << " 1900" << false << 1;
        QTest::newRow("exponent") << "19e2" << false << 0;
    }
    void years()
    {
        QFETCH(QString, text);
        QFETCH(bool, valid);
        QFETCH(int, preset);
        QCOMPARE(IsValidYear(text, 2026), valid);
        QCOMPARE(PresetVnf(YearValue(text)), preset);
    }

    void vnfChoice_data()
    {
        QTest::addColumn<int>("year");
        QTest::addColumn<int>("vnf");
        QTest::addColumn<QString>("message");
        QTest::addColumn<bool>("beep");
        QTest::addColumn<bool>("back");
        QTest::newRow("1851-9z-warns") << 1851 << 1 << kPre1852Warning << false << false;
        QTest::newRow("1851-xx") << 1851 << 3 << QString() << false << false;
        QTest::newRow("1852-99-back") << 1852 << 2 << kOnly9zMessage << true << true;
        QTest::newRow("1973-xx-back") << 1973 << 3 << kOnly9zMessage << true << true;
        QTest::newRow("1973-9z") << 1973 << 1 << QString() << false << false;
        QTest::newRow("1974-9z-warns") << 1974 << 1 << k1974Warning << true << false;
        QTest::newRow("1974-99") << 1974 << 2 << QString() << false << false;
        QTest::newRow("1990-xx-warns") << 1990 << 3 << k1974Warning << true << false;
    }
    void vnfChoice()
    {
        QFETCH(int, year);
        QFETCH(int, vnf);
        QFETCH(QString, message);
        QFETCH(bool, beep);
        QFETCH(bool, back);
        const VnfChoice c = CheckVnfChoice(year, vnf);
        QCOMPARE(c.message, message);
        QCOMPARE(c.beep, beep);
        QCOMPARE(c.backTo9z, back);
    }

    void pageCheck_data()
    {
        QTest::addColumn<QString>("page");
        QTest::addColumn<QString>("message");
        QTest::newRow("empty") << "" << QString();
        QTest::newRow("digits") << "12" << QString();
        QTest::newRow("digit-then-letter") << "12A" << QString();
        QTest::newRow("letter-first") << "A" << kPageFirstNumeric;
        QTest::newRow("spaces-then-digit") << "  7" << QString();
    }
    void pageCheck()
    {
        QFETCH(QString, page);
        QFETCH(QString, message);
        QCOMPARE(PageCheck(page), message);
    }

    void submitterId_data()
    {
        QTest::addColumn<QString>("id");
        QTest::addColumn<bool>("ok");
        QTest::newRow("empty") << "" << true;
        QTest::newRow("mixed-case") << "ann_Smith-2" << true;
        QTest::newRow("pasted-space") << "ann smith" << false;
        QTest::newRow("accent") << QStringLiteral("jos\u00e9") << false;
    }
    void submitterId()
    {
        QFETCH(QString, id);
        QFETCH(bool, ok);
        QCOMPARE(CheckSubmitterIdChars(id), ok);
    }

    void completeness_data()
    {
        QTest::addColumn<QString>("change");
        QTest::addColumn<int>("step");
        QTest::newRow("complete") << "" << 0;
        QTest::newRow("id-without-password") << "id" << 1;
        QTest::newRow("password-without-id") << "password" << 2;
        QTest::newRow("id-and-password") << "both" << 0;
        QTest::newRow("name-blank") << "name" << 3;
        QTest::newRow("syndicate") << "syndicate" << 4;
        QTest::newRow("source-ref") << "ref" << 5;
        QTest::newRow("no-event") << "event" << 6;
        QTest::newRow("year-1836") << "year" << 8;
        QTest::newRow("no-quarter") << "quarter" << 9;
        QTest::newRow("no-source") << "source" << 10;
        QTest::newRow("batch-visible-empty") << "batch" << 11;
        QTest::newRow("batch-hidden-empty") << "scan" << 0;
        QTest::newRow("page") << "page" << 12;
        QTest::newRow("no-vnf") << "vnf" << 13;
        QTest::newRow("no-letter") << "letter" << 14;
        QTest::newRow("credit-partial") << "credit" << 15;
        QTest::newRow("credit-partial-reported-last") << "credit+letter" << 14;
        QTest::newRow("credit-whole") << "credit3" << 0;
    }
    void completeness()
    {
        QFETCH(QString, change);
        QFETCH(int, step);
        HeaderFields f = completeFields();
        if (change == u"id") f.tbSubmitterID = QStringLiteral("ANN");
        if (change == u"password") f.tbPassword = QStringLiteral("pw");
        if (change == u"both") { f.tbSubmitterID = QStringLiteral("ANN"); f.tbPassword = QStringLiteral("pw"); }
        if (change == u"name") f.tbName = QStringLiteral("   ");
        if (change == u"syndicate") f.tbSyndicate.clear();
        if (change == u"ref") f.tbSourceRef.clear();
        if (change == u"event") f.cboEvent = 0;
        if (change == u"year") f.tbYear = QStringLiteral("1836");
        if (change == u"quarter") f.cboQuarter = 0;
        if (change == u"source") f.cboSource = 0;
        if (change == u"batch") f.tbBatch.clear();
        if (change == u"scan") { f.tbBatch.clear(); f.batchVisible = false; f.cboSource = 3; }
        if (change == u"page") f.tbPage = QStringLiteral(" ");
        if (change == u"vnf") f.cboVNF = 0;
        if (change.startsWith(u"credit")) f.tbCreditName = QStringLiteral("Bob");
        if (change == u"credit+letter") f.tbPageLetter.clear();
        if (change == u"credit3") { f.tbCreditEmail = QStringLiteral("b@x"); f.tbCreditType = QStringLiteral("Typed"); }
        if (change == u"letter") f.tbPageLetter.clear();
        QCOMPARE(FirstIncompleteStep(f, 2026), step);
    }

    void preview_data()
    {
        QTest::addColumn<int>("source");
        QTest::addColumn<QString>("letter");
        QTest::addColumn<QString>("page");
        QTest::addColumn<QString>("batch");
        QTest::addColumn<bool>("lumivark");
        QTest::addColumn<bool>("noLetter");
        QTest::addColumn<QString>("name");
        QTest::newRow("own") << 1 << "A" << "12" << "5" << false << false << "1911B1A0012.ZEL";
        QTest::newRow("own-no-letter") << 1 << "" << "12" << "5" << false << false << "1911B10012.ZEL";
        QTest::newRow("own-no-page") << 1 << "A" << "" << "5" << false << false << "1911B1A.ZEL";
        QTest::newRow("own-long-page") << 3 << "A" << "12345" << "" << false << false << "1911B1A12345.ZEL";
        QTest::newRow("sibling-scan") << 3 << "A" << "12" << "" << true << false << "11B1A0012.SCA";
        QTest::newRow("sibling-scan-no-letter") << 3 << "A" << "7" << "" << true << true << "11B10007.SCA";
        QTest::newRow("sibling-fiche") << 1 << "A" << "12" << "5" << true << false << "PB0012.105";
        QTest::newRow("sibling-film-120") << 2 << "A" << "7" << "120" << true << true << "PB0007.120";
        QTest::newRow("sibling-fiche-no-batch") << 1 << "A" << "7" << "" << true << false << "PB0007.";
        QTest::newRow("sibling-long-page") << 3 << "A" << "12345" << "" << true << false << "11B1A2345.SCA";
        QTest::newRow("sibling-no-source") << 0 << "A" << "12" << "" << true << false << "11B1A";
    }
    void preview()
    {
        QFETCH(int, source);
        QFETCH(QString, letter);
        QFETCH(QString, page);
        QFETCH(QString, batch);
        QFETCH(bool, lumivark);
        QFETCH(bool, noLetter);
        QFETCH(QString, name);
        HeaderFields f = completeFields();
        f.cboSource = source;
        f.tbPageLetter = letter;
        f.tbPage = page;
        f.tbBatch = batch;
        QCOMPARE(PreviewBatchId(f, lumivark, noLetter), name);
    }

    void previewEmpty()
    {
        QCOMPARE(PreviewBatchId(HeaderFields{}, false, false), QStringLiteral(".ZEL"));
    }

    void eventWarning_data()
    {
        QTest::addColumn<int>("newType");
        QTest::addColumn<QString>("old");
        QTest::addColumn<int>("year");
        QTest::addColumn<QString>("firstLine");
        QTest::addColumn<int>("lines");
        QTest::newRow("births-from-deaths") << 1 << "D" << 1900
            << "Converting from Deaths to Births can result in Data Loss" << 2;
        QTest::newRow("births-from-1920-marriages") << 1 << "M" << 1920
            << "Converting from Post-1911 Qtr3 Marriages to Births can cause data corruption." << 3;
        QTest::newRow("births-from-1900-marriages") << 1 << "M" << 1900
            << "Converting from Pre-1912 Marriages to Births can cause data corruption." << 3;
        QTest::newRow("deaths-from-1920-births") << 2 << "B" << 1920
            << "Converting to Death Event will result in problems in any data already entered in this batch." << 3;
        QTest::newRow("deaths-from-1900-births") << 2 << "B" << 1900
            << "Converting to Death Event will result in problems in any data already entered in this batch." << 2;
        QTest::newRow("deaths-from-1920-marriages") << 2 << "M" << 1920
            << "Converting to Death Event will result in problems in any data already entered in this batch." << 3;
        QTest::newRow("deaths-from-1911-marriages") << 2 << "M" << 1911
            << "Converting to Death Event will result in problems in any data already entered in this batch." << 2;
        QTest::newRow("deaths-from-deaths") << 2 << "D" << 1950
            << "Death entries prior to 1969 Q2 held a field Age at Death, from then this" << 3;
        QTest::newRow("marriages-from-1911-births") << 3 << "B" << 1911
            << "Converting from Post-1910 Births to Marriages can cause data corruption." << 3;
        QTest::newRow("marriages-from-1910-births") << 3 << "B" << 1910
            << "Converting from Pre-1911 Births to Marriages can cause data corruption." << 3;
        QTest::newRow("births-from-births") << 1 << "B" << 1920 << "" << 0;
        QTest::newRow("marriages-from-deaths") << 3 << "D" << 1920 << "" << 0;
        QTest::newRow("deaths-from-nothing") << 2 << "" << 1920 << "" << 0;
        QTest::newRow("none-chosen") << 0 << "B" << 1920 << "" << 0;
    }
    void eventWarning()
    {
        QFETCH(int, newType);
        QFETCH(QString, old);
        QFETCH(int, year);
        QFETCH(QString, firstLine);
        QFETCH(int, lines);
        StoredBatch s;
        s.zelLetter = old;
        s.year = year;
        const QString w = EventTypeWarning(newType, s);
        if (lines == 0) {
            QVERIFY(w.isEmpty());
            return;
        }
        const QStringList parts = w.split(kCrLf);
        QCOMPARE(parts.size(), lines + 2);
        QCOMPARE(parts.first(), firstLine);
        QCOMPARE(parts.at(lines), QString());
        QCOMPARE(parts.last(), QStringLiteral("Please be sure that you really want to do this."));
    }

    void eventWarningSpouseLine()
    {
        StoredBatch s;
        s.zelLetter = QStringLiteral("M");
        s.year = 1920;
        QVERIFY(EventTypeWarning(2, s).contains(QStringLiteral("The field Spouse's Name will be lost.")));
        s.zelLetter = QStringLiteral("B");
        QVERIFY(EventTypeWarning(2, s).contains(QStringLiteral("The field Mother's Name will be lost.")));
    }

    void yearWarning_data()
    {
        QTest::addColumn<int>("event");
        QTest::addColumn<int>("oldYear");
        QTest::addColumn<bool>("column");
        QTest::addColumn<QString>("newYear");
        QTest::addColumn<QString>("firstLine");
        QTest::newRow("births-1910-to-1911") << 1 << 1910 << false << "1911"
            << "Births from Quarter 3 1911 have an additional field - Mother's Name.";
        QTest::newRow("births-1910-to-1905") << 1 << 1910 << false << "1905" << "";
        QTest::newRow("births-1912-to-1910") << 1 << 1912 << true << "1910"
            << "Births prior to Quarter 3 1911 do not have the field - Mother's Name.";
        QTest::newRow("deaths-1970-to-1968") << 2 << 1970 << true << "1968"
            << "Deaths prior to Quarter 2 1969 had a field - Age at Death.";
        QTest::newRow("deaths-1970-to-1975") << 2 << 1970 << true << "1975" << "";
        QTest::newRow("marriages-1910-to-1920") << 3 << 1910 << false << "1920"
            << "Marriages from Quarter 1 1912 have an additional field - Spouses's Name.";
        QTest::newRow("marriages-1920-to-1900") << 3 << 1920 << true << "1900"
            << "Marriages prior to Quarter 1 1912 do not have the field - Spouse's Name.";
        QTest::newRow("not-a-number-is-0") << 1 << 1920 << true << "19a0"
            << "Births prior to Quarter 3 1911 do not have the field - Mother's Name.";
        QTest::newRow("no-event") << 0 << 1910 << false << "1920" << "";
    }
    void yearWarning()
    {
        QFETCH(int, event);
        QFETCH(int, oldYear);
        QFETCH(bool, column);
        QFETCH(QString, newYear);
        QFETCH(QString, firstLine);
        StoredBatch s;
        s.year = oldYear;
        s.mother = column;
        s.spouse = column;
        const QString w = YearRangeWarning(event, newYear, s);
        if (firstLine.isEmpty()) {
            QVERIFY(w.isEmpty());
            return;
        }
        const QStringList parts = w.split(kCrLf);
        QCOMPARE(parts.first(), firstLine);
        QCOMPARE(parts.last(), QStringLiteral("Please be sure that you really want to do this!"));
    }
};

PELKAR_TEST(tst_HeaderRules)
#include "tst_HeaderRules.moc"
