#include "app/StartUp.h"

#include "app/ProgramObjects.h"
#include "core/CloseDownRequest.h"
#include "core/FileHelpers.h"
#include "core/FormRegistry.h"
#include "core/Globals.h"
#include "core/InstanceLock.h"
#include "core/MessageWindows.h"
#include "core/ProgramSetup.h"
#include "core/Project.h"
#include "core/Services.h"
#include "core/ShowStatusSink.h"
#include "core/Tidy.h"
#include "core/UpdateProgress.h"
#include "core/VbHelpers.h"
#include "core/WaitCursor.h"
#include "core/WindowFrame.h"
#include "entry/FlexGrid.h"
#include "lists/frmPickList.h"
#include "mainwindow/Form1.h"
#include "mainwindow/HelpTopics.h"
#include "mainwindow/ShowStatus.h"
#include "mainwindow/frmAbout.h"
#include "transcription/CrashRecovery.h"
#include "transcription/Searcher.h"
#include "transcription/Transcription.h"
#include "transcription/clsWorkFile.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QPointer>
#include <QScopedValueRollback>

#include <optional>

namespace {

// Model code that cannot go on (a reference file missing) asks for the
// shut-down from deep inside its own operations; closing down there would
// release objects whose functions are still running. The request is noted
// and carried out once the stack has unwound: at start-up's next safe point,
// or from the event loop. The first request wins.
struct PendingCloseDown
{
    int errNo;
    QString title;
    QString text;
};
std::optional<PendingCloseDown> gPendingCloseDown;

bool closeDownPending()
{
    return gPendingCloseDown.has_value();
}

bool runPendingCloseDown()
{
    if (!gPendingCloseDown)
        return false;
    const PendingCloseDown request = *gPendingCloseDown;
    gPendingCloseDown.reset();
    CloseDown(request.errNo, request.title, request.text);
    return true;
}

void deferCloseDown(int errNo, const QString &title, const QString &text)
{
    if (gPendingCloseDown)
        return;
    gPendingCloseDown = PendingCloseDown{errNo, title, text};
    QMetaObject::invokeMethod(
        QCoreApplication::instance(), [] { runPendingCloseDown(); }, Qt::QueuedConnection);
}

const QString kCrLf = QStringLiteral("\r\n");

// Ends a start-up that cannot go on: nothing is saved.
bool stop(Form1 &mainWindow)
{
    ProgramObjects::releaseAll();
    mainWindow.UnloadByCode();
    InstanceLock::release();
    return false;
}

QString versionText()
{
    return QString::number(PELKAR_VERSION_MAJOR) + QLatin1Char('.')
           + QString::number(PELKAR_VERSION_MINOR) + QLatin1Char('.')
           + QString::number(PELKAR_VERSION_PATCH);
}

// The general date format, written the same in every locale.
QString generalDate(const QDateTime &when)
{
    return QLocale::c().toString(when, QStringLiteral("dd/MM/yyyy HH:mm:ss"));
}

bool commandLineIsTraceOn()
{
    return VbUCase(CommandLine().trimmed()) == QLatin1String("TRACEON");
}

// The main window's grid as the settings save reads its column widths.
class MainGridColumns final : public GridColumnSource
{
public:
    void setGrid(FlexGrid *grid) { mGrid = grid; }
    int columnCount() const override { return mGrid ? mGrid->Cols() : 0; }
    int columnWidthTwips(int col) const override { return mGrid ? mGrid->ColWidth(col) : 0; }

private:
    QPointer<FlexGrid> mGrid;
};
MainGridColumns gMainGridColumns;

void CreateGlobalObjects(Form1 &mainWindow)
{
    QDir::setCurrent(gLongDataPath);
    gAgeWarningShown = false;
    gCurrentCol = 0;
    gCurrentRow = 0;
    gProject->setDataLines(0);
    WaitCursor hourglass;
    // The five-column layout until a batch lays the grid out.
    gProject->setColType(5);
    // The entry boxes, the grid and their companions join these as each is
    // built, in their places of the creation order.
    ProgramObjects::createChangeMonitor();
    ProgramObjects::createRecentFiles();
    ProgramObjects::createWorkFile();
    gWorkFile->setGrid(&mainWindow.fgInput());
    gMainGridColumns.setGrid(&mainWindow.fgInput());
    gProject->setGridColumnSource(&gMainGridColumns);
    // The pick list exists from here on; it shows only when placed.
    auto *pickList = new frmPickList(&mainWindow);
    pickList->show();
    pickList->raise();
    pickList->hide();
    mainWindow.ApplyGridFont();
    mainWindow.HideForm1();
    ProgramObjects::createForeNames();
    if (closeDownPending())
        return; // the forename file could not be had
    QCoreApplication::processEvents();
    SetStatusBar(mainWindow.gShowStatus());
    ProgramObjects::createTranscription();
    gTranscription->setGrid(&mainWindow.fgInput());
    mainWindow.BindTranscription();
    ProgramObjects::createEntryBoxes();
    mainWindow.BindEntryBoxes();
    ProgramObjects::bindBatchFileHooks();
    Transcription::InstallBatchSaver();
    ProgramObjects::createDistricts();
    ProgramObjects::createSearcher();
    gSearcher->setGrid(&mainWindow.fgInput());
    // The window's size from here on is the one its controls are scaled from.
    mainWindow.myResizer().setForm(&mainWindow);
}

} // namespace

