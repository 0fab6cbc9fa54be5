#include "PelkarTest.h"

#include "core/FolderChoice.h"
#include "core/Globals.h"
#include "core/Project.h"
#include "core/Services.h"
#include "core/UserSettings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace {
const QString kApp = QStringLiteral("Pelkar");

QString storedDataPath()
{
    return GetUserSetting(kApp, "Startup", "DataPath", "<none>");
}

void storeDataPath(const QString &value)
{
    SaveUserSetting(kApp, "Startup", "DataPath", value);
}

// The first-run explanation as the transcriber reads it.
QString firstRunText(const QString &defaultFolder)
{
    return QStringLiteral(
               "In version 7 all the files (e.g. the DistrictFile and your transcribed files)\r\n"
               "are stored in a new folder which now needs to be created.\r\n"
               "The default for this folder is:,\r\n")
           + defaultFolder
           + QStringLiteral(
               "\r\n\r\n"
               " You can select to use this default, or create your own.\r\n\r\n"
               "It is STRONGLY RECOMMENDED that you click the Use Default button\r\n\r\n"
               "Pelkar will automatically copy any transcribed files to a new Output folder\r\n"
               "below Pelkar_Files.\r\n\r\n"
               "If you decide to create your own then you should do so somewhere to\r\n"
               "which you have full access e.g. Below your My Documents folder\r\n"
               "Please give the folder a name you will recognise e.g. PelkarFiles\r\n\r\n"
               "If you are unsure how to select a different folder....\r\n\r\n"
               "The following window shows the folder it starts in (beside 'Look in:' at the top)\r\n"
               "with the folders inside it listed below. Double-click a folder to open it;\r\n"
               "the green arrow at the top goes back up one level.\r\n"
               "With the folder you want to put it in open,\r\n"
               "click the 'Create New Folder' button at the top right of the window\r\n"
               "(a yellow folder with a green plus sign (+) on it)\r\n"
               "and a 'New Folder' will appear with its name highlighted.\r\n"
               "Type the name you want to give the folder (e.g. 'PelkarFiles') replacing\r\n"
               "the text 'New Folder' and press Enter, then click the Choose button.\r\n"
               "If you make a mistake and don't know what to do, click the Cancel button,\r\n"
               "and Pelkar will finish and you can start over.\r\n");
}

QString canonical(const QString &path)
{
    return QFileInfo(path).canonicalFilePath();
}
} // namespace

class ProjectFoldersTest : public PelkarTest
{
    Q_OBJECT

protected:
    void setUpCase() override
    {
        mStartFolder = QDir::currentPath();
        mDocuments = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
        QCOMPARE(canonical(mDocuments), canonical(homePath("Documents")));
        mDefault = QDir(mDocuments).filePath("Pelkar_Files");
    }

    // The tests move the current folder into the test's own folder, which
    // goes when the test ends.
    void tearDownCase() override { QDir::setCurrent(mStartFolder); }

    QString mStartFolder;
    QString mDocuments;
    QString mDefault;

    void expectFirstRunBox(int index)
    {
        QVERIFY(script->records().size() > index);
        const MessageRecord &r = script->records().at(index);
        QCOMPARE(r.kind, QStringLiteral("custom"));
        QCOMPARE(r.prompt, firstRunText(mDefault));
        QCOMPARE(r.style, int(Mb::IconInformation));
        QCOMPARE(r.title, QStringLiteral("Pelkar"));
        QCOMPARE(r.buttons, (QStringList{"Use Default", "Locate a New Folder"}));
    }

    void expectBox(int index, const QString &prompt, int style, const QString &title)
    {
        QVERIFY(script->records().size() > index);
        const MessageRecord &r = script->records().at(index);
        QCOMPARE(r.kind, QStringLiteral("box"));
        QCOMPARE(r.prompt, prompt);
        QCOMPARE(r.style, style);
        QCOMPARE(r.title, title);
    }

    void expectFolderDialog(int index)
    {
        QVERIFY(script->records().size() > index);
        const MessageRecord &r = script->records().at(index);
        QCOMPARE(r.kind, QStringLiteral("chooseFolder"));
        QCOMPARE(r.title, QStringLiteral("Pelkar - Select Folder"));
        QCOMPARE(r.info, mDocuments);
    }

