// Basic types shared by every layer: the wide string, the integer names the
// design uses, points, rectangles and sizes.
#pragma once

#include <cstdint>
#include <string>

using String = std::wstring;
using Char = wchar_t;
using AnsiString = std::string;   // bytes in the single-byte system code page
using RawByteString = std::string;
using UTF8String = std::string;

using Boolean = bool;
using Integer = int32_t;
using Cardinal = uint32_t;
using LongInt = int32_t;
using LongWord = uint32_t;
using ShortInt = int8_t;
using SmallInt = int16_t;
using Word = uint16_t;
using Byte = uint8_t;
using Int64 = int64_t;
using UInt64 = uint64_t;
using NativeInt = intptr_t;
using NativeUInt = uintptr_t;
using Extended = double;
using Single = float;
using Currency = int64_t;        // fixed point, 4 decimals
using TDateTime = double;        // days since 1899-12-30, time as the fraction
using DWORD = uint32_t;
using BOOL = int32_t;
using UINT = uint32_t;
using LONG = int32_t;
using WPARAM = uintptr_t;
using LPARAM = intptr_t;
using LRESULT = intptr_t;

struct TPoint {
    Integer X = 0;
    Integer Y = 0;
    friend bool operator==(const TPoint&, const TPoint&) = default;
};

struct TSize {
    Integer cx = 0;
    Integer cy = 0;
    friend bool operator==(const TSize&, const TSize&) = default;
};

struct TRect {
    Integer Left = 0;
    Integer Top = 0;
    Integer Right = 0;
    Integer Bottom = 0;

    Integer Width() const { return Right - Left; }
    Integer Height() const { return Bottom - Top; }
    TPoint TopLeft() const { return {Left, Top}; }
    TPoint BottomRight() const { return {Right, Bottom}; }
    friend bool operator==(const TRect&, const TRect&) = default;
};

using POINT = TPoint;
using RECT = TRect;
using SIZE = TSize;

inline TPoint Point(Integer x, Integer y) { return {x, y}; }
inline TRect Rect(Integer l, Integer t, Integer r, Integer b) { return {l, t, r, b}; }
inline TRect Bounds(Integer l, Integer t, Integer w, Integer h) { return {l, t, l + w, t + h}; }

// Windows rectangle rules: right and bottom edges are outside.
inline bool PtInRect(const TRect& r, const TPoint& p)
{
    return p.X >= r.Left && p.X < r.Right && p.Y >= r.Top && p.Y < r.Bottom;
}
inline bool IsRectEmpty(const TRect& r) { return r.Right <= r.Left || r.Bottom <= r.Top; }
bool IntersectRect(TRect& dst, const TRect& a, const TRect& b);
bool UnionRect(TRect& dst, const TRect& a, const TRect& b);
inline void OffsetRect(TRect& r, Integer dx, Integer dy)
{
    r.Left += dx; r.Right += dx; r.Top += dy; r.Bottom += dy;
}
inline void InflateRect(TRect& r, Integer dx, Integer dy)
{
    r.Left -= dx; r.Right += dx; r.Top -= dy; r.Bottom += dy;
}
inline bool EqualRect(const TRect& a, const TRect& b) { return a == b; }
inline void SetRect(TRect& r, Integer l, Integer t, Integer rt, Integer b) { r = {l, t, rt, b}; }
inline void SetRectEmpty(TRect& r) { r = {}; }

// A calendar date and time by its parts (wDayOfWeek: 0 Sunday ... 6 Saturday).
struct SYSTEMTIME {
    Word wYear = 0, wMonth = 0, wDayOfWeek = 0, wDay = 0;
    Word wHour = 0, wMinute = 0, wSecond = 0, wMilliseconds = 0;
};
using TSystemTime = SYSTEMTIME;

// a * b / c rounded to nearest, halves away from zero; -1 when c is 0.
Integer MulDiv(Integer a, Integer b, Integer c);

// UTF-8 at the OS boundaries (file names, Pango, libcurl).
std::string UTF8Encode(const String& s);
String UTF8ToString(const std::string& s);
