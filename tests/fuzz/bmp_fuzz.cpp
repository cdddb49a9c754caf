// BMP files, and the same bytes as a bare DIB with and without the icon
// AND mask.
#include "tests/fuzz/FuzzImage.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    try {
        FuzzCheckImage(DecodeBmp(data, size));
    } catch (const EInvalidGraphic&) {
    }
    for (bool mask : {false, true}) {
        try {
            FuzzCheckImage(DecodeDib(data, size, mask));
        } catch (const EInvalidGraphic&) {
        }
    }
    return 0;
}
