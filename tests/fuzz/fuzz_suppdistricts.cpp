// The supplementary district file (the transcriber's own districts): the
// first byte picks the period, the rest is the file.

#include "DistrictsFuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    Fuzz::readDistricts(data[0],
                        QByteArray("Zeals|1837|1|9999|4|0|5A|0|0|0\r\n"
                                   "Ashford|1837|1|9999|4|0|5A|5A|5A|5A\r\n"
                                   "Bath|1837|1|1946|2|5C|5C|0|0|0\r\n"),
                        Fuzz::bytes(data + 1, size - 1));
    return 0;
}
