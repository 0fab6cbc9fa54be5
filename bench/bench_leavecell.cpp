// Leaving a row in the real main window (offscreen platform) as a
// transcriber does it: from the last cell of a row at the bottom of the
// view, its page number typed again, by Tab or by Enter to the next row's
// first cell, so that the grid scrolls by one row. The key's handlers, the
// cell checked, the row written into the work file and flushed to disk
// (fdatasync), the status bar and the entry box laid over the new cell;
// with and without the repaint that follows, and without the companion
// hand-off's values. Batches of 100, 1,000, 10,000 and 50,000 entries,
// the work file on the disk of the data folder, the district and forename
// files of their full size.
//
// Compared in turn, at each size, with a bare 250-byte write and fdatasync
// of a file beside the work file:
// - "bare_in_step": in the very same loop as a leave, the same typing and
//   event handling between two timed steps, only the timed step being the
//   bare write instead of the key. A disk flush costs more after the
//   milliseconds of other work that come between two rows than in a tight
//   loop, and a leave is always such a flush: this is its fair floor.
// - "bare_tight": the bare write and flush back to back, the least a flush
//   can cost on this disk.
// Each is repeated, and reported as its minimum, median and maximum. The
// sizes run one after the other, not interleaved: loading another batch
// between two runs would leave its writes to the disk in the next figure.

#include "BatchWindowBench.h"

#include "entry/RichTextBox.h"
#include "entry/VbKeyCodes.h"
#include "mainwindow/clsTressel.h"
#include "transcription/Change_Monitor.h"
#include "transcription/clsWorkFile.h"

#include <benchmark/benchmark.h>

#include <QFileInfo>

#include <array>

#include <fcntl.h>
#include <unistd.h>

namespace {

using namespace BatchWindowBench;

constexpr int kRecord = 250;
constexpr int kPageCol = 4;

int bareFd = -1;

// A file beside the work file, of its size at least; a record written and
// flushed at the n-th place, as a row moved down the batch is.
bool openBare()
{
    if (bareFd >= 0)
        return true;
    const QString folder = QFileInfo(clsWorkFile::WorkFilePath()).absolutePath();
    const QByteArray path = QDir(folder).filePath(QStringLiteral("bare")).toLocal8Bit();
    bareFd = ::open(path.constData(), O_RDWR | O_CREAT | O_TRUNC, 0600);
    if (bareFd < 0)
        return false;
    constexpr qint64 kSize = qint64(60000) * kRecord;
    const QByteArray record(kRecord, 'x');
    for (qint64 at = 0; at + kRecord <= kSize; at += kRecord)
        (void)::pwrite(bareFd, record.constData(), kRecord, off_t(at));
    ::fdatasync(bareFd);
    return true;
}

void closeBare()
{
    if (bareFd < 0)
        return;
    ::close(bareFd);
    ::unlink(QDir(QFileInfo(clsWorkFile::WorkFilePath()).absolutePath())
                     .filePath(QStringLiteral("bare"))
                     .toLocal8Bit()
                     .constData());
    bareFd = -1;
}

void bareWrite(int n)
{
    static const std::array<char, kRecord> record = [] {
        std::array<char, kRecord> bytes;
        bytes.fill('x');
        return bytes;
    }();
    benchmark::DoNotOptimize(::pwrite(bareFd, record.data(), kRecord, off_t(7 + n % 50000) * kRecord));
    benchmark::DoNotOptimize(::fdatasync(bareFd));
}

void BM_BareTight(benchmark::State &state)
{
    if (!useBatchOrSkip(state))
        return;
    if (!openBare()) {
        state.SkipWithError("no file for the bare write");
        return;
    }
    int n = 0;
    for (auto _ : state)
        bareWrite(n++);
}

enum class Step { Tab, Enter, Bare };

// From the last cell of a row at the bottom of the view, its page number
// typed again, to the next row: timed is the key (Tab or Enter), or for
// Step::Bare a bare write in its place (the key then pressed untimed, so
// that the loop goes on exactly as for a leave).
// painted: the repaint that follows is timed too; companion: with the
// companion hand-off's values.
void BM_LeaveRow(benchmark::State &state, Step step, bool painted, bool companion)
{
    if (!useBatchOrSkip(state))
        return;
    if (step == Step::Bare && !openBare()) {
        state.SkipWithError("no file for the bare write");
        return;
    }
    clsTressel *const tressel = gTressel;
    if (!companion)
        gTressel = nullptr;
    const int key = step == Step::Enter ? VbKeys::vbKeyReturn : VbKeys::vbKeyTab;
    const int first = firstEntryRow();
    int row = first;
    int n = 0;
    for (auto _ : state) {
        state.PauseTiming();
        // A data row with room below it for the view's rows.
        while (isLine(row) || row + 40 >= grid().Rows())
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
        if (step == Step::Bare)
            bareWrite(n++);
        else
            box.pressKey(key, 0);
        if (painted)
            QCoreApplication::processEvents();
        state.PauseTiming();
        if (step == Step::Bare)
            box.pressKey(key, 0);
        QCoreApplication::processEvents();
        if (grid().Row() != row + 1 && !isLine(row + 1)) {
            state.SkipWithError("the row was not left for the next");
            break;
        }
        state.counters["scrolled"] = grid().TopRow() - topBefore;
        ++row;
        state.ResumeTiming();
    }
    gTressel = tressel;
}

void registerAll()
{
    // In turn, size by size: each leave with what it is compared to.
    for (const int entries : {100, 1000, 10000, 50000}) {
        const auto timed = [entries](benchmark::internal::Benchmark *b) {
            MinMedianMax(b->Arg(entries)->Unit(benchmark::kMicrosecond)->UseRealTime()
                                 ->Iterations(200),
                         BenchRepetitions());
        };
        timed(benchmark::RegisterBenchmark("BM_Bare/tight", BM_BareTight));
        timed(benchmark::RegisterBenchmark("BM_LeaveRow/bare_in_step", BM_LeaveRow, Step::Bare,
                                           false, true));
        timed(benchmark::RegisterBenchmark("BM_LeaveRow/tab", BM_LeaveRow, Step::Tab, false, true));
        timed(benchmark::RegisterBenchmark("BM_LeaveRow/enter", BM_LeaveRow, Step::Enter, false,
                                           true));
        timed(benchmark::RegisterBenchmark("BM_LeaveRow/tab_without_companion", BM_LeaveRow,
                                           Step::Tab, false, false));
        timed(benchmark::RegisterBenchmark("BM_LeaveRow/bare_in_step_painted", BM_LeaveRow,
                                           Step::Bare, true, true));
        timed(benchmark::RegisterBenchmark("BM_LeaveRow/tab_painted", BM_LeaveRow, Step::Tab,
                                           true, true));
        timed(benchmark::RegisterBenchmark("BM_LeaveRow/enter_painted", BM_LeaveRow, Step::Enter,
                                           true, true));
    }
}

} // namespace

int main(int argc, char **argv)
{
    return RunBenchmarks(argc, argv, registerAll, closeBare);
}
