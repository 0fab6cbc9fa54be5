// Start-up and shut-down, in this process and with the real program.

#include "PelkarTest.h"
#include "ProgramRun.h"

#include "core/FormRegistry.h"
#include "core/Globals.h"
#include "core/InstanceLock.h"
#include "core/LineReader.h"
#include "core/Project.h"
#include "core/StartUp.h"
#include "core/UserSettings.h"
#include "lists/Districts.h"
#include "lists/ForeNames.h"
#include "entry/FlexGrid.h"
#include "transcription/Change_Monitor.h"
#include "transcription/Transcription.h"
#include "mainwindow/Form1.h"

#include <QDirIterator>
#include <QStandardPaths>

namespace {
const QString kApp = QStringLiteral("Pelkar");
const QString kCrLf = QStringLiteral("\r\n");

// Every file and folder under a folder with its size and time, leaving out
// the script files the test itself writes.
QStringList snapshot(const QString &folder)
{
    QStringList out;
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        it.next();
        const QFileInfo fi = it.fileInfo();
        if (fi.fileName().startsWith(QLatin1String("script")))
            continue;
        out << fi.filePath() + QLatin1Char(' ') + QString::number(fi.size()) + QLatin1Char(' ')
                   + QString::number(fi.lastModified().toMSecsSinceEpoch());
    }
    out.sort();
    return out;
}
} // namespace

class tst_StartUp : public PelkarTest
{
    Q_OBJECT

private slots:
    void firstStartCreatesFoldersAndWelcomes();
    void exitClosesDownAndReleasesEverything();
    void missingFilesFolderStopsWithoutCreatingAnything();
    void outputBlockedByAFileStopsWithTheReason();
    void secondCopyIsRefusedAndTouchesNothing();
    void killedCopyDoesNotBlockTheNextStart();
    void firstStartInstallsTheShippedLists();
    void missingForenameFileClosesDown();
    void traceOnWritesTheRunLine_data();
    void traceOnWritesTheRunLine();

private:
    QString documentsData() const
    {
        return QDir(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation))
            .filePath(QStringLiteral("Pelkar_Files"));
    }
};

void tst_StartUp::firstStartCreatesFoldersAndWelcomes()
{
    script->answer({QStringLiteral("Use Default"), QStringLiteral("Ok")});
    auto mainWindow = std::make_unique<Form1>();
    QVERIFY(mainWindow->Load());

    const QDir data(documentsData());
    QVERIFY(data.exists());
    QVERIFY(QFileInfo(data.filePath(QStringLiteral("Files"))).isDir());
    QVERIFY(QFileInfo(data.filePath(QStringLiteral("Output"))).isDir());
    QCOMPARE(GetUserSetting(kApp, QStringLiteral("Startup"), QStringLiteral("DataPath")), data.path());
    QVERIFY(gForceMigration);
    QCOMPARE(gHeaderReason, 2);
    QCOMPARE(gVScrollWidth, 17 * 15);
    QVERIFY(mainWindow->isVisible());

    QCOMPARE(script->records().size(), 2);
    QCOMPARE(script->records()[0].buttons,
             (QStringList{QStringLiteral("Use Default"), QStringLiteral("Locate a New Folder")}));
    const MessageRecord &welcome = script->records()[1];
    QCOMPARE(welcome.kind, QStringLiteral("box"));
    QCOMPARE(welcome.title, QStringLiteral("Pelkar"));
    QCOMPARE(welcome.style, int(Mb::Information));
    QVERIFY(welcome.prompt.startsWith(QStringLiteral("Welcome to Pelkar\r\nHelp is available")));
    QVERIFY(welcome.prompt.contains(QStringLiteral("comfortable.\r\n\r\nYou can browse")));
    QVERIFY(gProject->InitialHelp());
    mainWindow->close();

    // Closing saved the settings: every section in its order, the welcome
    // recorded as shown.
    const auto lines = ReadTextLines(data.filePath(QStringLiteral("Pelkarini.txt")));
    QVERIFY(lines);
    QStringList sections;
    for (const QString &line : *lines) {
        if (line.startsWith(QLatin1Char('[')))
            sections << line;
    }
    QCOMPARE(sections, (QStringList{"[Startup]", "[Forms]", "[Picklist]", "[Options]", "[Warnings]",
                                    "[Web]", "[Fonts]", "[Ruler]", "[Batch]", "[Files]"}));
    QVERIFY(lines->contains(QStringLiteral("InitialHelp=Y")));
    mainWindow.reset();

    // The next start asks nothing: the folder is remembered, the welcome shown.
    script->clearRecords();
    mainWindow = std::make_unique<Form1>();
    QVERIFY(mainWindow->Load());
    QVERIFY(script->records().isEmpty());
    QVERIFY(!gForceMigration);
    mainWindow->close();
}

