// Icon and cursor files (BMP and PNG entries), then the pick of the best
// entry the image loader makes.
#include "tests/fuzz/FuzzImage.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    try {
        TIconData ico = DecodeIco(data, size);
        for (const TIconEntry& e : ico.Entries) FuzzCheckImage(e.Image);
        int best = ico.BestIndex(16, 16);
        if (best < -1 || best >= int(ico.Entries.size())) std::abort();
    } catch (const EInvalidGraphic&) {
    }
    try {
        FuzzCheckImage(DecodeImage(data, size));
    } catch (const EInvalidGraphic&) {
    }
    return 0;
}
