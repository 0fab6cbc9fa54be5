// One character typed into the district box of the real main window on the
// offscreen platform: the box's handlers, the district case rule, the pick
// list window refilled from the 5,000-line district file and placed under
// the box, the grey ghost completion, and the events that repaint the box
// and the list.

#include "BenchStats.h"
#include "MainWindowBench.h"

#include "core/clsEvents.h"
#include "entry/DistrictBox.h"
#include "entry/FlexGrid.h"
#include "entry/RichTextBox.h"
#include "entry/VbKeyCodes.h"
#include "lists/Districts.h"
#include "lists/frmPickList.h"
#include "core/FormRegistry.h"

#include "GeneratedDistricts.h"

#include <benchmark/benchmark.h>

#include <QApplication>

namespace {

constexpr int kRow = 3;

class Fixture : public MainWindowBench
{
public:
    Fixture()
    {
        gProject->setIYear(1911);
        gProject->setQtr(3);
        gProject->setIVnf(Project::iVNF9z());
        gProject->setPickRows(9);
        gProject->setDistPick(true);
        gProject->setDistPickStd(true);
        gProject->setBDistGhost(true);
        gProject->setDistValidate(true);
        QFile file(QDir(gProject->GetFilePath()).filePath(QStringLiteral("Pelkar_Districts.txt")));
        const QByteArray bytes = GeneratedDistricts::districtFileBytes();
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            std::abort();
        file.close();
        if (!gDistricts->Read_Districts())
            std::abort();
        mPick = qobject_cast<frmPickList *>(FindForm(QStringLiteral("frmPickList")));
        if (!mPick)
            std::abort();
        // Into the district cell through the cell-entry loop.
        window->fgInput().setRowCol(kRow, gTranscription->DistrictCol());
        QCoreApplication::processEvents();
        if (!window->tbDistrict().Visible() || !mPick->isVisible())
            std::abort();
    }

    // The box opened again on the cell holding text, the caret at its end
    // (before the grey completion), and the windows painted.
    void open(const QString &text)
    {
        {
            EventsOffGuard quiet;
            window->fgInput().setTextMatrix(kRow, gTranscription->DistrictCol(), text);
        }
        window->Set_TextBox();
        window->tbDistrict().placeCaret(int(text.size()), false);
        QCoreApplication::processEvents();
    }

    RichTextBox &box() { return window->tbDistrict(); }
    int listed() const { return mPick->iCount(); }
    bool listShown() const { return mPick->isVisible(); }

private:
    frmPickList *mPick = nullptr;
};

// Made on first use and released before the application.
std::unique_ptr<Fixture> gFixture;

Fixture &fixture()
{
    if (!gFixture)
        gFixture = std::make_unique<Fixture>();
    return *gFixture;
}

// typed: the text already in the box; key: the character typed.
void BM_DistrictKeystrokeOnScreen(benchmark::State &state, const char *typed, char key)
{
    Fixture &f = fixture();
    const QString before = QString::fromLatin1(typed);
    const QChar c = QChar::fromLatin1(key);
    const int code = c.isLetter() ? VbKeys::vbKeyA + (c.toUpper().unicode() - u'A')
                                  : int(c.unicode());
    for (auto _ : state) {
        state.PauseTiming();
        f.open(before);
        state.ResumeTiming();
        f.box().pressKey(code, 0, QString(c));
        QCoreApplication::processEvents();
    }
    state.counters["listed"] = f.listed();
    state.counters["list shown"] = f.listShown() ? 1 : 0;
    state.SetLabel(qPrintable(f.box().Text()));
}
// The largest initial, the first letter: the longest list of one letter.
BENCHMARK_CAPTURE(BM_DistrictKeystrokeOnScreen, first_letter, "", 's')->Unit(benchmark::kMicrosecond)->UseRealTime()->Apply(RepeatedMinMedianMax);
BENCHMARK_CAPTURE(BM_DistrictKeystrokeOnScreen, fourth_letter, "Sta", 'n')->Unit(benchmark::kMicrosecond)->UseRealTime()->Apply(RepeatedMinMedianMax);
BENCHMARK_CAPTURE(BM_DistrictKeystrokeOnScreen, name_and_comma, "Stanford 1", ',')
        ->Unit(benchmark::kMicrosecond)->UseRealTime()->Apply(RepeatedMinMedianMax);
BENCHMARK_CAPTURE(BM_DistrictKeystrokeOnScreen, volume_digit, "Stanford 1,", '1')
        ->Unit(benchmark::kMicrosecond)->UseRealTime()->Apply(RepeatedMinMedianMax);
BENCHMARK_CAPTURE(BM_DistrictKeystrokeOnScreen, no_match, "Stx", 'q')->Unit(benchmark::kMicrosecond)->UseRealTime()->Apply(RepeatedMinMedianMax);
} // namespace

int main(int argc, char **argv)
{
    // No display is needed: the windows paint into memory.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // The benchmark's own arguments first: the program takes what is left
    // on its command line for a batch file to open.
    InTurn(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    QApplication app(argc, argv);
    BenchFolder();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    gFixture.reset();
    return 0;
}
