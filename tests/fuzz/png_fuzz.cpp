// PNG files. The decoder refuses a chunk whose CRC is wrong, which would stop
// nearly every mutation at the first chunk; so the chunks' CRCs are set
// right before decoding, once as given and once mended.
#include <zlib.h>

#include <vector>

#include "tests/fuzz/FuzzImage.h"

namespace {

void Decode(const uint8_t* data, size_t size)
{
    try {
        FuzzCheckImage(DecodePng(data, size));
    } catch (const EInvalidGraphic&) {
    }
}

uint32_t Be32(const uint8_t* p) { return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3]; }

}   // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Decode(data, size);
    std::vector<uint8_t> fixed(data, data + size);
    size_t pos = 8;   // after the signature
    bool changed = false;
    while (pos + 12 <= fixed.size()) {
        uint32_t len = Be32(&fixed[pos]);
        if (len > fixed.size() - pos - 12) break;
        uint8_t* crcAt = &fixed[pos + 8 + len];
        uLong crc = crc32(0, &fixed[pos + 4], uInt(len + 4));
        uint8_t want[4] = {uint8_t(crc >> 24), uint8_t(crc >> 16), uint8_t(crc >> 8), uint8_t(crc)};
        for (int i = 0; i < 4; ++i) {
            changed |= crcAt[i] != want[i];
            crcAt[i] = want[i];
        }
        pos += 12 + size_t(len);
    }
    if (changed) Decode(fixed.data(), fixed.size());
    return 0;
}
