// Start-up as the transcriber feels it: from starting the program to its
// main window shown and idle, with reference files of the real size (a
// district file of 5,000 lines, a forename file of 30,000 names), against a
// bare Qt program that shows a main window with a menu bar.
//
// Both run as child processes, one start per iteration, on the offscreen
// platform: a start is the whole process (loading Qt and its plugins,
// fonts, the first event loop), which is what a person waits for; the bare
// program measures that common part alone. Each program ends as soon as its
// event loop has handled the first show (a zero timer), so each figure also
// holds its own orderly end; Pelkar's end saves its settings.
//
// bench_startup --bare-window is the bare program itself.

#include "core/LineReader.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMainWindow>
#include <QMenuBar>
#include <QProcess>
#include <QSet>
#include <QStringList>
#include <QTemporaryDir>
#include <QTimer>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>

namespace {

constexpr int kDistrictLines = 5000;
constexpr int kNames = 30000;

const std::array<const char *, 26> kStems = {
    "Ashby",    "Barton",   "Castle",   "Dunmow",   "Eastry",   "Fareham", "Glanford",
    "Hatfield", "Ilkeston", "Jarrow",   "Kingston", "Llanelly", "Marlow",  "Newport",
    "Oakham",   "Penrith",  "Quatford", "Redruth",  "Stanford", "Thorne",  "Upton",
    "Ventnor",  "Walton",   "Xenfield", "Yeovil",   "Zeals",
};

QByteArray districtFile()
{
    std::mt19937 random(1837);
    QStringList lines{QStringLiteral("# Generated district file")};
    for (int i = 0; i < kDistrictLines; ++i) {
        const QString name = QString::fromLatin1(kStems[random() % kStems.size()])
                             + (random() % 3 == 0 ? QStringLiteral("-on-") : QStringLiteral(" "))
                             + QString::number(i);
        const int first = 1837 + int(random() % 120);
        const int last = first + 20 + int(random() % 150);
        QStringList volumes;
        for (int period = 0; period < 5; ++period)
            volumes << (random() % 5 == 0 ? QStringLiteral("0")
                                          : QString::number(1 + random() % 30)
                                                + QChar(u'A' + int(random() % 4)));
        lines << name + u'|' + QString::number(first) + u'|' + QString::number(1 + random() % 4)
                     + u'|' + QString::number(last) + u'|' + QString::number(1 + random() % 4)
                     + u'|' + volumes.join(u'|');
    }
    return JoinCrLf(lines);
}

QByteArray forenameFile()
{
    static const std::array<const char *, 20> starts = {
        "Jo", "Ja", "Je", "Ma", "Me", "Mi", "El", "Ed", "Em", "Al",
        "An", "Wi", "Ha", "Ge", "Ch", "Sa", "Th", "Ro", "Fr", "Da",
    };
    static const std::array<const char *, 16> middles = {
        "ri", "ry", "ga", "th", "la", "na", "ne", "ro", "so", "li", "be", "de", "ke", "vi", "ta", "nn",
    };
    static const std::array<const char *, 12> ends = {
        "a", "e", "y", "ie", "ah", "an", "on", "el", "ia", "ine", "ard", "as",
    };
    std::mt19937 random(1911);
    QSet<QString> seen;
    QStringList names;
    while (names.size() < kNames) {
        QString name = QString::fromLatin1(starts[random() % starts.size()]);
        const int count = 1 + int(random() % 3);
        for (int i = 0; i < count; ++i)
            name += QString::fromLatin1(middles[random() % middles.size()]);
        name += QString::fromLatin1(ends[random() % ends.size()]);
        if (seen.contains(name.toUpper()))
            continue;
        seen.insert(name.toUpper());
        names << name;
    }
    std::sort(names.begin(), names.end(),
              [](const QString &a, const QString &b) { return a.toUpper() < b.toUpper(); });
    QStringList lines = {QStringLiteral(" Forename list for the benchmark"), QString()};
    QChar previous = u' ';
    for (const QString &name : names) {
        if (name.at(0).toUpper() != previous)
            lines.append(QString());
        previous = name.at(0).toUpper();
        lines.append(name);
    }
    return JoinCrLf(lines);
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

// A HOME whose data folder a first start made, with the generated files in
// place of the shipped ones.
struct Home
{
    Home()
    {
        if (!dir.isValid())
            std::abort();
        QDir(dir.path()).mkpath(QStringLiteral("runtime"));
        QFile::setPermissions(dir.filePath(QStringLiteral("runtime")),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        writeFile(dir.filePath(QStringLiteral("first")), "Use Default\nOk\n");
        writeFile(dir.filePath(QStringLiteral("none")), "");
        if (run(QStringLiteral(PELKAR_PROGRAM_PATH), {}, QStringLiteral("first")) != 0)
            std::abort();
        const QDir files(dir.filePath(QStringLiteral("Documents/Pelkar_Files/Files")));
        if (!files.exists()) {
            std::fprintf(stderr, "no data folder at %s\n", qPrintable(files.path()));
            std::abort();
        }
        writeFile(files.filePath(QStringLiteral("Pelkar_Districts.txt")), districtFile());
        writeFile(files.filePath(QStringLiteral("Pelkar_Name2.txt")), forenameFile());
    }

    // Runs program to its end; its exit code, or -1.
    int run(const QString &program, const QStringList &arguments, const QString &script)
    {
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("HOME"), dir.path());
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), dir.filePath(QStringLiteral("runtime")));
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), dir.filePath(QStringLiteral(".config")));
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("PELKAR_SCRIPT"), dir.filePath(script));
        env.insert(QStringLiteral("PELKAR_CLOSE_WHEN_STARTED"), QStringLiteral("1"));
        process.setProcessEnvironment(env);
        process.start(program, arguments);
        if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit)
            return -1;
        return process.exitCode();
    }

    QTemporaryDir dir;
};

Home &home()
{
    static Home h;
    return h;
}

void BM_PelkarStartToIdle(benchmark::State &state)
{
    Home &h = home();
    for (auto _ : state) {
        if (h.run(QStringLiteral(PELKAR_PROGRAM_PATH), {}, QStringLiteral("none")) != 0)
            state.SkipWithError("the program did not end cleanly");
    }
}
BENCHMARK(BM_PelkarStartToIdle)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3.0);

void BM_BareQtMainWindow(benchmark::State &state)
{
    Home &h = home();
    const QString self = QCoreApplication::applicationFilePath();
    for (auto _ : state) {
        if (h.run(self, {QStringLiteral("--bare-window")}, QStringLiteral("none")) != 0)
            state.SkipWithError("the bare program did not end cleanly");
    }
}
BENCHMARK(BM_BareQtMainWindow)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3.0);

int bareWindow(int argc, char **argv)
{
    QApplication app(argc, argv);
    QMainWindow window;
    for (const char *title : {"&File", "&Edit", "&Lists", "&Options", "&Help"}) {
        QMenu *menu = window.menuBar()->addMenu(QString::fromLatin1(title));
        for (int i = 0; i < 8; ++i)
            menu->addAction(QStringLiteral("Item %1").arg(i));
    }
    window.resize(800, 600);
    window.show();
    QTimer::singleShot(0, &app, &QCoreApplication::quit);
    return app.exec();
}

} // namespace

int main(int argc, char **argv)
{
    if (argc > 1 && std::strcmp(argv[1], "--bare-window") == 0)
        return bareWindow(argc, argv);
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
