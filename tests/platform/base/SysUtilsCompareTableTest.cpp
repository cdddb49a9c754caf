// The collation and the logical comparison against their first versions
// (SysUtilsReference.cpp) over a large table of random texts and of texts
// made to differ only a little: case, accents, ligatures, leading zeros.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "SysUtilsReference.h"
#include "platform/base/SysUtils.h"

namespace {

// Characters from every kind the collation treats apart.
const std::vector<Char>& Pool()
{
    static const std::vector<Char> pool = [] {
        std::vector<Char> p;
        for (Char c = L' '; c < 0x7F; ++c) p.push_back(c);
        for (Char c = L'a'; c <= L'z'; ++c) p.push_back(c);   // letters more often
        for (Char c = 0xA0; c < 0x180; ++c) p.push_back(c);   // accents, ligatures, sharp s
        for (Char c : {0x130, 0x131, 0x17F, 0x180, 0x1C4, 0x1E9E, 0x1EA0, 0x1EF9, 0x386, 0x391, 0x3A3, 0x3B1,
                       0x3C2, 0x3C3, 0x3CC, 0x410, 0x430, 0x451, 0x401, 0x4D0, 0x4D1, 0x531, 0x561, 0x5D0,
                       0x2013, 0x20AC, 0x2122, 0x3001, 0x4E2D, 0x6587, 0xFE31, 0xFF21, 0xFF41, 0x1F600,
                       0x10400, 0x10428})
            p.push_back(Char(c));
        return p;
    }();
    return pool;
}

String RandomText(std::mt19937& rng)
{
    const auto& pool = Pool();
    String s;
    size_t n = rng() % 20;
    for (size_t i = 0; i < n; ++i) {
        if (rng() % 6 == 0) {
            // A run of digits, sometimes with leading zeros.
            size_t k = 1 + rng() % 6;
            for (size_t j = 0; j < k; ++j) s += Char(L'0' + (j == 0 && rng() % 3 == 0 ? 0 : rng() % 10));
        } else {
            s += pool[rng() % pool.size()];
        }
    }
    return s;
}

// A copy of s changed a little, so that most comparisons run deep.
String Variant(const String& s, std::mt19937& rng)
{
    String t = s;
    int edits = 1 + int(rng() % 3);
    for (int e = 0; e < edits; ++e) {
        size_t at = t.empty() ? 0 : rng() % t.size();
        switch (rng() % 9) {
        case 0: if (!t.empty()) t[at] = AnsiUpperChar(t[at]); break;
        case 1: if (!t.empty()) t[at] = AnsiLowerChar(t[at]); break;
        case 2: {   // the same letter with another accent, or none
            static const String family[] = {L"e\u00E8\u00E9\u00EA\u00EBE\u00C8\u00C9\u0113\u0117\u011B",
                                            L"a\u00E0\u00E1\u00E2\u00E4\u00E5A\u00C5\u00E6\u00C6",
                                            L"o\u00F6\u00F8\u0153\u0152\u00D6O", L"s\u00DF\u015B\u0161S\u017F",
                                            L"d\u00F0\u0111D\u00D0\u010F", L"t\u00FE\u0165\u00DET"};
            const String& f = family[rng() % std::size(family)];
            if (!t.empty()) t[at] = f[rng() % f.size()];
            break;
        }
        case 3: t.insert(at, L"ss"); break;
        case 4: t.insert(at, 1, L'0'); break;
        case 5: if (!t.empty()) t.erase(at, 1); break;
        case 6: t.insert(at, 1, Pool()[rng() % Pool().size()]); break;
        case 7: if (!t.empty()) t.resize(at); break;
        default: break;   // unchanged
        }
    }
    return t;
}

std::string Show(const String& s)
{
    std::string r;
    for (Char c : s) r += c >= 0x20 && c < 0x7F ? std::string(1, char(c)) : "\\u" + std::to_string(uint32_t(c));
    return r;
}

}  // namespace

TEST(SysUtilsCompareTable, RandomTextsCompareAsTheFirstVersion)
{
    std::mt19937 rng(424242);
    int mismatches = 0;
    auto check = [&](const String& a, const String& b) {
        Integer text = AnsiCompareText(a, b), wantText = reference::OldAnsiCompareText(a, b);
        Integer str = AnsiCompareStr(a, b), wantStr = reference::OldAnsiCompareStr(a, b);
        Integer logical = StrCmpLogicalW(a.c_str(), b.c_str());
        Integer wantLogical = reference::OldStrCmpLogicalW(a.c_str(), b.c_str());
        if (text == wantText && str == wantStr && logical == wantLogical) return;
        if (++mismatches <= 20)
            ADD_FAILURE() << "'" << Show(a) << "' vs '" << Show(b) << "': text " << text << "/" << wantText
                          << " str " << str << "/" << wantStr << " logical " << logical << "/" << wantLogical;
    };
    for (int i = 0; i < 300000; ++i) {
        String a = RandomText(rng);
        String b = i % 4 == 0 ? RandomText(rng) : Variant(a, rng);
        check(a, b);
        check(b, a);
    }
    const String fixed[] = {L"", L"a", L"A", L"\u00DF", L"ss", L"SS", L"\u00E6", L"ae", L"\u0153uvre", L"oeuvre",
                            L"\u00FE", L"th", L"\u00F0", L"d", L"a01", L"a1", L"a001b", L"a1B", L"x9", L"x10",
                            L"\u0130", L"i", L"\u0131", L"\u00E9t\u00E9", L"ete", L"\u00C9t\u00E9", L"a b", L"a-b"};
    for (auto& a : fixed)
        for (auto& b : fixed) check(a, b);
    EXPECT_EQ(mismatches, 0);
    EXPECT_EQ(StrCmpLogicalW(nullptr, L"a"), reference::OldStrCmpLogicalW(nullptr, L"a"));
    EXPECT_EQ(StrCmpLogicalW(nullptr, nullptr), 0);
}
