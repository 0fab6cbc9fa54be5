// The imaging layer under the scan viewer: loading a page and the load
// codes, the brightness, contrast and gamma tables, despeckle, colours,
// colour depth, turns and flips, zoom and scrolling, painting the exposed
// part, and the page formats a scan comes in.

#include "PelkarTest.h"

#include "scanview/ImageFilters.h"
#include "scanview/ImagingControl.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>
#include <QImageWriter>
#include <QPainter>
#include <QSignalSpy>
#include <QtEndian>

#include <algorithm>

namespace {

const QRgb kWhite = qRgb(255, 255, 255);
const QRgb kBlack = qRgb(0, 0, 0);

// Rows of "#" (ink) and "." (paper), joined by "|".
QImage monoFrom(const QString &rows)
{
    const QStringList lines = rows.split(u'|');
    QImage image(int(lines.first().size()), int(lines.size()), QImage::Format_Mono);
    image.setColorTable({kWhite, kBlack});
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, lines[y][x] == u'#' ? 1 : 0);
    return image;
}

QImage greyFrom(const QString &rows)
{
    return monoFrom(rows).convertToFormat(QImage::Format_Grayscale8);
}

QString rowsOf(const QImage &image)
{
    QStringList lines;
    for (int y = 0; y < image.height(); ++y) {
        QString line;
        for (int x = 0; x < image.width(); ++x)
            line += qGray(image.pixel(x, y)) < 128 ? u'#' : u'.';
        lines << line;
    }
    return lines.join(u'|');
}

// Grey values, one per pixel, in reading order.
QImage greyValues(int width, int height, const QList<int> &values)
{
    QImage image(width, height, QImage::Format_Grayscale8);
    for (int i = 0; i < values.size(); ++i)
        image.scanLine(i / width)[i % width] = uchar(values[i]);
    return image;
}

// The number of strips the first page of a TIFF is stored in.
int tiffStripCount(const QByteArray &tiff)
{
    const bool little = tiff.startsWith("II");
    auto u16 = [&](qsizetype at) {
        const auto *p = reinterpret_cast<const uchar *>(tiff.constData() + at);
        return little ? qFromLittleEndian<quint16>(p) : qFromBigEndian<quint16>(p);
    };
    auto u32 = [&](qsizetype at) {
        const auto *p = reinterpret_cast<const uchar *>(tiff.constData() + at);
        return little ? qFromLittleEndian<quint32>(p) : qFromBigEndian<quint32>(p);
    };
    const quint32 ifd = u32(4);
    const int entries = u16(ifd);
    for (int i = 0; i < entries; ++i) {
        const qsizetype entry = ifd + 2 + i * 12;
        if (u16(entry) == 273)
            return int(u32(entry + 4));
    }
    return 0;
}

// A little-endian TIFF of the given tags (short values, or long for the
// sizes) and its strips.
QByteArray tiffFile(const QList<QPair<quint16, quint32>> &tags, const QList<QByteArray> &strips)
{
    QByteArray out("II*\0", 4);
    auto put16 = [&](quint16 v) { out.append(char(v & 0xff)).append(char(v >> 8)); };
    auto put32 = [&](quint32 v) { put16(quint16(v & 0xffff)); put16(quint16(v >> 16)); };
    const auto n = quint32(strips.size());
    const quint32 ifdSize = 2 + quint32(tags.size() + 2) * 12 + 4;
    // After the directory: the two tables of strip offsets and sizes (when
    // more than one), then the strips.
    const quint32 tablesAt = 8 + ifdSize;
    quint32 dataAt = tablesAt + (n > 1 ? 8 * n : 0);
    QList<quint32> offsets;
    for (const QByteArray &strip : strips) {
        offsets << dataAt;
        dataAt += quint32(strip.size());
    }
    auto all = tags;
    all.append({273, n > 1 ? tablesAt : offsets.first()});
    all.append({279, n > 1 ? tablesAt + 4 * n : quint32(strips.first().size())});
    std::sort(all.begin(), all.end());
    put32(8);
    put16(quint16(all.size()));
    for (const auto &[tag, value] : all) {
        put16(tag);
        const bool table = tag == 273 || tag == 279;
        const bool longValue = table || tag == 256 || tag == 257 || tag == 278;
        put16(longValue ? 4 : 3);
        put32(table ? n : 1);
        if (longValue) {
            put32(value);
        } else {
            put16(quint16(value));
            put16(0);
        }
    }
    put32(0);
    if (n > 1) {
        for (quint32 offset : offsets)
            put32(offset);
        for (const QByteArray &strip : strips)
            put32(quint32(strip.size()));
    }
    for (const QByteArray &strip : strips)
        out += strip;
    return out;
}

