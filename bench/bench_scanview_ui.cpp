// The scan viewer window on the offscreen platform with a 600 dpi A4 page
// scan: opening the page until the window has painted it, against Qt's
// reader decoding the same file alone into the image the viewer keeps,
// measured in turn; and one zoom or scroll step with its repaint at zooms
// from a quarter to four times actual size. Each is repeated and reported
// as its minimum, median and maximum.
//
// Beside the opening: a blank page of a few pixels opened the same way
// (what any opening costs besides the pixels), and the image area of an
// open page painted again (what painting the page costs).
//
// "repaint" paints the whole image area at once, the most a step can
// cost; "event loop" lets the window paint what the step left to paint
// the way it does for the user (a scroll moves the pixels on screen and
// paints only the strip that came into view).

#include "BenchStats.h"
#include "TempHome.h"
#include "app/ProgramObjects.h"
#include "core/Globals.h"
#include "core/Project.h"
#include "core/ScriptedServices.h"
#include "core/SettingsFileStore.h"
#include "core/VbHelpers.h"
#include "scanview/frmScanView.h"

#include "GeneratedScanPages.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QEvent>
#include <QFile>
#include <QImageReader>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>
#include <memory>

namespace {

using GeneratedScanPages::files;

// The viewer's window as it might sit beside the grid on a 1920 x 1080 screen.
constexpr int kWindowWidth = 1280;
constexpr int kWindowHeight = 1000;

// Counts the paints of the image area, so a figure is known to include one.
class PaintCounter : public QObject
{
public:
    long paints = 0;
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

// The viewer window shown, with the settings and services it reads, in a
// temporary home so nothing of the user's is touched.
class Fixture
{
public:
    Fixture()
    {
        if (!mHome.isValid())
            std::abort();
        UseTemporaryHome(QDir(mHome.path()), {"data"});

        mScript = installScriptedServices();
        // The viewer says nothing while a good page opens and moves.
        mScript->onUnexpected = [](const MessageRecord &r) {
            std::fprintf(stderr, "Unexpected message: %s\n", qPrintable(r.prompt));
            std::abort();
        };
        ProgramObjects::createEvents();
        ProgramObjects::createProject();
        gProject->setDataPath(QDir(mHome.path()).filePath(QStringLiteral("data")));
        gProject->setScanleft(0);
        gProject->setScanTop(0);
        gProject->setScanWidth(PixelsToTwipsX(kWindowWidth));
        gProject->setScanHeight(PixelsToTwipsY(kWindowHeight));
        gProject->setZoom(1.0);

        view = std::make_unique<frmScanView>();
        view->imageArea()->installEventFilter(&counter);
        view->show();
        QCoreApplication::processEvents();
        if (!view->isVisible())
            std::abort();
    }

    ~Fixture()
    {
        view.reset();
        ProgramObjects::releaseAll();
        ClearIniStore();
        mScript.reset();
        Services::clear();
    }

    void open(const QString &path, double zoom)
    {
        gProject->setZoom(zoom);
        if (!view->OpenNewPic(path))
            std::abort();
        repaint();
    }

    // Paints the whole image area before returning.
    void repaint() { view->imageArea()->repaint(); }

