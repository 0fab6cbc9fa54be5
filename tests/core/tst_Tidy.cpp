// Moving an earlier installation into the data folder, and the 1974
// supplementary merge after an update.

#include "PelkarTest.h"
#include "TestFiles.h"

#include "core/Globals.h"
#include "core/Project.h"
#include "core/SettingsFileStore.h"
#include "core/Tidy.h"
#include "core/UserSettings.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

using TestFiles::readBytes;
using TestFiles::writeBytes;

namespace {
const QString kApp = QStringLiteral("Pelkar");
const QString kStartup = QStringLiteral("Startup");
const QString kSetupTitle = QStringLiteral("Pelkar Setup V7");
const QStringList kReferenceFiles = {
    QStringLiteral("Pelkar_Supp_Districts.txt"),
    QStringLiteral("Pelkar_Name2.txt"),
    QStringLiteral("Pelkar_Districts.txt"),
    QStringLiteral("Pelkar_Supp_Districts_1946.txt"),
    QStringLiteral("Pelkar_Supp_Districts_1974.txt"),
};

bool copyTree(const QString &from, const QString &to)
{
    if (!QDir().mkpath(to))
        return false;
    const QDir source(from);
    for (const QFileInfo &entry : source.entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot)) {
        const QString target = QDir(to).filePath(entry.fileName());
        if (entry.isDir() ? !copyTree(entry.filePath(), target)
                          : !QFile::copy(entry.filePath(), target))
            return false;
    }
    return true;
}

// Every file and folder under a folder with its bytes, so that a change
// anywhere shows.
QStringList snapshot(const QString &folder)
{
    QStringList out;
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        it.next();
        const QFileInfo fi = it.fileInfo();
        const QString content = fi.isDir() ? QStringLiteral("<dir>")
                                           : QString::fromLatin1(readBytes(fi.filePath()).toHex());
        out << fi.filePath() + u' ' + content;
    }
    out.sort();
    return out;
}

// What the migration showed in its progress window, and how.
class RecordingProgress final : public UpdateProgressSink
{
public:
    void AddText(const QString &text) override { calls << text; }
    void ShowModeless() override { calls << QStringLiteral("<modeless>"); }
    void ShowFinalModal() override { calls << QStringLiteral("<wait for Ok>"); }
    void HideWindow() override { calls << QStringLiteral("<hide>"); }
    QStringList calls;
};

QStringList crLfLines(const QByteArray &bytes)
{
    QStringList lines = QString::fromLatin1(bytes).split(QStringLiteral("\r\n"));
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}
} // namespace

class tst_Tidy : public PelkarTest
{
    Q_OBJECT

private slots:
    void migratesAnEarlierInstallation();
    void nothingToDo_data();
    void nothingToDo();
    void newTranscriberGetsTheShippedFiles_data();
    void newTranscriberGetsTheShippedFiles();
    void sameFolderUnderAnotherNameIsTheProgramFolder();
    void forcedMigrationKeepsTheTranscribersFiles_data();
    void forcedMigrationKeepsTheTranscribersFiles();
    void missingReferenceFileStopsTheRun_data();
    void missingReferenceFileStopsTheRun();
    void missingShippedFileIsToldAndTheRunGoesOn_data();
    void missingShippedFileIsToldAndTheRunGoesOn();
    void unreadableSettingsFileIsReportedOnce();
    void merges1974Districts_data();
    void merges1974Districts();
    void failedMergeWriteLeavesTheFileWhole();

protected:
    void setUpCase() override
    {
        ProgramObjects::createEvents();
        ProgramObjects::createProject();
        mEarlier = homePath(QStringLiteral("OldPelkar"));
        mProgram = homePath(QStringLiteral("share/pelkar"));
        mData = homePath(QStringLiteral("Pelkar_Files"));
        mDesktop = homePath(QStringLiteral("Desktop"));
        QVERIFY(copyTree(TestFiles::fixture(QStringLiteral("migration/earlier")), mEarlier));
        QVERIFY(copyTree(TestFiles::fixture(QStringLiteral("migration/program")), mProgram));
        QVERIFY(QDir().mkpath(mData));
        QVERIFY(QDir().mkpath(mDesktop));
        QCOMPARE(QStandardPaths::writableLocation(QStandardPaths::DesktopLocation), mDesktop);
        gProject->setDataPath(mData);
        SetProgramFolderForMigration(mProgram);
        SetUpdateProgressSink(&mProgress);
    }
    void tearDownCase() override
    {
        SetUpdateProgressSink(nullptr);
        SetProgramFolderForMigration(QString());
    }

private:
    void setAppPath(const QString &folder)
    {
        SaveSharedSetting(kApp, kStartup, QStringLiteral("AppPath"), folder);
    }
    QString data(const QString &relative) const { return QDir(mData).filePath(relative); }
    QString report() const
    {
        return QDir(mDesktop).filePath(QStringLiteral("PelkarUpdateReport7.txt"));
    }
    // The report lines between the start and exit lines.
    QStringList reportBody() const
    {
        QStringList lines = crLfLines(readBytes(report()));
        if (lines.size() >= 2) {
            lines.removeFirst();
            lines.removeLast();
        }
        return lines;
    }
    QString v6Cleaned() const
    {
        return GetUserSetting(kApp, kStartup, QStringLiteral("V6Cleaned"), QStringLiteral("N"));
    }

