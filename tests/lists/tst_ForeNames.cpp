#include "PelkarTest.h"
#include "RecordingPickList.h"
#include "TestFiles.h"

#include "core/CloseDownRequest.h"
#include "core/Cp1252.h"
#include "core/Globals.h"
#include "core/LineReader.h"
#include "core/PatternHelpers.h"
#include "core/Project.h"
#include "lists/ForeNames.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <csignal>
#include <fcntl.h>
#include <sys/resource.h>

using namespace TestFiles;

namespace {

// A forename file as the program writes it: a head line, most-common names
// (one of them empty, one also an ordinary name), and more "JO" names than
// the pick list holds.
const QStringList kListFile = {
    QStringLiteral(" Pelkar forename list"),
    QString(),
    QStringLiteral("@John"),
    QStringLiteral("@Mary"),
    QStringLiteral("@"),
    QStringLiteral("@William"),
    QStringLiteral("@Elizabeth"),
    QString(),
    QStringLiteral("Ada"), QStringLiteral("Agnes"), QStringLiteral("Albert"),
    QStringLiteral("Alice"), QStringLiteral("Amy"), QStringLiteral("Ann"), QStringLiteral("Anne"),
    QString(),
    QStringLiteral("Jack"), QStringLiteral("Jane"), QStringLiteral("Jessie"),
    QStringLiteral("Joan"), QStringLiteral("Joanna"), QStringLiteral("Job"),
    QStringLiteral("Jocelyn"), QStringLiteral("Joel"), QStringLiteral("Johanna"),
    QStringLiteral("John"), QStringLiteral("Jonah"), QStringLiteral("Jonas"),
    QStringLiteral("Jonathan"), QStringLiteral("Joseph"), QStringLiteral("Josephine"),
    QStringLiteral("Joshua"), QStringLiteral("Josiah"), QStringLiteral("Joyce"),
    QStringLiteral("Julia"),
    QString(),
    QStringLiteral("Margaret"), QStringLiteral("Martha"), QStringLiteral("Mary"),
    QStringLiteral("Mary-Ann"), QStringLiteral("Matthew"),
    QString(),
    QStringLiteral("Walter"),
    QString(),
    QStringLiteral("\u00C9lise"),
};
} // namespace

// Set-up shared by the forename tests: a project whose files folder and
// original-files folder are inside the test's home.
class ForeNamesTestBase : public PelkarTest
{
    Q_OBJECT

protected:
    void setUpCase() override
    {
        ProgramObjects::createEvents();
        ProgramObjects::createProject();
        gProject->setDataPath(home());
        gProject->setFilesPath(homePath("Files"));
        gProject->setPickRows(9);
        gProject->setForenameCase("M");
        QVERIFY(QDir(home()).mkpath("Files"));
        QVERIFY(QDir(home()).mkpath("OriginalFiles"));
        SetCloseDownHandler([this](int errNo, const QString &title, const QString &text) {
            closeDowns.append(QString::number(errNo) + u'|' + title + u'|' + text);
        });
    }

    void tearDownCase() override { SetCloseDownHandler({}); }

    QString nameFile() const { return QDir(gProject->GetFilePath()).filePath("Pelkar_Name2.txt"); }
    QString originalFile(const QString &name) const
    {
        return QDir(gProject->GetOriginalFilesPath()).filePath(name);
    }

    void writeNameFile(const QStringList &lines) { QVERIFY(writeBytes(nameFile(), JoinCrLf(lines))); }

    QStringList closeDowns;
};

class ForeNamesFileTest : public ForeNamesTestBase
{
    Q_OBJECT

private slots:
    // The file is rewritten byte for byte: head lines, one empty line, the
    // "@" lines, then the names with an empty line before each new initial.
    // The rewritten file reads back to the same table.
    void rewriteAfterChange_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<bool>("add");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("stored");

