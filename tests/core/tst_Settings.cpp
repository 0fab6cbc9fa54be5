// The settings file as Project loads and saves it: the bytes of a new file,
// of a file written by hand or by earlier versions, every key's reading, and
// saves that fail.

#include "PelkarTest.h"
#include "TestFiles.h"

#include "core/FormRegistry.h"
#include "core/Globals.h"
#include "core/Project.h"
#include "core/SettingsFileStore.h"
#include "core/UserSettings.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>

#include <functional>
#include <map>

using namespace TestFiles;

namespace {

const QString kApp = QStringLiteral("Pelkar");




// All six widths of a layout (ColWidth reads the current one).
QString joinWidths(Project &p, int columns)
{
    p.setColType(columns);
    QStringList widths;
    for (int col = 0; col < 6; ++col)
        widths << QString::number(p.ColWidth(col));
    return widths.join(':');
}

// A property's value as text, for the load table.
QString propertyText(Project &project, const QString &name)
{
    static const std::map<QString, std::function<QString(Project &)>> map = {
        {"AutoTab", [](const Project &p) { return QVariant(p.AutoTab()).toString(); }},
        {"Beepit", [](const Project &p) { return QVariant(p.Beepit()).toString(); }},
        {"SurnameCase", [](const Project &p) { return p.SurnameCase(); }},
        {"ForenameCase", [](const Project &p) { return p.ForenameCase(); }},
        {"DistrictUpper", [](const Project &p) { return QVariant(p.DistrictUpper()).toString(); }},
        {"DistrictLower", [](const Project &p) { return QVariant(p.DistrictLower()).toString(); }},
        {"DistrictName", [](const Project &p) { return QVariant(p.DistrictName()).toString(); }},
        {"DistPickStd", [](const Project &p) { return QVariant(p.DistPickStd()).toString(); }},
        {"ColWidths5", [](Project &p) { return joinWidths(p, 5); }},
        {"ColWidths6", [](Project &p) { return joinWidths(p, 6); }},
        {"NotUsedChars",
         [](const Project &p) {
             QStringList codes;
             for (int c : p.NotUsedChars())
                 codes << QString::number(c);
             return codes.join(',');
         }},
        {"IsCharUsed208", [](const Project &p) { return QVariant(p.IsCharUsed(208)).toString(); }},
        {"IsCharUsed222", [](const Project &p) { return QVariant(p.IsCharUsed(222)).toString(); }},
        {"PickRows", [](const Project &p) { return QString::number(p.PickRows()); }},
        {"CPHeight", [](const Project &p) { return QString::number(p.CPHeight()); }},
        {"FontSize", [](const Project &p) { return QString::number(p.FontSize()); }},
        {"FontColour", [](const Project &p) { return QString::number(p.FontColour()); }},
        {"iYear", [](const Project &p) { return QString::number(p.iYear()); }},
        {"RuleJumpDistance",
         [](const Project &p) { return QString::number(p.RuleJumpDistance()); }},
        {"Rotation", [](const Project &p) { return QString::number(p.Rotation()); }},
        {"Zoom", [](const Project &p) { return QString::number(p.Zoom()); }},
        {"Form1left", [](const Project &p) { return QString::number(p.Form1left()); }},
        {"Form1Top", [](const Project &p) { return QString::number(p.Form1Top()); }},
        {"Form1Height", [](const Project &p) { return QString::number(p.Form1Height()); }},
        {"Pickleft", [](const Project &p) { return QString::number(p.Pickleft()); }},
        {"Picktop", [](const Project &p) { return QString::number(p.Picktop()); }},
        {"BatchStarted", [](const Project &p) { return p.BatchStarted().toString(Qt::ISODate); }},
        {"BatchName", [](const Project &p) { return p.BatchName(); }},
        {"FilesPath", [](const Project &p) { return p.FilesPath(); }},
        {"SuppPath1", [](const Project &p) { return p.SuppPath(1); }},
        {"SuppPath2", [](const Project &p) { return p.SuppPath(2); }},
        {"SuppPath3", [](const Project &p) { return p.SuppPath(3); }},
        {"sPing", [](const Project &p) { return p.sPing(); }},
        {"DoBQtr", [](const Project &p) { return QString::number(p.DoBQtr()); }},
        {"MomsQtr", [](const Project &p) { return QString::number(p.MomsQtr()); }},
        {"SpouseQtr", [](const Project &p) { return QString::number(p.SpouseQtr()); }},
        {"RowNumbering", [](const Project &p) { return p.RowNumbering(); }},
    };
    const auto it = map.find(name);
    return it == map.end() ? QStringLiteral("<no such property %1>").arg(name)
                           : it->second(project);
}

QString loadError(int number, const char *description, int line)
{
    return QStringLiteral("Error %1 (%2) in procedure GetRegistryValues, Line %3")
        .arg(number)
        .arg(QString::fromLatin1(description))
        .arg(line);
}

} // namespace

