#include "PelkarTest.h"
#include "TestFiles.h"

#include "core/Services.h"
#include "core/SettingsFileStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>

using namespace TestFiles;

namespace {



// A settings file as a hand-edited one may look: headers and keys in other
// cases, a key indented, blanks around a value, a value holding "=".
const QByteArray kSample = "[Startup]\r\n"
                           "DataPath=/data\r\n"
                           "Spaced=  two blanks both sides  \r\n"
                           "Empty=\r\n"
                           "  Indented=hidden\r\n"
                           "[options]\r\n"
                           "PickRows=12\r\n"
                           "Other=a=b\r\n"
                           "[Web] the upload host\r\n"
                           "WebSite=www.quorvel.example\r\n";

} // namespace

class SettingsFileStoreTest : public PelkarTest
{
    Q_OBJECT

protected:
    void setUpCase() override
    {
        ClearIniStore();
        mSample = homePath("Pelkar.ini");
        QVERIFY(writeBytes(mSample, kSample));
    }

    void tearDownCase() override { ClearIniStore(); }

    QString mSample;

    void expectSaveError()
    {
        QCOMPARE(script->records().size(), 1);
        const MessageRecord &r = script->records().constFirst();
        QCOMPARE(r.kind, QStringLiteral("box"));
        QVERIFY2(r.prompt.startsWith("Error in SaveiniFile ")
                     && r.prompt.size() > QStringLiteral("Error in SaveiniFile ").size(),
                 qPrintable(r.prompt));
        QCOMPARE(r.style, int(Mb::Critical));
        QCOMPARE(r.title, QStringLiteral("Pelkar"));
    }

private slots:
    void read_data()
    {
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("expected");

        QTest::newRow("plain-key") << "Startup" << "DataPath" << "/data";
        QTest::newRow("missing-section-gives-default") << "Fonts" << "DataPath" << "default";
        QTest::newRow("key-only-in-another-section") << "Startup" << "PickRows" << "default";
        QTest::newRow("key-search-stops-at-next-header") << "options" << "WebSite" << "default";
        // Found as the next run finds it once a save has taken its blanks off.
        QTest::newRow("indented-key-found") << "Startup" << "Indented" << "hidden";
        QTest::newRow("lower-case-header-found") << "Options" << "PickRows" << "12";
        QTest::newRow("key-in-any-case") << "STARTUP" << "datapath" << "/data";
        QTest::newRow("asked-key-trimmed") << "Startup" << "  DataPath " << "/data";
        QTest::newRow("key-prefix-is-no-match") << "Startup" << "Data" << "default";
        QTest::newRow("value-blanks-kept") << "Startup" << "Spaced" << "  two blanks both sides  ";
        QTest::newRow("empty-value-is-not-default") << "Startup" << "Empty" << "";
        QTest::newRow("value-after-first-equals") << "Options" << "Other" << "a=b";
        QTest::newRow("text-after-header-bracket") << "Web" << "WebSite" << "www.quorvel.example";
    }

    void read()
    {
        QFETCH(QString, section);
        QFETCH(QString, key);
        QFETCH(QString, expected);
        bool ok = false;
        const QString value = GetProfileString(mSample, section, key, "default", &ok);
        QVERIFY(ok);
        QCOMPARE(value, expected);
    }

    void write_data()
    {
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QStringList>("expected");

        QTest::newRow("existing-key-replaced-in-place")
            << "a" << " A " << " v " << QStringList{"[A]", "A= v ", "[B]", "b=1"};
        QTest::newRow("new-key-ends-its-section")
            << "A" << "new" << "v" << QStringList{"[A]", "a=1", "new=v", "[B]", "b=1"};
        QTest::newRow("new-key-in-last-section-appended")
            << "B" << "new" << "v" << QStringList{"[A]", "a=1", "[B]", "b=1", "new=v"};
        QTest::newRow("new-section-appended")
            << "C" << "c" << "3" << QStringList{"[A]", "a=1", "[B]", "b=1", "[C]", "c=3"};
    }

    void write()
    {
        QFETCH(QString, section);
        QFETCH(QString, key);
        QFETCH(QString, value);
        QFETCH(QStringList, expected);
        const QString path = homePath("small.ini");
        QVERIFY(writeBytes(path, "[A]\r\na=1\r\n[B]\r\nb=1\r\n"));
        QVERIFY(OpenINI(path));
        WriteProfileString(path, section, key, value);
        QCOMPARE(HeldIniLines(), expected);
        QCOMPARE(GetProfileString(path, section, key, "default"), value);
        // Writing touches only the held lines.
        QCOMPARE(readBytes(path), QByteArray("[A]\r\na=1\r\n[B]\r\nb=1\r\n"));
    }

    // A line break in what is written would become lines of the file of
    // its own (a key read by the next start): nothing of it is written.
    void lineBreaksNeverWritten_data()
    {
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("value");

        QTest::newRow("cr-in-value") << "A" << "a" << "45\rSuppFile1=/some/path";
        QTest::newRow("lf-in-value") << "A" << "new" << "x\n[B]";
        QTest::newRow("crlf-in-key") << "B" << "b\r\nc" << "1";
        QTest::newRow("lf-in-section") << "C\nD" << "c" << "3";
    }

