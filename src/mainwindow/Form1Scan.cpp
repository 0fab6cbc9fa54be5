// The main window's commands that reach outside the grid: the four
// supplementary district files, and showing, opening, closing and zooming
// the page scan.

#include "mainwindow/Form1.h"

#include "core/Globals.h"
#include "core/MessageWindows.h"
#include "core/Project.h"
#include "core/Services.h"
#include "core/clsEvents.h"
#include "lists/Districts.h"
#include "mainwindow/Form1MenuItems.h"
#include "mainwindow/MenuState.h"
#include "mainwindow/OpenDialog.h"
#include "mainwindow/ScanViewerOwner.h"
#include "scanview/frmScanView.h"
#include "transcription/CrashRecovery.h"
#include "transcription/EntryBoxes.h"
#include "transcription/Transcription.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>

namespace {

struct SuppRange
{
    const char *periodLine;
    const char *defaultName;
};

// Indexed 1 to 4 as the supplementary paths are.
const SuppRange kSuppRanges[] = {
    {"The file you are selecting should be for all transcriptions prior to Sept 1946.",
     "Pelkar_Supp_Districts.txt"},
    {"The file you are selecting should be for all transcriptions from Sept 1946 to May 1965 "
     "inclusive.",
     "Pelkar_Supp_Districts_1946.txt"},
    {"The file you are selecting should be for all transcriptions from June 1965 onwards.",
     "Pelkar_Supp_Districts_1965.txt"},
    {"The file you are selecting should be for all transcriptions for June 1974 Onwards.",
     "Pelkar_Supp_Districts_1974.txt"},
};

} // namespace

void Form1::ConnectScanCommands()
{
    for (int i = 1; i <= 4; ++i) {
        if (QAction *item = MenuItem(MenuState::suppItemName(i))) {
            connect(item, &QAction::triggered, this, [this, i] { mnuSuppItem_Click(i); });
        }
    }
    if (QAction *show = MenuItem(QStringLiteral("mnuShowScanImage")))
        connect(show, &QAction::triggered, this, &Form1::mnuShowScanImage_Click);
    if (QAction *open = MenuItem(QStringLiteral("mnuOpenNewScan")))
        connect(open, &QAction::triggered, this, &Form1::mnuOpenNewScan_Click);
    if (QAction *in = MenuItem(QStringLiteral("mnuZoomIn")))
        connect(in, &QAction::triggered, this, &Form1::mnuZoomIn_Click);
    if (QAction *out = MenuItem(QStringLiteral("mnuZoomOut")))
        connect(out, &QAction::triggered, this, &Form1::mnuZoomOut_Click);
}

void Form1::mnuSuppItem_Click(int index)
{
    if (!gProject || index < 1 || index > 4)
        return;
    const SuppRange &range = kSuppRanges[index - 1];
    const QStringList lines = {
            QStringLiteral("This lets you select a different Supplementary District File"),
            QStringLiteral("You should normally use a different file for each of the 4 year ranges "
                           "because"),
            QStringLiteral("the names of many districts were quite different in each range"),
            QStringLiteral("You can select an existing Supplementary file (for example one provided "
                           "by your"),
            QStringLiteral("Syndicate, or you can create a new file. If you create a new file it will "
                           "be empty"),
            QStringLiteral("until you start adding new district names."),
            QString::fromLatin1(range.periodLine),
            QStringLiteral("Is this what you want to do?"),
    };
    if (ShowMessage(lines.join(QStringLiteral("\r\n")),
                    Mb::YesNo | Mb::Question | Mb::DefaultButton2,
                    QStringLiteral("Select Supplementary District File"))
        == Mb::No)
        return;

    // A stored path without a folder is one no dialog can start from: the
    // default name in the Files folder stands in for it.
    const QString present = gProject->SuppPath(index);
    QString folder;
    QString name;
    if (present.contains(QLatin1Char('/')) || present.contains(QLatin1Char('\\'))) {
        const QFileInfo info(QDir::fromNativeSeparators(present));
        folder = info.path();
        name = info.fileName();
    } else {
        folder = gProject->GetFilePath();
        name = QString::fromLatin1(range.defaultName);
    }
    gProject->setSuppPath(index, QDir(folder).filePath(name));

    const QString chosen = bOpenSuppFile(gProject->SuppPath(index));
    if (chosen.isEmpty())
        return;
    gProject->setSuppPath(index, chosen);
    if (index == gProject->iSuppRange() && gDistricts)
        gDistricts->Read_Districts();
}

void Form1::mnuShowScanImage_Click()
{
    QAction *show = MenuItem(QStringLiteral("mnuShowScanImage"));
    if (!show || !gProject)
        return;
    EventsOffGuard eventsOff;
    if (!show->text().startsWith(QStringLiteral("Show"))) {
        gProject->setScanFile(QString());
        mScanOwner->unload();
        setScanItemsVisible(false);
        show->setText(QStringLiteral("Show Scan Image"));
    } else {
        QString path;
        if (SelectScanFileDialog(path)) {
            ShowScanImage(path);
            if (gTranscription)
                gTranscription->CountRows();
        }
    }
    Boxes().GiveFocusBack();
}

void Form1::CloseScanOfOldBatch()
{
    if (QAction *show = MenuItem(QStringLiteral("mnuShowScanImage")))
        show->setText(QStringLiteral("Show Scan Image"));
    // Closing the viewer stores its place and forgets the scan (ScanOn).
    mScanOwner->unload();
    setScanItemsVisible(false);
    if (gProject) {
        gProject->setScanOn(false);
        gProject->setScanFile(QString());
    }
}

void Form1::mnuOpenNewScan_Click()
{
    QString path;
    if (!SelectScanFileDialog(path))
        return;
    if (frmScanView *view = mScanOwner->view())
        view->OpenNewPic(path);
    else
        ShowScanImage(path);
}

void Form1::mnuZoomIn_Click()
{
    if (scanShown())
        scanViewer().ZoomIn();
}

void Form1::mnuZoomOut_Click()
{
    if (scanShown())
        scanViewer().ZoomOut();
}

bool Form1::scanShown() const
{
    if (!gProject || !gProject->ScanOn())
        return false;
    // A viewer handed over from outside (a test's) counts as shown.
    const frmScanView *view = mScanOwner->view();
    return !view || view->isVisible();
}

void Form1::setScanItemsVisible(bool visible)
{
    for (const char *name : {"mnuOpenNewScan", "mnuScanSep", "mnuZoomIn", "mnuZoomOut"}) {
        if (QAction *item = MenuItem(QLatin1String(name)))
            item->setVisible(visible);
    }
}

ScanViewerOwner &Form1::scanViewerOwner() const
{
    return *mScanOwner;
}
