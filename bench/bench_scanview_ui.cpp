// The scan viewer window on the offscreen platform with a 600 dpi A4 page
// scan: opening the page and its first paint against Qt's reader decoding
// the same file alone, and one zoom or scroll step with its repaint at
// zooms from a quarter to four times actual size.
//
// "repaint" paints the whole image area at once, the most a step can
// cost; "event loop" lets the window paint what the step left to paint
// the way it does for the user (a scroll moves the pixels on screen and
// paints only the strip that came into view).

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

// The page opened in the viewer and the image area painted for the first time.
void BM_OpenAndShow(benchmark::State &state, bool mono, double zoom)
{
    Fixture &f = fixture();
    const QString &path = pagePath(mono);
    gProject->setZoom(zoom);
    const long before = f.counter.paints;
    for (auto _ : state) {
        if (!f.view->OpenNewPic(path))
            state.SkipWithError("the page did not open");
        f.repaint();
    }
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
    const double zooms[] = {0.25, 0.5, 1.0, 2.0, 4.0};
    for (const bool mono : {false, true}) {
        const std::string page = mono ? "black-and-white" : "grey-lzw";
        benchmark::RegisterBenchmark(("BM_ReaderAlone/" + page).c_str(), BM_ReaderAlone, mono)
            ->Unit(benchmark::kMillisecond)->UseRealTime();
        for (const double zoom : {0.25, 1.0})
            benchmark::RegisterBenchmark(("BM_OpenAndShow/" + page + "/zoom:" + zoomName(zoom)).c_str(),
                                         BM_OpenAndShow, mono, zoom)
                ->Unit(benchmark::kMillisecond)->UseRealTime();
    }
    for (const bool mono : {false, true}) {
        const std::string page = mono ? "black-and-white" : "grey-lzw";
        for (const Paint how : {Paint::Repaint, Paint::EventLoop}) {
            const std::string paint = how == Paint::Repaint ? "repaint" : "event-loop";
            for (const double zoom : zooms) {
                const std::string tail = "/" + page + "/zoom:" + zoomName(zoom) + "/" + paint;
                for (const bool in : {true, false})
                    benchmark::RegisterBenchmark(
                            ((in ? "BM_ZoomIn" : "BM_ZoomOut") + tail).c_str(), BM_ZoomStep, mono,
                            in, zoom, how)
                        ->Unit(benchmark::kMicrosecond)->UseRealTime();
                for (const auto &[name, step] : {std::pair{"BM_ScrollDown", Step::Down},
                                                 std::pair{"BM_ScrollRight", Step::Right},
                                                 std::pair{"BM_ScrollPage", Step::PageDown}})
                    benchmark::RegisterBenchmark((name + tail).c_str(), BM_ScrollStep, mono, step,
                                                 zoom, how)
                        ->Unit(benchmark::kMicrosecond)->UseRealTime();
            }
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
    registerAll();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    gFixture.reset();
    return 0;
}
