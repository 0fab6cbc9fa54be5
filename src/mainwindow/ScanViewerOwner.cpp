#include "mainwindow/ScanViewerOwner.h"

#include "mainwindow/Form1.h"
#include "scanview/ScanViewerAdapter.h"
#include "scanview/frmScanView.h"

#include "core/Globals.h"
#include "core/Project.h"

#include <QAction>
#include <QScreen>

ScanViewerOwner::ScanViewerOwner(Form1 &mainWindow)
    : mMainWindow(mainWindow)
{
}

ScanViewerOwner::~ScanViewerOwner()
{
    // The viewer is a window of its own; it goes with the main window.
    if (mView)
        delete mView.data();
    if (mAdapter && &mMainWindow.scanViewer() == mAdapter.get())
        mMainWindow.setScanViewer(nullptr);
}

frmScanView &ScanViewerOwner::load()
{
    if (mView)
        return *mView;
    mView = new frmScanView();
    placeBesideMainWindow(*mView);
    mAdapter = std::make_unique<ScanViewerAdapter>(*mView);
    mMainWindow.setScanViewer(mAdapter.get());
    connect(mView, &frmScanView::scanOpened, this, [this] { mMainWindow.setScanItemsVisible(true); });
    // Queued: the viewer is still closing when it says so.
    connect(mView, &frmScanView::viewerClosed, this, &ScanViewerOwner::viewerClosed,
            Qt::QueuedConnection);
    return *mView;
}

void ScanViewerOwner::placeBesideMainWindow(frmScanView &view) const
{
    // A viewer that has never been moved would open over the grid at the
    // screen's corner: it goes below the main window, or beside it, where
    // the screen has room.
    if (!gProject || gProject->Scanleft() != 0 || gProject->ScanTop() != 0)
        return;
    const QScreen *screen = mMainWindow.screen();
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    const QRect main = mMainWindow.frameGeometry();
    const QSize size = view.frameGeometry().size();
    if (main.bottom() + 1 + size.height() <= area.bottom() + 1)
        view.move(main.left(), main.bottom() + 1);
    else if (main.right() + 1 + size.width() <= area.right() + 1)
        view.move(main.right() + 1, main.top());
}

void ScanViewerOwner::enableToolMenus()
{
    if (mView)
        mView->enableToolMenus();
}

void ScanViewerOwner::unload()
{
    if (!mView)
        return;
    frmScanView *view = mView;
    mView = nullptr;
    if (&mMainWindow.scanViewer() == mAdapter.get())
        mMainWindow.setScanViewer(nullptr);
    if (view->isVisible())
        view->close();
    view->deleteLater();
    mAdapter.reset();
    mMainWindow.setScanItemsVisible(false);
}

void ScanViewerOwner::viewerClosed()
{
    if (!mView || mView->isVisible())
        return;
    QAction *show = mMainWindow.MenuItem(QStringLiteral("mnuShowScanImage"));
    if (show && show->text().startsWith(QStringLiteral("Close")))
        mMainWindow.mnuShowScanImage_Click();
    else
        unload();
}

void ScanViewerOwner::HideForm1()
{
    mMainWindow.HideForm1();
}

void ScanViewerOwner::ShowForm1()
{
    mMainWindow.ShowForm1();
}

void ScanViewerOwner::ActivateForm1()
{
    if (mMainWindow.isVisible())
        mMainWindow.activateWindow();
}

int ScanViewerOwner::CurrentRow() const
{
    return mMainWindow.CurrentRow();
}

bool ScanViewerOwner::headerFormLoaded() const
{
    return mMainWindow.headerForm() != nullptr;
}

void ScanViewerOwner::Edit_Header()
{
    mMainWindow.Edit_Header(true);
}

bool ScanViewerOwner::GetPicture(const QString &path)
{
    frmScanView &view = load();
    view.show();
    view.raise();
    if (view.GetPicture(path))
        return true;
    // The transcriber has been told; an empty viewer left open would only
    // be in the way.
    if (!view.ImageX1().hasImage())
        unload();
    return false;
}

void ScanViewerOwner::setScanMenuCaption(const QString &caption)
{
    if (QAction *show = mMainWindow.MenuItem(QStringLiteral("mnuShowScanImage")))
        show->setText(caption);
}

void ScanViewerOwner::setZoomEnabled(bool enabled)
{
    for (const char *name : {"mnuZoomIn", "mnuZoomOut"}) {
        if (QAction *item = mMainWindow.MenuItem(QLatin1String(name)))
            item->setVisible(enabled);
    }
}
