#include "scanview/frmScanView.h"

#include "core/FileHelpers.h"
#include "core/FormRegistry.h"
#include "core/Globals.h"
#include "core/MessageWindows.h"
#include "core/Project.h"
#include "core/Services.h"
#include "core/ShowStatusSink.h"
#include "core/VbHelpers.h"
#include "core/WaitCursor.h"
#include "core/clsEvents.h"
#include "scanview/ScanViewerHost.h"
#include "scanview/ZoomCaption.h"
#include "scanview/frmScanTools.h"
#include "scanview/frmSetupRuler.h"
#include "transcription/EntryBoxes.h"

#include <QAction>
#include <QScreen>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QFontDatabase>
#include <QFrame>
#include <QGridLayout>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QPaintEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QRegion>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QVBoxLayout>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>
#include <optional>

namespace {

const QString kCaption = QStringLiteral("Pelkar - Scan View");
constexpr int kMinimumTwips = 1000;
// The scroll bars hold 16-bit values.
constexpr int kScrollBarLimit = 32767;

QColor fromStored(int colour)
{
    return QColor(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF);
}

int twipsPerPixelY()
{
    return std::max(1, PixelsToTwipsY(1));
}

// Millimetres to screen pixels.
int MmToPixels(int mm)
{
    return int(VbRound(mm * 56.7 / twipsPerPixelY()));
}

} // namespace

// The area the page is painted into; it hands its painting, size and the
// user's wheel and buttons to the window.
class ScanCanvas : public QWidget
{
public:
    explicit ScanCanvas(frmScanView *view)
        : QWidget(nullptr), mView(view)
    {
        setObjectName(QStringLiteral("ImageX1"));
        setAttribute(Qt::WA_OpaquePaintEvent);
        setFocusPolicy(Qt::ClickFocus);
        setMinimumSize(1, 1);
    }

protected:
    void paintEvent(QPaintEvent *event) override
    {
        QPainter painter(this);
        mView->paintCanvas(painter, event->rect());
    }
    void resizeEvent(QResizeEvent *) override
    {
        mView->mImage.setControlSize(size());
        mView->GetScrollLimits();
        mView->layOutRulerBar();
        mView->DiagBoxRefresh();
    }
    void wheelEvent(QWheelEvent *event) override { mView->wheelOnCanvas(event); }
    void mousePressEvent(QMouseEvent *event) override
    {
        if (event->button() == Qt::LeftButton)
            mView->showMagnifier(event->position().toPoint());
        if (event->button() == Qt::RightButton) {
            mDragFrom = event->position().toPoint();
            mDragScroll = QPoint(mView->mImage.ScrollX(), mView->mImage.ScrollY());
        }
        button(event, 1);
    }
    void mouseReleaseEvent(QMouseEvent *event) override
    {
        if (event->button() == Qt::LeftButton)
            mView->hideMagnifier();
        button(event, 2);
    }
    // Dragging with the right button moves the page under the pointer like
    // a sheet of paper; the ruler's bar follows it.
    void mouseMoveEvent(QMouseEvent *event) override
    {
        if (event->buttons() & Qt::LeftButton)
            mView->showMagnifier(event->position().toPoint());
        if (!(event->buttons() & Qt::RightButton) || !mView->mImage.hasImage())
            return;
        const QPoint moved = event->position().toPoint() - mDragFrom;
        mView->mImage.userScrolled(mDragScroll.x() - moved.x(), mDragScroll.y() - moved.y());
    }

private:
    void button(QMouseEvent *event, int action)
    {
        int b = 0;
        switch (event->button()) {
        case Qt::LeftButton: b = 1; break;
        case Qt::RightButton: b = 2; break;
        case Qt::MiddleButton: b = 4; break;
        default: return;
        }
        const QPoint p = event->position().toPoint();
        mView->mImage.userMouseButton(b, action, p.x(), p.y());
    }

    frmScanView *mView;
    QPoint mDragFrom;
    QPoint mDragScroll;
};

// The ruler's scroll bar; the wheel over it moves the page as it does
// over the page itself.
class RulerBar : public QScrollBar
{
public:
    RulerBar(frmScanView *view, QWidget *parent)
        : QScrollBar(Qt::Vertical, parent), mView(view)
    {
    }

protected:
    void wheelEvent(QWheelEvent *event) override { mView->wheelOnCanvas(event); }

private:
    frmScanView *mView;
};

