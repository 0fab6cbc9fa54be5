// The district file: the first byte picks the period, the rest is the file.

#include "DistrictsFuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    Fuzz::readDistricts(data[0], Fuzz::bytes(data + 1, size - 1),
                        QByteArray("Ashwell,12\r\nAxminster,9B\r\n"));
    return 0;
}
