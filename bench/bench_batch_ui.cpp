// The commands whose work could grow with the batch, in the real main
// window (offscreen platform) over generated batches of 1,000, 10,000 and
// 50,000 entries, the work file on the disk of the data folder. Each is
// measured in turn with what it is compared to, at the same size:
// - Insert Blank and Replace Blank at the top of the batch, Fill Down of 50
//   new rows, and a forename renamed throughout the grid, against a plain
//   Insert New Row there (one whole work-file rewrite and one flush);
// - leaving a row by Tab and by Enter from its last cell, where the grid
//   scrolls by one row, against a bare 250-byte write and fdatasync beside
//   the work file; with the repaint that follows, and without the
//   companion hand-off's values;
// - File > Open of the batch to painted, against reading the same file and
//   splitting its lines.
// Each is repeated, and reported as its minimum, median and maximum.

#include "BenchStats.h"
#include "GeneratedBatch.h"
#include "MainWindowBench.h"

#include "core/FileHelpers.h"
#include "core/LineReader.h"
#include "core/TextHelpers.h"
#include "entry/FlexGrid.h"
#include "entry/RichTextBox.h"
#include "entry/VbKeyCodes.h"
#include "lists/GridReplace.h"
#include "mainwindow/clsTressel.h"
#include "transcription/Change_Monitor.h"
#include "transcription/clsWorkFile.h"

#include <benchmark/benchmark.h>

#include <QAction>
#include <QApplication>
#include <QFileInfo>

#include <array>
#include <random>

#include <fcntl.h>
#include <unistd.h>

