// One character typed into the forename box with the forename list at its
// real size (30,000 names, a hundred most-common ones): the key's handlers,
// the case rule, the pick list filled from the list and the grey ghost
// completion, model alone (no window).

#include "app/ProgramObjects.h"
#include "core/Globals.h"
#include "core/LineReader.h"
#include "core/Project.h"
#include "core/ScriptedServices.h"
#include "core/clsEvents.h"
#include "entry/FlexGrid.h"
#include "entry/ForenameBox.h"
#include "entry/RichTextBox.h"
#include "entry/VbKeyCodes.h"
#include "lists/ForeNames.h"
#include "lists/PickListSink.h"
#include "transcription/Transcription.h"

#include "BenchStats.h"
#include "GeneratedForenames.h"

#include "BenchPickList.h"

#include <benchmark/benchmark.h>

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
        gProject->setForePick(true);
        gProject->setBForeGhost(true);
        QFile file(dir.filePath(QStringLiteral("Files/") + ForeNames::NameFileName()));
        const QByteArray bytes = GeneratedForenames::nameFileBytes();
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            std::abort();
        file.close();
        SetPickList(&mPick);
        ProgramObjects::createChangeMonitor();
        ProgramObjects::createForeNames();
        ProgramObjects::createTranscription();
        mGrid.setCols(5);
        mGrid.setRows(4);
        gTranscription->setGrid(&mGrid);
        mGrid.setRowCol(3, 2);
        gCurrentRow = 3;
        gCurrentCol = 2;
        mForename.setControl(&mBox);
        mForename.setColumn(2);
    }
    ~Fixture()
    {
        mForename.setControl(nullptr);
        gTranscription->setGrid(nullptr);
        SetPickList(nullptr);
        ProgramObjects::releaseAll();
    }

    // The box opened on the cell holding text, the caret at its end.
    void open(const QString &text)
    {
        mGrid.setText(text);
        mForename.Show();
        mBox.placeCaret(int(mBox.Text().size()), false);
    }

    RichTextBox &box() { return mBox; }
    int listed() const { return mPick.iCount(); }

private:
    QTemporaryDir mDir;
    BenchPickList mPick;
    FlexGrid mGrid;
    RichTextBox mBox;
    ForenameBox mForename;
};

Fixture &fixture()
{
    static Fixture f;
    return f;
}

// typed: the text already in the box; key: the letter typed.
void BM_ForenameKeystroke(benchmark::State &state, const char *typed, char key)
{
    Fixture &f = fixture();
    const QString before = QString::fromLatin1(typed);
    const QString letter(QChar::fromLatin1(key));
    const int code = VbKeys::vbKeyA + (QChar::fromLatin1(key).toUpper().unicode() - u'A');
    for (auto _ : state) {
        state.PauseTiming();
        f.open(before);
        state.ResumeTiming();
        f.box().pressKey(code, 0, letter);
    }
    state.counters["listed"] = f.listed();
    state.SetLabel(qPrintable(f.box().Text()));
}
BENCHMARK_CAPTURE(BM_ForenameKeystroke, first_letter, "", 'j')->Unit(benchmark::kMicrosecond)->Apply(RepeatedMinMedianMax);
BENCHMARK_CAPTURE(BM_ForenameKeystroke, third_letter, "Jo", 'h')->Unit(benchmark::kMicrosecond)->Apply(RepeatedMinMedianMax);
BENCHMARK_CAPTURE(BM_ForenameKeystroke, fifth_letter, "Mari", 'a')->Unit(benchmark::kMicrosecond)->Apply(RepeatedMinMedianMax);
BENCHMARK_CAPTURE(BM_ForenameKeystroke, second_word, "Mary Ja", 'n')->Unit(benchmark::kMicrosecond)->Apply(RepeatedMinMedianMax);
BENCHMARK_CAPTURE(BM_ForenameKeystroke, no_match, "Jox", 'q')->Unit(benchmark::kMicrosecond)->Apply(RepeatedMinMedianMax);
BENCHMARK_CAPTURE(BM_ForenameKeystroke, wildcard_scan, "*ar", 'd')->Unit(benchmark::kMicrosecond)->Apply(RepeatedMinMedianMax);
// A wildcard at the start goes over the whole list: a common run of
// letters, then one more.
BENCHMARK_CAPTURE(BM_ForenameKeystroke, wildcard_el_then_e, "*el", 'e')
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
