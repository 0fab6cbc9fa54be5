// The forename list at its real size: a forename file of 30,000 names and a
// hundred most-common names. Measures what a transcriber feels: reading the
// file at start-up, one keystroke's pick list, and the check of a typed
// name when the cell is left.

#include "BenchStats.h"
#include "app/ProgramObjects.h"
#include "core/Globals.h"
#include "core/LineReader.h"
#include "core/Project.h"
#include "core/ScriptedServices.h"
#include "lists/ForeNames.h"
#include "lists/PickListSink.h"

#include <benchmark/benchmark.h>

#include <QByteArray>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSet>
#include <QStringList>
#include <QTemporaryDir>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <random>

namespace {
constexpr int kNames = 30000;
constexpr int kTopNames = 100;

// Name starts weighted roughly as forenames are: many J, M, E, A, W.
const std::array<const char *, 40> kStarts = {
    "Jo", "Ja", "Je", "Ju", "Ma", "Me", "Mi", "Mo", "El", "Ed", "Em", "Ev", "Al", "An",
    "Ad", "Ag", "Wi", "Wa", "Ha", "He", "Ge", "Gr", "Ch", "Ca", "Sa", "Su", "Th", "Ro",
    "Ri", "Ra", "Li", "Lu", "Fr", "Fl", "Be", "Br", "Da", "Do", "Ke", "Pe",
};
const std::array<const char *, 24> kMiddles = {
    "ri", "ry", "ga", "th", "la", "na", "ne", "ro", "so", "li", "be", "de",
    "ke", "vi", "ta", "nn", "rg", "ss", "ld", "lv", "mm", "rl", "nd", "st",
};
const std::array<const char *, 16> kEnds = {
    "a", "e", "y", "ie", "ah", "an", "on", "el", "ia", "ine", "ard", "as", "o", "us", "ey", "in",
};

struct Generated
{
    QStringList names; // sorted as the program writes them
    QStringList top;
};

const Generated &generated()
{
    static const Generated data = [] {
        std::mt19937 random(1837);
        QSet<QString> seen;
        Generated g;
        while (g.names.size() < kNames) {
            QString name = QString::fromLatin1(kStarts[random() % kStarts.size()]);
            const int middles = 1 + int(random() % 2);
            for (int i = 0; i < middles; ++i)
                name += QString::fromLatin1(kMiddles[random() % kMiddles.size()]);
            name += QString::fromLatin1(kEnds[random() % kEnds.size()]);
            // A few double names, as transcribers add them.
            if (random() % 50 == 0)
                name += QStringLiteral("-Ann");
            if (seen.contains(name.toUpper()))
                continue;
            seen.insert(name.toUpper());
            g.names.append(name);
        }
        for (int i = 0; i < kTopNames; ++i)
            g.top.append(g.names.at(int(random() % kNames)));
        std::sort(g.names.begin(), g.names.end(),
                  [](const QString &a, const QString &b) { return a.toUpper() < b.toUpper(); });
        return g;
    }();
    return data;
}

// The file as the program writes it; shuffled, as a hand-made file may be.
QByteArray nameFileBytes(bool shuffled)
{
    const Generated &g = generated();
    QStringList names = g.names;
    if (shuffled)
        std::shuffle(names.begin(), names.end(), std::mt19937(1911));
    QStringList lines = {QStringLiteral(" Forename list for the benchmark"), QString()};
    for (const QString &top : g.top)
        lines.append(u'@' + top);
    QChar previous = u' ';
    for (const QString &name : names) {
        if (name.at(0).toUpper() != previous)
            lines.append(QString());
        previous = name.at(0).toUpper();
        lines.append(name);
    }
    return JoinCrLf(lines);
}

// The pick list's own limit, without a window.
class CountingPickList : public PickListSink
{
public:
    void PickClear() override { mTexts.clear(); }
    void NextText(const QString &text) override
    {
        if (mTexts.size() < gProject->PickRows())
            mTexts.append(text.trimmed());
    }
    int iCount() const override { return int(mTexts.size()); }

private:
    QStringList mTexts;
};

// A project whose files folder holds the generated forename file.
class Fixture
{
public:
    Fixture()
    {
        if (!mDir.isValid())
            std::abort();
        const QDir dir(mDir.path());
        dir.mkpath(QStringLiteral("Files"));
        ProgramObjects::createEvents();
        ProgramObjects::createProject();
        gProject->setDataPath(mDir.path());
        gProject->setFilesPath(dir.filePath(QStringLiteral("Files")));
        gProject->setPickRows(9);
        gProject->setForenameCase(QStringLiteral("M"));
        writeNameFile(false);
        SetPickList(&mPick);
    }
    ~Fixture()
    {
        SetPickList(nullptr);
        ProgramObjects::releaseAll();
    }

    void writeNameFile(bool shuffled)
    {
        QFile file(QDir(gProject->GetFilePath()).filePath(ForeNames::NameFileName()));
        const QByteArray bytes = nameFileBytes(shuffled);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            std::abort();
    }