QString WelcomeText()
{
    return QStringList{
        QStringLiteral("Welcome to Pelkar"),
        QStringLiteral("Help is available for every entry box."),
        QStringLiteral("If ever you don't know what to type, or don't know the format then"),
        QStringLiteral("go into the box in question (either by Tab, Return, Arrow Key, or Mouse click),"),
        QStringLiteral("then press the F1 key."),
        QString(),
        QStringLiteral("On the input form there are a number of Menus.  You may find it helpful"),
        QStringLiteral("to read the helpfile for the Options Menu which has items intended for you"),
        QStringLiteral("to customise Pelkar so that it works in a way that you find comfortable."),
        QString(),
        QStringLiteral("You can browse the help file via the Help Menu."),
    }.join(kCrLf);
}

bool StartUp(Form1 &mainWindow)
{
    if (!InstanceLock::acquire()) {
        mainWindow.UnloadByCode();
        SystemMessageBox(kProductName + QStringLiteral(" is already running"), Mb::Exclamation,
                         kProductName);
        return false;
    }

    gForceMigration = false;
    ProgramObjects::createEvents();
    ProgramObjects::createProject();
    gProject->setGetDistrictFile(false);

    if (!gProject->GetPathToFolders()) {
        SystemMessageBox(QStringLiteral("Pelkar cannot continue without that Folder"), Mb::Critical,
                         kProductName + QStringLiteral(" Ending"));
        return stop(mainWindow);
    }

    if (commandLineIsTraceOn()) {
        gProject->Tracing();
        gProject->TraceLine(QStringLiteral("Run Started ") + generalDate(Services::clock().now())
                            + QStringLiteral(" Version ") + versionText());
    }

    if (!Tidy_Version6WithProgress())
        return stop(mainWindow);

    gHeaderReason = -1;
    ScreenMetrics &screen = Services::screen();
    gHScrollHeight = int(VbRound(screen.horizontalScrollBarHeight() * screen.twipsPerPixelY()));
    gVScrollWidth = int(VbRound(screen.verticalScrollBarWidth() * screen.twipsPerPixelX()));

    if (!gProject->Setup())
        return stop(mainWindow);
    MergeSuppDistricts1974();

    const QString filesFolder = gProject->GetFilePath();
    if (!FolderExists(filesFolder)) {
        SystemMessageBox(QStringLiteral("I can't find the folder holding your files.") + kCrLf
                             + QStringLiteral("Your ini says it should be ") + filesFolder + kCrLf
                             + QStringLiteral("You either need to replace it or contact ")
                             + Project::SupportEmail() + kCrLf
                             + QStringLiteral("Pelkar will now exit so that you can do that."),
                         Mb::Critical, kProductName);
        return stop(mainWindow);
    }
    gProject->GoToFileDir();

    ProgramObjects::createTressel();
    mainWindow.CreateTimerAndRelay();

    const QString helpFolder = gProject->CommonAppData().isEmpty()
                                   ? QString()
                                   : QDir(gProject->CommonAppData()).filePath(QStringLiteral("help"));
    if (helpFolder.isEmpty() || !QFileInfo(helpFolder).isDir()) {
        ShowMessage(QStringLiteral("Unable to access the helpfile in ") + gProject->CommonAppData()
                        + kCrLf
                        + QStringLiteral("Pelkar will continue but no help will be available.")
                        + kCrLf + QStringLiteral("Click Ok to continue"),
                    Mb::Information, kProductName);
    } else {
        SetHelpFolder(helpFolder);
    }

    if (!MakeFileFolder())
        return stop(mainWindow);

    SetCloseDownHandler(deferCloseDown);
    {
        const auto splash = frmAbout::ShowSplash();
        CreateGlobalObjects(mainWindow);
    }
    if (runPendingCloseDown())
        return false;

    if (!gProject->InitialHelp()) {
        ShowMessage(WelcomeText(), Mb::Information, kProductName);
        gProject->setInitialHelp(true);
    }

    if (gProject->GetDistrictFile())
        gProject->setDistrictVersion(QStringLiteral("??"));

    gHeaderResult = 0;
    // The main window has installed itself as the recovery's windows.
    const bool loaded = OfferCrashRecovery(CommandLine());
    if (runPendingCloseDown())
        return false;
    if (loaded) {
        if (ShowStatus *status = mainWindow.gShowStatus())
            status->ShowDuration();
        // A batch whose header is incomplete waits for the header form,
        // which lays the window out when it is accepted.
        if (!mainWindow.headerForm())
            mainWindow.SetUpMainForm();
    } else if (gHeaderResult != 5) {
        gTranscription->setKeepGrid(false);
        gProject->setIYear(0);
        gHeaderReason = 2;
        mainWindow.WaitForHeaderForm();
    } else {
        return stop(mainWindow);
    }
    return true;
}

