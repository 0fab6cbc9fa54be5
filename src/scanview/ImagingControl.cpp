#include "scanview/ImagingControl.h"

#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QPainter>
#include <QRect>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <vector>

namespace {

// Qt's reader refuses a 600 dpi A4 page under its default allocation limit
// (the TIFF reader counts 4 bytes a pixel even for grey). The limit is
// process-wide; nothing else in the program reads images this large.
constexpr int kAllocationLimitMb = 2048;

int nearest(double v)
{
    return int(std::nearbyint(v));
}

QImage readImage(const QString &path, int *error)
{
    const QFileInfo info(path);
    if (!info.exists() || !info.isFile()) {
        *error = ImagingControl::FileNotFound;
        return {};
    }
    if (info.size() == 0) {
        *error = ImagingControl::EmptyFile;
        return {};
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = ImagingControl::CannotOpen;
        return {};
    }
    QImageReader reader(&file);
    reader.setAutoTransform(true);
    QImageReader::setAllocationLimit(kAllocationLimitMb);
    if (!reader.canRead()) {
        *error = ImagingControl::NotAnImage;
        return {};
    }
    QImage image;
    if (!reader.read(&image) || image.isNull()) {
        *error = ImagingControl::DamagedImage;
        return {};
    }
    *error = ImagingControl::NoError;
    return ImageFilters::toWorkingFormat(std::move(image));
}

void prefetch(const uchar *bytes, int count)
{
#if defined(__GNUC__)
    for (int i = 0; i < count; i += 64)
        __builtin_prefetch(bytes + i);
#else
    Q_UNUSED(bytes);
    Q_UNUSED(count);
#endif
}

// Qt draws a 1-bit page a pixel at a time through its colour table and
// thread pool, too slow for the first paint of a scanned page; the shown
// part is expanded here straight into screen pixels, each from the page
// pixel under its centre as Qt samples without smoothing. The part is made
// a band of rows at a time in one small image, so each band is still in
// the processor's cache when it is drawn and no screenful of fresh memory
// is asked for.
void paintMono(QPainter &painter, const QImage &page, const QRect &area, double zoom, int scrollX,
               int scrollY)
{
    constexpr int kBandBytes = 256 * 1024;
    const int width = area.width();
    const int bandRows = std::clamp(kBandBytes / (width * int(sizeof(QRgb))), 1, area.height());
    QImage band(width, bandRows, QImage::Format_RGB32);
    const QRgb colours[2] = {page.color(0) | 0xFF000000u, page.color(1) | 0xFF000000u};
    const auto pageAt = [zoom](int screen, int scroll, int limit) {
        return std::clamp(int(std::floor((screen + scroll + 0.5) / zoom)), 0, limit - 1);
    };
    std::vector<int> columns(static_cast<size_t>(width));
    for (int x = 0; x < width; ++x)
        columns[size_t(x)] = pageAt(area.x() + x, scrollX, page.width());
    // From about a quarter of the page's size up, the span of the page row
    // under the screen row is first spread out a byte (eight pixels) at a
    // time, through a table, and the screen pixels are picked from it; at
    // actual size they are the span itself. Smaller, the spreading would
    // cost more than picking each pixel's bit.
    const int firstByte = columns.front() >> 3;
    const int lastByte = columns.back() >> 3;
    const int spanBytes = lastByte - firstByte + 1;
    const bool spread = spanBytes <= width / 2 + 2;
    const bool actualSize = columns.back() - columns.front() == width - 1;
    std::vector<std::array<QRgb, 8>> eightPixels;
    std::vector<QRgb> spanPixels;
    if (spread) {
        eightPixels.resize(256);
        for (int b = 0; b < 256; ++b)
            for (int i = 0; i < 8; ++i)
                eightPixels[size_t(b)][size_t(i)] = colours[(b >> (7 - i)) & 1];
        spanPixels.resize(size_t(spanBytes) * 8);
    }
    // From here on, columns count from the span's first byte.
    for (int &c : columns)
        c -= firstByte * 8;
    for (int top = 0; top < area.height(); top += bandRows) {
        const int rows = std::min(bandRows, area.height() - top);
        int lastRow = -1;
        for (int y = 0; y < rows; ++y) {
            const int row = pageAt(area.y() + top + y, scrollY, page.height());
            auto *line = reinterpret_cast<QRgb *>(band.scanLine(y));
            if (row == lastRow) {
                std::memcpy(line, band.constScanLine(y - 1), size_t(width) * sizeof(QRgb));
                continue;
            }
            const uchar *bits = page.constScanLine(row) + firstByte;
            // The next page row is asked for while this one is drawn: below
            // actual size the rows read lie apart, and each would otherwise
            // wait for memory.
            const int next = pageAt(area.y() + top + y + 1, scrollY, page.height());
            if (next != row)
                prefetch(page.constScanLine(next) + firstByte, spanBytes);
            if (spread) {
                for (int b = 0; b < spanBytes; ++b)
                    std::memcpy(&spanPixels[size_t(b) * 8], eightPixels[bits[b]].data(), 8 * sizeof(QRgb));
                if (actualSize) {
                    std::memcpy(line, &spanPixels[size_t(columns.front())], size_t(width) * sizeof(QRgb));
                } else {
                    for (int x = 0; x < width; ++x)
                        line[x] = spanPixels[size_t(columns[size_t(x)])];
                }
            } else {
                for (int x = 0; x < width; ++x) {
                    const int c = columns[size_t(x)];
                    line[x] = colours[(bits[c >> 3] >> (7 - (c & 7))) & 1];
                }
            }
            lastRow = row;
        }
        painter.drawImage(QPoint(area.x(), area.y() + top), band, QRect(0, 0, width, rows));
    }
}

} // namespace

