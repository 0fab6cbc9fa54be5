#pragma once

// The imaging layer under the scan viewer: one loaded page, how it is turned,
// coloured and adjusted, and the part of it the viewer's window shows. It
// holds no widget: the viewer tells it the size of the area it paints into,
// hands on the user's scrolling and mouse buttons, and paints the exposed
// part through paint().
//
// Positions: a scroll position is in screen pixels of the zoomed page (the
// distance from the page's top-left corner to the window's); a view extent
// is in page pixels (how much of the page the window shows at this zoom).
// Colours are stored values, 0x00BBGGRR.

#include "scanview/ImageFilters.h"

#include <QImage>
#include <QObject>
#include <QSize>
#include <QString>

class QPainter;
class QRect;

class ImagingControl : public QObject
{
    Q_OBJECT

public:
    // What a load ended in; the number is shown to the user.
    enum LoadResult {
        NoError = 0,
        FileNotFound = 1,
        EmptyFile = 2,
        NotAnImage = 3,
        DamagedImage = 4,
        CannotOpen = 5,
    };
    Q_ENUM(LoadResult)

    explicit ImagingControl(QObject *parent = nullptr);

    // "" releases the image; any other path loads it at once, and loadError()
    // tells how that went. A failed load leaves no image.
    QString FileName() const { return mFileName; }
    void setFileName(const QString &path);
    int LoadError() const { return mLoadError; }
    bool hasImage() const { return !mImage.isNull(); }

    // 1 (black and white), 8 or 24; 0 with no image.
    int BitsPerPixel() const { return ImageFilters::bitsPerPixel(mImage); }
    int ImageWidth() const { return mImage.width(); }
    int ImageHeight() const { return mImage.height(); }

    // The size of the area the viewer paints into, in screen pixels.
    QSize controlSize() const { return mControlSize; }
    void setControlSize(const QSize &size);

    // 1 is actual size. A zoom of zero or less, or not a number, is refused.
    // The top-left page point stays where it was, as far as the limits let it.
    float ZoomFactor() const { return mZoom; }
    void setZoomFactor(float zoom);

    // Read and set; a value past either end is clamped.
    int ScrollX() const { return mScrollX; }
    int ScrollY() const { return mScrollY; }
    void setScrollX(int x);
    void setScrollY(int y);
    int maxScrollX() const;
    int maxScrollY() const;

    // The control's size divided by the zoom, whole page pixels; given again
    // by every zoom and size change, and may be set in between.
    int ViewWidth() const { return mViewWidth; }
    int ViewHeight() const { return mViewHeight; }
    void setViewWidth(int pixels) { mViewWidth = pixels; }
    void setViewHeight(int pixels) { mViewHeight = pixels; }
    // One page of scrolling, in screen pixels: the control's height.
    int PageHeight() const { return mControlSize.height(); }
    // The page's height in page pixels.
    int FullHeight() const { return mImage.height(); }

    // Turns the shown image by degrees, negative clockwise. Each call turns
    // what is shown now; the viewer reloads the page to start again.
    void Rotate(double degrees);
    void FlipLeftRight();
    void FlipTopBottom();

    // Converts to 1, 8 or 24 bits per pixel; the other two values are the
    // conversion's options, kept by the callers and not needed here.
    void ColorDepth(int bits, int palette = 0, int dither = 3);
    // Every pixel whose colour lies between low and high (give the same
    // colour twice for one colour) takes newColour.
    void ReplaceColor(quint32 low, quint32 high, quint32 newColour);
    void Negate();
    void Despeckle();

    // Display filters: they change how the page is drawn, not the page.
    bool Smoothing() const { return mSmoothing; }
    void setSmoothing(bool on);
    bool AntiAlias() const { return mAntiAlias; }
    void setAntiAlias(bool on);

    // The sliders: brightness and contrast -100..100 (0 leaves the page
    // alone), gamma above 0 (1 leaves it alone). They are settings, not
    // steps: setting 20 after 10 gives 20, never 30.
    int Brightness() const { return mBrightness; }
    void setBrightness(int value);
    int Contrast() const { return mContrast; }
    void setContrast(int value);
    float Gamma() const { return mGamma; }
    void setGamma(float value);

    // The page as loaded and turned, before brightness, contrast and gamma.
    const QImage &image() const { return mImage; }
    // The page as shown: the image with the three sliders applied.
    const QImage &displayImage() const;

    // Paints the part of the page under exposed (control coordinates) at
    // the zoom and scroll positions; the rest of exposed is left alone.
    void paint(QPainter &painter, const QRect &exposed) const;
    // The whole control pixels that paint() covers with the page's own
    // opaque pixels at the zoom and scroll positions, so a caller need not
    // paint under them first; empty with no image or a see-through one.
    QRect coveredRect() const;

    // The viewer hands on the user's actions here; each raises its event.
    void userScrolled(int scrollX, int scrollY);
    void userMouseButton(int button, int action, int x, int y);

signals:
    // The user scrolled the page; the positions are already updated.
    void Scroll();
    // A mouse button: button (1 left, 2 right, 4 middle), action (1 down,
    // 2 up), and the place in control pixels.
    void MouseButton(int button, int action, int x, int y);
    // What is shown changed: the viewer repaints.
    void changed();

private:
    void imageChanged();
    void refreshExtents();
    void clampScroll();

    QString mFileName;
    int mLoadError = NoError;
    QImage mImage;
    // The page with the sliders applied, kept between changes.
    mutable QImage mAdjusted;
    mutable bool mShowAdjusted = false;
    mutable bool mDisplayStale = true;
    QSize mControlSize;
    float mZoom = 1.0f;
    int mScrollX = 0;
    int mScrollY = 0;
    int mViewWidth = 0;
    int mViewHeight = 0;
    bool mSmoothing = false;
    bool mAntiAlias = false;
    int mBrightness = 0;
    int mContrast = 0;
    float mGamma = 1.0f;
};
