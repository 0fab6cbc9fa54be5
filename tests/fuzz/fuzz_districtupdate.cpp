// The district file the server sends: checked, installed over the current
// one and read back into the district table.

#include "FuzzSupport.h"

#include "lists/Districts.h"
#include "upload/DistrictUpdate.h"
#include "upload/UploadLog.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    Fuzz::begin();
    Fuzz::newProject();
    gProject->setIYear(1911);
    gProject->setQtr(3);
    gProject->setIVnf(1);
    Fuzz::write(Fuzz::dataPath(QStringLiteral("Files/Pelkar_Districts.txt")),
                "Zeals|1837|1|9999|4|0|5A|0|0|0\r\n");
    ProgramObjects::createDistricts();
    const QString text = Cp1252::decode(Fuzz::bytes(data, size));
    DistrictFileBytes(text);
    UploadLog log;
    InstallDistrictFile(text, QStringLiteral("7"), log);
    Fuzz::end();
    return 0;
}