void tst_StartUp::exitClosesDownAndReleasesEverything()
{
    script->answer({QStringLiteral("Use Default"), QStringLiteral("Ok")});
    auto *mainWindow = new Form1;
    QVERIFY(mainWindow->Load());
    QVERIFY(gProject && gEvents);
    QVERIFY(IsFormLoaded(QStringLiteral("FORM1")));

    mainWindow->mnuExit_Click();
    QVERIFY(!mainWindow->isVisible());
    QVERIFY(gProject == nullptr);
    QVERIFY(gEvents == nullptr);
    // The lock went with the run: the next copy may start.
    QVERIFY(InstanceLock::acquire());
    InstanceLock::release();
    delete mainWindow;
    QVERIFY(!IsFormLoaded(QStringLiteral("Form1")));
}

void tst_StartUp::missingFilesFolderStopsWithoutCreatingAnything()
{
    const QString data = homePath(QStringLiteral("MyData"));
    QVERIFY(QDir().mkpath(data));
    SaveUserSetting(kApp, QStringLiteral("Startup"), QStringLiteral("DataPath"), data);
    const QString files = QDir(data).filePath(QStringLiteral("MovedAway"));
    QFile ini(QDir(data).filePath(QStringLiteral("Pelkarini.txt")));
    QVERIFY(ini.open(QIODevice::WriteOnly));
    ini.write("[Files]\r\nFilesFolderpath=" + files.toUtf8() + "\r\n");
    ini.close();
    const QStringList before = snapshot(data);

    script->answer(QStringLiteral("Ok"));
    Form1 mainWindow;
    QVERIFY(!mainWindow.Load());

    QCOMPARE(script->records().size(), 1);
    const MessageRecord &r = script->records()[0];
    QCOMPARE(r.prompt, QStringLiteral("I can't find the folder holding your files.") + kCrLf
                           + QStringLiteral("Your ini says it should be ") + files + kCrLf
                           + QStringLiteral("You either need to replace it or contact ")
                           + Project::SupportEmail() + kCrLf
                           + QStringLiteral("Pelkar will now exit so that you can do that."));
    QCOMPARE(r.style, int(Mb::Critical));
    QCOMPARE(r.title, QStringLiteral("Pelkar"));
    QCOMPARE(snapshot(data), before);
    QVERIFY(!QFileInfo::exists(files));
    QVERIFY(gProject == nullptr && gEvents == nullptr);
    QVERIFY(!mainWindow.isVisible());
}

void tst_StartUp::outputBlockedByAFileStopsWithTheReason()
{
    const QString data = homePath(QStringLiteral("MyData"));
    QVERIFY(QDir().mkpath(QDir(data).filePath(QStringLiteral("Files"))));
    QFile blocker(QDir(data).filePath(QStringLiteral("Output")));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    SaveUserSetting(kApp, QStringLiteral("Startup"), QStringLiteral("DataPath"), data);

    script->answer({QStringLiteral("Ok"), QStringLiteral("Ok")});
    Form1 mainWindow;
    QVERIFY(!mainWindow.Load());

    QCOMPARE(script->records().size(), 2);
    QCOMPARE(script->records()[0].prompt,
             QStringLiteral("There is a file existing with the same name as a needed Folder, this "
                            "will probably cause the program to fail - folder= ")
                 + blocker.fileName());
    const MessageRecord &r = script->records()[1];
    QCOMPARE(r.prompt, QStringLiteral("Error in MakeFileFolder, Line: 0 #20") + kCrLf
                           + QStringLiteral("Not a directory") + kCrLf + QStringLiteral("Dirpath=")
                           + data + QStringLiteral(" (Does not Exist)") + kCrLf
                           + QStringLiteral("Pelkar can try to continue but may fail"));
    QCOMPARE(r.style, int(Mb::Exclamation));
}

void tst_StartUp::secondCopyIsRefusedAndTouchesNothing()
{
    ProgramRun first(homePath(QStringLiteral("script1")), {QStringLiteral("Use Default"), QStringLiteral("Ok")});
    QVERIFY(first.start());
    QVERIFY2(first.waitForMessages(2), qPrintable(first.errorOutput()));
    QCOMPARE(first.messages()[1].prompt, WelcomeText());
    const QStringList before = snapshot(home());

    ProgramRun second(homePath(QStringLiteral("script2")), {QStringLiteral("Ok")});
    QVERIFY(second.start());
    QVERIFY(second.waitForExit());
    QCOMPARE(second.exitStatus(), QProcess::NormalExit);
    const QList<MessageRecord> asked = second.messages();
    QCOMPARE(asked.size(), 1);
    QCOMPARE(asked[0].prompt, QStringLiteral("Pelkar is already running"));
    QCOMPARE(asked[0].title, QStringLiteral("Pelkar"));
    QCOMPARE(asked[0].style, int(Mb::Exclamation));
    QCOMPARE(snapshot(home()), before);
    first.kill();
}