    void expectChosen(const Project &p, const QString &folder)
    {
        QCOMPARE(p.DataPath(), folder);
        QCOMPARE(storedDataPath(), folder);
        QCOMPARE(p.FilesPath(), QDir(folder).filePath("Files"));
        QVERIFY(gForceMigration);
    }

private slots:
    void firstRunUseDefault()
    {
        script->answer("Use Default");
        Project p;
        QVERIFY(p.GetPathToFolders());
        QCOMPARE(script->records().size(), 1);
        expectFirstRunBox(0);
        QVERIFY(QFileInfo(mDefault).isDir());
        expectChosen(p, mDefault);
        QCOMPARE(p.CommonAppData(), Project::SystemFilesFolder());
        QVERIFY(QFileInfo(p.CommonAppData()).isDir());
        // Files and Output are the start-up's to make.
        QCOMPARE(QDir(mDefault).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList());
    }

    void firstRunLocateFolder()
    {
        const QString mine = homePath("My Pelkar");
        QVERIFY(QDir().mkpath(mine));
        script->answer({"Locate a New Folder", mine});
        Project p;
        QVERIFY(p.GetPathToFolders());
        expectFirstRunBox(0);
        expectFolderDialog(1);
        expectChosen(p, mine);
        QVERIFY(!QFileInfo::exists(mDefault));
    }

    void firstRunLocateCancelled()
    {
        script->answer({"Locate a New Folder", "<cancel>"});
        Project p;
        QVERIFY(!p.GetPathToFolders());
        QCOMPARE(script->records().size(), 2);
        expectFolderDialog(1);
        QCOMPARE(storedDataPath(), QStringLiteral("<none>"));
        QVERIFY(!gForceMigration);
        QVERIFY(p.DataPath().isEmpty());
        QVERIFY(!QFileInfo::exists(mDefault));
    }

    void relativeFolderChosenAsksAgain()
    {
        script->answer({"Locate a New Folder", "relative/folder", "Ok", "Use Default"});
        Project p;
        QVERIFY(p.GetPathToFolders());
        QCOMPARE(script->records().size(), 4);
        expectBox(2, "Sorry, Pelkar cannot use drive relative/folder - Try Again.", Mb::Critical,
                  "Invalid Drive");
        expectFirstRunBox(3);
        expectChosen(p, mDefault);
    }

    void storedRelativeDataPath()
    {
        storeDataPath("Pelkar_Files");
        script->answer({"Ok", "Use Default"});
        Project p;
        QVERIFY(p.GetPathToFolders());
        QCOMPARE(script->records().size(), 2);
        expectBox(0, "Invalid drive letter in registry Datapath Pelkar_Files", Mb::Exclamation,
                  "Pelkar");
        expectFirstRunBox(1);
        expectChosen(p, mDefault);
    }

    void storedFolderExists()
    {
        const QString data = homePath("data");
        QVERIFY(QDir().mkpath(data));
        storeDataPath(data);
        Project p;
        QVERIFY(p.GetPathToFolders());
        QCOMPARE(p.DataPath(), data);
        // The settings load names the files folder, not the folder search.
        QVERIFY(p.FilesPath().isEmpty());
        QVERIFY(!gForceMigration);
        QVERIFY(script->records().isEmpty());
    }

    void storedFolderDeleted()
    {
        const QString gone = homePath("gone");
        storeDataPath(gone);
        script->answer("Ok");
        Project p;
        QVERIFY(!p.GetPathToFolders());
        QCOMPARE(script->records().size(), 1);
        expectBox(0,
                  "The folder where the data files are stored no longer exists\r\n"
                  "It was " + gone + "\r\n"
                  "If you have deleted it we need to create a new one\r\n"
                  "If you have moved it then we need to locate it\r\n"
                  "Pelkar will now end. You can then either recreate the folder where it was\r\n"
                  "or simply restart Pelkar and you will be prompted to locate a folder\r\n"
                  " If you recreate it you will still have to locate that folder when\r\n"
                  "Pelkar is restarted.",
                  Mb::Critical, "Pelkar");
        QCOMPARE(storedDataPath(), QString());
        QVERIFY(p.DataPath().isEmpty());
        QVERIFY(!gForceMigration);
        QVERIFY(!QFileInfo::exists(gone));
    }

