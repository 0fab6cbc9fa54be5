// Leaving a changed cell for the next row in the real main window: the
// key's handlers, the cell checked, its row written into the work file and
// flushed to disk (fdatasync), the status bar, and the entry box laid over
// the new cell, with the events that repaint it (offscreen platform).
// Measured in the same run against a bare 250-byte write and fdatasync of
// a file in the work file's own folder. Target: within 1.5 times the bare
// write.

#include "MainWindowBench.h"

#include "entry/FlexGrid.h"
#include "entry/RichTextBox.h"
#include "entry/VbKeyCodes.h"
#include "mainwindow/clsTressel.h"
#include "transcription/Change_Monitor.h"
#include "transcription/clsWorkFile.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QFileInfo>

#include <fcntl.h>
#include <unistd.h>

namespace {

constexpr int kRecord = 250;

std::unique_ptr<MainWindowBench> gWindow;

MainWindowBench &window()
{
    if (!gWindow)
        gWindow = std::make_unique<MainWindowBench>();
    return *gWindow;
}

void BM_BareRecordWriteAndFdatasync(benchmark::State &state)
{
    // Beside the work file, and of its size.
    const QString folder = QFileInfo(clsWorkFile::WorkFilePath()).absolutePath();
    const qint64 size = std::max<qint64>(QFileInfo(clsWorkFile::WorkFilePath()).size(), 64 * kRecord);
    const QByteArray path = QDir(folder).filePath(QStringLiteral("bare")).toLocal8Bit();
    const int fd = ::open(path.constData(), O_RDWR | O_CREAT | O_TRUNC, 0600);
    if (fd < 0) {
        state.SkipWithError("cannot create the file");
        return;
    }
    const QByteArray record(kRecord, 'x');
    for (qint64 at = 0; at + kRecord <= size; at += kRecord)
        (void)::pwrite(fd, record.constData(), kRecord, off_t(at));
    ::fdatasync(fd);
    int n = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(::pwrite(fd, record.constData(), kRecord, off_t(12 + n) * kRecord));
        benchmark::DoNotOptimize(::fdatasync(fd));
        n ^= 1;
    }
    ::close(fd);
    ::unlink(path.constData());
}

// Between the first two entries: a changed surname, then Down (or Up) to
// the other row.
// companion: with the companion's values; painted: the repaint that
// follows included (without it, the repaint is left out of the timing).
void BM_LeaveChangedCell(benchmark::State &state, bool companion, bool painted)
{
    // Without the companion's values: how much of a leave they cost.
    clsTressel *const tressel = gTressel;
    if (!companion)
        gTressel = nullptr;
    Form1 &form = *window().window;
    FlexGrid &grid = form.fgInput();
    form.fgInput().setRowCol(2, 1);
    QCoreApplication::processEvents();
    bool down = true;
    for (auto _ : state) {
        state.PauseTiming();
        // The surname's last letter typed again.
        RichTextBox &box = form.rtb1();
        box.placeCaret(int(box.Text().size()), false);
        box.pressKey(VbKeys::vbKeyBack, 0, QStringLiteral("\b"));
        box.pressKey(VbKeys::vbKeyA + ('T' - 'A'), 0, QStringLiteral("t"));
        if (!gChangeMonitor->RowChanged()) {
            state.SkipWithError("the typed change was not seen");
            break;
        }
        const int from = grid.Row();
        state.ResumeTiming();
        form.rtb1().pressKey(down ? VbKeys::vbKeyDown : VbKeys::vbKeyUp, 0);
        if (painted)
            QCoreApplication::processEvents();
        state.PauseTiming();
        QCoreApplication::processEvents();
        if (grid.Row() == from || !form.rtb1().Visible()) {
            state.SkipWithError("the row was not left");
            break;
        }
        down = !down;
        state.ResumeTiming();
    }
    QFile work(clsWorkFile::WorkFilePath());
    const bool written = work.open(QIODevice::ReadOnly) && work.readAll().contains("ABBOt");
    state.counters["row in work file"] = written ? 1 : 0;
    gTressel = tressel;
}

BENCHMARK(BM_BareRecordWriteAndFdatasync)->Unit(benchmark::kMicrosecond)->UseRealTime()->MinTime(1.0);
BENCHMARK_CAPTURE(BM_LeaveChangedCell, with_companion, true, true)
        ->Unit(benchmark::kMicrosecond)->UseRealTime()->MinTime(1.0);
BENCHMARK_CAPTURE(BM_LeaveChangedCell, without_companion, false, true)
        ->Unit(benchmark::kMicrosecond)->UseRealTime()->MinTime(1.0);
BENCHMARK_CAPTURE(BM_LeaveChangedCell, unpainted, true, false)
        ->Unit(benchmark::kMicrosecond)->UseRealTime()->MinTime(1.0);
BENCHMARK(BM_BareRecordWriteAndFdatasync)->Name("BM_BareRecordWriteAndFdatasync/again")
        ->Unit(benchmark::kMicrosecond)->UseRealTime()->MinTime(1.0);
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
    window();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    gWindow.reset();
    return 0;
}