        QTest::newRow("add-joins-its-initial") << "forenames-add-same-initial" << true << "Jonah"
                                               << "Jonah";
        QTest::newRow("add-new-initial-gets-empty-line")
            << "forenames-add-new-initial" << true << "Quentin" << "Quentin";
        QTest::newRow("add-stores-trimmed-name")
            << "forenames-add-trimmed" << true << "  Ursula " << "Ursula";
        QTest::newRow("delete-in-any-case") << "forenames-delete" << false << "jESSIE" << "Jessie";
        QTest::newRow("delete-last-of-initial-drops-its-empty-line")
            << "forenames-delete-last-of-initial" << false << "PERCY" << "Percy";
        QTest::newRow("hand-edited-file-sorted-and-regrouped")
            << "forenames-hand-edited" << true << "Abel" << "Abel";
    }

    void rewriteAfterChange()
    {
        QFETCH(QString, folder);
        QFETCH(bool, add);
        QFETCH(QString, name);
        QFETCH(QString, stored);

        QVERIFY(writeBytes(nameFile(), readBytes(fixture(folder + "/input.txt"))));
        const QByteArray expected = readBytes(fixture(folder + "/expected.txt"));
        {
            ForeNames names;
            if (add) {
                QCOMPARE(names.AddName(name), stored);
            } else {
                QVERIFY(names.TestForName(stored));
                names.DeleteName(name);
            }
            QCOMPARE(names.TestForName(stored), add);
            QCOMPARE(readBytes(nameFile()), expected);
        }

        // Read back, the change is still there, and a rewrite of what was
        // read changes no byte.
        ForeNames again;
        QCOMPARE(again.TestForName(stored), add);
        QCOMPARE(again.AddName("Xavier"), QString("Xavier"));
        again.DeleteName("Xavier");
        QCOMPARE(readBytes(nameFile()), expected);
        QVERIFY(closeDowns.isEmpty());
    }

    void headAndMostCommonNamesAsRead()
    {
        writeNameFile(kListFile);
        ForeNames names;
        QCOMPARE(names.TopCount(), 5);
        QCOMPARE(names.Topn(1), QString("John"));
        QCOMPARE(names.Topn(3), QString());
        QCOMPARE(names.Topn(5), QString("Elizabeth"));
        QCOMPARE(names.Topn(0), QString());
        QCOMPARE(names.Topn(6), QString());
        // The head line and the most-common names are not forenames.
        QCOMPARE(names.NameCount(), 33);
        QVERIFY(!names.ListAllForenames().contains("Elizabeth"));
        QVERIFY(!names.ListAllForenames().contains(" Pelkar forename list"));
    }

    void tooManyMostCommonNames()
    {
        QStringList lines;
        for (int i = 1; i <= 1000; ++i)
            lines.append("@Name" + QString::number(i));
        lines.append("Zachary");
        writeNameFile(lines);

        script->answer("Ok");
        ForeNames names;
        QCOMPARE(script->records().size(), 1);
        const MessageRecord &r = script->records().constFirst();
        QCOMPARE(r.prompt,
                 QString("Forenames Init, Too many Most Common (@) names found - 1st 999 only used"));
        QCOMPARE(r.style, int(Mb::Exclamation));
        QCOMPARE(r.title, QString("Pelkar"));
        QCOMPARE(names.TopCount(), 999);
        QCOMPARE(names.Topn(999), QString("Name999"));
        QVERIFY(!names.TestForName("Name1000"));

        // The dropped name is gone from the file at the next write.
        QCOMPARE(names.AddName("Abel"), QString("Abel"));
        const QString written = QString::fromLatin1(readBytes(nameFile()));
        QVERIFY(written.contains("\r\n@Name999\r\n"));
        QVERIFY(!written.contains("@Name1000"));
    }

    void missingFileStopsTheRun()
    {
        script->answer("Ok");
        ForeNames names;
        QCOMPARE(script->records().size(), 1);
        const MessageRecord &r = script->records().constFirst();
        QCOMPARE(r.prompt, "Forenames Init, Unable to find your Name File " + nameFile()
                               + " No such file or directory");
        QCOMPARE(r.style, int(Mb::Information));
        QCOMPARE(r.title, QString("Pelkar"));
        QCOMPARE(closeDowns, QStringList{"518|Pelkar|Unable to open Name File"});
        QCOMPARE(names.NameCount(), 0);
        QVERIFY(!names.TestForName("John"));
    }

    // Where the forename file comes from when the files folder has none.
    // Each candidate holds its own name, so the copy shows which one won.
    void createdFrom_data()
    {
        QTest::addColumn<QStringList>("present");
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QString>("source");

        const QString files2 = "Files/Pelkar_Name2.txt";
        const QString files1 = "Files/Pelkar_Name.txt";
        const QString orig1 = "OriginalFiles/Pelkar_Name.txt";
        const QString orig2 = "OriginalFiles/Pelkar_Name2.txt";
        const QString sibling = "Lumivark/ZELname2.txt";

        QTest::newRow("existing-file-kept")
            << QStringList{files2, orig1, sibling} << "" << files2;
        QTest::newRow("shipped-file-first") << QStringList{orig1, orig2} << "" << orig1;
        QTest::newRow("shipped-second-file-when-first-missing")
            << QStringList{orig2} << "" << orig2;
        QTest::newRow("files-folder-older-name") << QStringList{files1} << "" << files1;
        QTest::newRow("sibling-file-imported-on-yes")
            << QStringList{sibling, orig1} << "Yes" << sibling;
        QTest::newRow("sibling-file-declined-takes-shipped")
            << QStringList{sibling, orig1} << "No" << orig1;
    }

    void createdFrom()
    {
        QFETCH(QStringList, present);
        QFETCH(QString, answer);
        QFETCH(QString, source);

        QVERIFY(QDir(home()).mkpath("Lumivark"));
        for (const QString &file : present) {
            const QString name = "From" + QString(file).remove(u'/').remove(u'.').remove(u'_');
            QVERIFY(writeBytes(homePath(file), "@Mary\r\n\r\n" + name.toLatin1() + "\r\n"));
        }
        if (!answer.isEmpty())
            script->answer(answer);

        ForeNames names;
        QCOMPARE(readBytes(nameFile()), readBytes(homePath(source)));
        if (answer.isEmpty()) {
            QVERIFY(script->records().isEmpty());
        } else {
            QCOMPARE(script->records().size(), 1);
            const MessageRecord &r = script->records().constFirst();
            QCOMPARE(r.prompt, QString("Would you like to import your Lumivark Forename file?"));
            QCOMPARE(r.style, int(Mb::YesNo | Mb::Question));
            QCOMPARE(r.title, QString("Pelkar"));
        }
        QCOMPARE(names.NameCount(), 1);
        QVERIFY(names.TestForName("Mary"));
        QCOMPARE(QFileInfo(QDir::currentPath()).canonicalFilePath(),
                 QFileInfo(gProject->GetFilePath()).canonicalFilePath());
    }

    void failedWriteKeepsOldFile()
    {
        writeNameFile(kListFile);
        const QByteArray before = readBytes(nameFile());
        gProject->setBeepit(true);
        ForeNames names;
        {
            FileSizeLimit limit(64);
            script->answer("Ok");
            QCOMPARE(names.AddName("Zachary"), QString("Zachary"));
        }
        QCOMPARE(input().beeps, 1);
        // Told, and why: the name is gone at the next start otherwise.
        QCOMPARE(script->records().size(), 1);
        QCOMPARE(script->records().at(0).prompt,
                 "Zachary could not be added to your Forenames file:\r\n" + nameFile()
                     + "\r\nFile too large\r\nThe change holds only until Pelkar closes.");
        QCOMPARE(script->records().at(0).style, int(Mb::Exclamation));
        QCOMPARE(readBytes(nameFile()), before);
        QCOMPARE(QDir(gProject->GetFilePath()).entryList(QDir::Files),
                 QStringList{"Pelkar_Name2.txt"});

        // The table kept the name, and the next write that succeeds has it.
        QVERIFY(names.TestForName("zachary"));
        names.DeleteName("Walter");
        ForeNames again;
        QVERIFY(again.TestForName("Zachary"));
        QVERIFY(!again.TestForName("Walter"));
        QCOMPARE(input().beeps, 1);
    }

    void failedWriteSilentWithoutBeepOption()
    {
        writeNameFile(kListFile);
        gProject->setBeepit(false);
        ForeNames names;
        FileSizeLimit limit(64);
        script->answer("Ok");
        names.DeleteName("Walter");
        QCOMPARE(input().beeps, 0);
        QCOMPARE(script->records().size(), 1);
        QCOMPARE(script->records().at(0).prompt,
                 "Walter could not be removed from your Forenames file:\r\n" + nameFile()
                     + "\r\nFile too large\r\nThe change holds only until Pelkar closes.");
    }

    // Reading the list must not close what others hold open.
    void creationLeavesOtherFilesOpen()
    {
        writeNameFile(kListFile);
        QFile other(homePath("other.txt"));
        QVERIFY(other.open(QIODevice::WriteOnly));
        QVERIFY(other.write("before ") == 7);
        QVERIFY(other.flush());

        ForeNames names;
        QVERIFY(names.AddName("Zachary") == "Zachary");

        QVERIFY(fcntl(other.handle(), F_GETFD) != -1);
        QVERIFY(other.write("after") == 5);
        QVERIFY(other.flush());
        other.close();
        QCOMPARE(readBytes(homePath("other.txt")), QByteArray("before after"));
    }
};

