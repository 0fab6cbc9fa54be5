// The batch file (.ZEL) read into the grid: header lines, "+" and "#" lines,
// data lines in every odd form older files hold.

#include "FuzzSupport.h"

#include "entry/FlexGrid.h"
#include "transcription/Transcription.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    Fuzz::begin();
    Fuzz::newProject();
    ProgramObjects::createChangeMonitor();
    ProgramObjects::createTranscription();
    FlexGrid grid;
    gTranscription->setGrid(&grid);
    const QString path = Fuzz::dataPath(QStringLiteral("in/1911B1S0123.ZEL"));
    Fuzz::write(path, Fuzz::bytes(data, size));
    gTranscription->Restore(path);
    gTranscription->setGrid(nullptr);
    Fuzz::end();
    return 0;
}