frmScanView::frmScanView(QWidget *parent)
    : QMainWindow(parent)
{
    setObjectName(QStringLiteral("frmScanView"));
    RegisterForm(this, QStringLiteral("frmScanView"));
    setAttribute(Qt::WA_DeleteOnClose, false);

    auto *central = new QWidget(this);
    auto *grid = new QGridLayout(central);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(0);
    mCanvas = new ScanCanvas(this);
    mHBar = new QScrollBar(Qt::Horizontal, central);
    mHBar->setObjectName(QStringLiteral("ImageX1HScroll"));
    mVBar = new QScrollBar(Qt::Vertical, central);
    mVBar->setObjectName(QStringLiteral("ImageX1VScroll"));
    grid->addWidget(mCanvas, 0, 0);
    grid->addWidget(mVBar, 0, 1);
    grid->addWidget(mHBar, 1, 0);
    setCentralWidget(central);

    // Laid over the image's right edge while the ruler shows.
    VScroll1 = new RulerBar(this, mCanvas);
    VScroll1->setObjectName(QStringLiteral("VScroll1"));
    // Its arrows move a pixel: the finest step there is.
    VScroll1->setSingleStep(1);
    VScroll1->hide();

    // Laid over the image's right edge; Alt+D shows it.
    DiagFrame = new QFrame(mCanvas);
    DiagFrame->setObjectName(QStringLiteral("DiagFrame"));
    DiagFrame->setFrameShape(QFrame::Box);
    DiagFrame->setAutoFillBackground(true);
    DiagBox = new QPlainTextEdit(DiagFrame);
    DiagBox->setObjectName(QStringLiteral("DiagBox"));
    DiagBox->setReadOnly(true);
    DiagBox->setLineWrapMode(QPlainTextEdit::NoWrap);
    QFont fixedPitch = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    // Some platforms offer no fixed system font; ask for any that is.
    fixedPitch.setStyleHint(QFont::TypeWriter);
    fixedPitch.setFixedPitch(true);
    DiagBox->setFont(fixedPitch);
    DiagBox->setPlainText(QStringLiteral("Diagnostic box - ALT D to show"));
    auto *diagLayout = new QVBoxLayout(DiagFrame);
    diagLayout->setContentsMargins(2, 2, 2, 2);
    diagLayout->addWidget(DiagBox);
    const QFontMetrics metrics(DiagBox->font());
    DiagFrame->resize(metrics.horizontalAdvance(QLatin1Char('0')) * 48,
                      metrics.lineSpacing() * 24);
    DiagFrame->hide();

    buildMenus();

    connect(&mImage, &ImagingControl::changed, this, &frmScanView::imageChanged);
    connect(&mImage, &ImagingControl::MouseButton, this, &frmScanView::ImageX1_MouseButton);
    connect(mHBar, &QScrollBar::valueChanged, this, [this](int x) {
        if (!mSyncingBars)
            mImage.userScrolled(x, mImage.ScrollY());
    });
    connect(mVBar, &QScrollBar::valueChanged, this, [this](int y) {
        if (!mSyncingBars)
            mImage.userScrolled(mImage.ScrollX(), y);
    });
    connect(VScroll1, &QScrollBar::valueChanged, this, &frmScanView::VScroll1_Change);

    Form_Load();
}

frmScanView::~frmScanView() = default;

QWidget *frmScanView::imageArea() const
{
    return mCanvas;
}

void frmScanView::buildMenus()
{
    mnuView = menuBar()->addMenu(QStringLiteral("&View"));
    mnuView->setObjectName(QStringLiteral("mnuView"));
    auto add = [this](QMenu *menu, const char *name, const QString &text) {
        QAction *a = menu->addAction(text);
        a->setObjectName(QLatin1String(name));
        return a;
    };
    mnuShowHide = add(mnuView, "mnuShowHide", QStringLiteral("Show Image Tools"));
    mnuShowRuler = add(mnuView, "mnuShowRuler", QStringLiteral("Show Ruler"));
    mnuShowMag = add(mnuView, "mnuShowMag", QStringLiteral("Show Magnifier"));
    mnucoltop = add(mnuView, "mnucoltop", QStringLiteral("Move Ruler to Top of Column"));
    mnuZoomMenu = mnuView->addMenu(QStringLiteral("Zoom"));
    mnuZoom = mnuZoomMenu->menuAction();
    mnuZoom->setObjectName(QStringLiteral("mnuZoom"));
    mnuZoomIn = add(mnuZoomMenu, "mnuZoomIn", QStringLiteral("Zoom In"));
    mnuZoomOut = add(mnuZoomMenu, "mnuZoomOut", QStringLiteral("Zoom Out"));
    mnucoltop->setVisible(false);
    // The magnifier comes with its own window.

    connect(mnuShowHide, &QAction::triggered, this, &frmScanView::mnuShowHide_Click);

    connect(mnuShowRuler, &QAction::triggered, this, &frmScanView::mnuShowRuler_Click);
    connect(mnuShowMag, &QAction::triggered, this, &frmScanView::mnuShowMag_Click);
    connect(mnucoltop, &QAction::triggered, this, &frmScanView::mnucoltop_Click);
    connect(mnuZoomMenu, &QMenu::aboutToShow, this, &frmScanView::ZoomWarning);
    connect(mnuZoomIn, &QAction::triggered, this, [this] { SetZoom(1); });
    connect(mnuZoomOut, &QAction::triggered, this, [this] { SetZoom(-1); });
}

void frmScanView::Form_Load()
{
    mRotation = 0.0f;
    mBackCol = 0xFFFFFF;
    mTextCol = 0;
    mRulerShown = 0;
    mRulerCalibrated = false;
    mZoomWarned = false;
    mMagnifying = false;
    ImageCallWhenSet(true);
    EventsOffGuard eventsOff;
    setWindowTitle(kCaption);
    if (gProject) {
        mSeeThru = gProject->RuleSeeThru();
        move(TwipsToPixelsX(gProject->Scanleft()), TwipsToPixelsY(gProject->ScanTop()));
        const int w = std::max(gProject->ScanWidth(), kMinimumTwips);
        const int h = std::max(gProject->ScanHeight(), kMinimumTwips);
        resize(TwipsToPixelsX(w), TwipsToPixelsY(h));
        gProject->setScanOn(false);
    }
    // Both wait while the header form is open.
    const bool headerOpen = ViewerHost().headerFormLoaded();
    mnuShowHide->setEnabled(!headerOpen);
    mnuShowRuler->setEnabled(!headerOpen);
}

