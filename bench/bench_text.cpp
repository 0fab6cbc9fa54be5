// Text handling that every batch and district file passes through: splitting
// quoted fields, the Windows-1252 codec and reading lines. The data are made
// here at the size of the real files: a district file of 5,000 lines and a
// batch of 10,000 rows.

#include "BenchStats.h"
#include "core/Cp1252.h"
#include "core/LineReader.h"
#include "core/TextHelpers.h"

#include <benchmark/benchmark.h>

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <array>
#include <random>

namespace {
constexpr int kDistrictLines = 5000;
constexpr int kBatchRows = 10000;

const std::array<const char *, 12> kPlaces = {
    "Aberystwyth", "Bangor",     "Caernarvon", "Dolgelly",  "Ffestiniog", "Haverfordwest",
    "Llandilo",    "Machynlleth", "Newtown",   "Pwllheli",  "St Asaph",   "Wrexham",
};
const std::array<const char *, 10> kSurnames = {
    "JONES", "WILLIAMS", "DAVIES", "EVANS", "THOMAS", "ROBERTS", "HUGHES", "LEWIS", "O'BRIEN",
    "MORGAN",
};
// Forenames as transcribed, some with letters beyond ASCII.
const std::array<const char16_t *, 10> kForenames = {
    u"John", u"Mary Ann", u"Elizabeth", u"Dafydd", u"Siân", u"Gwenllïan", u"Rhys", u"Zoë",
    u"Ellis Ŵyn", u"Thomas Henry",
};

QStringList districtLines()
{
    std::mt19937 random(1837);
    QStringList lines;
    lines.reserve(kDistrictLines);
    for (int i = 0; i < kDistrictLines; ++i) {
        QString name = QString::fromLatin1(kPlaces[random() % kPlaces.size()])
                       + QString::number(i);
        // About one line in ten has a name that needs quoting.
        if (random() % 10 == 0)
            name = u'"' + name + QStringLiteral(" | and ") + name + u'"';
        const int first = 1837 + int(random() % 100);
        const QString volume = QString::number(1 + random() % 30) + u'b';
        lines.append(name + u'|' + QString::number(first) + u'|' + QString::number(1 + random() % 4)
                     + u'|' + QString::number(first + 40) + u'|' + QString::number(1 + random() % 4)
                     + u'|' + volume + u'|' + volume + u'|' + QStringLiteral("0|0|0"));
    }
    return lines;
}

QStringList batchLines()
{
    std::mt19937 random(1911);
    QStringList lines = {
        QStringLiteral("+INFO,anne@example.org,Password,SEQUENCED,BIRTHS,CP1252"),
        QStringLiteral("#,3.1,Pelkar,7.4.0"),
        QStringLiteral("#,Anne,Smith"),
        QStringLiteral("+S,1911,Mar,B,1234"),
        QStringLiteral("+CREDIT,\"Smith, Anne\",anne@example.org,\"Type, A\""),
        QStringLiteral("+PAGE,12"),
    };
    lines.reserve(kBatchRows + lines.size());
    for (int i = 0; i < kBatchRows; ++i) {
        QString surname = QString::fromLatin1(kSurnames[random() % kSurnames.size()]);
        QString forename = QString::fromUtf16(kForenames[random() % kForenames.size()]);
        if (random() % 20 == 0)
            forename = u'"' + forename + QStringLiteral(", Jr") + u'"';
        lines.append(surname + u',' + forename + u','
                     + QString::fromLatin1(kPlaces[random() % kPlaces.size()]) + u','
                     + QString::number(1 + random() % 30) + QStringLiteral("b,")
                     + QString::number(random() % 900));
    }
    return lines;
}

// About 1 MB of Windows-1252 text: the batch file repeated.
QByteArray megabyte()
{
    const QByteArray batch = JoinCrLf(batchLines());
    QByteArray bytes;
    while (bytes.size() < (1 << 20))
        bytes.append(batch);
    return bytes;
}

void BM_SplitQuotedDistrictFile(benchmark::State &state)
{
    const QStringList lines = districtLines();
    for (auto _ : state) {
        for (const QString &line : lines)
            benchmark::DoNotOptimize(SplitQuoted(line, u'|'));
    }
    state.SetItemsProcessed(state.iterations() * lines.size());
}
BENCHMARK(BM_SplitQuotedDistrictFile)->Unit(benchmark::kMillisecond)->Apply(RepeatedMinMedianMax);

void BM_SplitQuotedBatchRows(benchmark::State &state)
{
    const QStringList lines = batchLines();
    for (auto _ : state) {
        for (const QString &line : lines)
            benchmark::DoNotOptimize(SplitQuoted(line, u','));
    }
    state.SetItemsProcessed(state.iterations() * lines.size());
}
BENCHMARK(BM_SplitQuotedBatchRows)->Unit(benchmark::kMillisecond)->Apply(RepeatedMinMedianMax);

void BM_Cp1252Decode(benchmark::State &state)
{
    const QByteArray bytes = megabyte();
    for (auto _ : state)
        benchmark::DoNotOptimize(Cp1252::decode(bytes));
    state.SetBytesProcessed(state.iterations() * bytes.size());
}
BENCHMARK(BM_Cp1252Decode)->Unit(benchmark::kMicrosecond)->Apply(RepeatedMinMedianMax);

void BM_Cp1252Encode(benchmark::State &state)
{
    const QString text = Cp1252::decode(megabyte());
    for (auto _ : state)
        benchmark::DoNotOptimize(Cp1252::encode(text));
    state.SetBytesProcessed(state.iterations() * text.size());
}
BENCHMARK(BM_Cp1252Encode)->Unit(benchmark::kMicrosecond)->Apply(RepeatedMinMedianMax);

void BM_LineReaderBatch(benchmark::State &state)
{
    const QByteArray bytes = JoinCrLf(batchLines());
    for (auto _ : state) {
        LineReader reader(bytes);
        qsizetype count = 0;
        while (!reader.atEnd()) {
            benchmark::DoNotOptimize(reader.readLine());
            ++count;
        }
        benchmark::DoNotOptimize(count);
    }
    state.SetBytesProcessed(state.iterations() * bytes.size());
}
BENCHMARK(BM_LineReaderBatch)->Unit(benchmark::kMillisecond)->Apply(RepeatedMinMedianMax);
} // namespace

int main(int argc, char **argv)
{
    return RunInTurn(argc, argv);
}
