// The district table: which volume column a batch's period reads, the format
// filter and conversion at read, the line rules of both files, duplicate
// marking, adding and deleting with the supplementary file rewritten (golden
// files), a save that fails, the fatal reading failures and the
// recent-district lists kept per user.

#include "PelkarTest.h"
#include "RecordingPickList.h"
#include "TestFiles.h"

#include "core/CloseDownRequest.h"
#include "core/Cp1252.h"
#include "core/Globals.h"
#include "core/LineReader.h"
#include "core/Project.h"
#include "core/UserSettings.h"
#include "lists/Districts.h"

#include <QDir>
#include <QFile>

#include <memory>

using namespace TestFiles;

namespace {

// A district-file line in use over the whole period with the five volumes.
QString line(const QString &name, const QString &volumes, const QString &from = "1837|1",
             const QString &to = "9999|4")
{
    return name + u'|' + from + u'|' + to + u'|' + volumes;
}

// The usable records as "name,volume", with ":format" and "*" for the
// user's own when asked.
QStringList table(const Districts &d, bool detail = false)
{
    QStringList texts;
    for (const DistrictRecord &r : d.records()) {
        if (r.Deleted)
            continue;
        QString text = r.Name + u',' + r.Volume;
        if (detail)
            text += u':' + QString::number(r.VolumeFormat) + (r.UserAdded ? "*" : "");
        texts << text;
    }
    return texts;
}

QString recordText(const MessageRecord &r)
{
    return r.kind + u' ' + QString::number(r.style) + u' ' + r.title + QStringLiteral(": ")
            + r.prompt;
}

QStringList recordTexts(const Script &script)
{
    QStringList texts;
    for (const MessageRecord &r : script.records())
        texts << recordText(r);
    return texts;
}

class RecordingSuppMenu : public SuppRangeMenu
{
public:
    void checkSuppRange(int range) override { checked << range; }
    QList<int> checked;
};

} // namespace

class tst_Districts : public PelkarTest
{
    Q_OBJECT

protected:
    void setUpCase() override
    {
        ProgramObjects::createEvents();
        ProgramObjects::createProject();
        gProject->setDataPath(homePath("data"));
        gProject->setFilesPath(homePath("data/Files"));
        QVERIFY(QDir().mkpath(filesPath()));
        setPeriod(1911, 3, 1);
        mCloseDowns.clear();
        SetCloseDownHandler([this](int errNo, const QString &title, const QString &text) {
            mCloseDowns << QString::number(errNo) + u' ' + title + QStringLiteral(": ") + text;
        });
    }

    void tearDownCase() override { SetCloseDownHandler({}); }

private:
    QString filesPath() const { return homePath("data/Files"); }
    QString filesFile(const QString &name) const { return QDir(filesPath()).filePath(name); }
    QString districtFile() const { return filesFile("Pelkar_Districts.txt"); }
    QString suppFile1() const { return filesFile("Pelkar_Supp_Districts.txt"); }

    static void setPeriod(int year, int quarter, int vnf)
    {
        gProject->setIYear(year);
        gProject->setQtr(quarter);
        gProject->setIVnf(vnf);
    }

    static void writeLines(const QString &path, const QStringList &lines)
    {
        QVERIFY(writeBytes(path, JoinCrLf(lines)));
    }

    // A table read from these files (an empty supplementary file of range 1
    // unless one is written).
    std::unique_ptr<Districts> readTable(const QStringList &districtLines,
                                         const QStringList &suppLines = {})
    {
        writeLines(districtFile(), districtLines);
        if (!QFile::exists(suppFile1()) || !suppLines.isEmpty())
            writeLines(suppFile1(), suppLines);
        auto d = std::make_unique<Districts>();
        if (!d->Read_Districts())
            return nullptr;
        return d;
    }