ImagingControl::ImagingControl(QObject *parent) : QObject(parent) {}

void ImagingControl::setFileName(const QString &path)
{
    mFileName = path;
    mLoadError = NoError;
    mImage = QImage();
    mScrollX = 0;
    mScrollY = 0;
    if (!path.isEmpty())
        mImage = readImage(path, &mLoadError);
    imageChanged();
}

void ImagingControl::setControlSize(const QSize &size)
{
    mControlSize = size.expandedTo(QSize(0, 0));
    refreshExtents();
    clampScroll();
    emit changed();
}

void ImagingControl::setZoomFactor(float zoom)
{
    if (!std::isfinite(zoom) || zoom <= 0.0f || zoom == mZoom)
        return;
    const double pageX = mScrollX / double(mZoom);
    const double pageY = mScrollY / double(mZoom);
    mZoom = zoom;
    refreshExtents();
    mScrollX = nearest(pageX * mZoom);
    mScrollY = nearest(pageY * mZoom);
    clampScroll();
    emit changed();
}

int ImagingControl::maxScrollX() const
{
    return std::max(0, nearest(mImage.width() * double(mZoom)) - mControlSize.width());
}

int ImagingControl::maxScrollY() const
{
    return std::max(0, nearest(mImage.height() * double(mZoom)) - mControlSize.height());
}

void ImagingControl::setScrollX(int x)
{
    x = std::clamp(x, 0, maxScrollX());
    if (x == mScrollX)
        return;
    mScrollX = x;
    emit changed();
}

void ImagingControl::setScrollY(int y)
{
    y = std::clamp(y, 0, maxScrollY());
    if (y == mScrollY)
        return;
    mScrollY = y;
    emit changed();
}

void ImagingControl::Rotate(double degrees)
{
    mImage = ImageFilters::rotated(mImage, degrees);
    imageChanged();
}

void ImagingControl::FlipLeftRight()
{
    mImage = mImage.mirrored(true, false);
    imageChanged();
}

void ImagingControl::FlipTopBottom()
{
    mImage = mImage.mirrored(false, true);
    imageChanged();
}

void ImagingControl::ColorDepth(int bits, int, int)
{
    ImageFilters::setColourDepth(mImage, bits);
    imageChanged();
}

void ImagingControl::ReplaceColor(quint32 low, quint32 high, quint32 newColour)
{
    ImageFilters::replaceColour(mImage, low, high, newColour);
    imageChanged();
}