class ForeNamesListTest : public ForeNamesTestBase
{
    Q_OBJECT

protected:
    void setUpCase() override
    {
        ForeNamesTestBase::setUpCase();
        writeNameFile(kListFile);
    }

private slots:
    void matching_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("rows");
        QTest::addColumn<QStringList>("listed");
        QTest::addColumn<int>("count");

        const QStringList firstNineJo = {"Joan", "Joanna", "Job", "Jocelyn", "Joel",
                                         "Johanna", "John", "Jonah", "Jonas"};
        const QStringList top = {"John", "Mary", "William", "Elizabeth"};

        QTest::newRow("jo-stops-at-row-limit") << "jo" << 9 << firstNineJo << 9;
        QTest::newRow("row-limit-from-PickRows") << "jo" << 3 << firstNineJo.mid(0, 3) << 3;
        QTest::newRow("typed-text-trimmed") << "  mary-a " << 9 << QStringList{"Mary-Ann"} << 1;
        QTest::newRow("hyphen-outside-list-literal")
            << "mary-" << 9 << QStringList{"Mary-Ann"} << 1;
        QTest::newRow("underscore-one-character")
            << "j_n" << 9 << QStringList{"Jane", "Jonah", "Jonas", "Jonathan"} << 4;
        QTest::newRow("question-mark-one-character")
            << "m?r" << 9 << QStringList{"Margaret", "Martha", "Mary", "Mary-Ann"} << 4;
        QTest::newRow("star-any-run")
            << "a*e" << 9 << QStringList{"Agnes", "Albert", "Alice", "Anne"} << 4;
        QTest::newRow("list-first-searches-whole-table")
            << "[jm]ar" << 9 << QStringList{"Margaret", "Martha", "Mary", "Mary-Ann"} << 4;
        QTest::newRow("hyphen-in-list-is-range")
            << "jo[a-c]" << 9 << QStringList{"Joan", "Joanna", "Job", "Jocelyn"} << 4;
        QTest::newRow("negated-range")
            << "jo[!a-h]" << 9
            << QStringList{"Jonah", "Jonas", "Jonathan", "Joseph", "Josephine", "Joshua",
                           "Josiah", "Joyce"}
            << 8;
        QTest::newRow("open-list-closed-for-typist")
            << "jo[ab" << 9 << QStringList{"Joan", "Joanna", "Job"} << 3;
        QTest::newRow("hash-one-digit") << "jo#" << 9 << QStringList{} << 0;
        QTest::newRow("star-lists-from-table-start")
            << "*" << 9
            << QStringList{"Ada", "Agnes", "Albert", "Alice", "Amy", "Ann", "Anne", "Jack", "Jane"}
            << 9;
        QTest::newRow("accented-initial") << "\u00E9l" << 9 << QStringList{"\u00C9lise"} << 1;
        QTest::newRow("letter-without-names") << "q" << 9 << QStringList{} << 0;
        QTest::newRow("letter-between-letters-without-names")
            << "bo" << 9 << QStringList{} << 0;
        QTest::newRow("letter-after-the-last-without-names") << "z*" << 9 << QStringList{} << 0;
        // A wildcard first searches the whole table, in table order.
        QTest::newRow("leading-star-ending")
            << "*nna" << 9 << QStringList{"Joanna", "Johanna"} << 2;
        QTest::newRow("leading-star-rare-ending-lists-nothing")
            << "*ardx" << 9 << QStringList{} << 0;
        QTest::newRow("leading-star-letters-apart")
            << "*a*h" << 9 << QStringList{"Jonah", "Jonathan", "Josiah", "Martha", "Matthew"}
            << 5;
        QTest::newRow("leading-star-across-hyphen") << "*y-a" << 9 << QStringList{"Mary-Ann"} << 1;
        QTest::newRow("leading-question-mark") << "?ohn" << 9 << QStringList{"John"} << 1;
        QTest::newRow("leading-star-accented") << "*\u00e9l" << 9 << QStringList{"\u00C9lise"} << 1;
        QTest::newRow("leading-star-digit") << "*#" << 9 << QStringList{} << 0;
        QTest::newRow("leading-star-list")
            << "*[xy]" << 9 << QStringList{"Amy", "Jocelyn", "Joyce", "Mary", "Mary-Ann"} << 5;
        QTest::newRow("leading-star-long-names")
            << "*?????????" << 9 << QStringList{"Josephine"} << 1;
        QTest::newRow("leading-star-stops-at-row-limit")
            << "*a" << 3 << QStringList{"Ada", "Agnes", "Albert"} << 3;
        QTest::newRow("most-common-only-name-not-matched") << "eliz" << 9 << QStringList{} << 0;
        QTest::newRow("unreadable-unclosed-list") << "A]B[" << 9 << QStringList{} << 0;
        QTest::newRow("unreadable-reversed-range") << "[Z-A]" << 9 << QStringList{} << 0;
        QTest::newRow("nothing-typed-lists-most-common") << "" << 9 << top << 5;
        QTest::newRow("question-mark-alone-lists-most-common") << "?" << 9 << top << 5;
        QTest::newRow("underscore-alone-lists-most-common") << "_" << 9 << top << 5;
        QTest::newRow("most-common-within-row-limit") << "?" << 2 << top.mid(0, 2) << 5;
    }

    void matching()
    {
        QFETCH(QString, typed);
        QFETCH(int, rows);
        QFETCH(QStringList, listed);
        QFETCH(int, count);

        gProject->setPickRows(rows);
        ForeNames names;
        RecordingPickList pick(rows);
        pick.texts = {"left from before"};
        QCOMPARE(names.ListMatchingNames("Mary", typed), count);
        QCOMPARE(pick.texts, listed);
        QVERIFY(pick.clears >= 1);
    }

    // With a wildcard first, exactly the names a plain scan of the table
    // would list, in table order, for many patterns.
    void leadingWildcardListsAsAPlainScan()
    {
        QStringList file = kListFile;
        file << "" << "Ann2" << "D'Arcy" << "Zo\u00EB" << "Rose+Ann";
        writeNameFile(file);
        gProject->setPickRows(99);
        ForeNames names;
        const QStringList all = names.ListAllForenames();
        QStringList patterns = {"*#", "*2", "*'a", "*+", "*[0-9]", "*[!a-z]", "*\u00EB",
                                "*??????", "*a?a", "*[a-c]?n"};
        for (char a = 'a'; a <= 'z'; ++a) {
            for (const char b : {'a', 'e', 'h', 'n', 'r', 'y'}) {
                patterns << QStringLiteral("*%1%2").arg(a).arg(b);
                patterns << QStringLiteral("*%1?%2").arg(a).arg(b);
            }
        }
        RecordingPickList pick(99);
        for (const QString &pattern : std::as_const(patterns)) {
            QStringList expected;
            for (const QString &name : all) {
                if (TextLike(name, pattern + u'*'))
                    expected << name;
            }
            QCOMPARE(names.ListMatchingNames(QString(), pattern), expected.size());
            QVERIFY2(pick.texts == expected, qPrintable(pattern));
        }
    }

    void topNames()
    {
        ForeNames names;
        RecordingPickList pick;
        pick.texts = {"left from before"};
        names.ListTopNames();
        QCOMPARE(pick.texts, (QStringList{"John", "Mary", "William", "Elizabeth"}));
    }

    void allForenamesForEditor()
    {
        ForeNames names;
        const QStringList all = names.ListAllForenames();
        QCOMPARE(all.size(), 33);
        QCOMPARE(all.first(), QString("Ada"));
        QCOMPARE(all.last(), QString("\u00C9lise"));
        QVERIFY(all.contains("John"));
        names.DeleteName("john");
        QVERIFY(!names.ListAllForenames().contains("John"));
        // Still a most-common name.
        QVERIFY(names.TestForName("John"));
    }

    void testForName_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("found");

        QTest::newRow("known") << "Jonah" << true;
        QTest::newRow("any-letter-case") << "jONAH" << true;
        QTest::newRow("first-of-table") << "ada" << true;
        QTest::newRow("last-of-table") << "\u00E9lise" << true;
        QTest::newRow("most-common-only") << "elizabeth" << true;
        QTest::newRow("prefix-is-not-the-name") << "Jon" << false;
        QTest::newRow("longer-than-a-name") << "Johnny" << false;
        QTest::newRow("unknown") << "Zachary" << false;
        QTest::newRow("empty") << "" << false;
        QTest::newRow("leading-blank") << " Jonah" << false;
        QTest::newRow("head-line-is-not-a-name") << " Pelkar forename list" << false;
        QTest::newRow("at-sign-alone") << "@" << false;
    }

    void testForName()
    {
        QFETCH(QString, name);
        QFETCH(bool, found);
        ForeNames names;
        QCOMPARE(names.TestForName(name), found);
    }

    void addName_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("stored");

        QTest::newRow("new-name") << "Zachary" << "Zachary";
        QTest::newRow("new-name-trimmed") << "  Zachary  " << "Zachary";
        QTest::newRow("lower-case-kept") << "zachary" << "zachary";
        QTest::newRow("known-in-other-case") << "JONAH" << "";
        QTest::newRow("known-after-trimming") << " jonah " << "";
        QTest::newRow("most-common-in-any-case") << "eLIZABETH" << "";
        QTest::newRow("empty") << "" << "";
        QTest::newRow("blanks-only") << "   " << "";
        QTest::newRow("at-sign-led") << "@Zed" << "";
        QTest::newRow("outside-code-page") << "\u0174yn" << "";
    }

    void addName()
    {
        QFETCH(QString, name);
        QFETCH(QString, stored);
        const QByteArray before = readBytes(nameFile());

        ForeNames names;
        RecordingPickList pick;
        QCOMPARE(names.AddName(name), stored);
        if (stored.isEmpty()) {
            QCOMPARE(readBytes(nameFile()), before);
            QCOMPARE(names.NameCount(), 33);
            return;
        }
        QCOMPARE(names.NameCount(), 34);
        QCOMPARE(names.ListMatchingNames(QString(), "za"), 1);
        QCOMPARE(pick.texts, QStringList{stored});
        QVERIFY(readBytes(nameFile()).endsWith("\r\n\r\n" + stored.toLatin1() + "\r\n\r\n\xC9lise\r\n"));
    }

    void deleteName()
    {
        ForeNames names;
        RecordingPickList pick;
        names.DeleteName("JONAH");
        QVERIFY(!names.TestForName("Jonah"));
        names.ListMatchingNames(QString(), "jon");
        QCOMPARE(pick.texts, (QStringList{"Jonas", "Jonathan"}));
        QVERIFY(!readBytes(nameFile()).contains("Jonah"));

        // Unknown names, most-common names and head lines are left alone.
        const QByteArray after = readBytes(nameFile());
        for (const QString &name : QStringList{"Zachary", "Elizabeth", " Pelkar forename list", ""})
            names.DeleteName(name);
        QCOMPARE(readBytes(nameFile()), after);
        QVERIFY(names.TestForName("Elizabeth"));
    }
};

