#include <gtest/gtest.h>

#include <algorithm>
#include <fcntl.h>
#include <set>
#include <unistd.h>

#include "TempFolder.h"
#include "app/DownloadJob.h"
#include "app/MainWindow.h"
#include "platform/base/Exceptions.h"
#include "platform/base/SysUtils.h"

namespace {

TEST(ConverterCommandLine, CharacterByCharacter)
{
    const String conv = L"/opt/velmora/kestrix.exe";
    const String in = L"/home/u/Videos/abcdefgh.flv";
    const String out = L"/home/u/Videos/abcdefgh.flv_";
    EXPECT_EQ(ConverterCommandLine(1, conv, in, out, site_velmora),
              L"/opt/velmora/kestrix.exe -i \"/home/u/Videos/abcdefgh.flv\" -sameq -vcodec mpeg4 "
              L" -acodec libmp3lame -f avi -y \"/home/u/Videos/abcdefgh.flv_\"");
    EXPECT_EQ(ConverterCommandLine(1, conv, in, out, site_xvideos),
              L"/opt/velmora/kestrix.exe -i \"/home/u/Videos/abcdefgh.flv\" -sameq -vcodec mpeg4 "
              L" -aspect 1:1  -acodec libmp3lame -f avi -y \"/home/u/Videos/abcdefgh.flv_\"");
    EXPECT_EQ(ConverterCommandLine(2, conv, in, out, site_xvideos),
              L"/opt/velmora/kestrix.exe -i \"/home/u/Videos/abcdefgh.flv\" -sameq -vcodec "
              L"mpeg1video -r 29.97  -acodec mp2 -f mpeg -y \"/home/u/Videos/abcdefgh.flv_\"");
    EXPECT_EQ(ConverterCommandLine(3, conv, in, out, site_velmora),
              L"/opt/velmora/kestrix.exe -i \"/home/u/Videos/abcdefgh.flv\" -f asf -sameq -vcodec "
              L"wmv2 -acodec wmav2 -y \"/home/u/Videos/abcdefgh.flv_\"");
    for (Integer f : {0, 4, 7, 10})
        EXPECT_EQ(ConverterCommandLine(f, conv, in, out, site_velmora), L"") << f;

    // The argument vector says the same without any quoting.
    const std::vector<String> avi = ConverterArguments(1, conv, in, out, site_xvideos);
    const std::vector<String> expected = {conv,     L"-i",     in,        L"-sameq",
                                          L"-vcodec", L"mpeg4", L"-aspect", L"1:1",
                                          L"-acodec", L"libmp3lame", L"-f", L"avi",
                                          L"-y",      out};
    EXPECT_EQ(avi, expected);
    EXPECT_EQ(ConverterArguments(2, conv, in, out, 0).size(), 14u);
    EXPECT_EQ(ConverterArguments(3, conv, in, out, 0).back(), out);
    EXPECT_TRUE(ConverterArguments(0, conv, in, out, 0).empty());

    EXPECT_EQ(ConverterPath(L"/opt/velmora"), L"/opt/velmora/kestrix.exe");
    EXPECT_EQ(ConverterPath(L"/opt/velmora/"), L"/opt/velmora/kestrix.exe");
}

TEST(ConverterFormats, ExtensionsAndWhichConvert)
{
    const wchar_t* ext[] = {L".flv", L".avi", L".mpeg", L".wmv"};
    for (Integer f = 0; f < 11; ++f) {
        EXPECT_EQ(FormatConverts(f), f >= 1 && f <= 3) << f;
        EXPECT_EQ(FormatExtension(f), f < 4 ? String(ext[f]) : String()) << f;
    }
}

// Feeds the whole text, cut into chunks of the given size, and answers the
// percentage after each chunk.
std::vector<Integer> FeedInChunks(TConverterProgress& p, const std::string& text, size_t chunk)
{
    std::vector<Integer> seen;
    for (size_t i = 0; i < text.size(); i += chunk) {
        const size_t n = std::min(chunk, text.size() - i);
        p.Feed(text.data() + i, n);
        seen.push_back(p.Percent());
    }
    p.Finish();
    return seen;
}

TEST(ConverterProgress, RecordsOfTheErrorStream)
{
    const struct {
        const char* name;
        std::string stream;
        Integer duration;
        Integer current;
        Integer percent;
    } cases[] = {
        {"two minutes, one in",
         "Input #0\n  Duration: 00:02:00.00, start: 0.0\nframe=1 time=00:01:00.00 bitrate=\r", 120, 60, 50},
        {"progress in CR records, last one wins",
         "  Duration: 00:02:00.00, start\nframe=1 time=00:00:12.00 b\rframe=2 time=00:01:48.00 b\r", 120,
         108, 90},
        {"no duration line", "frame=1 time=00:01:00.00 b\r", 0, 60, -1},
        {"duration without comma", "  Duration: 00:02:00.00\ntime=00:01:00.00\r", 0, 60, -1},
        {"duration not a number", "  Duration: N/A, start\ntime=00:01:00.00\r", 0, 60, -1},
        {"duration with two parts", "  Duration: 02:00, start\ntime=00:01:00.00\r", 0, 60, -1},
        {"time as plain seconds", "  Duration: 00:02:00.00, x\nframe=1 time=62.50 bitrate=\r", 120, 0, -1},
        {"time past the end is clamped", "  Duration: 00:00:10.00, x\ntime=00:00:30.00\r", 10, 30, 100},
        {"rounding of the duration, halves to even", "  Duration: 00:00:02.50, x\ntime=00:00:01.00\r", 2, 1, 50},
        {"huge numbers are no duration", "  Duration: 1e300:00:00, x\ntime=00:00:01\r", 0, 1, -1},
        {"record without terminator at the end", "  Duration: 00:01:40.00, x\ntime=00:00:25.00", 100, 25, 25},
        {"empty stream", "", 0, 0, -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TConverterProgress p;
        p.Feed(c.stream.data(), c.stream.size());
        p.Finish();
        EXPECT_EQ(p.Duration(), c.duration);
        EXPECT_EQ(p.Current(), c.current);
        EXPECT_EQ(p.Percent(), c.percent);
    }
}

TEST(ConverterProgress, RecordsSplitAcrossReadsAreJoined)
{
    // A block-by-block reader misses lines cut between two reads; records
    // are only examined once they are complete.
    const std::string stream =
        "  Duration: 00:02:00.00, start: 0\nframe=5 time=00:00:30.00 b\rframe=9 time=00:01:30.00 b\r";
    for (size_t chunk : {1u, 3u, 7u, 4096u}) {
        TConverterProgress p;
        const std::vector<Integer> seen = FeedInChunks(p, stream, chunk);
        EXPECT_EQ(p.Percent(), 75) << chunk;
        // Never a value from a half-read record.
        for (Integer v : seen)
            EXPECT_TRUE(v == -1 || v == 25 || v == 75) << chunk << ": " << v;
    }

    // A later bad "Duration:" record makes the percentage unknown again.
    TConverterProgress p;
    const std::string more = stream + "  Duration: garbage, x\n";
    p.Feed(more.data(), more.size());
    EXPECT_EQ(p.Percent(), -1);
}

TEST(ConverterProgress, DecimalSeparatorOfTheSettingsDoesNotMatter)
{
    TFormatSettingsScope scope;
    FormatSettings.DecimalSeparator = L',';
    const std::string s = "  Duration: 00:00:09.50, x\ntime=00:00:04.00\r";
    TConverterProgress p;
    p.Feed(s.data(), s.size());
    EXPECT_EQ(p.Duration(), 10);  // 9.5 rounds to the even 10
    EXPECT_EQ(p.Percent(), 40);
    EXPECT_EQ(FormatSettings.DecimalSeparator, L',');  // untouched
}

TEST(DownloadFile, CreatedExclusivelyUnderFreshNames)
{
    TTempFolder dir;
    std::set<String> names;
    for (int i = 0; i < 50; ++i) {
        String name;
        const int fd = CreateDownloadFile(dir.Name(), name);
        ASSERT_GE(fd, 0);
        ::close(fd);
        ASSERT_EQ(name.size(), 12u);
        EXPECT_EQ(name.substr(8), L".flv");
        for (size_t k = 0; k < 8; ++k)
            EXPECT_TRUE(name[k] >= L'a' && name[k] <= L'z') << UTF8Encode(name);
        names.insert(name);
    }
    EXPECT_EQ(names.size(), 50u);
    EXPECT_EQ(dir.List().size(), 50u);

    String name;
    EXPECT_EQ(CreateDownloadFile(dir.Name() + L"/missing", name), -1);
}

}  // namespace

namespace {

TEST(MediaFile, GathersBlocksAndWritesThemWhole)
{
    TTempFolder dir;
    const int fd = ::open(dir.File("m.flv").c_str(), O_WRONLY | O_CREAT | O_EXCL, 0644);
    ASSERT_GE(fd, 0);
    {
        TMediaFile file(fd, 1000);
        std::string expected;
        for (int i = 0; i < 7; ++i) {
            const std::string block(300, char('a' + i));
            file.WriteBuffer(block.data(), Integer(block.size()));
            expected += block;
        }
        // Two buffers went out whole; the rest waits for the flush.
        EXPECT_EQ(dir.Read("m.flv").size(), 1000u * 2);
        const std::string big(2500, 'z');  // larger than the buffer
        file.WriteBuffer(big.data(), Integer(big.size()));
        expected += big;
        EXPECT_EQ(file.Taken(), Int64(expected.size()));
        file.Flush();
        EXPECT_EQ(dir.Read("m.flv"), expected);
    }
    ::close(fd);

    // Past the writeback windows (8 MiB each) every byte still arrives.
    const int big = ::open(dir.File("big.flv").c_str(), O_WRONLY | O_CREAT | O_EXCL, 0644);
    ASSERT_GE(big, 0);
    std::string pattern(100000, '\0');
    for (size_t i = 0; i < pattern.size(); ++i)
        pattern[i] = char(i * 7 + 3);
    {
        TMediaFile file(big);
        for (int i = 0; i < 200; ++i)
            file.WriteBuffer(pattern.data(), Integer(pattern.size()));
        file.Flush();
    }
    ::close(big);
    const std::string back = dir.Read("big.flv");
    ASSERT_EQ(back.size(), pattern.size() * 200);
    EXPECT_EQ(back.substr(back.size() - pattern.size()), pattern);
    for (size_t at : {size_t(0), size_t(8 << 20) - 5, size_t(16 << 20) + 77})
        EXPECT_EQ(back[at], pattern[at % pattern.size()]) << at;

    // A write that fails raises at once, and every later one too.
    const int full = ::open("/dev/full", O_WRONLY);
    ASSERT_GE(full, 0);
    TMediaFile broken(full, 256);
    const std::string block(256, 'x');
    EXPECT_THROW(broken.WriteBuffer(block.data(), Integer(block.size())), EWriteError);
    EXPECT_THROW(broken.WriteBuffer(block.data(), 1), EWriteError);
    ::close(full);
}

}  // namespace
