#include "mainwindow/Form1.h"

#include "core/FormRegistry.h"
#include "core/Globals.h"
#include "core/StartUp.h"
#include "core/Project.h"
#include "core/clsEvents.h"
#include "entry/FlexGrid.h"
#include "entry/FlexGridView.h"
#include "lists/frmDistricts.h"
#include "lists/frmForenames.h"
#include "transcription/Searcher.h"
#include "transcription/clsFlexPrint.h"
#include "transcription/frmFind.h"
#include "winglue/CTimer.h"
#include "winglue/EventRaise.h"

#include <QAction>
#include <QCloseEvent>
#include <QMenuBar>
#include <QPrintDialog>
#include <QPrinter>

Form1::Form1(QWidget *parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("Form1"));
    RegisterForm(this, QStringLiteral("Form1"));
    SetEditorHost(this);
    setWindowTitle(QStringLiteral("Pelkar"));
    CreateMenus();
    mGrid = std::make_unique<FlexGrid>();
    mGrid->setObjectName(QStringLiteral("fgInput"));
    mGridView = new FlexGridView(this);
    mGridView->setGrid(mGrid.get());
    setCentralWidget(mGridView);
    resize(800, 600);
}

Form1::~Form1()
{
    SetEditorHost(nullptr);
}

bool Form1::Load()
{
    return StartUp(*this);
}

void Form1::UnloadByCode()
{
    close();
}

void Form1::CreateTimerAndRelay()
{
    mTime = std::make_unique<CTimer>();
    mEvent = std::make_unique<EventRaise>();
}

void Form1::WaitForHeaderForm()
{
    // The header form takes over here once it exists.
    show();
}

void Form1::SetUpMainForm()
{
    show();
}

bool Form1::CantUseMenues() const
{
    return gEvents && gEvents->NoEvents();
}

void Form1::mnuExit_Click()
{
    if (CantUseMenues())
        return;
    close();
}

void Form1::closeEvent(QCloseEvent *event)
{
    CloseDown(0, QString(), QString());
    mTime.reset();
    event->accept();
}

void Form1::HideForm1()
{
    hide();
    if (gProject)
        gProject->HidePickList();
}

void Form1::editExit()
{
    show();
    if (gProject)
        gProject->ShowPickList();
}

bool Form1::PrintTo(QPrinter *printer)
{
    clsFlexPrint print;
    print.setTitle(true);
    return print.PrintGrid(*mGrid, printer);
}

void Form1::mnuPrint_Click()
{
    if (CantUseMenues())
        return;
    QPrinter printer(QPrinter::HighResolution);
    QPrintDialog dialog(&printer, this);
    if (dialog.exec() == QDialog::Accepted)
        PrintTo(&printer);
}

void Form1::GoToFound()
{
    EventsOffGuard quiet;
    mGrid->setRowCol(gSearcher->FoundRow(), gSearcher->FoundCol());
}

void Form1::mnuFindString_Click()
{
    if (CantUseMenues() || !gSearcher)
        return;
    frmFind dialog(*gSearcher, this);
    dialog.exec();
    if (gSearcher->Found())
        GoToFound();
}

void Form1::mnuFindNextString_Click()
{
    if (CantUseMenues() || !gSearcher)
        return;
    if (gSearcher->FindNext())
        GoToFound();
}

void Form1::mnuEditForenames_Click()
{
    if (CantUseMenues() || !gForeNames)
        return;
    auto *editor = new frmForenames(this);
    editor->setAttribute(Qt::WA_DeleteOnClose);
    editor->setWindowFlag(Qt::Window);
    editor->show();
}

void Form1::mnuEditDistricts_Click()
{
    if (CantUseMenues() || !gDistricts)
        return;
    auto *editor = new frmDistricts(this);
    editor->setAttribute(Qt::WA_DeleteOnClose);
    editor->setWindowFlag(Qt::Window);
    editor->show();
}
