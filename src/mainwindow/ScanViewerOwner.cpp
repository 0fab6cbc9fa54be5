#include "mainwindow/ScanViewerOwner.h"

#include "mainwindow/Form1.h"
#include "scanview/ScanViewerAdapter.h"
#include "scanview/frmScanView.h"

#include "core/Globals.h"
#include "core/Project.h"
#include "core/VbHelpers.h"
#include "core/WindowFrame.h"

#include <QAction>
#include <QScreen>

#include <algorithm>

namespace {
// A viewer made smaller than this shows too little of a page to be worth
// placing beside the main window.
constexpr int kSmallestViewerTwips = 3000;
} // namespace

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
    const QRect main = WindowFrameRect(mMainWindow);
    const QSize size = WindowFrameRect(view).size();
    const int roomBelow = area.bottom() - main.bottom();
    const int roomRight = area.right() - main.right();
    if (size.height() <= roomBelow) {
        PlaceWindowFrame(view, QPoint(main.left(), main.bottom() + 1));
        return;
    }
    if (size.width() <= roomRight) {
        PlaceWindowFrame(view, QPoint(main.right() + 1, main.top()));
        return;
    }
    // No room for the whole viewer: made smaller, it takes the larger room
    // beside or below, or, with the main window filling the screen, the
    // part of the screen above or below the row being typed.
    const int smallest = TwipsToPixelsY(kSmallestViewerTwips);
    if (std::max(roomBelow, roomRight) >= smallest) {
        if (roomBelow >= roomRight)
            PlaceWindowFrame(view, QPoint(main.left(), main.bottom() + 1),
                             QSize(std::min(size.width(), area.right() - main.left() + 1), roomBelow));
        else
            PlaceWindowFrame(view, QPoint(main.right() + 1, main.top()),
                             QSize(roomRight, std::min(size.height(), area.bottom() - main.top() + 1)));
        return;
    }
    const QWidget *box = mMainWindow.VisibleEntryBox();
    if (!box)
        return;
    const QRect row(box->mapToGlobal(QPoint(0, 0)), box->size());
    const int width = std::min(size.width(), area.width());
    if (area.bottom() - row.bottom() >= row.top() - area.top())
        PlaceWindowFrame(view, QPoint(area.left(), row.bottom() + 1),
                         QSize(width, std::min(size.height(), area.bottom() - row.bottom())));
    else
        PlaceWindowFrame(view, QPoint(area.left(), std::max(area.top(), row.top() - size.height())),
                         QSize(width, std::min(size.height(), row.top() - area.top())));
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