    QStringList mCloseDowns;

private slots:
    // The period of the batch picks one of the five volume columns; the
    // boundaries are the last quarters of each period. A "0" volume means
    // the district had none in that period.
    void volumeColumnByPeriod_data()
    {
        QTest::addColumn<int>("year");
        QTest::addColumn<int>("quarter");
        QTest::addColumn<QStringList>("expected");
        const auto row = [](const char *tag, int year, int quarter, const QStringList &expected) {
            QTest::newRow(tag) << year << quarter << expected;
        };
        row("first-period-start-1837q1", 1837, 1, {"Ashford,11"});
        row("first-period-end-1851q4", 1851, 4, {"Ashford,11"});
        row("second-period-start-1852q1", 1852, 1, {"Ashford,12", "Bath,22"});
        row("second-period-end-1946q2", 1946, 2, {"Ashford,12", "Bath,22"});
        row("third-period-start-1946q3", 1946, 3, {"Ashford,13"});
        row("third-period-end-1965q1", 1965, 1, {"Ashford,13"});
        row("fourth-period-start-1965q2", 1965, 2, {"Ashford,14", "Bath,24"});
        row("fourth-period-end-1974q1", 1974, 1, {"Ashford,14", "Bath,24"});
        row("fifth-period-start-1974q2", 1974, 2, {"Ashford,15"});
        row("fifth-period-later", 2020, 3, {"Ashford,15"});
    }

    void volumeColumnByPeriod()
    {
        QFETCH(int, year);
        QFETCH(int, quarter);
        QFETCH(QStringList, expected);
        setPeriod(year, quarter, 2);
        auto d = readTable({line("Ashford", "11|12|13|14|15"), line("Bath", "0|22|0|24|0")});
        QVERIFY(d);
        QCOMPARE(table(*d), expected);
    }

    // Only the volumes of the header's format are kept; under "XX" a "99"
    // volume becomes its Roman numeral and every volume is kept with format
    // 3, except one with no Roman numeral.
    void formatFilterAndConversionAtRead_data()
    {
        QTest::addColumn<int>("vnf");
        QTest::addColumn<QStringList>("expected");
        const auto row = [](const char *tag, int vnf, const QStringList &expected) {
            QTest::newRow(tag) << vnf << expected;
        };
        row("9z-keeps-number-and-letter", 1, QStringList{"Bath,5A:1"});
        row("99-keeps-numbers", 2, QStringList{"Ashford,20:2", "Dover,00:2", "Exeter,99:2"});
        row("xx-converts-numbers-keeps-the-rest", 3,
            QStringList{"Ashford,XX:3", "Bath,5A:3", "Cardiff,xiv:3", "Exeter,XCIX:3"});
    }

    void formatFilterAndConversionAtRead()
    {
        QFETCH(int, vnf);
        QFETCH(QStringList, expected);
        setPeriod(1911, 3, vnf);
        auto d = readTable({line("Ashford", "0|20|0|0|0"), line("Bath", "0|5A|0|0|0"),
                            line("Cardiff", "0|xiv|0|0|0"), line("Dover", "0|00|0|0|0"),
                            line("Exeter", "0| 99 |0|0|0")});
        QVERIFY(d);
        QCOMPARE(table(*d, true), expected);
    }

    // A district is in use from its first to its last quarter, both
    // included, also within one year.
    void districtInUseWithinItsQuarters_data()
    {
        QTest::addColumn<int>("quarter");
        QTest::addColumn<bool>("inUse");
        const auto row = [](const char *tag, int quarter, bool inUse) {
            QTest::newRow(tag) << quarter << inUse;
        };
        row("quarter-before", 1, false);
        row("first-quarter", 2, true);
        row("last-quarter", 3, true);
        row("quarter-after", 4, false);
    }

    void districtInUseWithinItsQuarters()
    {
        QFETCH(int, quarter);
        QFETCH(bool, inUse);
        setPeriod(1870, quarter, 2);
        auto d = readTable({line("Ashford", "0|7|0|0|0", "1870|2", "1870|3")});
        QVERIFY(d);
        QCOMPARE(table(*d), inUse ? QStringList{"Ashford,7"} : QStringList{});
    }

