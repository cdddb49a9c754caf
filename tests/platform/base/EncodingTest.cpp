#include <gtest/gtest.h>

#include "platform/base/Encoding.h"
#include "platform/base/EncodingNames.h"
#include "platform/base/SysUtils.h"

namespace {
const String kSample = L"A\u00E9\u20AC\U0001F600";
}

TEST(Encoding, RoundTripsAndExactBytes)
{
    struct { TEncoding* enc; TBytes bytes; } cases[] = {
        {TEncoding::UTF8(), {'A', 0xC3, 0xA9, 0xE2, 0x82, 0xAC, 0xF0, 0x9F, 0x98, 0x80}},
        {TEncoding::Unicode(), {'A', 0, 0xE9, 0, 0xAC, 0x20, 0x3D, 0xD8, 0x00, 0xDE}},
        {TEncoding::BigEndianUnicode(), {0, 'A', 0, 0xE9, 0x20, 0xAC, 0xD8, 0x3D, 0xDE, 0x00}},
    };
    for (auto& c : cases) {
        EXPECT_EQ(c.enc->GetBytes(kSample), c.bytes) << UTF8Encode(c.enc->EncodingName());
        EXPECT_EQ(c.enc->GetString(c.bytes), kSample) << UTF8Encode(c.enc->EncodingName());
    }
}

TEST(Encoding, SingleByteCodePages)
{
    // The euro and the curly quotes live in 0x80..0x9F; what has no byte becomes '?'.
    TBytes ansi = TEncoding::Default()->GetBytes(L"\u20AC\u201Cx\u201D\u00FF\u0101\U0001F600");
    EXPECT_EQ(ansi, (TBytes{0x80, 0x93, 'x', 0x94, 0xFF, '?', '?'}));
    // Every byte survives a round trip, undefined ones included.
    TBytes all(256);
    for (int i = 0; i < 256; ++i) all[i] = Byte(i);
    EXPECT_EQ(TEncoding::ANSI()->GetBytes(TEncoding::ANSI()->GetString(all)), all);
    EXPECT_EQ(AnsiToString(StringToAnsi(L"caf\u00E9 \u20AC")), L"caf\u00E9 \u20AC");

    EXPECT_EQ(TEncoding::ASCII()->GetBytes(L"a\u00E9"), (TBytes{'a', '?'}));
    EXPECT_EQ(TEncoding::ASCII()->GetString(TBytes{'a', 0xE9}), L"a?");
}

TEST(Encoding, MalformedInputBecomesReplacementCharacters)
{
    // Lone surrogates and an odd trailing byte in UTF-16.
    EXPECT_EQ(TEncoding::Unicode()->GetString(TBytes{0x3D, 0xD8, 'a', 0, 0x00, 0xDC, 'b'}), L"\uFFFDa\uFFFD\uFFFD");
    EXPECT_EQ(TEncoding::BigEndianUnicode()->GetString(TBytes{0xD8, 0x3D}), L"\uFFFD");
    EXPECT_EQ(TEncoding::UTF8()->GetString(TBytes{'a', 0xE2, 0x82}), L"a\uFFFD\uFFFD");
    EXPECT_EQ(TEncoding::UTF8()->GetString(TBytes{'a', 'b', 'c'}, 1, 99), L"bc");
    EXPECT_EQ(TEncoding::UTF8()->GetString(TBytes{'a'}, 5, 1), L"");
}

TEST(Encoding, BufferEncodingDetection)
{
    struct { TBytes buffer; TEncoding* want; Integer skip; } cases[] = {
        {{0xEF, 0xBB, 0xBF, 'x'}, TEncoding::UTF8(), 3},
        {{0xFF, 0xFE, 'x', 0}, TEncoding::Unicode(), 2},
        {{0xFE, 0xFF, 0, 'x'}, TEncoding::BigEndianUnicode(), 2},
        {{0xEF, 0xBB}, TEncoding::Default(), 0},   // truncated mark
        {{}, TEncoding::Default(), 0},
        {{'x', 0xFF, 0xFE}, TEncoding::Default(), 0},
    };
    for (auto& c : cases) {
        TEncoding* e = nullptr;
        EXPECT_EQ(TEncoding::GetBufferEncoding(c.buffer, e), c.skip);
        EXPECT_EQ(e, c.want);
    }
    TEncoding* fallback = nullptr;
    EXPECT_EQ(TEncoding::GetBufferEncoding(TBytes{'x'}, fallback, TEncoding::UTF8()), 0);
    EXPECT_EQ(fallback, TEncoding::UTF8());

    // A given encoding only reports its own mark.
    TEncoding* given = TEncoding::Unicode();
    EXPECT_EQ(TEncoding::GetBufferEncoding(TBytes{0xFF, 0xFE, 'x', 0}, given), 2);
    EXPECT_EQ(TEncoding::GetBufferEncoding(TBytes{0xEF, 0xBB, 0xBF}, given), 0);
    EXPECT_EQ(given, TEncoding::Unicode());
    EXPECT_TRUE(TEncoding::ANSI()->GetPreamble().empty());
}

TEST(Encoding, ByNameAndRepresentable)
{
    struct {
        const wchar_t* Name;
        TEncoding* Want;
    } names[] = {
        {L"ISO-8859-1", Latin1Encoding()}, {L"iso-8859-1", Latin1Encoding()},
        {L"Windows-1252", TEncoding::ANSI()}, {L"UTF-8", TEncoding::UTF8()},
        {L"utf-16", TEncoding::Unicode()},    {L"UTF-16BE", TEncoding::BigEndianUnicode()},
        {L"US-ASCII", TEncoding::ASCII()},    {L"KOI8-R", nullptr},
        {L"", nullptr},
    };
    for (const auto& n : names) EXPECT_EQ(GetEncodingByName(n.Name), n.Want) << UTF8Encode(n.Name);

    struct {
        TEncoding* Enc;
        Char C;
        bool Can;
    } chars[] = {
        {Latin1Encoding(), 0xE9, true},     {Latin1Encoding(), 0x80, true},
        {Latin1Encoding(), 0x20AC, false},  {TEncoding::ANSI(), 0x20AC, true},
        {TEncoding::ANSI(), 0x0100, false},    {TEncoding::ASCII(), L'z', true},
        {TEncoding::ASCII(), 0xE9, false},     {TEncoding::UTF8(), 0x1F600, true},
        {TEncoding::UTF8(), 0xD800, false},    {TEncoding::Unicode(), 0x10FFFF, true},
    };
    for (const auto& c : chars) {
        EXPECT_EQ(EncodingCanEncode(c.Enc, c.C), c.Can) << unsigned(c.C);
        // Representable characters survive the round trip.
        if (c.Can) EXPECT_EQ(c.Enc->GetString(c.Enc->GetBytes(String(1, c.C))), String(1, c.C));
    }
    // Latin-1 keeps every byte as its code point.
    TBytes all;
    for (int b = 0; b < 256; ++b) all.push_back(Byte(b));
    const String s = Latin1Encoding()->GetString(all);
    for (int b = 0; b < 256; ++b) EXPECT_EQ(unsigned(s[size_t(b)]), unsigned(b));
    EXPECT_EQ(Latin1Encoding()->GetBytes(s), all);
}