// ---- Loading ----------------------------------------------------------------------

bool frmScanView::GetPicture(const QString &path)
{
    return OpenNewPic(path);
}

void frmScanView::releaseImage()
{
    mImage.setFileName(QString());
}

bool frmScanView::OpenNewPic(const QString &path)
{
    CloseImageTools();
    if (!FileExists(path)) {
        ShowMessage(QStringLiteral("Sorry but I can't find that file"), Mb::Critical,
                    QStringLiteral("Pelkar"));
        return false;
    }
    {
        // The old page goes before the new one is read, so that two never
        // sit in memory at once; the window is told only of the new one, so
        // the scroll bars are not set to nothing and back, each time
        // repainted.
        const QSignalBlocker quiet(mImage);
        releaseImage();
    }
    mBackCol = 0xFFFFFF;
    mTextCol = 0;
    mnucoltop->setVisible(false);
    mnuShowRuler->setText(QStringLiteral("Show Ruler"));
    mRulerShown = 0;
    mRulerCalibrated = false;
    if (gProject)
        gProject->setGreyScale(false);
    // A large scan takes a while to read and turn.
    std::optional<WaitCursor> wait(std::in_place);
    VScroll1->hide();
    mVBar->show();

    mImage.setFileName(path);
    if (gProject && std::max(mImage.BitsPerPixel(), 1) > 1)
        gProject->setGreyScale(true);
    const int error = mImage.LoadError();
    if (error != 0) {
        wait.reset();
        ShowMessage(QStringLiteral("Error code ") + QString::number(error)
                        + QStringLiteral(" opening file"),
                    Mb::Critical, QStringLiteral("Pelkar"));
        return false;
    }

    mRotation = 0.0f;
    if (gProject && gProject->Rotation() != 0.0f)
        doRotate(gProject->Rotation());
    ApplyColours();

    double zoom = gProject ? gProject->Zoom() : 1.0;
    if (zoom < 0.001 || zoom >= 100)
        zoom = 1.0;
    mImage.setZoomFactor(float(zoom));
    GetScrollLimits();
    if (mImage.ImageWidth() > 0)
        mScale100 = PixelsToTwipsX(mCanvas->width()) * 100.0 / (zoom * mImage.ImageWidth());

    const QFileInfo info(path);
    setWindowTitle(kCaption + QLatin1Char(' ') + info.fileName() + QStringLiteral(" (")
                   + ZoomPercentText(mImage.ZoomFactor()) + QStringLiteral("%)"));
    if (gProject) {
        gProject->setScanOn(true);
        gProject->setScanPath(info.absolutePath());
        gProject->setScanFile(info.fileName());
    }
    mCanvas->update();
    wait.reset();
    emit scanOpened();
    return true;
}

void frmScanView::doRotate(float degrees)
{
    if (!mImage.hasImage())
        return;
    WaitCursor wait;
    // Start again from the page as stored, so turns never add up errors.
    // A page shown in other colours is reloaded too: the colours are applied
    // afresh below, from the white and black of the file.
    const bool recoloured = mBackCol != 0xFFFFFF || mTextCol != 0;
    if ((mRotation != 0.0f || recoloured) && gProject) {
        const int y = mImage.ScrollY();
        mImage.setFileName(QDir(gProject->ScanPath()).filePath(gProject->ScanFile()));
        mImage.setScrollY(y);
    }
    mRotation += degrees;
    mImage.Rotate(double(mRotation));
    if (gProject)
        gProject->setRotation(mRotation);
    mBackCol = 0xFFFFFF;
    mTextCol = 0;
    ApplyColours();
}

namespace {

// An ink that stands in while the wanted ink is still the paper's colour:
// yellow, or green when yellow is the wanted paper; never a colour on the
// page or wanted for it, so that paper and ink never merge.
int temporaryInk(int wantedPaper, int shownPaper, int shownInk, int wantedInk)
{
    for (int c : {0x00FFFF, 0x00FF00, 0xFF0000, 0xFF00FF})
        if (c != wantedPaper && c != shownPaper && c != shownInk && c != wantedInk)
            return c;
    return 0x808080;
}

bool blackOrWhite(int colour)
{
    return colour == 0 || colour == 0xFFFFFF;
}

} // namespace

