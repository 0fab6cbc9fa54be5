// Start-up and shut-down, in this process and with the real program.

#include "PelkarTest.h"
#include "ProgramRun.h"
#include "TestFiles.h"

#include "app/StartUp.h"
#include "core/FormRegistry.h"
#include "core/Globals.h"
#include "core/InstanceLock.h"
#include "core/LineReader.h"
#include "core/Project.h"
#include "core/UserSettings.h"
#include "entry/FlexGrid.h"
#include "lists/Districts.h"
#include "lists/ForeNames.h"
#include "mainwindow/Form1.h"
#include "transcription/Change_Monitor.h"
#include "transcription/Transcription.h"
#include "transcription/clsWorkFile.h"

#include <QDeadlineTimer>
#include <QDirIterator>
#include <QProcess>
#include <QThread>
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

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Waits until the file holds the bytes (or is gone, for empty bytes and
// gone true); gives what it held at the end.
QByteArray waitForFile(const QString &path, const QByteArray &bytes, bool gone = false)
{
    QDeadlineTimer deadline(20000);
    QByteArray now;
    do {
        now = readAll(path);
        if (gone ? !QFileInfo::exists(path) : now == bytes)
            break;
        QThread::msleep(20);
    } while (!deadline.hasExpired());
    return now;
}

// The work file as a rebuild rewrites it: deleted-row records at its end
// are not written again.
QByteArray withoutTrailingDeletedRows(QByteArray bytes)
{
    constexpr int record = 250;
    while (bytes.size() >= record && bytes.at(bytes.size() - record) == '-')
        bytes.chop(record);
    return bytes;
}

// The records of a work file, trailing spaces dropped and the unwritten
// bytes shown as "~", so that a difference names its record.
QStringList records(const QByteArray &bytes)
{
    QStringList out;
    for (qsizetype at = 0; at < bytes.size(); at += 250) {
        QByteArray r = bytes.mid(at, 250);
        r.replace('\0', '~');
        out << QString::fromLatin1(r).trimmed();
    }
    return out;
}

// The test program that loads and edits a batch step by step (see
// crash_writer.cpp) and is killed between steps.
class CrashWriter
{
public:
    bool start(const QString &data, const QString &batch)
    {
        const QString program = qEnvironmentVariable("PELKAR_CRASH_WRITER");
        if (program.isEmpty())
            return false;
        mProcess.start(program, {data, batch});
        return mProcess.waitForStarted(10000);
    }
    // Reads up to "ready step"; the grid rows it printed before it.
    bool waitForStep(int step, QStringList &rows)
    {
        rows.clear();
        QDeadlineTimer deadline(20000);
        while (!deadline.hasExpired()) {
            while (mProcess.canReadLine()) {
                const QString line = QString::fromUtf8(mProcess.readLine()).chopped(1);
                if (line == QStringLiteral("ready ") + QString::number(step))
                    return true;
                if (line.startsWith(QLatin1String("row ")))
                    rows << line.mid(4);
            }
            if (!mProcess.waitForReadyRead(200) && mProcess.state() == QProcess::NotRunning)
                return false;
        }
        return false;
    }
    void next() { mProcess.write("\n"); }
    QProcess::ExitStatus kill()
    {
        mProcess.kill(); // SIGKILL
        mProcess.waitForFinished(10000);
        return mProcess.exitStatus();
    }
    QString errors() { return QString::fromLocal8Bit(mProcess.readAllStandardError()); }

private:
    QProcess mProcess;
};

// Rows 1 on of the grid as the writer prints them: the row, TAB, the cells
// of columns 1 on joined by TAB.
QStringList gridRows(FlexGrid &grid)
{
    QStringList rows;
    for (int row = 1; row < grid.Rows(); ++row) {
        QStringList cells;
        for (int col = 1; col < grid.Cols(); ++col)
            cells << grid.TextMatrix(row, col);
        rows << QString::number(row) + QLatin1Char('\t') + cells.join(QLatin1Char('\t'));
    }
    return rows;
}

const QString kRecoveryQuestion = QStringLiteral(
    "Your previous run of Pelkar did not closedown properly. Would you like me to try a recovery "
    "to that point?");
} // namespace