    std::unique_ptr<frmScanView> view;
    PaintCounter counter;

private:
    QTemporaryDir mHome{QDir(QDir::currentPath()).filePath(QStringLiteral("scanview-XXXXXX"))};
    std::shared_ptr<Script> mScript;
};

// Made on first use and released before the application.
std::unique_ptr<Fixture> gFixture;

Fixture &fixture()
{
    if (!gFixture)
        gFixture = std::make_unique<Fixture>();
    return *gFixture;
}

const QString &pagePath(bool mono)
{
    return mono ? files().mono : files().grey;
}

enum class Paint { Repaint, EventLoop };

void paintAfterStep(Fixture &f, Paint how)
{
    if (how == Paint::Repaint)
        f.repaint();
    else
        QCoreApplication::processEvents();
}

void setCounters(benchmark::State &state, Fixture &f, long paintsBefore)
{
    state.counters["paints/step"] = benchmark::Counter(double(f.counter.paints - paintsBefore),
                                                       benchmark::Counter::kAvgIterations);
    state.counters["area w"] = f.view->imageArea()->width();
    state.counters["area h"] = f.view->imageArea()->height();
}

// ---- Opening -----------------------------------------------------------------------

// What the viewer needs from the file: the page decoded into an image in
// memory. The viewer keeps the page as the reader gives it (checked once
// in main), so both sides do the same decoding.
void BM_ReaderAlone(benchmark::State &state, bool mono)
{
    const QString &path = pagePath(mono);
    for (auto _ : state) {
        QImageReader reader(path);
        QImage image = reader.read();
        if (image.isNull())
            state.SkipWithError(("the page did not decode: " + reader.errorString()).toStdString().c_str());
        benchmark::DoNotOptimize(image.constBits());
    }
}

// The page opened in the viewer and the window left to paint it as it
// does for the user, through the event loop; every opening must end in a
// paint of the image area, or the figure is refused. "after reading" opens
// it over a page read to its foot, as the transcriber leaves one: the
// scroll bars then move back to the top and are painted again too.
void BM_OpenAndShow(benchmark::State &state, const QString &path, double zoom, bool afterReading)
{
    Fixture &f = fixture();
    gProject->setZoom(zoom);
    if (afterReading)
        f.open(path, zoom);
    long paints = 0;
    for (auto _ : state) {
        if (afterReading) {
            state.PauseTiming();
            ImagingControl &image = f.view->ImageX1();
            image.setScrollY(image.maxScrollY());
            QCoreApplication::processEvents();
            state.ResumeTiming();
        }
        const long painted = f.counter.paints;
        if (!f.view->OpenNewPic(path))
            state.SkipWithError("the page did not open");
        QCoreApplication::processEvents();
        if (f.counter.paints == painted) {
            state.SkipWithError("the page was not painted");
            break;
        }
        paints += f.counter.paints - painted;
    }
    setCounters(state, f, f.counter.paints - paints);
}

// The whole image area of the open page painted again: the painting part
// of an opening.
void BM_Repaint(benchmark::State &state, const QString &path, double zoom)
{
    Fixture &f = fixture();
    f.open(path, zoom);
    const long before = f.counter.paints;
    for (auto _ : state)
        f.repaint();
    setCounters(state, f, before);
}

// ---- Zoom and scroll steps ---------------------------------------------------------

// The page centred in the window at the zoom, painted and idle.
void placeAt(Fixture &f, double zoom)
{
    ImagingControl &image = f.view->ImageX1();
    image.setZoomFactor(float(zoom));
    image.setScrollX(image.maxScrollX() / 2);
    image.setScrollY(image.maxScrollY() / 2);
    f.view->GetScrollLimits();
    QCoreApplication::processEvents();
    f.repaint();
}

void BM_ZoomStep(benchmark::State &state, bool mono, bool in, double zoom, Paint how)
{
    Fixture &f = fixture();
    f.open(pagePath(mono), zoom);
    long paints = 0;
    for (auto _ : state) {
        state.PauseTiming();
        placeAt(f, zoom);
        const long before = f.counter.paints;
        state.ResumeTiming();
        in ? f.view->Zoomin() : f.view->ZoomOut();
        paintAfterStep(f, how);
        state.PauseTiming();
        paints += f.counter.paints - before;
        state.ResumeTiming();
    }
    setCounters(state, f, f.counter.paints - paints);
}

enum class Step { Down, Right, PageDown };

void BM_ScrollStep(benchmark::State &state, bool mono, Step step, double zoom, Paint how)
{
    Fixture &f = fixture();
    f.open(pagePath(mono), zoom);
    ImagingControl &image = f.view->ImageX1();
    const auto atEnd = [&] {
        switch (step) {
        case Step::Down: return image.ScrollY() >= image.maxScrollY();
        case Step::Right: return image.ScrollX() >= image.maxScrollX();
        case Step::PageDown:
            return image.ScrollY() + image.PageHeight() >= image.maxScrollY();
        }
        return true;
    };
    // A page that fits the window that way has no step to measure; it would
    // only be set back and repainted, untimed, without end.
    if (atEnd()) {
        state.SkipWithError("the page does not scroll this way at this zoom");
        return;
    }
    long paints = 0;
    for (auto _ : state) {
        if (atEnd()) {
            state.PauseTiming();
            image.setScrollX(0);
            image.setScrollY(0);
            QCoreApplication::processEvents();
            f.repaint();
            state.ResumeTiming();
        }
        const long before = f.counter.paints;
        switch (step) {
        case Step::Down: f.view->ScrollDown(); break;
        case Step::Right: f.view->ScrollRight(); break;
        case Step::PageDown: f.view->ScrollPage(true); break;
        }
        paintAfterStep(f, how);
        paints += f.counter.paints - before;
    }
    setCounters(state, f, f.counter.paints - paints);
}

std::string zoomName(double zoom)
{
    char text[16];
    std::snprintf(text, sizeof text, "%g", zoom);
    return text;
}

void registerAll()
{
    const auto timed = [](benchmark::internal::Benchmark *b, benchmark::TimeUnit unit) {
        MinMedianMax(b->Unit(unit)->UseRealTime());
    };
    const double zooms[] = {0.25, 0.5, 1.0, 2.0, 4.0};
    // In turn, page by page: the reader alone, then the viewer's opening.
    for (const bool mono : {false, true}) {
        const std::string page = mono ? "black-and-white" : "grey-lzw";
        const QString &path = pagePath(mono);
        timed(benchmark::RegisterBenchmark(("BM_ReaderAlone/" + page).c_str(), BM_ReaderAlone, mono),
              benchmark::kMillisecond);
        for (const bool afterReading : {false, true})
            for (const double zoom : {0.25, 1.0})
                timed(benchmark::RegisterBenchmark(("BM_OpenAndShow/" + page + "/zoom:" + zoomName(zoom)
                                                    + (afterReading ? "/after-reading" : ""))
                                                           .c_str(),
                                                   BM_OpenAndShow, path, zoom, afterReading),
                      benchmark::kMillisecond);
        for (const double zoom : {0.25, 1.0})
            timed(benchmark::RegisterBenchmark(("BM_Repaint/" + page + "/zoom:" + zoomName(zoom)).c_str(),
                                               BM_Repaint, path, zoom),
                  benchmark::kMillisecond);
    }
    timed(benchmark::RegisterBenchmark("BM_OpenAndShow/blank/zoom:1", BM_OpenAndShow, files().blank, 1.0, false),
          benchmark::kMillisecond);
    for (const bool mono : {false, true}) {
        const std::string page = mono ? "black-and-white" : "grey-lzw";
        for (const Paint how : {Paint::Repaint, Paint::EventLoop}) {
            const std::string paint = how == Paint::Repaint ? "repaint" : "event-loop";
            for (const double zoom : zooms) {
                const std::string tail = "/" + page + "/zoom:" + zoomName(zoom) + "/" + paint;
                for (const bool in : {true, false})
                    timed(benchmark::RegisterBenchmark(
                            ((in ? "BM_ZoomIn" : "BM_ZoomOut") + tail).c_str(), BM_ZoomStep, mono,
                            in, zoom, how),
                        benchmark::kMicrosecond);
                for (const auto &[name, step] : {std::pair{"BM_ScrollDown", Step::Down},
                                                 std::pair{"BM_ScrollRight", Step::Right},
                                                 std::pair{"BM_ScrollPage", Step::PageDown}})
                    timed(benchmark::RegisterBenchmark((name + tail).c_str(), BM_ScrollStep, mono,
                                                       step, zoom, how),
                          benchmark::kMicrosecond);
            }
        }
    }
}

// The viewer keeps the page as Qt's reader decodes it, so the reader alone
// does all the decoding the viewer does and no more.
void checkSameDecoding()
{
    for (const bool mono : {false, true}) {
        const QImage alone = QImageReader(pagePath(mono)).read();
        fixture().open(pagePath(mono), 1.0);
        const QImage &kept = fixture().view->ImageX1().image();
        if (alone.isNull() || kept.format() != alone.format() || kept != alone) {
            std::fprintf(stderr, "The viewer keeps the %s page otherwise than the reader reads it\n",
                         mono ? "black-and-white" : "grey");
            std::abort();
        }
    }
}

} // namespace

int main(int argc, char **argv)
{
    // No display is needed: the window paints into memory.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    QApplication app(argc, argv);
    // Qt's reader alone refuses a page this size under its default limit;
    // the limit is process-wide, so both sides read under the one the
    // imaging layer sets.
    QImageReader::setAllocationLimit(2048);
    files();
    checkSameDecoding();
    registerAll();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    gFixture.reset();
    return 0;
}