class tst_Settings : public PelkarTest
{
    Q_OBJECT

protected:
    void setUpCase() override
    {
        // The store holds one file for the whole run; each test starts a run.
        ClearIniStore();
        ProgramObjects::createEvents();
        ProgramObjects::createProject();
        QVERIFY(QDir().mkpath(dataFolder()));
        gProject->setDataPath(dataFolder());
        mLocale = QLocale();
    }

    void tearDownCase() override
    {
        ClearIniStore();
        QLocale::setDefault(mLocale);
    }

private:
    QLocale mLocale;

    QString dataFolder() const { return homePath("data"); }
    QString settingsFile() const { return QDir(dataFolder()).filePath("Pelkarini.txt"); }
    QString oldSettingsFile() const { return QDir(dataFolder()).filePath("Pelkar.ini"); }

    // The program's and the data folder's paths differ from run to run;
    // the expected files name them by placeholder.
    QByteArray expectedBytes(const QString &relative) const
    {
        QByteArray bytes = readBytes(fixture(relative));
        bytes.replace("@PROGRAM@", QCoreApplication::applicationDirPath().toUtf8());
        bytes.replace("@DATA@", dataFolder().toUtf8());
        return bytes;
    }

    // Loads the text (lines joined with CR LF) as the settings file; one
    // "Ok" is queued for each message expected.
    void loadFrom(const QString &text, int messages = 0)
    {
        QByteArray bytes = text.toLatin1();
        bytes.replace("\n", "\r\n");
        QVERIFY(writeBytes(settingsFile(), bytes));
        for (int i = 0; i < messages; ++i)
            script->answer("Ok");
        QVERIFY(gProject->Setup());
    }

    QStringList prompts() const
    {
        QStringList out;
        for (const MessageRecord &r : script->records())
            out << r.prompt;
        return out;
    }

private slots:
    void freshDataFolder()
    {
        QVERIFY(gProject->Setup());
        QCOMPARE(readBytes(settingsFile()), readBytes(fixture("settings-fresh/created.txt")));
        QCOMPARE(gProject->iYear(), 1837);
        QCOMPARE(gProject->Batchnumber(), 1);
        QCOMPARE(gProject->PickRows(), 9);
        QCOMPARE(gProject->Port(), 80);
        QCOMPARE(gProject->BatchStarted(), QDate(2026, 3, 14));
        QVERIFY(gProject->DistValidate());
        QVERIFY(gProject->PageValidate());

        QObject form1;
        RegisterForm(&form1, "Form1");
        QVERIFY(gProject->SetRegistryValues());
        const QByteArray expected = expectedBytes("settings-fresh/expected.txt");
        QCOMPARE(readBytes(settingsFile()), expected);

        // Saving an unchanged file changes nothing, and neither does a
        // whole new run's load and save.
        QVERIFY(gProject->SetRegistryValues());
        QCOMPARE(readBytes(settingsFile()), expected);
        ClearIniStore();
        ProgramObjects::createProject();
        gProject->setDataPath(dataFolder());
        QVERIFY(gProject->Setup());
        QVERIFY(gProject->SetRegistryValues());
        QCOMPARE(readBytes(settingsFile()), expected);
    }

    // A file holding every key at a value other than its default comes
    // back byte for byte: every key is both loaded and saved.
    void everyKeyRoundTrips()
    {
        const QByteArray input = expectedBytes("settings-every-key/input.txt");
        QVERIFY(writeBytes(settingsFile(), input));
        QVERIFY(gProject->Setup());
        QObject form1;
        RegisterForm(&form1, "Form1");
        QVERIFY(gProject->SetRegistryValues());
        QCOMPARE(readBytes(settingsFile()), input);
    }