class tst_StartUp : public PelkarTest
{
    Q_OBJECT

private slots:
    void firstStartCreatesFoldersAndWelcomes();
    void exitClosesDownAndReleasesEverything();
    void missingFilesFolderStopsWithoutCreatingAnything();
    void outputBlockedByAFileStopsWithTheReason();
    void secondCopyIsRefusedAndTouchesNothing_data();
    void secondCopyIsRefusedAndTouchesNothing();
    void killedCopyDoesNotBlockTheNextStart();
    void firstStartInstallsTheShippedLists();
    void missingForenameFileClosesDown();
    void missingDistrictFileClosesDown();
    void traceOnWritesTheRunLine_data();
    void traceOnWritesTheRunLine();
    void crashedBatchIsRecovered_data();
    void crashedBatchIsRecovered();
    void declinedRecoveryDeletesTheWorkFile();
    void commandLineBatchIsLoaded();
    void lastBatchIsContinued_data();
    void lastBatchIsContinued();
    void workFileSurvivesAStartThatStopsEarly();
    void restoredBatchShowsEveryColumn_data();
    void restoredBatchShowsEveryColumn();
    void startWithoutABatchSelectsTheFiveColumnWidths();
    void saveLeftoversGoAtStartUp();
    void damagedWorkFileIsNeverRecoveredEmpty_data();
    void damagedWorkFileIsNeverRecoveredEmpty();

private:
    // A data folder as a first start that closed down cleanly leaves it.
    void prepareDataFolder()
    {
        script->answer({QStringLiteral("Use Default"), QStringLiteral("Ok")});
        {
            Form1 mainWindow;
            QVERIFY(mainWindow.Load());
            mainWindow.close();
        }
        script->clearRecords();
    }
    QString batchFixture() const
    {
        return QDir(QStringLiteral(PELKAR_FIXTURES))
            .filePath(QStringLiteral("batch-births-plain-fiche/input.ZEL"));
    }
    QString workPath() const { return QDir(documentsData()).filePath(QStringLiteral("PelkarWork")); }
    QString settingsPath() const
    {
        return QDir(documentsData()).filePath(QStringLiteral("Pelkarini.txt"));
    }

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
    // A first start has no batch: the header form comes up, the main window
    // waits hidden behind it.
    QVERIFY(mainWindow->headerForm() && mainWindow->headerForm()->isVisible());
    QVERIFY(!mainWindow->isVisible());

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
    QVERIFY(gProject && gEvents && gTressel);
    QVERIFY(IsFormLoaded(QStringLiteral("FORM1")));
    // The companion sees a running program with nothing open yet.
    QCOMPARE(GetSharedSetting(kApp, QStringLiteral("Tressel"), QStringLiteral("YTQ")),
             QStringLiteral("~"));