    RecordingProgress mProgress;
    QString mEarlier;
    QString mProgram;
    QString mData;
    QString mDesktop;
};

void tst_Tidy::migratesAnEarlierInstallation()
{
    QVERIFY(writeBytes(report(), "An earlier run's report\r\n"));
    setAppPath(mEarlier);
    gForceMigration = true;
    const QStringList earlierBefore = snapshot(mEarlier);
    const QStringList programBefore = snapshot(mProgram);

    QVERIFY(Tidy_Version6());

    QByteArray expected =
        readBytes(TestFiles::fixture(QStringLiteral("migration/expected-report.txt")));
    expected.replace("{HOME}", QFile::encodeName(home()));
    QCOMPARE(readBytes(report()), "An earlier run's report\r\n" + expected);
    // The window showed the same, except the report's own notes, and then
    // waited to be read.
    QStringList shown = crLfLines(expected).mid(1, crLfLines(expected).size() - 2);
    shown.removeAll(QStringLiteral("Previous install folder exists"));
    shown.insert(1, QStringLiteral("<modeless>"));
    shown << QStringLiteral("<wait for Ok>");
    QCOMPARE(mProgress.calls, shown);
    QVERIFY(script->records().isEmpty());

    for (const QString &name : kReferenceFiles)
        QCOMPARE(readBytes(data("Files/" + name)),
                 readBytes(QDir(mEarlier).filePath("Files/" + name)));
    QCOMPARE(readBytes(data("Output/1911B3A0123.ZEL")),
             readBytes(QDir(mEarlier).filePath("Output/1911B3A0123.ZEL")));
    QCOMPARE(QDir(data("OriginalFiles")).entryList(QDir::Files),
             QDir(QDir(mProgram).filePath("OriginalFiles")).entryList(QDir::Files));
    QCOMPARE(readBytes(data("OriginalFiles/Pelkar_Districts.txt")),
             readBytes(QDir(mProgram).filePath("OriginalFiles/Pelkar_Districts.txt")));

    // The earlier settings became the data folder's, under the current name,
    // with the folders of the data folder in place of the earlier ones.
    QVERIFY(!QFileInfo::exists(data("Pelkar.ini")));
    const QString settings = QString::fromLatin1(readBytes(data("Pelkarini.txt")));
    QVERIFY2(settings.contains("\r\nDoBQtr=4\r\n"), qPrintable(settings));
    QVERIFY(settings.contains("\r\nFilesFolderpath=" + data("Files") + "\r\n"));
    QVERIFY(settings.contains("\r\nSuppFile1=" + data("Files/Pelkar_Supp_Districts.txt") + "\r\n"));
    QCOMPARE(gProject->DoBQtr(), 4);
    QCOMPARE(gProject->FilesPath(), data("Files"));
    QCOMPARE(gProject->SuppPath(4), data("Files/Pelkar_Supp_Districts_1974.txt"));
    QVERIFY(gProject->GetDistrictFile());
    QCOMPARE(v6Cleaned(), QStringLiteral("Y"));

    QCOMPARE(snapshot(mEarlier), earlierBefore);
    QCOMPARE(snapshot(mProgram), programBefore);

    // Done once: the next start leaves everything as it is.
    gForceMigration = false;
    const QByteArray reportAfter = readBytes(report());
    mProgress.calls.clear();
    QVERIFY(Tidy_Version6());
    QCOMPARE(readBytes(report()), reportAfter);
    QVERIFY(mProgress.calls.isEmpty());
}

