// The main window laid out from the settings: place and size, the grid's
// height, columns, fonts and colours, the pick list's place and font, the
// caption, and the start state of the grid, status bar, companion hand-off
// and minute timer.

#include "mainwindow/Form1.h"

#include "core/FormRegistry.h"
#include "core/Globals.h"
#include "core/Project.h"
#include "core/Services.h"
#include "core/VbHelpers.h"
#include "core/WindowFrame.h"
#include "core/clsEvents.h"
#include "entry/FlexGrid.h"
#include "entry/FlexGridView.h"
#include "entry/RichTextView.h"
#include "lists/Districts.h"
#include "lists/frmPickList.h"
#include "mainwindow/FormBackground.h"
#include "mainwindow/ScanViewerOwner.h"
#include "mainwindow/ShowStatus.h"
#include "mainwindow/clsTressel.h"
#include "transcription/Transcription.h"
#include "transcription/clsWorkFile.h"
#include "winglue/CTimer.h"

#include <QAction>
#include <QGuiApplication>
#include <QLayout>
#include <QScreen>
#include <QScrollBar>
#include <QStatusBar>
#include <QTreeWidget>

namespace {

constexpr int kMinuteMs = 60000;

QColor fromStored(int colour)
{
    return QColor(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF);
}

int toStored(const QColor &colour)
{
    return colour.red() | (colour.green() << 8) | (colour.blue() << 16);
}

} // namespace

void Form1::SetUpMainForm()
{
    UnHook();
    ApplySavedPlace();
    if (gProject && gProject->Form1Height() > 0) {
        FitGridHeight();
        if (gTranscription)
            mVScroll->setPageStep(std::max(1, gTranscription->RowsVisible()));
    }
    if (gTranscription)
        gTranscription->SetInitialColumnWidths();
    SetFormBackground(centralWidget());

    ApplySettingsToMenus();
    SetCaption();

    if (gTranscription)
        gTranscription->CountRows();
    mShowStatus->ShowMsg(QString(), false, false);
    mShowStatus->ShowFile();

    {
        EventsOffGuard quiet;
        FlexGrid &grid = *mGrid;
        grid.setCol(1);
        if (grid.Rows() < 3 && gTranscription)
            gTranscription->AddRow();
        if (grid.Rows() > 2) {
            grid.setRow(2);
            grid.setTopRow(1);
        }
        gCurrentRow = grid.Row();
        gCurrentCol = grid.Col();
        gNewRow = gCurrentRow;
        gNewCol = gCurrentCol;
    }

    if (gDistricts)
        gDistricts->ConvertFormat();

    if (gProject) {
        auto *pickList = qobject_cast<frmPickList *>(FindForm(QStringLiteral("frmPickList")));
        if (!gProject->DropDownPick())
            PositionPickList();
        ApplyPickListFont();
        if (pickList) {
            pickList->NewFontSize();
            if ((gProject->DistPick() || gProject->ForePick()) && !gProject->DropDownPick())
                pickList->MakeVisible();
        }
    }

    if (gTranscription)
        gTranscription->UpdateScrollBar();

    // The items are the viewer's own: it is a window of its own.
    if (gProject && gProject->ScanOn())
        scanViewerOwner().enableToolMenus();

    // Not again when a load has just written the batch whole.
    if (gWorkFile)
        gWorkFile->SaveBatchToWork();

    if (gProject && gProject->DropDownPick())
        gProject->setMovePick(true);

    ShowForm1();
    Hook();

    myCopyPaste().setVisible(gProject && gProject->CopyPaste());
    // The transcriber types at once into the box over the first cell: the
    // main window takes the keyboard from the paste texts window shown
    // beside it.
    activateWindow();
    Set_TextBox();

    if (gTressel && gTranscription) {
        const QString tilde = QStringLiteral("~");
        gTressel->setOldRow(tilde, tilde, tilde);
        const int row = mGrid->Row();
        const int districtCol = gTranscription->DistrictCol();
        const int pageCol = gTranscription->PageCol();
        const auto cell = [this, row](int col) {
            return col > 0 && col < mGrid->Cols() ? VbTrim(mGrid->TextMatrix(row, col)) : QString();
        };
        gTressel->setDistrict(cell(districtCol), cell(pageCol));
    }

    if (mTime)
        mTime->setInterval(kMinuteMs);
}

