// One character typed into the district box with the district file at its
// real size (5,000 lines): the key's handlers, the district case rule, the
// pick list filled from the table and the grey ghost completion, model
// alone (no window).

#include "app/ProgramObjects.h"
#include "core/Globals.h"
#include "core/Project.h"
#include "core/ScriptedServices.h"
#include "core/clsEvents.h"
#include "entry/DistrictBox.h"
#include "entry/FlexGrid.h"
#include "entry/RichTextBox.h"
#include "entry/VbKeyCodes.h"
#include "lists/Districts.h"
#include "lists/PickListSink.h"
#include "transcription/Transcription.h"

#include "BenchStats.h"
#include "GeneratedDistricts.h"

#include "BenchPickList.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSettings>
#include <QStringList>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>
#include <memory>

namespace {
class Fixture
{
public:
    Fixture()
    {
        if (!mDir.isValid())
            std::abort();
        // The recent-district lists are stored at release: keep them out of
        // the real user's values.
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, mDir.path());
        const QDir dir(mDir.path());
        dir.mkpath(QStringLiteral("Files"));
        ProgramObjects::createEvents();
        ProgramObjects::createProject();
        gProject->setDataPath(mDir.path());
        gProject->setFilesPath(dir.filePath(QStringLiteral("Files")));
        gProject->setIYear(1911);
        gProject->setQtr(3);
        gProject->setIVnf(Project::iVNF9z());
        gProject->setPickRows(9);
        gProject->setDistPick(true);
        gProject->setDistPickStd(true);
        gProject->setBDistGhost(true);
        gProject->setDistValidate(true);
        QFile file(dir.filePath(QStringLiteral("Files/Pelkar_Districts.txt")));
        const QByteArray bytes = GeneratedDistricts::districtFileBytes();
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            std::abort();
        file.close();
        SetPickList(&mPick);
        ProgramObjects::createChangeMonitor();
        ProgramObjects::createDistricts();
        if (!gDistricts->Read_Districts())
            std::abort();
        ProgramObjects::createTranscription();
        mGrid.setCols(5);
        mGrid.setRows(4);
        gTranscription->setGrid(&mGrid);
        mGrid.setRowCol(3, 3);
        gCurrentRow = 3;
        gCurrentCol = 3;
        mDistrict.setControl(&mBox);
        mDistrict.setColumn(3);
    }
    ~Fixture()
    {
        mDistrict.setControl(nullptr);
        gTranscription->setGrid(nullptr);
        SetPickList(nullptr);
        ProgramObjects::releaseAll();
    }

    // The box opened on the cell holding text, the caret at its end (before
    // the grey completion).
    void open(const QString &text)
    {
        mGrid.setText(text);
        mDistrict.Show();
        mBox.placeCaret(int(text.size()), false);
    }

    RichTextBox &box() { return mBox; }
    int listed() const { return mPick.iCount(); }

private:
    QTemporaryDir mDir;
    BenchPickList mPick;
    FlexGrid mGrid;
    RichTextBox mBox;
    DistrictBox mDistrict;
};

Fixture &fixture()
{
    static Fixture f;
    return f;
}

// typed: the text already in the box; key: the character typed.
void BM_DistrictKeystroke(benchmark::State &state, const char *typed, char key)
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
    }
    state.counters["listed"] = f.listed();
    state.SetLabel(qPrintable(f.box().Text()));
}
// The largest initial, the first letter: the longest list of one letter.
BENCHMARK_CAPTURE(BM_DistrictKeystroke, first_letter, "", 's')->Unit(benchmark::kMicrosecond)->Apply(RepeatedMinMedianMax);
BENCHMARK_CAPTURE(BM_DistrictKeystroke, fourth_letter, "Sta", 'n')->Unit(benchmark::kMicrosecond)->Apply(RepeatedMinMedianMax);
BENCHMARK_CAPTURE(BM_DistrictKeystroke, name_and_comma, "Stanford 1", ',')
        ->Unit(benchmark::kMicrosecond)->Apply(RepeatedMinMedianMax);
BENCHMARK_CAPTURE(BM_DistrictKeystroke, volume_digit, "Stanford 1,", '1')
        ->Unit(benchmark::kMicrosecond)->Apply(RepeatedMinMedianMax);
BENCHMARK_CAPTURE(BM_DistrictKeystroke, no_match, "Stx", 'q')->Unit(benchmark::kMicrosecond)->Apply(RepeatedMinMedianMax);
// The wildcard alone, then a letter: the whole list is gone over.
BENCHMARK_CAPTURE(BM_DistrictKeystroke, wildcard_then_v, "*", 'v')
        ->Unit(benchmark::kMicrosecond)
        ->Apply(RepeatedMinMedianMax);
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
