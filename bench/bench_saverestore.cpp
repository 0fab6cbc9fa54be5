// Save and restore of a 10,000-entry batch, against the raw work on the
// same bytes: reading a file and splitting its lines at commas, and writing
// the lines out as one file. The files live in /dev/shm when there is one,
// so that the disk flush (the same for both sides) does not drown the
// difference.

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

#include <array>
#include <memory>
#include <random>

namespace {
constexpr int kEntries = 10000;

const std::array<const char *, 16> kSyllables = {
        "AB", "BAR", "COL", "DEN", "ED", "FAR", "GRE", "HAL",
        "ING", "JON", "KER", "LEW", "MOR", "NASH", "OW", "PER",
};
const std::array<const char *, 12> kForenames = {
        "Ann",      "David",     "Elizabeth", "George", "Jane",   "John",
        "Margaret", "Mary Ann",  "Robert",    "Sarah",  "Thomas", "William",
};
const std::array<const char *, 8> kStems = {
        "Ashby", "Barton", "Castle", "Hatfield", "Kingston", "Marlow", "Stanford", "Walton",
};

QString tempRoot()
{
    const QDir shm(QStringLiteral("/dev/shm"));
    return shm.exists() ? shm.filePath(QStringLiteral("pelkar-bench-XXXXXX"))
                        : QDir::temp().filePath(QStringLiteral("pelkar-bench-XXXXXX"));
}

// A births batch of 1905 on fiche: the header, then entries in order with
// a "+PAGE" line every 100 and a comment line every 1,000.
QStringList batchLines()
{
    std::mt19937 random(1905);
    QStringList names;
    names.reserve(kEntries);
    for (int i = 0; i < kEntries; ++i) {
        QString surname;
        for (int s = 0; s < 3; ++s)
            surname += QString::fromLatin1(kSyllables[random() % kSyllables.size()]);
        names << surname + u',' + QString::fromLatin1(kForenames[random() % kForenames.size()]);
    }
    names.sort();

    QStringList lines{
            QStringLiteral("+INFO,ann@example.org,Password,SEQUENCED,BIRTHS"),
            QStringLiteral("#,9z,Ann Smith,Wessex,1905B2A0001.ZEL,2-Mar-2026,Y,N,N,A,12,7.4"),
            QStringLiteral("#,"),
            QStringLiteral("+F,1905,Jun,,12,Fiche 12,14-Mar-2026"),
            QStringLiteral("+PAGE,1"),
    };
    int page = 1;
    for (int i = 0; i < kEntries; ++i) {
        if (i > 0 && i % 100 == 0)
            lines << QStringLiteral("+PAGE,%1").arg(++page);
        if (i % 1000 == 500)
            lines << QStringLiteral("# faded ink");
        const QString district = QString::fromLatin1(kStems[random() % kStems.size()]) + u' '
                                 + QString::number(random() % 5000);
        lines << names.at(i) + u',' + district + u',' + QString::number(1 + random() % 30)
                         + QChar(u'a' + int(random() % 4)) + u',' + QString::number(page);
    }
    return lines;
}

struct Fixture
{
    Fixture() : folder(tempRoot())
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

        lines = batchLines();
        bytes = JoinCrLf(lines);
        input = QDir(folder.path()).filePath(QStringLiteral("input.ZEL"));
        rawOutput = QDir(folder.path()).filePath(QStringLiteral("raw.ZEL"));
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
};

Fixture &fixture()
{
    static Fixture f;
    return f;
}

// The floor of a restore: read the file, cut it into lines and the lines
// into fields.
void BM_RawReadAndSplit(benchmark::State &state)
{
    Fixture &f = fixture();
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
BENCHMARK(BM_RawReadAndSplit)->Unit(benchmark::kMillisecond);

void BM_Restore(benchmark::State &state)
{
    Fixture &f = fixture();
    for (auto _ : state) {
        const bool loaded = gTranscription->Restore(f.input);
        benchmark::DoNotOptimize(loaded);
    }
    state.counters["rows"] = f.grid.Rows() - 2;
    state.SetBytesProcessed(state.iterations() * f.bytes.size());
}
BENCHMARK(BM_Restore)->Unit(benchmark::kMillisecond);

// The floor of a save: the lines encoded and written whole, the same way
// (temporary file, flush, rename).
void BM_RawWrite(benchmark::State &state)
{
    Fixture &f = fixture();
    for (auto _ : state) {
        const bool written = WriteFileWhole(f.rawOutput, JoinCrLf(f.lines));
        benchmark::DoNotOptimize(written);
    }
    state.SetBytesProcessed(state.iterations() * f.bytes.size());
}
BENCHMARK(BM_RawWrite)->Unit(benchmark::kMillisecond);

void BM_Save(benchmark::State &state)
{
    Fixture &f = fixture();
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
BENCHMARK(BM_Save)->Unit(benchmark::kMillisecond);
// The same save without the per-cell checks (KeepGrid), to show their share.
void BM_SaveKeep(benchmark::State &state)
{
    Fixture &f = fixture();
    gTranscription->Restore(f.input);
    gTranscription->setKeepGrid(true);
    for (auto _ : state) {
        const bool written = gTranscription->SaveData(false);
        benchmark::DoNotOptimize(written);
    }
    gTranscription->setKeepGrid(false);
}
BENCHMARK(BM_SaveKeep)->Unit(benchmark::kMillisecond);
} // namespace

int main(int argc, char **argv)
{
    // Laying the grid out measures text: a GUI application, without a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