class ForeNamesCaseTest : public ForeNamesTestBase
{
    Q_OBJECT

protected:
    void setUpCase() override
    {
        ForeNamesTestBase::setUpCase();
        writeNameFile(kListFile);
    }

private slots:
    // The whole text cased from its first character, as the box does after
    // a paste or on leaving the cell.
    void wholeText_data()
    {
        QTest::addColumn<QString>("mode");
        QTest::addColumn<bool>("shift");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");

        QTest::newRow("M-hyphen-apostrophe-blank")
            << "M" << false << "mary-ann o'brien" << "Mary-Ann O'Brien";
        QTest::newRow("M-shouted-text-lowered") << "M" << false << "JOHN HENRY" << "John Henry";
        QTest::newRow("M-after-full-stop-and-comma") << "M" << false << "j.r,smith" << "J.R,Smith";
        QTest::newRow("M-accented-letters") << "M" << false << "\u00E9LISE" << "\u00C9lise";
        QTest::newRow("M-shift-ignored")
            << "M" << true << "mary-ann o'brien" << "Mary-Ann O'Brien";
        QTest::newRow("U") << "U" << false << "mary-Ann" << "MARY-ANN";
        QTest::newRow("U-shift-ignored") << "U" << true << "mary-Ann" << "MARY-ANN";
        QTest::newRow("L") << "L" << false << "MARY Ann" << "mary ann";
        QTest::newRow("L-shift-ignored") << "L" << true << "MARY Ann" << "mary ann";
        QTest::newRow("D-leaves-text") << "D" << false << "mARY ann" << "mARY ann";
        QTest::newRow("D-shift-leaves-text") << "D" << true << "mARY ann" << "mARY ann";
        QTest::newRow("unknown-mode-leaves-text") << "X" << false << "mARY ann" << "mARY ann";
        QTest::newRow("female-marker-kept") << "M" << false << "(female)" << "(female)";
        QTest::newRow("male-marker-kept") << "U" << false << "(MaLe)" << "(MaLe)";
        QTest::newRow("female-with-name-is-cased")
            << "M" << false << "(female) mary" << "(female) Mary";
    }