namespace {

constexpr int kRecord = 250;
constexpr int kPageCol = 4;
constexpr int kForenameCol = 2;
constexpr int kFillCopies = 50;

// Runs of each benchmark: PELKAR_BENCH_REPETITIONS, 5 unless given.
int repetitions()
{
    bool ok = false;
    const int n = qEnvironmentVariableIntValue("PELKAR_BENCH_REPETITIONS", &ok);
    return ok && n > 0 ? n : 5;
}

std::unique_ptr<MainWindowBench> gWindow;
int gLoadedEntries = 0;

MainWindowBench &bench()
{
    if (!gWindow)
        gWindow = std::make_unique<MainWindowBench>();
    return *gWindow;
}

Form1 &form()
{
    return *bench().window;
}

FlexGrid &grid()
{
    return form().fgInput();
}

QString batchPath()
{
    return QDir(gProject->SavePath()).filePath(QStringLiteral("1905B1A0012.ZEL"));
}

// The batch of that size open in the window, with the current cell on the
// first entry; loaded again only when the size changes.
bool useBatch(int entries)
{
    bench();
    if (gLoadedEntries == entries)
        return true;
    if (!WriteFileWhole(batchPath(), GeneratedBatch::birthsBatchBytes(entries)) || !form().LoadFile(batchPath()))
        return false;
    QCoreApplication::processEvents();
    gLoadedEntries = entries;
    return true;
}

int firstEntryRow()
{
    for (int row = 2; row < grid().Rows(); ++row) {
        const QString text = grid().TextMatrix(row, 1);
        if (!text.startsWith(u'+') && !text.startsWith(u'#'))
            return row;
    }
    return 2;
}

void goTo(int row, int col)
{
    grid().setRowCol(row, col);
    QCoreApplication::processEvents();
}

void trigger(const char *name)
{
    if (QAction *action = form().MenuItem(QString::fromLatin1(name)))
        action->trigger();
}

int bareFd = -1;

// A bare 250-byte record written and flushed beside the work file.
void bareWrite(int n)
{
    static const std::array<char, kRecord> record = [] {
        std::array<char, kRecord> bytes;
        bytes.fill('x');
        return bytes;
    }();
    benchmark::DoNotOptimize(::pwrite(bareFd, record.data(), kRecord, off_t(12 + n) * kRecord));
    benchmark::DoNotOptimize(::fdatasync(bareFd));
}

bool openBare()
{
    if (bareFd >= 0)
        return true;
    const QString folder = QFileInfo(clsWorkFile::WorkFilePath()).absolutePath();
    const QByteArray path = QDir(folder).filePath(QStringLiteral("bare")).toLocal8Bit();
    bareFd = ::open(path.constData(), O_RDWR | O_CREAT | O_TRUNC, 0600);
    if (bareFd < 0)
        return false;
    const qint64 size = std::max<qint64>(QFileInfo(clsWorkFile::WorkFilePath()).size(), 64 * kRecord);
    const QByteArray record(kRecord, 'x');
    for (qint64 at = 0; at + kRecord <= size; at += kRecord)
        (void)::pwrite(bareFd, record.constData(), kRecord, off_t(at));
    ::fdatasync(bareFd);
    ::unlink(path.constData());
    return true;
}

// ---- Whole-column and whole-row commands ---------------------------------------------

void BM_InsertNewRow(benchmark::State &state)
{
    if (!useBatch(int(state.range(0)))) {
        state.SkipWithError("the batch did not load");
        return;
    }
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
    if (!useBatch(int(state.range(0)))) {
        state.SkipWithError("the batch did not load");
        return;
    }
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
    if (!useBatch(int(state.range(0)))) {
        state.SkipWithError("the batch did not load");
        return;
    }
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
    if (!useBatch(int(state.range(0)))) {
        state.SkipWithError("the batch did not load");
        return;
    }
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
    if (!useBatch(int(state.range(0)))) {
        state.SkipWithError("the batch did not load");
        return;
    }
    int renamed = 0;
    for (auto _ : state) {
        renamed = ReplaceForenameInGrid(QStringLiteral("John"), QStringLiteral("Jon"));
        state.PauseTiming();
        ReplaceForenameInGrid(QStringLiteral("Jon"), QStringLiteral("John"));
        state.ResumeTiming();
    }
    state.counters["renamed"] = renamed;
}

// ---- Leaving a row ---------------------------------------------------------------

enum class Leave { Tab, Enter };

void BM_BareWriteAndFdatasync(benchmark::State &state)
{
    if (!useBatch(int(state.range(0))) || !openBare()) {
        state.SkipWithError("no file for the bare write");
        return;
    }
    int n = 0;
    for (auto _ : state) {
        bareWrite(n);
        n ^= 1;
    }
}

// From the last cell of a row at the bottom of the view, its page number
// typed again, to the next row's first cell: the grid scrolls by one row.
// painted: the repaint that follows is timed too; companion: with the
// companion hand-off's values.
void BM_LeaveRow(benchmark::State &state, Leave leave, bool painted, bool companion)
{
    if (!useBatch(int(state.range(0)))) {
        state.SkipWithError("the batch did not load");
        return;
    }
    clsTressel *const tressel = gTressel;
    if (!companion)
        gTressel = nullptr;
    const int key = leave == Leave::Tab ? VbKeys::vbKeyTab : VbKeys::vbKeyReturn;
    const int first = firstEntryRow();
    int row = first;
    for (auto _ : state) {
        state.PauseTiming();
        // A data row with room below it for the view's rows.
        while (grid().TextMatrix(row, 1).startsWith(u'+') || grid().TextMatrix(row, 1).startsWith(u'#')
               || row + 40 >= grid().Rows())
            row = row + 40 >= grid().Rows() ? first : row + 1;
        goTo(row, kPageCol);
        const int visible = std::max(1, gTranscription->RowsVisible());
        grid().setTopRow(std::max(1, row - visible + 1));
        QCoreApplication::processEvents();
        const int topBefore = grid().TopRow();
        RichTextBox &box = form().rtb1();
        const QString page = box.Text();
        box.placeCaret(int(page.size()), false);
        box.pressKey(VbKeys::vbKeyBack, 0, QStringLiteral("\b"));
        box.pressKey(int(page.back().unicode()), 0, QString(page.back()));
        if (!gChangeMonitor->RowChanged()) {
            state.SkipWithError("the typed change was not seen");
            break;
        }
        state.ResumeTiming();
        box.pressKey(key, 0);
        if (painted)
            QCoreApplication::processEvents();
        state.PauseTiming();
        QCoreApplication::processEvents();
        if (grid().Row() != row + 1 && !grid().TextMatrix(row + 1, 1).startsWith(u'+')) {
            state.SkipWithError("the row was not left for the next");
            break;
        }
        state.counters["scrolled"] = grid().TopRow() - topBefore;
        ++row;
        state.ResumeTiming();
    }
    gTressel = tressel;
}

// ---- Opening the batch -------------------------------------------------------------

// The floor of a load: the file read, cut into lines and the lines into
// fields.
void BM_ReadAndSplit(benchmark::State &state)
{
    if (!useBatch(int(state.range(0)))) {
        state.SkipWithError("the batch did not load");
        return;
    }
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
    if (!useBatch(int(state.range(0)))) {
        state.SkipWithError("the batch did not load");
        return;
    }
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
                         repetitions());
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
    for (const int entries : {100, 1000, 10000, 50000}) {
        const auto timed = [entries](benchmark::internal::Benchmark *b) {
            MinMedianMax(b->Arg(entries)->Unit(benchmark::kMicrosecond)->UseRealTime()
                                 ->Iterations(200),
                         repetitions());
        };
        timed(benchmark::RegisterBenchmark("BM_BareWriteAndFdatasync", BM_BareWriteAndFdatasync));
        timed(benchmark::RegisterBenchmark("BM_LeaveRow/tab", BM_LeaveRow, Leave::Tab, false, true));
        timed(benchmark::RegisterBenchmark("BM_LeaveRow/enter", BM_LeaveRow, Leave::Enter, false,
                                           true));
        timed(benchmark::RegisterBenchmark("BM_LeaveRow/tab_without_companion", BM_LeaveRow,
                                           Leave::Tab, false, false));
        timed(benchmark::RegisterBenchmark("BM_LeaveRow/tab_painted", BM_LeaveRow, Leave::Tab,
                                           true, true));
        timed(benchmark::RegisterBenchmark("BM_LeaveRow/enter_painted", BM_LeaveRow, Leave::Enter,
                                           true, true));
    }
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // The benchmark's own arguments first: the program takes what is left
    // on its command line for a batch file to open.
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    QApplication app(argc, argv);
    MainWindowBench::benchFolder();
    bench();
    registerAll();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    if (bareFd >= 0)
        ::close(bareFd);
    gWindow.reset();
    return 0;
}