    // Comments and lines of ten characters or fewer are skipped silently;
    // longer lines with too few fields, or years that are not numbers, are
    // reported one by one and reading goes on. Quoted fields keep their "|".
    void districtFileLineRules()
    {
        setPeriod(1911, 3, 2);
        script->answer("Ok");
        auto d = readTable({
                "# Ashford|1837|1|9999|4|1|1|1|1|1",
                "Bath|1|2|3",                    // ten characters
                "Bath|1|2|34",                   // eleven, too few fields
                "Cardiff|1837|1|9999|4|1|2|3|4", // nine fields
                line("Dover", "0|6|0|0|0", "18x0|1"),
                line("\"Eye | Hoxne\"", "0|8|0|0|0"),
                "  " + line("Frome", "0|9|0|0|0") + "|extra|fields  ",
        });
        QVERIFY(d);
        QCOMPARE(table(*d), (QStringList{"Eye | Hoxne,8", "Frome,9"}));
        // One message for them all.
        QCOMPARE(recordTexts(*script),
                 (QStringList{"box 16 Pelkar: 3 lines of the district file are invalid; the "
                              "first 3:\r\nInvalid line in district file = Bath|1|2|34\r\n"
                              "Invalid line in district file = Cardiff|1837|1|9999|4|1|2|3|4\r\n"
                              "Invalid line in district file = "
                                      + line("Dover", "0|6|0|0|0", "18x0|1")}));
    }

    // Supplementary lines: quotes go, the name may hold a comma, and they are
    // kept whatever the period or format. Lines without a usable comma or
    // without a volume are reported and skipped; short lines are ignored.
    void supplementaryLineRules()
    {
        setPeriod(1911, 3, 1);
        script->answer("Ok");
        auto d = readTable(
                {line("Ashford", "0|5A|0|0|0")},
                {"\"Newport, Mon\",26", "Bath", ",5B", "Cardiff,", "ab", "  ", "  Dover,XIV  "});
        QVERIFY(d);
        QCOMPARE(table(*d, true),
                 (QStringList{"Ashford,5A:1", "Dover,XIV:3*", "Newport, Mon,26:2*"}));
        QCOMPARE(recordTexts(*script),
                 (QStringList{"box 16 Pelkar: 3 lines of the Supplementary District file are "
                              "invalid; the first 3:\r\n"
                              "Invalid line in Supplementary District file = Bath\r\n"
                              "Invalid line in Supplementary District file = ,5B\r\n"
                              "Invalid line in Supplementary District file (no volume number) = "
                              "Cardiff,"}));
    }

    // A damaged file (random bytes, one long line) is one message, never a
    // box for each line one after the other, nor one too long to read: the
    // first five lines, cut, and how many there are.
    void manyInvalidLinesAreOneReadableMessage()
    {
        setPeriod(1911, 3, 1);
        QStringList lines;
        const QString longLine = "Bath" + QString(5000, u'x');
        lines << longLine;
        for (int i = 1; i < 32; ++i)
            lines << QString("garbage line %1").arg(i);
        script->answer("Ok");
        auto d = readTable(lines);
        QVERIFY(d);
        QCOMPARE(recordTexts(*script),
                 (QStringList{"box 16 Pelkar: 32 lines of the district file are invalid; the first "
                              "5:\r\nInvalid line in district file = "
                              + longLine.left(120 - 32) + "...\r\n"
                              "Invalid line in district file = garbage line 1\r\n"
                              "Invalid line in district file = garbage line 2\r\n"
                              "Invalid line in district file = garbage line 3\r\n"
                              "Invalid line in district file = garbage line 4"}));
    }

    // Lines that could not be read stay in the file when it is rewritten:
    // only the transcriber decides what goes.
    void unreadableSupplementaryLinesSurviveARewrite()
    {
        setPeriod(1911, 3, 1);
        script->answer("Ok"); // one message for both lines
        auto d = readTable({line("Ashford", "0|5A|0|0|0")}, {"Bath", "Dover,5B", "Cardiff,"});
        QVERIFY(d);
        QString added = QStringLiteral("Eton,5C");
        QVERIFY(d->AddDistrict(added));
        QCOMPARE(readBytes(suppFile1()), QByteArray("Dover,5B\r\nEton,5C\r\nBath\r\nCardiff,\r\n"));
    }

    // A missing supplementary file is created empty; the table then holds
    // the district file's records only.
    void missingSupplementaryFileIsCreatedEmpty()
    {
        writeLines(districtFile(), {line("Ashford", "0|5A|0|0|0")});
        Districts d;
        QVERIFY(d.Read_Districts());
        QCOMPARE(table(d), QStringList{"Ashford,5A"});
        QCOMPARE(readBytes(suppFile1()), QByteArray());
        QCOMPARE(d.SuppFile(), suppFile1());
    }

