// The settings file (Pelkarini.txt): every key read, then written back.

#include "FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    Fuzz::begin();
    Fuzz::newProject();
    Fuzz::write(Fuzz::dataPath(QStringLiteral("Pelkarini.txt")), Fuzz::bytes(data, size));
    if (gProject->GetRegistryValues())
        gProject->SetRegistryValues();
    Fuzz::end();
    return 0;
}
