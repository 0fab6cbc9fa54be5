// The commands whose work could grow with the batch, in the real main
// window (offscreen platform) over generated batches of 1,000, 10,000 and
// 50,000 entries, the work file on the disk of the data folder. Each is
// measured in turn with what it is compared to, at the same size:
// - Insert Blank and Replace Blank at the top of the batch, Fill Down of 50
//   new rows, and a forename renamed throughout the grid, against a plain
//   Insert New Row there (one whole work-file rewrite and one flush);
// - File > Open of the batch to painted, against reading the same file and
//   splitting its lines.
// Each is repeated, and reported as its minimum, median and maximum; the
// sizes run one after the other, not interleaved, since loading another
// batch between two runs would leave its writes to the disk in the next
// figure. The
// district and forename files are of their full size. Leaving a row is
// measured by bench_leavecell.

#include "BatchWindowBench.h"

#include "core/LineReader.h"
#include "lists/GridReplace.h"

#include <benchmark/benchmark.h>


namespace {

using namespace BatchWindowBench;

constexpr int kPageCol = 4;
constexpr int kFillCopies = 50;

// ---- Whole-column and whole-row commands ---------------------------------------------

void BM_InsertNewRow(benchmark::State &state)
{
    if (!useBatchOrSkip(state))
        return;
    const int top = firstEntryRow();
    for (auto _ : state) {
        state.PauseTiming();
        goTo(top, kPageCol);
        state.ResumeTiming();
        trigger("mnuInsertRow");
        state.PauseTiming();
        // The blank row goes again without a question.
        goTo(top, kPageCol);
        trigger("mnuDelRow");
        state.ResumeTiming();
    }
    state.counters["rows"] = grid().Rows();
}

void BM_InsertBlank(benchmark::State &state)
{
    if (!useBatchOrSkip(state))
        return;
    const int top = firstEntryRow();
    for (auto _ : state) {
        state.PauseTiming();
        goTo(top, kPageCol);
        state.ResumeTiming();
        trigger("mnuInsertDown");
        state.PauseTiming();
        // Pulled up again; the blank last row goes.
        trigger("mnuInsertUp");
        state.ResumeTiming();
    }
    state.counters["rows"] = grid().Rows();
}

void BM_ReplaceBlank(benchmark::State &state)
{
    if (!useBatchOrSkip(state))
        return;
    const int top = firstEntryRow();
    for (auto _ : state) {
        state.PauseTiming();
        goTo(top, kPageCol);
        trigger("mnuInsertDown");
        goTo(top, kPageCol);
        state.ResumeTiming();
        trigger("mnuInsertUp");
    }
    state.counters["rows"] = grid().Rows();
}

// 50 copies of the page number into new rows below the first entry; the
// batch keeps them (a few hundred rows more do not change its size much).
void BM_FillDownNewRows(benchmark::State &state)
{
    if (!useBatchOrSkip(state))
        return;
    const int top = firstEntryRow();
    for (auto _ : state) {
        state.PauseTiming();
        goTo(top, kPageCol);
        bench().script().answer({QString::number(kFillCopies), QStringLiteral("Insert New Rows")});
        const int before = grid().Rows();
        state.ResumeTiming();
        trigger("mnuFillDown");
        state.PauseTiming();
        if (grid().Rows() != before + kFillCopies) {
            state.SkipWithError("the rows were not filled");
            break;
        }
        state.ResumeTiming();
    }
    // Back to the generated batch for the next size or benchmark.
    gLoadedEntries = 0;
}

// As the forename editor's rename does it: "John" to "Jon" throughout, then
// back (untimed).
void BM_RenameForename(benchmark::State &state)
{
    if (!useBatchOrSkip(state))
        return;
    int renamed = 0;
    for (auto _ : state) {
        renamed = ReplaceForenameInGrid(QStringLiteral("John"), QStringLiteral("Jon"));
        state.PauseTiming();
        ReplaceForenameInGrid(QStringLiteral("Jon"), QStringLiteral("John"));
        state.ResumeTiming();
    }
    state.counters["renamed"] = renamed;
}

// ---- Opening the batch -------------------------------------------------------------

// The floor of a load: the file read, cut into lines and the lines into
// fields.
void BM_ReadAndSplit(benchmark::State &state)
{
    if (!useBatchOrSkip(state))
        return;
    for (auto _ : state) {
        QFile file(batchPath());
        if (!file.open(QIODevice::ReadOnly)) {
            state.SkipWithError("cannot read the batch");
            break;
        }
        LineReader reader(file);
        qsizetype fields = 0;
        while (!reader.atEnd())
            fields += reader.readLine().split(u',').size();
        benchmark::DoNotOptimize(fields);
    }
}

// File > Open of the batch to the window painted (the file named, as the
// recent-files list names it), the open batch unchanged.
void BM_FileOpen(benchmark::State &state)
{
    if (!useBatchOrSkip(state))
        return;
    for (auto _ : state) {
        if (!form().LoadFile(batchPath())) {
            state.SkipWithError("the batch did not load");
            break;
        }
        QCoreApplication::processEvents();
    }
    state.counters["rows"] = grid().Rows();
}

void registerAll()
{
    // In turn, size by size: each command with what it is compared to.
    for (const int entries : {1000, 10000, 50000}) {
        const auto timed = [entries](benchmark::internal::Benchmark *b, int iterations) {
            MinMedianMax(b->Arg(entries)->Unit(benchmark::kMillisecond)->UseRealTime()
                                 ->Iterations(iterations),
                         BenchRepetitions());
        };
        const int few = entries >= 50000 ? 1 : entries >= 10000 ? 2 : 5;
        timed(benchmark::RegisterBenchmark("BM_InsertNewRow", BM_InsertNewRow), few);
        timed(benchmark::RegisterBenchmark("BM_InsertBlank", BM_InsertBlank), few);
        timed(benchmark::RegisterBenchmark("BM_ReplaceBlank", BM_ReplaceBlank), few);
        timed(benchmark::RegisterBenchmark("BM_FillDownNewRows", BM_FillDownNewRows), few);
        timed(benchmark::RegisterBenchmark("BM_RenameForename", BM_RenameForename), few);
        timed(benchmark::RegisterBenchmark("BM_ReadAndSplit", BM_ReadAndSplit), few);
        timed(benchmark::RegisterBenchmark("BM_FileOpen", BM_FileOpen), few);
    }
}

} // namespace

int main(int argc, char **argv)
{
    return RunBenchmarks(argc, argv, registerAll);
}