    mainWindow->mnuExit_Click();
    QVERIFY(!mainWindow->isVisible());
    QVERIFY(gProject == nullptr);
    QVERIFY(gEvents == nullptr);
    QVERIFY(gTressel == nullptr);
    for (const char *key : {"YTQ", "District", "OldRow", "Saved"})
        QCOMPARE(GetSharedSetting(kApp, QStringLiteral("Tressel"), QString::fromLatin1(key), "<none>"),
                 QString());
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

void tst_StartUp::secondCopyIsRefusedAndTouchesNothing_data()
{
    QTest::addColumn<bool>("otherRuntimeFolder");
    QTest::newRow("same-runtime-folder") << false;
    // Same home, same data folder: the first copy's work file is still its
    // own, whatever runtime folder the second is given.
    QTest::newRow("other-runtime-folder") << true;
}

void tst_StartUp::secondCopyIsRefusedAndTouchesNothing()
{
    QFETCH(bool, otherRuntimeFolder);
    ProgramRun first(homePath(QStringLiteral("script1")), {QStringLiteral("Use Default"), QStringLiteral("Ok")});
    QVERIFY(first.start());
    QVERIFY2(first.waitForMessages(2), qPrintable(first.errorOutput()));
    QCOMPARE(first.messages()[1].prompt, WelcomeText());
    // The first copy goes on starting after its welcome: wait until it
    // leaves the files alone.
    QStringList before = snapshot(home());
    for (int i = 0; i < 50; ++i) {
        QThread::msleep(200);
        QStringList now = snapshot(home());
        if (now == before)
            break;
        before = std::move(now);
    }

    const QString otherRuntime = QDir::temp().filePath(
        QStringLiteral("pelkar-runtime-%1").arg(QCoreApplication::applicationPid()));
    ProgramRun second(homePath(QStringLiteral("script2")), {QStringLiteral("Ok")});
    if (otherRuntimeFolder) {
        QVERIFY(QDir().mkpath(otherRuntime));
        QFile::setPermissions(otherRuntime,
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        second.setEnvironment(QStringLiteral("XDG_RUNTIME_DIR"), otherRuntime);
    }
    QVERIFY(second.start());
    QVERIFY(second.waitForExit());
    if (otherRuntimeFolder)
        QDir(otherRuntime).removeRecursively();
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
    // The pick list window exists, hidden until an entry box places it.
    QVERIFY(IsFormLoaded(QStringLiteral("frmPickList")));
    QVERIFY(!FindForm(QStringLiteral("frmPickList"))->property("visible").toBool());

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

void tst_StartUp::missingDistrictFileClosesDown()
{
    // The district file is read once the start knows there is no batch to
    // reload; its absence ends the run cleanly, with no object used after
    // the shut-down released it.
    const QString data = homePath(QStringLiteral("MyData"));
    const QDir files(QDir(data).filePath(QStringLiteral("Files")));
    QVERIFY(QDir().mkpath(files.path()));
    QVERIFY(QFile::copy(QDir(Project::SystemFilesFolder()).filePath(QStringLiteral("OriginalFiles/Pelkar_Name.txt")),
                        files.filePath(QStringLiteral("Pelkar_Name2.txt"))));
    SaveUserSetting(kApp, QStringLiteral("Startup"), QStringLiteral("DataPath"), data);

    script->answer({QStringLiteral("Ok"), QStringLiteral("Ok"), QStringLiteral("Ok")});
    Form1 mainWindow;
    QVERIFY(!mainWindow.Load());
    QCOMPARE(script->records().size(), 3);
    QCOMPARE(script->records()[0].prompt, WelcomeText());
    QVERIFY(script->records()[1].prompt.startsWith(
        QStringLiteral("Read_Districts, Unable to open your District File ")));
    QCOMPARE(script->records()[2].prompt,
             QStringLiteral("Error Number 515\r\nUnable to find District file"));
    QCOMPARE(script->records()[2].title, QStringLiteral("Pelkar.xxxx"));
    QVERIFY(gProject == nullptr && gEvents == nullptr && gTranscription == nullptr);
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

void tst_StartUp::crashedBatchIsRecovered_data()
{
    QTest::addColumn<int>("killedAfter");
    QTest::newRow("after-the-load") << 1;
    QTest::newRow("after-a-cell-edit") << 2;
    QTest::newRow("after-a-row-added") << 3;
    QTest::newRow("after-the-last-row-deleted") << 4;
}

void tst_StartUp::crashedBatchIsRecovered()
{
    QFETCH(int, killedAfter);
    prepareDataFolder();

    CrashWriter writer;
    QVERIFY(writer.start(documentsData(), batchFixture()));
    QStringList written;
    for (int step = 1; step <= killedAfter; ++step) {
        QVERIFY2(writer.waitForStep(step, written), qPrintable(writer.errors()));
        if (step < killedAfter)
            writer.next();
    }
    const QByteArray flushed = readAll(workPath());
    QVERIFY(!flushed.isEmpty());
    QCOMPARE(writer.kill(), QProcess::CrashExit);

    // The real program offers the recovery and rewrites the work file from
    // the grid it rebuilt.
    {
        ProgramRun run(homePath(QStringLiteral("script")), {QStringLiteral("Yes"), QStringLiteral("Ok")});
        QVERIFY(run.start());
        QVERIFY2(run.waitForMessages(2), qPrintable(run.errorOutput()));
        const QList<MessageRecord> asked = run.messages();
        QCOMPARE(asked[0].kind, QStringLiteral("box"));
        QCOMPARE(asked[0].prompt, kRecoveryQuestion);
        QCOMPARE(asked[0].style, int(Mb::YesNo | Mb::Question));
        QCOMPARE(asked[0].title, QStringLiteral("Pelkar"));
        QCOMPARE(asked[1].kind, QStringLiteral("popup"));
        QCOMPARE(asked[1].prompt, QStringLiteral("ERROR RECOVERY - PELKAR IS RELOADING THE LAST BATCH"));
        QCOMPARE(asked[1].style, 0);
        const QByteArray expected = withoutTrailingDeletedRows(flushed);
        QCOMPARE(records(waitForFile(workPath(), expected)), records(expected));
        run.kill();
        QCOMPARE(run.messages().size(), 2);
    }

    // The grid it rebuilds, here where it can be seen, from the file the
    // killed program left. What was rebuilt is in no file: closing offers to
    // save it, and is told not to.
    script->answer({QStringLiteral("Yes"), QStringLiteral("Ok"), QStringLiteral("No")});
    {
        Form1 mainWindow;
        QVERIFY(mainWindow.Load());
        QVERIFY(mainWindow.isVisible());
        QCOMPARE(gridRows(mainWindow.fgInput()), written);
        QVERIFY(QFileInfo::exists(workPath()));
        mainWindow.close();
    }
    // A clean exit leaves no work file, and the next start asks nothing.
    QVERIFY(!QFileInfo::exists(workPath()));
    script->clearRecords();
    Form1 next;
    QVERIFY(next.Load());
    QVERIFY(script->records().isEmpty());
    next.close();
}

void tst_StartUp::declinedRecoveryDeletesTheWorkFile()
{
    prepareDataFolder();
    CrashWriter writer;
    QVERIFY(writer.start(documentsData(), batchFixture()));
    QStringList written;
    QVERIFY2(writer.waitForStep(1, written), qPrintable(writer.errors()));
    QVERIFY(QFileInfo::exists(workPath()));
    writer.kill();

    ProgramRun run(homePath(QStringLiteral("script")), {QStringLiteral("No")});
    QVERIFY(run.start());
    QVERIFY(run.waitForMessages(1));
    QCOMPARE(run.messages()[0].prompt, kRecoveryQuestion);
    waitForFile(workPath(), QByteArray(), true);
    QVERIFY(!QFileInfo::exists(workPath()));
    run.kill();
    QCOMPARE(run.messages().size(), 1);
    QVERIFY(!QFileInfo::exists(workPath()));

    // Nothing is left to offer.
    Form1 next;
    QVERIFY(next.Load());
    QVERIFY(script->records().isEmpty());
    QCOMPARE(next.fgInput().Rows(), 2);
    next.close();
}

void tst_StartUp::commandLineBatchIsLoaded()
{
    prepareDataFolder();
    // What the load writes into the work file, as the writer's own load
    // wrote it.
    CrashWriter writer;
    QVERIFY(writer.start(documentsData(), batchFixture()));
    QStringList loaded;
    QVERIFY2(writer.waitForStep(1, loaded), qPrintable(writer.errors()));
    const QByteArray expected = readAll(workPath());
    writer.kill();
    QVERIFY(QFile::remove(workPath()));

    {
        ProgramRun run(homePath(QStringLiteral("script")), {}, {batchFixture()});
        QVERIFY(run.start());
        QCOMPARE(records(waitForFile(workPath(), expected)), records(expected));
        run.kill();
        QVERIFY(run.messages().isEmpty());
    }
    QVERIFY(QFile::remove(workPath()));

    setCommandLine(batchFixture());
    Form1 mainWindow;
    QVERIFY(mainWindow.Load());
    QVERIFY(script->records().isEmpty());
    QCOMPARE(gridRows(mainWindow.fgInput()), loaded);
    QCOMPARE(GetSharedSetting(kApp, QStringLiteral("Tressel"), QStringLiteral("YTQ")),
             QStringLiteral("1905B1"));
    mainWindow.close();
}

void tst_StartUp::lastBatchIsContinued_data()
{
    QTest::addColumn<QString>("answer");
    QTest::addColumn<bool>("fileKept");
    QTest::newRow("continued") << "Yes" << true;
    QTest::newRow("declined-goes-to-a-new-batch") << "No" << true;
    QTest::newRow("file-gone-asks-nothing") << "" << false;
}

void tst_StartUp::lastBatchIsContinued()
{
    QFETCH(QString, answer);
    QFETCH(bool, fileKept);
    prepareDataFolder();

    // A run that worked on the batch and closed down: the header stays in
    // the settings, the file in the save folder.
    setCommandLine(batchFixture());
    QString batchFile;
    QStringList loaded;
    {
        Form1 mainWindow;
        QVERIFY(mainWindow.Load());
        loaded = gridRows(mainWindow.fgInput());
        batchFile = QDir(gProject->SavePath()).filePath(gProject->BuildBatchName());
        QVERIFY(QFile::copy(batchFixture(), batchFile));
        mainWindow.close();
    }
    if (!fileKept)
        QVERIFY(QFile::remove(batchFile));
    setCommandLine(QString());

    if (!answer.isEmpty())
        script->answer(answer);
    Form1 mainWindow;
    QVERIFY(mainWindow.Load());
    // A batch continued shows the main window; otherwise the header form
    // comes up for a new one, the main window hidden behind it.
    const bool continued = answer == QLatin1String("Yes");
    QCOMPARE(mainWindow.isVisible(), continued);
    QCOMPARE(mainWindow.headerForm() != nullptr, !continued);
    if (answer.isEmpty()) {
        QVERIFY(script->records().isEmpty());
    } else {
        QCOMPARE(script->records().size(), 1);
        QCOMPARE(script->records()[0].kind, QStringLiteral("popup"));
        QCOMPARE(script->records()[0].prompt, QStringLiteral("Would you like to continue using batch \r\n")
                                                  + QFileInfo(batchFile).fileName() + QStringLiteral("?"));
        QCOMPARE(script->records()[0].style, 1);
    }
    if (answer == QLatin1String("Yes")) {
        QCOMPARE(gridRows(mainWindow.fgInput()), loaded);
        QCOMPARE(gHeaderReason, -1);
    } else {
        QCOMPARE(gHeaderReason, 2);
        QCOMPARE(gProject->iYear(), 0);
    }
    mainWindow.close();
}

void tst_StartUp::workFileSurvivesAStartThatStopsEarly()
{
    // A crashed run's work file, then a start that stops before the
    // recovery question (the forename file has gone).
    prepareDataFolder();
    CrashWriter writer;
    QVERIFY(writer.start(documentsData(), batchFixture()));
    QStringList written;
    QVERIFY2(writer.waitForStep(1, written), qPrintable(writer.errors()));
    writer.kill();
    const QByteArray left = readAll(workPath());
    const QDir data(documentsData());
    QVERIFY(QFile::remove(data.filePath(QStringLiteral("Files/Pelkar_Name2.txt"))));
    QVERIFY(QDir(data.filePath(QStringLiteral("OriginalFiles"))).removeRecursively());

    script->answer({QStringLiteral("Ok"), QStringLiteral("Ok")});
    {
        Form1 mainWindow;
        QVERIFY(!mainWindow.Load());
    }
    QCOMPARE(readAll(workPath()), left);
}

// How a start finds the batch it opens with.
enum class BatchStart { CommandLine, ContinueLast, CrashRebuild };
Q_DECLARE_METATYPE(BatchStart)

void tst_StartUp::restoredBatchShowsEveryColumn_data()
{
    QTest::addColumn<BatchStart>("start");
    QTest::addColumn<QString>("fixture");
    QTest::addColumn<int>("columns");
    // The stored widths of the batch's layout; empty: not restored, the
    // grid's width is shared out.
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("expected");
    const QString plain = QStringLiteral("batch-births-plain-fiche");
    const QString mother = QStringLiteral("batch-births-mother-film");
    QTest::newRow("command-line-shares-the-width")
        << BatchStart::CommandLine << plain << 5 << QString() << QString();
    QTest::newRow("command-line-six-columns-share-the-width")
        << BatchStart::CommandLine << mother << 6 << QString() << QString();
    QTest::newRow("command-line-stored-widths-corrected")
        << BatchStart::CommandLine << plain << 5 << QStringLiteral("0:20:2100:2200:900")
        << QStringLiteral("300:450:2100:2200:900");
    QTest::newRow("continued-batch-shares-the-width")
        << BatchStart::ContinueLast << mother << 6 << QString() << QString();
    QTest::newRow("continued-batch-stored-widths")
        << BatchStart::ContinueLast << plain << 5 << QStringLiteral("330:2400:10:1900:800")
        << QStringLiteral("330:2400:450:1900:800");
    QTest::newRow("crash-rebuild-shares-the-width")
        << BatchStart::CrashRebuild << plain << 5 << QString() << QString();
    QTest::newRow("crash-rebuild-six-columns-stored-widths")
        << BatchStart::CrashRebuild << mother << 6 << QStringLiteral("300:1900:1800:1700:0:800")
        << QStringLiteral("300:1900:1800:1700:450:800");
}

void tst_StartUp::restoredBatchShowsEveryColumn()
{
    QFETCH(BatchStart, start);
    QFETCH(QString, fixture);
    QFETCH(int, columns);
    QFETCH(QString, stored);
    QFETCH(QString, expected);
    const QString batch =
        QDir(QStringLiteral(PELKAR_FIXTURES)).filePath(fixture + QStringLiteral("/input.ZEL"));
    prepareDataFolder();

    QStringList arguments;
    QStringList answers;
    switch (start) {
    case BatchStart::CommandLine:
        arguments << batch;
        break;
    case BatchStart::ContinueLast: {
        // A run that worked on the batch: the header in the settings, the
        // file in the save folder.
        setCommandLine(batch);
        Form1 mainWindow;
        QVERIFY(mainWindow.Load());
        QVERIFY(QFile::copy(batch,
                            QDir(gProject->SavePath()).filePath(gProject->BuildBatchName())));
        mainWindow.close();
        setCommandLine(QString());
        answers << QStringLiteral("Yes");
        break;
    }
    case BatchStart::CrashRebuild: {
        CrashWriter writer;
        QVERIFY(writer.start(documentsData(), batch));
        QStringList written;
        QVERIFY2(writer.waitForStep(1, written), qPrintable(writer.errors()));
        writer.kill();
        answers << QStringLiteral("Yes") << QStringLiteral("Ok");
        break;
    }
    }

    // The widths the settings give: restored, or shared out from widths
    // that no grid could show.
    const QString widthsKey = QStringLiteral("ColWidth") + QString::number(columns);
    QString settings = QString::fromLatin1(readAll(settingsPath()));
    const auto setKey = [&settings](const QString &key, const QString &value) {
        const QRegularExpression line(QStringLiteral("(?m)^") + key + QStringLiteral("=[^\r\n]*"));
        QVERIFY2(settings.contains(line), qPrintable(key));
        settings.replace(line, key + QLatin1Char('=') + value);
    };
    setKey(QStringLiteral("RestoreCols"), stored.isEmpty() ? QStringLiteral("N") : QStringLiteral("Y"));
    setKey(widthsKey, stored.isEmpty() ? QStringList(columns, QStringLiteral("0")).join(u':') : stored);
    setKey(QStringLiteral("F1Width"), QStringLiteral("0"));
    QVERIFY(TestFiles::writeBytes(settingsPath(), settings.toLatin1()));

    // The real program, closed down as soon as it is up: closing records
    // the window's width and the grid's column widths in the settings.
    ProgramRun run(homePath(QStringLiteral("script")), answers, arguments);
    run.setEnvironment(QStringLiteral("PELKAR_CLOSE_WHEN_STARTED"), QStringLiteral("1"));
    QVERIFY(run.start());
    QVERIFY2(run.waitForExit(), qPrintable(run.errorOutput()));
    QCOMPARE(run.exitStatus(), QProcess::NormalExit);
    QCOMPARE(run.exitCode(), 0);
    QCOMPARE(run.messages().size(), answers.size());
    QVERIFY(!QFileInfo::exists(workPath()));

    const auto lines = ReadTextLines(settingsPath());
    QVERIFY(lines);
    const auto value = [&lines](const QString &key) {
        for (const QString &line : *lines) {
            if (line.startsWith(key + QLatin1Char('=')))
                return line.mid(key.size() + 1);
        }
        return QString();
    };
    const int windowWidth = value(QStringLiteral("F1Width")).toInt();
    QVERIFY(windowWidth > 0);
    const QString saved = value(widthsKey);
    if (!expected.isEmpty()) {
        QCOMPARE(saved, expected);
        return;
    }
    QList<int> widths;
    for (const QString &part : saved.split(u':'))
        widths << part.toInt();
    QCOMPARE(widths.size(), columns);
    // Surname, forenames, district, and the mother's name when there is
    // one, share what the row numbers and the page leave of the grid.
    const QList<int> shared = columns == 6 ? QList<int>{1, 2, 3, 4} : QList<int>{1, 2, 3};
    int total = 0;
    for (int col = 0; col < columns; ++col) {
        QVERIFY2(widths[col] > 0, qPrintable(saved));
        if (shared.contains(col))
            QCOMPARE(widths[col], widths[1]);
        total += widths[col];
    }
    QVERIFY2(widths[1] > widths[0] && widths[1] > widths[columns - 1], qPrintable(saved));
    // The grid is the window's width, less its frame and at most a scroll
    // bar.
    QVERIFY2(total <= windowWidth && total > windowWidth - 40 * 15,
             qPrintable(saved + QStringLiteral(" in ") + QString::number(windowWidth)));
}

void tst_StartUp::startWithoutABatchSelectsTheFiveColumnWidths()
{
    // Before any batch lays the grid out, the stored widths read are the
    // five-column layout's.
    prepareDataFolder();
    Form1 mainWindow;
    QVERIFY(mainWindow.Load());
    QCOMPARE(gHeaderReason, 2);
    QCOMPARE(gProject->ColWidth(1), 2205);
    QCOMPARE(gProject->ColWidth(2), 3510);
    QCOMPARE(gProject->DataLines(), 0);
    mainWindow.close();
}

void tst_StartUp::saveLeftoversGoAtStartUp()
{
    // What a save killed before its rename leaves beside the batch goes;
    // the batch and a user's own files that look alike stay.
    prepareDataFolder();
    const QDir output(QDir(documentsData()).filePath(QStringLiteral("Output")));
    const QStringList kept{QStringLiteral("1905B1A0012.ZEL"), QStringLiteral("1905B1A0012.ZEL.backup"),
                           QStringLiteral("1905B1A0012.ZEL.Ab12Cd"),
                           QStringLiteral("1905B1A0012.ZEL.pelkar-save-notes.txt")};
    const QStringList leftovers{QStringLiteral("1905B1A0012.ZEL.pelkar-save-Ab12Cd"),
                                QStringLiteral("1905B1A0013.ZEL.pelkar-save-x9Y8z7")};
    for (const QString &name : kept + leftovers) {
        QFile file(output.filePath(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("+INFO,ann@example.org,Password,SEQUENCED,BIRTHS\r\n");
    }

    Form1 mainWindow;
    QVERIFY(mainWindow.Load());
    QStringList expected = kept;
    expected.sort();
    QCOMPARE(output.entryList(QDir::Files | QDir::Hidden, QDir::Name), expected);
    mainWindow.close();
}

void tst_StartUp::damagedWorkFileIsNeverRecoveredEmpty_data()
{
    QTest::addColumn<bool>("folder");
    QTest::newRow("random-bytes") << false;
    QTest::newRow("folder-in-the-way") << true;
}

// What stands at the work file's path is no batch the real program can
// rebuild: it says why, offers no empty batch as the recovered work, and
// keeps what was there.
void tst_StartUp::damagedWorkFileIsNeverRecoveredEmpty()
{
    QFETCH(bool, folder);
    prepareDataFolder();
    const QByteArray random =
        readAll(TestFiles::fixture(QStringLiteral("workfile-random-bytes/input.bin")));
    if (folder)
        QVERIFY(QDir().mkpath(QDir(workPath()).filePath(QStringLiteral("mine"))));
    else
        QVERIFY(TestFiles::writeBytes(workPath(), random));

    const QStringList answers = folder ? QStringList{QStringLiteral("Ok")}
                                       : QStringList{QStringLiteral("Yes"), QStringLiteral("Ok"),
                                                     QStringLiteral("Ok")};
    ProgramRun run(homePath(QStringLiteral("script")), answers);
    QVERIFY(run.start());
    QVERIFY2(run.waitForMessages(answers.size()), qPrintable(run.errorOutput()));
    const QList<MessageRecord> asked = run.messages();
    if (folder) {
        QCOMPARE(asked[0].prompt,
                 QStringLiteral("A folder is in the way of Pelkar's work file:\r\n") + workPath()
                     + QStringLiteral("\r\nYour work is not kept safe against a crash until that "
                                      "folder is moved or renamed.\r\nPlease move or rename it, "
                                      "then start Pelkar again."));
    } else {
        QCOMPARE(asked[0].prompt, kRecoveryQuestion);
        QVERIFY2(asked[2].prompt.startsWith(
                     QStringLiteral("Failed to Decipher header line 1\r\n")),
                 qPrintable(asked[2].prompt));
    }
    run.kill();
    QCOMPARE(run.messages().size(), answers.size());

    if (folder) {
        QVERIFY(QFileInfo(QDir(workPath()).filePath(QStringLiteral("mine"))).isDir());
        return;
    }
    const QStringList kept = QDir(documentsData())
                                 .entryList({QStringLiteral("PelkarWork-*")}, QDir::Files);
    QCOMPARE(kept.size(), 1);
    QCOMPARE(readAll(QDir(documentsData()).filePath(kept.first())), random);
    QVERIFY(!QFileInfo::exists(workPath()));
}

PELKAR_TEST(tst_StartUp)
#include "tst_StartUp.moc"
