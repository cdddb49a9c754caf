#include <gtest/gtest.h>

#include <cwctype>


#include "TempFolder.h"
#include "app/DownloadJob.h"

namespace {

// A save folder with one finished download, and a converter that does what
// the test says instead of running.
class Naming : public testing::Test {
protected:
    TTempFolder save;
    TTempFolder app;
    TNamingJob job;
    TConverterRun result{true, false, 0};
    bool writeOutput = true;
    int runs = 0;
    String lastCommandLine;

    void SetUp() override
    {
        ASSERT_FALSE(save.Path().empty());
        app.Write("kestrix.exe", "stand-in");
        save.Write("abcdefgh.flv", "downloaded bytes");
        job.saveto = save.Name();
        job.filenamet = L"abcdefgh.flv";
        job.filename = L"My Clip";
        job.converter = ConverterPath(app.Name());
        job.settleMs = 0;
    }

    TNamingResult Run(const std::function<bool()>& terminated = nullptr)
    {
        return ConvertAndName(
            job,
            [this](const String& cmd, const std::vector<String>& args) {
                ++runs;
                lastCommandLine = cmd;
                if (writeOutput && result.started)
                    std::ofstream(UTF8Encode(args.back()), std::ios::binary) << "converted";
                return result;
            },
            terminated);
    }
};

TEST_F(Naming, ConvertedFileAndDownloadTakeTheTitle)
{
    job.format = 1;
    const TNamingResult r = Run();
    EXPECT_EQ(r.outcome, TNamingOutcome::noFinished);
    EXPECT_EQ(r.filename, L"My Clip.avi");
    EXPECT_FALSE(r.converterMissing);
    EXPECT_EQ(r.note, L"");
    EXPECT_EQ(save.List(), (std::vector<std::string>{"My Clip.avi", "My Clip.flv"}));
    EXPECT_EQ(save.Read("My Clip.avi"), "converted");
    EXPECT_EQ(save.Read("My Clip.flv"), "downloaded bytes");
    EXPECT_EQ(lastCommandLine,
              job.converter + L" -i \"" + save.Name() + L"/abcdefgh.flv\" -sameq -vcodec mpeg4  "
                              L"-acodec libmp3lame -f avi -y \"" + save.Name() + L"/abcdefgh.flv_\"");
}

TEST_F(Naming, SecondConversionOfTheSameTitleGetsASuffix)
{
    job.format = 2;
    save.Write("My Clip.mpeg", "older");
    save.Write("My Clip.flv", "older download");
    const TNamingResult r = Run();
    EXPECT_EQ(r.outcome, TNamingOutcome::noFinished);
    const String& f = r.filename;
    ASSERT_EQ(f.size(), 16u) << UTF8Encode(f);
    EXPECT_EQ(f.substr(0, 8), L"My Clip_");
    EXPECT_TRUE(f[8] >= L'A' && f[8] <= L'Z');
    EXPECT_TRUE(f[9] >= L'a' && f[9] <= L'z');
    EXPECT_TRUE(std::iswalpha(f[10]) && f[10] < 128);
    EXPECT_EQ(f.substr(11), L".mpeg");
    EXPECT_EQ(save.Read(UTF8Encode(r.filename)), "converted");
    // Nothing of the user's was replaced; the new download keeps its name.
    EXPECT_EQ(save.Read("My Clip.mpeg"), "older");
    EXPECT_EQ(save.Read("My Clip.flv"), "older download");
    EXPECT_EQ(save.Read("abcdefgh.flv"), "downloaded bytes");
    EXPECT_EQ(save.List().size(), 4u);
}

TEST_F(Naming, FlvFormatNeverReplacesAnOlderFile)
{
    job.format = 0;
    EXPECT_EQ(Run().filename, L"My Clip.flv");
    EXPECT_EQ(runs, 0);

    // The same title again: the download keeps its temporary name, and the
    // entry names that file rather than the older one.
    save.Write("ijklmnop.flv", "second download");
    job.filenamet = L"ijklmnop.flv";
    const TNamingResult r = Run();
    EXPECT_EQ(r.outcome, TNamingOutcome::noFinished);
    EXPECT_EQ(r.filename, L"ijklmnop.flv");
    EXPECT_EQ(save.Read("My Clip.flv"), "downloaded bytes");
    EXPECT_EQ(save.Read("ijklmnop.flv"), "second download");
}

TEST_F(Naming, FormatsWithoutConversionKeepTheDownloadAsFlv)
{
    for (Integer format : {4, 10}) {
        SCOPED_TRACE(format);
        TTempFolder fresh;
        fresh.Write("abcdefgh.flv", "x");
        job.saveto = fresh.Name();
        job.format = format;
        const TNamingResult r = Run();
        EXPECT_EQ(r.outcome, TNamingOutcome::noFinished);
        EXPECT_EQ(r.filename, L"My Clip.flv");
        EXPECT_EQ(r.note, kNoteNotConverted);
        EXPECT_FALSE(r.converterMissing);
        EXPECT_EQ(fresh.List(), std::vector<std::string>{"My Clip.flv"});
    }
    EXPECT_EQ(runs, 0);
}

TEST_F(Naming, MissingConverterDeletesNothing)
{
    job.converter = ConverterPath(save.Name());  // no converter there
    save.Write("My Clip.flv", "the user's file");
    const struct {
        Integer format;
        bool box;
    } cases[] = {{0, false}, {1, true}, {3, true}, {5, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.format);
        job.format = c.format;
        const TNamingResult r = Run();
        EXPECT_EQ(r.outcome, TNamingOutcome::noFinished);
        EXPECT_EQ(r.converterMissing, c.box);
        EXPECT_EQ(r.filename, L"abcdefgh.flv");  // the title name is taken
        EXPECT_EQ(r.note, c.format == 0 ? L"" : String(kNoteNotConverted));
    }
    EXPECT_EQ(save.Read("My Clip.flv"), "the user's file");
    EXPECT_EQ(save.Read("abcdefgh.flv"), "downloaded bytes");
    EXPECT_EQ(runs, 0);

    ::unlink(save.File("My Clip.flv").c_str());
    job.format = 2;
    const TNamingResult r = Run();
    EXPECT_TRUE(r.converterMissing);
    EXPECT_EQ(r.filename, L"My Clip.flv");
    EXPECT_EQ(save.List(), std::vector<std::string>{"My Clip.flv"});
}

TEST_F(Naming, FailedConversionsKeepTheDownloadAsNotConverted)
{
    const struct {
        const char* name;
        TConverterRun run;
        bool writes;
        String note;
    } cases[] = {
        {"not started", {false, false, -1}, false, kNoteConverterNotRun},
        {"non-zero exit", {true, false, 1}, true, kNoteConvertFailed},
        {"no output", {true, false, 0}, false, kNoteConvertFailed},
    };
    job.format = 3;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TTempFolder fresh;
        fresh.Write("abcdefgh.flv", "downloaded bytes");
        job.saveto = fresh.Name();
        result = c.run;
        writeOutput = c.writes;
        const TNamingResult r = Run();
        // The complete download is named as one that was not converted; the
        // converter's output is gone; the reason stays in the row.
        EXPECT_EQ(r.outcome, TNamingOutcome::noFinished);
        EXPECT_EQ(r.filename, L"My Clip.flv");
        EXPECT_EQ(r.note, c.note);
        EXPECT_EQ(fresh.List(), std::vector<std::string>{"My Clip.flv"});
        EXPECT_EQ(fresh.Read("My Clip.flv"), "downloaded bytes");
    }

