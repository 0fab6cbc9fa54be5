// A stand-in for a transcriber's run, for the crash-recovery tests: loads a
// batch into the grid, mirrors it into the work file and edits it through
// the model's own operations, one step at a time. After each step, when
// the work file is on disk, it prints the grid ("row N" and the cells of
// columns 1 on, TAB-separated) and "ready N", then waits for a line on
// stdin before the next step, so that a test can kill it with SIGKILL
// between any two steps. The last step is followed by a clean end that
// keeps the work file (as a crash would).
//
// crash_writer <data folder> <batch file>

#include "app/ProgramObjects.h"
#include "core/Globals.h"
#include "core/Project.h"
#include "core/ScriptedServices.h"
#include "core/Services.h"
#include "core/SettingsFileStore.h"
#include "entry/FlexGrid.h"
#include "transcription/Transcription.h"
#include "transcription/clsWorkFile.h"

#include <QDateTime>
#include <QDir>
#include <QGuiApplication>

#include <cstdio>
#include <iostream>
#include <string>

namespace {

// The header lines carry the day of the last change: the program started
// after this one must see the same day.
class SystemClock : public Clock
{
public:
    QDateTime now() override { return QDateTime::currentDateTime(); }
};

void report(int step, const FlexGrid &grid)
{
    for (int row = 1; row < grid.Rows(); ++row) {
        QStringList cells;
        for (int col = 1; col < grid.Cols(); ++col)
            cells << grid.TextMatrix(row, col);
        std::printf("row %d\t%s\n", row, cells.join(QLatin1Char('\t')).toUtf8().constData());
    }
    std::printf("ready %d\n", step);
    std::fflush(stdout);
}

bool nextStep()
{
    std::string line;
    return bool(std::getline(std::cin, line));
}

} // namespace

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    QGuiApplication::setApplicationName(QStringLiteral("Pelkar"));
    if (argc != 3) {
        std::fprintf(stderr, "usage: crash_writer <data folder> <batch file>\n");
        return 2;
    }
    const QString data = QString::fromLocal8Bit(argv[1]);
    const QString batch = QString::fromLocal8Bit(argv[2]);

    // Any message would mean the load or an edit went wrong.
    auto script = installScriptedServices();
    Services::install(std::make_unique<SystemClock>());
    int failures = 0;
    script->onUnexpected = [&failures](const MessageRecord &r) {
        std::fprintf(stderr, "message: %s\n", r.prompt.toUtf8().constData());
        ++failures;
    };

    ProgramObjects::createEvents();
    ProgramObjects::createProject();
    ProgramObjects::createChangeMonitor();
    ProgramObjects::createTranscription();
    ProgramObjects::createWorkFile();
    gProject->setDataPath(data);
    gProject->setFilesPath(QDir(data).filePath(QStringLiteral("Files")));
    ClearIniStore();
    if (!gProject->GetRegistryValues())
        return 1;

    FlexGrid grid;
    gTranscription->setGrid(&grid);
    gWorkFile->setGrid(&grid);
    ProgramObjects::bindBatchFileHooks();

    // 1: the batch loaded and written whole.
    if (!gTranscription->Restore(batch) || failures > 0)
        return 1;
    report(1, grid);
    if (!nextStep())
        return 0;

    // 2: a cell edited and its row written alone.
    grid.setTextMatrix(3, gTranscription->ForenamesCol(), QStringLiteral("Ann Maria"));
    if (!gWorkFile->SaveRowToWork(3))
        return 1;
    report(2, grid);
    if (!nextStep())
        return 0;

    // 3: a row added at the end and written.
    gTranscription->AddRow();
    const int added = grid.Rows() - 1;
    grid.setTextMatrix(added, gTranscription->SurnameCol(), QStringLiteral("ZEAL"));
    grid.setTextMatrix(added, gTranscription->ForenamesCol(), QStringLiteral("Tom, Jack"));
    grid.setTextMatrix(added, gTranscription->DistrictCol(), QStringLiteral("Leeds,9b"));
    grid.setTextMatrix(added, gTranscription->PageCol(), QStringLiteral("13"));
    if (!gWorkFile->SaveRowToWork(added))
        return 1;
    report(3, grid);
    if (!nextStep())
        return 0;

    // 4: the row deleted again.
    if (!gWorkFile->DeleteWorkRow(added))
        return 1;
    grid.setRows(added);
    report(4, grid);
    nextStep();

    // Leave the file behind as a crash would: the object is never released.
    gTranscription->setGrid(nullptr);
    std::fflush(stdout);
    std::_Exit(0);
}
