#include "platform/base/Types.h"

#include <algorithm>

bool IntersectRect(TRect& dst, const TRect& a, const TRect& b)
{
    TRect r{std::max(a.Left, b.Left), std::max(a.Top, b.Top),
            std::min(a.Right, b.Right), std::min(a.Bottom, b.Bottom)};
    if (IsRectEmpty(r)) {
        dst = {};
        return false;
    }
    dst = r;
    return true;
}

bool UnionRect(TRect& dst, const TRect& a, const TRect& b)
{
    if (IsRectEmpty(a)) {
        dst = b;
    } else if (IsRectEmpty(b)) {
        dst = a;
    } else {
        dst = {std::min(a.Left, b.Left), std::min(a.Top, b.Top),
               std::max(a.Right, b.Right), std::max(a.Bottom, b.Bottom)};
    }
    if (IsRectEmpty(dst)) {
        dst = {};
        return false;
    }
    return true;
}

Integer MulDiv(Integer a, Integer b, Integer c)
{
    if (c == 0) return -1;
    int64_t p = int64_t(a) * int64_t(b);
    int64_t half = (c > 0 ? c : -int64_t(c)) / 2;
    bool neg = (p < 0) != (c < 0);
    int64_t ap = p < 0 ? -p : p;
    int64_t ac = c < 0 ? -int64_t(c) : c;
    int64_t q = (ap + half) / ac;
    return Integer(neg ? -q : q);
}

std::string UTF8Encode(const String& s)
{
    std::string out;
    out.reserve(s.size());
    for (size_t i = 0; i < s.size(); ++i) {
        uint32_t c = uint32_t(s[i]);
        if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) c = 0xFFFD;
        if (c < 0x80) {
            out += char(c);
        } else if (c < 0x800) {
            out += char(0xC0 | (c >> 6));
            out += char(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += char(0xE0 | (c >> 12));
            out += char(0x80 | ((c >> 6) & 0x3F));
            out += char(0x80 | (c & 0x3F));
        } else {
            out += char(0xF0 | (c >> 18));
            out += char(0x80 | ((c >> 12) & 0x3F));
            out += char(0x80 | ((c >> 6) & 0x3F));
            out += char(0x80 | (c & 0x3F));
        }
    }
    return out;
}

// Malformed sequences become U+FFFD; decoding never reads past the end.
String UTF8ToString(const std::string& s)
{
    String out;
    out.reserve(s.size());
    size_t i = 0, n = s.size();
    while (i < n) {
        unsigned char b = static_cast<unsigned char>(s[i]);
        uint32_t c;
        size_t len;
        if (b < 0x80) { c = b; len = 1; }
        else if ((b & 0xE0) == 0xC0) { c = b & 0x1F; len = 2; }
        else if ((b & 0xF0) == 0xE0) { c = b & 0x0F; len = 3; }
        else if ((b & 0xF8) == 0xF0) { c = b & 0x07; len = 4; }
        else { out += wchar_t(0xFFFD); ++i; continue; }
        if (i + len > n) { out += wchar_t(0xFFFD); ++i; continue; }
        bool ok = true;
        for (size_t k = 1; k < len; ++k) {
            unsigned char cb = static_cast<unsigned char>(s[i + k]);
            if ((cb & 0xC0) != 0x80) { ok = false; break; }
            c = (c << 6) | (cb & 0x3F);
        }
        static const uint32_t minFor[5] = {0, 0, 0x80, 0x800, 0x10000};
        if (!ok || c < minFor[len] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
            out += wchar_t(0xFFFD);
            ++i;
            continue;
        }
        out += wchar_t(c);
        i += len;
    }
    return out;
}
