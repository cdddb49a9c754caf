#include <gtest/gtest.h>

#include <cairo.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/gfx/Printer.h"

namespace {

struct TTempDir {
    std::string Path;
    TTempDir()
    {
        char t[] = "/tmp/vel_printer_XXXXXX";
        Path = mkdtemp(t);
    }
    ~TTempDir() { std::filesystem::remove_all(Path); }
};

// Renders one page with pdftoppm at 30 dpi and reads the PNG back.
cairo_surface_t* RenderPage(const std::string& pdf, int page, const std::string& dir)
{
    std::string base = dir + "/page" + std::to_string(page);
    std::string cmd = "pdftoppm -png -r 30 -singlefile -f " + std::to_string(page) + " -l " + std::to_string(page) +
                      " '" + pdf + "' '" + base + "' 2>/dev/null";
    if (std::system(cmd.c_str()) != 0) return nullptr;
    return cairo_image_surface_create_from_png((base + ".png").c_str());
}

COLORREF PngPixel(cairo_surface_t* s, double fx, double fy)
{
    int w = cairo_image_surface_get_width(s), h = cairo_image_surface_get_height(s);
    int x = int(fx * w), y = int(fy * h);
    cairo_surface_flush(s);
    auto* row = reinterpret_cast<uint32_t*>(cairo_image_surface_get_data(s) + size_t(y) * cairo_image_surface_get_stride(s));
    uint32_t p = row[x];
    return RGB(Byte(p >> 16), Byte(p >> 8), Byte(p));
}

bool Near(COLORREF a, COLORREF b)
{
    return std::abs(GetRValue(a) - GetRValue(b)) < 40 && std::abs(GetGValue(a) - GetGValue(b)) < 40 &&
           std::abs(GetBValue(a) - GetBValue(b)) < 40;
}

}  // namespace

TEST(Printer, TwoPagePdfRendersTheDrawnColours)
{
    TTempDir dir;
    TPrinter p;
    p.SetFileName(UTF8ToString(dir.Path + "/out.pdf"));
    p.SetTitle(L"Test document");
    EXPECT_EQ(GetDeviceCaps(p.Handle(), LOGPIXELSX), 600);
    EXPECT_EQ(p.PageWidth(), 4961);    // A4 at 600 dpi
    EXPECT_EQ(p.PageHeight(), 7016);
    p.BeginDoc();
    EXPECT_TRUE(p.Printing());
    TCanvas* c = p.Canvas();
    // Page 1: the left half red, drawn in 0.1 mm units (y up from the top).
    SetMapMode(c->Handle(), MM_LOMETRIC);
    c->Brush()->SetColor(clRed);
    c->Pen()->SetStyle(psClear);
    c->Rectangle(0, 0, 1050, -2970);
    RECT box;
    GetClipBox(c->Handle(), &box);
    EXPECT_EQ(box.Right, 2100);
    EXPECT_EQ(box.Bottom, -2970);
    SetMapMode(c->Handle(), MM_TEXT);
    p.NewPage();
    // Page 2: a blue band across the lower half, in device pixels.
    c->Brush()->SetColor(clBlue);
    c->FillRect(Rect(0, p.PageHeight() / 2, p.PageWidth(), p.PageHeight()));
    c->Font()->SetSize(24);
    c->Font()->SetColor(clBlack);
    c->Brush()->SetStyle(bsClear);
    c->TextOut(300, 300, L"Page two");
    p.EndDoc();
    EXPECT_FALSE(p.Printing());

    std::string pdf = dir.Path + "/out.pdf";
    struct stat st;
    ASSERT_EQ(stat(pdf.c_str(), &st), 0);
    EXPECT_NE(stat((pdf + ".part").c_str(), &st), 0);
    cairo_surface_t* p1 = RenderPage(pdf, 1, dir.Path);
    cairo_surface_t* p2 = RenderPage(pdf, 2, dir.Path);
    ASSERT_TRUE(p1 && p2);
    EXPECT_NEAR(cairo_image_surface_get_width(p1), 248, 2);   // 210 mm at 30 dpi
    EXPECT_TRUE(Near(PngPixel(p1, 0.25, 0.5), RGB(255, 0, 0)));
    EXPECT_TRUE(Near(PngPixel(p1, 0.75, 0.5), RGB(255, 255, 255)));
    EXPECT_TRUE(Near(PngPixel(p2, 0.5, 0.25), RGB(255, 255, 255)));
    EXPECT_TRUE(Near(PngPixel(p2, 0.5, 0.75), RGB(0, 0, 255)));
    cairo_surface_destroy(p1);
    cairo_surface_destroy(p2);
}

TEST(Printer, LandscapeAbortAndMisuse)
{
    TTempDir dir;
    TPrinter p;
    p.SetOrientation(poLandscape);
    EXPECT_EQ(p.PageWidth(), 7016);
    EXPECT_THROW(p.EndDoc(), EPrinter);
    p.SetFileName(UTF8ToString(dir.Path + "/aborted.pdf"));
    p.BeginDoc();
    EXPECT_THROW(p.BeginDoc(), EPrinter);
    p.SetOrientation(poPortrait);   // ignored while printing
    EXPECT_EQ(p.Orientation(), poLandscape);
    p.Canvas()->Rectangle(0, 0, 100, 100);
    p.Abort();
    EXPECT_TRUE(p.Aborted());
    EXPECT_TRUE(std::filesystem::is_empty(dir.Path));
    EXPECT_EQ(p.OrientationAngle(), 90);
}

TEST(Printer, DrawingOutsideADocumentIsHarmless)
{
    HDC dc = CreatePdfPrinterDC();
    EXPECT_EQ(GetDeviceCaps(dc, PHYSICALWIDTH), 4961);
    EXPECT_EQ(GetDeviceCaps(dc, HORZSIZE), 210);
    RECT r{0, 0, 100, 100};
    FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    Rectangle(dc, 0, 0, 10, 10);
    TextOut(dc, 0, 0, L"x", 1);
    EXPECT_EQ(GetPixel(dc, 1, 1), CLR_INVALID);
    EXPECT_EQ(StartPage(dc), SP_ERROR);
    DOCINFOW di;
    EXPECT_EQ(StartDoc(dc, &di), SP_ERROR);   // no output file
    DeleteDC(dc);
}
