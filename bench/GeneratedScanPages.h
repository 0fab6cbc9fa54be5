#pragma once

// A 600 dpi A4 page scan (4960 x 7016) for the scan viewer's benchmarks:
// grey paper with noise, lines of dark "writing" and scattered specks,
// and the same page in black and white. The files are written once, an
// 8-bit grey LZW TIFF and a black-and-white Group 4 TIFF, with a blank
// Group 4 page of a few pixels beside them, in a temporary folder of the
// current directory that lasts the run. A scan is read from a disk, so the
// folder must not be in memory (tmpfs): a run there stops at once.

#include <QDir>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QImageWriter>
#include <QLibrary>
#include <QString>
#include <QTemporaryDir>

#include <cstring>
#include <random>
#include <utility>

#ifdef __linux__
#include <linux/magic.h>
#include <sys/vfs.h>
#endif

namespace GeneratedScanPages {
inline constexpr int kWidth = 4960;
inline constexpr int kHeight = 7016;

inline const QImage &greyPage()
{
    static const QImage page = [] {
        QImage image(kWidth, kHeight, QImage::Format_Grayscale8);
        std::mt19937 random(600);
        for (int y = 0; y < kHeight; ++y) {
            uchar *line = image.scanLine(y);
            const bool writing = (y % 120) > 70 && (y % 120) < 100;
            for (int x = 0; x < kWidth; ++x) {
                int v = 225 + int(random() % 16);
                if (writing && (x / 9) % 3 == 0 && x > 200 && x < 4700)
                    v = 30 + int(random() % 40);
                else if (random() % 997 == 0)
                    v = 20; // a speck
                line[x] = uchar(v);
            }
        }
        return image;
    }();
    return page;
}

inline const QImage &monoPage()
{
    static const QImage page = greyPage().convertToFormat(QImage::Format_Mono,
                                                          Qt::MonoOnly | Qt::ThresholdDither);
    return page;
}

// Qt's TIFF writer compresses black and white with LZW only; a scanner's
// Group 4 page is written through the system's libtiff (the library Qt's
// TIFF reader runs on), loaded at run time as no headers are needed for
// these few calls.
inline void writeGroup4(const QString &path, const QImage &page)
{
    QLibrary tiff(QStringLiteral("tiff"), 6);
    using Open = void *(*)(const char *, const char *);
    using SetField = int (*)(void *, quint32, ...);
    using WriteScanline = int (*)(void *, void *, quint32, quint16);
    using Close = void (*)(void *);
    const auto open = reinterpret_cast<Open>(tiff.resolve("TIFFOpen"));
    const auto set = reinterpret_cast<SetField>(tiff.resolve("TIFFSetField"));
    const auto write = reinterpret_cast<WriteScanline>(tiff.resolve("TIFFWriteScanline"));
    const auto close = reinterpret_cast<Close>(tiff.resolve("TIFFClose"));
    if (!open || !set || !write || !close)
        qFatal("cannot load libtiff: %s", qPrintable(tiff.errorString()));
    void *file = open(QFile::encodeName(path).constData(), "w");
    if (!file)
        qFatal("cannot create %s", qPrintable(path));
    // Bit value 0 is black in the page when its first colour is.
    const bool zeroIsBlack = qGray(page.color(0)) < 128;
    enum : quint32 {
        ImageWidth = 256, ImageLength = 257, BitsPerSample = 258, Compression = 259,
        Photometric = 262, FillOrder = 266, SamplesPerPixel = 277, RowsPerStrip = 278,
        XResolution = 282, YResolution = 283, ResolutionUnit = 296,
    };
    set(file, ImageWidth, quint32(page.width()));
    set(file, ImageLength, quint32(page.height()));
    set(file, BitsPerSample, 1);
    set(file, SamplesPerPixel, 1);
    set(file, Compression, 4); // CCITT Group 4
    set(file, Photometric, zeroIsBlack ? 1 : 0);
    set(file, FillOrder, 1);
    set(file, RowsPerStrip, quint32(page.height()));
    set(file, XResolution, 600.0);
    set(file, YResolution, 600.0);
    set(file, ResolutionUnit, 2);
    QImage line = page.copy(0, 0, page.width(), 1);
    for (int y = 0; y < page.height(); ++y) {
        std::memcpy(line.bits(), page.constScanLine(y), size_t((page.width() + 7) / 8));
        if (write(file, line.bits(), quint32(y), 0) < 0)
            qFatal("cannot write row %d of %s", y, qPrintable(path));
    }
    close(file);
}

// A page of a few pixels, all paper: opening it costs what opening any
// page costs besides reading its pixels.
inline QImage blankPage()
{
    QImage image(16, 16, QImage::Format_Mono);
    image.setColorTable({qRgb(255, 255, 255), qRgb(0, 0, 0)});
    image.fill(0);
    return image;
}

inline bool inMemoryFileSystem(const QString &path)
{
#ifdef __linux__
    struct statfs fs {};
    return statfs(QFile::encodeName(path).constData(), &fs) == 0
           && (fs.f_type == TMPFS_MAGIC || fs.f_type == RAMFS_MAGIC);
#else
    Q_UNUSED(path);
    return false;
#endif
}

struct Files
{
    QTemporaryDir dir{QDir(QDir::currentPath()).filePath(QStringLiteral("scanpages-XXXXXX"))};
    QString grey = dir.filePath(QStringLiteral("grey-lzw.tif"));
    QString mono = dir.filePath(QStringLiteral("bw.tif"));
    QString blank = dir.filePath(QStringLiteral("blank.tif"));
    Files()
    {
        if (!dir.isValid())
            qFatal("cannot make a folder for the pages in %s", qPrintable(QDir::currentPath()));
        if (inMemoryFileSystem(dir.path()))
            qFatal("%s is held in memory; run from a folder on a disk", qPrintable(dir.path()));
        QImageWriter writer(grey, "tiff");
        writer.setCompression(1); // LZW
        if (!writer.write(greyPage()))
            qFatal("cannot write the page: %s", qPrintable(writer.errorString()));
        writeGroup4(mono, monoPage());
        writeGroup4(blank, blankPage());
        // The black and white page reads back as written.
        QImageReader::setAllocationLimit(2048);
        const QImage back = QImageReader(mono).read();
        if (back.convertToFormat(QImage::Format_Grayscale8)
            != monoPage().convertToFormat(QImage::Format_Grayscale8))
            qFatal("the Group 4 page does not read back as written");
    }
};

inline const Files &files()
{
    static const Files f;
    return f;
}
} // namespace GeneratedScanPages
