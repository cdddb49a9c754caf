// The grid input demo on a real X server, worked with xdotool: a click on a
// text cell and typed letters open the grid's text editor, which completes
// the word from the lookup list; the window is kept as a PNG next to the
// demo with the editor open.
#include <gtest/gtest.h>

#include <iostream>

#include "tests/TestPaths.h"
#include "tests/platform/ui/DemoDriver.h"

using namespace xvfb;

TEST(GridInputDemoSmokeTest, TypingIntoACellOpensTheEditorWithACompletion)
{
    if (FindProgram("Xvfb").empty()) GTEST_SKIP() << "Xvfb is not installed: the desktop smoke test needs it";
    if (FindProgram("xdotool").empty() || FindProgram("xwininfo").empty())
        GTEST_SKIP() << "xdotool and xwininfo are needed to work the demo";
    const auto end = Clock::now() + std::chrono::seconds(200);
    TDemoDriver demo;
    const std::string dir = vel_test_paths::BinaryDir() + "/tools/gridinputdemo/";
    const std::string why = demo.Start(dir + "gridinputdemo", {}, Within(end, 60), 200);
    ASSERT_TRUE(why.empty()) << why;
    ASSERT_TRUE(demo.At.count("text"));
    ASSERT_TRUE(demo.Settle(demo.Page(), Within(end)));
    // The cell becomes current, then the typed letters open its editor.
    demo.Click(demo.At["text"].first);
    demo.Do("type --delay 80 Ap");
    const std::string line = demo.Next("CHANGE 1 3 Apple", Within(end));
    EXPECT_EQ(line, "CHANGE 1 3 Apple");
    const std::string png = dir + "gridinputdemo.png";
    EXPECT_TRUE(demo.SavePng(png, demo.Page(), Within(end))) << png;
    std::cout << "screenshot: " << png << std::endl;
}