void tst_Tidy::nothingToDo_data()
{
    QTest::addColumn<QString>("cleaned");
    QTest::addColumn<bool>("earlierInstallation");
    QTest::addColumn<bool>("earlierFolderExists");
    QTest::newRow("migrated-already") << "Y" << true << true;
    QTest::newRow("no-earlier-installation-recorded") << "N" << false << false;
    QTest::newRow("earlier-installation-gone") << "N" << true << false;
}

// An existing data folder with nothing to bring in is left alone: nothing
// opened, written or shown.
void tst_Tidy::nothingToDo()
{
    QFETCH(QString, cleaned);
    QFETCH(bool, earlierInstallation);
    QFETCH(bool, earlierFolderExists);
    SaveUserSetting(kApp, kStartup, QStringLiteral("V6Cleaned"), cleaned);
    if (earlierInstallation) {
        setAppPath(earlierFolderExists ? mEarlier : homePath(QStringLiteral("Gone")));
    }
    gForceMigration = false;
    const QStringList before = snapshot(home());

    QVERIFY(Tidy_Version6());

    QCOMPARE(snapshot(home()), before);
    QVERIFY(!QFileInfo::exists(report()));
    QVERIFY(mProgress.calls.isEmpty());
    QVERIFY(HeldIniLines().isEmpty());
    QCOMPARE(v6Cleaned(), cleaned);
    QVERIFY(!gProject->GetDistrictFile());
}

void tst_Tidy::newTranscriberGetsTheShippedFiles_data()
{
    QTest::addColumn<bool>("appPathSet");
    QTest::addColumn<QString>("note");
    QTest::newRow("no-app-path") << false << "Registry key not found";
    QTest::newRow("app-path-gone") << true
                                   << "Previous install folder doesn't exist - set to AppPath";
}

// A data folder just chosen, with no earlier installation and no settings
// file anywhere: the program folder stands in for the earlier one, the
// shipped files come in, and the start goes on without a question.
void tst_Tidy::newTranscriberGetsTheShippedFiles()
{
    QFETCH(bool, appPathSet);
    QFETCH(QString, note);
    if (appPathSet)
        setAppPath(homePath(QStringLiteral("Gone")));
    gForceMigration = true;
    const QStringList programBefore = snapshot(mProgram);

    QVERIFY(Tidy_Version6());

    const QStringList body = {
        QStringLiteral("This report is copied to a file on your desktop which you can delete when "
                       "no longer wanted"),
        note,
        QStringLiteral("Didn't find a previous install"),
        "Previous Path=" + mProgram,
        "DataPath=" + mData,
        "App.path=" + mProgram,
        "vbCopy Failed to copy " + mProgram + "/Files to " + mData + " Errorcode=2",
        "Made the folder " + data("Files"),
        "vbCopied " + mProgram + "/OriginalFiles to " + mData,
        QStringLiteral("Can't find an ini to copy?"),
        "vbCopy Failed to copy " + mProgram + "/Output/*.* to " + data("Output") + " Errorcode=2",
    };
    QCOMPARE(reportBody(), body);
    const QStringList lines = crLfLines(readBytes(report()));
    QCOMPARE(lines.first(), QStringLiteral("Update started at 14/03/2026 09:26:53"));
    QCOMPARE(lines.last(), QStringLiteral("Update exit at 14/03/2026 09:26:53 Result=True"));
    // Nothing to read: the window goes without waiting.
    QCOMPARE(mProgress.calls.last(), QStringLiteral("<hide>"));
    QVERIFY(script->records().isEmpty());

    QVERIFY(QFileInfo(data("Files")).isDir());
    QVERIFY(QDir(data("Files")).isEmpty());
    QVERIFY(QFileInfo::exists(data("OriginalFiles/Pelkar_Name.txt")));
    QVERIFY(QFileInfo::exists(data("Pelkarini.txt")));
    QCOMPARE(v6Cleaned(), QStringLiteral("Y"));
    QCOMPARE(snapshot(mProgram), programBefore);
}