    // The supplementary file of each range: its own setting, or the default
    // name in the files folder. Additions go to the same file the table was
    // read from.
    void supplementaryFileReadAndWrittenAlike_data()
    {
        QTest::addColumn<int>("year");
        QTest::addColumn<int>("quarter");
        QTest::addColumn<QString>("setting");
        QTest::addColumn<QString>("file");
        const auto row = [](const char *tag, int year, int quarter, const QString &setting,
                            const QString &file) {
            QTest::newRow(tag) << year << quarter << setting << file;
        };
        row("range-1-default", 1911, 3, "", "Files/Pelkar_Supp_Districts.txt");
        row("range-2-default", 1946, 3, "", "Files/Pelkar_Supp_Districts_1946.txt");
        row("range-3-default", 1965, 2, "", "Files/Pelkar_Supp_Districts_1965.txt");
        row("range-4-default", 1974, 2, "", "Files/Pelkar_Supp_Districts_1974.txt");
        row("range-2-own-setting", 1950, 1, "own/mine.txt", "own/mine.txt");
    }

    void supplementaryFileReadAndWrittenAlike()
    {
        QFETCH(int, year);
        QFETCH(int, quarter);
        QFETCH(QString, setting);
        QFETCH(QString, file);
        setPeriod(year, quarter, 1);
        const QString path = homePath("data/" + file);
        QVERIFY(QDir().mkpath(QFileInfo(path).path()));
        if (!setting.isEmpty())
            gProject->setSuppPath(gProject->iSuppRange(), homePath("data/" + setting));
        writeLines(districtFile(), {});
        writeLines(path, {"Bath,5C"});

        RecordingSuppMenu menu;
        Districts d;
        d.setSuppRangeMenu(&menu);
        QVERIFY(d.Read_Districts());
        QCOMPARE(menu.checked, QList<int>{gProject->iSuppRange()});
        QCOMPARE(table(d), QStringList{"Bath,5C"});
        QString added = "Ashford,5A";
        QVERIFY(d.AddDistrict(added));
        QCOMPARE(readBytes(path), QByteArray("Ashford,5A\r\nBath,5C\r\n"));
    }

    // The transcriber's additions and deletions rewrite the supplementary
    // file in table order, names with a comma in quotes, byte for byte.
    void supplementaryFileAfterAddAndDelete()
    {
        setPeriod(1911, 3, 1);
        QVERIFY(writeBytes(districtFile(),
                           readBytes(fixture("districts-supp-edit/Pelkar_Districts.txt"))));
        QVERIFY(writeBytes(suppFile1(), readBytes(fixture("districts-supp-edit/input.txt"))));
        Districts d;
        QVERIFY(d.Read_Districts());

        QString added = "  Axbridge ,5C";
        QVERIFY(d.AddDistrict(added));
        QCOMPARE(added, QString("Axbridge,5C"));
        added = "Ashby, de la Zouch,7a";
        QVERIFY(d.AddDistrict(added));
        QCOMPARE(readBytes(suppFile1()),
                 readBytes(fixture("districts-supp-edit/expected-after-add.txt")));
        QVERIFY(d.TestForDistrict("AXBRIDGE,5c"));

        // The user's Bath (the district file's copy was a duplicate), and a
        // district of the district file, which is not in the file anyway.
        QVERIFY(d.DeleteDistrict("Bath,5C"));
        QVERIFY(d.DeleteDistrict("Cardiff,11A"));
        QVERIFY(!d.TestForDistrict("Bath,5C"));
        QVERIFY(!d.TestForDistrict("Cardiff,11A"));
        QCOMPARE(readBytes(suppFile1()),
                 readBytes(fixture("districts-supp-edit/expected-after-delete.txt")));
    }

    // A district already there in any letter case is not added and nothing
    // is written; deleting compares exactly and reports whether it deleted.
    void addAndDeleteRefusals()
    {
        auto d = readTable({line("Ashford", "0|5A|0|0|0")}, {"Bath,5C"});
        QVERIFY(d);
        const QByteArray before = readBytes(suppFile1());
        QString text = "ASHFORD,5a";
        QVERIFY(!d->AddDistrict(text));
        QCOMPARE(text, QString("ASHFORD,5a"));
        text = "Bath ,5C";
        QVERIFY(!d->AddDistrict(text));
        QVERIFY(!d->DeleteDistrict("bath,5C"));
        QVERIFY(!d->DeleteDistrict("Bath"));
        QCOMPARE(readBytes(suppFile1()), before);
        QCOMPARE(table(*d), (QStringList{"Ashford,5A", "Bath,5C"}));
    }