    // A file standing where the default folder should go: the transcriber is
    // told so and chooses again; the file is left alone.
    void defaultFolderCannotBeCreated()
    {
        QFile blocker(mDefault);
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.write("not a folder");
        blocker.close();
        const QString mine = homePath("elsewhere");
        QVERIFY(QDir().mkpath(mine));
        script->answer({"Use Default", "Ok", "Locate a New Folder", mine});
        Project p;
        QVERIFY(p.GetPathToFolders());
        QCOMPARE(script->records().size(), 4);
        expectBox(1,
                  "Pelkar could not create the folder " + mDefault
                      + "\r\nA file of that name is in the way.\r\nPlease choose another folder.",
                  Mb::Critical, "Pelkar");
        expectFirstRunBox(2);
        expectFolderDialog(3);
        expectChosen(p, mine);
        QVERIFY(QFileInfo(mDefault).isFile());
    }

    void validDrive_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<bool>("valid");

        QTest::newRow("absolute") << "/home/anne/Pelkar_Files" << true;
        QTest::newRow("absolute-with-blanks-around") << "  /data  " << true;
        QTest::newRow("relative") << "Pelkar_Files" << false;
        QTest::newRow("dot-relative") << "./data" << false;
        QTest::newRow("home-shorthand-is-relative") << "~/data" << false;
        QTest::newRow("empty") << "" << false;
        QTest::newRow("blanks-only") << "   " << false;
    }

    void validDrive()
    {
        QFETCH(QString, path);
        QFETCH(bool, valid);
        QCOMPARE(Project::ValidDrive(path), valid);
    }

    void goToSaveDir_data()
    {
        QTest::addColumn<QString>("savePath");    // relative to the test's folder; empty: none
        QTest::addColumn<QString>("make");        // what stands at savePath: "folder", "file", ""
        QTest::addColumn<bool>("makeOutput");
        QTest::addColumn<bool>("fellBack");       // SavePath is Output afterwards
        QTest::addColumn<QString>("current");     // relative; empty: the current folder stays
        QTest::addColumn<QStringList>("messages"); // %1: the stored save folder
        QTest::addColumn<QList<int>>("styles");

        const QString reverted = "Your Save folder %1 no longer exists.\r\n"
                                 "I have reverted to saving in the folder Output.";
        const QString fileInTheWay =
            "There is a file existing with the same name as a needed Folder, this will "
            "probably cause the program to fail - folder= %1";
        const QString noOutput = "Error 2 (No such file or directory) in procedure GoToSaveDir "
                                 "of Class Module Project";
        const int exclamation = Mb::Exclamation;
        const int critical = Mb::Critical;
        const int okOnly = Mb::OkOnly;

        QTest::newRow("none-stored-uses-output")
            << "" << "" << true << false << "data/Output" << QStringList() << QList<int>();
        QTest::newRow("stored-folder-used")
            << "batches" << "folder" << true << false << "batches" << QStringList()
            << QList<int>();
        QTest::newRow("stored-folder-deleted-falls-back")
            << "batches" << "" << true << true << "data/Output" << QStringList{reverted}
            << QList<int>{exclamation};
        QTest::newRow("file-where-folder-was")
            << "batches" << "file" << true << true << "data/Output"
            << QStringList{fileInTheWay, reverted} << QList<int>{critical, exclamation};
        QTest::newRow("output-missing-too")
            << "batches" << "" << false << true << "" << QStringList{reverted, noOutput}
            << QList<int>{exclamation, okOnly};
    }

    void goToSaveDir()
    {
        QFETCH(QString, savePath);
        QFETCH(QString, make);
        QFETCH(bool, makeOutput);
        QFETCH(bool, fellBack);
        QFETCH(QString, current);
        QFETCH(QStringList, messages);
        QFETCH(QList<int>, styles);

        const QString data = homePath("data");
        const QString output = QDir(data).filePath("Output");
        QVERIFY(QDir().mkpath(data));
        if (makeOutput)
            QVERIFY(QDir().mkpath(output));
        const QString stored = savePath.isEmpty() ? QString() : homePath(savePath);
        if (make == "folder")
            QVERIFY(QDir().mkpath(stored));
        if (make == "file") {
            QFile f(stored);
            QVERIFY(f.open(QIODevice::WriteOnly));
        }
        QVERIFY(QDir::setCurrent(home()));
        Project p;
        p.setDataPath(data);
        p.setSavePath(stored);
        for (int i = 0; i < messages.size(); ++i)
            script->answer("Ok");

        p.GoToSaveDir();

        QCOMPARE(script->records().size(), messages.size());
        for (int i = 0; i < messages.size(); ++i) {
            const MessageRecord &r = script->records().at(i);
            QCOMPARE(r.kind, QStringLiteral("box"));
            QCOMPARE(r.prompt, QString(messages.at(i)).replace("%1", stored));
            QCOMPARE(r.style, styles.at(i));
            QCOMPARE(r.title, QStringLiteral("Pelkar"));
        }
        QCOMPARE(p.SavePath(), fellBack || stored.isEmpty() ? output : stored);
        QCOMPARE(canonical(QDir::currentPath()),
                 canonical(current.isEmpty() ? home() : homePath(current)));
    }

    void goToFileDir()
    {
        const QString files = homePath("data/Files");
        QVERIFY(QDir().mkpath(files));
        Project p;
        p.setFilesPath(files);
        p.GoToFileDir();
        QCOMPARE(canonical(QDir::currentPath()), canonical(files));
        QVERIFY(script->records().isEmpty());

        const QString gone = homePath("data/Gone");
        p.setFilesPath(gone);
        script->answer("Ok");
        p.GoToFileDir();
        QCOMPARE(script->records().size(), 1);
        const MessageRecord &r = script->records().constFirst();
        QCOMPARE(r.prompt, "Error 2 (No such file or directory) in procedure GoToFileDir of Class "
                           "Module Project.\r\nPath="
                               + gone);
        QCOMPARE(r.style, int(Mb::OkOnly));
        QCOMPARE(r.title, QStringLiteral("Pelkar"));
        QCOMPARE(canonical(QDir::currentPath()), canonical(files));
    }

    void pathsFollowDataPath()
    {
        Project p;
        p.setDataPath("/data");
        QCOMPARE(p.ScanPath(), QString("/data"));
        QCOMPARE(p.SavePath(), QString("/data/Output"));
        QCOMPARE(p.GetOriginalFilesPath(), QString("/data/OriginalFiles"));
        p.setScanPath("/scans");
        p.setSavePath("/batches");
        QCOMPARE(p.ScanPath(), QString("/scans"));
        QCOMPARE(p.SavePath(), QString("/batches"));
    }

    void browseForFolder_data()
    {
        QTest::addColumn<QString>("given");
        QTest::addColumn<QString>("keyword");
        QTest::addColumn<QString>("start");  // "documents", "desktop" or a path
        QTest::addColumn<QString>("answer");
        QTest::addColumn<bool>("chosen");

        QTest::newRow("empty-opens-on-documents") << "" << "MyDocs" << "documents" << "/x" << true;
        QTest::newRow("one-character-opens-on-documents")
            << "/" << "MyDocs" << "documents" << "/x" << true;
        QTest::newRow("other-keyword-opens-on-desktop")
            << "" << "Desktop" << "desktop" << "/x" << true;
        QTest::newRow("given-folder-used") << "/srv/scans" << "MyDocs" << "/srv/scans" << "/x"
                                           << true;
        QTest::newRow("trailing-separator-dropped")
            << "/srv/scans/" << "MyDocs" << "/srv/scans" << "/x" << true;
        QTest::newRow("cancel-empties-path")
            << "/srv/scans" << "MyDocs" << "/srv/scans" << "<cancel>" << false;
    }

    void browseForFolder()
    {
        QFETCH(QString, given);
        QFETCH(QString, keyword);
        QFETCH(QString, start);
        QFETCH(QString, answer);
        QFETCH(bool, chosen);
        if (start == "documents")
            start = mDocuments;
        else if (start == "desktop")
            start = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);

        script->answer(answer);
        QString path = given;
        QCOMPARE(BrowseForFolder(path, keyword), chosen);
        QCOMPARE(path, chosen ? answer : QString());
        const MessageRecord &r = script->records().constFirst();
        QCOMPARE(r.kind, QStringLiteral("chooseFolder"));
        QCOMPARE(r.title, QStringLiteral("Pelkar - Select Folder"));
        QCOMPARE(r.info, start);
    }
};

PELKAR_TEST(ProjectFoldersTest)
#include "tst_ProjectFolders.moc"
