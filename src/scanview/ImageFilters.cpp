#include "scanview/ImageFilters.h"

#include <QPainter>
#include <QTransform>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

#ifdef __linux__
#include <sys/mman.h>
#endif

namespace ImageFilters {

namespace {

QRgb toRgb(quint32 stored)
{
    return qRgb(int(stored & 0xff), int((stored >> 8) & 0xff), int((stored >> 16) & 0xff));
}

std::uint8_t clampByte(double v)
{
    return std::uint8_t(std::clamp(std::nearbyint(v), 0.0, 255.0));
}

// A new image for a whole page. The first touch of fresh memory costs a page
// fault per 4 KB, on a 600 dpi page as much as the work itself; memory the
// kernel may back with 2 MB pages costs a tenth of that.
QImage newPageImage(QSize size, QImage::Format format)
{
    constexpr size_t kLargePage = size_t(2) << 20;
    const qsizetype bytesPerLine =
        (qsizetype(size.width()) * QImage::toPixelFormat(format).bitsPerPixel() + 31) / 32 * 4;
    const size_t bytes = size_t(bytesPerLine) * size_t(size.height());
    void *memory = nullptr;
    const size_t rounded = (bytes + kLargePage - 1) / kLargePage * kLargePage;
    if (bytes < kLargePage || posix_memalign(&memory, kLargePage, rounded) != 0)
        return QImage(size, format);
#ifdef __linux__
    madvise(memory, rounded, MADV_HUGEPAGE);
#endif
    return QImage(static_cast<uchar *>(memory), size.width(), size.height(), bytesPerLine, format,
                  [](void *p) { std::free(p); }, memory);
}

bool hasPalette(const QImage &image)
{
    return image.format() == QImage::Format_Mono || image.format() == QImage::Format_Indexed8;
}

template<typename Fn>
void mapPalette(QImage &image, Fn fn)
{
    auto table = image.colorTable();
    for (QRgb &c : table)
        c = fn(c);
    image.setColorTable(table);
}

// Writes fn of each pixel of source into target (the same size and format;
// may be the same image).
template<typename T, typename Fn>
void mapPixels(const QImage &source, QImage &target, Fn fn)
{
    const int w = source.width();
    const int h = source.height();
    for (int y = 0; y < h; ++y) {
        const auto *in = reinterpret_cast<const T *>(source.constScanLine(y));
        auto *out = reinterpret_cast<T *>(target.scanLine(y));
        for (int x = 0; x < w; ++x)
            out[x] = fn(in[x]);
    }
}

// The hot loop of the sliders on a grey page. The table is copied to a
// local so that the byte stores cannot be taken to change it.
void greyThroughTable(const QImage &source, QImage &target, const Lut &table)
{
    const Lut lut = table;
    const int w = source.width();
    const int h = source.height();
    for (int y = 0; y < h; ++y) {
        const uchar *__restrict in = source.constScanLine(y);
        uchar *__restrict out = target.scanLine(y);
        for (int x = 0; x < w; ++x)
            out[x] = lut[in[x]];
    }
}

template<typename Fn>
void forEachRgb32(QImage &image, Fn fn)
{
    image.detach();
    mapPixels<QRgb>(image, image, fn);
}

template<typename Fn>
void forEachGrey(QImage &image, Fn fn)
{
    image.detach();
    mapPixels<uchar>(image, image, fn);
}

// Clamps each sample of one plane (step bytes apart) between the least and
// the greatest of its eight neighbours.
template<int Step>
void despecklePlane(QImage &image, int offset)
{
    const int w = image.width();
    const int h = image.height();
    // Rows padded by one copied pixel at each end.
    std::vector<std::uint8_t> rows[3];
    for (auto &r : rows)
        r.resize(size_t(w) + 2);
    auto load = [&](std::vector<std::uint8_t> &row, int y) {
        const uchar *src = image.constScanLine(y) + offset;
        for (int x = 0; x < w; ++x)
            row[size_t(x) + 1] = src[x * Step];
        row[0] = row[1];
        row[size_t(w) + 1] = row[size_t(w)];
    };
    std::vector<std::uint8_t> min3(size_t(w) + 2), max3(size_t(w) + 2), min2(size_t(w) + 2),
        max2(size_t(w) + 2);
    load(rows[1], 0);
    rows[0] = rows[1];
    for (int y = 0; y < h; ++y) {
        if (y + 1 < h)
            load(rows[2], y + 1);
        else
            rows[2] = rows[1];
        const std::uint8_t *up = rows[0].data();
        const std::uint8_t *cur = rows[1].data();
        const std::uint8_t *dn = rows[2].data();
        for (size_t x = 0; x < size_t(w) + 2; ++x) {
            const std::uint8_t lo = std::min(up[x], dn[x]);
            const std::uint8_t hi = std::max(up[x], dn[x]);
            min2[x] = lo;
            max2[x] = hi;
            min3[x] = std::min(lo, cur[x]);
            max3[x] = std::max(hi, cur[x]);
        }
        uchar *out = image.scanLine(y) + offset;
        for (int x = 0; x < w; ++x) {
            const size_t i = size_t(x) + 1;
            const std::uint8_t lo = std::min({min3[i - 1], min2[i], min3[i + 1]});
            const std::uint8_t hi = std::max({max3[i - 1], max2[i], max3[i + 1]});
            out[x * Step] = std::clamp(cur[i], lo, hi);
        }
        std::swap(rows[0], rows[1]);
        std::swap(rows[1], rows[2]);
    }
}

// The same rule on a 1-bit image, eight pixels at a time.
void despeckleMono(QImage &image)
{
    const int w = image.width();
    const int h = image.height();
    const int nb = (w + 7) / 8;
    const int tailBits = w % 8;
    std::vector<std::uint8_t> rows[3];
    for (auto &r : rows)
        r.resize(size_t(nb) + 2);
    auto load = [&](std::vector<std::uint8_t> &row, int y) {
        const uchar *src = image.constScanLine(y);
        std::copy(src, src + nb, row.begin() + 1);
        const bool first = src[0] & 0x80;
        const bool last = src[(w - 1) / 8] & (0x80 >> ((w - 1) % 8));
        if (tailBits) {
            const std::uint8_t pad = std::uint8_t(0xff >> tailBits);
            row[size_t(nb)] = std::uint8_t(last ? (row[size_t(nb)] | pad) : (row[size_t(nb)] & ~pad));
        }
        row[0] = first ? 0xff : 0x00;
        row[size_t(nb) + 1] = last ? 0xff : 0x00;
    };
    load(rows[1], 0);
    rows[0] = rows[1];
    for (int y = 0; y < h; ++y) {
        if (y + 1 < h)
            load(rows[2], y + 1);
        else
            rows[2] = rows[1];
        uchar *out = image.scanLine(y);
        for (size_t i = 1; i <= size_t(nb); ++i) {
            std::uint8_t any = 0;
            std::uint8_t all = 0xff;
            for (int r = 0; r < 3; ++r) {
                const auto &row = rows[r];
                const std::uint8_t c = row[i];
                const std::uint8_t left = std::uint8_t((c >> 1) | (row[i - 1] << 7));
                const std::uint8_t right = std::uint8_t((c << 1) | (row[i + 1] >> 7));
                any |= std::uint8_t(left | right);
                all &= std::uint8_t(left & right);
                if (r != 1) {
                    any |= c;
                    all &= c;
                }
            }
            const std::uint8_t c = rows[1][i];
            out[i - 1] = std::uint8_t((c & any) | (~c & all));
        }
        std::swap(rows[0], rows[1]);
        std::swap(rows[1], rows[2]);
    }
}

} // namespace

QImage toWorkingFormat(QImage image)
{
    switch (image.format()) {
    case QImage::Format_Invalid:
    case QImage::Format_Mono:
    case QImage::Format_Indexed8:
    case QImage::Format_Grayscale8:
    case QImage::Format_RGB32:
        return image;
    case QImage::Format_MonoLSB:
        return image.convertToFormat(QImage::Format_Mono);
    case QImage::Format_Grayscale16:
        return image.convertToFormat(QImage::Format_Grayscale8);
    default:
        return image.convertToFormat(QImage::Format_RGB32);
    }
}

int bitsPerPixel(const QImage &image)
{
    switch (image.format()) {
    case QImage::Format_Invalid:
        return 0;
    case QImage::Format_Mono:
    case QImage::Format_MonoLSB:
        return 1;
    case QImage::Format_Indexed8:
    case QImage::Format_Grayscale8:
        return 8;
    default:
        return 24;
    }
}

Lut adjustmentTable(int brightness, int contrast, double gamma)
{
    brightness = std::clamp(brightness, -100, 100);
    contrast = std::clamp(contrast, -100, 100);
    const double step = brightness * 255.0 / 100.0;
    const double factor = contrast >= 100 ? 256.0
                          : contrast >= 0 ? 100.0 / (100.0 - contrast)
                                          : (100.0 + contrast) / 100.0;
    // A gamma of zero or less has no meaning; it leaves the image alone.
    const double exponent = gamma > 0.0 ? 1.0 / gamma : 1.0;
    Lut lut{};
    for (int v = 0; v < 256; ++v) {
        double x = std::clamp(v + step, 0.0, 255.0);
        x = std::clamp((x - 127.5) * factor + 127.5, 0.0, 255.0);
        if (exponent != 1.0)
            x = 255.0 * std::pow(x / 255.0, exponent);
        lut[size_t(v)] = clampByte(x);
    }
    return lut;
}

bool isIdentity(const Lut &lut)
{
    for (int v = 0; v < 256; ++v)
        if (lut[size_t(v)] != v)
            return false;
    return true;
}

QImage applyTable(const QImage &image, const Lut &lut)
{
    QImage out;
    applyTable(image, lut, out);
    return out;
}

void applyTable(const QImage &image, const Lut &lut, QImage &out)
{
    const auto rgb = [&lut](QRgb c) {
        return qRgba(lut[size_t(qRed(c))], lut[size_t(qGreen(c))], lut[size_t(qBlue(c))], qAlpha(c));
    };
    if (image.isNull() || hasPalette(image)) {
        out = image;
        mapPalette(out, rgb);
        return;
    }
    // A buffer of the right shape is reused: see newPageImage.
    if (out.size() != image.size() || out.format() != image.format() || !out.isDetached()
        || out.constBits() == image.constBits())
        out = newPageImage(image.size(), image.format());
    if (image.format() == QImage::Format_Grayscale8)
        greyThroughTable(image, out, lut);
    else
        mapPixels<QRgb>(image, out, rgb);
}

void replaceColour(QImage &image, quint32 low, quint32 high, quint32 newColour)
{
    const QRgb a = toRgb(low);
    const QRgb b = toRgb(high);
    const int rLo = std::min(qRed(a), qRed(b)), rHi = std::max(qRed(a), qRed(b));
    const int gLo = std::min(qGreen(a), qGreen(b)), gHi = std::max(qGreen(a), qGreen(b));
    const int bLo = std::min(qBlue(a), qBlue(b)), bHi = std::max(qBlue(a), qBlue(b));
    const auto matches = [=](QRgb c) {
        return qRed(c) >= rLo && qRed(c) <= rHi && qGreen(c) >= gLo && qGreen(c) <= gHi
               && qBlue(c) >= bLo && qBlue(c) <= bHi;
    };
    const QRgb to = toRgb(newColour);
    if (hasPalette(image)) {
        mapPalette(image, [&](QRgb c) { return matches(c) ? to : c; });
        return;
    }
    if (image.format() == QImage::Format_Grayscale8) {
        if (qRed(to) == qGreen(to) && qGreen(to) == qBlue(to)) {
            const auto grey = uchar(qRed(to));
            forEachGrey(image, [&](uchar v) { return matches(qRgb(v, v, v)) ? grey : v; });
            return;
        }
        image = image.convertToFormat(QImage::Format_RGB32);
    }
    if (!image.isNull())
        forEachRgb32(image, [&](QRgb c) { return matches(c) ? to : c; });
}

void negate(QImage &image)
{
    if (hasPalette(image)) {
        mapPalette(image, [](QRgb c) { return c ^ 0x00ffffffu; });
    } else if (image.format() == QImage::Format_Grayscale8) {
        forEachGrey(image, [](uchar v) { return uchar(255 - v); });
    } else if (!image.isNull()) {
        forEachRgb32(image, [](QRgb c) { return c ^ 0x00ffffffu; });
    }
}

void despeckle(QImage &image)
{
    if (image.isNull())
        return;
    switch (image.format()) {
    case QImage::Format_Mono:
        despeckleMono(image);
        return;
    case QImage::Format_Indexed8:
        // Palette numbers say nothing about lightness.
        image = image.convertToFormat(image.allGray() ? QImage::Format_Grayscale8
                                                      : QImage::Format_RGB32);
        despeckle(image);
        return;
    case QImage::Format_Grayscale8:
        despecklePlane<1>(image, 0);
        return;
    default:
        for (int channel = 0; channel < 3; ++channel)
            despecklePlane<4>(image, channel);
    }
}

void setColourDepth(QImage &image, int bits)
{
    if (image.isNull() || bitsPerPixel(image) == bits)
        return;
    switch (bits) {
    case 1:
        image = image.convertToFormat(QImage::Format_Mono, Qt::MonoOnly | Qt::ThresholdDither);
        break;
    case 8:
        if (image.format() == QImage::Format_Mono)
            image = image.convertToFormat(QImage::Format_Indexed8);
        else
            image = image.convertToFormat(image.allGray() ? QImage::Format_Grayscale8
                                                          : QImage::Format_Indexed8,
                                          Qt::ThresholdDither);
        break;
    case 24:
        image = image.convertToFormat(QImage::Format_RGB32);
        break;
    default:
        break;
    }
}

QImage rotated(const QImage &image, double degrees)
{
    if (image.isNull())
        return image;
    degrees = std::fmod(degrees, 360.0);
    const double quarters = degrees / 90.0;
    const bool quarterTurn = std::abs(quarters - std::nearbyint(quarters)) < 1e-9;
    if (quarterTurn && std::nearbyint(quarters) == 0.0)
        return image;
    QTransform turn;
    turn.rotate(-degrees);
    if (quarterTurn && image.format() != QImage::Format_Mono)
        return image.transformed(turn);

    const QRect bounds = turn.mapRect(QRectF(image.rect())).toAlignedRect();
    QImage canvas(bounds.size(), QImage::Format_RGB32);
    canvas.fill(Qt::white);
    {
        QPainter painter(&canvas);
        painter.translate(-bounds.topLeft());
        painter.setTransform(turn, true);
        painter.drawImage(0, 0, image);
    }
    switch (image.format()) {
    case QImage::Format_Mono:
        return canvas.convertToFormat(QImage::Format_Mono, Qt::MonoOnly | Qt::ThresholdDither);
    case QImage::Format_Grayscale8:
        return canvas.convertToFormat(QImage::Format_Grayscale8);
    default:
        return canvas;
    }
}

} // namespace ImageFilters
