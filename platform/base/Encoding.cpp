#include "platform/base/Encoding.h"
#include "platform/base/EncodingNames.h"

#include <algorithm>
#include <cwctype>

namespace {

constexpr uint32_t kReplacement = 0xFFFD;

// Windows-1252 bytes 0x80..0x9F. The five bytes the code page leaves
// undefined map to the C1 control with the same number, so every byte
// survives a round trip.
constexpr uint16_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

int Cp1252Byte(uint32_t c)
{
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return int(c);
    for (int i = 0; i < 32; ++i)
        if (kCp1252High[i] == c) return 0x80 + i;
    return -1;
}

// A code point the UTF encodings carry (not a lone surrogate).
bool IsScalar(uint32_t c) { return c <= 0x10FFFF && !(c >= 0xD800 && c <= 0xDFFF); }

class TLatin1Encoding final : public TEncoding {
public:
    TBytes GetBytes(const String& s) const override
    {
        TBytes out;
        out.reserve(s.size());
        for (Char ch : s) out.push_back(uint32_t(ch) <= 0xFF ? Byte(ch) : Byte('?'));
        return out;
    }
    String GetString(const Byte* data, size_t size) const override
    {
        String out;
        out.reserve(size);
        for (size_t i = 0; i < size; ++i) out += Char(data[i]);
        return out;
    }
    Cardinal CodePage() const override { return 28591; }
    String EncodingName() const override { return L"Western European (ISO)"; }
};

class TAnsiEncoding final : public TEncoding {
public:
    TBytes GetBytes(const String& s) const override
    {
        TBytes out;
        out.reserve(s.size());
        for (Char ch : s) {
            int b = Cp1252Byte(uint32_t(ch));
            out.push_back(b < 0 ? Byte('?') : Byte(b));
        }
        return out;
    }
    String GetString(const Byte* data, size_t size) const override
    {
        String out;
        out.reserve(size);
        for (size_t i = 0; i < size; ++i) {
            Byte b = data[i];
            out += (b >= 0x80 && b < 0xA0) ? Char(kCp1252High[b - 0x80]) : Char(b);
        }
        return out;
    }
    Cardinal CodePage() const override { return 1252; }
    String EncodingName() const override { return L"Western European (Windows)"; }
};

class TAsciiEncoding final : public TEncoding {
public:
    TBytes GetBytes(const String& s) const override
    {
        TBytes out;
        out.reserve(s.size());
        for (Char ch : s) out.push_back(uint32_t(ch) < 0x80 ? Byte(ch) : Byte('?'));
        return out;
    }
    String GetString(const Byte* data, size_t size) const override
    {
        String out;
        out.reserve(size);
        for (size_t i = 0; i < size; ++i) out += data[i] < 0x80 ? Char(data[i]) : L'?';
        return out;
    }
    Cardinal CodePage() const override { return 20127; }
    String EncodingName() const override { return L"US-ASCII"; }
};

class TUTF8Encoding final : public TEncoding {
public:
    TBytes GetBytes(const String& s) const override
    {
        std::string u = UTF8Encode(s);
        return TBytes(u.begin(), u.end());
    }
    String GetString(const Byte* data, size_t size) const override
    {
        return UTF8ToString(std::string(reinterpret_cast<const char*>(data), size));
    }
    TBytes GetPreamble() const override { return {0xEF, 0xBB, 0xBF}; }
    Cardinal CodePage() const override { return 65001; }
    String EncodingName() const override { return L"Unicode (UTF-8)"; }
};

class TUTF16Encoding final : public TEncoding {
public:
    explicit TUTF16Encoding(bool bigEndian) : FBigEndian(bigEndian) {}

    TBytes GetBytes(const String& s) const override
    {
        TBytes out;
        out.reserve(s.size() * 2);
        auto put = [&](uint32_t u) {
            Byte hi = Byte(u >> 8), lo = Byte(u & 0xFF);
            if (FBigEndian) { out.push_back(hi); out.push_back(lo); }
            else { out.push_back(lo); out.push_back(hi); }
        };
        for (Char ch : s) {
            uint32_t c = uint32_t(ch);
            if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) c = kReplacement;
            if (c >= 0x10000) {
                c -= 0x10000;
                put(0xD800 + (c >> 10));
                put(0xDC00 + (c & 0x3FF));
            } else {
                put(c);
            }
        }
        return out;
    }
    String GetString(const Byte* data, size_t size) const override
    {
        String out;
        out.reserve(size / 2 + 1);
        auto unit = [&](size_t i) -> uint32_t {
            return FBigEndian ? (uint32_t(data[i]) << 8) | data[i + 1] : (uint32_t(data[i + 1]) << 8) | data[i];
        };
        size_t i = 0;
        while (i + 1 < size) {
            uint32_t u = unit(i);
            i += 2;
            if (u >= 0xD800 && u <= 0xDBFF) {
                if (i + 1 < size) {
                    uint32_t v = unit(i);
                    if (v >= 0xDC00 && v <= 0xDFFF) {
                        i += 2;
                        out += Char(0x10000 + ((u - 0xD800) << 10) + (v - 0xDC00));
                        continue;
                    }
                }
                out += Char(kReplacement);
            } else if (u >= 0xDC00 && u <= 0xDFFF) {
                out += Char(kReplacement);
            } else {
                out += Char(u);
            }
        }
        if (i < size) out += Char(kReplacement);   // odd trailing byte
        return out;
    }
    TBytes GetPreamble() const override
    {
        return FBigEndian ? TBytes{0xFE, 0xFF} : TBytes{0xFF, 0xFE};
    }
    Cardinal CodePage() const override { return FBigEndian ? 1201 : 1200; }
    String EncodingName() const override
    {
        return FBigEndian ? L"Unicode (Big-Endian)" : L"Unicode";
    }

private:
    bool FBigEndian;
};