void tst_StartUp::killedCopyDoesNotBlockTheNextStart()
{
    {
        ProgramRun crashed(homePath(QStringLiteral("script1")),
                           {QStringLiteral("Use Default"), QStringLiteral("Ok")});
        QVERIFY(crashed.start());
        QVERIFY(crashed.waitForMessages(2));
        QVERIFY(QFileInfo::exists(InstanceLock::path()));
        crashed.kill(); // SIGKILL: nothing is cleaned up
        QCOMPARE(crashed.exitStatus(), QProcess::CrashExit);
    }
    QVERIFY(QFileInfo::exists(InstanceLock::path()));

    // The welcome text again (the crash lost the settings that would have
    // recorded it), never the already-running refusal.
    ProgramRun next(homePath(QStringLiteral("script2")), {QStringLiteral("Ok")});
    QVERIFY(next.start());
    QVERIFY(next.waitForMessages(1));
    QCOMPARE(next.messages()[0].prompt, WelcomeText());
    next.kill();
}

void tst_StartUp::firstStartInstallsTheShippedLists()
{
    script->answer({QStringLiteral("Use Default"), QStringLiteral("Ok")});
    Form1 mainWindow;
    QVERIFY(mainWindow.Load());
    const QDir data(documentsData());
    // The shipped files went to OriginalFiles, and the forename list was
    // made from them while the splash was up.
    QVERIFY(QFileInfo::exists(data.filePath(QStringLiteral("OriginalFiles/Pelkar_Districts.txt"))));
    QVERIFY(QFileInfo::exists(data.filePath(QStringLiteral("Files/Pelkar_Name2.txt"))));
    QVERIFY(gForeNames && gDistricts && gChangeMonitor && gTranscription);
    QVERIFY(gForeNames->TestForName(QStringLiteral("MARY")));

    // The grid model is the main window's, laid out for the batch.
    gProject->setEventType(1);
    gProject->setIYear(1911);
    gProject->setQtr(4);
    gTranscription->SetupInputGrid();
    QCOMPARE(mainWindow.fgInput().Cols(), 6);
    QCOMPARE(mainWindow.fgInput().TextMatrix(0, 3), QStringLiteral("Mother"));
    mainWindow.close();
    QVERIFY(!gForeNames && !gDistricts && !gChangeMonitor && !gTranscription);
}

void tst_StartUp::missingForenameFileClosesDown()
{
    // A data folder of an earlier run whose lists have all gone.
    const QString data = homePath(QStringLiteral("MyData"));
    QVERIFY(QDir().mkpath(QDir(data).filePath(QStringLiteral("Files"))));
    SaveUserSetting(kApp, QStringLiteral("Startup"), QStringLiteral("DataPath"), data);
    const QString nameFile = QDir(data).filePath(QStringLiteral("Files/Pelkar_Name2.txt"));

    script->answer({QStringLiteral("Ok"), QStringLiteral("Ok")});
    Form1 mainWindow;
    QVERIFY(!mainWindow.Load());
    QCOMPARE(script->records().size(), 2);
    QVERIFY(script->records()[0].prompt.startsWith(
        QStringLiteral("Forenames Init, Unable to find your Name File ") + nameFile));
    QCOMPARE(script->records()[1].prompt,
             QStringLiteral("Error Number 518\r\nUnable to open Name File"));
    QCOMPARE(script->records()[1].style, int(Mb::Critical));
    QVERIFY(gProject == nullptr && gEvents == nullptr);
    QVERIFY(!mainWindow.isVisible());
}

void tst_StartUp::traceOnWritesTheRunLine_data()
{
    QTest::addColumn<QString>("commandLine");
    QTest::addColumn<bool>("traced");
    QTest::newRow("upper-case") << "TRACEON" << true;
    QTest::newRow("any-case-with-blanks") << "  TraceOn " << true;
    QTest::newRow("a-batch-file-is-not-tracing") << "1911B3A0123.ZEL" << false;
    QTest::newRow("more-than-the-word") << "TRACEON2" << false;
}

void tst_StartUp::traceOnWritesTheRunLine()
{
    QFETCH(QString, commandLine);
    QFETCH(bool, traced);

    ProgramRun run(homePath(QStringLiteral("script")),
                   {QStringLiteral("Use Default"), QStringLiteral("Ok")}, {commandLine});
    QVERIFY(run.start());
    QVERIFY(run.waitForMessages(2));
    const QString trace = QDir(documentsData()).filePath(QStringLiteral("PelkarTrace"));
    // The line is written before the settings are read, long before the
    // welcome text.
    QCOMPARE(QFileInfo::exists(trace), traced);
    run.kill();
    if (!traced)
        return;
    QFile f(trace);
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QString text = QString::fromLatin1(f.readAll());
    static const QRegularExpression line(QStringLiteral(
        "^Run Started \\d\\d/\\d\\d/\\d{4} \\d\\d:\\d\\d:\\d\\d Version 7\\.4\\.0\r\n$"));
    QVERIFY2(line.match(text).hasMatch(), qPrintable(text));
}

PELKAR_TEST(tst_StartUp)
#include "tst_StartUp.moc"