    void wholeText()
    {
        QFETCH(QString, mode);
        QFETCH(bool, shift);
        QFETCH(QString, text);
        QFETCH(QString, expected);

        gProject->setForenameCase(mode);
        input().shift = shift;
        ForeNames names;
        QCOMPARE(names.FormatForeName(text, true, 1), expected);
        QCOMPARE(names.FormatForeName(text), expected);
    }

    // One character cased where it was typed.
    void typedCharacter_data()
    {
        QTest::addColumn<bool>("shift");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("position");
        QTest::addColumn<QString>("expected");

        QTest::newRow("after-hyphen-capital") << false << "Mary-o" << 6 << "Mary-O";
        QTest::newRow("after-apostrophe-capital") << false << "O'b" << 3 << "O'B";
        QTest::newRow("after-blank-capital") << false << "Mary a" << 6 << "Mary A";
        QTest::newRow("inside-word-small") << false << "MarY" << 4 << "Mary";
        QTest::newRow("first-character-capital") << false << "m" << 1 << "M";
        QTest::newRow("shift-after-hyphen-small") << true << "Mary-O" << 6 << "Mary-o";
        QTest::newRow("shift-inside-word-capital") << true << "Mary" << 4 << "MarY";
        QTest::newRow("only-that-character") << false << "mARY-o" << 6 << "mARY-O";
        QTest::newRow("position-zero-unchanged") << false << "mARY" << 0 << "mARY";
        QTest::newRow("position-past-end-unchanged") << false << "mARY" << 5 << "mARY";
    }

    void typedCharacter()
    {
        QFETCH(bool, shift);
        QFETCH(QString, text);
        QFETCH(int, position);
        QFETCH(QString, expected);

        input().shift = shift;
        ForeNames names;
        QCOMPARE(names.FormatForeName(text, false, position), expected);
    }

    void wholeFromPosition()
    {
        ForeNames names;
        QCOMPARE(names.FormatForeName("MARY ANN", true, 3), QString("MAry Ann"));
    }

    void invertCase_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");

        QTest::newRow("mixed") << "Mary-Ann O'Brien" << "mARY-aNN o'bRIEN";
        QTest::newRow("accented-and-digits") << "Zo\u00EB 3" << "zO\u00CB 3";
        QTest::newRow("empty") << "" << "";
    }

    void invertCase()
    {
        QFETCH(QString, text);
        QFETCH(QString, expected);
        QCOMPARE(ForeNames::InvertCase(text), expected);
        QCOMPARE(ForeNames::InvertCase(expected), text);
    }
};

PELKAR_TEST(ForeNamesFileTest)
PELKAR_TEST(ForeNamesListTest)
PELKAR_TEST(ForeNamesCaseTest)

#include "tst_ForeNames.moc"
