// Bounds-checked little-endian reading shared by the codec sources.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/base/Exceptions.h"

// Every access is checked against the buffer; a read past its end raises
// EInvalidGraphic with the format's "truncated" message.
class TByteReader {
public:
    TByteReader(const uint8_t* data, size_t size, const wchar_t* truncatedMsg)
        : FData(data), FSize(size), FMsg(truncatedMsg) {}

    size_t Size() const { return FSize; }
    const uint8_t* Data() const { return FData; }
    bool Has(size_t off, size_t len) const { return off <= FSize && len <= FSize - off; }
    void Need(size_t off, size_t len) const
    {
        if (!Has(off, len)) throw EInvalidGraphic(FMsg);
    }
    uint8_t U8(size_t off) const { Need(off, 1); return FData[off]; }
    uint16_t U16(size_t off) const
    {
        Need(off, 2);
        return uint16_t(FData[off] | (FData[off + 1] << 8));
    }
    uint32_t U32(size_t off) const
    {
        Need(off, 4);
        return uint32_t(FData[off]) | (uint32_t(FData[off + 1]) << 8) |
               (uint32_t(FData[off + 2]) << 16) | (uint32_t(FData[off + 3]) << 24);
    }
    int32_t I32(size_t off) const { return int32_t(U32(off)); }
    [[noreturn]] void Fail() const { throw EInvalidGraphic(FMsg); }

private:
    const uint8_t* FData;
    size_t FSize;
    const wchar_t* FMsg;
};

inline void PutU16(uint8_t* p, uint32_t v) { p[0] = uint8_t(v); p[1] = uint8_t(v >> 8); }
inline void PutU32(uint8_t* p, uint32_t v)
{
    p[0] = uint8_t(v); p[1] = uint8_t(v >> 8); p[2] = uint8_t(v >> 16); p[3] = uint8_t(v >> 24);
}