void ImagingControl::Negate()
{
    ImageFilters::negate(mImage);
    imageChanged();
}

void ImagingControl::Despeckle()
{
    ImageFilters::despeckle(mImage);
    imageChanged();
}

void ImagingControl::setSmoothing(bool on)
{
    mSmoothing = on;
    emit changed();
}

void ImagingControl::setAntiAlias(bool on)
{
    mAntiAlias = on;
    emit changed();
}

void ImagingControl::setBrightness(int value)
{
    mBrightness = std::clamp(value, -100, 100);
    mDisplayStale = true;
    emit changed();
}

void ImagingControl::setContrast(int value)
{
    mContrast = std::clamp(value, -100, 100);
    mDisplayStale = true;
    emit changed();
}

void ImagingControl::setGamma(float value)
{
    // Zero, below or not a number would blank the page.
    if (!std::isfinite(value) || value <= 0.0f)
        return;
    mGamma = value;
    mDisplayStale = true;
    emit changed();
}

const QImage &ImagingControl::displayImage() const
{
    if (mDisplayStale) {
        const auto lut = ImageFilters::adjustmentTable(mBrightness, mContrast, mGamma);
        mShowAdjusted = !ImageFilters::isIdentity(lut);
        if (mShowAdjusted)
            ImageFilters::applyTable(mImage, lut, mAdjusted);
        else if (mImage.isNull())
            mAdjusted = QImage();
        mDisplayStale = false;
    }
    return mShowAdjusted ? mAdjusted : mImage;
}

void ImagingControl::paint(QPainter &painter, const QRect &exposed) const
{
    if (mImage.isNull() || exposed.isEmpty())
        return;
    const double z = mZoom;
    const QRectF wanted((exposed.x() + mScrollX) / z, (exposed.y() + mScrollY) / z,
                        exposed.width() / z, exposed.height() / z);
    const QRect source = wanted.toAlignedRect().intersected(mImage.rect());
    if (source.isEmpty())
        return;
    const QRectF target(source.x() * z - mScrollX, source.y() * z - mScrollY,
                        source.width() * z, source.height() * z);
    painter.save();
    painter.setClipRect(exposed, Qt::IntersectClip);
    // Anti-alias turns black and white into greys when the page is drawn
    // smaller than it is; smoothing blends at any zoom.
    const bool smooth = mSmoothing || (mAntiAlias && mZoom < 1.0f);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, smooth);
    const QImage &shown = displayImage();
    if (!smooth && shown.format() == QImage::Format_Mono && shown.colorCount() == 2) {
        const QRect area = exposed.intersected(target.toRect());
        if (!area.isEmpty())
            paintMono(painter, shown, area, z, mScrollX, mScrollY);
    } else {
        painter.drawImage(target, shown, QRectF(source));
    }
    painter.restore();
}

QRect ImagingControl::coveredRect() const
{
    if (mImage.isNull() || displayImage().hasAlphaChannel())
        return {};
    // Only pixels wholly on the page: the page's last column or row may
    // cover part of a pixel.
    return QRect(-mScrollX, -mScrollY, int(std::floor(mImage.width() * double(mZoom))),
                 int(std::floor(mImage.height() * double(mZoom))));
}

void ImagingControl::userScrolled(int scrollX, int scrollY)
{
    setScrollX(scrollX);
    setScrollY(scrollY);
    emit Scroll();
}

void ImagingControl::userMouseButton(int button, int action, int x, int y)
{
    emit MouseButton(button, action, x, y);
}

void ImagingControl::imageChanged()
{
    mDisplayStale = true;
    clampScroll();
    emit changed();
}

void ImagingControl::refreshExtents()
{
    mViewWidth = nearest(mControlSize.width() / double(mZoom));
    mViewHeight = nearest(mControlSize.height() / double(mZoom));
}

void ImagingControl::clampScroll()
{
    mScrollX = std::clamp(mScrollX, 0, maxScrollX());
    mScrollY = std::clamp(mScrollY, 0, maxScrollY());
}