void frmScanView::ApplyColours()
{
    if (!gProject || gProject->GreyScale() || !mImage.hasImage())
        return;
    WaitCursor wait;
    int back = gProject->ScanBackColour();
    int text = gProject->ScanTextColour();
    // A colour not set (-1) keeps what is shown; paper and ink that would end
    // alike go back to white and black rather than blank the page.
    const int wantedBack = back >= 0 ? back : mBackCol;
    const int wantedText = text >= 0 ? text : mTextCol;
    if (back == text || wantedBack == wantedText) {
        back = 0xFFFFFF;
        text = 0;
        gProject->setScanBackColour(back);
        gProject->setScanTextColour(text);
    }
    const auto toEightBits = [this] {
        if (std::max(mImage.BitsPerPixel(), 1) == 1)
            mImage.ColorDepth(8, 0, 3);
    };

    int ink = text;
    const bool temporary = text >= 0 && (text == back || text == mBackCol);
    if (temporary)
        ink = temporaryInk(back, mBackCol, mTextCol, text);
    if (text >= 0 && text != mTextCol) {
        toEightBits();
        mImage.ReplaceColor(quint32(mTextCol), quint32(mTextCol), quint32(ink));
        mTextCol = ink;
        gProject->setScanTextColour(ink);
    }
    if (back >= 0 && back != mBackCol) {
        toEightBits();
        mImage.ReplaceColor(quint32(mBackCol), quint32(mBackCol), quint32(back));
        mBackCol = back;
        gProject->setScanBackColour(back);
    }
    if (temporary) {
        mImage.ReplaceColor(quint32(ink), quint32(ink), quint32(text));
        mTextCol = text;
        gProject->setScanTextColour(text);
    }
    if (blackOrWhite(mTextCol) && blackOrWhite(mBackCol)
        && std::max(mImage.BitsPerPixel(), 1) != 1)
        mImage.ColorDepth(1, 0, 3);
}

// ---- Image tools -------------------------------------------------------------------

void frmScanView::mnuShowHide_Click()
{
    if (!mnuShowHide->text().startsWith(QLatin1String("Show"))) {
        CloseImageTools();
        return;
    }
    if (!mTools) {
        mTools = new frmScanTools(*this);
        connect(mTools, &frmScanTools::unloaded, this, [this] {
            mTools = nullptr;
            mnuShowHide->setText(QStringLiteral("Show Image Tools"));
        });
    }
    placeToolWindow(*mTools);
    mTools->show();
    mTools->raise();
    mTools->activateWindow();
    mnuShowHide->setText(QStringLiteral("Hide Image Tools"));
}

void frmScanView::placeToolWindow(QWidget &tool) const
{
    // Beside the viewer's right edge where the screen has room, else over
    // the page's right-hand side: the entries being read are at the left.
    tool.adjustSize();
    const QRect frame = frameGeometry();
    const QScreen *where = screen();
    const QRect area = where ? where->availableGeometry() : frame;
    const QSize size = tool.frameGeometry().size();
    const int x = std::max(area.left(), std::min(frame.right() + 1, area.right() + 1 - size.width()));
    const int y = std::max(area.top(), std::min(frame.top(), area.bottom() + 1 - size.height()));
    tool.move(x, y);
}

frmScanTools *frmScanView::imageTools() const
{
    return mTools;
}

void frmScanView::CloseImageTools()
{
    if (mTools)
        mTools->close();
    mnuShowHide->setText(QStringLiteral("Show Image Tools"));
}

void frmScanView::ImageX1_MouseButton(int button, int action, int, int)
{
    if (button == 2 && action == 1)
        Boxes().GiveFocusBack();
}

// ---- Zoom -------------------------------------------------------------------------

void frmScanView::ZoomWarning()
{
    if (!mRulerCalibrated || mZoomWarned)
        return;
    ShowMessage(QStringLiteral("Warning - If you change the zoom factor after showing the ruler ")
                    + QStringLiteral("\r\n")
                    + QStringLiteral("then the Move Ruler to Column Top button will not work "
                                     "properly.")
                    + QStringLiteral("\r\n")
                    + QStringLiteral("To avoid this problem - close the ruler, change the zoom "
                                     "and reshow the ruler."),
                Mb::Exclamation, QStringLiteral("Pelkar ScanZoom"));
    mZoomWarned = true;
}

void frmScanView::Zoomin()
{
    ZoomWarning();
    SetZoom(1);
}

void frmScanView::ZoomOut()
{
    ZoomWarning();
    SetZoom(-1);
}

void frmScanView::SetZoom(int step)
{
    float z = std::max(mImage.ZoomFactor(), 0.04f);
    const float old = z;
    if (step == 1)
        z = z + z / 4;
    else if (step == -1)
        z = z - z / 4;
    // A zoom of 100 or more would be thrown away at the next opening; stop below it.
    if (z >= 100.0f)
        z = old;
    if (z != mImage.ZoomFactor()) {
        mImage.setZoomFactor(z);
        if (gProject)
            gProject->setZoom(double(mImage.ZoomFactor()));
        GetScrollLimits();
        mJumpDistance *= double(z) / double(old);
    }
    DiagBoxRefresh();
    setWindowTitle(CaptionWithZoom(windowTitle(), mImage.ZoomFactor()));
    giveFocusBack();
}

void frmScanView::giveFocusBack()
{
    Boxes().GiveFocusBack();
    // The box is in the main window: the next keys must go there, not here.
    ViewerHost().ActivateForm1();
}

// ---- Scrolling --------------------------------------------------------------------

void frmScanView::GetScrollLimits()
{
    syncImageScrollBars();
}

