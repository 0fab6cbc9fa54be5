#pragma once

// The scan's pixel operations, the program's own code over QImage. Every
// function takes the image in one of the working formats the imaging layer
// keeps (Format_Mono, Format_Indexed8, Format_Grayscale8, Format_RGB32) and
// leaves it in one of them. Colours are stored values, 0x00BBGGRR.

#include <QImage>

#include <array>
#include <cstdint>

namespace ImageFilters {

using Lut = std::array<std::uint8_t, 256>;

// The format the imaging layer works in for an image read from a file: 1-bit
// stays 1-bit, grey and palette images stay 8-bit, everything else becomes
// 32-bit RGB without alpha.
QImage toWorkingFormat(QImage image);

// 1, 8 or 24; 0 for no image.
int bitsPerPixel(const QImage &image);

// One table for the three sliders, applied in this order: brightness
// (-100..100, adds up to a full white step), contrast (-100..100, around mid
// grey; 100 is the steepest a table can hold), gamma (above 0; 1 leaves the
// image alone, below 1 darkens the middle greys so faint ink stands out).
Lut adjustmentTable(int brightness, int contrast, double gamma);
bool isIdentity(const Lut &lut);
// The image with every pixel (or palette entry) passed through the table,
// each colour channel alike.
QImage applyTable(const QImage &image, const Lut &lut);
// The same into out, whose memory is reused when it has the image's size
// and format and is not shared.
void applyTable(const QImage &image, const Lut &lut, QImage &out);

// Every pixel whose colour lies between low and high, channel by channel,
// takes newColour; a grey image that must hold a colour becomes 32-bit.
void replaceColour(QImage &image, quint32 low, quint32 high, quint32 newColour);

// The photographic negative.
void negate(QImage &image);

// Removes single-pixel specks: a pixel lighter or darker than all eight of
// its neighbours is brought back within their range. Edges, lines and
// letters wider than one pixel are left alone. Edge pixels count the pixels
// outside the image as copies of themselves.
void despeckle(QImage &image);

// Converts to 1, 8 or 24 bits per pixel. 1-bit keeps black or white by
// threshold; 8-bit from 1-bit keeps the two colours as a palette; 8-bit
// from colour keeps grey as grey and builds a palette otherwise.
void setColourDepth(QImage &image, int bits);

// Turned by degrees, positive counter-clockwise, about the centre, on a
// canvas that holds the whole turned page; corners laid bare are white.
// Quarter turns are exact.
QImage rotated(const QImage &image, double degrees);

} // namespace ImageFilters