    // Keys in other cases are normalised, unknown keys and sections stay
    // where they stood, missing sections are added in the order of the
    // save, and values that cannot be read are reported and replaced.
    void existingFileIsNormalised()
    {
        QVERIFY(writeBytes(settingsFile(), readBytes(fixture("settings-existing/input.txt"))));
        script->answer(QStringList{"Ok", "Ok"});
        QVERIFY(gProject->Setup());
        QCOMPARE(prompts(), (QStringList{loadError(13, "Type mismatch", 60),
                                         loadError(6, "Overflow", 83)}));
        QCOMPARE(gProject->BatchName(), QString("1911B3A0123.ZEL"));

        QObject form1;
        RegisterForm(&form1, "Form1");
        QVERIFY(gProject->SetRegistryValues());
        QCOMPARE(readBytes(settingsFile()), expectedBytes("settings-existing/expected.txt"));
    }

    void loadedValues_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QStringList>("expected");  // property=value
        QTest::addColumn<QStringList>("messages");  // the prompts, in order
        QTest::addColumn<QString>("savedLine");     // a line the next save writes

        const QStringList none;
        QTest::newRow("autotab-lower-case-y-is-false")
            << "[Options]\nAutoTab=y" << QStringList{"AutoTab=false"} << none << "AutoTab=N";
        QTest::newRow("autotab-upper-case-Y-is-true")
            << "[Options]\nAutoTab=Y" << QStringList{"AutoTab=true"} << none << "AutoTab=Y";
        QTest::newRow("yn-word-yes-is-false")
            << "[Options]\nBeep=Yes" << QStringList{"Beepit=false"} << none << "Beep=N";
        QTest::newRow("allcaps-Y-is-U")
            << "[Options]\nAllCaps=Y" << QStringList{"SurnameCase=U"} << none << "AllCaps=U";
        QTest::newRow("allcaps-N-is-M")
            << "[Options]\nAllCaps=N" << QStringList{"SurnameCase=M"} << none << "AllCaps=M";
        QTest::newRow("allcaps-lower-l-kept-saved-upper")
            << "[Options]\nAllCaps=l" << QStringList{"SurnameCase=l"} << none << "AllCaps=L";
        QTest::newRow("capforename-lower-reads-upper")
            << "[Options]\nCapForename=l" << QStringList{"ForenameCase=L"} << none
            << "CapForename=L";
        QTest::newRow("district-all-N-gives-name-case")
            << "[Options]\nDistUpCase=N\nDistLowCase=N\nDistLeaveCase=N\nDistNameCase=N"
            << QStringList{"DistrictName=true", "DistrictUpper=false"} << none
            << "DistNameCase=Y";
        QTest::newRow("district-upper-and-name-both-stay")
            << "[Options]\nDistUpCase=Y\nDistNameCase=Y"
            << QStringList{"DistrictUpper=true", "DistrictName=true"} << none << "DistUpCase=Y";
        QTest::newRow("district-lower-alone")
            << "[Options]\nDistLowCase=Y"
            << QStringList{"DistrictLower=true", "DistrictName=false"} << none
            << "DistNameCase=N";
        QTest::newRow("colwidth5-single-number-zeroes-column-1")
            << "[Forms]\nColWidth5=3000"
            << QStringList{"ColWidths5=0:0:0:0:0:0", "ColWidths6=225:2205:2205:840:3030:765"}
            << none << "ColWidth5=0:0:0:0:0";
        QTest::newRow("colwidth6-empty-zeroes-column-1")
            << "[Forms]\nColWidth6=" << QStringList{"ColWidths6=0:0:0:0:0:0"} << none
            << "ColWidth6=0:0:0:0:0:0";
        QTest::newRow("colwidth5-parts-beyond-six-dropped")
            << "[Forms]\nColWidth5=1:2:3:4:5:6:7" << QStringList{"ColWidths5=1:2:3:4:5:6"}
            << none << "ColWidth5=1:2:3:4:5";
        QTest::newRow("colwidth5-letters-take-the-default")
            << "[Forms]\nColWidth5=1:x:3"
            << QStringList{"ColWidths5=225:2205:3510:3600:1245:0"}
            << QStringList{loadError(13, "Type mismatch", 84)}
            << "ColWidth5=225:2205:3510:3600:1245";
        QTest::newRow("notusedchars-unreadable-parts-are-0")
            << "[Forms]\nNotUsedChars=208,,x,215"
            << QStringList{"NotUsedChars=208,0,0,215", "IsCharUsed208=false", "IsCharUsed222=true"}
            << none << "NotUsedChars=208,0,0,215";
        QTest::newRow("pickrows-letters-default-and-load-goes-on")
            << "[Picklist]\nPickRows=abc\n[Forms]\nCPHeight=77"
            << QStringList{"PickRows=9", "CPHeight=77"}
            << QStringList{loadError(13, "Type mismatch", 60)} << "PickRows=9";
        QTest::newRow("pickrows-empty")
            << "[Picklist]\nPickRows=" << QStringList{"PickRows=9"}
            << QStringList{loadError(13, "Type mismatch", 60)} << "PickRows=9";
        QTest::newRow("pickrows-too-large-for-16-bits")
            << "[Picklist]\nPickRows=40000" << QStringList{"PickRows=9"}
            << QStringList{loadError(6, "Overflow", 60)} << "PickRows=9";
        QTest::newRow("pickrows-blanks-around")
            << "[Picklist]\nPickRows= 12 " << QStringList{"PickRows=12"} << none << "PickRows=12";
        QTest::newRow("pickrows-half-rounds-to-even")
            << "[Picklist]\nPickRows=10.5" << QStringList{"PickRows=10"} << none << "PickRows=10";
        QTest::newRow("fontsize-leading-number")
            << "[Fonts]\nFontSize=12ab" << QStringList{"FontSize=12"} << none << "FontSize=12";
        QTest::newRow("fontsize-letters-only-is-0")
            << "[Fonts]\nFontSize=ab" << QStringList{"FontSize=0"} << none << "FontSize=0";
        QTest::newRow("forecolour-hexadecimal")
            << "[Fonts]\nForeColour=&HFF8080" << QStringList{"FontColour=16744576"} << none
            << "ForeColour=16744576";
        QTest::newRow("batchyear-too-large-for-16-bits")
            << "[Batch]\nBatchYear=99999" << QStringList{"iYear=1837"}
            << QStringList{loadError(6, "Overflow", 101)} << "BatchYear=1837";
        QTest::newRow("rulejump-decimal-comma")
            << "[Ruler]\nRuleJump=1,5" << QStringList{"RuleJumpDistance=1.5"} << none
            << "RuleJump=1.5";
        QTest::newRow("rulejump-decimal-point")
            << "[Ruler]\nRuleJump=0.25" << QStringList{"RuleJumpDistance=0.25"} << none
            << "RuleJump=0.25";
        QTest::newRow("rotate-single-written-short")
            << "[Forms]\nRotate=0.1" << QStringList{"Rotation=0.1"} << none << "Rotate=0.1";
        QTest::newRow("scanzoom-stored-without-bounds")
            << "[Forms]\nScanZoom=250" << QStringList{"Zoom=250"} << none << "ScanZoom=250";
        QTest::newRow("f1left-off-screen-read-back-unbounded")
            << "[Forms]\nF1Left=30000" << QStringList{"Form1left=30000"} << none
            << "F1Left=30000";
        QTest::newRow("f1-negative-height-kept-top-read-as-0")
            << "[Forms]\nF1Height=-50\nF1Top=-50"
            << QStringList{"Form1Height=-50", "Form1Top=0"} << none << "F1Top=-50";
        QTest::newRow("picktop-off-screen-reads-0-saved-as-stored")
            << "[Picklist]\nPickTop=16150" << QStringList{"Picktop=0"} << none
            << "PickTop=16150";
        QTest::newRow("pickleft-default-half-the-screen")
            << "[Startup]" << QStringList{"Pickleft=14400"} << none << "PickLeft=14400";
        QTest::newRow("batchstarted-missing-is-today")
            << "[Startup]" << QStringList{"BatchStarted=2026-03-14"} << none
            << "BatchStarted=14/Mar/2026";
        QTest::newRow("batchstarted-english-month")
            << "[Batch]\nBatchStarted=3/Jan/2025" << QStringList{"BatchStarted=2025-01-03"}
            << none << "BatchStarted=3/Jan/2025";
        QTest::newRow("batchstarted-unreadable-is-today")
            << "[Batch]\nBatchStarted=soon" << QStringList{"BatchStarted=2026-03-14"}
            << QStringList{loadError(13, "Type mismatch", 105)} << "BatchStarted=14/Mar/2026";
        QTest::newRow("batch-batchname-supersedes-startup")
            << "[Startup]\nBatchName=A.ZEL\n[Batch]\nBatchname=B.ZEL"
            << QStringList{"BatchName=B.ZEL"} << none << "BatchName=B.ZEL";
        QTest::newRow("startup-batchname-alone-loads-empty")
            << "[Startup]\nBatchName=A.ZEL" << QStringList{"BatchName="} << none << "BatchName=";
        QTest::newRow("files-folder-blank-is-data-files")
            << "[Files]\nFilesFolderpath=   "
            << QStringList{"FilesPath=@DATA@/Files",
                           "SuppPath1=@DATA@/Files/Pelkar_Supp_Districts.txt"}
            << none << "FilesFolderpath=@DATA@/Files";
        QTest::newRow("files-folder-builds-the-supp-defaults")
            << "[Files]\nFilesFolderpath= /srv/pelkar "
            << QStringList{"FilesPath=/srv/pelkar",
                           "SuppPath2=/srv/pelkar/Pelkar_Supp_Districts_1946.txt"}
            << none << "SuppFile2=/srv/pelkar/Pelkar_Supp_Districts_1946.txt";
        QTest::newRow("supp-file-trimmed")
            << "[Files]\nSuppFile3=  /x/y.txt  " << QStringList{"SuppPath3=/x/y.txt"} << none
            << "SuppFile3=/x/y.txt";
        QTest::newRow("ping-former-check-host-replaced")
            << "[Web]\nPing=HTTP://Check.Quorvel.Example/ping"
            << QStringList{"sPing=www.quorvel.example"} << none << "Ping=www.quorvel.example";
        QTest::newRow("ping-other-host-kept-and-saved-trimmed")
            << "[Web]\nPing= other.example " << QStringList{"sPing= other.example "} << none
            << "Ping=other.example";
        QTest::newRow("quarter-defaults")
            << "[Startup]" << QStringList{"DoBQtr=2", "MomsQtr=3", "SpouseQtr=1"} << none << "MomQtr=3";
        QTest::newRow("rownumbering-2-is-D")
            << "[Options]\nRowNumbering=2" << QStringList{"RowNumbering=D"} << none
            << "RowNumbering=2";
        QTest::newRow("rownumbering-unknown-code-is-empty")
            << "[Options]\nRowNumbering=7" << QStringList{"RowNumbering="} << none
            << "RowNumbering=7";
        QTest::newRow("stdpicklist-N")
            << "[Picklist]\nStdPicklist=N" << QStringList{"DistPickStd=false"} << none
            << "StdPicklist=N";
    }

    void loadedValues()
    {
        QFETCH(QString, file);
        QFETCH(QStringList, expected);
        QFETCH(QStringList, messages);
        QFETCH(QString, savedLine);

        loadFrom(file, int(messages.size()));
        QCOMPARE(prompts(), messages);
        for (const MessageRecord &r : script->records()) {
            QCOMPARE(r.title, QString("Pelkar"));
            QCOMPARE(r.style, 0);
        }
        for (QString check : expected) {
            check.replace("@DATA@", dataFolder());
            const qsizetype eq = check.indexOf('=');
            QCOMPARE(check.left(eq) + '=' + propertyText(*gProject, check.left(eq)), check);
        }

        QObject form1;
        RegisterForm(&form1, "Form1");
        QVERIFY(gProject->SetRegistryValues());
        savedLine.replace("@DATA@", dataFolder());
        const QByteArray saved = readBytes(settingsFile());
        QVERIFY2(saved.contains("\r\n" + savedLine.toLatin1() + "\r\n"), saved.constData());
    }

    // A second load (after the migration) changes only column 1 when the
    // width list is a single number; the other widths stay as they were.
    void singleWidthKeepsTheOtherColumnsOfAnEarlierLoad()
    {
        loadFrom("[Forms]\nColWidth5=100:200:300:400:500");
        ClearIniStore();
        QVERIFY(writeBytes(settingsFile(), "[Forms]\r\nColWidth5=3000\r\n"));
        QVERIFY(gProject->GetRegistryValues());
        QCOMPARE(propertyText(*gProject, "ColWidths5"), QString("100:0:300:400:500:0"));
    }

    // Written by this program in a locale with a decimal comma and German
    // month names, the numbers and dates still use the point and English.
    void numbersAndDatesIgnoreTheLocale()
    {
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        loadFrom("[Ruler]\nRuleJump=2.5\n[Batch]\nBatchStarted=3/Mar/2025");
        QCOMPARE(gProject->RuleJumpDistance(), 2.5);
        QCOMPARE(gProject->BatchStarted(), QDate(2025, 3, 3));
        gProject->setRotation(12.75f);
        QVERIFY(gProject->SetRegistryValues());
        const QByteArray saved = readBytes(settingsFile());
        QVERIFY(saved.contains("\r\nRuleJump=2.5\r\n"));
        QVERIFY(saved.contains("\r\nRotate=12.75\r\n"));
        QVERIFY(saved.contains("\r\nBatchStarted=3/Mar/2025\r\n"));
        QVERIFY(saved.contains("\r\nBatchModified=14/Mar/2026\r\n"));
    }

    void onlyTheOldFileIsReadThenReplaced()
    {
        const QByteArray old = "[Picklist]\r\nPickRows=12\r\n[Custom]\r\nX=1\r\n";
        QVERIFY(writeBytes(oldSettingsFile(), old));
        QVERIFY(gProject->Setup());
        QCOMPARE(gProject->PickRows(), 12);
        QVERIFY(!QFileInfo::exists(settingsFile()));
        QCOMPARE(readBytes(oldSettingsFile()), old);

        QVERIFY(gProject->SetRegistryValues());
        QVERIFY(!QFileInfo::exists(oldSettingsFile()));
        const QByteArray saved = readBytes(settingsFile());
        QVERIFY(saved.contains("\r\nPickRows=12\r\n"));
        QVERIFY(saved.contains("\r\n[Custom]\r\nX=1\r\n"));
    }

    void bothFilesPresentReadsTheNewOneAndDeletesTheOld()
    {
        QVERIFY(writeBytes(oldSettingsFile(), "[Picklist]\r\nPickRows=12\r\n"));
        QVERIFY(writeBytes(settingsFile(), "[Picklist]\r\nPickRows=5\r\n"));
        QVERIFY(gProject->Setup());
        QCOMPARE(gProject->PickRows(), 5);
        QVERIFY(QFileInfo::exists(oldSettingsFile()));
        QVERIFY(gProject->SetRegistryValues());
        QVERIFY(!QFileInfo::exists(oldSettingsFile()));
    }

    void damagedFileIsKeptAndReplacedByTheDefaults_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("old"); // the file has the older name

        QByteArray random;
        for (int i = 0; i < 600; ++i)
            random.append(char((i * 151 + 7) % 251 + 1));
        QByteArray utf16("\xff\xfe", 2);
        for (const char c : QByteArray("[Picklist]\r\nPickRows=12\r\n"))
            utf16.append(c).append('\0');

        QTest::newRow("empty") << QByteArray() << false;
        QTest::newRow("blank-lines-only") << QByteArray("\r\n  \r\n") << false;
        QTest::newRow("random-bytes") << random << false;
        QTest::newRow("cut-inside-a-line")
            << QByteArray("[Picklist]\r\nPickRows=12\r\n[Options]\r\nAutoT") << false;
        QTest::newRow("utf-16") << utf16 << false;
        QTest::newRow("older-file-cut") << QByteArray("[Picklist]\r\nPickRo") << true;
    }

    // A settings file that no save could have written: the defaults take
    // its place and the transcriber is told, and the file is kept aside
    // rather than overwritten at the next save.
    void damagedFileIsKeptAndReplacedByTheDefaults()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, old);
        const QString damaged = old ? oldSettingsFile() : settingsFile();
        const QString kept = QDir(dataFolder()).filePath("Pelkarini.bad");
        QVERIFY(writeBytes(damaged, bytes));

        script->answer("Ok");
        QVERIFY(gProject->Setup());
        QCOMPARE(prompts(), QStringList{"Pelkar's settings file could not be read:\r\n" + damaged
                                        + "\r\nYour settings have been reset to their "
                                          "defaults.\r\nThe damaged file has been kept as "
                                        + kept});
        QCOMPARE(script->records().at(0).style, int(Mb::Exclamation));
        QCOMPARE(readBytes(kept), bytes);
        QCOMPARE(readBytes(settingsFile()), readBytes(fixture("settings-fresh/created.txt")));
        QVERIFY(!QFileInfo::exists(oldSettingsFile()));
        QCOMPARE(gProject->PickRows(), 9);

        // Saved and read again: the copy stays as it was, and a sound file
        // is never set aside.
        QVERIFY(gProject->SetRegistryValues());
        ClearIniStore();
        QVERIFY(gProject->Setup());
        QCOMPARE(script->records().size(), 1);
        QCOMPARE(readBytes(kept), bytes);
    }

    void unreadableFileStopsTheRun()
    {
        QVERIFY(QDir().mkpath(settingsFile()));
        script->answer("Ok");
        QVERIFY(!gProject->Setup());
        QCOMPARE(prompts(), QStringList{loadError(75, "Path/File access error", 0)});
    }

    // The save cannot replace the target: false, the transcriber is told,
    // and the older file keeps its contents and its place.
    void failedSaveKeepsTheOldFile()
    {
        const QByteArray old = "[Picklist]\r\nPickRows=12\r\n";
        QVERIFY(writeBytes(oldSettingsFile(), old));
        QVERIFY(gProject->Setup());
        QVERIFY(QDir().mkpath(settingsFile()));

        script->answer("Ok");
        QVERIFY(!gProject->SetRegistryValues());
        QCOMPARE(script->records().size(), 1);
        QVERIFY2(script->records()[0].prompt.startsWith("Error in SaveiniFile "),
                 qPrintable(script->records()[0].prompt));
        QCOMPARE(readBytes(oldSettingsFile()), old);
        QVERIFY(QFileInfo(settingsFile()).isDir());
        QCOMPARE(QDir(dataFolder()).entryList(QDir::Files | QDir::Hidden),
                 QStringList{"Pelkar.ini"});
    }

    // A data folder where nothing can be written: one message, and every
    // option still takes its default for the rest of the run.
    void fileThatCannotBeCreatedLeavesTheDefaults()
    {
        gProject->setDataPath(homePath("missing/data"));
        script->answer("Ok");
        QVERIFY(gProject->Setup());
        QCOMPARE(script->records().size(), 1);
        QVERIFY(script->records()[0].prompt.startsWith("Error in SaveiniFile "));
        QCOMPARE(gProject->PickRows(), 9);
        QCOMPARE(gProject->Port(), 80);
        QCOMPARE(gProject->sPing(), QString("www.quorvel.example"));
    }

    void programFolderAndVersionSharedAtEverySave()
    {
        QVERIFY(gProject->Setup());
        QVERIFY(gProject->SetRegistryValues());
        QCOMPARE(GetSharedSetting(kApp, "Startup", "AppVersion"), QString("7.4.0"));
        QCOMPARE(GetSharedSetting(kApp, "Startup", "App.Path"),
                 QCoreApplication::applicationDirPath());
        QCOMPARE(GetUserSetting(kApp, "Startup", "AppVersion"), QString());
    }

    // The paste-text window's list and place, and the other values the main
    // window's companions hold, are saved only while the main window is
    // loaded.
    void mainWindowValuesSavedOnlyWhileItIsLoaded()
    {
        struct PasteWindow : PasteWindowSource
        {
            QString GetList() const override { return "\"Born\",\"Died\", , , , , , , , "; }
            QRect geometryTwips() const override { return QRect(1500, 3000, 4500, 2000); }
        } pasteWindow;
        gProject->setPasteWindowSource(&pasteWindow);
        QVERIFY(gProject->Setup());

        QVERIFY(gProject->SetRegistryValues());
        QByteArray saved = readBytes(settingsFile());
        QVERIFY(!saved.contains("CpyPaste="));
        QVERIFY(!saved.contains("IgnoreAaD="));

        QObject form1;
        RegisterForm(&form1, "Form1");
        QVERIFY(gProject->SetRegistryValues());
        saved = readBytes(settingsFile());
        QVERIFY(saved.contains("\r\nCpyPaste=\"Born\",\"Died\", , , , , , , , \r\nPasteX=1500\r\n"
                               "PasteY=3000\r\nPasteW=4500\r\n"));
        QVERIFY(saved.contains("\r\nIgnoreAaD=N\r\n"));
        QCOMPARE(gProject->PasteList(), QString("\"Born\",\"Died\", , , , , , , , "));
        gProject->setPasteWindowSource(nullptr);
    }
};

PELKAR_TEST(tst_Settings)
#include "tst_Settings.moc"