void frmScanView::syncImageScrollBars()
{
    mSyncingBars = true;
    mHBar->setRange(0, mImage.maxScrollX());
    mHBar->setPageStep(std::max(1, mImage.controlSize().width()));
    mHBar->setSingleStep(LineStep);
    mHBar->setValue(mImage.ScrollX());
    mVBar->setRange(0, mImage.maxScrollY());
    mVBar->setPageStep(std::max(1, mImage.PageHeight()));
    mVBar->setSingleStep(LineStep);
    mVBar->setValue(mImage.ScrollY());
    mSyncingBars = false;
}

void frmScanView::ScrollDown()
{
    scrollVertically(2 * ScrollUnit);
}

void frmScanView::ScrollUp()
{
    scrollVertically(-2 * ScrollUnit);
}

void frmScanView::scrollVertically(int pixels)
{
    if (VScroll1->isHidden()) {
        mImage.userScrolled(mImage.ScrollX(), mImage.ScrollY() + pixels);
        return;
    }
    const int v = VScroll1->value() + pixels;
    if (pixels > 0 ? v <= VScroll1->maximum() : v > 0)
        VScroll1->setValue(v);
}

void frmScanView::ScrollLeft()
{
    scrollHorizontally(-2 * ScrollUnit);
}

void frmScanView::ScrollRight()
{
    scrollHorizontally(2 * ScrollUnit);
}

void frmScanView::scrollHorizontally(int pixels)
{
    mImage.userScrolled(mImage.ScrollX() + pixels, mImage.ScrollY());
}

void frmScanView::ScrollPage(bool down)
{
    const int page = mImage.PageHeight();
    double overlap = mJumpDistance;
    if (overlap < 0.5)
        overlap = page / 10.0;
    const int pos = mImage.ScrollY();
    if (down) {
        const int y = int(VbRound(pos + page - overlap));
        if (mImage.FullHeight() * double(mImage.ZoomFactor()) > y)
            mImage.userScrolled(mImage.ScrollX(), y);
    } else {
        // Less than a page from the top goes to the top rather than nowhere.
        const int y = int(VbRound(pos - (page - overlap)));
        mImage.userScrolled(mImage.ScrollX(), std::max(y, 0));
    }
}

void frmScanView::wheelOnCanvas(QWheelEvent *event)
{
    const QPoint delta = event->angleDelta();
    const int notchesY = delta.y() / 120;
    const int notchesX = delta.x() / 120;
    const bool sideways = event->modifiers() & Qt::ShiftModifier;
    for (int i = 0; i < std::abs(notchesY); ++i) {
        if (sideways)
            scrollHorizontally(notchesY > 0 ? -LineStep : LineStep);
        else
            scrollVertically(notchesY > 0 ? -LineStep : LineStep);
    }
    for (int i = 0; i < std::abs(notchesX); ++i)
        scrollHorizontally(notchesX > 0 ? -LineStep : LineStep);
    event->accept();
}

void frmScanView::keyPressEvent(QKeyEvent *event)
{
    // With Shift the fine step, as from the entry boxes.
    const bool fine = event->modifiers() & Qt::ShiftModifier;
    switch (event->key()) {
    case Qt::Key_Down: fine ? ScrollDown() : scrollVertically(LineStep); break;
    case Qt::Key_Up: fine ? ScrollUp() : scrollVertically(-LineStep); break;
    case Qt::Key_Left: fine ? ScrollLeft() : scrollHorizontally(-LineStep); break;
    case Qt::Key_Right: fine ? ScrollRight() : scrollHorizontally(LineStep); break;
    case Qt::Key_PageDown: ScrollPage(true); break;
    case Qt::Key_PageUp: ScrollPage(false); break;
    case Qt::Key_D:
        if (!(event->modifiers() & Qt::AltModifier)) {
            QMainWindow::keyPressEvent(event);
            return;
        }
        DiagFrame->setVisible(DiagFrame->isHidden());
        DiagBoxRefresh();
        break;
    default: QMainWindow::keyPressEvent(event); return;
    }
    event->accept();
}

// ---- Painting ---------------------------------------------------------------------

void frmScanView::imageChanged()
{
    syncImageScrollBars();
    if (!mTracking)
        syncRulerBar();
    const int dx = mDrawnX - mImage.ScrollX();
    const int dy = mDrawnY - mImage.ScrollY();
    const qint64 key = mImage.displayImage().cacheKey();
    const bool onlyScrolled = key == mDrawnKey && mImage.ZoomFactor() == mDrawnZoom
                              && std::abs(dx) < mCanvas->width()
                              && std::abs(dy) < mCanvas->height();
    mDrawnX = mImage.ScrollX();
    mDrawnY = mImage.ScrollY();
    mDrawnZoom = mImage.ZoomFactor();
    mDrawnKey = key;
    mYPos = mImage.ScrollY();
    DiagBoxRefresh();
    if (!onlyScrolled) {
        mCanvas->update();
        return;
    }
    if (dx == 0 && dy == 0)
        return;
    // Move what is on screen and repaint the strip that came into view;
    // the ruler line stays where it is, so it is drawn again at both places.
    // The ruler bar and the diagnostics lie over the page and stay where
    // they are: only the pixels move, not the widgets, and both are drawn
    // again where their moved pixels landed.
    const QRect line = rulerRect();
    mCanvas->scroll(dx, dy, mCanvas->rect());
    if (mRulerShown) {
        mCanvas->update(line);
        mCanvas->update(line.translated(dx, dy));
    }
    for (QWidget *over : {static_cast<QWidget *>(VScroll1), static_cast<QWidget *>(DiagFrame)}) {
        if (over->isVisible()) {
            mCanvas->update(over->geometry());
            mCanvas->update(over->geometry().translated(dx, dy));
        }
    }
}

