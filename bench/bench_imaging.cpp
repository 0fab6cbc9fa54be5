// The scan viewer's imaging layer on a 600 dpi A4 page (4960 x 7016): the
// brightness, contrast and gamma sliders, despeckle, and opening the page
// against Qt's image reader decoding the same file alone.

#include "BenchStats.h"
#include "scanview/ImageFilters.h"
#include "scanview/ImagingControl.h"

#include "GeneratedScanPages.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QImageReader>

#include <memory>

namespace {

using GeneratedScanPages::files;
using GeneratedScanPages::greyPage;
using GeneratedScanPages::monoPage;

ImagingControl &loadedControl()
{
    static ImagingControl control;
    if (!control.hasImage())
        control.setFileName(files().grey);
    return control;
}

// Each slider change builds the page as shown once.
template<typename Set>
void slider(benchmark::State &state, Set set)
{
    ImagingControl &control = loadedControl();
    int value = 10;
    for (auto _ : state) {
        set(control, value);
        benchmark::DoNotOptimize(control.displayImage().constBits());
        value = value == 10 ? 20 : 10;
    }
    set(control, 0);
}

void BM_Brightness(benchmark::State &state)
{
    slider(state, [](ImagingControl &c, int v) { c.setBrightness(v); });
}

// The first change after opening the page, when the page as shown is
// made for the first time.
void BM_BrightnessFirstChange(benchmark::State &state)
{
    for (auto _ : state) {
        state.PauseTiming();
        auto control = std::make_unique<ImagingControl>();
        control->setFileName(files().grey);
        state.ResumeTiming();
        control->setBrightness(10);
        benchmark::DoNotOptimize(control->displayImage().constBits());
    }
}

void BM_Contrast(benchmark::State &state)
{
    slider(state, [](ImagingControl &c, int v) { c.setContrast(v); });
}

void BM_Gamma(benchmark::State &state)
{
    slider(state, [](ImagingControl &c, int v) { c.setGamma(v == 0 ? 1.0f : v / 100.0f + 0.3f); });
}

void despeckle(benchmark::State &state, const QImage &page)
{
    for (auto _ : state) {
        state.PauseTiming();
        QImage image = page.copy();
        state.ResumeTiming();
        ImageFilters::despeckle(image);
        benchmark::DoNotOptimize(image.constBits());
    }
}

void BM_DespeckleGrey(benchmark::State &state)
{
    despeckle(state, greyPage());
}

void BM_DespeckleBlackAndWhite(benchmark::State &state)
{
    despeckle(state, monoPage());
}

void BM_ReaderAlone(benchmark::State &state, const QString *path)
{
    for (auto _ : state) {
        QImageReader reader(*path);
        QImage image = reader.read();
        if (image.isNull())
            state.SkipWithError(("the page did not decode: " + reader.errorString()).toStdString().c_str());
        benchmark::DoNotOptimize(image.constBits());
    }
}

void BM_OpenPage(benchmark::State &state, const QString *path)
{
    for (auto _ : state) {
        ImagingControl control;
        control.setFileName(*path);
        if (control.LoadError() != 0)
            state.SkipWithError("the page did not load");
        benchmark::DoNotOptimize(control.image().constBits());
    }
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    // Qt's reader alone refuses a page this size under its default limit;
    // the limit is process-wide, so both sides read under the one the
    // imaging layer sets.
    QImageReader::setAllocationLimit(2048);
    BENCHMARK(BM_Brightness)->Unit(benchmark::kMillisecond)->Apply(RepeatedMinMedianMax);
    BENCHMARK(BM_BrightnessFirstChange)->Unit(benchmark::kMillisecond)->Apply(RepeatedMinMedianMax);
    BENCHMARK(BM_Contrast)->Unit(benchmark::kMillisecond)->Apply(RepeatedMinMedianMax);
    BENCHMARK(BM_Gamma)->Unit(benchmark::kMillisecond)->Apply(RepeatedMinMedianMax);
    BENCHMARK(BM_DespeckleGrey)->Unit(benchmark::kMillisecond)->Apply(RepeatedMinMedianMax);
    BENCHMARK(BM_DespeckleBlackAndWhite)->Unit(benchmark::kMillisecond)->Apply(RepeatedMinMedianMax);
    benchmark::RegisterBenchmark("BM_ReaderAlone/grey-lzw", BM_ReaderAlone, &files().grey)
        ->Unit(benchmark::kMillisecond)->Apply(RepeatedMinMedianMax);
    benchmark::RegisterBenchmark("BM_OpenPage/grey-lzw", BM_OpenPage, &files().grey)
        ->Unit(benchmark::kMillisecond)->Apply(RepeatedMinMedianMax);
    benchmark::RegisterBenchmark("BM_ReaderAlone/black-and-white", BM_ReaderAlone, &files().mono)
        ->Unit(benchmark::kMillisecond)->Apply(RepeatedMinMedianMax);
    benchmark::RegisterBenchmark("BM_OpenPage/black-and-white", BM_OpenPage, &files().mono)
        ->Unit(benchmark::kMillisecond)->Apply(RepeatedMinMedianMax);
    return RunInTurn(argc, argv);
}
