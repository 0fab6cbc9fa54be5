// The crash-recovery work file rebuilt into the header and the grid.

#include "FuzzSupport.h"

#include "entry/FlexGrid.h"
#include "transcription/Transcription.h"
#include "transcription/clsWorkFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    Fuzz::begin();
    Fuzz::newProject();
    ProgramObjects::createChangeMonitor();
    ProgramObjects::createTranscription();
    FlexGrid grid;
    gTranscription->setGrid(&grid);
    {
        clsWorkFile workFile;
        workFile.setGrid(&grid);
        Fuzz::write(clsWorkFile::WorkFilePath(), Fuzz::bytes(data, size));
        workFile.RestoreWorkfile();
        workFile.CloseWork();
    }
    gTranscription->setGrid(nullptr);
    Fuzz::end();
    return 0;
}
