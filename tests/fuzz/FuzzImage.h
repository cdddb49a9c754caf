// Shared by the image decoder targets: a decoded image must be exactly as
// large as it says, and every pixel is read so a short buffer shows.
#pragma once

#include <cstdint>
#include <cstdlib>

#include "platform/gfx/Codecs.h"

inline void FuzzCheckImage(const TImageData& img)
{
    if (img.Width < 0 || img.Height < 0 || img.Width > kMaxImageDimension || img.Height > kMaxImageDimension)
        std::abort();
    if (img.Pixels.size() != size_t(img.Width) * size_t(img.Height)) std::abort();
    volatile uint32_t sum = 0;
    for (uint32_t p : img.Pixels) sum = sum + p;
}
