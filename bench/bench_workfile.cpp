// Leaving a grid row writes that row into the crash-recovery work file and
// flushes it to disk. The target: one row's write with its fdatasync within
// 1.5 times a bare 250-byte write and fdatasync of the same record in a file
// on the same disk. Both write into a folder under the build folder (set
// PELKAR_BENCH_DIR to measure another disk); a 10,000-row batch's records
// are laid down first, so that the file has its working size.
//
// A delete, an insert and every load write the whole grid: that write, and
// the load of a 10,000-row batch file that ends with it, are measured too.

#include "BenchStats.h"
#include "app/ProgramObjects.h"
#include "core/FileHelpers.h"
#include "core/Globals.h"
#include "core/LineReader.h"
#include "core/Project.h"
#include "core/ScriptedServices.h"
#include "entry/FlexGrid.h"
#include "transcription/Transcription.h"
#include "transcription/clsWorkFile.h"

#include <benchmark/benchmark.h>

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <fcntl.h>
#include <memory>
#include <unistd.h>

namespace {

constexpr int kRows = 10000;
constexpr int kRecord = 250;

// The program's objects over a temporary data folder; the per-user values
// go there too, never into the real user's.
struct WorkFileFixture
{
    WorkFileFixture() : folder(QDir(BenchFolder()).filePath(QStringLiteral("workfile-XXXXXX")))
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
    QTemporaryDir folder(QDir(BenchFolder()).filePath(QStringLiteral("bare-XXXXXX")));
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
BENCHMARK(BM_BareRecordWriteAndFdatasync)->Unit(benchmark::kMicrosecond)->Apply(RepeatedMinMedianMax);

void BM_SaveRowToWork(benchmark::State &state)
{
    WorkFileFixture fixture;
    int row = 2;
    for (auto _ : state) {
        benchmark::DoNotOptimize(fixture.workFile->SaveRowToWork(row));
        row = row < kRows + 1 ? row + 1 : 2;
    }
}
BENCHMARK(BM_SaveRowToWork)->Unit(benchmark::kMicrosecond)->Apply(RepeatedMinMedianMax);

// The whole grid, flushed once: what a delete, an insert or a load costs.
void BM_SaveGridToWork10000Rows(benchmark::State &state)
{
    WorkFileFixture fixture;
    for (auto _ : state)
        benchmark::DoNotOptimize(fixture.workFile->SaveGridToWork());
}
BENCHMARK(BM_SaveGridToWork10000Rows)->Unit(benchmark::kMillisecond)->Apply(RepeatedMinMedianMax);

// A births batch file of 1905 on fiche: the header, then 10,000 entries with
// a "+PAGE" line every 100.
QByteArray batchFile()
{
    QStringList lines{
        QStringLiteral("+INFO,ann@example.org,Password,SEQUENCED,BIRTHS"),
        QStringLiteral("#,9z,Ann Smith,Wessex,1905B2A0001.ZEL,2-Mar-2026,Y,N,N,A,12,7.4"),
        QStringLiteral("#,"),
        QStringLiteral("+F,1905,Jun,,12,Fiche 12,14-Mar-2026"),
        QStringLiteral("+PAGE,1"),
    };
    int page = 1;
    for (int i = 0; i < kRows; ++i) {
        if (i > 0 && i % 100 == 0)
            lines << QStringLiteral("+PAGE,%1").arg(++page);
        lines << QStringLiteral("WILLIAMS%1,Thomas Henry,Haverfordwest,11a,%2")
                     .arg(QChar(u'A' + i / 400))
                     .arg(page);
    }
    return JoinCrLf(lines);
}

// Loading a batch file with the work file in use, as the program does: the
// load ends by writing the header and the whole grid into the work file.
void BM_LoadWithWorkFile10000Rows(benchmark::State &state)
{
    QTemporaryDir folder(QDir(BenchFolder()).filePath(QStringLiteral("load-XXXXXX")));
    QStandardPaths::setTestModeEnabled(true);
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, folder.path());
    const auto script = installScriptedServices();
    ProgramObjects::createEvents();
    ProgramObjects::createProject();
    ProgramObjects::createChangeMonitor();
    ProgramObjects::createTranscription();
    ProgramObjects::createWorkFile();
    gProject->setDataPath(folder.path());
    gProject->setSavePath(folder.path());
    FlexGrid grid;
    gTranscription->setGrid(&grid);
    gWorkFile->setGrid(&grid);
    ProgramObjects::bindBatchFileHooks();
    gWorkFile->StartNewWorkfile();

    const QString input = QDir(folder.path()).filePath(QStringLiteral("1905B2A0001.ZEL"));
    WriteFileWhole(input, batchFile());
    for (auto _ : state) {
        if (!gTranscription->Restore(input)) {
            state.SkipWithError("the batch file did not load");
            for (const MessageRecord &asked : script->records())
                qWarning("%s", qPrintable(asked.prompt));
            break;
        }
    }
    state.counters["rows"] = grid.Rows() - 2;
    state.counters["workfile bytes"] = double(QFileInfo(clsWorkFile::WorkFilePath()).size());

    gTranscription->setGrid(nullptr);
    ProgramObjects::releaseAll();
}
BENCHMARK(BM_LoadWithWorkFile10000Rows)->Unit(benchmark::kMillisecond)->Apply(RepeatedMinMedianMax);

} // namespace

int main(int argc, char **argv)
{
    // Laying the grid out for a load measures text: a GUI application,
    // without a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    BenchFolder();
    return RunInTurn(argc, argv);
}