// An earlier version installed where this one is: recognised through a
// link, and nothing is written into the program folder to find out.
void tst_Tidy::sameFolderUnderAnotherNameIsTheProgramFolder()
{
    QVERIFY(copyTree(QDir(mEarlier).filePath("Files"), QDir(mProgram).filePath("Files")));
    QVERIFY(QFile::copy(QDir(mEarlier).filePath("Pelkar.ini"),
                        QDir(mProgram).filePath("Pelkar.ini")));
    const QString link = homePath(QStringLiteral("PelkarLink"));
    QVERIFY(QFile::link(mProgram, link));
    setAppPath(link);
    gForceMigration = true;
    const QStringList programBefore = snapshot(mProgram);

    QVERIFY(Tidy_Version6());

    const QStringList body = reportBody();
    QCOMPARE(body.mid(1, 6), (QStringList{
                                 QStringLiteral("Previous install folder exists"),
                                 QStringLiteral("Found a Previous install"),
                                 QStringLiteral("Previous install has same path as current"),
                                 "Previous Path=" + link,
                                 "DataPath=" + mData,
                                 "App.path=" + mProgram,
                             }));
    QVERIFY(body.contains("Copied previous ini"));
    QCOMPARE(snapshot(mProgram), programBefore);
}

void tst_Tidy::forcedMigrationKeepsTheTranscribersFiles_data()
{
    QTest::addColumn<QString>("settingsName");
    QTest::newRow("current-settings-file") << "Pelkarini.txt";
    QTest::newRow("older-settings-file") << "Pelkar.ini";
}

// A data folder the transcriber has used, chosen again while an earlier
// installation is still recorded: their settings and lists stay; only what
// is missing comes in.
void tst_Tidy::forcedMigrationKeepsTheTranscribersFiles()
{
    QFETCH(QString, settingsName);
    const QString saves = homePath(QStringLiteral("MySaves"));
    QVERIFY(QDir().mkpath(saves));
    QVERIFY(writeBytes(data(settingsName),
                       "[Startup]\r\nDoBQtr=1\r\nSavePath=" + QFile::encodeName(saves) + "\r\n"));
    QVERIFY(QDir().mkpath(data("Files")));
    const QByteArray districts = "# Mine\r\nMyplace|1837|3|9999|4|0|1a|0|0|0\r\n";
    const QByteArray names = "@Ann\r\n";
    QVERIFY(writeBytes(data("Files/Pelkar_Districts.txt"), districts));
    QVERIFY(writeBytes(data("Files/Pelkar_Name2.txt"), names));
    setAppPath(mEarlier);
    gForceMigration = true;

    QVERIFY(Tidy_Version6());

    QCOMPARE(readBytes(data("Files/Pelkar_Districts.txt")), districts);
    QCOMPARE(readBytes(data("Files/Pelkar_Name2.txt")), names);
    QCOMPARE(readBytes(data("Files/Pelkar_Supp_Districts.txt")),
             readBytes(QDir(mEarlier).filePath("Files/Pelkar_Supp_Districts.txt")));
    const QString settings = QString::fromLatin1(readBytes(data("Pelkarini.txt")));
    QVERIFY2(settings.contains("\r\nDoBQtr=1\r\n"), qPrintable(settings));
    QVERIFY(settings.contains("\r\nSavePath=" + saves + "\r\n"));
    QCOMPARE(gProject->DoBQtr(), 1);

    const QStringList body = reportBody();
    QVERIFY(body.contains("Did not copy " + data("Files/Pelkar_Districts.txt")
                          + " as it already exists"));
    QVERIFY(body.contains("Copied file " + data("Files/Pelkar_Supp_Districts.txt")));
    QVERIFY(body.contains("Already an ini in ourpath"));
    // The save folder of the settings exists: the earlier output stays out.
    QVERIFY(!QFileInfo::exists(data("Output")));
    QCOMPARE(mProgress.calls.last(), QStringLiteral("<wait for Ok>"));
}

