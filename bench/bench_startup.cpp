// Start-up as the transcriber feels it: from starting the program to its
// main window shown and idle, against a bare Qt program (bench_bare_window:
// a main window with a menu bar). Measured in turn, in one run:
// - the bare program;
// - Pelkar with the reference files it ships;
// - Pelkar with reference files of the real size (a district file of 5,000
//   lines, a forename file of 30,000 names);
// - the same, continuing the previous run's batch of 10,000 entries (the
//   question "Would you like to continue using batch" answered Yes);
// - the same, rebuilding that batch from the work file a crashed run left.
//
// Each program runs as a child process, one start per iteration, on the
// offscreen platform: a start is the whole process (loading Qt and its
// plugins, fonts, the first event loop), which is what a person waits for;
// the bare program measures that common part alone. Each program prints
// "started" as soon as its event loop has handled the first show (a zero
// timer), then ends. The time is taken from the child's start to that
// line; the counter "whole_run_ms" holds the whole run to the child's end,
// its orderly shut-down included (Pelkar's saves its settings and deletes
// its work file).
//
// The homes lie in PELKAR_BENCH_DIR, else the current folder: on the real
// disk, as the transcriber's files are. PELKAR_BENCH_REPETITIONS sets the
// runs of each case (5 unless given), reported as min, median and max.

#include "BenchStats.h"
#include "GeneratedBatch.h"
#include "GeneratedDistricts.h"
#include "GeneratedForenames.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <cstdio>
#include <cstdlib>
#include <memory>

namespace {

constexpr int kBatchEntries = 10000;
constexpr int kStartsPerRun = 8;

[[noreturn]] void fail(const char *what, const QString &detail = QString())
{
    std::fprintf(stderr, "bench_startup: %s %s\n", what, qPrintable(detail));
    std::abort();
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// A HOME whose data folder a first start made, with the shipped reference
// files. Scripts of answers lie in it by name.
class Home
{
public:
    Home() : mDir(QDir(BenchFolder()).filePath(QStringLiteral("startup-XXXXXX")))
    {
        if (!mDir.isValid())
            fail("no home in", BenchFolder());
        QDir(mDir.path()).mkpath(QStringLiteral("runtime"));
        QFile::setPermissions(path(QStringLiteral("runtime")),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        writeScript(QStringLiteral("none"), {});
        writeScript(QStringLiteral("first"), {"Use Default", "Ok"});
        if (run(QStringLiteral(PELKAR_PROGRAM_PATH), QStringLiteral("first")) != 0)
            fail("the first start failed in", mDir.path());
        if (!QFileInfo(files()).isDir())
            fail("no data folder at", files());
    }

    QString path(const QString &name) const { return mDir.filePath(name); }
    QString data() const { return path(QStringLiteral("Documents/Pelkar_Files")); }
    QString files() const { return QDir(data()).filePath(QStringLiteral("Files")); }
    QString workFile() const { return QDir(data()).filePath(QStringLiteral("PelkarWork")); }
    QString batchFile() const
    {
        return QDir(data()).filePath(QStringLiteral("Output/") + GeneratedBatch::fileName());
    }

    void writeScript(const QString &name, const QList<const char *> &answers)
    {
        QByteArray text;
        for (const char *answer : answers)
            text += QByteArray(answer) + '\n';
        if (!writeFile(path(name), text))
            fail("cannot write the script", name);
        QFile::remove(path(name) + QStringLiteral(".log"));
    }

    // The messages a script's runs were asked, as their log holds them.
    QByteArray log(const QString &script) const { return readFile(path(script) + QStringLiteral(".log")); }

    // The reference files of the real size in place of the shipped ones.
    void useFullSizeLists()
    {
        if (!writeFile(QDir(files()).filePath(QStringLiteral("Pelkar_Districts.txt")),
                       GeneratedDistricts::districtFileBytes())
            || !writeFile(QDir(files()).filePath(QStringLiteral("Pelkar_Name2.txt")),
                          GeneratedForenames::nameFileBytes()))
            fail("cannot write the lists in", files());
    }

    // The generated batch in the save folder, opened by one run that then
    // closed down: the settings name it as the batch to continue.
    void workedOnBatch()
    {
        QDir().mkpath(QFileInfo(batchFile()).path());
        if (!writeFile(batchFile(), GeneratedBatch::birthsBatchBytes(kBatchEntries)))
            fail("cannot write the batch", batchFile());
        if (run(QStringLiteral(PELKAR_PROGRAM_PATH), QStringLiteral("none"), {batchFile()}) != 0)
            fail("the batch did not open in", mDir.path());
        if (!log(QStringLiteral("none")).isEmpty())
            fail("opening the batch asked", QString::fromUtf8(log(QStringLiteral("none"))));
    }

    // Starts the program without the early end, lets it continue the batch
    // and write its work file, and kills it: the work file it leaves is
    // kept aside, to be put back before each start.
    void crashedOnBatch()
    {
        writeScript(QStringLiteral("crashing"), {"Yes"});
        QProcess process;
        process.setProcessEnvironment(environment(QStringLiteral("crashing"), false));
        process.start(QStringLiteral(PELKAR_PROGRAM_PATH), {});
        // The work file is written whole as the start ends; once its size
        // has stood still a while, the start is over.
        qint64 size = -1;
        int still = 0;
        const QDeadlineTimer deadline(60000);
        while (still < 5 && !deadline.hasExpired()) {
            QThread::msleep(200);
            const qint64 now = QFileInfo(workFile()).size();
            still = now > 0 && now == size ? still + 1 : 0;
            size = now;
        }
        process.kill();
        process.waitForFinished(10000);
        mLeftWork = readFile(workFile());
        if (mLeftWork.isEmpty())
            fail("no work file left in", data());
    }

    // Puts the crashed run's work file back.
    void crashed() const
    {
        if (!writeFile(workFile(), mLeftWork))
            fail("cannot write the work file", workFile());
    }

    // Runs program to its end, answering from the script of that name; its
    // exit code, or -1.
    int run(const QString &program, const QString &script, const QStringList &arguments = {})
    {
        return timedRun(program, script, arguments).exitCode;
    }

    struct Timing
    {
        int exitCode = -1;
        double started = -1; // seconds to the "started" line; -1 when none came
        double ended = -1;   // seconds to the end
    };

    // As run, timing the start and the whole run.
    Timing timedRun(const QString &program, const QString &script, const QStringList &arguments = {})
    {
        Timing timing;
        QProcess process;
        process.setProcessEnvironment(environment(script, true));
        QElapsedTimer clock;
        clock.start();
        process.start(program, arguments);
        QByteArray said;
        while (timing.started < 0 && process.waitForReadyRead(60000)) {
            said += process.readAllStandardOutput();
            if (said.contains("started\n"))
                timing.started = double(clock.nsecsElapsed()) / 1e9;
        }
        if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit)
            return timing;
        timing.ended = double(clock.nsecsElapsed()) / 1e9;
        timing.exitCode = process.exitCode();
        return timing;
    }

private:
    QProcessEnvironment environment(const QString &script, bool endWhenStarted) const
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("HOME"), mDir.path());
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), path(QStringLiteral("runtime")));
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), path(QStringLiteral(".config")));
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("PELKAR_SCRIPT"), path(script));
        if (endWhenStarted)
            env.insert(QStringLiteral("PELKAR_CLOSE_WHEN_STARTED"), QStringLiteral("1"));
        else
            env.remove(QStringLiteral("PELKAR_CLOSE_WHEN_STARTED"));
        return env;
    }

    QTemporaryDir mDir;
    QByteArray mLeftWork;
};

