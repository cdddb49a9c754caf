// The grid clipboard demo on a real X server, worked with xdotool: the
// block copied at start reads back from the desktop clipboard with xclip,
// "Paste" puts it into the second grid (the native record, a multi-line
// cell included), and text a spreadsheet would put on the desktop clipboard
// (set with xclip) pastes into the expected cells. The window is kept as a
// PNG next to the demo.
#include <gtest/gtest.h>

#include <cstdio>
#include <iostream>

#include "tests/TestPaths.h"
#include "tests/platform/ui/DemoDriver.h"

using namespace xvfb;

namespace {

// What a shell command prints.
std::string Output(const std::string& cmd)
{
    std::string out;
    if (FILE* p = popen(cmd.c_str(), "r")) {
        char buf[256];
        for (size_t n; (n = fread(buf, 1, sizeof buf, p)) > 0;) out.append(buf, n);
        pclose(p);
    }
    return out;
}

}  // namespace

TEST(GridDndDemoSmokeTest, CopyReadsBackAndPastesIntoTheSecondGrid)
{
    if (FindProgram("Xvfb").empty()) GTEST_SKIP() << "Xvfb is not installed: the desktop smoke test needs it";
    if (FindProgram("xdotool").empty()) GTEST_SKIP() << "xdotool is needed to work the demo";
    const auto end = Clock::now() + std::chrono::seconds(200);
    TDemoDriver demo;
    const std::string dir = vel_test_paths::BinaryDir() + "/tools/griddnddemo/";
    const std::string why = demo.Start(dir + "griddnddemo", {}, Within(end, 60), 200);
    ASSERT_TRUE(why.empty()) << why;
    ASSERT_TRUE(demo.At.count("paste"));
    // The block B2:D4 was copied at start; its multi-line cell is quoted.
    EXPECT_EQ(demo.Next("COPIED", Within(end)), "COPIED Framefold|12|13/Reelbay|22|\"two?lines\"/Vidnest|32|33/");
    ASSERT_TRUE(demo.Settle(demo.Page(), Within(end)));
    const bool xclip = !FindProgram("xclip").empty();
    if (xclip) {
        const std::string text = Output("DISPLAY=" + demo.X.Display + " xclip -o -selection clipboard 2>/dev/null");
        EXPECT_EQ(text, "Framefold\t12\t13\r\nReelbay\t22\t\"two\nlines\"\r\nVidnest\t32\t33\r\n");
    }
    // "Paste" takes the grid's own record: the cells come back as they were.
    demo.Click(demo.At["paste"].first);
    EXPECT_EQ(demo.Next("PASTED", Within(end)), "PASTED 1 2 Framefold,12,13,Reelbay,22,two/lines,Vidnest,32,33");
    const std::string png = dir + "griddnddemo.png";
    EXPECT_TRUE(demo.SavePng(png, demo.Page(), Within(end))) << png;
    std::cout << "screenshot: " << png << std::endl;
    if (!xclip) return;
    // A spreadsheet's text: a quoted multi-line field among plain ones.
    (void)std::system(("printf 'a\\tb\\r\\n\"x\\ny\"\\tz\\r\\n' | DISPLAY=" + demo.X.Display +
                       " xclip -i -selection clipboard 2>/dev/null")
                          .c_str());
    demo.Click(demo.At["paste"].first);
    const std::string line = demo.Next("PASTED", Within(end));
    EXPECT_EQ(line.substr(0, 26), "PASTED 1 2 a,b,13,x/y,z,tw") << line;
}