    void lineBreaksNeverWritten()
    {
        QFETCH(QString, section);
        QFETCH(QString, key);
        QFETCH(QString, value);
        const QString path = homePath("small.ini");
        QVERIFY(writeBytes(path, "[A]\r\na=1\r\n[B]\r\nb=1\r\n"));
        QVERIFY(OpenINI(path));
        WriteProfileString(path, section, key, value);
        QCOMPARE(HeldIniLines(), (QStringList{"[A]", "a=1", "[B]", "b=1"}));
        QVERIFY(SaveiniFile(path));
        QCOMPARE(readBytes(path), QByteArray(" \r\n[A]\r\na=1\r\n \r\n[B]\r\nb=1\r\n"));
    }

    // Writing before anything was read starts a store of its own, which the
    // next read then uses instead of loading the file.
    void writeToEmptyStore()
    {
        WriteProfileString(mSample, "Startup", "DataPath", "/elsewhere");
        QCOMPARE(HeldIniLines(), (QStringList{"[Startup]", "DataPath=/elsewhere"}));
        QCOMPARE(GetProfileString(mSample, "Startup", "Spaced", "default"), QString("default"));
    }

    void writeSection_data()
    {
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("firstLine");
        QTest::addColumn<QByteArray>("expected");

        QTest::newRow("missing-section-with-first-line")
            << "Ruler" << "Visible=1" << QByteArray(" \r\n[A]\r\na=1\r\n \r\n[Ruler]\r\nVisible=1\r\n");
        QTest::newRow("missing-section-without-first-line")
            << "Ruler" << "" << QByteArray(" \r\n[A]\r\na=1\r\n \r\n[Ruler]\r\n");
        QTest::newRow("existing-section-only-saved")
            << "a" << "a=2" << QByteArray(" \r\n[A]\r\na=1\r\n");
    }

    void writeSection()
    {
        QFETCH(QString, section);
        QFETCH(QString, firstLine);
        QFETCH(QByteArray, expected);
        const QString path = homePath("section.ini");
        QVERIFY(writeBytes(path, "[A]\r\na=1\r\n"));
        QVERIFY(OpenINI(path));
        QVERIFY(WriteProfileSection(section, firstLine, path));
        QCOMPARE(readBytes(path), expected);
    }

    // Saving sets a one-space line before each header and takes the blanks
    // off the front of every line; loading the saved file drops the space
    // lines again, so a second save gives the same bytes.
    void saveGolden()
    {
        const QString input = fixture("settings-store-save/input.txt");
        const QByteArray expected = readBytes(fixture("settings-store-save/expected.txt"));
        const QString oddBytes = QString::fromUtf16(u"Name=Caf\u00e9 \u20ac \u0081\u008d\u008f\u0090\u009d ");
        QVERIFY(OpenINI(input));
        QCOMPARE(HeldIniLines(),
                 (QStringList{"[Startup]", "DataPath=/home/anne/Pelkar_Files",
                              "Indented=kept with its blanks  ",
                              "; a note the program does not know", "[forms]", "Top=100", oddBytes,
                              "[Web] the upload host",
                              "Last=no line ending"}));
        const QString out = homePath("saved.ini");
        QVERIFY(SaveiniFile(out));
        QCOMPARE(readBytes(out), expected);

        QVERIFY(OpenINI(out));
        QCOMPARE(HeldIniLines(),
                 (QStringList{"[Startup]", "DataPath=/home/anne/Pelkar_Files",
                              "Indented=kept with its blanks  ",
                              "; a note the program does not know", "[forms]", "Top=100", oddBytes,
                              "[Web] the upload host",
                              "Last=no line ending"}));
        QVERIFY(SaveiniFile(out));
        QCOMPARE(readBytes(out), expected);
    }

    // The settings file holds the upload password: a new one is the user's
    // alone; one the user has given a mode of their own keeps it.
    void savedFileMode_data()
    {
        QTest::addColumn<int>("before"); // 0: no file yet
        QTest::addColumn<int>("after");
        QTest::newRow("new-file-owner-only") << 0 << 0600;
        QTest::newRow("existing-group-readable-kept") << 0640 << 0640;
        QTest::newRow("existing-world-readable-kept") << 0644 << 0644;
    }

    void savedFileMode()
    {
        QFETCH(int, before);
        QFETCH(int, after);
        const QString path = homePath("Pelkarini.txt");
        if (before) {
            QVERIFY(writeBytes(path, "[Startup]\r\n"));
            QVERIFY(::chmod(QFile::encodeName(path).constData(), mode_t(before)) == 0);
        }
        QVERIFY(OpenINI(fixture("settings-store-save/input.txt")));
        QVERIFY(SaveiniFile(path));
        struct stat info {};
        QVERIFY(::stat(QFile::encodeName(path).constData(), &info) == 0);
        QCOMPARE(int(info.st_mode & 0777), after);
    }

