// Save and restore of the batch alone (no window), at 1,000, 10,000 and
// 50,000 entries, against the raw work on the same bytes: reading a file
// and splitting its lines at commas, and writing the lines out as one file.
// Each is measured in turn with its floor at the same size, repeated and
// reported as its minimum, median and maximum; the sizes run one after the
// other, since writing another size's file between two runs would leave its
// writes to the disk in the next figure. The files live on the disk
// of the current folder, or of PELKAR_BENCH_DIR: the disk a batch is read
// from and saved to, never a memory file system.

#include "BenchStats.h"
#include "GeneratedBatch.h"

#include "app/ProgramObjects.h"
#include "core/FileHelpers.h"
#include "core/Globals.h"
#include "core/LineReader.h"
#include "core/Project.h"
#include "core/ScriptedServices.h"
#include "core/TextHelpers.h"
#include "entry/FlexGrid.h"
#include "transcription/Transcription.h"

#include <benchmark/benchmark.h>

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QSettings>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>

namespace {

struct Fixture
{
    Fixture() : folder(QDir(BenchFolder()).filePath(QStringLiteral("pelkar-bench-XXXXXX")))
    {
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, folder.path());
        script = installScriptedServices();
        ProgramObjects::createEvents();
        ProgramObjects::createProject();
        ProgramObjects::createChangeMonitor();
        ProgramObjects::createTranscription();
        gProject->setDataPath(folder.path());
        gProject->setSavePath(folder.path());
        gProject->setSurnameCase(QStringLiteral("U"));
        gTranscription->setGrid(&grid);

        input = QDir(folder.path()).filePath(QStringLiteral("input.ZEL"));
        rawOutput = QDir(folder.path()).filePath(QStringLiteral("raw.ZEL"));
    }

    // The batch of that size in the input file.
    void useSize(int entries)
    {
        if (entries == this->entries)
            return;
        this->entries = entries;
        bytes = GeneratedBatch::birthsBatchBytes(entries);
        lines = QString::fromLatin1(bytes).split(QStringLiteral("\r\n"));
        if (!lines.isEmpty() && lines.constLast().isEmpty())
            lines.removeLast();
        WriteFileWhole(input, bytes);
    }
    ~Fixture()
    {
        gTranscription->setGrid(nullptr);
        ProgramObjects::releaseAll();
    }

    QTemporaryDir folder;
    std::shared_ptr<Script> script;
    FlexGrid grid;
    QStringList lines;
    QByteArray bytes;
    QString input;
    QString rawOutput;
    int entries = 0;
};

std::unique_ptr<Fixture> gFixture;

Fixture &fixture(const benchmark::State &state)
{
    if (!gFixture)
        gFixture = std::make_unique<Fixture>();
    gFixture->useSize(int(state.range(0)));
    return *gFixture;
}

// The floor of a restore: read the file, cut it into lines and the lines
// into fields.
void BM_RawReadAndSplit(benchmark::State &state)
{
    Fixture &f = fixture(state);
    qsizetype fields = 0;
    for (auto _ : state) {
        fields = 0;
        QFile file(f.input);
        file.open(QIODevice::ReadOnly);
        LineReader reader(file);
        while (!reader.atEnd())
            fields += reader.readLine().split(u',').size();
        benchmark::DoNotOptimize(fields);
    }
    state.counters["fields"] = double(fields);
    state.SetBytesProcessed(state.iterations() * f.bytes.size());
}

void BM_Restore(benchmark::State &state)
{
    Fixture &f = fixture(state);
    for (auto _ : state) {
        const bool loaded = gTranscription->Restore(f.input);
        benchmark::DoNotOptimize(loaded);
    }
    state.counters["rows"] = f.grid.Rows() - 2;
    state.SetBytesProcessed(state.iterations() * f.bytes.size());
}

// The floor of a save: the lines encoded and written whole, the same way
// (temporary file, flush, rename).
void BM_RawWrite(benchmark::State &state)
{
    Fixture &f = fixture(state);
    for (auto _ : state) {
        const bool written = WriteFileWhole(f.rawOutput, JoinCrLf(f.lines));
        benchmark::DoNotOptimize(written);
    }
    state.SetBytesProcessed(state.iterations() * f.bytes.size());
}

void BM_Save(benchmark::State &state)
{
    Fixture &f = fixture(state);
    gTranscription->Restore(f.input);
    bool same = false;
    for (auto _ : state) {
        const bool written = gTranscription->SaveData(false);
        benchmark::DoNotOptimize(written);
    }
    QFile saved(QDir(f.folder.path()).filePath(gProject->BatchName()));
    if (saved.open(QIODevice::ReadOnly))
        same = saved.readAll() == f.bytes;
    state.counters["identical"] = same ? 1 : 0;
    state.SetBytesProcessed(state.iterations() * f.bytes.size());
}
// The same save without the per-cell checks (KeepGrid), to show their share.
void BM_SaveKeep(benchmark::State &state)
{
    Fixture &f = fixture(state);
    gTranscription->Restore(f.input);
    gTranscription->setKeepGrid(true);
    for (auto _ : state) {
        const bool written = gTranscription->SaveData(false);
        benchmark::DoNotOptimize(written);
    }
    gTranscription->setKeepGrid(false);
}
void registerAll()
{
    for (const int entries : {1000, 10000, 50000}) {
        for (const auto &[name, function] :
             std::initializer_list<std::pair<const char *, void (*)(benchmark::State &)>>{
                     {"BM_RawReadAndSplit", BM_RawReadAndSplit},
                     {"BM_Restore", BM_Restore},
                     {"BM_RawWrite", BM_RawWrite},
                     {"BM_Save", BM_Save},
                     {"BM_SaveKeep", BM_SaveKeep}}) {
            MinMedianMax(benchmark::RegisterBenchmark(name, function)
                                 ->Arg(entries)
                                 ->Unit(benchmark::kMillisecond)
                                 ->UseRealTime()
                                 ->Iterations(entries >= 50000 ? 3 : 10),
                         BenchRepetitions());
        }
    }
}
} // namespace

int main(int argc, char **argv)
{
    // Laying the grid out measures text: a GUI application, without a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    registerAll();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    gFixture.reset();
    return 0;
}