    ForeNames &names()
    {
        if (!mNames)
            mNames = std::make_unique<ForeNames>();
        return *mNames;
    }

private:
    QTemporaryDir mDir;
    CountingPickList mPick;
    std::unique_ptr<ForeNames> mNames;
};

Fixture &fixture()
{
    static Fixture f;
    return f;
}

void BM_ReadForenameFile(benchmark::State &state)
{
    const bool shuffled = state.range(0) != 0;
    fixture().writeNameFile(shuffled);
    for (auto _ : state) {
        ForeNames names;
        benchmark::DoNotOptimize(names.NameCount());
    }
    fixture().writeNameFile(false);
    state.SetLabel(shuffled ? "shuffled file" : "file as written");
    state.SetItemsProcessed(state.iterations() * kNames);
}
BENCHMARK(BM_ReadForenameFile)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Apply(RepeatedMinMedianMax);

// One keystroke: the text typed so far, the pick list filled from it.
void BM_ListMatchingNames(benchmark::State &state, const char *typed)
{
    ForeNames &names = fixture().names();
    const QString text = QString::fromLatin1(typed);
    int listed = 0;
    for (auto _ : state)
        listed = names.ListMatchingNames(QString(), text);
    state.counters["listed"] = listed;
}
BENCHMARK_CAPTURE(BM_ListMatchingNames, first_letter, "j")->Unit(benchmark::kMicrosecond)->Apply(RepeatedMinMedianMax);
BENCHMARK_CAPTURE(BM_ListMatchingNames, two_letters, "jo")->Unit(benchmark::kMicrosecond)->Apply(RepeatedMinMedianMax);
BENCHMARK_CAPTURE(BM_ListMatchingNames, four_letters, "mari")->Unit(benchmark::kMicrosecond)->Apply(RepeatedMinMedianMax);
BENCHMARK_CAPTURE(BM_ListMatchingNames, late_in_letter, "ju")->Unit(benchmark::kMicrosecond)->Apply(RepeatedMinMedianMax);
BENCHMARK_CAPTURE(BM_ListMatchingNames, underscore, "j_n")->Unit(benchmark::kMicrosecond)->Apply(RepeatedMinMedianMax);
BENCHMARK_CAPTURE(BM_ListMatchingNames, bracket_list, "j[ou]l")->Unit(benchmark::kMicrosecond)->Apply(RepeatedMinMedianMax);
BENCHMARK_CAPTURE(BM_ListMatchingNames, most_common, "")->Unit(benchmark::kMicrosecond)->Apply(RepeatedMinMedianMax);
// The worst cases: a rare ending after "*" scans a whole letter, or with a
// wildcard first the whole table.
BENCHMARK_CAPTURE(BM_ListMatchingNames, scan_one_letter, "j*ardx")->Unit(benchmark::kMicrosecond)->Apply(RepeatedMinMedianMax);
BENCHMARK_CAPTURE(BM_ListMatchingNames, scan_whole_table, "*ardx")->Unit(benchmark::kMicrosecond)->Apply(RepeatedMinMedianMax);
// With a wildcard first, patterns that ask little of a name (a digit, one
// of a list, a length) and common letters seldom side by side, which many
// names hold and few match: the slowest keystrokes found.
BENCHMARK_CAPTURE(BM_ListMatchingNames, whole_table_digit, "*#")->Unit(benchmark::kMicrosecond)->Apply(RepeatedMinMedianMax);
BENCHMARK_CAPTURE(BM_ListMatchingNames, whole_table_list, "*[xq]")->Unit(benchmark::kMicrosecond)->Apply(RepeatedMinMedianMax);
BENCHMARK_CAPTURE(BM_ListMatchingNames, whole_table_length, "*??????????????")
        ->Unit(benchmark::kMicrosecond)->Apply(RepeatedMinMedianMax);
BENCHMARK_CAPTURE(BM_ListMatchingNames, whole_table_common_letters, "*ele")
        ->Unit(benchmark::kMicrosecond)->Apply(RepeatedMinMedianMax);
BENCHMARK_CAPTURE(BM_ListMatchingNames, whole_table_letters_apart, "*u?u")
        ->Unit(benchmark::kMicrosecond)->Apply(RepeatedMinMedianMax);

void BM_TestForName(benchmark::State &state, const char *which)
{
    ForeNames &names = fixture().names();
    const Generated &g = generated();
    QString name;
    if (qstrcmp(which, "known") == 0)
        name = g.names.at(kNames / 2).toLower();
    else if (qstrcmp(which, "most_common") == 0)
        name = g.top.first().toUpper();
    else
        name = QStringLiteral("Jonquilx");
    bool found = false;
    for (auto _ : state)
        found = names.TestForName(name);
    state.counters["found"] = found;
}
BENCHMARK_CAPTURE(BM_TestForName, known, "known")->Unit(benchmark::kNanosecond)->Apply(RepeatedMinMedianMax);
BENCHMARK_CAPTURE(BM_TestForName, most_common, "most_common")->Unit(benchmark::kNanosecond)->Apply(RepeatedMinMedianMax);
BENCHMARK_CAPTURE(BM_TestForName, unknown, "unknown")->Unit(benchmark::kNanosecond)->Apply(RepeatedMinMedianMax);
} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const std::shared_ptr<Script> script = installScriptedServices();
    // No message is expected: one means the set-up is wrong.
    script->onUnexpected = [](const MessageRecord &r) {
        std::fprintf(stderr, "Unexpected message: %s\n", qPrintable(r.prompt));
        std::abort();
    };
    return RunInTurn(argc, argv);
}