enum class Case { Bare, ShippedLists, FullLists, ContinuedBatch, CrashRecovery };

// Each case's home, made when its benchmark first runs.
Home &home(Case which)
{
    static std::unique_ptr<Home> homes[5];
    std::unique_ptr<Home> &home = homes[int(which)];
    if (home)
        return *home;
    home = std::make_unique<Home>();
    switch (which) {
    case Case::Bare:
    case Case::ShippedLists:
        break;
    case Case::FullLists:
        home->useFullSizeLists();
        break;
    case Case::ContinuedBatch:
    case Case::CrashRecovery:
        home->useFullSizeLists();
        home->workedOnBatch();
        home->writeScript(QStringLiteral("continue"), {"Yes"});
        if (which == Case::CrashRecovery) {
            home->crashedOnBatch();
            home->writeScript(QStringLiteral("recover"), {"Yes", "Ok"});
        }
        break;
    }
    return *home;
}

// The script each case's starts answer from.
QString scriptOf(Case which)
{
    switch (which) {
    case Case::ContinuedBatch:
        return QStringLiteral("continue");
    case Case::CrashRecovery:
        return QStringLiteral("recover");
    default:
        return QStringLiteral("none");
    }
}

// What every start of the case is asked first; empty: nothing.
QByteArray firstQuestion(Case which)
{
    switch (which) {
    case Case::ContinuedBatch:
        return "Would you like to continue using batch";
    case Case::CrashRecovery:
        return "did not closedown properly";
    default:
        return QByteArray();
    }
}

void BM_StartToIdle(benchmark::State &state, Case which)
{
    Home &h = home(which);
    const QString program = which == Case::Bare ? QStringLiteral(BARE_WINDOW_PATH)
                                                : QStringLiteral(PELKAR_PROGRAM_PATH);
    const QString script = scriptOf(which);
    double whole = 0;
    for (auto _ : state) {
        if (which == Case::CrashRecovery)
            h.crashed();
        const Home::Timing timing = h.timedRun(program, script);
        if (timing.exitCode != 0 || timing.started < 0) {
            state.SkipWithError("the program did not start and end cleanly");
            break;
        }
        state.SetIterationTime(timing.started);
        whole += timing.ended;
    }
    state.counters["whole_run_ms"] = benchmark::Counter(whole * 1e3, benchmark::Counter::kAvgIterations);
    // Every start was asked what the case is about, and answered.
    const QByteArray asked = h.log(script);
    if (!firstQuestion(which).isEmpty() && !asked.contains(firstQuestion(which)))
        state.SkipWithError("the start was not asked what the case is about");
    if (which == Case::ContinuedBatch || which == Case::CrashRecovery) {
        if (QFileInfo::exists(h.workFile()))
            state.SkipWithError("the work file was left behind");
    }
}

void registerAll()
{
    const auto timed = [](benchmark::internal::Benchmark *b) {
        MinMedianMax(b->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(kStartsPerRun),
                     BenchRepetitions());
    };
    timed(benchmark::RegisterBenchmark("BM_StartToIdle/bare_window", BM_StartToIdle, Case::Bare));
    timed(benchmark::RegisterBenchmark("BM_StartToIdle/shipped_lists", BM_StartToIdle,
                                       Case::ShippedLists));
    timed(benchmark::RegisterBenchmark("BM_StartToIdle/full_lists", BM_StartToIdle,
                                       Case::FullLists));
    timed(benchmark::RegisterBenchmark("BM_StartToIdle/full_lists_batch_continued",
                                       BM_StartToIdle, Case::ContinuedBatch));
    timed(benchmark::RegisterBenchmark("BM_StartToIdle/full_lists_batch_recovered",
                                       BM_StartToIdle, Case::CrashRecovery));
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    registerAll();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