QByteArray bitsToBytes(const QString &bits)
{
    QByteArray out;
    for (qsizetype i = 0; i < bits.size(); i += 8) {
        const QString byte = bits.mid(i, 8).leftJustified(8, u'0');
        out.append(char(byte.toUInt(nullptr, 2)));
    }
    return out;
}

} // namespace

class tst_Imaging : public PelkarTest
{
    Q_OBJECT

    QString write(const QString &name, const QByteArray &bytes)
    {
        QFile file(homePath(name));
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            qFatal("cannot write %s", qPrintable(name));
        return file.fileName();
    }
    QString save(const QString &name, const QImage &image, const char *format,
                 int compression = -1)
    {
        QImageWriter writer(homePath(name), format);
        if (compression >= 0)
            writer.setCompression(compression);
        if (!writer.write(image))
            qFatal("cannot write %s: %s", qPrintable(name), qPrintable(writer.errorString()));
        return homePath(name);
    }

private slots:
    void loadCodes_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("error");
        QTest::addColumn<int>("bits");

        QByteArray png;
        {
            QBuffer buffer(&png);
            buffer.open(QIODevice::WriteOnly);
            greyFrom("#.|.#").save(&buffer, "PNG");
        }
        QTest::newRow("missing-file") << "gone.tif" << QByteArray() << 1 << 0;
        QTest::newRow("empty-file") << "empty.tif" << QByteArray("") << 2 << 0;
        QTest::newRow("not-an-image") << "notes.tif" << QByteArray("Just some words\r\n") << 3 << 0;
        QTest::newRow("damaged-image") << "cut.png" << png.left(40) << 4 << 0;
        QTest::newRow("good-png-with-wrong-ending") << "page.tif" << png << 0 << 8;
    }
    void loadCodes()
    {
        QFETCH(QString, file);
        QFETCH(QByteArray, bytes);
        QFETCH(int, error);
        QFETCH(int, bits);
        const QString path = bytes.isNull() ? homePath(file) : write(file, bytes);
        ImagingControl control;
        control.setFileName(path);
        QCOMPARE(control.LoadError(), error);
        QCOMPARE(control.BitsPerPixel(), bits);
        QCOMPARE(control.hasImage(), error == 0);
        QCOMPARE(control.FileName(), path);
    }

    void failedLoadReleasesTheOldPage()
    {
        ImagingControl control;
        control.setFileName(save("a.png", greyFrom("#.|.#"), "PNG"));
        QCOMPARE(control.ImageWidth(), 2);
        control.setFileName(homePath("gone.png"));
        QVERIFY(!control.hasImage());
        control.setFileName(save("b.png", greyFrom("#.|.#"), "PNG"));
        control.setFileName(QString());
        QVERIFY(!control.hasImage());
        QCOMPARE(control.LoadError(), 0);
    }

    void bitsPerPixel_data()
    {
        QTest::addColumn<QImage>("image");
        QTest::addColumn<QByteArray>("format");
        QTest::addColumn<int>("bits");
        QImage colour(3, 2, QImage::Format_RGB32);
        colour.fill(qRgb(200, 30, 40));
        QTest::newRow("black-and-white-png") << monoFrom("#..|.#.") << QByteArray("PNG") << 1;
        QTest::newRow("black-and-white-bmp") << monoFrom("#..|.#.") << QByteArray("BMP") << 1;
        QTest::newRow("grey-png") << greyFrom("#..|.#.") << QByteArray("PNG") << 8;
        QTest::newRow("colour-jpeg") << colour << QByteArray("JPEG") << 24;
        QTest::newRow("colour-bmp") << colour << QByteArray("BMP") << 24;
    }
    void bitsPerPixel()
    {
        QFETCH(QImage, image);
        QFETCH(QByteArray, format);
        QFETCH(int, bits);
        ImagingControl control;
        control.setFileName(save("page." + QString::fromLatin1(format).toLower(), image, format));
        QCOMPARE(control.LoadError(), 0);
        QCOMPARE(control.BitsPerPixel(), bits);
        QCOMPARE(control.ImageWidth(), 3);
        QCOMPARE(control.ImageHeight(), 2);
        if (bits == 1)
            QCOMPARE(rowsOf(control.image()), QStringLiteral("#..|.#."));
    }

    // Each pixel passes brightness, then contrast, then gamma.
    void adjustments_data()
    {
        QTest::addColumn<int>("brightness");
        QTest::addColumn<int>("contrast");
        QTest::addColumn<float>("gamma");
        QTest::addColumn<QList<int>>("expected"); // for 0, 64, 100, 128, 255

        QTest::newRow("neutral") << 0 << 0 << 1.0f << QList<int>{0, 64, 100, 128, 255};
        // 100 + 127.5 = 227.5 goes to the even neighbour.
        QTest::newRow("brightness-50") << 50 << 0 << 1.0f << QList<int>{128, 192, 228, 255, 255};
        QTest::newRow("brightness-minus-100") << -100 << 0 << 1.0f << QList<int>{0, 0, 0, 0, 0};
        QTest::newRow("contrast-50") << 0 << 50 << 1.0f << QList<int>{0, 0, 72, 128, 255};
        QTest::newRow("contrast-minus-100-flat") << 0 << -100 << 1.0f
                                                 << QList<int>{128, 128, 128, 128, 128};
        QTest::newRow("contrast-100-threshold") << 0 << 100 << 1.0f << QList<int>{0, 0, 0, 255, 255};
        QTest::newRow("gamma-half-darkens-middle") << 0 << 0 << 0.5f << QList<int>{0, 16, 39, 64, 255};
        QTest::newRow("all-three") << 10 << 50 << 0.5f << QList<int>{0, 10, 60, 126, 255};
        // The earlier gamma of 2 stays.
        QTest::newRow("gamma-zero-refused") << 0 << 0 << 0.0f << QList<int>{0, 128, 160, 181, 255};
    }
    void adjustments()
    {
        QFETCH(int, brightness);
        QFETCH(int, contrast);
        QFETCH(float, gamma);
        QFETCH(QList<int>, expected);
        const QList<int> input{0, 64, 100, 128, 255};
        const QImage grey = greyValues(5, 1, input);

        ImagingControl control;
        control.setFileName(save("grey.png", grey, "PNG"));
        // A slider is a setting: an earlier value leaves no trace.
        control.setBrightness(-40);
        control.setContrast(30);
        control.setGamma(2.0f);
        control.setBrightness(brightness);
        control.setContrast(contrast);
        control.setGamma(gamma);
        QList<int> shown;
        for (int x = 0; x < 5; ++x)
            shown << qGray(control.displayImage().pixel(x, 0));
        QCOMPARE(shown, expected);
        const float shownGamma = control.Gamma();
        QCOMPARE(control.image(), grey); // the page itself is untouched
        // Back to neutral shows the page exactly as loaded.
        control.setBrightness(0);
        control.setContrast(0);
        control.setGamma(1.0f);
        QCOMPARE(control.displayImage(), grey);
        control.setBrightness(brightness);
        QCOMPARE(qGray(control.displayImage().pixel(4, 0)), brightness >= 0 ? 255 : 0);

        // Colour pages take the same table on each channel; palette pages
        // on their palette.
        QImage colour(5, 1, QImage::Format_RGB32);
        for (int x = 0; x < 5; ++x)
            colour.setPixel(x, 0, qRgb(input[x], 255 - input[x], input[x]));
        const auto lut = ImageFilters::adjustmentTable(brightness, contrast, shownGamma);
        const QImage shownColour = ImageFilters::applyTable(colour, lut);
        QCOMPARE(colour.pixel(0, 0), qRgb(0, 255, 0));
        for (int x = 0; x < 5; ++x) {
            QCOMPARE(qRed(shownColour.pixel(x, 0)), expected[x]);
            QCOMPARE(qGreen(shownColour.pixel(x, 0)), int(lut[size_t(255 - input[x])]));
        }
    }

    void brightnessOnBlackAndWhiteChangesItsTwoColours()
    {
        ImagingControl control;
        control.setFileName(save("bw.png", monoFrom("#.|.#"), "PNG"));
        control.setBrightness(50);
        const QImage &shown = control.displayImage();
        QCOMPARE(shown.pixel(0, 0), qRgb(128, 128, 128));
        QCOMPARE(shown.pixel(1, 0), kWhite);
        QCOMPARE(control.BitsPerPixel(), 1);
    }

    void despeckle_data()
    {
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("after");
        QTest::newRow("lone-ink-dot-removed") << ".....|..#..|....." << ".....|.....|.....";
        QTest::newRow("lone-paper-hole-filled") << "#####|##.##|#####" << "#####|#####|#####";
        QTest::newRow("two-pixel-dash-kept") << ".....|..##.|....." << ".....|..##.|.....";
        QTest::newRow("thin-vertical-line-kept") << "..#..|..#..|..#.." << "..#..|..#..|..#..";
        QTest::newRow("diagonal-kept") << "#....|.#...|..#.." << "#....|.#...|..#..";
        QTest::newRow("dot-at-edge-kept") << "#....|.....|....." << "#....|.....|.....";
        // Past the first byte of a black-and-white row, and in the last
        // pixel of a row that does not fill its byte.
        QTest::newRow("dots-across-bytes") << "..........|........#.|..........|.........."
                                           << "..........|..........|..........|..........";
        QTest::newRow("dots-at-byte-seams") << ".............|.......#.#...|............."
                                            << ".............|.............|.............";
        QTest::newRow("last-column-edge-kept") << ".............|............#|............."
                                               << ".............|............#|.............";
    }
    void despeckle()
    {
        QFETCH(QString, before);
        QFETCH(QString, after);
        QImage mono = monoFrom(before);
        ImageFilters::despeckle(mono);
        QCOMPARE(mono.format(), QImage::Format_Mono);
        QCOMPARE(rowsOf(mono), after);
        QImage grey = greyFrom(before);
        ImageFilters::despeckle(grey);
        QCOMPARE(grey.format(), QImage::Format_Grayscale8);
        QCOMPARE(rowsOf(grey), after);
        QImage colour = greyFrom(before).convertToFormat(QImage::Format_RGB32);
        ImageFilters::despeckle(colour);
        QCOMPARE(rowsOf(colour), after);
    }

    void despeckleClampsAGreySpeckToItsNeighbours()
    {
        QImage grey = greyValues(3, 3, {200, 210, 220, 205, 40, 215, 230, 240, 250});
        ImageFilters::despeckle(grey);
        QCOMPARE(int(grey.pixelColor(1, 1).red()), 200);
        QCOMPARE(int(grey.pixelColor(0, 0).red()), 200);
    }

    void replaceColour_data()
    {
        QTest::addColumn<QImage>("image");
        QTest::addColumn<quint32>("low");
        QTest::addColumn<quint32>("high");
        QTest::addColumn<quint32>("to");
        QTest::addColumn<QRgb>("inkAfter");
        QTest::addColumn<QRgb>("paperAfter");
        QTest::addColumn<int>("bits");

        QImage indexed = monoFrom("#.").convertToFormat(QImage::Format_Indexed8);
        QImage rgb = greyFrom("#.").convertToFormat(QImage::Format_RGB32);
        rgb.setPixel(0, 0, qRgb(10, 20, 30));
        // Stored colours are 0x00BBGGRR: 0x0000FF is red.
        QTest::newRow("black-and-white-ink-to-red") << monoFrom("#.") << 0u << 0u << 0x0000ffu
                                                    << qRgb(255, 0, 0) << kWhite << 1;
        QTest::newRow("palette-paper-to-yellow") << indexed << 0xffffffu << 0xffffffu << 0x00ffffu
                                                 << kBlack << qRgb(255, 255, 0) << 8;
        QTest::newRow("grey-paper-to-grey") << greyFrom("#.") << 0xffffffu << 0xffffffu
                                            << 0x808080u << kBlack << qRgb(128, 128, 128) << 8;
        QTest::newRow("grey-ink-to-blue-becomes-colour") << greyFrom("#.") << 0u << 0u << 0xff0000u
                                                         << qRgb(0, 0, 255) << kWhite << 24;
        QTest::newRow("colour-range") << rgb << 0x000000u << 0x202020u << 0x00ff00u
                                      << qRgb(0, 255, 0) << kWhite << 24;
        QTest::newRow("colour-outside-range") << rgb << 0x000000u << 0x1d1d1du << 0x00ff00u
                                              << qRgb(10, 20, 30) << kWhite << 24;
    }
    void replaceColour()
    {
        QFETCH(QImage, image);
        QFETCH(quint32, low);
        QFETCH(quint32, high);
        QFETCH(quint32, to);
        QFETCH(QRgb, inkAfter);
        QFETCH(QRgb, paperAfter);
        QFETCH(int, bits);
        ImageFilters::replaceColour(image, low, high, to);
        QCOMPARE(image.pixel(0, 0), inkAfter);
        QCOMPARE(image.pixel(1, 0), paperAfter);
        QCOMPARE(ImageFilters::bitsPerPixel(image), bits);
    }

    void negate_data()
    {
        QTest::addColumn<QImage>("image");
        QTest::newRow("black-and-white") << monoFrom("#.");
        QTest::newRow("grey") << greyFrom("#.");
        QTest::newRow("colour") << greyFrom("#.").convertToFormat(QImage::Format_RGB32);
    }
    void negate()
    {
        QFETCH(QImage, image);
        const int bits = ImageFilters::bitsPerPixel(image);
        ImageFilters::negate(image);
        QCOMPARE(image.pixel(0, 0), kWhite);
        QCOMPARE(image.pixel(1, 0), kBlack);
        QCOMPARE(ImageFilters::bitsPerPixel(image), bits);
        ImageFilters::negate(image);
        QCOMPARE(image.pixel(0, 0), kBlack);
    }

    // The colours of a black-and-white scan are changed through 8 bits
    // and the page goes back to 1 bit when black and white again.
    void colourDepthRoundTrip()
    {
        ImagingControl control;
        control.setFileName(save("bw.png", monoFrom("#..|.#."), "PNG"));
        control.ColorDepth(8, 0, 3);
        QCOMPARE(control.BitsPerPixel(), 8);
        QCOMPARE(rowsOf(control.image()), QStringLiteral("#..|.#."));
        control.ReplaceColor(0xffffff, 0xffffff, 0x00ffff);
        QCOMPARE(control.image().pixel(1, 0), qRgb(255, 255, 0));
        control.ReplaceColor(0x00ffff, 0x00ffff, 0xffffff);
        control.ColorDepth(1, 0, 3);
        QCOMPARE(control.BitsPerPixel(), 1);
        QCOMPARE(rowsOf(control.image()), QStringLiteral("#..|.#."));
        control.ColorDepth(24, 2, 3);
        QCOMPARE(control.BitsPerPixel(), 24);
        QCOMPARE(control.image().pixel(0, 0), kBlack);
        control.ColorDepth(8, 0, 3);
        QCOMPARE(control.image().format(), QImage::Format_Grayscale8);
    }

    // A 3 x 2 page with ink at (0,0) and (2,0): where it goes.
    void turnsAndFlips_data()
    {
        QTest::addColumn<QString>("operation");
        QTest::addColumn<QString>("after");
        QTest::newRow("quarter-left") << "rotate 90" << "#.|..|#.";
        QTest::newRow("quarter-right") << "rotate -90" << ".#|..|.#";
        QTest::newRow("three-quarters-left-is-right") << "rotate 270" << ".#|..|.#";
        QTest::newRow("half") << "rotate 180" << "...|#.#";
        QTest::newRow("two-quarters") << "rotate 90,rotate 90" << "...|#.#";
        QTest::newRow("full-turn") << "rotate 360" << "#.#|...";
        QTest::newRow("flip-left-right") << "flipLR" << "#.#|...";
        QTest::newRow("flip-top-bottom") << "flipTB" << "...|#.#";
        QTest::newRow("flip-then-quarter") << "flipTB,rotate 90" << ".#|..|.#";
    }
    void turnsAndFlips()
    {
        QFETCH(QString, operation);
        QFETCH(QString, after);
        for (const QImage &start : {monoFrom("#.#|..."), greyFrom("#.#|..."),
                                    greyFrom("#.#|...").convertToFormat(QImage::Format_RGB32)}) {
            ImagingControl control;
            control.setFileName(save("page.png", start, "PNG"));
            for (const QString &step : operation.split(u',')) {
                if (step.startsWith(u"rotate"))
                    control.Rotate(step.mid(7).toDouble());
                else if (step == u"flipLR")
                    control.FlipLeftRight();
                else
                    control.FlipTopBottom();
            }
            QCOMPARE(rowsOf(control.image()), after);
            QCOMPARE(control.BitsPerPixel(), ImageFilters::bitsPerPixel(start));
        }
    }

    // A small turn keeps the whole page on a white canvas.
    void smallTurnKeepsThePage()
    {
        QImage page(100, 60, QImage::Format_Grayscale8);
        page.fill(0);
        for (const QImage &start : {page, page.convertToFormat(QImage::Format_Mono)}) {
            const QImage turned = ImageFilters::rotated(start, 5.0);
            // 100 cos 5 + 60 sin 5 by 100 sin 5 + 60 cos 5, rounded out.
            QVERIFY2(turned.width() >= 105 && turned.width() <= 106, qPrintable(QString::number(turned.width())));
            QVERIFY2(turned.height() >= 69 && turned.height() <= 70, qPrintable(QString::number(turned.height())));
            QCOMPARE(turned.pixel(0, 0), kWhite);
            QCOMPARE(turned.pixel(turned.width() - 1, turned.height() - 1), kWhite);
            QCOMPARE(turned.pixel(52, 34), kBlack);
            QCOMPARE(turned.format(), start.format());
            // Counter-clockwise: the top edge rises to the right.
            QCOMPARE(turned.pixel(95, 3), kBlack);
            QCOMPARE(turned.pixel(8, 3), kWhite);
        }
    }

    void zoomAndScroll()
    {
        ImagingControl control;
        control.setControlSize(QSize(100, 50));
        QImage page(400, 300, QImage::Format_Grayscale8);
        page.fill(200);
        control.setFileName(save("page.png", page, "PNG"));

        QCOMPARE(control.ZoomFactor(), 1.0f);
        control.setScrollY(65535);
        QCOMPARE(control.ScrollY(), 250);
        control.setScrollX(65535);
        QCOMPARE(control.ScrollX(), 300);
        control.setScrollX(-5);
        QCOMPARE(control.ScrollX(), 0);
        QCOMPARE(control.ViewWidth(), 100);
        QCOMPARE(control.ViewHeight(), 50);
        QCOMPARE(control.PageHeight(), 50);
        QCOMPARE(control.FullHeight(), 300);

        // The page point at the top stays there: 250 at 1.0 is 125 at 0.5.
        control.setZoomFactor(0.5f);
        QCOMPARE(control.ScrollY(), 100); // 150 - 50 is as far as it goes
        control.setScrollY(20);
        control.setZoomFactor(1.25f);
        QCOMPARE(control.ScrollY(), 50);
        QCOMPARE(control.maxScrollY(), 325);
        QCOMPARE(control.ViewWidth(), 80);
        QCOMPARE(control.ViewHeight(), 40);
        control.setViewHeight(33);
        QCOMPARE(control.ViewHeight(), 33);

        control.setZoomFactor(0.0f);
        control.setZoomFactor(-1.0f);
        QCOMPARE(control.ZoomFactor(), 1.25f);

        // Shrinking the page below the window leaves nothing to scroll.
        control.setZoomFactor(0.1f);
        QCOMPARE(control.maxScrollX(), 0);
        QCOMPARE(control.ScrollY(), 0);
    }

    void userEvents()
    {
        ImagingControl control;
        control.setControlSize(QSize(10, 10));
        control.setFileName(save("page.png", greyValues(20, 20, QList<int>(400, 9)), "PNG"));
        QSignalSpy scrolled(&control, &ImagingControl::Scroll);
        QSignalSpy buttons(&control, &ImagingControl::MouseButton);
        control.userScrolled(4, 99);
        QCOMPARE(scrolled.count(), 1);
        QCOMPARE(control.ScrollX(), 4);
        QCOMPARE(control.ScrollY(), 10);
        control.setScrollY(0); // the program's own scrolling is no user event
        QCOMPARE(scrolled.count(), 1);
        control.userMouseButton(1, 2, 3, 4);
        QCOMPARE(buttons.count(), 1);
        QCOMPARE(buttons.first(), (QList<QVariant>{1, 2, 3, 4}));
    }

    // Paints only the part under the exposed rectangle, at the zoom.
    void paintsTheExposedPart()
    {
        ImagingControl control;
        control.setControlSize(QSize(4, 4));
        control.setFileName(save("page.png",
                                 greyValues(4, 4, {0, 10, 20, 30, 40, 50, 60, 70, 80, 90, 100, 110,
                                                   120, 130, 140, 150}),
                                 "PNG"));
        control.setZoomFactor(2.0f);
        control.setScrollX(2);
        control.setScrollY(2);
        QImage screen(4, 4, QImage::Format_RGB32);
        screen.fill(Qt::red);
        {
            QPainter painter(&screen);
            control.paint(painter, QRect(0, 0, 4, 2));
        }
        QCOMPARE(qGray(screen.pixel(0, 0)), 50);
        QCOMPARE(qGray(screen.pixel(1, 1)), 50);
        QCOMPARE(qGray(screen.pixel(2, 0)), 60);
        QCOMPARE(screen.pixel(0, 2), qRgb(255, 0, 0)); // not exposed
    }

    // A black and white page is painted, at zooms out and in and from odd
    // scroll places, with each screen pixel the page pixel under its
    // centre; from actual size up that is just as Qt paints the same page
    // in colour.
    void paintsBlackAndWhiteAsColour_data()
    {
        QTest::addColumn<float>("zoom");
        QTest::addColumn<int>("scroll");
        QTest::newRow("tenth") << 0.1f << 0;
        QTest::newRow("quarter") << 0.25f << 3;
        QTest::newRow("half") << 0.5f << 5;
        QTest::newRow("actual size") << 1.0f << 7;
        QTest::newRow("twice") << 2.0f << 11;
        QTest::newRow("four times") << 4.0f << 13;
    }
    void paintsBlackAndWhiteAsColour()
    {
        QFETCH(float, zoom);
        QFETCH(int, scroll);
        QImage grey(203, 157, QImage::Format_Grayscale8);
        for (int y = 0; y < grey.height(); ++y)
            for (int x = 0; x < grey.width(); ++x)
                grey.scanLine(y)[x] = uchar(((x * 7 + y * 13) % 17 < 8 || (x / 5 + y / 3) % 4 == 0) ? 0 : 255);
        const QImage mono = grey.convertToFormat(QImage::Format_Mono, Qt::ThresholdDither);
        ImagingControl control;
        control.setControlSize(QSize(90, 70));
        control.setFileName(save("bw.png", mono, "PNG"));
        QCOMPARE(control.BitsPerPixel(), 1);
        control.setZoomFactor(zoom);
        control.setScrollX(scroll);
        control.setScrollY(scroll + 1);
        const QRect exposed(3, 2, 80, 60);
        QImage painted(90, 70, QImage::Format_RGB32);
        painted.fill(Qt::red);
        {
            QPainter painter(&painted);
            control.paint(painter, exposed);
        }
        for (int y = 0; y < 70; ++y) {
            for (int x = 0; x < 90; ++x) {
                const QPoint under(int(std::floor((x + control.ScrollX() + 0.5) / zoom)),
                                   int(std::floor((y + control.ScrollY() + 0.5) / zoom)));
                const QRgb want = exposed.contains(x, y) && mono.rect().contains(under) ? mono.pixel(under)
                                                                                 : qRgb(255, 0, 0);
                if (painted.pixel(x, y) != want)
                    QFAIL(qPrintable(QStringLiteral("pixel %1,%2").arg(x).arg(y)));
            }
        }
        if (zoom < 1.0f)
            return;
        ImagingControl colour;
        colour.setControlSize(QSize(90, 70));
        colour.setFileName(save("colour.png", mono.convertToFormat(QImage::Format_RGB32), "PNG"));
        QCOMPARE(colour.BitsPerPixel(), 24);
        colour.setZoomFactor(zoom);
        colour.setScrollX(control.ScrollX());
        colour.setScrollY(control.ScrollY());
        QImage expected(90, 70, QImage::Format_RGB32);
        expected.fill(Qt::red);
        {
            QPainter painter(&expected);
            colour.paint(painter, exposed);
        }
        QCOMPARE(painted, expected);
    }

    // A page stored in many strips, as scanners write them.
    void multiStripTiff()
    {
        if (!QImageReader::supportedImageFormats().contains("tiff"))
            QSKIP("Qt's TIFF plugin is not installed");
        const int width = 7, height = 10, rowsPerStrip = 3;
        QImage grey(width, height, QImage::Format_Grayscale8);
        QList<QByteArray> strips;
        for (int y = 0; y < height; ++y) {
            if (y % rowsPerStrip == 0)
                strips.append(QByteArray());
            for (int x = 0; x < width; ++x) {
                grey.scanLine(y)[x] = uchar(x * 30 + y * 2);
                strips.last().append(char(x * 30 + y * 2));
            }
        }
        const QByteArray tiff = tiffFile({{256, width}, {257, height}, {258, 8}, {259, 1},
                                          {262, 1}, {277, 1}, {278, rowsPerStrip}},
                                         strips);
        QCOMPARE(tiffStripCount(tiff), 4);
        ImagingControl control;
        control.setFileName(write("strips.tif", tiff));
        QCOMPARE(control.LoadError(), 0);
        QCOMPARE(control.BitsPerPixel(), 8);
        QCOMPARE(control.image().convertToFormat(QImage::Format_Grayscale8), grey);
    }

    // A 600 dpi A4 grey page, which Qt's reader refuses under its default
    // memory limit.
    void fullSizePageOpens()
    {
        if (!QImageReader::supportedImageFormats().contains("tiff"))
            QSKIP("Qt's TIFF plugin is not installed");
        const int width = 4960, height = 7016, rowsPerStrip = 512;
        QList<QByteArray> strips;
        for (int y = 0; y < height; y += rowsPerStrip)
            strips << QByteArray(qsizetype(width) * std::min(rowsPerStrip, height - y), char(200));
        strips.first()[0] = char(7);
        ImagingControl control;
        control.setFileName(write("a4.tif", tiffFile({{256, width}, {257, height}, {258, 8},
                                                      {259, 1}, {262, 1}, {277, 1},
                                                      {278, rowsPerStrip}},
                                                     strips)));
        QCOMPARE(control.LoadError(), 0);
        QCOMPARE(control.ImageWidth(), width);
        QCOMPARE(control.ImageHeight(), height);
        QCOMPARE(qGray(control.image().pixel(0, 0)), 7);
        QCOMPARE(qGray(control.image().pixel(width - 1, height - 1)), 200);
    }

    // Pages written compressed by Qt's own TIFF writer read back.
    void tiffRoundTrips()
    {
        if (!QImageWriter::supportedImageFormats().contains("tiff"))
            QSKIP("Qt's TIFF plugin is not installed");
        QImage grey(300, 400, QImage::Format_Grayscale8);
        for (int y = 0; y < grey.height(); ++y)
            for (int x = 0; x < grey.width(); ++x)
                grey.scanLine(y)[x] = uchar((x * 7 + y * 3) % 256);
        ImagingControl control;
        control.setFileName(save("grey.tif", grey, "tiff", 1));
        QCOMPARE(control.LoadError(), 0);
        QCOMPARE(control.BitsPerPixel(), 8);
        QCOMPARE(control.image().convertToFormat(QImage::Format_Grayscale8), grey);

        const QImage bw = monoFrom("#..#.#..#.#|.#.#..#.#..|...........");
        control.setFileName(save("bw.tif", bw, "tiff", 1));
        QCOMPARE(control.LoadError(), 0);
        QCOMPARE(control.BitsPerPixel(), 1);
        QCOMPARE(rowsOf(control.image()), rowsOf(bw));
    }

    // A fax-coded (Group 4) black-and-white page, coded by hand: an 8 x 2
    // page with ink in columns 2 and 3 of both rows.
    void groupFourTiff()
    {
        if (!QImageReader::supportedImageFormats().contains("tiff"))
            QSKIP("Qt's TIFF plugin is not installed");
        // Row 0: horizontal mode, 2 paper, 2 ink, then V0 to the end.
        // Row 1: three V0 codes, the same as row 0. Then the end of page.
        const QByteArray strip = bitsToBytes(QStringLiteral("001" "0111" "11" "1" "111"
                                                            "000000000001" "000000000001"));
        const QByteArray tiff = tiffFile({{256, 8}, {257, 2}, {258, 1}, {259, 4}, {262, 0},
                                          {277, 1}, {278, 2}},
                                         {strip});
        ImagingControl control;
        control.setFileName(write("g4.tif", tiff));
        QCOMPARE(control.LoadError(), 0);
        QCOMPARE(control.BitsPerPixel(), 1);
        QCOMPARE(rowsOf(control.image()), QStringLiteral("..##....|..##...."));
    }
};

PELKAR_TEST(tst_Imaging)
#include "tst_Imaging.moc"