    // Before any table is read there is no file to add to: rewriting one
    // then would lose the transcriber's districts.
    void addBeforeReadingChangesNothing()
    {
        writeLines(suppFile1(), {"Bath,5C"});
        Districts d;
        QString text = "Ashford,5A";
        QVERIFY(!d.AddDistrict(text));
        QVERIFY(!d.DeleteDistrict("Bath,5C"));
        QCOMPARE(readBytes(suppFile1()), QByteArray("Bath,5C\r\n"));
    }

    // A supplementary file that cannot be replaced keeps its old contents;
    // the transcriber is told (after a beep when beeping is on) and the
    // table keeps the addition.
    void failedSaveKeepsTheOldFile()
    {
        // A name so long that no temporary file can be made beside it.
        const QString path = homePath(QString(250, u'x') + ".txt");
        gProject->setSuppPath(1, path);
        gProject->setBeepit(true);
        writeLines(path, {"Bath,5C"});
        auto d = readTable({});
        QVERIFY(d);

        script->answer("Ok");
        QString text = "Ashford,5A";
        QVERIFY(d->AddDistrict(text));
        QCOMPARE(script->records().size(), 1);
        const MessageRecord &r = script->records()[0];
        const QString expected
                = "SaveDistricts, Unable to open Supplementary district file to save "
                  "your new District: "
                + path + " - ";
        QVERIFY2(r.prompt.startsWith(expected), qPrintable(r.prompt));
        QCOMPARE(r.style, 64);
        QCOMPARE(r.title, QString("Pelkar"));
        QCOMPARE(input().beeps, 1);
        QCOMPARE(readBytes(path), QByteArray("Bath,5C\r\n"));
        QVERIFY(d->TestForDistrict("Ashford,5A"));
    }

    // Exact duplicates leave one usable record, the user's when there is
    // one, however many copies there are; a difference in letter case keeps
    // both.
    void duplicatesKeepTheUsersRecord()
    {
        auto d = readTable({line("Ashford", "0|5A|0|0|0"), line("Ashford", "0|5A|0|0|0"),
                            line("ASHFORD", "0|5A|0|0|0"), line("Ashford", "0|5A|0|0|0"),
                            line("Bath", "0|5C|0|0|0"), line("Bath", "0|5C|0|0|0")},
                           {"Ashford,5A"});
        QVERIFY(d);
        QCOMPARE(table(*d, true), (QStringList{"ASHFORD,5A:1", "Ashford,5A:1*", "Bath,5C:1"}));
        int deleted = 0;
        for (const DistrictRecord &r : d->records()) {
            if (r.Deleted) {
                QCOMPARE(r.Name, QString("????????"));
                ++deleted;
            }
        }
        QCOMPARE(deleted, 4);
    }

    // The letter index points at each initial's first record; entry 27 is
    // the last index.
    void letterIndex()
    {
        auto d = readTable({line("bath", "0|5C|0|0|0"), line("Ashford", "0|5A|0|0|0"),
                            line("Zeals", "0|5D|0|0|0"), line("'s Gravesend", "0|5E|0|0|0"),
                            line("Barnet", "0|3A|0|0|0")});
        QVERIFY(d);
        QCOMPARE(
                table(*d),
                (QStringList{"'s Gravesend,5E", "Ashford,5A", "Barnet,3A", "bath,5C", "Zeals,5D"}));
        QCOMPARE(d->LetterIndex(1), 1);
        QCOMPARE(d->LetterIndex(2), 2);
        QCOMPARE(d->LetterIndex(3), -1);
        QCOMPARE(d->LetterIndex(26), 4);
        QCOMPARE(d->LetterIndex(27), 4);
    }

