// Shared helpers of the picture and GDI+ wrapper tests: fixture bytes, COM
// streams over them, and pixels read back from a GDI+ bitmap.
#pragma once

#include <cstring>
#include <fstream>
#include <iterator>
#include <string>

#include "platform/base/ComObj.h"
#include "platform/base/Types.h"

namespace picture_test {

inline std::string PicturePath(const std::string& name)
{
    return std::string(VEL_TEST_DATA_DIR) + "/pictures/" + name;
}

inline TBytes ReadPicture(const std::string& name)
{
    std::ifstream in(PicturePath(name), std::ios::binary);
    return TBytes(std::istreambuf_iterator<char>(in), {});
}

// A stream over a movable global block holding the bytes.
inline TComPtr<IStream> StreamOf(const TBytes& bytes)
{
    HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
    if (!bytes.empty()) {
        std::memcpy(GlobalLock(h), bytes.data(), bytes.size());
        GlobalUnlock(h);
    }
    TComPtr<IStream> s;
    CreateStreamOnHGlobal(h, 1, s.ReleaseAndGetAddressOf());
    return s;
}

// Colours within a few units per channel (JPEG, scaling).
inline bool Near(uint32_t a, uint32_t b, int tolerance = 6)
{
    for (int shift = 0; shift < 24; shift += 8) {
        const int d = int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF);
        if (d > tolerance || d < -tolerance) return false;
    }
    return true;
}

}  // namespace picture_test
