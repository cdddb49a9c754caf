#include "tests/fuzz/FuzzImage.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    try {
        FuzzCheckImage(DecodeJpeg(data, size));
    } catch (const EInvalidGraphic&) {
    }
    return 0;
}
