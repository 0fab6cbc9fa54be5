// The district table as a transcriber feels it: reading it for a batch's
// period (after each header change), one keystroke's pick-list filling in
// the district box, and the look-up that every district cell's check makes.
// The district file is generated at the real size: 5,000 lines, initials
// spread as in real place names, periods and volume columns varied.

#include "BenchStats.h"
#include "app/ProgramObjects.h"
#include "core/Globals.h"
#include "core/LineReader.h"
#include "core/Project.h"
#include "core/ScriptedServices.h"
#include "core/clsEvents.h"
#include "lists/Districts.h"
#include "lists/PickListSink.h"

#include "GeneratedDistricts.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSettings>
#include <QStringList>
#include <QTemporaryDir>

#include <array>
#include <memory>
#include <random>

namespace {
// A pick list like the window's: keeps rows up to its row limit.
class BenchPickList : public PickListSink
{
public:
    void PickClear() override { mTexts.clear(); }
    void NextText(const QString &text) override
    {
        if (mTexts.size() < mRows)
            mTexts.append(text.trimmed());
    }
    int iCount() const override { return int(mTexts.size()); }

private:
    QStringList mTexts;
    qsizetype mRows = 100;
};


// The data folder, per-user values and the program-wide objects of one run.
struct Fixture
{
    Fixture()
    {
        // The recent-district lists are stored at release: keep them out of
        // the real user's values.
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, folder.path());
        script = installScriptedServices();
        ProgramObjects::createEvents();
        ProgramObjects::createProject();
        const QString files = QDir(folder.path()).filePath(QStringLiteral("Files"));
        QDir().mkpath(files);
        gProject->setDataPath(folder.path());
        gProject->setFilesPath(files);
        gProject->setIYear(1911);
        gProject->setQtr(3);
        gProject->setIVnf(1);
        gProject->setDistPickStd(true);
        QFile file(QDir(files).filePath(QStringLiteral("Pelkar_Districts.txt")));
        file.open(QIODevice::WriteOnly);
        file.write(GeneratedDistricts::districtFileBytes());
        file.close();
        districts = std::make_unique<Districts>();
        districts->Read_Districts();
        SetPickList(&pick);
    }
    ~Fixture()
    {
        SetPickList(nullptr);
        districts.reset();
        ProgramObjects::releaseAll();
    }

    QTemporaryDir folder;
    std::shared_ptr<Script> script;
    std::unique_ptr<Districts> districts;
    BenchPickList pick;
};

Fixture &fixture()
{
    static Fixture f;
    return f;
}

void BM_ReadDistricts(benchmark::State &state)
{
    Districts &d = *fixture().districts;
    for (auto _ : state) {
        d.Read_Districts();
        benchmark::DoNotOptimize(d.LastIndex());
    }
    state.counters["records"] = d.LastIndex() + 1;
}
BENCHMARK(BM_ReadDistricts)->Unit(benchmark::kMillisecond)->Apply(RepeatedMinMedianMax);

// The typed text: the largest initial alone, a longer beginning, a name
// with its volume beginning, and a volume alone (the whole table).
const std::array<const char *, 4> kTyped = {"s", "sta", "stan~1", ",5a"};

void BM_ListMatchingDistricts(benchmark::State &state)
{
    Districts &d = *fixture().districts;
    const QString typed = QString::fromLatin1(kTyped[state.range(0)]);
    int listed = 0;
    for (auto _ : state) {
        listed = d.ListMatchingDistricts(typed);
        benchmark::DoNotOptimize(listed);
    }
    state.SetLabel(typed.toStdString());
    state.counters["listed"] = listed;
}
BENCHMARK(BM_ListMatchingDistricts)
        ->DenseRange(0, int(kTyped.size()) - 1)
        ->Unit(benchmark::kMicrosecond)->Apply(RepeatedMinMedianMax);

// The last record of the largest initial: the longest scan there is.
void BM_FindDistrict(benchmark::State &state)
{
    Districts &d = *fixture().districts;
    QString name;
    QString volume;
    for (const DistrictRecord &r : d.records()) {
        if (!r.Deleted && r.Name.startsWith(u'S')) {
            name = r.Name.toUpper();
            volume = r.Volume.toLower();
        }
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(d.FindDistrict(name, volume));
    state.SetLabel(name.toStdString());
}
BENCHMARK(BM_FindDistrict)->Unit(benchmark::kNanosecond)->Apply(RepeatedMinMedianMax);
} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    return RunInTurn(argc, argv);
}
