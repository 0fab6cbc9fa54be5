#pragma once

// The scan viewer: the page scan beside the grid, with its View menu, the
// zoom in the caption, scrolling by the image's scroll bars, the wheel and
// the keys the entry boxes send, and the ruler line laid across the page
// under which the entry being typed sits. The imaging layer does the
// drawing; this window paints only what is exposed.
//
// Ruler: while it shows, the scroll bar VScroll1 at the image's right edge
// stands in for the page's own vertical bar; its value is the page row (in
// screen pixels) under the line, kept so however the page is moved. Its
// home value and the distance from one entry to the next come from the
// ruler's calibration.

#include "scanview/ImagingControl.h"

#include <QMainWindow>
#include <QPointer>
#include <QRect>

class QAction;
class QFrame;
class QMenu;
class QPlainTextEdit;
class QScrollBar;
class ScanCanvas;
class frmScanTools;
class frmSetupRuler;

class frmScanView : public QMainWindow
{
    Q_OBJECT

public:
    explicit frmScanView(QWidget *parent = nullptr);
    ~frmScanView() override;

    // Loads the scan and shows it; false (after telling the user) when the
    // file is missing or will not load. Nothing the rest of the program
    // holds open is touched.
    bool GetPicture(const QString &path);
    bool OpenNewPic(const QString &path);

    void doRotate(float degrees);

    // The colours now shown for the paper and the ink of a black-and-white
    // scan (stored values); white and black as loaded.
    int BackCol() const { return mBackCol; }
    void setBackCol(int colour) { mBackCol = colour; }
    int TextCol() const { return mTextCol; }
    void setTextCol(int colour) { mTextCol = colour; }
    // Gives a black-and-white scan the paper and ink colours of the
    // settings; a grey or colour scan, or no scan, is left alone.
    void ApplyColours();

    // The image tools window: opened and closed from the View menu; the
    // viewer unloads it when another scan opens and when it closes.
    void mnuShowHide_Click();
    void CloseImageTools();
    frmScanTools *imageTools() const;

    // The zoom one step (a quarter) in or out, after the ruler's zoom
    // warning; the menu's items step without the warning.
    void Zoomin();
    void ZoomOut();

    // One fine step of scrolling (two units); with the ruler shown the
    // vertical ones move the ruler's scroll bar instead, which going up
    // stops at 1 or 2, never 0.
    void ScrollDown();
    void ScrollUp();
    void ScrollLeft();
    void ScrollRight();
    void ScrollPage(bool down);
    void GetScrollLimits();

    // The ruler.
    void MoveRulerToLine(int rows, int unused = 0, bool force = false);
    void MoveRuler1Line(bool up) { MoveRulerToLine(up ? -1 : 1, 0, false); }
    void DoneRulerSetup(double unused, double scrollX, double home, double jump);
    void CancelRuler();
    void RulerDepth(int millimetres);
    int RulerColour() const;
    void setRulerColour(int colour);
    void SeeThru(bool on);
    bool seeThru() const { return mSeeThru; }
    double RulerScaleFactor() const { return 1.0; }

    // The header form has closed: the ruler and image-tools items may be used.
    void enableToolMenus();

    bool rulerShown() const { return mRulerShown != 0; }
    bool rulerCalibrated() const { return mRulerCalibrated; }
    // The line's place and size in the image area's pixels.
    QRect rulerRect() const;
    // Where the magnifier shows, in the image area's pixels; empty when it
    // does not.
    QRect magnifierRect() const;
    double jumpDistance() const { return mJumpDistance; }
    int rulerHome() const { return mHome; }
    // The ruler scroll bar's value: the page row under the line.
    int rulerBarValue() const;
    // The ruler set-up window while it is open, else nullptr.
    frmSetupRuler *setupRulerWindow() const;

    // Lists the viewer's geometry, zoom, scroll and ruler values in the
    // diagnostics box (Alt+D shows and hides it); nothing while it is hidden.
    void DiagBoxRefresh();

    ImagingControl &ImageX1() { return mImage; }
    const ImagingControl &ImageX1() const { return mImage; }
    // The area the page is painted into.
    QWidget *imageArea() const;

