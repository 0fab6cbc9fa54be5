// The row re-check behind "Find Next Warning" over a whole batch: 10,000
// entries in alphabetical order, a "+PAGE" line every 100 rows and a few
// comment lines, districts taken from a district file of 5,000 lines read
// for the batch's period. The batch is sound, so a search runs to the end,
// as it does when the transcriber is told "No more Errors".

#include "BenchStats.h"
#include "app/ProgramObjects.h"
#include "core/Globals.h"
#include "core/LineReader.h"
#include "core/Project.h"
#include "core/ScriptedServices.h"
#include "entry/FlexGrid.h"
#include "lists/Districts.h"
#include "transcription/Transcription.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSettings>
#include <QStringList>
#include <QTemporaryDir>

#include <algorithm>
#include <array>
#include <memory>
#include <random>

namespace {
constexpr int kDistrictLines = 5000;
constexpr int kEntries = 10000;

const std::array<const char *, 16> kSyllables = {
        "AB", "BAR", "COL", "DEN", "ED", "FAR", "GRE", "HAL",
        "ING", "JON", "KER", "LEW", "MOR", "NASH", "OW", "PER",
};
const std::array<const char *, 12> kForenames = {
        "Ann",   "David", "Elizabeth", "George", "Jane",   "John",
        "Margaret", "Mary Ann", "Robert", "Sarah", "Thomas", "William",
};
const std::array<const char *, 8> kStems = {
        "Ashby", "Barton", "Castle", "Hatfield", "Kingston", "Marlow", "Stanford", "Walton",
};

// A district file in the shipped layout: name|first year|first quarter|
// last year|last quarter|five volume columns.
QByteArray districtFile(std::mt19937 &random)
{
    QStringList lines{QStringLiteral("# Generated district file")};
    for (int i = 0; i < kDistrictLines; ++i) {
        const QString name = QString::fromLatin1(kStems[random() % kStems.size()]) + u' '
                + QString::number(i);
        QStringList volumes;
        for (int period = 0; period < 5; ++period)
            volumes << QString::number(1 + random() % 30) + QChar(u'A' + int(random() % 4));
        lines << name + QStringLiteral("|1837|1|1965|4|") + volumes.join(u'|');
    }
    return JoinCrLf(lines);
}

// The program-wide objects, a district table and a batch of kEntries rows.
struct Fixture
{
    Fixture()
    {
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, folder.path());
        script = installScriptedServices();
        ProgramObjects::createEvents();
        ProgramObjects::createProject();
        const QString files = QDir(folder.path()).filePath(QStringLiteral("Files"));
        QDir().mkpath(files);
        gProject->setDataPath(folder.path());
        gProject->setFilesPath(files);
        gProject->setEventType(1);
        gProject->setIYear(1905);
        gProject->setQtr(2);
        gProject->setIVnf(1);
        gProject->setDistValidate(true);

        std::mt19937 random(1905);
        QFile file(QDir(files).filePath(QStringLiteral("Pelkar_Districts.txt")));
        file.open(QIODevice::WriteOnly);
        file.write(districtFile(random));
        file.close();
        ProgramObjects::createDistricts();
        gDistricts->Read_Districts();

        QStringList districts;
        for (const DistrictRecord &r : gDistricts->records()) {
            const QString cell = r.Name + u',' + r.Volume;
            if (!r.Deleted && gDistricts->ValidateDistrict(cell, true, false, &message))
                districts << cell;
        }

        // Entries sorted as the index prints them: surname, then forenames.
        std::vector<std::pair<QString, QString>> names;
        names.reserve(kEntries);
        for (int i = 0; i < kEntries; ++i) {
            QString surname;
            for (int s = 0; s < 3; ++s)
                surname += QString::fromLatin1(kSyllables[random() % kSyllables.size()]);
            names.emplace_back(surname, QString::fromLatin1(kForenames[random() % kForenames.size()]));
        }
        std::sort(names.begin(), names.end(), [](const auto &a, const auto &b) {
            return a.first != b.first ? a.first < b.first
                                      : a.second.toUpper() < b.second.toUpper();
        });

        grid.setCols(5);
        t.setGrid(&grid);
        t.setSurnameCol(1);
        t.setForenamesCol(2);
        t.setMotherCol(0);
        t.setSpouseCol(0);
        t.setAaDCol(-1);
        t.setDoBCol(-1);
        t.setDistrictCol(3);
        t.setPageCol(4);
        gLastCol = 4;

        const int pageLines = kEntries / 100;
        grid.setRows(2 + kEntries + pageLines + 10);
        grid.setTextMatrix(1, 1, QStringLiteral("+PAGE,1"));
        int row = 2;
        int page = 1;
        for (int i = 0; i < kEntries; ++i) {
            if (i > 0 && i % 100 == 0)
                grid.setTextMatrix(row++, 1, QStringLiteral("+PAGE,%1").arg(++page));
            if (i % 1000 == 500)
                grid.setTextMatrix(row++, 1, QStringLiteral("#COMMENT(faded ink)"));
            grid.setTextMatrix(row, 1, names[i].first);
            grid.setTextMatrix(row, 2, names[i].second);
            grid.setTextMatrix(row, 3, districts.at(int(random() % districts.size())));
            grid.setTextMatrix(row, 4, QString::number(page));
            ++row;
        }
        grid.setRows(row);
        gCurrentRow = 2;
        gCurrentCol = 1;
    }
    ~Fixture() { ProgramObjects::releaseAll(); }

    QTemporaryDir folder;
    std::shared_ptr<Script> script;
    QString message;
    FlexGrid grid;
    Transcription t;
};

Fixture &fixture()
{
    static Fixture f;
    return f;
}

bool isFault(const Transcription::RowFinding &f)
{
    return f.sequence || f.questionMark || !f.text.isEmpty() || f.col > 0;
}

// One CheckRow from column 1 on every row of the batch.
void BM_CheckRowEveryRow(benchmark::State &state)
{
    Fixture &f = fixture();
    int faults = 0;
    for (auto _ : state) {
        faults = 0;
        for (int row = 2; row < f.grid.Rows(); ++row) {
            int start = 1;
            faults += isFault(f.t.CheckRow(row, start)) ? 1 : 0;
        }
        benchmark::DoNotOptimize(faults);
    }
    state.counters["rows"] = f.grid.Rows() - 2;
    state.counters["faults"] = faults;
}
BENCHMARK(BM_CheckRowEveryRow)->Unit(benchmark::kMillisecond)->Apply(RepeatedMinMedianMax);

// "Find Next Warning" from the first entry when there is none to find: each
// entry row from every start column, "+" and "#" rows passed over.
void BM_FindNextWarningWholeBatch(benchmark::State &state)
{
    Fixture &f = fixture();
    int faults = 0;
    for (auto _ : state) {
        faults = 0;
        for (int row = 2; row < f.grid.Rows(); ++row) {
            const QString first = f.grid.TextMatrix(row, 1);
            if (first.startsWith(u'+') || first.startsWith(u'#'))
                continue;
            int start = 1;
            while (start <= gLastCol)
                faults += isFault(f.t.CheckRow(row, start)) ? 1 : 0;
        }
        benchmark::DoNotOptimize(faults);
    }
    state.counters["faults"] = faults;
}
BENCHMARK(BM_FindNextWarningWholeBatch)->Unit(benchmark::kMillisecond)->Apply(RepeatedMinMedianMax);
} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    return RunInTurn(argc, argv);
}