    // Every look-up by initial over a letter that has no record: nothing is
    // found or listed, wherever the letter would stand in the table, and a
    // district of that letter can then be added and found. (Reading before
    // the table's first record is what an address sanitizer catches.)
    void lookupsOverLetterWithoutRecords_data()
    {
        QTest::addColumn<QStringList>("districtLines");
        QTest::addColumn<QString>("district");
        const auto row = [](const char *tag, const QStringList &lines, const QString &district) {
            QTest::newRow(tag) << lines << district;
        };
        const QString ashford = line("Ashford", "0|5A|0|0|0");
        const QString bath = line("Bath", "0|5C|0|0|0");
        const QString dover = line("Dover", "0|5B|0|0|0");
        row("empty-table", {}, "Eton,5C");
        row("letter-between-others", {ashford, bath, dover}, "Crewe,5A");
        row("letter-before-the-first", {bath, dover}, "Ashford,5A");
        row("letter-after-the-last", {ashford, bath}, "Zeals,5A");
        row("only-names-without-a-letter", {line("(Old) Sarum", "0|5A|0|0|0")}, "Eton,5C");
        row("letter-whose-records-have-another-format", {line("Hackney", "0|12|0|0|0"), bath},
            "Hove,5A");
    }

    void lookupsOverLetterWithoutRecords()
    {
        QFETCH(QStringList, districtLines);
        QFETCH(QString, district);
        gProject->setDistPickStd(true);
        auto d = readTable(districtLines);
        QVERIFY(d);
        const DistrictParts parts = Districts::SplitDistrict(district);
        const int letter = parts.name.at(0).unicode() - u'A' + 1;
        const QString initial = parts.name.left(1);
        const QStringList typed = {initial,          initial.toLower(), parts.name.left(2),
                                   initial + "*",    initial + "~5",    parts.name + u','};

        QVERIFY(d->LetterRecords(letter).isEmpty());
        QCOMPARE(d->LetterIndex(letter), -1);
        QCOMPARE(d->FindDistrict(parts.name, parts.volume), -1);
        QVERIFY(!d->TestForDistrict(district));
        RecordingPickList pick(50);
        for (const QString &text : typed) {
            QCOMPARE(d->ListMatchingDistricts(text), 0);
            QCOMPARE(pick.texts, QStringList{});
        }

        QString added = district;
        QVERIFY(d->AddDistrict(added));
        const IndexRange range = d->LetterRecords(letter);
        QCOMPARE(range.to - range.from, 0);
        QCOMPARE(d->FindDistrict(parts.name.toUpper(), parts.volume.toLower()), range.from);
        QVERIFY(d->TestForDistrict(district));
        QCOMPARE(d->ListMatchingDistricts(parts.name.left(2)), 1);
        QCOMPARE(pick.texts, QStringList{district});
        QCOMPARE(readBytes(suppFile1()), district.toLatin1() + "\r\n");
    }

    // Numbers that are not letters have no records.
    void letterRecordsOutsideTheAlphabet()
    {
        auto d = readTable({line("Ashford", "0|5A|0|0|0"), line("Zeals", "0|5D|0|0|0")});
        QVERIFY(d);
        for (const int letter : {-1, 0, 27, 28}) {
            QVERIFY(d->LetterRecords(letter).isEmpty());
        }
        QCOMPARE(d->LetterRecords(1).from, 0);
        QCOMPARE(d->LetterRecords(1).to, 0);
        QCOMPARE(d->LetterRecords(26).from, 1);
        QCOMPARE(d->LetterRecords(26).to, 1);
    }

    // Reading again rebuilds the table for the header as it is now.
    void readingAgainFollowsTheHeader()
    {
        auto d = readTable({line("Ashford", "0|5A|0|0|0"), line("Bath", "0|12|0|0|0")});
        QVERIFY(d);
        QCOMPARE(table(*d), QStringList{"Ashford,5A"});
        gProject->setIVnf(2);
        QVERIFY(d->Read_Districts());
        QCOMPARE(table(*d), QStringList{"Bath,12"});
    }