void frmScanView::paintCanvas(QPainter &painter, const QRect &exposed)
{
    // The part of exposed beyond the page is the window's own background;
    // under the page it would only be painted over.
    const QColor background = palette().color(QPalette::Dark);
    for (const QRect &part : QRegion(exposed).subtracted(mImage.coveredRect()))
        painter.fillRect(part, background);
    mImage.paint(painter, exposed);
    if (mRulerShown && rulerRect().intersects(exposed)) {
        painter.save();
        if (mSeeThru)
            painter.setCompositionMode(QPainter::RasterOp_SourceAndDestination);
        painter.fillRect(rulerRect().intersected(exposed), fromStored(mLineColour));
        painter.restore();
    }
    const QRect loupe = magnifierRect();
    if (!loupe.isEmpty() && loupe.intersects(exposed))
        paintMagnifier(painter, loupe);
}

// ---- Magnifier ---------------------------------------------------------------------

QRect frmScanView::magnifierRect() const
{
    if (!mMagnifying)
        return {};
    return QRect(mMagnifierAt - QPoint(kMagnifierSize / 2, kMagnifierSize / 2),
                 QSize(kMagnifierSize, kMagnifierSize));
}

void frmScanView::showMagnifier(QPoint at)
{
    if (!mMagnifierOn || !mImage.hasImage())
        return;
    // The old place and the new one; the rest of the page stays as drawn.
    mCanvas->update(magnifierRect().adjusted(-1, -1, 1, 1));
    mMagnifying = true;
    mMagnifierAt = at;
    mCanvas->update(magnifierRect().adjusted(-1, -1, 1, 1));
}

void frmScanView::hideMagnifier()
{
    if (!mMagnifying)
        return;
    mCanvas->update(magnifierRect().adjusted(-1, -1, 1, 1));
    mMagnifying = false;
}

void frmScanView::paintMagnifier(QPainter &painter, const QRect &loupe)
{
    // The page under the pointer at twice the zoom shown. Only the small
    // part needed is copied out, so a black-and-white page is never
    // converted whole.
    const double scale = double(mImage.ZoomFactor()) * kMagnification;
    const double pageX = (mImage.ScrollX() + mMagnifierAt.x()) / double(mImage.ZoomFactor());
    const double pageY = (mImage.ScrollY() + mMagnifierAt.y()) / double(mImage.ZoomFactor());
    const double half = kMagnifierSize / 2.0 / scale;
    const QRect source = QRectF(pageX - half, pageY - half, 2 * half, 2 * half).toAlignedRect();
    const QImage &page = mImage.displayImage();
    painter.save();
    painter.setClipRect(loupe);
    painter.fillRect(loupe, palette().color(QPalette::Dark));
    const QRect inside = source.intersected(page.rect());
    if (!inside.isEmpty()) {
        const QRectF target((inside.left() - (pageX - half)) * scale + loupe.left(),
                            (inside.top() - (pageY - half)) * scale + loupe.top(),
                            inside.width() * scale, inside.height() * scale);
        painter.drawImage(target, page.copy(inside));
    }
    painter.setPen(QPen(palette().color(QPalette::Shadow), 1));
    painter.drawRect(loupe.adjusted(0, 0, -1, -1));
    painter.restore();
}

void frmScanView::mnuShowMag_Click()
{
    ImageCallWhenSet(VbUCase(mnuShowMag->text()) == QLatin1String("SHOW MAGNIFIER"));
}

void frmScanView::ImageCallWhenSet(bool on)
{
    // The left button magnifies the page while it is held.
    if (on)
        mMagnifierOn = true;
}

// ---- Window ------------------------------------------------------------------------

void frmScanView::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    if (gEvents && gEvents->NoEvents())
        return;
    layOutRulerBar();
}

void frmScanView::storeWindowPlace()
{
    if (!gProject)
        return;
    gProject->setScanleft(PixelsToTwipsX(pos().x()));
    gProject->setScanTop(PixelsToTwipsY(pos().y()));
    gProject->setScanWidth(PixelsToTwipsX(width()));
    gProject->setScanHeight(PixelsToTwipsY(height()));
}

void frmScanView::closeEvent(QCloseEvent *event)
{
    CloseImageTools();
    unloadSetupRuler();
    if (gProject) {
        gProject->setScanOn(false);
        storeWindowPlace();
        gProject->setZoom(double(mImage.ZoomFactor()));
        gProject->SetRegistryValues();
        gProject->setScanFile(QString());
    }
    releaseImage();
    mBackCol = 0xFFFFFF;
    mTextCol = 0;
    if (mRulerShown)
        CancelRuler();
    QMainWindow::closeEvent(event);
    emit viewerClosed();
}

// ---- Ruler -------------------------------------------------------------------------

QRect frmScanView::rulerRect() const
{
    return QRect(0, mLineTop, mCanvas->width(), mLineHeight);
}

