// Every frame as stored, then every frame composited as shown.
#include "tests/fuzz/FuzzImage.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    try {
        TGifData gif = DecodeGif(data, size);
        for (const TGifFrame& f : gif.Frames) FuzzCheckImage(f.Image);
        for (const TImageData& img : GifCompositeAll(gif)) {
            if (img.Width != gif.ScreenWidth || img.Height != gif.ScreenHeight) std::abort();
            FuzzCheckImage(img);
        }
    } catch (const EInvalidGraphic&) {
    }
    return 0;
}