    // Without a district file the program cannot go on: the transcriber is
    // told, the close-down is requested and the read reports failure.
    void missingDistrictFileClosesDown()
    {
        Districts d;
        script->answer("Ok");
        QVERIFY(!d.Read_Districts());
        QCOMPARE(script->records().size(), 1);
        const MessageRecord &r = script->records()[0];
        QVERIFY2(r.prompt.startsWith("Read_Districts, Unable to open your District File "
                                     + districtFile() + " - "),
                 qPrintable(r.prompt));
        QCOMPARE(r.style, 64);
        QCOMPARE(r.title, QString("Pelkar"));
        QCOMPARE(mCloseDowns, QStringList{"515 Pelkar.xxxx: Unable to find District file"});
    }

    void supplementaryFileThatCannotBeCreatedClosesDown()
    {
        const QString path = homePath("no/such/folder/supp.txt");
        gProject->setSuppPath(1, path);
        writeLines(districtFile(), {line("Ashford", "0|5A|0|0|0")});
        Districts d;
        script->answer("Ok");
        QVERIFY(!d.Read_Districts());
        QCOMPARE(script->records().size(), 1);
        QVERIFY2(script->records()[0].prompt.startsWith(
                         "Read_Districts, Unable to open your Supplementary District File " + path
                         + " - "),
                 qPrintable(script->records()[0].prompt));
        QCOMPARE(script->records()[0].style, 64);
        QCOMPARE(mCloseDowns, QStringList{"516 Pelkar: Unable to find Supp District File"});
        // Nothing can be added to a table that was not read whole.
        QString text = "Bath,5C";
        QVERIFY(!d.AddDistrict(text));
    }

    // Creating the table brings the district file over from OriginalFiles
    // when the files folder has none, and leaves everyone else's open files
    // alone.
    void creationCopiesTheOriginalAndClosesNothing()
    {
        const QString original = homePath("data/OriginalFiles/Pelkar_Districts.txt");
        QVERIFY(QDir().mkpath(QFileInfo(original).path()));
        writeLines(original, {line("Ashford", "0|5A|0|0|0")});
        QFile other(homePath("other.txt"));
        QVERIFY(other.open(QIODevice::ReadWrite));

        Districts d;
        QVERIFY(other.isOpen());
        QCOMPARE(other.write("still open"), 10);
        QCOMPARE(readBytes(districtFile()), readBytes(original));
        QVERIFY(d.Read_Districts());
        QCOMPARE(table(d), QStringList{"Ashford,5A"});
    }

    // The recent-district lists survive release and re-creation, stored per
    // user as nine texts each followed by character 8.
    void recentDistrictsRoundTrip()
    {
        const QStringList texts
                = {"Ashford,5A",  "Axbridge,5C", "Alton,2A",   "Acle,4B",   "Aylsham,4B",
                   "Alnwick,10B", "Amersham,3A", "Andover,2C", "Arundel,2B"};
        {
            Districts d;
            for (auto it = texts.crbegin(); it != texts.crend(); ++it)
                d.Propose(*it);
            d.Propose("Bath,5C");
        }
        const QString bs(QChar(8));
        QCOMPARE(GetUserSetting("Pelkar", "DistrictMRU", "A"), texts.join(bs) + bs);
        QCOMPARE(GetUserSetting("Pelkar", "DistrictMRU", "B"), "Bath,5C" + bs.repeated(9));
        QCOMPARE(GetUserSetting("Pelkar", "DistrictMRU", "Z"), bs.repeated(9));

        Districts again;
        for (int p = 1; p <= 9; ++p)
            QCOMPARE(again.DistrictMRU(1, p), texts[p - 1]);
        QCOMPARE(again.DistrictMRU(2, 1), QString("Bath,5C"));
        QCOMPARE(again.DistrictMRU(2, 2), QString());
    }

    // Values written elsewhere: fewer than nine texts, or no value at all.
    void recentDistrictsFromShortValues()
    {
        const QString bs(QChar(8));
        SaveUserSetting("Pelkar", "DistrictMRU", "C",
                        "Cardiff,11A" + bs + "Crewe,8A" + bs + "ignored");
        Districts d;
        QCOMPARE(d.DistrictMRU(3, 1), QString("Cardiff,11A"));
        QCOMPARE(d.DistrictMRU(3, 2), QString("Crewe,8A"));
        QCOMPARE(d.DistrictMRU(3, 3), QString());
        QCOMPARE(d.DistrictMRU(4, 1), QString());
    }
};

PELKAR_TEST(tst_Districts)
#include "tst_Districts.moc"