    // A hand-indented line reads in this run as it will in the next, after
    // a save has taken its blanks off: what this run writes is read back.
    void indentedLinesReadAsTheNextRunReadsThem_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::newRow("indented-header") << QByteArray("[Forms]\r\nTop=1\r\n  [Other]\r\nX=1\r\n");
        QTest::newRow("indented-key") << QByteArray("[Forms]\r\n  Left=old\r\nTop=1\r\n");
    }
    void indentedLinesReadAsTheNextRunReadsThem()
    {
        QFETCH(QByteArray, file);
        const QString path = homePath("indented.ini");
        QVERIFY(writeBytes(path, file));
        QVERIFY(OpenINI(path));
        WriteProfileString(path, "Forms", "Left", "new");
        QVERIFY(SaveiniFile(path));
        ClearIniStore();
        QCOMPARE(GetProfileString(path, "Forms", "Left", "default"), QString("new"));
    }

    void windows1252RoundTrip()
    {
        const QString path = homePath("cp.ini");
        QVERIFY(writeBytes(path, "[Names]\r\nPlace=Caf\xe9 \x80\r\n"));
        QCOMPARE(GetProfileString(path, "Names", "Place", QString()),
                 QString::fromUtf16(u"Caf\u00e9 \u20ac"));
        WriteProfileString(path, "Names", "Other", QString::fromUtf16(u"\u20ac\u00e9"));
        QVERIFY(SaveiniFile(path));
        QCOMPARE(readBytes(path), QByteArray(" \r\n[Names]\r\nPlace=Caf\xe9 \x80\r\nOther=\x80\xe9\r\n"));
    }

    void firstFileStaysLoaded()
    {
        const QString other = homePath("other.ini");
        QVERIFY(writeBytes(other, "[Startup]\r\nDataPath=/other\r\n"));
        QCOMPARE(GetProfileString(mSample, "Startup", "DataPath", QString()), QString("/data"));
        QCOMPARE(GetProfileString(other, "Startup", "DataPath", QString()), QString("/data"));
    }

    void blankOnlyFileLoadsAgain()
    {
        const QString path = homePath("blank.ini");
        QVERIFY(writeBytes(path, "\r\n   \r\n\n\r"));
        bool ok = false;
        QCOMPARE(GetProfileString(path, "Startup", "DataPath", "default", &ok), QString("default"));
        QVERIFY(ok);
        QVERIFY(HeldIniLines().isEmpty());

        QVERIFY(writeBytes(path, "[Startup]\r\nDataPath=/now\r\n"));
        QCOMPARE(GetProfileString(path, "Startup", "DataPath", "default"), QString("/now"));
    }

    // The caller reports an unreadable file; the store itself says nothing.
    void unreadableFile()
    {
        const QString missing = homePath("missing.ini");
        bool ok = true;
        QCOMPARE(GetProfileString(missing, "Startup", "DataPath", "default", &ok), QString());
        QVERIFY(!ok);
        QVERIFY(HeldIniLines().isEmpty());
        QVERIFY(script->records().isEmpty());

        QVERIFY(OpenINI(mSample));
        QVERIFY(!OpenINI(missing));
        QVERIFY(HeldIniLines().isEmpty());
    }

    void saveFails_data()
    {
        QTest::addColumn<QString>("target");

        QTest::newRow("target-is-a-folder") << "folder.ini";
        QTest::newRow("folder-missing") << "nofolder/Pelkar.ini";
    }

    void saveFails()
    {
        QFETCH(QString, target);
        QVERIFY(QDir(home()).mkpath("folder.ini"));
        QVERIFY(writeBytes(homePath("folder.ini/keep.txt"), "keep"));
        QVERIFY(OpenINI(mSample));
        script->answer("Ok");
        QVERIFY(!SaveiniFile(homePath(target)));
        expectSaveError();
        QVERIFY(QFileInfo(homePath("folder.ini")).isDir());
        QCOMPARE(readBytes(homePath("folder.ini/keep.txt")), QByteArray("keep"));
        QVERIFY(!QFileInfo::exists(homePath("nofolder")));
    }

    // A write cut short, as on a full disk, leaves the old file as it was.
    void interruptedSaveKeepsOldFile()
    {
        QVERIFY(OpenINI(mSample));
        for (int i = 0; i < 200; ++i)
            WriteProfileString(mSample, "Big", QString("Key%1").arg(i), QString(40, 'x'));
        script->answer("Ok");
        bool saved = true;
        {
            FileSizeLimit limit(kSample.size() + 16);
            saved = SaveiniFile(mSample);
        }
        QVERIFY(!saved);
        expectSaveError();
        QCOMPARE(readBytes(mSample), kSample);
        const QStringList left = QDir(home()).entryList(QDir::Files);
        QCOMPARE(left, QStringList{"Pelkar.ini"});
    }
};

PELKAR_TEST(SettingsFileStoreTest)
#include "tst_SettingsFileStore.moc"