void CloseDown(int errNo, const QString &title, const QString &text)
{
    // Closing the main window below comes back here through its close
    // handler; the shut-down runs once.
    static bool closingDown = false;
    if (closingDown)
        return;
    QScopedValueRollback<bool> once(closingDown, true);

    QPointer<Form1> mainWindow = qobject_cast<Form1 *>(FindForm(QStringLiteral("Form1")));
    QPointer<frmPickList> pickList =
        qobject_cast<frmPickList *>(FindForm(QStringLiteral("frmPickList")));

    if (errNo == 0 && gProject) {
        if (pickList) {
            pickList->setWindowTitle(QStringLiteral("Closing"));
            gProject->SavePickPosition();
        }
        // The viewer stores its own place, zoom and scan as it closes.
        if (QWidget *viewer = qobject_cast<QWidget *>(FindForm(QStringLiteral("frmScanView"))))
            viewer->close();
        // The window's place is taken before the save, so that the save
        // carries it (the column widths save again themselves).
        if (mainWindow && mainWindow->isVisible() && !mainWindow->isMinimized()) {
            const QRect g = WindowFrameRect(*mainWindow);
            gProject->setForm1Height(PixelsToTwipsY(g.height()));
            gProject->setForm1left(PixelsToTwipsX(g.left()));
            gProject->setForm1Top(PixelsToTwipsY(g.top()));
            gProject->setForm1Width(PixelsToTwipsX(g.width()));
            gProject->RememberCols();
        }
        gProject->SetRegistryValues();
    }
    if (errNo != 0) {
        ShowMessage(QStringLiteral("Error Number ") + QString::number(errNo) + kCrLf + text,
                    Mb::Critical, title);
    }

    // No move or wheel of a window may reach objects that are going.
    if (mainWindow)
        mainWindow->UnHook();

    // Closing down normally ends the batch's crash protection: the work file
    // goes before anything else.
    ProgramObjects::releaseWorkFile();
    // gEvents goes last: the others may still hold events off as they close.
    ProgramObjects::releaseAll();
    SetStatusBar(nullptr);

    if (pickList)
        pickList->Unload();
    for (QWidget *w : QApplication::topLevelWidgets()) {
        if (w != mainWindow && w->isVisible())
            w->close();
    }
    if (mainWindow)
        mainWindow->UnloadByCode();
    InstanceLock::release();
}
