// The header lines a batch starts with, read into the project and built
// back into lines.

#include "FuzzSupport.h"

#include "core/LineReader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    Fuzz::begin();
    Fuzz::newProject();
    LineReader reader(Fuzz::bytes(data, size));
    gProject->GetProjFromFile(reader);
    if (!gProject->Invalid()) {
        QStringList lines;
        gProject->BuildHeaderLines(lines);
        gProject->ShowProject();
    }
    Fuzz::end();
    return 0;
}