void frmScanView::RulerDepth(int millimetres)
{
    if (!mRulerShown)
        return;
    mLineHeight = std::max(1, MmToPixels(millimetres));
    mCanvas->update();
}

int frmScanView::RulerColour() const
{
    return mRulerShown ? mLineColour : 0xFF0000;
}

void frmScanView::setRulerColour(int colour)
{
    if (!mRulerShown)
        return;
    mLineColour = colour;
    mCanvas->update(rulerRect());
}

void frmScanView::SeeThru(bool on)
{
    mSeeThru = on;
    if (gProject)
        gProject->setRuleSeeThru(on);
    if (mRulerShown)
        mCanvas->update(rulerRect());
}

void frmScanView::mnuShowRuler_Click()
{
    if (mRulerShown) {
        VScroll1->hide();
        mVBar->show();
        mRulerShown = 0;
        mRulerCalibrated = false;
        mnucoltop->setVisible(false);
        mnuShowRuler->setText(QStringLiteral("Show Ruler"));
        mCanvas->update();
        return;
    }
    mnuZoom->setEnabled(false);
    mnuShowRuler->setEnabled(false);
    mnuShowHide->setEnabled(false);
    mRulerShown = 1;
    mRulerCalibrated = false;
    ViewerHost().HideForm1();
    mImage.setScrollY(0);
    if (gProject) {
        mHome = gProject->RuleVScY1();
        mImage.setScrollX(gProject->RuleScrollX1());
        mLineColour = gProject->RuleColour();
    }
    mLineHeight = 1;
    RulerDepth(gProject ? gProject->RuleWidth() : 3);
    mLineTop = mImage.controlSize().height() / 2;
    // One vertical bar, the one that is measured.
    mVBar->hide();
    PrepareRulerView();
    mLineCentre = mLineTop;
    SeeThru(gProject ? gProject->RuleSeeThru() : false);
    mnuShowRuler->setText(QStringLiteral("Hide Ruler"));
    mRulerZoom = mImage.ZoomFactor();
    mCanvas->update();

    unloadSetupRuler();
    mSetupRuler = new frmSetupRuler(*this);
    placeSetupRuler(*mSetupRuler);
    mSetupRuler->show();
    mSetupRuler->raise();
    mSetupRuler->activateWindow();
}

frmSetupRuler *frmScanView::setupRulerWindow() const
{
    return mSetupRuler && !mSetupRuler->isUnloaded() ? mSetupRuler.data() : nullptr;
}

void frmScanView::unloadSetupRuler()
{
    if (mSetupRuler)
        mSetupRuler->Unload();
}

int frmScanView::rulerBarValue() const
{
    return VScroll1->value();
}

void frmScanView::layOutRulerBar()
{
    if (!mRulerShown)
        return;
    // Before the system's bar width is known, the style's.
    const int barWidth = gVScrollWidth > 0 ? TwipsToPixelsX(gVScrollWidth)
                                           : VScroll1->sizeHint().width();
    VScroll1->setGeometry(mCanvas->width() - barWidth - TwipsToPixelsX(20), 0, barWidth,
                          mCanvas->height());
    VScroll1->raise();
    VScroll1->setPageStep(std::max(1, mImage.PageHeight()));
    // The line stays on view in a smaller window.
    const int height = mImage.controlSize().height();
    mLineCentre = height / 2;
    mLineTop = std::clamp(mLineTop, 0, std::max(0, height - mLineHeight));
    syncRulerBar();
}

void frmScanView::syncRulerBar()
{
    if (!mRulerShown)
        return;
    const QSignalBlocker quiet(VScroll1);
    // The line's top on the page's last row at most, whatever the zoom.
    VScroll1->setMaximum(std::min(mImage.maxScrollY() + mImage.controlSize().height(),
                                  kScrollBarLimit)
                         - mLineHeight);
    VScroll1->setValue(mImage.ScrollY() + mLineTop);
    mLastValue = VScroll1->value();
    mYPos = mImage.ScrollY();
}

void frmScanView::placeSetupRuler(QWidget &setup) const
{
    // Beside the viewer where the screen has room; else over the page,
    // left of the ruler bar and at the top, away from the line in the
    // middle and from the horizontal bar at the bottom.
    setup.adjustSize();
    const QRect frame = frameGeometry();
    const QScreen *where = screen();
    const QRect area = where ? where->availableGeometry() : frame;
    const QSize size = setup.frameGeometry().size();
    const QPoint inner = setup.geometry().topLeft() - setup.frameGeometry().topLeft();
    const auto fits = [&area, &size](QPoint at) { return area.contains(QRect(at, size)); };
    const QPoint right(frame.right() + 1, std::max(area.top(), frame.top()));
    const QPoint left(frame.left() - size.width(), std::max(area.top(), frame.top()));
    QPoint at;
    if (fits(right)) {
        at = right;
    } else if (fits(left)) {
        at = left;
    } else {
        const QRect bar(VScroll1->mapToGlobal(QPoint(0, 0)), VScroll1->size());
        const QPoint canvasTop = mCanvas->mapToGlobal(QPoint(0, 0));
        at = QPoint(std::max(area.left(), bar.left() - size.width()),
                    std::max(area.top(), canvasTop.y() - inner.y()));
    }
    setup.move(at);
}

