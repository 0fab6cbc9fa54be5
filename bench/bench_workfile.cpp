// Leaving a grid row writes that row into the crash-recovery work file and
// flushes it to disk. The target: one row's write with its fdatasync within
// 1.5 times a bare 250-byte write and fdatasync of the same record in a file
// on the same disk. Both write into a folder under the build folder (set
// PELKAR_BENCH_DIR to measure another disk); a 10,000-row batch's records
// are laid down first, so that the file has its working size.

#include "core/Globals.h"
#include "core/Project.h"
#include "entry/FlexGrid.h"
#include "transcription/Transcription.h"
#include "transcription/clsWorkFile.h"

#include <benchmark/benchmark.h>

#include <QDir>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <fcntl.h>
#include <memory>
#include <unistd.h>

namespace {

constexpr int kRows = 10000;
constexpr int kRecord = 250;

QString benchFolder()
{
    const QByteArray chosen = qgetenv("PELKAR_BENCH_DIR");
    return chosen.isEmpty() ? QDir::currentPath() : QString::fromLocal8Bit(chosen);
}

// The program's objects over a temporary data folder; the per-user values
// go there too, never into the real user's.
struct WorkFileFixture
{
    WorkFileFixture() : folder(QDir(benchFolder()).filePath(QStringLiteral("workfile-XXXXXX")))
    {
        QStandardPaths::setTestModeEnabled(true);
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, folder.path());
        ProgramObjects::createEvents();
        ProgramObjects::createProject();
        ProgramObjects::createChangeMonitor();
        ProgramObjects::createTranscription();
        gProject->setDataPath(folder.path());

        grid.setCols(5); // births before 1911: surname, forenames, district, page
        grid.setRows(kRows + 2);
        gTranscription->setGrid(&grid);
        for (int row = 2; row < grid.Rows(); ++row) {
            grid.setTextMatrix(row, 1, QStringLiteral("WILLIAMS"));
            grid.setTextMatrix(row, 2, QStringLiteral("Thomas Henry"));
            grid.setTextMatrix(row, 3, QStringLiteral("Haverfordwest,11a"));
            grid.setTextMatrix(row, 4, QString::number(100 + row / 40));
        }
        workFile = std::make_unique<clsWorkFile>();
        workFile->setGrid(&grid);
        workFile->StartNewWorkfile();
        workFile->SaveGridToWork();
    }
    ~WorkFileFixture()
    {
        workFile.reset();
        gTranscription->setGrid(nullptr);
        ProgramObjects::releaseAll();
    }

    QTemporaryDir folder;
    FlexGrid grid;
    std::unique_ptr<clsWorkFile> workFile;
};

void BM_BareRecordWriteAndFdatasync(benchmark::State &state)
{
    QTemporaryDir folder(QDir(benchFolder()).filePath(QStringLiteral("bare-XXXXXX")));
    const QByteArray path = QDir(folder.path()).filePath(QStringLiteral("bare")).toLocal8Bit();
    const int fd = ::open(path.constData(), O_RDWR | O_CREAT | O_TRUNC, 0600);
    if (fd < 0) {
        state.SkipWithError("cannot create the file");
        return;
    }
    const QByteArray record(kRecord, 'x');
    for (int row = 2; row < kRows + 2; ++row)
        (void)::pwrite(fd, record.constData(), kRecord, off_t(row + 9) * kRecord);
    ::fdatasync(fd);

    int row = 2;
    for (auto _ : state) {
        benchmark::DoNotOptimize(::pwrite(fd, record.constData(), kRecord, off_t(row + 9) * kRecord));
        benchmark::DoNotOptimize(::fdatasync(fd));
        row = row < kRows + 1 ? row + 1 : 2;
    }
    ::close(fd);
}
BENCHMARK(BM_BareRecordWriteAndFdatasync)->Unit(benchmark::kMicrosecond);

void BM_SaveRowToWork(benchmark::State &state)
{
    WorkFileFixture fixture;
    int row = 2;
    for (auto _ : state) {
        benchmark::DoNotOptimize(fixture.workFile->SaveRowToWork(row));
        row = row < kRows + 1 ? row + 1 : 2;
    }
}
BENCHMARK(BM_SaveRowToWork)->Unit(benchmark::kMicrosecond);

// The whole grid, flushed once: what a delete, an insert or a load costs.
void BM_SaveGridToWork10000Rows(benchmark::State &state)
{
    WorkFileFixture fixture;
    for (auto _ : state)
        benchmark::DoNotOptimize(fixture.workFile->SaveGridToWork());
}
BENCHMARK(BM_SaveGridToWork10000Rows)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
