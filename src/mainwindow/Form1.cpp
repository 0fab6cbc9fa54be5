#include "mainwindow/Form1.h"

#include "core/FormRegistry.h"
#include "core/Globals.h"
#include "core/StartUp.h"
#include "core/clsEvents.h"
#include "entry/FlexGrid.h"
#include "entry/FlexGridView.h"
#include "winglue/CTimer.h"
#include "winglue/EventRaise.h"

#include <QAction>
#include <QCloseEvent>
#include <QMenuBar>

Form1::Form1(QWidget *parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("Form1"));
    RegisterForm(this, QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Pelkar"));
    QMenu *file = menuBar()->addMenu(QStringLiteral("&File"));
    mnuExit = file->addAction(QStringLiteral("E&xit"));
    mnuExit->setObjectName(QStringLiteral("mnuExit"));
    connect(mnuExit, &QAction::triggered, this, &Form1::mnuExit_Click);
    mGrid = std::make_unique<FlexGrid>();
    mGrid->setObjectName(QStringLiteral("fgInput"));
    mGridView = new FlexGridView(this);
    mGridView->setGrid(mGrid.get());
    setCentralWidget(mGridView);
    resize(800, 600);
}

Form1::~Form1() = default;

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