bool StartsWith(const TBytes& buffer, const TBytes& prefix)
{
    return !prefix.empty() && buffer.size() >= prefix.size() &&
           std::equal(prefix.begin(), prefix.end(), buffer.begin());
}

}  // namespace

TEncoding* TEncoding::Default() { return ANSI(); }

TEncoding* TEncoding::ANSI()
{
    static TAnsiEncoding e;
    return &e;
}

TEncoding* TEncoding::UTF8()
{
    static TUTF8Encoding e;
    return &e;
}

TEncoding* TEncoding::Unicode()
{
    static TUTF16Encoding e(false);
    return &e;
}

TEncoding* TEncoding::BigEndianUnicode()
{
    static TUTF16Encoding e(true);
    return &e;
}

TEncoding* TEncoding::ASCII()
{
    static TAsciiEncoding e;
    return &e;
}

TEncoding* Latin1Encoding()
{
    static TLatin1Encoding e;
    return &e;
}

TEncoding* GetEncodingByName(const String& name)
{
    String n;
    for (Char c : name) {
        if (c == L' ' || c == L'\t') continue;
        n += Char(std::towlower(wint_t(c)));
    }
    static const struct {
        const wchar_t* Name;
        TEncoding* (*Get)();
    } kNames[] = {
        {L"iso-8859-1", &Latin1Encoding},  {L"iso8859-1", &Latin1Encoding},
        {L"iso_8859-1", &Latin1Encoding},  {L"latin1", &Latin1Encoding},
        {L"latin-1", &Latin1Encoding},     {L"l1", &Latin1Encoding},
        {L"windows-1252", &TEncoding::ANSI},  {L"cp1252", &TEncoding::ANSI},
        {L"utf-8", &TEncoding::UTF8},         {L"utf8", &TEncoding::UTF8},
        {L"utf-16", &TEncoding::Unicode},     {L"utf-16le", &TEncoding::Unicode},
        {L"utf-16be", &TEncoding::BigEndianUnicode},
        {L"us-ascii", &TEncoding::ASCII},     {L"ascii", &TEncoding::ASCII},
    };
    for (const auto& e : kNames)
        if (n == e.Name) return e.Get();
    return nullptr;
}

bool EncodingCanEncode(const TEncoding* encoding, Char c)
{
    const uint32_t u = uint32_t(c);
    switch (encoding->CodePage()) {
    case 28591: return u <= 0xFF;
    case 1252: return Cp1252Byte(u) >= 0;
    case 20127: return u < 0x80;
    case 65001:
    case 1200:
    case 1201: return IsScalar(u);
    default: {
        const String one(1, c);
        return encoding->GetString(encoding->GetBytes(one)) == one;
    }
    }
}

String TEncoding::GetString(const TBytes& bytes, Integer index, Integer count) const
{
    if (index < 0 || count <= 0 || size_t(index) >= bytes.size()) return String();
    size_t n = std::min(size_t(count), bytes.size() - size_t(index));
    return GetString(bytes.data() + index, n);
}

Integer TEncoding::GetBufferEncoding(const TBytes& buffer, TEncoding*& encoding, TEncoding* defaultEncoding)
{
    if (encoding) {
        TBytes pre = encoding->GetPreamble();
        return StartsWith(buffer, pre) ? Integer(pre.size()) : 0;
    }
    for (TEncoding* e : {UTF8(), Unicode(), BigEndianUnicode()}) {
        TBytes pre = e->GetPreamble();
        if (StartsWith(buffer, pre)) {
            encoding = e;
            return Integer(pre.size());
        }
    }
    encoding = defaultEncoding ? defaultEncoding : Default();
    return 0;
}

AnsiString StringToAnsi(const String& s)
{
    TBytes b = TEncoding::ANSI()->GetBytes(s);
    return AnsiString(b.begin(), b.end());
}

String AnsiToString(const AnsiString& s)
{
    return TEncoding::ANSI()->GetString(reinterpret_cast<const Byte*>(s.data()), s.size());
}
