#include <gtest/gtest.h>

#include <set>
#include <thread>

#include "TempFolder.h"
#include "app/MainWindow.h"
#include "platform/base/Exceptions.h"
#include "platform/base/SysUtils.h"

namespace {

TEST(DecodeName, ReplacementsRunInOrderOverTheWholeText)
{
    const struct {
        const wchar_t* in;
        const wchar_t* out;
    } cases[] = {
        {L"Tom&#39;s &amp; Jerry&#039;s", L"Tom's & Jerry's"},
        {L"&QUOT;&#039;", L"&QUOT;'"},  // only the first step ignores case
        {L"a&quot;b&nbsp;c", L"a\"b c"},
        {L"100%2525", L"100%"},         // the percent step runs twice
        {L"%22%26%27%5B%20%5D%3A%2F%3F%3B%3D%2C%2B%7B%7C%7D", L"\"&'[ ]:/?;=,+{|}"},
        {L"a%0Ab%5Cc", L"abc"},
        {L"a\\\\b\\/c", L"ab/c"},
        {L"%3a stays", L"%3a stays"},   // the escapes are exact
        {L"&amp;#39;", L"&#39;"},       // an earlier step does not see later results
        {L"&#&amp;39;", L"&#&39;"},
        {L"", L""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(_decode_name(c.in), c.out) << UTF8Encode(c.in);
}

TEST(DecodeName, SiteVariants)
{
    EXPECT_EQ(_decode_name_break(L"a%5bb%5d%7c%0a%2F"), L"a[b]|%2F");
    EXPECT_EQ(_decode_name_xtube(L"a%7C%7Db\\/c"), L"a|%7Db/c");
    EXPECT_EQ(_decode_name_facebook(L"x\\u00252Fy\\u00255Cz\\u00253D"), L"x/yz=");
    EXPECT_EQ(_decode_name_dailymotion(L"%2525%5C\\\\"), L"%25");
    EXPECT_EQ(_decode_name_metacafe(L"a%5Cb%2F%2Fc"), L"a/b/c");
}

TEST(CleanTitle, StripsCharactersWordsAndBlanks)
{
    const struct {
        const wchar_t* in;
        const wchar_t* out;
    } cases[] = {
        {L"  Rock & Roll: Live - Part 2  ", L"Rock & Roll Live  Part 2"},
        {L"a\"b*c-d/e:f?g\\h|i\nj\rk", L"abcdefghijk"},
        {L"My YouTube youtube YOUTUBE yOuTuBe clip", L"My     clip"},
        {L"youyoutubetube", L"youtube"},  // one pass: what the removal joins stays
        {L"\"-:?\"", L""},                // only stripped characters: dropped
        {L"Tab\there\x01\x7f\x85 end", L"Tabhere end"},
        {L".", L""},
        {L" .. ", L""},
        {L"...", L"..."},
        {L"Crème brûlée 日本", L"Crème brûlée 日本"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(clean_title(c.in), c.out) << UTF8Encode(c.in);
}

TEST(CleanTitle, LongTitlesFitAFileNameWithTheirExtension)
{
    // Two-byte characters: the cut must fall on a character boundary.
    const String title(400, L'é');
    const String t = clean_title(title);
    EXPECT_LE(UTF8Encode(t).size(), kMaxTitleBytes);
    EXPECT_EQ(UTF8Encode(t).size(), kMaxTitleBytes);
    EXPECT_LE(UTF8Encode(t + L"_abc.mpeg").size(), 255u);

    const String mixed = L"a" + String(300, L'語');
    const String m = clean_title(mixed);
    EXPECT_LE(UTF8Encode(m).size(), kMaxTitleBytes);
    EXPECT_EQ(UTF8ToString(UTF8Encode(m)), m);  // valid UTF-8 throughout

    // Blanks left at the cut are trimmed.
    const String spaced = String(kMaxTitleBytes - 1, L'x') + L"  tail";
    EXPECT_EQ(clean_title(spaced), String(kMaxTitleBytes - 1, L'x'));
}

TEST(FmtFileSize, BytesKilobytesAndDecimalMegabytes)
{
    TFormatSettingsScope scope;
    FormatSettings.DecimalSeparator = L'.';
    const struct {
        Int64 size;
        const wchar_t* text;
    } cases[] = {
        {0, L"0 b"},          {512, L"512 b"},        {1023, L"1023 b"},
        {1024, L"1 Kb"},      {5000, L"5 Kb"},        {999999, L"977 Kb"},
        {1000000, L"1.00 Mb"}, {1500000, L"1.50 Mb"}, {1073741824, L"1073.74 Mb"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FmtFileSize(c.size), c.text) << c.size;

    FormatSettings.DecimalSeparator = L',';
    EXPECT_EQ(FmtFileSize(1500000), L"1,50 Mb");
}

TEST(FileSize, FirstMatchOrZero)
{
    TTempFolder dir;
    dir.Write("b.flv", std::string(300, 'x'));
    dir.Write("a.flv", std::string(12, 'x'));
    EXPECT_EQ(FileSize(dir.Name() + L"/b.flv"), 300);
    EXPECT_EQ(FileSize(dir.Name() + L"/*.flv"), 12);  // the first in name order
    EXPECT_EQ(FileSize(dir.Name() + L"/none.flv"), 0);
    EXPECT_EQ(FileSize(dir.Name() + L"/missing/b.flv"), 0);
}

TEST(TimeTexts, TimeToSec)
{
    const struct {
        const wchar_t* in;
        double seconds;
    } good[] = {
        {L"00:01:02", 62},     {L"01:00:00", 3600}, {L" 00:00:07.50 ", 7.5},
        {L"00:00:07,25", 7.25}, {L"", 0},           {L"   ", 0},
        {L"1:30", 5400},       {L"26:00:00", 93600},
    };
    for (const auto& c : good)
        EXPECT_DOUBLE_EQ(TimeToSec(c.in), c.seconds) << UTF8Encode(c.in);

    for (const wchar_t* bad : {L"62.50 bi", L"12", L"00:61:00", L"00:00:60", L"a:b:c",
                               L"00:01:02x", L"1:2:3:4", L"00:01:", L"-1:00:00"})
        EXPECT_THROW(TimeToSec(bad), EConvertError) << UTF8Encode(bad);
}

TEST(TimeTexts, SecToTimeAndMSecToTime)
{
    EXPECT_EQ(SecToTime(3725), L"01:02:05");
    EXPECT_EQ(SecToTime(0), L"00:00:00");
    EXPECT_EQ(SecToTime(360000), L"100:00:00");
    EXPECT_EQ(MSecToTime(L"t=3,725,999 ms"), L"01:02:05");
    EXPECT_EQ(MSecToTime(L"000"), L"00:00:00");
    EXPECT_THROW(MSecToTime(L"none"), EConvertError);
    EXPECT_THROW(MSecToTime(L"99999999999999999999999"), EConvertError);
}

TEST(RandomString, PoolsFollowThePatternDigits)
{
    const struct {
        wchar_t digit;
        const char* pool;
    } pools[] = {
        {L'1', "ABCDEFGHIJKLMNOPQRSTUVWXYZ"},
        {L'2', "abcdefghijklmnopqrstuvwxyz"},
        {L'3', "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ"},
        {L'4', "0123456789"},
        {L'5', "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ"},
        {L'6', "0123456789abcdefghijklmnopqrstuvwxyz"},
        {L'9', "0123456789abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ"},
    };
    for (const auto& p : pools) {
        const String s = RandomString(String(2000, p.digit));
        ASSERT_EQ(s.size(), 2000u);
        std::set<wchar_t> seen(s.begin(), s.end());
        const std::string pool = p.pool;
        for (wchar_t c : seen)
            EXPECT_NE(pool.find(static_cast<char>(c)), std::string::npos) << char(p.digit);
        EXPECT_EQ(seen.size(), pool.size()) << "every character of the pool shows up";
    }
    EXPECT_EQ(RandomString(L"").size(), 0u);
}

TEST(RandomString, CallsInQuickSuccessionDiffer)
{
    // Reseeding from the clock at every call gave equal names to two
    // downloads started at once.
    std::set<String> names;
    std::vector<std::thread> threads;
    std::mutex m;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([&] {
            for (int i = 0; i < 250; ++i) {
                String s = RandomString(L"22222222");
                std::lock_guard<std::mutex> g(m);
                names.insert(s);
            }
        });
    for (auto& t : threads)
        t.join();
    EXPECT_EQ(names.size(), 1000u);
}

}  // namespace