void Form1::ApplySavedPlace()
{
    if (!gProject)
        return;
    // The place and size are the window's frame, title bar included, as
    // the shut-down records them.
    QRect place = WindowFrameRect(*this);
    place.moveTo(TwipsToPixelsX(gProject->Form1left()), TwipsToPixelsY(gProject->Form1Top()));
    if (gProject->Form1Width() > 0)
        place.setWidth(TwipsToPixelsX(gProject->Form1Width()));
    if (gProject->Form1Height() > 0)
        place.setHeight(TwipsToPixelsY(gProject->Form1Height()));

    // A place saved on a screen that is no longer there (another monitor,
    // a smaller resolution) would open the window where nobody can reach
    // it: it is brought onto the nearest screen instead.
    const QList<QScreen *> screens = QGuiApplication::screens();
    bool reachable = false;
    for (const QScreen *screen : screens) {
        const QRect area = screen->availableGeometry();
        // The title bar's part near the top left corner must be on a screen.
        if (area.intersects(QRect(place.topLeft(), QSize(std::min(place.width(), 100), 30))))
            reachable = true;
    }
    if (!reachable && !screens.isEmpty()) {
        QScreen *nearest = QGuiApplication::screenAt(place.center());
        if (!nearest)
            nearest = QGuiApplication::primaryScreen();
        const QRect area = nearest->availableGeometry();
        place.setSize(place.size().boundedTo(area.size()));
        place.moveTo(std::clamp(place.left(), area.left(), area.right() - place.width() + 1),
                     std::clamp(place.top(), area.top(), area.bottom() - place.height() + 1));
    }
    PlaceWindowFrame(*this, place.topLeft(), place.size());
}

void Form1::FitGridHeight()
{
    QWidget *area = centralWidget();
    const int rowHeight = mGrid->RowHeight(0);
    if (!area || rowHeight <= 0)
        return;
    // A hidden window's bars and central area are placed only when it is
    // shown; the grid is fitted to where they will be.
    if (QLayout *bars = layout())
        bars->activate();
    // The status bar lies outside the central area already.
    const int space = PixelsToTwipsY(area->height() - mGridView->y());
    const int rows = std::max(2, space / rowHeight);
    const int height = rowHeight * rows;
    mGrid->setHeight(height);
    mVScroll->setGeometry(mGridView->x() + mGridView->width(), mGridView->y(),
                          mVScroll->width(), mGridView->height());
}

void Form1::SetCaption()
{
    if (!gProject)
        return;
    const Project &project = *gProject;
    QString text = QString::number(project.iYear()) + QLatin1Char(' ');
    const QString letter = project.ZelLetter();
    if (letter == QLatin1String("B"))
        text += QStringLiteral("Births");
    else if (letter == QLatin1String("M"))
        text += QStringLiteral("Marriages");
    else if (letter == QLatin1String("D"))
        text += QStringLiteral("Deaths");
    text += QStringLiteral(" Q") + QString::number(project.iQtr());
    if (project.SourceType() != 3)
        text += QStringLiteral(" Batch ") + QString::number(project.Batchnumber());
    switch (project.SourceType()) {
    case 1:
        text += QStringLiteral(" Fiche");
        break;
    case 2:
        text += QStringLiteral(" Film");
        break;
    case 3:
        text += QStringLiteral(" Scan");
        break;
    default:
        break;
    }
    setWindowTitle(QStringLiteral("Pelkar v") + QString::number(PELKAR_VERSION_MAJOR)
                   + QLatin1Char('.') + QString::number(PELKAR_VERSION_MINOR) + QLatin1Char('.')
                   + QString::number(PELKAR_VERSION_PATCH) + QStringLiteral(" - ") + text);
}