    // The title name is taken: no file is replaced, the download keeps its
    // temporary name and the entry names it.
    save.Write("My Clip.flv", "the user's file");
    result = {true, false, 1};
    const TNamingResult r = Run();
    EXPECT_EQ(r.outcome, TNamingOutcome::noFinished);
    EXPECT_EQ(r.filename, L"abcdefgh.flv");
    EXPECT_EQ(r.note, kNoteConvertFailed);
    EXPECT_EQ(save.Read("My Clip.flv"), "the user's file");
    EXPECT_EQ(save.List(), (std::vector<std::string>{"My Clip.flv", "abcdefgh.flv"}));
}

TEST_F(Naming, StopRemovesThePartialOutputAndKeepsTheName)
{
    job.format = 1;
    result = {true, true, 0};
    TNamingResult r = Run();
    EXPECT_EQ(r.outcome, TNamingOutcome::noStopped);
    EXPECT_EQ(r.filename, L"My Clip");
    EXPECT_EQ(save.List(), std::vector<std::string>{"abcdefgh.flv"});

    // A stop requested before the conversion starts runs nothing.
    result = {true, false, 0};
    r = Run([] { return true; });
    EXPECT_EQ(r.outcome, TNamingOutcome::noStopped);
    EXPECT_EQ(r.filename, L"My Clip");
    EXPECT_EQ(runs, 1);
    EXPECT_EQ(save.List(), std::vector<std::string>{"abcdefgh.flv"});
}

}  // namespace