void tst_Tidy::missingReferenceFileStopsTheRun_data()
{
    QTest::addColumn<QString>("removed");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("progress");
    QTest::newRow("district-file") << "Pelkar_Districts.txt"
                                   << "Failed to find Pelkar_Districts.txt in setup"
                                   << "Update Failed, Can't find Pelkar_Districts";
    QTest::newRow("forename-file") << "Pelkar_Name2.txt"
                                   << "Failed to find Pelkar_Name2.txt in setup"
                                   << "Update Failed, Can't find Pelkar_Name2";
    QTest::newRow("supplementary-file") << "Pelkar_Supp_Districts.txt"
                                        << "Failed to find Pelkar_Supp_Districts.txt in setup"
                                        << "Update Failed, Can't find Pelkar_Supp_Districts";
}

void tst_Tidy::missingReferenceFileStopsTheRun()
{
    QFETCH(QString, removed);
    QFETCH(QString, message);
    QFETCH(QString, progress);
    QVERIFY(QFile::remove(QDir(mEarlier).filePath("Files/" + removed)));
    setAppPath(mEarlier);
    gForceMigration = true;

    script->answer(QStringLiteral("Ok"));
    QVERIFY(!Tidy_Version6());

    QCOMPARE(script->records().size(), 1);
    QCOMPARE(script->records()[0].prompt, message);
    QCOMPARE(script->records()[0].title, kSetupTitle);
    QCOMPARE(script->records()[0].style, int(Mb::Critical));
    QCOMPARE(reportBody().last(), progress);
    QCOMPARE(crLfLines(readBytes(report())).last(),
             QStringLiteral("Update exit at 14/03/2026 09:26:53 Result=False"));
    // The window stays as it was, without waiting; nothing is recorded as
    // done, so the next start tries again.
    QCOMPARE(mProgress.calls.last(), progress);
    QCOMPARE(v6Cleaned(), QStringLiteral("N"));
    QVERIFY(!QFileInfo::exists(data("Pelkarini.txt")));
}

void tst_Tidy::missingShippedFileIsToldAndTheRunGoesOn_data()
{
    QTest::addColumn<QString>("removed");
    QTest::addColumn<QString>("message");
    QTest::addColumn<int>("style");
    QTest::addColumn<QString>("progress");
    QTest::newRow("help-pages") << "help" << "Failed to find index.html in setup"
                                << int(Mb::Critical)
                                << "Update Error but Continued, Can't find index.html";
    QTest::newRow("shipped-lists") << "OriginalFiles" << "Failed to find OriginalFiles in setup"
                                   << int(Mb::Exclamation)
                                   << "Update error but continued, Can't find OriginalFiles";
}

void tst_Tidy::missingShippedFileIsToldAndTheRunGoesOn()
{
    QFETCH(QString, removed);
    QFETCH(QString, message);
    QFETCH(int, style);
    QFETCH(QString, progress);
    QVERIFY(QDir(QDir(mProgram).filePath(removed)).removeRecursively());
    setAppPath(mEarlier);
    gForceMigration = true;

    script->answer(QStringLiteral("Ok"));
    QVERIFY(Tidy_Version6());

    QCOMPARE(script->records().size(), 1);
    QCOMPARE(script->records()[0].prompt, message);
    QCOMPARE(script->records()[0].title, kSetupTitle);
    QCOMPARE(script->records()[0].style, style);
    QCOMPARE(reportBody().last(), progress);
    QCOMPARE(mProgress.calls.last(), QStringLiteral("<wait for Ok>"));
    QCOMPARE(v6Cleaned(), QStringLiteral("Y"));
}

// A settings file that is there but cannot be read is one error, told once;
// the run stops with the result it had and nothing is saved over it.
void tst_Tidy::unreadableSettingsFileIsReportedOnce()
{
    QVERIFY(QDir().mkpath(data("Pelkarini.txt")));
    setAppPath(mEarlier);
    gForceMigration = true;

    script->answer(QStringLiteral("Ok"));
    QVERIFY(!Tidy_Version6());

    QCOMPARE(script->records().size(), 1);
    QCOMPARE(script->records()[0].prompt,
             QStringLiteral("Error 75 (Path/File access error) in procedure Tidy_Version6 of "
                            "Module Tidy"));
    QCOMPARE(script->records()[0].title, QStringLiteral("Pelkar"));
    QCOMPARE(reportBody().last(), QStringLiteral("Already an ini in ourpath"));
    QCOMPARE(crLfLines(readBytes(report())).last(),
             QStringLiteral("Update exit at 14/03/2026 09:26:53 Result=False"));
    QVERIFY(!QFileInfo::exists(data("Pelkar.ini")));
    QCOMPARE(v6Cleaned(), QStringLiteral("N"));
}