void Form1::ApplyGridFont()
{
    if (!gProject)
        return;
    Project &project = *gProject;
    QFont font = mGrid->Font();
    const QString name = project.fontname().isEmpty() ? font.family() : project.fontname();
    const int size = project.FontSize() != 0 ? project.FontSize()
                                             : int(VbRound(font.pointSizeF() > 0 ? font.pointSizeF()
                                                                                 : 8.0));
    const bool bold = project.FontBold();
    const bool italic = project.FontItal();
    const int colour = project.FontColour();

    font.setFamily(name);
    font.setPointSize(std::max(1, size));
    font.setBold(bold);
    font.setItalic(italic);
    mGrid->setFont(font);
    QPalette palette = mGridView->palette();
    palette.setColor(QPalette::Text, fromStored(colour));
    mGridView->setPalette(palette);

    // The entry boxes are two points larger than the grid.
    QFont boxFont = font;
    boxFont.setPointSize(std::max(1, size) + 2);
    for (RichTextView *view : {mRichView, mForeNameView, mDistrictView})
        view->setFont(boxFont);

    project.Set_Font(name, size, bold, italic, colour);
}

void Form1::ApplyPickListFont()
{
    if (!gProject)
        return;
    Project &project = *gProject;
    auto *pickList = qobject_cast<frmPickList *>(FindForm(QStringLiteral("frmPickList")));
    QTreeWidget *list = pickList ? pickList->lvPick() : nullptr;
    const QFont present = list ? list->font() : QGuiApplication::font();
    const QString name = project.Pfontname().isEmpty() ? present.family() : project.Pfontname();
    const int size = project.PFontSize() != 0 ? project.PFontSize()
                                              : int(VbRound(present.pointSizeF() > 0
                                                                ? present.pointSizeF()
                                                                : 8.0));
    const bool bold = project.PFontBold();
    const bool italic = project.PFontItal();
    const int colour = project.PFontColour() != 0
                           ? project.PFontColour()
                           : toStored(list ? list->palette().color(QPalette::Text) : Qt::black);
    project.Set_PickFont(name, size, bold, italic, colour);

    if (!project.DistPick() && !project.ForePick())
        return;
    if (pickList && !project.DropDownPick() && gTranscription) {
        if ((gCurrentCol == gTranscription->ForenamesCol() && project.ForePick())
            || (gCurrentCol == gTranscription->DistrictCol() && project.DistPick()))
            pickList->MakeVisible();
    }
    if (list) {
        QFont font = list->font();
        font.setFamily(name);
        font.setPointSize(std::max(1, size));
        font.setBold(bold);
        font.setItalic(italic);
        list->setFont(font);
        QPalette palette = list->palette();
        palette.setColor(QPalette::Text, fromStored(colour));
        list->setPalette(palette);
    }
}

void Form1::PositionPickList()
{
    if (!gProject)
        return;
    auto *pickList = qobject_cast<frmPickList *>(FindForm(QStringLiteral("frmPickList")));
    if (!pickList)
        return;
    Project &project = *gProject;
    ScreenMetrics &screen = Services::screen();
    const QRect area = screen.screenRect();
    const int screenWidth = int(VbRound(area.width() * screen.twipsPerPixelX()));
    const int screenHeight = int(VbRound(area.height() * screen.twipsPerPixelY()));
    const QRect frame = WindowFrameRect(*pickList);
    const int width = PixelsToTwipsX(frame.width());
    const int height = PixelsToTwipsY(frame.height());
    const int left = std::min(project.Pickleft(), screenWidth - width);
    const int top = std::min(std::max(project.Picktop(), 0), screenHeight - height);
    PlaceWindowFrame(*pickList, QPoint(TwipsToPixelsX(left), TwipsToPixelsY(top)),
                     QSize(TwipsToPixelsX(project.PickWidth()), TwipsToPixelsY(project.PickHeight())));
    pickList->Resize_Picklist_LV();
    if (project.PickListColumn(gCurrentCol))
        pickList->MakeVisible();
}