void frmScanView::PrepareRulerView()
{
    EventsOffGuard eventsOff;
    mImage.setScrollY(0);
    layOutRulerBar();
    VScroll1->show();
    DiagBoxRefresh();
}

void frmScanView::mnucoltop_Click()
{
    MoveRulerToLine(0, 0, false);
    giveFocusBack();
}

void frmScanView::DoneRulerSetup(double, double scrollX, double home, double jump)
{
    unloadSetupRuler();
    mYPos = mImage.ScrollY();
    if (gProject) {
        gProject->setRuleScrollX1(int(VbRound(scrollX)));
        gProject->setRuleVScY1(int(VbRound(home)));
    }
    mnucoltop->setVisible(true);
    mHome = int(VbRound(home));
    mRulerZoom = mImage.ZoomFactor();
    mJumpDistance = jump;
    mRulerCalibrated = true;
    MoveRulerToLine(0, 0, false);
    // Start at the entry of the grid's row; the set-up told the user the
    // page may need a scroll to match.
    const int row = ViewerHost().CurrentRow();
    if (row != 1)
        MoveRulerToLine(row, 0, false);
    ViewerHost().ShowForm1();
    mnuShowRuler->setEnabled(true);
    mnuZoom->setEnabled(true);
    mnuShowHide->setEnabled(true);
    DiagBoxRefresh();
    giveFocusBack();
}

void frmScanView::CancelRuler()
{
    mnuShowRuler->setEnabled(true);
    mnuZoom->setEnabled(true);
    mnuShowHide->setEnabled(true);
    VScroll1->hide();
    mVBar->show();
    mnuShowRuler->setText(QStringLiteral("Show Ruler"));
    mRulerShown = 0;
    mRulerCalibrated = false;
    mCanvas->update();
}

void frmScanView::MoveRulerToLine(int rows, int, bool force)
{
    if (!force && !(mRulerCalibrated && mRulerShown))
        return;
    if (mJumpDistance < 1.0 && gProject)
        mJumpDistance = gProject->RuleJumpDistance();
    if (rows == 0) {
        VScroll1->setValue(int(VbRound(mHome * RulerScaleFactor())));
        mCarry = 0.0;
        mMovedTo = VScroll1->value();
        return;
    }
    const int value = VScroll1->value();
    // Once the page was moved some other way, the carried part no longer
    // belongs to where the line is.
    if (value != mMovedTo)
        mCarry = 0.0;
    const double move = rows * mJumpDistance * RulerScaleFactor() + mCarry;
    const int target = value + int(VbRound(move));
    const auto atEnd = [this, value](int end) {
        if (value == end)
            return;
        VScroll1->setValue(end);
        StatusBar().ShowMsg(QStringLiteral("You need to move the ruler"), false, true);
        BeepIfEnabled();
    };
    if (target > VScroll1->maximum())
        atEnd(VScroll1->maximum());
    else if (target < VScroll1->minimum())
        atEnd(VScroll1->minimum());
    else
        VScroll1->setValue(target);
    const double left = value + move - VScroll1->value();
    mCarry = std::abs(left) < 1.0 ? left : 0.0;
    mMovedTo = VScroll1->value();
}

void frmScanView::VScroll1_Change(int v)
{
    if ((gEvents && gEvents->NoEvents()) || !mRulerShown)
        return;
    if (v == 0) {
        // The bar never rests at 0 unless the page row under the line is 0.
        syncRulerBar();
        return;
    }
    mTracking = true;
    const int delta = std::abs(mLastValue - v);
    const bool up = mLastValue > v;
    const int y = mImage.ScrollY();
    const int maxY = mImage.maxScrollY();
    const int oldTop = mLineTop;
    int lineShare = 0;
    int imageShare = 0;
    if (up && y > 0) {
        const int room = mLineTop - mLineCentre;
        lineShare = room < 1 ? 0 : std::min(delta, room);
        imageShare = std::min(delta - lineShare, y);
        // What the image cannot take, the line does.
        lineShare = delta - imageShare;
        mLineTop = std::max(0, mLineTop - lineShare);
    } else if (up) {
        if (mLineTop - delta > 0) {
            mLineTop -= delta;
        } else {
            BeepIfEnabled();
            mLineTop = 0;
        }
    } else if (y < maxY) {
        const int room = mLineCentre - mLineTop;
        lineShare = room < 1 ? 0 : std::min(delta, room);
        imageShare = std::min(delta - lineShare, maxY - y);
        lineShare = delta - imageShare;
        mLineTop = std::min(mImage.controlSize().height() - mLineHeight, mLineTop + lineShare);
    } else {
        if (mLineTop + delta <= mImage.controlSize().height() - mLineHeight)
            mLineTop += delta;
        else
            BeepIfEnabled();
    }
    if (mLineTop != oldTop) {
        mCanvas->update(QRect(0, oldTop, mCanvas->width(), mLineHeight));
        mCanvas->update(rulerRect());
    }
    if (imageShare >= 1)
        mImage.setScrollY(up ? y - imageShare : y + imageShare);
    mTracking = false;
    // Where the line could not go, the bar shows where it stopped.
    syncRulerBar();
    DiagBoxRefresh();
}

void frmScanView::enableToolMenus()
{
    mnuShowHide->setEnabled(true);
    mnuShowRuler->setEnabled(true);
}
