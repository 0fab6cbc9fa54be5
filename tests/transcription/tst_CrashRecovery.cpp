// The recovery step's choices that need no window: the command line that
// only switches tracing on, the scan that cannot be reopened, and the reset
// before a new batch.

#include "PelkarTest.h"
#include "RecordingStatusBar.h"
#include "TestFiles.h"

#include "core/Globals.h"
#include "core/Project.h"
#include "core/SettingsFileStore.h"
#include "entry/FlexGrid.h"
#include "transcription/CrashRecovery.h"
#include "transcription/Transcription.h"
#include "transcription/clsWorkFile.h"

#include <QDir>

namespace {

class RecordingWindows : public RecoveryWindows
{
public:
    void HideForm1() override { calls << QStringLiteral("hide"); }
    void Edit_Header() override { calls << QStringLiteral("header"); }
    bool GetPicture(const QString &path) override
    {
        calls << QStringLiteral("picture ") + path;
        return loads;
    }
    void setScanMenuCaption(const QString &caption) override { calls << caption; }
    void setZoomEnabled(bool enabled) override
    {
        calls << (enabled ? QStringLiteral("zoom on") : QStringLiteral("zoom off"));
    }

    bool loads = false;
    QStringList calls;
};

} // namespace

class tst_CrashRecovery : public PelkarTest
{
    Q_OBJECT

protected:
    void setUpCase() override
    {
        ProgramObjects::createEvents();
        ProgramObjects::createProject();
        ProgramObjects::createChangeMonitor();
        ProgramObjects::createTranscription();
        ProgramObjects::createWorkFile();
        QVERIFY(QDir().mkpath(homePath("data/Output")));
        gProject->setDataPath(homePath("data"));
        gProject->setFilesPath(homePath("data/Files"));
        ClearIniStore();
        QVERIFY(gProject->GetRegistryValues());
        grid = std::make_unique<FlexGrid>();
        gTranscription->setGrid(grid.get());
        gWorkFile->setGrid(grid.get());
        ProgramObjects::bindBatchFileHooks();
        statusBar = std::make_unique<RecordingStatusBar>();
        SetRecoveryWindows(&windows);
    }

    void tearDownCase() override
    {
        SetRecoveryWindows(nullptr);
        ProgramObjects::releaseAll();
        statusBar.reset();
        grid.reset();
    }

private slots:
    void traceOnIsNeverABatchFile_data();
    void traceOnIsNeverABatchFile();
    void scanQuestion_data();
    void scanQuestion();
    void resetStartsAnEmptyWorkFile();
    void folderInTheWayIsToldOnce();

private:
    std::unique_ptr<FlexGrid> grid;
    std::unique_ptr<RecordingStatusBar> statusBar;
    RecordingWindows windows;
};

void tst_CrashRecovery::traceOnIsNeverABatchFile_data()
{
    QTest::addColumn<QString>("commandLine");
    QTest::addColumn<bool>("triedAsFile");
    QTest::newRow("upper-case") << "TRACEON" << false;
    QTest::newRow("any-case-with-blanks") << "  traceOn  " << false;
    QTest::newRow("blanks-only") << "   " << false;
    QTest::newRow("a-file-name") << "TRACEON.ZEL" << true;
}

void tst_CrashRecovery::traceOnIsNeverABatchFile()
{
    QFETCH(QString, commandLine);
    QFETCH(bool, triedAsFile);
    if (triedAsFile)
        script->answer(QStringLiteral("Ok"));
    QVERIFY(!OfferCrashRecovery(commandLine));
    QCOMPARE(script->records().size(), triedAsFile ? 1 : 0);
    if (triedAsFile) {
        QCOMPARE(script->records()[0].prompt,
                 QStringLiteral("File ") + commandLine + QStringLiteral(" does not exist"));
    }
}

void tst_CrashRecovery::scanQuestion_data()
{
    QTest::addColumn<QString>("scanFile");
    QTest::addColumn<bool>("fileThere");
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QStringList>("calls");
    QTest::newRow("none-recorded-asks-nothing") << "" << false << "" << QStringList();
    QTest::newRow("file-gone-asks-nothing") << "page7.jpg" << false << "" << QStringList();
    QTest::newRow("declined-forgets-the-scan") << "page7.jpg" << true << "No" << QStringList();
    QTest::newRow("failed-load-closes-the-scan-menu")
        << "page7.jpg" << true << "Yes"
        << QStringList{"picture", "Close Scan", "Show Scan Image", "zoom off"};
}

void tst_CrashRecovery::scanQuestion()
{
    QFETCH(QString, scanFile);
    QFETCH(bool, fileThere);
    QFETCH(QString, answer);
    QFETCH(QStringList, calls);

    QVERIFY(QDir().mkpath(homePath("scans")));
    gProject->setScanPath(homePath("scans"));
    gProject->setScanFile(scanFile);
    gProject->setScanOn(true);
    const QString scan = QDir(homePath("scans")).filePath(scanFile);
    if (fileThere)
        QVERIFY(TestFiles::writeBytes(scan, "not really a picture"));
    if (!answer.isEmpty())
        script->answer(answer);

    OfferReopenScan();

    if (answer.isEmpty()) {
        QVERIFY(script->records().isEmpty());
        QCOMPARE(gProject->ScanFile(), scanFile);
        return;
    }
    QCOMPARE(script->records()[0].prompt,
             QStringLiteral("Would you like to Reopen Scan \r\npage7.jpg ?"));
    QCOMPARE(gProject->ScanFile(), QString());
    if (!calls.isEmpty())
        calls[0] = QStringLiteral("picture ") + scan;
    QCOMPARE(windows.calls, calls);
    QCOMPARE(gProject->ScanOn(), answer == QLatin1String("No"));
}

void tst_CrashRecovery::resetStartsAnEmptyWorkFile()
{
    QVERIFY(TestFiles::writeBytes(clsWorkFile::WorkFilePath(), QByteArray(3000, 'x')));
    gProject->setInvalid(true);
    gProject->setDataLines(12);
    gTranscription->SetPageNotValidated(4);
    QCOMPARE(gTranscription->ValidationEntryCount(), 1);

    ResetForNewBatch();

    QVERIFY(!gProject->Invalid());
    QCOMPARE(gProject->DataLines(), 0);
    QCOMPARE(gTranscription->ValidationEntryCount(), 0);
    QVERIFY(gWorkFile->WorkExists());
    QCOMPARE(TestFiles::readBytes(clsWorkFile::WorkFilePath()), QByteArray());
}

// A folder at the work file's path: no recovery question, one plain word
// that it is in the way (not the system's "No such file or directory"), and
// the new batch's work file does not repeat it.
void tst_CrashRecovery::folderInTheWayIsToldOnce()
{
    const QString path = clsWorkFile::WorkFilePath();
    QVERIFY(QDir().mkpath(path));
    script->answer(QStringLiteral("Ok"));

    QVERIFY(!OfferCrashRecovery(QString()));
    ResetForNewBatch();

    QCOMPARE(script->records().size(), 1);
    QCOMPARE(script->records()[0].prompt,
             QStringLiteral("A folder is in the way of Pelkar's work file:\r\n") + path
                 + QStringLiteral("\r\nYour work is not kept safe against a crash until that "
                                  "folder is moved or renamed.\r\nPlease move or rename it, "
                                  "then start Pelkar again."));
    QVERIFY(QFileInfo(path).isDir());
}

PELKAR_TEST(tst_CrashRecovery)
#include "tst_CrashRecovery.moc"
