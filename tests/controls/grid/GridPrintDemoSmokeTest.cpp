// The printing demo on a real X server (the demo of this build tree, found
// at run time): it writes its PDF and the preview of page 2 and shows both
// beside the grid; the window and page 1 of the PDF are kept as PNG files
// next to the demo for people to look at.
#include <gtest/gtest.h>

#include <iostream>

#include "tests/TestPaths.h"
#include "tests/controls/grid/GridPrintSupport.h"
#include "tests/platform/ui/DemoOnX.h"

using namespace xvfb;

TEST(GridPrintDemoSmokeTest, DemoPrintsAPdfAndShowsThePreview)
{
    if (FindProgram("Xvfb").empty()) GTEST_SKIP() << "Xvfb is not installed: the desktop smoke test needs it";
    const std::string dir = vel_test_paths::BinaryDir() + "/tools/gridprintdemo";
    std::remove((dir + "/gridprintdemo.pdf").c_str());
    auto deadline = Clock::now() + std::chrono::seconds(90);
    TDemoOnX demo;
    const std::string why = demo.Start(dir + "/gridprintdemo", deadline);
    ASSERT_TRUE(why.empty()) << why;
    std::vector<TPixelCheck> checks = demo.NamedChecks;
    ASSERT_FALSE(checks.empty());
    ASSERT_TRUE(demo.WaitFor(checks, deadline)) << "the server's screen could not be read";
    const std::string png = dir + "/gridprintdemo.png";
    EXPECT_TRUE(demo.SavePng(png, true)) << png;
    std::cout << "screenshot: " << png << std::endl;
    for (auto& c : checks) EXPECT_TRUE(demo.Holds(c)) << c.What << " at client " << c.X << "," << c.Y;

    // 300 rows in two bands of several pages each, on A4 portrait.
    const std::string pdf = dir + "/gridprintdemo.pdf";
    const int pages = gridprint::PdfPages(pdf);
    std::cout << "pdf: " << pdf << " pages " << pages << " size " << gridprint::PdfInfo(pdf, "Page size")
              << std::endl;
    EXPECT_GE(pages, 4);
    EXPECT_EQ(pages % 2, 0);
    EXPECT_NE(gridprint::PdfInfo(pdf, "Page size").find("595.32 x 841.92"), std::string::npos);
    EXPECT_EQ(gridprint::PdfInfo(pdf, "Title"), "Grid printing demo");
    const std::string text = gridprint::PdfText(pdf, 1);
    EXPECT_NE(text.find("Customer orders"), std::string::npos) << text.substr(0, 400);
    EXPECT_NE(text.find("Page 1-1"), std::string::npos);
    EXPECT_NE(gridprint::PdfText(pdf, 2).find("Page 2-1"), std::string::npos);
    cairo_surface_t* page1 = gridprint::RenderPdfPage(pdf, 1, 60, dir + "/gridprintdemo-page1");
    ASSERT_TRUE(page1);
    cairo_surface_destroy(page1);
    std::cout << "page 1: " << dir << "/gridprintdemo-page1.png" << std::endl;
    EXPECT_TRUE(std::filesystem::exists(dir + "/gridprintdemo-preview.png"));
}