void tst_Tidy::merges1974Districts_data()
{
    QTest::addColumn<QString>("appVersion");
    QTest::addColumn<bool>("userFileExists");
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QByteArray>("after");
    const QByteArray mine = "south lakeland,10\r\nKendal,10b\r\n";
    const QByteArray eden = "Eden,10\r\n";
    const QByteArray copeland = "Copeland,10\r\n";
    const QByteArray lakeland = "South Lakeland,10\r\n";
    QTest::newRow("from-7.3-adds-what-is-missing")
        << "7.3.2" << true << mine << mine + eden + copeland;
    QTest::newRow("from-6-adds-too") << "6.9.1" << true << mine << mine + eden + copeland;
    QTest::newRow("from-7.4-does-nothing") << "7.4.0" << true << mine << mine;
    QTest::newRow("from-8.0-does-nothing") << "8.0" << true << mine << mine;
    QTest::newRow("no-version-does-nothing") << "" << true << mine << mine;
    QTest::newRow("version-without-a-dot-does-nothing") << "7" << true << mine << mine;
    QTest::newRow("version-not-a-number-does-nothing") << "seven.three" << true << mine << mine;
    QTest::newRow("last-line-without-ending") << "7.3" << true << QByteArray("Kendal")
                                              << "Kendal\r\n" + lakeland + eden + copeland;
    QTest::newRow("every-line-there-in-other-case")
        << "7.0" << true << QByteArray(" EDEN,10\r\n") + lakeland + copeland.toLower()
        << QByteArray(" EDEN,10\r\n") + lakeland + copeland.toLower();
    QTest::newRow("missing-user-file-is-made") << "7.3" << false << QByteArray()
                                               << lakeland + eden + copeland;
}

void tst_Tidy::merges1974Districts()
{
    QFETCH(QString, appVersion);
    QFETCH(bool, userFileExists);
    QFETCH(QByteArray, before);
    QFETCH(QByteArray, after);
    // The shipped file's name differs in case from the one looked for.
    SetProgramFolderForMigration(TestFiles::fixture(QStringLiteral("migration/program")));
    SaveSharedSetting(kApp, kStartup, QStringLiteral("AppVersion"), appVersion);
    const QString userFile = homePath(QStringLiteral("MyFiles/Pelkar_Supp_Districts_1974.txt"));
    QVERIFY(QDir().mkpath(homePath(QStringLiteral("MyFiles"))));
    if (userFileExists)
        QVERIFY(writeBytes(userFile, before));
    gProject->setSuppPath(4, userFile);

    MergeSuppDistricts1974();

    QCOMPARE(readBytes(userFile), after);
    QVERIFY(script->records().isEmpty());
}

// The merge writes the whole file anew rather than appending in place, so a
// write cut short (the disk full) leaves the old file as it was.
void tst_Tidy::failedMergeWriteLeavesTheFileWhole()
{
    SetProgramFolderForMigration(TestFiles::fixture(QStringLiteral("migration/program")));
    SaveSharedSetting(kApp, kStartup, QStringLiteral("AppVersion"), QStringLiteral("7.3.1"));
    const QString userFile = homePath(QStringLiteral("Pelkar_Supp_Districts_1974.txt"));
    const QByteArray mine = "Kendal,10b\r\n";
    QVERIFY(writeBytes(userFile, mine));
    gProject->setSuppPath(4, userFile);
    {
        TestFiles::FileSizeLimit full(mine.size() + 8);
        MergeSuppDistricts1974();
    }
    QCOMPARE(readBytes(userFile), mine);
    QVERIFY(script->records().isEmpty());
}

PELKAR_TEST(tst_Tidy)
#include "tst_Tidy.moc"
