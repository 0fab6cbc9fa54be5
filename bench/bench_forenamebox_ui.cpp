// One character typed into the forename box with its window on screen: the
// box's view over the model and the real pick list window, with the
// forename list at its real size (30,000 names). Each keystroke includes
// the handlers, the pick list refilled and the events that repaint the box
// and the list (offscreen platform).

#include "BenchStats.h"
#include "app/ProgramObjects.h"
#include "core/Globals.h"
#include "core/Project.h"
#include "core/ScriptedServices.h"
#include "core/clsEvents.h"
#include "entry/FlexGrid.h"
#include "entry/ForenameBox.h"
#include "entry/RichTextBox.h"
#include "entry/RichTextView.h"
#include "entry/VbKeyCodes.h"
#include "lists/ForeNames.h"
#include "lists/frmPickList.h"
#include "transcription/Transcription.h"

#include "GeneratedForenames.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QFile>
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
        // The pick list window installs itself as the program's pick list.
        mPick = std::make_unique<frmPickList>();
        mPick->show();
        ProgramObjects::createChangeMonitor();
        ProgramObjects::createForeNames();
        ProgramObjects::createTranscription();
        mGrid.setCols(5);
        mGrid.setRows(4);
        gTranscription->setGrid(&mGrid);
        mGrid.setRowCol(3, 2);
        gCurrentRow = 3;
        gCurrentCol = 2;
        mView.setBox(&mBox);
        mView.resize(300, 30);
        mView.show();
        mForename.setControl(&mBox);
        mForename.setColumn(2);
        QCoreApplication::processEvents();
    }
    ~Fixture()
    {
        mForename.setControl(nullptr);
        mView.setBox(nullptr);
        gTranscription->setGrid(nullptr);
        mPick.reset();
        ProgramObjects::releaseAll();
    }

    // The box opened on the cell holding text, the caret at its end, and
    // the windows painted.
    void open(const QString &text)
    {
        mGrid.setText(text);
        mForename.Show();
        mBox.placeCaret(int(mBox.Text().size()), false);
        QCoreApplication::processEvents();
    }

    RichTextBox &box() { return mBox; }
    int listed() const { return mPick->iCount(); }

private:
    QTemporaryDir mDir;
    std::unique_ptr<frmPickList> mPick;
    FlexGrid mGrid;
    RichTextBox mBox;
    RichTextView mView;
    ForenameBox mForename;
};

// Made on first use and released before the application: the windows
// cannot outlive it.
std::unique_ptr<Fixture> gFixture;

Fixture &fixture()
{
    if (!gFixture)
        gFixture = std::make_unique<Fixture>();
    return *gFixture;
}

// typed: the text already in the box; key: the letter typed.
void BM_ForenameKeystrokeOnScreen(benchmark::State &state, const char *typed, char key)
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
        QCoreApplication::processEvents();
    }
    state.counters["listed"] = f.listed();
    state.SetLabel(qPrintable(f.box().Text()));
}
BENCHMARK_CAPTURE(BM_ForenameKeystrokeOnScreen, first_letter, "", 'j')->Unit(benchmark::kMicrosecond)->Apply(RepeatedMinMedianMax);
BENCHMARK_CAPTURE(BM_ForenameKeystrokeOnScreen, third_letter, "Jo", 'h')->Unit(benchmark::kMicrosecond)->Apply(RepeatedMinMedianMax);
BENCHMARK_CAPTURE(BM_ForenameKeystrokeOnScreen, fifth_letter, "Mari", 'a')->Unit(benchmark::kMicrosecond)->Apply(RepeatedMinMedianMax);
BENCHMARK_CAPTURE(BM_ForenameKeystrokeOnScreen, second_word, "Mary Ja", 'n')->Unit(benchmark::kMicrosecond)->Apply(RepeatedMinMedianMax);
BENCHMARK_CAPTURE(BM_ForenameKeystrokeOnScreen, no_match, "Jox", 'q')->Unit(benchmark::kMicrosecond)->Apply(RepeatedMinMedianMax);
BENCHMARK_CAPTURE(BM_ForenameKeystrokeOnScreen, wildcard_scan, "*ar", 'd')->Unit(benchmark::kMicrosecond)->Apply(RepeatedMinMedianMax);
} // namespace

int main(int argc, char **argv)
{
    // No display is needed: the windows paint into memory.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const std::shared_ptr<Script> script = installScriptedServices();
    // No message is expected: one means the set-up is wrong.
    script->onUnexpected = [](const MessageRecord &r) {
        std::fprintf(stderr, "Unexpected message: %s\n", qPrintable(r.prompt));
        std::abort();
    };
    const int code = RunInTurn(argc, argv);
    gFixture.reset();
    return code;
}
