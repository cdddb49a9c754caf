#include "platform/base/Unicode.h"

#include <glib.h>

namespace {

constexpr uint32_t kLastCodePoint = 0x10FFFF;

// Appends the canonical decomposition of ch through out(c); answers how many
// characters it gave.
template <typename Out>
size_t Decompose(Char ch, Out&& out)
{
    uint32_t code = uint32_t(ch);
    if (code < 0xC0 || code > kLastCodePoint) {   // nothing below U+00C0 decomposes
        out(ch);
        return 1;
    }
    gunichar parts[G_UNICHAR_MAX_DECOMPOSITION_LENGTH];
    gsize n = g_unichar_fully_decompose(gunichar(code), FALSE, parts, G_UNICHAR_MAX_DECOMPOSITION_LENGTH);
    if (n == 0) {
        out(ch);
        return 1;
    }
    for (gsize i = 0; i < n; ++i) out(Char(parts[i]));
    return n;
}

}  // namespace

int FoldStringW(DWORD mapFlags, const Char* src, int srcLen, Char* dest, int destLen)
{
    if (mapFlags != MAP_COMPOSITE || !src || srcLen == 0 || srcLen < -1 || destLen < 0) return 0;
    size_t count = srcLen == -1 ? std::char_traits<Char>::length(src) + 1 : size_t(srcLen);
    if (destLen == 0) {
        size_t need = 0;
        for (size_t i = 0; i < count; ++i) need += Decompose(src[i], [](Char) {});
        return need > size_t(INT32_MAX) ? 0 : int(need);
    }
    if (!dest) return 0;
    size_t written = 0;
    bool overflow = false;
    for (size_t i = 0; i < count && !overflow; ++i)
        Decompose(src[i], [&](Char c) {
            if (written < size_t(destLen)) dest[written++] = c;
            else overflow = true;
        });
    return overflow ? 0 : int(written);
}

String FoldComposite(const String& s)
{
    String out;
    out.reserve(s.size());
    for (Char ch : s) Decompose(ch, [&](Char c) { out += c; });
    return out;
}

bool IsUnicodeNumber(Char ch)
{
    uint32_t code = uint32_t(ch);
    if (code < 0x80) return code >= '0' && code <= '9';
    if (code > kLastCodePoint) return false;
    switch (g_unichar_type(gunichar(code))) {
    case G_UNICODE_DECIMAL_NUMBER:
    case G_UNICODE_LETTER_NUMBER:
    case G_UNICODE_OTHER_NUMBER:
        return true;
    default:
        return false;
    }
}