    // One scroll unit, in screen pixels; a fine scroll step is two units.
    static constexpr int ScrollUnit = 1;
    // A wheel notch, an arrow key in the viewer, a scroll-bar arrow: a
    // step for reading, not for lining up.
    static constexpr int LineStep = 16;

signals:
    // A scan was opened and shows; the viewer was closed (its settings are
    // stored by then). The main window shows and hides its scan items on them.
    void scanOpened();
    void viewerClosed();

protected:
    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    friend class ScanCanvas;
    friend class RulerBar;

    void Form_Load();
    void buildMenus();
    // Puts one of the viewer's tool windows where it hides least of the page.
    void placeToolWindow(QWidget &tool) const;
    void SetZoom(int step);
    // The keyboard back to the entry box, in the main window.
    void giveFocusBack();
    // The page up or down by pixels; with the ruler through its bar.
    void scrollVertically(int pixels);
    void scrollHorizontally(int pixels);
    void ZoomWarning();
    void mnuShowRuler_Click();
    void mnucoltop_Click();
    void unloadSetupRuler();
    void PrepareRulerView();
    // The ruler bar's value back to the page row under the line, after the
    // page moved by any other way than the bar.
    void syncRulerBar();
    // "Align Ruler" where it covers neither the ruler bar nor the page's
    // horizontal bar, which it asks the transcriber to use.
    void placeSetupRuler(QWidget &setup) const;
    void VScroll1_Change(int value);
    void imageChanged();
    void syncImageScrollBars();
    void paintCanvas(QPainter &painter, const QRect &exposed);
    // The magnifier: a square of the page at twice the zoom, centred on the
    // pointer while the left button is held.
    void showMagnifier(QPoint at);
    void hideMagnifier();
    void paintMagnifier(QPainter &painter, const QRect &loupe);
    void mnuShowMag_Click();
    void ImageCallWhenSet(bool on);
    void wheelOnCanvas(QWheelEvent *event);
    void layOutRulerBar();
    void storeWindowPlace();
    void releaseImage();
    void ImageX1_MouseButton(int button, int action, int x, int y);

    ImagingControl mImage;
    static constexpr int kMagnifierSize = 200;
    static constexpr double kMagnification = 2.0;
    bool mMagnifierOn = false;
    bool mMagnifying = false;
    QPoint mMagnifierAt;
    ScanCanvas *mCanvas = nullptr;
    QScrollBar *mHBar = nullptr;
    QScrollBar *mVBar = nullptr;
    QScrollBar *VScroll1 = nullptr;

    QMenu *mnuView = nullptr;
    QAction *mnuShowHide = nullptr;
    QAction *mnuShowRuler = nullptr;
    QAction *mnuShowMag = nullptr;
    QAction *mnucoltop = nullptr;
    QMenu *mnuZoomMenu = nullptr;
    QAction *mnuZoom = nullptr;
    QAction *mnuZoomIn = nullptr;
    QAction *mnuZoomOut = nullptr;
    QPointer<frmScanTools> mTools;

    float mRotation = 0.0f;
    int mBackCol = 0xFFFFFF;
    int mTextCol = 0;
    bool mSyncingBars = false;
    double mScale100 = 0.0;

    QFrame *DiagFrame = nullptr;
    QPlainTextEdit *DiagBox = nullptr;

    // What was last drawn, so a pure scroll moves the pixels on screen
    // and repaints only the strip that comes into view.
    int mDrawnX = 0;
    int mDrawnY = 0;
    float mDrawnZoom = 1.0f;
    qint64 mDrawnKey = 0;

    // Ruler.
    int mRulerShown = 0;
    bool mRulerCalibrated = false;
    int mHome = 0;
    double mJumpDistance = 0.0;
    float mRulerZoom = 1.0f;
    int mLineCentre = 0;
    int mLineTop = 0;
    int mLineHeight = 1;
    int mLineColour = 0xFF8080;
    int mLastValue = 0;
    bool mSeeThru = false;
    bool mZoomWarned = false;
    bool mTracking = false;
    // The part of a pixel that the last entry move rounded away, carried
    // into the next so that many rows do not add up a drift; and the bar's
    // value that move left, to see whether the page was moved since.
    double mCarry = 0.0;
    int mMovedTo = -1;
    // The image's vertical position as last recorded.
    int mYPos = 0;
    QPointer<frmSetupRuler> mSetupRuler;
};
